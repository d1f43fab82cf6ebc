// pasadas-informe, the batch report command, run as a script would run it:
// with no display, in a folder of its own. Golden reports: see
// tests/unit/informe_test.cpp.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "informes.h"

namespace {

const char* const OPCIONES_DIRECTAS = "--superficie 250 --volumen 125.5 --metros 50 --linf 32 --meses 6";

class Lotes : public ::testing::Test {
 protected:
  void SetUp() override { carpeta.reset(new CarpetaPropia); }
  /* Runs `programa` with `argumentos` in the test's folder, with the
     variables of `entorno` ("NAME=value ..."); its exit status. */
  int ejecuta(const std::string& argumentos, const std::string& programa = PROGRAMA_INFORME,
              const std::string& entorno = "") {
    // timeout: a run that hangs fails here and leaves no process behind
    return ejecuta_orden("env -u DISPLAY " + entorno + " timeout 60 " + programa + " " + argumentos,
                         &salida, &errores);
  }
  std::string golden(const char* nombre) { return lee_todo(dato_prueba(nombre)); }
  static std::string datos(const char* nombre) { return std::string(DIR_DATOS) + "/" + nombre; }

  std::unique_ptr<CarpetaPropia> carpeta;
  std::string salida, errores;
};

TEST_F(Lotes, ExampleWithMeasuresLinfAndMonthsGivesTheExportGolden) {
  ASSERT_EQ(ejecuta(std::string(OPCIONES_DIRECTAS) + " ejemplo tramo1.txt"), 0) << errores;
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
  comprueba_imagenes_tramo1(".");
  EXPECT_EQ(errores, "");
  EXPECT_NE(salida.find("58 peces, intervalo del 95%: 38 - 95"), std::string::npos) << salida;
  EXPECT_NE(salida.find("peces leidos: 38 (pasada 1: 17, pasada 2: 13, pasada 3: 8)\n"),
            std::string::npos)
      << salida;
}

TEST_F(Lotes, ClasslessFileWithLimitsGivesTheExampleReport) {
  // The example's classes are the intervals (0, 9], (9, 14], (14, 20], (20, 25], (25, 30].
  std::string opciones = std::string(OPCIONES_DIRECTAS) + " --limites 9,14,20,25,30 ";
  ASSERT_EQ(ejecuta(opciones + datos("ejemplo3.txt") + " tramo1.txt"), 0) << errores;
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
  EXPECT_EQ(salida.rfind("peces leidos: 38 (pasada 1: 17, pasada 2: 13, pasada 3: 8)\n", 0), 0u)
      << salida;
}

// Regression: "312,5" was refused; a Spanish user types the decimal comma.
TEST_F(Lotes, DecimalCommasInTheOptionsGiveTheSameReport) {
  std::string opciones = "--superficie 250 --volumen 125,5 --metros 50,0 --linf 32 --meses 6 "
                         "--limites '9,0;14;20;25;30' ";
  ASSERT_EQ(ejecuta(opciones + datos("ejemplo3.txt") + " tramo1.txt"), 0) << errores;
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
}

TEST_F(Lotes, UpperLimitsCloseTheirIntervals) {
  // 9.4 cm is not above 9.5: class 0; 15.0 cm is not above 15: class 1.
  ASSERT_EQ(ejecuta("--limites 9.5,15,20,25,30 " + datos("ejemplo3.txt") + " t.txt"), 0);
  std::string informe = lee_todo("t.txt");
  EXPECT_NE(informe.find("1\t9.40\t7.64\t0\t\n"), std::string::npos);
  EXPECT_NE(informe.find("1\t15.00\t28.00\t1\t\n"), std::string::npos);
  EXPECT_NE(informe.find("1\t15.40\t27.90\t2\t\n"), std::string::npos);
}

TEST_F(Lotes, WithoutLinfOrBelowTheLongestFishTheReportHasNoGrowthFitAndSaysSo) {
  // --linf 29.49 is below the longest fish, 29.5 cm
  for (const char* linf : {"", "--linf 29.49 "}) {
    SCOPED_TRACE(linf);
    ASSERT_EQ(ejecuta(std::string(linf) + "ejemplo previo.txt"), 0) << errores;
    EXPECT_EQ(primera_diferencia(lee_todo("previo.txt"), golden("informe_ejemplo_previo.txt")), "");
    EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"previo.txt", "previo4.bmp", "previo2.bmp",
                                                       "previo1.bmp", "previo3.bmp"}));
    EXPECT_NE(errores.find("no se hace el ajuste de von Bertalanffy"), std::string::npos) << errores;
  }
  EXPECT_NE(errores.find("29.50"), std::string::npos) << errores;
}

// Regression: a name with accented letters gave four empty images, because
// the image's name was re-encoded on its way to the file.
TEST_F(Lotes, NamesWithAccentsBlanksOrLatin1BytesGetTheSameFilesAsAPlainName) {
  ASSERT_EQ(ejecuta(std::string(OPCIONES_DIRECTAS) + " ejemplo tramo1.txt"), 0) << errores;
  ASSERT_EQ(mkdir("Campa\xc3\xb1" "a 2024", 0755), 0);
  const char* const nombres[] = {"R\xc3\xado Tera.txt", "La Ba\xc3\xb1" "eza-2.txt",
                                 "a\xf1o.txt", "Campa\xc3\xb1" "a 2024/x.txt"};
  for (const char* nombre : nombres) {
    SCOPED_TRACE(nombre);
    std::string raiz = std::string(nombre).substr(0, std::string(nombre).find('.'));
    // a desktop in UTF-8, as most are
    ASSERT_EQ(ejecuta(std::string(OPCIONES_DIRECTAS) + " ejemplo '" + nombre + "'",
                      PROGRAMA_INFORME, "LANG=C.UTF-8 LC_ALL=C.UTF-8"),
              0) << errores;
    EXPECT_TRUE(lee_todo(nombre) == lee_todo("tramo1.txt"));
    for (const char* d : {"4", "2", "1", "3"}) {
      std::string imagen = lee_todo(raiz + d + ".bmp");
      EXPECT_GT(imagen.size(), 0u) << d;
      EXPECT_TRUE(imagen == lee_todo(std::string("tramo1") + d + ".bmp")) << d;
    }
  }
  EXPECT_EQ(ficheros_en(".").size(), 5u + 3 * 5 + 1);  // nothing else left beside them
  EXPECT_EQ(ficheros_en("Campa\xc3\xb1" "a 2024").size(), 5u);
}

TEST_F(Lotes, HelpIsInSpanishAndWritesNothing) {
  EXPECT_EQ(ejecuta("--help"), 0);
  EXPECT_NE(salida.find("Uso: pasadas-informe [opciones] DATOS INFORME"), std::string::npos);
  EXPECT_NE(salida.find("--limites"), std::string::npos);
  EXPECT_TRUE(ficheros_en(".").empty());
}

// The manual page had no entry for --tramo, --especie or --comprobar, and
// the program no --version.
TEST_F(Lotes, TheManualPageDocumentsEveryOptionOfTheHelpAndVersionIsThePackages) {
  const char* const LETRAS = "abcdefghijklmnopqrstuvwxyz";
  // The options named by the heading line of each of the manual's entries.
  std::istringstream manual(lee_todo(std::string(DIR_PRUEBAS) + "/../paquete/pasadas-informe.1"));
  std::set<std::string> documentadas;
  for (std::string linea, antes; std::getline(manual, linea); antes = linea)
    for (size_t i = antes == ".TP" ? linea.find("\\-\\-") : std::string::npos; i != std::string::npos;
         i = linea.find("\\-\\-", i + 1))
      documentadas.insert(linea.substr(i + 4, linea.find_first_not_of(LETRAS, i + 4) - i - 4));
  ASSERT_EQ(ejecuta("--help"), 0);
  std::set<std::string> ayuda;
  for (size_t i = salida.find("--"); i != std::string::npos; i = salida.find("--", i + 2))
    if (salida.find_first_of(LETRAS, i + 2) == i + 2)
      ayuda.insert(salida.substr(i + 2, salida.find_first_not_of(LETRAS, i + 2) - i - 2));
  EXPECT_GE(ayuda.size(), 17u);
  for (const std::string& opcion : ayuda)
    EXPECT_TRUE(documentadas.count(opcion)) << "--" << opcion << " sin entrada en pasadas-informe.1";
  EXPECT_NE(salida.find("hasta 1000 tramos"), std::string::npos) << salida;
  // --version says the changelog's latest version, and writes nothing.
  std::string changelog = lee_todo(std::string(DIR_PRUEBAS) + "/../paquete/changelog");
  std::string version = changelog.substr(changelog.find('(') + 1);
  version = version.substr(0, version.find(')'));
  EXPECT_EQ(ejecuta("--version"), 0);
  EXPECT_EQ(salida, "pasadas-informe " + version + "\n");
  EXPECT_TRUE(ficheros_en(".").empty());
}

TEST_F(Lotes, FiftyFilesInAShellLoopGiveFiftyReports) {
  // Samples of three passes and four classes whose catch falls pass after
  // pass, each of a different size.
  for (int m = 0; m < 50; m++) {
    std::string texto = "Pasada Longitud Peso Clase\n";
    for (int clase = 0; clase < 4; clase++)
      for (int pasada = 1; pasada <= 3; pasada++)
        for (int i = 0; i < (4 - pasada) * (2 + (m + clase) % 3); i++) {
          float l = 5 + 6 * clase + ((i * 7 + m) % 10) * 0.3f;
          texto += std::to_string(pasada) + " " + std::to_string(l) + " " +
                   std::to_string(0.01f * l * l * l) + " " + std::to_string(clase) + "\n";
        }
    escribe_todo("tramo" + std::to_string(m) + ".dat", texto);
  }
  std::string bucle = "sh -c 'for f in tramo*.dat; do env -u DISPLAY " + std::string(PROGRAMA_INFORME) +
                      " --linf 40 --superficie 100 \"$f\" \"${f%.dat}.txt\" >/dev/null || exit 1; done'";
  ASSERT_EQ(system(bucle.c_str()), 0);
  for (int m = 0; m < 50; m++) {
    std::string informe = lee_todo("tramo" + std::to_string(m) + ".txt");
    EXPECT_NE(informe.find("9.2. Ajuste Polinomial:"), std::string::npos) << m;
    EXPECT_TRUE(ficheros_en(".").count("tramo" + std::to_string(m) + "3.bmp")) << m;
  }
  EXPECT_EQ(ficheros_en(".").size(), 50u * 6);
}

// ---- Spreadsheet tables ----

namespace {
/* The example's fish as rows of words: pass, length, weight, class. */
std::vector<std::vector<std::string>> peces_del_ejemplo() {
  std::istringstream en(lee_todo(std::string(DIR_DATOS) + "/ejemplo.txt"));
  std::vector<std::vector<std::string>> filas;
  std::string cabecera;
  std::getline(en, cabecera);
  std::vector<std::string> fila(4);
  while (en >> fila[0] >> fila[1] >> fila[2] >> fila[3]) filas.push_back(fila);
  return filas;
}

std::string con_coma(std::string numero) {
  std::replace(numero.begin(), numero.end(), '.', ',');
  return numero;
}
}  // namespace

TEST_F(Lotes, TheExampleAsATableOfEachSeparatorGivesTheExportGolden) {
  const std::string bom = "\xEF\xBB\xBF";
  std::string punto_y_coma = bom + "Estaci\xC3\xB3n;N\xC2\xBA pasada;\"Longitud (cm)\";Peso (g);Clase de edad\r\n";
  std::string coma = bom + "Pase,Talla (cm),PESO (g),Edad,Observaci\xC3\xB3n\n";
  std::string tabulador = bom + "Especie\tPasada\tLT (cm)\tPeso (g)\tClase\n";
  for (const auto& f : peces_del_ejemplo()) {
    punto_y_coma += "\"R\xC3\xADo Tera\";" + f[0] + ";" + con_coma(f[1]) + ";\"" + con_coma(f[2]) +
                    "\";" + f[3] + "\r\n";
    coma += f[0] + "," + f[1] + "," + f[2] + "," + f[3] + ",\"red \"\"nueva\"\", bien\"\n";
    tabulador += "Trucha com\xC3\xBAn\t" + f[0] + "\t" + con_coma(f[1]) + "\t" + f[2] + "\t" + f[3] + "\n";
  }
  escribe_todo("punto_y_coma.csv", punto_y_coma);
  escribe_todo("coma.csv", coma);
  escribe_todo("tabulador.txt", tabulador);
  for (const char* tabla : {"punto_y_coma.csv", "coma.csv", "tabulador.txt"}) {
    SCOPED_TRACE(tabla);
    ASSERT_EQ(ejecuta(std::string(OPCIONES_DIRECTAS) + " " + tabla + " tramo1.txt"), 0) << errores;
    EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
  }
}

/* The decimal number `numero` times 10^potencia, written out by moving its point. */
std::string corre_coma(const std::string& numero, int potencia) {
  std::string cifras = numero;
  size_t punto = cifras.find('.');
  if (punto == std::string::npos) punto = cifras.size();
  else cifras.erase(punto, 1);
  long p = (long)punto + potencia;
  while (p <= 0) cifras.insert(0, "0"), p++;
  while ((size_t)p > cifras.size()) cifras += "0";
  std::string r = cifras.substr(0, p) + (p < (long)cifras.size() ? "." + cifras.substr(p) : "");
  while (r.size() > 1 && r[0] == '0' && r[1] != '.') r.erase(0, 1);
  return r;
}

TEST_F(Lotes, TheExampleInMillimetresAndKilogramsOrMilligramsGivesTheGoldenReport) {
  std::string mm_kg = "Pasada;Longitud (mm);Peso (kg);Clase\n", mm_mg = "Pasada\tLT (MM)\tPeso (mg)\tClase\n";
  for (const auto& f : peces_del_ejemplo()) {
    mm_kg += f[0] + ";" + con_coma(corre_coma(f[1], 1)) + ";" + con_coma(corre_coma(f[2], -3)) + ";" + f[3] + "\n";
    mm_mg += f[0] + "\t" + corre_coma(f[1], 1) + "\t" + corre_coma(f[2], 3) + "\t" + f[3] + "\n";
  }
  escribe_todo("mm_kg.csv", mm_kg);
  escribe_todo("mm_mg.txt", mm_mg);
  for (const char* tabla : {"mm_kg.csv", "mm_mg.txt"}) {
    SCOPED_TRACE(tabla);
    ASSERT_EQ(ejecuta(std::string(OPCIONES_DIRECTAS) + " " + tabla + " tramo1.txt"), 0) << errores;
    EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
  }
  ASSERT_EQ(ejecuta("--comprobar mm_kg.csv"), 0) << errores;
  EXPECT_NE(salida.find("Unidades: longitud en mm (se divide entre 10: cm), peso en kg (se multiplica "
                        "por 1000: g)\n"), std::string::npos) << salida;
  EXPECT_NE(salida.find("Pez mas largo: 29.50 cm"), std::string::npos) << salida;
}

TEST_F(Lotes, EachReachAndSpeciesOfASeasonTableGetsTheReportOfItsFishAlone) {
  // The example's fish shared out over three reaches and two species; each
  // choice must give the report of a file of words holding its fish alone.
  const char* const tramos[] = {"T01 R\xC3\xADo Tera", "T02 Esla", "T03 La Ba\xC3\xB1" "eza"};
  const char* const especies[] = {"Trucha", "Barbo"};
  std::string temporada = "Tramo;Especie;Pasada;Longitud (cm);Peso (g);Clase\n";
  std::string solos[3][2];
  auto peces = peces_del_ejemplo();
  for (size_t i = 0; i < peces.size(); i++) {
    const auto& f = peces[i];
    int t = i % 3, e = (i / 3) % 2;
    temporada += std::string(tramos[t]) + ";" + especies[e] + ";" + f[0] + ";" + con_coma(f[1]) +
                 ";" + con_coma(f[2]) + ";" + f[3] + "\n";
    solos[t][e] += f[0] + " " + f[1] + " " + f[2] + " " + f[3] + "\n";
  }
  escribe_todo("temporada.csv", temporada);
  for (int t = 0; t < 3; t++)
    for (int e = 0; e < 2; e++) {
      SCOPED_TRACE(std::string(tramos[t]) + " " + especies[e]);
      escribe_todo("solo.txt", "Pasada Longitud Peso Clase\n" + solos[t][e]);
      ASSERT_EQ(ejecuta("--linf 40 solo.txt solo.inf"), 0) << errores;
      std::string eleccion = std::string(" --tramo '") + tramos[t] + "' --especie " + especies[e];
      ASSERT_EQ(ejecuta("--linf 40" + eleccion + " temporada.csv elegido.inf"), 0) << errores;
      EXPECT_EQ(primera_diferencia(lee_todo("elegido.inf"), lee_todo("solo.inf")), "");
    }
  EXPECT_EQ(ejecuta("--linf 40 temporada.csv sin_eleccion.inf"), 1);
  for (const char* tramo : tramos) EXPECT_NE(errores.find(tramo), std::string::npos) << errores;
  EXPECT_NE(errores.find("--tramo"), std::string::npos) << errores;
  EXPECT_EQ(std::count(errores.begin(), errores.end(), '\n'), 1) << errores;
  EXPECT_FALSE(ficheros_en(".").count("sin_eleccion.inf"));
}

TEST_F(Lotes, CheckingAFileSaysWhatWasReadAndWritesNothing) {
  escribe_todo("tabla.csv", "Pasada;Longitud (cm);Peso (g)\n1;10,5;12\n1;11;13\n3;30;300\n");
  ASSERT_EQ(ejecuta("--comprobar tabla.csv"), 0) << errores;
  for (const char* linea : {"separador \";\" (coma o punto decimal)", "Longitud = \"Longitud (cm)\"",
                            "Peces leidos: 3", "Peces por pasada: 1: 2, 2: 0, 3: 1",
                            "Pez mas largo: 30.00 cm", "pez mas pesado: 300.00 g",
                            "R (muestra completa): 0.6667; la estimacion es posible",
                            "la pasada 2 no tiene peces", "el informe necesita --limites"})
    EXPECT_NE(salida.find(linea), std::string::npos) << linea << "\n" << salida;
  escribe_todo("mala.csv", "Pasada;Longitud;Peso\n1;10,5;\n");
  EXPECT_EQ(ejecuta("--comprobar mala.csv"), 1);
  EXPECT_NE(errores.find("Linea 2, columna Peso: celda vacia"), std::string::npos) << errores;
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"tabla.csv", "mala.csv"}));
}

// Regression: fish of the first pass alone were told "hace falta 0 < R < 0.0".
TEST_F(Lotes, CheckingOnePassSaysItCannotBeEstimatedAndSuggestsPasadas) {
  escribe_todo("una.csv", "Pasada;Longitud;Peso\n1;10,5;12\n1;11;13\n");
  ASSERT_EQ(ejecuta("--comprobar una.csv"), 0) << errores;
  EXPECT_NE(salida.find("R (muestra completa): -; la estimacion no es posible con una sola pasada\n"),
            std::string::npos) << salida;
  EXPECT_NE(salida.find("  solo hay una pasada: si se pesco mas de una, digalo con --pasadas N\n"),
            std::string::npos) << salida;
  EXPECT_EQ(salida.find("0 < R"), std::string::npos) << salida;
  // Told the passes fished, the check is the usual one.
  ASSERT_EQ(ejecuta("--comprobar --pasadas 3 una.csv"), 0) << errores;
  EXPECT_NE(salida.find("hace falta 0 < R < 1.0"), std::string::npos) << salida;
  EXPECT_EQ(salida.find("una sola pasada"), std::string::npos) << salida;
}

// ---- Refusals: one line naming what is wrong, no file written or overwritten ----

TEST_F(Lotes, EveryRefusalLeavesTheExistingReportUntouched) {
  escribe_todo("malo.dat", "Pasada Longitud Peso Clase\n1 27.4 103.41 4\n1 -3 12 0\n");
  escribe_todo("vacio.dat", "Pasada Longitud Peso Clase\n");
  ASSERT_EQ(mkdir("carpeta", 0755), 0);
  ASSERT_EQ(mkdir("d2.bmp", 0755), 0);  // where image 2 of d.txt would go
  const std::string foto = "BM una fotografia del tramo";
  escribe_todo("foto2.bmp", foto);  // the user's own, where image 2 of foto.txt would go
  ASSERT_EQ(mkfifo("carpeta/tuberia", 0600), 0);  // its opening waits for a writer
  const struct {
    std::string argumentos;
    int estado;
    const char* dice;  // part of the one line on standard error
  } casos[] = {
      {"malo.dat informe.txt", 1, "malo.dat: Linea 3: longitud \u00ab-3\u00bb: se espera"},
      {"vacio.dat informe.txt", 1, "vacio.dat: no tiene ningun registro"},
      {"no_existe.dat informe.txt", 1, "no_existe.dat: no se puede abrir"},
      {"carpeta/tuberia informe.txt", 1, "\u00abcarpeta/tuberia\u00bb no es un fichero normal"},
      {"/dev/zero informe.txt", 1, "\u00ab/dev/zero\u00bb no es un fichero normal"},
      {"--comprobar carpeta", 1, "\u00abcarpeta\u00bb no es un fichero normal"},
      {"--limites 9,14 " + datos("ejemplo3.txt") + " informe.txt", 1, "mas largos que el ultimo"},
      {"--limites 9,8 " + datos("ejemplo3.txt") + " informe.txt", 1, "8 no es superior"},
      {"--limites 9 ejemplo informe.txt", 1, "el ejemplo ya tiene"},
      {"ejemplo no_hay/informe.txt", 1, "no_hay/informe.txt: no se puede crear"},
      {"ejemplo carpeta", 1, "carpeta: no se puede crear"},
      {"ejemplo d.txt", 1, "d2.bmp: no se puede crear el grafico"},
      {"ejemplo foto.txt", 1, "foto2.bmp: no es un grafico de Pasadas; elija otro nombre para el informe"},
      {"ejemplo malo.dat", 1, "malo.dat: no es un informe de Pasadas"},
      {"ejemplo datas.dat", 1, "datas.dat: no es un informe de Pasadas"},
      {"ejemplo " + std::string(107, 'n') + ".txt", 1, "nnn.txt: el nombre no cabe"},
      {"informe.txt informe.txt", 1, "informe.txt: no tiene ningun registro"},
      {"--linf 3,5,1 ejemplo informe.txt", 2, "--linf: '3,5,1' no es un numero"},
      {"--limites '9,5,15;20' " + datos("ejemplo3.txt") + " informe.txt", 1, "'9,5,15' no es"},
      {"--superficie 1.234 ejemplo informe.txt", 2, "--superficie: '1.234'"},
      {"--meses 12.5 ejemplo informe.txt", 2, "--meses: 12.5 supera"},
      {"--metros ejemplo informe.txt", 2, "--metros: 'ejemplo'"},
      {"--volumen= ejemplo informe.txt", 2, "--volumen necesita un valor"},
      {"--color rojo ejemplo informe.txt", 2, "opcion desconocida: --color"},
      {"ejemplo", 2, "falta el INFORME"},
      {"ejemplo informe.txt otro.txt", 2, "sobra el argumento 'otro.txt'"},
  };
  const std::string ayer = "En orden descendente se exponen los siguientes resultados:\n\nde ayer\n";
  escribe_todo("informe.txt", ayer);
  for (auto& c : casos) {
    SCOPED_TRACE(c.argumentos);
    EXPECT_EQ(ejecuta(c.argumentos), c.estado);
    EXPECT_NE(errores.find(c.dice), std::string::npos) << errores;
    EXPECT_EQ(std::count(errores.begin(), errores.end(), '\n'), 1) << errores;
    EXPECT_EQ(lee_todo("informe.txt"), ayer);
    EXPECT_EQ(ficheros_en("."),
              (std::set<std::string>{"informe.txt", "malo.dat", "vacio.dat", "carpeta", "d2.bmp", "foto2.bmp"}));
    EXPECT_EQ(lee_todo("foto2.bmp"), foto);
  }
}

TEST_F(Lotes, TheDataFileIsNeverReplacedByItsReport) {
  std::string muestra = lee_todo(datos("ejemplo.txt"));
  escribe_todo("tramo.txt", muestra);
  EXPECT_EQ(ejecuta("tramo.txt ./tramo.txt"), 1);
  EXPECT_NE(errores.find("es el fichero de datos"), std::string::npos);
  EXPECT_EQ(lee_todo("tramo.txt"), muestra);
}

TEST_F(Lotes, ResourceFileIsFoundBesideTheProgramOrInItsShareFolderAndTheRefusalNamesBoth) {
  // A copy in bin/ with no datas.dat beside it, nor in share/pasadas/ above.
  ASSERT_EQ(system(("mkdir -p bin share/pasadas && cp " + std::string(PROGRAMA_INFORME) +
                    " bin/pasadas-informe").c_str()),
            0);
  std::string copia = carpeta->ruta + "/bin/pasadas-informe";
  EXPECT_EQ(ejecuta("ejemplo tramo.txt", copia), 1);
  EXPECT_NE(errores.find(carpeta->ruta + "/bin/, en " + carpeta->ruta + "/share/pasadas/"),
            std::string::npos)
      << errores;
  EXPECT_FALSE(ficheros_en(".").count("tramo.txt"));
  // The installed layout: bin/pasadas-informe and share/pasadas/datas.dat.
  std::string datas = std::string(PROGRAMA_INFORME);
  datas = datas.substr(0, datas.rfind('/') + 1) + "datas.dat";
  ASSERT_EQ(system(("cp " + datas + " share/pasadas/").c_str()), 0);
  EXPECT_EQ(ejecuta("ejemplo tramo.txt", copia), 0) << errores;
  EXPECT_EQ(primera_diferencia(lee_todo("tramo.txt"), golden("informe_ejemplo_previo.txt")), "");
}

}  // namespace
