// Time of a whole season through pasadas-informe --tramos: 100 or 1000
// reaches of ordinary size (300 fish in 6 classes over 3 passes, different
// in every reach), each with its report and four images (BMP, PNG or both),
// and the summary tables and picture, with one worker or two. The command
// runs as a user runs it: the wall clock, and the command's processor time,
// peak memory and bytes.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <cstring>
#include <string>
#include <vector>

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

/* A season of `tramos` reaches in a fresh folder: the data files and the
   table; the folder, "" when none could be made. */
static std::string prepara_campana(int tramos) {
  char carpeta[] = "/tmp/pasadas-campana-XXXXXX";
  if (!mkdtemp(carpeta)) return "";
  std::string raiz = carpeta;
  FILE* tabla = fopen((raiz + "/tramos.csv").c_str(), "w");
  fprintf(tabla, "Tramo;Fichero;Superficie;Metros;Linf;Meses\n");
  for (int t = 0; t < tramos; t++) {
    escribe_tramo(raiz + "/t" + std::to_string(t) + ".txt", t + 1);
    fprintf(tabla, "T%04d;t%d.txt;%d,5;%d;40;6\n", t, t, 200 + 7 * t, 40 + t % 13);
  }
  fclose(tabla);
  return raiz;
}

/* Bytes of the files in a folder. */
static double bytes_en(const std::string& carpeta) {
  double total = 0;
  DIR* d = opendir(carpeta.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) {
    struct stat st;
    if (stat((carpeta + "/" + e->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) total += st.st_size;
  }
  if (d) closedir(d);
  return total;
}

static double segundos(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }

/* Runs the program with these arguments, without a display and its
   output thrown away; its exit status, and in *uso its own processor
   time and peak memory (not those of the runs before it). */
static int ejecuta(const std::vector<std::string>& argumentos, rusage* uso) {
  std::vector<char*> argv, envp;
  for (const std::string& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (char** e = environ; *e; e++)
    if (strncmp(*e, "DISPLAY=", 8) != 0) envp.push_back(*e);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_addopen(&acciones, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&acciones, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int lanzado = posix_spawn(&pid, argv[0], &acciones, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&acciones);
  int estado = 0;
  if (lanzado != 0 || wait4(pid, &estado, 0, uso) != pid) return -1;
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

/* The season of range(0) reaches with --imagenes bmp (range(1) 0), png (1)
   or ambas (2) and --hilos range(2), run as a user runs it. Time is the
   wall clock; the counters give the command's own processor time (user and
   system) per season, its peak resident memory, the bytes it wrote and its
   reports per second. */
static void BM_Campana(benchmark::State& estado) {
  static const char* const FORMATOS[3] = {"bmp", "png", "ambas"};
  const int tramos = (int)estado.range(0);
  std::string raiz = prepara_campana(tramos);
  if (raiz.empty()) {
    estado.SkipWithError("sin carpeta temporal");
    return;
  }
  const std::vector<std::string> orden = {PROGRAMA_INFORME, "--imagenes", FORMATOS[estado.range(1)],
                                          "--hilos", std::to_string(estado.range(2)), "--tramos",
                                          raiz + "/tramos.csv", "--carpeta", raiz + "/campana"};
  double cpu = 0, pico = 0;
  for (auto _ : estado) {
    rusage uso;
    if (ejecuta(orden, &uso) != 0) estado.SkipWithError("pasadas-informe fallo");
    cpu += segundos(uso.ru_utime) + segundos(uso.ru_stime);
    pico = std::max(pico, uso.ru_maxrss / 1024.0);
  }
  estado.counters["cpu_s_campana"] = cpu / (double)estado.iterations();
  estado.counters["pico_MB"] = pico;
  estado.counters["MB_escritos"] = bytes_en(raiz + "/campana") / 1e6;
  estado.counters["informes_por_segundo"] =
      benchmark::Counter(tramos * (double)estado.iterations(), benchmark::Counter::kIsRate);
  (void)system(("rm -rf '" + raiz + "'").c_str());
}
// 100 reaches in each format; 1000 (the most a table holds) in BMP and PNG;
// each with one worker and with two.
BENCHMARK(BM_Campana)->ArgNames({"tramos", "formato", "hilos"})->ArgsProduct({{100}, {0, 1, 2}, {1, 2}})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Campana)->ArgNames({"tramos", "formato", "hilos"})->ArgsProduct({{1000}, {0, 1}, {1, 2}})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
