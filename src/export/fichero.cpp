// The program's one writer: files written without a name (or under a hidden
// one), given their names together once every one is whole on the disk, so
// that neither a failure nor an interruption leaves a half-written or a lone
// new file under the user's names; and the report's files written through it.
#include "export.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

static const int CAPACIDAD_NOMBRE = 163;  /* characters of the report's own name */
static const int DIGITOS[4] = {4, 2, 1, 3}; /* the images, in the order they are written */
static const int INTENTOS_NOMBRE = 100;   /* hidden names tried before giving up */

/* Where the file name starts after any folder. */
static const char* base_de(const char* ruta) {
  const char* barra = strrchr(ruta, '/');
  return barra ? barra + 1 : ruta;
}

/* The folder of ruta, "." when it names none. */
static void carpeta_de(const char* ruta, char* carpeta, int tam) {
  int largo = (int)(base_de(ruta) - ruta);
  snprintf(carpeta, tam, "%.*s", largo ? largo : 1, largo ? ruta : ".");
}

/* Permissions a new file gets from the process's mask. The mask can only
   be read by setting it, so it is read once: two threads reading it at
   once could leave it 0 for good. */
static mode_t permisos_nuevos() {
  static const mode_t mascara = [] {
    mode_t m = umask(0);
    umask(m);
    return m;
  }();
  return 0666 & ~mascara;
}

/* The permissions ruta has, or those a new file gets. */
static mode_t permisos_de(const char* ruta) {
  struct stat st;
  return stat(ruta, &st) == 0 ? (st.st_mode & 07777) : permisos_nuevos();
}

/* A hidden name beside ruta, "folder/.name.XXXXXXextension", with fresh
   letters; 0 when it does not fit. */
static int nombre_oculto(const char* ruta, const char* extension, char* oculto, int tam) {
  static const char LETRAS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char azar[6] = {0};
  if (getrandom(azar, sizeof azar, 0) != (ssize_t)sizeof azar)
    for (unsigned char& a : azar) a = (unsigned char)rand();
  char letras[7];
  for (int i = 0; i < 6; i++) letras[i] = LETRAS[azar[i] % (sizeof LETRAS - 1)];
  letras[6] = 0;
  const char* base = base_de(ruta);
  int largo = snprintf(oculto, tam, "%.*s.%s.%s%s", (int)(base - ruta), ruta, base, letras, extension);
  return largo > 0 && largo < tam;
}

/* Where the file system allows it, a file without a name in ruta's folder,
   which no kill or power cut can leave behind; else a new file under a
   hidden name beside ruta, written to `oculto` and noted for an
   interruption. Its descriptor, -1 when neither can be made. */
static int crea_temporal(const char* ruta, const char* extension, char* oculto, int tam) {
  char carpeta[CAPACIDAD_RUTA];
  carpeta_de(ruta, carpeta, sizeof carpeta);
  mode_t permisos = permisos_de(ruta);
  oculto[0] = 0;
  int fd = access("/proc/self/fd", X_OK) == 0 ? open(carpeta, O_TMPFILE | O_WRONLY, permisos) : -1;
  if (fd >= 0) return fchmod(fd, permisos), fd;
  senales_bloquea();  // the name is noted before an interruption can see it
  for (int i = 0; fd < 0 && i < INTENTOS_NOMBRE && nombre_oculto(ruta, extension, oculto, tam); i++)
    fd = open(oculto, O_WRONLY | O_CREAT | O_EXCL, permisos);
  if (fd >= 0 && !interrupcion_anota(oculto)) close(fd), unlink(oculto), fd = -1;
  if (fd < 0) oculto[0] = 0;
  senales_desbloquea();
  if (fd >= 0) fchmod(fd, permisos);  // as the name has them, whatever the mask
  return fd;
}

/* Removes a file's hidden name, if it has one. */
static void quita_oculto(fichero_nuevo* n) {
  if (!n->oculto[0]) return;
  senales_bloquea();
  unlink(n->oculto);
  interrupcion_olvida(n->oculto);
  n->oculto[0] = 0;
  senales_desbloquea();
}

FILE* temporal_abre(temporales* t, const char* ruta, const char* extension) {
  if (t->n == MAX_TEMPORALES) return nullptr;
  fichero_nuevo* n = &t->f[t->n];
  snprintf(n->ruta, sizeof n->ruta, "%s", ruta);
  n->fd = crea_temporal(ruta, extension, n->oculto, sizeof n->oculto);
  n->f = n->fd >= 0 ? fdopen(n->fd, "wb") : nullptr;
  if (!n->f) {
    if (n->fd >= 0) close(n->fd);
    quita_oculto(n);
    return nullptr;
  }
  n->fd = -1;  // the stream holds it until it is closed
  t->n++;
  return n->f;
}

int temporal_cierra(temporales* t, FILE* f) {
  for (int i = 0; i < t->n; i++) {
    fichero_nuevo* n = &t->f[i];
    if (n->f != f || !f) continue;
    int bien = fflush(f) == 0 && !ferror(f);
    n->fd = bien ? dup(fileno(f)) : -1;  // keeps a file without a name alive
    if (n->fd >= 0) sync_file_range(n->fd, 0, 0, SYNC_FILE_RANGE_WRITE);  // a hint: fsync decides
    n->f = nullptr;
    return (fclose(f) == 0) && n->fd >= 0;
  }
  return 0;
}

int temporal_nombre(const temporales* t, FILE* f, char* nombre, int tam) {
  for (int i = 0; i < t->n; i++) {
    const fichero_nuevo* n = &t->f[i];
    if (n->f != f || !f) continue;
    // A file without a name is still reached through its descriptor, which the stream holds.
    int largo = n->oculto[0] ? snprintf(nombre, tam, "%s", n->oculto)
                             : snprintf(nombre, tam, "/proc/self/fd/%d", fileno(f));
    return largo > 0 && largo < tam;
  }
  return 0;
}

/* The file can take its name: absent, or a regular file we may write. */
static int se_puede_escribir(const char* ruta) {
  struct stat st;
  if (stat(ruta, &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) && access(ruta, W_OK) == 0;
}

/* Every file of the set is whole on the disk and its name can take it;
   else the first that is not, or cannot. */
static fichero_nuevo* falta_alguno(temporales* t) {
  for (int i = 0; i < t->n; i++)
    if (t->f[i].f || t->f[i].fd < 0 || fsync(t->f[i].fd) != 0) return &t->f[i];
  for (int i = 0; i < t->n; i++)
    if (!se_puede_escribir(t->f[i].ruta)) return &t->f[i];
  return nullptr;
}

/* Gives a file without a name a hidden one beside its own, to be renamed
   over an older file (a link cannot replace one); 0 when it cannot. */
static int enlaza(fichero_nuevo* n) {
  if (n->oculto[0]) return 1;
  char origen[64];
  snprintf(origen, sizeof origen, "/proc/self/fd/%d", n->fd);
  for (int i = 0; i < INTENTOS_NOMBRE; i++) {
    if (!nombre_oculto(n->ruta, "", n->oculto, sizeof n->oculto)) break;
    if (!interrupcion_anota(n->oculto)) break;
    if (linkat(AT_FDCWD, origen, AT_FDCWD, n->oculto, AT_SYMLINK_FOLLOW) == 0) return 1;
    interrupcion_olvida(n->oculto);
    if (errno != EEXIST) break;
  }
  n->oculto[0] = 0;
  return 0;
}

/* The new names reach the disk too: each folder of the set is synced once. */
static void sincroniza_carpetas(const temporales* t) {
  for (int i = 0; i < t->n; i++) {
    char carpeta[CAPACIDAD_RUTA], otra[CAPACIDAD_RUTA];
    carpeta_de(t->f[i].ruta, carpeta, sizeof carpeta);
    int vista = 0;
    for (int j = 0; j < i && !vista; j++) {
      carpeta_de(t->f[j].ruta, otra, sizeof otra);
      vista = strcmp(carpeta, otra) == 0;
    }
    int fd = vista ? -1 : open(carpeta, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) fsync(fd), close(fd);
  }
}

/* Every file gets its hidden name, then each is renamed over its own, the
   first one last; the file that failed, or NULL. Signals wait meanwhile;
   only kill -9 or a power cut within these few renames can leave some new
   files (and hidden names) beside the older first file. The first file,
   the report, is renamed last: a new report never stands beside older
   images. */
static fichero_nuevo* renombra(temporales* t) {
  for (int i = 0; i < t->n; i++)
    if (!enlaza(&t->f[i])) return &t->f[i];
  for (int i = t->n - 1; i >= 0; i--) {
    fichero_nuevo* n = &t->f[i];
    if (rename(n->oculto, n->ruta) != 0) return n;
    interrupcion_olvida(n->oculto);
    n->oculto[0] = 0;
  }
  return nullptr;
}

const char* temporal_pon(temporales* t) {
  fichero_nuevo* fallido = falta_alguno(t);
  senales_bloquea();  // a signal now waits until the set has its names or none
  if (!fallido) fallido = renombra(t);
  if (!fallido) {
    sincroniza_carpetas(t);
    interrupcion_puesto();
  }
  temporal_descarta(t);
  senales_desbloquea();
  return fallido ? fallido->ruta : nullptr;
}

void temporal_descarta(temporales* t) {
  for (int i = 0; i < t->n; i++) {
    fichero_nuevo* n = &t->f[i];
    if (n->f) fclose(n->f);
    if (n->fd >= 0) close(n->fd);
    n->f = nullptr;
    n->fd = -1;
    quita_oculto(n);
  }
  t->n = 0;
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

/* The name of image `digito` with the extension ".bmp" or ".png". */
static void nombre_con(const informe* inf, int digito, const char* extension, char* nombre, int tam) {
  snprintf(nombre, tam, "%s%d%s", inf->raiz_imagenes, digito, extension);
}

/* The formats of a graph, in the order each image's files are written. */
static const struct {
  int bit;
  const char* extension;
  int (*guarda)(BITMAP*, FILE*);
} FORMATOS[2] = {{IMAGENES_BMP, ".bmp", guarda_bmp}, {IMAGENES_PNG, ".png", guarda_png}};

/* Every image name of the report's formats can take its file; else the
   first that cannot is named. */
static int imagenes_posibles(informe* inf) {
  for (int d : DIGITOS)
    for (const auto& formato : FORMATOS) {
      if (!(inf->imagenes & formato.bit)) continue;
      char imagen[CAPACIDAD_RUTA];
      nombre_con(inf, d, formato.extension, imagen, sizeof imagen);
      if (!se_puede_escribir(imagen)) {
        falla(inf, imagen);
        return 0;
      }
    }
  return 1;
}

/* Characters of the images' stem in the report's name: up to its first
   "." (none without one: an empty stem), its folder included. */
static int largo_raiz(const char* nombre) {
  const char* base = base_de(nombre);
  const char* punto = strchr(base, '.');
  return (int)(base - nombre) + (punto ? (int)(punto - base) : 0);
}

/* The formats a report's images are asked in: BMP when none is. */
static int formatos_de(int imagenes) {
  return imagenes & IMAGENES_AMBAS ? imagenes & IMAGENES_AMBAS : IMAGENES_BMP;
}

int ficheros_de_imagen(const char* raiz, int imagenes, char (*nombres)[CAPACIDAD_RUTA]) {
  int n = 0;
  for (const auto& formato : FORMATOS)
    if (formatos_de(imagenes) & formato.bit)
      snprintf(nombres[n++], CAPACIDAD_RUTA, "%s%s", raiz, formato.extension);
  return n;
}

int ficheros_de_informe(const char* nombre, int imagenes, char (*nombres)[CAPACIDAD_RUTA]) {
  snprintf(nombres[0], CAPACIDAD_RUTA, "%s", nombre);
  int n = 1;
  for (int d : DIGITOS) {
    char raiz[CAPACIDAD_RUTA];
    snprintf(raiz, sizeof raiz, "%.*s%d", largo_raiz(nombre), nombre, d);
    n += ficheros_de_imagen(raiz, imagenes, nombres + n);
  }
  return n;
}

int informe_abre(informe* inf, const char* nombre, int imagenes) {
  memset(inf, 0, sizeof *inf);
  inf->imagenes = formatos_de(imagenes);
  const char* base = base_de(nombre);
  int raiz = largo_raiz(nombre) - (int)(base - nombre);
  snprintf(inf->nombre, sizeof inf->nombre, "%s", nombre);  // for the refusal's message
  if ((int)strlen(base) > CAPACIDAD_NOMBRE || raiz + 5 > CAPACIDAD_NOMBRE_IMAGEN ||
      (int)strlen(nombre) >= CAPACIDAD_RUTA - 16)
    return INFORME_NOMBRE_LARGO;
  if (base[0] == 0 || !se_puede_escribir(nombre)) {
    falla(inf, nombre);
    return INFORME_NO_CREADO;
  }
  if (!informe_sustituible(nombre)) return INFORME_AJENO;
  snprintf(inf->raiz_imagenes, sizeof inf->raiz_imagenes, "%.*s", largo_raiz(nombre), nombre);
  if (!imagenes_posibles(inf)) return INFORME_NO_CREADO;
  inf->f = temporal_abre(&inf->ficheros, nombre, "");
  if (!inf->f) {
    falla(inf, nombre);
    return INFORME_NO_CREADO;
  }
  return INFORME_ABIERTO;
}

int informe_cierra(informe* inf) {
  if (!temporal_cierra(&inf->ficheros, inf->f)) falla(inf, inf->nombre);
  inf->f = nullptr;
  const char* fallido = inf->error ? nullptr : temporal_pon(&inf->ficheros);
  if (fallido) falla(inf, fallido);
  temporal_descarta(&inf->ficheros);
  return !inf->error;
}

void informe_descarta(informe* inf) {
  temporal_descarta(&inf->ficheros);
  inf->f = nullptr;
}

void nombre_imagen(const informe* inf, int digito, char* nombre, int tam) {
  nombre_con(inf, digito, inf->imagenes & IMAGENES_BMP ? ".bmp" : ".png", nombre, tam);
}

/* Writes the graph through `guarda` as a file of the set; 1 when whole. */
static int guarda_como(temporales* t, BITMAP* grafico, int (*guarda)(BITMAP*, FILE*),
                       const char* nombre, const char* extension) {
  FILE* f = temporal_abre(t, nombre, extension);
  if (!f) return 0;
  int escrito = guarda(grafico, f);
  return temporal_cierra(t, f) && escrito;
}

int temporal_imagen(temporales* t, BITMAP* grafico, const char* raiz, int imagenes, char* fallido,
                    int tam) {
  for (const auto& formato : FORMATOS) {
    if (!(imagenes & formato.bit)) continue;
    snprintf(fallido, tam, "%s%s", raiz, formato.extension);
    if (!grafico || !guarda_como(t, grafico, formato.guarda, fallido, formato.extension)) return 0;
  }
  fallido[0] = 0;
  return 1;
}

int informe_guarda_imagen(informe* inf, BITMAP* grafico, int digito) {
  if (!inf->error) {  // after a failure nothing is kept: spare the work
    char raiz[CAPACIDAD_RUTA], fallido[CAPACIDAD_RUTA];
    snprintf(raiz, sizeof raiz, "%s%d", inf->raiz_imagenes, digito);
    if (!temporal_imagen(&inf->ficheros, grafico, raiz, inf->imagenes, fallido, sizeof fallido))
      falla(inf, fallido);
  }
  if (grafico) destroy_bitmap(grafico);
  return !inf->error;
}

void informe_escribe(informe* inf, const char* fmt, ...) {
  if (inf->error) return;  // one failed write spoils the report; stop writing
  va_list ap;
  va_start(ap, fmt);
  if (vfprintf(inf->f, fmt, ap) < 0) falla(inf, inf->nombre);
  va_end(ap);
}
