// Reading a data file's records: both layouts, what ends the records, and
// every kind of record that makes the whole file be refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sample.h"

namespace {

/* Reads a text as a data file; keeps the fish and the message. */
struct Lectura {
  int pasadas[MAX_PECES], clases[MAX_PECES];
  float longitudes[MAX_PECES], pesos[MAX_PECES];
  char mensaje[100];
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

TEST(Lectura, FileWithoutClassesLeavesClassesUntouched) {
  Lectura l("Pasada Longitud Peso\n3 12 7.5\n1 .5 1e1\n", 0);
  ASSERT_EQ(l.n, 2);
  EXPECT_EQ(l.pasadas[0], 3);
  EXPECT_EQ(l.longitudes[0], 12.0f);
  EXPECT_EQ(l.longitudes[1], 0.5f);
  EXPECT_EQ(l.pesos[1], 10.0f);
  EXPECT_EQ(l.clases[0], -7);
}

TEST(Lectura, FourWordHeaderOnAFileWithoutClassesGivesAnEmptySample) {
  // the fourth header word stands where the first pass should be
  Lectura l(CON_CLASES, 0);
  EXPECT_EQ(l.n, 0);
  EXPECT_STREQ(l.mensaje, "");
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
  const char* texto;
  int con_clases;
  const char* mensaje;
};
}  // namespace

TEST(Lectura, MalformedOrImpossibleRecordsRefuseTheFileNamingTheLine) {
  const Rechazo casos[] = {
      {"P L W C\n1 27.4 103.41 4\n1.5 27.2 112.11 4\n", 1,
       "<Linea 3: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\n0 27.4 103.41 4\n", 1, "<Linea 2: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\n21 27.4 103.41 4\n", 1, "<Linea 2: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\n-1 27.4 103.41 4\n", 1, "<Linea 2: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\nnan 27.4 103.41 4\n", 1, "<Linea 2: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\n-Infinity 27.4 103.41 4\n", 1, "<Linea 2: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\n99999999999999999999 27.4 103.41 4\n", 1,
       "<Linea 2: la pasada debe ser un entero de 1 a 20>"},
      {"P L W C\n1 27.4 103.41 4\n2 nan 7 1\n", 1,
       "<Linea 3: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1\n\ninf 7\n", 0, "<Linea 4: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1 1e39 7\n", 0, "<Linea 2: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1 0 7\n", 0, "<Linea 2: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1 -3.5 7\n", 0, "<Linea 2: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1 12abc 7\n", 0, "<Linea 2: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1 12,5 7\n", 0, "<Linea 2: la longitud debe ser un numero mayor que 0>"},
      {"P L W\n1 12.5 peso\n", 0, "<Linea 2: el peso debe ser un numero mayor que 0>"},
      {"P L W\n1 12.5 0.0\n", 0, "<Linea 2: el peso debe ser un numero mayor que 0>"},
      {"P L W\n1 12.5 -INF\n", 0, "<Linea 2: el peso debe ser un numero mayor que 0>"},
      {"P L W C\n1 12.5 3 99\n", 1, "<Linea 2: la clase debe ser un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 -1\n", 1, "<Linea 2: la clase debe ser un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 2.5\n", 1, "<Linea 2: la clase debe ser un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3 dos\n", 1, "<Linea 2: la clase debe ser un entero de 0 a 98>"},
      {"P L W C\n1 12.5 3\n", 1, "<Linea 2: falta la clase>"},
      {"P L W\n1 12.5\n", 0, "<Linea 2: falta el peso>"},
      {"P L W\n1 12.5 3\n\n\n7", 0, "<Linea 5: falta la longitud>"},
  };
  for (const Rechazo& c : casos) {
    Lectura l(c.texto, c.con_clases);
    EXPECT_EQ(l.n, LECTURA_RECHAZADA) << c.texto;
    EXPECT_STREQ(l.mensaje, c.mensaje) << c.texto;
  }
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
