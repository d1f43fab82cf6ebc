// The Windows build's window under Wine, driven as the Linux one is: the
// example's population screen pixel for pixel as the Linux build draws it,
// the example exported in the direct mode, and the close button. Built and
// run by tools/windows.sh --probar, which gives PROGRAMA_PASADAS as a script
// starting pasadas.exe under Wine.
#include <unistd.h>

#include "conductor.h"
#include "informes.h"

namespace {

const unsigned GRIS = 0xe6e6e6;

class VentanaWine : public Programa {
 protected:
  /* The window once it has stopped changing: Wine copies the picture to
     the X window a moment after the program has drawn it. */
  Captura quieta() {
    Captura antes = captura();
    for (int i = 0; i < 50; i++) {
      usleep(300000);
      Captura ahora = captura();
      if (ahora.ancho > 0 && ahora.rgb == antes.rgb) return ahora;
      antes = ahora;
    }
    return antes;
  }
  /* Starts a build's window and opens "Calculo poblacional" on the example. */
  Captura poblacion_del_ejemplo(const std::string& programa) {
    programa_ventana = programa;
    arranca();
    if (HasFatalFailure()) return Captura();
    teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
    EXPECT_TRUE(espera_color(60, 300, GRIS));
    teclas({"Return", "Down", "Return"});                     // "Calculo poblacional"
    EXPECT_TRUE(espera_color(500, 5, GRIS));                   // its framed page
    return quieta();
  }
};

TEST_F(VentanaWine, PopulationScreenHasTheLinuxBuildsPixels) {
  Captura linux = poblacion_del_ejemplo(PROGRAMA_PASADAS_LINUX);
  cierra_ventana();
  ASSERT_EQ(espera_fin(), 0);
  Captura wine = poblacion_del_ejemplo(PROGRAMA_PASADAS);
  ASSERT_EQ(wine.ancho, 1000);
  ASSERT_EQ(wine.alto, 600);
  ASSERT_EQ(linux.ancho, wine.ancho);
  size_t distintos = 0;
  for (size_t i = 0; i < wine.rgb.size(); i++) distintos += wine.rgb[i] != linux.rgb[i];
  EXPECT_EQ(distintos, 0u);
  cierra_ventana();  // the window's close button
  EXPECT_EQ(espera_fin(20), 0);
}

TEST_F(VentanaWine, ExportsTheExampleAsTheGoldenReport) {
  programa_ventana = PROGRAMA_PASADAS;
  ASSERT_NO_FATAL_FAILURE(exporta_hasta_las_medidas("tramo1.txt"));
  teclas({"Return"});
  teclea("250");
  teclas({"Return", "Down", "Return"});
  teclea("125.5");
  teclas({"Return", "Down", "Down", "Return"});
  teclea("50");
  teclas({"Return", "Down", "Down", "Down", "Return"});  // "Calcular"
  teclea("32");
  teclas({"Return"});
  teclea("6");
  teclas({"Return"});
  for (int i = 0; i < 200 && !existe("tramo1.txt"); i++) usleep(100000);
  ASSERT_TRUE(existe("tramo1.txt"));
  teclas({"x"});       // the closing message
  teclas({"Escape"});  // the calculation menu: the program ends
  EXPECT_EQ(espera_fin(20), 0);
  std::string esperado = lee_todo(std::string(DIR_PRUEBAS) + "/datos/informe_ejemplo_directo.txt");
  EXPECT_EQ(primera_diferencia(lee_fichero("tramo1.txt"), esperado), "");
  comprueba_imagenes_tramo1(carpeta);
}

}  // namespace
