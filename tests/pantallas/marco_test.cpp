// The page frame every screen starts from.
#include "pantalla.h"
#include "shell.h"

TEST_F(Pantalla, FrameHasGreyPageBorderAndTitleBoxCentredOnX200) {
  marco("Menu de carga");
  int tl = ancho(FUENTE_TITULO, "Menu de carga"), th = alto(FUENTE_TITULO);
  EXPECT_TRUE(color_en(500, 300, 230, 230, 230));
  for (int y : {33, 34, 35}) EXPECT_TRUE(color_en(500, y, 0, 0, 0)) << y;
  EXPECT_TRUE(color_en(500, 36, 230, 230, 230));
  for (int x : {33, 34, 35}) EXPECT_TRUE(color_en(x, 300, 0, 0, 0)) << x;
  for (int x : {965, 966, 967}) EXPECT_TRUE(color_en(x, 300, 0, 0, 0)) << x;
  for (int y : {565, 566, 567}) EXPECT_TRUE(color_en(500, y, 0, 0, 0)) << y;
  // rounded corner: the outer circle passes 40 px from (73,73) along the diagonal
  int en_diagonal = 0;
  for (int d = 40; d <= 50; d++) en_diagonal += color_en(d, d, 0, 0, 0);
  EXPECT_GE(en_diagonal, 1);
  EXPECT_TRUE(color_en(60, 60, 230, 230, 230));  // inside the corner is erased
  EXPECT_TRUE(color_en(36, 36, 230, 230, 230));  // outside the rounded corner
  // the title box: blue inside, three black outlines, symmetric about x = 200
  EXPECT_TRUE(color_en(198 - tl / 2, 33 - th / 2, 176, 196, 222));
  EXPECT_TRUE(color_en(202 + tl / 2, 37 + th / 2, 176, 196, 222));
  for (int i = 0; i < 3; i++) {
    EXPECT_TRUE(color_en(197 - tl / 2 - i, 35, 0, 0, 0)) << i;
    EXPECT_TRUE(color_en(203 + tl / 2 + i, 35, 0, 0, 0)) << i;
  }
  // the border stops short of the box on both sides
  EXPECT_TRUE(color_en(195 - tl / 2, 34, 0, 0, 0));
  EXPECT_TRUE(color_en(205 + tl / 2, 34, 0, 0, 0));
}

TEST_F(Pantalla, EmptyTitleGivesFourPixelBoxAndTenPixelGap) {
  marco("");
  int th = alto(FUENTE_TITULO);
  EXPECT_TRUE(color_en(198, 33 - th / 2, 176, 196, 222));
  EXPECT_TRUE(color_en(202, 37 + th / 2, 176, 196, 222));
  EXPECT_TRUE(color_en(197, 33 - th / 2, 0, 0, 0));
  EXPECT_TRUE(color_en(195, 34, 0, 0, 0));
  EXPECT_TRUE(color_en(205, 34, 0, 0, 0));
}
