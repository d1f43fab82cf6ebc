// The real program from start to end: splash screens, load menu, help,
// the example, the calculation menu and every way out.
#include "conductor.h"

namespace {
const unsigned BLANCO = 0xffffff, GRIS = 0xe6e6e6, NEGRO = 0x000000;
}

TEST_F(Programa, EscOnFirstSplashEndsWithStatusZero) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  ASSERT_TRUE(espera_color(500, 5, BLANCO));
  teclas({"Escape"});
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, AnyKeyPassesEachSplashToTheLoadMenu) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  ASSERT_TRUE(espera_color(500, 5, BLANCO));
  teclas({"x"});
  teclas({"space"});
  ASSERT_TRUE(espera_color(500, 5, GRIS));  // a framed page
  EXPECT_TRUE(espera_color(500, 34, NEGRO));
  teclas({"Up", "Return"});  // "Salir"
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, HelpReturnsToLoadMenuAndEscThereEnds) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Down", "Return"});
  ASSERT_TRUE(espera_color(500, 5, GRIS));
  teclas({"a"});            // any key leaves the diagram
  teclas({"Down", "Down", "Down", "Return"});  // "Ayuda" again
  teclas({"Escape"});
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, ExampleThenCalculationMenuBackToLoadMenuAndOut) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
  ASSERT_TRUE(espera_color(60, 300, GRIS));
  teclas({"Return"});             // leaves the table: the calculation menu
  teclas({"Up", "Return"});       // "Menu de carga"
  teclas({"Down", "Down", "Return", "Return"});  // example again, then its table
  teclas({"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Return"});  // "Salir"
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, EscOnTheExampleTableEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return", "Down", "Escape"});
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, CloseButtonEndsTheProgramFromAnyScreen) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return"});
  ASSERT_TRUE(espera_color(60, 300, GRIS));
  cierra_ventana();
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, CloseButtonOnTheLoadMenuEndsIt) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return"});
  ASSERT_TRUE(espera_color(500, 5, GRIS));
  cierra_ventana();
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, MissingResourceFileShowsMessageAndEndsWithMinusOne) {
  arranca_copia_sin_recursos();
  ASSERT_TRUE(pulsa_en_ventana("xmessage", "Return")) << "no message box";
  EXPECT_EQ(espera_fin(), 255);
}

TEST_F(Programa, BrokenResourceFileIsRefusedLikeAMissingOne) {
  escribe_fichero("datas.dat", "esto no es un fichero de recursos\n");
  arranca_copia_sin_recursos();
  ASSERT_TRUE(pulsa_en_ventana("xmessage", "Return")) << "no message box";
  EXPECT_EQ(espera_fin(), 255);
}
