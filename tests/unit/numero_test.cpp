// The number field: digits before and after the point, the echo's format,
// BACKSPACE, and keys it must ignore.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>

#include "analysis.h"
#include "crecimiento.h"
#include "shell.h"

// One vocabulary, one type: what a key did to the field is never taken for
// how the field ended (NUMERO_CAMBIA and NUMERO_ENTER were both the int 1),
// nor the weight-length fit's reasons for the growth fits'.
static_assert(std::is_enum<decltype(numero_tecla(nullptr, 0))>::value &&
                  std::is_enum<decltype(lee_numero(nullptr, nullptr))>::value &&
                  !std::is_same<decltype(numero_tecla(nullptr, 0)),
                                decltype(lee_numero(nullptr, nullptr))>::value,
              "the number field's two results are enums of their own");
static_assert(std::is_enum<decltype(biometria_muestra::causa)>::value &&
                  std::is_enum<decltype(AJUSTE_BIEN)>::value &&
                  !std::is_same<decltype(biometria_muestra::causa), decltype(AJUSTE_BIEN)>::value,
              "the fits' reasons are enums of their own");

namespace {

/* Feeds typed characters ('\b' BACKSPACE) and keeps the echo format after each. */
struct Numero {
  campo_numero c;
  std::string formatos;  // one format per key, joined by blanks

  Numero() { numero_vacia(&c); }
  Numero& teclea(const char* teclas) {
    for (const char* p = teclas; *p; p++) {
      numero_tecla(&c, (unsigned char)*p);
      formatos += std::string(numero_formato(&c)) + " ";
    }
    return *this;
  }
};

}  // namespace

TEST(CampoNumero, OneDecimalShowsWholeThenTenths) {
  Numero n;
  n.teclea("9.5");
  EXPECT_EQ(n.c.valor, 9.5f);
  EXPECT_EQ(n.formatos, "%.0f %.0f %.1f ");
}

TEST(CampoNumero, TwoDecimalsAndAThirdIsIgnored) {
  Numero n;
  n.teclea("9.05");
  EXPECT_EQ(n.c.valor, 9.05f);  // 9 + 0/10 + 5/100 in double, kept as float
  EXPECT_EQ(n.formatos, "%.0f %.0f %.1f %.2f ");
  EXPECT_EQ(numero_tecla(&n.c, '7'), NUMERO_IGNORADA);
  EXPECT_EQ(n.c.valor, 9.05f);
}

TEST(CampoNumero, ASecondPointIsIgnored) {
  Numero n;
  n.teclea("1.");
  EXPECT_EQ(numero_tecla(&n.c, '.'), NUMERO_IGNORADA);
  n.teclea("2");
  EXPECT_EQ(n.c.valor, 1.2f);
}

// Regression: the decimal key of a Spanish keypad gives ',', which was
// ignored, so 312,5 was taken as 3125.
TEST(CampoNumero, ACommaIsTheDecimalPointWithTheSameRules) {
  Numero n;
  n.teclea("312,5");
  EXPECT_EQ(n.c.valor, 312.5f);
  Numero m;
  m.teclea("9,.,051");  // one point, whichever key; two decimals
  EXPECT_EQ(m.c.valor, 9.05f);
  EXPECT_EQ(m.formatos, "%.0f %.0f %.0f %.0f %.1f %.2f %.2f ");
}

TEST(CampoNumero, BackspaceClearsTheWholeValue) {
  Numero n;
  n.teclea("12.5");
  EXPECT_EQ(numero_tecla(&n.c, ASCII_BORRAR), NUMERO_BORRADO);
  EXPECT_EQ(n.c.valor, 0.0f);
  EXPECT_EQ(n.c.punto, 0);
  n.teclea("3.25");  // a fresh value, decimals counted again
  EXPECT_EQ(n.c.valor, 3.25f);
}

TEST(CampoNumero, LettersAndOtherKeysChangeNothing) {
  Numero n;
  n.teclea("4");
  for (int tecla : {(int)'h', (int)'-', (int)' ', TECLA_ARRIBA, TECLA_IZQUIERDA})
    EXPECT_EQ(numero_tecla(&n.c, tecla), NUMERO_IGNORADA) << tecla;
  EXPECT_EQ(n.c.valor, 4.0f);
}

TEST(CampoNumero, ADigitThatWouldMakeTheValueInfiniteIsIgnored) {
  Numero n;
  for (int i = 0; i < 60; i++) n.teclea("9");
  EXPECT_TRUE(std::isfinite(n.c.valor));
  EXPECT_EQ(n.c.valor, 9999999.0f);  // the field stops at seven whole digits, far below
}

// Regression: a long run of digits made the echo show other digits than the typed ones and run out of its place.
TEST(CampoNumero, SevenWholeDigitsAreKeptExactlyAndAnEighthIsIgnored) {
  Numero n;
  n.teclea("1234567");
  EXPECT_EQ(numero_tecla(&n.c, '8'), NUMERO_IGNORADA);
  EXPECT_EQ(n.c.valor, 1234567.0f);
  n.teclea(".5");  // the decimals are still taken
  EXPECT_EQ(n.c.valor, 1234567.5f);
  EXPECT_EQ(n.formatos, "%.0f %.0f %.0f %.0f %.0f %.0f %.0f %.0f %.1f ");
}
