// The look every page shares: the resource file's fonts, the colours, the
// framed page with its title box, text helpers and the scroll marks.
#include "shell.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

DATAFILE* datos = nullptr;

/* The frame of every page (1000x600): a three-pixel border BORDE px in from
   each edge, rounded corners of radius RADIO_ESQUINA centred CENTRO_ESQUINA
   px in, where the straight lines begin; the title centred on (X_TITULO,
   Y_TITULO) in a box MARGEN_TITULO px wider than its text on each side, with
   a three-pixel outline, and the top border stopping HUECO_TITULO px short
   of the text on both sides. */
static const int RADIO_ESQUINA = 40;
static const int CENTRO_ESQUINA = 73;
static const int BORDE = 34;
static const int X_TITULO = 200, Y_TITULO = 35;
static const int MARGEN_TITULO = 2;
static const int HUECO_TITULO = 5;
static const int AIRE_PIEZAS = 1;   /* px of air kept between the ink of two pieces of a line */
static const int AIRE_ROTULOS = 4;  /* px at least between two labels of an axis */

DATAFILE* carga_recursos() {
  char ruta[CAPACIDAD_RUTA_RECURSOS];
  if (!busca_recursos(ruta, sizeof ruta)) return nullptr;
  DATAFILE* d = load_datafile(ruta);
  if (!d) return nullptr;
  // A file that is not ours would hand out the wrong objects by index.
  for (int i = 0; i <= IMAGEN_AYUDA; i++) {
    int tipo = d[i].type;
    bool es_fuente = i <= FUENTE_PEQUENA;
    if (tipo == DAT_END || tipo != (es_fuente ? DAT_FONT : DAT_BITMAP)) {
      unload_datafile(d);
      return nullptr;
    }
  }
  return d;
}

/* The fonts' names in datas.dat: dat names each object after the file it
   was packed from. */
static const char* const NOMBRES_FUENTES[FUENTE_PEQUENA + 1] = {
    "FUENTE0_CELDAS_FNT", "FUENTE1_CABECERAS_FNT", "FUENTE2_TITULOS_FNT", "FUENTE3_EJES_FNT"};
static DATAFILE* fuentes_cargadas[FUENTE_PEQUENA + 1];
static DATAFILE solo_fuentes[FUENTE_PEQUENA + 2];

void descarga_fuentes() {
  for (DATAFILE*& f : fuentes_cargadas) {
    if (f) unload_datafile_object(f);
    f = nullptr;
  }
}

DATAFILE* carga_fuentes() {
  char ruta[CAPACIDAD_RUTA_RECURSOS];
  if (!busca_recursos(ruta, sizeof ruta)) return nullptr;
  descarga_fuentes();
  for (int i = 0; i <= FUENTE_PEQUENA; i++) {
    DATAFILE* f = load_datafile_object(ruta, NOMBRES_FUENTES[i]);
    fuentes_cargadas[i] = f;
    if (!f || f->type != DAT_FONT) {
      descarga_fuentes();
      return nullptr;
    }
    solo_fuentes[i] = *f;
  }
  solo_fuentes[FUENTE_PEQUENA + 1].type = DAT_END;
  return solo_fuentes;
}

FONT* fuente(int indice) { return (FONT*)datos[indice].dat; }
BITMAP* imagen(int indice) { return (BITMAP*)datos[indice].dat; }

int gris_pagina() { return makecol(230, 230, 230); }
int negro() { return makecol(0, 0, 0); }
int blanco() { return makecol(255, 255, 255); }
int gris_cabecera() { return makecol(217, 217, 217); }
int azul_titulo() { return makecol(176, 196, 222); }
int azul_seleccion() { return makecol(65, 105, 225); }
int rojo_aviso() { return makecol(250, 0, 0); }
int rojo_mensaje() { return makecol(255, 0, 0); }
int azul_entrada() { return makecol(0, 0, 255); }
int amarillo_campo() { return makecol(255, 255, 153); }
int azul_pez() { return makecol(0, 0, 200); }
int rojo_oscuro() { return makecol(100, 0, 0); }

int alto(int f) { return text_height(fuente(f)); }
int ancho(int f, const char* s) { return text_length(fuente(f), s); }

registro_textos* anota_textos = nullptr;

enum alineacion { IZQUIERDA, CENTRO, DERECHA };

static void anota(BITMAP* b, int f, int x, int y, const char* s) {
  registro_textos* r = anota_textos;
  if (!r || r->n >= r->capacidad) return;
  texto_anotado* t = &r->textos[r->n++];
  t->b = b;
  t->f = f;
  t->x = x;
  t->y = y;
  snprintf(t->s, sizeof t->s, "%.*s", (int)sizeof t->s - 1, s);
}

/* Returns the left edge the text was drawn from. */
static int escribe(BITMAP* b, int f, int x, int y, int color, alineacion a, const char* fmt,
                   va_list ap) {
  char buf[512];
  vsnprintf(buf, sizeof buf, fmt, ap);
  int izquierda = a == CENTRO ? x - ancho(f, buf) / 2 : a == DERECHA ? x - ancho(f, buf) : x;
  textout_ex(b, fuente(f), buf, izquierda, y, color, -1);
  anota(b, f, izquierda, y, buf);
  return izquierda + ancho(f, buf);
}

void texto(BITMAP* b, int f, int x, int y, int color, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  escribe(b, f, x, y, color, IZQUIERDA, fmt, ap);
  va_end(ap);
}

void texto_centrado(BITMAP* b, int f, int x, int y, int color, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  escribe(b, f, x, y, color, CENTRO, fmt, ap);
  va_end(ap);
}

void texto_derecha(BITMAP* b, int f, int x, int y, int color, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  escribe(b, f, x, y, color, DERECHA, fmt, ap);
  va_end(ap);
}

int pieza(BITMAP* b, int f, int x, int y, int tras, int color, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  int fin = escribe(b, f, x > tras ? x : tras, y, color, IZQUIERDA, fmt, ap);
  va_end(ap);
  return fin + AIRE_PIEZAS;
}

int salto_rotulos(int paso, int ancho_mayor) {
  if (paso <= 0) return 1 << 20;  // all on one pixel: the first alone
  int k = (ancho_mayor + AIRE_ROTULOS + paso - 1) / paso;
  return k < 1 ? 1 : k;
}

const char* numero_o_guion(char* s, int tam, const char* fmt, float v) {
  if (std::isfinite(v))
    snprintf(s, (size_t)tam, fmt, v);
  else
    snprintf(s, (size_t)tam, "-");
  return s;
}

void flecha_arriba(BITMAP* b, int x, int y_punta, int y_base, int visible) {
  triangle(b, x, y_punta, x - 5, y_base, x + 5, y_base, visible ? negro() : gris_pagina());
}

void flecha_abajo(BITMAP* b, int x, int y_punta, int y_base, int visible) {
  flecha_arriba(b, x, y_punta, y_base, visible);
}

/* Three concentric circles, then everything but their outer quarter erased. */
static void esquina(BITMAP* b, int cx, int cy, int dx, int dy) {
  for (int r = RADIO_ESQUINA; r >= RADIO_ESQUINA - 2; r--) circle(b, cx, cy, r, negro());
  int interior_x = cx - dx * CENTRO_ESQUINA, interior_y = cy - dy * CENTRO_ESQUINA;
  rectfill(b, interior_x, interior_y, cx, cy + dy * RADIO_ESQUINA, gris_pagina());
  rectfill(b, interior_x, interior_y, cx + dx * RADIO_ESQUINA, cy, gris_pagina());
}

static void caja_titulo(BITMAP* b, const char* titulo) {
  int tl = ancho(FUENTE_TITULO, titulo), th = alto(FUENTE_TITULO);
  const int izquierda = X_TITULO - MARGEN_TITULO, derecha = X_TITULO + MARGEN_TITULO;
  const int arriba = Y_TITULO - MARGEN_TITULO, abajo = Y_TITULO + MARGEN_TITULO;
  rectfill(b, izquierda - tl / 2, arriba - th / 2, derecha + tl / 2, abajo + th / 2, azul_titulo());
  for (int i = 0; i < 3; i++)
    rect(b, izquierda - 1 - tl / 2 - i, arriba - 1 - th / 2 - i, derecha + 1 + tl / 2 + i,
         abajo + 1 + th / 2 + i, negro());
  texto(b, FUENTE_TITULO, X_TITULO - tl / 2, Y_TITULO - th / 2, negro(), "%s", titulo);
}

static void bordes(BITMAP* b, int w, int h, int tl) {
  const int desplaza[3] = {-1, 1, 0};  // drawn in the order 33, 35, 34
  for (int i = 0; i < 3; i++) {
    int d = desplaza[i];
    const int c = CENTRO_ESQUINA;
    hline(b, c, BORDE + d, X_TITULO - HUECO_TITULO - tl / 2, negro());
    hline(b, X_TITULO + HUECO_TITULO + tl / 2, BORDE + d, w - c, negro());
    vline(b, BORDE - 1 + i, c, h - c, negro());
    hline(b, c, h - BORDE - d, w - c, negro());
    vline(b, w - (BORDE - 1) - i, h - c, c, negro());
  }
}

void marco(const char* titulo) {
  const int w = SCREEN_W, h = SCREEN_H;
  BITMAP* pagina = create_bitmap(ANCHO_PAGINA, ALTO_PAGINA);
  clear_bitmap(pagina);
  clear_to_color(pagina, gris_pagina());
  esquina(pagina, CENTRO_ESQUINA, CENTRO_ESQUINA, -1, -1);
  esquina(pagina, w - CENTRO_ESQUINA, CENTRO_ESQUINA, 1, -1);
  esquina(pagina, w - CENTRO_ESQUINA, h - CENTRO_ESQUINA, 1, 1);
  esquina(pagina, CENTRO_ESQUINA, h - CENTRO_ESQUINA, -1, 1);
  caja_titulo(pagina, titulo);
  bordes(pagina, w, h, ancho(FUENTE_TITULO, titulo));
  blit(pagina, screen, 0, 0, (w - ANCHO_PAGINA) / 2, (h - ALTO_PAGINA) / 2, ANCHO_PAGINA,
       ALTO_PAGINA);
  destroy_bitmap(pagina);
}

int lee_tecla() { return readkey(); }
int ascii(int tecla) { return tecla & 0xff; }
int es_enter(int tecla) { return ascii(tecla) == ASCII_ENTER; }

int espera_tecla(const int* validas, int nvalidas) {
  for (;;) {
    int t = lee_tecla();
    if (es_enter(t)) return t;
    for (int i = 0; i < nvalidas; i++)
      if (t == validas[i]) return t;
  }
}
