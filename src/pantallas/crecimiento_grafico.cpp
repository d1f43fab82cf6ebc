// The growth graph and the growth table that both growth fits show, and the
// class means and curve they are drawn from.
#include <cmath>
#include <cstdio>

#include "grafico_crecimiento.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

/*                                   origin    axis ends  outline 1           outline 2          panel legend */
const disposicion_grafico GRAFICO_PANTALLA = {447, 415, 93, 897, {407, 53, 947, 455}, {406, 54, 948, 454}, 1, 750, 368};
const disposicion_grafico GRAFICO_BERTALANFFY = {41, 361, 41, 489, {1, 1, 539, 401}, {0, 0, 540, 402}, 0, 344, 316};
const disposicion_grafico GRAFICO_POLINOMIO = {41, 363, 41, 491, {0, 0, 540, 400}, {1, 1, 539, 399}, 0, 344, 316};

static const int LARGO_MARCA = 10;        /* ticks of both axes */
/* Axis labels: "Longitud" with its foot 2 px above the length axis, "Edad"
   4 px past the age axis; the years' tops 12 px below the axis, the lengths
   ending 12 px left of it. */
static const int AIRE_LONGITUD = 2, AIRE_EDAD = 4;
static const int ROTULOS_ANOS_Y = 12, ROTULOS_LONGITUD_X = 12;
/* Radii of a point of the curve, of a fish's dot and of a class mean's; the
   legend's texts 10 px right of its dots, each 8 px above its dot's centre,
   the mean's dot 20 px below the fish's. */
static const int RADIO_CURVA = 1, RADIO_PEZ = 1, RADIO_MEDIA = 2;
static const int LEYENDA_TEXTO_X = 10, LEYENDA_TEXTO_Y = 8, LEYENDA_PASO = 20;
static const float PASO_CURVA = 0.1f;     /* years between plotted points */

/* Growth table: column rules, centres of the three columns, and where rows stop. */
static const int TABLA_BORDES[4] = {50, 165, 235, 385};
static const int TABLA_CENTROS[3] = {108, 200, 310};
static const int TABLA_ARRIBA = 80;
static const int TABLA_LIMITE = 354;      /* rows while their position r stays at or above it */
static const int AIRE_FILA = 10;          /* px a row is taller than the header font */
static const int TEXTO_FILA = 7;          /* px from a row's top rule down to its text */
/* The header's titles: their left edges, their top; the tilde of "anos" and
   the bar of a mean over the L, each a one-pixel line. */
static const int TITULOS_X[3] = {55, 175, 245};
static const int TITULOS_Y = 85;
static const int TILDE_Y = 89;
static const int BARRA_MEDIA_Y = 86, BARRA_MEDIA_LARGO = 8;
/* The page arrows under the table, pointing sideways: x of the base and of
   the tip of each, between the y of FLECHAS_Y (tip at the middle). */
static const int FLECHA_ATRAS_X[2] = {368, 358};
static const int FLECHA_ADELANTE_X[2] = {373, 383};
static const int FLECHAS_Y[2] = {432, 442};

BITMAP* lienzo_blanco(int ancho, int alto) {
  BITMAP* b = create_bitmap(ancho, alto);
  if (b) clear_to_color(b, blanco());
  return b;
}

void avisa_ajuste(BITMAP* b, int x, int y, int motivo, int minimo) {
  texto_centrado(b, FUENTE_CELDAS, x, y, rojo_aviso(), "%s", mensaje_ajuste(motivo, minimo));
}

/* ---- The graph ---- */

/* A position worked out in floating point, truncated towards zero. Values far
   off the page, and values that are no number at all, are pinned well
   outside it so the conversion to int stays defined. */
static int pixel(float v) {
  if (!(v > -30000.0f)) return -30000;
  if (v > 30000.0f) return 30000;
  return (int)v;
}

/* nclases as the horizontal scale sees it: a sample without classes still
   gets one year of axis. */
static int anos_eje(const muestra_crecimiento* m) { return m->nclases < 1 ? 1 : m->nclases; }

int tope_escala(const muestra_crecimiento* m, const curva_crecimiento* c, int desde) {
  float mayor = 0;
  for (int i = 0; i < m->nfish; i++)
    if (clase_valida(m, i) && m->longitudes[i] > mayor) mayor = m->longitudes[i];
  if (c->tipo != CURVA_NINGUNA)
    for (int edad = desde; edad <= m->nclases; edad++) {
      float v = curva_en(c, (float)edad);
      if (v > mayor) mayor = v;
    }
  if (mayor > ESCALA_TOPE_MAXIMO) return ESCALA_TOPE_MAXIMO;
  if (mayor <= 0) return 5;  // no step can be drawn from a top of 0
  double tope = ceil(mayor / 5.0) * 5;
  if (tope < mayor) tope += 5;
  return (int)tope;
}

int edades_curva(int nclases, float* t) {
  const float limite = (float)nclases + PASO_CURVA;
  int n = 0;
  for (float edad = 0; edad < limite && n < MAX_PUNTOS_CURVA; edad = edad + PASO_CURVA) t[n++] = edad;
  return n;
}

static void contorno_y_ejes(BITMAP* b, const disposicion_grafico* d) {
  const int* c1 = d->contorno1;
  const int* c2 = d->contorno2;
  if (d->panel) rectfill(b, c1[0], c1[1], c1[2], c1[3], blanco());
  rect(b, c1[0], c1[1], c1[2], c1[3], negro());
  rect(b, c2[0], c2[1], c2[2], c2[3], negro());
  line(b, d->ox, d->eje_arriba, d->ox, d->oy, negro());
  line(b, d->ox, d->oy, d->eje_fin, d->oy, negro());
  int h = alto(FUENTE_CELDAS);
  texto(b, FUENTE_CELDAS, d->ox - ancho(FUENTE_CELDAS, "Longitud") / 2,
        d->eje_arriba - AIRE_LONGITUD - h, negro(), "Longitud");
  texto(b, FUENTE_CELDAS, d->eje_fin + AIRE_EDAD, d->oy - h / 2, negro(), "Edad");
}

/* A tick per year; with many classes only every second, third... year is
   labelled, so that the labels stay legible. */
static void marcas_horizontales(BITMAP* b, const disposicion_grafico* d, int anos) {
  int s = ESCALA_HORIZONTAL / anos;
  char mayor[16];
  snprintf(mayor, sizeof mayor, "%d", anos);  // the widest label
  int salto = salto_rotulos(s, ancho(FUENTE_CELDAS, mayor));
  for (int i = 0; i <= anos; i++) {
    int x = d->ox + i * s;
    line(b, x, d->oy, x, d->oy + LARGO_MARCA, negro());
    if (i % salto == 0)
      texto_centrado(b, FUENTE_CELDAS, x, d->oy + ROTULOS_ANOS_Y, negro(), "%d", i);
  }
}

/* Ticks every 5 cm at the whole step d; with a top above 1500 cm d is 0 and
   the ticks would pile up on the origin, so at most one per pixel is drawn. */
static void marcas_verticales(BITMAP* b, const disposicion_grafico* d, int tope) {
  int paso = ESCALA_VERTICAL / (tope / 5);
  int h = alto(FUENTE_CELDAS);
  for (int j = 0; j * 5 <= tope && j <= ESCALA_VERTICAL; j++) {
    int y = d->oy - j * paso;
    line(b, d->ox - LARGO_MARCA, y, d->ox, y, negro());
    texto_derecha(b, FUENTE_CELDAS, d->ox - ROTULOS_LONGITUD_X, y - h / 2, negro(), "%d", j * 5);
  }
}

static void dibuja_curva(BITMAP* b, const disposicion_grafico* d, const muestra_crecimiento* m,
                         const curva_crecimiento* c, int tope) {
  float t[MAX_PUNTOS_CURVA];
  int x[MAX_PUNTOS_CURVA], y[MAX_PUNTOS_CURVA], visible[MAX_PUNTOS_CURVA];
  int anos = anos_eje(m);
  int n = edades_curva(anos, t);
  for (int j = 0; j < n; j++) {
    float v = curva_en(c, t[j]);
    visible[j] = v >= 0;  // also false for a value that is no number
    x[j] = pixel(d->ox + t[j] * ESCALA_HORIZONTAL / anos);
    y[j] = pixel(d->oy - v * ESCALA_VERTICAL / tope);
    if (visible[j]) circlefill(b, x[j], y[j], RADIO_CURVA, negro());
  }
  for (int j = 0; j + 1 < n; j++)
    if (visible[j]) line(b, x[j], y[j], x[j + 1], y[j + 1], rojo_aviso());
}

/* Every fish and every class mean at its class, shifted by the age of class 0+. */
static void dibuja_observados(BITMAP* b, const disposicion_grafico* d,
                              const muestra_crecimiento* m, int tope) {
  int anos = anos_eje(m);
  int s = ESCALA_HORIZONTAL / anos;
  float desplazamiento = m->edad0 * ESCALA_HORIZONTAL / anos;
  for (int i = 0; i < m->nfish; i++) {
    if (!clase_valida(m, i)) continue;
    int x = pixel(m->clases[i] * s + d->ox + desplazamiento);
    int y = pixel(d->oy - m->longitudes[i] * ESCALA_VERTICAL / tope);
    circlefill(b, x, y, RADIO_PEZ, azul_pez());
  }
  for (int i = 0; i < m->nclases; i++) {
    int x = pixel(i * s + d->ox + desplazamiento);
    circlefill(b, x, pixel(d->oy - m->medias[i] * ESCALA_VERTICAL / tope), RADIO_MEDIA,
               rojo_oscuro());
  }
}

static void leyenda(BITMAP* b, const disposicion_grafico* d) {
  int x = d->leyenda_x, y = d->leyenda_y;
  const int xt = x + LEYENDA_TEXTO_X, media_y = y + LEYENDA_PASO;
  circlefill(b, x, y, RADIO_PEZ, azul_pez());
  texto(b, FUENTE_CELDAS, xt, y - LEYENDA_TEXTO_Y, negro(), "Longitud observada");
  circlefill(b, x, media_y, RADIO_MEDIA, rojo_oscuro());
  texto(b, FUENTE_CELDAS, xt, media_y - LEYENDA_TEXTO_Y, negro(), "Media de la clase i");
}

void dibuja_grafico_crecimiento(BITMAP* b, const disposicion_grafico* d,
                                const muestra_crecimiento* m, const curva_crecimiento* c,
                                int desde) {
  int tope = tope_escala(m, c, desde);
  contorno_y_ejes(b, d);
  marcas_horizontales(b, d, anos_eje(m));
  marcas_verticales(b, d, tope);
  if (c->tipo != CURVA_NINGUNA) dibuja_curva(b, d, m, c, tope);
  dibuja_observados(b, d, m, tope);
  leyenda(b, d);
}

/* ---- The table ---- */

static void cabecera_tabla() {
  int h1 = alto(FUENTE_CABECERA);
  int abajo = TABLA_ARRIBA + h1 + AIRE_FILA;
  rectfill(screen, TABLA_BORDES[0], TABLA_ARRIBA, TABLA_BORDES[3], abajo, gris_cabecera());
  hline(screen, TABLA_BORDES[0], TABLA_ARRIBA, TABLA_BORDES[3], negro());
  hline(screen, TABLA_BORDES[0], abajo, TABLA_BORDES[3], negro());
  for (int x : TABLA_BORDES) vline(screen, x, TABLA_ARRIBA, abajo, negro());
  texto(screen, FUENTE_CABECERA, TITULOS_X[0], TITULOS_Y, negro(), "Edad (anos)");
  // the tilde the font lacks ("años"), placed over the n whatever the font's widths
  int n_x = TITULOS_X[0] + ancho(FUENTE_CABECERA, "Edad (a");
  hline(screen, n_x, TILDE_Y, n_x + ancho(FUENTE_CABECERA, "n") - 1, negro());
  texto(screen, FUENTE_CABECERA, TITULOS_X[1], TITULOS_Y, negro(), "L (cm)");
  hline(screen, TITULOS_X[1], BARRA_MEDIA_Y, TITULOS_X[1] + BARRA_MEDIA_LARGO - 1, negro());
  texto(screen, FUENTE_CABECERA, TITULOS_X[2], TITULOS_Y, negro(), "L. estimada (cm)");
}

static void fila_tabla(const muestra_crecimiento* m, const curva_crecimiento* c, int clase, int r) {
  int h1 = alto(FUENTE_CABECERA);
  int x1 = TABLA_BORDES[0], x2 = TABLA_BORDES[3];
  // r: how far the row's bottom rule lies below the table's top
  int abajo = TABLA_ARRIBA + r, arriba = abajo - (h1 + AIRE_FILA);
  rectfill(screen, x1, arriba + 1, x2, abajo, blanco());
  hline(screen, x1, abajo, x2, negro());
  for (int x : TABLA_BORDES) vline(screen, x, arriba, abajo, negro());
  int y = arriba + TEXTO_FILA;
  float edad = clase + m->edad0;
  texto_centrado(screen, FUENTE_CELDAS, TABLA_CENTROS[0], y, negro(), "%.2f", edad);
  char media[TEXTO_CELDA];
  texto_centrado(screen, FUENTE_CELDAS, TABLA_CENTROS[1], y, negro(), "%s",
                 numero_o_guion(media, TEXTO_CELDA, "%.2f", m->medias[clase]));
  float estimada = curva_en(c, edad);
  if (c->tipo != CURVA_NINGUNA && std::isfinite(estimada))
    texto_centrado(screen, FUENTE_CELDAS, TABLA_CENTROS[2], y, negro(), "%.2f", estimada);
  else
    texto_centrado(screen, FUENTE_CELDAS, TABLA_CENTROS[2], y, negro(), "-");
}

/* A page arrow, black while there is a page that way, else the page's grey. */
static void flecha_lado(const int* x, int visible) {
  int punta_y = (FLECHAS_Y[0] + FLECHAS_Y[1]) / 2;
  triangle(screen, x[0], FLECHAS_Y[0], x[0], FLECHAS_Y[1], x[1], punta_y,
           visible ? negro() : gris_pagina());
}

int dibuja_tabla_crecimiento(const muestra_crecimiento* m, const curva_crecimiento* c, int inicio) {
  int h1 = alto(FUENTE_CABECERA);
  int s = inicio < 0 ? 0 : inicio;
  cabecera_tabla();
  const int fila = h1 + AIRE_FILA;
  for (int r = 2 * fila; r <= TABLA_LIMITE && s < m->nclases; r += fila, s++)
    fila_tabla(m, c, s, r);
  flecha_lado(FLECHA_ADELANTE_X, s < m->nclases);
  flecha_lado(FLECHA_ATRAS_X, s > TABLA_CRECIMIENTO_PAGINA);
  return s;
}

int desplaza_tabla_crecimiento(int tecla, int fin, int nclases) {
  const int p = TABLA_CRECIMIENTO_PAGINA;
  if (tecla == TECLA_IZQUIERDA) {
    int s = fin - (p + 1);
    return s <= 0 ? 0 : s;
  }
  int s = fin == nclases ? fin - p : fin - (p - 1);  // the last page does not move
  return s < 0 ? 0 : s;
}

/* The growth table on its way through recorre_pagina. */
struct vista_crecimiento {
  const muestra_crecimiento* m;
  const curva_crecimiento* c;
  int y_borrado;
};

static int pagina_crecimiento(const void* datos, int inicio) {
  const vista_crecimiento* v = (const vista_crecimiento*)datos;
  return dibuja_tabla_crecimiento(v->m, v->c, inicio);
}

static int paso_crecimiento(const void* datos, int tecla, int, int fin) {
  return desplaza_tabla_crecimiento(tecla, fin, ((const vista_crecimiento*)datos)->m->nclases);
}

/* Every key erases the table: it is drawn again, or the page moves on. */
static void borra_tabla_crecimiento(const void* datos) {
  int y = ((const vista_crecimiento*)datos)->y_borrado;
  rectfill(screen, TABLA_BORDES[0], TABLA_ARRIBA, TABLA_BORDES[3], y, gris_pagina());
}

void recorre_tabla_crecimiento(const muestra_crecimiento* m, const curva_crecimiento* c,
                               int y_borrado) {
  vista_crecimiento v = {m, c, y_borrado};
  pagina_desplazable p = {pagina_crecimiento, paso_crecimiento, &v, TECLA_IZQUIERDA,
                          TECLA_DERECHA, borra_tabla_crecimiento};
  recorre_pagina(&p);
}
