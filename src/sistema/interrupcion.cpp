// What an interruption (Ctrl-C, the end of the desktop session, a closed
// terminal or console) does to the files being written: the hidden names of
// the files in progress are removed, complete files stay, one notice says
// what was kept, and the program ends at once. Files without a name need
// nothing: the system drops them with the program. The interruption only
// removes, writes and exits, as a signal handler may.
// It never runs within a held-off stretch of any thread: on Linux the
// signals are masked in the thread that writes, and the handler, which may
// run in another thread (a season's workers write too) or, on Windows,
// always does, first stops the others at the edge of their held-off
// stretches (see al_interrumpir).
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "sistema_interna.h"

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

/* While contando, the notice is cuenta_antes, the number cuenta of sets
   that have had their names, and cuenta_despues with its line end. */
static char cuenta_antes[LARGO_AVISO], cuenta_despues[LARGO_AVISO];
static volatile sig_atomic_t largo_antes, largo_despues, contando, cuenta;

static thread_local int bloqueos; /* depth of senales_bloquea in this thread */

/* Threads within a held-off stretch now, and whether an interruption has
   begun: then none enters one and those that leave one wait for the end.
   Lock-free, so that the handler may read and write them. */
static std::atomic<int> en_tramo_sin_senales{0};
static std::atomic<int> interrumpiendo{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler touches them");
/* Two threads never change the names or the notices at once. Taken only
   with the signals held off, so that the handler never finds it taken in
   its own thread. */
static std::mutex cambios;
static int instalada;

/* Every held-off stretch of any thread is over, and none will start. */
static void detiene_los_demas() {
  interrumpiendo.store(1);
  while (en_tramo_sin_senales.load() > 0) espera_un_momento();
}

/* The counting notice, its number written by hand: printf is no handler's. */
static void dice_cuenta() {
  char cifras[16];
  int n = cuenta, k = (int)sizeof cifras;
  do cifras[--k] = (char)('0' + n % 10); while ((n /= 10) > 0 && k > 0);
  dice_en_error(cuenta_antes, largo_antes);
  dice_en_error(cifras + k, (int)sizeof cifras - k);
  dice_en_error(cuenta_despues, largo_despues);
}

void al_interrumpir(int estado) {
  static std::atomic<int> en_curso{0};
  if (en_curso.exchange(1)) espera_el_final();  // one interruption at a time
  detiene_los_demas();
  for (int i = 0; i < MAX_OCULTOS; i++)
    if (oculto_en_uso[i]) borra_fichero(ocultos[i]);
  int a = aviso_actual;
  if (contando)
    dice_cuenta();
  else if (a >= 0)
    dice_en_error(avisos[a], largo_aviso[a]);
  termina_ya(estado);
}

void senales_bloquea() {
  if (bloqueos++) return;
  interrupciones_retenidas();
  en_tramo_sin_senales.fetch_add(1);
  if (interrumpiendo.load()) {
    en_tramo_sin_senales.fetch_sub(1);
    espera_el_final();
  }
}

void senales_desbloquea() {
  if (--bloqueos) return;
  en_tramo_sin_senales.fetch_sub(1);
  if (interrumpiendo.load()) espera_el_final();
  interrupciones_sueltas();
}

void interrupcion_empieza() {
  if (instalada) return;
  interrupcion_desvia_a_nosotros();
  instalada = 1;
}

void interrupcion_termina() {
  if (!instalada) return;
  senales_bloquea();  // an interruption begun on another thread ends the program first
  interrupcion_devuelve();
  senales_desbloquea();
  aviso_actual = aviso_siguiente = -1;
  contando = 0;
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
  senales_bloquea();
  {
    std::lock_guard<std::mutex> solo(cambios);
    int a = aviso_libre(ahora, -1);
    int s = tras_poner ? aviso_libre(tras_poner, a) : -1;
    std::atomic_signal_fence(std::memory_order_seq_cst);  // the texts are whole before they count
    aviso_actual = a;
    aviso_siguiente = s;
    contando = 0;
  }
  senales_desbloquea();
}

void interrupcion_cuenta(const char* antes, int desde, const char* despues) {
  senales_bloquea();
  {
    std::lock_guard<std::mutex> solo(cambios);
    largo_antes = snprintf(cuenta_antes, LARGO_AVISO, "%s", antes);
    largo_despues = snprintf(cuenta_despues, LARGO_AVISO - 1, "%s", despues);
    if (largo_antes >= LARGO_AVISO) largo_antes = LARGO_AVISO - 1;  // cut short, still one line
    if (largo_despues >= LARGO_AVISO - 1) largo_despues = LARGO_AVISO - 2;
    cuenta_despues[largo_despues++] = '\n';
    cuenta = desde;
    contando = 1;
  }
  senales_desbloquea();
}

void interrupcion_puesto() {
  senales_bloquea();
  {
    std::lock_guard<std::mutex> solo(cambios);
    if (contando) cuenta = cuenta + 1;
    if (aviso_siguiente >= 0 && !contando) aviso_actual = aviso_siguiente;
    aviso_siguiente = -1;
  }
  senales_desbloquea();
}

int interrupcion_anota(const char* oculto) {
  senales_bloquea();
  std::unique_lock<std::mutex> solo(cambios);
  int i = 0;
  while (i < MAX_OCULTOS && oculto_en_uso[i]) i++;
  if (i < MAX_OCULTOS) {
    snprintf(ocultos[i], CAPACIDAD_RUTA, "%s", oculto);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    oculto_en_uso[i] = 1;
  }
  solo.unlock();
  senales_desbloquea();
  return i < MAX_OCULTOS;
}

void interrupcion_olvida(const char* oculto) {
  senales_bloquea();
  std::unique_lock<std::mutex> solo(cambios);
  for (int i = 0; i < MAX_OCULTOS; i++)
    if (oculto_en_uso[i] && strcmp(ocultos[i], oculto) == 0) {
      oculto_en_uso[i] = 0;
      break;
    }
  solo.unlock();
  senales_desbloquea();
}
