// The results report: nine tab-separated sections and four graph images.
// The writer needs no window and no keys, so the export screen and the batch
// command produce the same bytes from the same code.
#ifndef PASADAS_EXPORT_H
#define PASADAS_EXPORT_H

#include <allegro.h>

#include <cstdio>

const int CAPACIDAD_NOMBRE_IMAGEN = 111; /* characters of an image's file name: stem, digit, ".bmp" */
const int CAPACIDAD_RUTA = 1024;         /* characters of a whole path, folder included */

/* A report being written. It goes to a temporary file beside its name and
   takes that name only when it is closed whole, so an existing report is
   never emptied or left half-written. */
struct informe {
  FILE* f;
  int error;                         /* a write failed: the report will not be kept */
  int imagen_fallida;                /* digit of an image that could not be saved, 0 if none */
  char nombre[CAPACIDAD_RUTA];       /* the report's name */
  char temporal[CAPACIDAD_RUTA];     /* where it is written until closed */
  char raiz_imagenes[CAPACIDAD_RUTA - 16]; /* folder and stem of the image names */
  int total_valido;  /* after escribe_informe: the whole-sample estimate is valid */
  int N_total;       /* its rounded-up N, or the catch when it failed */
  int sup_total;     /* the rounded upper limit of its 95 % interval (valid only) */
};

/* Results of informe_abre. */
const int INFORME_ABIERTO = 0;
const int INFORME_NO_CREADO = 1;     /* the file cannot be made there */
const int INFORME_NOMBRE_LARGO = 2;  /* the report's or an image's name would not fit its room */

/* How far the report got; escribe_informe's result. */
const int INFORME_COMPLETO = 0;
const int INFORME_HASTA_4 = 4;       /* the reach measures were given up */
const int INFORME_HASTA_8 = 8;       /* the growth step was given up or had no usable Linf */
const int INFORME_FUERA_DE_LIMITES = -1; /* more classes or passes than the estimator holds: nothing written */

/* What happens between the sections: the screens' keys, or nothing in batch. */
struct pasos_informe {
  int modo;             /* handed to the growth fit: 2 asks for Linf and months, 1 takes Lmax1 and mes0 */
  void (*pausa)();      /* awaited before section 3 of a single-pass sample; NULL for none */
  int (*medidas)();     /* asks for the reach measures, 1 on give-up; NULL keeps the current ones */
  int crecimiento;      /* 0 ends the report after section 8 without the growth fit */
};

/* Both names are the same existing file (a report must never replace its data). */
int mismo_fichero(const char* a, const char* b);
/* Checks the name and creates the temporary file. INFORME_* result. */
int informe_abre(informe* inf, const char* nombre);
/* Closes the report and puts it under its name. 1 when it is there whole;
   0 after a failed write, and then nothing of it is left. */
int informe_cierra(informe* inf);
void informe_descarta(informe* inf);  /* closes and removes the temporary file; the name is untouched */
/* Name of image `digito`: the report's stem, the digit and ".bmp". */
void nombre_imagen(const informe* inf, int digito, char* nombre, int tam);
/* printf into the report; after a failed write nothing more is written. */
void informe_escribe(informe* inf, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
/* Saves a graph as image `digito` and destroys it; 0 (and imagen_fallida
   set) when it could not be saved. */
int informe_guarda_imagen(informe* inf, BITMAP* grafico, int digito);
/* Writes the sections, calls the analyses' export variants in the report's
   order and saves their graphs. Returns INFORME_COMPLETO or where it stopped. */
int escribe_informe(informe* inf, int* pasadas, float* longitudes, float* pesos, int* clases,
                    int n, const pasos_informe* p);

/* "Exportar resultados": asks for the report's name and mode and writes it. */
int exporta_todo(int* pasadas, float* longitudes, float* pesos, int* clases, int n);

#endif
