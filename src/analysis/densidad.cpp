// Reach measures, density and biomass: the user gives the surface, volume
// and length of the reach, and the screen divides the estimated fish and
// their weight by each, per age class, "por clases" and "por frecuencias".
#include "analysis.h"

#include <cmath>
#include <cstdio>
#include <cstring>

float Suptramo, Voltramo, mltramo;

static fila_densidad fila(int peces, float biomasa, int sustituida) {
  fila_densidad f = {peces, biomasa, sustituida};
  return f;
}

/* ---- The report's three blocks as a value ---- */

float por_medida(const densidad_muestra* d, float valor, int m) {
  return d->medidas[m] != 0 ? valor / d->medidas[m] : 0;
}

/* The catch of class j standing in for its estimate (marked when it has fish). */
static fila_densidad captura_de(const medias_muestra* m, int j) {
  int c = m->individuos[j];
  return fila(c, c * m->peso[j], c != 0);
}

/* Each class's rounded N, or its catch where it has no estimate. */
static void bloque_por_clases(densidad_muestra* d, const medias_muestra* m,
                              const poblacion_muestra* p) {
  fila_densidad total = fila(0, 0, 0);
  for (int j = 0; j < d->nclases; j++) {
    const poblacion_grupo& g = p->g[j];
    fila_densidad f = g.existe ? fila(g.N_red, g.N_red * m->peso[j], 0) : captura_de(m, j);
    d->fallidas_por_clases += f.sustituida;
    total.peces += f.peces;
    total.biomasa += f.biomasa;
    d->por_clases[j] = f;
  }
  total.sustituida = d->fallidas_por_clases != 0;
  d->por_clases[d->nclases] = total;
}

/* The whole N shared out by frequency, or every catch when it has no estimate. */
static void bloque_por_frecuencias(densidad_muestra* d, const medias_muestra* m,
                                   const poblacion_muestra* p) {
  float biomasa = 0;
  for (int j = 0; j < d->nclases; j++) {
    int N = (int)ceil(p->Nclas[j]);
    fila_densidad f = d->total_existe ? fila(N, N * m->peso[j], 0) : captura_de(m, j);
    biomasa += f.biomasa;
    d->por_frecuencias[j] = f;
  }
  int peces = d->total_existe ? p->g[d->nclases].N_red : m->n;
  d->por_frecuencias[d->nclases] = fila(peces, biomasa, !d->total_existe);
}

densidad_muestra calcula_densidad(const medias_muestra* m, const poblacion_muestra* p,
                                  float volumen, float superficie, float metros) {
  densidad_muestra d = {};
  d.medidas[0] = volumen, d.medidas[1] = superficie, d.medidas[2] = metros;
  d.nclases = m->nclases;
  d.total_existe = p->dentro_de_limites && p->g[d.nclases].existe;
  for (int j = 0; j < d.nclases; j++) {
    int c = m->individuos[j];
    d.capturada[j] = fila(c, c * m->peso[j], 0);
  }
  d.capturada[d.nclases] = fila(m->n, m->suma_pesos, 0);
  bloque_por_clases(&d, m, p);
  bloque_por_frecuencias(&d, m, p);
  return d;
}
