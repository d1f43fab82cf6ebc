// The one entry to reading a data file: its first line tells a table with
// named columns from a file of words, and each kind goes to its own reader.
#include <cstring>
#include <memory>

#include "lectura_interna.h"
#include "sample.h"
#include "tabla_interna.h"

/* A file that can be read again from where it stands is looked at first. */
static int separador_del_fichero(FILE* f) { return ftell(f) < 0 ? 0 : separador_de_tabla(f); }

/* The tab table that was refused, read again as a file of words: the
   words' sample when they take it, else the table's refusal stands. */
static int palabras_o_tabla(FILE* f, int con_clases, descripcion_datos* d, int* pasadas,
                            float* longitudes, float* pesos, int* clases, char* mensaje,
                            int tam_mensaje) {
  char mensaje_palabras[LARGO_MENSAJE_LECTURA];
  int n = lee_palabras(f, con_clases != 0, pasadas, longitudes, pesos, clases, mensaje_palabras,
                       sizeof mensaje_palabras);
  if (n == LECTURA_RECHAZADA) return n;
  memset(d, 0, sizeof *d);
  d->con_clases = con_clases != 0;
  if (tam_mensaje > 0) mensaje[0] = 0;
  return n;
}

/* A file of the kind a spreadsheet saves as text: read as it is, or as
   the UTF-8 of its UTF-16. */
static int lee_texto(FILE* f, int con_clases, const eleccion_datos* e, descripcion_datos* d,
                     int* pasadas, float* longitudes, float* pesos, int* clases, char* mensaje,
                     int tam_mensaje) {
  memset(d, 0, sizeof *d);
  if (tam_mensaje > 0) mensaje[0] = 0;
  long inicio = ftell(f);
  int separador = separador_del_fichero(f);
  int eligiendo = e && (e->tramo || e->especie);
  if (separador > 0) {
    int n = lee_tabla(f, (char)separador, con_clases, e, d, pasadas, longitudes, pesos, clases,
                      mensaje, tam_mensaje);
    /* A header of words split by tabs was always a file of words: one that
       loaded as such (records split by blanks, say) still loads the same. */
    if (n != LECTURA_RECHAZADA || separador != '\t' || eligiendo || fseek(f, inicio, SEEK_SET) != 0)
      return n;
    return palabras_o_tabla(f, con_clases, d, pasadas, longitudes, pesos, clases, mensaje, tam_mensaje);
  }
  if (separador < 0 || eligiendo) {
    if (tam_mensaje > 0)
      snprintf(mensaje, (size_t)tam_mensaje, separador < 0 ? "<No se ha podido leer el fichero>" : SIN_COLUMNA,
               e && e->tramo ? "Tramo" : "Especie");
    return LECTURA_RECHAZADA;
  }
  d->con_clases = con_clases != 0;
  return lee_palabras(f, con_clases != 0, pasadas, longitudes, pesos, clases, mensaje, tam_mensaje);
}

int lee_muestra_descrita(FILE* f, int con_clases, const eleccion_datos* e, descripcion_datos* d,
              int* pasadas, float* longitudes, float* pesos, int* clases, char* mensaje,
              int tam_mensaje) {
  char* memoria;
  const char* libro;
  FILE* texto = abre_texto(f, e ? &e->libro : nullptr, &memoria, &libro, mensaje, tam_mensaje);
  if (!texto) {
    memset(d, 0, sizeof *d);
    return LECTURA_RECHAZADA;
  }
  int n;
  if (libro) {  // a sheet is a table whatever its first row says: its refusals are the table's
    memset(d, 0, sizeof *d);
    n = lee_tabla(texto, ',', con_clases, e, d, pasadas, longitudes, pesos, clases, mensaje, tam_mensaje);
    d->libro = libro;
  } else {
    n = lee_texto(texto, con_clases, e, d, pasadas, longitudes, pesos, clases, mensaje, tam_mensaje);
    if (texto != f && d->tabla) d->codificacion = "UTF-16 (Texto Unicode)";
  }
  cierra_texto(texto, f, memoria);
  return n;
}

int lee_muestra(FILE* f, int con_clases, int* pasadas, float* longitudes, float* pesos,
                int* clases, char* mensaje, int tam_mensaje) {
  std::unique_ptr<descripcion_datos> d(new descripcion_datos());  // each reading its own
  return lee_muestra_descrita(f, con_clases, nullptr, d.get(), pasadas, longitudes, pesos, clases,
                              mensaje, tam_mensaje);
}
