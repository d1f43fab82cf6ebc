// The second-degree polynomial growth fit L(x) = a0 + a1*x + a2*x^2 of the
// class means against age: its screen and the variant the export runs.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "analysis.h"
#include "crecimiento.h"

/* ---- The fit ---- */

static float cuadrado(float v) { return (float)pow((double)v, 2); }
static float cubo(float v) { return (float)pow((double)v, 3); }

/* The normal equations solved by the adjugate of their matrix. */
static int resuelve_normales(int m, const float* x, const float* y, float* a) {
  float sx = 0, sx2 = 0, sx3 = 0, sx4 = 0, sy = 0, sxy = 0, sx2y = 0;
  for (int i = 0; i < m; i++) {
    float x2 = cuadrado(x[i]);
    sx += x[i];
    sx2 += x2;
    sx3 += cubo(x[i]);
    sx4 += (float)pow((double)x[i], 4);
    sy += y[i];
    sxy += x[i] * y[i];
    sx2y += x2 * y[i];
  }
  float mf = (float)m;
  float d = mf * sx2 * sx4 + 2 * sx * sx2 * sx3 - cubo(sx2) - mf * cuadrado(sx3) - sx4 * cuadrado(sx);
  float c11 = sx2 * sx4 - cuadrado(sx3);
  float c12 = -(sx * sx4 - sx2 * sx3), c21 = c12;
  float c13 = sx * sx3 - cuadrado(sx2), c31 = c13;
  float c22 = mf * sx4 - cuadrado(sx2);
  float c23 = -(mf * sx3 - sx * sx2), c32 = c23;
  float c33 = mf * sx2 - cuadrado(sx);
  a[0] = (c11 * sy + c21 * sxy + c31 * sx2y) / d;
  a[1] = (c12 * sy + c22 * sxy + c32 * sx2y) / d;
  a[2] = (c13 * sy + c23 * sxy + c33 * sx2y) / d;
  // the determinant of these sums is positive whenever the ages differ: one
  // at or below 0 means single precision lost it
  return d > 0 && std::isfinite(d);
}

int ajusta_polinomio(const muestra_crecimiento* m, curva_crecimiento* c, float* r2) {
  *c = curva_crecimiento{CURVA_NINGUNA, 0, 0, 0};
  *r2 = 0;
  if (!hay_longitud_positiva(m)) return AJUSTE_SIN_LONGITUDES;
  float x[RANURAS], y[RANURAS], a[3];
  int n = clases_con_peces(m, x, y);
  if (n < 3) return AJUSTE_POCAS_CLASES;
  if (valores_iguales(y, n)) return AJUSTE_SIN_VARIACION;
  if (!resuelve_normales(n, x, y, a)) return AJUSTE_SIN_SOLUCION;
  curva_crecimiento ajustada = {CURVA_POLINOMIO, a[0], a[1], a[2]};
  float sy = 0;
  for (int i = 0; i < n; i++) sy += y[i];
  float ym = sy / (float)n;
  float residual = 0, total = 0;
  for (int i = 0; i < n; i++) {
    residual += cuadrado(y[i] - curva_en(&ajustada, x[i]));
    total += cuadrado(y[i] - ym);
  }
  float r = 1 - residual / total;
  for (float v : a)
    if (!std::isfinite(v)) return AJUSTE_SIN_SOLUCION;
  if (!std::isfinite(r) || !curva_finita(&ajustada, m)) return AJUSTE_SIN_SOLUCION;
  *c = ajustada;
  *r2 = r;
  return AJUSTE_BIEN;
}

polinomio_muestra calcula_polinomio(const muestra_crecimiento* g, float edad0) {
  polinomio_muestra r = {};
  r.edad0 = edad0;
  muestra_crecimiento m = con_edad0(g, edad0);
  curva_crecimiento c;
  r.motivo = ajusta_polinomio(&m, &c, &r.r2);
  r.existe = r.motivo == AJUSTE_BIEN;
  r.a0 = c.c0;
  r.a1 = c.c1;
  r.a2 = c.c2;
  for (int i = 0; i < EDADES_PREDICHAS; i++) r.predichas[i] = r.existe ? curva_en(&c, (float)i) : 0;
  return r;
}
