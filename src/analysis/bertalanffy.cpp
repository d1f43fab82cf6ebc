// The growth menu, the Walford estimate of the maximum length, and the von
// Bertalanffy fit L(t) = Linf*(1 - e^(-k*(t-t0))) with its screen and the
// variant the export runs.
#include <cmath>
#include <cstdio>

#include "analysis.h"
#include "crecimiento.h"
#include "sample.h"

/* Walford: the line through (mean of a class, mean of the next) is followed
   from x = 0.1 cm until it meets y = x. */
static const float WALFORD_INICIO = 0.1f;
static const float WALFORD_PASO = 0.01f;
static const float WALFORD_PASO_FINO = 0.001f;
static const double WALFORD_TOLERANCIA = 0.01;
static const long WALFORD_PASOS = 1000000;

/* ---- Walford ---- */

/* Least squares through the pairs of consecutive non-empty classes; returns
   the number of pairs, 0 when they all start at the same mean (no line then,
   and single precision would turn the 0 / 0 into an arbitrary slope). The
   last class pairs with the empty slot after it. */
static int recta_walford(const muestra_crecimiento* m, float* a, float* b) {
  int n = 0;
  float sx = 0, sy = 0, sxy = 0, sx2 = 0;
  float primeras[RANURAS];
  for (int i = 0; i < m->nclases; i++) {
    float x = m->medias[i], y = m->medias[i + 1];
    if (x == 0 || y == 0) continue;
    primeras[n] = x;
    n++;
    sx += x;
    sy += y;
    sxy += x * y;
    sx2 += x * x;
  }
  if (n < 2) return n;
  if (valores_iguales(primeras, n)) return 0;
  float nf = (float)n;
  *b = (nf * sxy - sx * sy) / (nf * sx2 - sx * sx);
  *a = sy / nf - *b * sx / nf;
  return n;
}

/* Steps along the grid from 0.1 cm, coarse then fine once it has passed the
   crossing. 0 when there is no crossing to be found at a positive length. */
static float cruce_walford(float a, float b) {
  float x = WALFORD_INICIO, y = a + b * x;
  int sube = y > x;
  float paso = sube ? WALFORD_PASO : -WALFORD_PASO;
  long pasos = 0;
  while ((y < x - WALFORD_TOLERANCIA || y > x + WALFORD_TOLERANCIA) && pasos < WALFORD_PASOS) {
    x = x + paso;
    y = a + b * x;
    pasos++;
    if (y > x && !sube) {
      paso = WALFORD_PASO_FINO;
      sube = 1;
    } else if (x > y && sube) {
      paso = -WALFORD_PASO_FINO;
      sube = 0;
    }
  }
  if (pasos >= WALFORD_PASOS) return 0;
  return x > 0 ? x : 0;  // a maximum length at or below 0 is no estimate
}

float walford_de(const muestra_crecimiento* m) {
  float a, b;
  if (recta_walford(m, &a, &b) < 2) return 0;
  if (!std::isfinite(a) || !std::isfinite(b)) return 0;  // sums beyond single precision
  return cruce_walford(a, b);
}

float waldford(const float* longitudes, const int* clases, int nfish, int nclases) {
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, nfish, nclases, 0);
  return walford_de(&m);
}

/* ---- The fit ---- */

int ajusta_bertalanffy(const muestra_crecimiento* m, float linf, curva_crecimiento* c, float* r2) {
  *c = curva_crecimiento{CURVA_NINGUNA, 0, 0, 0};
  *r2 = 0;
  if (!hay_longitud_positiva(m)) return AJUSTE_SIN_LONGITUDES;
  float x[RANURAS], y[RANURAS];
  int n = clases_con_peces(m, x, y);
  if (n < 2) return AJUSTE_POCAS_CLASES;
  float sx = 0, sy = 0, sxy = 0, sx2 = 0;
  for (int i = 0; i < n; i++) {
    if (y[i] >= linf) return AJUSTE_MEDIA_LINF;
    y[i] = (float)log((double)((linf - y[i]) / linf));
    sx += x[i];
    sy += y[i];
    sxy += x[i] * y[i];
    sx2 += x[i] * x[i];
  }
  if (valores_iguales(y, n)) return AJUSTE_SIN_VARIACION;
  float nf = (float)n;
  float b = (nf * sxy - sx * sy) / (nf * sx2 - sx * sx);
  float ym = sy / nf;
  float a = ym - b * (sx / nf);
  float t0 = -a / b;
  float residual = 0, total = 0;
  for (int i = 0; i < n; i++) {
    float e = y[i] - (a + b * x[i]), d = y[i] - ym;
    residual += e * e;
    total += d * d;
  }
  float r = 1 - residual / total;
  if (!(b != 0) || !std::isfinite(b) || !std::isfinite(t0) || !std::isfinite(r))
    return AJUSTE_SIN_SOLUCION;
  curva_crecimiento ajustada = {CURVA_BERTALANFFY, linf, b, t0};
  if (!curva_finita(&ajustada, m)) return AJUSTE_SIN_SOLUCION;
  *c = ajustada;
  *r2 = r;
  return AJUSTE_BIEN;
}

bertalanffy_muestra calcula_bertalanffy(const muestra_crecimiento* m, float linf, float meses) {
  bertalanffy_muestra r = {};
  r.linf = linf;
  r.meses = meses;
  r.mayor = longitud_mayor(m->longitudes, m->nfish);
  r.linf_aceptada = linf >= r.mayor;
  r.motivo = AJUSTE_SIN_SOLUCION;
  if (!r.linf_aceptada) return r;
  muestra_crecimiento edades = con_edad0(m, meses / 12);
  curva_crecimiento c;
  r.motivo = ajusta_bertalanffy(&edades, linf, &c, &r.r2);
  r.existe = r.motivo == AJUSTE_BIEN;
  r.k = r.existe ? -c.c1 : 0;
  r.t0 = r.existe ? c.c2 : 0;
  for (int i = 0; i < EDADES_PREDICHAS; i++) r.predichas[i] = r.existe ? curva_en(&c, (float)i) : 0;
  return r;
}
