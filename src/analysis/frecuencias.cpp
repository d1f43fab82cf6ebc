// Frequencies by age class: the share of the catch in every class, over all
// passes together, as a bar graph and a scrolling table; the same graph is
// drawn into a bitmap for the report's images.
#include <cstdio>

#include "analysis.h"

void frecuencias_relativas(const int* clases, int nfish, int nclases, float* fr) {
  nclases = clases_acotadas(nclases);
  for (int c = 0; c < nclases; c++) fr[c] = 0;
  for (int i = 0; i < nfish; i++)
    if (clases[i] >= 0 && clases[i] < nclases) fr[clases[i]] += 1;
  if (nfish <= 0) return;  // no fish: every share stays 0 rather than 0/0
  for (int c = 0; c < nclases; c++) fr[c] = fr[c] / nfish;
}
