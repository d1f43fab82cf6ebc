// The sample of the program's limits shared by the benchmarks: 10 000 fish in
// 99 classes over 20 passes, every group's R just below its bound so that
// each search for q runs nearly its full length (about 20 000 steps).
#ifndef BANCO_MUESTRA_LIMITE_H
#define BANCO_MUESTRA_LIMITE_H

#include "sample.h"

/* Fish of one class: passes such that sum(pass - 1) is the largest that
   keeps R below (passes - 1)/2; lengths growing with the class, weights
   about 0.01 L^3 (longitudes and pesos may be NULL). */
inline void carga_clase_limite(int clase, int primero, int cuantos, int* pasadas, int* clases,
                               float* longitudes, float* pesos) {
  long resto = ((long)(MAX_PASADAS - 1) * cuantos - 1) / 2;
  for (int i = 0; i < cuantos; i++) {
    int extra = resto > MAX_PASADAS - 1 ? MAX_PASADAS - 1 : (int)resto;
    resto -= extra;
    int p = primero + i;
    pasadas[p] = 1 + extra;
    clases[p] = clase;
    if (!longitudes) continue;
    float l = 4 + clase * 0.3f + (i % 7) * 0.1f;
    longitudes[p] = l;
    pesos[p] = 0.0101f * l * l * l * (1 + (i % 5) * 0.01f);
  }
}

inline void prepara_muestra_limite(int* pasadas, int* clases, float* longitudes, float* pesos) {
  int primero = 0;
  for (int c = 0; c < MAX_CLASES; c++) {
    int cuantos = MAX_PECES / MAX_CLASES + (c < MAX_PECES % MAX_CLASES);
    carga_clase_limite(c, primero, cuantos, pasadas, clases, longitudes, pesos);
    primero += cuantos;
  }
}

#endif
