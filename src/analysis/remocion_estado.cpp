// A group's state and warnings in words: what a reviewer would ask of a
// removal estimate before trusting it, decided from the catches and from the
// second opinions' fits. The texts are Latin-1, like the report's.
#include <cmath>

#include "remocion.h"

/* Each word and the one sentence that says what it means for the estimate. */
static const char* const PALABRAS[PALABRAS_REMOCION][2] = {
    {"sin peces", "El grupo no tiene peces: no hay nada que estimar."},
    {"un solo pez",
     "Un pez no dice nada de la capturabilidad: la cifra es la captura, un m\xednimo."},
    {"todos en la primera pasada (recuento completo, no estimaci\xf3n)",
     "Las pasadas siguientes no capturaron ninguno: la captura se toma como recuento completo, "
     "sin intervalo."},
    {"menos de 2 pasadas con peces",
     "Con peces en una sola pasada no hay descenso que medir: la cifra es la captura, un "
     "m\xednimo."},
    {"capturas que no decrecen",
     "R >= (k-1)/2: Zippin no tiene soluci\xf3n; la cifra es la captura, un m\xednimo."},
    {"v\xe1lida", "Las capturas bajan de una pasada a otra: Zippin y Moran dan una estimaci\xf3n."},
    {"cerca del l\xedmite",
     "R >= 0,9\xb7(k-1)/2: las capturas apenas bajan; N y su intervalo son muy inciertos."},
    {"Zippin impreciso cerca del l\xedmite",
     "La N del informe, hallada por pasos de q, se aparta m\xe1s de un 1 % de la ra\xedz exacta de "
     "la ecuaci\xf3n de Zippin (columna Zippin N exacto): c\xedtese esa."},
    {"p < 0,2",
     "Cada pasada captura menos de la quinta parte de los peces: N depende mucho del modelo y su "
     "intervalo es ancho."},
    {"ES/N > 0,5", "El error t\xedpico pasa de la mitad de N, o no existe: la cifra apenas informa."},
    {"capturabilidad decreciente",
     "La primera pasada captur\xf3 una parte mayor que las siguientes (Moran frente a Schnute, "
     "p < 0,05): con p constante N queda por debajo del real."},
    {"capturabilidad creciente",
     "La primera pasada captur\xf3 una parte menor que las siguientes (Moran frente a Schnute, "
     "p < 0,05): el supuesto de p constante no se cumple."},
    {"mal ajuste a p constante",
     "Las capturas por pasada se apartan de las que da una p constante (ji cuadrado, p < 0,05)."},
    {"Schnute sin m\xe1ximo",
     "Con la primera pasada aparte la verosimilitud sigue subiendo sin fin con N: Schnute no da "
     "estimaci\xf3n, y la prueba Moran frente a Schnute usa su l\xedmite."},
    {"capturabilidad desigual entre clases",
     "Las clases no se capturan con la misma p (p < 0,05): el reparto por frecuencias de la "
     "muestra completa no es fiable; mejor las estimaciones por clases."},
    {"Carle-Strub dudoso",
     "La alternativa de Carle y Strub da N/T > 3 o ES/N > 0,5, o no tiene ES: tampoco es fiable."},
};

static const double NIVEL = 0.05; /* a test's p below it gives its warning */

const char* palabra_de(palabra_remocion w) {
  return w >= 0 && w < PALABRAS_REMOCION ? PALABRAS[w][0] : "";
}

const char* sentido_de(palabra_remocion w) {
  return w >= 0 && w < PALABRAS_REMOCION ? PALABRAS[w][1] : "";
}

/* Fish caught and sum of (i-1) c_i, in whole numbers; a negative catch, none. */
static void cuenta(const int* c, int k, long long* T, long long* X, int* con_peces) {
  *T = *X = *con_peces = 0;
  for (int i = 0; i < k; i++)
    if (c[i] < 0) {
      *T = *X = *con_peces = 0;
      return;
    } else if (c[i] > 0) {
      *T += c[i];
      *X += (long long)i * c[i];
      ++*con_peces;
    }
}

palabra_remocion clasifica_grupo(const int* c, int k) {
  long long T, X;
  int con_peces;
  cuenta(c, k, &T, &X, &con_peces);
  if (T == 0) return SIN_PECES;
  if (T == 1) return UN_SOLO_PEZ;
  if (k >= 2 && c[0] == T) return TODOS_EN_LA_PRIMERA;
  if (con_peces < 2) return MENOS_DE_DOS_PASADAS;
  if (2 * X >= (k - 1) * T) return NO_DECRECEN;
  return VALIDA;
}

static unsigned bit(palabra_remocion w) { return 1u << w; }

/* The warnings on the reported estimate e (Moran's when none was reported),
   on Moran's fit and its tests, for a VALIDA group. */
static unsigned avisos_de(const diagnostico_grupo* d, const int* c, const estimacion_remocion* e) {
  long long T, X;
  int con_peces;
  cuenta(c, d->k, &T, &X, &con_peces);
  unsigned a = 20 * X >= 9LL * (d->k - 1) * T ? bit(CERCA_DEL_LIMITE) : 0;
  // the report's steps of q fall short of a root that runs off near the limit
  if (e && e->existe && d->zippin.existe && fabs(e->N - d->zippin.N) > 0.01 * d->zippin.N)
    a |= bit(ZIPPIN_IMPRECISO);
  if (!e || !e->existe) e = &d->moran;
  if (e->existe && e->p < 0.2) a |= bit(P_BAJA);
  if (e->existe && (!e->hay_ES || e->ES > 0.5 * e->N)) a |= bit(ES_GRANDE);
  const estimacion_remocion& m = d->moran;
  if (!m.existe) return a;
  // which way catchability moved: the first catch against what one p expects of it
  if (d->moran_schnute.existe && d->moran_schnute.p < NIVEL)
    a |= bit(c[0] > m.N * m.p ? BAJA_TRAS_LA_PRIMERA : SUBE_TRAS_LA_PRIMERA);
  if (d->ajuste.existe && d->ajuste.p < NIVEL) a |= bit(AJUSTE_POBRE);
  if (d->k >= 3 && !d->schnute.existe) a |= bit(SCHNUTE_SIN_MAXIMO);
  return a;
}

diagnostico_grupo diagnostica_grupo(const int* c, int k, const estimacion_remocion* informada) {
  diagnostico_grupo d = {};
  long long T, X;
  int con_peces;
  cuenta(c, k, &T, &X, &con_peces);
  d.k = k;
  d.T = (int)T;
  d.estado = clasifica_grupo(c, k);
  d.carle_strub = estima_carle_strub(c, k);
  if (d.estado == VALIDA) {
    d.zippin = estima_zippin(c, k);
    d.moran = estima_moran(c, k);
    d.schnute = estima_schnute(c, k);
    d.moran_schnute = prueba_moran_schnute(c, k, &d.moran, &d.schnute);
    d.ajuste = ajuste_chi2(c, k, &d.moran);
    d.avisos = avisos_de(&d, c, informada);
  }
  const estimacion_remocion& cs = d.carle_strub;
  if (cs.existe && (cs.N > 3.0 * T || !cs.hay_ES || cs.ES > 0.5 * cs.N))
    d.avisos |= bit(CARLE_STRUB_DUDOSO);
  return d;
}

void diagnostica_muestra(const int* capturas, int nclases, int k,
                         const estimacion_remocion* informadas, diagnostico_grupo* g,
                         prueba_chi2* clases) {
  for (int i = 0; i <= nclases; i++)
    g[i] = diagnostica_grupo(capturas + i * k, k, informadas ? &informadas[i] : nullptr);
  *clases = prueba_entre_clases(capturas, nclases, k);
  if (clases->existe && clases->p < NIVEL) g[nclases].avisos |= bit(DESIGUAL_ENTRE_CLASES);
}
