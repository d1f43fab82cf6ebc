// Weight-length relationship: the least-squares fit of log10(Peso) on
// log10(Longitud) that gives Peso = a*Longitud^b, its r2 and the condition
// factor of the sample; the screen with the graph, the parameters and the
// fish table, and the same graph as a bitmap for the report.
#include <algorithm>
#include <cmath>
#include <vector>

#include "pantallas.h"
#include "shell.h"

/* ---- Layout: graph (screen coordinates; the bitmap moves them) ---- */
static const int ORIGEN_X = 457, ORIGEN_Y = 405;  /* axis origin on the screen */
static const int LARGO_EJE_L = 450;       /* the length axis runs past its last tick */
static const int ALTO_EJE_P = 302;        /* the weight axis runs past its last tick */
static const int PASO_MARCA_L = 110;      /* px between length ticks, 0..440 */
static const int PASO_MARCA_P = 75;       /* px between weight ticks, 0..300 */
static const int ESCALA_L = 440, ESCALA_P = 300; /* px spanned by Lx and Py */
static const int LARGO_MARCA = 10;
/* The small "3" of "gr/cm3" stands this far below the top of its label, and
   takes back the pixel of air a piece leaves, so it reads as an exponent. */
static const int EXPONENTE_DY = -1, AIRE_EXPONENTE = 1;
static const int NOMBRE_L_DX = 463;       /* "L" beyond the end of the length axis */
static const int NOMBRE_P_DY = 312;       /* "P" stands this far over the origin */
static const int DESPLAZA_PESADOS = 10;   /* wider weight labels when a fish passes... */
static const float UMBRAL_PESADOS = 1000; /* ...this many grams */
/* The graph moves further right when the widest weight label would come
   closer than this to the panel's outer edge, but never so far that "L"
   leaves the panel; weight labels that still do not fit drop their decimal,
   then take font 3. */
static const int AIRE_ETIQUETA_P = 6;
/* Outer outlines of the panel in screen coordinates; the image's panel ends
   two pixels further left than the screen's, and the room is taken from it. */
static const int PANEL_IZQUIERDA = 406, PANEL_DERECHA = 946;
static const float PASO_CURVA = 0.5f;     /* cm between curve samples */
static const int MAX_MUESTRAS_CURVA = 10000;
/* Pixel positions are truncated from floats; anything further off the target
   than this is held at the bound so that no out-of-range float reaches int. */
static const float LEJOS = 10000;

/* Where the graph lies on its target: the origin moved by (dx, dy) and the
   panel in the target's own coordinates. */
struct lienzo_grafico {
  int dx, dy;
  int x1, y1, x2, y2;          /* white panel and its first outline */
  int bx1, by1, bx2, by2;      /* second outline */
};
static const lienzo_grafico LIENZO_PANTALLA = {0, 0, 407, 53, 947, 455, 406, 54, 948, 454};
static const lienzo_grafico LIENZO_IMAGEN = {-406, -53, 0, 0, 540, 400, 1, 1, 539, 399};
static const int ANCHO_IMAGEN = 541, ALTO_IMAGEN = 510;

/* ---- Layout: fish table ---- */
static const int TABLA_Y = 80;
static const int TABLA_BORDES[4] = {58, 163, 248, 383};
static const int TABLA_CENTROS[3] = {110, 205, 315};
static const char* const TABLA_CABECERAS[3] = {"Long. (cm)", "Peso (g)", "P. estimado (g)"};
static const int FLECHAS_X = 393;

/* ---- Layout: parameters ---- */
/* On the screen the block's top sits PARAMETROS_BAJA px below the page's
   centre plus half of what the lower half leaves beyond PARAMETROS_ALTO px,
   so it stays under the graph however tall the window. "<Pulse ENTER ...>"
   stands on the line of r2, centred between the page's centre and
   VOLVER_MARGEN px from its right edge. */
static const int PARAMETROS_BAJA = 40, PARAMETROS_ALTO = 150;
static const int VOLVER_MARGEN = 100;
/* On the report's image, under the graph: the formula centred on
   IMAGEN_COLUMNAS_X[0], a and b (or FC alone after a message) starting under
   its left edge, r2 and FC as much further right as the second x is; then
   the tops of the formula, of the two lines, of the message and of FC alone. */
static const int IMAGEN_COLUMNAS_X[2] = {250, 330};
static const int IMAGEN_FORMULA_Y = 415, IMAGEN_LINEAS_Y[2] = {455, 475};
static const int IMAGEN_AVISO_Y = 450, IMAGEN_SOLO_FC_Y = 490;

struct escalas_biometria {
  float lx, py;    /* ends of the length and weight axes */
  float lmax;      /* largest length, where the curve is read for py */
  int g;           /* shift right for wide weight labels */
  int fuente_p;    /* font of the weight labels */
  const char* formato_p;  /* and their format */
};

/* a*L^b, the weight the relation gives to a fish of length L. */
static float prediccion(const biometria_muestra* f, float l) {
  return f->a * (float)std::pow((double)l, (double)f->b);
}

/* ---- Scales ---- */

/* The smallest multiple of 5 strictly above v, never below 5; v itself when
   it is too large for the next multiple to be told apart. */
static float multiplo_5_siguiente(float v) {
  if (!(v >= 0) || !std::isfinite(v)) return 5;
  float m = (float)((std::floor((double)v / 5) + 1) * 5);
  return std::isfinite(m) && m > v ? m : v;
}

static const char* etiqueta_peso(char* s, const escalas_biometria* e, int i) {
  // a sample near the top of single precision has tops no label can hold;
  // a quarter times i, not i times the top, so that a top that fits keeps
  // its number (the same float wherever i times the top also fits)
  return numero_o_guion(s, TEXTO_CELDA, e->formato_p, e->py / 4 * i);
}

/* Format, font and shift of the weight labels from their measured widths:
   the layout's labels where they fit, else without decimal, and only when
   that is not enough the graph moves right, then the labels take font 3. */
static void coloca_etiquetas_peso(escalas_biometria* e) {
  const int fuentes[3] = {FUENTE_CELDAS, FUENTE_CELDAS, FUENTE_PEQUENA};
  const char* const formatos[3] = {"%.1f", "%.0f", "%.0f"};
  const int sitio = ORIGEN_X - LARGO_MARCA - 2 - PANEL_IZQUIERDA - AIRE_ETIQUETA_P;
  int g_mayor = PANEL_DERECHA - AIRE_ETIQUETA_P - ORIGEN_X - NOMBRE_L_DX - ancho(FUENTE_CELDAS, "L");
  if (g_mayor < e->g) g_mayor = e->g;
  int falta[3];  /* px the widest label of each choice needs beyond the room */
  for (int k = 0; k < 3; k++) {
    e->fuente_p = fuentes[k];
    e->formato_p = formatos[k];
    int ancha = 0;
    for (int i = 0; i <= 4; i++) {
      char marca[TEXTO_CELDA];
      ancha = std::max(ancha, ancho(e->fuente_p, etiqueta_peso(marca, e, i)));
    }
    falta[k] = ancha - sitio;
  }
  int k = 0;
  if (falta[0] > e->g) k = 1;
  if (falta[1] > g_mayor) k = 2;
  e->fuente_p = fuentes[k];
  e->formato_p = formatos[k];
  e->g = std::min(g_mayor, std::max(e->g, falta[k]));
}

static escalas_biometria escalas(const float* longitudes, const float* pesos, int n,
                                 const biometria_muestra* f) {
  escalas_biometria e = {5, 5, 0, 0, FUENTE_CELDAS, "%.1f"};
  float peso_mayor = 0, peso_de_lmax = 0;
  int hay_lmax = 0;
  for (int i = 0; i < n; i++) {
    if (pesos[i] > peso_mayor) peso_mayor = pesos[i];
    if (!std::isfinite(longitudes[i])) continue;
    if (!hay_lmax || longitudes[i] > e.lmax) {  // the first of equal lengths stays
      e.lmax = longitudes[i];
      peso_de_lmax = pesos[i];
      hay_lmax = 1;
    }
  }
  e.lx = multiplo_5_siguiente(e.lmax);
  float tope = peso_de_lmax;
  if (f->existe) {
    float en_lmax = prediccion(f, e.lmax);
    if (std::isfinite(en_lmax) && en_lmax > peso_de_lmax) tope = en_lmax;
  }
  e.py = multiplo_5_siguiente(tope);
  e.g = peso_mayor > UMBRAL_PESADOS ? DESPLAZA_PESADOS : 0;
  coloca_etiquetas_peso(&e);
  return e;
}

/* ---- Graph ---- */

static int pixel(float v) {
  if (!(v > -LEJOS)) return (int)-LEJOS;
  if (v > LEJOS) return (int)LEJOS;
  return (int)v;
}

static int cerca(float v) { return v > -LEJOS && v < LEJOS; }

static void panel(BITMAP* b, const lienzo_grafico* z) {
  rectfill(b, z->x1, z->y1, z->x2, z->y2, blanco());
  rect(b, z->x1, z->y1, z->x2, z->y2, negro());
  rect(b, z->bx1, z->by1, z->bx2, z->by2, negro());
}

static void ejes(BITMAP* b, int ox, int oy, const escalas_biometria* e) {
  int h0 = alto(FUENTE_CELDAS);
  vline(b, ox, oy - ALTO_EJE_P, oy, negro());
  hline(b, ox, oy, ox + LARGO_EJE_L, negro());
  texto_centrado(b, FUENTE_CELDAS, ox, oy - NOMBRE_P_DY - h0, negro(), "P");
  texto(b, FUENTE_CELDAS, ox + NOMBRE_L_DX, oy - h0 / 2, negro(), "L");
  for (int i = 0; i <= 4; i++) {
    int x = ox + i * PASO_MARCA_L, y = oy - i * PASO_MARCA_P;
    vline(b, x, oy, oy + LARGO_MARCA, negro());
    char marca[TEXTO_CELDA];
    texto_centrado(b, FUENTE_CELDAS, x, oy + LARGO_MARCA + 2, negro(), "%s",
                   numero_o_guion(marca, TEXTO_CELDA, "%.1f", e->lx / 4 * i));
    hline(b, ox - LARGO_MARCA, y, ox, negro());
    texto_derecha(b, e->fuente_p, ox - LARGO_MARCA - 2, y - alto(e->fuente_p) / 2, negro(), "%s",
                  etiqueta_peso(marca, e, i));
  }
}

/* A fish below 0 in length or weight has no place on axes that start at 0. */
static void peces(BITMAP* b, int ox, int oy, const float* longitudes, const float* pesos,
                  int n, const escalas_biometria* e) {
  for (int i = 0; i < n; i++) {
    if (!(longitudes[i] >= 0 && pesos[i] >= 0)) continue;
    float x = ox + longitudes[i] * ESCALA_L / e->lx;
    float y = oy - pesos[i] * ESCALA_P / e->py;
    if (cerca(x) && cerca(y)) circlefill(b, (int)x, (int)y, 2, rojo_oscuro());
  }
}

struct muestra_curva {
  int x, y;   /* pixel, held within LEJOS */
  float yf;   /* row before truncation, to follow a segment that leaves far above */
};

/* The red segment from p to q; when q lies beyond the bound it is cut there
   along the same line, so the visible part keeps its slope. */
static void tramo(BITMAP* b, const muestra_curva* p, const muestra_curva* q) {
  int x2 = q->x, y2 = q->y;
  if (!(q->yf > -LEJOS)) {
    double t = (p->y + (double)LEJOS) / ((double)p->y - q->yf);
    if (!(t >= 0 && t <= 1)) t = 0;
    x2 = p->x + (int)((q->x - p->x) * t);
  }
  line(b, p->x, p->y, x2, y2, rojo_mensaje());
}

/* Samples every half centimetre up to Lx, stopping after the first whose
   weight passes the top of the weight axis. Returns how many. */
static int muestras_curva(const biometria_muestra* f, const escalas_biometria* e, int ox,
                          int oy, muestra_curva* m) {
  int cuantas = 0;
  float anterior = 0;
  for (int k = 0; cuantas < MAX_MUESTRAS_CURVA && anterior <= e->py; k++) {
    float l = k * PASO_CURVA;
    if (!(l <= e->lx)) break;
    float p = prediccion(f, l);
    float x = ox + l * ESCALA_L / e->lx, y = oy - p * ESCALA_P / e->py;
    m[cuantas++] = {pixel(x), pixel(y), y};
    anterior = p;
  }
  return cuantas;
}

static void curva(BITMAP* b, int ox, int oy, const biometria_muestra* f,
                  const escalas_biometria* e) {
  std::vector<muestra_curva> m(MAX_MUESTRAS_CURVA);  // each drawing its own: graphs may be drawn side by side
  int cuantas = muestras_curva(f, e, ox, oy, m.data());
  for (int i = 0; i < cuantas; i++)
    if (m[i].y >= 0) circlefill(b, m[i].x, m[i].y, 1, negro());
  for (int i = 0; i + 1 < cuantas; i++)
    if (m[i].y >= 0) tramo(b, &m[i], &m[i + 1]);
}

/* Panel, axes, fish and, when the fit has an answer, the curve: the same
   drawing on the screen and in the report's bitmap. */
static void dibuja_grafico(BITMAP* b, const lienzo_grafico* z, const float* longitudes,
                           const float* pesos, int n, const biometria_muestra* f,
                           const escalas_biometria* e) {
  int ox = ORIGEN_X + z->dx + e->g, oy = ORIGEN_Y + z->dy;
  panel(b, z);
  ejes(b, ox, oy, e);
  peces(b, ox, oy, longitudes, pesos, n, e);
  if (f->existe) curva(b, ox, oy, f, e);
}

/* ---- Parameter block ---- */

/* Places of the parameter block on its target (tops of the labels; each
   value follows its label). */
struct lugar_parametros {
  int formula_x, formula_y;      /* centre of "Peso=a*Longitud" */
  int a_x, a_y, b_x, b_y, r_x, r_y, fc_x, fc_y;
  int fc_fuente, fc_baja;        /* font of the FC value, px below its label */
  int con_unidad;                /* " gr/cm3" after FC */
  int aviso_y;                   /* first line of the message of a fit without answer */
  int solo_fc_x, solo_fc_y;      /* FC under that message */
};

static lugar_parametros lugar_pantalla() {
  int w = SCREEN_W, h = SCREEN_H, mitad = ancho(FUENTE_TITULO, "Peso=a*Longitud") / 2;
  int y0 = h / 2 + PARAMETROS_BAJA + (h / 2 - PARAMETROS_ALTO) / 2, x = w / 4 - mitad - 90;
  lugar_parametros l = {};
  l.formula_x = w / 4 - 90, l.formula_y = y0;
  l.a_x = x, l.a_y = y0 + 40;
  l.b_x = x, l.b_y = y0 + 60;
  l.r_x = x, l.r_y = y0 + 85;
  l.fc_x = w / 4 - mitad + 20, l.fc_y = y0 + 60;
  l.fc_fuente = FUENTE_CABECERA, l.fc_baja = 0, l.con_unidad = 1;
  l.aviso_y = y0 + 40, l.solo_fc_x = x, l.solo_fc_y = y0 + 85;
  return l;
}

static lugar_parametros lugar_imagen() {
  int mitad = ancho(FUENTE_TITULO, "Peso=a*Longitud") / 2;
  const int x1 = IMAGEN_COLUMNAS_X[0] - mitad, x2 = IMAGEN_COLUMNAS_X[1] - mitad;
  lugar_parametros l = {};
  l.formula_x = IMAGEN_COLUMNAS_X[0], l.formula_y = IMAGEN_FORMULA_Y;
  l.a_x = x1, l.a_y = IMAGEN_LINEAS_Y[0];
  l.b_x = x1, l.b_y = IMAGEN_LINEAS_Y[1];
  l.r_x = x2, l.r_y = IMAGEN_LINEAS_Y[0];
  l.fc_x = x2, l.fc_y = IMAGEN_LINEAS_Y[1];
  l.fc_fuente = FUENTE_CELDAS, l.fc_baja = 2, l.con_unidad = 0;
  l.aviso_y = IMAGEN_AVISO_Y, l.solo_fc_x = x1, l.solo_fc_y = IMAGEN_SOLO_FC_Y;
  return l;
}

static void formula(BITMAP* b, const lugar_parametros* l) {
  int len2 = ancho(FUENTE_TITULO, "Peso=a*Longitud");
  texto_centrado(b, FUENTE_TITULO, l->formula_x, l->formula_y, negro(), "Peso=a*Longitud");
  texto(b, FUENTE_CABECERA, l->formula_x + len2 / 2, l->formula_y - alto(FUENTE_TITULO) / 4,
        negro(), "b");
}

static void factor(BITMAP* b, const lugar_parametros* l, int x, int y, float fc) {
  int xv = x + ancho(FUENTE_CABECERA, "FC:");
  texto(b, FUENTE_CABECERA, x, y, negro(), "FC:");
  texto(b, l->fc_fuente, xv, y + l->fc_baja, negro(), " %.4f", fc);
  if (!l->con_unidad) return;
  int xu = xv + ancho(FUENTE_CABECERA, "0.0000") + 5;
  int fin = pieza(b, FUENTE_CABECERA, xu, y, 0, negro(), " gr/cm");
  pieza(b, FUENTE_PEQUENA, fin - AIRE_EXPONENTE, y + EXPONENTE_DY, fin, negro(), "3");
}

static void coeficientes(BITMAP* b, const lugar_parametros* l, const biometria_muestra* f) {
  texto(b, FUENTE_CABECERA, l->a_x, l->a_y, negro(), "a:");
  texto(b, FUENTE_CELDAS, l->a_x + ancho(FUENTE_CABECERA, "a:"), l->a_y + 2, negro(), " %.4f ", f->a);
  texto(b, FUENTE_CABECERA, l->b_x, l->b_y, negro(), "b:");
  texto(b, FUENTE_CELDAS, l->b_x + ancho(FUENTE_CABECERA, "b:"), l->b_y + 2, negro(), " %.4f", f->b);
  int fin = pieza(b, FUENTE_CABECERA, l->r_x, l->r_y, 0, negro(), "r");
  fin = pieza(b, FUENTE_CELDAS, l->r_x + ancho(FUENTE_CABECERA, "r"), l->r_y - 5, fin, negro(), "2");
  fin = pieza(b, FUENTE_CABECERA, l->r_x + ancho(FUENTE_CABECERA, "r "), l->r_y, fin, negro(), ":");
  pieza(b, FUENTE_CELDAS, l->r_x + ancho(FUENTE_CABECERA, "r :"), l->r_y + 2, fin, negro(), " %.3f", f->r2);
}

/* The formula, then either the coefficients or, when the fit has no answer,
   a red message with its reason (and the condition factor if it has one). */
static void dibuja_parametros(BITMAP* b, const lugar_parametros* l, const biometria_muestra* f) {
  formula(b, l);
  if (f->existe) {
    coeficientes(b, l, f);
    factor(b, l, l->fc_x, l->fc_y, f->fc);
    return;
  }
  int h0 = alto(FUENTE_CELDAS);
  texto_centrado(b, FUENTE_CELDAS, l->formula_x, l->aviso_y, rojo_mensaje(), "<Ajuste imposible:");
  texto_centrado(b, FUENTE_CELDAS, l->formula_x, l->aviso_y + h0 + 4, rojo_mensaje(), "%s",
                 motivo_biometria(f->causa));
  if (f->fc > 0) factor(b, l, l->solo_fc_x, l->solo_fc_y, f->fc);
}

/* ---- Fish table ---- */

static int paso_fila() { return alto(FUENTE_CABECERA) + 10; }

static void rejilla_peces() {
  int h1 = alto(FUENTE_CABECERA), p = paso_fila(), izq = TABLA_BORDES[0], der = TABLA_BORDES[3];
  int filas = 0;
  while ((filas + 1) * p < SCREEN_H / 2) filas++;
  rectfill(screen, izq, TABLA_Y, der, h1 + 90, gris_cabecera());
  rectfill(screen, izq + 1, TABLA_Y + p + 1, der - 1, TABLA_Y + filas * p - 1, blanco());
  for (int c = 0; c < 3; c++)
    texto_centrado(screen, FUENTE_CABECERA, TABLA_CENTROS[c], TABLA_Y + 5, negro(), "%s",
                   TABLA_CABECERAS[c]);
  for (int k = 0; k <= filas; k++) {
    hline(screen, izq, TABLA_Y + k * p, der, negro());
    for (int c = 0; k > 0 && c < 4; c++)
      vline(screen, TABLA_BORDES[c], TABLA_Y + (k - 1) * p, TABLA_Y + k * p, negro());
  }
}

static void celda(int c, int y, const char* fmt, float v) {
  rectfill(screen, TABLA_BORDES[c] + 1, y - 6, TABLA_BORDES[c + 1] - 1,
           y + alto(FUENTE_CABECERA) + 2, blanco());
  if (std::isfinite(v)) texto_centrado(screen, FUENTE_CELDAS, TABLA_CENTROS[c], y, negro(), fmt, v);
  else texto_centrado(screen, FUENTE_CELDAS, TABLA_CENTROS[c], y, negro(), "-");
}

/* Rows from fish `inicio` with the weight the relation predicts, and the
   scroll marks. Returns the index just past the last fish shown. */
static int pagina_peces(int inicio, const float* longitudes, const float* pesos, int n,
                        const biometria_muestra* f, int filas) {
  int h1 = alto(FUENTE_CABECERA), i = inicio;
  for (int k = 0; k < filas && i < n; k++, i++) {
    int y = h1 + 97 + k * paso_fila();
    float estimado = f->existe ? prediccion(f, longitudes[i]) : NAN;
    celda(0, y, "%.2f", longitudes[i]);
    celda(1, y, "%.2f", pesos[i]);
    celda(2, y, "%.2f", estimado);
  }
  int h = SCREEN_H;
  flecha_arriba(screen, FLECHAS_X, h / 2 + 45, h / 2 + 55, i > filas);
  flecha_abajo(screen, FLECHAS_X, h / 2 + 70, h / 2 + 60, i < n);
  return i;
}

/* Rows whose top stays above the lower edge of the table's body. */
static int filas_pagina() {
  int h1 = alto(FUENTE_CABECERA), filas = 0;
  while (h1 + 97 + filas * paso_fila() < SCREEN_H / 2 + 2 * h1 + 20) filas++;
  return filas;
}

/* Pages through the fish one row per arrow until ENTER or ESC. */
/* The fish table on its way through recorre_pagina. */
struct vista_peces {
  const float* longitudes;
  const float* pesos;
  int n;
  const biometria_muestra* f;
  int filas;
};

static int pagina_de_peces(const void* datos, int inicio) {
  const vista_peces* v = (const vista_peces*)datos;
  return pagina_peces(inicio, v->longitudes, v->pesos, v->n, v->f, v->filas);
}

/* DOWN keeps the last row of the page as the first of the next. */
static int paso_peces(const void* datos, int tecla, int inicio, int fin) {
  const vista_peces* v = (const vista_peces*)datos;
  if (tecla == TECLA_ABAJO && fin < v->n) return fin - (v->filas - 1);
  if (tecla == TECLA_ARRIBA) return fin - (v->filas + 1) < 0 ? 0 : fin - (v->filas + 1);
  return inicio;
}

static void recorre_peces(const float* longitudes, const float* pesos, int n,
                          const biometria_muestra* f) {
  vista_peces v = {longitudes, pesos, n, f, filas_pagina()};
  rejilla_peces();
  pagina_desplazable p = {pagina_de_peces, paso_peces, &v, TECLA_ARRIBA, TECLA_ABAJO, nullptr};
  recorre_pagina(&p);
}

/* ---- Screen and export ---- */

void relaciones_biometricas(float* longitudes, float* pesos, int n) {
  marco("Relaciones Biometricas");
  biometria_muestra f = calcula_biometria(longitudes, pesos, n);
  escalas_biometria e = escalas(longitudes, pesos, n, &f);
  dibuja_grafico(screen, &LIENZO_PANTALLA, longitudes, pesos, n, &f, &e);
  lugar_parametros l = lugar_pantalla();
  dibuja_parametros(screen, &l, &f);
  int x_volver = SCREEN_W / 2 + (SCREEN_W / 2 - VOLVER_MARGEN) / 2;
  texto_centrado(screen, FUENTE_CELDAS, x_volver, l.r_y, rojo_aviso(),
                 "<Pulse ENTER para volver al menu>");
  recorre_peces(longitudes, pesos, n, &f);
}

BITMAP* grafico_biometria(const float* longitudes, const float* pesos, int n,
                          const biometria_muestra* f) {
  BITMAP* b = create_bitmap(ANCHO_IMAGEN, ALTO_IMAGEN);
  if (!b) return nullptr;
  clear_to_color(b, blanco());
  escalas_biometria e = escalas(longitudes, pesos, n, f);
  dibuja_grafico(b, &LIENZO_IMAGEN, longitudes, pesos, n, f, &e);
  lugar_parametros l = lugar_imagen();
  dibuja_parametros(b, &l, f);
  return b;
}

BITMAP* relaciones_biometricas_devuelve(float* longitudes, float* pesos, int n) {
  biometria_muestra f = calcula_biometria(longitudes, pesos, n);
  return grafico_biometria(longitudes, pesos, n, &f);
}
