// The nine sections of the results report: tab-separated text with one byte
// per accented letter (Latin-1), every figure in the form the biologists'
// spreadsheets expect, and "-" wherever a figure has no value.
#include <cmath>
#include <cstring>

#include "analysis.h"
#include "export.h"
#include "sample.h"

/* What the report works out itself, per class and for the whole sample. */
struct resumen {
  int n, nclases, k;
  int C[RANURAS];                    /* fish of each class */
  float L[RANURAS], W[RANURAS];      /* mean length (cm) and weight (g) of each class */
  float sL[RANURAS], sW[RANURAS];    /* their spreads */
  float suma_L, suma_W;              /* over the fish that have a class */
  float media_L, media_W, s_L, s_W;  /* whole sample */
};

/* The estimator's results; a failed group has only its R. */
struct estimacion {
  float R[RANURAS], q[RANURAS], Var[RANURAS], ES[RANURAS];  /* Var and ES rounded up */
  int N[RANURAS], Sup[RANURAS];                             /* rounded up */
  int valida[RANURAS];
  int F3;  /* failed classes with fish, counted while writing section 3 */
};

static const char* const FALLIDA_CLASE = "Estimaci\xf3n fallida Nj=Cj";
static const char* const FALLIDA_TOTAL = "Estimaci\xf3n fallida Nt=Ct";

/* A figure, or "-" when it has none (an undefined fit, 0/0); then `fin`. */
static void cifra(informe* inf, const char* formato, double v, int definida, const char* fin) {
  if (definida && std::isfinite(v))
    informe_escribe(inf, formato, v);
  else
    informe_escribe(inf, "-");
  informe_escribe(inf, "%s", fin);
}

/* The failed-estimates note that closes a total line: "" for none. */
static void fallidas(informe* inf, const char* antes, int cuantas) {
  if (cuantas == 1)
    informe_escribe(inf, "%s1 estimaci\xf3n fallida\n", antes);
  else if (cuantas > 1)
    informe_escribe(inf, "%s%d estimaciones fallidas\n", antes, cuantas);
  else
    informe_escribe(inf, "\n");
}

/* √(Σ (v − media)² / (cuantos − 1)) over the fish of `clase` (every fish
   when todas), from the last fish to the first; 0 for fewer than two. */
static float dispersion(const float* v, const int* clases, int n, int clase, int todas,
                        float media, int cuantos) {
  if (cuantos < 2) return 0;
  float suma = 0;
  for (int i = n - 1; i >= 0; i--)
    if (todas || clases[i] == clase) {
      float d = v[i] - media;
      suma += d * d;
    }
  return (float)sqrt((double)(suma / (cuantos - 1)));
}

static void resume_muestra(resumen* r, const float* longitudes, const float* pesos,
                           const int* clases) {
  int n = r->n;
  r->suma_L = r->suma_W = 0;
  for (int j = 0; j < r->nclases; j++) {
    float sl = 0, sw = 0;
    int c = 0;
    for (int i = n - 1; i >= 0; i--)
      if (clases[i] == j) {
        c++;
        sl += longitudes[i];
        sw += pesos[i];
        r->suma_L += longitudes[i];
        r->suma_W += pesos[i];
      }
    r->C[j] = c;
    r->L[j] = c ? sl / c : 0;
    r->W[j] = c ? sw / c : 0;
    r->sL[j] = dispersion(longitudes, clases, n, j, 0, r->L[j], c);
    r->sW[j] = dispersion(pesos, clases, n, j, 0, r->W[j], c);
  }
  r->media_L = n > 0 ? r->suma_L / n : 0;
  r->media_W = n > 0 ? r->suma_W / n : 0;
  r->s_L = dispersion(longitudes, clases, n, 0, 1, r->media_L, n);
  r->s_W = dispersion(pesos, clases, n, 0, 1, r->media_W, n);
}

static void escribe_indice(informe* inf) {
  informe_escribe(inf, "%s\n\n", PRIMERA_LINEA_INFORME);
  informe_escribe(inf,
                  "1. Datos introducidos\n"
                  "2. Medias y frecuencias sin estimaci\xf3n (CPUE)\n"
                  "3. C\xe1lculo poblacional por clases (con y sin redondeo)\n"
                  "4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)\n"
                  "5. Biomasa y densidades capturadas (CPUE)\n"
                  "6. Biomasa y densidades estimadas por clases\n"
                  "7. Biomasa y densidades estimadas por frecuencias\n"
                  "8. Relaciones biom\xe9tricas\n"
                  "9. Relaciones de crecimiento\n\n\n");
}

static void escribe_datos(informe* inf, const int* pasadas, const float* longitudes,
                          const float* pesos, const int* clases, int n) {
  informe_escribe(inf, "1. Datos introducidos\n\nPasada\tLongitud\tPeso\tClases de edad\t\n");
  for (int i = 0; i < n; i++) {
    informe_escribe(inf, "%d\t", pasadas[i]);
    cifra(inf, "%2.2f", longitudes[i], 1, "\t");
    cifra(inf, "%2.2f", pesos[i], 1, "\t");
    informe_escribe(inf, "%d\t\n", clases[i]);
  }
  informe_escribe(inf, "\n\n");
}

static void escribe_medias(informe* inf, const resumen* r) {
  informe_escribe(inf,
                  "2. Medias y frecuencias sin estimaci\xf3n (CPUE)\n\n"
                  "Clase\tLong med.(cm)\tEs(cm)\tPeso med.(g)\tEs(g)\tIndividuos(Cj)\t"
                  "Frecuencia relativa(Cj/C)\n");
  for (int j = 0; j < r->nclases; j++) {
    informe_escribe(inf, "%d+\t", j);
    cifra(inf, "%.2f", r->L[j], 1, "\t");
    cifra(inf, "%.2f", r->sL[j], 1, "\t");
    cifra(inf, "%.2f", r->W[j], 1, "\t");
    cifra(inf, "%.2f", r->sW[j], 1, "\t");
    informe_escribe(inf, "%d\t", r->C[j]);
    if (r->C[j] == 0)
      informe_escribe(inf, "0.00\n");
    else
      cifra(inf, "%.3f", (float)r->C[j] / r->n, 1, "\n");
  }
  informe_escribe(inf, "\nTotal\t");
  cifra(inf, "%.2f", r->media_L, 1, "\t");
  cifra(inf, "%.2f", r->s_L, 1, "\t");
  cifra(inf, "%.2f", r->media_W, 1, "\t");
  cifra(inf, "%.2f", r->s_W, 1, "\t");
  informe_escribe(inf, "%d\t1.00\n\n\n", r->n);
}

static void estima(estimacion* e, const resumen* r, int* clases, int* pasadas) {
  memset(e, 0, sizeof *e);
  calculo_poblacional_devuelve(clases, pasadas, r->n, r->nclases, r->k, e->R, e->q, e->N, e->Var,
                               e->ES, e->Sup);
  for (int j = 0; j <= r->nclases; j++) e->valida[j] = estimacion_valida(e->R[j], r->k);
}

/* Sums over the classes of the population sections: a failed class counts its catch. */
struct sumas_clases {
  float Nsum, Usum;
  int Nround, Uround;
};

static sumas_clases suma_clases(const resumen* r, const estimacion* e) {
  sumas_clases s = {0, 0, 0, 0};
  for (int j = 0; j < r->nclases; j++) {
    if (e->valida[j]) {
      s.Nsum += Nx[j];
      s.Nround += e->N[j];
      s.Usum += Nx[j] + 1.96f * Esx[j];
      s.Uround += e->Sup[j];
    } else {
      s.Nsum += r->C[j];
      s.Nround += r->C[j];
    }
  }
  return s;
}

static void linea_clase_valida(informe* inf, int j, int C, const estimacion* e,
                               const sumas_clases* s) {
  informe_escribe(inf, "%d+\t", j);
  cifra(inf, "%.2f", e->R[j], 1, "\t");
  cifra(inf, "%.2f", 1 - e->q[j], 1, "\t");
  cifra(inf, "%.2f", Nx[j], 1, "\t");
  cifra(inf, "%.3f", Nx[j] / s->Nsum, 1, "\t");
  cifra(inf, "%.2f", VarNx[j], 1, "\t");
  cifra(inf, "%.2f", Esx[j], 1, "\t");
  informe_escribe(inf, "%d\t", C);
  cifra(inf, "%.2f", Nx[j] + 1.96f * Esx[j], 1, "\t\t");
  informe_escribe(inf, "%d\t", e->N[j]);
  cifra(inf, "%.3f", (float)e->N[j] / s->Nround, 1, "\t");
  cifra(inf, "%.2f", e->Var[j], 1, "\t");
  cifra(inf, "%.2f", e->ES[j], 1, "\t");
  informe_escribe(inf, "%d\t%d\n", C, e->Sup[j]);
}

static void linea_clase_fallida(informe* inf, int j, int C, const estimacion* e) {
  informe_escribe(inf, "%d+\t", j);
  cifra(inf, "%.2f", e->R[j], 1, "\t");
  informe_escribe(inf, "-\t%d\t-\t-\t-\t%d\t-%s", C, C, C ? "\t*\t" : "\t\t");
  informe_escribe(inf, "%d\t-\t-\t-\t%d\t-\t", C, C);
  if (C)
    informe_escribe(inf, "*\t%s\t\n", FALLIDA_CLASE);
  else
    informe_escribe(inf, "\t\n");
}

static void escribe_por_clases(informe* inf, const resumen* r, estimacion* e) {
  informe_escribe(inf,
                  "3. C\xe1lculo poblacional por clases (con y sin redondeo)\n\n"
                  "\t\t\tSin redondeo:\t\t\t\t\t\t\tCon redondeo:\n"
                  "Clases\tR\tp\tNj\tFr(Nj/N)\tVar(Nj)\tEs\tLimite Inf.\tL\xedmite Sup.\t\t"
                  "Nj(ind)\tFr(Nj/N)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\n");
  sumas_clases s = suma_clases(r, e);
  e->F3 = 0;
  for (int j = 0; j < r->nclases; j++) {
    if (e->valida[j]) {
      linea_clase_valida(inf, j, r->C[j], e, &s);
    } else {
      linea_clase_fallida(inf, j, r->C[j], e);
      if (r->C[j]) e->F3++;
    }
  }
  int hay = s.Nround != 0;
  informe_escribe(inf, "\nTotal\t-\t-\t");
  if (hay)
    cifra(inf, "%.2f", s.Nsum, 1, "\t1.00\t");
  else
    informe_escribe(inf, "%d\t-\t", r->n);
  informe_escribe(inf, "-\t-\t%d\t", r->n);
  cifra(inf, "%.2f", s.Usum, hay && s.Usum != 0, "\t");
  informe_escribe(inf, "%s%d\t%s-\t-\t%d\t", e->F3 ? "*\t" : "\t", hay ? s.Nround : r->n,
                  hay ? "1.00\t" : "-\t", r->n);
  if (hay && s.Uround != 0)
    informe_escribe(inf, "%d\t", s.Uround);
  else
    informe_escribe(inf, "-\t");
  fallidas(inf, "*\t", e->F3);
  informe_escribe(inf, "\n\n");
}

/* ceil(1.96 ES) of the whole sample, slot t: the rounded half-width of its interval. */
static int margen_total(int t) { return (int)ceil(1.96f * Esx[t]); }

/* A whole-sample figure shared out by class frequency, total * C / n. The
   product alone can pass the range of an int for a large sample near the
   estimator's bound, so it is formed exactly before being rounded to a float. */
static float parte_de(int total, int C, int n) { return (float)((double)total * C) / n; }

static void escribe_total_frecuencias(informe* inf, const resumen* r, const estimacion* e) {
  int t = r->nclases, n = r->n;
  informe_escribe(inf, "Total\t");
  cifra(inf, "%.2f", e->R[t], 1, "\t");
  if (!e->valida[t]) {
    informe_escribe(inf, "-\t%d\t1.00\t-\t-\t%d\t-\t*\t%d\t-\t-\t-\t%d\t-\t*\t%s\n", n, n, n, n,
                    FALLIDA_TOTAL);
    return;
  }
  cifra(inf, "%.2f", 1 - e->q[t], 1, "\t");
  cifra(inf, "%.2f", Nx[t], 1, "\t1.00\t");
  cifra(inf, "%.2f", VarNx[t], 1, "\t");
  cifra(inf, "%.2f", Esx[t], 1, "\t");
  informe_escribe(inf, "%d\t", n);
  cifra(inf, "%.2f", e->N[t] + 1.96f * Esx[t], 1, "\t\t");
  informe_escribe(inf, "%d\t1.00\t", e->N[t]);
  cifra(inf, "%.2f", e->Var[t], 1, "\t");
  cifra(inf, "%.2f", e->ES[t], 1, "\t");
  informe_escribe(inf, "%d\t%d\n", n, margen_total(t) + e->N[t]);
}

static void linea_frecuencia(informe* inf, int j, const resumen* r, const estimacion* e) {
  int t = r->nclases, C = r->C[j], n = r->n;
  informe_escribe(inf, "%d+\t-\t-\t", j);
  if (!e->valida[t]) {
    informe_escribe(inf, "%d\t", C);
    cifra(inf, "%.3f", (float)C / n, 1, "\t");
    informe_escribe(inf, "-\t-\t%d\t-\t*\t%d\t-\t-\t-\t%d\t-\t*\t%s \t\n", C, C, C, FALLIDA_CLASE);
    return;
  }
  int N = (int)ceil(Nclas[j]);
  int margen = margen_total(t);
  cifra(inf, "%.2f", parte_de(e->N[t], C, n), 1, "\t");
  cifra(inf, "%.3f", (float)C / n, 1, "\t");
  informe_escribe(inf, "-\t-\t%d\t", C);
  cifra(inf, "%.2f", parte_de(margen, C, n) + N, 1, "\t\t");
  informe_escribe(inf, "%d\t", N);
  cifra(inf, "%.3f", (float)N / e->N[t], 1, "\t");
  informe_escribe(inf, "-\t-\t%d\t%d\n", C, (int)ceil(ESclas[j]) + N);
}

static void escribe_por_frecuencias(informe* inf, const resumen* r, const estimacion* e) {
  informe_escribe(inf,
                  "4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)\n\n"
                  "\t\t\tSin redondeo:\t\t\t\t\t\t\tCon redondeo:\n"
                  "Clases\tR\tp\tNj\tFr(Cj/C)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\t\t"
                  "Nj (ind)\tFr(Nj/N)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\n");
  escribe_total_frecuencias(inf, r, e);
  informe_escribe(inf, "\n");
  for (int j = 0; j < r->nclases; j++) linea_frecuencia(inf, j, r, e);
  informe_escribe(inf, "\n\n");
}

/* The three densities and three biomasses of a line: the count and the
   biomass over the reach's volume, surface and length, "-" where that
   measure was not given. The last cell ends with `fin`. */
static void celdas(informe* inf, float cuenta, float biomasa, const char* fin) {
  const float medida[3] = {Voltramo, Suptramo, mltramo};
  for (int d = 0; d < 3; d++)
    cifra(inf, "%.2f", medida[d] != 0 ? cuenta / medida[d] : 0, medida[d] != 0, "\t");
  for (int d = 0; d < 3; d++)
    cifra(inf, "%.2f", medida[d] != 0 ? biomasa / medida[d] : 0, medida[d] != 0,
          d < 2 ? "\t" : fin);
}

/* A class line of sections 6 and 7 whose estimate failed: its catch. */
static int linea_capturada(informe* inf, int j, const resumen* r) {
  int C = r->C[j];
  informe_escribe(inf, "%d+\t%d\t", j, C);
  celdas(inf, C, C * r->W[j], "\t");
  if (C)
    informe_escribe(inf, "%s\n", FALLIDA_CLASE);
  else
    informe_escribe(inf, "\n");
  return C != 0;
}

static const char* const CABECERA_ESTIMADAS =
    "Clase\tNj\tDen. pob.(Nj/m^3)\tDen. pob.(Nj/m^2)\tDen. pob.(Nj/m)\t"
    "Biomasa(g/m^3)\tBiomasa(g/m^2)\tBiomasa(g/m)\n";

static void escribe_capturadas(informe* inf, const resumen* r) {
  informe_escribe(inf,
                  "5. Biomasa y densidades capturadas (CPUE)\n\n"
                  "Clase\tCj\tDen. pob.(Cj/m^3)\tDen. pob.(Cj/m^2)\tDen. pob.(Cj/m)\t"
                  "Biomasa(g/m^3)\tBiomasa(g/m^2)\tBiomasa(g/m)\n");
  for (int j = 0; j < r->nclases; j++) {
    informe_escribe(inf, "%d+\t%d\t", j, r->C[j]);
    celdas(inf, r->C[j], r->C[j] * r->W[j], "\t\n");
  }
  informe_escribe(inf, "\nTotal\t%d\t", r->n);
  celdas(inf, r->n, r->suma_W, "\t\n");
  informe_escribe(inf, "\n\n");
}

static void escribe_estimadas_clases(informe* inf, const resumen* r, const estimacion* e) {
  informe_escribe(inf, "6. Biomasa y densidades estimadas por clases\n\n%s", CABECERA_ESTIMADAS);
  int Nround = 0, F6 = 0;
  float B6 = 0;
  for (int j = 0; j < r->nclases; j++) {
    if (e->valida[j]) {
      informe_escribe(inf, "%d+\t%d\t", j, e->N[j]);
      celdas(inf, e->N[j], e->N[j] * r->W[j], "\t\n");
      Nround += e->N[j];
      B6 += e->N[j] * r->W[j];
    } else {
      F6 += linea_capturada(inf, j, r);
      Nround += r->C[j];
      B6 += r->C[j] * r->W[j];
    }
  }
  if (Nround)
    informe_escribe(inf, "\nTotal\t%d\t", Nround);
  else
    informe_escribe(inf, "\nTotal\t-\t");
  celdas(inf, Nround, B6, "\t");
  fallidas(inf, F6 == 1 ? " " : "", F6);
  informe_escribe(inf, "\n\n");
}

static void escribe_estimadas_frecuencias(informe* inf, const resumen* r, const estimacion* e) {
  informe_escribe(inf, "7. Biomasa y densidades estimadas por frecuencias\n\n%s",
                  CABECERA_ESTIMADAS);
  int t = r->nclases;
  float B = 0;
  if (e->valida[t]) {
    for (int j = 0; j < r->nclases; j++) B += (int)ceil(Nclas[j]) * r->W[j];
    informe_escribe(inf, "Total\t%d\t", e->N[t]);
    celdas(inf, e->N[t], B, "\t\n");
    informe_escribe(inf, "\n");
    for (int j = 0; j < r->nclases; j++) {
      int N = (int)ceil(Nclas[j]);
      informe_escribe(inf, "%d+\t%d\t", j, N);
      celdas(inf, N, N * r->W[j], "\t\n");
    }
  } else {
    for (int j = 0; j < r->nclases; j++) B += r->C[j] * r->W[j];
    informe_escribe(inf, "Total\t%d\t", r->n);
    char fin[64];
    snprintf(fin, sizeof fin, "\t%s\n", FALLIDA_TOTAL);
    celdas(inf, r->n, B, fin);
    informe_escribe(inf, "\n");
    for (int j = 0; j < r->nclases; j++) linea_capturada(inf, j, r);
  }
  informe_escribe(inf, "\n\n");
}

static void escribe_biometria(informe* inf, float* longitudes, float* pesos, int n) {
  BITMAP* grafico = relaciones_biometricas_devuelve(longitudes, pesos, n);
  informe_escribe(inf, "8. Relaciones biom\xe9tricas\n\na:\t");
  cifra(inf, "%.4f", ax, biometria_definida, "\nb:\t");
  cifra(inf, "%.4f", bx, biometria_definida, "\nr^2:\t");
  cifra(inf, "%.3f", R23, biometria_definida, "\nFC:\t");
  cifra(inf, "%.4f", kffsum0, kffsum0 > 0, "\n");  // 0 when it has no answer
  informe_guarda_imagen(inf, grafico, 4);
  informe_escribe(inf, "\n\n");
}

/* The ten predicted lengths of a growth model, classes 0+ to 9+. */
static void escribe_predichas(informe* inf, const float* predichas, int definidas) {
  informe_escribe(inf, "Clase\tLongitud (cm)\n");
  for (int j = 0; j < 10; j++) {
    informe_escribe(inf, "%d+\t", j);
    cifra(inf, "%.2f", predichas[j], definidas, "\t\n");
  }
}

/* "Parámetros:" and four labelled figures with three decimals. */
static void escribe_parametros(informe* inf, const char* const* etiquetas, const float* valores,
                               const int* definidos) {
  informe_escribe(inf, "\nPar\xe1metros:\n");
  for (int i = 0; i < 4; i++) {
    informe_escribe(inf, "%s:\t", etiquetas[i]);
    cifra(inf, "%.3f", valores[i], definidos[i], "\n");
  }
}

static void escribe_bertalanffy(informe* inf, const float* predichas, int ajustado) {
  int definido = ajustado && bertalanffy_definido;
  informe_escribe(inf, "9. Relaciones de crecimiento\n\n9.1. Von Bertalanffy:\n\n");
  escribe_predichas(inf, predichas, definido);
  static const char* const etiquetas[4] = {"Linf", "k", "t0", "r^2"};
  const float valores[4] = {Lmax1, k1, t01, R2};
  const int definidos[4] = {ajustado, definido, definido, definido};
  escribe_parametros(inf, etiquetas, valores, definidos);
}

static void escribe_polinomio(informe* inf, const float* predichas) {
  informe_escribe(inf, "\n9.2. Ajuste Polinomial:\n\n");
  escribe_predichas(inf, predichas, polinomio_definido);
  static const char* const etiquetas[4] = {"B0", "B1", "B2", "r^2"};
  const float valores[4] = {B01, B11, B21, R22};
  const int d = polinomio_definido, definidos[4] = {d, d, d, d};
  escribe_parametros(inf, etiquetas, valores, definidos);
}

/* Section 9 and images 2, 1 and 3. Returns 0 when the growth step was given
   up: the report then ends after section 8. A Linf below the longest fish
   (or none at all) leaves section 9.1 without a fit, and the rest as usual. */
static int escribe_crecimiento(informe* inf, int modo, const resumen* r, int* clases,
                               float* longitudes) {
  float predichas[10] = {0}, edad0 = 0;
  int cancela = 0, n = r->n, nclases = r->nclases;
  // Only a fit stores Lmax1: a marker in its place tells whether the typed Linf was taken.
  float lmax_previo = Lmax1;
  if (modo == 2) Lmax1 = -1;
  BITMAP* grafico =
      von_bertalanffy_devuelve(modo, clases, longitudes, nclases, n, predichas, &edad0, &cancela);
  inf->mayor_longitud = longitud_mayor(longitudes, n);
  int ajustado = modo == 2 ? Lmax1 != -1 : Lmax1 >= inf->mayor_longitud;
  if (modo == 2 && !ajustado) Lmax1 = lmax_previo;
  if (cancela) {
    if (grafico) destroy_bitmap(grafico);
    return 0;
  }
  inf->sin_bertalanffy = !ajustado;
  escribe_bertalanffy(inf, predichas, ajustado);
  informe_guarda_imagen(inf, grafico, 2);
  informe_guarda_imagen(inf, grafico_frecuencias(clases, nclases, n), 1);
  float polinomio[10] = {0};
  grafico = ajuste_polinomial_devuelve(n, nclases, longitudes, polinomio, clases, &edad0);
  escribe_polinomio(inf, polinomio);
  informe_guarda_imagen(inf, grafico, 3);
  return 1;
}

int escribe_informe(informe* inf, int* pasadas, float* longitudes, float* pesos, int* clases,
                    int n, const pasos_informe* p) {
  static resumen r;  // static: a few kilobytes each, kept off the screens' stacks
  static estimacion e;
  r.n = n;
  r.nclases = numero_clases(clases, n);
  r.k = calculo_pasadas(pasadas, n);
  if (r.nclases > MAX_CLASES || r.k > MAX_PASADAS) return INFORME_FUERA_DE_LIMITES;
  resume_muestra(&r, longitudes, pesos, clases);
  escribe_indice(inf);
  escribe_datos(inf, pasadas, longitudes, pesos, clases, n);
  escribe_medias(inf, &r);
  if (r.k == 1 && p->pausa && p->pausa()) return INFORME_CANCELADO;
  estima(&e, &r, clases, pasadas);
  int t = r.nclases;
  inf->total_valido = e.valida[t];
  inf->N_total = e.valida[t] ? e.N[t] : n;
  inf->sup_total = e.valida[t] ? margen_total(t) + e.N[t] : n;
  escribe_por_clases(inf, &r, &e);
  escribe_por_frecuencias(inf, &r, &e);
  if (p->medidas && p->medidas()) return INFORME_HASTA_4;
  escribe_capturadas(inf, &r);
  escribe_estimadas_clases(inf, &r, &e);
  escribe_estimadas_frecuencias(inf, &r, &e);
  escribe_biometria(inf, longitudes, pesos, n);
  if (!p->crecimiento || !escribe_crecimiento(inf, p->modo, &r, clases, longitudes))
    return INFORME_HASTA_8;
  return INFORME_COMPLETO;
}
