#include "sin_ventana.h"

#include <cerrno>
#include <cstdlib>

#include "shell.h"

void prepara_allegro_sin_ventana() {
  static bool hecho = false;
  if (hecho) return;
  hecho = true;
  set_uformat(U_ASCII);
  install_allegro(SYSTEM_NONE, &errno, atexit);
  numeros_en_c();
  set_color_depth(32);
  datos = carga_recursos();
  if (!datos) abort();
}

bool pixel_es(BITMAP* b, int x, int y, int r, int g, int bl) {
  int p = getpixel(b, x, y);
  return getr(p) == r && getg(p) == g && getb(p) == bl;
}
