// Frequencies by age class: not yet built.
#include "analysis.h"

void calculo_frecuencias(int*, int, int) {}
BITMAP* grafico_frecuencias(int*, int, int) {
  BITMAP* b = create_bitmap(541, 403);
  clear_to_color(b, makecol(255, 255, 255));
  return b;
}
