// The scrolling table of per-class figures that the analysis screens share:
// a grey header band, one ruled white row per age class and scroll marks.
#include "shell.h"

static const int ALTO_BANDA = 28;    /* header band below the top line */
static const int MARGEN_TEXTO = 5;   /* header text below the top line */
static const int MARGEN_CELDA = 7;   /* cell text below the row's top rule */
static const int X_MARCAS = 10;      /* scroll marks right of the table */

static int alto_fila() { return alto(FUENTE_CABECERA) + 10; }

int y_fila_clases(const tabla_clases* t, int k) { return t->y + k * alto_fila(); }

static void dibuja_cabecera(const tabla_clases* t) {
  int izq = t->bordes[0], der = t->bordes[t->ncolumnas];
  rectfill(screen, izq + 1, t->y + 1, der - 1, t->y + ALTO_BANDA, gris_cabecera());
  hline(screen, izq, t->y, der, negro());
  for (int c = 0; c < t->ncolumnas; c++)
    texto_centrado(screen, FUENTE_CABECERA, t->centros[c], t->y + MARGEN_TEXTO, negro(), "%s",
                   t->cabeceras[c]);
}

/* Rules for the header and as many rows as a page shows, no more than there are. */
static void dibuja_rejilla(const tabla_clases* t, int nfilas) {
  for (int k = 1; k <= t->filas + 1 && k - 1 <= nfilas; k++) {
    int arriba = y_fila_clases(t, k - 1), abajo = y_fila_clases(t, k);
    hline(screen, t->bordes[0], abajo, t->bordes[t->ncolumnas], negro());
    for (int c = 0; c <= t->ncolumnas; c++) vline(screen, t->bordes[c], arriba, abajo, negro());
  }
}

/* Each cell is whitened from just below its top rule to 5 pixels below the
   text (never onto the rule below), so no earlier text shows through. */
static void dibuja_fila(const tabla_clases* t, int j, const textos_fila textos) {
  int arriba = y_fila_clases(t, j + 1);
  int fondo = arriba + MARGEN_CELDA + alto(FUENTE_CELDAS) + 5;
  if (fondo > arriba + alto_fila() - 1) fondo = arriba + alto_fila() - 1;
  for (int c = 0; c < t->ncolumnas; c++) {
    rectfill(screen, t->bordes[c] + 1, arriba + 1, t->bordes[c + 1] - 1, fondo, blanco());
    texto_centrado(screen, FUENTE_CELDAS, t->centros[c], arriba + MARGEN_CELDA, negro(), "%s",
                   textos[c]);
  }
}

/* Draws the page from row `inicio`; returns the index just past its last row. */
static int dibuja_pagina(const tabla_clases* t, const textos_fila* filas, int nfilas, int inicio) {
  int i = inicio;
  for (int j = 0; j < t->filas && i < nfilas; j++, i++) dibuja_fila(t, j, filas[i]);
  int x = t->bordes[t->ncolumnas] + X_MARCAS, pie = y_fila_clases(t, t->filas + 1);
  flecha_arriba(screen, x, pie - 25, pie - 15, i > t->filas);
  flecha_abajo(screen, x, pie, pie - 10, i < nfilas);
  return i;
}

/* A class table on its way through recorre_pagina. */
struct recorrido_clases {
  const tabla_clases* t;
  const textos_fila* filas;
  int nfilas;
};

static int pagina_clases(const void* datos, int inicio) {
  const recorrido_clases* r = (const recorrido_clases*)datos;
  return dibuja_pagina(r->t, r->filas, r->nfilas, inicio);
}

static int paso_clases(const void* datos, int tecla, int inicio, int fin) {
  const recorrido_clases* r = (const recorrido_clases*)datos;
  return desplaza_tabla(tecla, inicio, fin, r->t->filas, r->nfilas);
}

void recorre_tabla_clases(const tabla_clases* t, const textos_fila* filas, int nfilas) {
  dibuja_cabecera(t);
  dibuja_rejilla(t, nfilas);
  recorrido_clases r = {t, filas, nfilas};
  pagina_desplazable p = {pagina_clases, paso_clases, &r, TECLA_ARRIBA, TECLA_ABAJO, nullptr};
  recorre_pagina(&p);
}
