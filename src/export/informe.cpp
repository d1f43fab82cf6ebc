// The nine sections of the results report: tab-separated text with one byte
// per accented letter (Latin-1), every figure in the form the biologists'
// spreadsheets expect, and "-" wherever a figure has no value.
#include <cmath>
#include <cstring>

#include "analysis.h"
#include "export.h"
#include "sample.h"

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

static void escribe_medias(informe* inf, const medias_muestra* m) {
  informe_escribe(inf,
                  "2. Medias y frecuencias sin estimaci\xf3n (CPUE)\n\n"
                  "Clase\tLong med.(cm)\tEs(cm)\tPeso med.(g)\tEs(g)\tIndividuos(Cj)\t"
                  "Frecuencia relativa(Cj/C)\n");
  for (int j = 0; j < m->nclases; j++) {
    informe_escribe(inf, "%d+\t", j);
    cifra(inf, "%.2f", m->longitud[j], 1, "\t");
    cifra(inf, "%.2f", m->es_longitud[j], 1, "\t");
    cifra(inf, "%.2f", m->peso[j], 1, "\t");
    cifra(inf, "%.2f", m->es_peso[j], 1, "\t");
    informe_escribe(inf, "%d\t", m->individuos[j]);
    if (m->individuos[j] == 0)
      informe_escribe(inf, "0.00\n");
    else
      cifra(inf, "%.3f", m->frecuencia[j], 1, "\n");
  }
  int t = m->nclases;
  informe_escribe(inf, "\nTotal\t");
  cifra(inf, "%.2f", m->longitud_total, 1, "\t");
  cifra(inf, "%.2f", m->es_longitud[t], 1, "\t");
  cifra(inf, "%.2f", m->peso_total, 1, "\t");
  cifra(inf, "%.2f", m->es_peso[t], 1, "\t");
  informe_escribe(inf, "%d\t1.00\n\n\n", m->n);
}

static void linea_clase_valida(informe* inf, int j, int C, const poblacion_grupo* g,
                               const poblacion_muestra* p) {
  informe_escribe(inf, "%d+\t", j);
  cifra(inf, "%.2f", g->R, 1, "\t");
  cifra(inf, "%.2f", 1 - g->q, 1, "\t");
  cifra(inf, "%.2f", g->N, 1, "\t");
  cifra(inf, "%.3f", g->N / p->suma_N, 1, "\t");
  cifra(inf, "%.2f", g->Var, 1, "\t");
  cifra(inf, "%.2f", g->ES, 1, "\t");
  informe_escribe(inf, "%d\t", C);
  cifra(inf, "%.2f", g->sup, 1, "\t\t");
  informe_escribe(inf, "%d\t", g->N_red);
  cifra(inf, "%.3f", (float)g->N_red / (float)p->suma_N_red, 1, "\t");
  cifra(inf, "%.2f", g->Var_red, 1, "\t");
  cifra(inf, "%.2f", g->ES_red, 1, "\t");
  informe_escribe(inf, "%d\t%d\n", C, g->sup_red);
}

static void linea_clase_fallida(informe* inf, int j, int C, float R) {
  informe_escribe(inf, "%d+\t", j);
  cifra(inf, "%.2f", R, 1, "\t");
  informe_escribe(inf, "-\t%d\t-\t-\t-\t%d\t-%s", C, C, C ? "\t*\t" : "\t\t");
  informe_escribe(inf, "%d\t-\t-\t-\t%d\t-\t", C, C);
  if (C)
    informe_escribe(inf, "*\t%s\t\n", FALLIDA_CLASE);
  else
    informe_escribe(inf, "\t\n");
}

/* The total line of section 3: the class column's sums, or the catch when
   no class has anything to add. */
static void total_por_clases(informe* inf, const poblacion_muestra* p, int n) {
  int hay = p->suma_N_red != 0, F3 = p->fallidas_con_peces;
  informe_escribe(inf, "\nTotal\t-\t-\t");
  if (hay)
    cifra(inf, "%.2f", p->suma_N, 1, "\t1.00\t");
  else
    informe_escribe(inf, "%d\t-\t", n);
  informe_escribe(inf, "-\t-\t%d\t", n);
  cifra(inf, "%.2f", p->suma_sup, hay && p->suma_sup != 0, "\t");
  informe_escribe(inf, "%s%lld\t%s-\t-\t%d\t", F3 ? "*\t" : "\t", hay ? p->suma_N_red : (long long)n,
                  hay ? "1.00\t" : "-\t", n);
  if (hay && p->suma_sup_red != 0)
    informe_escribe(inf, "%lld\t", p->suma_sup_red);
  else
    informe_escribe(inf, "-\t");
  fallidas(inf, "*\t", F3);
  informe_escribe(inf, "\n\n");
}

static void escribe_por_clases(informe* inf, const medias_muestra* m, const poblacion_muestra* p) {
  informe_escribe(inf,
                  "3. C\xe1lculo poblacional por clases (con y sin redondeo)\n\n"
                  "\t\t\tSin redondeo:\t\t\t\t\t\t\tCon redondeo:\n"
                  "Clases\tR\tp\tNj\tFr(Nj/N)\tVar(Nj)\tEs\tLimite Inf.\tL\xedmite Sup.\t\t"
                  "Nj(ind)\tFr(Nj/N)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\n");
  for (int j = 0; j < m->nclases; j++) {
    const poblacion_grupo* g = &p->g[j];
    if (g->existe)
      linea_clase_valida(inf, j, m->individuos[j], g, p);
    else
      linea_clase_fallida(inf, j, m->individuos[j], g->R);
  }
  total_por_clases(inf, p, m->n);
}

/* A whole-sample figure shared out by class frequency, total * C / n. The
   product alone can pass the range of an int for a large sample near the
   estimator's bound, so it is formed exactly before being rounded to a float. */
static float parte_de(int total, int C, int n) { return (float)((double)total * C) / n; }

static void escribe_total_frecuencias(informe* inf, const medias_muestra* m,
                                      const poblacion_muestra* p) {
  const poblacion_grupo* g = &p->g[m->nclases];
  int n = m->n;
  informe_escribe(inf, "Total\t");
  cifra(inf, "%.2f", g->R, 1, "\t");
  if (!g->existe) {
    informe_escribe(inf, "-\t%d\t1.00\t-\t-\t%d\t-\t*\t%d\t-\t-\t-\t%d\t-\t*\t%s\n", n, n, n, n,
                    FALLIDA_TOTAL);
    return;
  }
  cifra(inf, "%.2f", 1 - g->q, 1, "\t");
  cifra(inf, "%.2f", g->N, 1, "\t1.00\t");
  cifra(inf, "%.2f", g->Var, 1, "\t");
  cifra(inf, "%.2f", g->ES, 1, "\t");
  informe_escribe(inf, "%d\t", n);
  cifra(inf, "%.2f", g->N_red + 1.96f * g->ES, 1, "\t\t");
  informe_escribe(inf, "%d\t1.00\t", g->N_red);
  cifra(inf, "%.2f", g->Var_red, 1, "\t");
  cifra(inf, "%.2f", g->ES_red, 1, "\t");
  informe_escribe(inf, "%d\t%d\n", n, p->margen + g->N_red);
}

static void linea_frecuencia(informe* inf, int j, const medias_muestra* m,
                             const poblacion_muestra* p) {
  const poblacion_grupo* t = &p->g[m->nclases];
  int C = m->individuos[j], n = m->n;
  informe_escribe(inf, "%d+\t-\t-\t", j);
  if (!t->existe) {
    informe_escribe(inf, "%d\t", C);
    cifra(inf, "%.3f", (float)C / n, 1, "\t");
    informe_escribe(inf, "-\t-\t%d\t-\t*\t%d\t-\t-\t-\t%d\t-\t*\t%s \t\n", C, C, C, FALLIDA_CLASE);
    return;
  }
  int N = (int)ceil(p->Nclas[j]);
  cifra(inf, "%.2f", parte_de(t->N_red, C, n), 1, "\t");
  cifra(inf, "%.3f", (float)C / n, 1, "\t");
  informe_escribe(inf, "-\t-\t%d\t", C);
  cifra(inf, "%.2f", parte_de(p->margen, C, n) + N, 1, "\t\t");
  informe_escribe(inf, "%d\t", N);
  cifra(inf, "%.3f", (float)N / t->N_red, 1, "\t");
  informe_escribe(inf, "-\t-\t%d\t%d\n", C, (int)ceil(p->ESclas[j]) + N);
}

static void escribe_por_frecuencias(informe* inf, const medias_muestra* m,
                                    const poblacion_muestra* p) {
  informe_escribe(inf,
                  "4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)\n\n"
                  "\t\t\tSin redondeo:\t\t\t\t\t\t\tCon redondeo:\n"
                  "Clases\tR\tp\tNj\tFr(Cj/C)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\t\t"
                  "Nj (ind)\tFr(Nj/N)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\n");
  escribe_total_frecuencias(inf, m, p);
  informe_escribe(inf, "\n");
  for (int j = 0; j < m->nclases; j++) linea_frecuencia(inf, j, m, p);
  informe_escribe(inf, "\n\n");
}

/* The three densities and three biomasses of a line: the count and the
   biomass over the reach's volume, surface and length, "-" where that
   measure was not given. The last cell ends with `fin`. */
static void celdas(informe* inf, const densidad_muestra* d, float cuenta, float biomasa,
                   const char* fin) {
  for (int m = 0; m < MEDIDAS_TRAMO; m++)
    cifra(inf, "%.2f", por_medida(d, cuenta, m), d->medidas[m] != 0, "\t");
  for (int m = 0; m < MEDIDAS_TRAMO; m++)
    cifra(inf, "%.2f", por_medida(d, biomasa, m), d->medidas[m] != 0,
          m < MEDIDAS_TRAMO - 1 ? "\t" : fin);
}

/* A class line of sections 5 to 7; a catch standing in for a failed
   estimate says so at its end. */
static void linea_bloque(informe* inf, int j, const densidad_muestra* d, const fila_densidad* f) {
  informe_escribe(inf, "%d+\t%d\t", j, f->peces);
  celdas(inf, d, f->peces, f->biomasa, "\t");
  if (f->sustituida)
    informe_escribe(inf, "%s\n", FALLIDA_CLASE);
  else
    informe_escribe(inf, "\n");
}

static const char* const CABECERA_ESTIMADAS =
    "Clase\tNj\tDen. pob.(Nj/m^3)\tDen. pob.(Nj/m^2)\tDen. pob.(Nj/m)\t"
    "Biomasa(g/m^3)\tBiomasa(g/m^2)\tBiomasa(g/m)\n";

static void escribe_capturadas(informe* inf, const densidad_muestra* d) {
  informe_escribe(inf,
                  "5. Biomasa y densidades capturadas (CPUE)\n\n"
                  "Clase\tCj\tDen. pob.(Cj/m^3)\tDen. pob.(Cj/m^2)\tDen. pob.(Cj/m)\t"
                  "Biomasa(g/m^3)\tBiomasa(g/m^2)\tBiomasa(g/m)\n");
  for (int j = 0; j < d->nclases; j++) linea_bloque(inf, j, d, &d->capturada[j]);
  const fila_densidad* t = &d->capturada[d->nclases];
  informe_escribe(inf, "\nTotal\t%d\t", t->peces);
  celdas(inf, d, t->peces, t->biomasa, "\t\n");
  informe_escribe(inf, "\n\n");
}

static void escribe_estimadas_clases(informe* inf, const densidad_muestra* d) {
  informe_escribe(inf, "6. Biomasa y densidades estimadas por clases\n\n%s", CABECERA_ESTIMADAS);
  for (int j = 0; j < d->nclases; j++) linea_bloque(inf, j, d, &d->por_clases[j]);
  const fila_densidad* t = &d->por_clases[d->nclases];
  int F6 = d->fallidas_por_clases;
  if (t->peces)
    informe_escribe(inf, "\nTotal\t%d\t", t->peces);
  else
    informe_escribe(inf, "\nTotal\t-\t");
  celdas(inf, d, t->peces, t->biomasa, "\t");
  fallidas(inf, F6 == 1 ? " " : "", F6);
  informe_escribe(inf, "\n\n");
}

static void escribe_estimadas_frecuencias(informe* inf, const densidad_muestra* d) {
  informe_escribe(inf, "7. Biomasa y densidades estimadas por frecuencias\n\n%s",
                  CABECERA_ESTIMADAS);
  const fila_densidad* t = &d->por_frecuencias[d->nclases];
  char fin[64];
  snprintf(fin, sizeof fin, d->total_existe ? "\t\n" : "\t%s\n", FALLIDA_TOTAL);
  informe_escribe(inf, "Total\t%d\t", t->peces);
  celdas(inf, d, t->peces, t->biomasa, fin);
  informe_escribe(inf, "\n");
  for (int j = 0; j < d->nclases; j++) linea_bloque(inf, j, d, &d->por_frecuencias[j]);
  informe_escribe(inf, "\n\n");
}

static void escribe_biometria(informe* inf, const biometria_muestra* f) {
  informe_escribe(inf, "8. Relaciones biom\xe9tricas\n\na:\t");
  cifra(inf, "%.4f", f->a, f->existe, "\nb:\t");
  cifra(inf, "%.4f", f->b, f->existe, "\nr^2:\t");
  cifra(inf, "%.3f", f->r2, f->existe, "\nFC:\t");
  cifra(inf, "%.4f", f->fc, f->factor_existe, "\n");
}

/* The ten predicted lengths of a growth model, classes 0+ to 9+. */
static void escribe_predichas(informe* inf, const float* predichas, int definidas) {
  informe_escribe(inf, "Clase\tLongitud (cm)\n");
  for (int j = 0; j < EDADES_PREDICHAS; j++) {
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

static void escribe_bertalanffy(informe* inf, const bertalanffy_muestra* b) {
  informe_escribe(inf, "9. Relaciones de crecimiento\n\n9.1. Von Bertalanffy:\n\n");
  escribe_predichas(inf, b->predichas, b->existe);
  static const char* const etiquetas[4] = {"Linf", "k", "t0", "r^2"};
  const float valores[4] = {b->linf, b->k, b->t0, b->r2};
  const int e = b->existe, definidos[4] = {b->linf_aceptada, e, e, e};
  escribe_parametros(inf, etiquetas, valores, definidos);
}

static void escribe_polinomio(informe* inf, const polinomio_muestra* p) {
  informe_escribe(inf, "\n9.2. Ajuste Polinomial:\n\n");
  escribe_predichas(inf, p->predichas, p->existe);
  static const char* const etiquetas[4] = {"B0", "B1", "B2", "r^2"};
  const float valores[4] = {p->a0, p->a1, p->a2, p->r2};
  const int d = p->existe, definidos[4] = {d, d, d, d};
  escribe_parametros(inf, etiquetas, valores, definidos);
}

/* The sample as the sections read it. */
struct muestra_informe {
  int* pasadas;
  float* longitudes;
  float* pesos;
  int* clases;
  int n, nclases, k;
};

/* Linf and the months of the growth fits: typed now (mode 2, through the
   export screen's step) or those of the previous analyses. 0 when the step
   was given up. */
static int valores_crecimiento(const pasos_informe* p, const muestra_informe* s, float* linf,
                               float* meses) {
  *linf = Lmax1;
  *meses = mes0;
  if (p->modo != 2) return 1;
  return p->pide_linf && p->pide_linf(s->clases, s->longitudes, s->n, s->nclases, linf, meses);
}

/* Section 9 and images 2, 1 and 3. Returns 0 when the growth step was given
   up: the report then ends after section 8. A Linf below the longest fish
   (or none at all) leaves section 9.1 without a fit, and the rest as usual. */
static int escribe_crecimiento(informe* inf, const pasos_informe* p, const muestra_informe* s) {
  float linf, meses;
  if (!valores_crecimiento(p, s, &linf, &meses)) return 0;
  bertalanffy_muestra b = calcula_bertalanffy(s->clases, s->longitudes, s->n, s->nclases, linf, meses);
  publica_bertalanffy(&b);
  inf->mayor_longitud = b.mayor;
  inf->sin_bertalanffy = !b.linf_aceptada;
  escribe_bertalanffy(inf, &b);
  informe_guarda_imagen(inf, grafico_bertalanffy(s->clases, s->longitudes, s->n, s->nclases, &b), 2);
  informe_guarda_imagen(inf, grafico_frecuencias(s->clases, s->nclases, s->n), 1);
  polinomio_muestra q = calcula_polinomio(s->clases, s->longitudes, s->n, s->nclases, meses / 12);
  publica_polinomio(&q);
  escribe_polinomio(inf, &q);
  informe_guarda_imagen(inf, grafico_polinomio(s->clases, s->longitudes, s->n, s->nclases, &q), 3);
  return 1;
}

/* Sections 3 and 4 from the estimate, and what the closing message tells. */
static void escribe_poblacion(informe* inf, const medias_muestra* m, const poblacion_muestra* p) {
  const poblacion_grupo* t = &p->g[m->nclases];
  inf->total_valido = t->existe;
  inf->N_total = t->existe ? t->N_red : m->n;
  inf->sup_total = t->existe ? p->margen + t->N_red : m->n;
  escribe_por_clases(inf, m, p);
  escribe_por_frecuencias(inf, m, p);
}

/* Sections 5 to 8 and image 4. */
static void escribe_densidad_y_biometria(informe* inf, const medias_muestra* m,
                                         const poblacion_muestra* p, const muestra_informe* s) {
  densidad_muestra d = calcula_densidad(m, p, Voltramo, Suptramo, mltramo);
  escribe_capturadas(inf, &d);
  escribe_estimadas_clases(inf, &d);
  escribe_estimadas_frecuencias(inf, &d);
  biometria_muestra f = calcula_biometria(s->longitudes, s->pesos, s->n);
  publica_biometria(&f);
  escribe_biometria(inf, &f);
  informe_guarda_imagen(inf, grafico_biometria(s->longitudes, s->pesos, s->n, &f), 4);
  informe_escribe(inf, "\n\n");
}

int escribe_informe(informe* inf, int* pasadas, float* longitudes, float* pesos, int* clases,
                    int n, const pasos_informe* p) {
  muestra_informe s = {pasadas, longitudes, pesos, clases, n, numero_clases(clases, n),
                       calculo_pasadas(pasadas, n)};
  if (s.nclases > MAX_CLASES || s.k > MAX_PASADAS) return INFORME_FUERA_DE_LIMITES;
  medias_muestra m = calcula_medias(clases, longitudes, pesos, n, s.nclases);
  escribe_indice(inf);
  escribe_datos(inf, pasadas, longitudes, pesos, clases, n);
  escribe_medias(inf, &m);
  if (s.k == 1 && p->pausa && p->pausa()) return INFORME_CANCELADO;
  poblacion_muestra e = calcula_poblacion(clases, pasadas, n, s.nclases, s.k);
  publica_poblacion(&e);
  escribe_poblacion(inf, &m, &e);
  if (p->medidas && p->medidas()) return INFORME_HASTA_4;  // the step leaves them in Suptramo, Voltramo, mltramo
  escribe_densidad_y_biometria(inf, &m, &e, &s);
  if (!p->crecimiento || !escribe_crecimiento(inf, p, &s)) return INFORME_HASTA_8;
  return INFORME_COMPLETO;
}
