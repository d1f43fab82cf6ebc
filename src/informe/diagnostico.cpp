// The second opinion on a sample's removal estimates, as pasadas-informe
// --diagnostico prints it and a season's resumen_diagnostico holds it: one
// row per class and one for the whole sample, the report's own Zippin figures
// beside the other methods, each group's state and warnings in words; the
// terminal's table ends with what the words mean. The terminal's text and
// the season's tables are UTF-8; the words come in Latin-1 like the report's.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "export.h"
#include "analysis.h"
#include "pasadas_informe.h"
#include "remocion.h"
#include "sample.h"

/* Chi and the dashes have no Latin-1 letter: these names are UTF-8 as they stand. */
const char* const COLUMNAS_RESUMEN_DIAGNOSTICO[2 + COLUMNAS_DIAGNOSTICO] = {
    "Tramo", "Especie", "Grupo", "Pasadas", "Capturas por pasada", "T", "Zippin N", "ES Zippin",
    "Zippin N exacto", "Moran N", "LI", "LS", "p", "Schnute N", "p Moran\xe2\x80\x93Schnute", "Carle\xe2\x80\x93Strub N",
    "ES Carle\xe2\x80\x93Strub",
    "\xcf\x87\xc2\xb2 p", "Estado", "Avisos"};
static const char* const NOTAS[] = {
    "Zippin N y ES Zippin: los del informe, sin redondeo; \"-\" donde la estimaci\xc3\xb3n falla y el "
    "informe da la captura, que es solo un m\xc3\xadnimo.\n",
    "Zippin N exacto: la ra\xc3\xadz de la ecuaci\xc3\xb3n de Zippin en doble precisi\xc3\xb3n; "
    "cerca del l\xc3\xadmite la b\xc3\xbasqueda por pasos del informe puede quedarse lejos de ella.\n",
    "Moran: m\xc3\xa1xima verosimilitud exacta con p constante (Moran 1951), sobre N continuo "
    "como Schnute (1983); LI y LS, intervalo del 95 % por verosimilitud perfil, nunca por debajo "
    "de T.\n",
    "Schnute: la primera pasada con su propia p (Schnute 1983); p Moran\xe2\x80\x93Schnute, "
    "raz\xc3\xb3n de verosimilitudes entre ambos (1 gl): si la capturabilidad cambia tras la "
    "primera pasada.\n",
    "Carle\xe2\x80\x93Strub: la alternativa habitual cuando Zippin falla (verosimilitud ponderada, "
    "Carle y Strub 1978), con su ES (ES Carle\xe2\x80\x93Strub).\n",
    "\xcf\x87\xc2\xb2 p: ajuste de las capturas por pasada a las que espera la p de Moran dados los "
    "peces capturados (k \xe2\x88\x92 2 gl).\n",
};

/* A figure with the given decimal sign, or "-" when it does not exist. */
static std::string cifra(const char* formato, double x, int existe, char decimal) {
  if (!existe || !std::isfinite(x)) return "-";
  char texto[64];
  snprintf(texto, sizeof texto, formato, x);
  for (char* c = texto; *c; c++)
    if (*c == '.') *c = decimal;
  return texto;
}

static std::string probabilidad(const prueba_chi2* t, char decimal) {
  if (t->existe && t->p < 0.001) return cifra("<%.3f", 0.001, 1, decimal);
  return cifra("%.3f", t->p, t->existe, decimal);
}

/* A word of the estimators (Latin-1) as the tables' UTF-8. */
static std::string utf8(const char* latin1) {
  char texto[512];
  texto_utf8(latin1, strlen(latin1), texto, sizeof texto);
  return texto;
}

std::string avisos_diagnostico(const diagnostico_grupo* d, const char* union_) {
  std::string avisos;
  for (int w = CERCA_DEL_LIMITE; w < PALABRAS_REMOCION; w++)
    if (d->avisos & (1u << w)) {
      if (!avisos.empty()) avisos += union_;
      avisos += utf8(palabra_de((palabra_remocion)w));
    }
  return avisos;
}

/* The warnings separated by "; " ("-" without any). */
static std::string avisos_en_palabras(const diagnostico_grupo* d) {
  std::string avisos = avisos_diagnostico(d, "; ");
  return avisos.empty() ? "-" : avisos;
}

void celdas_diagnostico(const diagnostico_muestra* m, int i, char decimal, std::string* celdas) {
  const int* c = m->capturas + i * m->k;
  const poblacion_grupo* z = &m->zippin.g[i];
  const diagnostico_grupo* d = &m->g[i];
  const estimacion_remocion* mo = &d->moran;
  celdas[0] = i < m->nclases ? std::to_string(i) + "+" : "Total";
  celdas[1] = std::to_string(d->k);
  celdas[2].clear();
  for (int j = 0; j < d->k; j++) celdas[2] += (j ? " " : "") + std::to_string(c[j]);
  celdas[3] = std::to_string(d->T);
  celdas[4] = cifra("%.2f", z->N, z->existe, decimal);
  celdas[5] = cifra("%.2f", z->ES, z->existe, decimal);
  celdas[6] = cifra("%.2f", d->zippin.N, d->zippin.existe, decimal);
  celdas[7] = cifra("%.1f", mo->N, mo->existe, decimal);
  celdas[8] = cifra("%.1f", mo->inferior, mo->existe, decimal);
  celdas[9] = mo->existe && mo->sin_limite ? "sin l\xc3\xadmite"
                                           : cifra("%.1f", mo->superior, mo->existe, decimal);
  celdas[10] = cifra("%.3f", mo->p, mo->existe, decimal);
  celdas[11] = cifra("%.1f", d->schnute.N, d->schnute.existe, decimal);
  celdas[12] = probabilidad(&d->moran_schnute, decimal);
  celdas[13] = cifra("%.0f", d->carle_strub.N, d->carle_strub.existe, decimal);
  celdas[14] = cifra("%.2f", d->carle_strub.ES, d->carle_strub.existe && d->carle_strub.hay_ES, decimal);
  celdas[15] = probabilidad(&d->ajuste, decimal);
  celdas[16] = utf8(palabra_de(d->estado));
  celdas[17] = avisos_en_palabras(d);
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

int diagnostica_datos(const int* clases, const int* pasadas, int n, int nclases, int k,
                      const poblacion_muestra* zippin_hecha, diagnostico_muestra* m) {
  if (nclases < 0 || nclases > MAX_CLASES || k < 1 || k > MAX_PASADAS) return 0;
  int c[RANURAS][MAX_PASADAS + 1], captura[RANURAS];
  estimacion_remocion zippin[RANURAS];
  m->nclases = nclases, m->k = k;
  cuenta_capturas(clases, pasadas, n, nclases, k, c, captura);
  m->zippin = zippin_hecha ? *zippin_hecha : calcula_poblacion(clases, pasadas, n, nclases, k);
  for (int i = 0; i <= nclases; i++) {
    for (int j = 0; j < k; j++) m->capturas[i * k + j] = c[i][j + 1];
    zippin[i] = estimacion_de_zippin(&m->zippin.g[i]);
  }
  diagnostica_muestra(m->capturas, nclases, k, zippin, m->g, &m->entre_clases);
  return 1;
}

static void escribe_celdas(FILE* f, const std::string* celdas) {
  for (int c = 0; c < COLUMNAS_DIAGNOSTICO; c++) {
    fputs(c ? "\t" : "", f);
    fputs(celdas[c].c_str(), f);
  }
  fputc('\n', f);
}

int escribe_diagnostico(FILE* f, const char* nombre, const int* clases, const int* pasadas, int n,
                        int nclases, int k) {
  std::unique_ptr<diagnostico_muestra> propia(new diagnostico_muestra());  // large: not on the stack
  diagnostico_muestra& m = *propia;
  if (!diagnostica_datos(clases, pasadas, n, nclases, k, nullptr, &m)) return 0;
  fputs("Fichero: ", f);
  escribe_visible(f, nombre);
  fputc('\n', f);
  std::string celdas[COLUMNAS_DIAGNOSTICO];
  for (int c = 0; c < COLUMNAS_DIAGNOSTICO; c++) celdas[c] = COLUMNAS_RESUMEN_DIAGNOSTICO[2 + c];
  escribe_celdas(f, celdas);
  for (int i = 0; i <= nclases; i++) {
    celdas_diagnostico(&m, i, '.', celdas);
    escribe_celdas(f, celdas);
  }
  escribe_pie(f, m.g, nclases + 1, &m.entre_clases);
  return 1;
}
