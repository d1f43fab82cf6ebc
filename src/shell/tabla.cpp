// The scrolling table of fish that the sample screens share: one row per
// fish, a grey header band, a white ruled body and scroll marks at its side.
#include "shell.h"

static void dibuja_rejilla(const tabla_muestra* t) {
  int h1 = alto(FUENTE_CABECERA), paso = h1 + 10;
  int izq = t->bordes[0], der = t->bordes[t->ncolumnas];
  int kmax = 1;
  while ((kmax + 1) * paso < t->limite_rejilla) kmax++;
  hline(screen, izq, t->y, der, negro());
  rectfill(screen, izq + 1, t->y + 1, der - 1, t->y + t->alto_cabecera, gris_cabecera());
  rectfill(screen, izq + 1, t->y + t->alto_cabecera + 1, der - 1, t->y + kmax * paso - 1, blanco());
  for (int c = 0; c < t->ncolumnas; c++)
    texto_centrado(screen, FUENTE_CABECERA, t->centros[c], t->y + 5, negro(), "%s", t->cabeceras[c]);
  for (int k = 1; k <= kmax; k++) {
    hline(screen, izq, t->y + k * paso, der, negro());
    for (int c = 0; c <= t->ncolumnas; c++)
      vline(screen, t->bordes[c], t->y + (k - 1) * paso, t->y + k * paso, negro());
  }
}

static void dibuja_celda(const tabla_muestra* t, int c, int y, int dato, int i,
                         const int* pasadas, const float* longitudes, const float* pesos,
                         const int* clases) {
  rectfill(screen, t->bordes[c] + 1, y, t->bordes[c + 1] - 1, y + alto(FUENTE_CELDAS), blanco());
  int x = t->centros[c];
  switch (dato) {
    case COL_PASADA: texto_centrado(screen, FUENTE_CELDAS, x, y, negro(), "%d", pasadas[i]); break;
    case COL_LONGITUD: texto_centrado(screen, FUENTE_CELDAS, x, y, negro(), "%.1f", longitudes[i]); break;
    case COL_PESO: texto_centrado(screen, FUENTE_CELDAS, x, y, negro(), "%.2f", pesos[i]); break;
    default: texto_centrado(screen, FUENTE_CELDAS, x, y, negro(), "%d", clases[i]); break;
  }
}

int dibuja_tabla_muestra(const tabla_muestra* t, const int* columnas, int inicio, int n,
                         const int* pasadas, const float* longitudes, const float* pesos,
                         const int* clases) {
  int h1 = alto(FUENTE_CABECERA);
  dibuja_rejilla(t);
  int o = h1 + 17, i = inicio;
  for (; o < t->limite && i < n; o += h1 + 10, i++)
    for (int c = 0; c < t->ncolumnas; c++)
      dibuja_celda(t, c, t->y + o, columnas[c], i, pasadas, longitudes, pesos, clases);
  int y = t->y + o;
  flecha_arriba(screen, t->x_flecha, y - 32, y - 22, inicio > 0);
  flecha_abajo(screen, t->x_flecha, y - 7, y - 17, i < n);
  return i;
}

int desplaza_tabla(int tecla, int inicio, int fin, int pagina, int n) {
  int nuevo = inicio;
  if (tecla == TECLA_ARRIBA) nuevo = fin - (pagina + 1);
  if (tecla == TECLA_ABAJO) {
    nuevo = fin - (pagina - 1);
    if (nuevo == n - (pagina - 1)) nuevo = n - pagina;  // the last page stays put
  }
  return nuevo < 0 ? 0 : nuevo;
}

/* A sample table on its way through recorre_pagina. */
struct recorrido_muestra {
  const tabla_muestra* t;
  const int* columnas;
  int n;
  const int* pasadas;
  const float* longitudes;
  const float* pesos;
  const int* clases;
  const char* aviso;
  int aviso_x, aviso_y, aviso_color;
};

static int pagina_muestra(const void* datos, int inicio) {
  const recorrido_muestra* r = (const recorrido_muestra*)datos;
  texto_centrado(screen, FUENTE_CELDAS, r->aviso_x, r->aviso_y, r->aviso_color, "%s", r->aviso);
  return dibuja_tabla_muestra(r->t, r->columnas, inicio, r->n, r->pasadas, r->longitudes,
                              r->pesos, r->clases);
}

static int paso_muestra(const void* datos, int tecla, int inicio, int fin) {
  const recorrido_muestra* r = (const recorrido_muestra*)datos;
  return desplaza_tabla(tecla, inicio, fin, r->t->pagina, r->n);
}

int recorre_tabla_muestra(const tabla_muestra* t, const int* columnas, int n,
                          const int* pasadas, const float* longitudes, const float* pesos,
                          const int* clases, const char* aviso, int aviso_x, int aviso_y,
                          int aviso_color) {
  recorrido_muestra r = {t,     columnas, n,       pasadas, longitudes, pesos,
                         clases, aviso,   aviso_x, aviso_y, aviso_color};
  pagina_desplazable p = {pagina_muestra, paso_muestra, &r, TECLA_ARRIBA, TECLA_ABAJO, nullptr};
  return recorre_pagina(&p);
}
