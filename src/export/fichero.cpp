// The report's files: the report and its images, written as one set of the
// program's one writer (temporal_abre, temporal_pon), so that neither a
// failure nor an interruption leaves a half-written or a lone new file
// under the user's names.
#include "export.h"

#include <cstdarg>
#include <cstring>

static const int CAPACIDAD_NOMBRE = 163;  /* characters of the report's own name */
static const int DIGITOS[4] = {4, 2, 1, 3}; /* the images, in the order they are written */

/* The first failure names its file; the export will keep nothing. */
static void falla(informe* inf, const char* ruta) {
  if (!inf->error) snprintf(inf->fallido, sizeof inf->fallido, "%s", ruta);
  inf->error = 1;
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
      if (!puede_escribirse(imagen)) {
        falla(inf, imagen);
        return 0;
      }
    }
  return 1;
}

/* Characters of the images' stem in the report's name: up to its first
   "." (none without one: an empty stem), its folder included. */
static int largo_raiz(const char* nombre) {
  const char* base = nombre_sin_carpeta(nombre);
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
  const char* base = nombre_sin_carpeta(nombre);
  int raiz = largo_raiz(nombre) - (int)(base - nombre);
  snprintf(inf->nombre, sizeof inf->nombre, "%s", nombre);  // for the refusal's message
  if ((int)strlen(base) > CAPACIDAD_NOMBRE || raiz + 5 > CAPACIDAD_NOMBRE_IMAGEN ||
      (int)strlen(nombre) >= CAPACIDAD_RUTA - 16)
    return INFORME_NOMBRE_LARGO;
  if (base[0] == 0 || !puede_escribirse(nombre)) {
    falla(inf, nombre);
    return INFORME_NO_CREADO;
  }
  if (!informe_sustituible(nombre)) return INFORME_AJENO;
  snprintf(inf->raiz_imagenes, sizeof inf->raiz_imagenes, "%.*s", largo_raiz(nombre), nombre);
  if (!imagenes_posibles(inf)) return INFORME_NO_CREADO;
  if (!imagenes_sustituibles(nombre, inf->imagenes, inf->fallido, sizeof inf->fallido))
    return INFORME_AJENO;
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
