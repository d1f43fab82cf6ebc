// Pasadas: age-class frequencies, removal population estimates, density,
// biomass, weight-length and growth fits for a reach fished in passes.
// The main loop alternates between the load menu and the calculation menu.
#include "analysis.h"
#include "export.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

/* The current sample, owned here for the whole run. */
struct muestra_actual {
  int* pasadas;
  float* longitudes;
  float* pesos;
  int* clases;
};

static void frecuencias(const muestra_actual* m, int n, int nclases) {
  calculo_frecuencias(m->clases, n, nclases);
}

static void poblacion(const muestra_actual* m, int n, int nclases) {
  calculo_poblacional(m->clases, m->pasadas, n, nclases, calculo_pasadas(m->pasadas, n));
}

static void medias(const muestra_actual* m, int n, int nclases) {
  datos_medios(m->clases, m->longitudes, m->pesos, n, nclases);
}

static void densidad(const muestra_actual* m, int n, int nclases) {
  medias_muestra medias = calcula_medias(m->clases, m->longitudes, m->pesos, n, nclases);
  poblacion_muestra p = calcula_poblacion(m->clases, m->pasadas, n, nclases,
                                          calculo_pasadas(m->pasadas, n));
  densidad_de_poblacion(&medias, &p);
}

static void biometria(const muestra_actual* m, int n, int) {
  relaciones_biometricas(m->longitudes, m->pesos, n);
}

static void crecimiento(const muestra_actual* m, int n, int nclases) {
  menu_crecimiento(m->clases, m->longitudes, nclases, n);
}

static void exporta(const muestra_actual* m, int n, int) {
  exporta_todo(m->pasadas, m->longitudes, m->pesos, m->clases, n);
}

/* What each entry of the calculation menu runs, by its number; entry 1 goes
   back to the load menu and 9 ends the program, so they run nothing. */
typedef void (*calculo)(const muestra_actual* m, int n, int nclases);
static const calculo CALCULOS[10] = {
    nullptr,      // no entry 0
    nullptr,      // 1 "Menu de carga"
    frecuencias,  // 2
    poblacion,    // 3
    medias,       // 4
    densidad,     // 5
    biometria,    // 6
    crecimiento,  // 7
    exporta,      // 8 "Exportar resultados"
    nullptr,      // 9 "Salir"
};

/* Runs the calculation menu until "Menu de carga" (returns 1) or "Salir" (5). */
static int bucle_calculo(muestra_actual m, int n, int nclases) {
  int eleccion;
  do {
    eleccion = menu();
    if (eleccion >= 0 && eleccion < 10 && CALCULOS[eleccion]) CALCULOS[eleccion](&m, n, nclases);
  } while (eleccion != 1 && eleccion != 9);
  return eleccion == 9 ? 5 : 1;
}

int main() {
  static int pasadas[MAX_PECES], clases[MAX_PECES];
  static float longitudes[MAX_PECES], pesos[MAX_PECES];
  int ej_pasadas[NUM_EJEMPLO], ej_clases[NUM_EJEMPLO];
  float ej_longitudes[NUM_EJEMPLO], ej_pesos[NUM_EJEMPLO];

  senales_bloquea();  // Allegro's threads leave an interruption to this one, which writes
  init();
  senales_desbloquea();
  if (c_esc != TECLA_ESC) c_esc = lee_tecla();  // the second splash
  if (c_esc == TECLA_ESC) {
    deinit();
    return 0;
  }
  copia_ejemplo(ej_pasadas, ej_longitudes, ej_pesos, ej_clases);
  muestra_actual cargada = {pasadas, longitudes, pesos, clases};
  muestra_actual ejemplo = {ej_pasadas, ej_longitudes, ej_pesos, ej_clases};
  int n = NUM_EJEMPLO, nclases = 0, eleccion = 0;
  do {
    eleccion = menu_carga();
    if (eleccion == 1) {
      n = cargar_datos_mas(pasadas, longitudes, pesos, clases);
      if (n == 0) continue;
      nclases = numero_clases(clases, n);
      eleccion = bucle_calculo(cargada, n, nclases);
    } else if (eleccion == 2) {
      n = cargar_datos(pasadas, longitudes, pesos);
      if (n == 0) continue;
      nclases = clases_edad(clases, longitudes, pasadas, n);
      if (nclases == 0) continue;
      eleccion = bucle_calculo(cargada, n, nclases);
    } else if (eleccion == 3) {
      n = imprime_ejemplo(ej_pasadas, ej_longitudes, ej_pesos, ej_clases);
      nclases = numero_clases(ej_clases, n);
      eleccion = bucle_calculo(ejemplo, n, nclases);
    } else if (eleccion == 4) {
      ayuda();
    }
  } while (eleccion != 5 && c_esc != TECLA_ESC);
  deinit();
  return 0;
}
END_OF_MAIN()
