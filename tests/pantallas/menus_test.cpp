// The load and calculation menus, the help screen and the example table.
#include "pantalla.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

namespace {
const int AZUL[3] = {65, 105, 225};

/* Whether any pixel of the entry's text line is highlight blue. */
bool resaltada(Pantalla* p, int y) {
  (void)p;
  int h = alto(FUENTE_TITULO);
  for (int yy = y; yy < y + h; yy++)
    for (int x = 200; x < 800; x++) {
      int c = getpixel(screen, x, yy);
      if (getr(c) == AZUL[0] && getg(c) == AZUL[1] && getb(c) == AZUL[2]) return true;
    }
  return false;
}
}  // namespace

TEST_F(Pantalla, LoadMenuUpAtStartSelectsSalir) {
  pulsa(TECLA_ARRIBA);
  escribe("\n");
  EXPECT_EQ(menu_carga(), 5);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Pantalla, LoadMenuDownFiveTimesWrapsToFirst) {
  pulsa(TECLA_ABAJO, 5);
  escribe("\n");
  EXPECT_EQ(menu_carga(), 1);
}

TEST_F(Pantalla, LoadMenuEscReturnsSalirWithoutTouchingLastKey) {
  pulsa(TECLA_ABAJO, 2);
  escribe("x9\x1b");
  EXPECT_EQ(menu_carga(), 5);
  EXPECT_EQ(c_esc, 0);
}

TEST_F(Pantalla, LoadMenuHighlightsOnlyTheSelectedEntry) {
  pulsa(TECLA_ABAJO, 2);
  escribe("\n");
  EXPECT_EQ(menu_carga(), 3);
  int h = alto(FUENTE_TITULO);
  for (int k = 1; k <= 5; k++)
    EXPECT_EQ(resaltada(this, SCREEN_H / 2 - 5 * h + 2 * h * (k - 1)), k == 3) << k;
}

TEST_F(Pantalla, CalculationMenuOpensOnEntryAfterLastChosen) {
  int h = alto(FUENTE_TITULO);
  int y0 = (int)(SCREEN_H / 2 - 8.5 * h);
  escribe("\n");
  EXPECT_EQ(menu(), 2);  // first call: "Frecuencias relativas"
  EXPECT_TRUE(resaltada(this, y0 + 2 * h));
  pulsa(TECLA_ABAJO, 6);
  escribe("\n");
  EXPECT_EQ(menu(), 9);  // opened on 3, six down: "Salir"
  m1 = 8;                // after "Exportar resultados"...
  escribe("\n");
  EXPECT_EQ(menu(), 9);  // ...it opens on "Salir"
  m1 = 3;
  pulsa(TECLA_ARRIBA, 3);
  escribe("\n");
  EXPECT_EQ(menu(), 1);  // "Menu de carga", then back to the top
  escribe("\n");
  EXPECT_EQ(menu(), 2);
}

TEST_F(Pantalla, CalculationMenuWrapsAndEscChoosesSalir) {
  pulsa(TECLA_ARRIBA, 2);
  escribe("\n");
  EXPECT_EQ(menu(), 9);  // 2 -> 1 -> 9
  escribe("abc\x1b");
  EXPECT_EQ(menu(), 9);
  EXPECT_EQ(m1, 9);
}

TEST_F(Pantalla, CalculationMenuAfterEscReturnsAtOnceWithoutDrawing) {
  c_esc = TECLA_ESC;
  rectfill(screen, 0, 0, 999, 599, makecol(1, 2, 3));
  EXPECT_EQ(menu(), 9);
  EXPECT_TRUE(color_en(500, 300, 1, 2, 3));
  EXPECT_EQ(m1, 1);
}

TEST_F(Pantalla, HelpShowsDiagramAndLeavesItsKey) {
  escribe("q");
  ayuda();
  EXPECT_EQ(c_esc, tecla_de('q'));
  BITMAP* d = imagen(IMAGEN_AYUDA);
  int x = (SCREEN_W - d->w) / 2, y = (SCREEN_H - d->h) / 2;
  EXPECT_EQ(getpixel(screen, x + d->w / 2, y + d->h / 2), getpixel(d, d->w / 2, d->h / 2));
  escribe("\x1b");
  ayuda();
  EXPECT_EQ(c_esc, TECLA_ESC);
}

/* ---- The example table ---- */

class Ejemplo : public Pantalla {
 protected:
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
  void SetUp() override {
    Pantalla::SetUp();
    copia_ejemplo(pasadas, longitudes, pesos, clases);
  }
  /* y of the text of page row r (0-based) */
  int fila(int r) { return 70 + alto(FUENTE_CABECERA) + 17 + r * (alto(FUENTE_CABECERA) + 10); }
  /* Black pixels in the pass column of page row r: 0 means an empty cell. */
  int tinta(int r) { return cuenta_color(SCREEN_W / 2 - 399, fila(r), SCREEN_W / 2 - 201, fila(r) + 14, 0, 0, 0); }
  int y_flechas() { return fila(15); }
  bool flecha_arriba_negra() { return color_en(SCREEN_W / 2 + 410, y_flechas() - 24, 0, 0, 0); }
  bool flecha_abajo_negra() { return color_en(SCREEN_W / 2 + 410, y_flechas() - 15, 0, 0, 0); }
};

TEST_F(Ejemplo, FirstPageShowsFifteenFishAndOnlyTheDownArrow) {
  escribe("\n");
  EXPECT_EQ(imprime_ejemplo(pasadas, longitudes, pesos, clases), 38);
  for (int r = 0; r < 15; r++) EXPECT_GT(tinta(r), 0) << r;
  EXPECT_FALSE(flecha_arriba_negra());
  EXPECT_TRUE(flecha_abajo_negra());
  EXPECT_EQ(c_esc, 0);
}

TEST_F(Ejemplo, LastPageStopsAfterTwentyThreeDowns) {
  // The last page shows fish 24..38; fish 38 is in pass 3 like fish 31..37,
  // so compare the page after 23 and after 30 presses pixel by pixel.
  pulsa(TECLA_ABAJO, 23);
  escribe("\n");
  imprime_ejemplo(pasadas, longitudes, pesos, clases);
  BITMAP* tras23 = create_bitmap(SCREEN_W, SCREEN_H);
  blit(screen, tras23, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
  EXPECT_TRUE(flecha_arriba_negra());
  EXPECT_FALSE(flecha_abajo_negra());
  pulsa(TECLA_ABAJO, 30);
  escribe("\n");
  imprime_ejemplo(pasadas, longitudes, pesos, clases);
  int distintos = 0;
  for (int y = 0; y < SCREEN_H; y += 2)
    for (int x = 0; x < SCREEN_W; x += 2) distintos += getpixel(screen, x, y) != getpixel(tras23, x, y);
  destroy_bitmap(tras23);
  EXPECT_EQ(distintos, 0);
}

TEST_F(Ejemplo, EscLeavesWithThirtyEightAndStoresEsc) {
  pulsa(TECLA_ABAJO);
  escribe("\x1b");
  EXPECT_EQ(imprime_ejemplo(pasadas, longitudes, pesos, clases), 38);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Ejemplo, ScrollMovesOneRowAndNeverPastTheEnds) {
  EXPECT_EQ(desplaza_tabla(TECLA_ABAJO, 0, 15, 15, 38), 1);
  EXPECT_EQ(desplaza_tabla(TECLA_ABAJO, 23, 38, 15, 38), 23);
  EXPECT_EQ(desplaza_tabla(TECLA_ARRIBA, 5, 20, 15, 38), 4);
  EXPECT_EQ(desplaza_tabla(TECLA_ARRIBA, 0, 15, 15, 38), 0);
  EXPECT_EQ(desplaza_tabla(TECLA_ABAJO, 0, 7, 15, 7), 0);  // a short sample never moves
}
