// The summary of a season: the tables resumen and resumen_clases, written a
// reach at a time from the results of its report, and the picture of every
// reach's density per m2 with its 95 % interval.
#ifndef PASADAS_RESUMEN_H
#define PASADAS_RESUMEN_H

#include <allegro.h>

#include <cstdio>

#include "export.h"

/* How a spreadsheet of the user's reads a table. */
struct dialecto_resumen {
  char separador;         /* between cells */
  char decimal;           /* the decimal sign of the figures */
  const char* extension;  /* of the tables' file names */
};
const dialecto_resumen DIALECTO_ES = {';', ',', "csv"};     /* a Spanish spreadsheet */
const dialecto_resumen DIALECTO_PUNTO = {'\t', '.', "tsv"}; /* any other */

const int MAX_TRAMOS = 1000; /* reaches a season's table may hold */

/* A table being written: under a temporary name until it is whole. */
struct tabla_resumen {
  FILE* f;
  dialecto_resumen dialecto;
  int celdas;                    /* cells of the row so far */
  char nombre[CAPACIDAD_RUTA];
  char temporal[CAPACIDAD_RUTA];
};

/* A reach in the summary picture. */
struct barra_resumen {
  char nombre[64];   /* Latin-1, as the fonts draw it */
  int hay;           /* it has a density per m2: no error, a surface given */
  int estimada;      /* from a valid estimate (else the catch, without interval) */
  float densidad, inferior, superior; /* fish/m2: ceil(N), the catch, the upper limit */
};

struct resumen_campana {
  tabla_resumen tramos, clases;
  int ngrafico;
  barra_resumen grafico[MAX_TRAMOS];
};

/* One reach handed to the summary. Texts are UTF-8 except nombre_latin1. */
struct tramo_resumen {
  const char* tramo;
  const char* especie;
  const char* fichero;
  const char* nombre_latin1;  /* the reach's name for the picture */
  const char* error;          /* "" when its report was written, else why not */
  const resultados_informe* resultados; /* its figures (unread after an error) */
};

/* Creates both tables in carpeta under temporary names, with their header
   rows; 0 when they cannot be made there (nothing is left then). */
int resumen_abre(resumen_campana* r, const char* carpeta, const dialecto_resumen* d);
void resumen_tramo(resumen_campana* r, const tramo_resumen* t); /* the reach's rows */
/* Gives both tables their names; 0 when one could not be written whole. */
int resumen_cierra(resumen_campana* r);
void resumen_descarta(resumen_campana* r); /* removes what was written */
/* New bitmap of the bar graph of density per m2, one bar per reach, owned by
   the caller; NULL without memory. */
BITMAP* grafico_resumen(const resumen_campana* r);

#endif
