// Opening the files the program reads (data files, tables of reaches, and a
// file a writer looks into before replacing it) only when they are regular
// files: opening a FIFO waits for a writer that never comes, and a device
// such as /dev/zero never ends.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "sample.h"

int abre_lectura(const char* ruta, FILE** f) {
  *f = nullptr;
  // Without O_NONBLOCK the opening of a FIFO itself would block.
  int fd = open(ruta, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return FICHERO_SIN_ABRIR;
  struct stat st;
  int estado = fstat(fd, &st) != 0 ? FICHERO_SIN_ABRIR : S_ISREG(st.st_mode) ? FICHERO_ABIERTO
                                                                              : FICHERO_NO_NORMAL;
  int opciones = fcntl(fd, F_GETFL);
  if (estado == FICHERO_ABIERTO && opciones >= 0) fcntl(fd, F_SETFL, opciones & ~O_NONBLOCK);
  if (estado == FICHERO_ABIERTO && !(*f = fdopen(fd, "rb"))) estado = FICHERO_SIN_ABRIR;
  if (!*f) {
    int error = errno;  // what the caller says about a file that would not open
    close(fd);
    errno = error;
  }
  return estado;
}
