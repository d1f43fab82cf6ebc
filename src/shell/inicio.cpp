// Start-up and shutdown: the window, the resource file and the two splash
// screens, and the close button that ends the program like ESC.
#include "shell.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>

int c_esc = 0;
volatile int ventana_cerrada = 0;

static const char TITULO_VENTANA[] = "Pasadas";

static void sin_recursos() {
  char motivo[3 * CAPACIDAD_RUTA_RECURSOS];
  motivo_sin_recursos(motivo, sizeof motivo);
  set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
  allegro_message("No se puede abrir el programa\n%s\n", motivo);
  exit(-1);
}

static void abre_ventana() {
  int profundidad = desktop_color_depth();
  set_color_depth(profundidad ? profundidad : 32);
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, ANCHO_PAGINA, ALTO_PAGINA, 0, 0) != 0) {
    allegro_message("No se puede abrir el programa\n%s\n", allegro_error);
    exit(-1);
  }
  set_window_title(TITULO_VENTANA);
}

static void muestra_portada(BITMAP* portada) {
  clear_to_color(screen, blanco());
  blit(portada, screen, 0, 0, (SCREEN_W - portada->w) / 2, (SCREEN_H - portada->h) / 2,
       portada->w, portada->h);
}

void numeros_en_c() { setlocale(LC_NUMERIC, "C"); }

void init() {
  set_uformat(U_ASCII);  // the fonts and the report are Latin-1, one byte a letter
  if (allegro_init() != 0) {
    // No system driver, so no message box either: say it on the terminal.
    fprintf(stderr, "No se puede abrir el programa\n%s\n", allegro_error);
    exit(-1);
  }
  set_close_button_callback(closehook);
  abre_ventana();
  datos = carga_recursos();
  if (!datos) sin_recursos();
  install_timer();
  install_keyboard();
  install_mouse();
  numeros_en_c();
  muestra_portada(imagen(IMAGEN_PORTADA1));
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H - 50, rojo_aviso(),
                 "<Pulse ENTER para continuar>");
  c_esc = lee_tecla();
  muestra_portada(imagen(IMAGEN_PORTADA2));
}

void deinit() {
  clear_keybuf();
  if (datos) unload_datafile(datos);
  datos = nullptr;
}

// Called from Allegro's window thread: the mark tells a screen that takes ESC
// as "give up this step" (the export's entries) that the whole program ends.
void closehook() {
  ventana_cerrada = 1;
  c_esc = TECLA_ESC;
  simulate_keypress(TECLA_ESC);
}
