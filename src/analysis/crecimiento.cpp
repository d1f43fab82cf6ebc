// The growth graph and the growth table that both growth fits show, and the
// class means and curve they are drawn from.
#include <cmath>
#include <cstdio>

#include "crecimiento.h"
#include "sample.h"

/* ---- Class means and curve ---- */

void prepara_muestra_crecimiento(muestra_crecimiento* m, const int* clases,
                                 const float* longitudes, int nfish, int nclases, float edad0) {
  m->clases = clases;
  m->longitudes = longitudes;
  m->nfish = nfish;
  m->nclases = nclases < 0 ? 0 : nclases > MAX_CLASES ? MAX_CLASES : nclases;
  m->edad0 = edad0;
  float suma[RANURAS] = {0};
  int cuenta[RANURAS] = {0};
  for (int i = 0; i < nfish; i++) {
    if (!clase_valida(m, i)) continue;
    suma[clases[i]] += longitudes[i];
    cuenta[clases[i]]++;
  }
  m->vacias = 0;
  for (int c = 0; c < RANURAS; c++) {
    m->medias[c] = cuenta[c] ? suma[c] / cuenta[c] : 0;
    if (c < m->nclases && m->medias[c] == 0) m->vacias++;
  }
}

muestra_crecimiento con_edad0(const muestra_crecimiento* m, float edad0) {
  muestra_crecimiento r = *m;
  r.edad0 = edad0;
  return r;
}

int clase_valida(const muestra_crecimiento* m, int fish) {
  return m->clases[fish] >= 0 && m->clases[fish] < m->nclases;
}

int hay_longitud_positiva(const muestra_crecimiento* m) {
  for (int i = 0; i < m->nfish; i++)
    if (clase_valida(m, i) && m->longitudes[i] > 0) return 1;
  return 0;
}

int clases_con_peces(const muestra_crecimiento* m, float* edades, float* medias) {
  int n = 0;
  for (int i = 0; i < m->nclases; i++) {
    if (m->medias[i] == 0) continue;  // an empty class takes no part
    edades[n] = i + m->edad0;
    medias[n] = m->medias[i];
    n++;
  }
  return n;
}

int valores_iguales(const float* v, int n) {
  for (int i = 1; i < n; i++)
    if (v[i] != v[0]) return 0;
  return 1;
}

float curva_en(const curva_crecimiento* c, float t) {
  switch (c->tipo) {
    case CURVA_BERTALANFFY:
      return c->c0 * (1 - (float)exp((double)((t - c->c2) * c->c1)));
    case CURVA_POLINOMIO:
      return c->c0 + c->c1 * t + c->c2 * (float)pow((double)t, 2);
    default:
      return 0;
  }
}

int curva_finita(const curva_crecimiento* c, const muestra_crecimiento* m) {
  int ultima = m->nclases > 9 ? m->nclases : 9;
  for (int edad = 0; edad <= ultima; edad++)
    if (!std::isfinite(curva_en(c, (float)edad))) return 0;
  for (int i = 0; i < m->nclases; i++)
    if (!std::isfinite(curva_en(c, i + m->edad0))) return 0;
  return 1;
}

const char* mensaje_ajuste(int motivo, int minimo) {
  switch (motivo) {
    case AJUSTE_SIN_LONGITUDES:
      return "<No hay longitudes mayores que 0: no hay ajuste>";
    case AJUSTE_POCAS_CLASES:
      return minimo >= 3 ? "<Se necesitan al menos 3 clases con peces>"
                         : "<Se necesitan al menos 2 clases con peces>";
    case AJUSTE_MEDIA_LINF:
      return "<Linf debe superar la longitud media de cada clase>";
    case AJUSTE_SIN_VARIACION:
      return "<Todas las clases tienen la misma media: no hay ajuste>";
    case AJUSTE_SIN_SOLUCION:
      return "<El ajuste no tiene solucion con estos datos>";
    default:
      return "";
  }
}
