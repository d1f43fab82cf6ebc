// Weight-length relationship: not yet built.
#include "analysis.h"

float ax, bx, R23, kffsum0;
int biometria_definida;

void relaciones_biometricas(float*, float*, int) {}
BITMAP* relaciones_biometricas_devuelve(float*, float*, int) {
  BITMAP* b = create_bitmap(541, 510);
  clear_to_color(b, makecol(255, 255, 255));
  return b;
}
