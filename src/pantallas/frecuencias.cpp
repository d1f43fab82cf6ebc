// Frequencies by age class: the share of the catch in every class, over all
// passes together, as a bar graph and a scrolling table; the same graph is
// drawn into a bitmap for the report's images.
#include <cstdio>

#include "pantallas.h"
#include "shell.h"

static const int ALTO_ESCALA = 320;   /* pixels of the vertical axis the scale top stands for */
static const int ANCHO_CLASES = 440;  /* pixels of the horizontal axis shared by the classes */
static const int LARGO_MARCA = 10;    /* ticks on both axes */
static const float PASO_ESCALA = 0.1f;

/* Where the graph goes on its target: everything is placed from the origin
   except the panel, the axis ends and the axis titles. */
struct disposicion_barras {
  int ox, oy;                   /* origin: class 0 at the left, frequency 0 */
  int fondo[4];                 /* white panel and its first outline, x1 y1 x2 y2 */
  int contorno[4];              /* second outline */
  int tope_eje;                 /* top end of the vertical axis */
  int fin_eje;                  /* right end of the horizontal axis */
  int pie_fr;                   /* "Fr." stands on this y */
  int x_clase;                  /* left end of "Clase" */
};

/* On the screen the graph keeps its distance from the right edge w. */
static disposicion_barras disposicion_pantalla() {
  const int w = SCREEN_W;
  /*                       origin        panel, first outline          second outline */
  disposicion_barras d = {w - 553, 415, {w - 593, 53, w - 53, 455}, {w - 594, 54, w - 52, 454},
  /*                       axis top, end  "Fr." foot, "Clase" */
                           93, w - 100,   91, w - 97};
  return d;
}

static const disposicion_barras DISPOSICION_IMAGEN = {
    40, 362, {0, 0, 540, 402}, {1, 1, 539, 401}, 40, 493, 38, 497};
static const int ANCHO_IMAGEN = 541, ALTO_IMAGEN = 403;
/* "<Pulse ENTER ...>" this far below the page's centre, under the graph. */
static const int VOLVER_DY = 200;

/* The frequency table: class label and frequency, eight rows a page. */
static const tabla_clases TABLA_FRECUENCIAS = {
    2, {"Clase", "Frecuencia relativa"}, {110, 267}, {60, 160, 375}, 100, 8};

/* The first step of 0.1 at or above the largest frequency. A sample with no
   frequency above 0 still gets one step, so bars and ticks stay finite. */
static float tope_escala(const float* fr, int nclases) {
  float mayor = 0;
  for (int c = 0; c < nclases; c++)
    if (fr[c] > mayor) mayor = fr[c];
  float tope = 0;
  do tope += PASO_ESCALA;
  while (tope < mayor);
  return tope;
}

static void dibuja_fondo(BITMAP* b, const disposicion_barras* d) {
  rectfill(b, d->fondo[0], d->fondo[1], d->fondo[2], d->fondo[3], blanco());
  rect(b, d->fondo[0], d->fondo[1], d->fondo[2], d->fondo[3], negro());
  rect(b, d->contorno[0], d->contorno[1], d->contorno[2], d->contorno[3], negro());
}

static void dibuja_ejes(BITMAP* b, const disposicion_barras* d) {
  int h = alto(FUENTE_CELDAS);
  line(b, d->ox, d->tope_eje, d->ox, d->oy, negro());
  line(b, d->ox, d->oy, d->fin_eje, d->oy, negro());
  texto(b, FUENTE_CELDAS, d->ox - ancho(FUENTE_CELDAS, "Fr.") / 2, d->pie_fr - h, negro(), "Fr.");
  texto(b, FUENTE_CELDAS, d->x_clase, d->oy - h / 2, negro(), "Clase");
}

/* Class ticks with their labels under the middle of each bar; with many
   classes only every second, third... label, so that they stay legible. */
static void dibuja_clases(BITMAP* b, const disposicion_barras* d, int nclases, int s) {
  int mayor = 0;
  char rotulo[16];
  for (int i = 0; i < nclases; i++) {
    snprintf(rotulo, sizeof rotulo, "%d+", i);
    if (ancho(FUENTE_CELDAS, rotulo) > mayor) mayor = ancho(FUENTE_CELDAS, rotulo);
  }
  int salto = salto_rotulos(s, mayor);
  for (int i = 0; i < nclases; i++) {
    int x = d->ox + i * s;
    line(b, x, d->oy, x, d->oy + LARGO_MARCA, negro());
    if (i % salto == 0) texto_centrado(b, FUENTE_CELDAS, x + s / 2, d->oy + 12, negro(), "%d+", i);
  }
  int x = d->ox + nclases * s;
  line(b, x, d->oy, x, d->oy + LARGO_MARCA, negro());
}

/* Frequency ticks every p pixels, labelled with the running sum of 0.1. */
static void dibuja_escala(BITMAP* b, const disposicion_barras* d, float tope) {
  int p = (int)(ALTO_ESCALA / (tope * 10));  // at least 31: the top never passes 1 by more than a step
  int h = alto(FUENTE_CELDAS);
  float etiqueta = 0;
  for (int y = 0; y <= ALTO_ESCALA; y += p, etiqueta += PASO_ESCALA) {
    line(b, d->ox - LARGO_MARCA, d->oy - y, d->ox, d->oy - y, negro());
    texto_derecha(b, FUENTE_CELDAS, d->ox - 12, d->oy - y - h / 2, negro(), "%.1f", etiqueta);
  }
}

static void dibuja_barras(BITMAP* b, const disposicion_barras* d, const float* fr, int nclases,
                          int s, float tope) {
  for (int i = 0; i < nclases; i++) {
    int alto_barra = (int)(fr[i] * ALTO_ESCALA / tope);
    int x1 = d->ox + i * s, x2 = d->ox + (i + 1) * s, y2 = d->oy - alto_barra;
    rectfill(b, x1, d->oy, x2, y2, rojo_mensaje());
    rect(b, x1, d->oy, x2, y2, negro());
  }
}

/* The whole bar graph on b, placed as d says. */
static void dibuja_grafico(BITMAP* b, const disposicion_barras* d, const float* fr, int nclases) {
  int s = ANCHO_CLASES / (nclases > 0 ? nclases : 1);
  float tope = tope_escala(fr, nclases);
  dibuja_fondo(b, d);
  dibuja_ejes(b, d);
  dibuja_clases(b, d, nclases, s);
  dibuja_escala(b, d, tope);
  dibuja_barras(b, d, fr, nclases, s, tope);
}

BITMAP* grafico_frecuencias(const float* fr, int nclases) {
  nclases = clases_acotadas(nclases);
  BITMAP* b = create_bitmap(ANCHO_IMAGEN, ALTO_IMAGEN);
  if (!b) return nullptr;
  clear_bitmap(b);
  dibuja_grafico(b, &DISPOSICION_IMAGEN, fr, nclases);
  return b;
}

void calculo_frecuencias(int* clases, int nfish, int nclases) {
  nclases = clases_acotadas(nclases);
  float fr[RANURAS];
  frecuencias_relativas(clases, nfish, nclases, fr);
  marco("Frecuencia");
  disposicion_barras d = disposicion_pantalla();
  dibuja_grafico(screen, &d, fr, nclases);
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2 + VOLVER_DY, rojo_mensaje(),
                 "<Pulse ENTER para volver al menu>");
  textos_fila filas[RANURAS];
  for (int c = 0; c < nclases; c++) {
    snprintf(filas[c][0], TEXTO_CELDA, "%d+", c);
    snprintf(filas[c][1], TEXTO_CELDA, "%.3f", fr[c]);
  }
  recorre_tabla_clases(&TABLA_FRECUENCIAS, filas, nclases);
}
