// Reading a data file's records: both layouts, what ends the records, and
// every kind of record that makes the whole file be refused.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "informes.h"
#include "sample.h"
#include "shell.h"
#include "sin_ventana.h"

namespace {

/* Reads a text as a data file; keeps the fish and the message. */
struct Lectura {
  int pasadas[MAX_PECES], clases[MAX_PECES];
  float longitudes[MAX_PECES], pesos[MAX_PECES];
  char mensaje[LARGO_MENSAJE_LECTURA];
  int n;

  Lectura(const std::string& texto, int con_clases) {
    FILE* f = tmpfile();
    fwrite(texto.data(), 1, texto.size(), f);
    rewind(f);
    for (int i = 0; i < MAX_PECES; i++) clases[i] = -7;
    n = lee_muestra(f, con_clases, pasadas, longitudes, pesos, clases, mensaje, sizeof mensaje);
    fclose(f);
  }
};

const char CON_CLASES[] =
    "Pasada Longitud Peso Clase\n"
    "1 27.4 103.41 4\n"
    "1 27.2 112.11 4\n"
    "2 5.9 1.75 0\n";

}  // namespace

TEST(Lectura, FileWithClassesGivesItsFishInFileOrder) {
  Lectura l(CON_CLASES, 1);
  ASSERT_EQ(l.n, 3);
  EXPECT_EQ(l.pasadas[0], 1);
  EXPECT_EQ(l.pasadas[2], 2);
  EXPECT_EQ(l.longitudes[1], 27.2f);
  EXPECT_EQ(l.pesos[2], 1.75f);
  EXPECT_EQ(l.clases[0], 4);
  EXPECT_EQ(l.clases[1], 4);
  EXPECT_EQ(l.clases[2], 0);
  EXPECT_EQ(numero_clases(l.clases, l.n), 5);
  EXPECT_EQ(calculo_pasadas(l.pasadas, l.n), 2);
  EXPECT_STREQ(l.mensaje, "");
}

TEST(Lectura, RecordsNeedNotBeOnePerLine) {
  Lectura l("Pasada Longitud Peso Clase\n1 27.4 103.41 4 1\t27.2\r\n112.11\n\n 4\n", 1);
  ASSERT_EQ(l.n, 2);
  EXPECT_EQ(l.longitudes[1], 27.2f);
  EXPECT_EQ(l.pesos[1], 112.11f);
  EXPECT_EQ(l.clases[1], 4);
}

// A class as every screen and the tables write it, "4+", was refused here alone.
TEST(Lectura, AClassWrittenAsTheScreensWriteItIsReadAsItsNumber) {
  std::string mas = "Pasada Longitud Peso Clase\n1 27.4 103.41 4+\n1 27.2 112.11 4\n2 5.9 1.75 0+\n";
  Lectura l(mas, 1), sin_mas(CON_CLASES, 1);
  ASSERT_EQ(l.n, 3) << l.mensaje;
  for (int i = 0; i < l.n; i++) EXPECT_EQ(l.clases[i], sin_mas.clases[i]) << i;
}

TEST(Lectura, FileWithoutClassesLeavesClassesUntouched) {
  Lectura l("Pasada Longitud Peso\n3 12 7.5\n1 .5 1e1\n", 0);
  ASSERT_EQ(l.n, 2);
  EXPECT_EQ(l.pasadas[0], 3);
  EXPECT_EQ(l.longitudes[0], 12.0f);
  EXPECT_EQ(l.longitudes[1], 0.5f);
  EXPECT_EQ(l.pesos[1], 10.0f);
  EXPECT_EQ(l.clases[0], -7);
}

TEST(Lectura, AFooterEndsTheRecordsHarmlessly) {
  // Regression: a footer word starting like "inf" or "nan" refused the file.
  for (const char* pie : {"Total: 3 peces 2.5 x\n", "Informe de campo\n", "Nancy, 3 de mayo\n"}) {
    Lectura l(std::string(CON_CLASES) + pie, 1);
    EXPECT_EQ(l.n, 3) << pie;
    EXPECT_STREQ(l.mensaje, "") << pie;
  }
}

TEST(Lectura, HeaderWordsOfAnyLengthAreSkipped) {
  std::string largo(5000, 'L');
  Lectura l("Pasada " + largo + " Peso Clase\n2 10.5 9.25 1\n", 1);
  ASSERT_EQ(l.n, 1);
  EXPECT_EQ(l.pasadas[0], 2);
}

TEST(Lectura, EmptyFileOrHeaderOnlyGivesNoFish) {
  EXPECT_EQ(Lectura("", 1).n, 0);
  EXPECT_EQ(Lectura("Pasada Longitud", 1).n, 0);
  EXPECT_EQ(Lectura("Pasada Longitud Peso Clase\n", 1).n, 0);
}

TEST(Lectura, ExactlyTenThousandRecordsAreTaken) {
  std::string texto = "P L W\n";
  for (int i = 0; i < MAX_PECES; i++) texto += "1 10.5 12.25\n";
  Lectura l(texto, 0);
  EXPECT_EQ(l.n, MAX_PECES);
}

// ---- Files refused whole, each with the line at fault ----

namespace {
struct Rechazo {
  std::string texto;
  int con_clases;
  const char* mensaje;
};

// Each refusal names the line at fault and quotes what stands there.
const Rechazo RECHAZOS[] = {
      {"P L W C\n1 27.4 103.41 4\n1.5 27.2 112.11 4\n", 1,
       "<Linea 3: pasada \xab" "1.5\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\n0 27.4 103.41 4\n", 1, "<Linea 2: pasada \xab" "0\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\n21 27.4 103.41 4\n", 1, "<Linea 2: pasada \xab" "21\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\n-1 27.4 103.41 4\n", 1, "<Linea 2: pasada \xab-1\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\nnan 27.4 103.41 4\n", 1, "<Linea 2: pasada \xabnan\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\n-Infinity 27.4 103.41 4\n", 1,
       "<Linea 2: pasada \xab-Infinity\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\n99999999999999999999 27.4 103.41 4\n", 1,
       "<Linea 2: pasada \xab" "99999999999999999999\xbb: se espera un entero de 1 a 20>"},
      {"P L W C\n1 27.4 103.41 4\n2 nan 7 1\n", 1,
       "<Linea 3: longitud \xabnan\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1\n\ninf 7\n", 0, "<Linea 4: longitud \xabinf\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 0 7\n", 0, "<Linea 2: longitud \xab" "0\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 -3.5 7\n", 0, "<Linea 2: longitud \xab-3.5\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 12abc 7\n", 0, "<Linea 2: longitud \xab" "12abc\xbb: se espera un numero mayor que 0>"},
      // Regression: a NUL cut its word short, "10\0x" read as 10.
      {std::string("P L W\n1 27 10\0x\n", 16), 0, "<Linea 2: peso \xab" "10?x\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 12.5 peso\n", 0, "<Linea 2: peso \xabpeso\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 12.5 0.0\n", 0, "<Linea 2: peso \xab" "0.0\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 12.5 -INF\n", 0, "<Linea 2: peso \xab-INF\xbb: se espera un numero mayor que 0>"},
      {"P L W C\n1 12.5 3 99\n", 1, "<Linea 2: clase \xab" "99\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 -1\n", 1, "<Linea 2: clase \xab-1\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 2.5\n", 1, "<Linea 2: clase \xab" "2.5\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 dos\n", 1, "<Linea 2: clase \xab" "dos\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 4++\n", 1, "<Linea 2: clase \xab" "4++\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 99+\n", 1, "<Linea 2: clase \xab" "99+\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 +\n", 1, "<Linea 2: clase \xab+\xbb: se espera un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3\n", 1, "<Linea 2: falta la clase>"},
      {"P L W\n1 12.5\n", 0, "<Linea 2: falta el peso>"},
      {"P L W\n1 12.5 3\n\n\n7", 0, "<Linea 5: falta la longitud>"},
      // no river fish is longer than 10 m or heavier than 2 t: a slip of the keyboard
      {"P L W\n1 1000.01 7\n", 0, "<Linea 2: longitud \xab" "1000.01\xbb: supera los 1000 cm>"},
      {"P L W\n1 1e39 7\n", 0, "<Linea 2: longitud \xab" "1e39\xbb: supera los 1000 cm>"},
      {"P L W C\n1 12 5 0\n2 30 2000000.5 1\n", 1,
       "<Linea 3: peso \xab" "2000000.5\xbb: supera los 2000000 g>"},
      {"P L W\n1 12 1e38\n", 0, "<Linea 2: peso \xab" "1e38\xbb: supera los 2000000 g>"},
      {"P L W\n1 +1e400 7\n", 0, "<Linea 2: longitud \xab+1e400\xbb: supera los 1000 cm>"},
      {"P L W\n1 12 1e-50\n", 0, "<Linea 2: peso \xab" "1e-50\xbb: se espera un numero mayor que 0>"},
      {"P L W\n1 -1e400 7\n", 0, "<Linea 2: longitud \xab-1e400\xbb: se espera un numero mayor que 0>"},
      // what a spreadsheet writes: the separator or the decimal comma is named
      {"P L W\n1 12,5 7\n", 0, "<Linea 2: \xab" "12,5\xbb no es un numero: use punto decimal (12.5)>"},
      {"P L W C\n1 27.4 103,41 4\n", 1,
       "<Linea 2: \xab" "103,41\xbb no es un numero: use punto decimal (103.41)>"},
      {"P L W C\n1;27,4;103,41;4\n", 1,
       "<Linea 2: separador \xab;\xbb no admitido: separe los datos con espacios o tabuladores>"},
      {"P L W\n1,27.4,103.41\n", 0,
       "<Linea 2: separador \xab,\xbb no admitido: separe los datos con espacios o tabuladores>"},
      {"P;L;W;C\n1;27,4;103,41;4\n2;5,9;1,75;0\n3;6;2;0\n4;7;3;0\n", 1,
       "<Linea 1: separador \xab;\xbb no admitido: separe los datos con espacios o tabuladores>"},
      // an empty cell is blamed on its own line, not on the fields it shifts
      {"P L W\n1 12.5\n2 13 5\n3 14 6\n", 0, "<Linea 2: falta el peso>"},
      {"P L W C\n1 12 5 0\n2 13 6\n3 14 6 1\n1 15 7 1\n", 1, "<Linea 3: falta la clase>"},
      {"P L W\n1 12 5\n1 12\n2 13\n3 14 6\n", 0, "<Linea 3: falta el peso>"},
      {"P L W\n1 12\n2 13\n3 14\n4 15 5\n", 0, "<Linea 2: falta el peso>"},
      {"P L W\n1 12 5\n2\n3 14 6\n", 0, "<Linea 3: falta la longitud>"},
      {"P L W\n1 12 5 9\n2 13 6\n", 0,
       "<Linea 2: tiene 4 datos; cada registro lleva 3 (pasada, longitud, peso)>"},
      // records after a word that would end them, and files without a header
      {"Pasada Longitud Peso\n1 27 100\nPasada 3 hecha con red nueva\n3 20 50\nFin\n", 0,
       "<Linea 3: texto inesperado \xabPasada\xbb; siguen mas registros>"},
      {"P L W C\nRemanso\n1 27 100 2\n", 1, "<Linea 2: texto inesperado \xabRemanso\xbb; siguen mas registros>"},
      {"1 27.4 103.41 4\n1 27.2 112.11 4\n", 1, "<Linea 1: falta la cabecera: la linea ya es un registro>"},
      {"\n1 27.4 103.41\n", 0, "<Linea 2: falta la cabecera: la linea ya es un registro>"},
      {"1 27.4 103.41 4\n", 0, "<Linea 1: falta la cabecera: la linea ya es un registro>"},
      // the wrong kind of file for the loader
      {"Pasada Longitud Peso\n1 27.4 103.41\n", 1, "<Linea 1: la cabecera tiene 3 palabras; se esperan 4>"},
      {"Pasada Longitud Peso Clase\n1 27.4 103.41 4\n", 0,
       "<Linea 1: la cabecera tiene mas de 3 palabras; sobra \xab" "Clase\xbb>"},
};
}  // namespace

TEST(Lectura, MalformedOrImpossibleRecordsRefuseTheFileNamingTheLine) {
  for (const Rechazo& c : RECHAZOS) {
    Lectura l(c.texto, c.con_clases);
    EXPECT_EQ(l.n, LECTURA_RECHAZADA) << c.texto;
    EXPECT_STREQ(l.mensaje, c.mensaje) << c.texto;
  }
}

// The loaders show a refusal on one line between the page's side rules, so
// the widest quote and a line number of a long file must fit there too.
TEST(Lectura, EveryRefusalFitsBetweenTheSidesOfThePage) {
  prepara_allegro_sin_ventana();
  const int ESPACIO = 1000 - 2 * 40;
  std::string largo(99999, '\n');
  for (const char* registro : {"1 WWWWWWWWWWWWWWWWWWWWWWWWW 7\n", "1 12 99999999999999999,99\n",
                               "Muestreo\xe1\xe1\xe1\xe1\xe1\xe1\xe1\xe1\xe1\xe1\xe1\xe1\xe1\n1 2 3\n"}) {
    Lectura l("P L W" + largo + registro, 0);
    EXPECT_LE(ancho(FUENTE_CELDAS, l.mensaje), ESPACIO) << l.mensaje;
  }
  for (const Rechazo& c : RECHAZOS) {
    Lectura l(c.texto, c.con_clases);
    EXPECT_LE(ancho(FUENTE_CELDAS, l.mensaje), ESPACIO) << l.mensaje;
  }
}

TEST(Lectura, TheLimitsOfARiverFishAndAFooterAfterTheRecordsAreTaken) {
  Lectura l("P L W\n1 1000 2000000\n2 0.1 0.01\nTotal 2 peces\nPasada 1 2\n", 0);
  ASSERT_EQ(l.n, 2);
  EXPECT_EQ(l.longitudes[0], 1000.0f);
  EXPECT_EQ(l.pesos[0], 2000000.0f);
  EXPECT_STREQ(l.mensaje, "");
}

TEST(Lectura, AQuotedWordIsCutToTwentyCharactersAndShownInLatin1) {
  char cita[64];
  cita_palabra(cita, sizeof cita, "R\xc3\xado");  // UTF-8 "Río"
  EXPECT_STREQ(cita, "\xabR\xedo\xbb");
  cita_palabra(cita, sizeof cita, "R\xedo");  // Latin-1 "Río"
  EXPECT_STREQ(cita, "\xabR\xedo\xbb");
  cita_palabra(cita, sizeof cita, "a\x01\x9b\xe2\x82\xac");  // control, C1 byte, the euro sign
  EXPECT_STREQ(cita, "\xab" "a???\xbb");
  cita_palabra(cita, sizeof cita, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_STREQ(cita, "\xab" "abcdefghijklmnopqrst...\xbb");
}

TEST(Lectura, MoreThanTenThousandRecordsAreRefusedNotCut) {
  std::string texto = "P L W\n";
  for (int i = 0; i <= MAX_PECES; i++) texto += "2 10.5 12.25\n";
  Lectura l(texto, 0);
  EXPECT_EQ(l.n, LECTURA_RECHAZADA);
  EXPECT_STREQ(l.mensaje, "<El fichero tiene mas de 10000 registros>");
}

TEST(Lectura, AFolderOpenedAsAFileIsRefused) {
  FILE* f = fopen(".", "r");
  ASSERT_NE(f, nullptr);
  int pasadas[1], clases[1];
  float longitudes[1], pesos[1];
  char mensaje[100];
  EXPECT_EQ(lee_muestra(f, 1, pasadas, longitudes, pesos, clases, mensaje, sizeof mensaje),
            LECTURA_RECHAZADA);
  EXPECT_STREQ(mensaje, "<No se ha podido leer el fichero>");
  fclose(f);
}

TEST(Lectura, ALongMessageIsCutToItsRoomAndEnded) {
  FILE* f = tmpfile();
  fputs("P L W\n0 1 1\n", f);
  rewind(f);
  int pasadas[1];
  float longitudes[1], pesos[1];
  char mensaje[8] = "xxxxxxx";
  EXPECT_EQ(lee_muestra(f, 0, pasadas, longitudes, pesos, nullptr, mensaje, sizeof mensaje),
            LECTURA_RECHAZADA);
  EXPECT_STREQ(mensaje, "<Linea ");
  fclose(f);
}

TEST(Lectura, ShippedDataFilesHoldTheBuiltInExample) {
  int ej_pasadas[NUM_EJEMPLO], ej_clases[NUM_EJEMPLO];
  float ej_longitudes[NUM_EJEMPLO], ej_pesos[NUM_EJEMPLO];
  copia_ejemplo(ej_pasadas, ej_longitudes, ej_pesos, ej_clases);
  for (int con_clases : {1, 0}) {
    std::string nombre = std::string(DIR_DATOS) + (con_clases ? "/ejemplo.txt" : "/ejemplo3.txt");
    FILE* f = fopen(nombre.c_str(), "r");
    ASSERT_NE(f, nullptr) << nombre;
    static int pasadas[MAX_PECES], clases[MAX_PECES];
    static float longitudes[MAX_PECES], pesos[MAX_PECES];
    char mensaje[100];
    ASSERT_EQ(lee_muestra(f, con_clases, pasadas, longitudes, pesos, clases, mensaje, 100),
              NUM_EJEMPLO);
    fclose(f);
    for (int i = 0; i < NUM_EJEMPLO; i++) {
      EXPECT_EQ(pasadas[i], ej_pasadas[i]) << i;
      EXPECT_EQ(longitudes[i], ej_longitudes[i]) << i;
      EXPECT_EQ(pesos[i], ej_pesos[i]) << i;
      if (con_clases) {
        EXPECT_EQ(clases[i], ej_clases[i]) << i;
      }
    }
  }
}

// ---- The desktop's locale ----

namespace {
/* The process in another locale while it lives: in the program's users'
   one, es_ES.UTF-8, the C library reads and writes "27,4". */
struct EnLocale {
  explicit EnLocale(const char* nombre) : hay(setlocale(LC_ALL, nombre) != nullptr) {}
  ~EnLocale() { setlocale(LC_ALL, "C"); }
  bool hay;
};
const char* const SIN_ESPANOL = "no hay locale es_ES.UTF-8: bash tools/preparar.sh lo genera";

/* A number above 0 as a person or a spreadsheet writes it: up to two whole
   digits and six decimals, now and then an exponent or a sign. */
std::string numero_escrito(std::mt19937& azar) {
  std::string s = std::to_string(azar() % 100);
  int decimales = azar() % 7;
  if (decimales) s += '.';
  for (int d = 0; d < decimales; d++) s += (char)('0' + azar() % 10);
  if (strtof(s.c_str(), nullptr) == 0) s = "0.5";
  if (azar() % 8 == 0) s += azar() % 2 ? "e1" : "e-2";
  if (azar() % 8 == 0) s = "+" + s;
  return s;
}
}  // namespace

// Regression: on a Spanish desktop every length and weight was cut at the point
// (27.4 read as 27) and "0.88" refused.
TEST(Lectura, BothReadersGiveTheCLocalesFloatsOnASpanishDesktop) {
  std::mt19937 azar(22);
  std::string palabras = "Pasada Longitud Peso\n", tabla = "Pasada;Longitud;Peso\n";
  std::vector<float> esperados;
  for (int i = 0; i < 3000; i++) {
    std::string l = numero_escrito(azar), w = numero_escrito(azar);
    esperados.push_back(strtof(l.c_str(), nullptr));  // the C library, still in the C locale
    esperados.push_back(strtof(w.c_str(), nullptr));
    palabras += "1 " + l + " " + w + "\n";
    for (std::string* c : {&l, &w})
      if (c->find('.') != std::string::npos) c->replace(c->find('.'), 1, ",");
    tabla += "1;" + l + ";" + w + "\n";
  }
  EnLocale es("es_ES.UTF-8");
  ASSERT_TRUE(es.hay) << SIN_ESPANOL;
  for (const std::string* texto : {&palabras, &tabla}) {
    Lectura l(*texto, 0);
    ASSERT_EQ(l.n, 3000) << l.mensaje;
    for (int i = 0; i < l.n; i++) {
      ASSERT_EQ(l.longitudes[i], esperados[2 * i]) << i;
      ASSERT_EQ(l.pesos[i], esperados[2 * i + 1]) << i;
    }
  }
}

// Regression: on a Turkish desktop, where "I" is no capital "i", "INF" in place
// of a pass ended the records as a footer does instead of refusing the file.
TEST(Lectura, TheLettersOfANonNumberAreTheSameOnATurkishDesktop) {
  CarpetaPropia carpeta;  // the locale is made there: set-up makes only the Spanish one
  // a path, so that localedef writes it there and not into the system's locales
  ASSERT_EQ(system("localedef -i tr_TR -f UTF-8 ./tr_TR.UTF-8"), 0) << "localedef (paquete locales)";
  setenv("LOCPATH", carpeta.ruta.c_str(), 1);
  {
    EnLocale tr("tr_TR.UTF-8");
    ASSERT_TRUE(tr.hay);
    Lectura l("P L W\n1 2 3\nINF 2 3\n", 0);
    EXPECT_EQ(l.n, LECTURA_RECHAZADA);
    EXPECT_STREQ(l.mensaje, "<Linea 3: pasada \xabINF\xbb: se espera un entero de 1 a 20>");
  }
  unsetenv("LOCPATH");
}
