// Time of the growth computations at the program's limits: the Walford
// search when it runs its full million steps, and both fits on 10 000 fish
// in 99 classes.
#include <benchmark/benchmark.h>

#include "analysis.h"
#include "crecimiento.h"
#include "sample.h"

static int clases[MAX_PECES];
static float longitudes[MAX_PECES];

/* Means 5 cm apart in every class: a Walford line of slope 1 that never meets y = x. */
static void prepara_muestra() {
  for (int i = 0; i < MAX_PECES; i++) {
    clases[i] = i % MAX_CLASES;
    longitudes[i] = 10.0f + 5.0f * clases[i];
  }
}

static void BM_WalfordSinCruce(benchmark::State& estado) {
  prepara_muestra();
  float w = 0;
  for (auto _ : estado) {
    w = waldford(longitudes, clases, MAX_PECES, MAX_CLASES);
    benchmark::DoNotOptimize(w);
  }
  estado.counters["walford"] = w;
}
BENCHMARK(BM_WalfordSinCruce)->Unit(benchmark::kMillisecond);

static void BM_AjustesCrecimiento(benchmark::State& estado) {
  prepara_muestra();
  for (auto _ : estado) {
    muestra_crecimiento m;
    prepara_muestra_crecimiento(&m, clases, longitudes, MAX_PECES, MAX_CLASES, 0.5f);
    curva_crecimiento c;
    float r2;
    benchmark::DoNotOptimize(ajusta_bertalanffy(&m, 600, &c, &r2));
    benchmark::DoNotOptimize(ajusta_polinomio(&m, &c, &r2));
  }
}
BENCHMARK(BM_AjustesCrecimiento)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
