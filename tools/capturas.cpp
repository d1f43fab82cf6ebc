// The screenshots of the README and the user's guide: the real program on
// a private virtual display, driven by the end-to-end harness through the
// built-in example and the example file without classes. Each screen is
// written as a PPM image into the folder named by CAPTURAS
// (tools/capturas.sh turns them into PNG).
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "conductor.h"

namespace {
const unsigned GRIS = 0xe6e6e6, GRIS_CABECERA = 0xd9d9d9;
const unsigned AZUL_MENU = 0x4169e1, ROJO_AVISO = 0xfa0000;

void guarda_ppm(const Captura& c, const std::string& nombre) {
  const char* carpeta = getenv("CAPTURAS");
  std::ofstream f(std::string(carpeta ? carpeta : ".") + "/" + nombre + ".ppm", std::ios::binary);
  f << "P6\n" << c.ancho << " " << c.alto << "\n255\n";
  for (unsigned v : c.rgb) f << (char)(v >> 16) << (char)(v >> 8 & 0xff) << (char)(v & 0xff);
  ASSERT_TRUE(f.good()) << nombre;
}
}  // namespace

class Capturas : public Programa {
 protected:
  /* The screen once two captures a moment apart agree: drawing has finished. */
  Captura estable() {
    Captura antes = captura();
    for (int i = 0; i < 50; i++) {
      usleep(200000);
      Captura ahora = captura();
      if (ahora.rgb == antes.rgb && !ahora.rgb.empty()) return ahora;
      antes = ahora;
    }
    return antes;
  }
  void guarda(const std::string& nombre) {
    Captura c = estable();
    ASSERT_EQ(c.ancho, 1000);
    ASSERT_EQ(c.alto, 600);
    guarda_ppm(c, nombre);
  }
  /* From the splashes to the calculation menu with the built-in example. */
  void abre_ejemplo() {
    ASSERT_NO_FATAL_FAILURE(arranca());
    teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
    ASSERT_TRUE(espera_color(60, 300, GRIS));
    teclas({"Return"});  // leaves the example's table
  }
};

TEST_F(Capturas, MenuDeCarga) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return"});
  ASSERT_TRUE(espera_en_zona(100, 100, 900, 500, AZUL_MENU));
  guarda("menu_carga");
  teclas({"Escape"});
}

TEST_F(Capturas, CalculoPoblacional) {
  ASSERT_NO_FATAL_FAILURE(abre_ejemplo());
  teclas({"Down", "Return"});  // "Calculo poblacional"
  ASSERT_TRUE(espera_color(300, 110, GRIS_CABECERA));
  guarda("poblacion");
  teclas({"Escape"});
}

TEST_F(Capturas, ClasesDeEdad) {
  ASSERT_NO_FATAL_FAILURE(abre_sin_clases("ejemplo3.txt"));
  teclas({"Return"});  // bins of 1 cm
  for (const char* limite : {"9.5", "15", "20", "25", "30"}) {
    teclea(limite);
    teclas({"Return"});
  }
  ASSERT_TRUE(espera_en_zona(200, 535, 330, 550, ROJO_AVISO));  // the review of the intervals
  guarda("clases");
  teclas({"Escape"});
}

TEST_F(Capturas, VonBertalanffy) {
  ASSERT_NO_FATAL_FAILURE(abre_ejemplo());
  teclas({"Down", "Down", "Down", "Down", "Down", "Return"});  // "Crecimiento"
  teclas({"Return"});                                          // "Von Bertalanffy"
  teclea("32");
  teclas({"Return"});
  teclea("6");
  teclas({"Return"});
  ASSERT_TRUE(espera_color(300, 82, GRIS_CABECERA));  // the growth table
  guarda("crecimiento");
  teclas({"Escape"});
}

TEST_F(Capturas, MenuDeCalculo) {
  ASSERT_NO_FATAL_FAILURE(abre_ejemplo());
  ASSERT_TRUE(espera_en_zona(100, 100, 900, 500, AZUL_MENU));
  guarda("menu_calculo");
  teclas({"Escape"});
}

TEST_F(Capturas, DensidadYBiomasa) {
  ASSERT_NO_FATAL_FAILURE(abre_ejemplo());
  teclas({"Down", "Down", "Down", "Return"});  // "Densidad poblacional y biomasa"
  ASSERT_TRUE(espera_en_zona(100, 100, 900, 500, AZUL_MENU));  // "Unidades de medida"
  teclas({"Return"});  // "Superficie del tramo"
  teclea("250");
  teclas({"Return", "Down", "Down", "Return"});  // "Metros lineales del tramo"
  teclea("50");
  teclas({"Return", "Down", "Down", "Down", "Return"});  // "Calcular"
  ASSERT_TRUE(espera_en_zona(20, 60, 980, 200, GRIS_CABECERA));
  guarda("densidad");
  teclas({"Escape"});
}

TEST_F(Capturas, ExportarResultados) {
  ASSERT_NO_FATAL_FAILURE(abre_ejemplo());
  teclas({"Down", "Down", "Down", "Down", "Down", "Down", "Return"});  // "Exportar resultados"
  teclea("tramo1.txt");
  teclas({"Return"});
  ASSERT_TRUE(espera_en_zona(105, 150, 895, 325, AZUL_MENU));  // the two modes
  guarda("exportar");
  teclas({"Escape"});
}
