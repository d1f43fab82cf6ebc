// A job of many independent pieces done by a few worker threads and handed
// back in the pieces' own order, so that what the calling thread prints and
// keeps is the same whatever the number of workers. Only a bounded number of
// pieces is in flight: the memory stays that of a few pieces.
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "pasadas_informe.h"

/* Where the workers and the calling thread meet. */
struct mesa_reparto {
  const reparto_ordenado* r;
  std::mutex m;
  std::condition_variable hay_hueco, hay_hecho;
  int siguiente = 0, recogidos = 0;  /* the next piece to start; pieces taken back */
  std::vector<char> hecho;           /* per slot: its piece is done and not yet taken */
};

static void obrero(mesa_reparto* mesa, int yo) {
  const reparto_ordenado* r = mesa->r;
  for (;;) {
    int i;
    {
      std::unique_lock<std::mutex> l(mesa->m);
      // a piece starts only once the one that used its slot has been taken
      mesa->hay_hueco.wait(l, [mesa, r] {
        return mesa->siguiente >= r->n || mesa->siguiente < mesa->recogidos + r->huecos;
      });
      if (mesa->siguiente >= r->n) return;
      i = mesa->siguiente++;
    }
    r->trabaja(r->datos, i, i % r->huecos, yo);
    {
      std::lock_guard<std::mutex> l(mesa->m);
      mesa->hecho[i % r->huecos] = 1;
    }
    mesa->hay_hecho.notify_all();
  }
}

/* The pieces taken back in order as the workers finish them. */
static void recoge_en_orden(mesa_reparto* mesa) {
  const reparto_ordenado* r = mesa->r;
  for (int i = 0; i < r->n; i++) {
    int hueco = i % r->huecos;
    {
      std::unique_lock<std::mutex> l(mesa->m);
      mesa->hay_hecho.wait(l, [mesa, hueco] { return mesa->hecho[hueco] != 0; });
      mesa->hecho[hueco] = 0;
    }
    r->recoge(r->datos, i, hueco);
    {
      std::lock_guard<std::mutex> l(mesa->m);
      mesa->recogidos++;
    }
    mesa->hay_hueco.notify_all();
  }
}

/* The workers, as many as the system gives of those asked: none at all
   leaves the job to the calling thread. They hold the interruptions off
   for good: one reaches only the calling thread, whose handler stops them. */
static void contrata(mesa_reparto* mesa, std::vector<std::thread>* obreros) {
  senales_bloquea();
  for (int k = 0; k < mesa->r->hilos; k++) {
    try {
      obreros->emplace_back(obrero, mesa, k);
    } catch (const std::system_error&) {
      break;
    }
  }
  senales_desbloquea();
}

void reparte_en_orden(const reparto_ordenado* r) {
  std::vector<std::thread> obreros;
  mesa_reparto mesa;
  mesa.r = r;
  mesa.hecho.assign((size_t)r->huecos, 0);
  if (r->hilos > 1) contrata(&mesa, &obreros);
  if (obreros.empty()) {  // one worker: each piece in turn, as it comes
    for (int i = 0; i < r->n; i++) {
      r->trabaja(r->datos, i, 0, 0);
      r->recoge(r->datos, i, 0);
    }
    return;
  }
  recoge_en_orden(&mesa);
  for (std::thread& t : obreros) t.join();
}

int hilos_por_omision() {
  unsigned nucleos = std::thread::hardware_concurrency();  // 0 when it cannot tell
  return std::max(1, std::min((int)nucleos, MAX_HILOS));
}
