// Reading spreadsheet tables: the text of a cell in any of the encodings a
// spreadsheet saves, columns found by name, and a cell read as a number.
// Every table the program reads (fish, reaches) goes through these.
#ifndef PASADAS_TABLA_INTERNA_H
#define PASADAS_TABLA_INTERNA_H

#include <cstddef>
#include <cstdio>

#include "lectura_interna.h"
#include "sample.h"

/* The key of a Latin-1 name: its letters without accents in lower case and
   its digits, nothing else; with sin_parentesis, anything between
   parentheses is left out too ("Longitud (cm)" and "LONGITUD" give "longitud"). */
void clave_nombre(const char* nombre, int sin_parentesis, char* clave, size_t tam);
/* A header read a cell at a time, however wide: columnas_por_buscar starts
   the search (indices[k] -1 for every wanted column, *repetida -1); then
   anota_columna takes each cell's key: the wanted column it names gets the
   cell, unless an earlier cell named it, and then this is the first cell
   that names a column again (*repetida, when none was before). It returns
   that column, -1 when the key names none. columna_que_falta gives the
   first obligatory column missing, -1 when none is. */
void columnas_por_buscar(int nbuscadas, int* indices, int* repetida);
int anota_columna(const char* clave, int celda, const columna_buscada* buscadas, int nbuscadas,
                  int* indices, int* repetida);
int columna_que_falta(const columna_buscada* buscadas, int nbuscadas, const int* indices);
/* A cell of line `linea` as a word of a data file, to be read as a number. */
void palabra_de_celda(const char* celda, long long linea, palabra* p);

/* Up to tam bytes (at least 2) of f, ending at a line end: LF, CR LF or a
   CR alone. How many, 0 at the end; *fin_de_linea tells whether they end
   their line, so that a long line split into pieces counts once. */
size_t lee_trozo(FILE* f, char* trozo, size_t tam, int* fin_de_linea);

struct csv_parser;
/* libcsv's parser for a table: cells parted by separador, opciones as
   csv_init takes them, and no cell longer than 65536 bytes (a longer one
   stops the reading: TABLA_MAL_PARTIDA). */
void prepara_parser(csv_parser* p, int opciones, char separador);

/* How recorre_tabla ended. */
const int TABLA_LEIDA = 0;        /* at the end of the text */
const int TABLA_PARADA = 1;       /* the reader wanted no more */
const int TABLA_NUL = 2;          /* a NUL byte on line *linea: no text holds one */
const int TABLA_MAL_PARTIDA = 3;  /* libcsv refused the bytes of line *linea (csv_error says why) */
const int TABLA_SIN_CERRAR = 4;   /* the text ends inside quotes */

/* A table on its way through libcsv: the parser, its two callbacks and
   their data, and the reader's count of lines and wish to stop. */
struct recorrido_tabla {
  csv_parser* p;
  void (*celda)(void* texto, size_t largo, void* lector);
  void (*fila)(int fin, void* lector);
  void* lector;
  long long* linea;   /* the line of the bytes being handed over, from 1: kept by the walk */
  const int* parada;  /* nothing more is wanted once it is set; NULL reads to the end */
  int bom;            /* from the walk: the text began with a UTF-8 BOM, skipped */
  long long ultima;   /* from the walk: the line of the last byte read */
};
/* Hands the text of f, from where it stands, to libcsv a line at a time (a
   long line in pieces), so that *linea holds the line of the bytes handed
   over however long the lines are; a UTF-8 BOM at its start is skipped.
   Every table the program reads goes through it. Returns how it ended. */
int recorre_tabla(FILE* f, recorrido_tabla* r);

/* The text of f, read from where it stands, as the readers take it: f
   itself when it is text of a byte a letter; a new stream of its text in
   UTF-8 when it was saved as UTF-16 with its BOM (Excel's "Texto Unicode"),
   held in *memoria; the sheet libro asks of a workbook (.xlsx, .ods) as
   abre_libro gives it, and then *tipo names the kind of workbook (else
   NULL). NULL when f is another kind of file (.xls, another zip), a
   workbook that cannot be read, or text where libro asks a workbook, with
   the refusal in mensaje ("<...>"). libro may be NULL. */
FILE* abre_texto(FILE* f, const libro_pedido* libro, char** memoria, const char** tipo, char* mensaje,
                 int tam);
/* The sheet hoja (NULL: the first) of the workbook in f, from where f
   stands (an .ods when ods, else an .xlsx), as the text of a "," table:
   every cell quoted with its stored value (a number as stored, whatever
   its format shows), row N of the sheet on line N; a stream of memory in
   *memoria. NULL when it cannot be read: encrypted, damaged, too large,
   without that sheet (the refusal, "<...>", in mensaje). */
FILE* abre_libro(FILE* f, int ods, const char* hoja, char** memoria, char* mensaje, int tam);
/* Closes what abre_texto opened: texto when it is not f, and its memory. */
void cierra_texto(FILE* texto, FILE* f, char* memoria);

/* The separator of the table whose header is the first line of f that
   holds anything, from where f stands, however long; 0 when that line does
   not name the columns of a table of fish, -1 when f cannot be read again
   from where it stood. f is left there. */
int separador_de_tabla(FILE* f);
/* Reads the table of fish in f from its start, its separator known; as lee_muestra_descrita. */
int lee_tabla(FILE* f, char separador, int con_clases, const eleccion_datos* e,
              descripcion_datos* d, int* pasadas, float* longitudes, float* pesos, int* clases,
              char* mensaje, int tam_mensaje);

#endif
