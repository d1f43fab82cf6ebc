// Mean lengths and weights: for every age class and for the whole sample, the
// mean length, the mean weight and the number of fish, over all passes.
#include <cmath>
#include <cstdio>

#include "analysis.h"

void medias_por_clase(const int* clases, const float* longitudes, const float* pesos, int nfish,
                      int nclases, int* individuos, float* longitud_media, float* peso_medio) {
  nclases = clases_acotadas(nclases);
  for (int c = 0; c <= nclases; c++) individuos[c] = 0, longitud_media[c] = 0, peso_medio[c] = 0;
  // Each class adds its fish from the last to the first.
  for (int i = nfish - 1; i >= 0; i--) {
    int c = clases[i];
    if (c < 0 || c >= nclases) continue;
    individuos[c]++;
    longitud_media[c] += longitudes[i];
    peso_medio[c] += pesos[i];
  }
  // The whole sample adds every fish from the first to the last.
  for (int i = 0; i < nfish; i++) {
    longitud_media[nclases] += longitudes[i];
    peso_medio[nclases] += pesos[i];
  }
  individuos[nclases] = nfish > 0 ? nfish : 0;
  for (int c = 0; c <= nclases; c++) {
    if (individuos[c] == 0) continue;  // an empty class keeps its sums, 0
    longitud_media[c] = longitud_media[c] / individuos[c];
    peso_medio[c] = peso_medio[c] / individuos[c];
  }
}

/* √(Σ (v − media)² / (cuantos − 1)) over the fish of `clase` (every fish
   when todas), from the last fish to the first; 0 for fewer than two. */
static float dispersion(const float* v, const int* clases, int n, int clase, int todas,
                        float media, int cuantos) {
  if (cuantos < 2) return 0;
  float suma = 0;
  for (int i = n - 1; i >= 0; i--)
    if (todas || clases[i] == clase) {
      float d = v[i] - media;
      suma += d * d;
    }
  return (float)sqrt((double)(suma / (cuantos - 1)));
}

/* The report's whole-sample sums: class by class, each from its last fish to
   its first, so they add in the same order as the class means. */
static void sumas_por_clases(medias_muestra* r, const int* clases, const float* longitudes,
                             const float* pesos) {
  r->suma_longitudes = r->suma_pesos = 0;
  for (int j = 0; j < r->nclases; j++)
    for (int i = r->n - 1; i >= 0; i--)
      if (clases[i] == j) {
        r->suma_longitudes += longitudes[i];
        r->suma_pesos += pesos[i];
      }
}

medias_muestra calcula_medias(const int* clases, const float* longitudes, const float* pesos,
                              int nfish, int nclases) {
  medias_muestra r = {};
  r.n = nfish > 0 ? nfish : 0;
  r.nclases = clases_acotadas(nclases);
  int t = r.nclases;
  medias_por_clase(clases, longitudes, pesos, r.n, t, r.individuos, r.longitud, r.peso);
  frecuencias_relativas(clases, r.n, t, r.frecuencia);
  for (int j = 0; j < t; j++) {
    r.es_longitud[j] = dispersion(longitudes, clases, r.n, j, 0, r.longitud[j], r.individuos[j]);
    r.es_peso[j] = dispersion(pesos, clases, r.n, j, 0, r.peso[j], r.individuos[j]);
  }
  sumas_por_clases(&r, clases, longitudes, pesos);
  r.longitud_total = r.n > 0 ? r.suma_longitudes / r.n : 0;
  r.peso_total = r.n > 0 ? r.suma_pesos / r.n : 0;
  r.frecuencia[t] = r.n > 0 ? 1 : 0;
  r.es_longitud[t] = dispersion(longitudes, clases, r.n, 0, 1, r.longitud_total, r.n);
  r.es_peso[t] = dispersion(pesos, clases, r.n, 0, 1, r.peso_total, r.n);
  return r;
}
