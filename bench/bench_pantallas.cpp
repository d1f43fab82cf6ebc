// Time of the two keys of the calculation menu that run the estimator, at
// the program's limits (10 000 fish, 99 classes, 20 passes): opening
// "Calculo poblacional" (the estimate, both tables and the legends) and
// opening "Densidad y Biomasa" (the means and the estimate for the
// densities, and the measures menu). Each screen is left by a key queued
// before it opens. The CPU column is the whole program's time, the window's
// thread included; the X server's is not. Needs a display: run it under xvfb-run.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "analysis.h"
#include "pantallas.h"
#include "muestra_limite.h"
#include "sample.h"
#include "shell.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];
static float longitudes[MAX_PECES], pesos[MAX_PECES];

static void BM_AbrePoblacion(benchmark::State& estado) {
  int nclases = numero_clases(clases, MAX_PECES), k = calculo_pasadas(pasadas, MAX_PECES);
  for (auto _ : estado) {
    simulate_keypress(ASCII_ENTER);
    calculo_poblacional(clases, pasadas, MAX_PECES, nclases, k);
  }
}
BENCHMARK(BM_AbrePoblacion)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

static void BM_AbreDensidad(benchmark::State& estado) {
  int nclases = numero_clases(clases, MAX_PECES), k = calculo_pasadas(pasadas, MAX_PECES);
  for (auto _ : estado) {
    simulate_keypress(TECLA_ESC);  // leaves the measures menu
    medias_muestra m = calcula_medias(clases, longitudes, pesos, MAX_PECES, nclases);
    poblacion_muestra p = calcula_poblacion(clases, pasadas, MAX_PECES, nclases, k);
    densidad_de_poblacion(&m, &p);
  }
}
BENCHMARK(BM_AbreDensidad)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  set_uformat(U_ASCII);
  if (allegro_init() != 0) return 1;
  set_color_depth(32);
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 1000, 600, 0, 0) != 0) {
    fprintf(stderr, "bench_pantallas: sin ventana (%s); use xvfb-run\n", allegro_error);
    return 1;
  }
  install_keyboard();
  numeros_en_c();  // as the program does: the screens run on the desktop's locale
  datos = carga_recursos();
  if (!datos) {
    fprintf(stderr, "bench_pantallas: sin datas.dat\n");
    return 1;
  }
  prepara_muestra_limite(pasadas, clases, longitudes, pesos);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The window goes down here, while the program's threads are in a known state.
  allegro_exit();
  return 0;
}
