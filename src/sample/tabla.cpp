// Reading a table whose first row names its columns, for the tables that are
// no fish: a season's table of reaches. Its text is taken as the fish
// tables' is (encodings, line ends, column names found by key), and each
// row's cells come back by column, in UTF-8 and as their very bytes.
#include <csv.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tabla_interna.h"

static const size_t PRIMERA_LINEA = 4096; /* bytes of the header that tell the separator */

/* The table being read, cell by cell, by libcsv. */
struct lector_nombrado {
  const columna_buscada* columnas;
  int ncolumnas;
  std::vector<fila_tabla>* filas;
  int max_filas;
  int en_cabecera, campo;
  int indice[MAX_COLUMNAS_TABLA];  /* the cell of each column, -1 when absent */
  int repetida;                    /* a cell naming a column again: the first one stands */
  int vacia, llena;
  long long linea;
  lectura_tabla* l;
  /* The row at hand, until it ends. */
  std::string celda[MAX_COLUMNAS_TABLA], crudo[MAX_COLUMNAS_TABLA];
  int control[MAX_COLUMNAS_TABLA];
  int larga;
};

/* The bytes of a cell without the blanks at its ends, as a C string. */
static void crudo(const char* s, size_t largo, char* destino, size_t tam) {
  while (largo && (*s == ' ' || *s == '\t')) s++, largo--;
  while (largo && (s[largo - 1] == ' ' || s[largo - 1] == '\t' || s[largo - 1] == '\r')) largo--;
  if (largo >= tam) largo = tam - 1;
  memcpy(destino, s, largo);
  destino[largo] = 0;
}

static void celda_leida(void* s, size_t largo, void* datos) {
  lector_nombrado* r = (lector_nombrado*)datos;
  int c = r->campo++;
  if (r->en_cabecera) {  // a column is found wherever it stands, however wide the table
    char latin1[LARGO_VALOR], clave[LARGO_VALOR];
    texto_latin1((const char*)s, largo, latin1, sizeof latin1);
    clave_nombre(latin1, 1, clave, sizeof clave);
    anota_columna(clave, c, r->columnas, r->ncolumnas, r->indice, &r->repetida);
    return;
  }
  if ((int)r->filas->size() >= r->max_filas) return;
  for (int k = 0; k < r->ncolumnas; k++)
    if (r->indice[k] == c) {
      if (largo >= (size_t)LARGO_CELDA_TABLA && r->larga < 0) r->larga = k;
      char utf8[LARGO_CELDA_UTF8], bytes[LARGO_CELDA_TABLA];
      r->control[k] = texto_utf8((const char*)s, largo, utf8, sizeof utf8) & TEXTO_CONTROL;
      crudo((const char*)s, largo, bytes, sizeof bytes);
      r->celda[k] = utf8;
      r->crudo[k] = bytes;
      if (utf8[0]) r->vacia = 0;
    }
}

/* Puts texto at *p, moving *p past it; where it was put. */
static const char* copia(const std::string& texto, char** p) {
  char* inicio = *p;
  memcpy(inicio, texto.c_str(), texto.size() + 1);
  *p += texto.size() + 1;
  return inicio;
}

/* The row at hand as a row of the table, its cells in a text of their own. */
static void guarda_fila(lector_nombrado* r) {
  size_t largo = 0;
  for (int k = 0; k < r->ncolumnas; k++) largo += r->celda[k].size() + r->crudo[k].size() + 2;
  fila_tabla f;
  f.texto.reset(new char[largo]);
  char* p = f.texto.get();
  for (int k = 0; k < MAX_COLUMNAS_TABLA; k++) {
    f.control[k] = k < r->ncolumnas ? r->control[k] : 0;
    f.celda[k] = f.crudo[k] = "";
    if (k >= r->ncolumnas) continue;
    f.celda[k] = copia(r->celda[k], &p);
    f.crudo[k] = copia(r->crudo[k], &p);
  }
  f.larga = r->larga;
  f.linea = r->linea;
  r->filas->push_back(std::move(f));
}

static void fila_leida(int, void* datos) {
  lector_nombrado* r = (lector_nombrado*)datos;
  lectura_tabla* l = r->l;
  if (r->en_cabecera) {
    int falta = columna_que_falta(r->columnas, r->ncolumnas, r->indice);
    if (falta >= 0 && !l->mensaje[0])
      snprintf(l->mensaje, sizeof l->mensaje, "falta la columna %s", r->columnas[falta].nombre);
    r->en_cabecera = 0;
  } else if ((int)r->filas->size() < r->max_filas) {
    if (!r->vacia) guarda_fila(r);
  } else if (!l->mensaje[0]) {
    r->llena = 1;
  }
  r->campo = 0;
  r->vacia = 1;
  r->larga = -1;
  for (int k = 0; k < r->ncolumnas; k++) r->celda[k].clear(), r->crudo[k].clear(), r->control[k] = 0;
}

/* The separator of the table: the first of ";", tab and "," its header holds. */
static char separador_de(const char* linea) {
  for (char s : {';', '\t', ','})
    if (strchr(linea, s)) return s;
  return ';';
}

/* The separator of the text f, told by its first line; f is left where it stood. */
static char separador_del_texto(FILE* f) {
  char linea[PRIMERA_LINEA];
  int fin_de_linea;
  long inicio = ftell(f);
  size_t largo = lee_trozo(f, linea, sizeof linea - 1, &fin_de_linea);
  linea[largo] = 0;
  if (inicio >= 0) fseek(f, inicio, SEEK_SET);  // a regular file, or the text of one in memory
  return separador_de(linea);
}

/* The rows of the text f into r, a line at a time; the table's separator,
   told by its first line unless given. */
static char recorre_filas(FILE* f, lector_nombrado* r, char separador) {
  if (!separador) separador = separador_del_texto(f);
  struct csv_parser p;
  prepara_parser(&p, CSV_APPEND_NULL, separador);
  recorrido_tabla t = {&p, celda_leida, fila_leida, r, &r->linea, nullptr, 0, 0};
  int fin = recorre_tabla(f, &t);
  lectura_tabla* l = r->l;
  if ((fin == TABLA_NUL || fin == TABLA_MAL_PARTIDA) && !l->mensaje[0])
    snprintf(l->mensaje, sizeof l->mensaje, "fila %lld: %s", r->linea,
             fin == TABLA_NUL ? "tiene un caracter nulo" : "celda de mas de 65536 caracteres");
  csv_free(&p);
  return separador;
}

lectura_tabla lee_tabla_nombrada(FILE* f, const columna_buscada* columnas, int ncolumnas,
                                 std::vector<fila_tabla>* filas, int max_filas, const libro_pedido* libro) {
  lectura_tabla l = {TABLA_ACEPTADA, 0, ';', ""};
  lector_nombrado r = {};
  r.columnas = columnas, r.ncolumnas = ncolumnas < MAX_COLUMNAS_TABLA ? ncolumnas : MAX_COLUMNAS_TABLA;
  r.filas = filas, r.max_filas = max_filas, r.l = &l;
  r.en_cabecera = 1, r.vacia = 1, r.linea = 1, r.larga = -1;
  columnas_por_buscar(r.ncolumnas, r.indice, &r.repetida);
  filas->clear();
  char* memoria;
  const char* tipo;
  char mensaje[LARGO_MENSAJE_LECTURA];
  FILE* texto = abre_texto(f, libro, &memoria, &tipo, mensaje, sizeof mensaje);
  if (texto)
    l.separador = recorre_filas(texto, &r, tipo ? ',' : 0);  // a workbook's sheet comes as a "," table
  else  // the reader's words, without the window's brackets
    snprintf(l.mensaje, sizeof l.mensaje, "%.*s", (int)strlen(mensaje) - 2, mensaje + 1);
  cierra_texto(texto, f, memoria);
  l.nfilas = (int)filas->size();
  if (r.llena && !l.mensaje[0]) l.resultado = TABLA_DEMASIADAS_FILAS;
  if (l.mensaje[0]) l.resultado = TABLA_RECHAZADA;
  return l;
}
