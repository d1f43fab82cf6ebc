// How pasadas-informe's files reach the disk when something goes wrong: an
// interruption at any moment of a season, and a file system that fills up
// halfway (the window's export: exporta_test.cpp). Whatever happens, each report's files
// are all new or all as they were, the summary too, and nothing hidden stays.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "informes.h"

namespace {

/* The example, and a sample that gives other figures and images: the
   example without its longest fish and its last one. */
void escribe_muestras() {
  std::string ejemplo = lee_todo(std::string(DIR_DATOS) + "/ejemplo.txt");
  escribe_todo("ejemplo.txt", ejemplo);
  std::string viejo = ejemplo;
  viejo.erase(viejo.find("1\t27.4"), viejo.find('\n', viejo.find("1\t27.4")) - viejo.find("1\t27.4") + 1);
  viejo.erase(viejo.rfind('\n', viejo.size() - 2) + 1);
  escribe_todo("viejo.txt", viejo);
}

/* A table of `tramos` reaches, all of them on `datos`. */
std::string tabla_de(int tramos, const std::string& datos) {
  std::string t = "Tramo;Fichero;Superficie;Linf\n";
  for (int i = 1; i <= tramos; i++) t += "T" + std::to_string(100 + i) + ";" + datos + ";250;32\n";
  return t;
}

/* pasadas-informe with `argumentos`, started as a terminal starts it (its
   Ctrl-C not ignored), its error output to `errores`; its pid. */
pid_t lanza_informe(const std::vector<std::string>& argumentos, const std::string& errores) {
  pid_t pid = fork();
  if (pid == 0) {
    unsetenv("DISPLAY");
    if (!freopen("/dev/null", "w", stdout) || !freopen(errores.c_str(), "w", stderr)) _exit(126);
    std::vector<char*> argv = {(char*)PROGRAMA_INFORME};
    for (auto& a : argumentos) argv.push_back((char*)a.c_str());
    argv.push_back(nullptr);
    execv(PROGRAMA_INFORME, argv.data());
    _exit(127);
  }
  return pid;
}

/* The exit status of the process, or minus its signal. */
int espera(pid_t pid) {
  int estado = 0;
  waitpid(pid, &estado, 0);
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -WTERMSIG(estado);
}

class Escritura : public OrdenInforme {};

// ---- Interruptions ----

/* Checks a season's folder after an interruption that said `aviso`, against
   the earlier season's files and a whole run's: each reach's five files
   all new or all old, the summary too, and nothing else there. */
void comprueba_interrumpida(const Contenido& hecho, const Contenido& antes, const Contenido& nuevo,
                            int tramos, const std::string& aviso) {
  std::set<std::string> nombres;
  for (auto& f : hecho) nombres.insert(f.first);
  std::set<std::string> esperados;
  for (auto& f : antes) esperados.insert(f.first);
  EXPECT_EQ(nombres, esperados);  // no file starting with "." either
  int nuevos = 0;
  for (int i = 1; i <= tramos + 1; i++) {
    std::vector<std::string> juego;  // the reach's files, or the summary's
    std::string raiz = i <= tramos ? "T" + std::to_string(100 + i) : "resumen";
    for (auto& f : antes)
      if (f.first.compare(0, raiz.size(), raiz) == 0) juego.push_back(f.first);
    bool es_nuevo = hecho.at(juego[0]) == nuevo.at(juego[0]);
    for (auto& f : juego)
      EXPECT_TRUE(hecho.at(f) == (es_nuevo ? nuevo : antes).at(f)) << f << (es_nuevo ? " (nuevo)" : " (anterior)");
    if (i <= tramos) {
      nuevos += es_nuevo;
    } else {
      std::string resumen = es_nuevo ? "el resumen se ha escrito" : "el resumen no se ha escrito";
      EXPECT_NE(aviso.find(resumen), std::string::npos) << resumen << "\n" << aviso;
    }
  }
  std::string cuenta = "pasadas-informe: interrumpido: " + std::to_string(nuevos) + " de " +
                       std::to_string(tramos) + " tramos con informe; ";
  EXPECT_NE(aviso.find(cuenta), std::string::npos) << cuenta << "\n" << aviso;
}

// Ctrl-C at a random moment of a season written over an earlier season of
// other data, several times, each at the moment its seed draws.
TEST_F(Escritura, ASeasonInterruptedAtAnyMomentKeepsWholeReachesAndNoHalfSummary) {
  const int TRAMOS = 25;
  escribe_muestras();
  escribe_todo("nuevo.csv", tabla_de(TRAMOS, "ejemplo.txt"));
  escribe_todo("viejo.csv", tabla_de(TRAMOS, "viejo.txt"));
  ASSERT_EQ(informe("--tramos viejo.csv --carpeta antes"), 0) << errores;
  auto empieza = std::chrono::steady_clock::now();
  ASSERT_EQ(informe("--tramos nuevo.csv --carpeta nuevo"), 0) << errores;
  double duracion = std::chrono::duration<double>(std::chrono::steady_clock::now() - empieza).count();
  Contenido antes = contenido_de("antes"), nuevo = contenido_de("nuevo");
  // A report and four images a reach; three tables, the workbook, the picture and the page.
  ASSERT_EQ(antes.size(), (size_t)TRAMOS * 5 + 6);
  int a_medias = 0;
  for (unsigned semilla = 1; semilla <= 8; semilla++) {
    SCOPED_TRACE("semilla " + std::to_string(semilla));
    ASSERT_EQ(system("rm -rf d && cp -r antes d"), 0);
    std::mt19937 azar(semilla);
    double espera_s = std::uniform_real_distribution<double>(0.1, 0.9)(azar) * duracion;
    remove("errores.txt");
    pid_t pid = lanza_informe({"--tramos", "nuevo.csv", "--carpeta", "d"}, "errores.txt");
    std::this_thread::sleep_for(std::chrono::duration<double>(espera_s));
    kill(pid, SIGINT);
    int salida = espera(pid);
    std::string aviso = lee_todo("errores.txt");
    if (salida == 0 || salida == -SIGINT) {  // done before the signal came, or begun after it
      EXPECT_TRUE(contenido_de("d") == (salida ? antes : nuevo)) << salida;
      continue;
    }
    EXPECT_EQ(salida, 130) << "espera " << espera_s << " s de " << duracion << "\n" << aviso;
    comprueba_interrumpida(contenido_de("d"), antes, nuevo, TRAMOS, aviso);
    a_medias += aviso.find(" 0 de ") == std::string::npos && aviso.find("el resumen se ha") == std::string::npos;
  }
  EXPECT_GT(a_medias, 0) << "ningun corte entre el primer tramo y el resumen";
}

// ---- Hidden files a killed run left ----

// Regression: where the file system has no files without a name (vfat, NFS,
// SMB), a run killed while writing left its hidden files there for good.
// The next run in the folder removes those, and only those.
TEST_F(Escritura, TheNextRunRemovesTheHiddenFilesAKilledRunLeftAndNothingElse) {
  escribe_muestras();
  escribe_todo("tabla.csv", tabla_de(2, "ejemplo.txt"));
  ASSERT_EQ(informe("--linf 32 ejemplo.txt inf.txt"), 0) << errores;
  ASSERT_EQ(informe("--tramos tabla.csv --carpeta c"), 0) << errores;
  const std::string informe_ = lee_todo("inf.txt"), imagen = lee_todo("inf2.bmp");
  const std::map<std::string, std::string> dejados = {
      {".inf.txt.Ab3dE9", informe_.substr(0, 700)},  // cut short by the kill
      {".inf2.bmp.Xy12Zq.bmp", imagen},
      {".inf2.bmp.Qw7rT1", imagen},  // a file without a name given one to be renamed
      {"c/.resumen.xlsx.Mn4bV5.xlsx", lee_todo("c/resumen.xlsx")},
      {"c/.resumen.csv.Lk8jH2", lee_todo("c/resumen.csv")},
      {"c/.T101.txt.Gf5dS3", lee_todo("c/T101.txt")}};
  const std::map<std::string, std::string> ajenos = {
      {".notas.txt.Ab3dE9", "notas del muestreo\n"},  // named so, but not the program's
      {".inf3.bmp.Zz9Zz9.bmp", ""},                    // empty: nothing tells it is
      {".inf.txt.Ab3dE", informe_},                    // not as the writer names them
      {".inf.txt.Ab3dE9~", informe_},
      {".inf4.bmp.Pp0Pp0.png", imagen},
      {".inf1.bmp.Vivo01.bmp", imagen}};  // a running program's: held below
  for (auto& f : dejados) escribe_todo(f.first, f.second);
  for (auto& f : ajenos) escribe_todo(f.first, f.second);
  int vivo = open(".inf1.bmp.Vivo01.bmp", O_RDONLY);
  ASSERT_EQ(flock(vivo, LOCK_EX), 0);
  ASSERT_EQ(informe("--linf 32 ejemplo.txt inf.txt"), 0) << errores;
  EXPECT_NE(salida.find(".: se han quitado 3 ficheros ocultos que dejo una ejecucion interrumpida\n"),
            std::string::npos) << salida;
  ASSERT_EQ(informe("--tramos tabla.csv --carpeta c"), 0) << errores;
  EXPECT_NE(salida.find("c: se han quitado 3 ficheros ocultos que dejo una ejecucion interrumpida\n"),
            std::string::npos) << salida;
  close(vivo);
  for (auto& f : dejados) EXPECT_FALSE(std::ifstream(f.first).good()) << f.first;
  for (auto& f : ajenos) EXPECT_EQ(lee_todo(f.first), f.second) << f.first;
}

// ---- A file system that fills up halfway ----

/* How to run a command in a mount namespace of its own: as root, or in a
   user namespace; "" when neither can be had here. */
std::string espacio_propio() {
  for (const char* orden : {"unshare -m", "unshare -rm"})
    if (system((std::string(orden) + " true 2>/dev/null").c_str()) == 0) return orden;
  return "";
}

/* Pages of 4 KiB a file of that content takes in a file system in memory. */
int paginas(const std::string& contenido) { return (int)((contenido.size() + 4095) / 4096); }

/* Runs `orden` (a shell command line) in folder "d", a new file system in
   memory of `paginas_disco` pages holding copies of the files of `antes`,
   in a namespace of its own (`propio`); then d's files are copied to folder
   "fuera", its output to *dice and its error output to *errores. Its exit status. */
int en_disco_pequeno(const std::string& propio, int paginas_disco, const std::string& antes,
                     const std::string& orden, std::string* dice, std::string* errores) {
  std::string guion = "mount -t tmpfs -o size=" + std::to_string(paginas_disco * 4) +
                      "k none d && cp -a " + antes + "/. d/ && (cd d && env -u DISPLAY " + orden +
                      " >../dice.out 2>../errores.out; echo $? >../salida.out) && cp -a d/. fuera/";
  int bien = system(("rm -rf d fuera salida.out && mkdir d fuera && " + propio + " sh -c '" + guion + "'").c_str());
  *dice = lee_todo("dice.out");
  *errores = lee_todo("errores.out");
  return bien == 0 ? std::atoi(lee_todo("salida.out").c_str()) : -1;
}

/* The free pages at which the PNG copy of each image is being written,
   give or take two, when the files are written in the order given. */
std::set<int> libres_en_los_png(const Contenido& nuevo, const std::vector<std::string>& orden) {
  std::set<int> libres;
  int suma = 0;
  for (auto& f : orden) {
    if (f.find(".png") != std::string::npos)
      for (int r = 0; r < 3; r++) libres.insert(suma + r);
    suma += paginas(nuevo.at(f));
  }
  return libres;
}

/* From `menos` to 0 pages short of room for all the files of `nuevo` whose
   name starts with `raiz`: the last files written run out of room. */
std::set<int> libres_al_final(const Contenido& nuevo, const std::string& raiz, int menos) {
  int todo = 0;
  for (auto& f : nuevo) todo += f.first.compare(0, raiz.size(), raiz) == 0 ? paginas(f.second) : 0;
  std::set<int> libres;
  for (int k = 0; k <= menos; k++) libres.insert(todo - k);
  return libres;
}

class DiscoPequeno : public Escritura {
 protected:
  void SetUp() override {
    Escritura::SetUp();
    propio = espacio_propio();
    if (propio.empty() && getenv("CI")) FAIL() << "no se puede montar un disco pequeno (unshare)";
    if (propio.empty()) GTEST_SKIP() << "no se puede montar un disco pequeno (unshare)";
    escribe_muestras();
  }
  /* Runs `orden` on a small disk holding `antes`'s files with each number
     of free pages of `libres`; checks that the disk then holds `nuevo`'s
     files where the command succeeded, else those of `nuevo` that `queda`
     accepts and those of `antes` otherwise, nothing more. The runs that
     failed; those naming a PNG file are counted in sin_png. */
  int barre(const std::string& antes, const std::set<int>& libres, const std::string& orden,
            const Contenido& nuevo, bool (*queda)(const std::string&)) {
    Contenido anterior = contenido_de(antes);
    int ocupado = 0, fallidas = 0;
    for (auto& f : anterior) ocupado += paginas(f.second);
    for (int libre : libres) {
      SCOPED_TRACE("paginas libres: " + std::to_string(libre));
      int salida = en_disco_pequeno(propio, ocupado + libre, antes, orden, &dice, &errores);
      if (salida < 0) ADD_FAILURE() << "no se ha montado el disco pequeno";
      Contenido esperado = anterior;
      for (auto& f : nuevo)
        if (salida == 0 || queda(f.first)) esperado[f.first] = f.second;
      EXPECT_TRUE(contenido_de("fuera") == esperado) << errores;  // no file starting with "." either
      if (salida == 0) continue;
      EXPECT_EQ(salida, 1) << errores;
      EXPECT_TRUE(errores.find(": no se ha podido escribir") != std::string::npos ||
                  errores.find(": no se han podido escribir las tablas resumen") != std::string::npos)
          << errores;
      // Regression: the summary's files were listed on standard output when none was written.
      if (errores.find("las tablas resumen") != std::string::npos) {
        EXPECT_EQ(dice.find("Resumen:"), std::string::npos) << dice;
      }
      sin_png += errores.find(".png: no se ha podido escribir") != std::string::npos;
      fallidas++;
    }
    return fallidas;
  }
  std::string propio, dice;
  int sin_png = 0;
};

bool ninguno(const std::string&) { return false; }
/* The reach's files: not those of the summary's set (its tables, picture and page). */
bool los_del_tramo(const std::string& f) { return f.compare(0, 7, "resumen") != 0 && f != "informe.html"; }

// Regression: --png saved its copies after the report and images took their
// names, unchecked: on a nearly full disk a cut PNG and exit 0, or a new
// report beside old or missing PNG copies.
TEST_F(DiscoPequeno, PngCopiesTakeTheirNamesWithTheReportOrNoneDoes) {
  ASSERT_EQ(system("mkdir antes nuevo vacia"), 0);
  ASSERT_EQ(informe("--png --linf 32 viejo.txt antes/inf.txt"), 0) << errores;
  ASSERT_EQ(informe("--png --linf 32 ejemplo.txt nuevo/inf.txt"), 0) << errores;
  Contenido nuevo = contenido_de("nuevo");
  std::string orden = std::string(PROGRAMA_INFORME) + " --png --linf 32 ../ejemplo.txt inf.txt";
  // Over an earlier export: image 4 and its copy are written first, then 2,
  // 1 and 3, the report's first page somewhere among them.
  std::set<int> libres = libres_en_los_png(nuevo, {"inf4.bmp", "inf4.png", "inf2.bmp", "inf2.png",
                                                   "inf1.bmp", "inf1.png", "inf3.bmp", "inf3.png"});
  barre("antes", libres, orden, nuevo, ninguno);
  // In an empty folder, the last pages of all.
  barre("vacia", libres_al_final(nuevo, "inf", 12), orden, nuevo, ninguno);
  EXPECT_GT(sin_png, 0) << "ningun PNG se ha quedado sin sitio";
}

// The same for a season's summary: its tables, picture and the picture's
// PNG take their names together, after the reach's files.
TEST_F(DiscoPequeno, TheSummarysPngTakesItsNameWithTheTablesOrNoneDoes) {
  escribe_todo("tabla.csv", "Tramo;Fichero;Superficie;Linf\nT1;../ejemplo.txt;250;32\n");
  ASSERT_EQ(system("mkdir cabeza vacia nuevo && cp tabla.csv cabeza/"), 0);
  // Run as on the small disk: the summary names the table as given.
  std::string orden = std::string(PROGRAMA_INFORME) + " --png --tramos ../cabeza/tabla.csv --carpeta .";
  ASSERT_EQ(ejecuta_orden("(cd nuevo && env -u DISPLAY " + orden + ")", &salida, &errores), 0) << errores;
  Contenido nuevo = contenido_de("nuevo");
  std::set<int> libres = libres_al_final(nuevo, "", 6);
  EXPECT_GT(barre("vacia", libres, orden, nuevo, los_del_tramo), 0) << "el resumen nunca se ha quedado sin sitio";
}

// Regression: libxlsxwriter wrote the workbook's parts through files in
// /tmp, unchecked: with /tmp full the season said it was done and left a
// workbook with its sheets cut. /tmp is now a disk of one page, full at
// once; the workbook must come out byte for byte as with room to spare.
TEST_F(DiscoPequeno, AFullTmpFolderLeavesTheSummaryWorkbookWhole) {
  std::string tabla = "Tramo;Fichero;Superficie;Linf\n";
  for (int i = 1; i <= 30; i++) tabla += "T" + std::to_string(i) + ";ejemplo.txt;250;32\n";
  escribe_todo("tabla.csv", tabla);
  ASSERT_EQ(informe("--tramos tabla.csv --carpeta holgada"), 0) << errores;
  // The process keeps its folder in the old /tmp; only new paths under /tmp
  // meet the small one. A program built under /tmp (a fresh clone there) is
  // put back in sight from the old /tmp, held open on descriptor 3.
  std::string programa = PROGRAMA_INFORME;
  std::string carpeta = programa.substr(0, programa.rfind('/'));
  std::string reponer;
  if (carpeta.rfind("/tmp/", 0) == 0)
    reponer = "mkdir -p " + carpeta + " && mount -c --bind /proc/self/fd/3/" + carpeta.substr(5) + " " + carpeta + " && ";
  std::string guion = "exec 3</tmp && mount -t tmpfs -o size=4k none /tmp && " + reponer + "env -u DISPLAY " +
                      programa + " --tramos tabla.csv --carpeta justa";
  EXPECT_EQ(ejecuta_orden(propio + " sh -c '" + guion + "'", &salida, &errores), 0) << errores;
  EXPECT_TRUE(lee_todo("justa/resumen.xlsx") == lee_todo("holgada/resumen.xlsx"));
  EXPECT_GT(lee_todo("justa/resumen.xlsx").size(), 8000u);  // more than the small /tmp takes
}

}  // namespace
