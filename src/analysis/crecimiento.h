// What the two growth fits share: the sample seen as class means, the fitted
// curve and the reasons a fit can have no answer.
#ifndef PASADAS_CRECIMIENTO_H
#define PASADAS_CRECIMIENTO_H

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
enum motivo_ajuste {
  AJUSTE_BIEN,            /* the fit has its curve */
  AJUSTE_SIN_LONGITUDES,  /* no fish longer than 0 */
  AJUSTE_POCAS_CLASES,    /* fewer non-empty classes than parameters */
  AJUSTE_MEDIA_LINF,      /* a class mean reaches Linf: its logarithm is -inf */
  AJUSTE_SIN_VARIACION,   /* every class gives the same value */
  AJUSTE_SIN_SOLUCION,    /* the arithmetic breaks down (division by 0, overflow) */
};
/* The red message that replaces the curve's parameters. minimo is the number
   of non-empty classes the fit needs. */
const char* mensaje_ajuste(int motivo, int minimo);

/* ---- The fits ---- */
/* Walford's Linf from the class means of m, cm; 0 for none. */
float walford_de(const muestra_crecimiento* m);
/* Each returns AJUSTE_BIEN with the curve and r2, or the reason there is no
   answer with the curve set to CURVA_NINGUNA and r2 to 0. */
int ajusta_bertalanffy(const muestra_crecimiento* m, float linf, curva_crecimiento* c, float* r2);
int ajusta_polinomio(const muestra_crecimiento* m, curva_crecimiento* c, float* r2);

#endif
