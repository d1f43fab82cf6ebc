// The program-wide results: the one place where they are written, each from
// the struct its analysis returns, for the screens and the report that read
// them later in the run.
#include "analysis.h"

float Nx[RANURAS], VarNx[RANURAS], Esx[RANURAS], Nclas[RANURAS], ESclas[RANURAS];
float ax, bx, R23, kffsum0;
int biometria_definida;
float Wf, Lmax1, k1, t01, R2, mes0;
int bertalanffy_definido;
float B01, B11, B21, R22;
int polinomio_definido;

void publica_poblacion(const poblacion_muestra* p) {
  if (!p->dentro_de_limites) return;
  for (int i = 0; i <= p->nclases; i++) {
    if (!p->g[i].existe) continue;  // a group without estimate keeps what an earlier one left
    Nx[i] = p->g[i].N;
    VarNx[i] = p->g[i].Var;
    Esx[i] = p->g[i].ES;
  }
  if (!p->g[p->nclases].existe) return;
  for (int j = 0; j < p->nclases; j++) {
    Nclas[j] = p->Nclas[j];
    ESclas[j] = p->ESclas[j];
  }
}

void publica_bertalanffy(const bertalanffy_muestra* b) {
  if (!b->linf_aceptada) return;  // a refused Linf leaves the last fit as it was
  Lmax1 = b->linf;
  bertalanffy_definido = b->existe;
  k1 = b->k;
  t01 = b->t0;
  R2 = b->r2;
}

void publica_polinomio(const polinomio_muestra* p) {
  polinomio_definido = p->existe;
  B01 = p->a0;
  B11 = p->a1;
  B21 = p->a2;
  R22 = p->r2;
}

void publica_meses(float meses) { mes0 = meses; }

void publica_walford(float walford) { Wf = walford; }

void publica_biometria(const biometria_muestra* f) {
  ax = f->a;
  bx = f->b;
  R23 = f->r2;
  kffsum0 = f->fc;
  biometria_definida = f->existe;
}
