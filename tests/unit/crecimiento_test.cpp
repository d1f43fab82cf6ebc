// Growth: the Walford estimate, the von Bertalanffy and polynomial fits, and
// the growth graph drawn into the export bitmaps.
//
// Reference figures were worked out apart from the program, in double
// precision, with a separate script (textbook least squares on the class
// means of the built-in example, which are 5.584615, 11.045455, 16.533333,
// 22.175 and 28.15 for classes 0+..4+):
//   von Bertalanffy, Linf 35, age of class 0+ 0.5: k 0.353930, t0 0.337170,
//     r2 0.948029; lengths at ages 0..9: -4.4361 7.3188 15.5699 21.3616
//     25.4268 28.2804 30.2833 31.6893 32.6761 33.3688
//   von Bertalanffy, Linf 29.5, age 0: k 0.667285, t0 0.208161, r2 0.848907
//   polynomial, age 0.5: a0 2.991457, a1 5.203849, a2 0.084436, r2 0.999970
//   Walford line of the example: slope 1.0308, intercept 5.2154 (never meets y = x
//   at a positive length).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "crecimiento.h"
#include "sample.h"
#include "sin_ventana.h"

namespace {

/* A sample built fish by fish. */
struct Peces {
  std::vector<int> clases;
  std::vector<float> longitudes;
  Peces& pez(int clase, float longitud) {
    clases.push_back(clase);
    longitudes.push_back(longitud);
    return *this;
  }
  /* One fish per class with the given lengths; a 0 leaves the class empty. */
  static Peces por_clase(std::vector<float> medias) {
    Peces p;
    for (size_t i = 0; i < medias.size(); i++)
      if (medias[i] != 0) p.pez((int)i, medias[i]);
    return p;
  }
  int n() const { return (int)clases.size(); }
  muestra_crecimiento muestra(int nclases, float edad0) const {
    muestra_crecimiento m;
    prepara_muestra_crecimiento(&m, clases.data(), longitudes.data(), n(), nclases, edad0);
    return m;
  }
  float walford(int nclases) {
    return waldford(longitudes.data(), clases.data(), n(), nclases);
  }
};

Peces ejemplo() {
  static int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  static float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  copia_ejemplo(pasadas, longitudes, pesos, clases);
  Peces p;
  for (int i = 0; i < NUM_EJEMPLO; i++) p.pez(clases[i], longitudes[i]);
  return p;
}

}  // namespace

// ---- Walford ----

TEST(Walford, MeansGrowingTowardsAnAsymptoteGiveTheFirstGridPointNearTheCrossing) {
  // means on y = 12 + 0.6 x, which meets y = x at 30; the first grid point
  // 0.1 + 0.01 j with |12 + 0.6 x - x| <= 0.01 is 29.98
  Peces p = Peces::por_clase({10, 18, 22.8f, 25.68f, 27.408f});
  float w = p.walford(5);
  EXPECT_NEAR(w, 29.98, 0.002);
  EXPECT_LE(std::fabs(12 + 0.6 * w - w), 0.0101);
}

TEST(Walford, NoCrossingGivesZero) {
  // slope 1, intercept 5: the line runs above y = x for ever
  EXPECT_EQ(Peces::por_clase({10, 15, 20, 25}).walford(4), 0);
  // the example's line is steeper than 1 and starts above y = x
  EXPECT_EQ(ejemplo().walford(5), 0);
  // one pair only
  EXPECT_EQ(Peces::por_clase({10, 15}).walford(2), 0);
}

TEST(Walford, AnEmptyClassDropsThePairsOnBothItsSides) {
  // pairs (22,25) and (25,27) only: y = 31/3 + 2/3 x meets y = x at 31 and
  // is within 0.01 of it for x in 31 +- 0.03; pairing 10 with 22 instead
  // would give y = 18.79 + 0.31 x, crossing near 27.2
  float w = Peces::por_clase({10, 0, 22, 25, 27}).walford(5);
  EXPECT_NEAR(w, 31, 0.031);
  EXPECT_LE(std::fabs(31.0 / 3 + 2.0 / 3 * w - w), 0.0101);
}

// Regression: pairs that all start at the same mean divided 0 by 0 and gave 0.10.
// Regression: with a mean that single precision cannot hold exactly the 0 / 0
// came out as rounding noise over rounding noise and gave 6.72.
TEST(Walford, PairsWithoutSpreadGiveZero) {
  EXPECT_EQ(Peces::por_clase({10, 10, 10}).walford(3), 0);
  EXPECT_EQ(Peces::por_clase({5.584615f, 5.584615f, 5.584615f, 9}).walford(4), 0);
  EXPECT_EQ(Peces::por_clase({28.15f, 28.15f, 28.15f, 20}).walford(4), 0);
}

TEST(Walford, ACrossingAtANegativeLengthGivesZero) {
  // pairs (20,10) and (10,2): y = -6 + 0.8 x meets y = x at -30
  EXPECT_EQ(Peces::por_clase({20, 10, 2}).walford(3), 0);
}

// ---- Class means ----

TEST(MuestraCrecimiento, FishOutsideTheClassesTakeNoPart) {
  Peces p;
  p.pez(0, 10).pez(0, 12).pez(-1, 500).pez(3, 900).pez(2, 20);
  muestra_crecimiento m = p.muestra(3, 0);
  EXPECT_FLOAT_EQ(m.medias[0], 11);
  EXPECT_EQ(m.medias[1], 0);
  EXPECT_FLOAT_EQ(m.medias[2], 20);
  EXPECT_EQ(m.medias[3], 0);  // the successor of the last class stays empty
  EXPECT_EQ(m.vacias, 1);
}

TEST(MuestraCrecimiento, MoreThan99ClassesAreCutTo99) {
  Peces p;
  p.pez(98, 50).pez(99, 60).pez(150, 70);
  muestra_crecimiento m = p.muestra(151, 0);
  EXPECT_EQ(m.nclases, 99);
  EXPECT_FLOAT_EQ(m.medias[98], 50);
  EXPECT_EQ(m.medias[99], 0);
}

// ---- von Bertalanffy ----

/* Fits and checks k, t0 and r2 against the reference; returns the curve. */
curva_crecimiento espera_bertalanffy(const Peces& p, int nclases, float edad0, float linf,
                                     double k, double t0, double r2) {
  muestra_crecimiento m = p.muestra(nclases, edad0);
  curva_crecimiento c;
  float r;
  EXPECT_EQ(ajusta_bertalanffy(&m, linf, &c, &r), AJUSTE_BIEN);
  EXPECT_NEAR(-c.c1, k, 2e-5);
  EXPECT_NEAR(c.c2, t0, 2e-5);
  EXPECT_NEAR(r, r2, 2e-5);
  return c;
}

TEST(Bertalanffy, ExampleFitMatchesIndependentFigures) {
  curva_crecimiento c = espera_bertalanffy(ejemplo(), 5, 0.5f, 35, 0.353930, 0.337170, 0.948029);
  const double predichas[10] = {-4.4361, 7.3188, 15.5699, 21.3616, 25.4268,
                                28.2804, 30.2833, 31.6893, 32.6761, 33.3688};
  for (int i = 0; i < 10; i++) EXPECT_NEAR(curva_en(&c, (float)i), predichas[i], 1e-3) << i;
}

TEST(Bertalanffy, AnEmptyClassIsLeftOutOfTheFit) {
  // the example without its class 1+: double-precision least squares on the
  // classes 0, 2, 3, 4 give k 0.349306, t0 -0.217940, r2 0.940805 (taking the
  // empty class in as ln(1) = 0 would move t0 and r2)
  Peces con_hueco;
  Peces e = ejemplo();
  for (int i = 0; i < e.n(); i++)
    if (e.clases[i] != 1) con_hueco.pez(e.clases[i], e.longitudes[i]);
  EXPECT_EQ(con_hueco.muestra(5, 0).vacias, 1);
  espera_bertalanffy(con_hueco, 5, 0, 35, 0.349306, -0.217940, 0.940805);
}

// Fits without an answer: no curve, r2 0, a reason the screen can show.
TEST(Bertalanffy, UndefinedFitsGiveAReasonAndNoCurve) {
  struct Caso {
    Peces p;
    int nclases;
    float linf;
    int motivo;
  } casos[] = {
      {Peces::por_clase({12, 0, 0}), 3, 30, AJUSTE_POCAS_CLASES},
      {Peces::por_clase({10, 20}), 2, 20, AJUSTE_MEDIA_LINF},
      {Peces::por_clase({15, 15, 15}), 3, 30, AJUSTE_SIN_VARIACION},
      {Peces().pez(0, -5).pez(1, -6), 2, 0, AJUSTE_SIN_LONGITUDES},
      {Peces(), 1, 0, AJUSTE_SIN_LONGITUDES},
      // Linf so large that every class gives ln(1) = 0
      {Peces::por_clase({10, 20}), 2, 1e30f, AJUSTE_SIN_VARIACION},
  };
  for (auto& k : casos) {
    muestra_crecimiento m = k.p.muestra(k.nclases, 0);
    curva_crecimiento c = {CURVA_BERTALANFFY, 1, 1, 1};
    float r2 = 5;
    EXPECT_EQ(ajusta_bertalanffy(&m, k.linf, &c, &r2), k.motivo) << k.linf;
    EXPECT_EQ(c.tipo, CURVA_NINGUNA);
    EXPECT_EQ(r2, 0);
    EXPECT_STRNE(mensaje_ajuste(k.motivo, 2), "");
  }
}

TEST(Bertalanffy, ACurveThatOverflowsAtTheReportAgesHasNoAnswer) {
  // classes 18 and 19 only, the last a hair below Linf: t0 is about 18 and
  // (0 - t0) * b about 236, so e^236 is no single-precision number at age 0
  std::vector<float> medias(20, 0);
  medias[18] = 1;
  medias[19] = 50;
  Peces p = Peces::por_clase(medias);
  muestra_crecimiento m = p.muestra(20, 0);
  curva_crecimiento c;
  float r2;
  EXPECT_EQ(ajusta_bertalanffy(&m, 50.0001f, &c, &r2), AJUSTE_SIN_SOLUCION);
  EXPECT_EQ(c.tipo, CURVA_NINGUNA);
}

// ---- Polynomial ----

/* Fits and checks the coefficients and r2; returns the curve. */
curva_crecimiento espera_polinomio(const Peces& p, float edad0, double a0, double a1, double a2,
                                   double r2) {
  muestra_crecimiento m = p.muestra(5, edad0);
  curva_crecimiento c;
  float r;
  EXPECT_EQ(ajusta_polinomio(&m, &c, &r), AJUSTE_BIEN);
  EXPECT_NEAR(c.c0, a0, 1e-3);
  EXPECT_NEAR(c.c1, a1, 1e-3);
  EXPECT_NEAR(c.c2, a2, 1e-4);
  EXPECT_NEAR(r, r2, 1e-5);
  return c;
}

TEST(Polinomio, MeansOnAParabolaGiveItsCoefficientsAndR2One) {
  // 5 + 8x - 0.5x^2 at the ages 0.5 .. 4.5
  espera_polinomio(Peces::por_clase({8.875f, 15.875f, 21.875f, 26.875f, 30.875f}), 0.5f,
                   5, 8, -0.5, 1);
}

TEST(Polinomio, ExampleFitMatchesIndependentFigures) {
  espera_polinomio(ejemplo(), 0.5f, 2.991457, 5.203849, 0.084436, 0.999970);
}

TEST(Polinomio, AnEmptyClassIsLeftOutButKeepsItsEstimate) {
  Peces p = Peces::por_clase({8.875f, 15.875f, 0, 26.875f, 30.875f});
  EXPECT_EQ(p.muestra(5, 0.5f).medias[2], 0);
  curva_crecimiento c = espera_polinomio(p, 0.5f, 5, 8, -0.5, 1);
  EXPECT_NEAR(curva_en(&c, 2.5f), 21.875, 1e-3);
}

TEST(Polinomio, UndefinedFitsGiveAReasonAndNoCurve) {
  struct Caso {
    Peces p;
    int motivo;
  } casos[] = {
      {Peces::por_clase({10, 0, 20}), AJUSTE_POCAS_CLASES},
      {Peces::por_clase({15, 15, 15, 15}), AJUSTE_SIN_VARIACION},
      {Peces().pez(0, 0).pez(1, -2).pez(2, -3), AJUSTE_SIN_LONGITUDES},
  };
  for (auto& k : casos) {
    muestra_crecimiento m = k.p.muestra(4, 0);
    curva_crecimiento c;
    float r2 = 5;
    EXPECT_EQ(ajusta_polinomio(&m, &c, &r2), k.motivo);
    EXPECT_EQ(c.tipo, CURVA_NINGUNA);
    EXPECT_EQ(r2, 0);
  }
}

TEST(Polinomio, ExportStoresCoefficientsAndLengthsAtWholeAges) {
  prepara_allegro_sin_ventana();
  Peces p = Peces::por_clase({8.875f, 15.875f, 21.875f, 26.875f, 30.875f});
  float predichas[10], edad0 = 0.5f;
  BITMAP* b = ajuste_polinomial_devuelve(p.n(), 5, p.longitudes.data(), predichas,
                                         p.clases.data(), &edad0);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->w, 541);
  EXPECT_EQ(b->h, 500);
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, p.clases.data(), p.longitudes.data(), p.n(), 5, edad0);
  polinomio_muestra f = calcula_polinomio(&m, edad0);
  EXPECT_EQ(f.existe, 1);
  EXPECT_NEAR(f.a0, 5, 1e-3);
  EXPECT_NEAR(f.a1, 8, 1e-3);
  EXPECT_NEAR(f.a2, -0.5, 1e-3);
  EXPECT_NEAR(f.r2, 1, 1e-5);
  for (int i = 0; i < 10; i++) EXPECT_NEAR(predichas[i], 5 + 8 * i - 0.5 * i * i, 2e-3) << i;
  EXPECT_TRUE(pixel_es(b, 41, 200, 0, 0, 0));   // vertical axis
  EXPECT_TRUE(pixel_es(b, 300, 363, 0, 0, 0));  // horizontal axis
  destroy_bitmap(b);
}

TEST(Polinomio, ExportOfAnUndefinedFitLeavesZerosAndItsFlag) {
  prepara_allegro_sin_ventana();
  Peces p = Peces::por_clase({10, 20});
  float predichas[10], edad0 = 0;
  BITMAP* b = ajuste_polinomial_devuelve(p.n(), 2, p.longitudes.data(), predichas,
                                         p.clases.data(), &edad0);
  ASSERT_NE(b, nullptr);
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, p.clases.data(), p.longitudes.data(), p.n(), 2, edad0);
  polinomio_muestra f = calcula_polinomio(&m, edad0);
  EXPECT_EQ(f.existe, 0);
  EXPECT_EQ(f.a0, 0);
  EXPECT_EQ(f.a1, 0);
  EXPECT_EQ(f.a2, 0);
  EXPECT_EQ(f.r2, 0);
  for (float v : predichas) EXPECT_EQ(v, 0);
  destroy_bitmap(b);
}
