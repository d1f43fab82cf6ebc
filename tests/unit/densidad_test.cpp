// Density and biomass blocks as calcula_densidad makes them, for the report
// and the density screen alike: from hand-made estimates and from the
// estimator itself. The cells' texts are checked on the screen.
#include <gtest/gtest.h>

#include <vector>

#include "analysis.h"
#include "sample.h"

namespace {

/* An estimate made by hand for classes 0..n-2 and the whole sample (last):
   a group whose N is 0 has none; Nclas is the whole N shared out. */
poblacion_muestra estimacion(const std::vector<int>& N, const std::vector<float>& Nclas = {}) {
  poblacion_muestra p = {};
  p.nclases = (int)N.size() - 1;
  p.dentro_de_limites = 1;
  for (size_t j = 0; j < N.size(); j++) {
    p.g[j].existe = N[j] != 0;
    p.g[j].N_red = N[j];
  }
  for (size_t j = 0; j < Nclas.size(); j++) p.Nclas[j] = Nclas[j];
  return p;
}

/* The blocks of a sample whose fish have these classes and weights. */
densidad_muestra bloques(const std::vector<int>& clases, const std::vector<float>& pesos,
                         const poblacion_muestra& p) {
  std::vector<float> longitudes(clases.size(), 10);
  medias_muestra m = calcula_medias(clases.data(), longitudes.data(), pesos.data(),
                                    (int)clases.size(), p.nclases);
  return calcula_densidad(&m, &p, 0, 1, 0);
}

/* The estimator's own estimate of the sample. */
poblacion_muestra estimada(const std::vector<int>& clases, const std::vector<int>& pasadas) {
  int n = (int)clases.size();
  return calcula_poblacion(clases.data(), pasadas.data(), n, numero_clases(clases.data(), n),
                           calculo_pasadas(pasadas.data(), n));
}

}  // namespace

TEST(Densidad, OnePassMakesEveryNonEmptyClassTakeItsCatchInBothBlocks) {
  // class 0: weights 1 and 2 (mean 1.5); class 1 empty; class 2: 10, 20, 30 (mean 20)
  std::vector<int> clases = {0, 2, 0, 2, 2};
  densidad_muestra d = bloques(clases, {1, 10, 2, 20, 30}, estimada(clases, {1, 1, 1, 1, 1}));
  const fila_densidad* c = d.por_clases;
  EXPECT_EQ(c[0].peces, 2);
  EXPECT_FLOAT_EQ(c[0].biomasa, 3);
  EXPECT_TRUE(c[0].sustituida);
  EXPECT_EQ(c[1].peces, 0);
  EXPECT_FLOAT_EQ(c[1].biomasa, 0);
  EXPECT_FALSE(c[1].sustituida);  // nothing caught, nothing replaced
  EXPECT_EQ(c[2].peces, 3);
  EXPECT_FLOAT_EQ(c[2].biomasa, 60);
  EXPECT_TRUE(c[2].sustituida);
  for (int j : {0, 2}) {
    EXPECT_EQ(d.por_frecuencias[j].peces, c[j].peces) << j;
    EXPECT_FLOAT_EQ(d.por_frecuencias[j].biomasa, c[j].biomasa) << j;
    EXPECT_TRUE(d.por_frecuencias[j].sustituida) << j;
  }
  for (const fila_densidad& total : {c[3], d.por_frecuencias[3]}) {
    EXPECT_EQ(total.peces, 5);
    EXPECT_FLOAT_EQ(total.biomasa, 63);
    EXPECT_TRUE(total.sustituida);  // the screen shades the totals too
  }
}

TEST(Densidad, ClassWithoutEstimateTakesItsCatchAndCountsInTheTotal) {
  // class 0 (weights 4, 6) has no estimate; class 1 (mean 5) has 4 fish;
  // the whole sample 10, shared out as 3.0 and 6.4.
  densidad_muestra d = bloques({0, 0, 1, 1}, {4, 6, 5, 5}, estimacion({0, 4, 10}, {3.0f, 6.4f}));
  EXPECT_EQ(d.por_clases[0].peces, 2);
  EXPECT_FLOAT_EQ(d.por_clases[0].biomasa, 10);
  EXPECT_TRUE(d.por_clases[0].sustituida);
  EXPECT_EQ(d.por_clases[1].peces, 4);
  EXPECT_FLOAT_EQ(d.por_clases[1].biomasa, 20);
  EXPECT_FALSE(d.por_clases[1].sustituida);
  // total by classes: the catch of class 0 plus the estimate of class 1
  EXPECT_EQ(d.por_clases[2].peces, 6);
  EXPECT_FLOAT_EQ(d.por_clases[2].biomasa, 30);
  EXPECT_TRUE(d.por_clases[2].sustituida);
  EXPECT_EQ(d.fallidas_por_clases, 1);
  // by frequencies: ceil(Nclas) times the mean weight, total the whole N
  EXPECT_EQ(d.por_frecuencias[0].peces, 3);
  EXPECT_FLOAT_EQ(d.por_frecuencias[0].biomasa, 15);
  EXPECT_EQ(d.por_frecuencias[1].peces, 7);
  EXPECT_FLOAT_EQ(d.por_frecuencias[1].biomasa, 35);
  EXPECT_EQ(d.por_frecuencias[2].peces, 10);
  EXPECT_FLOAT_EQ(d.por_frecuencias[2].biomasa, 50);
  EXPECT_FALSE(d.por_frecuencias[2].sustituida);
}

TEST(Densidad, TotalByFrequenciesIsTheFishWhenTheWholeSampleFails) {
  densidad_muestra d = bloques({0, 0, 0, 1}, {1, 1, 1, 2}, estimacion({5, 0, 0}));
  EXPECT_EQ(d.por_frecuencias[2].peces, 4);
  EXPECT_FLOAT_EQ(d.por_frecuencias[2].biomasa, 5);
  EXPECT_TRUE(d.por_frecuencias[2].sustituida);
  EXPECT_EQ(d.por_clases[2].peces, 5 + 1);  // the estimate of class 0 and the catch of class 1
  EXPECT_FALSE(d.total_existe);
}

// ---- Values that must never reach the screen or the report ----

TEST(Densidad, EstimateThatBreaksDownNextToTheBoundShowsTheCatch) {
  // 17 passes and R a ten-thousandth below the bound: the search runs past
  // q = 1, and no figure of it may stand for the population
  std::vector<int> pasadas(5000, 1), clases(10000, 0);
  pasadas.push_back(16);
  pasadas.insert(pasadas.end(), 4999, 17);
  densidad_muestra d = bloques(clases, std::vector<float>(10000, 2), estimada(clases, pasadas));
  for (const fila_densidad& f : {d.por_clases[0], d.por_frecuencias[0], d.por_frecuencias[1]}) {
    EXPECT_EQ(f.peces, 10000);
    EXPECT_FLOAT_EQ(f.biomasa, 20000);
    EXPECT_TRUE(f.sustituida);
  }
}

TEST(Densidad, FishOfAClassBeyondTheSlotsAreLeftOut) {
  std::vector<int> clases = {0, 500, -1}, pasadas = {1, 1, 1};
  std::vector<float> pesos = {1, 1, 1}, longitudes = {1, 1, 1};
  medias_muestra m = calcula_medias(clases.data(), longitudes.data(), pesos.data(), 3, 1);
  poblacion_muestra p = calcula_poblacion(clases.data(), pasadas.data(), 3, 1, 1);
  densidad_muestra d = calcula_densidad(&m, &p, 0, 1, 0);
  EXPECT_EQ(d.por_clases[0].peces, 1);
  EXPECT_EQ(d.por_frecuencias[1].peces, 3);  // the whole sample still counts every fish
}
