// The weight-length fit and the graph bitmap the report saves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

#include "sin_ventana.h"
#include "texto_igual.h"

namespace {

/* The bitmap's axis origin and label offsets: the screen's (457, 405) moved
   by (-406, -53). */
const int OX = 51, OY = 352;

class Biometria : public ::testing::Test {
 protected:
  void SetUp() override { prepara_allegro_sin_ventana(); }
  void TearDown() override {
    if (bmp) destroy_bitmap(bmp);
  }
  /* Runs the export variant and keeps its bitmap and its fit for the checks. */
  void ajusta(std::initializer_list<float> l, std::initializer_list<float> w) {
    std::copy(l.begin(), l.end(), longitudes);
    std::copy(w.begin(), w.end(), pesos);
    if (bmp) destroy_bitmap(bmp);
    bmp = relaciones_biometricas_devuelve(longitudes, pesos, (int)l.size());
    f = calcula_biometria(longitudes, pesos, (int)l.size());
    ASSERT_NE(bmp, nullptr);
  }
  /* Label of weight tick i, right-aligned left of the axis. */
  bool etiqueta_peso(int i, const char* s, int g = 0) {
    return derecha_en(bmp, FUENTE_CELDAS, OX + g - 12, OY - 75 * i - alto(FUENTE_CELDAS) / 2, s);
  }
  bool etiqueta_longitud(int i, const char* s) {
    return centrado_en(bmp, FUENTE_CELDAS, OX + 110 * i, OY + 12, s);
  }
  int rojos(int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; y++)
      for (int x = x1; x <= x2; x++) n += pixel_es(bmp, x, y, 255, 0, 0);
    return n;
  }
  float longitudes[40], pesos[40];
  BITMAP* bmp = nullptr;
  biometria_muestra f = {};
};

}  // namespace

TEST_F(Biometria, FishOnACubicGiveItsParametersExactly) {
  // 0.01*L^3 is exact in single precision for these lengths
  ajusta({10, 15, 20, 25, 30}, {10, 33.75f, 80, 156.25f, 270});
  EXPECT_EQ(f.existe, 1);
  EXPECT_NEAR(f.a, 0.01f, 0.01f * 2e-5f);
  EXPECT_NEAR(f.b, 3.0f, 1e-5f);
  EXPECT_NEAR(f.r2, 1.0f, 1e-5f);
  EXPECT_NEAR(f.fc, 0.01f, 1e-8f);
  EXPECT_EQ(bmp->w, 541);
  EXPECT_EQ(bmp->h, 510);
}

TEST_F(Biometria, ExampleMatchesFiguresWorkedOutApart) {
  // A separate script fitted the 38 fish twice: in double precision with
  // exact sums (a 0.0109628, b 2.8568281, r2 0.9898329, FC 0.0068107) and
  // emulating single precision in fish order (a 0.0109629, b 2.8568230,
  // r2 0.9898329, FC 0.0068107).
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  copia_ejemplo(pasadas, longitudes, pesos, clases);
  bmp = relaciones_biometricas_devuelve(longitudes, pesos, NUM_EJEMPLO);
  f = calcula_biometria(longitudes, pesos, NUM_EJEMPLO);
  EXPECT_EQ(f.existe, 1);
  EXPECT_NEAR(f.a, 0.0109629f, 2e-7f);
  EXPECT_NEAR(f.b, 2.856823f, 2e-5f);
  EXPECT_NEAR(f.r2, 0.9898329f, 2e-6f);
  EXPECT_NEAR(f.fc, 0.0068107f, 1e-7f);
  char impreso[64];
  snprintf(impreso, sizeof impreso, "%.4f %.4f %.3f %.4f", f.a, f.b, f.r2, f.fc);
  EXPECT_STREQ(impreso, "0.0110 2.8568 0.990 0.0068");
  // a*29.5^b = 173.36 lies above the heaviest longest fish (150.76 g)
  EXPECT_TRUE(etiqueta_peso(4, "175"));
  EXPECT_TRUE(etiqueta_longitud(4, "30.0"));
}

TEST_F(Biometria, LongestFishOf25GivesLengthAxisTo30) {
  ajusta({10, 20, 25}, {10, 80, 156.25f});
  const char* marcas[] = {"0.0", "7.5", "15.0", "22.5", "30.0"};
  for (int i = 0; i < 5; i++) EXPECT_TRUE(etiqueta_longitud(i, marcas[i])) << marcas[i];
}

TEST_F(Biometria, WeightAxisTopFollowsCurveOrLongestFish) {
  // Least squares on the logarithms, worked out apart:
  // (10,10) (20,100) (30,250): a*30^b = 279.55 above 250 -> top 280
  ajusta({10, 20, 30}, {10, 100, 250});
  EXPECT_TRUE(etiqueta_peso(4, "280"));
  EXPECT_TRUE(etiqueta_peso(3, "210"));
  // (10,10) (20,60) (30,300): a*30^b = 259.34 below 300 -> top 305
  ajusta({10, 20, 30}, {10, 60, 300});
  EXPECT_TRUE(etiqueta_peso(4, "305"));
  // a weight exactly on a multiple of 5 still goes to the next one
  ajusta({10, 20}, {10, 80});
  EXPECT_TRUE(etiqueta_peso(4, "85.0"));
}

TEST_F(Biometria, FirstOfTwoLongestFishSetsTheWeightAxis) {
  // both orders fit a*30^b = 248.53
  ajusta({10, 20, 30, 30}, {10, 80, 300, 200});
  EXPECT_TRUE(etiqueta_peso(4, "305"));
  ajusta({10, 20, 30, 30}, {10, 80, 200, 300});
  EXPECT_TRUE(etiqueta_peso(4, "250"));
}

TEST_F(Biometria, FishAbove1000GramsShiftTheGraphInsideTheSamePanel) {
  ajusta({10, 20, 46}, {10, 80, 1000});
  EXPECT_TRUE(pixel_es(bmp, OX, 200, 0, 0, 0));  // weight axis in place
  EXPECT_TRUE(pixel_es(bmp, OX + 10, 200, 255, 255, 255));
  ajusta({10, 20, 46}, {10, 80, 1000.5f});
  EXPECT_TRUE(pixel_es(bmp, OX, 200, 255, 255, 255));
  EXPECT_TRUE(pixel_es(bmp, OX + 10, 200, 0, 0, 0));
  EXPECT_TRUE(pixel_es(bmp, OX + 10 + 110, OY + 5, 0, 0, 0));  // second length tick
  EXPECT_TRUE(etiqueta_peso(0, "0", 10));
  for (int y : {100, 300}) {  // both outlines stay
    EXPECT_TRUE(pixel_es(bmp, 0, y, 0, 0, 0));
    EXPECT_TRUE(pixel_es(bmp, 1, y, 0, 0, 0));
    EXPECT_TRUE(pixel_es(bmp, 540, y, 0, 0, 0));
    EXPECT_TRUE(pixel_es(bmp, 539, y, 0, 0, 0));
  }
}

// Regression: "175.0" began 4 px from the image's edge, and a weight of
// 10 000 g would have run across it.
TEST_F(Biometria, WeightLabelsKeepClearOfThePanelEdge) {
  const std::vector<std::vector<float>> pesos_mayores = {{10, 80, 150}, {10, 80, 1000.5f},
                                                         {100, 1000, 20000}, {100, 1000, 2000000}};
  for (const auto& w : pesos_mayores) {
    ajusta({10, 20, 46}, {w[0], w[1], w[2]});
    int tinta = 0;
    for (int y = 30; y < 380; y++)
      for (int x = 2; x < 6; x++) tinta += pixel_es(bmp, x, y, 0, 0, 0);
    EXPECT_EQ(tinta, 0) << w[2];
    int etiquetas = 0;  // the labels are there, right of that strip
    for (int y = 30; y < 380; y++)
      for (int x = 6; x < 40; x++) etiquetas += pixel_es(bmp, x, y, 0, 0, 0);
    EXPECT_GT(etiquetas, 40) << w[2];
    int fuera = 0;  // nor does "L" at the far end of the length axis come near the edge
    for (int y = OY - 20; y < OY + 20; y++)
      for (int x = 535; x < 539; x++) fuera += pixel_es(bmp, x, y, 0, 0, 0);
    EXPECT_EQ(fuera, 0) << w[2];
  }
}

TEST_F(Biometria, CurveEndsAtFirstSampleAboveTheAxisTop) {
  // Fish on 0.01*L^3 up to 20 cm: Lx 25, top 85. The sample at 20.5 cm
  // (86.15 g) passes the top and is the last: x = 51 + 20.5*440/25 = 411.8,
  // y = 352 - 86.15*300/85 = 47.9. The one at 21 cm (x 420, y 25) is not drawn.
  ajusta({10, 20}, {10, 80});
  EXPECT_TRUE(pixel_es(bmp, 411, 47, 255, 0, 0));
  EXPECT_EQ(rojos(413, 10, 440, 46), 0);
  int negros = 0;
  for (int y = 20; y <= 30; y++)
    for (int x = 415; x <= 425; x++) negros += pixel_es(bmp, x, y, 0, 0, 0);
  EXPECT_EQ(negros, 0);
}

TEST_F(Biometria, CurveLeavingFarAboveKeepsItsSlopeAndNoDot) {
  // b = 6/log10(1.1) = 145: the sample at 1.5 cm weighs about 1e25 g, far
  // above the bitmap. The segment towards it from (1 cm, 1 g) rises straight
  // up from x = 61 + 1*440/5 = 149; the sample itself is never dotted.
  ajusta({1, 1.1f}, {1, 1e6f});
  EXPECT_EQ(f.existe, 1);
  for (int y : {300, 200, 60, 2}) {
    EXPECT_TRUE(pixel_es(bmp, 149, y, 255, 0, 0)) << y;
    EXPECT_TRUE(pixel_es(bmp, 151, y, 255, 255, 255)) << y;
  }
}

// ---- Fits without an answer ----

TEST_F(Biometria, SingleFishKeepsOnlyTheConditionFactor) {
  ajusta({20}, {80});
  EXPECT_EQ(f.existe, 0);
  EXPECT_EQ(f.a, 0);
  EXPECT_EQ(f.b, 0);
  EXPECT_EQ(f.r2, 0);
  EXPECT_NEAR(f.fc, 0.01f, 1e-8f);
  EXPECT_EQ(rojos(2, 2, 538, 398), 0);  // no curve
  EXPECT_GT(rojos(0, 401, 540, 509), 0); // the message
}

TEST_F(Biometria, EqualLengthsOrEqualWeightsHaveNoFit) {
  ajusta({20, 20, 20}, {70, 80, 90});
  EXPECT_EQ(f.existe, 0);
  EXPECT_NEAR(f.fc, 240.0f / 24000, 1e-8f);
  ajusta({10, 20, 30}, {50, 50, 50});
  EXPECT_EQ(f.existe, 0);
  EXPECT_NEAR(f.fc, 150.0f / 36000, 1e-8f);
}

TEST_F(Biometria, ZeroNegativeOrNonNumericValuesLeaveNothingToPrint) {
  ajusta({10, 20, 30}, {0, 80, 270});
  EXPECT_EQ(f.existe, 0);
  EXPECT_EQ(f.fc, 0);
  ajusta({-10, 20, 30}, {10, 80, 270});
  EXPECT_EQ(f.existe, 0);
  EXPECT_EQ(f.fc, 0);
  ajusta({10, INFINITY, 30}, {10, 80, NAN});
  EXPECT_EQ(f.existe, 0);
  EXPECT_EQ(f.fc, 0);
  ajusta({0, 0}, {0, 0});  // scales stay sane: axes to 5
  EXPECT_TRUE(etiqueta_peso(4, "5.0"));
  EXPECT_TRUE(etiqueta_longitud(4, "5.0"));
}

// Regression: a fit without answer left the previous sample's a, b and r2
// for the report.
TEST_F(Biometria, FitWithoutAnswerClearsThePreviousResults) {
  ajusta({10, 15, 20, 25, 30}, {10, 33.75f, 80, 156.25f, 270});
  ajusta({20}, {80});
  EXPECT_EQ(f.a, 0);
  EXPECT_EQ(f.b, 0);
  EXPECT_EQ(f.r2, 0);
  destroy_bitmap(bmp);
  bmp = relaciones_biometricas_devuelve(longitudes, pesos, 0);
  f = calcula_biometria(longitudes, pesos, 0);
  EXPECT_EQ(f.existe, 0);
  EXPECT_EQ(f.fc, 0);
}
