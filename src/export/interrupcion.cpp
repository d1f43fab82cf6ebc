// What Ctrl-C, the end of the desktop session or a closed terminal does to
// the files being written: the hidden names of the files in progress are
// removed, complete files stay, one notice says what was kept, and the
// program ends at once. Files without a name need nothing: the system drops
// them with the program. The handler only unlinks, writes and exits.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "export.h"

static const int SENALES[3] = {SIGINT, SIGTERM, SIGHUP};
static const int MAX_OCULTOS = 2 * MAX_TEMPORALES;
static const int LARGO_AVISO = 2 * CAPACIDAD_RUTA;
static const int AVISOS = 4; /* the two in force and room for the next two */

/* The hidden names standing in the folders now. Changed only while the
   signals are held off, so the handler never reads one half-written. */
static char ocultos[MAX_OCULTOS][CAPACIDAD_RUTA];
static volatile sig_atomic_t oculto_en_uso[MAX_OCULTOS];

/* avisos[aviso_actual] is written on an interruption (-1: nothing);
   aviso_siguiente (-1: none) takes its place once a set has its names. A
   text is rewritten only while neither index points at it. */
static char avisos[AVISOS][LARGO_AVISO];
static volatile sig_atomic_t largo_aviso[AVISOS];
static volatile sig_atomic_t aviso_actual = -1, aviso_siguiente = -1;

static int bloqueos;             /* depth of senales_bloquea */
static sigset_t mascara_previa;  /* the signals held off before the first */
static struct sigaction anteriores[3];
static int instalada;

static void al_interrumpir(int senal) {
  for (int i = 0; i < MAX_OCULTOS; i++)
    if (oculto_en_uso[i]) unlink(ocultos[i]);
  int a = aviso_actual;
  if (a >= 0 && write(STDERR_FILENO, avisos[a], largo_aviso[a]) < 0) {
    // nothing more can be said
  }
  _exit(128 + senal);
}

static void las_tres(sigset_t* s) {
  sigemptyset(s);
  for (int senal : SENALES) sigaddset(s, senal);
}

void senales_bloquea() {
  if (bloqueos++) return;
  sigset_t s;
  las_tres(&s);
  pthread_sigmask(SIG_BLOCK, &s, &mascara_previa);
}

void senales_desbloquea() {
  if (--bloqueos) return;
  pthread_sigmask(SIG_SETMASK, &mascara_previa, nullptr);
}

void interrupcion_empieza() {
  if (instalada) return;
  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = al_interrumpir;
  las_tres(&sa.sa_mask);  // one interruption at a time
  for (int i = 0; i < 3; i++) {
    sigaction(SENALES[i], nullptr, &anteriores[i]);
    if (anteriores[i].sa_handler != SIG_IGN) sigaction(SENALES[i], &sa, nullptr);  // nohup stays nohup
  }
  instalada = 1;
}

void interrupcion_termina() {
  if (!instalada) return;
  for (int i = 0; i < 3; i++) sigaction(SENALES[i], &anteriores[i], nullptr);
  aviso_actual = aviso_siguiente = -1;
  instalada = 0;
}

/* A text no index points at, other than `tambien`, filled with `texto` and
   its line end. */
static int aviso_libre(const char* texto, int tambien) {
  int a = 0;
  while (a == aviso_actual || a == aviso_siguiente || a == tambien) a++;
  int largo = snprintf(avisos[a], LARGO_AVISO, "%s\n", texto);
  if (largo >= LARGO_AVISO) {  // cut short, still one line
    largo = LARGO_AVISO - 1;
    avisos[a][largo - 1] = '\n';
  }
  largo_aviso[a] = largo;
  return a;
}

void interrupcion_avisa(const char* ahora, const char* tras_poner) {
  int a = aviso_libre(ahora, -1);
  int s = tras_poner ? aviso_libre(tras_poner, a) : -1;
  std::atomic_signal_fence(std::memory_order_seq_cst);  // the texts are whole before they count
  aviso_actual = a;
  aviso_siguiente = s;
}

void interrupcion_puesto() {
  senales_bloquea();
  if (aviso_siguiente >= 0) aviso_actual = aviso_siguiente;
  aviso_siguiente = -1;
  senales_desbloquea();
}

int interrupcion_anota(const char* oculto) {
  senales_bloquea();
  int i = 0;
  while (i < MAX_OCULTOS && oculto_en_uso[i]) i++;
  if (i < MAX_OCULTOS) {
    snprintf(ocultos[i], CAPACIDAD_RUTA, "%s", oculto);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    oculto_en_uso[i] = 1;
  }
  senales_desbloquea();
  return i < MAX_OCULTOS;
}

void interrupcion_olvida(const char* oculto) {
  senales_bloquea();
  for (int i = 0; i < MAX_OCULTOS; i++)
    if (oculto_en_uso[i] && strcmp(ocultos[i], oculto) == 0) {
      oculto_en_uso[i] = 0;
      break;
    }
  senales_desbloquea();
}
