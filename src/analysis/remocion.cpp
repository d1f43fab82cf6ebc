// The second opinions' computations: the removal likelihoods of Moran and
// Schnute over a continuous N, Carle and Strub's weighted likelihood, Seber's
// closed forms, and the chi-square tests on them, all in double precision.
// Each likelihood is profiled: for a given N the p's are at their best, so
// that a search over N alone finds the maximum and the interval.
#include <cmath>

#include "remocion.h"
#include "sistema.h"

static const double N_MAXIMO = 1e15;  /* beyond any river: a likelihood still rising there has no maximum */
static const double Z95 = 1.96;       /* the normal interval of Carle-Strub's and Seber's, as the report's */
static const double CAIDA_95 = CHI2_1_95 / 2; /* the profile's fall at the limits of its 95 % interval */

/* What the likelihoods need of the catches. */
struct sumas {
  int k;
  double T;   /* fish caught */
  double X;   /* sum of (i-1) c_i: the passes each fish outlived before its own */
  double c1;  /* the first pass's catch */
  double T2;  /* fish of the later passes */
  double Y;   /* sum over the later passes of (i-2) c_i */
};

/* The sums of a catch vector; a negative catch or no pass counts as no fish. */
static sumas sumas_de(const int* c, int k) {
  sumas s = {k, 0, 0, 0, 0, 0};
  for (int i = 0; i < k; i++)
    if (c[i] < 0) return sumas{k, 0, 0, 0, 0, 0};
  for (int i = 0; i < k; i++) {
    s.T += c[i];
    s.X += (double)i * c[i];
    if (i > 0) s.Y += (double)(i - 1) * c[i];
  }
  if (k > 0) s.c1 = c[0];
  s.T2 = s.T - s.c1;
  return s;
}

/* Catches that fall: some fish after the first pass, and R = X/T below Zippin's
   bound (k-1)/2, compared in whole numbers. */
static int capturas_que_caen(const sumas* s) {
  return s->k >= 2 && s->X > 0 && 2 * s->X < (s->k - 1) * s->T;
}

/* ---- Gamma function differences without cancellation ---- */

/* Stirling's series for ln Gamma(x) past (x - 1/2) ln x - x + ln(2 pi)/2, x >= 10. */
static double cola_lgamma(double x) {
  double x2 = 1 / (x * x);
  return (1.0 / 12 - x2 * (1.0 / 360 - x2 * (1.0 / 1260 - x2 / 1680))) / x;
}

/* ln Gamma(a + m) - ln Gamma(a) for a > 0 and a whole m >= 0: two lgammas of
   a large N would lose the few units their difference is made of. */
static double dif_lgamma(double a, double m) {
  double s = 0;
  for (; m > 0 && a < 10; a += 1, m -= 1) s += log(a);
  if (m <= 0) return s;
  double b = a + m;
  return s + (a - 0.5) * log1p(m / a) + m * log(b) - m + cola_lgamma(b) - cola_lgamma(a);
}

/* The asymptotic series of digamma(x) past ln x - 1/(2x), x >= 10. */
static double cola_digamma(double x) {
  double x2 = 1 / (x * x);
  return -x2 * (1.0 / 12 - x2 * (1.0 / 120 - x2 * (1.0 / 252 - x2 / 240)));
}

/* digamma(a + m) - digamma(a), a > 0, m whole >= 0: sum of 1/(a+j), j < m. */
static double dif_digamma(double a, double m) {
  double s = 0;
  for (; m > 0 && a < 10; a += 1, m -= 1) s += 1 / a;
  if (m <= 0) return s;
  double b = a + m;
  return s + log1p(m / a) + 0.5 / a - 0.5 / b + cola_digamma(b) - cola_digamma(a);
}

/* T ln(T/(T+A)) + A ln(A/(T+A)): a binomial kernel at its best p, 0 ln 0 = 0. */
static double nucleo(double T, double A) {
  if (T <= 0 || A <= 0) return 0;
  return T * log(T / (T + A)) - A * log1p(T / A);
}

static double x_log_x(double x) { return x > 0 ? x * log(x) : 0; }

/* The x in [a, b] (a < b) where f changes sign, fa = f(a) and fb = f(b) of
   opposite signs: regula falsi with the Illinois halving, bisecting when
   the secant falls outside the bracket. */
template <class F>
static double raiz(F f, double a, double b, double fa, double fb) {
  int lado = 0;
  for (int i = 0; i < 200 && b - a > 1e-13 * fabs(b) + 1e-12; i++) {
    double x = (a * fb - b * fa) / (fb - fa);
    if (!(x > a && x < b)) x = a + (b - a) / 2;
    double fx = f(x);
    if (fx == 0) return x;
    if ((fx > 0) == (fa > 0)) {
      a = x, fa = fx;
      if (lado < 0) fb /= 2;
      lado = -1;
    } else {
      b = x, fb = fx;
      if (lado > 0) fa /= 2;
      lado = 1;
    }
  }
  return a + (b - a) / 2;
}

/* ---- Profile likelihoods over N ---- */

/* A removal model profiled over N >= T: its log-likelihood, the derivative
   of it, the value it tends to as N grows without end, and the a of
   l(N) = l_infinito + a/N + O(1/N^2) there, worked out from the sums. */
struct modelo {
  double (*l)(const sumas* s, double N);
  double (*g)(const sumas* s, double N);
  double (*l_infinito)(const sumas* s);
  double (*a)(const sumas* s);
};

/* One p: the multinomial of k passes and the fish never caught, p = T/(T + A). */
static double l_moran(const sumas* s, double N) {
  return dif_lgamma(N - s->T + 1, s->T) + nucleo(s->T, s->X + s->k * (N - s->T));
}
static double g_moran(const sumas* s, double N) {
  double A = s->X + s->k * (N - s->T);
  if (!(A > 0)) return -HUGE_VAL;
  return dif_digamma(N - s->T + 1, s->T) - s->k * log1p(s->T / A);
}
/* With p ~ T/(kN) the catches become a multinomial of k equal shares. */
static double l_infinito_moran(const sumas* s) { return s->T * log(s->T / s->k) - s->T; }
/* From ln(N!/(N-T)!) = T ln N - T(T-1)/(2N) + ... and the kernel's own 1/N
   term; positive whenever 2X < (k-1)T + k, so for every group whose catches
   fall, and also for some that do not (10 10 10). */
static double a_moran(const sumas* s) {
  return s->T * ((s->k - 1) * s->T + s->k - 2 * s->X) / (2 * s->k);
}

/* The first pass's p = c1/N apart; the later passes' p over k - 1 passes. */
static double l_schnute(const sumas* s, double N) {
  return dif_lgamma(N - s->T + 1, s->T) + nucleo(s->c1, N - s->c1) +
         nucleo(s->T2, s->Y + (s->k - 1) * (N - s->T));
}
static double g_schnute(const sumas* s, double N) {
  double A = s->Y + (s->k - 1) * (N - s->T);
  if (!(A > 0) || !(N > s->c1)) return -HUGE_VAL;
  return dif_digamma(N - s->T + 1, s->T) - log1p(s->c1 / (N - s->c1)) -
         (s->k - 1) * log1p(s->T2 / A);
}
static double l_infinito_schnute(const sumas* s) {
  return x_log_x(s->c1) + s->T2 * log(s->T2 / (s->k - 1)) - s->T;
}
/* The same expansion with the first pass apart: 17 11 15 gives a < 0. */
static double a_schnute(const sumas* s) {
  return ((s->k - 1) * s->T + s->T2 * ((s->k - 2) * s->T2 - 2 * s->Y)) / (2 * (s->k - 1));
}

static const modelo MORAN = {l_moran, g_moran, l_infinito_moran, a_moran};
static const modelo SCHNUTE = {l_schnute, g_schnute, l_infinito_schnute, a_schnute};

/* The N >= T where the profile is highest; 0 when it has none. With a > 0
   the profile comes down to its limit without end, so its top is at some
   finite N; otherwise it climbs towards that limit for ever. The derivative
   alone cannot tell: far out (1e14 fish and more) it is smaller than its own
   rounding, whose first wrong sign a search would take for a maximum. */
static int maximo_perfil(const modelo* m, const sumas* s, double* N) {
  if (!(m->a(s) > 0)) return 0;
  double T = s->T, abajo = T, g_abajo = m->g(s, T);
  if (!(g_abajo > 0)) {
    *N = T;  // the catch itself: the profile falls from the start
    return 1;
  }
  double arriba = T + fmax(1, T), g_arriba;
  while ((g_arriba = m->g(s, arriba)) > 0) {
    if (arriba > N_MAXIMO) return 0;
    abajo = arriba, g_abajo = g_arriba;
    arriba = T + 4 * (arriba - T);
  }
  *N = raiz([&](double x) { return m->g(s, x); }, abajo, arriba, g_abajo, g_arriba);
  return 1;
}

/* The 95 % profile interval around e->N: where the log-likelihood has
   fallen CAIDA_95 below its maximum; no lower than T, and no upper limit
   when even its limit without end stays above that. */
static void intervalo_perfil(const modelo* m, const sumas* s, estimacion_remocion* e) {
  double corte = e->log_verosimilitud - CAIDA_95, T = s->T;
  auto h = [&](double N) { return m->l(s, N) - corte; };
  double h_T = h(T);
  e->inferior = h_T >= 0 ? T : raiz(h, T, e->N, h_T, CAIDA_95);
  e->sin_limite = 1;
  if (m->l_infinito(s) >= corte) return;
  double abajo = e->N, h_abajo = CAIDA_95, arriba = T + 2 * fmax(1, e->N - T), h_arriba;
  while ((h_arriba = h(arriba)) >= 0) {
    if (arriba > N_MAXIMO) return;  // a limit beyond any river is none
    abajo = arriba, h_abajo = h_arriba;
    arriba = T + 4 * (arriba - T);
  }
  e->superior = raiz(h, abajo, arriba, h_abajo, h_arriba);
  e->sin_limite = 0;
}

/* ---- The estimators ---- */

double p_moran(const int* c, int k, double N) {
  sumas s = sumas_de(c, k);
  return s.T > 0 ? s.T / (s.T + s.X + k * (N - s.T)) : 0;
}

double verosimilitud_moran(const int* c, int k, double N) {
  sumas s = sumas_de(c, k);
  return l_moran(&s, N);
}

int error_tipico_remocion(double N, double p, int k, double* ES) {
  double q = 1 - p, qk = pow(q, k), sin_captura = -expm1(k * log1p(-p));  // 1 - q^k
  double denominador = sin_captura * sin_captura - (k * p) * (k * p) * pow(q, k - 1);
  double var = N * qk * sin_captura / denominador;
  // all fish in the first pass (p = 1) make it 0: no error measured, not none
  if (!(denominador > 0) || !(var > 0) || !std::isfinite(var)) return 0;
  *ES = sqrt(var);
  return 1;
}

/* Moran's maximum, its p and log-likelihood; existe 0 when the catches do not fall. */
static estimacion_remocion ajuste_moran(const sumas* s) {
  estimacion_remocion e = {};
  if (!capturas_que_caen(s) || !maximo_perfil(&MORAN, s, &e.N)) return e;
  e.existe = 1;
  e.p = e.p_primera = s->T / (s->T + s->X + s->k * (e.N - s->T));
  e.log_verosimilitud = l_moran(s, e.N);
  return e;
}

estimacion_remocion estima_moran(const int* c, int k) {
  sumas s = sumas_de(c, k);
  estimacion_remocion e = ajuste_moran(&s);
  if (!e.existe) return e;
  e.hay_ES = error_tipico_remocion(e.N, e.p, k, &e.ES);
  intervalo_perfil(&MORAN, &s, &e);
  return e;
}

estimacion_remocion estima_schnute(const int* c, int k) {
  sumas s = sumas_de(c, k);
  estimacion_remocion e = {};
  if (k < 3 || s.T2 <= 0 || !maximo_perfil(&SCHNUTE, &s, &e.N)) return e;
  e.existe = 1;
  e.p_primera = s.c1 / e.N;
  e.p = s.T2 / (s.T2 + s.Y + (k - 1) * (e.N - s.T));
  e.log_verosimilitud = l_schnute(&s, e.N);
  intervalo_perfil(&SCHNUTE, &s, &e);
  return e;
}

/* The normal interval N -/+ 1.96 ES, from T at least; none above without ES. */
static void intervalo_normal(const sumas* s, estimacion_remocion* e) {
  e->hay_ES = error_tipico_remocion(e->N, e->p, s->k, &e->ES);
  e->inferior = e->hay_ES ? fmax(s->T, e->N - Z95 * e->ES) : s->T;
  e->superior = e->hay_ES ? e->N + Z95 * e->ES : 0;
  e->sin_limite = !e->hay_ES;
}

/* ln of L(N+1)/L(N) for the likelihood weighted by a uniform p: the weight
   integrates p^(T+alpha-1) q^(A+beta-1) into a beta function, whose ratio
   from N to N+1 is a product over the k passes (alpha = beta = 1). */
static double paso_carle_strub(const sumas* s, double N) {
  double A = s->X + s->k * (N - s->T) + 1;
  double r = log1p(s->T / (N + 1 - s->T));
  for (int j = 0; j < s->k; j++) r -= log1p((s->T + 1) / (A + j));
  return r;
}

/* The smallest whole N >= T from which the weighted likelihood stops rising. */
static int N_carle_strub(const sumas* s, double* N) {
  double T = s->T, abajo = 0, arriba = 1;  // steps above T: rising at abajo, not at arriba
  if (paso_carle_strub(s, T) <= 0) {
    *N = T;
    return 1;
  }
  while (paso_carle_strub(s, T + arriba) > 0) {
    if (T + arriba > N_MAXIMO) return 0;
    abajo = arriba;
    arriba *= 2;
  }
  while (arriba - abajo > 1) {
    double medio = floor((abajo + arriba) / 2);
    if (paso_carle_strub(s, T + medio) > 0)
      abajo = medio;
    else
      arriba = medio;
  }
  *N = T + arriba;
  return 1;
}

estimacion_remocion estima_carle_strub(const int* c, int k) {
  sumas s = sumas_de(c, k);
  estimacion_remocion e = {};
  if (k < 2 || s.T < 1 || !N_carle_strub(&s, &e.N)) return e;
  e.existe = 1;
  e.p = e.p_primera = s.T / (s.T + s.X + k * (e.N - s.T));
  e.log_verosimilitud = l_moran(&s, e.N);
  intervalo_normal(&s, &e);
  return e;
}

/* For three passes Zippin's equation R = q/(1-q) - 3q^3/(1-q^3) becomes
   R (1 + q + q^2) = q + 2q^2, whose root in (0, 1) is this. */
static double q_tres_pasadas(double R) {
  return (sqrt(1 + 6 * R - 3 * R * R) - (1 - R)) / (2 * (2 - R));
}

estimacion_remocion estima_seber(const int* c, int k) {
  sumas s = sumas_de(c, k);
  estimacion_remocion e = {};
  if ((k != 2 && k != 3) || !capturas_que_caen(&s)) return e;
  double q = k == 2 ? (double)c[1] / c[0] : q_tres_pasadas(s.X / s.T);
  e.existe = 1;
  e.N = k == 2 ? (double)c[0] * c[0] / (c[0] - c[1]) : s.T / (1 - q * q * q);
  e.p = e.p_primera = 1 - q;
  e.log_verosimilitud = l_moran(&s, e.N);
  intervalo_normal(&s, &e);
  return e;
}

/* (k-1)/2 - f(q) of Zippin's equation R = f(q) = q/(1-q) - k q^k/(1-q^k),
   with q = e^-x. Near the limit (small x) f's two terms are each about 1/x
   and their difference is what counts: there the Bernoulli series of
   1/(e^x - 1) gives it without cancellation. */
static double falta_zippin(double x, int k) {
  double k2 = (double)k * k, kx = k * x;
  if (kx < 1e-2)
    return x * ((k2 - 1) / 12 - x * x * ((k2 * k2 - 1) / 720 - x * x * (k2 * k2 * k2 - 1) / 30240));
  return (k - 1) / 2.0 - 1 / expm1(x) + k / expm1(kx);
}

estimacion_remocion estima_zippin(const int* c, int k) {
  sumas s = sumas_de(c, k);
  estimacion_remocion e = {};
  if (!capturas_que_caen(&s)) return e;
  // the distance of R from its bound, exact in whole numbers before dividing
  double falta = ((k - 1) * s.T - 2 * s.X) / (2 * s.T);
  // x in units of the root near the limit, where f falls as a line: the
  // search's tolerance then holds for large catches and small x as well
  double x0 = 12 * falta / (k * k - 1.0);
  auto h = [&](double u) { return falta_zippin(u * x0, k) - falta; };
  double abajo = 0.5, arriba = 1, h_abajo, h_arriba;
  while ((h_abajo = h(abajo)) > 0) abajo /= 2;
  while ((h_arriba = h(arriba)) < 0) abajo = arriba, h_abajo = h_arriba, arriba *= 2;
  double x = x0 * (h_abajo == 0 ? abajo : raiz(h, abajo, arriba, h_abajo, h_arriba));
  e.existe = 1;
  e.p = e.p_primera = -expm1(-x);
  e.N = s.T / -expm1(-k * x);
  e.log_verosimilitud = l_moran(&s, e.N);
  intervalo_normal(&s, &e);
  return e;
}

/* ---- Chi-square ---- */

/* P(a, x) by its power series e^-x x^a / Gamma(a+1) sum x^n / ((a+1)...(a+n)). */
static double serie_gamma(double a, double x) {
  double termino = 1, suma = 1;
  for (int n = 1; n < 10000 && termino > 1e-17 * suma; n++) {
    termino *= x / (a + n);
    suma += termino;
  }
  return suma * exp(a * log(x) - x - ln_gamma(a + 1));
}

/* Q(a, x) by the continued fraction of Gamma(a, x) = e^-x x^a / (x+1-a -
   1(1-a)/(x+3-a - 2(2-a)/(x+5-a - ...))), evaluated forwards (Lentz). */
static double fraccion_gamma(double a, double x) {
  const double DIMINUTO = 1e-300;
  double b = x + 1 - a, c = 1 / DIMINUTO, d = 1 / b, h = d;
  for (int i = 1; i < 10000; i++) {
    double an = -i * (i - a);
    b += 2;
    d = an * d + b;
    c = b + an / c;
    if (fabs(d) < DIMINUTO) d = DIMINUTO;
    if (fabs(c) < DIMINUTO) c = DIMINUTO;
    d = 1 / d;
    h *= d * c;
    if (fabs(d * c - 1) < 1e-16) break;
  }
  return h * exp(a * log(x) - x - ln_gamma(a));
}

double gamma_incompleta_q(double a, double x) {
  if (!(x > 0)) return 1;
  if (x < a + 1) return 1 - serie_gamma(a, x);
  return fraccion_gamma(a, x);
}

double cola_chi2(double x, int gl) { return gamma_incompleta_q(gl / 2.0, x / 2); }

static prueba_chi2 prueba_de(double estadistico, int gl) {
  double x = fmax(0, estadistico);  // a nested model fits no better: only rounding makes it negative
  return prueba_chi2{1, x, gl, cola_chi2(x, gl)};
}

prueba_chi2 prueba_moran_schnute(const int* c, int k, const estimacion_remocion* moran,
                                 const estimacion_remocion* schnute) {
  sumas s = sumas_de(c, k);
  if (!moran->existe || k < 3 || s.T2 <= 0) return prueba_chi2{};
  double l = l_infinito_schnute(&s);  // the supremum when the maximum lies beyond any river
  if (schnute->existe) l = fmax(l, schnute->log_verosimilitud);
  return prueba_de(2 * (l - moran->log_verosimilitud), 1);
}

prueba_chi2 ajuste_chi2(const int* c, int k, const estimacion_remocion* moran) {
  if (!moran->existe || k < 3 || !(moran->p < 1)) return prueba_chi2{};
  // Given the fish caught, as the catches are: N p q^(i-1) would not add up to T.
  sumas s = sumas_de(c, k);
  double chi = 0, esperada = s.T * moran->p / -expm1(k * log1p(-moran->p));
  for (int i = 0; i < k; i++, esperada *= 1 - moran->p) chi += (c[i] - esperada) * (c[i] - esperada) / esperada;
  return prueba_de(chi, k - 2);
}

/* ---- One p for every class ---- */

/* A class's log-likelihood at a given p, with its N at the best for that p
   (the N where digamma(N+1) - digamma(N-T+1) = -k ln q); *A gets X + k(N - T). */
static double l_con_p(const sumas* s, double p, double* A) {
  double T = s->T, objetivo = -s->k * log1p(-p);
  auto g = [&](double N) { return dif_digamma(N - T + 1, T) - objetivo; };
  double N = T, g_T = g(T);
  if (g_T > 0) {
    double abajo = T, arriba = T + T / objetivo + 1, g_arriba;  // about where the sum of 1/(N-j) is T/N
    while ((g_arriba = g(arriba)) > 0) abajo = arriba, g_T = g_arriba, arriba = T + 4 * (arriba - T);
    N = raiz(g, abajo, arriba, g_T, g_arriba);
  }
  *A = s->X + s->k * (N - T);
  return dif_lgamma(N - T + 1, T) + T * log(p) + *A * log1p(-p);
}

/* The derivative in p of the classes' summed log-likelihood, each at its own best N. */
static double pendiente_comun(const int* capturas, int nclases, int k, double p, double* l) {
  double d = 0, A;
  *l = 0;
  for (int g = 0; g < nclases; g++) {
    if (clasifica_grupo(capturas + g * k, k) != VALIDA) continue;
    sumas s = sumas_de(capturas + g * k, k);
    *l += l_con_p(&s, p, &A);
    d += s.T / p - A / (1 - p);
  }
  return d;
}

prueba_chi2 prueba_entre_clases(const int* capturas, int nclases, int k) {
  int m = 0;
  double l_libre = 0, p_menor = 1, p_mayor = 0, l_comun;
  for (int g = 0; g < nclases; g++) {
    if (clasifica_grupo(capturas + g * k, k) != VALIDA) continue;
    sumas s = sumas_de(capturas + g * k, k);
    estimacion_remocion e = ajuste_moran(&s);
    if (!e.existe) return prueba_chi2{};  // a maximum beyond any river: no test
    m++;
    l_libre += e.log_verosimilitud;
    p_menor = fmin(p_menor, e.p), p_mayor = fmax(p_mayor, e.p);
  }
  if (m < 2) return prueba_chi2{};
  // Every class's likelihood rises up to its own p and falls after it, so
  // the common p lies between the smallest and the largest of them.
  auto d = [&](double p) { return pendiente_comun(capturas, nclases, k, p, &l_comun); };
  double d_menor = d(p_menor), d_mayor = d(p_mayor), p = p_menor;
  if (d_menor > 0 && d_mayor < 0) p = raiz(d, p_menor, p_mayor, d_menor, d_mayor);
  else if (d_mayor >= 0) p = p_mayor;
  d(p);
  return prueba_de(2 * (l_libre - l_comun), m - 1);
}
