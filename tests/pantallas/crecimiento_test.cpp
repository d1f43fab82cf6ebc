// The growth menu, the von Bertalanffy and polynomial screens with their
// entries, the export variant of von Bertalanffy, and the growth table.
//
// Reference figures for the built-in example (worked out apart from the
// program, double precision, see tests/unit/crecimiento_test.cpp): with Linf
// 35 and class 0+ at 0.5 years k 0.353930, t0 0.337170, r2 0.948029 and
// lengths at ages 0..9 -4.4361 7.3188 15.5699 21.3616 25.4268 28.2804 30.2833
// 31.6893 32.6761 33.3688; with Linf 29.5 and age 0, k 0.667285.
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "grafico_crecimiento.h"
#include "crecimiento.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

class Crecimiento : public Pantalla {
 protected:
  void SetUp() override {
    Pantalla::SetUp();
    copia_ejemplo(pasadas, longitudes, pesos, clases);
    n = NUM_EJEMPLO;
    nclases = 5;
    Lmax1 = 77;
    mes0 = 9;
  }
  /* The fit of the sample for the Linf and months the program keeps (or those given). */
  bertalanffy_muestra ajuste(float meses = -1) {
    muestra_crecimiento g;
    prepara_muestra_crecimiento(&g, clases, longitudes, n, nclases, 0);
    return calcula_bertalanffy(&g, Lmax1, meses < 0 ? mes0 : meses);
  }
  void bertalanffy() { von_bertalanffy(clases, longitudes, nclases, n); }
  void polinomio() { ajuste_polinomial(n, nclases, longitudes, clases); }
  BITMAP* exporta(int modo, float* predichas, float* edad0, int* cancela) {
    return von_bertalanffy_devuelve(modo, clases, longitudes, nclases, n, predichas, edad0, cancela);
  }
  /* One fish per class with the given lengths; 0 leaves a class empty. */
  void por_clase(std::vector<float> medias) {
    n = 0;
    for (size_t i = 0; i < medias.size(); i++)
      if (medias[i] != 0) {
        clases[n] = (int)i;
        longitudes[n] = medias[i];
        n++;
      }
    nclases = (int)medias.size();
  }
  int rojos(int x1, int y1, int x2, int y2) { return cuenta_color(x1, y1, x2, y2, 250, 0, 0); }
  /* Where a text of font 0 centred on x at y has ink, the screen has it too. */
  bool texto_visible(int x, int y, const char* s) {
    int w = ancho(FUENTE_CELDAS, s), h = alto(FUENTE_CELDAS);
    BITMAP* ref = create_bitmap(w + 2, h);
    clear_to_color(ref, makecol(255, 255, 255));
    texto(ref, FUENTE_CELDAS, 0, 0, makecol(0, 0, 0), "%s", s);
    bool igual = true;
    for (int yy = 0; yy < h; yy++)
      for (int xx = 0; xx < w; xx++)
        if (getpixel(ref, xx, yy) == makecol(0, 0, 0) && !color_en(x - w / 2 + xx, y + yy, 0, 0, 0))
          igual = false;
    destroy_bitmap(ref);
    return igual;
  }
  int fila_y(int fila) {
    int h1 = alto(FUENTE_CABECERA);
    return 2 * h1 + 20 + fila * (h1 + 10) - h1 + 77;
  }

  int pasadas[200], clases[200];
  float longitudes[200], pesos[200];
  int n, nclases;
};

}  // namespace

// ---- Growth menu ----

TEST_F(Crecimiento, MenuOpensEitherFitAndWraps) {
  escribe("\n35\n6\n\n");
  menu_crecimiento(clases, longitudes, nclases, n);
  EXPECT_FLOAT_EQ(Lmax1, 35);
  EXPECT_EQ(teclas_pendientes(), 0);
  pulsa(TECLA_ABAJO);
  escribe("\n3\n\n");
  menu_crecimiento(clases, longitudes, nclases, n);
  EXPECT_FLOAT_EQ(mes0, 3);
  pulsa(TECLA_ARRIBA);  // from the first entry to the last
  escribe("\n4\n\n");
  menu_crecimiento(clases, longitudes, nclases, n);
  EXPECT_FLOAT_EQ(mes0, 4);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_NE(c_esc, TECLA_ESC);
}

TEST_F(Crecimiento, MenuEscStoresEscAndRunsNothing) {
  escribe("\x1b");
  menu_crecimiento(clases, longitudes, nclases, n);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_FLOAT_EQ(Lmax1, 77);
}

// ---- von Bertalanffy screen ----

TEST_F(Crecimiento, MonthsUpTo12AreAcceptedAndMoreAreWipedAndAskedAgain) {
  escribe("35\n12\n\n");
  bertalanffy();
  EXPECT_FLOAT_EQ(mes0, 12);
  EXPECT_EQ(teclas_pendientes(), 0);
  escribe("35\n12.5\n6\n\n");
  bertalanffy();
  EXPECT_FLOAT_EQ(mes0, 6);
  EXPECT_EQ(teclas_pendientes(), 0);
  // 6 months put class 0+ at 0.5 years, as in the reference figures
  EXPECT_FLOAT_EQ(Lmax1, 35);
  bertalanffy_muestra b = ajuste();
  EXPECT_EQ(b.existe, 1);
  EXPECT_NEAR(b.k, 0.353930, 2e-5);
  EXPECT_NEAR(b.t0, 0.337170, 2e-5);
  EXPECT_NEAR(b.r2, 0.948029, 2e-5);
  EXPECT_EQ(waldford(longitudes, clases, n, nclases), 0);  // the example's Walford line never meets y = x
}

TEST_F(Crecimiento, LinfAndMonthsTakeADecimalComma) {
  escribe("35,25\n6,5\n\n");
  bertalanffy();
  EXPECT_FLOAT_EQ(Lmax1, 35.25f);
  EXPECT_FLOAT_EQ(mes0, 6.5f);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Crecimiento, LinfEqualToTheLongestFishIsAccepted) {
  escribe("29.5\n\n\n");
  bertalanffy();
  EXPECT_FLOAT_EQ(Lmax1, 29.5f);
  EXPECT_NEAR(ajuste().k, 0.667285, 2e-5);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Crecimiento, LinfBelowTheLongestFishIsRefusedWithTheMessage) {
  escribe("29.49\n6\n\n");
  bertalanffy();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(es_enter(c_esc));  // the key that closed the message
  EXPECT_FLOAT_EQ(Lmax1, 77);
  EXPECT_FLOAT_EQ(mes0, 9);
  EXPECT_GT(rojos(200, 295, 800, 320), 20);
}

TEST_F(Crecimiento, EscInEitherEntryLeavesAtOnce) {
  escribe("3\x1b" "9");
  bertalanffy();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 1);
  c_esc = 0;
  escribe("35\n1\x1b" "9");
  bertalanffy();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 1);
  EXPECT_FLOAT_EQ(Lmax1, 77);
  EXPECT_FLOAT_EQ(mes0, 9);
}

TEST_F(Crecimiento, ScreenShowsCurveParametersAndPrompt) {
  escribe("35\n6\n\n");
  bertalanffy();
  // the curve in the panel, the prompt under it, the Walford box erased
  EXPECT_GT(rojos(448, 54, 946, 414), 100);
  EXPECT_GT(rojos(580, 475, 820, 490), 20);
  EXPECT_EQ(cuenta_color(300, 140, 700, 140, 255, 0, 0), 0);
  EXPECT_GT(cuenta_color(100, 455, 400, 550, 0, 0, 0), 200);
}

// Fits without an answer: the fish, a red message, no curve, nothing stops.
TEST_F(Crecimiento, OneClassShowsTheFishAndAMessageInsteadOfACurve) {
  por_clase({12});
  clases[1] = 0;
  longitudes[1] = 14;
  n = 2;
  escribe("30\n6\n\n");
  bertalanffy();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_FLOAT_EQ(Lmax1, 30);
  EXPECT_FLOAT_EQ(mes0, 6);
  bertalanffy_muestra b = ajuste();
  EXPECT_EQ(b.existe, 0);
  EXPECT_EQ(b.k, 0);
  EXPECT_EQ(b.t0, 0);
  EXPECT_EQ(b.r2, 0);
  EXPECT_EQ(rojos(408, 55, 946, 453), 0);
  EXPECT_GT(cuenta_color(408, 55, 946, 453, 0, 0, 200), 0);
  EXPECT_GT(rojos(150, 520, 850, 545), 20);
}

// ---- Export variant ----

TEST_F(Crecimiento, ExportInMode1ReproducesTheScreenFit) {
  escribe("35\n6\n\n");
  bertalanffy();
  float predichas[10] = {0}, edad0 = -1;
  int cancela = 0;
  BITMAP* b = exporta(1, predichas, &edad0, &cancela);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->w, 541);
  EXPECT_EQ(b->h, 552);
  EXPECT_EQ(cancela, 0);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_FLOAT_EQ(edad0, 0.5f);
  const double esperadas[10] = {-4.4361, 7.3188, 15.5699, 21.3616, 25.4268,
                                28.2804, 30.2833, 31.6893, 32.6761, 33.3688};
  for (int i = 0; i < 10; i++) EXPECT_NEAR(predichas[i], esperadas[i], 1e-3) << i;
  // the graph in its bitmap layout: axes, outlines, a red curve
  int negro = makecol(0, 0, 0);
  EXPECT_EQ(getpixel(b, 41, 200), negro);
  EXPECT_EQ(getpixel(b, 0, 0), negro);
  EXPECT_EQ(getpixel(b, 540, 402), negro);
  destroy_bitmap(b);
}

TEST_F(Crecimiento, ExportInMode2AsksForLinfAndMonths) {
  float predichas[10] = {0}, edad0 = -1;
  int cancela = 0;
  escribe("29.5\n\n");
  BITMAP* b = exporta(2, predichas, &edad0, &cancela);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(cancela, 0);
  EXPECT_EQ(edad0, 0);
  EXPECT_FLOAT_EQ(Lmax1, 29.5f);
  EXPECT_NEAR(ajuste(edad0 * 12).k, 0.667285, 2e-5);
  EXPECT_FLOAT_EQ(mes0, 9);  // the export keeps the months typed on a screen
  destroy_bitmap(b);
}

TEST_F(Crecimiento, ExportEscGivesUpWithAWhiteBitmap) {
  float predichas[10] = {0}, edad0 = -1;
  int cancela = 0;
  escribe("35\n\x1b");
  BITMAP* b = exporta(2, predichas, &edad0, &cancela);
  EXPECT_EQ(cancela, 1);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(b->w, 541);
  EXPECT_EQ(getpixel(b, 41, 200), makecol(255, 255, 255));
  EXPECT_FLOAT_EQ(Lmax1, 77);
  destroy_bitmap(b);
}

TEST_F(Crecimiento, ExportRefusesAShortLinfAndOnlyEscGivesUp) {
  float predichas[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, edad0 = -1;
  int cancela = 0;
  escribe("20\n6\n\n");
  BITMAP* b = exporta(2, predichas, &edad0, &cancela);
  EXPECT_EQ(cancela, 0);
  EXPECT_FLOAT_EQ(Lmax1, 77);
  EXPECT_EQ(predichas[9], 10);
  EXPECT_GT(rojos(200, 495, 800, 520), 20);
  destroy_bitmap(b);
  escribe("20\n6\n\x1b");
  b = exporta(2, predichas, &edad0, &cancela);
  EXPECT_EQ(cancela, 1);
  destroy_bitmap(b);
  // mode 1 with a Linf below the longest fish: nothing asked, nothing changed
  cancela = 0;
  Lmax1 = 0;
  b = exporta(1, predichas, &edad0, &cancela);
  EXPECT_EQ(cancela, 0);
  EXPECT_EQ(predichas[0], 1);
  EXPECT_EQ(teclas_pendientes(), 0);
  destroy_bitmap(b);
}

TEST_F(Crecimiento, ExportOfAFitWithoutAnswerLeavesZerosAndItsFlag) {
  por_clase({12});
  float predichas[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, edad0 = -1;
  int cancela = 0;
  Lmax1 = 30;
  mes0 = 0;
  BITMAP* b = exporta(1, predichas, &edad0, &cancela);
  EXPECT_FLOAT_EQ(Lmax1, 30);
  EXPECT_EQ(ajuste().existe, 0);
  EXPECT_EQ(ajuste().k, 0);
  for (float v : predichas) EXPECT_EQ(v, 0);
  int rojo = makecol(250, 0, 0), mensaje = 0;
  for (int y = 403; y < 552; y++)
    for (int x = 0; x < 541; x++) mensaje += getpixel(b, x, y) == rojo;
  EXPECT_GT(mensaje, 20);  // the message under the graph
  destroy_bitmap(b);
}

// ---- Polynomial screen ----

TEST_F(Crecimiento, PolynomialMonthsAreWholeAndTwoDigitsAtMost) {
  escribe("15\n3\n\n");  // 15 is wiped by the ENTER, then 3
  polinomio();
  EXPECT_FLOAT_EQ(mes0, 3);
  EXPECT_EQ(teclas_pendientes(), 0);
  escribe("157\n\n");  // 15 is wiped by the 7, which then counts
  polinomio();
  EXPECT_FLOAT_EQ(mes0, 7);
  escribe("123\n\n");  // the third digit is ignored
  polinomio();
  EXPECT_FLOAT_EQ(mes0, 12);
  escribe("1.5\n\n\n");  // no decimal point: 15, wiped by the first ENTER
  polinomio();
  EXPECT_FLOAT_EQ(mes0, 0);
  EXPECT_EQ(teclas_pendientes(), 0);
  escribe("5\x1b" "9");  // ESC keeps the months and leaves at once
  polinomio();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_FLOAT_EQ(mes0, 5);
  EXPECT_EQ(teclas_pendientes(), 1);
}

TEST_F(Crecimiento, PolynomialScreenShowsCurveAndAnEmptyClassRow) {
  // 5 + 8x - 0.5x^2 at the ages 0.5 .. 4.5, class 2 empty
  por_clase({8.875f, 15.875f, 0, 26.875f, 30.875f});
  escribe("6\n\n");
  polinomio();
  EXPECT_GT(rojos(448, 54, 946, 414), 100);
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, n, nclases, 0.5f);
  curva_crecimiento c;
  float r2;
  ASSERT_EQ(ajusta_polinomio(&m, &c, &r2), AJUSTE_BIEN);
  EXPECT_EQ(dibuja_tabla_crecimiento(&m, &c, 0), 5);
  EXPECT_TRUE(texto_visible(108, fila_y(2), "2.50"));
  EXPECT_TRUE(texto_visible(200, fila_y(2), "0.00"));
  EXPECT_TRUE(texto_visible(310, fila_y(2), "21.88"));
  EXPECT_TRUE(texto_visible(310, fila_y(4), "30.88"));
}

TEST_F(Crecimiento, PolynomialWithTwoClassesShowsAMessage) {
  por_clase({10, 20});
  escribe("\n\n");
  polinomio();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(rojos(408, 55, 946, 453), 0);
  EXPECT_GT(rojos(150, 520, 850, 545), 20);
}

// ---- Growth table ----

TEST_F(Crecimiento, FifteenClassesScrollFourRowsAndThenStop) {
  std::vector<float> medias(15);
  for (int i = 0; i < 15; i++) medias[i] = 5.0f + i;
  por_clase(medias);
  marco("Tabla");
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, n, nclases, 0);
  curva_crecimiento c = {CURVA_NINGUNA, 0, 0, 0};
  int fin = dibuja_tabla_crecimiento(&m, &c, 0);
  EXPECT_EQ(fin, 11);
  EXPECT_TRUE(color_en(376, 437, 0, 0, 0));        // rows below
  EXPECT_TRUE(color_en(365, 437, 230, 230, 230));  // none above
  int inicio = 0;
  for (int k = 0; k < 4; k++) {
    inicio = desplaza_tabla_crecimiento(TECLA_DERECHA, fin, 15);
    fin = dibuja_tabla_crecimiento(&m, &c, inicio);
  }
  EXPECT_EQ(inicio, 4);
  EXPECT_EQ(fin, 15);
  EXPECT_TRUE(texto_visible(108, fila_y(0), "4.00"));
  EXPECT_TRUE(texto_visible(108, fila_y(10), "14.00"));
  EXPECT_TRUE(texto_visible(310, fila_y(0), "-"));
  EXPECT_TRUE(color_en(376, 437, 230, 230, 230));
  EXPECT_TRUE(color_en(365, 437, 0, 0, 0));
  EXPECT_EQ(desplaza_tabla_crecimiento(TECLA_DERECHA, fin, 15), 4);
  EXPECT_EQ(desplaza_tabla_crecimiento(TECLA_IZQUIERDA, fin, 15), 3);
  EXPECT_EQ(desplaza_tabla_crecimiento(TECLA_IZQUIERDA, 11, 15), 0);
  pulsa(TECLA_DERECHA, 5);
  pulsa(TECLA_IZQUIERDA, 2);
  escribe("\n");
  recorre_tabla_crecimiento(&m, &c, 450);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(color_en(200, 200, 230, 230, 230));  // erased on leaving
}

TEST_F(Crecimiento, ElevenClassesShowNoScrollMark) {
  std::vector<float> medias(11, 10);
  por_clase(medias);
  marco("Tabla");
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, n, nclases, 0);
  curva_crecimiento c = {CURVA_NINGUNA, 0, 0, 0};
  EXPECT_EQ(dibuja_tabla_crecimiento(&m, &c, 0), 11);
  EXPECT_TRUE(color_en(376, 437, 230, 230, 230));
  EXPECT_TRUE(color_en(365, 437, 230, 230, 230));
  pulsa(TECLA_DERECHA);
  escribe("\x1b");
  recorre_tabla_crecimiento(&m, &c, 450);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
}

// Regression: the growth table showed "inf" for a class whose lengths summed past single precision.
TEST_F(Crecimiento, TableShowsADashForAClassMeanPastSinglePrecision) {
  por_clase({10, 3e38f});
  clases[n] = 1;
  longitudes[n++] = 3e38f;  // 6e38 is past the largest float
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, n, nclases, 0.5f);
  curva_crecimiento c = {CURVA_NINGUNA, 0, 0, 0};
  EXPECT_EQ(dibuja_tabla_crecimiento(&m, &c, 0), 2);
  EXPECT_TRUE(texto_visible(200, fila_y(0), "10.00"));
  EXPECT_TRUE(texto_visible(200, fila_y(1), "-"));
  EXPECT_FALSE(texto_visible(200, fila_y(1), "inf"));
}
