// Relative frequencies by class and the bar graph drawn for the report.
// Figures worked out by hand, steps rounded to single precision:
//   20, 12, 6 of 38 fish -> 0.526, 0.316, 0.158; top 0.1+0.1+... = 0.6;
//   tick step 320/(0.6*10) = 53; bars fr*320/0.6 = 280, 168, 84; s = 440/3 = 146
#include <gtest/gtest.h>

#include "analysis.h"
#include "pantallas.h"
#include "muestras.h"
#include "sin_ventana.h"

static const int OX = 40, OY = 362;  // origin of the graph in the bitmap

/* Heights of the frequency ticks left of the vertical axis, highest first. */
static std::vector<int> marcas_escala(BITMAP* b) {
  std::vector<int> alturas;
  for (int y = 40; y <= 400; y++)  // below "Fr."
    if (pixel_es(b, OX - 5, y, 0, 0, 0)) alturas.push_back(OY - y);
  return alturas;
}

TEST(GraficoFrecuencias, ThreeClassesScaleToSixTenths) {
  prepara_allegro_sin_ventana();
  auto clases = clases_con({20, 12, 6});
  float fr[RANURAS];
  frecuencias_relativas(clases.data(), 38, 3, fr);
  BITMAP* b = grafico_frecuencias(fr, 3);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->w, 541);
  EXPECT_EQ(b->h, 403);
  const int alturas[] = {280, 168, 84};
  for (int i = 0; i < 3; i++) {  // black top rule, red below it, white above
    int medio = OX + i * 146 + 73, tope = OY - alturas[i];
    EXPECT_TRUE(pixel_es(b, medio, tope, 0, 0, 0)) << i;
    EXPECT_TRUE(pixel_es(b, medio, tope + 1, 255, 0, 0)) << i;
    EXPECT_TRUE(pixel_es(b, medio, tope - 1, 255, 255, 255)) << i;
  }
  EXPECT_EQ(marcas_escala(b), (std::vector<int>{318, 265, 212, 159, 106, 53, 0}));
  for (int x : {OX, OX + 146, OX + 292, OX + 438}) {  // bar sides on the class ticks
    EXPECT_TRUE(pixel_es(b, x, OY - 40, 0, 0, 0)) << x;
    EXPECT_TRUE(pixel_es(b, x, OY + 5, 0, 0, 0)) << x;
  }
  EXPECT_TRUE(pixel_es(b, OX + 145, OY - 40, 255, 0, 0));
  EXPECT_TRUE(pixel_es(b, OX + 439, OY - 40, 255, 255, 255));
  EXPECT_TRUE(pixel_es(b, 1, 1, 0, 0, 0));  // double outline
  EXPECT_TRUE(pixel_es(b, 540, 402, 0, 0, 0));
  destroy_bitmap(b);
}

// ---- Samples that must not break the graph ----

TEST(GraficoFrecuencias, NoFishGivesZeroSharesAndAFiniteScale) {
  prepara_allegro_sin_ventana();
  float fr[RANURAS];
  frecuencias_relativas(nullptr, 0, 3, fr);
  for (int c = 0; c < 3; c++) EXPECT_EQ(fr[c], 0.0f) << c;  // not 0/0
  BITMAP* b = grafico_frecuencias(fr, 3);
  EXPECT_EQ(marcas_escala(b), (std::vector<int>{320, 0}));
  destroy_bitmap(b);
}

TEST(GraficoFrecuencias, ClassesOutsideTheSlotsAreNeverIndexed) {
  prepara_allegro_sin_ventana();
  int clases[] = {0, 7, -1, 1, 250};
  float fr[RANURAS];
  frecuencias_relativas(clases, 5, 2, fr);  // the others count only in the 5
  EXPECT_FLOAT_EQ(fr[0], 0.2f);
  EXPECT_FLOAT_EQ(fr[1], 0.2f);
  frecuencias_relativas(clases, 5, 500, fr);  // no more classes than slots
  EXPECT_FLOAT_EQ(fr[7], 0.2f);
  destroy_bitmap(grafico_frecuencias(fr, 500));
}
