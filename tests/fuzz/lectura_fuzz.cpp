// Arbitrary bytes read as a data file in both layouts, as words or as a
// spreadsheet table: the reader must never fault, and whatever it accepts
// must be a sample the analyses can take and must read back the same once
// written out again, as words and as a table.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sample.h"

static int pasadas[MAX_PECES], clases[MAX_PECES];
static float longitudes[MAX_PECES], pesos[MAX_PECES];
static int pasadas2[MAX_PECES], clases2[MAX_PECES];
static float longitudes2[MAX_PECES], pesos2[MAX_PECES];

static void comprueba(bool cierto) {
  if (!cierto) abort();
}

static int lee(FILE* f, int con_clases, int* p, float* l, float* w, int* c, char* mensaje) {
  if (!f) return -2;
  int n = lee_muestra(f, con_clases, p, l, w, c, mensaje, LARGO_MENSAJE_LECTURA);
  fclose(f);
  return n;
}

static void comprueba_muestra(int n, int con_clases) {
  for (int i = 0; i < n; i++) {
    comprueba(pasadas[i] >= 1 && pasadas[i] <= MAX_PASADAS);
    comprueba(std::isfinite(longitudes[i]) && longitudes[i] > 0);
    comprueba(std::isfinite(pesos[i]) && pesos[i] > 0);
    if (con_clases) comprueba(clases[i] >= 0 && clases[i] < MAX_CLASES);
  }
}

/* The sample written as a data file reads back to the same fish: as words,
   or as a table of ";" with decimal commas. */
static void comprueba_vuelta(int n, int con_clases, int como_tabla) {
  char* texto = nullptr;
  size_t largo = 0;
  FILE* f = open_memstream(&texto, &largo);
  if (!f) return;
  const char* cabecera = con_clases ? "Pasada Longitud Peso Clase\n" : "Pasada Longitud Peso\n";
  if (como_tabla) cabecera = con_clases ? "Pasada;Longitud;Peso;Clase\r\n" : "Pasada;Longitud;Peso\r\n";
  fputs(cabecera, f);
  char sep = como_tabla ? ';' : ' ';
  for (int i = 0; i < n; i++) {
    char numeros[2][32];
    snprintf(numeros[0], sizeof numeros[0], "%.9g", longitudes[i]);
    snprintf(numeros[1], sizeof numeros[1], "%.9g", pesos[i]);
    for (char* numero : numeros)
      if (char* punto = como_tabla ? strchr(numero, '.') : nullptr) *punto = ',';
    fprintf(f, "%d%c%s%c%s", pasadas[i], sep, numeros[0], sep, numeros[1]);
    if (con_clases) fprintf(f, "%c%d", sep, clases[i]);
    fputs(como_tabla ? "\r\n" : "\n", f);
  }
  fclose(f);
  char mensaje[LARGO_MENSAJE_LECTURA];
  int n2 = lee(fmemopen(texto, largo, "r"), con_clases, pasadas2, longitudes2, pesos2, clases2, mensaje);
  comprueba(n2 == n);
  for (int i = 0; i < n; i++) {
    comprueba(pasadas2[i] == pasadas[i] && longitudes2[i] == longitudes[i] && pesos2[i] == pesos[i]);
    if (con_clases) comprueba(clases2[i] == clases[i]);
  }
  free(texto);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
  if (tam == 0) return 0;  // fmemopen wants some room
  for (int con_clases = 0; con_clases < 2; con_clases++) {
    char mensaje[LARGO_MENSAJE_LECTURA];
    memset(mensaje, 'x', sizeof mensaje);
    int n = lee(fmemopen((void*)datos, tam, "r"), con_clases, pasadas, longitudes, pesos,
                clases, mensaje);
    if (n == -2) return 0;
    if (n == LECTURA_RECHAZADA) {
      size_t m = strnlen(mensaje, sizeof mensaje);
      comprueba(m > 2 && m < sizeof mensaje && mensaje[0] == '<' && mensaje[m - 1] == '>');
      continue;
    }
    comprueba(n >= 0 && n <= MAX_PECES && mensaje[0] == 0);
    comprueba_muestra(n, con_clases);
    comprueba_vuelta(n, con_clases, 0);
    comprueba_vuelta(n, con_clases, 1);
  }
  return 0;
}
