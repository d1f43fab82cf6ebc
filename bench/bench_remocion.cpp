// Time of every second opinion beside Zippin for a whole sample at the
// program's limits: 99 classes and the whole sample over 20 passes, every
// group's catches just short of not falling, where the likelihoods are
// flattest and their searches longest.
#include <benchmark/benchmark.h>

#include "muestra_limite.h"
#include "analysis.h"
#include "remocion.h"
#include "sample.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];
static int capturas[RANURAS * MAX_PASADAS];
static diagnostico_grupo grupos[RANURAS];

/* The catches of every group of the limits' sample, one row of k per group. */
static int prepara_capturas(int* nclases) {
  static int c[RANURAS][MAX_PASADAS + 1], captura[RANURAS];
  prepara_muestra_limite(pasadas, clases, nullptr, nullptr);
  *nclases = numero_clases(clases, MAX_PECES);
  int k = calculo_pasadas(pasadas, MAX_PECES);
  cuenta_capturas(clases, pasadas, MAX_PECES, *nclases, k, c, captura);
  for (int g = 0; g <= *nclases; g++)
    for (int i = 0; i < k; i++) capturas[g * k + i] = c[g][i + 1];
  return k;
}

static void BM_SegundaOpinionEnElLimite(benchmark::State& estado) {
  int nclases, k = prepara_capturas(&nclases);
  prueba_chi2 entre_clases;
  for (auto _ : estado) {
    diagnostica_muestra(capturas, nclases, k, nullptr, grupos, &entre_clases);
    for (int g = 0; g <= nclases; g++) {
      estimacion_remocion s = estima_seber(capturas + g * k, k);
      benchmark::DoNotOptimize(s);
    }
    benchmark::DoNotOptimize(grupos);
  }
  int con_moran = 0, con_schnute = 0;
  for (int g = 0; g <= nclases; g++) {
    con_moran += grupos[g].moran.existe;
    con_schnute += grupos[g].schnute.existe;
  }
  estado.counters["grupos_moran"] = con_moran;
  estado.counters["grupos_schnute"] = con_schnute;
  estado.counters["prueba_clases"] = entre_clases.existe;
  estado.counters["N_total"] = grupos[nclases].moran.N;
}
BENCHMARK(BM_SegundaOpinionEnElLimite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
