// The "Frecuencia" screen: bar graph, frequency table and its scrolling.
// Figures worked out by hand, steps rounded to single precision:
//   20, 12, 6 of 38 -> 0.526, 0.316, 0.158; top 0.6; ticks every 53; bars 280, 168, 84
//   38 of 38 -> top ten steps of 0.1f = 1.0000001; ticks every 31; bar 319
//   example 13, 11, 6, 4, 4 of 38 -> 0.342, 0.289, 0.158, 0.105, 0.105; top 0.4,
//   ticks every 80; bars 273, 231, 126, 84, 84, 88 wide
#include <string>

#include "analysis.h"
#include "pantallas.h"
#include "muestras.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

const int OX = 447, OY = 415;  // origin of the graph on the screen

class Frecuencia : public Pantalla {
 protected:
  void muestra(std::vector<int> clases, int nclases) {
    calculo_frecuencias(clases.data(), (int)clases.size(), nclases);
  }
  /* Row j of the page (0 = first class row) shows class `clase` and `fr`. */
  void espera_fila(int j, int clase, const char* fr) {
    int y = 100 + (j + 1) * (alto(FUENTE_CABECERA) + 10) + 7;
    EXPECT_TRUE(texto_centrado_en(FUENTE_CELDAS, 110, y, (std::to_string(clase) + "+").c_str())) << j;
    EXPECT_TRUE(texto_centrado_en(FUENTE_CELDAS, 267, y, fr)) << j << " " << fr;
  }
  /* Bar i, s wide: black top rule `alto` above the axis, red below, white above. */
  void espera_barra(int i, int s, int alto) {
    int medio = OX + i * s + s / 2;
    EXPECT_TRUE(color_en(medio, OY - alto, 0, 0, 0)) << i;
    EXPECT_TRUE(color_en(medio, OY - alto + 1, 255, 0, 0)) << i;
    EXPECT_TRUE(color_en(medio, OY - alto - 1, 255, 255, 255)) << i;
  }
  /* The frequency ticks: how many, every `paso` pixels from the axis. */
  void espera_escala(int marcas, int paso) {
    EXPECT_EQ(cuenta_color(OX - 5, 94, OX - 5, OY, 0, 0, 0), marcas);
    EXPECT_TRUE(color_en(OX - 5, OY - (marcas - 1) * paso, 0, 0, 0));
  }
  bool marca(int arriba) { return color_en(385, 9 * alto(FUENTE_CABECERA) + (arriba ? 172 : 187), 0, 0, 0); }
};

}  // namespace

TEST_F(Frecuencia, ThreeClassesShowSharesAndBars) {
  escribe("\n");
  muestra(clases_con({20, 12, 6}), 3);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(c_esc, 0);
  espera_fila(0, 0, "0.526");
  espera_fila(1, 1, "0.316");
  espera_fila(2, 2, "0.158");
  // a cell is white down to 5 pixels below its text, page grey under that
  int y_texto = 100 + 2 * (alto(FUENTE_CABECERA) + 10) + 7, h = alto(FUENTE_CELDAS);
  EXPECT_TRUE(color_en(62, y_texto + h + 5, 255, 255, 255));
  EXPECT_TRUE(color_en(62, y_texto + h + 6, 230, 230, 230));
  espera_barra(0, 146, 280);
  espera_barra(1, 146, 168);
  espera_barra(2, 146, 84);
  espera_escala(7, 53);
  EXPECT_TRUE(color_en(OX + 438, OY + 5, 0, 0, 0));  // last class tick
  EXPECT_TRUE(texto_centrado_en(FUENTE_CABECERA, 267, 105, "Frecuencia relativa"));
  EXPECT_GT(cuenta_color(300, 495, 700, 520, 255, 0, 0), 0);  // the prompt
  EXPECT_FALSE(marca(1));
  EXPECT_FALSE(marca(0));
}

TEST_F(Frecuencia, OneClassBarReachesJustBelowTheTop) {
  escribe("\n");
  muestra(clases_con({38}), 1);
  espera_fila(0, 0, "1.000");
  espera_barra(0, 440, 319);
  espera_escala(11, 31);
}

TEST_F(Frecuencia, EmptyClassShowsZeroAndNoBar) {
  escribe("\n");
  muestra(clases_con({5, 0, 5}), 3);
  espera_fila(1, 1, "0.000");
  EXPECT_EQ(cuenta_color(OX + 147, OY - 320, OX + 291, OY, 255, 0, 0), 0);
}

TEST_F(Frecuencia, ExampleSample) {
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  copia_ejemplo(pasadas, longitudes, pesos, clases);
  escribe("\n");
  calculo_frecuencias(clases, NUM_EJEMPLO, 5);
  const char* esperadas[] = {"0.342", "0.289", "0.158", "0.105", "0.105"};
  const int barras[] = {273, 231, 126, 84, 84};
  for (int c = 0; c < 5; c++) {
    espera_fila(c, c, esperadas[c]);
    espera_barra(c, 88, barras[c]);
  }
  espera_escala(5, 80);
}

TEST_F(Frecuencia, TwelveClassesScrollOneRowAtATime) {
  std::vector<int> una_por_clase;
  for (int c = 0; c < 12; c++) una_por_clase.push_back(c);
  pulsa(TECLA_ABAJO);
  pulsa(TECLA_ARRIBA, 2);  // UP on the first page stays there
  escribe("\n");
  muestra(una_por_clase, 12);
  espera_fila(0, 0, "0.083");
  espera_fila(7, 7, "0.083");
  EXPECT_FALSE(marca(1));
  EXPECT_TRUE(marca(0));

  pulsa(TECLA_ABAJO, 4);
  escribe("\n");
  muestra(una_por_clase, 12);
  espera_fila(0, 4, "0.083");
  espera_fila(7, 11, "0.083");
  EXPECT_TRUE(marca(1));
  EXPECT_FALSE(marca(0));

  pulsa(TECLA_ABAJO, 5);
  pulsa(TECLA_ARRIBA);
  pulsa(TECLA_ESC);
  muestra(una_por_clase, 12);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  espera_fila(0, 3, "0.083");  // the fifth DOWN stayed on 4+ .. 11+
}
