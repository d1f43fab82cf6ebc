// Reading a data file written as a spreadsheet table: columns found by name
// whatever their order, spelling or encoding, a reach and species chosen
// from a season's table, and every refusal naming its line, column and cell;
// and the reader of the tables that are no fish (a season's reaches).
#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sample.h"
#include "shell.h"
#include "sin_ventana.h"

using namespace std::string_literals;

namespace {

/* Reads a text as a data file with classes when it has them. */
struct Tabla {
  int pasadas[MAX_PECES], clases[MAX_PECES];
  float longitudes[MAX_PECES], pesos[MAX_PECES];
  char mensaje[LARGO_MENSAJE_LECTURA];
  descripcion_datos d;
  int n;

  explicit Tabla(const std::string& texto, int con_clases = CLASES_SI_LAS_HAY,
                 const char* tramo = nullptr, const char* especie = nullptr) {
    FILE* f = tmpfile();
    fwrite(texto.data(), 1, texto.size(), f);
    rewind(f);
    for (int i = 0; i < MAX_PECES; i++) clases[i] = -7;
    eleccion_datos e = {tramo, especie, {}};
    n = lee_muestra_descrita(f, con_clases, &e, &d, pasadas, longitudes, pesos, clases, mensaje,
                             sizeof mensaje);
    fclose(f);
  }
};

/* The text in another encoding, by the C library's converter: an encoder
   that owes nothing to the reader's decoder. */
std::string en_codificacion(const std::string& utf8, const char* codificacion) {
  iconv_t c = iconv_open(codificacion, "UTF-8");
  std::string salida(4 * utf8.size() + 8, '\0');
  char* entrada = const_cast<char*>(utf8.data());
  char* escrito = &salida[0];
  size_t quedan = utf8.size(), libres = salida.size();
  size_t hecho = iconv(c, &entrada, &quedan, &escrito, &libres);
  iconv_close(c);
  EXPECT_NE(hecho, (size_t)-1) << codificacion;
  salida.resize(salida.size() - libres);
  return salida;
}

/* Every line end of the text made `fin`. */
std::string con_finales(std::string texto, const std::string& fin) {
  std::string hecho;
  for (char c : texto) hecho += c == '\n' ? fin : std::string(1, c);
  return hecho;
}

}  // namespace

TEST(TablaDatos, ColumnsAreFoundByNameWhateverTheirOrderSpellingAndEncoding) {
  // Latin-1 header and cells, synonyms, units in parentheses, blanks, an
  // unknown column, quoted cells, CRLF, a decimal comma and an empty last row.
  Tabla t("Observaci\xf3n;  CLASE DE EDAD ;Talla (cm);N\xba Pase;\"Peso (g)\"\r\n"
          "\"dijo \"\"ya\"\"; vale\";3;27,4;2;103.41\r\n"
          ";;;;\r\n");
  ASSERT_EQ(t.n, 1) << t.mensaje;
  EXPECT_EQ(t.pasadas[0], 2);
  EXPECT_EQ(t.longitudes[0], 27.4f);
  EXPECT_EQ(t.pesos[0], 103.41f);
  EXPECT_EQ(t.clases[0], 3);
  EXPECT_TRUE(t.d.tabla);
  EXPECT_EQ(t.d.separador, ';');
  EXPECT_STREQ(t.d.codificacion, "Windows-1252");
  EXPECT_STREQ(t.d.columnas[DATO_PASADA], "N\xba Pase");
  EXPECT_STREQ(t.d.ignoradas, "Observaci\xf3n");
  EXPECT_EQ(t.d.filas_vacias, 1);
}

TEST(TablaDatos, AFooterRowEndsTheFishAsInAFileOfWords) {
  Tabla t("Pasada\tLongitud\tPeso\n1\t2\t3\n\nTotal\t1 pez\n");
  EXPECT_EQ(t.n, 1) << t.mensaje;
}

TEST(TablaDatos, ATableWithoutClassesServesTheLoaderThatSetsThem) {
  Tabla sin("Pasada,Longitud,Peso\n1,12.5,7\n", 1);
  EXPECT_EQ(sin.n, LECTURA_RECHAZADA);
  EXPECT_STREQ(sin.mensaje, "<Linea 1: falta la columna Clase>");
  Tabla con("Pasada\tLongitud\tPeso\tEdad\n1\t12,5\t7\t2\n", 0);
  ASSERT_EQ(con.n, 1);
  EXPECT_EQ(con.clases[0], -7);  // the class screen gives them
}

TEST(TablaDatos, AHeaderOfWordsIsReadAsBefore) {
  // Tab-separated words that do not name pasada, longitud and peso, and a
  // blank-separated header, go to the reader of words.
  Tabla t("P\tL\tW\tC\n1 27.4 103.41 4\n", 1);
  EXPECT_EQ(t.n, 1);
  EXPECT_FALSE(t.d.tabla);
  // A tab header that names the columns, over records split by blanks,
  // loaded as words before tables were read: it still does, with the same
  // fish.
  Tabla palabras("Pasada\tLongitud\tPeso\tClase\n1 27.4 103.41 4\n2 5.9 1.75 0\n", 1);
  ASSERT_EQ(palabras.n, 2) << palabras.mensaje;
  EXPECT_FALSE(palabras.d.tabla);
  EXPECT_EQ(palabras.pasadas[1], 2);
  EXPECT_EQ(palabras.pesos[1], 1.75f);
  // Refused both ways, the table's message stands.
  Tabla ninguno("Pasada\tLongitud\tPeso\tClase\n1\t27.4\t\t4\n", 1);
  EXPECT_EQ(ninguno.n, LECTURA_RECHAZADA);
  EXPECT_STREQ(ninguno.mensaje, "<Linea 2, columna Peso: celda vacia>");
}

TEST(TablaDatos, AReachAndSpeciesAreChosenByNameAsTyped) {
  const char texto[] =
      "Tramo;Especie;Pasada;Longitud;Peso\n"
      "T01 R\xc3\xado Tera;Trucha;1;10;5\n"
      "T02;Trucha;2;11;6\n"
      "T01 R\xc3\xado Tera;Barbo;3;12;7\n";
  Tabla t(texto, 0, "t01 rio tera", "TRUCHA");
  ASSERT_EQ(t.n, 1) << t.mensaje;
  EXPECT_EQ(t.pasadas[0], 1);
  EXPECT_STREQ(t.d.tramos.texto[0], "T01 R\xedo Tera");
  EXPECT_EQ(t.d.tramos.filas[0], 2);
  Tabla especie(texto, 0, nullptr, "Barbo");  // one reach holds barbels
  ASSERT_EQ(especie.n, 1) << especie.mensaje;
  EXPECT_EQ(especie.pasadas[0], 3);
}

// ---- Refusals: the line, the column and the cell ----

TEST(TablaDatos, EveryRefusalNamesLineColumnAndCell) {
  const struct {
    std::string texto;
    const char* mensaje;
  } casos[] = {
      {"Pasada;Longitud;Peso;Clase\n1;2;3;4\n\n1;2;;4\n", "<Linea 4, columna Peso: celda vacia>"},
      {"Pasada;Longitud (cm);Peso\n1;2\n", "<Linea 2, columna Peso: celda vacia>"},
      {"Pasada;Longitud;Peso\n1,5;2;3\n",
       "<Linea 2, columna Pasada: \xab" "1,5\xbb: se espera un entero de 1 a 20>"},
      {"Pasada;Longitud;Peso\n21;2;3\n", "<Linea 2, columna Pasada: \xab" "21\xbb: se espera un entero de 1 a 20>"},
      {"Pasada;Longitud (cm);Peso\n1;1.234,5;3\n",
       "<Linea 2, columna Longitud: \xab" "1.234,5\xbb: supera los 1000 cm>"},
      {"Pasada\tLongitud\tPeso\n1\t-3\t3\n", "<Linea 2, columna Longitud: \xab-3\xbb: se espera un numero mayor que 0>"},
      {"Pasada;Longitud;Peso (g)\r\n1;2;nan\r\n", "<Linea 2, columna Peso: \xabnan\xbb: se espera un numero mayor que 0>"},
      {"Pasada;Longitud;Peso\n1;1000,5;3\n", "<Linea 2, columna Longitud: \xab" "1000,5\xbb: supera los 1000 cm>"},
      {"Pasada;Longitud;Peso\n1;2;1e38\n", "<Linea 2, columna Peso: \xab" "1e38\xbb: supera los 2000000 g>"},
      {"Pasada;Longitud;Peso;Edad\n1;2;3;99\n", "<Linea 2, columna Edad: \xab" "99\xbb: se espera un entero de 0 a 98>"},
      {"Pasada;Longitud;Peso\n1;2;3;;7\n",
       "<Linea 2, columna 5: \xab" "7\xbb esta fuera de las columnas de la cabecera>"},
      {"Pasada;Longitud;Peso\n1;2;3\nRemanso;;\n1;2;3\n",
       "<Linea 3, columna Pasada: texto inesperado \xabRemanso\xbb; siguen mas registros>"},
      {"Tramo;Pasada;Longitud;Peso\n;1;2;3\n", "<Linea 2, columna Tramo: celda vacia>"},
      {"Pasada;Longitud (in);Peso\n1;2;3\n",
       "<Linea 1: la columna \xabLongitud (in)\xbb tiene una unidad que no se admite; use mm o cm>"},
      {"Pasada;Longitud;Peso (lb)\n1;2;3\n",
       "<Linea 1: la columna \xabPeso (lb)\xbb tiene una unidad que no se admite; use g, kg o mg>"},
      {"Pasada;Longitud (mm);Peso\n1;10000,5;3\n",
       "<Linea 2, columna Longitud: \xab" "10000,5\xbb: supera los 10000 mm>"},
      {"Pasada;Longitud;Peso;Talla\n1;2;3;4\n",
       "<Linea 1, columna 4: \xabTalla\xbb repite la columna Longitud>"},
      {"Pasada;Longitud;Clase\n1;2;3\n", "<Linea 1: falta la columna Peso>"},
      {"Pasada;Longitud;Peso\n\"1;2;3\n", "<Linea 2, columna Pasada: comillas sin cerrar>"},
      {"Pasada;Longitud;Peso\n1;2;3\"4\n", "<Linea 2, columna Peso: comillas mal puestas>"},
      {"Pasada;Longitud;Peso\n1;2;aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n",
       "<Linea 2, columna Peso: \xab" "aaaaaaaaaaaaaaaaaaaa...\xbb: se espera un numero mayor que 0>"},
      // Regression: a NUL cut its cell's text short, "2\0x" read as 2.
      {"Pasada;Longitud;Peso\n1;2;3\n1;2\0x;3\n1;2;3\n"s, "<Linea 3: tiene un caracter nulo>"},
  };
  for (const auto& c : casos) {
    Tabla t(c.texto);
    EXPECT_EQ(t.n, LECTURA_RECHAZADA) << c.texto;
    EXPECT_STREQ(t.mensaje, c.mensaje) << c.texto;
  }
}

// Number cells as Spanish and English spreadsheets write them: a weight
// cell and a class cell in a table of each separator, read or refused.
TEST(TablaDatos, NumberCellsAreReadAsSpreadsheetsWriteThemOrRefusedSayingHow) {
  const struct {
    char separador;
    const char *peso, *clase;  // as written in the file, quotes and all
    float leido;               // the weight read, when the row is
    const char* mensaje;       // the refusal, when it is not
  } casos[] = {
      // Google Sheets in Spanish quotes a decimal comma in a "," table.
      {',', "\"29,6\"", "3+", 29.6f, nullptr},
      {',', "\"0,125\"", "0+", 0.125f, nullptr},
      {',', "\"1534,567\"", "12+", 1534.567f, nullptr},
      // Grouped thousands, the decimal mark last.
      {',', "\"1,534.2\"", "3", 1534.2f, nullptr},
      {',', "\"1.534,2\"", "3", 1534.2f, nullptr},
      {',', "\"1,534,210\"", "3", 1534210.f, nullptr},
      {';', "1.534,2", "3", 1534.2f, nullptr},
      {';', "-1.534,2", "3", 0, "<Linea 2, columna Peso: \xab-1.534,2\xbb: se espera un numero mayor que 0>"},
      {';', "1.534.210", "3", 1534210.f, nullptr},
      {'\t', "12.345,25", "3", 12345.25f, nullptr},
      {';', "1.534,2e-3", "3", 1.5342f, nullptr},
      {';', "2,5e3", "3", 2500.f, nullptr},
      // A point alone is a decimal point in every table, three figures or not.
      {';', "0.125", "3", 0.125f, nullptr},
      {';', "1.534", "3", 1.534f, nullptr},
      {'\t', "1,534", "3", 1.534f, nullptr},
      // Refused, saying how to write the number.
      {';', "1.23,5", "3", 0, "<Linea 2, columna Peso: \xab" "1.23,5\xbb: cifras mal agrupadas; use 123,5>"},
      {';', "12.34.567", "3", 0,
       "<Linea 2, columna Peso: \xab" "12.34.567\xbb: cifras mal agrupadas; use 1234567>"},
      {',', "\"1,5342.0\"", "3", 0,
       "<Linea 2, columna Peso: \xab" "1,5342.0\xbb: cifras mal agrupadas; use 15342.0>"},
      {',', "\"1,534\"", "3", 0,
       "<Linea 2, columna Peso: \xab" "1,534\xbb: puede ser 1534 o 1.534; escriba uno de los dos>"},
      {',', "\"1.534,2,1\"", "3", 0,
       "<Linea 2, columna Peso: \xab" "1.534,2,1\xbb: se espera un numero mayor que 0>"},
      {';', "1..5", "3", 0, "<Linea 2, columna Peso: \xab" "1..5\xbb: se espera un numero mayor que 0>"},
      // Regression: the advice was written into the message's format, "%" and all.
      {';', "1.23,5e%s%n", "3", 0,
       "<Linea 2, columna Peso: \xab" "1.23,5e%s%n\xbb: cifras mal agrupadas; use 123,5e%s%n>"},
      {',', "29,6", "3", 0, "<Linea 2, columna 5: \xab" "3\xbb esta fuera de las columnas de la cabecera>"},
      {';', "29,6", "3++", 0, "<Linea 2, columna Clase: \xab" "3++\xbb: se espera un entero de 0 a 98>"},
      {';', "29,6", "+3", 29.6f, nullptr},
  };
  for (const auto& c : casos) {
    std::string s(1, c.separador);
    std::string texto = "Pasada" + s + "Longitud" + s + "Peso" + s + "Clase\n1" + s + "10" + s + c.peso + s +
                        c.clase + "\n";
    Tabla t(texto);
    if (c.mensaje) {
      EXPECT_EQ(t.n, LECTURA_RECHAZADA) << texto;
      EXPECT_STREQ(t.mensaje, c.mensaje) << texto;
      continue;
    }
    EXPECT_EQ(t.n, 1) << texto << t.mensaje;
    if (t.n != 1) continue;
    EXPECT_EQ(t.pesos[0], c.leido) << texto;
    EXPECT_EQ(t.clases[0], atoi(c.clase + (c.clase[0] == '+'))) << texto;
  }
}

// Regression: the data columns of a header past its 4096th byte or its
// 128th cell were not looked for ("no tiene ningun registro de pez").
TEST(TablaDatos, AColumnIsFoundHoweverWideTheTableAndNamedInItsRefusals) {
  std::string cabecera, fila;
  for (int c = 0; c < 2500; c++) {  // a header of more than 65536 bytes
    cabecera += "Observacion del muestreo " + std::to_string(c) + ";";
    fila += std::to_string(c) + ";";
  }
  Tabla t(cabecera + "Pasada;Longitud;Peso;Clase\n" + fila + "2;27,4;103,41;4\n");
  ASSERT_EQ(t.n, 1) << t.mensaje;
  EXPECT_EQ(t.pasadas[0], 2);
  EXPECT_EQ(t.longitudes[0], 27.4f);
  EXPECT_EQ(t.clases[0], 4);
  EXPECT_STREQ(t.d.columnas[DATO_PESO], "Peso");
  Tabla mala(cabecera + "Pasada;Longitud;Peso\n" + fila + "2;27,4;-1\n", 0);
  EXPECT_STREQ(mala.mensaje, "<Linea 2, columna Peso: \xab-1\xbb: se espera un numero mayor que 0>");
  Tabla repetida(cabecera + "Pasada;Longitud;Peso;Talla\n" + fila + "2;27,4;1;3\n", 0);
  EXPECT_STREQ(repetida.mensaje, "<Linea 1, columna 2504: \xabTalla\xbb repite la columna Longitud>");
}

TEST(TablaDatos, ACellLongerThanAnyDatumIsRefusedWithoutReadingOn) {
  std::string texto = "Pasada;Longitud;Peso\n1;2;3\n1;" + std::string(70000, '9') + ";3\n";
  Tabla t(texto);
  EXPECT_EQ(t.n, LECTURA_RECHAZADA);
  EXPECT_STREQ(t.mensaje, "<Linea 3, columna Longitud: celda de mas de 65536 caracteres>");
}

TEST(TablaDatos, SeveralReachesOrSpeciesAreRefusedUntilOneIsChosen) {
  const char texto[] =
      "Estaci\xc3\xb3n;Especie;Pasada;Longitud;Peso\n"
      "A;Trucha;1;10;5\nB;Trucha;1;10;5\nC;Barbo;1;10;5\n";
  Tabla t(texto);
  EXPECT_EQ(t.n, LECTURA_RECHAZADA);
  EXPECT_STREQ(t.mensaje,
               "<El fichero tiene 3 tramos y 2 especies: elija con pasadas-informe --tramo y --especie>");
  EXPECT_TRUE(t.d.eleccion_fallida);
  EXPECT_EQ(t.d.tramos.n, 3);
  EXPECT_STREQ(Tabla(texto, 0, "A").mensaje, "");
  EXPECT_STREQ(Tabla(texto, 0, "Z").mensaje, "<Ningun pez del tramo \xabZ\xbb>");
  EXPECT_STREQ(Tabla("Pasada Longitud Peso\n1 2 3\n", 0, "A").mensaje,
               "<El fichero no tiene columna Tramo>");
}

// ---- Encodings and line ends ----

// A spreadsheet saves the same table in UTF-8, with or without its BOM, in
// Windows-1252 (Excel's "CSV" on a Spanish Windows), in UTF-16 ("Texto
// Unicode"), with the line ends of Windows, Unix or the old Mac. Each must
// give the fish, the names and the lines of the table written in UTF-8.
TEST(TablaDatos, EveryEncodingAndLineEndGivesTheSameFishNamesAndLines) {
  const std::string tabla =
      "Tramo;Especie;Pasada;Longitud (cm);Peso (g)\n"
      "T01 R\u00edo Tera \u2013 \u201cEl Puente\u201d\u2026;Trucha com\u00fan;1;27,4;103,41\n"
      "T01 R\u00edo Tera \u2013 \u201cEl Puente\u201d\u2026;Trucha com\u00fan;2;5,9;1,75\n";
  const std::string mala = "Tramo;Pasada;Longitud;Peso\nA;1;27,4;103,41\n\nA;2;5,9;x\n";
  const std::string palabras = "Pasada Longitud Peso\n1 27.4 103.41\n\n2 5.9 x\n";
  const struct {
    const char* nombre;
    std::string (*codifica)(const std::string&);
    const char* codificacion;  // as the description tells it
  } casos[] = {
      {"UTF-8", [](const std::string& t) { return t; }, "UTF-8"},
      {"UTF-8 con BOM", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }, "UTF-8 con BOM"},
      {"CR LF", [](const std::string& t) { return con_finales(t, "\r\n"); }, "UTF-8"},
      {"CR", [](const std::string& t) { return con_finales(t, "\r"); }, "UTF-8"},
      {"Windows-1252", [](const std::string& t) { return en_codificacion(t, "WINDOWS-1252"); },
       "Windows-1252"},
      {"UTF-16LE con BOM, CR LF",  // Excel's "Texto Unicode"
       [](const std::string& t) { return "\xFF\xFE" + en_codificacion(con_finales(t, "\r\n"), "UTF-16LE"); },
       "UTF-16 (Texto Unicode)"},
  };
  Tabla referencia(tabla, 0);
  ASSERT_EQ(referencia.n, 2) << referencia.mensaje;
  // The names as the fonts draw them: Latin-1, the typographic signs made plain.
  EXPECT_STREQ(referencia.d.tramos.texto[0], "T01 R\xedo Tera - \"El Puente\"...");
  EXPECT_STREQ(referencia.d.especies.texto[0], "Trucha com\xfan");
  EXPECT_STREQ(Tabla(mala, 0).mensaje, "<Linea 4, columna Peso: \xabx\xbb: se espera un numero mayor que 0>");
  EXPECT_STREQ(Tabla(palabras, 0).mensaje, "<Linea 4: peso \xabx\xbb: se espera un numero mayor que 0>");
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    Tabla t(c.codifica(tabla), 0);
    ASSERT_EQ(t.n, referencia.n) << t.mensaje;
    for (int i = 0; i < t.n; i++) {
      EXPECT_EQ(t.pasadas[i], referencia.pasadas[i]);
      EXPECT_EQ(t.longitudes[i], referencia.longitudes[i]);
      EXPECT_EQ(t.pesos[i], referencia.pesos[i]);
    }
    EXPECT_STREQ(t.d.tramos.texto[0], referencia.d.tramos.texto[0]);
    EXPECT_STREQ(t.d.especies.texto[0], referencia.d.especies.texto[0]);
    EXPECT_STREQ(t.d.codificacion, c.codificacion);
    EXPECT_STREQ(Tabla(c.codifica(mala), 0).mensaje, Tabla(mala, 0).mensaje);
    EXPECT_STREQ(Tabla(c.codifica(palabras), 0).mensaje, Tabla(palabras, 0).mensaje);
  }
}

// What is no table of text, and names that could rewrite a terminal or
// name a file across lines, refuse the file with what to do about it; each
// refusal fits on the window's line.
TEST(TablaDatos, WorkbooksAndControlCodesInNamesAreRefused) {
  prepara_allegro_sin_ventana();
  const std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12);
  const struct {
    std::string texto;
    const char* mensaje;
  } casos[] = {
      {ole + std::string(500, '\0'),
       "<Es un libro de Excel 97-2003 (.xls): guardelo con Guardar como, tipo \"CSV UTF-8\" en Excel "
       "o \"Texto CSV\" en LibreOffice>"},
      {std::string("PK\3\4\x14\0\0\0\0\0", 10) + "notas.txt", "<Es un fichero comprimido (zip), no una tabla de texto>"},
      {"Tramo;Pasada;Longitud;Peso\nT01;1;2;3\n\"T\x1b[2J\";1;2;3\n",
       "<Linea 3, columna Tramo: \xabT?[2J\xbb tiene un caracter de control>"},
      {"Especie;Pasada;Longitud;Peso\r\nTrucha\x7f;1;2;3\r\n",
       "<Linea 2, columna Especie: \xabTrucha?\xbb tiene un caracter de control>"},
      {"Pasada;Longitud;Peso;Tramo\n1;2;3;\"T01\nT02\"\n",
       "<Linea 2, columna Tramo: \xabT01?T02\xbb tiene un caracter de control>"},
      // C1 codes: in UTF-8, and the bytes Windows-1252 leaves unused
      {"Tramo;Pasada;Longitud;Peso\nR\xc3\xado\xc2\x9b" "1m;1;2;3\n",
       "<Linea 2, columna Tramo: \xabR\xedo?1m\xbb tiene un caracter de control>"},
      {"Tramo;Pasada;Longitud;Peso\nR\xedo\x81;1;2;3\n",
       "<Linea 2, columna Tramo: \xabR\xedo?\xbb tiene un caracter de control>"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.mensaje);
    Tabla t(c.texto, 0);
    EXPECT_EQ(t.n, LECTURA_RECHAZADA);
    EXPECT_STREQ(t.mensaje, c.mensaje);
    EXPECT_LE(ancho(FUENTE_CELDAS, t.mensaje), 1000 - 2 * 40);
  }
}

// The public reader of tables that are no fish (a season's reaches): each
// row's cells by the columns asked for, in UTF-8 and as their very bytes,
// with the line the row ends on; what refuses a table comes back as a value.
namespace {

const columna_buscada LUGARES[] = {
    {"Tramo", {"tramo", nullptr}, 1},
    {"Fichero", {"fichero", nullptr}, 1},
    {"Superficie", {"superficie", nullptr}, 0},
};

lectura_tabla lee_lugares(const std::string& texto, std::vector<fila_tabla>* filas, int max_filas = 4) {
  FILE* f = tmpfile();
  fwrite(texto.data(), 1, texto.size(), f);
  rewind(f);
  lectura_tabla l = lee_tabla_nombrada(f, LUGARES, 3, filas, max_filas);
  fclose(f);
  return l;
}

}  // namespace

TEST(TablaNombrada, CellsComeByColumnInUtf8AndAsTheirBytesWithTheRowsLine) {
  const std::string tabla = "Notas\tFICHERO\tTramo\r\n\r\n"
                            "x\t R\u00edo.txt \tT01\r\n"
                            "\"dos\r\nlineas\"\tb.txt\tT\u00e9\r\n"
                            "y\t" + std::string(300, 'a') + "\tT02\r\n";
  for (const std::string& t : {tabla, en_codificacion(tabla, "WINDOWS-1252")}) {
    std::vector<fila_tabla> filas;
    lectura_tabla l = lee_lugares(t, &filas);
    ASSERT_EQ(l.resultado, TABLA_ACEPTADA) << l.mensaje;
    EXPECT_EQ(l.separador, '\t');
    ASSERT_EQ(l.nfilas, 3);
    // a cell too long to keep spoils its row alone
    EXPECT_EQ(filas[2].larga, 1);
    EXPECT_STREQ(filas[2].celda[0], "T02");
    EXPECT_EQ(filas[0].larga, -1);
    EXPECT_EQ(filas[1].larga, -1);
    EXPECT_STREQ(filas[0].celda[0], "T01");
    EXPECT_STREQ(filas[0].celda[1], "R\u00edo.txt");
    EXPECT_STREQ(filas[0].celda[2], "");
    EXPECT_EQ(filas[0].linea, 3);
    EXPECT_STREQ(filas[1].celda[0], "T\u00e9");
    EXPECT_EQ(filas[1].linea, 5);
    EXPECT_EQ(std::string(filas[0].crudo[1]), t == tabla ? "R\u00edo.txt" : "R\xedo.txt");
  }
}

TEST(TablaNombrada, RefusalsAreValuesForTheCallerToWord) {
  const struct {
    std::string texto;
    resultado_tabla resultado;
    const char* mensaje;
  } casos[] = {
      {"Tramo;Superficie\nT01;3\n", TABLA_RECHAZADA, "falta la columna Fichero"},
      {"Tramo;Fichero\na;1\nb;2\nc;3\nd;4\ne;5\n", TABLA_DEMASIADAS_FILAS, ""},
      {std::string("PK\3\4\x14\0\0\0\0\0", 10) + "notas.txt", TABLA_RECHAZADA,
       "Es un fichero comprimido (zip), no una tabla de texto"},
      {"Tramo;Fichero\n;\n", TABLA_ACEPTADA, ""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.texto.substr(0, 30));
    std::vector<fila_tabla> filas;
    lectura_tabla l = lee_lugares(c.texto, &filas);
    EXPECT_EQ(l.resultado, c.resultado);
    EXPECT_STREQ(l.mensaje, c.mensaje);
    if (c.resultado == TABLA_ACEPTADA) {
      EXPECT_EQ(l.nfilas, 0);
    }
  }
}
