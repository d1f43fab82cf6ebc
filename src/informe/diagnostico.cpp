// The second opinion on a sample's removal estimates, as pasadas-informe
// --diagnostico prints it: one tab-separated row per class and one for the
// whole sample, the report's own Zippin figures beside the other methods,
// each group's state and warnings in words, then what the words mean.
// The terminal's text is UTF-8; the words come in Latin-1 like the report's.
#include <cmath>
#include <cstdio>

#include "export.h"
#include "analysis.h"
#include "remocion.h"
#include "sample.h"

/* Chi and the dashes have no Latin-1 letter: these lines are UTF-8 as they stand. */
static const char CABECERA[] =
    "Grupo\tPasadas\tCapturas por pasada\tT\tZippin N\tES\tMoran N\tLI\tLS\tp\tSchnute N\t"
    "p Moran\xe2\x80\x93Schnute\tCarle\xe2\x80\x93Strub N\tES\t\xcf\x87\xc2\xb2 p\tEstado\tAvisos\n";
static const char* const NOTAS[] = {
    "Zippin N y ES: los del informe, sin redondeo; \"-\" donde la estimaci\xc3\xb3n falla y el "
    "informe da la captura, que es solo un m\xc3\xadnimo.\n",
    "Moran: m\xc3\xa1xima verosimilitud exacta con p constante (Moran 1951); LI y LS, intervalo "
    "del 95 % por verosimilitud perfil, nunca por debajo de T.\n",
    "Schnute: la primera pasada con su propia p (Schnute 1983); p Moran\xe2\x80\x93Schnute, "
    "raz\xc3\xb3n de verosimilitudes entre ambos (1 gl): si la capturabilidad cambia tras la "
    "primera pasada.\n",
    "Carle\xe2\x80\x93Strub: la alternativa habitual cuando Zippin falla (verosimilitud ponderada, "
    "Carle y Strub 1978), con su ES.\n",
    "\xcf\x87\xc2\xb2 p: ajuste de las capturas por pasada a las que espera Moran (k \xe2\x88\x92 2 "
    "gl).\n",
};

/* A figure, or "-" when it does not exist. */
static void cifra(FILE* f, const char* formato, double x, int existe) {
  fputc('\t', f);
  if (existe && std::isfinite(x))
    fprintf(f, formato, x);
  else
    fputc('-', f);
}

static void probabilidad(FILE* f, const prueba_chi2* t) {
  if (t->existe && t->p < 0.001)
    fputs("\t<0.001", f);
  else
    cifra(f, "%.3f", t->p, t->existe);
}

/* Moran's N, LI, LS and p. */
static void celdas_moran(FILE* f, const estimacion_remocion* m) {
  cifra(f, "%.1f", m->N, m->existe);
  cifra(f, "%.1f", m->inferior, m->existe);
  if (m->existe && m->sin_limite)
    fputs("\tsin l\xc3\xadmite", f);
  else
    cifra(f, "%.1f", m->superior, m->existe);
  cifra(f, "%.3f", m->p, m->existe);
}

/* The state, then the warnings separated by "; " ("-" without any). */
static void celdas_palabras(FILE* f, const diagnostico_grupo* d) {
  fputc('\t', f);
  escribe_utf8(f, palabra_de(d->estado));
  fputc('\t', f);
  int alguno = 0;
  for (int w = CERCA_DEL_LIMITE; w < PALABRAS_REMOCION; w++)
    if (d->avisos & (1u << w)) {
      fputs(alguno++ ? "; " : "", f);
      escribe_utf8(f, palabra_de((palabra_remocion)w));
    }
  if (!alguno) fputc('-', f);
}

static void escribe_fila(FILE* f, const char* grupo, const int* c, const poblacion_grupo* z,
                         const diagnostico_grupo* d) {
  fprintf(f, "%s\t%d\t", grupo, d->k);
  for (int i = 0; i < d->k; i++) fprintf(f, "%s%d", i ? " " : "", c[i]);
  fprintf(f, "\t%d", d->T);
  cifra(f, "%.2f", z->N, z->existe);
  cifra(f, "%.2f", z->ES, z->existe);
  celdas_moran(f, &d->moran);
  cifra(f, "%.1f", d->schnute.N, d->schnute.existe);
  probabilidad(f, &d->moran_schnute);
  cifra(f, "%.0f", d->carle_strub.N, d->carle_strub.existe);
  cifra(f, "%.2f", d->carle_strub.ES, d->carle_strub.existe && d->carle_strub.hay_ES);
  probabilidad(f, &d->ajuste);
  celdas_palabras(f, d);
  fputc('\n', f);
}

/* The test between classes, the notes on the columns, and every word used. */
static void escribe_pie(FILE* f, const diagnostico_grupo* g, int grupos, const prueba_chi2* t) {
  fputs("\nIgual capturabilidad entre clases", f);
  if (t->existe) {
    fprintf(f, " (raz\xc3\xb3n de verosimilitudes, %d clases v\xc3\xa1lidas): \xcf\x87\xc2\xb2 = "
            "%.2f con %d gl, p ", t->gl + 1, t->estadistico, t->gl);
    if (t->p < 0.001)
      fputs("< 0.001\n", f);
    else
      fprintf(f, "= %.3f\n", t->p);
  } else {
    fputs(": no se puede contrastar (hacen falta 2 clases v\xc3\xa1lidas)\n", f);
  }
  for (const char* nota : NOTAS) fputs(nota, f);
  fputs("Estados y avisos:\n", f);
  for (int w = 0; w < PALABRAS_REMOCION; w++) {
    int usada = 0;
    for (int i = 0; i < grupos; i++) usada |= g[i].estado == w || (g[i].avisos & (1u << w));
    if (!usada) continue;
    fputs("  ", f);
    escribe_utf8(f, palabra_de((palabra_remocion)w));
    fputs(": ", f);
    escribe_utf8(f, sentido_de((palabra_remocion)w));
    fputc('\n', f);
  }
}

/* The report's estimate as the warnings read it: N, p and ES. */
static estimacion_remocion estimacion_de_zippin(const poblacion_grupo* z) {
  estimacion_remocion e = {};
  e.existe = e.hay_ES = z->existe;
  e.N = z->N, e.p = e.p_primera = 1 - z->q, e.ES = z->ES;
  return e;
}

int escribe_diagnostico(FILE* f, const char* nombre, const int* clases, const int* pasadas, int n,
                        int nclases, int k) {
  if (nclases < 0 || nclases > MAX_CLASES || k < 1 || k > MAX_PASADAS) return 0;
  static int c[RANURAS][MAX_PASADAS + 1], captura[RANURAS], capturas[RANURAS * MAX_PASADAS];
  static diagnostico_grupo g[RANURAS];
  static estimacion_remocion zippin[RANURAS];
  static poblacion_muestra z;
  prueba_chi2 entre_clases;
  cuenta_capturas(clases, pasadas, n, nclases, k, c, captura);
  z = calcula_poblacion(clases, pasadas, n, nclases, k);
  for (int i = 0; i <= nclases; i++) {
    for (int j = 0; j < k; j++) capturas[i * k + j] = c[i][j + 1];
    zippin[i] = estimacion_de_zippin(&z.g[i]);
  }
  diagnostica_muestra(capturas, nclases, k, zippin, g, &entre_clases);
  fputs("Fichero: ", f);
  escribe_visible(f, nombre);
  fprintf(f, "\n%s", CABECERA);
  for (int i = 0; i <= nclases; i++) {
    char grupo[8] = "Total";
    if (i < nclases) snprintf(grupo, sizeof grupo, "%d+", i);
    escribe_fila(f, grupo, capturas + i * k, &z.g[i], &g[i]);
  }
  escribe_pie(f, g, nclases + 1, &entre_clases);
  return 1;
}
