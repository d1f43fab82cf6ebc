// Classes from length intervals, the computation under the class screen.
#include "sample.h"

int asigna_intervalo(int* clases, const float* longitudes, int n, float inferior,
                     float superior, int clase) {
  int nuevos = 0;
  for (int i = 0; i < n; i++)
    if (inferior < longitudes[i] && longitudes[i] <= superior) {
      clases[i] = clase;
      nuevos++;
    }
  return nuevos;
}
