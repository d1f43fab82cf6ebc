// A season shared among worker threads (--hilos) gives what one worker
// gives, byte for byte: the reports and images, the summaries, the progress
// lines and the list of reaches without a report.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "informes.h"

namespace {

class CampanaHilos : public OrdenInforme {};

/* fish of one reach and species, as the rows of a table of the whole
   river (prefix "R3;barbo;") or the records of a file of words (""): every
   class falls over three passes, some reaches more steeply than others. */
std::string peces(std::mt19937* azar, const std::string& prefijo, const char* separador) {
  std::uniform_int_distribution<int> cuantos(6, 30), milimetros(0, 40);
  std::string t;
  for (int clase = 0; clase < 3; clase++) {
    int primera = cuantos(*azar);
    for (int pasada = 1; pasada <= 3; pasada++)
      for (int i = 0; i < primera >> (pasada - 1); i++) {
        int mm = 80 + 70 * clase + milimetros(*azar);
        t += prefijo + std::to_string(pasada) + separador + std::to_string(mm) + separador +
             std::to_string(mm * mm / 900) + separador + std::to_string(clase) + "\n";
      }
  }
  return t;
}

/* 200 reaches: most in one table of the river with two species, twenty
   with a file of their own, and a few that fail (a bad cell in the river's
   table, a species the river's table lacks, a missing file, fewer passes
   than their fish, a name taken twice). */
void escribe_temporada() {
  std::mt19937 azar(2024);
  std::string rio = "Tramo;Especie;Pasada;Longitud (mm);Peso (g);Clase\n";
  std::string tabla = "Tramo;Especie;Fichero;Superficie;Metros;Linf;Meses;Pasadas\n";
  for (int t = 0; t < 150; t++) {
    std::string tramo = "R" + std::to_string(t), medidas = ";" + std::to_string(100 + 7 * t) + ",5;40;35;6;\n";
    rio += peces(&azar, tramo + ";barbo;", ";");
    if (t % 5 == 0) rio += peces(&azar, tramo + ";trucha;", ";");
    if (t == 7) rio += tramo + ";barbo;2;abc;30;1\n";
    tabla += tramo + ";barbo;rio.csv" + medidas;
    if (t % 5 == 0 || t == 33) tabla += tramo + ";trucha;rio.csv" + medidas;
  }
  escribe_todo("rio.csv", rio);
  for (int t = 150; t < 168; t++) {
    std::string nombre = "propio" + std::to_string(t) + ".txt";
    if (t != 160) escribe_todo(nombre, "Pasada Longitud Peso Clase\n" + peces(&azar, "", " "));
    tabla += "P" + std::to_string(t) + ";;" + nombre + ";50;;;;" + (t == 165 ? "2" : "") + "\n";
  }
  tabla += "R12;barbo;rio.csv;1;;;;\n";
  escribe_todo("tramos.csv", tabla);
}

/* The names of the files that are not alike in both folders. */
std::string diferentes(const Contenido& a, const Contenido& b) {
  std::string nombres;
  for (const auto& f : a)
    if (!b.count(f.first) || b.at(f.first) != f.second) nombres += " " + f.first;
  for (const auto& f : b)
    if (!a.count(f.first)) nombres += " " + f.first;
  return nombres;
}

/* A folder for the season's files in memory when the system has one: a
   thousand files each waited for on the disk would make the test slow, not
   stronger. */
std::string carpeta_rapida() {
  char plantilla[] = "/dev/shm/pasadas-hilos-XXXXXX";
  return mkdtemp(plantilla) ? plantilla : ".";
}

TEST_F(CampanaHilos, TwoHundredReachesGiveTheSameBytesWithOneWorkerAndWithFour) {
  escribe_temporada();
  const std::string destino = carpeta_rapida(), campana = destino + "/campana", uno = destino + "/uno";
  const std::string orden = " --imagenes png --tramos tramos.csv --carpeta " + campana;
  EXPECT_EQ(informe("--hilos 1" + orden), 1) << errores;
  const std::string salida_uno = salida, errores_uno = errores;
  ASSERT_EQ(rename(campana.c_str(), uno.c_str()), 0);
  EXPECT_EQ(informe("--hilos=4" + orden), 1) << errores;
  EXPECT_EQ(salida, salida_uno);
  EXPECT_EQ(errores, errores_uno);
  Contenido con_uno = contenido_de(uno), con_cuatro = contenido_de(campana);
  if (destino != ".") (void)system(("rm -rf '" + destino + "'").c_str());
  EXPECT_EQ(diferentes(con_uno, con_cuatro), "");
  // The season is what it was made to be: every reach ran, the faults failed alone.
  // a report and four images, tables, workbook, pages, the HTML page and the folder of the reaches' pages
  EXPECT_EQ(con_uno.size(), 5 * 195 + 3 + 1 + 6 + 2u);
  EXPECT_NE(salida_uno.find("Tramos: 200, con informe: 195\n"), std::string::npos) << salida_uno;
  EXPECT_NE(errores_uno.find("\n[200/200] R12 / barbo: error: fila 201: su informe se llamaria como"),
            std::string::npos) << errores_uno;
  EXPECT_NE(errores_uno.find("\npasadas-informe: tramos sin informe (5): R7 / barbo, R33 / trucha, "
                             "P160, P165, R12 / barbo\n"), std::string::npos) << errores_uno;
}

// ---- A data file of the whole river, read once ----

/* A river's table of fish, reaches R0 to R9 with barbo and trucha, in mm;
   some rows bad in ways that stop the reading of their reach, or of their
   reach and species, alone. */
std::string rio_con_faltas() {
  std::mt19937 azar(5);
  std::string rio = "Tramo;Especie;Pasada;Longitud (mm);Peso (g);Clase\n";
  for (int t = 0; t < 10; t++) {
    std::string tramo = "R" + std::to_string(t);
    rio += peces(&azar, tramo + ";barbo;", ";");
    if (t == 2) rio += "R2;barbo;1;abc;20;1\n";
    if (t == 3) rio += "R3;barbo;;150;20;1\n";
    rio += peces(&azar, tramo + ";trucha;", ";");
    if (t == 4) rio += "R4;trucha;1;150;20;120\n";
    if (t == 6) rio += "r 6;Trucha;2;1.534,5;20;1\n";  // the same reach and species by their keys
    if (t == 7) rio += "R7;barbo;1;150;20;dos\n";      // no class is read with Limites
  }
  return rio;
}

/* The options of the single report that reads what a row of the table asks. */
struct fila_rio {
  const char* celdas;   /* Tramo;Especie;Limites;Pasadas */
  const char* opciones; /* the same for the single report */
};
const fila_rio FILAS_RIO[] = {
    {"R0;barbo;;", "--tramo R0 --especie barbo"},
    {"R1;;;", "--tramo R1"},  // two species to choose from: the file's values are listed
    {"R2;barbo;;", "--tramo R2 --especie barbo"},
    {"R2;trucha;;", "--tramo R2 --especie trucha"},
    {"R3;barbo;;", "--tramo R3 --especie barbo"},
    {"R4;trucha;;", "--tramo R4 --especie trucha"},
    {"R5;tenca;;", "--tramo R5 --especie tenca"},
    {"R6;trucha;;", "--tramo R6 --especie trucha"},
    {"R6;barbo;;", "--tramo R6 --especie barbo"},
    {"R7;barbo;12,5 19,5 27;", "--tramo R7 --especie barbo --limites 12.5,19.5,27"},
    {"R7;trucha;;", "--tramo R7 --especie trucha"},
    {"R99;barbo;;", "--tramo R99 --especie barbo"},
};

// A table of many reaches was read whole again for every reach of it.
TEST_F(CampanaHilos, ACombinedFileIsOpenedOnceAndEachReachGetsWhatItsSingleReportGets) {
  if (system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "sin strace";
  escribe_todo("rio.csv", rio_con_faltas());
  std::string tabla = "Tramo;Especie;Limites;Pasadas;Fichero\n";
  for (const fila_rio& f : FILAS_RIO) tabla += std::string(f.celdas) + ";rio.csv\n";
  escribe_todo("tramos.csv", tabla);
  informe("--hilos 3 --imagenes png --tramos tramos.csv --carpeta dir");
  const std::string errores_campana = errores;
  ASSERT_EQ(ejecuta_orden("strace -f -qq -e trace=open,openat -o trazas.txt env -u DISPLAY " +
                              std::string(PROGRAMA_INFORME) +
                              " --hilos 1 --imagenes png --tramos tramos.csv --carpeta otra",
                          &salida, &errores), 1) << errores;
  std::istringstream trazas(lee_todo("trazas.txt"));
  int aperturas = 0;
  for (std::string linea; std::getline(trazas, linea);) aperturas += linea.find("rio.csv\"") != std::string::npos;
  EXPECT_EQ(aperturas, 2);  // once for its reaches, once for its fingerprint on the page
  // Each row's line says what the single report of its reach writes or refuses.
  for (size_t i = 0; i < sizeof FILAS_RIO / sizeof FILAS_RIO[0]; i++) {
    SCOPED_TRACE(FILAS_RIO[i].opciones);
    int salida_sola = informe(std::string(FILAS_RIO[i].opciones) + " --imagenes png rio.csv solo.txt");
    std::string linea = "[" + std::to_string(i + 1) + "/12] ";
    size_t desde = errores_campana.find(linea);
    ASSERT_NE(desde, std::string::npos);
    std::string progreso = errores_campana.substr(desde, errores_campana.find('\n', desde) - desde);
    if (salida_sola == 0) {
      EXPECT_EQ(progreso.find("error"), std::string::npos) << progreso;
      std::string nombre = std::string(FILAS_RIO[i].celdas).substr(0, std::string(FILAS_RIO[i].celdas).find(';'));
      std::string especie = std::string(FILAS_RIO[i].celdas).substr(nombre.size() + 1);
      especie = especie.substr(0, especie.find(';'));
      EXPECT_EQ(lee_todo("dir/" + nombre + (especie.empty() ? "" : "_" + especie) + ".txt"),
                lee_todo("solo.txt"));
    } else {
      std::string motivo = errores.substr(errores.rfind("pasadas-informe: ") + 17);
      motivo.pop_back();
      EXPECT_NE(progreso.find(": error: fila " + std::to_string(i + 2) + ": " + motivo.substr(0, 511)),
                std::string::npos) << progreso << "\n" << motivo;
    }
  }
}

// ---- Refusals ----

TEST_F(CampanaHilos, WorkersThatAreNoWholeNumberFromOneTo256AreRefused) {
  escribe_todo("tramos.csv", "Tramo;Fichero\nA;ejemplo\n");
  for (const char* malo : {"0", "-2", "257", "99999999999999999999", "dos", "2.5", "4 ", " 4", "0x4"}) {
    SCOPED_TRACE(malo);
    EXPECT_EQ(informe(std::string("--tramos tramos.csv --carpeta dir --hilos '") + malo + "'"), 2);
    EXPECT_EQ(errores, std::string("pasadas-informe: --hilos: '") + malo +
                           "' no es un numero de hilos (de 1 a 256)\n");
    EXPECT_FALSE(ficheros_en(".").count("dir"));
  }
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir --hilos="), 2);
  EXPECT_EQ(errores, "pasadas-informe: --hilos necesita un valor\n");
}

}  // namespace
