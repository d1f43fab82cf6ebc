// The "Longitud y peso medio" screen: class rows, the fixed whole-sample row
// and the scrolling. Example figures worked out by adding in single
// precision, each class from its last fish to its first:
//   0+ 13 fish 5.6 cm 1.57 g (72.6 / 13 = 5.585); 1+ 11, 11.0, 11.60;
//   2+ 6, 16.5, 39.14; 3+ 4, 22.2, 80.13; 4+ 4, 28.1, 128.76; total 38, 13.0, 32.06
#include <string>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

class LongitudPesoMedio : public Pantalla {
 protected:
  /* Top rule of row k, k = 0 for the header. */
  int y_regla(int k) { return 160 + k * (alto(FUENTE_CABECERA) + 10); }
  void espera_textos(int y, std::vector<std::string> celdas) {
    for (int c = 0; c < 4; c++)
      EXPECT_TRUE(texto_centrado_en(FUENTE_CELDAS, 340 + 100 * c, y, celdas[c].c_str())) << celdas[c];
  }
  void espera_fila(int j, std::vector<std::string> celdas) { espera_textos(y_regla(j + 1) + 7, celdas); }
  /* The whole-sample row at row position k: ruled, white, one grey row above. */
  void espera_total(int k, std::vector<std::string> celdas) {
    EXPECT_TRUE(color_en(300, y_regla(k), 0, 0, 0));
    EXPECT_TRUE(color_en(300, y_regla(k + 1), 0, 0, 0));
    EXPECT_TRUE(color_en(300, y_regla(k) + 1, 255, 255, 255));
    EXPECT_TRUE(color_en(300, y_regla(k) - 1, 230, 230, 230));
    espera_textos(y_regla(k) + 7, celdas);
  }
  bool marca(int arriba) { return color_en(700, 7 * alto(FUENTE_CABECERA) + (arriba ? 212 : 227), 0, 0, 0); }
  void muestra(std::vector<int> clases, std::vector<float> longitudes, std::vector<float> pesos, int nclases) {
    datos_medios(clases.data(), longitudes.data(), pesos.data(), (int)clases.size(), nclases);
  }
};

}  // namespace

TEST_F(LongitudPesoMedio, ThreeClassesWithAnEmptyOne) {
  std::vector<int> clases(30, 0);
  std::vector<float> longitudes(30, 10.0f), pesos(30, 10.0f);
  clases.insert(clases.end(), 10, 2);
  longitudes.insert(longitudes.end(), 10, 20.0f);
  pesos.insert(pesos.end(), 10, 50.0f);
  escribe("\n");
  muestra(clases, longitudes, pesos, 3);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(c_esc, 0);
  EXPECT_TRUE(texto_centrado_en(FUENTE_CABECERA, 640, 165, "Individuos"));
  espera_fila(0, {"0+", "10.0", "10.00", "30"});
  espera_fila(1, {"1+", "0.0", "0.00", "0"});
  espera_fila(2, {"2+", "20.0", "50.00", "10"});
  espera_total(5, {"Total", "12.5", "20.00", "40"});  // 500 cm / 40 fish, not (10 + 20) / 2
  EXPECT_FALSE(marca(1));
  EXPECT_FALSE(marca(0));
  EXPECT_GT(cuenta_color(300, 455, 700, 480, 255, 0, 0), 0);  // the prompt
}

TEST_F(LongitudPesoMedio, TenClassesScrollOverAFixedTotalRow) {
  std::vector<int> clases;
  std::vector<float> longitudes, pesos;
  for (int c = 0; c < 10; c++) clases.push_back(c), longitudes.push_back(c + 1.0f), pesos.push_back(2.0f * c);
  pulsa(TECLA_ABAJO, 4);  // lengths 1..10 -> 5.5 cm; weights 0..18 -> 9.00 g
  escribe("\n");
  muestra(clases, longitudes, pesos, 10);
  espera_fila(0, {"4+", "5.0", "8.00", "1"});
  espera_fila(5, {"9+", "10.0", "18.00", "1"});
  espera_total(8, {"Total", "5.5", "9.00", "10"});
  EXPECT_TRUE(marca(1));
  EXPECT_FALSE(marca(0));

  pulsa(TECLA_ABAJO, 5);
  pulsa(TECLA_ARRIBA);
  pulsa(TECLA_ESC);
  muestra(clases, longitudes, pesos, 10);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  espera_fila(0, {"3+", "4.0", "6.00", "1"});  // the fifth DOWN stayed on 4+ .. 9+
  espera_total(8, {"Total", "5.5", "9.00", "10"});
}

TEST_F(LongitudPesoMedio, ExampleSample) {
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  copia_ejemplo(pasadas, longitudes, pesos, clases);
  escribe("\n");
  datos_medios(clases, longitudes, pesos, NUM_EJEMPLO, 5);
  espera_fila(0, {"0+", "5.6", "1.57", "13"});
  espera_fila(1, {"1+", "11.0", "11.60", "11"});
  espera_fila(2, {"2+", "16.5", "39.14", "6"});
  espera_fila(3, {"3+", "22.2", "80.13", "4"});
  espera_fila(4, {"4+", "28.1", "128.76", "4"});
  espera_total(7, {"Total", "13.0", "32.06", "38"});
}

// ---- Samples that must not show meaningless figures ----

TEST_F(LongitudPesoMedio, NoFishShowsZerosNotNaN) {
  escribe("\n");
  muestra({}, {}, {}, 1);
  espera_fila(0, {"0+", "0.0", "0.00", "0"});
  espera_total(3, {"Total", "0.0", "0.00", "0"});
}

/* Regression: lengths summing past single precision showed "inf". */
TEST_F(LongitudPesoMedio, MeansPastSinglePrecisionShowADash) {
  escribe("\n");
  muestra({0, 0, 1}, {3e38f, 3e38f, 5.0f}, {1.0f, 2.0f, 3.0f}, 2);
  espera_fila(0, {"0+", "-", "1.50", "2"});
  espera_fila(1, {"1+", "5.0", "3.00", "1"});
  espera_total(4, {"Total", "-", "2.00", "3"});
}
