// The BMP writer against Allegro's save_bitmap: the same bytes for the four
// graphs of the example and of a sample at the program's limits, and for
// bitmaps of the other colour depths a desktop may give the window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "analysis.h"
#include "pantallas.h"
#include "export.h"
#include "informes.h"
#include "muestra_limite.h"
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
