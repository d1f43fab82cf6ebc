// A season's survey through pasadas-informe: the passes actually fished, and
// a table of reaches turned into every reach's report and the summary tables.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "informes.h"

using namespace std::string_literals;

namespace {

class Campana : public OrdenInforme {};

/* A data file with classes: catch[p] fish in pass p + 1, of two classes. */
std::string muestra_por_pasadas(const std::vector<int>& captura) {
  std::string t = "Pasada Longitud Peso Clase\n";
  for (size_t p = 0; p < captura.size(); p++)
    for (int i = 0; i < captura[p]; i++)
      t += std::to_string(p + 1) + " " + std::to_string(10 + i % 7) + " " +
           std::to_string(12 + i % 5) + " " + std::to_string(i % 2) + "\n";
  return t;
}

/* The cells of the first report line that starts with `inicio`, after `seccion`. */
std::vector<std::string> fila(const std::string& texto, const std::string& seccion,
                              const std::string& inicio) {
  std::istringstream en(texto.substr(texto.rfind(seccion + "\n\n")));
  std::string linea, celda;
  std::vector<std::string> celdas;
  while (std::getline(en, linea))
    if (linea.compare(0, inicio.size(), inicio) == 0) {
      std::istringstream l(linea);
      while (std::getline(l, celda, '\t')) celdas.push_back(celda);
      break;
    }
  return celdas;
}

const char* const SECCION_4 = "4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)";

TEST_F(Campana, AFourPassSurveyWhoseLastPassCaughtNothingIsEstimatedOnFourPasses) {
  // Zippin's equation solved in double precision by bisection gives, for the
  // catch 44, 12, 1, 0: N 57.094, ES 0.320; taken as three passes, N 57.585, ES 0.896.
  escribe_todo("cuatro.dat", muestra_por_pasadas({44, 12, 1}));
  const struct {
    const char* opcion;
    double N, ES;
  } casos[] = {{"--pasadas 4 ", 57.094, 0.320}, {"", 57.585, 0.896}, {"--pasadas 3 ", 57.585, 0.896}};
  for (auto& c : casos) {
    SCOPED_TRACE(c.opcion);
    ASSERT_EQ(informe(std::string(c.opcion) + "cuatro.dat informe.txt"), 0) << errores;
    std::vector<std::string> total = fila(lee_todo("informe.txt"), SECCION_4, "Total\t");
    ASSERT_GE(total.size(), 7u);
    EXPECT_NEAR(std::stod(total[3]), c.N, 0.02);  // the search for q moves in steps of 0.00005
    EXPECT_NEAR(std::stod(total[6]), c.ES, 0.02);
  }
}

TEST_F(Campana, FewerPassesThanTheDataHoldAreRefusedAndNothingIsWritten) {
  escribe_todo("tres.dat", muestra_por_pasadas({20, 10, 5}));
  for (const char* opcion : {"--pasadas 2", "--pasadas=1"}) {
    SCOPED_TRACE(opcion);
    EXPECT_EQ(informe(std::string(opcion) + " tres.dat informe.txt"), 1);
    EXPECT_NE(errores.find("tres.dat tiene peces de la pasada 3"), std::string::npos) << errores;
    EXPECT_EQ(ficheros_en("."), std::set<std::string>{"tres.dat"});
  }
  for (const char* malo : {"0", "21", "2.5", "dos"}) {
    SCOPED_TRACE(malo);
    EXPECT_EQ(informe(std::string("--pasadas ") + malo + " tres.dat informe.txt"), 2);
    EXPECT_NE(errores.find("no es un numero de pasadas"), std::string::npos) << errores;
  }
}

// ---- A season from a table of reaches ----

/* The rows of a summary table: cells split at `separador`, a quoted cell's
   separators and doubled quotes kept as its text, the BOM and the line ends
   dropped; row 0 is the header. */
std::vector<std::vector<std::string>> tabla(const std::string& texto, char separador) {
  std::vector<std::vector<std::string>> filas;
  std::istringstream en(texto.compare(0, 3, "\xEF\xBB\xBF") == 0 ? texto.substr(3) : texto);
  std::string linea;
  while (std::getline(en, linea)) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    filas.emplace_back(1);
    bool citada = false;
    for (size_t i = 0; i < linea.size(); i++) {
      char c = linea[i];
      if (c == '"' && citada && i + 1 < linea.size() && linea[i + 1] == '"')
        filas.back().back() += linea[++i];
      else if (c == '"')
        citada = !citada;
      else if (c == separador && !citada)
        filas.back().emplace_back();
      else
        filas.back().back() += c;
    }
  }
  return filas;
}

/* The figure after "etiqueta:\t" in the report, after `seccion`. */
std::string parametro(const std::string& informe, const std::string& seccion,
                      const std::string& etiqueta) {
  std::vector<std::string> c = fila(informe, seccion, etiqueta + ":\t");
  return c.size() > 1 ? c[1] : "<no esta>";
}

/* The summary's cell of column `nombre` in row `f`. */
std::string celda(const std::vector<std::vector<std::string>>& t, size_t f, const std::string& nombre) {
  for (size_t c = 0; c < t[0].size(); c++)
    if (t[0][c] == nombre) return c < t[f].size() ? t[f][c] : "<vacia>";
  return "<sin columna " + nombre + ">";
}

/* The package's version, as its changelog's latest entry gives it. */
std::string version_del_paquete() {
  std::string changelog = lee_todo(std::string(DIR_PRUEBAS) + "/../paquete/changelog");
  std::string version = changelog.substr(changelog.find('(') + 1);
  return version.substr(0, version.find(')'));
}

const char* const SECCION_7 = "7. Biomasa y densidades estimadas por frecuencias";
const char* const SECCION_8 = "8. Relaciones biom\xe9tricas";
const char* const SECCION_91 = "9.1. Von Bertalanffy:";
const char* const SECCION_92 = "9.2. Ajuste Polinomial:";

// A species absent from a reach's last pass was estimated on the passes it
// happened to be caught in, with no word said.
TEST_F(Campana, ASpeciesAbsentFromTheReachsLastPassIsEstimatedOnEveryPassFished) {
  // Zippin's equation solved in double precision by bisection gives, for the
  // catch 20, 8, 0: N 28.444, ES 0.819 (95 % up to 30.05); for 20, 8 taken
  // as two passes, N 33.33.
  std::string datos = "Tramo;Especie;Pasada;Longitud;Peso;Clase\n";
  const int trucha[3] = {12, 6, 2}, barbo[2] = {20, 8};
  for (int p = 0; p < 3; p++)
    for (int i = 0; i < trucha[p]; i++) datos += "T01;trucha;" + std::to_string(p + 1) + ";20;90;1\n";
  for (int p = 0; p < 2; p++)
    for (int i = 0; i < barbo[p]; i++)
      datos += "T01;barbo;" + std::to_string(p + 1) + ";" + std::to_string(15 + i % 9) + ";40;" +
               std::to_string(i % 2) + "\n";
  datos += "T02;barbo;1;30;200;2\nT02;barbo;2;31;210;2\n";
  escribe_todo("rio.csv", datos);
  const char* const aviso = "barbo: sin peces en la pasada 3; se estima con las 3 pasadas del tramo";

  ASSERT_EQ(informe("--tramo T01 --especie barbo rio.csv barbo.txt"), 0) << errores;
  std::vector<std::string> total = fila(lee_todo("barbo.txt"), SECCION_4, "Total\t");
  ASSERT_GE(total.size(), 7u);
  EXPECT_NEAR(std::stod(total[3]), 28.444, 0.02);
  EXPECT_NEAR(std::stod(total[6]), 0.819, 0.02);
  EXPECT_NE(salida.find("(pasada 1: 20, pasada 2: 8, pasada 3: 0)\n"), std::string::npos) << salida;
  EXPECT_NE(salida.find(aviso), std::string::npos) << salida;
  EXPECT_NE(salida.find("intervalo del 95%: 28 - 31"), std::string::npos) << salida;

  ASSERT_EQ(informe("--comprobar --tramo T01 --especie barbo rio.csv"), 0) << errores;
  EXPECT_NE(salida.find(aviso), std::string::npos) << salida;
  EXPECT_NE(salida.find("Peces por pasada: 1: 20, 2: 8, 3: 0"), std::string::npos) << salida;

  // --pasadas and a reach table's Pasadas cell still say what was fished.
  ASSERT_EQ(informe("--pasadas 2 --tramo T01 --especie barbo rio.csv dos.txt"), 0) << errores;
  total = fila(lee_todo("dos.txt"), SECCION_4, "Total\t");
  ASSERT_GE(total.size(), 4u);
  EXPECT_NEAR(std::stod(total[3]), 33.33, 0.05);
  EXPECT_EQ(salida.find("sin peces"), std::string::npos) << salida;

  // Progress lines and the list of reaches without report name the species.
  escribe_todo("tramos.csv", "Tramo;Especie;Fichero;Pasadas\nT01;trucha;rio.csv;\n"
                             "T01;barbo;rio.csv;\nT02;barbo;rio.csv;3\nT02;trucha;rio.csv;\n");
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1) << errores;
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  ASSERT_EQ(resumen.size(), 5u);
  for (int f = 1; f <= 3; f++) EXPECT_EQ(celda(resumen, f, "Pasadas"), "3") << f;
  EXPECT_EQ(celda(resumen, 2, "N (ind)"), "29");
  EXPECT_EQ(celda(resumen, 2, "Avisos"), std::string(aviso) + " | sin Linf: sin von Bertalanffy | capturabilidad creciente");
  EXPECT_NE(errores.find("[2/4] T01 / barbo: N 29 (28\xe2\x80\x93" "31), 3 pasadas; " + std::string(aviso)),
            std::string::npos) << errores;
  EXPECT_NE(errores.find("[1/4] T01 / trucha: N "), std::string::npos) << errores;
  EXPECT_EQ(errores.find("trucha: sin peces"), std::string::npos) << errores;
  ASSERT_NE(errores.find("[3/4] T02 / barbo: "), std::string::npos) << errores;
  EXPECT_EQ(errores.find("sin peces", errores.find("[3/4] T02 / barbo: ")), std::string::npos) << errores;
  EXPECT_NE(errores.find("[4/4] T02 / trucha: error: "), std::string::npos) << errores;
  EXPECT_NE(errores.find("tramos sin informe (1): T02 / trucha\n"), std::string::npos) << errores;
}

TEST_F(Campana, ThreeReachesGiveTheSingleReportsAndSummaryRowsWithTheirFigures) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.txt",
               "Tramo\tFichero\tSuperficie (m2)\tVolumen\tMetros\tPasadas\tLinf\tMeses\n"
               "T01 R\xc3\xado Eria\tejemplo.txt\t250\t125.5\t50\t\t32\t6\n"
               "T02\tejemplo.txt\t100\t\t\t4\t\t\n"
               "T03\tejemplo.txt\t\t\t20\t5\t30\t3\n");
  const char* const solos[3] = {"--superficie 250 --volumen 125.5 --metros 50 --linf 32 --meses 6",
                                "--superficie 100 --pasadas 4", "--metros 20 --pasadas 5 --linf 30 --meses 3"};
  const char* const nombres[3] = {"T01 R\xc3\xado Eria", "T02", "T03"};
  ASSERT_EQ(informe("--tramos tramos.txt --carpeta campa\xc3\xb1" "a"), 0) << errores;
  EXPECT_NE(errores.find("[3/3] T03: N "), std::string::npos) << errores;
  auto resumen = tabla(lee_todo("campa\xc3\xb1" "a/resumen.tsv"), '\t');
  ASSERT_EQ(resumen.size(), 4u);
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(nombres[i]);
    ASSERT_EQ(informe(std::string(solos[i]) + " ejemplo.txt solo.txt"), 0) << errores;
    std::string esperado = lee_todo("solo.txt");
    std::string hecho = lee_todo("campa\xc3\xb1" "a/" + std::string(nombres[i]) + ".txt");
    EXPECT_EQ(primera_diferencia(hecho, esperado), "");
    for (const char* d : {"1", "2", "3", "4"})
      EXPECT_TRUE(lee_todo("campa\xc3\xb1" "a/" + std::string(nombres[i]) + d + ".bmp") ==
                  lee_todo(std::string("solo") + d + ".bmp")) << d;
    // Every figure of the row as the report prints it.
    size_t f = i + 1;
    EXPECT_EQ(celda(resumen, f, "Tramo"), nombres[i]);
    std::vector<std::string> total = fila(esperado, SECCION_4, "Total\t");
    ASSERT_GE(total.size(), 16u);
    const char* const columnas4[][2] = {{"R", "1"}, {"p", "2"}, {"N", "3"}, {"ES", "6"},
                                        {"N (ind)", "10"}, {"L\xc3\xadmite inf.", "14"},
                                        {"L\xc3\xadmite sup.", "15"}};
    for (auto& c : columnas4) EXPECT_EQ(celda(resumen, f, c[0]), total[std::stoi(c[1])]) << c[0];
    std::vector<std::string> densidad = fila(esperado, SECCION_7, "Total\t");
    const char* const columnas7[] = {"Densidad por frecuencias (N/m3)", "Densidad por frecuencias (N/m2)",
                                     "Densidad por frecuencias (N/m)", "Biomasa por frecuencias (g/m3)",
                                     "Biomasa por frecuencias (g/m2)", "Biomasa por frecuencias (g/m)"};
    for (int c = 0; c < 6; c++) EXPECT_EQ(celda(resumen, f, columnas7[c]), densidad[2 + c]) << c;
    const char* const ajustes[][3] = {
        {"a", "a", SECCION_8}, {"b", "b", SECCION_8}, {"r2", "r^2", SECCION_8}, {"FC", "FC", SECCION_8},
        {"Linf", "Linf", SECCION_91}, {"k", "k", SECCION_91}, {"t0", "t0", SECCION_91},
        {"r2 (von Bertalanffy)", "r^2", SECCION_91}, {"B0", "B0", SECCION_92}, {"B1", "B1", SECCION_92},
        {"B2", "B2", SECCION_92}, {"r2 (polinomio)", "r^2", SECCION_92}};
    for (auto& a : ajustes) EXPECT_EQ(celda(resumen, f, a[0]), parametro(esperado, a[2], a[1])) << a[0];
    EXPECT_EQ(celda(resumen, f, "Pasadas"), i == 0 ? "3" : i == 1 ? "4" : "5");
    // What the reach was given, as its table wrote it, and the run it is from.
    const char* const dados[3][5] = {{"250", "125.5", "50", "32", "6"}, {"100", "", "", "", ""},
                                     {"", "", "20", "30", "3"}};
    const char* const columnas_dadas[5] = {"Superficie dada (m2)", "Volumen dado (m3)", "Metros dados (m)",
                                           "Linf dada (cm)", "Meses dados"};
    for (int c = 0; c < 5; c++) EXPECT_EQ(celda(resumen, f, columnas_dadas[c]), dados[i][c]) << columnas_dadas[c];
    EXPECT_EQ(celda(resumen, f, "Tabla de tramos"), "tramos.txt");
    EXPECT_EQ(celda(resumen, f, "Versi\xc3\xb3n"), "pasadas-informe " + version_del_paquete());
    EXPECT_EQ(celda(resumen, f, "Fecha"), "2023-11-14");  // SOURCE_DATE_EPOCH, in UTC
    // The passes past the fish caught nothing: the second opinion sees the later passes fall.
    const char* const avisos[3] = {"", "sin Linf: sin von Bertalanffy | capturabilidad creciente",
                                   "capturabilidad creciente | mal ajuste a p constante"};
    EXPECT_EQ(celda(resumen, f, "Avisos"), avisos[i]);
  }
  // The figures keep the columns they had before the inputs came after them.
  const std::vector<std::string> antes = {"Tramo", "Especie", "Fichero", "Pasadas", "Capturados", "R"};
  EXPECT_EQ(std::vector<std::string>(resumen[0].begin(), resumen[0].begin() + 6), antes);
  EXPECT_EQ(resumen[0][32], "Error");
  // The class rows of the first reach against its section 3 and section 2.
  auto clases = tabla(lee_todo("campa\xc3\xb1" "a/resumen_clases.tsv"), '\t');
  std::string primero = lee_todo("campa\xc3\xb1" "a/T01 R\xc3\xado Eria.txt");
  for (size_t f = 1; f < clases.size() && clases[f][0] == nombres[0]; f++) {
    std::string clase = celda(clases, f, "Clase");
    SCOPED_TRACE(clase);
    std::vector<std::string> c3 = fila(primero, "3. C\xe1lculo poblacional por clases (con y sin redondeo)", clase + "\t");
    std::vector<std::string> c2 = fila(primero, "2. Medias y frecuencias sin estimaci\xf3n (CPUE)", clase + "\t");
    ASSERT_GE(c3.size(), 16u);
    EXPECT_EQ(celda(clases, f, "N"), c3[3]);
    EXPECT_EQ(celda(clases, f, "N (ind)"), c3[10]);
    EXPECT_EQ(celda(clases, f, "L\xc3\xadmite sup."), c3[15]);
    EXPECT_EQ(celda(clases, f, "Longitud media (cm)"), c2[1]);
    EXPECT_EQ(celda(clases, f, "Es peso (g)"), c2[4]);
  }
  int ancho = 0, alto = 0;
  EXPECT_TRUE(medidas_bmp("campa\xc3\xb1" "a/resumen.bmp", &ancho, &alto));
  // --formato es gives the same figures with ";" and decimal commas.
  ASSERT_EQ(informe("--tramos tramos.txt --carpeta es --formato es"), 0) << errores;
  auto es = tabla(lee_todo("es/resumen.csv"), ';');
  ASSERT_EQ(es.size(), resumen.size());
  std::string N = celda(resumen, 1, "N");
  std::replace(N.begin(), N.end(), '.', ',');
  EXPECT_EQ(celda(es, 1, "N"), N);
}

TEST_F(Campana, BadReachesAmongOthersLeaveTheirReportsErrorRowsAndExitOne) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  // The example has fish of pass 3: two passes cannot have been fished.
  escribe_todo("tramos.csv",
               "Tramo;Fichero;Superficie;Pasadas\n"
               "A;ejemplo.txt;250,5;\nB;ejemplo.txt;100;\nC;ejemplo.txt;10;2\n"
               "D;ejemplo.txt;;4\nE;ejemplo.txt;3;\nA;ejemplo.txt;1;\n");
  unsetenv("SOURCE_DATE_EPOCH");  // the day of the run, as the machine has it
  char hoy[2][16];
  for (int i = 0; i < 2; i++) {
    time_t ahora = time(nullptr);
    strftime(hoy[i], sizeof hoy[i], "%Y-%m-%d", localtime(&ahora));
    if (!i) {
      EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir --png"), 1);
    }
  }
  for (const char* t : {"A", "B", "D", "E"}) {
    std::string informe_t = lee_todo(std::string("dir/") + t + ".txt");
    EXPECT_NE(informe_t.find(SECCION_92), std::string::npos) << t;
    for (const char* d : {"1", "2", "3", "4"}) {
      EXPECT_TRUE(ficheros_en("dir").count(std::string(t) + d + ".bmp")) << t << d;
      EXPECT_TRUE(ficheros_en("dir").count(std::string(t) + d + ".png")) << t << d;
    }
  }
  EXPECT_FALSE(ficheros_en("dir").count("C.txt"));
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  ASSERT_EQ(resumen.size(), 7u);
  EXPECT_EQ(celda(resumen, 3, "Estimaci\xc3\xb3n"), "error");
  EXPECT_EQ(celda(resumen, 3, "Superficie dada (m2)"), "10");  // an error's row says them too
  EXPECT_EQ(celda(resumen, 3, "Tabla de tramos"), "tramos.csv");
  std::string fecha = celda(resumen, 3, "Fecha");
  EXPECT_TRUE(fecha == hoy[0] || fecha == hoy[1]) << fecha;
  // A second row of reach A would replace the first one's report.
  EXPECT_NE(celda(resumen, 6, "Error").find("como el de la fila 2"), std::string::npos);
  EXPECT_NE(celda(resumen, 3, "Error").find("fila 4: Pasadas 2"), std::string::npos);
  EXPECT_NE(celda(resumen, 3, "Error").find("pasada 3"), std::string::npos);
  EXPECT_EQ(celda(resumen, 1, "Densidad por frecuencias (N/m2)"), "0,23");  // 58 fish over 250,5 m2
  EXPECT_EQ(celda(resumen, 4, "Densidad por frecuencias (N/m2)"), "-");
  EXPECT_NE(errores.find("[3/6] C: error: fila 4"), std::string::npos) << errores;
  EXPECT_NE(errores.find("tramos sin informe (2): C, A"), std::string::npos) << errores;
  EXPECT_TRUE(ficheros_en("dir").count("resumen.png"));
}

// Regression: one cell too long to keep refused the whole season without
// naming its row.
TEST_F(Campana, ACellTooLongSpoilsOnlyItsRowNamingItsLineAndColumn) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero\nT01;ejemplo.txt\nT02;" + std::string(300, 'x') + "\n" +
                                 std::string(256, 'T') + ";ejemplo.txt\nT04;ejemplo.txt\n");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1);
  EXPECT_TRUE(ficheros_en("dir").count("T01.txt"));
  EXPECT_TRUE(ficheros_en("dir").count("T04.txt"));
  EXPECT_EQ(ficheros_en("dir").count(std::string(255, 'T') + ".txt"), 0u);
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  ASSERT_EQ(resumen.size(), 5u);
  EXPECT_EQ(celda(resumen, 2, "Error"), "fila 3: la celda de Fichero tiene mas de 255 bytes");
  EXPECT_EQ(celda(resumen, 3, "Error"), "fila 4: la celda de Tramo tiene mas de 255 bytes");
  EXPECT_NE(celda(resumen, 4, "Estimaci\xc3\xb3n"), "error");
  EXPECT_NE(errores.find("[2/4] T02: error: fila 3: la celda de Fichero"), std::string::npos) << errores;
}

// Regression: resumen_clases called a class without fish "fallida", which the
// reach row's failed classes did not count.
TEST_F(Campana, AClassWithoutFishIsSinPecesNotAFailedEstimate) {
  // Class 0 falls pass by pass; class 1 has no fish; class 2 does not fall.
  const int captura[3][3] = {{30, 12, 4}, {0, 0, 0}, {2, 3, 2}};
  std::string datos = "Pasada Longitud Peso Clase\n";
  for (int c = 0; c < 3; c++)
    for (int p = 0; p < 3; p++)
      for (int i = 0; i < captura[c][p]; i++)
        datos += std::to_string(p + 1) + " " + std::to_string(10 + 10 * c + i % 4) + " " +
                 std::to_string(15 + 100 * c + i % 3) + " " + std::to_string(c) + "\n";
  escribe_todo("clases.dat", datos);
  escribe_todo("tramos.csv", "Tramo;Fichero\nT01;clases.dat\n");
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 0) << errores;
  auto clases = tabla(lee_todo("dir/resumen_clases.csv"), ';');
  ASSERT_EQ(clases.size(), 4u);
  const char* const palabras[3] = {"v\xc3\xa1lida", "sin peces", "fallida"};
  for (int c = 0; c < 3; c++) EXPECT_EQ(celda(clases, c + 1, "Estimaci\xc3\xb3n"), palabras[c]) << c;
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  EXPECT_EQ(celda(resumen, 1, "Clases fallidas"), "1");
  EXPECT_EQ(celda(resumen, 1, "Avisos"), "1 clase con peces sin estimacion | sin Linf: sin von Bertalanffy");
}

// Regression: a season run again after one of its reaches began to fail left
// that reach's old report beside a summary row saying only "error".
TEST_F(Campana, AReachThatNowFailsNamesItsReportLeftFromAnEarlierRun) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero;Pasadas\nA;ejemplo.txt;\nC;ejemplo.txt;\n");
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 0) << errores;
  std::string antes = lee_todo("dir/C.txt");
  // The example has fish of pass 3: two passes cannot have been fished.
  escribe_todo("tramos.csv", "Tramo;Fichero;Pasadas\nA;ejemplo.txt;\nC;ejemplo.txt;2\n");
  const std::string nota = " (el informe C.txt de la carpeta es de una ejecucion anterior)";
  for (const char* carpeta : {"dir", "nueva"}) {
    SCOPED_TRACE(carpeta);
    EXPECT_EQ(informe(std::string("--tramos tramos.csv --carpeta ") + carpeta), 1);
    auto resumen = tabla(lee_todo(std::string(carpeta) + "/resumen.csv"), ';');
    ASSERT_EQ(resumen.size(), 3u);
    std::string error = celda(resumen, 2, "Error");
    EXPECT_NE(error.find("fila 3: Pasadas 2"), std::string::npos) << error;
    bool anterior = std::string(carpeta) == "dir";
    EXPECT_EQ(error.find(nota) != std::string::npos, anterior) << error;
    EXPECT_EQ(errores.find(nota) != std::string::npos, anterior) << errores;
  }
  EXPECT_EQ(lee_todo("dir/C.txt"), antes);  // the user's file stays as it was
}

// --imagenes png: a season of thousands of reaches would otherwise write
// gigabytes of BMP beside its PNG.
TEST_F(Campana, OnlyPngImagesLeaveNoBmpInTheSeasonOrTheSingleReport) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero;Superficie\nA;ejemplo.txt;250,5\nB;ejemplo.txt;100\n");
  ASSERT_EQ(informe("--imagenes png --tramos tramos.csv --carpeta dir"), 0) << errores;
  std::set<std::string> esperados = {"resumen.csv", "resumen_clases.csv", "resumen_diagnostico.csv",
                                     "resumen.xlsx", "resumen.png", "informe.html"};
  for (std::string t : {"A", "B"}) {
    esperados.insert(t + ".txt");
    for (const char* d : {"1", "2", "3", "4"}) esperados.insert(t + d + ".png");
  }
  EXPECT_EQ(ficheros_en("dir"), esperados);
  EXPECT_NE(salida.find("dir/resumen.png"), std::string::npos) << salida;
  EXPECT_EQ(lee_todo("dir/A1.png").compare(1, 3, "PNG"), 0);
  ASSERT_EQ(informe("--imagenes=png ejemplo.txt solo.txt"), 0) << errores;
  EXPECT_NE(salida.find("Graficos: solo4.png solo2.png solo1.png solo3.png"), std::string::npos);
  EXPECT_FALSE(ficheros_en(".").count("solo1.bmp"));
  ASSERT_EQ(informe("--imagenes ambas ejemplo.txt los_dos.txt"), 0) << errores;
  EXPECT_TRUE(ficheros_en(".").count("los_dos1.bmp") && ficheros_en(".").count("los_dos1.png"));
  EXPECT_EQ(informe("--imagenes gif ejemplo.txt otro.txt"), 2);
  EXPECT_NE(errores.find("--imagenes: 'gif' no es bmp, png ni ambas"), std::string::npos);
}

// The second opinion goes with the season: resumen_diagnostico holds, for
// every reach, the rows --diagnostico prints for its data, and the reach's
// row of resumen names in words what the whole sample's rows warn of.
TEST_F(Campana, TheSeasonsDiagnosisIsWhatDiagnosticoPrintsAndResumenNamesItsWarnings) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("caida.txt", muestra_por_pasadas({60, 12, 10, 9}));  // the first pass takes more
  escribe_todo("tramos.txt", "Tramo\tFichero\tSuperficie\tLinf\tMeses\n"
               "T01\tejemplo.txt\t250\t30\t6\nT02\tcaida.txt\t100\t30\t6\n");
  ASSERT_EQ(informe("--tramos tramos.txt --carpeta dir"), 0) << errores;
  EXPECT_NE(salida.find("dir/resumen_diagnostico.tsv"), std::string::npos) << salida;
  auto diagnostico = tabla(lee_todo("dir/resumen_diagnostico.tsv"), '\t');
  ASSERT_FALSE(diagnostico.empty());
  size_t f = 1;
  for (std::string tramo : {"T01", "T02"}) {
    SCOPED_TRACE(tramo);
    ASSERT_EQ(informe("--diagnostico " + std::string(tramo == "T01" ? "ejemplo.txt" : "caida.txt")), 0);
    size_t desde = salida.find('\n') + 1;
    auto impresa = tabla(salida.substr(desde, salida.find("\n\n") - desde), '\t');
    impresa[0].insert(impresa[0].begin(), {"Tramo", "Especie"});
    EXPECT_EQ(diagnostico[0], impresa[0]);
    for (size_t i = 1; i < impresa.size(); i++, f++) {
      impresa[i].insert(impresa[i].begin(), {tramo, ""});
      ASSERT_LT(f, diagnostico.size());
      EXPECT_EQ(diagnostico[f], impresa[i]);
    }
  }
  EXPECT_EQ(f, diagnostico.size());
  auto resumen = tabla(lee_todo("dir/resumen.tsv"), '\t');
  EXPECT_EQ(celda(resumen, 1, "Avisos"), "");
  EXPECT_EQ(celda(resumen, 2, "Avisos"), "capturabilidad decreciente | mal ajuste a p constante");
  // A Spanish spreadsheet's dialect: ";" and the decimal comma.
  ASSERT_EQ(informe("--tramos tramos.txt --carpeta es --formato es"), 0) << errores;
  auto es = tabla(lee_todo("es/resumen_diagnostico.csv"), ';');
  ASSERT_EQ(es.size(), diagnostico.size());
  std::string p = celda(diagnostico, f - 1, "p");
  std::replace(p.begin(), p.end(), '.', ',');
  EXPECT_EQ(celda(es, f - 1, "p"), p);
}

/* Rows [desde, desde + n) from the bottom of a BMP's pixels (its first bytes). */
std::string filas_de_abajo(const std::string& bmp, int ancho, int desde, int n) {
  auto le32 = [&](size_t i) { return (int)((unsigned char)bmp[i] | (unsigned char)bmp[i + 1] << 8); };
  size_t fila = (size_t)(ancho * 3 + 3) / 4 * 4;
  return bmp.substr(le32(10) + desde * fila, n * fila);
}

// A season of many reaches drew one picture as tall as all of them, which
// past a few dozen reaches no screen or sheet shows: it goes in pages, a
// set per species, each page as tall as its reaches and all to one scale.
TEST_F(Campana, ManyReachesAndSpeciesGoInPagesOfOneScale) {
  std::string datos = "Tramo;Especie;Pasada;Longitud;Peso;Clase\n", tabla = "Tramo;Especie;Fichero;Superficie\n";
  for (int t = 1; t <= 45; t++) {
    std::string tramo = "R" + std::to_string(t);
    const int barbo[3] = {20 + t % 9, 8, 2}, trucha[3] = {10, 4, 1};
    for (int p = 0; p < 3; p++) {
      for (int i = 0; i < barbo[p]; i++)
        datos += tramo + ";barbo;" + std::to_string(p + 1) + ";" + std::to_string(12 + i % 5) + ";30;1\n";
      for (int i = 0; t <= 5 && i < trucha[p]; i++)
        datos += tramo + ";trucha;" + std::to_string(p + 1) + ";25;150;2\n";
    }
    tabla += tramo + ";barbo;rio.csv;" + std::to_string(40 + 3 * t) + "\n";
    if (t <= 5) tabla += tramo + ";trucha;rio.csv;" + std::to_string(60 * t) + "\n";
  }
  escribe_todo("rio.csv", datos);
  escribe_todo("tramos.csv", tabla);
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 0) << errores;
  const char* const paginas[3] = {"resumen_barbo_1.bmp", "resumen_barbo_2.bmp", "resumen_trucha.bmp"};
  std::set<std::string> imagenes;
  for (const std::string& f : ficheros_en("dir"))
    if (f.compare(0, 7, "resumen") == 0 && f.size() > 4 && f.substr(f.size() - 4) == ".bmp") imagenes.insert(f);
  EXPECT_EQ(imagenes, std::set<std::string>(paginas, paginas + 3));
  EXPECT_NE(salida.find("dir/resumen_barbo_1.bmp ... dir/resumen_trucha.bmp (3 paginas)\n"),
            std::string::npos) << salida;
  // 23, 22 and 5 reaches: heights that grow by one step a reach.
  int ancho[3], alto[3];
  for (int i = 0; i < 3; i++) ASSERT_TRUE(medidas_bmp("dir/" + std::string(paginas[i]), &ancho[i], &alto[i]));
  EXPECT_EQ(ancho[0], ancho[2]);
  EXPECT_GT(alto[0], alto[1]);
  EXPECT_EQ((alto[0] - alto[1]) * 17, alto[1] - alto[2]);
  EXPECT_LT(alto[0], 1024);
  // Under the bars: the axis's figures and the legend, alike on every page
  // as the scale is one.
  std::string pie = filas_de_abajo(lee_todo("dir/" + std::string(paginas[0])), ancho[0], 0, 80);
  for (int i = 1; i < 3; i++)
    EXPECT_TRUE(filas_de_abajo(lee_todo("dir/" + std::string(paginas[i])), ancho[i], 0, 80) == pie) << paginas[i];
}

// A species whose name cannot name a file (over 255 bytes with
// "resumen_") took the whole summary with it: its reaches' bars go to the
// pages without a species. A reach named "resumen_" would have its images
// replaced by the pages resumen_1.bmp...: it is refused.
TEST_F(Campana, NamesThatWouldClashWithTheSummarysPagesLeaveEveryFileWhole) {
  escribe_todo("tramos.csv", "Tramo;Especie;Fichero;Superficie\nT1;" + std::string(250, 'b') +
                                 ";falta.txt;1\nT2;barbo;falta.txt;1\n");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1);
  EXPECT_EQ(ficheros_en("dir"), (std::set<std::string>{"resumen.csv", "resumen_clases.csv",
                                                       "resumen_diagnostico.csv", "resumen.xlsx",
                                                       "resumen.bmp", "resumen_barbo.bmp", "informe.html"}));
  // A reach whose images would be named as pages, and so replaced by them.
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  std::string filas = "Tramo;Fichero\nresumen_;ejemplo.txt\n";
  for (int t = 0; t < 44; t++) filas += "T" + std::to_string(t) + ";ejemplo.txt\n";
  escribe_todo("tramos.csv", filas);
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta otra"), 1);
  EXPECT_EQ(celda(tabla(lee_todo("otra/resumen.csv"), ';'), 1, "Error"),
            "fila 2: sus graficos se llamarian como el grafico resumen");
  std::set<std::string> hechos = ficheros_en("otra");
  EXPECT_TRUE(hechos.count("resumen_1.bmp") && hechos.count("resumen_2.bmp"));
  EXPECT_FALSE(hechos.count("resumen_.txt") || hechos.count("resumen_3.bmp"));
}

// Excel's "CSV" on a Spanish Windows writes Windows-1252, and an old Mac
// ends lines with a CR alone: the names become UTF-8 files and cells, a
// data file is found by its UTF-8 name or by the table's very bytes, and
// rows are counted as lines.
TEST_F(Campana, AWindows1252TableGivesEveryReachItsReportUnderItsUtf8Name) {
  std::string ejemplo = lee_todo(std::string(DIR_DATOS) + "/ejemplo.txt");
  escribe_todo("Pe\xf1" "as.txt", ejemplo);  // on the disk only in Latin-1
  escribe_todo("ejemplo.txt", ejemplo);
  // A season's file in UTF-8, whose reach and species carry accents and signs.
  std::istringstream registros(ejemplo.substr(ejemplo.find('\n') + 1));
  std::string combinado = "Tramo;Especie;Pasada;Longitud;Peso;Clase\n", registro;
  while (std::getline(registros, registro)) {
    std::replace(registro.begin(), registro.end(), '\t', ';');
    combinado += "T01 R\xc3\xado Tera \xe2\x80\x93 alto;Trucha com\xc3\xban;" + registro + "\n";
  }
  escribe_todo("R\xc3\xado Tera.csv", combinado);
  escribe_todo("tramos.csv",
               "Tramo;Especie;Fichero;Superficie\r"
               "T01 R\xedo Tera \x96 alto;Trucha com\xfan;R\xedo Tera.csv;250\r"
               "T02 \x93Pe\xf1" "as\x94;;Pe\xf1" "as.txt;100\r"
               "T03 Acci\xf3n\x85;;ejemplo.txt;12x\r"
               "T04 \x80uro;;ejemplo.txt;\r");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta campa\xc3\xb1" "a"), 1) << errores;
  std::string avance = errores;
  const std::string nombres[] = {"T01 R\xc3\xado Tera \xe2\x80\x93 alto", "T02 \xe2\x80\x9cPe\xc3\xb1" "as\xe2\x80\x9d",
                                 "T03 Acci\xc3\xb3n\xe2\x80\xa6", "T04 \xe2\x82\xacuro"};
  const std::string ficheros[] = {nombres[0] + "_Trucha com\xc3\xban", nombres[1], "", nombres[3]};
  auto resumen = tabla(lee_todo("campa\xc3\xb1" "a/resumen.csv"), ';');
  ASSERT_EQ(resumen.size(), 5u);
  std::string solo;
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE(nombres[i]);
    EXPECT_EQ(celda(resumen, i + 1, "Tramo"), nombres[i]);
    if (i == 2) continue;
    EXPECT_NE(celda(resumen, i + 1, "Estimaci\xc3\xb3n"), "error");
    std::string hecho = lee_todo("campa\xc3\xb1" "a/" + ficheros[i] + ".txt");
    ASSERT_EQ(informe("--superficie " + std::string(i == 0 ? "250" : i == 1 ? "100" : "0") +
                      " ejemplo.txt solo.txt"), 0) << errores;
    EXPECT_EQ(primera_diferencia(hecho, lee_todo("solo.txt")), "");
    for (const char* d : {"1", "2", "3", "4"})
      EXPECT_TRUE(ficheros_en("campa\xc3\xb1" "a").count(ficheros[i] + d + ".bmp")) << d;
  }
  EXPECT_EQ(celda(resumen, 1, "Especie"), "Trucha com\xc3\xban");
  EXPECT_EQ(celda(resumen, 1, "Fichero"), "R\xc3\xado Tera.csv");
  EXPECT_EQ(celda(resumen, 2, "Fichero"), "Pe\xc3\xb1" "as.txt");
  // The row that failed is named by its line, though no LF ends any.
  EXPECT_EQ(celda(resumen, 3, "Error").rfind("fila 4: Superficie '12x'", 0), 0u) << celda(resumen, 3, "Error");
  EXPECT_NE(avance.find("[2/4] " + nombres[1] + ": N "), std::string::npos) << avance;
  // Every name in the folder and every byte of the summaries is UTF-8.
  ASSERT_EQ(ejecuta_orden("ls campa\xc3\xb1" "a | iconv -f UTF-8 -t UTF-32 >/dev/null && iconv -f UTF-8 "
                          "-t UTF-32 campa\xc3\xb1" "a/resumen.csv campa\xc3\xb1" "a/resumen_clases.csv",
                          &salida, &errores), 0) << errores;
  // The same table as Excel's "Texto Unicode" (UTF-16 with its BOM) gives the same summary.
  ASSERT_EQ(ejecuta_orden("iconv -f WINDOWS-1252 -t UTF-16 -o unicode.txt tramos.csv", &salida, &errores), 0);
  EXPECT_EQ(informe("--tramos unicode.txt --carpeta unicode"), 1) << errores;
  std::string unicode = lee_todo("unicode/resumen.csv");  // but for the table's name
  for (size_t i; (i = unicode.find(";unicode.txt;")) != std::string::npos;) unicode.replace(i, 13, ";tramos.csv;");
  EXPECT_EQ(primera_diferencia(unicode, lee_todo("campa\xc3\xb1" "a/resumen.csv")), "");
  // The check of a data file names it as the terminal shows it.
  ASSERT_EQ(informe("--comprobar --tramo 't01 rio tera alto' 'R\xc3\xado Tera.csv'"), 0) << errores;
  EXPECT_EQ(salida.rfind("Fichero: R\xc3\xado Tera.csv\n", 0), 0u) << salida;
}

/* Whether the text holds a code that moves or rewrites a terminal: C0
   but the line end, DEL, or C1 written in UTF-8. */
bool tiene_controles(const std::string& t) {
  for (size_t i = 0; i < t.size(); i++) {
    unsigned char c = t[i];
    if ((c < 0x20 && c != '\n') || c == 0x7f) return true;
    if (c == 0xc2 && i + 1 < t.size() && (unsigned char)t[i + 1] >= 0x80 && (unsigned char)t[i + 1] < 0xa0)
      return true;
  }
  return false;
}

// A crafted table must not rewrite the user's terminal nor name files
// across lines: its names are refused by row, and what is shown of a file
// shows its control codes as '?'.
TEST_F(Campana, ControlCodesInNamesAreRefusedByRowAndNeverReachTheTerminal) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv",
               "Tramo;Especie;Fichero;Superficie\n"
               "T01\x1b[31mR\x07;;ejemplo.txt;1\n"
               "T02;Trucha\xc2\x9b" "2J;ejemplo.txt;1\n"
               "\"T03\r\nB\";;ejemplo.txt;1\n"
               "T04;;\"ejemplo\x1b[2J.txt\";1\n"
               "T05;;ejemplo.txt;1\n");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1);
  EXPECT_FALSE(tiene_controles(salida + errores)) << errores;
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  ASSERT_EQ(resumen.size(), 6u);
  EXPECT_EQ(celda(resumen, 1, "Error"), "fila 2: Tramo 'T01?[31mR?' tiene un caracter de control");
  EXPECT_EQ(celda(resumen, 2, "Error"), "fila 3: Especie 'Trucha?2J' tiene un caracter de control");
  EXPECT_EQ(celda(resumen, 3, "Error"), "fila 5: Tramo 'T03??B' tiene un caracter de control");
  EXPECT_NE(celda(resumen, 4, "Error").find("ejemplo?[2J.txt: no se puede abrir"), std::string::npos);
  std::set<std::string> hechos = {"resumen.csv", "resumen_clases.csv", "resumen_diagnostico.csv",
                                  "resumen.xlsx", "resumen.bmp", "informe.html"};
  for (const char* d : {"", "1", "2", "3", "4"}) hechos.insert(std::string("T05") + d + (*d ? ".bmp" : ".txt"));
  EXPECT_EQ(ficheros_en("dir"), hechos);
  // What --comprobar shows of a file: its columns, reaches and species.
  escribe_todo("datos.csv", "Pasada;Longitud;Peso;Notas\x1b[2J\n1;10;5;x\n");
  ASSERT_EQ(informe("--comprobar --limites 20 datos.csv"), 0) << errores;
  EXPECT_NE(salida.find("Columnas no usadas: Notas?[2J"), std::string::npos) << salida;
  EXPECT_FALSE(tiene_controles(salida + errores));
}

// Workbooks saved by LibreOffice itself from a table of text hold the fish
// of the text: its .xlsx and .ods give the text's reading and its season's
// report; the old .xls is refused saying how to save it.
TEST_F(Campana, WorkbooksSavedByLibreOfficeGiveTheFishOfTheirText) {
  if (system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "sin LibreOffice";
  std::string datos = "Pasada,Longitud (cm),Peso (g),Clase\n";
  std::istringstream ejemplo(lee_todo(std::string(DIR_DATOS) + "/ejemplo.txt"));
  std::string p, l, w, c;
  ejemplo >> p >> l >> w >> c;  // its header
  while (ejemplo >> p >> l >> w >> c) datos += p + "," + l + "," + w + "," + c + "\n";
  escribe_todo("datos.csv", datos);
  escribe_todo("tramos.csv", "Tramo,Fichero,Superficie\nT01,datos.csv,250\n");
  ASSERT_EQ(informe("--comprobar datos.csv"), 0) << errores;
  std::string leido = salida.substr(salida.find("Columnas:"));
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta texto"), 0) << errores;
  const char* const convierte = "HOME=\"$PWD\" timeout 100 soffice --headless --infilter=CSV:44,34,76,1,,1033 --convert-to ";
  for (const char* libro : {"xlsx", "ods"}) {
    SCOPED_TRACE(libro);
    ASSERT_EQ(ejecuta_orden(convierte + std::string(libro) + " datos.csv tramos.csv", &salida, &errores), 0) << errores;
    ASSERT_EQ(informe("--comprobar datos." + std::string(libro)), 0) << errores;
    EXPECT_EQ(salida.substr(salida.find("Columnas:")), leido);
    ASSERT_EQ(informe("--tramos tramos." + std::string(libro) + " --carpeta " + libro), 0) << errores;
    EXPECT_EQ(primera_diferencia(lee_todo(std::string(libro) + "/T01.txt"), lee_todo("texto/T01.txt")), "");
  }
  ASSERT_EQ(ejecuta_orden(convierte + std::string("xls:\"MS Excel 97\" datos.csv"), &salida, &errores), 0) << errores;
  EXPECT_EQ(informe("--comprobar datos.xls"), 1);
  EXPECT_EQ(errores, "pasadas-informe: datos.xls: Es un libro de Excel 97-2003 (.xls): guardelo con Guardar como, "
                     "tipo \"CSV UTF-8\" en Excel o \"Texto CSV\" en LibreOffice\n");
}

// Regression: a reach whose data file was a FIFO or a device hung the season.
TEST_F(Campana, AReachWhoseFileIsAFifoOrADeviceFailsAloneAndTheOthersGoOn) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  ASSERT_EQ(mkfifo("tuberia", 0600), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero\nA;tuberia\nB;ejemplo.txt\nC;/dev/zero\n");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1);
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  ASSERT_EQ(resumen.size(), 4u);
  EXPECT_EQ(celda(resumen, 1, "Error"), "fila 2: \u00abtuberia\u00bb no es un fichero normal");
  EXPECT_EQ(celda(resumen, 2, "Estimaci\xc3\xb3n"), "v\xc3\xa1lida");
  EXPECT_EQ(celda(resumen, 3, "Error"), "fila 4: \u00ab/dev/zero\u00bb no es un fichero normal");
  EXPECT_NE(errores.find("tramos sin informe (2): A, C"), std::string::npos) << errores;
}

// Regression: the columns past the table's 64th were not looked for. And
// a line longer than the pieces the table is read in counts once: were the
// pieces counted, a long notes cell would move every later row number.
TEST_F(Campana, AWideTableWithLongLinesKeepsItsColumnsAndItsRowNumbers) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  std::string notas, vacias;
  for (int c = 0; c < 70; c++) notas += "Nota " + std::to_string(c) + ";", vacias += ";";
  const std::string tablas[] = {
      "Tramo;Fichero;Superficie;Notas\nT01;ejemplo.txt;250;" + std::string(5000, 'n') +
          "\nT02;ejemplo.txt;2x5\nT03;ejemplo.txt;100\n",
      notas + "Tramo;Fichero;Superficie\n" + std::string(5000, 'n') + vacias + "T01;ejemplo.txt;250\n" +
          vacias + "T02;ejemplo.txt;2x5\n" + vacias + "T03;ejemplo.txt;100\n",
  };
  for (int i = 0; i < 2; i++) {
    SCOPED_TRACE(i ? "setenta columnas antes" : "una nota larga");
    std::string dir = "dir" + std::to_string(i);
    escribe_todo("tramos.csv", tablas[i]);
    EXPECT_EQ(informe("--tramos tramos.csv --carpeta " + dir), 1);
    auto resumen = tabla(lee_todo(dir + "/resumen.csv"), ';');
    ASSERT_EQ(resumen.size(), 4u);
    EXPECT_EQ(celda(resumen, 1, "Densidad por frecuencias (N/m2)"), "0,23");  // 58 fish over 250 m2
    EXPECT_EQ(celda(resumen, 2, "Error"), "fila 3: Superficie '2x5' no es un numero valido");
    EXPECT_EQ(celda(resumen, 3, "Estimaci\xc3\xb3n"), "v\xc3\xa1lida");
  }
}

// A reach table's measures were read as a number field takes them: a
// surface written "1.534,2" by a Spanish spreadsheet was no number at all.
TEST_F(Campana, GroupedFiguresInTheTableOfReachesAreReadAsDataTablesReadThem) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  // Each table gives its reaches as plain figures, then grouped as its spreadsheet groups them.
  const struct {
    char separador;
    std::string tabla;
  } tablas[] = {
      {';', "Tramo;Fichero;Superficie;Volumen;Linf\n"
            "P;ejemplo.txt;1534,2;2512,25;32\n"
            "G;ejemplo.txt;1.534,2;2.512,25;32\n"},
      {',', "Tramo,Fichero,Superficie,Volumen,Linf\n"
            "P,ejemplo.txt,1534.2,2512.25,32\n"
            "G,ejemplo.txt,\"1,534.2\",\"2,512.25\",\"32,0\"\n"},
  };
  for (const auto& t : tablas) {
    SCOPED_TRACE(t.tabla);
    escribe_todo("tramos.csv", t.tabla);
    ASSERT_EQ(system("rm -rf dir"), 0);
    ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 0) << errores;
    EXPECT_EQ(primera_diferencia(lee_todo("dir/G.txt"), lee_todo("dir/P.txt")), "");
    auto resumen = tabla(lee_todo(t.separador == ';' ? "dir/resumen.csv" : "dir/resumen.tsv"),
                         t.separador == ';' ? ';' : '\t');
    ASSERT_EQ(resumen.size(), 3u);
    EXPECT_NE(celda(resumen, 1, "Densidad por frecuencias (N/m2)"), "-");
    for (const char* columna : {"Densidad por frecuencias (N/m2)", "Biomasa por frecuencias (g/m3)", "Linf"})
      EXPECT_EQ(celda(resumen, 2, columna), celda(resumen, 1, columna)) << columna;
  }
  // Refused as a data table refuses them, the others going on.
  escribe_todo("tramos.csv",
               "Tramo,Fichero,Superficie,Metros,Linf\n"
               "A,ejemplo.txt,\"1.53,42\",,\n"
               "B,ejemplo.txt,250,\"1,534\",\n"
               "C,ejemplo.txt,250,,\"3,2.5e%s%n\"\n"
               "D,ejemplo.txt,250,,\n");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir2"), 1);
  auto resumen = tabla(lee_todo("dir2/resumen.tsv"), '\t');
  ASSERT_EQ(resumen.size(), 5u);
  const char* const errores_esperados[] = {
      "fila 2: Superficie '1.53,42': cifras mal agrupadas; use 153.42",
      "fila 3: Metros '1,534': puede ser 1534 o 1.534; escriba uno de los dos",
      "fila 4: Linf '3,2.5e%s%n': cifras mal agrupadas; use 32.5e%s%n", ""};
  for (size_t f = 1; f < resumen.size(); f++) EXPECT_EQ(celda(resumen, f, "Error"), errores_esperados[f - 1]);
}

/* The bytes of a zip holding only a workbook's properties, with this
   author and last author, as Excel saves them. */
std::string libro_con_propiedades(const std::string& autor, const std::string& ultimo) {
  const std::string core = "<cp:coreProperties><dc:creator>" + autor + "</dc:creator><cp:lastModifiedBy>" +
                           ultimo + "</cp:lastModifiedBy></cp:coreProperties>";
  const std::string app = "<Properties><Application>Microsoft Excel</Application></Properties>";
  std::string orden = "python3 -c 'import sys, zipfile; z = zipfile.ZipFile(\"libro.zip\", \"w\"); "
                      "z.writestr(\"docProps/core.xml\", sys.argv[1]); z.writestr(\"docProps/app.xml\", sys.argv[2])' '" +
                      core + "' '" + app + "'";
  std::string salida, errores;
  if (ejecuta_orden(orden, &salida, &errores) != 0) return "<sin python3: " + errores + ">";
  std::string bytes = lee_todo("libro.zip");
  unlink("libro.zip");
  return bytes;
}

// ---- Refusals of the whole season: one line naming the file, nothing written ----

TEST_F(Campana, ATableOrAFolderThatCannotBeTakenRefusesTheSeasonBeforeAnyReachIsWritten) {
  std::string mil_y_uno = "Tramo;Fichero\n";
  for (int i = 0; i <= 1000; i++) mil_y_uno += "T" + std::to_string(i) + ";ejemplo.txt\n";
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  // Two reaches: a refusal must come before the first is written.
  const std::string dos = "Tramo;Fichero;Superficie\nT00;../ejemplo.txt;250\nT01;../ejemplo.txt;250\n";
  const std::string png_rgba = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\1\0\0\0\1\x08\x06\0\0\0\x1f\x15\xc4\x89"s;
  const struct {
    std::string tabla;  // where the table is, in the case's folder; "dir/" is the output folder
    std::string texto;  // the table; "" makes it a FIFO
    std::vector<std::pair<std::string, std::string>> antes;  // files already in dir
    std::string dice;   // the one line on standard error holds it
    std::string opciones = "";
  } casos[] = {
      {"t.csv", "", {}, "\u00abcaso0/t.csv\u00bb no es un fichero normal"},
      {"t.csv", mil_y_uno, {}, "mas de 1000 tramos: una campana admite hasta 1000; parta la tabla en varias"},
      // Regression: a NUL merged its row with the next one, T01 was lost.
      {"t.csv", "Tramo;Fichero\nT01\0x;ejemplo.txt\nT02;ejemplo.txt\n"s, {},
       "caso2/t.csv: fila 2: tiene un caracter nulo"},
      {"t.csv", "Tramo;Fichero;Notas\nT01;ejemplo.txt;" + std::string(70000, 'n') + "\n", {},
       "caso3/t.csv: fila 2: celda de mas de 65536 caracteres"},
      // Regression: the season replaced a file it had not written: the
      // table itself, a user's notes, images and PNGs of the user's.
      {"dir/resumen.csv", "Tramo;Fichero;Superficie\nT01;../../ejemplo.txt;250\n", {},
       "caso4/dir/resumen.csv: es la tabla de tramos; la campana no la sustituye"},
      {"t.csv", dos, {{"resumen.csv", "notas\n"}}, "caso5/dir/resumen.csv: no es un fichero de Pasadas"},
      {"t.csv", dos, {{"T01.txt", "notas\n"}}, "caso6/dir/T01.txt: no es un fichero de Pasadas"},
      {"t.csv", dos, {{"T013.bmp", "BM" + std::string(60, '\0')}}, "caso7/dir/T013.bmp: no es un fichero de Pasadas"},
      {"t.csv", dos, {{"T012.png", png_rgba}}, "caso8/dir/T012.png: no es un fichero de Pasadas", "--png"},
      {"t.csv", dos, {{"resumen.png", png_rgba}}, "caso9/dir/resumen.png: no es un fichero de Pasadas", "--imagenes png"},
      {"t.csv", dos, {{"resumen_diagnostico.csv", "notas\n"}},
       "caso10/dir/resumen_diagnostico.csv: no es un fichero de Pasadas"},
      // A workbook of the user's, or one of ours that a spreadsheet saved since.
      {"t.csv", dos, {{"resumen.xlsx", "notas\n"}}, "caso11/dir/resumen.xlsx: no es un fichero de Pasadas"},
      {"t.csv", dos, {{"resumen.xlsx", "PK\3\4" + std::string(60, '\0')}},
       "caso12/dir/resumen.xlsx: no es un fichero de Pasadas"},
      {"t.csv", dos, {{"resumen.xlsx", libro_con_propiedades("pasadas-informe", "Ana")}},
       "caso13/dir/resumen.xlsx: no es un fichero de Pasadas"},
      // Regression: the second species' summary page was written over the first's.
      {"t.csv", "Tramo;Especie;Fichero\nT00;S.trutta;../ejemplo.txt\nT01;S/trutta;../ejemplo.txt\n", {},
       "caso14/dir: las especies \u00abS.trutta\u00bb y \u00abS/trutta\u00bb darian el mismo nombre a su grafico "
       "resumen (resumen_S_trutta); cambie una de ellas"},
  };
  for (size_t i = 0; i < sizeof casos / sizeof *casos; i++) {
    const auto& c = casos[i];
    SCOPED_TRACE(c.dice);
    const std::string caso = "caso" + std::to_string(i), dir = caso + "/dir";
    ASSERT_EQ(mkdir(caso.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    for (auto& f : c.antes) escribe_todo(dir + "/" + f.first, f.second);
    const std::string tabla = caso + "/" + c.tabla;
    if (c.texto.empty())
      ASSERT_EQ(mkfifo(tabla.c_str(), 0600), 0);
    else
      escribe_todo(tabla, c.texto);
    auto antes = contenido_de(dir);
    EXPECT_EQ(informe(c.opciones + " --tramos " + tabla + " --carpeta " + dir), 1);
    EXPECT_NE(errores.find(c.dice), std::string::npos) << errores;
    EXPECT_EQ(std::count(errores.begin(), errores.end(), '\n'), 1) << errores;
    EXPECT_TRUE(contenido_de(dir) == antes) << "la carpeta ha cambiado";
  }
}

// What an earlier season wrote, or an empty file, is no user's: a season
// run again over its folder replaces it, also a summary of a version with
// other columns after the first ones.
TEST_F(Campana, ASeasonRunAgainReplacesWhatTheEarlierOneWrote) {
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero;Superficie\nT01;ejemplo.txt;250\nT02;ejemplo.txt;100\n");
  ASSERT_EQ(informe("--png --tramos tramos.csv --carpeta dir"), 0) << errores;
  auto primera = contenido_de("dir");
  EXPECT_EQ(informe("--png --tramos tramos.csv --carpeta dir"), 0) << errores;
  EXPECT_TRUE(contenido_de("dir") == primera) << "la segunda campana no es la primera";
  escribe_todo("dir/resumen.csv", "\xEF\xBB\xBFTramo;Especie;Fichero;Pasadas;Capturados;R;N\r\nT01;;ejemplo.txt;3;58;1;60\r\n");
  escribe_todo("dir/resumen_clases.csv", "");
  escribe_todo("dir/resumen.xlsx", "");
  escribe_todo("dir/T02.txt", "");
  EXPECT_EQ(informe("--png --tramos tramos.csv --carpeta dir"), 0) << errores;
  EXPECT_TRUE(contenido_de("dir") == primera) << "la segunda campana no es la primera";
}

// A Spanish spreadsheet must read the figures of a ";" summary as numbers.
TEST_F(Campana, LibreOfficeInASpanishLocaleReadsTheSummaryFiguresAsNumbers) {
  if (system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "sin LibreOffice";
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero;Superficie;Linf\nT1;ejemplo.txt;312,5;32\n");
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 0) << errores;
  // Separator ";", quote '"', UTF-8, from line 1, language es-ES.
  std::string orden = "cd dir && HOME=\"$PWD\" LC_ALL=es_ES.UTF-8 timeout 100 soffice --headless "
                      "--infilter=CSV:59,34,76,1,,3082 --convert-to fods resumen.csv";
  ASSERT_EQ(ejecuta_orden(orden, &salida, &errores), 0) << errores;
  std::string hoja = lee_todo("dir/resumen.fods");
  auto resumen = tabla(lee_todo("dir/resumen.csv"), ';');
  for (const char* columna : {"N", "ES", "Densidad por frecuencias (N/m2)", "a", "Linf"}) {
    std::string v = celda(resumen, 1, columna);
    std::replace(v.begin(), v.end(), ',', '.');
    while (v.find('.') != std::string::npos && (v.back() == '0' || v.back() == '.')) v.pop_back();
    EXPECT_NE(hoja.find("office:value-type=\"float\" office:value=\"" + v + "\""), std::string::npos)
        << columna << " " << v;
  }
}

/* A cell of a sheet as LibreOffice reads it: its type ("float", "string",
   "" when blank), its stored value and its text. */
struct CeldaHoja {
  std::string tipo, valor, texto;
};
using Hoja = std::vector<std::vector<CeldaHoja>>;

/* The value of attribute `nombre` in the tag `etiqueta`; "" when it has none. */
std::string atributo(const std::string& etiqueta, const std::string& nombre) {
  size_t i = etiqueta.find(" " + nombre + "=\"");
  if (i == std::string::npos) return "";
  i += nombre.size() + 3;
  return etiqueta.substr(i, etiqueta.find('"', i) - i);
}

/* The text of an element's content: its text:p paragraphs, tags left out. */
std::string texto_de(const std::string& contenido) {
  std::string texto;
  bool en_etiqueta = false;
  for (char c : contenido) {
    if (c == '<') en_etiqueta = true;
    else if (c == '>') en_etiqueta = false;
    else if (!en_etiqueta && c != '\n' && c != ' ') texto += c;
  }
  for (const auto& e : {std::make_pair("&lt;", "<"), std::make_pair("&gt;", ">"), std::make_pair("&quot;", "\""),
                        std::make_pair("&apos;", "'"), std::make_pair("&amp;", "&")})
    for (size_t i = texto.find(e.first); i != std::string::npos; i = texto.find(e.first, i + 1))
      texto.replace(i, strlen(e.first), e.second);
  return texto;  // spaces dropped: compared with a table's text alike
}

/* The sheets of a flat OpenDocument spreadsheet by name: rows of cells,
   repeated cells spread out, the trailing blank ones dropped. */
std::map<std::string, Hoja> hojas_de(const std::string& fods) {
  std::map<std::string, Hoja> hojas;
  for (size_t t = fods.find("<table:table "); t != std::string::npos; t = fods.find("<table:table ", t + 1)) {
    Hoja& hoja = hojas[atributo(fods.substr(t, fods.find('>', t) - t), "table:name")];
    size_t fin_tabla = fods.find("</table:table>", t);
    for (size_t f = fods.find("<table:table-row", t); f < fin_tabla; f = fods.find("<table:table-row", f + 1)) {
      hoja.emplace_back();
      size_t fin_fila = fods.find("</table:table-row>", f);
      for (size_t c = fods.find("<table:table-cell", f); c < fin_fila; c = fods.find("<table:table-cell", c + 1)) {
        size_t cierre = fods.find('>', c);
        std::string etiqueta = fods.substr(c, cierre - c);
        CeldaHoja celda{atributo(etiqueta, "office:value-type"), atributo(etiqueta, "office:value"), ""};
        if (etiqueta.back() != '/')
          celda.texto = texto_de(fods.substr(cierre + 1, fods.find("</table:table-cell>", cierre) - cierre - 1));
        std::string repetida = atributo(etiqueta, "table:number-columns-repeated");
        hoja.back().insert(hoja.back().end(), repetida.empty() ? 1 : std::min(std::stoi(repetida), 100), celda);
      }
      while (!hoja.back().empty() && hoja.back().back().tipo.empty()) hoja.back().pop_back();
      if (hoja.back().empty()) hoja.pop_back();
    }
  }
  return hojas;
}

/* The figure of a ";" table's cell, its decimal comma made a point; false
   when the cell is no figure. */
bool cifra_de(std::string celda, double* valor) {
  std::replace(celda.begin(), celda.end(), ',', '.');
  const char* fin = celda.data() + celda.size();
  std::from_chars_result r = std::from_chars(celda.data(), fin, *valor);
  return r.ec == std::errc() && r.ptr == fin && celda.find_first_not_of("-0123456789.") == std::string::npos;
}

// The workbook is the summary tables cell for cell, its figures numbers
// that a spreadsheet in Spanish or English reads as the tables' figures.
TEST_F(Campana, TheSummaryWorkbookHoldsTheTablesFiguresAsNumbersInSpanishAndEnglishLibreOffice) {
  if (system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "sin LibreOffice";
  ASSERT_EQ(system(("cp " + std::string(DIR_DATOS) + "/ejemplo.txt ejemplo.txt").c_str()), 0);
  escribe_todo("tramos.csv", "Tramo;Fichero;Especie;Superficie;Volumen;Linf\n"
                             "T1 R\xc3\xado;ejemplo.txt;;312,5;80;32\n"
                             "T2;ejemplo.txt;;1.250,5;;\n"
                             "T3;falta.txt;;100;;\n");
  ASSERT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1) << errores;
  EXPECT_NE(salida.find("dir/resumen_diagnostico.csv, dir/resumen.xlsx, "), std::string::npos) << salida;
  std::string version;
  ASSERT_EQ(ejecuta_orden(std::string(PROGRAMA_INFORME) + " --version", &version, &errores), 0);
  const char* const tablas[][2] = {{"Resumen", "resumen"}, {"Clases", "resumen_clases"},
                                   {"Diagn\xc3\xb3stico", "resumen_diagnostico"}};
  for (const char* idioma : {"es_ES.UTF-8", "en_US.UTF-8"}) {
    SCOPED_TRACE(idioma);
    std::string perfil = std::string("perfil_") + idioma;
    std::string orden = "cd dir && HOME=\"$PWD\" LANG=" + std::string(idioma) + " LC_ALL=" + idioma +
                        " timeout 100 soffice -env:UserInstallation=file://$PWD/" + perfil +
                        " --headless --convert-to fods --outdir " + perfil + " resumen.xlsx";
    ASSERT_EQ(ejecuta_orden(orden, &salida, &errores), 0) << errores;
    std::string fods = lee_todo("dir/" + perfil + "/resumen.fods");
    auto hojas = hojas_de(fods);
    size_t cifras = 0;
    for (auto& t : tablas) {
      SCOPED_TRACE(t[0]);
      auto filas = tabla(lee_todo(std::string("dir/") + t[1] + ".csv"), ';');
      const Hoja& hoja = hojas[t[0]];
      ASSERT_EQ(hoja.size(), filas.size());
      for (size_t f = 0; f < filas.size(); f++)
        for (size_t c = 0; c < filas[f].size(); c++) {
          CeldaHoja celda = c < hoja[f].size() ? hoja[f][c] : CeldaHoja{};
          double esperado;
          std::string donde = filas[0][c] + " fila " + std::to_string(f) + ": " + filas[f][c];
          // What a reach was given stays as its table wrote it: text.
          bool dado = filas[0][c].find(" dad") != std::string::npos;
          if (f > 0 && !dado && cifra_de(filas[f][c], &esperado)) {
            double leido = NAN;
            cifra_de(celda.valor, &leido);
            EXPECT_EQ(celda.tipo, "float") << donde;
            EXPECT_EQ(leido, esperado) << donde;
            // Shown with the table's decimals and the spreadsheet's own decimal sign.
            std::string visto = filas[f][c];
            if (idioma[0] == 'e' && idioma[1] == 'n') std::replace(visto.begin(), visto.end(), ',', '.');
            EXPECT_EQ(celda.texto, visto) << donde;
            cifras++;
          } else {
            std::string texto = filas[f][c];
            texto.erase(std::remove(texto.begin(), texto.end(), ' '), texto.end());
            EXPECT_EQ(celda.tipo, texto.empty() ? "" : "string") << donde;
            EXPECT_EQ(celda.texto, texto) << donde;
          }
        }
    }
    EXPECT_GT(cifras, 100u);  // the figures of two reaches, their classes and second opinions
    // Its header is bold; the sheet "Acerca de" says what the workbook is.
    const std::string estilo = atributo(fods.substr(fods.find("<table:table-cell", fods.find("table:name=\"Resumen\""))),
                                        "table:style-name");
    size_t definicion = fods.find("<style:style style:name=\"" + estilo + "\"");
    ASSERT_NE(definicion, std::string::npos) << estilo;
    EXPECT_NE(fods.substr(definicion, fods.find("</style:style>", definicion) - definicion).find("fo:font-weight=\"bold\""),
              std::string::npos);
    const Hoja& acerca = hojas["Acerca de"];
    ASSERT_GE(acerca.size(), 3u);
    std::string sin_espacios = version.substr(0, version.find('\n'));
    sin_espacios.erase(std::remove(sin_espacios.begin(), sin_espacios.end(), ' '), sin_espacios.end());
    EXPECT_EQ(acerca[0][1].texto, sin_espacios);
    EXPECT_EQ(acerca[1][1].texto, "2023-11-14");
    EXPECT_EQ(acerca[2][1].texto, "tramos.csv");
  }
  // The header row stays in view.
  std::string hoja1;
  ASSERT_EQ(ejecuta_orden("python3 -c 'import zipfile; print(zipfile.ZipFile(\"dir/resumen.xlsx\")"
                          ".read(\"xl/worksheets/sheet1.xml\").decode())'", &hoja1, &errores), 0) << errores;
  EXPECT_NE(hoja1.find("ySplit=\"1\""), std::string::npos);
  EXPECT_NE(hoja1.find("state=\"frozen\""), std::string::npos);
  // Saved again by a spreadsheet, the workbook is the user's: a season keeps it.
  std::string orden = "cd dir && HOME=\"$PWD\" timeout 100 soffice -env:UserInstallation=file://$PWD/perfil_otro "
                      "--headless --convert-to xlsx --outdir guardado resumen.xlsx";
  ASSERT_EQ(ejecuta_orden(orden, &salida, &errores), 0) << errores;
  ASSERT_EQ(rename("dir/guardado/resumen.xlsx", "dir/resumen.xlsx"), 0);
  auto antes = contenido_de("dir");
  EXPECT_EQ(informe("--tramos tramos.csv --carpeta dir"), 1);
  EXPECT_NE(errores.find("dir/resumen.xlsx: no es un fichero de Pasadas; elija otra carpeta"), std::string::npos)
      << errores;
  EXPECT_TRUE(contenido_de("dir") == antes) << "la carpeta ha cambiado";
}

}  // namespace
