// Mean lengths and weights: for every age class and for the whole sample, the
// mean length, the mean weight and the number of fish, over all passes.
#include <cmath>
#include <cstdio>

#include "pantallas.h"
#include "shell.h"

/* The class table: six rows a page, the whole-sample row fixed below it. */
static const tabla_clases TABLA_MEDIAS = {
    4, {"Clase", "Longitud", "Peso", "Individuos"}, {340, 440, 540, 640},
    {290, 390, 490, 590, 690}, 160, 6};
/* "<Pulse ENTER ...>" this far below the page's centre, under the whole-sample row. */
static const int VOLVER_DY = 160;

/* The whole-sample row, one empty row below the last class row a page shows. */
static void dibuja_total(int nclases, int individuos, float longitud, float peso) {
  const tabla_clases* t = &TABLA_MEDIAS;
  int filas = nclases < t->filas ? nclases : t->filas;
  int arriba = y_fila_clases(t, filas + 2), abajo = y_fila_clases(t, filas + 3);
  int izq = t->bordes[0], der = t->bordes[t->ncolumnas], y = arriba + 7;
  rectfill(screen, izq + 1, arriba + 1, der - 1, abajo - 1, blanco());
  hline(screen, izq, arriba, der, negro());
  hline(screen, izq, abajo, der, negro());
  for (int c = 0; c <= t->ncolumnas; c++) vline(screen, t->bordes[c], arriba, abajo, negro());
  texto_centrado(screen, FUENTE_CELDAS, t->centros[0], y, negro(), "Total");
  char celda[TEXTO_CELDA];
  numero_o_guion(celda, TEXTO_CELDA, "%.1f", longitud);
  texto_centrado(screen, FUENTE_CELDAS, t->centros[1], y, negro(), "%s", celda);
  numero_o_guion(celda, TEXTO_CELDA, "%.2f", peso);
  texto_centrado(screen, FUENTE_CELDAS, t->centros[2], y, negro(), "%s", celda);
  texto_centrado(screen, FUENTE_CELDAS, t->centros[3], y, negro(), "%d", individuos);
}

void datos_medios(int* clases, float* longitudes, float* pesos, int nfish, int nclases) {
  medias_muestra r = calcula_medias(clases, longitudes, pesos, nfish, nclases);
  int t = r.nclases;
  marco("Longitud y peso medio");
  dibuja_total(t, r.individuos[t], r.longitud[t], r.peso[t]);
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2 + VOLVER_DY, rojo_mensaje(),
                 "<Pulse ENTER para volver al menu>");
  textos_fila filas[RANURAS];
  for (int c = 0; c < t; c++) {
    snprintf(filas[c][0], TEXTO_CELDA, "%d+", c);
    numero_o_guion(filas[c][1], TEXTO_CELDA, "%.1f", r.longitud[c]);
    numero_o_guion(filas[c][2], TEXTO_CELDA, "%.2f", r.peso[c]);
    snprintf(filas[c][3], TEXTO_CELDA, "%d", r.individuos[c]);
  }
  recorre_tabla_clases(&TABLA_MEDIAS, filas, t);
}
