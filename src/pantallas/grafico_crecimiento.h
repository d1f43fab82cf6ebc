// What the two growth screens share: the growth graph (screen and bitmap
// layouts), the scrolling growth table and the fit's red message.
#ifndef PASADAS_GRAFICO_CRECIMIENTO_H
#define PASADAS_GRAFICO_CRECIMIENTO_H

#include <allegro.h>

#include "crecimiento.h"

/* ---- The growth graph ---- */
/* Where one copy of the graph goes: the screen panel or one of the two
   export bitmaps. */
struct disposicion_grafico {
  int ox, oy;                 /* origin of the axes */
  int eje_arriba, eje_fin;    /* top of the vertical axis, end of the horizontal one */
  int contorno1[4], contorno2[4]; /* the two outlines, x1 y1 x2 y2 */
  int panel;                  /* contorno1 is filled white first */
  int leyenda_x, leyenda_y;   /* centre of the first legend mark; the second is 20 px lower */
};
extern const disposicion_grafico GRAFICO_PANTALLA;
extern const disposicion_grafico GRAFICO_BERTALANFFY; /* 541x552 export bitmap */
extern const disposicion_grafico GRAFICO_POLINOMIO;   /* 541x500 export bitmap */
const int ESCALA_HORIZONTAL = 440; /* pixels for nclases years */
const int ESCALA_VERTICAL = 300;   /* pixels for the top of the scale */
const int ESCALA_TOPE_MAXIMO = 1000000000; /* keeps absurd lengths within an int */
const int MAX_PUNTOS_CURVA = 1001;         /* 99 classes at ten points a year, and the end */

/* Top of the vertical scale: the smallest multiple of 5 at least as large as
   every fish and the curve at the whole ages desde..nclases; 5 when nothing
   is above 0. */
int tope_escala(const muestra_crecimiento* m, const curva_crecimiento* c, int desde);
/* The ages at which the curve is plotted: 0, 0.1, ... (summed in single
   precision) while below nclases + 0.1. Returns how many. */
int edades_curva(int nclases, float* t);
/* Draws the graph: axes, ticks, curve (unless CURVA_NINGUNA), every fish,
   every class mean and the legend. desde is the first whole age of the scale. */
void dibuja_grafico_crecimiento(BITMAP* b, const disposicion_grafico* d,
                                const muestra_crecimiento* m, const curva_crecimiento* c,
                                int desde);

/* ---- The growth table (screen only) ---- */
const int TABLA_CRECIMIENTO_PAGINA = 11; /* rows a page holds with the resource fonts */
/* Draws the rows from class `inicio` and the scroll marks; returns the class
   just past the last row shown. */
int dibuja_tabla_crecimiento(const muestra_crecimiento* m, const curva_crecimiento* c, int inicio);
/* The first row after LEFT or RIGHT, given the class just past the last row shown. */
int desplaza_tabla_crecimiento(int tecla, int fin, int nclases);
/* Shows the table until ENTER or ESC (ESC stored in c_esc), then erases it
   down to y_borrado. */
void recorre_tabla_crecimiento(const muestra_crecimiento* m, const curva_crecimiento* c,
                               int y_borrado);

/* ---- Shared by the two fit screens ---- */
/* Under the screen's graph: a fit's red message centred at AVISO_AJUSTE_Y,
   "<Pulse ENTER ...>" centred on X_VOLVER_AJUSTE. */
const int AVISO_AJUSTE_Y = 525, X_VOLVER_AJUSTE = 700;
/* A new bitmap cleared to white, for an export variant; NULL when memory runs out. */
BITMAP* lienzo_blanco(int ancho, int alto);
/* Draws the red message of a fit without answer centred on (x, y). */
void avisa_ajuste(BITMAP* b, int x, int y, int motivo, int minimo);

#endif
