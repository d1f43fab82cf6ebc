// Opening the files the program reads (data files, tables of reaches, and a
// file a writer looks into before replacing it) only when they are regular
// files: opening a FIFO waits for a writer that never comes, and a device
// such as /dev/zero never ends.
#include "sample.h"
#include "sistema.h"

static_assert(FICHERO_ABIERTO == NORMAL_ABIERTO && FICHERO_SIN_ABRIR == NORMAL_SIN_ABRIR &&
                  FICHERO_NO_NORMAL == NORMAL_NO_ES,
              "a file's opening is told in the system's words");

int abre_lectura(const char* ruta, FILE** f) { return abre_normal(ruta, f); }
