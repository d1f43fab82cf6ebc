// Second opinions beside the removal estimate of the report, from one group's
// catch per pass c[0..k-1] (c[0] the first pass), in double precision: the
// exact likelihood with constant catchability (Moran), with a first pass of
// its own (Schnute), Carle and Strub's weighted likelihood, Seber's closed
// forms, the tests of the method's assumption, and each group's state in
// words. Plain functions of the catches returning plain structs: no window,
// no program-wide variable, no header of the graphics library.
#ifndef PASADAS_REMOCION_H
#define PASADAS_REMOCION_H

/* 95 % point of chi-square with one degree of freedom: a profile likelihood
   interval holds the N whose log-likelihood is within half of it of the top. */
const double CHI2_1_95 = 3.841458820694124;

/* One estimate of a group's population. Every field is 0 when existe is 0. */
struct estimacion_remocion {
  int existe;               /* the estimate exists; else the method gives none for these catches */
  double N;                 /* population, fish; Carle-Strub's is a whole number */
  double p;                 /* catchability: share of the fish still there that one pass catches;
                               in Schnute's model, that of the second and later passes */
  double p_primera;         /* share caught by the first pass; equal to p but in Schnute's model */
  int hay_ES;               /* the asymptotic variance at N and p is positive */
  double ES;                /* standard error of N from that variance, fish */
  double inferior;          /* lower limit of the 95 % interval, fish, never below the catch */
  double superior;          /* upper limit, fish; 0 when sin_limite */
  int sin_limite;           /* the interval has no upper limit */
  double log_verosimilitud; /* log-likelihood at N and p, without the term -sum ln(c_i!) */
};

/* Exact maximum likelihood with one p for every pass over a continuous N >= T
   (Moran 1951); the interval from the profile likelihood. Exists for k >= 2
   and catches that fall, 0 < 2 sum (i-1) c_i < (k-1) T. */
estimacion_remocion estima_moran(const int* c, int k);
/* The same with the first pass's p apart from the later passes' (Schnute
   1983); k >= 3, fish after the first pass, and a profile that comes down
   again as N grows (for 17 11 15 it rises for ever: none). */
estimacion_remocion estima_schnute(const int* c, int k);
/* Carle and Strub's (1978) weighted likelihood with a uniform weight on p
   (alpha = beta = 1): the smallest whole N >= T where it stops rising. It
   exists for any k >= 2 and T >= 1, the usual fallback when Zippin fails;
   interval N -/+ 1.96 ES, the lower limit at least T, no upper one without ES. */
estimacion_remocion estima_carle_strub(const int* c, int k);
/* Seber's closed forms of Zippin's estimate for two passes, N = c1^2/(c1-c2),
   and three (a quadratic in q); interval as Carle-Strub's. Other k: none. */
estimacion_remocion estima_seber(const int* c, int k);

/* Zippin's equation R = q/(1-q) - k q^k/(1-q^k) solved for q to double
   precision, N = T/(1-q^k), for any k; exists where the catches fall.
   Interval as Carle-Strub's. The report searches q in steps instead. */
estimacion_remocion estima_zippin(const int* c, int k);

/* Moran's profile log-likelihood at N >= T (p at its best for that N), on the
   scale of log_verosimilitud. */
double verosimilitud_moran(const int* c, int k, double N);
/* The best p for a given N >= T: T / (T + sum (i-1) c_i + k (N - T)). */
double p_moran(const int* c, int k, double N);
/* The standard error of a removal estimate N with catchability p over k
   passes from the asymptotic variance N q^k (1-q^k) / ((1-q^k)^2 - (kp)^2 q^(k-1));
   0 when that variance is not a positive number, 1 with *ES set. */
int error_tipico_remocion(double N, double p, int k, double* ES);

/* A chi-square test. */
struct prueba_chi2 {
  int existe;          /* the test can be made; else the fields are 0 */
  double estadistico;  /* chi-square or likelihood-ratio statistic */
  int gl;              /* degrees of freedom */
  double p;            /* probability of a statistic as large under the hypothesis */
};
/* Likelihood ratio of Moran's model against Schnute's (1 df): whether the
   first pass caught a different share than the later ones. Needs Moran's
   estimate and k >= 3; where Schnute's likelihood rises without end, its
   limit stands for its maximum. */
prueba_chi2 prueba_moran_schnute(const int* c, int k, const estimacion_remocion* moran,
                                 const estimacion_remocion* schnute);
/* Goodness of fit of the catches per pass to those Moran's p expects of the
   fish caught, T p q^(i-1) / (1 - q^k): Pearson's chi-square with k - 2 df;
   k >= 3 and p < 1. */
prueba_chi2 ajuste_chi2(const int* c, int k, const estimacion_remocion* moran);
/* Likelihood ratio of one p for every class (each with its own N) against
   one p per class, over the classes whose state is VALIDA; nclases - 1 df of
   those. capturas[g * k + i] is the catch of class g in pass i + 1. Needs two
   such classes. */
prueba_chi2 prueba_entre_clases(const int* capturas, int nclases, int k);

/* P(chi-square with gl degrees of freedom > x), gl >= 1. */
double cola_chi2(double x, int gl);
/* The regularized upper incomplete gamma function Q(a, x) = Gamma(a, x) / Gamma(a),
   a > 0, x >= 0. */
double gamma_incompleta_q(double a, double x);

/* The vocabulary of a group's state and warnings. A group has one state,
   decided from its catches before anything is estimated, and any warnings. */
enum palabra_remocion {
  SIN_PECES,              /* states */
  UN_SOLO_PEZ,
  TODOS_EN_LA_PRIMERA,
  MENOS_DE_DOS_PASADAS,
  NO_DECRECEN,
  VALIDA,
  CERCA_DEL_LIMITE,       /* warnings */
  ZIPPIN_IMPRECISO,
  P_BAJA,
  ES_GRANDE,
  BAJA_TRAS_LA_PRIMERA,
  SUBE_TRAS_LA_PRIMERA,
  AJUSTE_POBRE,
  SCHNUTE_SIN_MAXIMO,
  DESIGUAL_ENTRE_CLASES,
  CARLE_STRUB_DUDOSO,
  PALABRAS_REMOCION
};
/* The word, and one sentence on what it means for the estimate (Latin-1). */
const char* palabra_de(palabra_remocion w);
const char* sentido_de(palabra_remocion w);

/* Everything the second opinion says about one group. */
struct diagnostico_grupo {
  int k, T;                          /* passes; fish caught */
  palabra_remocion estado;           /* one of SIN_PECES .. VALIDA */
  unsigned avisos;                   /* bit 1u << w for each warning w */
  estimacion_remocion zippin;        /* Zippin's equation solved exactly; only for a VALIDA group */
  estimacion_remocion moran;         /* likewise */
  estimacion_remocion schnute;       /* likewise, k >= 3 */
  estimacion_remocion carle_strub;   /* for any group with fish and k >= 2 */
  prueba_chi2 moran_schnute, ajuste; /* the tests on Moran's fit */
};
/* The state of a group from its catches alone. */
palabra_remocion clasifica_grupo(const int* c, int k);
/* The group's diagnosis. The warnings on p and on ES/N judge the estimate
   the user reports: informada (its N, p, ES), when it exists; else Moran's. */
diagnostico_grupo diagnostica_grupo(const int* c, int k, const estimacion_remocion* informada);
/* Every group of a sample: capturas[g * k + i] for classes g = 0..nclases-1
   and the whole sample at g = nclases, informadas[g] their reported estimates
   (or NULL); g[0..nclases] get their diagnoses and *clases the test between
   classes, whose warning goes on the whole sample. */
void diagnostica_muestra(const int* capturas, int nclases, int k,
                         const estimacion_remocion* informadas, diagnostico_grupo* g,
                         prueba_chi2* clases);

#endif
