// Where the resource file is looked for. A built program has datas.dat
// beside it; an installed one has it in share/pasadas beside its bin folder
// (/usr/bin/pasadas, /usr/share/pasadas/datas.dat). Both programs and every
// loader of the file find it here, so they cannot disagree.
#include "shell.h"

#include <cstdio>
#include <cstring>

#include "sistema.h"

static const char NOMBRE_RECURSOS[] = "datas.dat";
static const char DESDE_BIN[] = "share/pasadas/";

/* The folder of the running program, with its final separator; "" when unknown. */
static void carpeta_del_programa(char* carpeta, int capacidad) {
  get_executable_name(carpeta, capacidad);
  // Without a system driver Allegro may not know where the program lies.
  if (!ruta_absoluta(carpeta)) ruta_del_programa(carpeta, capacidad);
  carpeta[nombre_sin_carpeta(carpeta) - carpeta] = 0;
}

/* The folder above `carpeta` (which ends in '/'), with its final '/'. */
static void carpeta_superior(char* carpeta) {
  int n = (int)strlen(carpeta);
  if (n <= 1) return;  // "/" or "": nothing above
  carpeta[n - 1] = 0;
  carpeta[nombre_sin_carpeta(carpeta) - carpeta] = 0;
}

void lugares_recursos(char lugares[LUGARES_RECURSOS][CAPACIDAD_RUTA_RECURSOS]) {
  char carpeta[CAPACIDAD_RUTA_RECURSOS];
  carpeta_del_programa(carpeta, sizeof carpeta);
  snprintf(lugares[0], CAPACIDAD_RUTA_RECURSOS, "%s", carpeta);
  carpeta_superior(carpeta);
  // A program that cannot tell where it lies has no share folder either.
  snprintf(lugares[1], CAPACIDAD_RUTA_RECURSOS, "%s%s", carpeta, carpeta[0] ? DESDE_BIN : "");
  lugares[2][0] = 0;  // the working folder
}

bool busca_recursos(char* ruta, int capacidad) {
  char lugares[LUGARES_RECURSOS][CAPACIDAD_RUTA_RECURSOS];
  lugares_recursos(lugares);
  for (auto& lugar : lugares) {
    int n = snprintf(ruta, capacidad, "%s%s", lugar, NOMBRE_RECURSOS);
    if (n < capacidad && legible(ruta)) return true;
  }
  ruta[0] = 0;
  return false;
}

void motivo_sin_recursos(char* mensaje, int capacidad) {
  char ruta[CAPACIDAD_RUTA_RECURSOS];
  if (busca_recursos(ruta, sizeof ruta)) {
    snprintf(mensaje, capacidad, "%s no es el fichero de recursos de Pasadas", ruta);
    return;
  }
  char lugares[LUGARES_RECURSOS][CAPACIDAD_RUTA_RECURSOS];
  lugares_recursos(lugares);
  snprintf(mensaje, capacidad, "no se encuentra %s en %s, en %s ni en la carpeta de trabajo",
           NOMBRE_RECURSOS, lugares[0], lugares[1]);
}
