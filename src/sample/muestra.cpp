// The counts and the longest fish every analysis works from.
#include "sample.h"

int numero_clases(const int* clases, int n) {
  int mayor = 0;  // negative classes never raise the count
  for (int i = 0; i < n; i++)
    if (clases[i] > mayor) mayor = clases[i];
  return mayor + 1;
}

int calculo_pasadas(const int* pasadas, int n) {
  int mayor = 0;
  for (int i = 0; i < n; i++)
    if (pasadas[i] > mayor) mayor = pasadas[i];
  return mayor;
}

recuento_pasadas cuenta_pasadas(const int* pasadas, int n) {
  recuento_pasadas r = {};
  r.mayor = calculo_pasadas(pasadas, n);
  for (int i = 0; i < n; i++)
    if (pasadas[i] >= 1 && pasadas[i] <= MAX_PASADAS) r.peces[pasadas[i]]++;
  return r;
}

int numero_de_pasadas(const char* texto) {
  const char* p = texto;
  while (*p == ' ') p++;
  int k = 0;
  for (; *p >= '0' && *p <= '9'; p++)
    if ((k = k * 10 + (*p - '0')) > MAX_PASADAS) return 0;
  while (*p == ' ') p++;
  return *p == 0 ? k : 0;
}

float longitud_mayor(const float* longitudes, int n) {
  float mayor = 0;  // lengths at or below 0, and not-a-number, never raise it
  for (int i = 0; i < n; i++)
    if (longitudes[i] > mayor) mayor = longitudes[i];
  return mayor;
}
