// Mean length and weight of every class and of the whole sample.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "analysis.h"

static std::string con_formato(const char* fmt, float v) {
  char buf[64];
  snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

TEST(Medias, ClassesAddFromTheLastFishWholeSampleFromTheFirst) {
  // In single precision 2^24 + 1 + 1 is 2^24 added forwards but 2^24 + 2
  // backwards: means 16777216 / 3 -> 5592405.5 and 16777218 / 3 -> 5592406.0.
  int clases[] = {0, 0, 0}, n[RANURAS];
  float v[] = {16777216.0f, 1.0f, 1.0f}, longitud[RANURAS], peso[RANURAS];
  medias_por_clase(clases, v, v, 3, 1, n, longitud, peso);
  EXPECT_EQ(con_formato("%.1f", longitud[0]), "5592406.0");
  EXPECT_EQ(con_formato("%.2f", peso[0]), "5592406.00");
  EXPECT_EQ(con_formato("%.1f", longitud[1]), "5592405.5");
  EXPECT_EQ(con_formato("%.2f", peso[1]), "5592405.50");
}

// ---- Samples that must not give meaningless figures or reach past the slots ----

TEST(Medias, ClassesOutsideTheSlotsCountOnlyInTheWholeSample) {
  int clases[] = {0, -1, 5, 1000}, n[RANURAS];
  float l[] = {4, 8, 8, 8}, p[] = {1, 2, 2, 2}, longitud[RANURAS], peso[RANURAS];
  medias_por_clase(clases, l, p, 4, 1, n, longitud, peso);
  EXPECT_EQ(n[0], 1);
  EXPECT_FLOAT_EQ(longitud[0], 4.0f);
  EXPECT_EQ(n[1], 4);
  EXPECT_FLOAT_EQ(longitud[1], 7.0f);
  medias_por_clase(clases, l, p, 4, 400, n, longitud, peso);
  EXPECT_EQ(n[RANURAS - 1], 4);  // the whole sample in the last slot
}
