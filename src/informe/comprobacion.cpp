// The check of a data file before its report: what pasadas-informe
// --comprobar prints about the file it read, so that a season's files can be
// looked over before any report is written.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "export.h"
#include "analysis.h"
#include "pasadas_informe.h"
#include "sample.h"

/* The UTF-8 bytes of Latin-1 letter c in bytes[]; how many (1 or 2). */
static size_t letra_utf8(unsigned char c, char* bytes) {
  if (c < 0x80) {
    bytes[0] = (char)c;
    return 1;
  }
  bytes[0] = (char)(0xC0 | c >> 6);
  bytes[1] = (char)(0x80 | (c & 0x3F));
  return 2;
}

std::string utf8_de(const char* latin1) {
  std::string utf8;
  char bytes[2];
  for (const unsigned char* p = (const unsigned char*)latin1; *p; p++)
    utf8.append(bytes, letra_utf8(*p, bytes));
  return utf8;
}

void escribe_utf8(FILE* f, const char* latin1) { fputs(utf8_de(latin1).c_str(), f); }

std::string visible_de(const char* texto) {
  size_t largo = strlen(texto);
  std::string utf8(3 * largo + 1, '\0');  // a byte of Windows-1252 takes 3 at most
  texto_utf8(texto, largo, &utf8[0], utf8.size());
  utf8.resize(strlen(utf8.c_str()));
  return utf8;
}

void escribe_visible(FILE* f, const char* texto) { fputs(visible_de(texto).c_str(), f); }

std::string valores_de(const char* titulo, const valores_columna* v) {
  std::string texto = std::string(titulo) + ": ";
  for (int i = 0; i < v->n; i++)
    texto += (i ? ", " : "") + utf8_de(v->texto[i]) + " (" + std::to_string(v->filas[i]) + ")";
  if (v->desbordado) texto += ", ...";
  return texto;
}

void escribe_valores(FILE* f, const char* titulo, const valores_columna* v) {
  fputs(valores_de(titulo, v).c_str(), f);
}

/* The units the header names, and how their values become cm and g. */
static void escribe_unidades(const descripcion_datos* d) {
  if (!d->unidad_longitud || !d->unidad_peso) return;
  const char* longitud = strcmp(d->unidad_longitud, "mm") == 0 ? " (se divide entre 10: cm)" : "";
  const char* peso = strcmp(d->unidad_peso, "kg") == 0   ? " (se multiplica por 1000: g)"
                     : strcmp(d->unidad_peso, "mg") == 0 ? " (se divide entre 1000: g)"
                                                         : "";
  printf("\nUnidades: longitud en %s%s, peso en %s%s", d->unidad_longitud, longitud, d->unidad_peso, peso);
}

static void escribe_tipo(const descripcion_datos* d) {
  if (!d->tabla) {
    printf("Tipo: fichero de palabras: cabecera de %d palabras y datos separados por espacios\n",
           d->con_clases ? 4 : 3);
    return;
  }
  const char* separador = d->separador == ';'   ? "\";\" (coma o punto decimal)"
                          : d->separador == ',' ? "\",\" (punto decimal, o coma entre comillas)"
                                                : "tabulador (coma o punto decimal)";
  if (d->libro)  // its numbers are the stored values: no separator nor decimal mark to tell
    printf("Tipo: %s, hoja con cabecera\n", d->libro);
  else
    printf("Tipo: tabla con cabecera; separador %s; %s\n", separador, d->codificacion);
  static const char* const NOMBRES[COLUMNAS_DATOS] = {"Pasada", "Longitud", "Peso",
                                                      "Clase",  "Tramo",    "Especie"};
  fputs("Columnas:", stdout);
  for (int k = 0, primera = 1; k < COLUMNAS_DATOS; k++)
    if (d->columnas[k][0]) {
      printf("%s %s = \"", primera ? "" : ",", NOMBRES[k]);
      escribe_utf8(stdout, d->columnas[k]);
      fputc('"', stdout);
      primera = 0;
    }
  escribe_unidades(d);
  fputs("\nColumnas no usadas: ", stdout);
  escribe_utf8(stdout, d->ignoradas[0] ? d->ignoradas : "ninguna");
  fputc('\n', stdout);
  for (int j = 0; j < 2; j++) {
    const valores_columna* v = j ? &d->especies : &d->tramos;
    if (!d->columnas[j ? DATO_ESPECIE : DATO_TRAMO][0]) continue;
    escribe_valores(stdout, j ? "Especies en el fichero" : "Tramos en el fichero", v);
    fputc('\n', stdout);
  }
}

static const int LARGO_AVISO = 200; /* a warning's line, a species' name in it */

/* Fish per pass (over npasadas) and per class; the number of avisos it
   adds. The passes past the last with fish, with `aviso`, have the
   caller's own warning. */
static int escribe_recuentos(const recuento_pasadas* r, const int* clases, int n, int nclases,
                             int npasadas, const char* aviso, char avisos[][LARGO_AVISO], int navisos) {
  int por_clase[MAX_CLASES] = {0};
  printf("Peces por pasada:");
  for (int k = 1; k <= npasadas; k++) {
    printf("%s %d: %d", k > 1 ? "," : "", k, r->peces[k]);
    if (!r->peces[k] && (k <= r->mayor || !aviso[0]))
      snprintf(avisos[navisos++], LARGO_AVISO, "la pasada %d no tiene peces", k);
  }
  if (!clases) {
    printf("\nPeces por clase: sin clases de edad\n");
    return navisos;
  }
  for (int i = 0; i < n; i++) por_clase[clases[i]]++;
  printf("\nPeces por clase:");
  for (int c = 0; c < nclases; c++) {
    printf("%s %d+: %d", c ? "," : "", c, por_clase[c]);
    if (!por_clase[c] && navisos < 20) snprintf(avisos[navisos++], LARGO_AVISO, "la clase %d+ no tiene peces", c);
  }
  printf("\n");
  return navisos;
}

static void escribe_extremos(const float* longitudes, const float* pesos, int n) {
  int largo = 0, pesado = 0;
  for (int i = 1; i < n; i++) {
    if (longitudes[i] > longitudes[largo]) largo = i;
    if (pesos[i] > pesos[pesado]) pesado = i;
  }
  printf("Pez mas largo: %.2f cm (pez %d); pez mas pesado: %.2f g (pez %d)\n", longitudes[largo],
         largo + 1, pesos[pesado], pesado + 1);
}

/* The whole sample's R and whether the removal estimate can be made. */
static void escribe_estimacion(const int* clases, const int* pasadas, int n, int nclases, int npasadas) {
  if (npasadas < 2) {  // R is 0 and the bound (k-1)/2 too: say what is missing instead
    printf("R (muestra completa): -; la estimacion no es posible con una sola pasada\n");
    return;
  }
  poblacion_muestra p = calcula_poblacion(clases, pasadas, n, nclases, npasadas);
  const poblacion_grupo* g = &p.g[nclases];
  if (!p.dentro_de_limites || !std::isfinite(g->R)) {
    printf("R (muestra completa): -; la estimacion no es posible\n");
    return;
  }
  printf("R (muestra completa): %.4f; la estimacion %s (hace falta 0 < R < %.1f)\n", g->R,
         g->existe ? "es posible" : "no es posible", (npasadas - 1) / 2.0);
}

void comprueba_muestra(const char* nombre, const descripcion_datos* d,
                       const recuento_pasadas* r, const int* pasadas, const float* longitudes,
                       const float* pesos, const int* clases, int n, int npasadas,
                       const char* aviso) {
  static int sin_clases[MAX_PECES];  // all 0+: the whole sample's R needs no classes
  int nclases = clases ? numero_clases(clases, n) : 1;
  if (npasadas < r->mayor) npasadas = r->mayor;
  char avisos[24][LARGO_AVISO];
  int navisos = 0;
  fputs("Fichero: ", stdout);
  escribe_visible(stdout, nombre);
  fputc('\n', stdout);
  escribe_tipo(d);
  printf("Peces leidos: %d\n", n);
  navisos = escribe_recuentos(r, clases, n, nclases, npasadas, aviso, avisos, navisos);
  escribe_extremos(longitudes, pesos, n);
  escribe_estimacion(clases ? clases : sin_clases, pasadas, n, nclases, npasadas);
  if (npasadas < 2)
    snprintf(avisos[navisos++], LARGO_AVISO,
             "solo hay una pasada: si se pesco mas de una, digalo con --pasadas N");
  if (aviso[0]) snprintf(avisos[navisos++], LARGO_AVISO, "%s", aviso);
  if (d->filas_vacias)
    snprintf(avisos[navisos++], LARGO_AVISO, "%d filas vacias, saltadas", d->filas_vacias);
  if (!clases)
    snprintf(avisos[navisos++], LARGO_AVISO, "sin clases de edad: el informe necesita --limites");
  printf("Avisos:%s\n", navisos ? "" : " ninguno");
  for (int i = 0; i < navisos; i++) printf("  %s\n", avisos[i]);
}
