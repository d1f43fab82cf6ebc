// Graph images as BMP files with the very bytes Allegro's save_bitmap gives
// them (24 bits a pixel, rows bottom-up, each padded to four bytes, 72 dpi),
// written a row at a time instead of a byte at a time: the images are most
// of an export's work.
#include "export.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const int CABECERA_BMP = 54;  /* file header and information header */
static const int ANCHO_MAXIMO = 4096; /* wider images go to Allegro's writer */
static const int PUNTOS_POR_METRO = 0xB12; /* 72 dpi, as save_bitmap marks them */

static void pon16(unsigned char* p, int v) {
  p[0] = (unsigned char)v;
  p[1] = (unsigned char)(v >> 8);
}

static void pon32(unsigned char* p, uint32_t v) {
  pon16(p, (int)(v & 0xFFFF));
  pon16(p + 2, (int)(v >> 16));
}

/* The two headers of a 24-bit image with `tam_fila` bytes a row. */
static void cabecera_bmp(unsigned char* c, int ancho, int alto, int tam_fila) {
  uint32_t imagen = (uint32_t)tam_fila * (uint32_t)alto;
  pon16(c, 0x4D42);  // "BM"
  pon32(c + 2, CABECERA_BMP + imagen);
  pon32(c + 6, 0);
  pon32(c + 10, CABECERA_BMP);
  pon32(c + 14, 40);
  pon32(c + 18, (uint32_t)ancho);
  pon32(c + 22, (uint32_t)alto);
  pon16(c + 26, 1);   // planes
  pon16(c + 28, 24);  // bits a pixel
  pon32(c + 30, 0);   // no compression
  pon32(c + 34, imagen);
  pon32(c + 38, PUNTOS_POR_METRO);
  pon32(c + 42, PUNTOS_POR_METRO);
  pon32(c + 46, 0);
  pon32(c + 50, 0);
}

int bmp_sustituible(const char* ruta) {
  unsigned char c[CABECERA_BMP], esperada[CABECERA_BMP];
  size_t leidos;
  long long largo;
  int hay = comienzo_de(ruta, c, sizeof c, &leidos, &largo);
  if (hay != NOMBRE_OCUPADO) return hay == NOMBRE_LIBRE;
  if (largo == 0) return 1;
  if (leidos < sizeof c) return 0;
  long long ancho = c[18] | c[19] << 8 | c[20] << 16 | (long long)c[21] << 24;
  long long alto = c[22] | c[23] << 8 | c[24] << 16 | (long long)c[25] << 24;
  if (ancho < 1 || alto < 1 || ancho > 0xFFFF || alto > 0xFFFF) return 0;  // none of the program's
  int tam_fila = (int)((ancho * 3 + 3) & ~3);
  cabecera_bmp(esperada, (int)ancho, (int)alto, tam_fila);
  // The very header the program writes for that size, and the whole image after it.
  return memcmp(c, esperada, sizeof c) == 0 && largo == CABECERA_BMP + (long long)tam_fila * alto;
}

/* Rows of 32-bit pixels, each pixel's three bytes for the file taken from
   one word and stored as a whole word on a little-endian machine; its fourth
   byte is overwritten by the next pixel or the row's padding. In an X window
   a pixel lies in memory as blue, green, red, as the file wants it; without
   a display as red, green, blue. */
static void fila_azul_primero(const uint32_t* pixel, int ancho, unsigned char* p) {
  for (int x = 0; x < ancho; x++) memcpy(p + 3 * x, pixel + x, 4);
}

static void fila_rojo_primero(const uint32_t* pixel, int ancho, unsigned char* p) {
  for (int x = 0; x < ancho; x++) {
    uint32_t bgr = __builtin_bswap32(pixel[x]) >> 8;
    memcpy(p + 3 * x, &bgr, 4);
  }
}

/* Row y as blue, green, red bytes (and one spare byte after them). A 32-bit
   memory bitmap in either usual layout is read straight from its lines; any
   other through getpixel, as save_bitmap reads it. */
static void fila_bgr(BITMAP* b, int y, int profundidad, unsigned char* p) {
  const int ancho = b->w;
  if (profundidad == 32 && is_memory_bitmap(b) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
    const uint32_t* pixel = (const uint32_t*)b->line[y];
    int r = _rgb_r_shift_32, g = _rgb_g_shift_32, a = _rgb_b_shift_32;
    if (a == 0 && g == 8 && r == 16) return fila_azul_primero(pixel, ancho, p);
    if (r == 0 && g == 8 && a == 16) return fila_rojo_primero(pixel, ancho, p);
  }
  for (int x = 0; x < ancho; x++) {
    int c = getpixel(b, x, y);
    *p++ = (unsigned char)getb_depth(profundidad, c);
    *p++ = (unsigned char)getg_depth(profundidad, c);
    *p++ = (unsigned char)getr_depth(profundidad, c);
  }
}

/* Allegro's BMP writer on a stream of ours, for the images this writer
   leaves to it: a file name handed to Allegro is re-encoded through its text
   layer, which turns accented letters into other bytes and so other files.
   The stream stays open for its owner. */
static int flujo_cierra(void*) { return 0; }
static int flujo_lee(void*) { return EOF; }
static int flujo_devuelve(int, void*) { return EOF; }
static long flujo_lee_bloque(void*, long, void*) { return 0; }
static int flujo_pon(int c, void* f) { return putc(c, (FILE*)f); }
static long flujo_pon_bloque(const void* p, long n, void* f) {
  return (long)fwrite(p, 1, (size_t)n, (FILE*)f);
}
static int flujo_salta(void* f, int desde_aqui) { return fseek((FILE*)f, desde_aqui, SEEK_CUR); }
static int flujo_al_final(void* f) { return feof((FILE*)f); }
static int flujo_error(void* f) { return ferror((FILE*)f); }
static const PACKFILE_VTABLE FLUJO = {flujo_cierra,     flujo_lee,      flujo_devuelve,
                                      flujo_lee_bloque, flujo_pon,      flujo_pon_bloque,
                                      flujo_salta,      flujo_al_final, flujo_error};

static int guarda_con_allegro(BITMAP* b, FILE* f) {
  PALETTE paleta;
  get_palette(paleta);
  PACKFILE* pf = pack_fopen_vtable(&FLUJO, f);
  if (!pf) return 0;
  *allegro_errno = 0;  // the writer reports through it: clear what earlier calls left
  int bien = save_bmp_pf(pf, b, paleta) == 0;
  pack_fclose(pf);
  return bien && !ferror(f);
}

int guarda_bmp(BITMAP* b, FILE* f) {
  int profundidad = bitmap_color_depth(b);
  // Palette images carry their palette: Allegro writes those.
  if (profundidad == 8 || b->w > ANCHO_MAXIMO || b->w <= 0 || b->h <= 0)
    return guarda_con_allegro(b, f);
  // Whole rows gathered into blocks far larger than the stream's buffer,
  // which then go to the file in one write each; each image its own block,
  // so that images may be written side by side.
  const int TAM_BLOQUE = 1 << 16;
  unsigned char* bloque = (unsigned char*)malloc(TAM_BLOQUE);
  if (!bloque) return 0;
  int tam_fila = (b->w * 3 + 3) & ~3, lleno = CABECERA_BMP;
  cabecera_bmp(bloque, b->w, b->h, tam_fila);
  int bien = 1;
  for (int y = b->h - 1; bien && y >= 0; y--) {
    if (lleno + tam_fila + 1 > TAM_BLOQUE) {  // a row may write one byte past its end
      bien = fwrite(bloque, 1, lleno, f) == (size_t)lleno;
      lleno = 0;
    }
    unsigned char* fila = bloque + lleno;
    fila_bgr(b, y, profundidad, fila);
    for (int x = b->w * 3; x < tam_fila; x++) fila[x] = 0;
    lleno += tam_fila;
  }
  bien = bien && fwrite(bloque, 1, lleno, f) == (size_t)lleno && !ferror(f);
  free(bloque);
  return bien;
}
