// Mean lengths and weights: for every age class and for the whole sample, the
// mean length, the mean weight and the number of fish, over all passes.
#include <cmath>
#include <cstdio>
#include <vector>

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

/* √(suma / (cuantos − 1)), 0 for fewer than two. */
static float dispersion_de(float suma, int cuantos) {
  if (cuantos < 2) return 0;
  return (float)sqrt((double)(suma / (cuantos - 1)));
}

/* The spreads of every class: Σ (v − media)² over each class's fish from
   the last to the first, all classes in one pass over the sample (a sample
   at the limits has 99 classes of 10 000 fish). */
static void dispersiones(medias_muestra* r, const int* clases, const float* longitudes,
                         const float* pesos) {
  float suma_longitud[MAX_CLASES + 1] = {}, suma_peso[MAX_CLASES + 1] = {};
  for (int i = r->n - 1; i >= 0; i--) {
    int c = clases[i];
    if (c < 0 || c >= r->nclases) continue;
    float d = longitudes[i] - r->longitud[c];
    suma_longitud[c] += d * d;
    d = pesos[i] - r->peso[c];
    suma_peso[c] += d * d;
  }
  for (int j = 0; j < r->nclases; j++) {
    r->es_longitud[j] = dispersion_de(suma_longitud[j], r->individuos[j]);
    r->es_peso[j] = dispersion_de(suma_peso[j], r->individuos[j]);
  }
  float total_longitud = 0, total_peso = 0;  // the whole sample's, every fish
  for (int i = r->n - 1; i >= 0; i--) {
    float d = longitudes[i] - r->longitud_total;
    total_longitud += d * d;
    d = pesos[i] - r->peso_total;
    total_peso += d * d;
  }
  r->es_longitud[r->nclases] = dispersion_de(total_longitud, r->n);
  r->es_peso[r->nclases] = dispersion_de(total_peso, r->n);
}

/* The report's whole-sample sums: class by class, each from its last fish to
   its first, so they add in the same order as the class means. The fish are
   put in that order first, in one pass, rather than the sample read once a class. */
static void sumas_por_clases(medias_muestra* r, const int* clases, const float* longitudes,
                             const float* pesos) {
  std::vector<int> desde((size_t)r->nclases + 1, 0);  // where each class's fish start in orden
  for (int i = 0; i < r->n; i++)
    if (clases[i] >= 0 && clases[i] < r->nclases) desde[(size_t)clases[i] + 1]++;
  for (int j = 0; j < r->nclases; j++) desde[(size_t)j + 1] += desde[(size_t)j];
  std::vector<int> orden((size_t)desde[(size_t)r->nclases]);
  for (int i = r->n - 1; i >= 0; i--)
    if (clases[i] >= 0 && clases[i] < r->nclases) orden[(size_t)desde[(size_t)clases[i]]++] = i;
  r->suma_longitudes = r->suma_pesos = 0;
  for (size_t k = 0; k < orden.size(); k++) {
    r->suma_longitudes += longitudes[orden[k]];
    r->suma_pesos += pesos[orden[k]];
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
  sumas_por_clases(&r, clases, longitudes, pesos);
  r.longitud_total = r.n > 0 ? r.suma_longitudes / r.n : 0;
  r.peso_total = r.n > 0 ? r.suma_pesos / r.n : 0;
  r.frecuencia[t] = r.n > 0 ? 1 : 0;
  dispersiones(&r, clases, longitudes, pesos);
  return r;
}
