// Time of a whole season through pasadas-informe --tramos: 100 reaches of
// ordinary size (300 fish in 6 classes over 3 passes, different in every
// reach), each with its report and four images, and the summary tables and
// picture. The command runs as a user runs it; the wall clock is measured.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

static const int TRAMOS = 100;

/* A reach's data file: every class depletes over the passes, lengths slow with age. */
static void escribe_tramo(const std::string& ruta, int semilla) {
  std::mt19937 azar(semilla);
  std::uniform_real_distribution<float> u(0, 1);
  FILE* f = fopen(ruta.c_str(), "w");
  fprintf(f, "Pasada Longitud Peso Clase\n");
  for (int c = 0; c < 6; c++)
    for (int i = 0; i < 50; i++) {
      float v = u(azar);
      int pasada = v < 0.5f ? 1 : v < 0.8f ? 2 : 3;
      float l = 35 * (1 - std::exp(-0.35f * (c + 0.5f))) + 3 * u(azar);
      fprintf(f, "%d %.2f %.2f %d\n", pasada, l, 0.01f * l * l * l, c);
    }
  fclose(f);
}

static void BM_CampanaDeCienTramos(benchmark::State& estado) {
  char carpeta[] = "/tmp/pasadas-campana-XXXXXX";
  if (!mkdtemp(carpeta)) {
    estado.SkipWithError("sin carpeta temporal");
    return;
  }
  std::string raiz = carpeta;
  FILE* tabla = fopen((raiz + "/tramos.csv").c_str(), "w");
  fprintf(tabla, "Tramo;Fichero;Superficie;Metros;Linf;Meses\n");
  for (int t = 0; t < TRAMOS; t++) {
    escribe_tramo(raiz + "/t" + std::to_string(t) + ".txt", t + 1);
    fprintf(tabla, "T%03d;t%d.txt;%d,5;%d;40;6\n", t, t, 200 + 7 * t, 40 + t % 13);
  }
  fclose(tabla);
  std::string orden = "env -u DISPLAY " + std::string(PROGRAMA_INFORME) + " --tramos " + raiz +
                      "/tramos.csv --carpeta " + raiz + "/campana >/dev/null 2>&1";
  for (auto _ : estado)
    if (system(orden.c_str()) != 0) estado.SkipWithError("pasadas-informe fallo");
  estado.counters["tramos_por_segundo"] =
      benchmark::Counter(TRAMOS * estado.iterations(), benchmark::Counter::kIsRate);
  (void)system(("rm -rf '" + raiz + "'").c_str());
}
BENCHMARK(BM_CampanaDeCienTramos)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
