// The growth menu, the Walford estimate of the maximum length, and the von
// Bertalanffy fit L(t) = Linf*(1 - e^(-k*(t-t0))) with its screen and the
// variant the export runs.
#include <cmath>
#include <cstdio>

#include "grafico_crecimiento.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

static const char* const ENTRADAS_CRECIMIENTO[] = {"Von Bertalanffy", "Ajuste Polinomial"};

/* The entries: the prompt and its value at x 145, in font 2. */
static const char* const PIDE_LINF = "Inserte la longitud maxima:";
static const char* const PIDE_MESES = "Edad de la clase 0+ en meses:";
static const int ENTRADA_X = 145;
static const int LINF_Y = 100;
static const int MESES_Y = 150;
static const int BORRA_LINF[4] = {140, 100, 900, 130};
static const int BORRA_MESES[4] = {140, 140, 600, 180};  /* also the export's Walford box */
/* The screen's Walford box, its top and bottom, and the top of its text; the
   box is as wide as its longest text and WALFORD_AIRE px more. */
static const int WALFORD_ARRIBA = 140, WALFORD_ABAJO = 180, WALFORD_Y = 150;
static const int WALFORD_AIRE = 40;
static const float MESES_MAXIMO = 12;

/* Where the formula and the parameters go under the graph. */
struct disposicion_formula {
  int x;       /* centre of the formula; the labels start half its width left of it */
  int x_r;     /* the same for r2 */
  int y;       /* top of the formula */
  int y_linf;  /* label "Linf:"; "k:" and "to:" follow 20 px apart */
  int y_r;     /* top of "r :" */
};
static const disposicion_formula FORMULA_PANTALLA = {200, 320, 455, 495, 510};
static const disposicion_formula FORMULA_BITMAP = {270, 420, 437, 477, 490};
static const int ANCHO_BITMAP = 541, ALTO_BITMAP = 552;
/* The screen's fit: what it erases first (inside the page's frame), the two
   explanations of the parameters at NOTAS_X, "<Pulse ENTER ...>" at
   VOLVER_Y, and how far down the growth table is erased when left. */
static const int AREA_AJUSTE[4] = {70, 70, 930, 530};
static const int NOTAS_X = 400, NOTAS_Y[2] = {510, 535};
static const int VOLVER_Y = 475;
static const int BORRA_TABLA_Y = 450;
/* The export's refusal of Linf, this far below the page's centre: on the
   line where the export writes its own messages. */
static const int RECHAZO_EXPORTA_DY = 200;

/* ---- Growth menu ---- */

void menu_crecimiento(int* clases, float* longitudes, int nclases, int nfish) {
  marco("Crecimiento");
  int h = alto(FUENTE_TITULO);
  int elegida = menu_vertical(ENTRADAS_CRECIMIENTO, 2, SCREEN_H / 2 - 2 * h, 2 * h, 1, 1);
  if (elegida == 1) von_bertalanffy(clases, longitudes, nclases, nfish);
  if (elegida == 2) ajuste_polinomial(nfish, nclases, longitudes, clases);
}

/* The curve a fit stands for; CURVA_NINGUNA without answer. */
static curva_crecimiento curva_de(const bertalanffy_muestra* r) {
  if (!r->existe) return curva_crecimiento{CURVA_NINGUNA, 0, 0, 0};
  return curva_crecimiento{CURVA_BERTALANFFY, r->linf, -r->k, r->t0};
}

/* ---- Entries ---- */

static void borra(const int* r) { rectfill(screen, r[0], r[1], r[2], r[3], gris_pagina()); }

/* A number entry line at (145, y): its prompt, and the zone it erases. */
struct linea_numero {
  const char* prompt;
  int y;
  const int* zona;
};

static void eco_linea(void* datos, const campo_numero* c, int, int cambio) {
  const linea_numero* l = (const linea_numero*)datos;
  if (cambio == NUMERO_CAMBIA) {
    char eco[64];
    snprintf(eco, sizeof eco, "%s %s", l->prompt, numero_formato(c));
    texto(screen, FUENTE_TITULO, ENTRADA_X, l->y, negro(), eco, c->valor);
  } else if (cambio == NUMERO_BORRADO) {
    borra(l->zona);
    texto(screen, FUENTE_TITULO, ENTRADA_X, l->y, negro(), "%s", l->prompt);
  }
}

static void rechazo_linea(void* datos) {
  const linea_numero* l = (const linea_numero*)datos;
  borra(l->zona);
  texto(screen, FUENTE_TITULO, ENTRADA_X, l->y, negro(), "%s         ", l->prompt);
}

/* Values above `maximo` (maximo < 0: no limit) are wiped at ENTER and the
   entry goes on. Returns 1 on ENTER, 0 on ESC (c_esc then holds ESC). */
static int pide_numero(campo_numero* c, const char* prompt, int y, const int* zona, float maximo) {
  linea_numero l = {prompt, y, zona};
  uso_numero u = {eco_linea, &l, 0, 0, maximo, rechazo_linea};
  return lee_numero(c, &u) == NUMERO_ENTER;
}

static int pide_linf(campo_numero* c) { return pide_numero(c, PIDE_LINF, LINF_Y, BORRA_LINF, -1); }

static int pide_meses(campo_numero* c) {
  texto(screen, FUENTE_TITULO, ENTRADA_X, MESES_Y, negro(), "%s", PIDE_MESES);
  return pide_numero(c, PIDE_MESES, MESES_Y, BORRA_MESES, MESES_MAXIMO);
}

/* The screen's Walford box: a red outline around the suggestion, centred on
   the page; `caja` receives its corners so that it can be erased. */
static void caja_walford(int* caja, float walford) {
  const char* muestra_ancho = "Longitud maxima segun el metodo Waldford: 0.00";
  int w = WALFORD_AIRE + ancho(FUENTE_TITULO, muestra_ancho);
  caja[0] = SCREEN_W / 2 - w / 2;
  caja[1] = WALFORD_ARRIBA;
  caja[2] = SCREEN_W / 2 + w / 2;
  caja[3] = WALFORD_ABAJO;
  rect(screen, caja[0], caja[1], caja[2], caja[3], rojo_mensaje());
  texto_centrado(screen, FUENTE_TITULO, SCREEN_W / 2, WALFORD_Y, negro(),
                 "Longitud maxima segun el metodo Waldford: %.2f", walford);
}

static void caja_walford_exporta(float walford) {
  rect(screen, BORRA_MESES[0], BORRA_MESES[1], BORRA_MESES[2], BORRA_MESES[3], rojo_mensaje());
  int x = (BORRA_MESES[0] + BORRA_MESES[2]) / 2;
  texto_centrado(screen, FUENTE_TITULO, x, WALFORD_Y, negro(), "Longitud maxima segun Waldford: %.2f",
                 walford);
}

static void rechaza_linf(float mayor, int y) {
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, y, rojo_aviso(),
                 "< El valor de Linf debe ser igual o superior a %.2f >", mayor);
  c_esc = lee_tecla();
}

/* ---- What the fit shows ---- */

static void parametro(BITMAP* b, int x, int y, const char* etiqueta, const char* formato, float v) {
  texto(b, FUENTE_CABECERA, x, y, negro(), "%s", etiqueta);
  texto(b, FUENTE_CELDAS, x + ancho(FUENTE_CABECERA, etiqueta), y + 2, negro(), formato, v);
}

static void dibuja_parametros(BITMAP* b, const disposicion_formula* d, const curva_crecimiento* c,
                              float r2) {
  const char* formula = "Longitud(t)=Linf-Linf*e";
  int f = ancho(FUENTE_TITULO, formula), g = alto(FUENTE_TITULO);
  texto_centrado(b, FUENTE_TITULO, d->x, d->y, negro(), "%s", formula);
  texto(b, FUENTE_CABECERA, d->x + f / 2, d->y - g / 4, negro(), "-k*(t-to)");
  int x = d->x - f / 2;
  parametro(b, x, d->y_linf, "Linf:", " %.2f ", c->c0);
  parametro(b, x, d->y_linf + 20, "k:", " %.3f", -c->c1);
  parametro(b, x, d->y_linf + 40, "to:", " %.3f", c->c2);
  int xr = d->x_r - f / 2;
  int fin = pieza(b, FUENTE_TITULO, xr, d->y_r, 0, negro(), "r");
  fin = pieza(b, FUENTE_CABECERA, xr + 2 + ancho(FUENTE_TITULO, "r"), d->y_r - 5, fin, negro(), "2");
  pieza(b, FUENTE_TITULO, xr + ancho(FUENTE_TITULO, "r "), d->y_r, fin, negro(), ": %.3f", r2);
}

static void muestra_ajuste(const muestra_crecimiento* m, const curva_crecimiento* c, float r2,
                           int motivo) {
  rectfill(screen, AREA_AJUSTE[0], AREA_AJUSTE[1], AREA_AJUSTE[2], AREA_AJUSTE[3], gris_pagina());
  dibuja_grafico_crecimiento(screen, &GRAFICO_PANTALLA, m, c, 1);
  if (motivo == AJUSTE_BIEN) {
    dibuja_parametros(screen, &FORMULA_PANTALLA, c, r2);
    texto(screen, FUENTE_CELDAS, NOTAS_X, NOTAS_Y[0], negro(),
          "to: Edad a la que corresponde la longitud y peso nulos");
    texto(screen, FUENTE_CELDAS, NOTAS_X, NOTAS_Y[1], negro(), "Linf: Longitud maxima del pez");
  } else {
    avisa_ajuste(screen, SCREEN_W / 2, AVISO_AJUSTE_Y, motivo, 2);
  }
  texto_centrado(screen, FUENTE_CELDAS, X_VOLVER_AJUSTE, VOLVER_Y, rojo_aviso(),
                 "<Pulse ENTER para volver al menu>");
}

/* ---- The screen ---- */

void von_bertalanffy(int* clases, float* longitudes, int nclases, int nfish) {
  marco("Von Bertalanffy");
  muestra_crecimiento g;
  prepara_muestra_crecimiento(&g, clases, longitudes, nfish, nclases, 0);
  float mayor = longitud_mayor(longitudes, nfish);
  texto(screen, FUENTE_TITULO, ENTRADA_X, LINF_Y, negro(), "%s", PIDE_LINF);
  int caja[4];
  float walford = walford_de(&g);
  caja_walford(caja, walford);
  campo_numero linf, meses;
  int sigue = pide_linf(&linf);
  borra(caja);
  if (!sigue || !pide_meses(&meses)) return;
  bertalanffy_muestra r = calcula_bertalanffy(&g, linf.valor, meses.valor);
  publica_bertalanffy(&r);
  if (!r.linf_aceptada) {
    rechaza_linf(mayor, SCREEN_H / 2);
    return;
  }
  publica_meses(meses.valor);
  muestra_crecimiento m = con_edad0(&g, meses.valor / 12);
  curva_crecimiento c = curva_de(&r);
  muestra_ajuste(&m, &c, r.r2, r.motivo);
  recorre_tabla_crecimiento(&m, &c, BORRA_TABLA_Y);
}

/* ---- The export's step and its graph ---- */

/* Asks for Linf and the months under the Walford box of m; 0 when left with ESC. */
static int pide_valores_exporta(const muestra_crecimiento* m, float* linf, float* meses) {
  texto(screen, FUENTE_TITULO, ENTRADA_X, LINF_Y, negro(), "%s", PIDE_LINF);
  float walford = walford_de(m);
  caja_walford_exporta(walford);
  campo_numero c_linf, c_meses;
  int sigue = pide_linf(&c_linf);
  borra(BORRA_MESES);
  if (!sigue || !pide_meses(&c_meses)) return 0;
  *linf = c_linf.valor;
  *meses = c_meses.valor;
  return 1;
}

int pide_linf_exporta(const muestra_crecimiento* m, float* linf, float* meses) {
  marco("Von Bertalanffy");
  if (!pide_valores_exporta(m, linf, meses)) return 0;
  float mayor = longitud_mayor(m->longitudes, m->nfish);
  if (*linf >= mayor) return 1;
  rechaza_linf(mayor, SCREEN_H / 2 + RECHAZO_EXPORTA_DY);
  return c_esc != TECLA_ESC;
}

BITMAP* grafico_bertalanffy(const muestra_crecimiento* g, const bertalanffy_muestra* r) {
  BITMAP* b = lienzo_blanco(ANCHO_BITMAP, ALTO_BITMAP);
  if (!b || !r->linf_aceptada) return b;
  muestra_crecimiento m = con_edad0(g, r->meses / 12);
  curva_crecimiento c = curva_de(r);
  dibuja_grafico_crecimiento(b, &GRAFICO_BERTALANFFY, &m, &c, 1);
  if (r->existe)
    dibuja_parametros(b, &FORMULA_BITMAP, &c, r->r2);
  else
    avisa_ajuste(b, ANCHO_BITMAP / 2, FORMULA_BITMAP.y_linf, r->motivo, 2);
  return b;
}

/* ---- The export variant ---- */

BITMAP* von_bertalanffy_devuelve(int modo, int* clases, float* longitudes, int nclases, int nfish,
                                 float* predichas, float* edad0, int* cancela) {
  marco("Von Bertalanffy");
  muestra_crecimiento g;
  prepara_muestra_crecimiento(&g, clases, longitudes, nfish, nclases, 0);
  float linf = Lmax1, meses = mes0;
  if (modo == 2) {
    if (!pide_valores_exporta(&g, &linf, &meses)) {
      *cancela = 1;
      return lienzo_blanco(ANCHO_BITMAP, ALTO_BITMAP);
    }
  } else {
    borra(BORRA_MESES);
  }
  *edad0 = meses / 12;
  bertalanffy_muestra r = calcula_bertalanffy(&g, linf, meses);
  if (r.linf_aceptada) {
    publica_bertalanffy(&r);
    for (int i = 0; i < EDADES_PREDICHAS; i++) predichas[i] = r.predichas[i];
  } else if (modo == 2) {
    rechaza_linf(r.mayor, SCREEN_H / 2 + RECHAZO_EXPORTA_DY);
    if (c_esc == TECLA_ESC) *cancela = 1;
  }
  return grafico_bertalanffy(&g, &r);
}
