// The summary of a season: the tables resumen, resumen_clases and
// resumen_diagnostico, written a reach at a time from the results of its
// report, and the picture of every reach's density per m2 with its 95 %
// interval.
#ifndef PASADAS_RESUMEN_H
#define PASADAS_RESUMEN_H

#include <allegro.h>

#include <cstdio>

#include "export.h"
#include "pasadas_informe.h"

/* How a spreadsheet of the user's reads a table. */
struct dialecto_resumen {
  char separador;         /* between cells */
  char decimal;           /* the decimal sign of the figures */
  const char* extension;  /* of the tables' file names */
};
const dialecto_resumen DIALECTO_ES = {';', ',', "csv"};     /* a Spanish spreadsheet */
const dialecto_resumen DIALECTO_PUNTO = {'\t', '.', "tsv"}; /* any other */

const int MAX_TRAMOS = 1000; /* reaches a season's table may hold */

/* A table being written: kept in memory while the season runs, and made a
   file only when the summaries are written. */
struct tabla_resumen {
  FILE* f;                       /* the rows so far, in memory */
  char* texto;                   /* their bytes, once f is flushed */
  size_t largo;
  dialecto_resumen dialecto;
  int celdas;                    /* cells of the row so far */
  char nombre[CAPACIDAD_RUTA];
};

/* A reach in the summary picture. */
struct barra_resumen {
  char nombre[64];   /* Latin-1, as the fonts draw it */
  char especie[64];  /* its species, Latin-1; "" without one */
  int grupo;         /* its species' pages: the same number for the same species */
  int hay;           /* it has a density per m2: no error, a surface given */
  int estimada;      /* from a valid estimate (else the catch, without interval) */
  float densidad, inferior, superior; /* fish/m2: ceil(N), the catch, the upper limit */
};

/* The run a summary is from, in its reach rows (UTF-8). */
struct acerca_resumen {
  const char* tabla;    /* the table of reaches, as named on the command line */
  const char* version;  /* "pasadas-informe 1.0" */
  const char* fecha;    /* of the run, AAAA-MM-DD */
};

struct resumen_campana {
  acerca_resumen acerca;
  tabla_resumen tramos, clases, diagnostico;
  int ngrafico;
  barra_resumen grafico[MAX_TRAMOS];
};

/* The inputs a reach row shows as given, in the table's order. */
enum dado_tramo { DADO_SUPERFICIE, DADO_VOLUMEN, DADO_METROS, DADO_LINF, DADO_MESES, DADOS_TRAMO };

/* One reach handed to the summary. Texts are UTF-8 except the Latin-1 ones. */
struct tramo_resumen {
  const char* tramo;
  const char* especie;
  const char* fichero;
  const char* nombre_latin1;  /* the reach's name for the picture */
  const char* especie_latin1; /* its species' name for the picture */
  int grupo;                  /* its species' pages (see paginas_resumen) */
  const char* error;          /* "" when its report was written, else why not */
  const resultados_informe* resultados; /* its figures (unread after an error) */
  const diagnostico_muestra* diagnostico; /* the second opinion on them (likewise) */
  const char* dados[DADOS_TRAMO]; /* its table's cells Superficie, Volumen, Metros, Linf and Meses */
  const char* aviso_pasadas;  /* "" or what its passes warn of ("barbo: sin peces en la pasada 3...") */
};

/* The tables: resumen, resumen_clases and resumen_diagnostico. */
const int TABLAS_RESUMEN = 3;
/* The names of the tables in carpeta, in dialect d. */
void nombres_resumen(const char* carpeta, const dialecto_resumen* d, char (*nombres)[CAPACIDAD_RUTA]);
/* 1 when ruta may take a table of the summary: no file there, an empty
   one, or a table an earlier season wrote (its BOM and first columns are
   one of the tables' in either dialect). */
int resumen_sustituible(const char* ruta);
/* Starts the three tables of carpeta, in memory, with their header rows; 0
   without memory for them. */
int resumen_abre(resumen_campana* r, const char* carpeta, const dialecto_resumen* d,
                 const acerca_resumen* acerca);
void resumen_tramo(resumen_campana* r, const tramo_resumen* t); /* the reach's rows */
/* Adds the three tables to the set of files `juego`, which gives them their
   names; 0 (and the set is to be discarded) when one could not be written
   whole. The memory of all goes in any case. */
int resumen_cierra(resumen_campana* r, temporales* juego);
void resumen_descarta(resumen_campana* r); /* frees what was kept */
/* The picture goes in pages of at most this many reaches, so that it stays
   one a screen or a sheet can show whatever the season's size. */
const int TRAMOS_POR_PAGINA = 40;
/* Pages a season writes at most: all of its reaches in one species, or a
   few dozen species. They and the three tables take their names together. */
const int MAX_PAGINAS_RESUMEN = 100;
static_assert(3 + 2 * MAX_PAGINAS_RESUMEN <= MAX_TEMPORALES, "a summary is one set of files");

/* A page of the picture: reaches of one species (one grupo), the
   primera-th to the (primera + n - 1)-th of the total of that species, in
   the table's order. */
struct pagina_resumen {
  int grupo;
  int primera, n, total;
  int numero, de;  /* the page's number among its species' pages, from 1, and how many */
};

/* The pages of reaches whose species' groups are grupos[0..n): the reaches
   of each group, in the order the groups first appear, over as few pages as
   hold them, shared out evenly. The number of pages; the first max go into
   paginas. The same groups give the same pages, before or after the reaches
   are written. */
int paginas_resumen(const int* grupos, int n, pagina_resumen* paginas, int max);
/* New bitmap of page p of the bar graph of density per m2, one bar per
   reach, owned by the caller; NULL without memory. Every page of a season
   has the same scale and the legend. */
BITMAP* grafico_resumen(const resumen_campana* r, const pagina_resumen* p);

#endif
