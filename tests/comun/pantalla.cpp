// The screen-test main: opens the window and the resource file once, then
// runs the tests.
#include "pantalla.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell.h"

int tecla_de(char c) {
  if (c >= 'a' && c <= 'z') return ((KEY_A + c - 'a') << 8) | c;
  if (c >= 'A' && c <= 'Z') return ((KEY_A + c - 'A') << 8) | c;
  if (c >= '1' && c <= '9') return ((KEY_1 + c - '1') << 8) | c;
  switch (c) {
    case '0': return (KEY_0 << 8) | c;
    case '.': return (KEY_STOP << 8) | c;
    case ',': return (KEY_COMMA << 8) | c;
    case '\n': return (KEY_ENTER << 8) | 13;
    case '\b': return (KEY_BACKSPACE << 8) | 8;
    case '\x1b': return TECLA_ESC;
    case ' ': return (KEY_SPACE << 8) | c;
    case '-': return (KEY_MINUS << 8) | c;
    default: return c;
  }
}

void Pantalla::SetUp() {
  clear_keybuf();
  c_esc = 0;
  m1 = 1;
  clear_to_color(screen, makecol(0, 0, 0));
}

void Pantalla::escribe(const std::string& letras) {
  for (char c : letras) simulate_keypress(tecla_de(c));
}

void Pantalla::pulsa(int tecla, int veces) {
  for (int i = 0; i < veces; i++) simulate_keypress(tecla);
}

int Pantalla::teclas_pendientes() {
  int n = 0;
  while (keypressed()) {
    readkey();
    n++;
  }
  return n;
}

bool Pantalla::color_en(int x, int y, int r, int g, int b) {
  int p = getpixel(screen, x, y);
  return getr(p) == r && getg(p) == g && getb(p) == b;
}

int Pantalla::cuenta_color(int x1, int y1, int x2, int y2, int r, int g, int b) {
  int n = 0;
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++) n += color_en(x, y, r, g, b);
  return n;
}

bool Pantalla::texto_centrado_en(int f, int x, int y, const char* s, int color) {
  // The text is drawn again on a copy of its background and compared pixel by
  // pixel, with a margin that catches any extra characters on either side.
  const int margen = 4;
  int w = ancho(f, s), h = alto(f);
  int x0 = x - w / 2 - margen, ancho_zona = w + 2 * margen;
  BITMAP* esperado = create_bitmap(ancho_zona, h);
  clear_to_color(esperado, getpixel(screen, x0, y));
  texto_centrado(esperado, f, x - x0, 0, color == -1 ? negro() : color, "%s", s);
  bool igual = true;
  for (int j = 0; j < h && igual; j++)
    for (int i = 0; i < ancho_zona && igual; i++)
      igual = getpixel(esperado, i, j) == getpixel(screen, x0 + i, y + j);
  destroy_bitmap(esperado);
  return igual;
}

void Pantalla::guarda_captura(const char* nombre) {
  PALETTE pal;
  get_palette(pal);
  save_bitmap(nombre, screen, pal);
}

/* Fails a test that is still running after its time: a screen waiting for a
   key that was never queued would otherwise hang the whole run. */
class Vigilante : public ::testing::EmptyTestEventListener {
 public:
  static const int SEGUNDOS = 60;
  void OnTestStart(const ::testing::TestInfo& t) override {
    snprintf(nombre_, sizeof nombre_, "%s.%s", t.test_suite_name(), t.name());
    signal(SIGALRM, vence);
    alarm(SEGUNDOS);
  }
  void OnTestEnd(const ::testing::TestInfo&) override { alarm(0); }

 private:
  static char nombre_[256];
  static void vence(int) {
    const char aviso[] = "\nprueba colgada (esperaba una tecla?): ";
    write(2, aviso, sizeof aviso - 1);
    write(2, nombre_, strlen(nombre_));
    write(2, "\n", 1);
    _exit(1);
  }
};
char Vigilante::nombre_[256];

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!::testing::GTEST_FLAG(list_tests)) {
    set_uformat(U_ASCII);
    // Without an X display Allegro does not start, and any call after it crashes.
    if (allegro_init() != 0) {
      const char* pantalla = getenv("DISPLAY");
      fprintf(stderr, "Allegro no arranca con DISPLAY=%s%s%s; las pruebas de pantalla necesitan "
              "una pantalla X: xvfb-run -a -s \"-screen 0 1024x768x24\" ctest\n",
              pantalla ? pantalla : "(sin definir)", allegro_error[0] ? ": " : "", allegro_error);
      return 1;
    }
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 1000, 600, 0, 0) != 0) {
      fprintf(stderr, "sin ventana: %s\n", allegro_error);
      return 1;
    }
    install_keyboard();
    numeros_en_c();  // as the program does: the screens run on the desktop's locale
    datos = carga_recursos();
    if (!datos) {
      fprintf(stderr, "sin datas.dat\n");
      return 1;
    }
  }
  ::testing::UnitTest::GetInstance()->listeners().Append(new Vigilante);
  int resultado = RUN_ALL_TESTS();
  // Shut the window down here rather than in the exit handlers, while every
  // thread of the test program is still in a known state.
  if (!::testing::GTEST_FLAG(list_tests)) allegro_exit();
  return resultado;
}
