// What the two growth fits share: the sample seen as class means, the fitted
// curve, the growth graph (screen and bitmap layouts), the scrolling growth
// table and the reasons a fit can have no answer.
#ifndef PASADAS_CRECIMIENTO_H
#define PASADAS_CRECIMIENTO_H

#include <allegro.h>

#include "analysis.h"

/* ---- The sample as the growth fits see it (muestra_crecimiento, analysis.h) ---- */
/* A copy of m whose class 0+ is edad0 years old: the class means stay the same. */
muestra_crecimiento con_edad0(const muestra_crecimiento* m, float edad0);
int clase_valida(const muestra_crecimiento* m, int fish); /* the fish's class is 0..nclases-1 */
int hay_longitud_positiva(const muestra_crecimiento* m);  /* some fish is longer than 0 */
/* The ages (i + edad0) and means of the non-empty classes, in class order;
   returns how many. */
int clases_con_peces(const muestra_crecimiento* m, float* edades, float* medias);
int valores_iguales(const float* v, int n);  /* all n values are the same */

/* ---- The fitted curve ---- */
const int CURVA_NINGUNA = 0;     /* the fit had no answer: nothing to draw */
const int CURVA_BERTALANFFY = 1; /* Linf*(1 - e^((t-t0)*b)): c0 = Linf, c1 = b (= -k), c2 = t0 */
const int CURVA_POLINOMIO = 2;   /* a0 + a1*t + a2*t^2: c0, c1, c2 */
struct curva_crecimiento {
  int tipo;
  float c0, c1, c2;
};
float curva_en(const curva_crecimiento* c, float t); /* estimated length at age t, cm */
/* The curve is finite at the class ages and at the whole ages 0..9 and
   0..nclases, that is everywhere the screens, the table and the report read it. */
int curva_finita(const curva_crecimiento* c, const muestra_crecimiento* m);

/* ---- Why a fit has no answer ---- */
const int AJUSTE_BIEN = 0;
const int AJUSTE_SIN_LONGITUDES = 1;  /* no fish longer than 0 */
const int AJUSTE_POCAS_CLASES = 2;    /* fewer non-empty classes than parameters */
const int AJUSTE_MEDIA_LINF = 3;      /* a class mean reaches Linf: its logarithm is -inf */
const int AJUSTE_SIN_VARIACION = 4;   /* every class gives the same value */
const int AJUSTE_SIN_SOLUCION = 5;    /* the arithmetic breaks down (division by 0, overflow) */
/* The red message that replaces the curve's parameters. minimo is the number
   of non-empty classes the fit needs. */
const char* mensaje_ajuste(int motivo, int minimo);

/* ---- The fits ---- */
/* Each returns AJUSTE_BIEN with the curve and r2, or the reason there is no
   answer with the curve set to CURVA_NINGUNA and r2 to 0. */
int ajusta_bertalanffy(const muestra_crecimiento* m, float linf, curva_crecimiento* c, float* r2);
int ajusta_polinomio(const muestra_crecimiento* m, curva_crecimiento* c, float* r2);

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
/* A new bitmap cleared to white, for an export variant; NULL when memory runs out. */
BITMAP* lienzo_blanco(int ancho, int alto);
/* Draws the red message of a fit without answer centred on (x, y). */
void avisa_ajuste(BITMAP* b, int x, int y, int motivo, int minimo);

#endif
