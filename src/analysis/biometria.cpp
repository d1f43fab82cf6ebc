// Weight-length relationship: the least-squares fit of log10(Peso) on
// log10(Longitud) that gives Peso = a*Longitud^b, its r2 and the condition
// factor of the sample; the screen with the graph, the parameters and the
// fish table, and the same graph as a bitmap for the report.
#include <algorithm>
#include <cmath>

#include "analysis.h"

/* The second line of the message of each causa_biometria. */
static const char* const CAUSAS[] = {
    "", "la muestra no tiene peces>", "hay longitudes o pesos no validos>",
    "hay longitudes o pesos de 0 o menos>", "hacen falta dos longitudes distintas>",
    "todos los pesos son iguales>", "los datos dan valores fuera de rango>"};

/* ---- The fit ---- */

/* The first reason, if any, why the sample cannot be fitted on logarithms. */
static causa_biometria causa_en_datos(const float* longitudes, const float* pesos, int n) {
  if (n <= 0) return BIOMETRIA_SIN_PECES;
  int no_numerico = 0, no_positivo = 0, longitudes_distintas = 0, pesos_distintos = 0;
  for (int i = 0; i < n; i++) {
    if (!std::isfinite(longitudes[i]) || !std::isfinite(pesos[i])) no_numerico = 1;
    else if (longitudes[i] <= 0 || pesos[i] <= 0) no_positivo = 1;
    longitudes_distintas |= longitudes[i] != longitudes[0];
    pesos_distintos |= pesos[i] != pesos[0];
  }
  if (no_numerico) return BIOMETRIA_NO_NUMERICO;
  if (no_positivo) return BIOMETRIA_NO_POSITIVO;
  if (!longitudes_distintas) return BIOMETRIA_UNA_LONGITUD;
  if (!pesos_distintos) return BIOMETRIA_UN_PESO;
  return BIOMETRIA_BIEN;
}

/* Sum of weights over sum of cubed lengths; 0 when it does not come out as a
   positive number. */
static float factor_condicion(const float* longitudes, const float* pesos, int n) {
  float suma_pesos = 0, suma_cubos = 0;
  for (int i = 0; i < n; i++) {
    suma_pesos += pesos[i];
    suma_cubos += (float)std::pow((double)longitudes[i], 3.0);
  }
  float fc = suma_pesos / suma_cubos;
  return std::isfinite(fc) && fc > 0 ? fc : 0;
}

static float log10_f(float v) { return (float)std::log10((double)v); }

/* Least squares of y = log10(weight) on x = log10(length), sums in fish order. */
static void recta_logaritmica(const float* longitudes, const float* pesos, int n,
                              biometria_muestra* f) {
  float sxy = 0, sx = 0, sy = 0, sxx = 0;
  for (int i = 0; i < n; i++) {
    float x = log10_f(longitudes[i]), y = log10_f(pesos[i]);
    sxy += x * y;
    sx += x;
    sy += y;
    sxx += x * x;
  }
  float denominador = n * sxx - sx * sx;
  if (!(denominador > 0)) return;  // lengths too close together for single precision
  float b = (n * sxy - sx * sy) / denominador;
  float media_x = sx / n, media_y = sy / n;
  float c = media_y - b * media_x;
  float sse = 0, sst = 0;
  for (int i = 0; i < n; i++) {
    float x = log10_f(longitudes[i]), y = log10_f(pesos[i]);
    float residuo = y - (c + b * x), desvio = y - media_y;
    sse += residuo * residuo;
    sst += desvio * desvio;
  }
  if (!(sst > 0)) return;
  float r2 = 1 - sse / sst, a = (float)std::pow(10.0, (double)c);
  if (!std::isfinite(b) || !std::isfinite(r2) || !std::isfinite(a) || !(a > 0)) return;
  f->a = a;
  f->b = b;
  f->r2 = r2;
  f->causa = BIOMETRIA_BIEN;
}

const char* motivo_biometria(causa_biometria causa) {
  return causa > 0 && causa < (int)(sizeof CAUSAS / sizeof CAUSAS[0]) ? CAUSAS[causa] : "";
}

biometria_muestra calcula_biometria(const float* longitudes, const float* pesos, int n) {
  biometria_muestra f = {};
  f.causa = causa_en_datos(longitudes, pesos, n);
  if (f.causa == BIOMETRIA_SIN_PECES || f.causa == BIOMETRIA_NO_NUMERICO ||
      f.causa == BIOMETRIA_NO_POSITIVO)
    return f;
  f.fc = factor_condicion(longitudes, pesos, n);
  f.factor_existe = f.fc > 0;
  if (f.causa != BIOMETRIA_BIEN) return f;
  f.causa = BIOMETRIA_FUERA_DE_RANGO;  // until the arithmetic proves otherwise
  recta_logaritmica(longitudes, pesos, n, &f);
  f.existe = f.causa == BIOMETRIA_BIEN;
  return f;
}
