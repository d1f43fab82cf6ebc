// The season's summary as one workbook, resumen.xlsx: a sheet for each
// summary table with the very cells of its rows, the figures stored as
// numbers so that any spreadsheet shows them in its own way whatever its
// language, and a sheet saying what the workbook is and where it comes from.
#include <minizip/unzip.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "resumen.h"

static const char NOMBRE_LIBRO[] = "resumen.xlsx";
static const int ANCHO_MAXIMO = 60;  /* characters a column is widened to at most: warnings are long */
static const int ANCHO_ACERCA = 16;  /* characters of the first column of "Acerca de" */
static const int FILA_CABECERA = 1;  /* rows kept in view above the scrolling ones */

/* What only a workbook this program wrote, and no one saved since, holds:
   its author and its last author are this program (libxlsxwriter writes the
   author as both), and the application named is the one libxlsxwriter
   names. A spreadsheet that saves it names itself (LibreOffice) or its user
   as the last author (Excel): the workbook is then the user's. */
static const struct {
  const char* miembro;
  const char* texto;
} PROPIEDADES_PROPIAS[] = {
    {"docProps/core.xml", "<dc:creator>pasadas-informe</dc:creator>"},
    {"docProps/core.xml", "<cp:lastModifiedBy>pasadas-informe</cp:lastModifiedBy>"},
    {"docProps/app.xml", "<Application>Microsoft Excel</Application>"},
};
static const long MAX_PROPIEDADES = 16384; /* bytes of the properties read: ours take under one */

void nombre_libro(const char* carpeta, char* nombre) {
  snprintf(nombre, CAPACIDAD_RUTA, "%s/%s", carpeta, NOMBRE_LIBRO);
}

/* ---- Knowing our own workbook ---- */

/* The first bytes of the zip's member `nombre`, NUL-ended; "" when it has none. */
static std::string miembro_de(const char* ruta, const char* nombre) {
  std::string texto;
  unzFile z = unzOpen(ruta);
  if (!z) return texto;
  if (unzLocateFile(z, nombre, 1) == UNZ_OK && unzOpenCurrentFile(z) == UNZ_OK) {
    texto.resize(MAX_PROPIEDADES);
    int leidos = unzReadCurrentFile(z, &texto[0], (unsigned)texto.size());
    texto.resize(leidos > 0 ? (size_t)leidos : 0);
    unzCloseCurrentFile(z);
  }
  unzClose(z);
  return texto;
}

int libro_sustituible(const char* ruta) {
  char zip[4];
  size_t leidos;
  long long largo;
  int hay = comienzo_de(ruta, zip, sizeof zip, &leidos, &largo);  // a FIFO is not opened to wait
  if (hay != NOMBRE_OCUPADO) return hay == NOMBRE_LIBRE;
  if (largo == 0) return 1;
  if (leidos < sizeof zip || memcmp(zip, "PK\3\4", sizeof zip) != 0) return 0;
  for (const auto& propia : PROPIEDADES_PROPIAS)
    if (miembro_de(ruta, propia.miembro).find(propia.texto) == std::string::npos) return 0;
  return 1;
}

/* ---- Writing it ---- */

/* A format of the workbook, noted as lost when it cannot be made. */
static lxw_format* formato(libro_resumen* l, const char* numeros, int negrita) {
  lxw_format* f = workbook_add_format(l->libro);
  if (!f) {
    l->error = 1;
    return nullptr;
  }
  if (numeros) format_set_num_format(f, numeros);
  if (negrita) format_set_bold(f);
  return f;
}

/* The workbook names this program, the run and what it holds, so that a
   later season knows it as its own and the user sees where it comes from. */
static void pon_propiedades(libro_resumen* l, const acerca_resumen* a) {
  std::string comentario = std::string("Escrito por ") + a->version + " el " + a->fecha +
                           " a partir de la tabla de tramos " + a->tabla;
  lxw_doc_properties p = {};
  p.title = (char*)"Resumen de la campa\xc3\xb1" "a";
  p.author = (char*)PROGRAMA;
  p.comments = (char*)comentario.c_str();
  p.created = a->hora;  // the run's: two runs of one day give the same bytes with SOURCE_DATE_EPOCH
  if (workbook_set_properties(l->libro, &p) != LXW_NO_ERROR) l->error = 1;
}

int libro_abre(libro_resumen* l, const char* carpeta, const acerca_resumen* acerca, temporales* juego) {
  memset(l, 0, sizeof *l);
  char ruta[CAPACIDAD_RUTA];
  nombre_libro(carpeta, ruta);
  l->f = temporal_abre(juego, ruta, ".xlsx");
  if (!l->f || !temporal_nombre(juego, l->f, l->nombre, sizeof l->nombre)) return 0;
  // Each row goes to a temporary file as it is finished, not kept as cells:
  // the season's memory stays that of its figures, however many reaches.
  // Those files go in the summary's own folder, whose room the season has
  // checked, never in a /tmp that may be full or small.
  snprintf(l->carpeta, sizeof l->carpeta, "%s", carpeta);
  lxw_workbook_options opciones = {};
  opciones.constant_memory = LXW_TRUE;
  opciones.tmpdir = l->carpeta;
  if (!(l->libro = workbook_new_opt(l->nombre, &opciones))) return 0;
  l->cabecera = formato(l, nullptr, 1);
  std::string ceros = "0.";
  l->decimales[0] = formato(l, "0", 0);
  for (int d = 1; d <= DECIMALES_LIBRO; d++) l->decimales[d] = formato(l, (ceros += "0").c_str(), 0);
  pon_propiedades(l, acerca);
  return !l->error;
}

lxw_worksheet* libro_hoja(libro_resumen* l, const char* nombre) {
  lxw_worksheet* h = workbook_add_worksheet(l->libro, nombre);
  if (h) worksheet_freeze_panes(h, FILA_CABECERA, 0);
  return h;
}

/* Characters of a UTF-8 text: its bytes that start a letter. */
static int letras(const char* texto) {
  int n = 0;
  for (const char* c = texto; *c; c++) n += ((unsigned char)*c & 0xC0) != 0x80;
  return n;
}

/* Notes a cell written in column c of the row at hand: its width, and its row among the sheet's. */
static void anota_ancho(tabla_resumen* t, int c, const char* texto) {
  if (t->fila != t->fila_anotada) t->filas_hoja++, t->fila_anotada = t->fila;
  int n = letras(texto);
  if (c < MAX_COLUMNAS_RESUMEN && n > t->ancho[c]) t->ancho[c] = n;
}

void hoja_texto(tabla_resumen* t, int c, const char* texto) {
  if (!texto[0]) return;  // an empty cell stays blank, as in the table
  lxw_format* f = t->fila == 0 ? t->libro->cabecera : nullptr;
  if (worksheet_write_string(t->hoja, (lxw_row_t)t->fila, (lxw_col_t)c, texto, f) != LXW_NO_ERROR)
    t->libro->error = 1;
  anota_ancho(t, c, texto);
}

void hoja_cifra(tabla_resumen* t, int c, const char* texto) {
  double v;
  const char* fin = texto + strlen(texto);
  std::from_chars_result r = std::from_chars(texto, fin, v);
  if (r.ec != std::errc() || r.ptr != fin) return hoja_texto(t, c, texto);
  const char* punto = strchr(texto, '.');
  int decimales = punto ? (int)(fin - punto - 1) : 0;
  lxw_format* f = t->libro->decimales[decimales < DECIMALES_LIBRO ? decimales : DECIMALES_LIBRO];
  if (worksheet_write_number(t->hoja, (lxw_row_t)t->fila, (lxw_col_t)c, v, f) != LXW_NO_ERROR)
    t->libro->error = 1;
  anota_ancho(t, c, texto);
}

/* Each column as wide as its widest cell, up to ANCHO_MAXIMO. */
static void ajusta_columnas(const tabla_resumen* t) {
  for (int c = 0; c < MAX_COLUMNAS_RESUMEN; c++) {
    if (!t->ancho[c]) continue;  // a column without a cell keeps the sheet's width
    int ancho = t->ancho[c] < ANCHO_MAXIMO ? t->ancho[c] : ANCHO_MAXIMO;
    if (worksheet_set_column(t->hoja, (lxw_col_t)c, (lxw_col_t)c, ancho + 2, nullptr) != LXW_NO_ERROR)
      t->libro->error = 1;
  }
}

/* The sheet "Acerca de": the program, the run, and a line per sheet. */
static void hoja_acerca(libro_resumen* l, const acerca_resumen* a, const dialecto_resumen* d) {
  lxw_worksheet* h = workbook_add_worksheet(l->libro, "Acerca de");
  if (!h) {
    l->error = 1;
    return;
  }
  const std::string e = std::string(".") + d->extension + ")";
  const std::string filas[][2] = {
      {"Programa", a->version},
      {"Fecha", a->fecha},
      {"Tabla de tramos", a->tabla},
      {"", ""},
      {"Hoja", "Contenido"},
      {"Resumen", "Una fila por tramo: capturas, estimaci\xc3\xb3n de la poblaci\xc3\xb3n, densidad y "
                  "biomasa por frecuencias, ajustes, lo que se dio al tramo y sus avisos (resumen" + e},
      {"Clases", "Una fila por tramo y clase de edad: estimaci\xc3\xb3n, longitud y peso medios, "
                 "densidad y biomasa por clases (resumen_clases" + e},
      {"Diagn\xc3\xb3stico", "La segunda opini\xc3\xb3n sobre las estimaciones de cada tramo, una fila "
                             "por clase y otra por la muestra completa (resumen_diagnostico" + e},
      {"Acerca de", "Esta hoja"}};
  size_t ancho = 0;
  for (lxw_row_t f = 0; f < sizeof filas / sizeof *filas; f++)
    for (lxw_col_t c = 0; c < 2; c++) {
      if (filas[f][c].empty()) continue;
      lxw_format* formato = c == 0 || f == 4 ? l->cabecera : nullptr;
      if (worksheet_write_string(h, f, c, filas[f][c].c_str(), formato) != LXW_NO_ERROR) l->error = 1;
      if (c == 1) ancho = std::max(ancho, (size_t)letras(filas[f][c].c_str()));
    }
  if (worksheet_set_column(h, 0, 0, ANCHO_ACERCA, nullptr) != LXW_NO_ERROR ||
      worksheet_set_column(h, 1, 1, (double)ancho + 2, nullptr) != LXW_NO_ERROR)
    l->error = 1;
}

/* libxlsxwriter checks none of the writes to its temporary files: a disk
   that filled up meanwhile leaves cut sheets in a workbook it calls
   written. The workbook is read back instead: 1 when every part is whole
   and each table's sheet has the rows the table has. */
static int libro_leido_entero(const libro_resumen* l, tabla_resumen* const* tablas, int n) {
  FILE* f;
  if (abre_lectura(l->nombre, &f) != FICHERO_ABIERTO) return 0;
  long filas[TABLAS_RESUMEN];
  int bien = n <= TABLAS_RESUMEN && libro_entero(f, filas, n);
  fclose(f);
  for (int i = 0; bien && i < n; i++) bien = filas[i] == tablas[i]->filas_hoja;
  return bien;
}

int libro_cierra(libro_resumen* l, tabla_resumen* const* tablas, int n, const acerca_resumen* acerca,
                 const dialecto_resumen* d, temporales* juego) {
  if (!l->libro) return 0;
  for (int i = 0; i < n; i++) ajusta_columnas(tablas[i]);
  hoja_acerca(l, acerca, d);
  int bien = !l->error;
  bien = workbook_close(l->libro) == LXW_NO_ERROR && bien;  // it frees the workbook, written or not
  l->libro = nullptr;
  bien = bien && libro_leido_entero(l, tablas, n);
  bien = temporal_cierra(juego, l->f) && bien;
  l->f = nullptr;
  return bien;
}

void libro_descarta(libro_resumen* l) {
  if (l->libro) lxw_workbook_free(l->libro);
  l->libro = nullptr;
  l->f = nullptr;  // the set it belongs to discards its file
}
