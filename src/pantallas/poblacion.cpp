// The "Calculo poblacional" screen: the removal estimate by age classes and
// the whole-sample estimate shared out by frequencies, side by side, with
// their totals, the legends and six class rows that scroll together.
#include <cmath>
#include <algorithm>
#include <cstdio>

#include "pantallas.h"
#include "shell.h"

static const int FILAS_PAGINA = 6;
static const int Y_CABECERA = 100;  /* top rule of both header bands */
static const int X_TITULO_CLASES = 70, X_TITULO_FRECUENCIAS = 500, Y_TITULOS = 70;

/* Class table: rules, column centres, titles. */
static const int REGLAS_CLASES[] = {70, 130, 180, 230, 280, 340, 390, 470};
static const int CENTROS_CLASES[] = {100, 155, 205, 255, 310, 365, 430};
static const char* const TITULOS_CLASES[] = {"Clase", "R", "p", "N", "Var(N)", "ES", "Intervalo"};
static const int COLUMNAS_CLASES = 7;
static const int X_FLECHAS_CLASES = 480;

/* Frequency table. */
static const int REGLAS_FRECUENCIAS[] = {500, 560, 606, 652, 698, 744, 804, 850, 930};
static const int CENTROS_FRECUENCIAS[] = {530, 583, 629, 675, 721, 774, 827, 890};
static const char* const TITULOS_FRECUENCIAS[] = {"Clase", "Fr.", "R", "p", "N", "Var(N)",
                                                  "ES", "Intervalo"};
static const int COLUMNAS_FRECUENCIAS = 8;
static const int X_FLECHAS_FRECUENCIAS = 940;
/* Each table's scroll marks, the up mark's tip and base then the down mark's,
   so many header-font heights (7 beside the classes, 9 beside the
   frequencies, two rows lower) plus these px down. */
static const int MARCAS_CLASES[4] = {145, 155, 170, 160};
static const int MARCAS_FRECUENCIAS[4] = {165, 175, 190, 180};

/* The first row's text a header-font height plus this far down; a row is
   AIRE_FILA px taller than that font. */
static const int Y_PRIMERA_FILA = 117, AIRE_FILA = 10;
/* The colour legend: boxes between LEYENDA_IZQUIERDA and LEYENDA_DERECHA px
   left of the right edge, their tops these px above the bottom, their texts
   from LEYENDA_TEXTO px left of the right edge. */
static const int LEYENDA_IZQUIERDA = 370, LEYENDA_DERECHA = 350, LEYENDA_TEXTO = 345;
static const int LEYENDA_Y[2] = {185, 155};
static const int LADO_LEYENDA = 20;
/* The column legend at x 70, its line i (10 + i) header-font heights plus
   COLUMNAS_Y + 5 i px down: under the frequency table however tall the font. */
static const int X_LEYENDA_COLUMNAS = 70, COLUMNAS_Y = 190, COLUMNAS_PASO = 5;
/* "<Pulse ENTER ...>" centred under the frequency table, this far above the bottom. */
static const int X_VOLVER = 715, VOLVER_ARRIBA = 100;

/* Column legend: label, its explanation. */
static const char* const LEYENDA_COLUMNAS[7][2] = {
    {"R:", " Estadistico, debe ser mayor a 0 y menor a (pasadas-1)/2."},
    {"p:", " Fraccion de la poblacion capturada (1-q)."},
    {"N:", " Poblacion estimada (redondeada al entero superior)."},
    {"Var(N):", " Varianza (redondeada al entero superior)."},
    {"Es:", " Error estandar (redondeado al entero superior)."},
    {"Intervalo:", " Intervalo de la poblacion al 95 de confianza."},
    {"Fr.:", " Frecuencia de la clase de edad i en tanto por uno."}};

typedef char celdas_fila[8][40];

/* Text top of row position m (0 = first row below the header). */
static int y_fila(int posicion) {
  int L = alto(FUENTE_CABECERA);
  return L + Y_PRIMERA_FILA + posicion * (L + AIRE_FILA);
}

static void cabecera(const int* reglas, const int* centros, const char* const* titulos, int ncol) {
  int y_fin = y_fila(0) - 7;
  hline(screen, reglas[0], Y_CABECERA, reglas[ncol], negro());
  rectfill(screen, reglas[0] + 1, Y_CABECERA + 1, reglas[ncol] - 1, y_fin - 1, gris_cabecera());
  hline(screen, reglas[0], y_fin, reglas[ncol], negro());
  for (int c = 0; c <= ncol; c++) vline(screen, reglas[c], Y_CABECERA, y_fin, negro());
  for (int c = 0; c < ncol; c++)
    texto_centrado(screen, FUENTE_CABECERA, centros[c], Y_CABECERA + 5, negro(), "%s", titulos[c]);
}

/* Cells of a class row are filled down to 5 pixels below their text, those
   of a total row 21 pixels below its text's top. */
static int hondo_clase() { return alto(FUENTE_CELDAS) + 5; }
static const int HONDO_TOTAL = 21;

/* A figure too wide for its cell in font 0 loses the blanks around its
   dash, then takes the smaller font 3, then both; its value never changes.
   AIRE_CELDA pixels are kept clear beside each rule. */
static const int AIRE_CELDA = 2;

static void sin_blancos(const char* s, char* d, size_t tam) {
  size_t j = 0;
  for (; *s && j + 1 < tam; s++)
    if (*s != ' ') d[j++] = *s;
  d[j] = 0;
}

static void texto_en_celda(int x1, int x2, int centro, int y, const char* s) {
  char apretado[40];
  sin_blancos(s, apretado, sizeof apretado);
  const int fuentes[4] = {FUENTE_CELDAS, FUENTE_CELDAS, FUENTE_PEQUENA, FUENTE_PEQUENA};
  const char* const textos[4] = {s, apretado, s, apretado};
  int cabe = 2 * std::min(centro - x1, x2 - centro) - 2 * AIRE_CELDA;
  int k = 0;
  while (k < 3 && ancho(fuentes[k], textos[k]) > cabe) k++;
  int f = fuentes[k], dy = (alto(FUENTE_CELDAS) - alto(f)) / 2;
  if (ancho(f, textos[k]) <= cabe) {
    texto_centrado(screen, f, centro, y + dy, negro(), "%s", textos[k]);
    return;
  }
  // past every font: kept inside its rules all the same
  set_clip_rect(screen, x1 + AIRE_CELDA, 0, x2 - AIRE_CELDA, SCREEN_H - 1);
  texto_centrado(screen, f, centro, y + dy, negro(), "%s", textos[k]);
  set_clip_rect(screen, 0, 0, SCREEN_W - 1, SCREEN_H - 1);
}

/* One ruled row with its text at y; every cell filled with `fondo` from 6
   pixels above the text to `hondo` below it, never onto the rule below. */
static void fila(const int* reglas, const int* centros, int ncol, int y, int fondo, int hondo,
                 const celdas_fila celdas) {
  int L = alto(FUENTE_CABECERA);
  int arriba = y - 7, abajo = y + L + 3;
  int fin_fondo = y + hondo < abajo ? y + hondo : abajo - 1;
  for (int c = 0; c < ncol; c++) {
    rectfill(screen, reglas[c] + 1, arriba + 1, reglas[c + 1] - 1, fin_fondo, fondo);
    texto_en_celda(reglas[c], reglas[c + 1], centros[c], y, celdas[c]);
  }
  hline(screen, reglas[0], arriba, reglas[ncol], negro());
  hline(screen, reglas[0], abajo, reglas[ncol], negro());
  for (int c = 0; c <= ncol; c++) vline(screen, reglas[c], arriba, abajo, negro());
}

/* Every cell "-" until a figure is written into it. */
static void guiones(celdas_fila t) {
  for (int c = 0; c < 8; c++) snprintf(t[c], sizeof t[c], "-");
}

static void celdas_de_clase(const poblacion_muestra* p, int j, celdas_fila t) {
  const poblacion_grupo& g = p->g[j];
  guiones(t);
  snprintf(t[0], sizeof t[0], "%d+", j);
  snprintf(t[1], sizeof t[1], "%.2f", g.R);
  if (!g.existe) {
    snprintf(t[3], sizeof t[3], "%d", g.captura);
    snprintf(t[6], sizeof t[6], "%d - ?", g.captura);
    return;
  }
  snprintf(t[2], sizeof t[2], "%.2f", 1 - g.q);
  snprintf(t[3], sizeof t[3], "%d", p->g[j].N_red);
  snprintf(t[4], sizeof t[4], "%.0f", p->g[j].Var_red);  // a whole number, may pass the int range
  snprintf(t[5], sizeof t[5], "%.0f", p->g[j].ES_red);
  snprintf(t[6], sizeof t[6], "%d - %d", g.captura, p->g[j].sup_red);
}

static void celdas_total_clases(const poblacion_muestra* p, celdas_fila t) {
  guiones(t);
  snprintf(t[0], sizeof t[0], "Total");
  snprintf(t[3], sizeof t[3], "%lld", p->suma_N_red);
  if (p->fallidas_con_peces && p->suma_sup_red == 0)
    snprintf(t[6], sizeof t[6], "%d - ?", p->captura_clases);
  else
    snprintf(t[6], sizeof t[6], "%d - %lld", p->captura_clases, p->suma_sup_red);
}

/* Share of the class in the catch, "-" when nothing was caught at all. */
static void frecuencia(const poblacion_muestra* p, int j, char* s, size_t tam) {
  if (p->captura_clases == 0)
    snprintf(s, tam, "-");
  else
    snprintf(s, tam, "%.2f", (float)p->g[j].captura / p->captura_clases);
}

static void celdas_de_frecuencia(const poblacion_muestra* p, int j, celdas_fila t) {
  int valida = p->g[p->nclases].existe, cj = p->g[j].captura;
  guiones(t);
  snprintf(t[0], sizeof t[0], "%d+", j);
  frecuencia(p, j, t[1], sizeof t[1]);
  if (!valida) {
    snprintf(t[4], sizeof t[4], "%d", cj);
    snprintf(t[7], sizeof t[7], "%d - ?", cj);
    return;
  }
  int parte = (int)ceilf(p->Nclas[j]);
  snprintf(t[4], sizeof t[4], "%d", parte);
  snprintf(t[7], sizeof t[7], "%d - %d", cj, parte + (int)ceilf(p->ESclas[j]));
}

static void celdas_total_frecuencias(const poblacion_muestra* p, celdas_fila t) {
  const poblacion_grupo& g = p->g[p->nclases];
  guiones(t);
  snprintf(t[0], sizeof t[0], "Total");
  snprintf(t[1], sizeof t[1], "1.00");
  snprintf(t[2], sizeof t[2], "%.2f", g.R);
  if (!g.existe) {
    snprintf(t[4], sizeof t[4], "%d", g.captura);
    snprintf(t[7], sizeof t[7], "%d - ?", p->captura_clases);
    return;
  }
  int m = p->nclases;
  snprintf(t[3], sizeof t[3], "%.2f", 1 - g.q);
  snprintf(t[4], sizeof t[4], "%d", p->g[m].N_red);
  snprintf(t[5], sizeof t[5], "%.0f", p->g[m].Var_red);
  snprintf(t[6], sizeof t[6], "%.0f", p->g[m].ES_red);
  snprintf(t[7], sizeof t[7], "%d - %d", p->captura_clases, p->g[m].sup_red);
}

static int filas_en_pagina(const poblacion_muestra* p, int primera) {
  int quedan = p->nclases - primera;
  return quedan < FILAS_PAGINA ? quedan : FILAS_PAGINA;
}

static void filas_clases(const poblacion_muestra* p, int primera) {
  celdas_fila t;
  cabecera(REGLAS_CLASES, CENTROS_CLASES, TITULOS_CLASES, COLUMNAS_CLASES);
  for (int m = 0; m < filas_en_pagina(p, primera); m++) {
    int j = primera + m;
    const poblacion_grupo& g = p->g[j];
    int amarilla = !g.existe && g.captura != 0;
    celdas_de_clase(p, j, t);
    fila(REGLAS_CLASES, CENTROS_CLASES, COLUMNAS_CLASES, y_fila(m),
         amarilla ? amarillo_campo() : blanco(), hondo_clase(), t);
  }
  int posicion = p->nclases <= 5 ? p->nclases + 1 : FILAS_PAGINA + 1;
  celdas_total_clases(p, t);
  fila(REGLAS_CLASES, CENTROS_CLASES, COLUMNAS_CLASES, y_fila(posicion),
       p->fallidas_con_peces ? amarillo_campo() : blanco(), HONDO_TOTAL, t);
}

static int fondo_frecuencias(const poblacion_muestra* p) {
  return p->g[p->nclases].existe ? blanco() : amarillo_campo();
}

static void total_frecuencias(const poblacion_muestra* p) {
  celdas_fila t;
  cabecera(REGLAS_FRECUENCIAS, CENTROS_FRECUENCIAS, TITULOS_FRECUENCIAS, COLUMNAS_FRECUENCIAS);
  celdas_total_frecuencias(p, t);
  fila(REGLAS_FRECUENCIAS, CENTROS_FRECUENCIAS, COLUMNAS_FRECUENCIAS, y_fila(0),
       fondo_frecuencias(p), HONDO_TOTAL, t);
}

/* The class rows sit two positions lower than in the class table. */
static void filas_frecuencias(const poblacion_muestra* p, int primera) {
  celdas_fila t;
  for (int m = 0; m < filas_en_pagina(p, primera); m++) {
    celdas_de_frecuencia(p, primera + m, t);
    fila(REGLAS_FRECUENCIAS, CENTROS_FRECUENCIAS, COLUMNAS_FRECUENCIAS, y_fila(m + 2),
         fondo_frecuencias(p), hondo_clase(), t);
  }
}

static void leyenda_colores() {
  int W = SCREEN_W, H = SCREEN_H;
  const int y[2] = {H - LEYENDA_Y[0], H - LEYENDA_Y[1]};
  const int fondo[2] = {blanco(), amarillo_campo()};
  const char* const texto_de[2] = {"El estadistico cumple o Capturados=0",
                                   "El estadistico no cumple, N=Capturados"};
  for (int i = 0; i < 2; i++) {
    rectfill(screen, W - LEYENDA_IZQUIERDA, y[i], W - LEYENDA_DERECHA, y[i] + LADO_LEYENDA, fondo[i]);
    rect(screen, W - LEYENDA_IZQUIERDA, y[i], W - LEYENDA_DERECHA, y[i] + LADO_LEYENDA, negro());
    texto(screen, FUENTE_CELDAS, W - LEYENDA_TEXTO, y[i] + 2, negro(), "%s", texto_de[i]);
  }
}

static void leyenda_columnas() {
  int L = alto(FUENTE_CABECERA);
  for (int i = 0; i < 7; i++) {
    int y = (10 + i) * L + COLUMNAS_Y + COLUMNAS_PASO * i;
    const char* etiqueta = LEYENDA_COLUMNAS[i][0];
    int baja = i == 3 ? 0 : 2;  // the Var(N) line stands level with its label
    texto(screen, FUENTE_CABECERA, X_LEYENDA_COLUMNAS, y, negro(), "%s", etiqueta);
    int x = X_LEYENDA_COLUMNAS + ancho(FUENTE_CABECERA, etiqueta);
    texto(screen, FUENTE_CELDAS, x, y + baja, negro(), "%s", LEYENDA_COLUMNAS[i][1]);
  }
}

static void marcas(int x, int y, const int desde[4], int arriba, int abajo) {
  flecha_arriba(screen, x, y + desde[0], y + desde[1], arriba);
  flecha_abajo(screen, x, y + desde[2], y + desde[3], abajo);
}

static void flechas(const poblacion_muestra* p, int primera) {
  int L = alto(FUENTE_CABECERA);
  int arriba = primera > 0, abajo = primera + FILAS_PAGINA < p->nclases;
  marcas(X_FLECHAS_CLASES, 7 * L, MARCAS_CLASES, arriba, abajo);
  marcas(X_FLECHAS_FRECUENCIAS, 9 * L, MARCAS_FRECUENCIAS, arriba, abajo);
}

static void pagina(const poblacion_muestra* p, int primera) {
  filas_clases(p, primera);
  filas_frecuencias(p, primera);
  leyenda_colores();
  leyenda_columnas();
  texto_centrado(screen, FUENTE_CELDAS, X_VOLVER, SCREEN_H - VOLVER_ARRIBA, rojo_mensaje(), "%s",
                 "<Pulse ENTER para volver al menu>");
  flechas(p, primera);
}

static int dibuja_pagina(const void* datos, int primera) {
  pagina((const poblacion_muestra*)datos, primera);
  return primera;
}

/* Both tables move together, a row at a time. */
static int desplaza(const void* datos, int tecla, int primera, int) {
  return desplaza_una_fila(tecla, primera, FILAS_PAGINA, ((const poblacion_muestra*)datos)->nclases);
}

/* Shows the tables until ENTER or ESC (ESC stored in c_esc). */
static void espera_salida(const poblacion_muestra* p) {
  pagina_desplazable d = {dibuja_pagina, desplaza, p, TECLA_ARRIBA, TECLA_ABAJO, nullptr};
  recorre_pagina(&d);
}

void calculo_poblacional(int* clases, int* pasadas, int n, int nclases, int k) {
  const int teclas[] = {TECLA_ESC};
  poblacion_muestra p = calcula_poblacion(clases, pasadas, n, nclases, k);
  marco("Calculo poblacional");
  if (!p.dentro_de_limites) {
    // The loaders refuse such samples; this only keeps the tables in bounds.
    texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2, rojo_mensaje(), "%s",
                   "<La muestra supera las 99 clases o las 20 pasadas>");
    if (espera_tecla(teclas, 1) == TECLA_ESC) c_esc = TECLA_ESC;
    return;
  }
  texto(screen, FUENTE_TITULO, X_TITULO_CLASES, Y_TITULOS, negro(), "%s", " Por clases:");
  texto(screen, FUENTE_TITULO, X_TITULO_FRECUENCIAS, Y_TITULOS, negro(), "%s", " Por frecuencias:");
  total_frecuencias(&p);
  espera_salida(&p);
}
