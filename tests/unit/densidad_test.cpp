// Density and biomass figures: the rows of both blocks and the texts of
// their cells, from hand-made estimates and from the built-in example.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis.h"
#include "ejemplo_estimado.h"
#include "sample.h"

namespace {

struct Bloques {
  fila_densidad clases[RANURAS], frecuencias[RANURAS];
  float frecuencia[RANURAS];
};

Bloques calcula(const std::vector<float>& N, const std::vector<float>& R, std::vector<int> clases,
                std::vector<float> pesos, int nclases, int npasadas) {
  Bloques b;
  filas_densidad(N.data(), R.data(), clases.data(), pesos.data(), (int)clases.size(), nclases,
                 npasadas, b.clases, b.frecuencias, b.frecuencia);
  return b;
}

std::vector<std::string> celdas(const fila_densidad& f) {
  char t[CELDAS_BLOQUE][LARGO_CELDA];
  celdas_densidad(&f, t);
  return std::vector<std::string>(t, t + CELDAS_BLOQUE);
}

void fija_medidas(float superficie, float volumen, float longitud) {
  Suptramo = superficie;
  Voltramo = volumen;
  mltramo = longitud;
}

}  // namespace

TEST(Densidad, OnePassMakesEveryNonEmptyClassTakeItsCatchInBothBlocks) {
  // class 0: weights 1 and 2 (mean 1.5); class 1 empty; class 2: 10, 20, 30 (mean 20)
  Bloques b = calcula({0, 0, 0, 0}, {0, 0, 0, 0}, {0, 2, 0, 2, 2}, {1, 10, 2, 20, 30}, 3, 1);
  EXPECT_EQ(b.clases[0].peces, 2);
  EXPECT_FLOAT_EQ(b.clases[0].biomasa, 3);
  EXPECT_TRUE(b.clases[0].sustituida);
  EXPECT_EQ(b.clases[1].peces, 0);
  EXPECT_FLOAT_EQ(b.clases[1].biomasa, 0);
  EXPECT_FALSE(b.clases[1].sustituida);  // nothing caught, nothing replaced
  EXPECT_EQ(b.clases[2].peces, 3);
  EXPECT_FLOAT_EQ(b.clases[2].biomasa, 60);
  EXPECT_TRUE(b.clases[2].sustituida);
  for (int j : {0, 2}) {
    EXPECT_EQ(b.frecuencias[j].peces, b.clases[j].peces) << j;
    EXPECT_FLOAT_EQ(b.frecuencias[j].biomasa, b.clases[j].biomasa) << j;
    EXPECT_TRUE(b.frecuencias[j].sustituida) << j;
  }
  for (const fila_densidad& total : {b.clases[3], b.frecuencias[3]}) {
    EXPECT_EQ(total.peces, 5);
    EXPECT_FLOAT_EQ(total.biomasa, 63);
    EXPECT_TRUE(total.sustituida);
  }
  EXPECT_FLOAT_EQ(b.frecuencia[0], 0.4f);
  EXPECT_FLOAT_EQ(b.frecuencia[1], 0);
}

TEST(Densidad, ClassWhoseStatisticEqualsTheBoundTakesItsCatchAndCountsInTheTotal) {
  // two passes: bound 0.5. Class 0 (weights 4, 6) sits on it; class 1 (mean 5)
  // is valid with N 3.2, shown as 4; the whole sample is valid with N 9.6.
  Nclas[0] = 3.0f;
  Nclas[1] = 6.4f;
  Bloques b = calcula({0, 3.2f, 9.6f}, {0.5f, 0.25f, 0.3f}, {0, 0, 1, 1}, {4, 6, 5, 5}, 2, 2);
  EXPECT_EQ(b.clases[0].peces, 2);
  EXPECT_FLOAT_EQ(b.clases[0].biomasa, 10);
  EXPECT_TRUE(b.clases[0].sustituida);
  EXPECT_EQ(b.clases[1].peces, 4);
  EXPECT_FLOAT_EQ(b.clases[1].biomasa, 20);
  EXPECT_FALSE(b.clases[1].sustituida);
  // total by classes: the catch of class 0 plus the estimate of class 1
  EXPECT_EQ(b.clases[2].peces, b.clases[0].peces + b.clases[1].peces);
  EXPECT_FLOAT_EQ(b.clases[2].biomasa, 30);
  EXPECT_TRUE(b.clases[2].sustituida);
  // by frequencies: ceil(Nclas) times the mean weight, total ceil(9.6)
  EXPECT_EQ(b.frecuencias[0].peces, 3);
  EXPECT_FLOAT_EQ(b.frecuencias[0].biomasa, 15);
  EXPECT_EQ(b.frecuencias[1].peces, 7);
  EXPECT_FLOAT_EQ(b.frecuencias[1].biomasa, 35);
  EXPECT_EQ(b.frecuencias[2].peces, 10);
  EXPECT_FLOAT_EQ(b.frecuencias[2].biomasa, 50);
  EXPECT_FALSE(b.frecuencias[2].sustituida);
}

TEST(Densidad, TotalByFrequenciesIsTheFishWhenTheWholeSampleFails) {
  Bloques b = calcula({4.1f, 0, 7}, {0.2f, 0, 0.5f}, {0, 0, 0, 1}, {1, 1, 1, 2}, 2, 2);
  EXPECT_EQ(b.frecuencias[2].peces, 4);
  EXPECT_FLOAT_EQ(b.frecuencias[2].biomasa, 5);
  EXPECT_TRUE(b.frecuencias[2].sustituida);
  EXPECT_EQ(b.clases[2].peces, 5 + 1);  // ceil(4.1) and the catch of class 1
}

TEST(Densidad, OnlySurfaceLeavesDashesUnderVolumeAndLength) {
  fija_medidas(4, 0, 0);
  fila_densidad f = {6, 13, 0};
  std::vector<std::string> esperadas = {"6", "-", "1.50", "-", "-", "3.25", "-"};
  EXPECT_EQ(celdas(f), esperadas);
  fija_medidas(0, 0, 0);
}

// ---- Values that must never reach the screen ----

TEST(Densidad, NonFiniteEstimateCountsAsFailed) {
  // a valid statistic with an estimate that is not a number shows the catch
  Bloques b = calcula({NAN, INFINITY}, {0.2f, 0.3f}, {0, 0}, {1, 1}, 1, 2);
  EXPECT_EQ(b.clases[0].peces, 2);
  EXPECT_TRUE(b.clases[0].sustituida);
  EXPECT_EQ(b.frecuencias[1].peces, 2);
  EXPECT_TRUE(b.frecuencias[1].sustituida);
}

TEST(Densidad, BiomassBeyondFloatRangeShowsDashNotInf) {
  // regression: a biomass that overflowed single precision was printed as "inf"
  fija_medidas(0.5f, 1, 1);
  fila_densidad f = {2, 3e38f, 0};
  std::vector<std::string> t = celdas(f);
  EXPECT_EQ(t[5], "-");
  EXPECT_EQ(t[2], "4.00");
  fija_medidas(0, 0, 0);
}

TEST(Densidad, FishOfAClassBeyondTheSlotsAreLeftOut) {
  std::vector<float> N(RANURAS, 0), R(RANURAS, 0);
  Bloques b = calcula(N, R, {0, 500, -1}, {1, 1, 1}, 1, 1);
  EXPECT_EQ(b.clases[0].peces, 1);
  EXPECT_EQ(b.frecuencias[1].peces, 3);  // the whole sample still counts every fish
}

// ---- The built-in example, measured: surface 120.5 m2, volume 48.5 m3, 25 m ----
//
// Worked out by a separate script with single-precision arithmetic (the
// same figures come out in double precision):
//   catches per pass 0+: 5 5 3, 1+: 5 4 2, 2+: 3 2 1, 3+ and 4+: 2 1 1, all 17 13 8;
//   N 25.85, 15.34, 7.58, 5.85, 5.85, whole 57.27; the classes add to 60.46, so
//   of 26 16 8 6 6 one unit comes off 1+ (smallest fraction): 26 15 8 6 6 = 61;
//   by frequencies 58 * (13 11 6 4 4) / 38 = 19.84 16.79 9.16 6.11 6.11,
//   rounded up 20 17 10 7 7 and brought down to 58: 20 17 9 6 6;
//   mean weights 3.41, 9.57, 32.31, 66.11, 106.26 g.
static const char* const EJEMPLO_CLASES[6][7] = {
    {"26", "0.54", "0.22", "1.04", "0.84", "0.34", "1.63"},
    {"15", "0.31", "0.12", "0.60", "3.59", "1.44", "6.96"},
    {"8", "0.16", "0.07", "0.32", "6.46", "2.60", "12.52"},
    {"6", "0.12", "0.05", "0.24", "9.91", "3.99", "19.23"},
    {"6", "0.12", "0.05", "0.24", "15.93", "6.41", "30.90"},
    {"61", "1.26", "0.51", "2.44", "36.73", "14.78", "71.25"}};
static const char* const EJEMPLO_FRECUENCIAS[6][7] = {
    {"20", "0.41", "0.17", "0.80", "0.65", "0.26", "1.25"},
    {"17", "0.35", "0.14", "0.68", "4.07", "1.64", "7.89"},
    {"9", "0.19", "0.07", "0.36", "7.26", "2.92", "14.09"},
    {"6", "0.12", "0.05", "0.24", "9.91", "3.99", "19.23"},
    {"6", "0.12", "0.05", "0.24", "15.93", "6.41", "30.90"},
    {"58", "1.20", "0.48", "2.32", "37.82", "15.22", "73.37"}};

TEST(Densidad, ExampleCellsMatchFiguresWorkedOutByHand) {
  ejemplo_estimado e;
  estima_ejemplo(&e);
  const int nclases = e.nclases;
  Bloques b;
  filas_densidad(e.N, e.R, e.clases, e.pesos, NUM_EJEMPLO, nclases, e.npasadas, b.clases,
                 b.frecuencias, b.frecuencia);
  fija_medidas(120.5f, 48.5f, 25);
  for (int j = 0; j <= nclases; j++) {
    EXPECT_EQ(celdas(b.clases[j]), std::vector<std::string>(EJEMPLO_CLASES[j], EJEMPLO_CLASES[j] + 7)) << j;
    EXPECT_EQ(celdas(b.frecuencias[j]),
              std::vector<std::string>(EJEMPLO_FRECUENCIAS[j], EJEMPLO_FRECUENCIAS[j] + 7)) << j;
    EXPECT_FALSE(b.clases[j].sustituida || b.frecuencias[j].sustituida) << j;
  }
  const float frecuencias[5] = {13 / 38.0f, 11 / 38.0f, 6 / 38.0f, 4 / 38.0f, 4 / 38.0f};
  for (int j = 0; j < nclases; j++) EXPECT_FLOAT_EQ(b.frecuencia[j], frecuencias[j]) << j;
  fija_medidas(0, 0, 0);
}
