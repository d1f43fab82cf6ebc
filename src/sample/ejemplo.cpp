// The built-in example: 38 fish from a three-pass removal survey, so that
// every analysis can be tried without a data file.
#include "sample.h"

static const float EJ_LONGITUDES[NUM_EJEMPLO] = {
    27.4f, 27.2f, 22.0f, 21.7f, 15.4f, 15.0f, 14.5f, 10.8f, 10.2f, 9.8f,
    9.6f,  9.4f,  5.2f,  5.1f,  4.9f,  4.6f,  4.1f,  28.5f, 22.0f, 18.0f,
    17.8f, 12.0f, 11.6f, 11.2f, 11.0f, 5.9f,  5.8f,  5.6f,  5.5f,  5.2f,
    29.5f, 23.0f, 18.5f, 13.5f, 12.4f, 7.7f,  6.8f,  6.2f};
static const float EJ_PESOS[NUM_EJEMPLO] = {
    103.41f, 112.11f, 66.52f, 70.02f, 27.90f, 28.00f, 27.39f, 8.21f, 7.60f,  7.36f,
    7.52f,   7.64f,   1.38f,  1.39f,  0.88f,  0.79f,  0.60f,  148.77f, 70.35f, 42.71f,
    44.79f,  10.16f,  10.11f, 9.96f,  10.28f, 1.75f,  1.79f,  1.73f,  1.16f,  1.07f,
    150.76f, 113.62f, 64.04f, 26.62f, 22.18f, 3.69f,  2.27f,  1.87f};
static const int EJ_PASADAS[NUM_EJEMPLO] = {
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3};
static const int EJ_CLASES[NUM_EJEMPLO] = {
    4, 4, 3, 3, 2, 2, 2, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 4, 3,
    2, 2, 1, 1, 1, 1, 0, 0, 0, 0, 0, 4, 3, 2, 1, 1, 0, 0, 0};

void copia_ejemplo(int* pasadas, float* longitudes, float* pesos, int* clases) {
  for (int i = 0; i < NUM_EJEMPLO; i++) {
    pasadas[i] = EJ_PASADAS[i];
    longitudes[i] = EJ_LONGITUDES[i];
    pesos[i] = EJ_PESOS[i];
    clases[i] = EJ_CLASES[i];
  }
}
