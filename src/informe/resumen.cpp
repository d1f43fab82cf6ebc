// The season's summary tables: one row per reach (resumen), one per reach
// and class (resumen_clases), every figure taken from the results a reach's
// report was written from, printed with the report's decimals; and the
// second opinion on each reach's estimates, a row per class and one for the
// whole sample as --diagnostico prints them (resumen_diagnostico). They are
// written in the dialect a spreadsheet of the user's reads: ";" and decimal
// comma for a Spanish one, tab and point otherwise; UTF-8 with its BOM. The
// same cells go to the sheets of the workbook resumen.xlsx, the figures as
// numbers.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "export.h"
#include "resumen.h"

static const char BOM[] = "\xEF\xBB\xBF";

/* The reach rows' columns: the figures up to Error, then what the reach was
   given and the run it is from. Those came later: a reader that takes the
   columns by their place finds the figures where they were. */
static const char* const COLUMNAS_TRAMOS[] = {
    "Tramo", "Especie", "Fichero", "Pasadas", "Capturados", "R", "p", "N", "ES", "N (ind)",
    "L\xc3\xadmite inf.", "L\xc3\xadmite sup.", "Estimaci\xc3\xb3n", "Clases fallidas",
    "Densidad por frecuencias (N/m3)", "Densidad por frecuencias (N/m2)",
    "Densidad por frecuencias (N/m)", "Biomasa por frecuencias (g/m3)",
    "Biomasa por frecuencias (g/m2)", "Biomasa por frecuencias (g/m)", "a", "b", "r2", "FC", "Linf",
    "k", "t0", "r2 (von Bertalanffy)", "B0", "B1", "B2", "r2 (polinomio)", "Error",
    "Superficie dada (m2)", "Volumen dado (m3)", "Metros dados (m)", "Linf dada (cm)", "Meses dados",
    "Avisos", "Tabla de tramos", "Versi\xc3\xb3n", "Fecha"};
static const int COLUMNA_ESTIMACION = 12, COLUMNA_ERROR = 32;
static const char* const COLUMNAS_CLASES[] = {
    "Tramo", "Especie", "Clase", "Capturados", "R", "N", "ES", "N (ind)", "L\xc3\xadmite inf.",
    "L\xc3\xadmite sup.", "Estimaci\xc3\xb3n", "N por frecuencias", "Longitud media (cm)",
    "Es longitud (cm)", "Peso medio (g)", "Es peso (g)", "Densidad por clases (N/m2)",
    "Biomasa por clases (g/m2)"};
static const int SUPERFICIE = 1; /* the surface among the reach measures: volume, surface, length */

/* The first columns of each table, which tell a table an earlier season
   wrote: a version that adds or moves later columns still knows it. */
static const int COLUMNAS_FIRMA = 6;

/* The tables: their names in the folder, their sheets' in the workbook and their columns. */
static const struct {
  const char* nombre;
  const char* hoja;
  const char* const* columnas;
  int ncolumnas;
} TABLAS[TABLAS_RESUMEN] = {
    {"resumen", "Resumen", COLUMNAS_TRAMOS, sizeof COLUMNAS_TRAMOS / sizeof *COLUMNAS_TRAMOS},
    {"resumen_clases", "Clases", COLUMNAS_CLASES, sizeof COLUMNAS_CLASES / sizeof *COLUMNAS_CLASES},
    {"resumen_diagnostico", "Diagn\xc3\xb3stico", COLUMNAS_RESUMEN_DIAGNOSTICO, 2 + COLUMNAS_DIAGNOSTICO},
};
static_assert(sizeof COLUMNAS_TRAMOS / sizeof *COLUMNAS_TRAMOS <= MAX_COLUMNAS_RESUMEN &&
                  2 + COLUMNAS_DIAGNOSTICO <= MAX_COLUMNAS_RESUMEN, "every column has its width");

/* ---- Cells ---- */

/* A table without file (f NULL) only hands its cells to its copy: a page
   shows them as the tables have them. */
static void separa(tabla_resumen* t) {
  if (t->celdas++ && t->f) fputc(t->dialecto.separador, t->f);
}

static void copia_celda(tabla_resumen* t, const char* texto) {
  if (t->copia) t->copia->back().push_back(texto);
}

/* A text cell, quoted when it holds the separator, a quote or a line end. */
static void celda_texto(tabla_resumen* t, const char* s) {
  separa(t);
  copia_celda(t, s);
  if (!t->f) return;
  hoja_texto(t, t->celdas - 1, s);
  if (!strpbrk(s, "\"\n\r") && !strchr(s, t->dialecto.separador)) {
    fputs(s, t->f);
    return;
  }
  fputc('"', t->f);
  for (const char* p = s; *p; p++) {
    if (*p == '"') fputc('"', t->f);
    fputc(*p, t->f);
  }
  fputc('"', t->f);
}

/* A figure as the C library prints it ("12.35"): the table gets its text
   with the dialect's decimal sign, the sheet the number that text is. */
static void celda_numero(tabla_resumen* t, const char* texto) {
  separa(t);
  std::string escrito = texto;
  std::replace(escrito.begin(), escrito.end(), '.', t->dialecto.decimal);
  copia_celda(t, escrito.c_str());
  if (!t->f) return;
  hoja_cifra(t, t->celdas - 1, texto);
  fputs(escrito.c_str(), t->f);
}

/* A figure printed as the report prints it; "-" when it has none. */
static void celda_cifra(tabla_resumen* t, const char* formato, double v, int existe) {
  if (!existe || !std::isfinite(v)) {
    celda_texto(t, "-");
    return;
  }
  char texto[64];
  snprintf(texto, sizeof texto, formato, v);
  celda_numero(t, texto);
}

static void celda_entero(tabla_resumen* t, long long v, int existe) {
  char texto[32];
  snprintf(texto, sizeof texto, "%lld", v);
  if (existe)
    celda_numero(t, texto);
  else
    celda_texto(t, "-");
}

/* A cell of the second opinion, worded in the dialect: a figure when it
   is one, its decimal sign made a point for the sheet; else a text. */
static void celda_diagnostico(tabla_resumen* t, const std::string& c) {
  std::string cifra = c;
  char decimal = t->dialecto.decimal;
  if (decimal != '.' && cifra.find('.') != std::string::npos) return celda_texto(t, c.c_str());
  std::replace(cifra.begin(), cifra.end(), decimal, '.');
  double v;
  const char* fin = cifra.c_str() + cifra.size();
  std::from_chars_result r = std::from_chars(cifra.c_str(), fin, v);
  if (!cifra.empty() && r.ec == std::errc() && r.ptr == fin && cifra.find_first_not_of("-0123456789.") == std::string::npos)
    celda_numero(t, cifra.c_str());
  else
    celda_texto(t, c.c_str());
}

static void fin_de_fila(tabla_resumen* t) {
  if (t->f) fputs("\r\n", t->f);  // spreadsheets on every desktop take it
  t->celdas = 0;
  t->fila++;
  if (t->copia) t->copia->emplace_back();
}

/* ---- The tables' files ---- */

void nombres_resumen(const char* carpeta, const dialecto_resumen* d, char (*nombres)[CAPACIDAD_RUTA]) {
  for (int i = 0; i < TABLAS_RESUMEN; i++)
    snprintf(nombres[i], CAPACIDAD_RUTA, "%s/%s.%s", carpeta, TABLAS[i].nombre, d->extension);
}

/* Starts table i of carpeta in memory with its BOM and header row, and its sheet. */
static int abre_tabla(tabla_resumen* t, const char* carpeta, int i, const dialecto_resumen* d,
                      libro_resumen* libro) {
  t->dialecto = *d;
  t->celdas = 0;
  t->fila = 0;
  t->filas_hoja = 0, t->fila_anotada = -1;
  t->libro = libro;
  t->copia = nullptr;
  memset(t->ancho, 0, sizeof t->ancho);
  if (!(t->hoja = libro_hoja(libro, TABLAS[i].hoja))) return 0;
  char nombres[TABLAS_RESUMEN][CAPACIDAD_RUTA];
  nombres_resumen(carpeta, d, nombres);
  memcpy(t->nombre, nombres[i], sizeof t->nombre);
  t->f = flujo_en_memoria(&t->texto, &t->largo);
  if (!t->f) return 0;
  fputs(BOM, t->f);
  for (int c = 0; c < TABLAS[i].ncolumnas; c++) celda_texto(t, TABLAS[i].columnas[c]);
  fin_de_fila(t);
  return 1;
}

int resumen_sustituible(const char* ruta) {
  int propia = 0;
  for (const dialecto_resumen* d : {&DIALECTO_ES, &DIALECTO_PUNTO})
    for (const auto& tabla : TABLAS) {
      char firma[128];
      size_t largo = (size_t)snprintf(firma, sizeof firma, "%s", BOM);
      for (int c = 0; c < COLUMNAS_FIRMA; c++)
        largo += (size_t)snprintf(firma + largo, sizeof firma - largo, "%s%c", tabla.columnas[c], d->separador);
      propia |= empieza_por(ruta, firma, largo);
    }
  return propia;
}

/* Writes the table's rows as a file of the set; 0 when some byte was lost. */
static int cierra_tabla(tabla_resumen* t, temporales* juego) {
  if (!t->f) return 0;
  int bien = texto_del_flujo(t->f, &t->texto, &t->largo);
  FILE* f = bien ? temporal_abre(juego, t->nombre, "") : nullptr;
  if (f) bien = fwrite(t->texto, 1, t->largo, f) == t->largo;
  return temporal_cierra(juego, f) && bien;
}

int resumen_abre(resumen_campana* r, const char* carpeta, const dialecto_resumen* d,
                 const acerca_resumen* acerca, temporales* juego) {
  r->acerca = *acerca;
  for (tabla_resumen* t : {&r->tramos, &r->clases, &r->diagnostico}) t->f = nullptr, t->texto = nullptr;
  r->ngrafico = 0;
  int bien = libro_abre(&r->libro, carpeta, acerca, juego) &&
             abre_tabla(&r->tramos, carpeta, 0, d, &r->libro) &&
             abre_tabla(&r->clases, carpeta, 1, d, &r->libro) &&
             abre_tabla(&r->diagnostico, carpeta, 2, d, &r->libro);
  if (!bien) resumen_descarta(r);
  return bien;
}

void resumen_descarta(resumen_campana* r) {
  libro_descarta(&r->libro);
  for (tabla_resumen* t : {&r->tramos, &r->clases, &r->diagnostico}) {
    if (t->f) fclose(t->f);
    free(t->texto);
    t->f = nullptr;
    t->texto = nullptr;
  }
}

int resumen_cierra(resumen_campana* r, temporales* juego) {
  tabla_resumen* const tablas[TABLAS_RESUMEN] = {&r->tramos, &r->clases, &r->diagnostico};
  r->fallido[0] = 0;
  int bien = 1;
  for (tabla_resumen* t : tablas)
    if (bien && !(bien = cierra_tabla(t, juego))) snprintf(r->fallido, sizeof r->fallido, "%s", t->nombre);
  if (bien && !(bien = libro_cierra(&r->libro, tablas, TABLAS_RESUMEN, &r->acerca, &r->tramos.dialecto, juego)))
    nombre_libro(r->libro.carpeta, r->fallido);
  resumen_descarta(r);
  return bien;
}

/* ---- Rows ---- */

/* The reach, its species and its data file: the first cells of its rows. */
static void celdas_tramo(tabla_resumen* t, const tramo_resumen* tr, int con_fichero) {
  celda_texto(t, tr->tramo);
  celda_texto(t, tr->especie);
  if (con_fichero) celda_texto(t, tr->fichero);
}

/* Density and biomass of a block's row over the three measures. */
static void celdas_densidad_fila(tabla_resumen* t, const densidad_muestra* d, const fila_densidad* f) {
  for (int m = 0; m < MEDIDAS_TRAMO; m++)
    celda_cifra(t, "%.2f", por_medida(d, (float)f->peces, m), d->medidas[m] != 0);
  for (int m = 0; m < MEDIDAS_TRAMO; m++)
    celda_cifra(t, "%.2f", por_medida(d, f->biomasa, m), d->medidas[m] != 0);
}

static void celdas_ajustes(tabla_resumen* t, const resultados_informe* r) {
  const biometria_muestra& f = r->biometria;
  celda_cifra(t, "%.4f", f.a, f.existe);
  celda_cifra(t, "%.4f", f.b, f.existe);
  celda_cifra(t, "%.3f", f.r2, f.existe);
  celda_cifra(t, "%.4f", f.fc, f.factor_existe);
  const bertalanffy_muestra& b = r->bertalanffy;
  int vb = r->con_crecimiento && b.existe;
  celda_cifra(t, "%.3f", b.linf, r->con_crecimiento && b.linf_aceptada);
  celda_cifra(t, "%.3f", b.k, vb);
  celda_cifra(t, "%.3f", b.t0, vb);
  celda_cifra(t, "%.3f", b.r2, vb);
  const polinomio_muestra& q = r->polinomio;
  int pol = r->con_crecimiento && q.existe;
  celda_cifra(t, "%.3f", q.a0, pol);
  celda_cifra(t, "%.3f", q.a1, pol);
  celda_cifra(t, "%.3f", q.a2, pol);
  celda_cifra(t, "%.3f", q.r2, pol);
}

/* The word of a group's estimate. A group without fish has nothing to
   estimate, which is no failure: the reach row's failed classes
   (fallidas_con_peces) are those with fish and no estimate. */
static const char* palabra_estimacion(const poblacion_grupo* g) {
  return g->existe ? "v\xc3\xa1lida" : g->captura ? "fallida" : "sin peces";
}

/* One estimate's figures: R, p (whole sample only), N, ES, rounded N and the interval. */
static void celdas_estimacion(tabla_resumen* t, const poblacion_grupo* g, int sup_red, int con_p) {
  int e = g->existe;
  celda_cifra(t, "%.2f", g->R, 1);
  if (con_p) celda_cifra(t, "%.2f", 1 - g->q, e);
  celda_cifra(t, "%.2f", g->N, e);
  celda_cifra(t, "%.2f", g->ES, e);
  celda_entero(t, g->N_red, e);
  celda_entero(t, g->captura, e);
  celda_entero(t, sup_red, e);
  celda_texto(t, palabra_estimacion(g));
}

/* The reach's warnings in words, joined by " | ": what a reader of its row
   should know before taking its figures, the second opinion's on the whole
   sample last. */
static std::string avisos_tramo(const tramo_resumen* tr) {
  const resultados_informe* r = tr->resultados;
  const poblacion_muestra& p = r->poblacion;
  std::string avisos = tr->aviso_pasadas;
  char texto[160];
  if (!p.g[p.nclases].existe)
    avisos += " | estimacion fallida: N es la captura, un minimo";
  if (p.fallidas_con_peces) {
    snprintf(texto, sizeof texto, " | %d clase%s con peces sin estimacion", p.fallidas_con_peces,
             p.fallidas_con_peces == 1 ? "" : "s");
    avisos += texto;
  }
  const bertalanffy_muestra& b = r->bertalanffy;
  if (r->con_crecimiento && !b.linf_aceptada && tr->dados[DADO_LINF][0]) {
    snprintf(texto, sizeof texto, " | Linf menor que el pez mas largo (%.2f cm): sin von Bertalanffy", b.mayor);
    avisos += texto;
  } else if (r->con_crecimiento && !b.linf_aceptada) {
    avisos += " | sin Linf: sin von Bertalanffy";
  }
  std::string segunda = avisos_diagnostico(&tr->diagnostico->g[p.nclases], " | ");
  if (!segunda.empty()) avisos += " | " + segunda;
  return avisos.compare(0, 3, " | ") == 0 ? avisos.substr(3) : avisos;
}

/* What the reach was given, as its table gave it, and the run: the last
   cells of its row, also of an error's. */
static void celdas_dadas(tabla_resumen* t, const acerca_resumen* acerca, const tramo_resumen* tr,
                         const std::string& avisos) {
  for (int k = 0; k < DADOS_TRAMO; k++) celda_texto(t, tr->dados[k]);
  celda_texto(t, avisos.c_str());
  celda_texto(t, acerca->tabla);
  celda_texto(t, acerca->version);
  celda_texto(t, acerca->fecha);
}

static void fila_tramo(tabla_resumen* t, const acerca_resumen* rc, const tramo_resumen* tr) {
  const resultados_informe* r = tr->resultados;
  const poblacion_muestra& p = r->poblacion;
  const poblacion_grupo* total = &p.g[p.nclases];
  celdas_tramo(t, tr, 1);
  celda_entero(t, r->k, 1);
  celda_entero(t, r->medias.n, 1);
  celdas_estimacion(t, total, total->N_red + p.margen, 1);
  celda_entero(t, p.fallidas_con_peces, 1);
  celdas_densidad_fila(t, &r->densidad, &r->densidad.por_frecuencias[r->densidad.nclases]);
  celdas_ajustes(t, r);
  celda_texto(t, "");
  celdas_dadas(t, rc, tr, avisos_tramo(tr));
  fin_de_fila(t);
}

static void fila_error(tabla_resumen* t, const acerca_resumen* rc, const tramo_resumen* tr) {
  celdas_tramo(t, tr, 1);
  for (int c = 3; c < COLUMNA_ERROR; c++)
    celda_texto(t, c == COLUMNA_ESTIMACION ? "error" : "-");  // the estimate's column says so
  celda_texto(t, tr->error);
  celdas_dadas(t, rc, tr, "");
  fin_de_fila(t);
}

static void filas_clases(tabla_resumen* t, const tramo_resumen* tr) {
  const resultados_informe* r = tr->resultados;
  const poblacion_muestra& p = r->poblacion;
  const medias_muestra& m = r->medias;
  const densidad_muestra& d = r->densidad;
  for (int j = 0; j < p.nclases; j++) {
    char clase[16];
    snprintf(clase, sizeof clase, "%d+", j);
    celdas_tramo(t, tr, 0);
    celda_texto(t, clase);
    celda_entero(t, m.individuos[j], 1);
    celdas_estimacion(t, &p.g[j], p.g[j].sup_red, 0);
    celda_entero(t, d.por_frecuencias[j].peces, d.total_existe);
    celda_cifra(t, "%.2f", m.longitud[j], 1);
    celda_cifra(t, "%.2f", m.es_longitud[j], 1);
    celda_cifra(t, "%.2f", m.peso[j], 1);
    celda_cifra(t, "%.2f", m.es_peso[j], 1);
    int s = d.medidas[SUPERFICIE] != 0;
    celda_cifra(t, "%.2f", por_medida(&d, (float)d.por_clases[j].peces, SUPERFICIE), s);
    celda_cifra(t, "%.2f", por_medida(&d, d.por_clases[j].biomasa, SUPERFICIE), s);
    fin_de_fila(t);
  }
}

/* The second opinion's rows: each class's, then the whole sample's. */
static void filas_diagnostico(tabla_resumen* t, const tramo_resumen* tr) {
  std::string celdas[COLUMNAS_DIAGNOSTICO];
  for (int i = 0; i <= tr->diagnostico->nclases; i++) {
    celdas_tramo(t, tr, 0);
    celdas_diagnostico(tr->diagnostico, i, t->dialecto.decimal, celdas);
    for (const std::string& c : celdas) celda_diagnostico(t, c);
    fin_de_fila(t);
  }
}

void barra_de_tramo(const tramo_resumen* tr, barra_resumen* b) {
  snprintf(b->nombre, sizeof b->nombre, "%s", tr->nombre_latin1);
  snprintf(b->especie, sizeof b->especie, "%s", tr->especie_latin1);
  b->grupo = tr->grupo;
  b->hay = 0;
  if (tr->error[0]) return;
  const resultados_informe* res = tr->resultados;
  const densidad_muestra& d = res->densidad;
  float s = d.medidas[SUPERFICIE];
  if (s == 0) return;
  const poblacion_muestra& p = res->poblacion;
  const poblacion_grupo* t = &p.g[p.nclases];
  b->hay = 1;
  b->estimada = t->existe;
  b->densidad = por_medida(&d, (float)d.por_frecuencias[d.nclases].peces, SUPERFICIE);
  b->inferior = (float)res->medias.n / s;
  b->superior = t->existe ? (float)(t->N_red + p.margen) / s : b->densidad;
}

static void anota_grafico(resumen_campana* r, const tramo_resumen* tr) {
  if (r->ngrafico < MAX_TRAMOS) barra_de_tramo(tr, &r->grafico[r->ngrafico++]);
}

/* The reach's rows of the three tables. */
static void filas_de_tramo(tabla_resumen* tramos, tabla_resumen* clases, tabla_resumen* diagnostico,
                           const acerca_resumen* r, const tramo_resumen* tr) {
  if (tr->error[0]) {
    fila_error(tramos, r, tr);
  } else {
    fila_tramo(tramos, r, tr);
    filas_clases(clases, tr);
    filas_diagnostico(diagnostico, tr);
  }
}

void resumen_tramo(resumen_campana* r, const tramo_resumen* tr) {
  filas_de_tramo(&r->tramos, &r->clases, &r->diagnostico, &r->acerca, tr);
  anota_grafico(r, tr);
}

void celdas_de_tramo(const tramo_resumen* tr, const acerca_resumen* acerca, const dialecto_resumen* d,
                     copia_tramo* c) {
  std::vector<std::vector<std::string>>* copias[TABLAS_RESUMEN] = {&c->tramo, &c->clases, &c->diagnostico};
  tabla_resumen tablas[TABLAS_RESUMEN];
  for (int i = 0; i < TABLAS_RESUMEN; i++) {
    tabla_resumen* t = &tablas[i];
    t->f = nullptr, t->libro = nullptr, t->hoja = nullptr, t->dialecto = *d;
    t->celdas = 0, t->fila = 1;
    copias[i]->assign(1, std::vector<std::string>());
    t->copia = copias[i];
  }
  filas_de_tramo(&tablas[0], &tablas[1], &tablas[2], acerca, tr);
  for (auto* copia : copias) copia->pop_back();  // the row begun after the last
}

const char* const* columnas_resumen(int tabla, int* n) {
  *n = TABLAS[tabla].ncolumnas;
  return TABLAS[tabla].columnas;
}
