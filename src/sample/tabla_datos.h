// Reading spreadsheet tables: the text of a cell in any of the encodings a
// spreadsheet saves, columns found by name, and a cell read as a number.
// Every table the program reads (fish, reaches) goes through these.
#ifndef PASADAS_TABLA_DATOS_H
#define PASADAS_TABLA_DATOS_H

#include <cstddef>
#include <cstdio>

#include "lectura_interna.h"
#include "sample.h"

/* A column a table may have: the name messages give it and the keys it goes
   by (see clave_nombre), NULL-ended. */
struct columna_buscada {
  const char* nombre;
  const char* claves[6];
  int obligatoria;
};

/* The key of a Latin-1 name: its letters without accents in lower case and
   its digits, nothing else; with sin_parentesis, anything between
   parentheses is left out too ("Longitud (cm)" and "LONGITUD" give "longitud"). */
void clave_nombre(const char* nombre, int sin_parentesis, char* clave, size_t tam);
/* Finds the wanted columns among the keys of a header's nclaves cells:
   indices[k] gets the cell of buscadas[k], -1 when none has its key. Returns
   the number of the first obligatory column missing, -1 when none is;
   *repetida gets the first cell that names a column again, -1 when none does. */
int busca_columnas(const char (*claves)[LARGO_VALOR], int nclaves, const columna_buscada* buscadas,
                   int nbuscadas, int* indices, int* repetida);
/* A cell of line `linea` as a word of a data file, to be read as a number. */
void palabra_de_celda(const char* celda, long long linea, palabra* p);

/* Up to tam bytes (at least 2) of f, ending at a line end: LF, CR LF or a
   CR alone. How many, 0 at the end; *fin_de_linea tells whether they end
   their line, so that a long line split into pieces counts once. */
size_t lee_trozo(FILE* f, char* trozo, size_t tam, int* fin_de_linea);

/* The text of f, read from where it stands, as the readers take it: f
   itself when it is text of a byte a letter; a new stream of its text in
   UTF-8 when it was saved as UTF-16 with its BOM (Excel's "Texto Unicode"),
   held in *memoria. NULL when f is a workbook (.xlsx, .ods, .xls) or
   another zip, or cannot be read, with the refusal in mensaje ("<...>"). */
FILE* abre_texto(FILE* f, char** memoria, char* mensaje, int tam);
/* Closes what abre_texto opened: texto when it is not f, and its memory. */
void cierra_texto(FILE* texto, FILE* f, char* memoria);

/* The separator of a table whose first line (without its BOM) is linea,
   largo bytes; 0 when the line does not name the columns of a table of fish. */
char separador_de_tabla(const char* linea, size_t largo);
/* Reads the table of fish in f from its start, its separator known; as lee_muestra_descrita. */
int lee_tabla(FILE* f, char separador, int con_clases, const eleccion_datos* e,
              descripcion_datos* d, int* pasadas, float* longitudes, float* pesos, int* clases,
              char* mensaje, int tam_mensaje);

#endif
