// The report's files: the temporary file beside the report's name, the
// renaming into place once it is whole, and the graph images saved the same
// way, so a failure never leaves a half-written file under the user's name.
#include "export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

static const int CAPACIDAD_NOMBRE = 163;  /* characters of the report's own name */

/* Where the file name starts after any folder. */
static const char* base_de(const char* ruta) {
  const char* barra = strrchr(ruta, '/');
  return barra ? barra + 1 : ruta;
}

/* Permissions a new file gets from the process's mask. */
static mode_t permisos_nuevos() {
  mode_t mascara = umask(0);
  umask(mascara);
  return 0666 & ~mascara;
}

/* Creates an empty temporary file beside `ruta`, ending in `extension`, with
   the permissions `ruta` has or a new file would get. Returns its descriptor,
   -1 if it cannot be made; its name goes to `temporal`. */
static int crea_temporal(const char* ruta, const char* extension, char* temporal, int tam) {
  const char* base = base_de(ruta);
  int carpeta = (int)(base - ruta);
  int largo = snprintf(temporal, tam, "%.*s.%s.XXXXXX%s", carpeta, ruta, base, extension);
  if (largo < 0 || largo >= tam) return -1;
  int fd = mkstemps(temporal, (int)strlen(extension));
  if (fd < 0) return -1;
  struct stat st;
  fchmod(fd, stat(ruta, &st) == 0 ? (st.st_mode & 07777) : permisos_nuevos());
  return fd;
}

int mismo_fichero(const char* a, const char* b) {
  struct stat sa, sb;
  return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

/* The file can take the report: absent, or a regular file we may write. */
static int se_puede_escribir(const char* ruta) {
  struct stat st;
  if (stat(ruta, &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) && access(ruta, W_OK) == 0;
}

int informe_abre(informe* inf, const char* nombre) {
  memset(inf, 0, sizeof *inf);
  const char* base = base_de(nombre);
  const char* punto = strchr(base, '.');
  int raiz = punto ? (int)(punto - base) : 0;  // a name without "." leaves an empty stem
  int carpeta = (int)(base - nombre);
  if ((int)strlen(base) > CAPACIDAD_NOMBRE || raiz + 5 > CAPACIDAD_NOMBRE_IMAGEN ||
      (int)strlen(nombre) >= CAPACIDAD_RUTA - 16)
    return INFORME_NOMBRE_LARGO;
  if (base[0] == 0 || !se_puede_escribir(nombre)) return INFORME_NO_CREADO;
  snprintf(inf->nombre, sizeof inf->nombre, "%s", nombre);
  snprintf(inf->raiz_imagenes, sizeof inf->raiz_imagenes, "%.*s", carpeta + raiz, nombre);
  int fd = crea_temporal(nombre, "", inf->temporal, sizeof inf->temporal);
  if (fd < 0) return INFORME_NO_CREADO;
  inf->f = fdopen(fd, "w");
  if (!inf->f) {
    close(fd);
    remove(inf->temporal);
    return INFORME_NO_CREADO;
  }
  return INFORME_ABIERTO;
}

int informe_cierra(informe* inf) {
  if (fflush(inf->f) != 0 || ferror(inf->f) || fsync(fileno(inf->f)) != 0) inf->error = 1;
  if (fclose(inf->f) != 0) inf->error = 1;
  inf->f = nullptr;
  if (!inf->error && rename(inf->temporal, inf->nombre) != 0) inf->error = 1;
  if (inf->error) remove(inf->temporal);
  return !inf->error;
}

void informe_descarta(informe* inf) {
  if (inf->f) fclose(inf->f);
  inf->f = nullptr;
  remove(inf->temporal);
}

void nombre_imagen(const informe* inf, int digito, char* nombre, int tam) {
  snprintf(nombre, tam, "%s%d.bmp", inf->raiz_imagenes, digito);
}

/* Saves a graph as image `digito` and destroys it. Allegro picks the format
   from the extension, so the temporary name ends in ".bmp" too. */
int informe_guarda_imagen(informe* inf, BITMAP* grafico, int digito) {
  char nombre[CAPACIDAD_RUTA], temporal[CAPACIDAD_RUTA];
  nombre_imagen(inf, digito, nombre, sizeof nombre);
  int fd = grafico ? crea_temporal(nombre, ".bmp", temporal, sizeof temporal) : -1;
  int bien = fd >= 0;
  if (bien) {
    close(fd);
    PALETTE paleta;
    get_palette(paleta);
    bien = save_bitmap(temporal, grafico, paleta) == 0 && rename(temporal, nombre) == 0;
    if (!bien) remove(temporal);
  }
  if (!bien && !inf->imagen_fallida) inf->imagen_fallida = digito;
  if (grafico) destroy_bitmap(grafico);
  return bien;
}

void informe_escribe(informe* inf, const char* fmt, ...) {
  if (inf->error) return;  // one failed write spoils the report; stop writing
  va_list ap;
  va_start(ap, fmt);
  if (vfprintf(inf->f, fmt, ap) < 0) inf->error = 1;
  va_end(ap);
}
