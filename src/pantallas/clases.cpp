// Age classes from length intervals: a length histogram whose bin width the
// user chooses, the upper limit of each class typed over it with a marker,
// then a review of the intervals and of the fish with the classes they got.
#include <cmath>

#include "pantallas.h"
#include "sample.h"
#include "shell.h"

static const char TITULO_CLASES[] = "Clases de edad";
static const int MAX_BINS = 100;
/* The histogram: a 390 x 200 picture shown at (70, 70); its axes meet at (30, 170). */
static const int HIST_X = 70, HIST_Y = 70, HIST_ANCHO = 390, HIST_ALTO = 200;
static const int EJE_X0 = 30, EJE_Y0 = 170, LARGO_X = 330, LARGO_Y = 140;
/* The interval table: rules at x = 70, 170, 315, 460; its header's top line at y = 330. */
static const int TABLA_Y = 330;
static const int REGLAS[4] = {70, 170, 315, 460};
static const int X_CLASE = 120, X_INFERIOR = 247, X_SUPERIOR = 392;
static const int FILAS_ENTRADA = 6;  // rows below the header while entering, current one included
static const int FILAS_REPASO = 6;
/* The bin-width control between its arrows, gone once the width is chosen. */
static const int CONTROL_ANCHO[4] = {405, 274, 465, 291};
/* The length axis's labels lie this far below the histogram's top; a limit
   marker leaves a pixel of air above and below them so they stay legible. */
static const int Y_ROTULOS_L = 175;
static const int MARCA_Y1 = 80, MARCA_Y2 = 260;
/* In the histogram: the foot of "Fr" above the frequency axis, the left of
   "L" past the length axis, the right edge of the frequency labels, the
   length of the ticks of both axes. */
static const int ROTULO_FR_Y = 28, ROTULO_L_X = 370, ROTULOS_FR_DERECHA = 23;
static const int LARGO_MARCA = 5;
/* A bar's top is reckoned from y 270 and raised 100 px to the axis at 170:
   kept in that order, since the float rounds as it always has. */
static const int PIE_BARRAS = 270, SUBE_BARRAS = 100;
/* The bin-width control: the width centred on x 435 with its top at 277, in
   a cell 421..449 x 274..291, between arrows from their base to their tip
   (x), between y 280 and 290. */
static const int CELDA_ANCHO[4] = {421, 274, 449, 291};
static const int ANCHO_X = 435, ANCHO_Y = 277;
static const int FLECHA_MENOS_X[2] = {420, 410}, FLECHA_MAS_X[2] = {450, 460};
static const int FLECHAS_ANCHO_Y[2] = {280, 290};
/* Rows of the interval table: AIRE_FILA px taller than the header font,
   their text TEXTO_FILA px below their top rule; the prompt's top line
   above the table at PIDE_Y minus a row; the rows' white area, when they
   scroll, down to FONDO_FILAS. */
static const int AIRE_FILA = 10, TEXTO_FILA = 5;
static const int PIDE_Y = 320;
static const int FONDO_FILAS = 533;
/* The notes box right of the page's centre, NOTAS_ANCHO wide from y 388 to
   488: its lines from y 400 every 20 px, the restart hint at 500 under it;
   the class messages in a strip from y 515 (text at 520) inside its width. */
static const int NOTAS_ANCHO = 400, NOTAS_ARRIBA = 388, NOTAS_ABAJO = 488;
static const int NOTAS_Y = 400, NOTAS_PASO = 20, REINICIO_Y = 500;
static const char* const NOTAS[4] = {"Recuerde que insertar una clase inexistente",
                                     "es tan facil como insertar el intervalo",
                                     "inferior de la clase inmediatamente superior", " menos 0.01"};
static const int MENSAJE_ARRIBA = 515, MENSAJE_Y = 520, MENSAJE_AIRE = 8;
/* What a restart erases under the histogram, and the bottom of what the
   review erases of the notes. */
static const int BORRA_INTERVALOS[4] = {70, 360, 470, 550};
static const int NOTAS_BORRADO_ABAJO = 550;
/* The review's arrows at x 470, 5 px to each side: up with its tip at 505
   and base at 515, down with tip at 530 and base at 520; its hint centred
   on (265, 542); the fish review's hint centred on (715, 542). */
static const int REPASO_FLECHA_X = 470, REPASO_FLECHA_MEDIO = 5;
static const int SUBE_Y[2] = {505, 515}, BAJA_Y[2] = {530, 520};
static const int CONTINUAR_X = 265, CONTINUAR_Y = 542, CONTINUAR_PECES_X = 715;

/* The length histogram for one bin width. */
struct histograma {
  float w;                 // bin width, cm
  float frec[MAX_BINS];    // share of the fish in each bin
  float fmax;              // largest share
  float borde;             // upper edge of the last bin
  int nbins;
  int completo;            // every fish fell in a bin
};

/* Bins [E - 0.001, E + w - 0.001) from E = 0 until every fish is counted.
   Also stops at the room of the histogram, or past the longest fish (a fish
   lost between two float edges must not keep the count going for ever). */
static void cuenta_bins(const float* longitudes, int n, float lmax, float w, histograma* h) {
  float e = 0;
  int contados = 0, b = 0;
  h->w = w;
  h->fmax = 0;
  while (contados < n && b < MAX_BINS && e - 0.001 <= lmax) {
    int cuenta = 0;
    for (int i = 0; i < n; i++)
      if (e - 0.001 <= longitudes[i] && longitudes[i] < e + w - 0.001) cuenta++;
    h->frec[b] = (float)cuenta / n;
    if (h->frec[b] > h->fmax) h->fmax = h->frec[b];
    contados += cuenta;
    e = (float)(e + w);
    b++;
  }
  h->nbins = b;
  h->borde = e;
  h->completo = contados >= n;
}

/* The narrowest bin width, in tenths of a cm from 1.0, whose bins hold the
   whole sample within the histogram's room. */
static float ancho_minimo(const float* longitudes, int n, float lmax) {
  float w = 1.0f;
  if (lmax + 0.001 >= MAX_BINS * w - 0.001) w = (float)(ceil((lmax + 0.002) / MAX_BINS * 10) / 10);
  histograma h;
  for (int intento = 0; intento < 1000; intento++) {
    cuenta_bins(longitudes, n, lmax, w, &h);
    if (h.completo) break;
    float mas = (float)(w + 0.1);
    w = mas > w ? mas : w * 1.001f;  // a tenth is lost on a huge width
  }
  return w;
}

/* ---- Stage 1: the histogram ---- */

static void ejes(BITMAP* b) {
  int h3 = alto(FUENTE_PEQUENA);
  rectfill(b, 0, 0, HIST_ANCHO, HIST_ALTO, blanco());
  rect(b, 0, 0, HIST_ANCHO - 1, HIST_ALTO - 1, negro());
  rect(b, 1, 1, HIST_ANCHO - 2, HIST_ALTO - 2, negro());
  line(b, EJE_X0, EJE_Y0 - LARGO_Y, EJE_X0, EJE_Y0, negro());
  line(b, EJE_X0, EJE_Y0, EJE_X0 + LARGO_X, EJE_Y0, negro());
  texto_centrado(b, FUENTE_PEQUENA, EJE_X0, ROTULO_FR_Y - h3, negro(), "Fr");
  texto(b, FUENTE_PEQUENA, ROTULO_L_X, EJE_Y0 - h3 / 2, negro(), "L");
}

/* Ticks of the length axis, one per bin, and three labels; returns the bin width in pixels. */
static int eje_longitud(BITMAP* b, const histograma* h) {
  float bins = h->borde / h->w;
  int a = bins >= 1 ? (int)(LARGO_X / bins) : LARGO_X;
  float e = 0;
  int t = 0;
  for (; t <= LARGO_X; t += a) {
    line(b, EJE_X0 + t, EJE_Y0, EJE_X0 + t, EJE_Y0 + LARGO_MARCA, negro());
    e = (float)(e + h->w);
  }
  float ultimo = e - h->w;
  // widths near the top of single precision run the last tick past it; two
  // thirds are taken in double, as twice an edge that fits may not (the
  // quotient is the same float)
  char marca[TEXTO_CELDA];
  texto_centrado(b, FUENTE_PEQUENA, (t - a) / 3 + EJE_X0, Y_ROTULOS_L, negro(), "%s",
                 numero_o_guion(marca, TEXTO_CELDA, "%.1f", ultimo / 3));
  texto_centrado(b, FUENTE_PEQUENA, 2 * (t - a) / 3 + EJE_X0, Y_ROTULOS_L, negro(), "%s",
                 numero_o_guion(marca, TEXTO_CELDA, "%.1f", (float)(2.0 * ultimo / 3)));
  texto_centrado(b, FUENTE_PEQUENA, t - a + EJE_X0, Y_ROTULOS_L, negro(), "%s",
                 numero_o_guion(marca, TEXTO_CELDA, "%.1f", ultimo));
  return a;
}

/* The frequency axis in steps of 0.1 up to the first step at or above the
   tallest bin; gives the pixels per step, the steps and the top label. */
static void eje_frecuencia(BITMAP* b, float fmax, int* p, float* pasos, float* tope) {
  int h3 = alto(FUENTE_PEQUENA);
  float ytop = 0;
  while (fmax > ytop) ytop = (float)(ytop + 0.1);
  *pasos = (float)(ytop / 0.1);
  *p = *pasos >= 1 ? (int)(LARGO_Y / *pasos) : LARGO_Y;
  float valor = 0;
  for (int y = 0; y <= LARGO_Y; y += *p) {
    line(b, EJE_X0, EJE_Y0 - y, EJE_X0 - LARGO_MARCA, EJE_Y0 - y, negro());
    texto_derecha(b, FUENTE_PEQUENA, ROTULOS_FR_DERECHA, EJE_Y0 - y - h3 / 2, negro(), "%.1f",
                  valor);
    *tope = valor;
    valor = (float)(valor + 0.1);
  }
}

static void dibuja_histograma(BITMAP* b, const histograma* h, float* escala) {
  ejes(b);
  int a = eje_longitud(b, h);
  int p;
  float pasos, tope;
  eje_frecuencia(b, h->fmax, &p, &pasos, &tope);
  for (int i = 0; i < h->nbins; i++) {
    int arriba = (int)(PIE_BARRAS - p * pasos * h->frec[i] / tope) - SUBE_BARRAS;
    rectfill(b, a * i + EJE_X0, EJE_Y0, a * (i + 1) + EJE_X0, arriba, rojo_aviso());
    rect(b, a * i + EJE_X0, EJE_Y0, a * (i + 1) + EJE_X0, arriba, negro());
  }
  *escala = a / h->w;
}

/* An arrow of the bin-width control, x[0] its base and x[1] its tip. */
static void flecha_ancho(const int* x, int visible) {
  const int* y = FLECHAS_ANCHO_Y;
  int color = visible ? negro() : gris_pagina();
  triangle(screen, x[1], (y[0] + y[1]) / 2, x[0], y[0], x[0], y[1], color);
}
static void flecha_izquierda(int visible) { flecha_ancho(FLECHA_MENOS_X, visible); }
static void flecha_derecha(int visible) { flecha_ancho(FLECHA_MAS_X, visible); }

/* LEFT and RIGHT change the bin width until ENTER. Returns 0 on ESC, else 1
   with the screen's histogram and its pixels per cm. */
static int elige_ancho(BITMAP* hist, const float* longitudes, int n, float* escala) {
  const int teclas[] = {TECLA_IZQUIERDA, TECLA_DERECHA, TECLA_ESC};
  float lmax = longitud_mayor(longitudes, n), wmin = ancho_minimo(longitudes, n, lmax);
  float w = wmin;
  histograma h;
  flecha_derecha(1);
  for (;;) {
    cuenta_bins(longitudes, n, lmax, w, &h);
    dibuja_histograma(hist, &h, escala);
    blit(hist, screen, 0, 0, HIST_X, HIST_Y, HIST_ANCHO, HIST_ALTO);
    rectfill(screen, CELDA_ANCHO[0], CELDA_ANCHO[1], CELDA_ANCHO[2], CELDA_ANCHO[3], gris_pagina());
    texto_centrado(screen, FUENTE_PEQUENA, ANCHO_X, ANCHO_Y, negro(), "%.1f", w);
    int tecla = espera_tecla(teclas, 3);
    if (tecla == TECLA_ESC) {
      c_esc = TECLA_ESC;
      return 0;
    }
    if (es_enter(tecla)) {
      rectfill(screen, CONTROL_ANCHO[0], CONTROL_ANCHO[1], CONTROL_ANCHO[2], CONTROL_ANCHO[3],
               gris_pagina());
      return 1;
    }
    flecha_izquierda(1);
    flecha_derecha(1);
    if (tecla == TECLA_IZQUIERDA) {
      w = (float)(w - 0.1);
      if (w <= wmin + 0.001) {  // the tenths added and taken off do not come back exactly
        w = wmin;
        flecha_izquierda(0);
      }
    } else {
      w = (float)(w + 0.1);
      if (w > lmax + 0.001) flecha_derecha(0);
      if (w > lmax + 0.101) w = (float)(w - 0.1);
    }
  }
}

/* ---- Stage 2: the interval entry ---- */

static int paso_filas() { return alto(FUENTE_CABECERA) + AIRE_FILA; }

/* Fills the inside of a row of the interval table from rule `regla` to the last. */
static void fondo_fila(int regla, int y1, int y2, int color) {
  rectfill(screen, REGLAS[regla] + 1, y1, REGLAS[3] - 1, y2, color);
}

static void reglas_fila(int y1, int y2) {
  for (int x : REGLAS) vline(screen, x, y1, y2, negro());
  hline(screen, REGLAS[0], y2, REGLAS[3], negro());
}

static void cabecera_intervalos() {
  int t = paso_filas();
  texto(screen, FUENTE_CABECERA, REGLAS[0], PIDE_Y - t, negro(),
        "Inserte el valor superior del intervalo:");
  fondo_fila(0, TABLA_Y + 1, TABLA_Y + t - 1, gris_cabecera());
  hline(screen, REGLAS[0], TABLA_Y, REGLAS[3], negro());
  reglas_fila(TABLA_Y, TABLA_Y + t);
  int y = TABLA_Y + TEXTO_FILA;
  texto_centrado(screen, FUENTE_CABECERA, X_CLASE, y, negro(), "Clase");
  texto_centrado(screen, FUENTE_CABECERA, X_INFERIOR, y, negro(), "Inferior (cm)");
  texto_centrado(screen, FUENTE_CABECERA, X_SUPERIOR, y, negro(), "Superior (cm)");
}

static void notas() {
  int x = SCREEN_W / 2 + NOTAS_ANCHO / 2;
  for (int i = 0; i < 4; i++)
    texto_centrado(screen, FUENTE_CABECERA, x, NOTAS_Y + i * NOTAS_PASO, negro(), "%s", NOTAS[i]);
  rect(screen, SCREEN_W / 2, NOTAS_ARRIBA, SCREEN_W / 2 + NOTAS_ANCHO, NOTAS_ABAJO, rojo_mensaje());
  texto_centrado(screen, FUENTE_CELDAS, x, REINICIO_Y, rojo_mensaje(),
                 "<Pulse h para reiniciar la entrada de intervalos>");
}

/* Row p of the interval table shows class j (1-based): its label in the
   given format, its lower limit and, once entered, its upper limit. */
static void fila_intervalo(int p, int j, const float* limites, int completa, const char* etiqueta) {
  int t = paso_filas(), y = TABLA_Y + p * t;
  fondo_fila(0, y + 1, y + t - 1, blanco());
  reglas_fila(y, y + t);
  y += TEXTO_FILA;
  texto_centrado(screen, FUENTE_CELDAS, X_CLASE, y, negro(), etiqueta, j - 1);
  double inferior = j == 1 ? 0.0 : limites[j - 1] + 0.001;
  texto_centrado(screen, FUENTE_CELDAS, X_INFERIOR, y, negro(), "%.2f", inferior);
  if (completa) texto_centrado(screen, FUENTE_CELDAS, X_SUPERIOR, y, negro(), "%.2f", limites[j]);
}

/* The rows of the classes entered so far and of class k, the last five
   when there are more; returns the current row's position. */
static int filas_entrada(int k, const float* limites) {
  int t = paso_filas(), primera = 1;
  if (k >= FILAS_ENTRADA) {
    rectfill(screen, REGLAS[0], TABLA_Y + t + 1, REGLAS[3], FONDO_FILAS, blanco());
    primera = k - (FILAS_ENTRADA - 1);
  }
  for (int j = primera; j < k; j++) fila_intervalo(j - primera + 1, j, limites, 1, "+%d");
  fila_intervalo(k - primera + 1, k, limites, 0, "+%d");
  return k - primera + 1;
}

static const int LIMITE_ACEPTA = 0, LIMITE_REINICIA = 1, LIMITE_CANCELA = 2, LIMITE_SIGUE = 3;

/* Keys that end a class's entry: ENTER accepts, h restarts, ESC cancels
   (kept in c_esc); any other key lets the entry go on. */
static int fin_de_entrada(int tecla) {
  if (tecla == TECLA_ESC) {
    c_esc = TECLA_ESC;
    return LIMITE_CANCELA;
  }
  if (ascii(tecla) == 'h') return LIMITE_REINICIA;
  if (es_enter(tecla)) return LIMITE_ACEPTA;
  return LIMITE_SIGUE;
}

/* The blue marker of a value on the histogram's length axis, when it falls on it. */
static void marca(float valor, float escala) {
  float x = valor * escala + (HIST_X + EJE_X0);
  // the pixel column, truncated, must be at most 430: so x below 431; the
  // test also keeps a huge value from the int conversion
  if (!(x < HIST_X + EJE_X0 + LARGO_X + 1)) return;
  int xi = (int)x;
  int hueco1 = HIST_Y + Y_ROTULOS_L - 1, hueco2 = HIST_Y + Y_ROTULOS_L + alto(FUENTE_PEQUENA);
  for (int d = -1; d <= 1; d++) {
    vline(screen, xi + d, MARCA_Y1, hueco1 - 1, azul_entrada());
    vline(screen, xi + d, hueco2 + 1, MARCA_Y2, azul_entrada());
  }
}

/* The cell of table row p and the histogram's marker while a limit is typed. */
struct celda_limite {
  int p;
  float escala;
  BITMAP* marcas;
};

static void eco_limite(void* datos, const campo_numero* c, int tecla, int cambio) {
  const celda_limite* l = (const celda_limite*)datos;
  // the value shows from its first digit on; a point alone changes nothing seen
  if (cambio == NUMERO_IGNORADA || es_punto_decimal(tecla)) return;
  int t = paso_filas(), y = TABLA_Y + l->p * t;
  fondo_fila(2, y + 1, y + t - 1, blanco());
  if (cambio == NUMERO_CAMBIA)
    texto_centrado(screen, FUENTE_CELDAS, X_SUPERIOR, y + TEXTO_FILA, azul_entrada(),
                   numero_formato(c), c->valor);
  blit(l->marcas, screen, 0, 0, HIST_X, HIST_Y, HIST_ANCHO, HIST_ALTO);
  if (cambio == NUMERO_CAMBIA) marca(c->valor, l->escala);
}

/* Reads the upper limit of the class in row p into *valor. */
static int pide_limite(int p, float escala, BITMAP* marcas, float* valor) {
  celda_limite l = {p, escala, marcas};
  uso_numero u = {eco_limite, &l, 0, 'h', -1, nullptr};
  campo_numero c;
  int fin = lee_numero(&c, &u);
  if (fin == NUMERO_ESC) return LIMITE_CANCELA;
  if (fin == NUMERO_OTRA) return LIMITE_REINICIA;
  *valor = c.valor;
  return LIMITE_ACEPTA;
}

/* Gives class k - 1 to every fish in (limites[k - 1], limites[k]], or above
   limites[k - 1] when abierta; returns how many fish it gave it to. */
static int asigna(int* clases, const float* longitudes, int n, const float* limites, int k, int abierta) {
  float superior = abierta ? HUGE_VALF : limites[k];
  return asigna_intervalo(clases, longitudes, n, limites[k - 1], superior, k - 1);
}

static void mensaje_clases(const char* texto_mensaje) {
  int x = SCREEN_W / 2;
  rectfill(screen, x + 1, MENSAJE_ARRIBA, x + NOTAS_ANCHO - 1,
           MENSAJE_ARRIBA + alto(FUENTE_CELDAS) + MENSAJE_AIRE, gris_pagina());
  texto_centrado(screen, FUENTE_CELDAS, x + NOTAS_ANCHO / 2, MENSAJE_Y, rojo_mensaje(), "%s",
                 texto_mensaje);
}

/* The last class the estimator has room for takes every fish left; the
   user confirms with ENTER, or restarts with h, or leaves with ESC. */
static int ultima_clase(int k, float* limites, float lmax) {
  limites[k] = lmax;
  int p = filas_entrada(k, limites);
  fila_intervalo(p, k, limites, 1, "+%d");
  mensaje_clases("<Maximo de 99 clases: la ultima recoge los peces restantes>");
  for (;;) {
    int fin = fin_de_entrada(lee_tecla());
    if (fin != LIMITE_SIGUE) return fin;
  }
}

/* A restart: the histogram without markers and the limits table emptied. */
static void borra_intervalos(BITMAP* marcas, BITMAP* limpio) {
  blit(limpio, screen, 0, 0, HIST_X, HIST_Y, HIST_ANCHO, HIST_ALTO);
  blit(limpio, marcas, 0, 0, 0, 0, HIST_ANCHO, HIST_ALTO);
  const int* b = BORRA_INTERVALOS;
  rectfill(screen, b[0], b[1], b[2], b[3], gris_pagina());
}

/* The limit typed at table row p is not taken: its cell is emptied and the
   histogram loses its marker; `avisa` says why (not above the last limit). */
static void deja_limite(int p, int avisa, BITMAP* marcas) {
  int t = paso_filas();
  if (avisa) mensaje_clases("<Inserte un intervalo superior al anterior>");
  fondo_fila(2, TABLA_Y + p * t + 1, TABLA_Y + (p + 1) * t - 1, gris_pagina());
  blit(marcas, screen, 0, 0, HIST_X, HIST_Y, HIST_ANCHO, HIST_ALTO);
}

/* Asks for the classes' upper limits until every fish has a class; returns
   the number of classes, 0 on ESC. */
static int entra_intervalos(int* clases, const float* longitudes, int n, float escala,
                            BITMAP* marcas, BITMAP* limpio, float* limites) {
  blit(screen, marcas, HIST_X, HIST_Y, 0, 0, HIST_ANCHO, HIST_ALTO);
  blit(screen, limpio, HIST_X, HIST_Y, 0, 0, HIST_ANCHO, HIST_ALTO);
  cabecera_intervalos();
  notas();
  float lmax = longitud_mayor(longitudes, n);
  int asignados = 0, k = 1, respuesta = LIMITE_ACEPTA;
  limites[0] = 0;
  while (asignados < n) {
    if (respuesta == LIMITE_REINICIA) {
      borra_intervalos(marcas, limpio);
      asignados = 0;
      k = 1;
    }
    if (k == MAX_CLASES) {
      respuesta = ultima_clase(k, limites, lmax);
      if (respuesta == LIMITE_CANCELA) return 0;
      if (respuesta == LIMITE_REINICIA) continue;
      asigna(clases, longitudes, n, limites, k, 1);
      return k;
    }
    int p = filas_entrada(k, limites);
    float valor = 0;
    respuesta = pide_limite(p, escala, marcas, &valor);
    if (respuesta == LIMITE_CANCELA) return 0;
    if (respuesta == LIMITE_REINICIA || !(valor > limites[k - 1])) {
      deja_limite(p, respuesta != LIMITE_REINICIA, marcas);
      continue;
    }
    blit(screen, marcas, HIST_X, HIST_Y, 0, 0, HIST_ANCHO, HIST_ALTO);
    limites[k] = valor;
    asignados += asigna(clases, longitudes, n, limites, k, 0);
    k++;
  }
  return k - 1;
}

/* ---- Stages 3 and 4: the reviews ---- */

static void flechas_repaso(int arriba, int abajo) {
  const int x = REPASO_FLECHA_X, d = REPASO_FLECHA_MEDIO;
  const int sube = arriba ? negro() : gris_pagina(), baja = abajo ? negro() : gris_pagina();
  triangle(screen, x - d, SUBE_Y[1], x, SUBE_Y[0], x + d, SUBE_Y[1], sube);
  triangle(screen, x - d, BAJA_Y[1], x, BAJA_Y[0], x + d, BAJA_Y[1], baja);
}

/* The intervals on their way through recorre_pagina: rows from 1. */
struct repaso {
  int nclases, visibles;
  const float* limites;
};

static int pagina_repaso(const void* datos, int inicio) {
  const repaso* r = (const repaso*)datos;
  int primera = inicio + 1;
  flechas_repaso(primera > 1, primera + r->visibles - 1 < r->nclases);
  texto_centrado(screen, FUENTE_CELDAS, CONTINUAR_X, CONTINUAR_Y, rojo_aviso(),
                 "<Pulse ENTER para continuar>");
  for (int p = 1; p <= r->visibles; p++) fila_intervalo(p, primera + p - 1, r->limites, 1, "%d");
  return inicio + r->visibles;
}

static int paso_repaso(const void* datos, int tecla, int inicio, int) {
  const repaso* r = (const repaso*)datos;
  return desplaza_una_fila(tecla, inicio, r->visibles, r->nclases);
}

/* The intervals, six rows at a time, until ENTER; returns 1 when left with ESC. */
static int repasa_intervalos(int nclases, const float* limites) {
  rectfill(screen, SCREEN_W / 2, NOTAS_ARRIBA, SCREEN_W / 2 + NOTAS_ANCHO, NOTAS_BORRADO_ABAJO,
           gris_pagina());
  repaso r = {nclases, nclases <= FILAS_REPASO ? nclases : FILAS_REPASO, limites};
  pagina_desplazable p = {pagina_repaso, paso_repaso, &r, TECLA_ARRIBA, TECLA_ABAJO, nullptr};
  int esc = recorre_pagina(&p);
  flechas_repaso(0, 0);
  texto_centrado(screen, FUENTE_CELDAS, CONTINUAR_X, CONTINUAR_Y, gris_pagina(),
                 "<Pulse ENTER para continuar>");
  return esc;
}

static void repasa_peces(const int* clases, const float* longitudes, const int* pasadas, int n) {
  static const int columnas[3] = {COL_PASADA, COL_LONGITUD, COL_CLASE};
  tabla_muestra t = {3, {"Pasada", "Longitud (cm)", "Clase", ""},
                     {585, 715, 845, 0},       // centres of the columns
                     {520, 650, 780, 910, 0},  // rules
                     70,                       // top line
                     28,                       // header band's height
                     SCREEN_H - 130,           // grid drawn down to
                     SCREEN_H - 150,           // rows down to
                     15,                       // rows a page
                     920};                     // x of the scroll marks
  recorre_tabla_muestra(&t, columnas, n, pasadas, longitudes, nullptr, clases,
                        "<Pulse ENTER para continuar>", CONTINUAR_PECES_X, CONTINUAR_Y,
                        rojo_mensaje());
}

int clases_edad(int* clases, float* longitudes, int* pasadas, int n) {
  if (n <= 0) return 0;
  BITMAP* marcas = create_bitmap(HIST_ANCHO, HIST_ALTO);
  BITMAP* limpio = create_bitmap(HIST_ANCHO, HIST_ALTO);
  float limites[MAX_CLASES + 1], escala = 1;
  int nclases = 0;
  if (marcas && limpio) {
    marco(TITULO_CLASES);
    if (elige_ancho(marcas, longitudes, n, &escala))
      nclases = entra_intervalos(clases, longitudes, n, escala, marcas, limpio, limites);
    if (nclases > 0 && !repasa_intervalos(nclases, limites))
      repasa_peces(clases, longitudes, pasadas, n);
  }
  if (marcas) destroy_bitmap(marcas);
  if (limpio) destroy_bitmap(limpio);
  return nclases;
}
