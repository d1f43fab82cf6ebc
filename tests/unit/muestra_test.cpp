// The sample's counts and the built-in example.
#include <gtest/gtest.h>

#include "sample.h"

TEST(Muestra, ExampleHasFiveClassesAndThreePasses) {
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  copia_ejemplo(pasadas, longitudes, pesos, clases);
  EXPECT_EQ(numero_clases(clases, NUM_EJEMPLO), 5);
  EXPECT_EQ(calculo_pasadas(pasadas, NUM_EJEMPLO), 3);
  int por_clase[5] = {0}, por_pasada[4] = {0};
  for (int i = 0; i < NUM_EJEMPLO; i++) {
    por_clase[clases[i]]++;
    por_pasada[pasadas[i]]++;
  }
  EXPECT_EQ(por_clase[0], 13);
  EXPECT_EQ(por_clase[1], 11);
  EXPECT_EQ(por_clase[2], 6);
  EXPECT_EQ(por_clase[3], 4);
  EXPECT_EQ(por_clase[4], 4);
  EXPECT_EQ(por_pasada[1], 17);
  EXPECT_EQ(por_pasada[2], 13);
  EXPECT_EQ(por_pasada[3], 8);
  EXPECT_FLOAT_EQ(longitudes[30], 29.5f);
  EXPECT_FLOAT_EQ(pesos[17], 148.77f);
}

TEST(Muestra, EmptyClassesStillCount) {
  int clases[] = {4, 4, 0};
  EXPECT_EQ(numero_clases(clases, 3), 5);
  EXPECT_EQ(numero_clases(clases, 0), 1);
  int negativas[] = {-3, -1};
  EXPECT_EQ(numero_clases(negativas, 2), 1);
}

TEST(Muestra, PassesAreTheHighestPresent) {
  int pasadas[] = {1, 3, 1};
  EXPECT_EQ(calculo_pasadas(pasadas, 3), 3);
  int ninguna[] = {0, -2};
  EXPECT_EQ(calculo_pasadas(ninguna, 2), 0);
}
