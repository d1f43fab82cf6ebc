// The screens drawn over the computations: each takes the sample or the
// structs the computations return and shows them in the window.
#ifndef PASADAS_PANTALLAS_H
#define PASADAS_PANTALLAS_H

/* Shows the example sample under "Cargar datos"; returns 38. */
int imprime_ejemplo(int* pasadas, float* longitudes, float* pesos, int* clases);
/* Age classes from length intervals over a histogram; returns the number of
   classes, 0 when abandoned. */
int clases_edad(int* clases, float* longitudes, int* pasadas, int n);

#endif
