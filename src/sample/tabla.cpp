// Reading a table whose first row names its columns, for the tables that are
// no fish: a season's table of reaches. Its text is taken as the fish
// tables' is (encodings, line ends, column names found by key), and each
// row's cells come back by column, in UTF-8 and as their very bytes.
#include <csv.h>

#include <cstring>
#include <initializer_list>

#include "tabla_interna.h"

static const size_t PRIMERA_LINEA = 4096; /* bytes of the header that tell the separator */

/* The table being read, cell by cell, by libcsv. */
struct lector_nombrado {
  const columna_buscada* columnas;
  int ncolumnas;
  fila_tabla* filas;
  int max_filas;
  int en_cabecera, campo;
  int indice[MAX_COLUMNAS_TABLA];  /* the cell of each column, -1 when absent */
  int repetida;                    /* a cell naming a column again: the first one stands */
  int vacia, larga, llena;
  long long linea;
  lectura_tabla* l;
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
  if (r->l->nfilas >= r->max_filas) return;
  fila_tabla* f = &r->filas[r->l->nfilas];
  for (int k = 0; k < r->ncolumnas; k++)
    if (r->indice[k] == c) {
      if (largo >= (size_t)LARGO_CELDA_TABLA) r->larga = 1;
      f->control[k] = texto_utf8((const char*)s, largo, f->celda[k], LARGO_CELDA_UTF8) & TEXTO_CONTROL;
      crudo((const char*)s, largo, f->crudo[k], LARGO_CELDA_TABLA);
      if (f->celda[k][0]) r->vacia = 0;
    }
}

static void fila_leida(int, void* datos) {
  lector_nombrado* r = (lector_nombrado*)datos;
  lectura_tabla* l = r->l;
  if (r->en_cabecera) {
    int falta = columna_que_falta(r->columnas, r->ncolumnas, r->indice);
    if (falta >= 0 && !l->mensaje[0])
      snprintf(l->mensaje, sizeof l->mensaje, "falta la columna %s", r->columnas[falta].nombre);
    r->en_cabecera = 0;
  } else if (l->nfilas < r->max_filas) {
    if (!r->vacia) r->filas[l->nfilas++].linea = r->linea;
  } else if (!l->mensaje[0]) {
    r->llena = 1;
  }
  r->campo = 0;
  r->vacia = 1;
  if (l->nfilas < r->max_filas) memset(&r->filas[l->nfilas], 0, sizeof(fila_tabla));
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
                                 fila_tabla* filas, int max_filas, const libro_pedido* libro) {
  lectura_tabla l = {TABLA_ACEPTADA, 0, ';', ""};
  lector_nombrado r = {};
  r.columnas = columnas, r.ncolumnas = ncolumnas < MAX_COLUMNAS_TABLA ? ncolumnas : MAX_COLUMNAS_TABLA;
  r.filas = filas, r.max_filas = max_filas, r.l = &l;
  r.en_cabecera = 1, r.vacia = 1, r.linea = 1;
  columnas_por_buscar(r.ncolumnas, r.indice, &r.repetida);
  if (max_filas > 0) memset(&filas[0], 0, sizeof(fila_tabla));
  char* memoria;
  const char* tipo;
  char mensaje[LARGO_MENSAJE_LECTURA];
  FILE* texto = abre_texto(f, libro, &memoria, &tipo, mensaje, sizeof mensaje);
  if (texto)
    l.separador = recorre_filas(texto, &r, tipo ? ',' : 0);  // a workbook's sheet comes as a "," table
  else  // the reader's words, without the window's brackets
    snprintf(l.mensaje, sizeof l.mensaje, "%.*s", (int)strlen(mensaje) - 2, mensaje + 1);
  cierra_texto(texto, f, memoria);
  if (r.llena && !l.mensaje[0]) l.resultado = TABLA_DEMASIADAS_FILAS;
  else if (r.larga && !l.mensaje[0]) snprintf(l.mensaje, sizeof l.mensaje, "una celda es demasiado larga");
  if (l.mensaje[0]) l.resultado = TABLA_RECHAZADA;
  return l;
}
