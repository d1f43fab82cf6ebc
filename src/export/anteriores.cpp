// Telling the files an earlier run wrote from the user's own: a writer may
// replace only a file of its own kind, known by its first bytes, or an
// empty one. Anything else, or a file that cannot be read, is kept.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "export.h"
#include "sample.h"

static const char RECURSOS[] = "datas.dat"; /* the program's resource file: never a report */

int comienzo_de(const char* ruta, void* bytes, size_t tam, size_t* leidos, long long* largo) {
  *leidos = 0, *largo = 0;
  FILE* f;
  int abierto = abre_lectura(ruta, &f);  // a FIFO under the name must not hold the writer up
  if (abierto != FICHERO_ABIERTO)  // a name too long for the disk holds nothing either
    return abierto == FICHERO_SIN_ABRIR && (errno == ENOENT || errno == ENAMETOOLONG) ? NOMBRE_LIBRE
                                                                                       : NOMBRE_AJENO;
  *leidos = fread(bytes, 1, tam, f);
  int bien = !ferror(f) && fseek(f, 0, SEEK_END) == 0 && (*largo = ftell(f)) >= 0;
  fclose(f);
  return bien ? NOMBRE_OCUPADO : NOMBRE_AJENO;
}

int empieza_por(const char* ruta, const char* inicio, size_t largo_inicio) {
  char bytes[1024];
  size_t leidos;
  long long largo;
  int hay = comienzo_de(ruta, bytes, sizeof bytes, &leidos, &largo);
  if (hay != NOMBRE_OCUPADO) return hay == NOMBRE_LIBRE;
  return largo == 0 || (largo_inicio <= leidos && memcmp(bytes, inicio, largo_inicio) == 0);
}

int informe_sustituible(const char* ruta) {
  if (strcmp(nombre_sin_carpeta(ruta), RECURSOS) == 0) return 0;
  char linea[sizeof PRIMERA_LINEA_INFORME + 1];
  snprintf(linea, sizeof linea, "%s\n", PRIMERA_LINEA_INFORME);
  return empieza_por(ruta, linea, strlen(linea));
}

static long long entero32(const unsigned char* b) {
  return (long long)b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3];
}

/* The chunk at b (of the n bytes read) has type `tipo`; its data's length in *largo. */
static int trozo_png(const unsigned char* b, size_t n, const char* tipo, long long* largo) {
  if (n < 8 || memcmp(b + 4, tipo, 4) != 0) return 0;
  *largo = entero32(b);
  return 1;
}

int png_sustituible(const char* ruta) {
  static const unsigned char FIRMA[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // The signature, the header chunk, a palette of 256 colours and the next chunk's length and type.
  unsigned char b[8 + 25 + 12 + 3 * 256 + 8];
  size_t leidos;
  long long largo, trozo;
  int hay = comienzo_de(ruta, b, sizeof b, &leidos, &largo);
  if (hay != NOMBRE_OCUPADO) return hay == NOMBRE_LIBRE;
  if (largo == 0) return 1;
  if (leidos < 33 || memcmp(b, FIRMA, 8) != 0 || !trozo_png(b + 8, 25, "IHDR", &trozo) || trozo != 13)
    return 0;
  int bits = b[24], color = b[25];
  // Compression, filter and interlace: the only ones the program writes.
  if (b[26] != 0 || b[27] != 0 || b[28] != 0) return 0;
  // Eight-bit RGB, or a palette of 1, 2, 4 or 8 bits a pixel; the image
  // data right after: an editor's or a camera's picture has other chunks, or alpha.
  size_t sigue = 33;
  if (color == 3 && (bits == 1 || bits == 2 || bits == 4 || bits == 8)) {
    if (!trozo_png(b + sigue, leidos - sigue, "PLTE", &trozo) || trozo % 3 != 0 ||
        trozo / 3 > (1 << bits))
      return 0;
    sigue += 12 + (size_t)trozo;
  } else if (color != 2 || bits != 8)
    return 0;
  return sigue <= leidos && trozo_png(b + sigue, leidos - sigue, "IDAT", &trozo);
}

int fichero_sustituible(const char* ruta) {
  size_t n = strlen(ruta);
  if (n >= 4 && strcmp(ruta + n - 4, ".bmp") == 0) return bmp_sustituible(ruta);
  if (n >= 4 && strcmp(ruta + n - 4, ".png") == 0) return png_sustituible(ruta);
  return informe_sustituible(ruta);
}

int imagenes_sustituibles(const char* nombre, int imagenes, char* ajena, int tam) {
  char nombres[MAX_FICHEROS_INFORME][CAPACIDAD_RUTA];
  int n = ficheros_de_informe(nombre, imagenes, nombres);
  for (int i = 1; i < n; i++)  // the report itself is informe_sustituible's
    if (!fichero_sustituible(nombres[i])) {
      snprintf(ajena, (size_t)tam, "%s", nombres[i]);
      return 0;
    }
  return 1;
}

/* ---- Hidden files a killed run left ---- */

/* The name a hidden file of the writer stands beside, into visible: the
   writer names them ".NAME.XXXXXX", six letters or digits, followed by
   NAME's own extension when the file was written under that name. 0 when
   oculto is no such name. */
static int visible_de_oculto(const char* oculto, char* visible, size_t tam) {
  size_t n = strlen(oculto);
  const char* punto = strrchr(oculto, '.');
  for (size_t sufijo : {(size_t)0, punto ? (size_t)(oculto + n - punto) : (size_t)0}) {
    if (oculto[0] != '.' || n < sufijo + 9) continue;  // ".", a letter of NAME, ".", six letters
    size_t fin = n - sufijo, k = fin - 6;
    while (k < fin && isalnum((unsigned char)oculto[k]) && (unsigned char)oculto[k] < 0x80) k++;
    size_t largo = fin - 8;  // NAME, between the first dot and the one before the letters
    if (k != fin || oculto[fin - 7] != '.' || largo + 1 > tam) continue;
    memcpy(visible, oculto + 1, largo);
    visible[largo] = 0;
    // with an extension after the letters, it is NAME's own
    if (sufijo && (largo < sufijo || strcmp(visible + largo - sufijo, oculto + fin) != 0)) continue;
    return 1;
  }
  return 0;
}

int oculto_propio(const char* oculto, const char* visible) {
  size_t leidos;
  long long largo;
  char byte;
  if (comienzo_de(oculto, &byte, 1, &leidos, &largo) != NOMBRE_OCUPADO || largo == 0) return 0;
  size_t n = strlen(visible);
  if (n >= 4 && strcmp(visible + n - 4, ".bmp") == 0) return bmp_sustituible(oculto);
  if (n >= 4 && strcmp(visible + n - 4, ".png") == 0) return png_sustituible(oculto);
  return informe_sustituible(oculto);
}

/* For quita_abandonados: the file `nombre` at ruta is one of the writer's
   hidden files that propio knows as the program's. */
static int es_oculto_propio(const char* ruta, const char* nombre, void* propio) {
  char visible[256];
  return visible_de_oculto(nombre, visible, sizeof visible) &&
         ((int (*)(const char*, const char*))propio)(ruta, visible);
}

int quita_ocultos(const char* carpeta, int (*propio)(const char*, const char*)) {
  return quita_abandonados(carpeta, es_oculto_propio, (void*)propio);
}
