// The report's files: the temporary files beside the report's name and its
// images, and the renaming of all of them into place once every one is whole,
// so a failure never leaves a half-written or a lone new file under the
// user's names.
#include "export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

static const int CAPACIDAD_NOMBRE = 163;  /* characters of the report's own name */
static const char RECURSOS[] = "datas.dat"; /* the program's resource file: never a report */
static const int DIGITOS[4] = {4, 2, 1, 3}; /* the images, in the order they are written */

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

/* Empties the stream onto the disk and closes it; 1 when every byte is there. */
static int termina_fichero(FILE* f) {
  int bien = fflush(f) == 0 && !ferror(f) && fsync(fileno(f)) == 0;
  return (fclose(f) == 0) && bien;
}

FILE* temporal_abre(const char* ruta, const char* extension, char* temporal, int tam) {
  int fd = crea_temporal(ruta, extension, temporal, tam);
  FILE* f = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!f && fd >= 0) {
    close(fd);
    remove(temporal);
  }
  return f;
}

int temporal_pon(FILE* f, const char* temporal, const char* ruta) {
  int bien = termina_fichero(f) && rename(temporal, ruta) == 0;
  if (!bien) remove(temporal);
  return bien;
}

/* Empties the stream into the system, starts its way to the disk and closes
   it, keeping a descriptor in *espera (plus one) to wait on at the end: the
   disk is then awaited once for all the report's files, not once for each. */
static int deja_en_camino(FILE* f, int* espera) {
  int bien = fflush(f) == 0 && !ferror(f);
  int fd = bien ? dup(fileno(f)) : -1;
  if (fd >= 0) sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);  // a hint: fsync still decides
  *espera = fd + 1;
  return (fclose(f) == 0) && fd >= 0;
}

/* The first failure names its file; the export will keep nothing. */
static void falla(informe* inf, const char* ruta) {
  if (!inf->error) snprintf(inf->fallido, sizeof inf->fallido, "%s", ruta);
  inf->error = 1;
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

/* The name may take a report: not the resource file's, and no existing file
   other than an empty one or an earlier report, whose first line is the
   report's. A file we cannot read could be anything: it is kept. */
static int admite_informe(const char* ruta) {
  if (strcmp(base_de(ruta), RECURSOS) == 0) return 0;
  FILE* f = fopen(ruta, "rb");
  if (!f) return errno == ENOENT;
  const size_t largo = strlen(PRIMERA_LINEA_INFORME);
  char linea[sizeof PRIMERA_LINEA_INFORME];
  size_t leidos = fread(linea, 1, sizeof linea, f);
  fclose(f);
  return leidos == 0 || (leidos == largo + 1 && memcmp(linea, PRIMERA_LINEA_INFORME, largo) == 0 &&
                         linea[largo] == '\n');
}

/* Every image name can take its file; else the first that cannot is named. */
static int imagenes_posibles(informe* inf) {
  for (int d : DIGITOS) {
    char imagen[CAPACIDAD_RUTA];
    nombre_imagen(inf, d, imagen, sizeof imagen);
    if (!se_puede_escribir(imagen)) {
      falla(inf, imagen);
      return 0;
    }
  }
  return 1;
}

int informe_abre(informe* inf, const char* nombre) {
  memset(inf, 0, sizeof *inf);
  const char* base = base_de(nombre);
  const char* punto = strchr(base, '.');
  int raiz = punto ? (int)(punto - base) : 0;  // a name without "." leaves an empty stem
  int carpeta = (int)(base - nombre);
  snprintf(inf->nombre, sizeof inf->nombre, "%s", nombre);  // for the refusal's message
  if ((int)strlen(base) > CAPACIDAD_NOMBRE || raiz + 5 > CAPACIDAD_NOMBRE_IMAGEN ||
      (int)strlen(nombre) >= CAPACIDAD_RUTA - 16)
    return INFORME_NOMBRE_LARGO;
  if (base[0] == 0 || !se_puede_escribir(nombre)) {
    falla(inf, nombre);
    return INFORME_NO_CREADO;
  }
  if (!admite_informe(nombre)) return INFORME_AJENO;
  snprintf(inf->raiz_imagenes, sizeof inf->raiz_imagenes, "%.*s", carpeta + raiz, nombre);
  if (!imagenes_posibles(inf)) return INFORME_NO_CREADO;
  inf->f = temporal_abre(nombre, "", inf->temporal, sizeof inf->temporal);
  if (!inf->f) {
    inf->temporal[0] = 0;
    falla(inf, nombre);
    return INFORME_NO_CREADO;
  }
  return INFORME_ABIERTO;
}

/* Waits until every image written is on the disk; a failure names its image. */
static void imagenes_en_disco(informe* inf) {
  for (int d : DIGITOS) {
    if (!inf->espera_imagen[d] || fsync(inf->espera_imagen[d] - 1) == 0) continue;
    char nombre[CAPACIDAD_RUTA];
    nombre_imagen(inf, d, nombre, sizeof nombre);
    return falla(inf, nombre);
  }
}

/* Removes the temporary files still waiting for their names. */
static void borra_temporales(informe* inf) {
  for (int& espera : inf->espera_imagen) {
    if (espera) close(espera - 1);
    espera = 0;
  }
  if (inf->temporal[0]) remove(inf->temporal);
  inf->temporal[0] = 0;
  for (char* t : inf->temporal_imagen) {
    if (t[0]) remove(t);
    t[0] = 0;
  }
}

/* Renames the images and then the report into place, once every name is
   still free for them, so the report never stands with missing images. */
static void pone_en_su_sitio(informe* inf) {
  char imagenes[5][CAPACIDAD_RUTA];
  for (int d : DIGITOS) {
    nombre_imagen(inf, d, imagenes[d], CAPACIDAD_RUTA);
    if (inf->temporal_imagen[d][0] && !se_puede_escribir(imagenes[d])) return falla(inf, imagenes[d]);
  }
  if (!se_puede_escribir(inf->nombre)) return falla(inf, inf->nombre);
  for (int d : DIGITOS) {
    if (!inf->temporal_imagen[d][0]) continue;
    if (rename(inf->temporal_imagen[d], imagenes[d]) != 0) return falla(inf, imagenes[d]);
    inf->temporal_imagen[d][0] = 0;
  }
  if (rename(inf->temporal, inf->nombre) != 0) return falla(inf, inf->nombre);
  inf->temporal[0] = 0;
}

int informe_cierra(informe* inf) {
  if (!inf->error) imagenes_en_disco(inf);
  if (!termina_fichero(inf->f)) falla(inf, inf->nombre);
  inf->f = nullptr;
  if (!inf->error) pone_en_su_sitio(inf);
  borra_temporales(inf);
  return !inf->error;
}

void informe_descarta(informe* inf) {
  if (inf->f) fclose(inf->f);
  inf->f = nullptr;
  borra_temporales(inf);
}

void nombre_imagen(const informe* inf, int digito, char* nombre, int tam) {
  snprintf(nombre, tam, "%s%d.bmp", inf->raiz_imagenes, digito);
}

int informe_guarda_imagen(informe* inf, BITMAP* grafico, int digito) {
  char nombre[CAPACIDAD_RUTA];
  nombre_imagen(inf, digito, nombre, sizeof nombre);
  char* temporal = inf->temporal_imagen[digito];
  int bien = 0;
  if (grafico && !inf->error) {  // after a failure nothing will be kept: spare the work
    FILE* f = temporal_abre(nombre, ".bmp", temporal, CAPACIDAD_RUTA);
    if (f) {
      int escrito = guarda_bmp(grafico, f);
      bien = deja_en_camino(f, &inf->espera_imagen[digito]) && escrito;
      if (!bien) remove(temporal);
    }
    if (!bien) temporal[0] = 0;
  }
  if (!bien) falla(inf, nombre);
  if (grafico) destroy_bitmap(grafico);
  return bien;
}

void informe_escribe(informe* inf, const char* fmt, ...) {
  if (inf->error) return;  // one failed write spoils the report; stop writing
  va_list ap;
  va_start(ap, fmt);
  if (vfprintf(inf->f, fmt, ap) < 0) falla(inf, inf->nombre);
  va_end(ap);
}
