// Growth menu, von Bertalanffy, Walford and the polynomial fit: not yet built.
#include "analysis.h"

float Wf, Lmax1, k1, t01, R2, mes0;
int bertalanffy_definido;
float B01, B11, B21, R22;
int polinomio_definido;

void menu_crecimiento(int*, float*, int, int) {}
void von_bertalanffy(int*, float*, int, int) {}
float waldford(float*, int*, int, int) { return 0; }
BITMAP* von_bertalanffy_devuelve(int, int*, float*, int, int, float*, float*, int* cancela) {
  *cancela = 1;
  BITMAP* b = create_bitmap(541, 552);
  clear_to_color(b, makecol(255, 255, 255));
  return b;
}
void ajuste_polinomial(int, int, float*, int*) {}
BITMAP* ajuste_polinomial_devuelve(int, int, float*, float*, int*, float*) {
  BITMAP* b = create_bitmap(541, 500);
  clear_to_color(b, makecol(255, 255, 255));
  return b;
}
