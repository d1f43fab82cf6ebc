// The system's side on Linux and other POSIX systems. A set's files are
// written without a name (O_TMPFILE) where the file system allows it, so
// that nothing of them can be left behind, and linked beside their names
// only to be renamed over them; rename() replaces a file atomically, even an
// open one. Interruptions are SIGINT, SIGTERM and SIGHUP, held off by the
// writing thread's signal mask.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "sistema_interna.h"

/* ---- Files a killed run left ---- */

int quita_abandonados(const char* carpeta, int (*quitar)(const char* ruta, const char* nombre, void* datos),
                      void* datos) {
  DIR* d = opendir(carpeta);
  if (!d) return 0;
  int quitados = 0;
  while (struct dirent* e = readdir(d)) {
    char ruta[CAPACIDAD_RUTA];
    if (e->d_name[0] != '.' || snprintf(ruta, sizeof ruta, "%s/%s", carpeta, e->d_name) >= (int)sizeof ruta)
      continue;
    int fd = open(ruta, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st;
    // A lock that can be had: no running program holds the file.
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        quitar(ruta, e->d_name, datos) && unlink(ruta) == 0)
      quitados++;
    if (fd >= 0) close(fd);
  }
  closedir(d);
  return quitados;
}

/* ---- Files the program reads ---- */

int abre_normal(const char* ruta, FILE** f) {
  *f = nullptr;
  // Without O_NONBLOCK the opening of a FIFO itself would block.
  int fd = open(ruta, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return NORMAL_SIN_ABRIR;
  struct stat st;
  int estado = fstat(fd, &st) != 0 ? NORMAL_SIN_ABRIR : S_ISREG(st.st_mode) ? NORMAL_ABIERTO : NORMAL_NO_ES;
  int opciones = fcntl(fd, F_GETFL);
  if (estado == NORMAL_ABIERTO && opciones >= 0) fcntl(fd, F_SETFL, opciones & ~O_NONBLOCK);
  if (estado == NORMAL_ABIERTO && !(*f = fdopen(fd, "rb"))) estado = NORMAL_SIN_ABRIR;
  if (!*f) {
    int error = errno;  // what the caller says about a file that would not open
    close(fd);
    errno = error;
  }
  return estado;
}

int clase_de_ruta(const char* ruta) {
  struct stat st;
  if (stat(ruta, &st) != 0) return RUTA_NINGUNA;
  return S_ISREG(st.st_mode) ? RUTA_FICHERO : S_ISDIR(st.st_mode) ? RUTA_CARPETA : RUTA_OTRA;
}

int legible(const char* ruta) { return access(ruta, R_OK) == 0; }

int puede_escribirse(const char* ruta) {
  struct stat st;
  if (stat(ruta, &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) && access(ruta, W_OK) == 0;
}

int mismo_fichero(const char* a, const char* b) {
  struct stat sa, sb;
  return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int separa_carpetas(char c) { return c == '/'; }

const char* nombre_sin_carpeta(const char* ruta) {
  const char* barra = strrchr(ruta, '/');
  return barra ? barra + 1 : ruta;
}

int ruta_absoluta(const char* ruta) { return ruta[0] == '/'; }

int crea_carpeta(const char* ruta) { return mkdir(ruta, 0777); }

/* ---- The program itself ---- */

void ruta_del_programa(char* ruta, int capacidad) {
  ssize_t n = readlink("/proc/self/exe", ruta, capacidad - 1);
  ruta[n > 0 ? n : 0] = 0;
}

void argumentos_utf8(int*, char***) {}

void salidas_binarias() {}

int fecha_de(time_t instante, int utc, struct tm* fecha) {
  return (utc ? gmtime_r(&instante, fecha) : localtime_r(&instante, fecha)) != nullptr;
}

/* ---- Text in memory ---- */

FILE* flujo_en_memoria(char** texto, size_t* largo) {
  *texto = nullptr;
  *largo = 0;
  return open_memstream(texto, largo);
}

int texto_del_flujo(FILE* f, char** texto, size_t* largo) {
  (void)texto, (void)largo;  // the stream keeps them up to date at each flush
  return fflush(f) == 0 && !ferror(f);
}

FILE* flujo_de_texto(char* texto, size_t largo) { return fmemopen(texto, largo, "r"); }

double ln_gamma(double x) {
  int signo;
  return lgamma_r(x, &signo);
}

/* ---- The writer's steps ---- */

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

void bytes_al_azar(unsigned char* bytes, int n) {
  if (getrandom(bytes, (size_t)n, 0) != (ssize_t)n)
    for (int i = 0; i < n; i++) bytes[i] = (unsigned char)rand();
}

/* A file being made, for con_nombre_oculto. */
struct fichero_en_ciernes {
  int fd;
  mode_t permisos;
};

/* The new file under a hidden name, for con_nombre_oculto. */
static int crea_oculto(const char* oculto, void* dato) {
  fichero_en_ciernes* c = (fichero_en_ciernes*)dato;
  c->fd = open(oculto, O_WRONLY | O_CREAT | O_EXCL, c->permisos);
  return c->fd >= 0;
}

FILE* temporal_crea(const char* ruta, const char* extension, char* oculto, int tam) {
  char carpeta[CAPACIDAD_RUTA];
  carpeta_de(ruta, carpeta, sizeof carpeta);
  fichero_en_ciernes c = {-1, permisos_de(ruta)};
  oculto[0] = 0;
  if (access("/proc/self/fd", X_OK) == 0) c.fd = open(carpeta, O_TMPFILE | O_WRONLY, c.permisos);
  if (c.fd < 0 && !con_nombre_oculto(ruta, extension, oculto, tam, crea_oculto, &c)) return nullptr;
  int fd = c.fd;
  fchmod(fd, c.permisos);  // as the name has them, whatever the mask
  // Held while the program lives, under any name the file is given: a later
  // run removes only what a killed one left (quita_abandonados).
  flock(fd, LOCK_EX | LOCK_NB);
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    close(fd);
    if (oculto[0]) {
      senales_bloquea();
      unlink(oculto);
      interrupcion_olvida(oculto);
      oculto[0] = 0;
      senales_desbloquea();
    }
  }
  return f;
}

int temporal_termina(FILE* f) {
  int fd = dup(fileno(f));  // keeps a file without a name alive
  if (fd >= 0) sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);  // a hint: fsync decides
  return fd;
}

int temporal_asegura(int fd) { return fsync(fd) == 0; }

void temporal_suelta(int fd) { close(fd); }

int temporal_alcance(FILE* f, const char* oculto, char* nombre, int tam) {
  // A file without a name is still reached through its descriptor, which the stream holds.
  int largo = oculto[0] ? snprintf(nombre, tam, "%s", oculto) : snprintf(nombre, tam, "/proc/self/fd/%d", fileno(f));
  return largo > 0 && largo < tam;
}

/* Links the file without a name to a hidden one, for con_nombre_oculto. */
static int enlaza_oculto(const char* oculto, void* dato) {
  char origen[64];
  snprintf(origen, sizeof origen, "/proc/self/fd/%d", ((fichero_nuevo*)dato)->fd);
  return linkat(AT_FDCWD, origen, AT_FDCWD, oculto, AT_SYMLINK_FOLLOW) == 0;
}

int temporal_enlaza(fichero_nuevo* n) {
  // A link cannot replace an older file: the file gets a hidden name to be renamed over it.
  return n->oculto[0] || con_nombre_oculto(n->ruta, "", n->oculto, sizeof n->oculto, enlaza_oculto, n);
}

int temporal_sustituye(const char* oculto, const char* ruta) { return rename(oculto, ruta) == 0; }

void temporal_sincroniza(const temporales* t) {
  // The new names reach the disk too: each folder of the set is synced once.
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

void borra_fichero(const char* ruta) { unlink(ruta); }

/* ---- The interruption's steps ---- */

static const int SENALES[3] = {SIGINT, SIGTERM, SIGHUP};
static struct sigaction anteriores[3];
static thread_local sigset_t mascara_previa; /* what the thread held off before its outermost stretch */

static void al_recibir(int senal) { al_interrumpir(128 + senal); }

static void las_tres(sigset_t* s) {
  sigemptyset(s);
  for (int senal : SENALES) sigaddset(s, senal);
}

void interrupcion_desvia_a_nosotros() {
  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = al_recibir;
  las_tres(&sa.sa_mask);  // one interruption at a time
  for (int i = 0; i < 3; i++) {
    sigaction(SENALES[i], nullptr, &anteriores[i]);
    if (anteriores[i].sa_handler != SIG_IGN) sigaction(SENALES[i], &sa, nullptr);  // nohup stays nohup
  }
}

void interrupcion_devuelve() {
  for (int i = 0; i < 3; i++) sigaction(SENALES[i], &anteriores[i], nullptr);
}

void interrupciones_retenidas() {
  sigset_t s;
  las_tres(&s);
  pthread_sigmask(SIG_BLOCK, &s, &mascara_previa);
}

void interrupciones_sueltas() { pthread_sigmask(SIG_SETMASK, &mascara_previa, nullptr); }

void espera_el_final() {
  for (;;) pause();
}

void espera_un_momento() {
  const timespec instante = {0, 100000};
  nanosleep(&instante, nullptr);
}

void dice_en_error(const char* texto, int largo) {
  if (write(STDERR_FILENO, texto, (size_t)largo) < 0) {
    // nothing more can be said
  }
}

void termina_ya(int estado) { _exit(estado); }
