// Graph images as PNG files written by libpng straight from the bitmap in
// memory: a palette when the image has at most 256 colours (every graph
// has a handful, packed 1, 2 or 4 bits a pixel), else 24-bit RGB. Written
// for speed: an export writes four images per reach, and a season
// thousands of them, so only the pixels that differ from the row above are
// looked up and packed again, and each row is stored as its difference
// from the one above, which zlib's run-length mode shrinks at once.
#include "export.h"

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

static const int MAX_PALETA = 256;
static const int CASILLAS = 1024;      /* the palette's hash table: four times its colours */
static const int NIVEL_COMPRESION = 1; /* zlib's fastest: flat graphs shrink well even so */

/* An image ready for libpng: its palette and each pixel's index in it, or
   no palette (indices NULL) when it has more colours. */
struct imagen_png {
  BITMAP* b;
  int ncolores;
  png_color paleta[MAX_PALETA];
  unsigned char* indices;  /* b->w * b->h, row after row */
  /* Per row, the pixels [desde, hasta) that may differ from the row above
     (all of the first row); the rest repeat it. Packing the rows of a
     palette then redoes only these. */
  int* cambio;
};

/* Pixel x of row y as the bitmap holds it: 32-bit memory bitmaps are read
   straight from their lines, any other through getpixel. */
static uint32_t pixel_de(BITMAP* b, int profundidad, int x, int y) {
  if (profundidad == 32 && is_memory_bitmap(b)) return ((const uint32_t*)b->line[y])[x];
  return (uint32_t)getpixel(b, x, y);
}

/* A pixel as pixel_de gives it, as 0xRRGGBB. */
static uint32_t rgb_de(int profundidad, uint32_t p) {
  if (profundidad == 32)
    return ((p >> _rgb_r_shift_32) & 0xFF) << 16 | ((p >> _rgb_g_shift_32) & 0xFF) << 8 |
           ((p >> _rgb_b_shift_32) & 0xFF);
  int c = (int)p;
  return (uint32_t)getr_depth(profundidad, c) << 16 | (uint32_t)getg_depth(profundidad, c) << 8 |
         (uint32_t)getb_depth(profundidad, c);
}

/* The palette index of colour c, added when new; -1 once the palette is
   full. casilla holds index + 1 by hash of the colour, 0 when empty. */
static int indice_de(imagen_png* im, uint32_t c, int* casilla, uint32_t* color) {
  unsigned h = (c * 2654435761u) >> 22;  // the top ten bits: CASILLAS slots
  for (;; h = (h + 1) % CASILLAS) {
    if (casilla[h] == 0) break;
    if (color[h] == c) return casilla[h] - 1;
  }
  if (im->ncolores == MAX_PALETA) return -1;
  png_color* p = &im->paleta[im->ncolores];
  p->red = (png_byte)(c >> 16), p->green = (png_byte)(c >> 8), p->blue = (png_byte)c;
  color[h] = c;
  casilla[h] = ++im->ncolores;
  return im->ncolores - 1;
}

/* Where rows a and b of n pixels first differ (n when they do not), and
   from where on they are the same again: 64 bytes at a time through memcmp
   while they match, then pixel by pixel. */
static int primera_diferencia(const uint32_t* a, const uint32_t* b, int n) {
  int x = 0;
  while (x + 16 <= n && memcmp(a + x, b + x, 64) == 0) x += 16;
  while (x < n && a[x] == b[x]) x++;
  return x;
}

static int fin_de_diferencias(const uint32_t* a, const uint32_t* b, int desde, int n) {
  while (n - 16 >= desde && memcmp(a + n - 16, b + n - 16, 64) == 0) n -= 16;
  while (n > desde && a[n - 1] == b[n - 1]) n--;
  return n;
}

/* Row y's palette indices into p, and its pixels that changed from the
   row above into cambio; it goes on from the colour of the last pixel seen
   (*anterior, its index *ultimo). 0 once the palette is full. */
static int indexa_fila(imagen_png* im, int y, unsigned char* p, uint32_t* anterior, int* ultimo,
                       int* casilla, uint32_t* color) {
  BITMAP* b = im->b;
  int profundidad = bitmap_color_depth(b);
  const uint32_t* linea = profundidad == 32 && is_memory_bitmap(b) ? (const uint32_t*)b->line[y] : nullptr;
  int desde = 0, hasta = b->w;
  if (linea && y > 0) {  // a graph's rows are most often the one above, or differ in a few pixels
    const uint32_t* arriba = (const uint32_t*)b->line[y - 1];
    memcpy(p, p - b->w, (size_t)b->w);
    desde = primera_diferencia(linea, arriba, b->w);
    hasta = fin_de_diferencias(linea, arriba, desde, b->w);
  }
  im->cambio[2 * y] = desde, im->cambio[2 * y + 1] = hasta;
  for (int x = desde; x < hasta; x++) {
    uint32_t c = linea ? linea[x] : pixel_de(b, profundidad, x, y);
    if (*ultimo < 0 || c != *anterior) {  // runs of one colour are most of a graph
      *ultimo = indice_de(im, rgb_de(profundidad, c), casilla, color);
      *anterior = c;
      if (*ultimo < 0) return 0;
    }
    p[x] = (unsigned char)*ultimo;
  }
  return 1;
}

/* Every pixel's palette index into im->indices; 0 (and the indices freed)
   when the image has more than MAX_PALETA colours or no memory is left. */
static int indexa(imagen_png* im) {
  BITMAP* b = im->b;
  im->ncolores = 0;
  im->indices = (unsigned char*)malloc((size_t)b->w * (size_t)b->h);
  im->cambio = (int*)malloc(sizeof(int) * 2 * (size_t)b->h);
  if (!im->indices || !im->cambio) {
    free(im->indices);
    im->indices = nullptr;
    return 0;
  }
  int casilla[CASILLAS] = {0}, ultimo = -1;
  uint32_t color[CASILLAS], anterior = 0;
  for (int y = 0; y < b->h; y++)
    if (!indexa_fila(im, y, im->indices + (size_t)y * (size_t)b->w, &anterior, &ultimo, casilla,
                     color)) {
      free(im->indices);
      im->indices = nullptr;
      return 0;
    }
  return 1;
}

/* Row y as red, green, blue bytes. */
static void fila_rgb(BITMAP* b, int y, unsigned char* p) {
  int profundidad = bitmap_color_depth(b);
  for (int x = 0; x < b->w; x++, p += 3) {
    uint32_t c = rgb_de(profundidad, pixel_de(b, profundidad, x, y));
    p[0] = (unsigned char)(c >> 16), p[1] = (unsigned char)(c >> 8), p[2] = (unsigned char)c;
  }
}

/* libpng's errors come back through longjmp, said nowhere: the caller
   names the file that failed. */
static void png_falla(png_structp png, png_const_charp) { png_longjmp(png, 1); }
static void png_calla(png_structp, png_const_charp) {}

/* The fewest bits a pixel's index fits in: a graph's handful of colours
   packs two or four pixels a byte, and zlib then has half or a quarter of
   the bytes to compress. RGB keeps 8 bits a channel. */
static int bits_por_pixel(const imagen_png* im) {
  if (!im->indices || im->ncolores > 16) return 8;
  return im->ncolores > 4 ? 4 : im->ncolores > 2 ? 2 : 1;
}

/* Pixels [desde, hasta) of a row of indices, one a byte, packed `bits`
   (1, 2 or 4) a pixel into the bytes of fila that hold them, leftmost pixel
   in the high bits; fila's other bytes stay as they are. */
static void empaqueta(const unsigned char* indices, int ancho, int desde, int hasta, int bits,
                      unsigned char* fila) {
  const int por_byte = 8 / bits;
  for (int x = desde - desde % por_byte; x < hasta; x += por_byte) {
    unsigned byte = 0;
    for (int k = 0; k < por_byte; k++) byte = byte << bits | (x + k < ancho ? indices[x + k] : 0);
    fila[x / por_byte] = (unsigned char)byte;
  }
}

/* The rows of im through libpng; fila is room for one RGB row. A packed
   row starts as the row above and takes only the pixels that changed. */
static void escribe_filas(png_structp png, const imagen_png* im, unsigned char* fila) {
  const int ancho = im->b->w, bits = bits_por_pixel(im);
  for (int y = 0; y < im->b->h; y++) {
    const unsigned char* indices = im->indices ? im->indices + (size_t)y * (size_t)ancho : nullptr;
    if (!indices) {
      fila_rgb(im->b, y, fila);
      png_write_row(png, fila);
    } else if (bits == 8) {
      png_write_row(png, indices);
    } else {
      empaqueta(indices, ancho, im->cambio[2 * y], im->cambio[2 * y + 1], bits, fila);
      png_write_row(png, fila);
    }
  }
}

/* Writes im into f; 1 when libpng handed every byte to the stream. Only
   plain C values live in this frame: libpng's errors leave it by longjmp,
   which would skip any destructor. */
static int escribe_png(FILE* f, const imagen_png* im, unsigned char* fila) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, png_falla, png_calla);
  if (!png) return 0;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_init_io(png, f);
  png_set_compression_level(png, NIVEL_COMPRESION);
  png_set_compression_strategy(png, Z_RLE);  // runs of one byte: all a graph's rows hold
  png_set_check_for_invalid_index(png, 0);   // every index came from the palette: no second look
  png_set_filter(png, PNG_FILTER_TYPE_BASE, im->indices ? PNG_FILTER_UP : PNG_FILTER_SUB);
  png_set_IHDR(png, info, (png_uint_32)im->b->w, (png_uint_32)im->b->h, bits_por_pixel(im),
               im->indices ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  if (im->indices) png_set_PLTE(png, info, im->paleta, im->ncolores);
  png_write_info(png, info);
  escribe_filas(png, im, fila);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return 1;
}

int guarda_png(BITMAP* b, FILE* f) {
  if (!b || b->w <= 0 || b->h <= 0) return 0;
  imagen_png im;
  im.b = b;
  if (!indexa(&im)) im.indices = nullptr;  // too many colours: RGB rows
  unsigned char* fila = (unsigned char*)malloc((size_t)b->w * 3);
  int bien = fila && escribe_png(f, &im, fila) && !ferror(f);
  free(fila);
  free(im.indices);
  free(im.cambio);
  return bien;
}
