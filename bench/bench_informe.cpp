// Time of one whole export at the program's limits: 10 000 fish in 99
// classes over 20 passes, the report's nine sections and its four images,
// written the way "Exportar resultados" writes them (no window is needed).
#include <benchmark/benchmark.h>

#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "analysis.h"
#include "muestra_limite.h"
#include "export.h"
#include "sample.h"
#include "shell.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];
static float longitudes[MAX_PECES], pesos[MAX_PECES];

static bool prepara_allegro() {
  set_uformat(U_ASCII);
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return false;
  numeros_en_c();
  set_color_depth(32);
  datos = carga_recursos();  // the report draws only on its own images
  return datos != nullptr;
}

static void BM_ExportacionCompleta(benchmark::State& estado) {
  if (!prepara_allegro()) {
    estado.SkipWithError("sin datas.dat");
    return;
  }
  prepara_muestra_limite(pasadas, clases, longitudes, pesos);
  char carpeta[] = "/tmp/pasadas-banco-XXXXXX";
  if (!mkdtemp(carpeta)) {
    estado.SkipWithError("sin carpeta temporal");
    return;
  }
  std::string nombre = std::string(carpeta) + "/tramo1.txt";
  pasos_informe pasos = {1, nullptr, nullptr, 1};
  pasos.medidas[0] = 640.5f, pasos.medidas[1] = 1200, pasos.medidas[2] = 300;  // volume, surface, length
  pasos.linf = 40, pasos.meses = 6;
  int resultado = 0;
  for (auto _ : estado) {
    informe inf;
    informe_abre(&inf, nombre.c_str());
    resultado = escribe_informe(&inf, pasadas, longitudes, pesos, clases, MAX_PECES, &pasos);
    informe_cierra(&inf);
  }
  estado.counters["completo"] = resultado == INFORME_COMPLETO;
  (void)system((std::string("rm -rf ") + carpeta).c_str());
}
BENCHMARK(BM_ExportacionCompleta)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
