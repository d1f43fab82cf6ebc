// Compares a piece of text on a bitmap (or the screen) with the same text
// drawn afresh, so that tests can read labels and cells back.
#ifndef PRUEBAS_TEXTO_IGUAL_H
#define PRUEBAS_TEXTO_IGUAL_H

#include <allegro.h>

#include "shell.h"

/* True when the box of `s` in font f with its top-left corner at (x, y),
   plus a one-pixel margin, holds exactly that text in `tinta` on `fondo`. */
inline bool texto_en(BITMAP* b, int f, int x, int y, const char* s, int tinta, int fondo) {
  int w = ancho(f, s) + 2, h = alto(f) + 2;
  BITMAP* ref = create_bitmap(w, h);
  clear_to_color(ref, fondo);
  textout_ex(ref, fuente(f), s, 1, 1, tinta, -1);
  bool igual = true;
  for (int j = 0; j < h && igual; j++)
    for (int i = 0; i < w && igual; i++)
      igual = getpixel(b, x - 1 + i, y - 1 + j) == getpixel(ref, i, j);
  destroy_bitmap(ref);
  return igual;
}

/* The same, black on white, centred on x as the program centres text. */
inline bool centrado_en(BITMAP* b, int f, int x, int y, const char* s) {
  return texto_en(b, f, x - ancho(f, s) / 2, y, s, makecol(0, 0, 0), makecol(255, 255, 255));
}

/* The same, black on white, right-aligned at x. */
inline bool derecha_en(BITMAP* b, int f, int x, int y, const char* s) {
  return texto_en(b, f, x - ancho(f, s), y, s, makecol(0, 0, 0), makecol(255, 255, 255));
}

#endif
