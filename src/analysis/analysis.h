// The analyses: each has its screen and, where the report needs it, an
// export variant (suffix _devuelve) that computes the same results with
// fewer or no keys and draws its graph into a new bitmap owned by the caller.
// Per-class result arrays are indexed by class 0..nclases-1 and hold the whole
// sample at index nclases.
#ifndef PASADAS_ANALYSIS_H
#define PASADAS_ANALYSIS_H

#include <allegro.h>

const int RANURAS = 100;  /* result slots: 99 classes plus the whole sample */

/* The number of classes that fits the result slots: 0..RANURAS-1. */
inline int clases_acotadas(int nclases) {
  return nclases < 0 ? 0 : nclases > RANURAS - 1 ? RANURAS - 1 : nclases;
}

/* ---- Frequencies by age class ---- */
void calculo_frecuencias(int* clases, int nfish, int nclases);      /* "Frecuencia" screen */
/* New 541x403 bar graph, owned by the caller; NULL when no bitmap can be made. */
BITMAP* grafico_frecuencias(int* clases, int nclases, int nfish);
/* Share of the nfish fish in each class 0..nclases-1 (fr has RANURAS slots);
   fish of any other class count only in nfish; all 0 when there are no fish. */
void frecuencias_relativas(const int* clases, int nfish, int nclases, float* fr);

/* ---- Mean lengths and weights ---- */
void datos_medios(int* clases, float* longitudes, float* pesos, int nfish, int nclases);
/* Fish, mean length (cm) and mean weight (g) of every class 0..nclases-1 and,
   at index clases_acotadas(nclases), of the whole sample (arrays of RANURAS);
   a class or sample without fish gets 0. */
void medias_por_clase(const int* clases, const float* longitudes, const float* pesos, int nfish,
                      int nclases, int* individuos, float* longitud_media, float* peso_medio);

/* ---- Removal population estimator ---- */
extern float Nx[RANURAS];     /* unrounded N of every valid group, fish */
extern float VarNx[RANURAS];  /* unrounded Var(N) of every valid group */
extern float Esx[RANURAS];    /* unrounded standard error of N */
extern float Nclas[RANURAS];  /* whole-sample N shared out by class frequency (floating, round up to read) */
extern float ESclas[RANURAS]; /* ceil(1.96 ES) of the whole sample shared out the same way */
/* R and N per group; N is 0 for a failed group and already reduced by the
   sum-preserving rounding for the classes (round it up to read it). */
void Calculo_R_N(int* clases, int* pasadas, int n, int nclases, int npasadas, float* R, float* N);
/* The full estimate for the report: R, q, and the rounded N, Var(N), ES and
   upper limit of every group (only R for a failed group). */
void calculo_poblacional_devuelve(int* clases, int* pasadas, int n, int nclases, int k,
                                  float* R, float* q, int* N_red, float* Var_red,
                                  float* ES_red, int* Sup_red);
void calculo_poblacional(int* clases, int* pasadas, int n, int nclases, int k); /* the screen */
int estimacion_valida(float R, int npasadas); /* 0 < R < (npasadas-1)/2, in single precision */

/* ---- Reach measures, density and biomass ---- */
extern float Suptramo;  /* surface of the reach, m2; 0 = not given */
extern float Voltramo;  /* volume of the reach, m3; 0 = not given */
extern float mltramo;   /* length of the reach, linear metres; 0 = not given */
void densidad_biomasa(float* N, float* R, int* clases, float* pesos, int n, int nclases, int npasadas);
int densidad_biomasa_devuelve(); /* the measure menu alone; 1 when left with ESC */
/* One row of a density block: the fish counted and the grams they weigh;
   sustituida when the catch stands in for an estimate that failed. */
struct fila_densidad {
  int peces;
  float biomasa;   /* g */
  int sustituida;  /* shown on pale yellow */
};
/* Rows of the blocks "por clases" and "por frecuencias" for classes
   0..nclases-1 and their total at nclases (arrays of RANURAS), from the N and
   R that Calculo_R_N left and from Nclas; frecuencia gets each class's share. */
void filas_densidad(const float* N, const float* R, const int* clases, const float* pesos, int n,
                    int nclases, int npasadas, fila_densidad* por_clases,
                    fila_densidad* por_frecuencias, float* frecuencia);
const int CELDAS_BLOQUE = 7; /* N, density per m3, m2, m, biomass per m3, m2, m */
const int LARGO_CELDA = 48;  /* room for any float printed with two decimals */
/* The seven texts of a block's row, divided by Voltramo, Suptramo, mltramo;
   "-" under a measure that is 0. */
void celdas_densidad(const fila_densidad* f, char celdas[CELDAS_BLOQUE][LARGO_CELDA]);

/* ---- Weight-length relationship ---- */
extern float ax;       /* a of Peso = a*Longitud^b */
extern float bx;       /* b */
extern float R23;      /* r2 of the log-log fit */
extern float kffsum0;  /* condition factor: sum of weights / sum of cubed lengths, g/cm3 */
/* 1 when the last export fit had an answer: ax, bx, R23 and kffsum0 all hold
   it. 0 when it had none (no fish; a length or weight of 0 or below, or not a
   number; fewer than two distinct lengths; all weights equal; or results out
   of single-precision range): ax, bx and R23 are then 0 and meaningless, to
   be printed "-". Either way kffsum0 is meaningful exactly when it is above 0;
   it is 0 (print "-") when the condition factor has no answer either, that is
   when there are no fish or some length or weight is 0 or below or not a number. */
extern int biometria_definida;
/* The weight-length relationship Peso = a*Longitud^b, fitted on the
   logarithms of every fish, and the condition factor of the sample. */
struct biometria_muestra {
  int existe;          /* the fit has an answer: a, b and r2 hold it (else they are 0) */
  float a;             /* g/cm^b */
  float b;             /* exponent, no unit */
  float r2;            /* r2 of the log-log line */
  int factor_existe;   /* the condition factor has an answer (else fc is 0) */
  float fc;            /* condition factor: sum of weights / sum of cubed lengths, g/cm3 */
  int causa;           /* why the fit has none, for the screen's message (0 when it exists) */
};
biometria_muestra calcula_biometria(const float* longitudes, const float* pesos, int n);
/* New 541x510 bitmap of the fit for the report, NULL without memory. */
BITMAP* grafico_biometria(const float* longitudes, const float* pesos, int n,
                          const biometria_muestra* f);
void publica_biometria(const biometria_muestra* f);  /* ax, bx, R23, kffsum0, biometria_definida */
void relaciones_biometricas(float* longitudes, float* pesos, int n);
/* The export variant: publishes the fit; new 541x510 bitmap, NULL without memory. */
BITMAP* relaciones_biometricas_devuelve(float* longitudes, float* pesos, int n);

/* ---- Growth: von Bertalanffy with Walford, polynomial ---- */
extern float Wf;     /* last Walford estimate of the maximum length, cm */
extern float Lmax1;  /* Linf of the last fit, cm */
extern float k1;     /* k of the last fit, 1/year */
extern float t01;    /* t0 of the last fit, years */
extern float R2;     /* r2 of the last fit */
extern float mes0;   /* age of class 0+ in months as last typed, 0..12 */
/* 1 after a von Bertalanffy fit (screen or export) with an answer. 0 when the
   last one had none (fewer than two classes with fish, a class mean equal to
   Linf, every class mean alike, no fish longer than 0, or arithmetic that
   breaks down): Lmax1 and mes0 still hold the Linf and months used, but k1,
   t01 and R2 are 0 and meaningless, and so are the export's predicted lengths
   (all 0): the report prints "-" for them. A refused Linf (below the longest
   fish) changes neither the values nor this flag. Starts at 0. */
extern int bertalanffy_definido;
extern float B01, B11, B21;  /* a0 (cm), a1 (cm/year), a2 (cm/year2) of the last export polynomial fit */
extern float R22;            /* r2 of that fit */
/* 1 after an export polynomial fit with an answer; 0 when it had none (fewer
   than three classes with fish, every class mean alike, no fish longer than
   0, or arithmetic that breaks down): B01, B11, B21, R22 and the predicted
   lengths are then 0 and meaningless, and the report prints "-" for them. */
extern int polinomio_definido;

const int EDADES_PREDICHAS = 10; /* whole ages 0..9 the report gives a length for */

/* A von Bertalanffy fit, L(t) = Linf*(1 - e^(-k*(t-t0))), of the class mean
   lengths against age (class i is i + meses/12 years old). */
struct bertalanffy_muestra {
  float walford;       /* Walford's suggestion for Linf, cm; 0 when its line gives none */
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
/* The fit for the given Linf (cm) and age of class 0+ (months); no window needed. */
bertalanffy_muestra calcula_bertalanffy(const int* clases, const float* longitudes, int nfish,
                                        int nclases, float linf, float meses);
/* New 541x552 bitmap of the fit for the report (NULL only when memory runs out). */
BITMAP* grafico_bertalanffy(const int* clases, const float* longitudes, int nfish, int nclases,
                            const bertalanffy_muestra* b);
/* The export's step for Linf and the months, with Walford's suggestion, on
   the "Von Bertalanffy" page. 1 with both typed and Linf at least the longest
   fish; 0 on ESC or after the refusal of a shorter Linf (its message waits
   for a key, stored in c_esc). */
int pide_linf_exporta(const int* clases, const float* longitudes, int nfish, int nclases,
                      float* linf, float* meses);

/* A second-degree polynomial fit, L(t) = a0 + a1*t + a2*t^2, of the class mean
   lengths against age. */
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
polinomio_muestra calcula_polinomio(const int* clases, const float* longitudes, int nfish,
                                    int nclases, float edad0);
/* New 541x500 bitmap of the fit for the report (NULL only when memory runs out). */
BITMAP* grafico_polinomio(const int* clases, const float* longitudes, int nfish, int nclases,
                          const polinomio_muestra* p);

/* The program-wide results, written here only, from the structs above:
   Wf always, and Lmax1, k1, t01, R2 and bertalanffy_definido when the Linf
   was accepted; B01..R22 and polinomio_definido; mes0 as typed on a screen. */
void publica_bertalanffy(const bertalanffy_muestra* b);
void publica_polinomio(const polinomio_muestra* p);
void publica_meses(float meses);

void menu_crecimiento(int* clases, float* longitudes, int nclases, int nfish);
void von_bertalanffy(int* clases, float* longitudes, int nclases, int nfish);
float waldford(const float* longitudes, const int* clases, int nfish, int nclases); /* Walford's Linf, cm; 0 for none */
/* The export variant: mode 2 asks for Linf and the months, any other mode
   takes Lmax1 and mes0. predichas gets the lengths at the whole ages 0..9
   (left as they were when Linf is below the longest fish); *edad0 the age of
   class 0+ in years; *cancela is set to 1 on ESC and otherwise left alone.
   Returns a new 541x552 bitmap (NULL only when memory runs out). */
BITMAP* von_bertalanffy_devuelve(int modo, int* clases, float* longitudes, int nclases, int nfish,
                                 float* predichas, float* edad0, int* cancela);
void ajuste_polinomial(int nfish, int nclases, float* longitudes, int* clases);
/* The export variant: fits with the age of class 0+ in *edad0 (years) and
   publishes B01..R22. Returns a new 541x500 bitmap (NULL only when memory
   runs out); predichas gets the lengths at the whole ages 0..9. */
BITMAP* ajuste_polinomial_devuelve(int nfish, int nclases, float* longitudes, float* predichas,
                                   int* clases, float* edad0);

#endif
