// The program's vertical menus (one routine for all of them), the load and
// calculation menus, and the help screen.
#include "shell.h"

int m1 = 1;

static const char* const ENTRADAS_CARGA[] = {
    "Cargar datos con clases de edad", "Cargar datos y establecer clases",
    "Utilizar ejemplo", "Ayuda", "Salir"};
static const char* const ENTRADAS_CALCULO[] = {
    "Menu de carga", "Frecuencias relativas", "Calculo poblacional",
    "Longitudes y pesos medios", "Densidad poblacional y biomasa",
    "Relaciones biometricas", "Crecimiento (Longitud=f(edad))",
    "Exportar resultados", "Salir"};

static void pinta_entradas(const char* const* entradas, int n, int y0, int paso, int sel) {
  for (int i = 0; i < n; i++)
    texto_centrado(screen, FUENTE_TITULO, SCREEN_W / 2, y0 + i * paso, negro(), "%s", entradas[i]);
  if (sel >= 1 && sel <= n)
    texto_centrado(screen, FUENTE_TITULO, SCREEN_W / 2, y0 + (sel - 1) * paso,
                   azul_seleccion(), "%s", entradas[sel - 1]);
}

int menu_vertical(const char* const* entradas, int n, int y0, int paso, int sel, int esc_guarda) {
  pinta_entradas(entradas, n, y0, paso, sel);
  const int teclas[] = {TECLA_ARRIBA, TECLA_ABAJO, TECLA_ESC};
  for (;;) {
    int t = espera_tecla(teclas, 3);
    if (t == TECLA_ESC) {
      if (esc_guarda) {
        c_esc = TECLA_ESC;
        return 0;
      }
      return n;  // the last entry is always the way out
    }
    if (t == TECLA_ARRIBA) sel = sel <= 1 ? n : sel - 1;
    if (t == TECLA_ABAJO) sel = sel >= n ? 1 : sel + 1;
    pinta_entradas(entradas, n, y0, paso, sel);
    if (es_enter(t)) return sel;
  }
}

int menu_carga() {
  marco("Menu de carga");
  int h = alto(FUENTE_TITULO);
  return menu_vertical(ENTRADAS_CARGA, 5, SCREEN_H / 2 - 5 * h, 2 * h, 1, 0);
}

int menu() {
  if (c_esc == TECLA_ESC) return 9;
  m1++;
  marco("Menu de calculo");
  int h = alto(FUENTE_TITULO);
  int y0 = (int)(SCREEN_H / 2 - 8.5 * h);
  m1 = menu_vertical(ENTRADAS_CALCULO, 9, y0, 2 * h, m1, 0);
  return m1;
}

void ayuda() {
  marco("Diagrama de Uso");
  BITMAP* diagrama = imagen(IMAGEN_AYUDA);
  blit(diagrama, screen, 0, 0, (SCREEN_W - diagrama->w) / 2, (SCREEN_H - diagrama->h) / 2,
       diagrama->w, diagrama->h);
  c_esc = lee_tecla();
}
