// The program-wide results: the one place where they are written, each from
// the struct its analysis returns, for the screens and the report that read
// them later in the run.
#include "analysis.h"

float Wf, Lmax1, k1, t01, R2, mes0;
int bertalanffy_definido;

void publica_bertalanffy(const bertalanffy_muestra* b) {
  if (!b->linf_aceptada) return;  // a refused Linf leaves the last fit as it was
  Lmax1 = b->linf;
  bertalanffy_definido = b->existe;
  k1 = b->k;
  t01 = b->t0;
  R2 = b->r2;
}

void publica_meses(float meses) { mes0 = meses; }

void publica_walford(float walford) { Wf = walford; }
