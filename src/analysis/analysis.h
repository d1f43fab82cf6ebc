// The analyses: each has a pure function (calcula_*) that takes the sample
// and its inputs and returns a plain struct of results, needing no window
// (its screen and graph are in src/pantallas). The program-wide results are
// written only by the publica_* functions, from those structs. Per-class result arrays are
// indexed by class 0..nclases-1 and hold the whole sample at index nclases.
#ifndef PASADAS_ANALYSIS_H
#define PASADAS_ANALYSIS_H

#include "sample.h"

const int RANURAS = 100;  /* result slots: 99 classes plus the whole sample */

/* The number of classes that fits the result slots: 0..RANURAS-1. */
inline int clases_acotadas(int nclases) {
  return nclases < 0 ? 0 : nclases > RANURAS - 1 ? RANURAS - 1 : nclases;
}

/* ---- Frequencies by age class ---- */
/* Share of the nfish fish in each class 0..nclases-1 (fr has RANURAS slots);
   fish of any other class count only in nfish; all 0 when there are no fish. */
void frecuencias_relativas(const int* clases, int nfish, int nclases, float* fr);

/* ---- Frequencies, mean lengths and weights ---- */
/* What the catch says by age class, over all passes together. */
struct medias_muestra {
  int n;                       /* fish of the sample */
  int nclases;                 /* classes 0..nclases-1 (0..99); slot nclases is the whole sample */
  int individuos[RANURAS];     /* fish of each class, Cj; n at nclases */
  float frecuencia[RANURAS];   /* Cj / n, share of the catch, 0..1; 0 when there are no fish */
  float longitud[RANURAS];     /* mean length, cm; 0 for a class without fish. At nclases
                                  the mean of every fish added in file order (the means screen) */
  float peso[RANURAS];         /* mean weight, g; likewise */
  float es_longitud[RANURAS];  /* standard deviation of the lengths (divisor Cj - 1), cm; 0 below
                                  two fish. At nclases: of every fish, around longitud_total */
  float es_peso[RANURAS];      /* the same for the weights, g */
  float suma_longitudes;       /* lengths of the fish with a class, added class by class, cm */
  float suma_pesos;            /* their weights, g: also the biomass caught */
  float longitud_total;        /* suma_longitudes / n, cm: the report's whole-sample mean */
  float peso_total;            /* suma_pesos / n, g */
};
medias_muestra calcula_medias(const int* clases, const float* longitudes, const float* pesos,
                              int nfish, int nclases);

/* ---- Mean lengths and weights ---- */
/* Fish, mean length (cm) and mean weight (g) of every class 0..nclases-1 and,
   at index clases_acotadas(nclases), of the whole sample (arrays of RANURAS);
   a class or sample without fish gets 0. */
void medias_por_clase(const int* clases, const float* longitudes, const float* pesos, int nfish,
                      int nclases, int* individuos, float* longitud_media, float* peso_medio);

/* ---- Removal population estimator ---- */
/* R and N per group; N is 0 for a failed group and already reduced by the
   sum-preserving rounding for the classes (round it up to read it). */
void Calculo_R_N(int* clases, int* pasadas, int n, int nclases, int npasadas, float* R, float* N);
/* The full estimate for the report: R, q, and the rounded N, Var(N), ES and
   upper limit of every group (only R for a failed group). */
void calculo_poblacional_devuelve(int* clases, int* pasadas, int n, int nclases, int k,
                                  float* R, float* q, int* N_red, float* Var_red,
                                  float* ES_red, int* Sup_red);

/* One group of the removal estimate: an age class or the whole sample. */
struct poblacion_grupo {
  int existe;     /* the estimate exists: 0 < R < (k-1)/2 and every figure below came out
                     finite, positive and within an int. Else only captura and R hold */
  int captura;    /* fish of the group whatever their pass, Cj */
  float R;        /* statistic R = sum of (pass - 1) * catch / catch, no unit */
  float q;        /* probability of escaping a pass; p = 1 - q is the share caught by one */
  float N;        /* population, fish, unrounded */
  float Var;      /* variance of N, fish2, unrounded */
  float ES;       /* standard error of N, fish, unrounded */
  float sup;      /* upper limit of the 95 % interval, N + 1.96 ES, fish */
  int N_red;      /* N rounded up; the classes' column taken back to its rounded-up sum */
  float Var_red;  /* Var rounded up, likewise */
  float ES_red;   /* ES rounded up, likewise */
  int sup_red;    /* sup rounded up, likewise; for the whole sample ceil(N) + ceil(1.96 ES) */
};
/* The removal estimate of every class and of the whole sample. */
struct poblacion_muestra {
  int nclases;             /* classes 0..nclases-1; g[nclases] is the whole sample */
  int k;                   /* passes */
  int dentro_de_limites;   /* classes and passes within what the estimator holds; 0: nothing estimated */
  poblacion_grupo g[RANURAS];
  float Nclas[RANURAS];    /* the whole sample's N shared out by class frequency and rounded to add
                              up to ceil(N): read it rounded up, fish; 0 without whole estimate */
  float ESclas[RANURAS];   /* ceil(1.96 ES) of the whole sample shared out the same way, fish */
  int margen;              /* ceil(1.96 ES) of the whole sample, fish; 0 without estimate */
  /* Totals of the class column, where a class without estimate counts its catch: */
  int captura_clases;      /* fish in the classes (one of another class counts only in the whole) */
  float suma_N;            /* N, unrounded, fish */
  float suma_sup;          /* upper limits of the classes with estimate, fish */
  long long suma_N_red;    /* N rounded, fish */
  long long suma_sup_red;  /* rounded upper limits of the classes with estimate, fish */
  int fallidas_con_peces;  /* classes with fish and no estimate */
};
poblacion_muestra calcula_poblacion(const int* clases, const int* pasadas, int n, int nclases,
                                    int k);
/* Catch per pass c[g][1..k] and whole catch of every group in one pass over
   the fish: classes 0..nclases-1, the whole sample at nclases. A fish of
   another pass counts in no pass; one of another class only in the sample. */
void cuenta_capturas(const int* clases, const int* pasadas, int n, int nclases, int k,
                     int (*c)[MAX_PASADAS + 1], int* captura);
int estimacion_valida(float R, int npasadas); /* 0 < R < (npasadas-1)/2, in single precision */

/* ---- Reach measures, density and biomass ---- */
extern float Suptramo;  /* surface of the reach, m2; 0 = not given */
extern float Voltramo;  /* volume of the reach, m3; 0 = not given */
extern float mltramo;   /* length of the reach, linear metres; 0 = not given */
/* One row of a density block: the fish counted and the grams they weigh;
   sustituida when the catch stands in for an estimate that failed (in a
   total: for some class of it). */
struct fila_densidad {
  int peces;
  float biomasa;   /* g */
  int sustituida;  /* shown on pale yellow */
};

/* Density and biomass of the reach in the report's three blocks: the catch,
   the estimate by classes, the whole estimate shared out by frequencies. In
   each block a class without estimate stands in with its catch. */
const int MEDIDAS_TRAMO = 3;  /* volume (m3), surface (m2), length (m) of the reach */
struct densidad_muestra {
  float medidas[MEDIDAS_TRAMO];   /* Voltramo, Suptramo, mltramo; 0 = not given: no density by it */
  int nclases;
  fila_densidad capturada[RANURAS];       /* the catch of each class; total at nclases */
  fila_densidad por_clases[RANURAS];      /* rounded N of each class; total at nclases */
  fila_densidad por_frecuencias[RANURAS]; /* its share of the whole N; total at nclases */
  int fallidas_por_clases;        /* classes with fish and no estimate */
  int total_existe;               /* the whole sample has an estimate: por_frecuencias holds it */
};
/* fila.peces (or .biomasa) over measure m (0 volume, 1 surface, 2 length);
   0 when the measure was not given. */
float por_medida(const densidad_muestra* d, float valor, int m);
densidad_muestra calcula_densidad(const medias_muestra* m, const poblacion_muestra* p,
                                  float volumen, float superficie, float metros);

/* ---- Weight-length relationship ---- */
/* Why the weight-length fit has no answer. */
enum causa_biometria {
  BIOMETRIA_BIEN,           /* it has one */
  BIOMETRIA_SIN_PECES,
  BIOMETRIA_NO_NUMERICO,    /* a length or weight is not a number */
  BIOMETRIA_NO_POSITIVO,    /* a length or weight is 0 or below */
  BIOMETRIA_UNA_LONGITUD,   /* every fish has the same length */
  BIOMETRIA_UN_PESO,        /* every fish has the same weight */
  BIOMETRIA_FUERA_DE_RANGO, /* the arithmetic leaves single precision */
};
/* The weight-length relationship Peso = a*Longitud^b, fitted on the
   logarithms of every fish, and the condition factor of the sample. The fit
   has no answer with no fish; a length or weight of 0 or below, or not a
   number; fewer than two distinct lengths; all weights equal; or results out
   of single-precision range. The condition factor has none when there are no
   fish or some length or weight is 0 or below or not a number. */
struct biometria_muestra {
  int existe;          /* the fit has an answer: a, b and r2 hold it (else they are 0) */
  float a;             /* g/cm^b */
  float b;             /* exponent, no unit */
  float r2;            /* r2 of the log-log line */
  int factor_existe;   /* the condition factor has an answer (else fc is 0) */
  float fc;            /* condition factor: sum of weights / sum of cubed lengths, g/cm3 */
  causa_biometria causa; /* why the fit has none, for the screen's message */
};
biometria_muestra calcula_biometria(const float* longitudes, const float* pesos, int n);
/* The second line of the red message for a fit without answer ("...>"), by
   its causa; "" when it has one. */
const char* motivo_biometria(causa_biometria causa);

/* ---- Growth: von Bertalanffy with Walford, polynomial ---- */
/* What the window's export from the previous analyses takes for its growth
   fit; a refused Linf (below the longest fish) changes neither. */
extern float Lmax1;  /* Linf of the last fit, cm; 0 until a fit is made */
extern float mes0;   /* age of class 0+ in months as last typed, 0..12 */

const int EDADES_PREDICHAS = 10; /* whole ages 0..9 the report gives a length for */

/* The sample as both growth fits see it: each class's mean length, its fish
   added in file order. Made once per sample and handed to the fits, their
   graphs and Walford's suggestion; each fit sets its own age of class 0+.
   Fish whose class lies outside 0..nclases-1 take no part; nclases is kept
   within 0..99 so that the slot after the last class (its "successor", mean
   0) still fits in RANURAS. The arrays stay the caller's. */
struct muestra_crecimiento {
  const int* clases;
  const float* longitudes;
  int nfish;
  int nclases;            /* 0..99 */
  float medias[RANURAS];  /* mean length of each class, cm; 0 for an empty class */
  int vacias;             /* classes whose mean is 0 */
  float edad0;            /* age of class 0+, years */
};
void prepara_muestra_crecimiento(muestra_crecimiento* m, const int* clases,
                                 const float* longitudes, int nfish, int nclases, float edad0);

/* A von Bertalanffy fit, L(t) = Linf*(1 - e^(-k*(t-t0))), of the class mean
   lengths against age (class i is i + meses/12 years old). It has no answer
   with fewer than two classes with fish, a class mean equal to Linf, every
   class mean alike, no fish longer than 0, or arithmetic that breaks down. */
struct bertalanffy_muestra {
  float linf;          /* Linf the fit was asked for, cm */
  float meses;         /* age of class 0+, months (0..12) */
  float mayor;         /* longest fish, cm: the smallest Linf accepted */
  int linf_aceptada;   /* linf >= mayor: the fit was tried. 0: refused, the fields below are 0 */
  int existe;          /* the fit has an answer: k, t0, r2 and predichas hold it */
  int motivo;          /* why it has none: AJUSTE_* of crecimiento.h, AJUSTE_BIEN when it exists */
  float k;             /* growth rate, 1/year */
  float t0;            /* age at which the curve gives length 0, years */
  float r2;            /* r2 of the straight line the fit is made on */
  float predichas[EDADES_PREDICHAS]; /* length the curve gives at ages 0..9, cm; 0 without answer */
};
/* The fit of m for the given Linf (cm) and age of class 0+ (months); no
   window needed. Walford's suggestion is apart (waldford): its search can take a
   million steps, and only the screens that show it pay for it. */
bertalanffy_muestra calcula_bertalanffy(const muestra_crecimiento* m, float linf, float meses);

/* A second-degree polynomial fit, L(t) = a0 + a1*t + a2*t^2, of the class mean
   lengths against age. It has no answer with fewer than three classes with
   fish, every class mean alike, no fish longer than 0, or arithmetic that
   breaks down: its figures are then 0, printed "-". */
struct polinomio_muestra {
  float edad0;         /* age of class 0+, years */
  int existe;          /* the fit has an answer: the coefficients, r2 and predichas hold it */
  int motivo;          /* why it has none: AJUSTE_* of crecimiento.h */
  float a0;            /* cm */
  float a1;            /* cm/year */
  float a2;            /* cm/year2 */
  float r2;
  float predichas[EDADES_PREDICHAS]; /* length at ages 0..9, cm; 0 without answer */
};
/* The fit of m with class 0+ edad0 years old. */
polinomio_muestra calcula_polinomio(const muestra_crecimiento* m, float edad0);

/* The program-wide results, written here only: Lmax1 from a fit whose Linf
   was accepted; mes0 as typed on a screen. */
void publica_bertalanffy(const bertalanffy_muestra* b);
void publica_meses(float meses);

float waldford(const float* longitudes, const int* clases, int nfish, int nclases); /* Walford's Linf, cm; 0 for none */

#endif
