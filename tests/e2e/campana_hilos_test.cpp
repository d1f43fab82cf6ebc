// A season shared among worker threads (--hilos) gives what one worker
// gives, byte for byte: the reports and images, the summaries, the progress
// lines and the list of reaches without a report.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
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
  EXPECT_EQ(con_uno.size(), 5 * 195 + 3 + 6u);  // a report and four images, tables, pages
  EXPECT_NE(salida_uno.find("Tramos: 200, con informe: 195\n"), std::string::npos) << salida_uno;
  EXPECT_NE(errores_uno.find("\n[200/200] R12 / barbo: error: fila 201: su informe se llamaria como"),
            std::string::npos) << errores_uno;
  EXPECT_NE(errores_uno.find("\npasadas-informe: tramos sin informe (5): R7 / barbo, R33 / trucha, "
                             "P160, P165, R12 / barbo\n"), std::string::npos) << errores_uno;
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
