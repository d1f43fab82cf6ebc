// The pieces of data-file reading that both kinds of file share: how a word
// or a cell is told to be a number, and the ranges every fish must keep.
// Only the readers in this folder include it.
#ifndef PASADAS_LECTURA_INTERNA_H
#define PASADAS_LECTURA_INTERNA_H

#include <cstddef>
#include <cstdio>

/* A number longer than this is no value anyone typed; it is refused. */
const int LARGO_PALABRA = 64;
/* Beyond the largest sturgeon: such a value is a slip of the keyboard, and
   every table would print it across its neighbours. */
const float LONGITUD_MAXIMA = 1000;  // cm
const float PESO_MAXIMO = 2000000;   // g

/* What a word of the file can be. */
enum tipo_palabra {
  PALABRA,       // not a number at all: a header or a footer
  ENTERO,        // digits with an optional sign
  DECIMAL,       // a finite number written with a point or an exponent
  NUMERO_MALO,   // starts like a number but is none ("1.5x", "27,4", "nan", far too long,
                 // beyond single precision)
};

struct palabra {
  char texto[LARGO_PALABRA];
  size_t largo;  // 0 at the end of the file
  long long linea;
  tipo_palabra tipo;
};

/* The kind of the word s of largo characters (largo may exceed what s holds). */
tipo_palabra clasifica(const char* s, size_t largo);
/* 1 and *valor when the word is an integer within [menor, mayor]. */
int entero_en(const palabra* p, int menor, int mayor, int* valor);
/* 1 and *valor when the word is an age class, 0 to MAX_CLASES - 1, written
   as a number or as every screen writes it ("3+"). */
int clase_en(const palabra* p, int* valor);
/* 1 and *valor when the word is a finite number above 0 in single precision. */
int positivo(const palabra* p, float* valor);
/* 1 when the word is a number above tope (LONGITUD_MAXIMA, PESO_MAXIMO). */
int supera(const palabra* p, float tope);

/* The refusal of a reach or species chosen in a file without its column. */
const char SIN_COLUMNA[] = "<El fichero no tiene columna %s>";

/* The reader of files of words: a header of four words (con_clases) or
   three, then the records; as lee_muestra. */
int lee_palabras(FILE* f, int con_clases, int* pasadas, float* longitudes, float* pesos,
                 int* clases, char* mensaje, int tam_mensaje);

#endif
