// Data-file loading: the user types a file name, the file's records are read
// whole or refused with the reason, and what was read is shown in a
// scrolling table before the sample is used.
#include <cstdio>

#include "pantallas.h"
#include "sample.h"
#include "shell.h"

static const char TITULO_CARGA[] = "Cargar datos";
static const int X_FICHERO = 150, Y_FICHERO = 100;  // the "Fichero:" line
static const int FIN_ECO = 900;                     // right end of the echoed line
static const int FIN_AVISO = 300;                   // right end of the refused-key message
static const int PAGINA_FICHERO = 11;
/* The refused-key message, and later the file's table, start two title-font
   heights plus BAJO_FICHERO px down; the table's rows stop two such heights
   plus SOBRE_PIE px above the bottom, leaving the messages room under it. */
static const int BAJO_FICHERO = 100, SOBRE_PIE = 200;
/* The grey areas cover at least these rows, where the resource fonts put the
   message and the echo, so that no ink of a taller or shorter font stays. */
static const int BORRA_AVISO[2] = {150, 170};
static const int BORRA_ECO_ABAJO = 130;
static const char AVISO_CARACTER[] = "<Caracter no valido>";
static const char FALLO_CARGA[] = "<No se ha podido cargar el fichero>";

static int mayor(int a, int b) { return a > b ? a : b; }
static int menor(int a, int b) { return a < b ? a : b; }

/* The loaders' file-name field: echo at (150, 100), the refused-key message
   under it; the grey areas cover the echo and the message whatever the fonts. */
static estilo_nombre estilo_fichero() {
  int h2 = alto(FUENTE_TITULO), h0 = alto(FUENTE_CELDAS);
  int y_aviso = 2 * h2 + BAJO_FICHERO;
  estilo_nombre e = {};
  e.eco = "Fichero: %s    ";
  e.x = X_FICHERO, e.y = Y_FICHERO;
  e.aviso = AVISO_CARACTER;
  e.aviso_x = X_FICHERO, e.aviso_y = y_aviso, e.aviso_centrado = 0;
  e.borra_x1 = X_FICHERO, e.borra_y1 = menor(BORRA_AVISO[0], y_aviso);
  e.borra_x2 = mayor(FIN_AVISO, X_FICHERO + ancho(FUENTE_CELDAS, AVISO_CARACTER));
  e.borra_y2 = mayor(BORRA_AVISO[1], y_aviso + h0);
  e.borra_bs_x1 = X_FICHERO, e.borra_bs_y1 = Y_FICHERO;
  e.borra_bs_x2 = FIN_ECO, e.borra_bs_y2 = mayor(BORRA_ECO_ABAJO, Y_FICHERO + h2);
  return e;
}

/* The table of a loaded file: four columns with classes, three without,
   eleven rows a page below the "Fichero:" line. */
static tabla_muestra tabla_fichero(int con_clases) {
  int c = SCREEN_W / 2, h2 = alto(FUENTE_TITULO), h1 = alto(FUENTE_CABECERA);
  int arriba = 2 * h2 + BAJO_FICHERO, limite = SCREEN_H - 2 * h2 - SOBRE_PIE;
  // A row's text sits 7 px below its cell's top, so the last row's cell ends
  // before limite + h1 + 3: the grid reaches it whatever the title font.
  int rejilla = limite + h1 + 3;
  if (con_clases) {
    tabla_muestra t = {4, {"Pasada", "Longitud (cm)", "Peso (g)", "Clases"},
                       {c - 300, c - 100, c + 100, c + 300},     // centres of the columns
                       {c - 400, c - 200, c, c + 200, c + 400},  // rules
                       arriba, 29, rejilla, limite, PAGINA_FICHERO,
                       c + 410};                                 // x of the scroll marks
    return t;
  }
  tabla_muestra t = {3, {"Pasada", "Longitud (cm)", "Peso (g)", ""},
                     {c - 200, c, c + 200, 0},                 // centres of the columns
                     {c - 300, c - 100, c + 100, c + 300, 0},  // rules
                     arriba, 28, rejilla, limite, PAGINA_FICHERO,
                     c + 310};                                 // x of the scroll marks
  return t;
}

/* Says that nothing was loaded, and why when the file was refused; returns
   the key that closed the message. */
static int avisa_fallo(const char* motivo) {
  int x = SCREEN_W / 2, y = SCREEN_H / 2;
  texto_centrado(screen, FUENTE_CELDAS, x, y, rojo_aviso(), "%s", FALLO_CARGA);
  if (motivo[0])
    texto_centrado(screen, FUENTE_CELDAS, x, y + 2 * alto(FUENTE_CELDAS), rojo_aviso(), "%s", motivo);
  return lee_tecla();
}

/* Frame, file name and records. Returns n, or LECTURA_RECHAZADA when nothing
   was loaded: ESC on the name (c_esc holds it, nothing said), or a file that
   could not be opened or was refused (said, and the closing key kept in
   c_esc when guarda_tecla). */
char fichero_muestra[30] = "";

static int lee_fichero(int con_clases, int guarda_tecla, int* pasadas, float* longitudes,
                       float* pesos, int* clases) {
  marco(TITULO_CARGA);
  texto(screen, FUENTE_TITULO, X_FICHERO, Y_FICHERO, negro(), "Fichero:");
  char nombre[CAPACIDAD_NOMBRE_CARGA + 1];
  estilo_nombre e = estilo_fichero();
  if (!campo_nombre(nombre, CAPACIDAD_NOMBRE_CARGA, &e, 0)) return LECTURA_RECHAZADA;
  char motivo[LARGO_MENSAJE_LECTURA] = "";
  int n = LECTURA_RECHAZADA;
  FILE* f;
  if (abre_lectura(nombre, &f) == FICHERO_NO_NORMAL)
    snprintf(motivo, sizeof motivo, "<\xab%s\xbb %s>", nombre, NO_ES_NORMAL);
  if (f) {
    static descripcion_datos d;
    eleccion_datos e = {nullptr, nullptr, {nombre, nullptr}};  // a name ending in .xlsx or .ods must be a workbook
    n = lee_muestra_descrita(f, con_clases, &e, &d, pasadas, longitudes, pesos, clases, motivo, sizeof motivo);
    fclose(f);
  }
  snprintf(fichero_muestra, sizeof fichero_muestra, "%s", n == LECTURA_RECHAZADA ? "" : nombre);
  if (n == LECTURA_RECHAZADA) {
    int tecla = avisa_fallo(motivo);
    if (guarda_tecla) c_esc = tecla;
  }
  return n;
}

/* Shows the records read until ENTER or ESC; returns 1 when left with ESC. */
static int muestra_fichero(int con_clases, int n, const int* pasadas, const float* longitudes,
                           const float* pesos, const int* clases) {
  static const int columnas[4] = {COL_PASADA, COL_LONGITUD, COL_PESO, COL_CLASE};
  tabla_muestra t = tabla_fichero(con_clases);
  const char* aviso = con_clases ? "<Pulse ENTER para volver al menu>" : "<Pulse ENTER para continuar>";
  return recorre_tabla_muestra(&t, columnas, n, pasadas, longitudes, pesos, clases, aviso,
                               SCREEN_W / 2, SCREEN_H - 85, rojo_aviso());
}

int cargar_datos_mas(int* pasadas, float* longitudes, float* pesos, int* clases) {
  int n = lee_fichero(1, 1, pasadas, longitudes, pesos, clases);
  if (n == LECTURA_RECHAZADA) return 0;
  muestra_fichero(1, n, pasadas, longitudes, pesos, clases);
  return n;
}

int cargar_datos(int* pasadas, float* longitudes, float* pesos) {
  int n = lee_fichero(0, 0, pasadas, longitudes, pesos, nullptr);
  if (n == LECTURA_RECHAZADA) return 0;
  // ESC on the table: no class screen, the program ends at the next menu
  if (muestra_fichero(0, n, pasadas, longitudes, pesos, nullptr)) return 0;
  return n;
}
