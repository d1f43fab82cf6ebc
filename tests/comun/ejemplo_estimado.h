// The built-in example with its means and removal estimate, as the
// calculation menu hands them to the density screen.
#ifndef PRUEBAS_EJEMPLO_ESTIMADO_H
#define PRUEBAS_EJEMPLO_ESTIMADO_H

#include "analysis.h"
#include "sample.h"

struct ejemplo_estimado {
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  int nclases, npasadas;
  medias_muestra medias;
  poblacion_muestra poblacion;
};

inline void estima_ejemplo(ejemplo_estimado* e) {
  copia_ejemplo(e->pasadas, e->longitudes, e->pesos, e->clases);
  e->nclases = numero_clases(e->clases, NUM_EJEMPLO);
  e->npasadas = calculo_pasadas(e->pasadas, NUM_EJEMPLO);
  e->medias = calcula_medias(e->clases, e->longitudes, e->pesos, NUM_EJEMPLO, e->nclases);
  e->poblacion = calcula_poblacion(e->clases, e->pasadas, NUM_EJEMPLO, e->nclases, e->npasadas);
}

#endif
