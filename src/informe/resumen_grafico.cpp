// The season's picture: one horizontal bar per reach, its estimated density
// per m2, with the 95 % interval as an error bar; reach names along the
// vertical axis. Drawn like the report's graphs: white panel with a double
// outline, black axes and ticks, the program's fonts and colours.
#include <cmath>
#include <initializer_list>
#include <cstdio>
#include <cstring>

#include "resumen.h"
#include "shell.h"

static const int ANCHO = 800;
static const int X_EJE = 230;        /* the vertical axis: names end left of it */
static const int X_FIN = 760;        /* right end of the density axis */
static const int ARRIBA = 56;        /* first row's top, under the title */
static const int PASO_FILA = 18;     /* pixels per reach */
static const int ABAJO = 64;         /* under the last row: ticks, their figures, the axis title */
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

static void dibuja_marco(BITMAP* b, int alto_imagen) {
  clear_to_color(b, blanco());
  rect(b, 0, 0, ANCHO - 1, alto_imagen - 1, negro());
  rect(b, 1, 1, ANCHO - 2, alto_imagen - 2, negro());
  texto_centrado(b, FUENTE_CABECERA, ANCHO / 2, 16, negro(),
                 "Densidad estimada (peces/m2) e intervalo del 95%%");
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

BITMAP* grafico_resumen(const resumen_campana* r) {
  int alto_imagen = ARRIBA + r->ngrafico * PASO_FILA + ABAJO;
  BITMAP* b = create_bitmap(ANCHO, alto_imagen);
  if (!b) return nullptr;
  float paso = paso_escala(mayor_superior(r));
  int divisiones = (int)ceil(mayor_superior(r) / paso);
  if (divisiones < 1) divisiones = 1;
  float tope = paso * divisiones;
  dibuja_marco(b, alto_imagen);
  int y_eje = ARRIBA + r->ngrafico * PASO_FILA;
  for (int i = 0; i < r->ngrafico; i++)
    dibuja_tramo(b, &r->grafico[i], ARRIBA + i * PASO_FILA + PASO_FILA / 2, tope);
  dibuja_eje(b, y_eje, paso, divisiones);
  return b;
}
