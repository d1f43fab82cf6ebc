// Arbitrary bytes read as a workbook: as the file itself (a mutated zip),
// or as the XML of a sound zip around it ('o': an .ods's content.xml, 'x':
// an .xlsx's sheet, 's': its shared strings), so that mutations reach the
// XML readers past the zip's checks. Both table readers must never fault;
// a refusal is one message in brackets, and whatever they accept keeps the
// ranges every fish and row must keep.
#include <minizip/zip.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sample.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];
static float longitudes[MAX_PECES], pesos[MAX_PECES];
static std::vector<fila_tabla> filas;
static char ruta[] = "/tmp/pasadas-libro-fuzz-XXXXXX";

static void comprueba(bool cierto) {
  if (!cierto) abort();
}

static const char NS[] = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
static const std::string LIBRO = std::string("<workbook ") + NS +
                                 " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                                 "<sheets><sheet name=\"Peces\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
static const char RELACIONES[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
static const std::string TEXTOS = std::string("<sst ") + NS +
                                  "><si><t>Pasada</t></si><si><t>Longitud (cm)</t></si><si><t>Peso (g)</t></si>"
                                  "<si><t>Clase</t></si><si><r><t>T0</t></r><r><t>1</t></r></si></sst>";
static const std::string HOJA = std::string("<worksheet ") + NS +
                                "><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v>"
                                "</c><c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c></row><row r=\"2\">"
                                "<c><v>1</v></c><c><v>27.4</v></c><c><v>103.41</v></c><c><v>4</v></c></row>"
                                "</sheetData></worksheet>";

/* Writes a zip of the entries (name, text) at ruta; 0 when it could not. */
static int escribe_zip(const char* const (*entradas)[2], const std::string* textos, int n) {
  zipFile z = zipOpen64(ruta, 0);
  if (!z) return 0;
  for (int k = 0; k < n; k++) {
    zip_fileinfo info = {};
    if (zipOpenNewFileInZip(z, entradas[k][0], &info, nullptr, 0, nullptr, 0, nullptr, 0, 0) != ZIP_OK) break;
    zipWriteInFileInZip(z, textos[k].data(), (unsigned)textos[k].size());
    zipCloseFileInZip(z);
  }
  return zipClose(z, nullptr) == ZIP_OK;
}

/* The file the input stands for, written at ruta; its name's ending. */
static const char* prepara(const uint8_t* datos, size_t tam) {
  std::string xml((const char*)datos + 1, tam - 1);
  if (datos[0] == 'o') {
    const char* const entradas[][2] = {{"mimetype", ""}, {"content.xml", ""}};
    const std::string textos[] = {"application/vnd.oasis.opendocument.spreadsheet", xml};
    return escribe_zip(entradas, textos, 2) ? ".ods" : nullptr;
  }
  if (datos[0] == 'x' || datos[0] == 's') {
    const char* const entradas[][2] = {
        {"xl/workbook.xml", ""}, {"xl/_rels/workbook.xml.rels", ""}, {"xl/sharedStrings.xml", ""},
        {"xl/worksheets/sheet1.xml", ""}};
    const std::string textos[] = {LIBRO, RELACIONES, datos[0] == 's' ? xml : TEXTOS, datos[0] == 'x' ? xml : HOJA};
    return escribe_zip(entradas, textos, 4) ? ".xlsx" : nullptr;
  }
  FILE* f = fopen(ruta, "wb");
  if (!f) return nullptr;
  fwrite(datos, 1, tam, f);
  return fclose(f) == 0 ? ".xlsx" : nullptr;
}

static void lee_peces(const char* nombre, const char* hoja) {
  FILE* f = fopen(ruta, "rb");
  if (!f) return;
  static descripcion_datos d;
  eleccion_datos e = {nullptr, nullptr, {nombre, hoja}};
  char mensaje[LARGO_MENSAJE_LECTURA];
  memset(mensaje, 'x', sizeof mensaje);
  int n = lee_muestra_descrita(f, CLASES_SI_LAS_HAY, &e, &d, pasadas, longitudes, pesos, clases, mensaje,
                               sizeof mensaje);
  fclose(f);
  if (n == LECTURA_RECHAZADA) {
    size_t m = strnlen(mensaje, sizeof mensaje);
    comprueba(m > 2 && m < sizeof mensaje && mensaje[0] == '<' && mensaje[m - 1] == '>');
    return;
  }
  comprueba(n >= 0 && n <= MAX_PECES);
  for (int i = 0; i < n; i++) {
    comprueba(pasadas[i] >= 1 && pasadas[i] <= MAX_PASADAS);
    comprueba(std::isfinite(longitudes[i]) && longitudes[i] > 0);
    comprueba(std::isfinite(pesos[i]) && pesos[i] > 0);
    if (d.con_clases) comprueba(clases[i] >= 0 && clases[i] < MAX_CLASES);
  }
}

static void lee_tramos(const char* nombre, const char* hoja) {
  static const columna_buscada COLUMNAS[2] = {{"Tramo", {"tramo", "pasada", nullptr}, 1},
                                              {"Fichero", {"fichero", "longitud", nullptr}, 0}};
  FILE* f = fopen(ruta, "rb");
  if (!f) return;
  libro_pedido libro = {nombre, hoja};
  lectura_tabla l = lee_tabla_nombrada(f, COLUMNAS, 2, &filas, 8, &libro);
  fclose(f);
  comprueba(l.nfilas >= 0 && l.nfilas <= 8 && strnlen(l.mensaje, sizeof l.mensaje) < sizeof l.mensaje);
  comprueba(l.resultado != TABLA_ACEPTADA || l.mensaje[0] == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
  static int preparado = 0;
  if (!preparado) {
    int fd = mkstemp(ruta);
    if (fd < 0) abort();
    close(fd);
    atexit([] { unlink(ruta); });
    preparado = 1;
  }
  if (tam == 0) return 0;
  const char* final = prepara(datos, tam);
  if (!final) return 0;
  std::string nombre = std::string("libro") + final;
  const char* hoja = tam % 2 ? "Peces" : nullptr;  // a sheet asked by name, or the first
  lee_peces(nombre.c_str(), hoja);
  lee_tramos(nombre.c_str(), hoja);
  return 0;
}
