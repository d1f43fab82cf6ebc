// Removal population estimator: not yet built.
#include "analysis.h"

float Nx[RANURAS], VarNx[RANURAS], Esx[RANURAS], Nclas[RANURAS], ESclas[RANURAS];

int estimacion_valida(float R, int npasadas) {
  float cota = (npasadas - 1) / 2.0f;
  return R > 0 && R < cota;
}
void Calculo_R_N(int*, int*, int, int, int, float*, float*) {}
void calculo_poblacional_devuelve(int*, int*, int, int, int, float*, float*, int*, float*, float*, int*) {}
void calculo_poblacional(int*, int*, int, int, int) {}
