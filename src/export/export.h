// The results report: nine tab-separated sections and four graph images.
// The writer needs no window and no keys, so the export screen and the batch
// command produce the same bytes from the same code.
#ifndef PASADAS_EXPORT_H
#define PASADAS_EXPORT_H

#include <allegro.h>

#include <cstdio>

#include "pantallas.h"
#include "sistema.h"

const int CAPACIDAD_NOMBRE_IMAGEN = 111; /* characters of an image's file name: stem, digit, ".bmp" */

/* The report's first line: an existing file is replaced only when it starts so. */
const char PRIMERA_LINEA_INFORME[] = "En orden descendente se exponen los siguientes resultados:";

/* The formats a graph is written in: bits that add up. */
const int IMAGENES_BMP = 1;
const int IMAGENES_PNG = 2;
const int IMAGENES_AMBAS = IMAGENES_BMP | IMAGENES_PNG;

/* A report being written: the report and each image are files of one set,
   so an export leaves either all its files or none, and older files stay as
   they were until then. */
struct informe {
  FILE* f;
  int error;                         /* a write failed: nothing of the export will be kept */
  char fallido[CAPACIDAD_RUTA];      /* the first file that could not be written, "" if none */
  char nombre[CAPACIDAD_RUTA];       /* the report's name */
  char raiz_imagenes[CAPACIDAD_RUTA - 16]; /* folder and stem of the image names */
  int imagenes;                      /* IMAGENES_*: the formats each graph is written in */
  temporales ficheros;               /* the report, its images and their copies on their way */
  int total_valido;  /* after escribe_informe: the whole-sample estimate is valid */
  int N_total;       /* its rounded-up N, or the catch when it failed */
  int sup_total;     /* the rounded upper limit of its 95 % interval (valid only) */
  int sin_bertalanffy; /* section 9.1 has no fit: Linf is below the longest fish (or was never given) */
  int sin_linf;        /* no Linf was given at all: in the previous analyses' mode, no fit has been made since the start */
  float mayor_longitud; /* the longest fish, cm, for saying so */
};

/* Every figure a report prints, as the analyses returned them: what a
   summary of many reports is made from. */
struct resultados_informe {
  int k;                   /* passes the estimate was made on */
  medias_muestra medias;
  poblacion_muestra poblacion;
  densidad_muestra densidad;
  biometria_muestra biometria;
  int con_crecimiento;     /* section 9 was written: the two fits below hold */
  bertalanffy_muestra bertalanffy;
  polinomio_muestra polinomio;
};

/* Results of informe_abre. */
const int INFORME_ABIERTO = 0;
const int INFORME_NO_CREADO = 1;     /* the file, or one of its images (named in fallido), cannot be made there */
const int INFORME_NOMBRE_LARGO = 2;  /* the report's or an image's name would not fit its room */
const int INFORME_AJENO = 3;         /* the name is the resource file's or an existing file that is not a report;
                                        or an image's name holds a file the program did not write (named in fallido) */

/* How far the report got; escribe_informe's result. */
const int INFORME_COMPLETO = 0;
const int INFORME_HASTA_4 = 4;       /* the reach measures were given up */
const int INFORME_HASTA_8 = 8;       /* the growth step was given up or had no usable Linf */
const int INFORME_FUERA_DE_LIMITES = -1; /* more classes or passes than the estimator holds: nothing written */
const int INFORME_CANCELADO = -2;    /* the single-pass pause was left with ESC or the window closed */

/* What happens between the sections: the screens' keys, or nothing in batch. */
struct pasos_informe {
  int modo;             /* 2 asks for Linf and months through pide_linf, 1 takes linf and meses below */
  int (*pausa)();       /* awaited before section 3 of a single-pass sample, 1 cancels; NULL for none */
  /* Asks for the reach measures and leaves them in medidas (below's order),
     1 on give-up; NULL keeps those below. */
  int (*pide_medidas)(float* medidas);
  int crecimiento;      /* 0 ends the report after section 8 without the growth fit */
  /* Mode 2's step for Linf (cm) and the months of class 0+, shown with
     Walford's suggestion from the growth sample: 1 with both typed, 0 when
     given up; NULL gives mode 2's growth step up. */
  int (*pide_linf)(const muestra_crecimiento* m, float* linf, float* meses) = nullptr;
  /* Passes fished, counting the survey's last passes that caught nothing
     and so left no fish in the data; the caller has checked it is not below
     the highest pass present (a fish of a later pass would count in none).
     0 takes the highest pass present. */
  int pasadas = 0;
  struct resultados_informe* resultados = nullptr; /* gets the report's figures; NULL for none */
  /* The reach's volume (m3), surface (m2) and length (m), as densidad_muestra
     orders them; 0 = not given. The report reads no program-wide value, so
     that reports may be written side by side. */
  float medidas[MEDIDAS_TRAMO] = {0, 0, 0};
  float linf = 0;   /* Linf of the growth fit outside mode 2, cm; 0 = none */
  float meses = 0;  /* age of class 0+ outside mode 2, months */
};

/* ---- Files an earlier run wrote: only those, or empty ones, are replaced ---- */

/* What stands under a name, for comienzo_de. */
const int NOMBRE_LIBRE = 0;    /* no file */
const int NOMBRE_OCUPADO = 1;  /* a regular file, whose first bytes were read */
const int NOMBRE_AJENO = 2;    /* something else (a folder, a FIFO...) or a file that cannot be read */
/* The first bytes of the regular file ruta, up to tam (*leidos of them), and
   its size in *largo; a FIFO or a device is never opened. */
int comienzo_de(const char* ruta, void* bytes, size_t tam, size_t* leidos, long long* largo);
/* 1 when ruta may take a new file whose older self starts with inicio: no
   file there, an empty one, or one that starts so. */
int empieza_por(const char* ruta, const char* inicio, size_t largo_inicio);
/* The same for the program's kinds of file: a report (never datas.dat), a
   BMP with the very header guarda_bmp writes for its size and that size,
   and a PNG as guarda_png writes them (a palette of few colours or RGB, the
   image data right after them). */
int informe_sustituible(const char* ruta);
int bmp_sustituible(const char* ruta);
int png_sustituible(const char* ruta);
/* Any file the program names, told by its extension: ".bmp", ".png", or
   else a report. */
int fichero_sustituible(const char* ruta);
/* The names of the files an image of stem raiz takes in the formats of
   `imagenes` (IMAGENES_*; none is BMP), in the order they are written; how
   many, at most 2. */
int ficheros_de_imagen(const char* raiz, int imagenes, char (*nombres)[CAPACIDAD_RUTA]);
/* The same for the report `nombre`: the report, then its four images; at
   most MAX_FICHEROS_INFORME. */
const int MAX_FICHEROS_INFORME = 9;
int ficheros_de_informe(const char* nombre, int imagenes, char (*nombres)[CAPACIDAD_RUTA]);
/* 1 when every image of the report `nombre` may be replaced as
   fichero_sustituible tells: a photograph of the user's named like one is
   never written over. Else 0, the first that may not copied to ajena. */
int imagenes_sustituibles(const char* nombre, int imagenes, char* ajena, int tam);

/* The hidden files a run of the program killed while writing (kill -9, a
   power cut) left in carpeta, where the file system has no files without a
   name: removed, their number. Only a name as the writer gives them
   (".NAME.XXXXXX", then NAME's extension or nothing), that no running
   program holds, and whose bytes propio(path, NAME) knows as the program's,
   is touched. */
int quita_ocultos(const char* carpeta, int (*propio)(const char* oculto, const char* visible));
/* The program's mark for the report's files: a hidden file, not empty,
   that starts as the report or the image NAME is would. */
int oculto_propio(const char* oculto, const char* visible);

/* Adds the graph to the set as raiz plus ".bmp" and/or ".png", as
   `imagenes` (IMAGENES_*) asks; the graph stays the caller's. 1 when each
   file was written whole; else 0, with the name of the one that was not in
   fallido (tam bytes). */
int temporal_imagen(temporales* t, BITMAP* grafico, const char* raiz, int imagenes, char* fallido,
                    int tam);

/* Checks the names and creates the report's file; each image will be
   written in the formats of `imagenes` (IMAGENES_*). INFORME_* result. */
int informe_abre(informe* inf, const char* nombre, int imagenes = IMAGENES_BMP);
/* Closes the report and puts it and its images under their names. 1 when
   they are all there whole; 0 after a failed write (fallido names the file),
   and then nothing new is left and older files are as they were. */
int informe_cierra(informe* inf);
void informe_descarta(informe* inf);  /* closes and removes every temporary file; the names are untouched */
/* Name of image `digito`: the report's stem, the digit and ".bmp" (".png"
   when the report writes only PNG). */
void nombre_imagen(const informe* inf, int digito, char* nombre, int tam);
/* printf into the report; after a failed write nothing more is written. */
void informe_escribe(informe* inf, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
/* v with `decimales` figures after the point, the very digits printf's
   "%.Nf" writes (correctly rounded, a tie to even), into texto (tam bytes,
   not ended); how many, -1 when they do not fit. */
int texto_cifra(char* texto, size_t tam, double v, int decimales);
/* Writes the bitmap as a BMP file into the open stream `f`, the same bytes
   Allegro's save_bitmap writes; 1 when every byte was handed to the stream
   (its owner flushes and closes it). */
int guarda_bmp(BITMAP* b, FILE* f);
/* Writes the bitmap as a PNG file into the open stream `f`: the same
   pixels, an 8-bit palette when it has at most 256 colours, else RGB. 1 when
   libpng handed every byte to the stream (its owner flushes and closes it). */
int guarda_png(BITMAP* b, FILE* f);
/* Saves a graph as image `digito` (in the report's formats) beside its name, to
   take the name when the report is closed, and destroys it; 0 (and the
   export failed) when it could not be saved. */
int informe_guarda_imagen(informe* inf, BITMAP* grafico, int digito);
/* Writes the sections, calls the analyses' export variants in the report's
   order and saves their graphs. Returns INFORME_COMPLETO or where it stopped. */
int escribe_informe(informe* inf, int* pasadas, float* longitudes, float* pesos, int* clases,
                    int n, const pasos_informe* p);

/* "Exportar resultados": asks for the report's name and mode and writes it. */
int exporta_todo(int* pasadas, float* longitudes, float* pesos, int* clases, int n);

#endif
