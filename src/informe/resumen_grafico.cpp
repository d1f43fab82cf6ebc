// The season's picture: one horizontal bar per reach, its estimated density
// per m2, with the 95 % interval as an error bar; reach names along the
// vertical axis. Drawn like the report's graphs: white panel with a double
// outline, black axes and ticks, the program's fonts and colours. A season
// of many reaches, or of several species, is drawn in pages: each says
// which reaches it holds, and all share one scale, so that bars on
// different pages compare as on one.
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <cstdio>
#include <cstring>

#include "resumen.h"
#include "shell.h"

static const int ANCHO = 800;
static const int X_EJE = 230;        /* the vertical axis: names end left of it */
static const int X_FIN = 760;        /* right end of the density axis */
static const int ARRIBA = 72;        /* first row's top, under the title and the reaches it holds */
static const int PASO_FILA = 18;     /* pixels per reach */
static const int ABAJO = 96;         /* under the last row: ticks, their figures, the axis title, the legend */
static const int LARGO_MARCA = 6;
static const int ALTO_BARRA = 10;
static const int DIVISIONES = 5;     /* ticks of the density axis, at least */

/* The first 1, 2 or 5 times a power of ten that makes the axis reach tope
   in about DIVISIONES steps. */
static float paso_escala(float tope) {
  if (!(tope > 0)) return 1;
  float bruto = tope / DIVISIONES;
  float potencia = (float)pow(10, floor(log10(bruto)));
  for (float m : {1.0f, 2.0f, 5.0f, 10.0f})
    if (m * potencia >= bruto) return m * potencia;
  return 10 * potencia;
}

static float mayor_superior(const resumen_campana* r) {
  float mayor = 0;
  for (int i = 0; i < r->ngrafico; i++)
    if (r->grafico[i].hay && r->grafico[i].superior > mayor) mayor = r->grafico[i].superior;
  return mayor;
}

/* The frame, the title, and the line saying which reaches the page holds. */
static void dibuja_marco(BITMAP* b, int alto_imagen, const char* especie, const pagina_resumen* p) {
  clear_to_color(b, blanco());
  rect(b, 0, 0, ANCHO - 1, alto_imagen - 1, negro());
  rect(b, 1, 1, ANCHO - 2, alto_imagen - 2, negro());
  texto_centrado(b, FUENTE_CABECERA, ANCHO / 2, 16, negro(),
                 "Densidad estimada (peces/m2) e intervalo del 95%%");
  char tramos[64], pagina[32] = "";
  if (p->n == 1)
    snprintf(tramos, sizeof tramos, "tramo %d de %d", p->primera + 1, p->total);
  else
    snprintf(tramos, sizeof tramos, "tramos %d a %d de %d", p->primera + 1, p->primera + p->n, p->total);
  if (p->de > 1) snprintf(pagina, sizeof pagina, "; p\xE1gina %d de %d", p->numero, p->de);
  char linea[sizeof tramos + sizeof pagina + 64];
  snprintf(linea, sizeof linea, "%s%s%s%s", especie, especie[0] ? ": " : "", tramos, pagina);
  if (!especie[0]) linea[0] = (char)toupper((unsigned char)linea[0]);
  texto_centrado(b, FUENTE_CELDAS, ANCHO / 2, 16 + alto(FUENTE_CABECERA) + 8, negro(), "%s", linea);
}

/* What the bars' colours and marks mean, in a row across the page at y. */
static void dibuja_leyenda(BITMAP* b, int y) {
  int h = alto(FUENTE_CELDAS), x = 24;
  const struct {
    int color;  /* of the sample bar, -1: a "-" in its place */
    const char* texto;
  } PIEZAS[3] = {{rojo_mensaje(), "estimada, con su intervalo del 95%"},
                 {amarillo_campo(), "sin estimaci\xF3n: la captura"},
                 {-1, "sin densidad"}};
  for (const auto& pieza : PIEZAS) {
    if (pieza.color < 0) {
      texto(b, FUENTE_CELDAS, x + 6, y - h / 2, negro(), "-");
    } else {
      rectfill(b, x, y - ALTO_BARRA / 2, x + 20, y + ALTO_BARRA / 2, pieza.color);
      rect(b, x, y - ALTO_BARRA / 2, x + 20, y + ALTO_BARRA / 2, negro());
    }
    texto(b, FUENTE_CELDAS, x + 28, y - h / 2, negro(), "%s", pieza.texto);
    x += 28 + ancho(FUENTE_CELDAS, pieza.texto) + 24;
  }
}

static void dibuja_eje(BITMAP* b, int y_eje, float paso, int divisiones) {
  int h = alto(FUENTE_CELDAS);
  line(b, X_EJE, ARRIBA - 6, X_EJE, y_eje, negro());
  line(b, X_EJE, y_eje, X_FIN, y_eje, negro());
  for (int i = 0; i <= divisiones; i++) {
    int x = X_EJE + (X_FIN - X_EJE) * i / divisiones;
    line(b, x, y_eje, x, y_eje + LARGO_MARCA, negro());
    texto_centrado(b, FUENTE_CELDAS, x, y_eje + LARGO_MARCA + 2, negro(), "%g", paso * i);
  }
  texto_centrado(b, FUENTE_CELDAS, (X_EJE + X_FIN) / 2, y_eje + LARGO_MARCA + h + 10, negro(),
                 "Peces por m2");
}

static int x_de(float valor, float tope) {
  float x = X_EJE + (X_FIN - X_EJE) * valor / tope;
  return (int)(x > X_FIN ? X_FIN : x);
}

/* A reach's row: its name, then its bar and interval, or "-" without density. */
static void dibuja_tramo(BITMAP* b, const barra_resumen* t, int y, float tope) {
  int h = alto(FUENTE_CELDAS);
  char nombre[sizeof t->nombre];
  snprintf(nombre, sizeof nombre, "%s", t->nombre);
  while (nombre[0] && ancho(FUENTE_CELDAS, nombre) > X_EJE - 16) nombre[strlen(nombre) - 1] = 0;
  texto_derecha(b, FUENTE_CELDAS, X_EJE - 8, y - h / 2, negro(), "%s", nombre);
  if (!t->hay) {
    texto(b, FUENTE_CELDAS, X_EJE + 6, y - h / 2, negro(), "-");
    return;
  }
  int x = x_de(t->densidad, tope);
  rectfill(b, X_EJE, y - ALTO_BARRA / 2, x, y + ALTO_BARRA / 2,
           t->estimada ? rojo_mensaje() : amarillo_campo());
  rect(b, X_EJE, y - ALTO_BARRA / 2, x, y + ALTO_BARRA / 2, negro());
  if (!t->estimada) return;  // the catch stands in: it has no interval
  int xi = x_de(t->inferior, tope), xs = x_de(t->superior, tope);
  line(b, xi, y, xs, y, negro());
  line(b, xi, y - 4, xi, y + 4, negro());
  line(b, xs, y - 4, xs, y + 4, negro());
}

/* grupos[i] is not among the groups before it. */
static int es_nuevo(const int* grupos, int i) {
  for (int j = 0; j < i; j++)
    if (grupos[j] == grupos[i]) return 0;
  return 1;
}

int paginas_resumen(const int* grupos, int n, pagina_resumen* paginas, int max) {
  int npaginas = 0;
  for (int i = 0; i < n; i++) {
    if (!es_nuevo(grupos, i)) continue;
    int total = 0;
    for (int j = i; j < n; j++) total += grupos[j] == grupos[i];
    int de = (total + TRAMOS_POR_PAGINA - 1) / TRAMOS_POR_PAGINA;
    for (int k = 0; k < de; k++, npaginas++) {
      if (npaginas >= max) continue;
      pagina_resumen* p = &paginas[npaginas];
      p->grupo = grupos[i];
      p->primera = (k * total + de - 1) / de;  // the first pages take the odd reaches
      p->n = ((k + 1) * total + de - 1) / de - p->primera;
      p->total = total, p->numero = k + 1, p->de = de;
    }
  }
  return npaginas;
}

BITMAP* grafico_resumen(const resumen_campana* r, const pagina_resumen* p) {
  int alto_imagen = ARRIBA + p->n * PASO_FILA + ABAJO;
  BITMAP* b = create_bitmap(ANCHO, alto_imagen);
  if (!b) return nullptr;
  float paso = paso_escala(mayor_superior(r));
  int divisiones = (int)ceil(mayor_superior(r) / paso);
  if (divisiones < 1) divisiones = 1;
  float tope = paso * divisiones;
  const char* especie = "";
  for (int i = r->ngrafico - 1; i >= 0; i--)  // the species of the group's first reach
    if (r->grafico[i].grupo == p->grupo) especie = r->grafico[i].especie;
  dibuja_marco(b, alto_imagen, especie, p);
  int fila = 0, del_grupo = 0;
  for (int i = 0; i < r->ngrafico && fila < p->n; i++) {
    const barra_resumen* t = &r->grafico[i];
    if (t->grupo == p->grupo && del_grupo++ >= p->primera)
      dibuja_tramo(b, t, ARRIBA + fila++ * PASO_FILA + PASO_FILA / 2, tope);
  }
  int y_eje = ARRIBA + p->n * PASO_FILA, h = alto(FUENTE_CELDAS);
  dibuja_eje(b, y_eje, paso, divisiones);
  dibuja_leyenda(b, y_eje + LARGO_MARCA + 2 * h + 30);
  return b;
}
