// The frequency and mean screens reached from the calculation menu on the example.
#include "conductor.h"

TEST_F(Programa, ExampleFrequenciesThenMeansThenEsc) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
  ASSERT_TRUE(espera_color(60, 300, 0xe6e6e6));
  teclas({"Return", "Return"});  // leaves the table; "Frecuencias relativas"
  EXPECT_TRUE(espera_color(491, 415 - 200, 0xff0000));  // the 0+ bar, 273 px high
  teclas({"Return", "Down", "Return"});  // back to the menu; "Longitudes y pesos medios"
  EXPECT_TRUE(espera_color(300, 170, 0xd9d9d9));  // the table's header band
  teclas({"Escape"});
  EXPECT_EQ(espera_fin(), 0);
}
