// The built-in example with the estimator's R and N, as the main loop hands
// them to the density screen.
#ifndef PRUEBAS_EJEMPLO_ESTIMADO_H
#define PRUEBAS_EJEMPLO_ESTIMADO_H

#include "analysis.h"
#include "sample.h"

struct ejemplo_estimado {
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  float R[RANURAS], N[RANURAS];
  int nclases, npasadas;
};

inline void estima_ejemplo(ejemplo_estimado* e) {
  copia_ejemplo(e->pasadas, e->longitudes, e->pesos, e->clases);
  e->nclases = numero_clases(e->clases, NUM_EJEMPLO);
  e->npasadas = calculo_pasadas(e->pasadas, NUM_EJEMPLO);
  Calculo_R_N(e->clases, e->pasadas, NUM_EJEMPLO, e->nclases, e->npasadas, e->R, e->N);
}

#endif
