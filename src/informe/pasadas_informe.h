// The pieces of pasadas-informe that both of its ways of working share: one
// report from the command line, and a season's reaches from a table.
#ifndef PASADAS_PASADAS_INFORME_H
#define PASADAS_PASADAS_INFORME_H

#include <cstdio>
#include <ctime>
#include <string>

#include "analysis.h"
#include "export.h"
#include "remocion.h"
#include "sample.h"

const char* const PROGRAMA = "pasadas-informe";
const int SALIDA_DATOS = 1;    /* the data, the classes or the report cannot be had */
const int SALIDA_OPCIONES = 2; /* bad options or arguments */

/* What the command line, or a reach's row, asks for. */
struct rechazo;

struct peticion {
  const char* datos;
  const char* informe;
  float medidas[3];   /* surface, volume, length; 0 when not given */
  int hay_linf;
  float linf, meses;
  const char* limites; /* the list as typed, NULL without --limites */
  eleccion_datos eleccion; /* --tramo and --especie, NULL when not given */
  int comprobar;       /* --comprobar: only DATOS, nothing written */
  int diagnostico;     /* --diagnostico: only DATOS, the second opinion printed, nothing written */
  int pasadas;         /* passes fished, 0: the highest pass in the data */
  const char* tramos;  /* --tramos: the season's table of reaches */
  const char* carpeta; /* --carpeta: where its reports and summaries go */
  const char* formato; /* --formato: "es", "punto" or NULL for the table's own */
  int imagenes;        /* --imagenes (IMAGENES_*; --png is both), 0: BMP alone */
  int hilos;           /* --hilos: the season's workers, 0: one per core */
  int html;            /* --html: the report's HTML page beside it */
  /* Adds the reach's page to the report's files before they take their
     names (the sample, the report's figures): 0 with r saying why when it
     cannot be written, and then nothing of the report is kept. NULL: no page. */
  int (*con_pagina)(void* datos, temporales* juego, const int* pasadas, const float* longitudes,
                    const float* pesos, const int* clases, int n, const resultados_informe* r, struct rechazo* motivo);
  void* datos_pagina;
  const tabla_guardada* guardada; /* a season's reach: its data file as read once, NULL to read it */
  const char* rechazada; /* a season's reach: the refusal its data file got when read once (the
                            reader's "<...>"), not to be read again; NULL */
};

/* Why a request cannot be had: one line as the terminal shows it (UTF-8,
   every control code as '?'), without the program's name. Whoever asked
   decides where it goes: standard error, or a season's row. */
const int LARGO_RECHAZO = 32768;  /* a path, the reader's words and every reach and species named */
struct rechazo {
  char texto[LARGO_RECHAZO];
};
/* Words the refusal; the names it quotes come from the command line or a
   table, so they are made visible as the terminal will show them. */
void rechazo_pon(rechazo* r, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
/* Removes the hidden files a killed run left in carpeta (quita_ocultos)
   and says how many on standard output. */
void quita_ocultos_de(const char* carpeta, int (*propio)(const char*, const char*));
/* "pasadas-informe: " and the refusal, one line, on standard error. */
void dice_rechazo(const rechazo* r);
/* Both at once, for what the command line itself gets wrong. */
void rechaza(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
/* The file opened for reading when it is a regular file; NULL with r
   naming it (one that cannot be opened, or a FIFO, a device...). */
FILE* abre_o_rechaza(const char* ruta, rechazo* r);
/* A number as the program's number fields take it (point or comma); 0 when it is none. */
int numero_de(const char* texto, float* valor);
/* The sample the request names; its n, or 0 with r saying why. */
int lee_datos(const peticion* p, int* pasadas, float* longitudes, float* pesos, int* clases,
              descripcion_datos* d, int* con_clases, rechazo* r);
/* The passes the request's reach was fished, its fish reaching pass `mayor`
   at most, left in p->pasadas: as given
   (fewer than the data hold are refused in r through `opcion`, and it returns
   0), else the highest pass of any species of its reach when its own fish
   end before it, with aviso saying so ("barbo: sin peces en la pasada 3; se
   estima con las 3 pasadas del tramo", UTF-8); aviso is "" otherwise. */
const int LARGO_AVISO_PASADAS = 200;
int pasadas_del_tramo(peticion* p, const descripcion_datos* d, int mayor, const char* opcion,
                      char* aviso, size_t tam, rechazo* r);
int prepara_allegro(); /* Allegro without a display, and the fonts; 0 without datas.dat */
/* Writes the report and its images in p->imagenes' formats; the exit
   status, and r says why when it is not 0. resultados, when not NULL, gets
   its figures; inf is the report's. */
int escribe_informe_de(const peticion* p, int* pasadas, float* longitudes, float* pesos,
                       int* clases, int n, resultados_informe* resultados, informe* inf,
                       rechazo* r);

/* The second opinion on a sample's estimates (diagnostico.cpp): what
   --diagnostico prints and a season's resumen_diagnostico holds. */
const int COLUMNAS_DIAGNOSTICO = 18;
/* resumen_diagnostico's columns (UTF-8): the reach and its species, then
   those of the table --diagnostico prints. */
extern const char* const COLUMNAS_RESUMEN_DIAGNOSTICO[2 + COLUMNAS_DIAGNOSTICO];
struct diagnostico_muestra {
  int nclases, k;
  int capturas[RANURAS * MAX_PASADAS]; /* capturas[g * k + i]: group g's catch in pass i + 1 */
  poblacion_muestra zippin;            /* the report's estimates */
  diagnostico_grupo g[RANURAS];        /* classes 0..nclases-1, the whole sample at nclases */
  prueba_chi2 entre_clases;
};
/* The diagnosis of the fish over nclases classes and k passes, as the report
   counts them; 0 beyond the estimator's classes or passes. zippin is the
   report's estimate of these very fish, classes and passes, or NULL to make it. */
int diagnostica_datos(const int* clases, const int* pasadas, int n, int nclases, int k,
                      const poblacion_muestra* zippin, diagnostico_muestra* m);
/* The cells of group i's row (UTF-8), its figures with the decimal sign given. */
void celdas_diagnostico(const diagnostico_muestra* m, int i, char decimal, std::string* celdas);
/* A group's warnings in words (UTF-8) joined by union_; "" without any. */
std::string avisos_diagnostico(const diagnostico_grupo* d, const char* union_);

/* The run's command line as the page shows it: the program and its
   arguments but --hilos and --carpeta, each quoted when a shell would
   split it (UTF-8). */
std::string orden_ejecutada();
/* Adds texto to the set as the file ruta; 0 when it could not be written whole. */
int temporal_texto(temporales* juego, const char* ruta, const std::string& texto);

/* The time of the run and its day, AAAA-MM-DD, in fecha; SOURCE_DATE_EPOCH,
   when set, stands for the time, so that two runs may give the same bytes. */
time_t fecha_de_hoy(char* fecha, size_t tam);

/* The season's command (campana_main.cpp). */
/* Checks a request with --tramos or --carpeta; -1 to go on, else the exit status. */
int peticion_de_campana(peticion* p, const char* sobrante);
int campana(const peticion* p);  /* every reach, the summaries; the exit status */

/* ---- Work shared among threads (obreros.cpp) ---- */
const int MAX_HILOS = 256; /* workers a season takes at most */
/* A job of n pieces for `hilos` workers. trabaja(datos, i, hueco, obrero)
   does piece i into slot `hueco` (0..huecos-1) with worker `obrero`'s own
   buffers (0..hilos-1), in any thread; recoge(datos, i, hueco) takes it back
   in the calling thread, in the order 0..n-1. At most `huecos` pieces are
   done and not yet taken. With one worker, or when the system starts no
   thread, each piece is done and taken in turn in the calling thread, in slot 0. */
struct reparto_ordenado {
  int n, hilos, huecos;
  void (*trabaja)(void* datos, int i, int hueco, int obrero);
  void (*recoge)(void* datos, int i, int hueco);
  void* datos;
};
void reparte_en_orden(const reparto_ordenado* r);
int hilos_por_omision(); /* one per core the system tells of, 1 to MAX_HILOS */

/* ---- The check of a data file (pasadas-informe --comprobar) ---- */
/* Latin-1 text as UTF-8, as a terminal shows it. */
std::string utf8_de(const char* latin1);
void escribe_utf8(FILE* f, const char* latin1);
/* Text from a file or the command line (UTF-8, or else Windows-1252) as
   UTF-8, every control code shown as '?': nothing a file holds can move or
   rewrite the user's terminal. */
std::string visible_de(const char* texto);
void escribe_visible(FILE* f, const char* texto);
/* "titulo: A (12), B (3)": the values of a reach or species column and their records. */
std::string valores_de(const char* titulo, const valores_columna* v);
void escribe_valores(FILE* f, const char* titulo, const valores_columna* v);
/* Prints on standard output what the data file nombre held: its kind and
   columns, fish per pass (r, counted from pasadas) and per class, the longest
   and heaviest fish, the whole sample's R and whether the estimate can be
   made, and the warnings. clases is NULL when the fish have no classes.
   npasadas: the passes fished, 0 (or fewer than r->mayor) for r->mayor;
   aviso: why passes past the fish were fished, UTF-8, "" for none. */
void comprueba_muestra(const char* nombre, const descripcion_datos* d,
                       const recuento_pasadas* r, const int* pasadas, const float* longitudes,
                       const float* pesos, const int* clases, int n, int npasadas,
                       const char* aviso);
/* What pasadas-informe --diagnostico prints to f: for every class and the
   whole sample over k passes, Zippin's estimate beside the second opinions,
   the state and warnings in words, the test between classes and what each
   word means. 0 (nothing printed) beyond the estimator's classes or passes. */
int escribe_diagnostico(FILE* f, const char* nombre, const int* clases, const int* pasadas, int n,
                        int nclases, int k);

#endif
