// The "Calculo poblacional" screen: the text of the cells, where they turn
// pale yellow, the scroll marks and the keys.
//
// The example's figures were worked out once by a separate python3 script
// emulating single precision with struct.pack('f', x) (see the estimator's
// computation tests for the method); the strings below are its output.
#include <string>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "muestra_prueba.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

const int REGLAS_CLASES[] = {70, 130, 180, 230, 280, 340, 390, 470};
const int CENTROS_CLASES[] = {100, 155, 205, 255, 310, 365, 430};
const int REGLAS_FRECUENCIAS[] = {500, 560, 606, 652, 698, 744, 804, 850, 930};
const int CENTROS_FRECUENCIAS[] = {530, 583, 629, 675, 721, 774, 827, 890};
const int BLANCO[3] = {255, 255, 255}, AMARILLO[3] = {255, 255, 153};


class PantallaPoblacion : public Pantalla {
 protected:
  int L() { return alto(FUENTE_CABECERA); }
  int y_fila(int posicion) { return L() + 117 + posicion * (L() + 10); }

  void abre(MuestraPrueba& m) {
    calculo_poblacional(m.clases.data(), m.pasadas.data(), m.n(), m.nclases(), m.k());
  }

  /* The cell between two rules at row text y reads exactly s on the background. */
  bool celda_dice(int x1, int x2, int centro, int y, const int* fondo, const char* s) {
    int h = alto(FUENTE_CELDAS), w = x2 - x1 - 1;
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, makecol(fondo[0], fondo[1], fondo[2]));
    textout_centre_ex(b, fuente(FUENTE_CELDAS), s, centro - (x1 + 1), 0, makecol(0, 0, 0), -1);
    bool igual = true;
    for (int yy = 0; yy < h && igual; yy++)
      for (int xx = 0; xx < w && igual; xx++)
        igual = getpixel(b, xx, yy) == getpixel(screen, x1 + 1 + xx, y + yy);
    destroy_bitmap(b);
    return igual;
  }

  void fila_clases(int posicion, const int* fondo, const std::vector<const char*>& textos) {
    for (int c = 0; c < 7; c++)
      EXPECT_TRUE(celda_dice(REGLAS_CLASES[c], REGLAS_CLASES[c + 1], CENTROS_CLASES[c],
                             y_fila(posicion), fondo, textos[c]))
          << "clases, fila " << posicion << ", columna " << c << ": " << textos[c];
  }

  void fila_frecuencias(int posicion, const int* fondo, const std::vector<const char*>& textos) {
    for (int c = 0; c < 8; c++)
      EXPECT_TRUE(celda_dice(REGLAS_FRECUENCIAS[c], REGLAS_FRECUENCIAS[c + 1],
                             CENTROS_FRECUENCIAS[c], y_fila(posicion), fondo, textos[c]))
          << "frecuencias, fila " << posicion << ", columna " << c << ": " << textos[c];
  }

  /* Colour just inside the top-left corner of a cell, clear of its text. */
  bool fondo_celda(int x1, int posicion, const int* rgb) {
    return color_en(x1 + 2, y_fila(posicion) - 5, rgb[0], rgb[1], rgb[2]);
  }

  /* Down to which pixel below the text a cell is filled: `hondo`, then the
     page grey of a class row or the rule of a total row. */
  bool fondo_hasta(int x1, int posicion, int hondo, const int* rgb, int gris_debajo) {
    int y = y_fila(posicion) + hondo, d = gris_debajo ? 230 : 0;
    return color_en(x1 + 2, y, rgb[0], rgb[1], rgb[2]) && color_en(x1 + 2, y + 1, d, d, d);
  }

  bool flecha_negra(int x, int y) { return color_en(x, y, 0, 0, 0); }
  bool flecha_gris(int x, int y) { return color_en(x, y, 230, 230, 230); }
  int y_flecha_clases_arriba() { return 7 * L() + 152; }
  int y_flecha_clases_abajo() { return 7 * L() + 163; }
  int y_flecha_frecuencias_arriba() { return 9 * L() + 172; }
  int y_flecha_frecuencias_abajo() { return 9 * L() + 183; }
};

}  // namespace

TEST_F(PantallaPoblacion, TwoPassesTwentyThenTenShowTheWorkedFigures) {
  MuestraPrueba m = muestra_de({{20, 10}});
  escribe("\n");
  abre(m);
  EXPECT_EQ(teclas_pendientes(), 0);
  fila_clases(0, BLANCO, {"0+", "0.33", "0.50", "40", "120", "11", "30 - 62"});
  fila_clases(2, BLANCO, {"Total", "-", "-", "40", "-", "-", "30 - 62"});
  fila_frecuencias(0, BLANCO, {"Total", "1.00", "0.33", "0.50", "40", "120", "11", "30 - 62"});
  fila_frecuencias(2, BLANCO, {"0+", "1.00", "-", "-", "40", "-", "-", "30 - 62"});
}

TEST_F(PantallaPoblacion, ExampleShowsEveryCellOfBothTables) {
  MuestraPrueba m;
  m.pasadas.resize(NUM_EJEMPLO);
  m.clases.resize(NUM_EJEMPLO);
  float l[NUM_EJEMPLO], p[NUM_EJEMPLO];
  copia_ejemplo(m.pasadas.data(), l, p, m.clases.data());
  escribe("\n");
  abre(m);
  fila_clases(0, BLANCO, {"0+", "0.85", "0.21", "26", "723", "27", "13 - 79"});
  fila_clases(1, BLANCO, {"1+", "0.73", "0.34", "15", "55", "8", "11 - 30"});
  fila_clases(2, BLANCO, {"2+", "0.67", "0.41", "8", "12", "4", "6 - 15"});
  fila_clases(3, BLANCO, {"3+", "0.75", "0.32", "6", "29", "5", "4 - 16"});
  fila_clases(4, BLANCO, {"4+", "0.75", "0.32", "6", "29", "5", "4 - 16"});
  fila_clases(6, BLANCO, {"Total", "-", "-", "61", "-", "-", "38 - 156"});
  fila_frecuencias(0, BLANCO, {"Total", "1.00", "0.76", "0.30", "58", "349", "19", "38 - 95"});
  fila_frecuencias(2, BLANCO, {"0+", "0.34", "-", "-", "20", "-", "-", "13 - 32"});
  fila_frecuencias(3, BLANCO, {"1+", "0.29", "-", "-", "17", "-", "-", "11 - 28"});
  fila_frecuencias(4, BLANCO, {"2+", "0.16", "-", "-", "9", "-", "-", "6 - 15"});
  fila_frecuencias(5, BLANCO, {"3+", "0.11", "-", "-", "6", "-", "-", "4 - 10"});
  fila_frecuencias(6, BLANCO, {"4+", "0.11", "-", "-", "6", "-", "-", "4 - 10"});
  // five classes: nothing to scroll, all four marks grey
  EXPECT_TRUE(flecha_gris(480, y_flecha_clases_arriba()));
  EXPECT_TRUE(flecha_gris(480, y_flecha_clases_abajo()));
  EXPECT_TRUE(flecha_gris(940, y_flecha_frecuencias_arriba()));
  EXPECT_TRUE(flecha_gris(940, y_flecha_frecuencias_abajo()));
  // the legends and the prompt
  EXPECT_TRUE(color_en(640, SCREEN_H - 175, 255, 255, 255));
  EXPECT_TRUE(color_en(640, SCREEN_H - 145, 255, 255, 153));
  EXPECT_TRUE(color_en(630, SCREEN_H - 175, 0, 0, 0));
  EXPECT_GT(cuenta_color(600, SCREEN_H - 100, 830, SCREEN_H - 85, 255, 0, 0), 50);
  EXPECT_GT(cuenta_color(70, 10 * L() + 190, 400, 16 * L() + 235, 0, 0, 0), 500);
}

TEST_F(PantallaPoblacion, PaleYellowExactlyWhereAClassFailedWithFish) {
  // 0+ valid, 1+ on the bound with fish, 2+ without fish; the whole sample is valid.
  MuestraPrueba m = muestra_de({{20, 10}, {10, 10}, {}, {15, 5}});
  escribe("\n");
  abre(m);
  fila_clases(0, BLANCO, {"0+", "0.33", "0.50", "40", "120", "11", "30 - 62"});
  fila_clases(1, AMARILLO, {"1+", "0.50", "-", "20", "-", "-", "20 - ?"});
  fila_clases(2, BLANCO, {"2+", "0.00", "-", "0", "-", "-", "0 - ?"});
  for (int c = 0; c < 7; c++) {
    EXPECT_TRUE(fondo_celda(REGLAS_CLASES[c], 0, BLANCO)) << c;
    EXPECT_TRUE(fondo_celda(REGLAS_CLASES[c], 1, AMARILLO)) << c;
    EXPECT_TRUE(fondo_celda(REGLAS_CLASES[c], 2, BLANCO)) << c;
    EXPECT_TRUE(fondo_celda(REGLAS_CLASES[c], 3, BLANCO)) << c;
  }
  // class rows are filled to 5 pixels below their text, total rows to 21
  int h = alto(FUENTE_CELDAS);
  EXPECT_TRUE(fondo_hasta(REGLAS_CLASES[3], 1, h + 5, AMARILLO, 1));
  EXPECT_TRUE(fondo_hasta(REGLAS_FRECUENCIAS[4], 3, h + 5, BLANCO, 1));
  EXPECT_TRUE(fondo_hasta(REGLAS_CLASES[3], 5, 21, AMARILLO, 0));
  EXPECT_TRUE(fondo_hasta(REGLAS_FRECUENCIAS[4], 0, 21, BLANCO, 0));
  fila_clases(3, BLANCO, {"3+", "0.25", "0.67", "23", "12", "4", "20 - 29"});
  // total: the flag turns it yellow; the failed class adds its catch to N
  fila_clases(5, AMARILLO, {"Total", "-", "-", "83", "-", "-", "70 - 91"});
  for (int c = 0; c < 8; c++) {
    EXPECT_TRUE(fondo_celda(REGLAS_FRECUENCIAS[c], 0, BLANCO)) << c;
    EXPECT_TRUE(fondo_celda(REGLAS_FRECUENCIAS[c], 2, BLANCO)) << c;
    EXPECT_TRUE(fondo_celda(REGLAS_FRECUENCIAS[c], 4, BLANCO)) << c;
  }
  fila_frecuencias(0, BLANCO, {"Total", "1.00", "0.36", "0.44", "102", "554", "24", "70 - 149"});
  fila_frecuencias(4, BLANCO, {"2+", "0.00", "-", "-", "0", "-", "-", "0 - 0"});
}

TEST_F(PantallaPoblacion, SinglePassTurnsTheFrequencyTableYellowAndLeavesLimitsOpen) {
  MuestraPrueba m = muestra_de({{5}, {}, {3}});
  escribe("\n");
  abre(m);
  fila_clases(0, AMARILLO, {"0+", "0.00", "-", "5", "-", "-", "5 - ?"});
  fila_clases(1, BLANCO, {"1+", "0.00", "-", "0", "-", "-", "0 - ?"});
  fila_clases(2, AMARILLO, {"2+", "0.00", "-", "3", "-", "-", "3 - ?"});
  fila_clases(4, AMARILLO, {"Total", "-", "-", "8", "-", "-", "8 - ?"});
  fila_frecuencias(0, AMARILLO, {"Total", "1.00", "0.00", "-", "8", "-", "-", "8 - ?"});
  fila_frecuencias(2, AMARILLO, {"0+", "0.62", "-", "-", "5", "-", "-", "5 - ?"});
  fila_frecuencias(3, AMARILLO, {"1+", "0.00", "-", "-", "0", "-", "-", "0 - ?"});
  fila_frecuencias(4, AMARILLO, {"2+", "0.38", "-", "-", "3", "-", "-", "3 - ?"});
}

TEST_F(PantallaPoblacion, SevenClassesScrollByOneRowAndStopAtTheLast) {
  MuestraPrueba m = muestra_de({{20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}});
  escribe("\n");
  abre(m);
  // equal upper limits: the descending scan takes the unit off the lowest classes
  fila_clases(0, BLANCO, {"0+", "0.33", "0.50", "40", "120", "11", "30 - 61"});
  fila_clases(5, BLANCO, {"5+", "0.33", "0.50", "40", "120", "11", "30 - 62"});
  fila_clases(7, BLANCO, {"Total", "-", "-", "280", "-", "-", "210 - 431"});
  fila_frecuencias(7, BLANCO, {"5+", "0.14", "-", "-", "40", "-", "-", "30 - 48"});
  EXPECT_TRUE(flecha_gris(480, y_flecha_clases_arriba()));
  EXPECT_TRUE(flecha_negra(480, y_flecha_clases_abajo()));
  EXPECT_TRUE(flecha_negra(940, y_flecha_frecuencias_abajo()));

  pulsa(TECLA_ABAJO);
  escribe("\n");
  abre(m);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(celda_dice(70, 130, 100, y_fila(0), BLANCO, "1+"));
  EXPECT_TRUE(celda_dice(70, 130, 100, y_fila(5), BLANCO, "6+"));
  EXPECT_TRUE(celda_dice(500, 560, 530, y_fila(2), BLANCO, "1+"));
  EXPECT_TRUE(celda_dice(500, 560, 530, y_fila(7), BLANCO, "6+"));
  EXPECT_TRUE(flecha_negra(480, y_flecha_clases_arriba()));
  EXPECT_TRUE(flecha_gris(480, y_flecha_clases_abajo()));
  EXPECT_TRUE(flecha_negra(940, y_flecha_frecuencias_arriba()));
  EXPECT_TRUE(flecha_gris(940, y_flecha_frecuencias_abajo()));
  // the total stays one empty row below the page
  EXPECT_TRUE(celda_dice(70, 130, 100, y_fila(7), BLANCO, "Total"));

  // a further DOWN changes nothing: one UP then brings class 0 back
  pulsa(TECLA_ABAJO, 2);
  pulsa(TECLA_ARRIBA);
  escribe("\n");
  abre(m);
  EXPECT_TRUE(celda_dice(70, 130, 100, y_fila(0), BLANCO, "0+"));
  EXPECT_TRUE(celda_dice(70, 130, 100, y_fila(5), BLANCO, "5+"));
}

TEST_F(PantallaPoblacion, EscLeavesAndIsRemembered) {
  MuestraPrueba m = muestra_de({{20, 10}});
  pulsa(TECLA_IZQUIERDA);
  escribe("x\x1b");
  abre(m);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
}

// ---- Samples the estimator cannot hold ----

TEST_F(PantallaPoblacion, TooManyClassesGiveAMessageInsteadOfTables) {
  MuestraPrueba m = muestra_de({{20, 10}});
  m.clases[0] = 120;
  escribe("\n");
  abre(m);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_GT(cuenta_color(300, SCREEN_H / 2, 700, SCREEN_H / 2 + 15, 255, 0, 0), 50);
  EXPECT_EQ(cuenta_color(71, 101, 469, 128, 217, 217, 217), 0);
}

// Regression: Var(N) "101236488" or an interval "2560 - 30447" of a large,
// valid estimate ran through the column rules.
TEST_F(PantallaPoblacion, LargeValidFiguresStayInsideTheirCells) {
  // catches that barely fall give N in the hundred thousands and Var(N) in the billions
  MuestraPrueba m = muestra_de({{3000, 2900}, {3000, 2950}, {20, 10}});
  escribe("\n");
  abre(m);
  // the two pixels beside every rule, over the text of each row, hold no ink
  auto limpias = [&](const int* reglas, int ncol, int posicion) {
    int y = y_fila(posicion), h = alto(FUENTE_CELDAS);
    for (int c = 0; c < ncol; c++) {
      EXPECT_EQ(cuenta_color(reglas[c] + 1, y, reglas[c] + 2, y + h - 1, 0, 0, 0), 0) << c;
      EXPECT_EQ(cuenta_color(reglas[c + 1] - 2, y, reglas[c + 1] - 1, y + h - 1, 0, 0, 0), 0) << c;
      EXPECT_GT(cuenta_color(reglas[c] + 3, y, reglas[c + 1] - 3, y + h - 1, 0, 0, 0), 0) << c;
    }
  };
  for (int posicion : {0, 1, 4}) limpias(REGLAS_CLASES, 7, posicion);
  for (int posicion : {0, 2, 3}) limpias(REGLAS_FRECUENCIAS, 8, posicion);
  // figures that fit keep the cells' font
  fila_clases(2, BLANCO, {"2+", "0.33", "0.50", "40", "120", "11", "30 - 61"});
}
