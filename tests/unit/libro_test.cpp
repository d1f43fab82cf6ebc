// Workbooks that cannot be read as a table are refused with one line saying
// why, whatever their container or XML holds; and sizes past a sheet's are
// refused without the reader spending memory or time on them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "libros.h"
#include "sample.h"

namespace {

/* A file of this test's own in the temporary folder: the tests of other
   builds on the machine run at the same time, and would share the name. */
std::string temporal(const std::string& nombre) {
  return testing::TempDir() + "pasadas_" + std::to_string(getpid()) + "_" + nombre;
}

const char* const NS_ODS =
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"";

/* An .ods whose first sheet's rows are `filas` (table-row elements). */
std::vector<entrada_zip> ods_de(const std::string& filas, const std::string& manifiesto_extra = "") {
  return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
          {"META-INF/manifest.xml",
           "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
           "<manifest:file-entry manifest:full-path=\"content.xml\">" + manifiesto_extra +
               "</manifest:file-entry></manifest:manifest>"},
          {"content.xml", std::string("<office:document-content ") + NS_ODS +
                              "><office:body><office:spreadsheet><table:table table:name=\"Peces\">" + filas +
                              "</table:table></office:spreadsheet></office:body></office:document-content>"}};
}

const char* const CABECERA_ODS =
    "<table:table-row><table:table-cell><text:p>Pasada</text:p></table:table-cell>"
    "<table:table-cell><text:p>Longitud</text:p></table:table-cell>"
    "<table:table-cell><text:p>Peso</text:p></table:table-cell></table:table-row>";

/* An .xlsx whose one sheet's data are `filas` (row elements); its shared strings name the columns. */
std::vector<entrada_zip> xlsx_de(const std::string& filas) {
  const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  return {{"xl/workbook.xml",
           "<workbook " + ns +
               " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
               "<sheet name=\"Hoja1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
          {"xl/_rels/workbook.xml.rels",
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
          {"xl/sharedStrings.xml",
           "<sst " + ns + "><si><t>Pasada</t></si><si><t>Longitud</t></si><si><t>Peso</t></si></sst>"},
          {"xl/worksheets/sheet1.xml",
           "<worksheet " + ns + "><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\">"
               "<v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c></row>" + filas + "</sheetData></worksheet>"}};
}

std::string contenido(const std::string& ruta) {
  std::string t;
  FILE* f = fopen(ruta.c_str(), "rb");
  for (int c; f && (c = getc(f)) != EOF;) t += (char)c;
  if (f) fclose(f);
  return t;
}

/* The reader's refusal of the file named `nombre` holding `texto`, asked
   for the sheet `hoja`; "" when it reads fish. */
std::string rechazo(const std::string& nombre, const std::string& texto, const char* hoja = nullptr) {
  static int pasadas[MAX_PECES], clases[MAX_PECES];
  static float longitudes[MAX_PECES], pesos[MAX_PECES];
  static descripcion_datos d;
  std::string ruta = temporal(nombre);
  FILE* f = fopen(ruta.c_str(), "wb");
  fwrite(texto.data(), 1, texto.size(), f);
  fclose(f);
  f = fopen(ruta.c_str(), "rb");
  eleccion_datos e = {nullptr, nullptr, {nombre.c_str(), hoja}};
  char mensaje[LARGO_MENSAJE_LECTURA] = "";
  int n = lee_muestra_descrita(f, 0, &e, &d, pasadas, longitudes, pesos, clases, mensaje, sizeof mensaje);
  fclose(f);
  remove(ruta.c_str());
  return n == LECTURA_RECHAZADA ? mensaje : "";
}

std::string repite(const std::string& texto, int veces) {
  std::string r;
  r.reserve(texto.size() * (size_t)veces);
  for (int i = 0; i < veces; i++) r += texto;
  return r;
}

std::string zip(const std::vector<entrada_zip>& entradas) {
  std::string ruta = temporal("libro.zip");
  EXPECT_TRUE(escribe_zip(ruta, entradas));
  std::string t = contenido(ruta);
  remove(ruta.c_str());
  return t;
}

TEST(Libro, WhatCannotBeReadIsRefusedSayingWhy) {
  std::string peces = temporal("peces.xlsx");
  ASSERT_TRUE(escribe_xlsx(peces, hojas_de_peces({{"1", "27.4", "103.41", "4"}}), false));
  std::string libro = contenido(peces);
  remove(peces.c_str());
  const std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  const std::string paquete("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
  const struct {
    const char* nombre;
    std::string texto;
    const char* hoja;
    const char* mensaje;
  } casos[] = {
      {"datos.xlsx", "Pasada;Longitud;Peso\n1;2;3\n", nullptr,
       "<El nombre dice que es un libro (.xlsx, .ods) pero no lo es: no es un zip>"},
      {"datos.csv", "Pasada;Longitud;Peso\n1;2;3\n", "Peces", "<No es un libro (.xlsx, .ods): no tiene hojas que elegir>"},
      {"cifrado.xlsx", ole + std::string(600, '\0') + paquete + std::string(600, '\0'), nullptr,
       "<El libro esta protegido con contrasena: guardelo sin ella>"},
      {"cifrado.ods", zip(ods_de(CABECERA_ODS, "<manifest:encryption-data/>")), nullptr,
       "<El libro esta protegido con contrasena: guardelo sin ella>"},
      {"notas.xlsx", zip({{"notas.txt", "hola"}}), nullptr, "<Es un fichero comprimido (zip), no una tabla de texto>"},
      {"peces.xlsx", libro, "Nada", "<El libro no tiene la hoja \xabNada\xbb; sus hojas: Peces, Solo>"},
      {"peces.xlsx", libro.substr(0, libro.size() - 22), nullptr,
       "<El libro de Excel esta danado: no es un zip completo>"},
      {"roto.ods", zip(ods_de(std::string(CABECERA_ODS) + "<table:table-row><table:table-cell>")), nullptr,
       "<El libro de LibreOffice esta danado: su XML no es valido>"},
      {"entidades.ods",
       zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
            {"content.xml", "<!DOCTYPE a [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]><a>&b;</a>"}}),
       nullptr, "<El libro de LibreOffice esta danado: su XML no es valido>"},
      {"lejos.xlsx", zip(xlsx_de("<row r=\"3\"><c r=\"XFE3\"><v>1</v></c></row>")), nullptr,
       "<Linea 3: la celda XFE3 esta fuera de la hoja>"},
      {"atras.xlsx", zip(xlsx_de("<row r=\"3\"><c r=\"C3\"><v>1</v></c><c r=\"A3\"><v>1</v></c></row>")), nullptr,
       "<El libro de Excel esta danado: la celda A3 no sigue a las anteriores>"},
      {"texto.xlsx", zip(xlsx_de("<row r=\"2\"><c r=\"A2\" t=\"s\"><v>3</v></c></row>")), nullptr,
       "<El libro de Excel esta danado: una celda nombra un texto que no tiene>"},
      {"ancho.ods",
       zip(ods_de(std::string(CABECERA_ODS) +
                  "<table:table-row><table:table-cell table:number-columns-repeated=\"2000000000\" "
                  "office:value-type=\"float\" office:value=\"1\"/></table:table-row>")),
       nullptr, "<Linea 2: la hoja pasa de 16384 columnas>"},
      {"largo.ods",
       zip(ods_de(std::string(CABECERA_ODS) +
                  "<table:table-row table:number-rows-repeated=\"4000000000\"><table:table-cell "
                  "office:value-type=\"float\" office:value=\"1\"/></table:table-row>")),
       nullptr, "<La hoja pasa de 1048576 filas>"},
      // Regression: a row opened within a row put its cells before the outer row's and crashed the reader.
      {"anidada.ods",
       zip(ods_de(std::string(CABECERA_ODS) +
                  "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
                  "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"2\"/>"
                  "</table:table-row></table:table-row>")),
       nullptr, "<El libro de LibreOffice esta danado: una celda esta fuera de su sitio>"},
      // Regression: a row past the sheet's end without its number said "La fila (null)".
      {"filas.xlsx", zip(xlsx_de(repite("<row/>", 1048576))), nullptr, "<La fila 1048577 esta fuera de la hoja>"},
      // A single tag, or elements nested, that would take the parser gigabytes: refused by rule, at once.
      {"etiqueta.xlsx", zip(xlsx_de("<row r=\"2\"><c r=\"A2\" t=\"" + std::string(20 << 20, 'n') + "\"/></row>")),
       nullptr, "<Leer su XML pide mas de 4 MB de memoria>"},
      {"honda.ods", zip(ods_de(std::string(CABECERA_ODS) + repite("<x>", 3000000))), nullptr,
       "<Leer su XML pide mas de 4 MB de memoria>"},
      {"repetido.ods",
       zip(ods_de(std::string(CABECERA_ODS) + "<table:table-row><table:table-cell table:number-columns-repeated=\"16384\">"
                  "<text:p>" + std::string(60000, 'a') + "</text:p></table:table-cell></table:table-row>")),
       nullptr, "<La hoja ocupa mas de 64 MB como tabla>"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    EXPECT_EQ(rechazo(c.nombre, c.texto, c.hoja), c.mensaje);
  }
}

// Empty cells and rows repeated to the sheet's end, as LibreOffice writes
// every sheet, cost nothing: the fish before them and after a long gap are
// read, each on the line of its row.
TEST(Libro, RepeatedEmptyCellsAndRowsAreGapsNotWork) {
  const std::string vacias =
      "<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
      "table:number-columns-repeated=\"16384\"/></table:table-row>";
  const std::string pez =
      "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
      "<table:table-cell office:value-type=\"float\" office:value=\"27.4\"><text:p>27</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"float\" office:value=\"103.41\"/>"
      "<table:table-cell table:number-columns-repeated=\"16381\"/></table:table-row>";
  std::string sin_peso = pez;
  sin_peso.replace(sin_peso.find("office:value-type=\"float\" office:value=\"103.41\""), 47, "");
  EXPECT_EQ(rechazo("hueco.ods", zip(ods_de(std::string(CABECERA_ODS) + pez + vacias + pez))), "");
  EXPECT_EQ(rechazo("hueco.ods", zip(ods_de(std::string(CABECERA_ODS) + pez + vacias + sin_peso))),
            "<Linea 1000003, columna Peso: celda vacia>");
}

}  // namespace
