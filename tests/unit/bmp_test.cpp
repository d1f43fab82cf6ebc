// The BMP writer against Allegro's save_bitmap: the same bytes for the four
// graphs of the example and of a sample at the program's limits, and for
// bitmaps of the other colour depths a desktop may give the window. The PNG
// writer against the BMP: decoded by libpng, the same pixels. And the
// images an export may write over: its own, and no other.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "analysis.h"
#include "pantallas.h"
#include "export.h"
#include "informes.h"
#include "muestra_limite.h"
#include "resumen.h"
#include "sample.h"
#include "sin_ventana.h"

namespace {

class Bmp : public ::testing::Test, protected MuestraDeInforme {
 protected:
  void SetUp() override {
    prepara_allegro_sin_ventana();
    if (!screen) screen = create_bitmap(1000, 600);  // the variants draw their pages there
    Lmax1 = 40, mes0 = 6;  // above the longest fish of both samples
  }

  /* The report's four graphs of the current sample, in the report's order. */
  void cuatro_graficos(BITMAP* g[4]) {
    int nclases = numero_clases(clases, n), cancela = 0;
    float predichas[10], edad0 = 0, fr[RANURAS];
    frecuencias_relativas(clases, n, nclases, fr);
    g[0] = relaciones_biometricas_devuelve(longitudes, pesos, n);
    g[1] = von_bertalanffy_devuelve(1, clases, longitudes, nclases, n, predichas, &edad0, &cancela);
    g[2] = grafico_frecuencias(fr, nclases);
    g[3] = ajuste_polinomial_devuelve(n, nclases, longitudes, predichas, clases, &edad0);
  }

  /* Both writers' files of b are the same bytes. */
  void mismos_bytes(BITMAP* b, const std::string& que) {
    ASSERT_NE(b, nullptr) << que;
    PALETTE paleta;
    get_palette(paleta);
    ASSERT_EQ(save_bitmap("allegro.bmp", b, paleta), 0) << que;
    FILE* f = fopen("propio.bmp", "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(guarda_bmp(b, f)) << que;
    ASSERT_EQ(fclose(f), 0) << que;
    std::string esperado = lee_todo("allegro.bmp");
    EXPECT_GT(esperado.size(), 54u) << que;
    EXPECT_TRUE(lee_todo("propio.bmp") == esperado) << que;
  }

  /* The image saved by `guarda` and read back as red, green, blue bytes:
     the BMP by Allegro, the PNG by libpng (paleta says whether it had one). */
  std::string pixeles_bmp(BITMAP* b) {
    FILE* f = fopen("propio.bmp", "wb");
    EXPECT_TRUE(guarda_bmp(b, f));
    fclose(f);
    PALETTE paleta;
    BITMAP* leido = load_bmp("propio.bmp", paleta);
    std::string rgb;
    for (int y = 0; leido && y < leido->h; y++)
      for (int x = 0; x < leido->w; x++) {
        int c = getpixel(leido, x, y), p = bitmap_color_depth(leido);
        rgb += {(char)getr_depth(p, c), (char)getg_depth(p, c), (char)getb_depth(p, c)};
      }
    if (leido) destroy_bitmap(leido);
    return rgb;
  }

  std::string pixeles_png(BITMAP* b, bool* paleta, size_t* bytes) {
    FILE* f = fopen("propio.png", "wb");
    EXPECT_TRUE(guarda_png(b, f));
    fclose(f);
    std::string fichero = lee_todo("propio.png");
    *bytes = fichero.size();
    png_image imagen;
    memset(&imagen, 0, sizeof imagen);
    imagen.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&imagen, fichero.data(), fichero.size())) return "";
    *paleta = imagen.format & PNG_FORMAT_FLAG_COLORMAP;
    EXPECT_EQ((int)imagen.width, b->w);
    EXPECT_EQ((int)imagen.height, b->h);
    imagen.format = PNG_FORMAT_RGB;
    std::string rgb(PNG_IMAGE_SIZE(imagen), '\0');
    if (!png_image_finish_read(&imagen, nullptr, &rgb[0], 0, nullptr)) return "";
    return rgb;
  }

  /* The PNG of b decodes to the BMP's pixels, with a palette and in far
     fewer bytes when b has few colours. */
  void mismos_pixeles(BITMAP* b, bool pocos_colores, const std::string& que) {
    ASSERT_NE(b, nullptr) << que;
    bool paleta = false;
    size_t bytes = 0;
    std::string bmp = pixeles_bmp(b), png = pixeles_png(b, &paleta, &bytes);
    EXPECT_EQ(bmp.size(), (size_t)b->w * b->h * 3) << que;
    EXPECT_TRUE(png == bmp) << que;
    EXPECT_EQ(paleta, pocos_colores) << que;
    if (pocos_colores) {
      EXPECT_LT(bytes * 10, bmp.size()) << que;
    }
  }

  void compara_graficos(const std::string& muestra) {
    BITMAP* g[4];
    cuatro_graficos(g);
    for (int i = 0; i < 4; i++) {
      mismos_bytes(g[i], muestra + " grafico " + std::to_string(i));
      if (g[i]) destroy_bitmap(g[i]);
    }
  }
};

}  // namespace

TEST_F(Bmp, GraphsOfTheExampleAndOfASampleAtTheLimitsAreSavedAsSaveBitmapSavesThem) {
  compara_graficos("ejemplo");
  prepara_muestra_limite(pasadas, clases, longitudes, pesos);
  n = MAX_PECES;
  compara_graficos("limite");
}

TEST_F(Bmp, OtherColourDepthsAndOddWidthsGiveTheSameBytes) {
  BITMAP* g[4];
  cuatro_graficos(g);
  // Widths of every remainder by four: each row's padding differs.
  for (int profundidad : {15, 16, 24, 32})
    for (int ancho : {541, 540, 539, 538, 1}) {
      BITMAP* b = create_bitmap_ex(profundidad, ancho, 77);
      ASSERT_NE(b, nullptr);
      blit(g[2], b, 0, 0, 0, 0, ancho, 77);
      mismos_bytes(b, std::to_string(profundidad) + " bits, " + std::to_string(ancho));
      destroy_bitmap(b);
    }
  // A window's 32-bit pixels put blue in the low byte, where a bitmap made
  // without a display has red.
  std::swap(_rgb_r_shift_32, _rgb_b_shift_32);
  for (int ancho : {541, 540, 539, 538}) {
    BITMAP* b = create_bitmap_ex(32, ancho, 77);
    blit(g[0], b, 0, 0, 0, 0, ancho, 77);
    mismos_bytes(b, "azul primero, " + std::to_string(ancho));
    destroy_bitmap(b);
  }
  std::swap(_rgb_r_shift_32, _rgb_b_shift_32);
  for (BITMAP* b : g)
    if (b) destroy_bitmap(b);
}

TEST_F(Bmp, AStreamThatTakesNoBytesIsAFailure) {
  BITMAP* b = create_bitmap(541, 403);  // more than fits any buffer on the way
  clear_to_color(b, makecol(255, 255, 153));
  FILE* lleno = fopen("/dev/full", "wb");
  ASSERT_NE(lleno, nullptr);
  EXPECT_FALSE(guarda_bmp(b, lleno));
  fclose(lleno);
  destroy_bitmap(b);
}

/* A season's summary picture of `tramos` reaches, some without density. */
static BITMAP* grafico_de_tramos(int tramos) {
  static resumen_campana r;
  r.ngrafico = tramos;
  for (int i = 0; i < tramos; i++) {
    barra_resumen* b = &r.grafico[i];
    snprintf(b->nombre, sizeof b->nombre, "Tramo %d del r\xEDo", i + 1);
    b->hay = i % 7 != 3;
    b->estimada = i % 5 != 1;
    b->densidad = 0.05f * (float)(i % 11 + 1);
    b->inferior = 0.8f * b->densidad;
    b->superior = 1.4f * b->densidad;
  }
  pagina_resumen pagina = {0, 0, tramos, tramos, 1, 1};
  return grafico_resumen(&r, &pagina);
}

TEST_F(Bmp, PngHoldsTheBmpsPixelsForEveryGraphAndTheSeasonsSummary) {
  for (int muestra = 0; muestra < 2; muestra++) {
    if (muestra) prepara_muestra_limite(pasadas, clases, longitudes, pesos), n = MAX_PECES;
    BITMAP* g[4];
    cuatro_graficos(g);
    for (int i = 0; i < 4; i++) {
      mismos_pixeles(g[i], true, (muestra ? "limite" : "ejemplo") + std::string(" grafico ") +
                                     std::to_string(i));
      if (g[i]) destroy_bitmap(g[i]);
    }
  }
  BITMAP* resumen = grafico_de_tramos(37);
  mismos_pixeles(resumen, true, "resumen");
  destroy_bitmap(resumen);
}

TEST_F(Bmp, PngOfManyColoursIsRgbAndOfEveryDepthTheSamePixels) {
  BITMAP* g[4];
  cuatro_graficos(g);
  for (int profundidad : {15, 16, 24, 32}) {
    BITMAP* b = create_bitmap_ex(profundidad, 301, 77);
    blit(g[2], b, 0, 0, 0, 0, 301, 77);
    mismos_pixeles(b, true, std::to_string(profundidad) + " bits");
    destroy_bitmap(b);
  }
  BITMAP* degradado = create_bitmap_ex(32, 257, 3);  // 771 colours
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 257; x++) putpixel(degradado, x, y, makecol32(x % 256, y * 80, 255 - x / 2));
  mismos_pixeles(degradado, false, "degradado");
  destroy_bitmap(degradado);
  // Around each palette size that changes the bits a pixel takes: bands of
  // colour an odd number of pixels wide, rows repeating in runs, and a
  // block that changes a few pixels of some rows.
  for (int colores : {1, 2, 3, 4, 5, 16, 17, 256, 257}) {
    BITMAP* b = create_bitmap_ex(32, 83, 41);
    for (int y = 0; y < 41; y++)
      for (int x = 0; x < 83; x++) {
        int k = (x / 3 + (y / 4) * 28) % colores;
        putpixel(b, x, y, makecol32(k % 7 * 40, k / 7 * 6, 255 - k % 256));
      }
    rectfill(b, 40, 9, 44, 30, makecol32(0, 0, 0));
    std::set<int> distintos;
    for (int y = 0; y < 41; y++)
      for (int x = 0; x < 83; x++) distintos.insert(getpixel(b, x, y));
    bool paleta = false;
    size_t bytes = 0;
    EXPECT_TRUE(pixeles_png(b, &paleta, &bytes) == pixeles_bmp(b)) << colores << " colores";
    EXPECT_EQ(paleta, distintos.size() <= 256) << distintos.size() << " colores";
    destroy_bitmap(b);
  }
  for (BITMAP* b : g)
    if (b) destroy_bitmap(b);
}

// libpng's write error comes back through its longjmp as a failure. The
// stream's owner finds what stays in its buffer: the image is made of
// noise, whose PNG is far larger than that buffer.
TEST_F(Bmp, APngToAStreamThatTakesNoBytesIsAFailure) {
  BITMAP* b = create_bitmap(541, 403);
  unsigned azar = 12345;
  for (int y = 0; y < 403; y++)
    for (int x = 0; x < 541; x++) {
      azar = azar * 1103515245u + 12345u;
      putpixel(b, x, y, makecol(azar >> 24, (azar >> 16) & 255, (azar >> 8) & 255));
    }
  FILE* lleno = fopen("/dev/full", "wb");
  ASSERT_NE(lleno, nullptr);
  EXPECT_FALSE(guarda_png(b, lleno));
  fclose(lleno);
  destroy_bitmap(b);
}

// A season writes over an earlier season's images, and only over them:
// whatever palette the PNG took, never a picture of the user's that only
// shares the name.
TEST_F(Bmp, OnlyImagesThisProgramWroteMayBeReplaced) {
  for (int colores : {1, 2, 5, 17, 257}) {  // PNGs of 1, 2, 4 and 8 bits a pixel, and RGB
    BITMAP* b = create_bitmap_ex(32, 80 + colores % 4, 41);
    for (int y = 0; y < b->h; y++)
      for (int x = 0; x < b->w; x++) {
        int k = (x + y * b->w) % colores;
        putpixel(b, x, y, makecol32(k % 7 * 40, k / 7 * 6, 255 - k % 256));
      }
    for (const char* nombre : {"propio.bmp", "propio.png"}) {
      FILE* f = fopen(nombre, "wb");
      ASSERT_NE(f, nullptr);
      EXPECT_TRUE(nombre[7] == 'b' ? guarda_bmp(b, f) : guarda_png(b, f));
      ASSERT_EQ(fclose(f), 0);
      EXPECT_TRUE(fichero_sustituible(nombre)) << nombre << ", " << colores << " colores";
    }
    destroy_bitmap(b);
  }
  std::string bmp = lee_todo("propio.bmp"), png = lee_todo("propio.png");
  const struct {
    const char* nombre;
    std::string texto;
  } ajenos[] = {
      {"ppm.bmp", bmp.substr(0, 38) + "\x13\x0b" + bmp.substr(40)},  // 72 dpi as other programs round it
      {"corto.bmp", bmp.substr(0, bmp.size() - 1)},
      {"texto.png", png.substr(0, 33) + std::string("\0\0\0\x0dtEXtSoftware\0GIMP\0\0\0\0", 25) + png.substr(33)},
      {"notas.png", "notas\n"},
      {"notas.bmp", "BM notas\n"},
  };
  for (const auto& a : ajenos) {
    escribe_todo(a.nombre, a.texto);
    EXPECT_FALSE(fichero_sustituible(a.nombre)) << a.nombre;
  }
  escribe_todo("vacio.png", "");
  EXPECT_TRUE(png_sustituible("vacio.png"));
  EXPECT_TRUE(bmp_sustituible("no_existe.bmp"));
  remove("fifo.png");
  ASSERT_EQ(mkfifo("fifo.png", 0600), 0);
  EXPECT_FALSE(png_sustituible("fifo.png"));  // and returns at once
  rmdir("carpeta.bmp");
  ASSERT_EQ(mkdir("carpeta.bmp", 0700), 0);
  EXPECT_FALSE(bmp_sustituible("carpeta.bmp"));
}
