// The program-wide results: the one place where they are written, each from
// the struct its analysis returns, for the screens and the report that read
// them later in the run.
#include "analysis.h"

float Lmax1, mes0;

void publica_bertalanffy(const bertalanffy_muestra* b) {
  if (b->linf_aceptada) Lmax1 = b->linf;  // a refused Linf leaves the last fit's as it was
}

void publica_meses(float meses) { mes0 = meses; }

