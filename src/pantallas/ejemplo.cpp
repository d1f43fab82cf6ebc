// The built-in example shown under "Cargar datos" before it is taken.
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

/* The example's table: four columns, fifteen rows a page. */
static tabla_muestra tabla_ejemplo() {
  int c = SCREEN_W / 2;
  tabla_muestra t = {4, {"Pasada", "Longitud (cm)", "Peso (g)", "Clases"},
                     {c - 300, c - 100, c + 100, c + 300},     // centres of the columns
                     {c - 400, c - 200, c, c + 200, c + 400},  // rules
                     70,                                       // top line
                     28,                                       // header band's height
                     SCREEN_H - 130,                           // grid drawn down to
                     SCREEN_H - 140,                           // rows down to
                     15,                                       // rows a page
                     c + 410};                                 // x of the scroll marks
  return t;
}

int imprime_ejemplo(int* pasadas, float* longitudes, float* pesos, int* clases) {
  static const int columnas[4] = {COL_PASADA, COL_LONGITUD, COL_PESO, COL_CLASE};
  marco("Cargar datos");
  tabla_muestra t = tabla_ejemplo();
  recorre_tabla_muestra(&t, columnas, NUM_EJEMPLO, pasadas, longitudes, pesos, clases,
                        "<Pulse ENTER para volver al menu>", SCREEN_W / 2, SCREEN_H - 60,
                        rojo_aviso());
  return NUM_EJEMPLO;
}
