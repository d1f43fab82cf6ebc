// The second-degree polynomial growth fit L(x) = a0 + a1*x + a2*x^2 of the
// class means against age: its screen and the variant the export runs.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "grafico_crecimiento.h"
#include "pantallas.h"
#include "shell.h"

/* The whole-months entry at (145, 100), font 2, at most two digits. */
static const char* const PIDE_MESES = "Edad de la clase 0+ en meses:";
static const int ENTRADA_X = 145, ENTRADA_Y = 100;
static const int BORRA_MESES[4] = {140, 90, 900, 170};
static const int MESES_CIFRAS = 2;
static const float MESES_MAXIMO = 12;

/* Where the formula, its subscripts and the coefficients go. The formula is
   laid out as the text "Longitud=a +a x+a x", its blanks holding the indices:
   the subscripts 4, 42 and 92 px right of its centre, 8 px down, and the
   exponent 115 px right, 2 px up; those of a coefficient 15 px right, 10 px
   down, and the exponent of r 12 px right, 4 px up. Where our fonts make a
   piece wider than its blank, the pieces after it move right (see pieza). */
struct disposicion_coeficientes {
  int x, y;        /* centre and top of the formula */
  int pos[4][2];   /* a0, a1, a2, r2 */
};
static const disposicion_coeficientes COEFICIENTES_PANTALLA = {
    220, 455, {{110, 490}, {210, 490}, {110, 530}, {210, 530}}};
static const disposicion_coeficientes COEFICIENTES_BITMAP = {
    270, 425, {{100, 460}, {200, 460}, {300, 460}, {400, 460}}};
static const char* const FORMULA = "Longitud=a +a x+a x";
static const char* const FORMULA_TROZOS[4] = {"Longitud=a", "+a", "x+a", "x"};
static const int FORMULA_INDICE_DX[4] = {4, 42, 92, 115};
static const int FORMULA_INDICE_DY[4] = {8, 8, 8, -2};
static const int SUBINDICE_DX = 15, SUBINDICE_DY = 10;
static const int EXPONENTE_R_DX = 12, EXPONENTE_R_DY = -4;
static const int ANCHO_BITMAP = 541, ALTO_BITMAP = 500;
/* The screen's "<Pulse ENTER ...>" at VOLVER_Y, under the coefficients; the
   growth table is erased down to BORRA_TABLA_Y when left. */
static const int VOLVER_Y = 495;
static const int BORRA_TABLA_Y = 455;

/* The curve a fit stands for; CURVA_NINGUNA without answer. */
static curva_crecimiento curva_de(const polinomio_muestra* r) {
  if (!r->existe) return curva_crecimiento{CURVA_NINGUNA, 0, 0, 0};
  return curva_crecimiento{CURVA_POLINOMIO, r->a0, r->a1, r->a2};
}

/* ---- The months entry ---- */

static void linea_meses(const char* formato, float v) {
  rectfill(screen, BORRA_MESES[0], BORRA_MESES[1], BORRA_MESES[2], BORRA_MESES[3], gris_pagina());
  texto(screen, FUENTE_TITULO, ENTRADA_X, ENTRADA_Y, negro(), formato, PIDE_MESES, v);
}

/* Whole months, two digits at most. A value above 12 is wiped at the next
   key; an ENTER that finds it is used up by the wipe. Returns 1 on ENTER, 0
   on ESC (c_esc then holds ESC); *meses gets the value either way. */
static int pide_meses_enteros(float* meses) {
  texto(screen, FUENTE_TITULO, ENTRADA_X, ENTRADA_Y, negro(), "%s", PIDE_MESES);
  float v = 0;
  int cifras = 0;
  for (;;) {
    int t = lee_tecla();
    if (v > MESES_MAXIMO) {
      v = 0;
      cifras = 0;
      linea_meses("%s         ", 0);
      if (es_enter(t)) continue;
    }
    int a = ascii(t);
    if (t == TECLA_ESC) c_esc = TECLA_ESC;
    if (t == TECLA_ESC || es_enter(t)) {
      *meses = v;
      return t != TECLA_ESC;
    }
    if (a >= '0' && a <= '9' && cifras < MESES_CIFRAS) {
      v = v * 10 + (a - '0');
      cifras++;
      texto(screen, FUENTE_TITULO, ENTRADA_X, ENTRADA_Y, negro(), "%s %.0f", PIDE_MESES, v);
    } else if (a == ASCII_BORRAR) {
      v = 0;
      cifras = 0;
      linea_meses("%s", 0);
    }
  }
}

/* ---- What the fit shows ---- */

/* "Longitud=a0+a1x+a2x2" from its left end as the layout places the text. */
static void dibuja_formula(BITMAP* b, const disposicion_coeficientes* d) {
  int x0 = d->x - ancho(FUENTE_TITULO, FORMULA) / 2, fin = 0;
  char hecho[32] = "";  /* the layout's text up to the current piece */
  for (int j = 0; j < 4; j++) {
    fin = pieza(b, FUENTE_TITULO, x0 + ancho(FUENTE_TITULO, hecho), d->y, fin, negro(), "%s",
                FORMULA_TROZOS[j]);
    fin = pieza(b, FUENTE_CABECERA, d->x + FORMULA_INDICE_DX[j], d->y + FORMULA_INDICE_DY[j],
                fin, negro(), "%d", j < 3 ? j : 2);
    snprintf(hecho + strlen(hecho), sizeof hecho - strlen(hecho), "%s ", FORMULA_TROZOS[j]);
  }
}

/* "a0:", "a1:", "a2:" with their values and "r2:"; `tras` carries the end
   of the block before on the same line, so a long value pushes the next
   block right instead of running into it. */
static int coeficiente(BITMAP* b, const int* pos, int indice, const char* formato, float v,
                       int tras) {
  const int es_r = indice > 2, f = FUENTE_TITULO;
  const char* letra = es_r ? "r" : "a";
  int fin = pieza(b, f, pos[0], pos[1], tras, negro(), "%s", letra);
  if (es_r)
    fin = pieza(b, FUENTE_CABECERA, pos[0] + EXPONENTE_R_DX, pos[1] + EXPONENTE_R_DY, fin, negro(), "2");
  else
    fin = pieza(b, FUENTE_CABECERA, pos[0] + SUBINDICE_DX, pos[1] + SUBINDICE_DY, fin, negro(), "%d", indice);
  char etiqueta[4];
  snprintf(etiqueta, sizeof etiqueta, "%s ", letra);
  return pieza(b, f, pos[0] + ancho(f, etiqueta), pos[1], fin, negro(), formato, v);
}

static void dibuja_coeficientes(BITMAP* b, const disposicion_coeficientes* d,
                                const curva_crecimiento* c, float r2) {
  dibuja_formula(b, d);
  const float valor[4] = {c->c0, c->c1, c->c2, r2};
  int fin_linea[4] = {0, 0, 0, 0};  /* by line top: a bitmap has one line, the screen two */
  for (int j = 0; j < 4; j++) {
    int linea = 0;
    while (linea < j && d->pos[linea][1] != d->pos[j][1]) linea++;
    fin_linea[linea] = coeficiente(b, d->pos[j], j, j < 3 ? ":%.2f" : ":%.3f", valor[j],
                                   fin_linea[linea]);
  }
}

/* ---- The screen ---- */

void ajuste_polinomial(int nfish, int nclases, float* longitudes, int* clases) {
  marco("Ajuste Polinomial");
  float meses;
  int sigue = pide_meses_enteros(&meses);
  publica_meses(meses);
  if (!sigue) return;
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, nfish, nclases, meses / 12);
  polinomio_muestra r = calcula_polinomio(&m, meses / 12);
  curva_crecimiento c = curva_de(&r);
  marco("Ajuste Polinomial");
  dibuja_grafico_crecimiento(screen, &GRAFICO_PANTALLA, &m, &c, 0);
  if (r.existe)
    dibuja_coeficientes(screen, &COEFICIENTES_PANTALLA, &c, r.r2);
  else
    avisa_ajuste(screen, SCREEN_W / 2, AVISO_AJUSTE_Y, r.motivo, 3);
  texto_centrado(screen, FUENTE_CELDAS, X_VOLVER_AJUSTE, VOLVER_Y, rojo_aviso(),
                 "<Pulse ENTER para volver al menu>");
  recorre_tabla_crecimiento(&m, &c, BORRA_TABLA_Y);
}

/* ---- The report's graph and the export variant ---- */

BITMAP* grafico_polinomio(const muestra_crecimiento* g, const polinomio_muestra* r) {
  BITMAP* b = lienzo_blanco(ANCHO_BITMAP, ALTO_BITMAP);
  if (!b) return b;
  muestra_crecimiento m = con_edad0(g, r->edad0);
  curva_crecimiento c = curva_de(r);
  dibuja_grafico_crecimiento(b, &GRAFICO_POLINOMIO, &m, &c, 0);
  if (r->existe)
    dibuja_coeficientes(b, &COEFICIENTES_BITMAP, &c, r->r2);
  else
    avisa_ajuste(b, ANCHO_BITMAP / 2, COEFICIENTES_BITMAP.y, r->motivo, 3);
  return b;
}

BITMAP* ajuste_polinomial_devuelve(int nfish, int nclases, float* longitudes, float* predichas,
                                   int* clases, float* edad0) {
  muestra_crecimiento m;
  prepara_muestra_crecimiento(&m, clases, longitudes, nfish, nclases, *edad0);
  polinomio_muestra r = calcula_polinomio(&m, *edad0);
  for (int i = 0; i < EDADES_PREDICHAS; i++) predichas[i] = r.predichas[i];
  return grafico_polinomio(&m, &r);
}
