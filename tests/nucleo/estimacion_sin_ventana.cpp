// A front end of the core alone: built without Allegro's headers or library,
// it reads a data file through the program's reader and prints the whole
// sample's removal estimate, as a web page or a binding would.
#include <cstdio>

#include "analysis.h"
#include "sample.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];
static float longitudes[MAX_PECES], pesos[MAX_PECES];

int main(int argc, char** argv) {
  FILE* f = NULL;
  if (argc != 2 || abre_lectura(argv[1], &f) != FICHERO_ABIERTO) {
    fprintf(stderr, "estimacion_sin_ventana: a data file with classes, please\n");
    return 2;
  }
  char mensaje[LARGO_MENSAJE_LECTURA];
  int n = lee_muestra(f, 1, pasadas, longitudes, pesos, clases, mensaje, sizeof mensaje);
  fclose(f);
  if (n == LECTURA_RECHAZADA) {
    fprintf(stderr, "estimacion_sin_ventana: %s\n", mensaje);
    return 1;
  }
  int nclases = numero_clases(clases, n);
  poblacion_muestra p = calcula_poblacion(clases, pasadas, n, nclases, calculo_pasadas(pasadas, n));
  const poblacion_grupo* total = &p.g[nclases];
  if (!total->existe) {
    printf("peces %d, sin estimacion (R %.2f)\n", n, total->R);
    return 1;
  }
  printf("peces %d, R %.2f, N %.2f, N redondeado %d, limite superior %d\n", n, total->R,
         total->N, total->N_red, total->sup_red);
  return 0;
}
