// The removal estimator's working figures, shared by its three callers (the
// population screen, the density entry and the report) so that all of them
// show the one same computation.
#ifndef PASADAS_POBLACION_INTERNA_H
#define PASADAS_POBLACION_INTERNA_H

#include "analysis.h"
#include "sample.h"

/* One group: an age class or the whole sample. Figures are unrounded. */
struct estimacion_grupo {
  int captura;  /* fish of the group, whatever their pass */
  int valida;   /* 0 < R < (k-1)/2 and every figure below came out finite */
  float R, q, qk, N, Var, ES;
  float sup;    /* N + 1.96 ES */
};

/* Every group of a sample: classes 0..nclases-1, whole sample at nclases. */
struct estimacion_muestra {
  int nclases, k;
  int dentro_de_limites; /* 0: more classes or passes than the estimator holds, nothing estimated */
  estimacion_grupo g[RANURAS];
};

/* Steps shared by the callers, in the order they must run. */
void estima_muestra(const int* clases, const int* pasadas, int n, int nclases, int k,
                    estimacion_muestra* e);
/* The search for q of every group g < m whose R[g] is valid, in one walk
   over the q shared by all of them: q[g] is the first q of the walk with
   f(q)/R[g] >= 0.9999, qk[g] its q^k; 0 for the groups not searched. */
void busca_q_grupos(const float* R, int m, int k, float* q, float* qk);
/* Rounded-up class columns after the sum-preserving rounding; the whole
   sample's slot holds its own rounded figures (upper limit: ceil(N) + ceil(1.96 ES)). */
void redondea_columnas(const estimacion_muestra* e, int* N_red, float* Var_red, float* ES_red,
                       int* Sup_red);
/* The whole-sample N and ceil(1.96 ES) shared out over the classes by their
   frequencies, when the whole sample has an estimate (else left alone). */
void reparte_por_frecuencias(const estimacion_muestra* e, int n, float* Nclas, float* ESclas);

/* Sum-preserving rounding: takes whole units off v[i] (classes with cuenta[i]
   only), smallest fractional part of x[i] first, until the rounded-up v add
   up to objetivo. Ties go to the last class scanned. */
void conserva_suma(const float* x, float* v, const int* cuenta, int m, float objetivo,
                   int descendente);

#endif
