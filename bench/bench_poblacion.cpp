// Time of one whole removal estimate at the program's limits: 10 000 fish in
// 99 classes over 20 passes, every group's R just below its bound so that
// the walk of q runs nearly its full length (about 20 000 steps); and of one
// on an ordinary sample.
#include <benchmark/benchmark.h>

#include "analysis.h"
#include "muestra_limite.h"
#include "sample.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];

static void prepara_muestra() { prepara_muestra_limite(pasadas, clases, nullptr, nullptr); }

static void BM_EstimacionCompleta(benchmark::State& estado) {
  static float R[RANURAS], q[RANURAS], Var[RANURAS], ES[RANURAS];
  static int N[RANURAS], Sup[RANURAS];
  prepara_muestra();
  int nclases = numero_clases(clases, MAX_PECES), k = calculo_pasadas(pasadas, MAX_PECES);
  for (auto _ : estado) {
    calculo_poblacional_devuelve(clases, pasadas, MAX_PECES, nclases, k, R, q, N, Var, ES, Sup);
    benchmark::DoNotOptimize(N);
  }
  int validas = 0;
  for (int g = 0; g <= nclases; g++) validas += estimacion_valida(R[g], k);
  estado.counters["grupos_validos"] = validas;
  estado.counters["q_total"] = q[nclases];
}
BENCHMARK(BM_EstimacionCompleta)->Unit(benchmark::kMillisecond);

static void BM_EstimacionParaDensidad(benchmark::State& estado) {
  static float R[RANURAS], N[RANURAS];
  prepara_muestra();
  int nclases = numero_clases(clases, MAX_PECES), k = calculo_pasadas(pasadas, MAX_PECES);
  for (auto _ : estado) {
    Calculo_R_N(clases, pasadas, MAX_PECES, nclases, k, R, N);
    benchmark::DoNotOptimize(N);
  }
}
BENCHMARK(BM_EstimacionParaDensidad)->Unit(benchmark::kMillisecond);

/* An ordinary sample: 300 fish in 6 classes of 50 over 3 passes, each class
   caught 25, 15 and 10 in its passes (R = 0.7, q about 0.6). */
static void BM_EstimacionOrdinaria(benchmark::State& estado) {
  static float R[RANURAS], q[RANURAS], Var[RANURAS], ES[RANURAS];
  static int N[RANURAS], Sup[RANURAS], pas[300], cla[300];
  for (int i = 0; i < 300; i++) {
    int f = i % 50;
    cla[i] = i / 50;
    pas[i] = f < 25 ? 1 : f < 40 ? 2 : 3;
  }
  for (auto _ : estado) {
    calculo_poblacional_devuelve(cla, pas, 300, 6, 3, R, q, N, Var, ES, Sup);
    benchmark::DoNotOptimize(N);
  }
  estado.counters["q_total"] = q[6];
}
BENCHMARK(BM_EstimacionOrdinaria)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
