// The nine sections of the results report: tab-separated text with one byte
// per accented letter (Latin-1), every figure in the form the biologists'
// spreadsheets expect, and "-" wherever a figure has no value.
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

#include "analysis.h"
#include "export.h"
#include "sample.h"

static const char* const FALLIDA_CLASE = "Estimaci\xf3n fallida Nj=Cj";
static const char* const FALLIDA_TOTAL = "Estimaci\xf3n fallida Nt=Ct";

/* ---- The row writer: cells in, tabs out ---- */

int texto_cifra(char* texto, size_t tam, double v, int decimales) {
  std::to_chars_result r = std::to_chars(texto, texto + tam, v, std::chars_format::fixed, decimales);
  return r.ec == std::errc() ? (int)(r.ptr - texto) : -1;
}

/* A report line being written cell by cell; the tabs go between the cells.
   A line that ends in a tab has an empty last cell. The line is gathered
   here and handed to the report whole: a report at the limits has over a
   hundred thousand cells. */
struct fila_informe {
  informe* inf;
  int celdas;   /* cells written so far */
  size_t largo; /* bytes of texto not yet handed over */
  char texto[1024];
};

static fila_informe fila_nueva(informe* inf) {
  fila_informe f;
  f.inf = inf, f.celdas = 0, f.largo = 0;
  return f;
}

static void entrega(fila_informe* f) {
  if (f->largo) informe_escribe(f->inf, "%.*s", (int)f->largo, f->texto);
  f->largo = 0;
}

static void pon(fila_informe* f, const char* texto, size_t largo) {
  if (f->largo + largo > sizeof f->texto) entrega(f);
  if (largo > sizeof f->texto) return informe_escribe(f->inf, "%.*s", (int)largo, texto);
  memcpy(f->texto + f->largo, texto, largo);
  f->largo += largo;
}

static void pon_texto(fila_informe* f, const char* texto) { pon(f, texto, strlen(texto)); }

static void pon_entero(fila_informe* f, long long v) {
  char cifras[24];
  std::to_chars_result r = std::to_chars(cifras, cifras + sizeof cifras, v);
  pon(f, cifras, (size_t)(r.ptr - cifras));
}

static void separa(fila_informe* f) {
  if (f->celdas++) pon(f, "\t", 1);
}

static void celda(fila_informe* f, const char* texto) {
  separa(f);
  pon_texto(f, texto);
}

static void celda_entero(fila_informe* f, long long v) {
  separa(f);
  pon_entero(f, v);
}

static void celda_clase(fila_informe* f, int clase) {
  separa(f);
  pon_entero(f, clase);
  pon(f, "+", 1);
}

/* A figure with that many decimals, or "-" when it has none (an undefined fit, 0/0). */
static void celda_cifra(fila_informe* f, int decimales, double v, int definida = 1) {
  separa(f);
  char cifras[400];  // the widest double has 309 figures before its point
  int largo = definida && std::isfinite(v) ? texto_cifra(cifras, sizeof cifras, v, decimales) : -1;
  if (largo > 0)
    pon(f, cifras, (size_t)largo);
  else
    pon(f, "-", 1);
}

static void fila_fin(fila_informe* f) {
  pon(f, "\n", 1);
  entrega(f);
}

/* A whole line of fixed texts, such as a table's column titles. */
static void fila_textos(informe* inf, const char* const* textos, int n) {
  fila_informe f = fila_nueva(inf);
  for (int i = 0; i < n; i++) celda(&f, textos[i]);
  fila_fin(&f);
}

/* "1 estimación fallida", "3 estimaciones fallidas": the note of a total line. */
static void celda_fallidas(fila_informe* f, const char* antes, int cuantas) {
  separa(f);
  pon_texto(f, antes);
  pon_entero(f, cuantas);
  pon_texto(f, cuantas == 1 ? " estimaci\xf3n fallida" : " estimaciones fallidas");
}

/* ---- Sections 1 and 2 ---- */

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

static const char* const TITULOS_DATOS[] = {"Pasada", "Longitud", "Peso", "Clases de edad", ""};

static void escribe_datos(informe* inf, const int* pasadas, const float* longitudes,
                          const float* pesos, const int* clases, int n) {
  informe_escribe(inf, "1. Datos introducidos\n\n");
  fila_textos(inf, TITULOS_DATOS, 5);
  for (int i = 0; i < n; i++) {
    fila_informe f = fila_nueva(inf);
    celda_entero(&f, pasadas[i]);
    celda_cifra(&f, 2, longitudes[i]);
    celda_cifra(&f, 2, pesos[i]);
    celda_entero(&f, clases[i]);
    celda(&f, "");
    fila_fin(&f);
  }
  informe_escribe(inf, "\n\n");
}

static const char* const TITULOS_MEDIAS[] = {
    "Clase", "Long med.(cm)", "Es(cm)", "Peso med.(g)", "Es(g)", "Individuos(Cj)",
    "Frecuencia relativa(Cj/C)"};

/* Means and spreads of a class (or of the whole sample, slot nclases). */
static void celdas_medias(fila_informe* f, const medias_muestra* m, float longitud, float peso,
                          int j) {
  celda_cifra(f, 2, longitud);
  celda_cifra(f, 2, m->es_longitud[j]);
  celda_cifra(f, 2, peso);
  celda_cifra(f, 2, m->es_peso[j]);
}

static void escribe_medias(informe* inf, const medias_muestra* m) {
  informe_escribe(inf, "2. Medias y frecuencias sin estimaci\xf3n (CPUE)\n\n");
  fila_textos(inf, TITULOS_MEDIAS, 7);
  for (int j = 0; j < m->nclases; j++) {
    fila_informe f = fila_nueva(inf);
    celda_clase(&f, j);
    celdas_medias(&f, m, m->longitud[j], m->peso[j], j);
    celda_entero(&f, m->individuos[j]);
    if (m->individuos[j] == 0)
      celda(&f, "0.00");
    else
      celda_cifra(&f, 3, m->frecuencia[j]);
    fila_fin(&f);
  }
  informe_escribe(inf, "\n");
  fila_informe f = fila_nueva(inf);
  celda(&f, "Total");
  celdas_medias(&f, m, m->longitud_total, m->peso_total, m->nclases);
  celda_entero(&f, m->n);
  celda(&f, "1.00");
  fila_fin(&f);
  informe_escribe(inf, "\n\n");
}

/* ---- Sections 3 and 4: the estimate ---- */

static const char* const GRUPOS_POBLACION[] = {"", "", "", "Sin redondeo:", "", "", "", "",
                                               "", "", "Con redondeo:"};
static const char* const TITULOS_POR_CLASES[] = {
    "Clases", "R", "p", "Nj", "Fr(Nj/N)", "Var(Nj)", "Es", "Limite Inf.", "L\xedmite Sup.", "",
    "Nj(ind)", "Fr(Nj/N)", "Var(Nj)", "Es", "L\xedmite Inf.", "L\xedmite Sup."};
static const char* const TITULOS_POR_FRECUENCIAS[] = {
    "Clases", "R", "p", "Nj", "Fr(Cj/C)", "Var(Nj)", "Es", "L\xedmite Inf.", "L\xedmite Sup.", "",
    "Nj (ind)", "Fr(Nj/N)", "Var(Nj)", "Es", "L\xedmite Inf.", "L\xedmite Sup."};

/* Unrounded, then rounded: a class with estimate. */
static void linea_clase_valida(informe* inf, int j, int C, const poblacion_grupo* g,
                               const poblacion_muestra* p) {
  fila_informe f = fila_nueva(inf);
  celda_clase(&f, j);
  celda_cifra(&f, 2, g->R);
  celda_cifra(&f, 2, 1 - g->q);
  celda_cifra(&f, 2, g->N);
  celda_cifra(&f, 3, g->N / p->suma_N);
  celda_cifra(&f, 2, g->Var);
  celda_cifra(&f, 2, g->ES);
  celda_entero(&f, C);
  celda_cifra(&f, 2, g->sup);
  celda(&f, "");
  celda_entero(&f, g->N_red);
  celda_cifra(&f, 3, (float)g->N_red / (float)p->suma_N_red);
  celda_cifra(&f, 2, g->Var_red);
  celda_cifra(&f, 2, g->ES_red);
  celda_entero(&f, C);
  celda_entero(&f, g->sup_red);
  fila_fin(&f);
}

/* The catch in place of an estimate, both halves alike: C, dashes, C and a
   mark when the class has fish. */
static void mitad_fallida(fila_informe* f, int C, const char* marca) {
  celda_entero(f, C);
  for (int i = 0; i < 3; i++) celda(f, "-");
  celda_entero(f, C);
  celda(f, "-");
  celda(f, marca);
}

static void linea_clase_fallida(informe* inf, int j, int C, float R) {
  const char* marca = C ? "*" : "";
  fila_informe f = fila_nueva(inf);
  celda_clase(&f, j);
  celda_cifra(&f, 2, R);
  celda(&f, "-");
  mitad_fallida(&f, C, marca);
  mitad_fallida(&f, C, marca);
  if (C) celda(&f, FALLIDA_CLASE);
  celda(&f, "");
  fila_fin(&f);
}

/* The total line of section 3: the class column's sums, or the catch when
   no class has anything to add. */
static void total_por_clases(informe* inf, const poblacion_muestra* p, int n) {
  int hay = p->suma_N_red != 0, F3 = p->fallidas_con_peces;
  informe_escribe(inf, "\n");
  fila_informe f = fila_nueva(inf);
  celda(&f, "Total");
  celda(&f, "-");
  celda(&f, "-");
  if (hay)
    celda_cifra(&f, 2, p->suma_N);
  else
    celda_entero(&f, n);
  celda(&f, hay ? "1.00" : "-");
  celda(&f, "-");
  celda(&f, "-");
  celda_entero(&f, n);
  celda_cifra(&f, 2, p->suma_sup, hay && p->suma_sup != 0);
  celda(&f, F3 ? "*" : "");
  celda_entero(&f, hay ? p->suma_N_red : n);
  celda(&f, hay ? "1.00" : "-");
  celda(&f, "-");
  celda(&f, "-");
  celda_entero(&f, n);
  if (hay && p->suma_sup_red != 0)
    celda_entero(&f, p->suma_sup_red);
  else
    celda(&f, "-");
  if (F3) {
    celda(&f, "*");
    celda_fallidas(&f, "", F3);
  } else {
    celda(&f, "");
  }
  fila_fin(&f);
  informe_escribe(inf, "\n\n");
}

static void escribe_por_clases(informe* inf, const medias_muestra* m, const poblacion_muestra* p) {
  informe_escribe(inf, "3. C\xe1lculo poblacional por clases (con y sin redondeo)\n\n");
  fila_textos(inf, GRUPOS_POBLACION, 11);
  fila_textos(inf, TITULOS_POR_CLASES, 16);
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

/* The whole sample's line without estimate: its catch, as a failed class's. */
static void total_fallido(fila_informe* f, int n) {
  celda(f, "-");
  celda_entero(f, n);
  celda(f, "1.00");
  celda(f, "-");
  celda(f, "-");
  celda_entero(f, n);
  celda(f, "-");
  celda(f, "*");
  mitad_fallida(f, n, "*");
  celda(f, FALLIDA_TOTAL);
}

static void escribe_total_frecuencias(informe* inf, const medias_muestra* m,
                                      const poblacion_muestra* p) {
  const poblacion_grupo* g = &p->g[m->nclases];
  int n = m->n;
  fila_informe f = fila_nueva(inf);
  celda(&f, "Total");
  celda_cifra(&f, 2, g->R);
  if (!g->existe) {
    total_fallido(&f, n);
    fila_fin(&f);
    return;
  }
  celda_cifra(&f, 2, 1 - g->q);
  celda_cifra(&f, 2, g->N);
  celda(&f, "1.00");
  celda_cifra(&f, 2, g->Var);
  celda_cifra(&f, 2, g->ES);
  celda_entero(&f, n);
  celda_cifra(&f, 2, g->N_red + 1.96f * g->ES);
  celda(&f, "");
  celda_entero(&f, g->N_red);
  celda(&f, "1.00");
  celda_cifra(&f, 2, g->Var_red);
  celda_cifra(&f, 2, g->ES_red);
  celda_entero(&f, n);
  celda_entero(&f, p->margen + g->N_red);
  fila_fin(&f);
}

static void linea_frecuencia(informe* inf, int j, const medias_muestra* m,
                             const poblacion_muestra* p) {
  const poblacion_grupo* t = &p->g[m->nclases];
  int C = m->individuos[j], n = m->n;
  fila_informe f = fila_nueva(inf);
  celda_clase(&f, j);
  celda(&f, "-");
  celda(&f, "-");
  if (!t->existe) {
    celda_entero(&f, C);
    celda_cifra(&f, 3, (float)C / n);
    celda(&f, "-");
    celda(&f, "-");
    celda_entero(&f, C);
    celda(&f, "-");
    celda(&f, "*");
    mitad_fallida(&f, C, "*");
    celda(&f, "Estimaci\xf3n fallida Nj=Cj ");  // the class's note keeps a blank before its tab
    celda(&f, "");
    fila_fin(&f);
    return;
  }
  int N = (int)ceil(p->Nclas[j]);
  celda_cifra(&f, 2, parte_de(t->N_red, C, n));
  celda_cifra(&f, 3, (float)C / n);
  celda(&f, "-");
  celda(&f, "-");
  celda_entero(&f, C);
  celda_cifra(&f, 2, parte_de(p->margen, C, n) + N);
  celda(&f, "");
  celda_entero(&f, N);
  celda_cifra(&f, 3, (float)N / t->N_red);
  celda(&f, "-");
  celda(&f, "-");
  celda_entero(&f, C);
  celda_entero(&f, (int)ceil(p->ESclas[j]) + N);
  fila_fin(&f);
}

static void escribe_por_frecuencias(informe* inf, const medias_muestra* m,
                                    const poblacion_muestra* p) {
  informe_escribe(inf, "4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)\n\n");
  fila_textos(inf, GRUPOS_POBLACION, 11);
  fila_textos(inf, TITULOS_POR_FRECUENCIAS, 16);
  escribe_total_frecuencias(inf, m, p);
  informe_escribe(inf, "\n");
  for (int j = 0; j < m->nclases; j++) linea_frecuencia(inf, j, m, p);
  informe_escribe(inf, "\n\n");
}

/* ---- Sections 5 to 7: density and biomass ---- */

static const char* const TITULOS_CAPTURADAS[] = {
    "Clase", "Cj", "Den. pob.(Cj/m^3)", "Den. pob.(Cj/m^2)", "Den. pob.(Cj/m)",
    "Biomasa(g/m^3)", "Biomasa(g/m^2)", "Biomasa(g/m)"};
static const char* const TITULOS_ESTIMADAS[] = {
    "Clase", "Nj", "Den. pob.(Nj/m^3)", "Den. pob.(Nj/m^2)", "Den. pob.(Nj/m)",
    "Biomasa(g/m^3)", "Biomasa(g/m^2)", "Biomasa(g/m)"};

/* The three densities and three biomasses of a count: over the reach's
   volume, surface and length, "-" where that measure was not given. */
static void celdas_fila(fila_informe* f, const densidad_muestra* d, const fila_densidad* fila) {
  for (int m = 0; m < MEDIDAS_TRAMO; m++)
    celda_cifra(f, 2, por_medida(d, fila->peces, m), d->medidas[m] != 0);
  for (int m = 0; m < MEDIDAS_TRAMO; m++)
    celda_cifra(f, 2, por_medida(d, fila->biomasa, m), d->medidas[m] != 0);
}

/* A class line; a catch standing in for a failed estimate says so at its end. */
static void linea_bloque(informe* inf, int j, const densidad_muestra* d, const fila_densidad* fila) {
  fila_informe f = fila_nueva(inf);
  celda_clase(&f, j);
  celda_entero(&f, fila->peces);
  celdas_fila(&f, d, fila);
  celda(&f, fila->sustituida ? FALLIDA_CLASE : "");
  fila_fin(&f);
}

static void escribe_capturadas(informe* inf, const densidad_muestra* d) {
  informe_escribe(inf, "5. Biomasa y densidades capturadas (CPUE)\n\n");
  fila_textos(inf, TITULOS_CAPTURADAS, 8);
  for (int j = 0; j < d->nclases; j++) linea_bloque(inf, j, d, &d->capturada[j]);
  informe_escribe(inf, "\n");
  fila_informe f = fila_nueva(inf);
  celda(&f, "Total");
  celda_entero(&f, d->capturada[d->nclases].peces);
  celdas_fila(&f, d, &d->capturada[d->nclases]);
  celda(&f, "");
  fila_fin(&f);
  informe_escribe(inf, "\n\n");
}

static void escribe_estimadas_clases(informe* inf, const densidad_muestra* d) {
  informe_escribe(inf, "6. Biomasa y densidades estimadas por clases\n\n");
  fila_textos(inf, TITULOS_ESTIMADAS, 8);
  for (int j = 0; j < d->nclases; j++) linea_bloque(inf, j, d, &d->por_clases[j]);
  const fila_densidad* t = &d->por_clases[d->nclases];
  int F6 = d->fallidas_por_clases;
  informe_escribe(inf, "\n");
  fila_informe f = fila_nueva(inf);
  celda(&f, "Total");
  if (t->peces)
    celda_entero(&f, t->peces);
  else
    celda(&f, "-");
  celdas_fila(&f, d, t);
  if (F6)
    celda_fallidas(&f, F6 == 1 ? " " : "", F6);
  else
    celda(&f, "");
  fila_fin(&f);
  informe_escribe(inf, "\n\n");
}

static void escribe_estimadas_frecuencias(informe* inf, const densidad_muestra* d) {
  informe_escribe(inf, "7. Biomasa y densidades estimadas por frecuencias\n\n");
  fila_textos(inf, TITULOS_ESTIMADAS, 8);
  const fila_densidad* t = &d->por_frecuencias[d->nclases];
  fila_informe f = fila_nueva(inf);
  celda(&f, "Total");
  celda_entero(&f, t->peces);
  celdas_fila(&f, d, t);
  celda(&f, d->total_existe ? "" : FALLIDA_TOTAL);
  fila_fin(&f);
  informe_escribe(inf, "\n");
  for (int j = 0; j < d->nclases; j++) linea_bloque(inf, j, d, &d->por_frecuencias[j]);
  informe_escribe(inf, "\n\n");
}

/* ---- Sections 8 and 9: the fits ---- */

/* "etiqueta:" and its figure, on a line of their own. */
static void linea_parametro(informe* inf, const char* etiqueta, int decimales, float v,
                            int definido) {
  fila_informe f = fila_nueva(inf);
  separa(&f);
  pon_texto(&f, etiqueta);
  pon(&f, ":", 1);
  celda_cifra(&f, decimales, v, definido);
  fila_fin(&f);
}

static void escribe_biometria(informe* inf, const biometria_muestra* b) {
  informe_escribe(inf, "8. Relaciones biom\xe9tricas\n\n");
  linea_parametro(inf, "a", 4, b->a, b->existe);
  linea_parametro(inf, "b", 4, b->b, b->existe);
  linea_parametro(inf, "r^2", 3, b->r2, b->existe);
  linea_parametro(inf, "FC", 4, b->fc, b->factor_existe);
}

/* The ten predicted lengths of a growth model, classes 0+ to 9+. */
static void escribe_predichas(informe* inf, const float* predichas, int definidas) {
  static const char* const titulos[] = {"Clase", "Longitud (cm)"};
  fila_textos(inf, titulos, 2);
  for (int j = 0; j < EDADES_PREDICHAS; j++) {
    fila_informe f = fila_nueva(inf);
    celda_clase(&f, j);
    celda_cifra(&f, 2, predichas[j], definidas);
    celda(&f, "");
    fila_fin(&f);
  }
}

/* "Parámetros:" and four labelled figures with three decimals. */
static void escribe_parametros(informe* inf, const char* const* etiquetas, const float* valores,
                               const int* definidos) {
  informe_escribe(inf, "\nPar\xe1metros:\n");
  for (int i = 0; i < 4; i++) linea_parametro(inf, etiquetas[i], 3, valores[i], definidos[i]);
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
static int valores_crecimiento(const pasos_informe* p, const muestra_crecimiento* g, float* linf,
                               float* meses) {
  *linf = p->linf;
  *meses = p->meses;
  if (p->modo != 2) return 1;
  return p->pide_linf && p->pide_linf(g, linf, meses);
}

/* Section 9 and images 2, 1 and 3. Returns 0 when the growth step was given
   up: the report then ends after section 8. A Linf below the longest fish
   (or none at all) leaves section 9.1 without a fit, and the rest as usual. */
static int escribe_crecimiento(informe* inf, const pasos_informe* p, const muestra_informe* s,
                               resultados_informe* r) {
  muestra_crecimiento g;  // the class means of both fits, their graphs and Walford's suggestion
  prepara_muestra_crecimiento(&g, s->clases, s->longitudes, s->n, s->nclases, 0);
  float linf, meses;
  if (!valores_crecimiento(p, &g, &linf, &meses)) return 0;
  bertalanffy_muestra& b = r->bertalanffy;
  b = calcula_bertalanffy(&g, linf, meses);
  inf->mayor_longitud = b.mayor;
  inf->sin_bertalanffy = !b.linf_aceptada;
  inf->sin_linf = !(linf > 0);  // the window's Linf is 0 until a fit is made, and a Linf given is above 0
  escribe_bertalanffy(inf, &b);
  informe_guarda_imagen(inf, grafico_bertalanffy(&g, &b), 2);
  informe_guarda_imagen(inf, grafico_frecuencias(r->medias.frecuencia, r->medias.nclases), 1);
  polinomio_muestra& q = r->polinomio;
  q = calcula_polinomio(&g, meses / 12);
  r->con_crecimiento = 1;
  escribe_polinomio(inf, &q);
  informe_guarda_imagen(inf, grafico_polinomio(&g, &q), 3);
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
static void escribe_densidad_y_biometria(informe* inf, resultados_informe* r,
                                         const muestra_informe* s, const float* medidas) {
  densidad_muestra& d = r->densidad;
  d = calcula_densidad(&r->medias, &r->poblacion, medidas[0], medidas[1], medidas[2]);
  escribe_capturadas(inf, &d);
  escribe_estimadas_clases(inf, &d);
  escribe_estimadas_frecuencias(inf, &d);
  biometria_muestra& f = r->biometria;
  f = calcula_biometria(s->longitudes, s->pesos, s->n);
  escribe_biometria(inf, &f);
  informe_guarda_imagen(inf, grafico_biometria(s->longitudes, s->pesos, s->n, &f), 4);
  informe_escribe(inf, "\n\n");
}

int escribe_informe(informe* inf, int* pasadas, float* longitudes, float* pesos, int* clases,
                    int n, const pasos_informe* p) {
  muestra_informe s = {pasadas, longitudes, pesos, clases, n, numero_clases(clases, n),
                       p->pasadas ? p->pasadas : calculo_pasadas(pasadas, n)};
  if (s.nclases > MAX_CLASES || s.k > MAX_PASADAS) return INFORME_FUERA_DE_LIMITES;
  std::unique_ptr<resultados_informe> propios;  // tens of kilobytes, kept off the screens' stacks
  if (!p->resultados) propios.reset(new resultados_informe());
  resultados_informe* r = p->resultados ? p->resultados : propios.get();
  r->k = s.k;
  r->con_crecimiento = 0;
  const medias_muestra& m = r->medias = calcula_medias(clases, longitudes, pesos, n, s.nclases);
  escribe_indice(inf);
  escribe_datos(inf, pasadas, longitudes, pesos, clases, n);
  escribe_medias(inf, &m);
  if (s.k == 1 && p->pausa && p->pausa()) return INFORME_CANCELADO;
  const poblacion_muestra& e = r->poblacion = calcula_poblacion(clases, pasadas, n, s.nclases, s.k);
  escribe_poblacion(inf, &m, &e);
  float medidas[MEDIDAS_TRAMO] = {p->medidas[0], p->medidas[1], p->medidas[2]};
  if (p->pide_medidas && p->pide_medidas(medidas)) return INFORME_HASTA_4;
  escribe_densidad_y_biometria(inf, r, &s, medidas);
  if (!p->crecimiento || !escribe_crecimiento(inf, p, &s, r)) return INFORME_HASTA_8;
  return INFORME_COMPLETO;
}
