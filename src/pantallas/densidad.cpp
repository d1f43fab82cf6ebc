// Reach measures, density and biomass: the user gives the surface, volume
// and length of the reach, and the screen divides the estimated fish and
// their weight by each, per age class, "por clases" and "por frecuencias".
#include <cstdio>
#include <cstring>

#include "pantallas.h"
#include "shell.h"

/* ---- Layout of the results table ---- */
/* rules:              Clase Fr.  N   N/m3 N/m2 N/m  g/m3 g/m2 g/m  N   N/m3 N/m2 N/m  g/m3 g/m2 g/m */
static const int BORDES[17] = {70, 120, 170, 220, 270, 320, 370, 430, 490, 550,
                               600, 650, 700, 750, 810, 870, 930};
static const int COLUMNAS = 16;
static const int Y_TABLA = 160;     /* top of the header row; class row k starts k pitches below */
static const int FILAS_PAGINA = 6;  /* class rows a page shows */
static const int X_BLOQUE[2] = {170, 550};  /* left edge of each block, where its title starts */
static const int X_MARCAS = 940;    /* scroll marks */
/* Each mark from its tip to its base, 7 header-font heights plus these px down. */
static const int MARCA_ARRIBA[2] = {205, 215}, MARCA_ABAJO[2] = {230, 220};
static const int Y_TITULOS_BLOQUE = 120;  /* " Por clases:" and " Por frecuencias:" */
/* The header band: its top rule a header-font height plus CABECERA_ARRIBA
   down, its grey down to a height plus CABECERA_ABAJO. Inside it the titles
   of the one-line columns at Y_TITULOS, "Densidad" and "Biomasa" higher at
   Y_GRUPOS over a rule a font height below, and the units under that rule
   at Y_UNIDADES. */
static const int CABECERA_ARRIBA = 124, CABECERA_ABAJO = 170;
static const int Y_TITULOS = 157, Y_GRUPOS = 147, Y_UNIDADES = 170;
/* The legend's boxes LEYENDA_X px left of the right edge, their tops these
   px above the bottom. */
static const int LEYENDA_X = 350, LEYENDA_Y[2] = {135, 105};
static const int LADO_LEYENDA = 20;
/* "<Pulse ENTER ...>" centred a little left of the page's centre, below the table. */
static const int VOLVER_DX = 20, VOLVER_DY = 160;
/* The measure's prompt starts this far left of the page's centre. */
static const int PREGUNTA_DX = 200;

/* ---- The measures ---- */
static const char* const NOMBRES_MEDIDA[3] = {"Superficie del tramo", "Volumen del tramo",
                                              "Metros lineales del tramo"};
static const char* const PREGUNTAS[3] = {"Superficie del tramo (m", "Volumen del tramo (m",
                                         "Metros lineales del tramo (m"};
static const char* const EXPONENTES[3] = {"2", "3", ""};

static float* medida(int i) {
  float* const medidas[3] = {&Suptramo, &Voltramo, &mltramo};
  return medidas[i];
}

/* ---- The cells of a row ---- */

static const int CELDAS_BLOQUE = 7; /* N, density per m3, m2, m, biomass per m3, m2, m */
static const int LARGO_CELDA = 48;  /* room for any float printed with two decimals */

/* value over measure m with two decimals, as the report prints it; "-" where
   the measure was not given or the quotient has no value. */
static void cociente(char* celda, const densidad_muestra* d, float valor, int m) {
  if (d->medidas[m] == 0)
    snprintf(celda, LARGO_CELDA, "-");
  else
    numero_o_guion(celda, LARGO_CELDA, "%.2f", por_medida(d, valor, m));
}

/* The seven texts of a block's row: N, then its densities and biomasses by
   volume, surface and length. */
static void celdas_de_fila(const densidad_muestra* d, const fila_densidad* f,
                           char celdas[CELDAS_BLOQUE][LARGO_CELDA]) {
  snprintf(celdas[0], LARGO_CELDA, "%d", f->peces);
  for (int m = 0; m < MEDIDAS_TRAMO; m++) {
    cociente(celdas[1 + m], d, (float)f->peces, m);
    cociente(celdas[4 + m], d, f->biomasa, m);
  }
}

/* ---- Measure menu and entry ---- */

static void limpia_area() {
  rectfill(screen, 60, 60, SCREEN_W - 60, SCREEN_H - 60, gris_pagina());
}

/* The prompt of measure i with the value typed so far, when there is one. */
static void dibuja_pregunta(int i, const campo_numero* c, int con_valor) {
  int x = SCREEN_W / 2 - PREGUNTA_DX, y = SCREEN_H / 2 - 2 * alto(FUENTE_TITULO);
  limpia_area();
  texto(screen, FUENTE_TITULO, x, y, negro(), "%s", PREGUNTAS[i]);
  x += ancho(FUENTE_TITULO, PREGUNTAS[i]);
  texto(screen, FUENTE_PEQUENA, x, y, negro(), "%s", EXPONENTES[i]);
  x += ancho(FUENTE_PEQUENA, EXPONENTES[i]);
  char cierre[16];
  snprintf(cierre, sizeof cierre, "): %s", numero_formato(c));
  if (con_valor)
    texto(screen, FUENTE_TITULO, x, y, negro(), cierre, c->valor);
  else
    texto(screen, FUENTE_TITULO, x, y, negro(), "):");
}

/* Reads measure i key by key. Returns 1 when left with ESC; the value typed
   so far is kept on both ways out. */
/* The prompt shows the value once a key other than BACKSPACE has come: a key
   the field ignores still echoes it, so the user sees what ENTER would store. */
static void eco_medida(void* datos, const campo_numero* c, int, int cambio) {
  dibuja_pregunta(*(const int*)datos, c, cambio != NUMERO_BORRADO);
}

static int entrada_medida(int i) {
  campo_numero c;
  uso_numero u = {eco_medida, &i, 1, 0, -1, nullptr};
  int fin = lee_numero(&c, &u);
  *medida(i) = c.valor;
  if (fin == NUMERO_ESC) return 1;  // the program ends: the prompt may stay
  limpia_area();
  return 0;
}

/* "Unidades de medida" until "Calcular"; returns 1 when left with ESC. */
static int pide_medidas() {
  const int h = alto(FUENTE_TITULO);
  for (;;) {
    char textos[3][96];
    const char* entradas[4];
    for (int i = 0; i < 3; i++) {
      if (*medida(i) == 0)
        snprintf(textos[i], sizeof textos[i], "%s", NOMBRES_MEDIDA[i]);
      else
        snprintf(textos[i], sizeof textos[i], "%s: %.2f", NOMBRES_MEDIDA[i], *medida(i));
      entradas[i] = textos[i];
    }
    entradas[3] = "Calcular";
    marco("Unidades de medida");
    int e = menu_vertical(entradas, 4, SCREEN_H / 2 - 3 * h, 2 * h, 1, 1);
    if (e == 0) return 1;
    if (e == 4) {
      limpia_area();
      return 0;
    }
    if (entrada_medida(e - 1)) return 1;
  }
}

/* ---- Results table ---- */

static int paso_fila() { return alto(FUENTE_CABECERA) + 10; }
static int y_fila(int k) { return Y_TABLA + k * paso_fila(); }

/* The outer edges, the edge after the frequency and the edge between the
   blocks are doubled, outwards at the sides. */
static int regla_doble(int c) { return c == 0 ? -1 : (c == 2 || c == 9 || c == COLUMNAS) ? 1 : 0; }

static void regla_vertical(BITMAP* b, int c, int y1, int y2) {
  vline(b, BORDES[c], y1, y2, negro());
  if (regla_doble(c)) vline(b, BORDES[c] + regla_doble(c), y1, y2, negro());
}

static void regla_horizontal(BITMAP* b, int y, int doble) {
  hline(b, BORDES[0] - 1, y, BORDES[COLUMNAS] + 1, negro());
  if (doble) hline(b, BORDES[0] - 1, y + doble, BORDES[COLUMNAS] + 1, negro());
}

/* Rules of class row k, or of the total row (doubled above and below). */
static void rejilla_fila(BITMAP* b, int k, int es_total) {
  regla_horizontal(b, y_fila(k), es_total ? -1 : 0);
  regla_horizontal(b, y_fila(k + 1), es_total ? 1 : 0);
  for (int c = 0; c <= COLUMNAS; c++) regla_vertical(b, c, y_fila(k), y_fila(k + 1));
}

/* A unit label centred on x; its superscript stands right after the ink of
   the label (not after its trailing blank), at most dx right of x. */
static void etiqueta_unidad(BITMAP* b, int x, int y, const char* base, const char* exponente, int dx) {
  texto_centrado(b, FUENTE_CABECERA, x, y, negro(), "%s", base);
  int izquierda = x - ancho(FUENTE_CABECERA, base) / 2;
  char sin_blanco[8];
  snprintf(sin_blanco, sizeof sin_blanco, "%.*s", (int)strcspn(base, " "), base);
  int tras = izquierda + ancho(FUENTE_CABECERA, sin_blanco);
  texto(b, FUENTE_PEQUENA, tras < x + dx ? tras : x + dx, y - 2, negro(), "%s", exponente);
}

/* The header of one block, its "N" column at column index c0. */
static void cabecera_bloque(BITMAP* b, int c0) {
  const int h1 = alto(FUENTE_CABECERA);
  const char* const exponentes[3] = {"3", "2", ""};
  texto_centrado(b, FUENTE_CABECERA, (BORDES[c0] + BORDES[c0 + 1]) / 2, Y_TITULOS, negro(), "N");
  texto_centrado(b, FUENTE_CABECERA, (BORDES[c0 + 1] + BORDES[c0 + 4]) / 2, Y_GRUPOS, negro(), "Densidad");
  texto_centrado(b, FUENTE_CABECERA, (BORDES[c0 + 4] + BORDES[c0 + 7]) / 2, Y_GRUPOS, negro(), "Biomasa");
  hline(b, BORDES[c0 + 1], h1 + Y_GRUPOS, BORDES[c0 + 7], negro());
  for (int m = 0; m < 3; m++) {
    int xn = (BORDES[c0 + 1 + m] + BORDES[c0 + 2 + m]) / 2;
    int xg = (BORDES[c0 + 4 + m] + BORDES[c0 + 5 + m]) / 2;
    etiqueta_unidad(b, xn, Y_UNIDADES, m < 2 ? "N/m " : "N/m", exponentes[m], 14);
    // the grams labels are drawn twice, a pixel apart, which thickens them
    etiqueta_unidad(b, xg, Y_UNIDADES - 1, m < 2 ? "g/m " : "g/m", exponentes[m], 15);
    etiqueta_unidad(b, xg, Y_UNIDADES - 2, m < 2 ? "g/m " : "g/m", "", 15);
  }
  for (int c = c0 + 2; c < c0 + 7; c++)
    if (c != c0 + 4) vline(b, BORDES[c], h1 + Y_GRUPOS, y_fila(1), negro());
}

static void cabecera(BITMAP* b) {
  const int h1 = alto(FUENTE_CABECERA);
  const int arriba = h1 + CABECERA_ARRIBA;
  rectfill(b, BORDES[0], arriba + 1, BORDES[COLUMNAS], h1 + CABECERA_ABAJO, gris_cabecera());
  regla_horizontal(b, arriba, -1);
  regla_horizontal(b, y_fila(1), 0);
  for (int c = 0; c <= COLUMNAS; c++) {
    bool partida = c == 4 || c == 5 || c == 7 || c == 8 || c == 11 || c == 12 || c == 14 || c == 15;
    if (!partida) regla_vertical(b, c, arriba, y_fila(1));
  }
  texto_centrado(b, FUENTE_CABECERA, (BORDES[0] + BORDES[1]) / 2, Y_TITULOS, negro(), "Clase");
  texto_centrado(b, FUENTE_CABECERA, (BORDES[1] + BORDES[2]) / 2, Y_TITULOS, negro(), "Fr.");
  cabecera_bloque(b, 2);
  cabecera_bloque(b, 9);
}

/* Fills cell c of row k and writes s centred in it. */
static void celda(BITMAP* b, int c, int k, int color, const char* s) {
  int y = y_fila(k) + 7;
  int izq = BORDES[c] + 1 + (regla_doble(c) > 0 ? 1 : 0);
  // down to the rule below, so no strip of page shows under the row
  rectfill(b, izq, y - 6, BORDES[c + 1] - 1, y_fila(k + 1) - 1, color);
  texto_centrado(b, FUENTE_CELDAS, (BORDES[c] + BORDES[c + 1]) / 2, y, negro(), "%s", s);
}

static void celdas_bloque(BITMAP* b, int c0, int k, const densidad_muestra* d,
                          const fila_densidad* f) {
  char textos[CELDAS_BLOQUE][LARGO_CELDA];
  celdas_de_fila(d, f, textos);
  int color = f->sustituida ? amarillo_campo() : blanco();
  for (int i = 0; i < CELDAS_BLOQUE; i++) celda(b, c0 + i, k, color, textos[i]);
}

/* Row k: its label and frequency, then both blocks' row j (j = nclases: the totals). */
static void dibuja_fila(BITMAP* b, int k, const char* etiqueta, const char* frecuencia,
                        const densidad_muestra* d, int j) {
  celda(b, 0, k, blanco(), etiqueta);
  celda(b, 1, k, blanco(), frecuencia);
  celdas_bloque(b, 2, k, d, &d->por_clases[j]);
  celdas_bloque(b, 9, k, d, &d->por_frecuencias[j]);
}

static void leyenda(BITMAP* b) {
  const int x = SCREEN_W - LEYENDA_X, ys[2] = {SCREEN_H - LEYENDA_Y[0], SCREEN_H - LEYENDA_Y[1]};
  const char* const textos[2] = {"El estadistico cumple o Capturados=0",
                                 "El estadistico no cumple, N=Capturados"};
  const int colores[2] = {blanco(), amarillo_campo()};
  for (int i = 0; i < 2; i++) {
    rectfill(b, x, ys[i], x + LADO_LEYENDA, ys[i] + LADO_LEYENDA, colores[i]);
    rect(b, x, ys[i], x + LADO_LEYENDA, ys[i] + LADO_LEYENDA, negro());
    texto(b, FUENTE_CELDAS, x + 25, ys[i] + 2, negro(), "%s", textos[i]);
  }
}

/* What the results show: both blocks, and each class's share of the catch. */
struct vista_densidad {
  const densidad_muestra* d;
  const float* frecuencia;
};

/* The page of class rows from class `primera` on, with its rules and marks. */
static void dibuja_pagina(BITMAP* b, int primera, const vista_densidad* v) {
  const int h1 = alto(FUENTE_CABECERA), nc = v->d->nclases;
  int filas = nc - primera < FILAS_PAGINA ? nc - primera : FILAS_PAGINA;
  for (int k = 1; k <= filas; k++) rejilla_fila(b, k, 0);
  cabecera(b);
  leyenda(b);
  texto_centrado(b, FUENTE_CELDAS, SCREEN_W / 2 - VOLVER_DX, SCREEN_H / 2 + VOLVER_DY, rojo_mensaje(),
                 "<Pulse ENTER para volver al menu>");
  for (int k = 1; k <= filas; k++) {
    int j = primera + k - 1;
    char etiqueta[16], fr[LARGO_CELDA];
    snprintf(etiqueta, sizeof etiqueta, "%d+", j);
    snprintf(fr, sizeof fr, "%.2f", v->frecuencia[j]);
    dibuja_fila(b, k, etiqueta, fr, v->d, j);
  }
  flecha_arriba(b, X_MARCAS, 7 * h1 + MARCA_ARRIBA[0], 7 * h1 + MARCA_ARRIBA[1], primera > 0);
  flecha_abajo(b, X_MARCAS, 7 * h1 + MARCA_ABAJO[0], 7 * h1 + MARCA_ABAJO[1], primera + FILAS_PAGINA < nc);
}

static int pagina_densidad(const void* datos, int primera) {
  dibuja_pagina(screen, primera, (const vista_densidad*)datos);
  return primera;
}

static int paso_densidad(const void* datos, int tecla, int primera, int) {
  return desplaza_una_fila(tecla, primera, FILAS_PAGINA, ((const vista_densidad*)datos)->d->nclases);
}

/* Shows the results until ENTER or ESC. */
static void muestra_resultados(const vista_densidad* v) {
  const int nc = v->d->nclases;
  texto(screen, FUENTE_CABECERA, X_BLOQUE[0], Y_TITULOS_BLOQUE, negro(), " Por clases:");
  texto(screen, FUENTE_CABECERA, X_BLOQUE[1], Y_TITULOS_BLOQUE, negro(), " Por frecuencias:");
  int k_total = (nc < FILAS_PAGINA ? nc : FILAS_PAGINA) + 2;
  rejilla_fila(screen, k_total, 1);
  dibuja_fila(screen, k_total, "Total", "1.00", v->d, nc);
  pagina_desplazable p = {pagina_densidad, paso_densidad, v, TECLA_ARRIBA, TECLA_ABAJO, nullptr};
  recorre_pagina(&p);
}

/* "Densidad y Biomasa" with every measure 0: says so and waits for a key. */
static void sin_medidas() {
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2, rojo_mensaje(),
                 "<El valor debe ser superior a 0>");
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2 + 20, rojo_mensaje(),
                 "<Pulse ENTER para volver al menu>");
  c_esc = lee_tecla();
}

void densidad_de_poblacion(const medias_muestra* m, const poblacion_muestra* p) {
  Suptramo = Voltramo = mltramo = 0;
  if (pide_medidas()) return;
  marco("Densidad y Biomasa");
  if (Suptramo == 0 && Voltramo == 0 && mltramo == 0) {
    sin_medidas();
    return;
  }
  limpia_area();
  // the report's own blocks, so that the screen and the report print the same figures
  densidad_muestra d = calcula_densidad(m, p, Voltramo, Suptramo, mltramo);
  vista_densidad v = {&d, m->frecuencia};
  muestra_resultados(&v);
}

int densidad_biomasa_devuelve() { return pide_medidas(); }
