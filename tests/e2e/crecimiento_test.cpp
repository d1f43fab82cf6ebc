// The von Bertalanffy screen reached through the growth menu on the example.
#include "conductor.h"

TEST_F(Programa, ExampleVonBertalanffyThenEsc) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
  ASSERT_TRUE(espera_color(60, 300, 0xe6e6e6));
  teclas({"Return", "Down", "Down", "Down", "Down", "Down", "Return"});  // "Crecimiento"
  teclas({"Return"});  // "Von Bertalanffy"
  teclea("35");
  teclas({"Return"});
  teclea("6");
  teclas({"Return"});
  EXPECT_TRUE(espera_color(300, 82, 0xd9d9d9));  // the growth table's header band
  // the curve at age 2 (15.57 cm) under a scale top of 30 (the longest fish,
  // 29.5): x = 447 + 2*440/5, y = 415 - 15.57*300/30
  EXPECT_TRUE(espera_color(623, 259, 0xfa0000));
  teclas({"Return", "Escape"});
  EXPECT_EQ(espera_fin(), 0);
}
