// Screen tests: the real 1000x600 window, opened once per test program under
// a virtual X display. A test queues keys, calls a screen, then checks what
// it returned, c_esc and the pixels it left.
#ifndef PRUEBAS_PANTALLA_H
#define PRUEBAS_PANTALLA_H

#include <gtest/gtest.h>

#include <allegro.h>

#include <string>

class Pantalla : public ::testing::Test {
 protected:
  void SetUp() override;
  /* Queues keys: each character of `letras` as typed ('\n' ENTER, '\b'
     BACKSPACE, '\x1b' ESC). */
  void escribe(const std::string& letras);
  /* Queues one whole readkey() value (TECLA_ARRIBA, TECLA_ESC, ...), `veces` times. */
  void pulsa(int tecla, int veces = 1);
  /* Keys still waiting in the buffer: a screen that left early leaves some. */
  int teclas_pendientes();
  bool color_en(int x, int y, int r, int g, int b);
  /* Number of pixels of colour (r,g,b) in the rectangle, both corners included. */
  int cuenta_color(int x1, int y1, int x2, int y2, int r, int g, int b);
  /* Whether the screen shows exactly `s` in black (or `color`), font f,
     centred on x, top at y, over the background colour found just left of it. */
  bool texto_centrado_en(int f, int x, int y, const char* s, int color = -1);
  /* Saves the screen as a BMP for looking at when a test fails. */
  void guarda_captura(const char* nombre);
};

int tecla_de(char c);  /* readkey() value of a typed character */

#endif
