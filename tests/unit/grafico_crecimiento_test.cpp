// The growth graph drawn into memory bitmaps: ticks, scale top, curve, fish
// and class means, in the bitmap and screen layouts.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "crecimiento.h"
#include "grafico_crecimiento.h"
#include "shell.h"
#include "sin_ventana.h"

namespace {

class GraficoCrecimiento : public ::testing::Test {
 protected:
  void SetUp() override {
    prepara_allegro_sin_ventana();
    b = create_bitmap(541, 552);
    clear_to_color(b, makecol(255, 255, 255));
  }
  void TearDown() override { destroy_bitmap(b); }

  void pez(int clase, float longitud) {
    clases.push_back(clase);
    longitudes.push_back(longitud);
  }
  muestra_crecimiento muestra(int nclases, float edad0 = 0) {
    muestra_crecimiento m;
    prepara_muestra_crecimiento(&m, clases.data(), longitudes.data(), (int)clases.size(),
                                nclases, edad0);
    return m;
  }
  void dibuja(const muestra_crecimiento& m, const curva_crecimiento& c) {
    dibuja_grafico_crecimiento(b, &GRAFICO_BERTALANFFY, &m, &c, 1);
  }
  bool negro_en(int x, int y) { return pixel_es(b, x, y, 0, 0, 0); }
  bool blanco_en(int x, int y) { return pixel_es(b, x, y, 255, 255, 255); }
  int cuenta(int x1, int y1, int x2, int y2, int r, int g, int bl) {
    int n = 0;
    for (int y = y1; y <= y2; y++)
      for (int x = x1; x <= x2; x++) n += pixel_es(b, x, y, r, g, bl);
    return n;
  }
  /* Wherever font 0 puts ink for s (centred on x, or ending at x), the graph is black. */
  bool rotulo(int x, int y, const char* s, bool centrado) {
    int w = ancho(FUENTE_CELDAS, s), h = alto(FUENTE_CELDAS);
    BITMAP* ref = create_bitmap(w, h);
    clear_to_color(ref, makecol(255, 255, 255));
    texto(ref, FUENTE_CELDAS, 0, 0, negro(), "%s", s);
    int x0 = centrado ? x - w / 2 : x - w;
    bool igual = true;
    for (int yy = 0; yy < h; yy++)
      for (int xx = 0; xx < w; xx++)
        if (getpixel(ref, xx, yy) == negro() && !negro_en(x0 + xx, y + yy)) igual = false;
    destroy_bitmap(ref);
    return igual;
  }

  BITMAP* b = nullptr;
  std::vector<int> clases;
  std::vector<float> longitudes;
  const curva_crecimiento sin_curva = {CURVA_NINGUNA, 0, 0, 0};
};

}  // namespace

TEST_F(GraficoCrecimiento, ThreeClassesGiveTicksEvery146PixelsLabelledZeroToThree) {
  pez(0, 5);
  pez(2, 12);
  muestra_crecimiento m = muestra(3);
  dibuja(m, sin_curva);
  const char* etiquetas[] = {"0", "1", "2", "3"};
  for (int i = 0; i <= 3; i++) {
    int x = 41 + 146 * i;
    EXPECT_TRUE(negro_en(x, 366)) << i;
    EXPECT_TRUE(blanco_en(x + 73, 366)) << i;
    EXPECT_TRUE(rotulo(x, 373, etiquetas[i], true)) << i;
  }
}

TEST(EdadesCurva, PointsEveryTenthOfAYearUpToJustPastTheLastClass) {
  float t[MAX_PUNTOS_CURVA];
  ASSERT_EQ(edades_curva(3, t), 32);
  EXPECT_GT(t[31], 3.09f);
  EXPECT_LT(t[31], 3.1f);
  EXPECT_EQ(edades_curva(10, t), 101);
  EXPECT_LE(edades_curva(99, t), MAX_PUNTOS_CURVA);
}

TEST_F(GraficoCrecimiento, LargestLengthSetsATopOfTheNextMultipleOfFive) {
  pez(0, 10);
  pez(1, 23.4f);
  muestra_crecimiento m = muestra(2);
  EXPECT_EQ(tope_escala(&m, &sin_curva, 1), 25);
  dibuja(m, sin_curva);
  // d = 300 / (25 / 5) = 60
  const char* etiquetas[] = {"0", "5", "10", "15", "20", "25"};
  int h = alto(FUENTE_CELDAS);
  for (int j = 0; j <= 5; j++) {
    EXPECT_TRUE(negro_en(35, 361 - 60 * j)) << j;
    EXPECT_TRUE(rotulo(29, 361 - 60 * j - h / 2, etiquetas[j], false)) << j;
  }
  EXPECT_TRUE(blanco_en(35, 361 - 30));
  longitudes[1] = 40;  // a multiple of 5 is its own top
  m = muestra(2);
  EXPECT_EQ(tope_escala(&m, &sin_curva, 1), 40);
}

TEST_F(GraficoCrecimiento, ALongestFishAboveTheCurveSetsTheTop) {
  pez(0, 8);
  pez(1, 31.2f);
  pez(2, 20);
  muestra_crecimiento m = muestra(3);
  curva_crecimiento c = {CURVA_BERTALANFFY, 30, -0.5f, -0.2f};  // below 30 everywhere
  EXPECT_EQ(tope_escala(&m, &c, 1), 35);
  dibuja(m, c);
  for (int j = 0; j <= 7; j++) EXPECT_TRUE(negro_en(35, 361 - 42 * j)) << j;  // 300 / 7 = 42
}

TEST_F(GraficoCrecimiento, TheCurveIsTheTopWhenItRisesAboveEveryFish) {
  pez(0, 8);
  muestra_crecimiento m = muestra(2);
  curva_crecimiento c = {CURVA_POLINOMIO, 0, 0, 10};  // 40 at age 2, 10 at age 1
  EXPECT_EQ(tope_escala(&m, &c, 1), 40);
  EXPECT_EQ(tope_escala(&m, &c, 0), 40);
}

TEST_F(GraficoCrecimiento, ACurveNegativeAtSmallAgesShowsNothingThere) {
  pez(0, 5);
  pez(1, 12);
  pez(2, 20);
  muestra_crecimiento m = muestra(3);
  curva_crecimiento c = {CURVA_BERTALANFFY, 30, -0.5f, 1};  // below 0 before age 1
  dibuja(m, c);
  // ages below 1 lie left of x = 41 + 146.7
  EXPECT_EQ(cuenta(43, 42, 184, 358, 250, 0, 0), 0);
  EXPECT_EQ(cuenta(43, 42, 184, 358, 0, 0, 0), 0);
  EXPECT_GT(cuenta(190, 42, 480, 358, 250, 0, 0), 100);
  EXPECT_GT(cuenta(190, 42, 480, 358, 0, 0, 0), 10);
}

TEST_F(GraficoCrecimiento, FishAndClassMeansSitAtTheirClassShiftedByTheAgeOfClassZero) {
  pez(1, 10);
  pez(1, 20);
  muestra_crecimiento m = muestra(3, 0.5f);
  dibuja(m, sin_curva);
  // x = 1*146 + 41 + 0.5*440/3 = 260.3; top 20: y = 361 - v*15
  EXPECT_TRUE(pixel_es(b, 260, 361 - 150, 0, 0, 200));
  EXPECT_TRUE(pixel_es(b, 260, 361 - 300, 0, 0, 200));
  EXPECT_TRUE(pixel_es(b, 260, 361 - 225, 100, 0, 0));
  // the empty classes sit on the axis
  int x0 = 41 + 73;
  EXPECT_TRUE(pixel_es(b, x0, 359, 100, 0, 0));
  // the legend
  EXPECT_TRUE(pixel_es(b, 344, 316, 0, 0, 200));
  EXPECT_TRUE(pixel_es(b, 344, 336, 100, 0, 0));
}

TEST_F(GraficoCrecimiento, ScreenLayoutHasAWhitePanelWithTwoOutlines) {
  BITMAP* pagina = create_bitmap(1000, 600);
  clear_to_color(pagina, makecol(230, 230, 230));
  pez(0, 5);
  muestra_crecimiento m = muestra(1);
  dibuja_grafico_crecimiento(pagina, &GRAFICO_PANTALLA, &m, &sin_curva, 1);
  EXPECT_TRUE(pixel_es(pagina, 420, 60, 255, 255, 255));
  EXPECT_TRUE(pixel_es(pagina, 407, 300, 0, 0, 0));
  EXPECT_TRUE(pixel_es(pagina, 406, 300, 0, 0, 0));
  EXPECT_TRUE(pixel_es(pagina, 948, 300, 0, 0, 0));
  EXPECT_TRUE(pixel_es(pagina, 600, 455, 0, 0, 0));
  EXPECT_TRUE(pixel_es(pagina, 405, 300, 230, 230, 230));
  EXPECT_TRUE(pixel_es(pagina, 447, 200, 0, 0, 0));  // vertical axis
  EXPECT_TRUE(pixel_es(pagina, 890, 415, 0, 0, 0));  // horizontal axis
  EXPECT_TRUE(pixel_es(pagina, 750, 368, 0, 0, 200));
  destroy_bitmap(pagina);
}

// ---- Samples no scale can be drawn from ----

TEST_F(GraficoCrecimiento, NoPositiveLengthGivesATopOfFive) {
  pez(0, 0);
  pez(1, -3);
  muestra_crecimiento m = muestra(2);
  EXPECT_EQ(tope_escala(&m, &sin_curva, 1), 5);
  dibuja(m, sin_curva);
  EXPECT_TRUE(negro_en(35, 61));  // one tick of 300 px to the top
}

TEST_F(GraficoCrecimiento, AbsurdValuesAreDrawnWithoutLeavingThePage) {
  pez(0, 1e30f);
  pez(1, -1e30f);
  pez(2, NAN);
  muestra_crecimiento m = muestra(3);
  EXPECT_EQ(tope_escala(&m, &sin_curva, 1), ESCALA_TOPE_MAXIMO);
  // a curve that overflows to -inf and +inf within the axis
  curva_crecimiento c = {CURVA_BERTALANFFY, 30, -400, 2};
  dibuja(m, c);
  curva_crecimiento p = {CURVA_POLINOMIO, 0, 0, 1e38f};
  dibuja(m, p);
  EXPECT_TRUE(negro_en(41 + 146, 368));  // the ticks under the axis are untouched
}

TEST_F(GraficoCrecimiento, NoClassesStillGiveOneYearOfAxis) {
  muestra_crecimiento m = muestra(0);
  dibuja(m, sin_curva);
  EXPECT_TRUE(negro_en(41 + 440, 366));
}
