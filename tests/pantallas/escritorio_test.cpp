// The screens on a Spanish desktop: CTest runs the screen tests with
// LANG=es_ES.UTF-8, where the C library writes "0,76"; the window must still
// show every figure as it does in the C locale.
#include <clocale>
#include <functional>
#include <string>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

class Escritorio : public Pantalla {
 protected:
  void SetUp() override {
    Pantalla::SetUp();
    copia_ejemplo(pasadas, longitudes, pesos, clases);
    nclases = numero_clases(clases, NUM_EJEMPLO);
    k = calculo_pasadas(pasadas, NUM_EJEMPLO);
  }
  std::vector<int> pagina() {
    std::vector<int> p;
    for (int y = 0; y < SCREEN_H; y++)
      for (int x = 0; x < SCREEN_W; x++) p.push_back(getpixel(screen, x, y));
    return p;
  }
  /* The page `dibuja` leaves as the window's start-up leaves the locale,
     and again with the C locale's numbers: the same pixels. */
  void igual_que_en_c(const std::function<void()>& dibuja, const char* pantalla) {
    dibuja();
    std::vector<int> escritorio = pagina();
    std::string numeros = setlocale(LC_NUMERIC, nullptr);
    setlocale(LC_NUMERIC, "C");
    dibuja();
    setlocale(LC_NUMERIC, numeros.c_str());
    EXPECT_TRUE(pagina() == escritorio) << pantalla << " con los numeros de " << numeros;
    EXPECT_EQ(teclas_pendientes(), 0) << pantalla;
  }
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO], nclases = 0, k = 0;
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
};

}  // namespace

// Regression: on a Spanish desktop the screens showed "0,76" beside "1.00".
TEST_F(Escritorio, PopulationAndDensityScreensShowTheCLocalesDecimalPoints) {
  ASSERT_STREQ(setlocale(LC_CTYPE, nullptr), "es_ES.UTF-8")
      << "the screen tests must run on a Spanish desktop (tests/CMakeLists.txt; bash "
         "tools/preparar.sh makes the locale)";
  igual_que_en_c(
      [&] {
        escribe("\n");
        calculo_poblacional(clases, pasadas, NUM_EJEMPLO, nclases, k);
      },
      "Calculo poblacional");
  igual_que_en_c(
      [&] {
        Suptramo = Voltramo = mltramo = 0;
        escribe("\n312,5\n");  // the surface, then "Calcular" and the results
        pulsa(TECLA_ARRIBA);
        escribe("\n\n");
        medias_muestra m = calcula_medias(clases, longitudes, pesos, NUM_EJEMPLO, nclases);
        poblacion_muestra p = calcula_poblacion(clases, pasadas, NUM_EJEMPLO, nclases, k);
        densidad_de_poblacion(&m, &p);
      },
      "Densidad poblacional y biomasa");
}
