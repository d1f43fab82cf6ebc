// Reach measures, density and biomass: not yet built.
#include "analysis.h"

float Suptramo, Voltramo, mltramo;

void densidad_biomasa(float*, float*, int*, float*, int, int, int) {}
int densidad_biomasa_devuelve() { return 0; }
