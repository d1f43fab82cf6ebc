// Removal population estimator (Zippin): from the catch per pass of every age
// class and of the whole sample, the statistic R, the escape probability q,
// the population N with its variance, standard error and 95 % upper limit,
// and the whole-sample N shared out over the classes by their frequencies.
// Every figure is single precision in a fixed order: the printed numbers
// depend on it.
#include <cmath>

#include "analysis.h"
#include "poblacion_interna.h"
#include "sample.h"

static const float Q_INICIAL = 0.001f;
static const double PASO_Q = 0.00005;  /* added in double, the sum kept in single precision */
static const double AJUSTE_F = 0.9999; /* the search stops once f(q)/R reaches it */
static const float Z95 = 1.96f;

int estimacion_valida(float R, int npasadas) {
  float cota = (npasadas - 1) / 2.0f;
  return R > 0 && R < cota;
}

static float eleva(float base, int exponente) { return (float)pow(base, exponente); }

/* f(q) = q/(1-q) - k q^k/(1-q^k), the curve R is matched against. */
static float curva_f(float q, float qk, int k) { return q / (1 - q) - k * qk / (1 - qk); }

void cuenta_capturas(const int* clases, const int* pasadas, int n, int nclases, int k,
                            int (*c)[MAX_PASADAS + 1], int* captura) {
  for (int g = 0; g <= nclases; g++) {
    captura[g] = 0;
    for (int j = 0; j <= k; j++) c[g][j] = 0;
  }
  for (int i = 0; i < n; i++) {
    int clase = clases[i], p = pasadas[i];
    int en_pasada = p >= 1 && p <= k;
    if (en_pasada) c[nclases][p]++;
    if (clase < 0 || clase >= nclases) continue;
    captura[clase]++;
    if (en_pasada) c[clase][p]++;
  }
  captura[nclases] = n;
}

static int cifra_definida(float x) { return std::isfinite(x) && x >= 0; }

/* N and the upper limit are counted in whole fish: they must fit an int. */
static int cabe_en_entero(float x) { return x < 2147483520.0f; }

/* q^k exactly as eleva gives it, at a fraction of the cost of pow: the power
   by squaring in double is within a few units of its last place of the true
   power (and so is pow), so unless a margin far wider than that straddles a
   single-precision rounding boundary both round to the same float. Near a
   boundary pow decides. */
static const double MARGEN_POTENCIA = 1.0 / (1LL << 40);
static float eleva_exacto(float base, int exponente) {
  double x = base, r = 1;
  for (int e = exponente; e > 0; e >>= 1) {
    if (e & 1) r *= x;
    x *= x;
  }
  float abajo = (float)(r * (1 - MARGEN_POTENCIA)), arriba = (float)(r * (1 + MARGEN_POTENCIA));
  return abajo == arriba ? abajo : eleva(base, exponente);
}

/* Groups with a valid R in ascending R (ties keep class order); their number. */
static int ordena_por_R(const float* R, int m, int k, int* orden) {
  int cuantos = 0;
  for (int g = 0; g < m; g++) {
    if (!estimacion_valida(R[g], k)) continue;
    int i = cuantos++;
    for (; i > 0 && R[orden[i - 1]] > R[g]; i--) orden[i] = orden[i - 1];
    orden[i] = g;
  }
  return cuantos;
}

void busca_q_grupos(const float* R, int m, int k, float* q, float* qk) {
  int orden[RANURAS];
  for (int g = 0; g < m; g++) q[g] = qk[g] = 0;
  int pendientes = ordena_por_R(R, m, k, orden), siguiente = 0;
  float qi = Q_INICIAL;
  for (;;) {
    float qki = eleva_exacto(qi, k);
    float f = curva_f(qi, qki, k);
    // For f >= 0, f/R rounded to single precision cannot grow with R, so the
    // group of smallest R still pending is the first to stop; a non-number
    // or q reaching 1 stops every pending group alike. The test on q only
    // keeps rounding noise next to the bound from carrying the walk past it.
    while (siguiente < pendientes && !(f / R[orden[siguiente]] < AJUSTE_F && qi < 1)) {
      q[orden[siguiente]] = qi;
      qk[orden[siguiente]] = qki;
      siguiente++;
    }
    if (siguiente == pendientes) return;
    qi = (float)(qi + PASO_Q);
  }
}

/* N, Var(N), ES and the upper limit from the search's q and q^k. */
static void poblacion_de(estimacion_grupo* g, int T, int k) {
  float q = g->q, qk = g->qk;
  float p = 1 - q;
  float kp = k * p;
  g->N = T / (1 - qk);
  g->Var = g->N * qk * (1 - qk) / (eleva(1 - qk, 2) - eleva(kp, 2) * qk / q);
  g->ES = (float)sqrt(g->Var);
  g->sup = g->N + Z95 * g->ES;
}

/* The statistic R from a group's catch per pass; 0 when it caught nothing. */
static float estadistico_R(const int* c, int k, int* T) {
  float R = 0;
  *T = 0;
  for (int j = 1; j <= k; j++) *T += c[j];
  if (*T == 0) return 0;
  float inversa = 1.0f / *T;
  for (int j = 1; j <= k; j++) R += (j - 1) * inversa * c[j];
  return R;
}

/* Steps from the search's q and q^k to the upper limit for a group of valid R. */
static void completa_grupo(estimacion_grupo* g, int T, int k) {
  poblacion_de(g, T, k);
  g->valida = g->q < 1 && g->N > 0 && cifra_definida(g->N) && cifra_definida(g->Var) &&
              cifra_definida(g->ES) && cifra_definida(g->sup) && cabe_en_entero(g->sup);
  if (g->valida) return;
  // Within a thousandth of the bound single precision can no longer tell the
  // terms of f apart and the search runs past q = 1 (negative N, no ES): the
  // group keeps its R and has no estimate.
  *g = estimacion_grupo{g->captura, 0, g->R, 0, 0, 0, 0, 0, 0};
}

/* Slot of the whole sample; for a refused sample the last slot that exists. */
static int ultimo_grupo(const estimacion_muestra* e) {
  return e->nclases < RANURAS ? e->nclases : RANURAS - 1;
}

static void marca_fuera_de_limites(estimacion_muestra* e) {
  for (int i = 0; i <= ultimo_grupo(e); i++) e->g[i] = estimacion_grupo{0, 0, 0, 0, 0, 0, 0, 0, 0};
}

void estima_muestra(const int* clases, const int* pasadas, int n, int nclases, int k,
                    estimacion_muestra* e) {
  int c[RANURAS][MAX_PASADAS + 1];
  int captura[RANURAS], T[RANURAS];
  float R[RANURAS] = {0}, q[RANURAS], qk[RANURAS];
  e->nclases = nclases;
  e->k = k;
  e->dentro_de_limites = nclases >= 0 && nclases <= MAX_CLASES && k <= MAX_PASADAS;
  if (!e->dentro_de_limites) {
    marca_fuera_de_limites(e);
    return;
  }
  if (n < 0) n = 0;
  cuenta_capturas(clases, pasadas, n, nclases, k, c, captura);
  for (int g = 0; g <= nclases; g++) R[g] = estadistico_R(c[g], k, &T[g]);
  busca_q_grupos(R, nclases + 1, k, q, qk);
  for (int g = 0; g <= nclases; g++) {
    e->g[g] = estimacion_grupo{captura[g], 0, R[g], q[g], qk[g], 0, 0, 0, 0};
    if (estimacion_valida(R[g], k)) completa_grupo(&e->g[g], T[g], k);
  }
}

/* ---- Sum-preserving rounding ---- */

static float suma_redondeada(const float* v, const int* cuenta, int m) {
  float s = 0;
  for (int i = 0; i < m; i++)
    if (cuenta[i]) s += ceilf(v[i]);
  return s;
}

void conserva_suma(const float* x, float* v, const int* cuenta, int m, float objetivo,
                   int descendente) {
  float clave[RANURAS];
  for (int i = 0; i < m; i++) clave[i] = cuenta[i] ? x[i] - (ceilf(x[i]) - 1) : 0;
  // Rounded-up values can only exceed the target; should rounding in the sums
  // ever put them at or below it, nothing is taken off. A class already at 0
  // is never reduced: a share of fish cannot be negative.
  while (suma_redondeada(v, cuenta, m) > objetivo) {
    float minimo = 1.0f;
    int elegida = -1;
    for (int s = 0; s < m; s++) {
      int i = descendente ? m - 1 - s : s;
      if (clave[i] != 0 && clave[i] <= minimo && ceilf(v[i]) > 0) {
        minimo = clave[i];
        elegida = i;
      }
    }
    if (elegida < 0) break;
    v[elegida] -= 1;
    clave[elegida] = 0;
  }
}

/* One class column: x over the valid classes, v their rounded-up values
   after the rounding. Returns nothing for failed classes (v = 0). */
/* The target of a class column: its single-precision sum over the valid
   classes in class order, rounded up. */
static float total_redondeado(const float* x, const int* valida, int m) {
  float total = 0;
  for (int i = 0; i < m; i++)
    if (valida[i]) total += x[i];
  return ceilf(total);
}

static void redondea_columna(const float* x, const int* valida, int m, int descendente, float* v) {
  for (int i = 0; i < m; i++) v[i] = valida[i] ? ceilf(x[i]) : 0;
  conserva_suma(x, v, valida, m, total_redondeado(x, valida, m), descendente);
}

void redondea_columnas(const estimacion_muestra* e, int* N_red, float* Var_red, float* ES_red,
                       int* Sup_red) {
  int m = e->nclases, valida[RANURAS] = {0};
  float x[RANURAS] = {0}, v[RANURAS];
  if (!e->dentro_de_limites || m < 0 || m > MAX_CLASES) return;
  for (int i = 0; i < m; i++) valida[i] = e->g[i].valida;

  for (int i = 0; i < m; i++) x[i] = e->g[i].N;
  redondea_columna(x, valida, m, 0, v);
  for (int i = 0; i < m; i++) N_red[i] = (int)v[i];
  for (int i = 0; i < m; i++) x[i] = e->g[i].Var;
  redondea_columna(x, valida, m, 1, Var_red);
  for (int i = 0; i < m; i++) x[i] = e->g[i].ES;
  redondea_columna(x, valida, m, 1, ES_red);
  for (int i = 0; i < m; i++) x[i] = e->g[i].sup;
  redondea_columna(x, valida, m, 1, v);
  for (int i = 0; i < m; i++) Sup_red[i] = (int)v[i];

  const estimacion_grupo& t = e->g[m];
  N_red[m] = t.valida ? (int)ceilf(t.N) : 0;
  Var_red[m] = t.valida ? ceilf(t.Var) : 0;
  ES_red[m] = t.valida ? ceilf(t.ES) : 0;
  // The whole sample's limit is the sum of the by-frequency limits.
  Sup_red[m] = t.valida ? (int)ceilf(t.N) + (int)ceilf(Z95 * t.ES) : 0;
}

/* x[j] = total * Cj / n for every class, then rounded to add up to the total. */
static void reparte_total(const estimacion_muestra* e, int n, float total, int descendente,
                          float* reparto) {
  int m = e->nclases, todas[RANURAS];
  float x[RANURAS];
  if (m < 0 || m > MAX_CLASES) return;
  for (int j = 0; j < m; j++) {
    todas[j] = 1;
    x[j] = total * e->g[j].captura / n;
    reparto[j] = x[j];
  }
  conserva_suma(x, reparto, todas, m, total, descendente);
}

void reparte_por_frecuencias(const estimacion_muestra* e, int n, float* Nclas, float* ESclas) {
  const estimacion_grupo& t = e->g[e->nclases];
  if (!e->dentro_de_limites || !t.valida || n <= 0) return;
  reparte_total(e, n, ceilf(t.N), 0, Nclas);
  reparte_total(e, n, ceilf(Z95 * t.ES), 1, ESclas);
}

/* ---- The estimate as a value ---- */

/* The class column's totals; a class without estimate counts its catch. */
static void suma_columna(poblacion_muestra* p) {
  for (int j = 0; j < p->nclases; j++) {
    const poblacion_grupo& g = p->g[j];
    p->captura_clases += g.captura;
    if (g.existe) {
      p->suma_N += g.N;
      p->suma_N_red += g.N_red;
      p->suma_sup += g.sup;
      p->suma_sup_red += g.sup_red;
    } else {
      p->suma_N += g.captura;
      p->suma_N_red += g.captura;
      p->fallidas_con_peces += g.captura != 0;
    }
  }
}

poblacion_muestra calcula_poblacion(const int* clases, const int* pasadas, int n, int nclases,
                                    int k) {
  poblacion_muestra p = {};
  estimacion_muestra e;
  estima_muestra(clases, pasadas, n, nclases, k, &e);
  p.nclases = nclases;
  p.k = k;
  p.dentro_de_limites = e.dentro_de_limites;
  if (!e.dentro_de_limites) return p;
  int N_red[RANURAS], sup_red[RANURAS];
  float Var_red[RANURAS], ES_red[RANURAS];
  redondea_columnas(&e, N_red, Var_red, ES_red, sup_red);
  for (int i = 0; i <= nclases; i++) {
    const estimacion_grupo& g = e.g[i];
    p.g[i] = poblacion_grupo{g.valida, g.captura, g.R, g.q, 0, 0, 0, 0, 0, 0, 0, 0};
    if (!g.valida) continue;
    p.g[i].N = g.N, p.g[i].Var = g.Var, p.g[i].ES = g.ES, p.g[i].sup = g.sup;
    p.g[i].N_red = N_red[i], p.g[i].Var_red = Var_red[i];
    p.g[i].ES_red = ES_red[i], p.g[i].sup_red = sup_red[i];
  }
  reparte_por_frecuencias(&e, n, p.Nclas, p.ESclas);
  if (e.g[nclases].valida) p.margen = (int)ceilf(Z95 * e.g[nclases].ES);
  suma_columna(&p);
  return p;
}

/* ---- The earlier callers' view ---- */

/* R as the density entry and the report tables read it: a group whose
   estimate broke down in single precision next to the bound reads as the
   bound itself, so that a reader of R alone sees it fail. */
static float R_legible(const poblacion_grupo* g, int k) {
  return g->existe || !estimacion_valida(g->R, k) ? g->R : (k - 1) / 2.0f;
}

void Calculo_R_N(int* clases, int* pasadas, int n, int nclases, int npasadas, float* R, float* N) {
  poblacion_muestra p = calcula_poblacion(clases, pasadas, n, nclases, npasadas);
  int m = nclases < RANURAS ? nclases : RANURAS - 1;
  if (m < 0) return;
  int valida[RANURAS];
  float x[RANURAS];
  for (int i = 0; i <= m; i++) {
    R[i] = R_legible(&p.g[i], npasadas);
    N[i] = p.g[i].existe ? p.g[i].N : 0;
    valida[i] = p.g[i].existe;
    x[i] = N[i];
  }
  if (!p.dentro_de_limites) return;
  // the unit is taken off the floating N itself: round it up to read it
  conserva_suma(x, N, valida, m, total_redondeado(x, valida, m), 0);
}

void calculo_poblacional_devuelve(int* clases, int* pasadas, int n, int nclases, int k, float* R,
                                  float* q, int* N_red, float* Var_red, float* ES_red,
                                  int* Sup_red) {
  poblacion_muestra p = calcula_poblacion(clases, pasadas, n, nclases, k);
  int m = nclases < RANURAS ? nclases : RANURAS - 1;
  for (int i = 0; i <= m; i++) {
    const poblacion_grupo& g = p.g[i];
    R[i] = R_legible(&g, k);
    q[i] = g.q;
    N_red[i] = g.N_red;
    Var_red[i] = g.Var_red;
    ES_red[i] = g.ES_red;
    Sup_red[i] = g.sup_red;
  }
}
