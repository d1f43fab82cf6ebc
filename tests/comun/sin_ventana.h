// Allegro without a window, for tests that draw into memory bitmaps with the
// resource file's fonts.
#ifndef PRUEBAS_SIN_VENTANA_H
#define PRUEBAS_SIN_VENTANA_H

#include <allegro.h>

/* Starts Allegro with no graphics driver at 32 bits and loads datas.dat once. */
void prepara_allegro_sin_ventana();
/* The colour of a pixel of a memory bitmap as r, g, b. */
bool pixel_es(BITMAP* b, int x, int y, int r, int g, int bl);

#endif
