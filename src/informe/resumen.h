// The summary of a season: the tables resumen, resumen_clases and
// resumen_diagnostico, written a reach at a time from the results of its
// report, and the picture of every reach's density per m2 with its 95 %
// interval.
#ifndef PASADAS_RESUMEN_H
#define PASADAS_RESUMEN_H

#include <allegro.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

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

/* The workbook resumen.xlsx, written by libxlsxwriter: its cells are kept
   in memory while the season runs, and the file, of the summary's set, is
   written when the summaries are. */
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;
const int DECIMALES_LIBRO = 6; /* decimals a figure of the workbook shows at most */
struct libro_resumen {
  lxw_workbook* libro;           /* NULL when there is none */
  FILE* f;                       /* its file in the summary's set */
  char nombre[CAPACIDAD_RUTA];   /* the name libxlsxwriter writes that file by */
  char carpeta[CAPACIDAD_RUTA];  /* where its own temporary files go: the summary's folder */
  lxw_format* cabecera;          /* bold, for the header rows */
  lxw_format* decimales[DECIMALES_LIBRO + 1]; /* a figure shown with as many decimals as its table's */
  int error;                     /* a cell could not be kept: the workbook is not written */
};

const int MAX_COLUMNAS_RESUMEN = 48; /* columns a table of the summary has at most */

/* A table being written: kept in memory while the season runs, and made a
   file only when the summaries are written; its cells go to its sheet of
   the workbook too. */
struct tabla_resumen {
  FILE* f;                       /* the rows so far, in memory */
  char* texto;                   /* their bytes, once f is flushed */
  size_t largo;
  dialecto_resumen dialecto;
  int celdas;                    /* cells of the row so far */
  char nombre[CAPACIDAD_RUTA];
  libro_resumen* libro;          /* the workbook of the sheet */
  lxw_worksheet* hoja;           /* the table's sheet */
  int fila;                      /* the row being written, from 0 (the header) */
  int filas_hoja;                /* rows of the sheet given a cell (an empty row leaves none) */
  int fila_anotada;              /* the last of them, -1 before the first */
  int ancho[MAX_COLUMNAS_RESUMEN]; /* characters of each column's widest cell */
  std::vector<std::vector<std::string>>* copia; /* each row's cells as written, or NULL */
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
  time_t hora;          /* of the run, for the workbook's properties */
};

struct resumen_campana {
  acerca_resumen acerca;
  libro_resumen libro;
  tabla_resumen tramos, clases, diagnostico;
  int ngrafico;
  barra_resumen grafico[MAX_TRAMOS];
  char fallido[CAPACIDAD_RUTA];  /* after resumen_cierra: the file that could not be written, "" */
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
/* Starts the three tables of carpeta, in memory, with their header rows,
   and the workbook, its file the first of the set `juego`; 0 without memory
   or a file for them (the set is then to be discarded). */
int resumen_abre(resumen_campana* r, const char* carpeta, const dialecto_resumen* d,
                 const acerca_resumen* acerca, temporales* juego);
void resumen_tramo(resumen_campana* r, const tramo_resumen* t); /* the reach's rows */
/* The reach's bar of the summary picture: density per m2 with its interval. */
void barra_de_tramo(const tramo_resumen* t, barra_resumen* b);
/* Adds the three tables and the workbook to the set of files `juego`, which
   gives them their names; 0 (and the set is to be discarded) when one could
   not be written whole. The memory of all goes in any case. */
int resumen_cierra(resumen_campana* r, temporales* juego);
void resumen_descarta(resumen_campana* r); /* frees what was kept */

/* A reach's rows as the three tables write them: each cell's text without
   quotes, its figures with the dialect's decimal sign (UTF-8). */
struct copia_tramo {
  std::vector<std::vector<std::string>> tramo, clases, diagnostico;
};
/* The cells of the reach's rows in dialect d, for a reader that shows them
   beside the tables (the season's page); nothing is written. */
void celdas_de_tramo(const tramo_resumen* t, const acerca_resumen* acerca, const dialecto_resumen* d,
                     copia_tramo* c);
/* The column titles of table i (0 resumen, 1 resumen_clases, 2 resumen_diagnostico) and how many. */
const char* const* columnas_resumen(int tabla, int* n);

/* ---- The workbook (resumen_libro.cpp) ---- */
/* The workbook's name in carpeta. */
void nombre_libro(const char* carpeta, char* nombre);
/* 1 when ruta may take the workbook: no file there, an empty one, or a
   workbook an earlier season wrote and no one has saved since (its
   properties name this program as its author and its last to save it). */
int libro_sustituible(const char* ruta);
/* Starts the workbook of carpeta, its file added to juego; 0 when it cannot be. */
int libro_abre(libro_resumen* l, const char* carpeta, const acerca_resumen* acerca, temporales* juego);
/* A table's sheet, its header row to stay in view; NULL when it cannot be added. */
lxw_worksheet* libro_hoja(libro_resumen* l, const char* nombre);
/* A cell of t's sheet at its row and column c: a text ("" leaves it
   blank), or a figure as the C library prints it ("12.35"), kept as its
   number with its decimals shown (a text when it is none). */
void hoja_texto(tabla_resumen* t, int c, const char* texto);
void hoja_cifra(tabla_resumen* t, int c, const char* texto);
/* Writes the workbook: each table's columns as wide as their cells, the
   sheet "Acerca de" from acerca and the tables' names in the dialect d,
   then the file; 0 when a byte was lost. The workbook's memory goes. */
int libro_cierra(libro_resumen* l, tabla_resumen* const* tablas, int n, const acerca_resumen* acerca,
                 const dialecto_resumen* d, temporales* juego);
void libro_descarta(libro_resumen* l); /* frees the workbook unwritten */
/* The picture goes in pages of at most this many reaches, so that it stays
   one a screen or a sheet can show whatever the season's size. */
const int TRAMOS_POR_PAGINA = 40;
/* Pages a season writes at most: all of its reaches in one species, or a
   few dozen species. They and the three tables take their names together. */
const int MAX_PAGINAS_RESUMEN = 100;
static_assert(TABLAS_RESUMEN + 2 + 2 * MAX_PAGINAS_RESUMEN <= MAX_TEMPORALES, "a summary is one set of files");

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
