// What the HTML page adds to a season, against what a reach already costs:
// a reach's report with its four BMP images, its section of the page (its
// charts and tables), and the season's page of 1000 reaches (their summary
// rows, the density chart and the fingerprints of 1000 data files). The
// page's share of a 1000-reach season is (1000 sections + the page) over
// 1000 reports: the counters give it.
#include <benchmark/benchmark.h>

#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis.h"
#include "export.h"
#include "pagina.h"
#include "sample.h"
#include "shell.h"

/* A reach of ordinary size, as the season's benchmark makes them: 300 fish in 6 classes over 3 passes. */
static const int PECES = 300;
static int pasadas[PECES], clases[PECES];
static float longitudes[PECES], pesos[PECES];

static void prepara_tramo(int semilla) {
  std::mt19937 azar(semilla);
  std::uniform_real_distribution<float> u(0, 1);
  for (int i = 0; i < PECES; i++) {
    int c = i / 50;
    float v = u(azar), l = 35 * (1 - std::exp(-0.35f * (c + 0.5f))) + 3 * u(azar);
    pasadas[i] = v < 0.5f ? 1 : v < 0.8f ? 2 : 3;
    clases[i] = c, longitudes[i] = l, pesos[i] = 0.01f * l * l * l;
  }
}

static bool allegro_del_banco() {
  static int hecho = 0;
  if (hecho) return datos != nullptr;
  hecho = 1;
  set_uformat(U_ASCII);
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return false;
  numeros_en_c();
  set_color_depth(32);
  datos = carga_recursos();
  return datos != nullptr;
}

/* The reach's report into carpeta, its figures in r and its second opinion in d. */
static int informe_de_tramo(const std::string& carpeta, resultados_informe* r, diagnostico_muestra* d) {
  pasos_informe pasos = {1, nullptr, nullptr, 1};
  pasos.medidas[0] = 640.5f, pasos.medidas[1] = 1200, pasos.medidas[2] = 300;
  pasos.linf = 40, pasos.meses = 6, pasos.resultados = r;
  static informe inf;
  informe_abre(&inf, (carpeta + "/tramo.txt").c_str());
  int bien = escribe_informe(&inf, pasadas, longitudes, pesos, clases, PECES, &pasos) == INFORME_COMPLETO;
  bien = informe_cierra(&inf) && bien;
  return bien && diagnostica_datos(clases, pasadas, PECES, r->poblacion.nclases, r->k, &r->poblacion, d);
}

struct banco {
  std::string carpeta;
  std::unique_ptr<resultados_informe> r{new resultados_informe()};
  std::unique_ptr<diagnostico_muestra> d{new diagnostico_muestra()};
  acerca_resumen acerca = {"tramos.csv", "pasadas-informe", "2026-01-01", 0};
  tramo_resumen tramo() const {
    return tramo_resumen{"T0001", "trucha", "t1.txt", "T0001", "trucha", 0, "", r.get(), d.get(),
                         {"1200", "640,5", "300", "40", "6"}, ""};
  }
};

static bool prepara(benchmark::State& estado, banco* b) {
  char carpeta[] = "/tmp/pasadas-banco-pagina-XXXXXX";
  if (!allegro_del_banco() || !mkdtemp(carpeta)) {
    estado.SkipWithError("sin datas.dat o sin carpeta temporal");
    return false;
  }
  b->carpeta = carpeta;
  prepara_tramo(1);
  return informe_de_tramo(b->carpeta, b->r.get(), b->d.get());
}

/* What each reach of a season already costs: its report and four images. */
static void BM_InformeDeTramo(benchmark::State& estado) {
  banco b;
  if (!prepara(estado, &b)) return;
  for (auto _ : estado) benchmark::DoNotOptimize(informe_de_tramo(b.carpeta, b.r.get(), b.d.get()));
  (void)system(("rm -rf '" + b.carpeta + "'").c_str());
}
BENCHMARK(BM_InformeDeTramo)->Unit(benchmark::kMillisecond);

/* What the page adds for each reach: its section, charts and tables. */
static void BM_SeccionDeTramo(benchmark::State& estado) {
  banco b;
  if (!prepara(estado, &b)) return;
  tramo_resumen t = b.tramo();
  muestra_pagina m = {pasadas, longitudes, pesos, clases, PECES};
  tramo_pagina p = {&t, &m, &b.acerca, &DIALECTO_ES, nullptr};
  size_t bytes = 0;
  for (auto _ : estado) bytes = seccion_de_tramo(&p).size();
  estado.counters["bytes"] = (double)bytes;
  (void)system(("rm -rf '" + b.carpeta + "'").c_str());
}
BENCHMARK(BM_SeccionDeTramo)->Unit(benchmark::kMillisecond);

/* The season's page of 1000 reaches with pages of their own: their rows,
   the chart, the methods and the fingerprint of each reach's data file. */
static void BM_PaginaDeCampana(benchmark::State& estado) {
  banco b;
  if (!prepara(estado, &b)) return;
  const int TRAMOS = 1000;
  std::vector<entrada_pagina> entradas((size_t)TRAMOS);
  for (int i = 0; i < TRAMOS; i++) {
    entradas[(size_t)i].ruta = b.carpeta + "/t" + std::to_string(i) + ".txt";
    entradas[(size_t)i].celdas = {"T" + std::to_string(i), "t" + std::to_string(i) + ".txt", "1200"};
    FILE* f = fopen(entradas[(size_t)i].ruta.c_str(), "w");
    for (int k = 0; f && k < PECES; k++) fprintf(f, "%d %.2f %.2f %d\n", pasadas[k], longitudes[k], pesos[k], clases[k]);
    if (f) fclose(f);
  }
  tramo_resumen t = b.tramo();
  const int medidas[3] = {1, 1, 1};
  static pagina_campana pagina;
  size_t bytes = 0;
  for (auto _ : estado) {
    pagina_abre(&pagina, &b.acerca, &DIALECTO_ES, 1, medidas);
    for (int i = 0; i < TRAMOS; i++) pagina_tramo(&pagina, &t, "", "T0001_trucha.html");
    bytes = pagina_texto(&pagina, {"Tramo", "Fichero", "Superficie"}, entradas, "pasadas-informe").size();
  }
  estado.counters["bytes"] = (double)bytes;
  (void)system(("rm -rf '" + b.carpeta + "'").c_str());
}
BENCHMARK(BM_PaginaDeCampana)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
