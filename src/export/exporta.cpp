// "Exportar resultados": the screens around the report writer — the name of
// the file, the choice between the values of the previous analyses and values
// typed now, and the closing message.
#include <cstring>
#include <memory>

#include "analysis.h"
#include "export.h"
#include "sample.h"
#include "shell.h"

static const char* const TITULO = "Guardar fichero";
static const char* const NO_GENERADO = "<No se ha podido generar el fichero, intentelo de nuevo>";
static const char* const NOMBRE_LARGO =
    "<El nombre es demasiado largo para las imagenes, intentelo de nuevo>";
static const char* const ES_LA_MUESTRA =
    "<Ese es el fichero de datos de la muestra, elija otro nombre>";
static const char* const AJENO = "<Ese fichero no es un informe de Pasadas, elija otro nombre>";
static const char* const IMAGEN_AJENA = "<Ese grafico no es de Pasadas, elija otro nombre>";
static const char* const GUARDADO =
    "<El fichero se ha guardado correctamente, pulse una tecla para continuar>";
static const char* const PARCIAL_4 =
    "<Informe parcial guardado: secciones 1 a 4, pulse una tecla para continuar>";
static const char* const PARCIAL_8 =
    "<Informe parcial guardado: secciones 1 a 8 y grafico 4, pulse una tecla para continuar>";
static const char* const SIN_AJUSTE =
    "<Guardado sin ajuste de von Bertalanffy: Linf es menor que el pez mas largo (%.2f cm), "
    "pulse una tecla>";
/* Two lines: the previous analyses hold no Linf until "Crecimiento" has made a fit. */
static const char* const SIN_AJUSTE_PREVIO[2] = {
    "<Guardado sin ajuste de von Bertalanffy: no se ha hecho ninguno desde que se abrio el programa>",
    "<Abra antes Crecimiento o exporte directamente, pulse una tecla>"};
static const char* const ANTERIORES = "<Quedan de un informe anterior: %s>";
static const char* const ANTERIORES_SOLO = "<Quedan de un informe anterior:>";
static const char* const NO_ESCRITO = "<No se ha guardado nada: no se ha podido escribir el fichero>";
static const char* const SIN_IMAGEN = "<No se puede crear esta imagen del informe, elija otro nombre>";

/* "Fichero a generar:" starts this far left of and above the page's centre. */
static const int NOMBRE_DX = 200, NOMBRE_DY = 100;
/* What the name's entry and the mode menu erase stays this far inside each
   edge of the page, clear of its frame. */
static const int MARGEN_BORRADO = 105;
/* A message line may be as wide as the page less this, keeping it inside the frame. */
static const int MARGEN_LINEA = 160;
/* The messages about the name, this far below the page's centre: under its entry. */
static const int AVISO_DY = 200;

/* Asks for the report's name; 0 when left with ESC. */
static int pide_nombre(char* nombre) {
  int w = SCREEN_W, h = SCREEN_H;
  estilo_nombre e = {};  // no BACKSPACE area: the whole one is repainted before every key anyway
  e.eco = "Fichero a generar: %s     ";
  e.x = w / 2 - NOMBRE_DX, e.y = h / 2 - NOMBRE_DY;
  e.aviso = "<Inserte un caracter valido>";
  e.aviso_x = w / 2, e.aviso_y = h / 2, e.aviso_centrado = 1;
  e.borra_x1 = MARGEN_BORRADO, e.borra_y1 = MARGEN_BORRADO;
  e.borra_x2 = w - MARGEN_BORRADO, e.borra_y2 = h - MARGEN_BORRADO;
  marco(TITULO);
  texto(screen, FUENTE_TITULO, e.x, e.y, negro(), "Fichero a generar:");
  return campo_nombre(nombre, CAPACIDAD_NOMBRE_INFORME, &e, 0);
}

/* A red message under the cleared entry, one key, and back to the menu. */
static int avisa_y_vuelve(const char* aviso, int y) {
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, y, rojo_mensaje(), "%s", aviso);
  return lee_tecla();
}

static void dibuja_modos(int modo) {
  int a = alto(FUENTE_TITULO), x = SCREEN_W / 2, y = SCREEN_H / 2;
  int color1 = modo == 1 ? azul_seleccion() : negro();
  int color2 = modo == 2 ? azul_seleccion() : negro();
  rectfill(screen, MARGEN_BORRADO, y - 3 * a, SCREEN_W - MARGEN_BORRADO, y + a, gris_pagina());
  texto_centrado(screen, FUENTE_TITULO, x, y - 3 * a, color1,
                 "Exportar resultados procedentes del analisis previo");
  texto_centrado(screen, FUENTE_TITULO, x, y - a, color2,
                 "Exportar resultados directamente (se deben indicar");
  texto_centrado(screen, FUENTE_TITULO, x, y, color2, "Linf y las variables muestrales necesarias)");
}

/* The mode menu: 1 (previous analyses), 2 (typed now), 0 on ESC. */
static int menu_modo() {
  int modo = 1;
  for (;;) {
    dibuja_modos(modo);
    int t = lee_tecla();
    if (t == TECLA_ESC) {
      c_esc = TECLA_ESC;
      return 0;
    }
    if (es_enter(t)) return modo;
    if (t == TECLA_ARRIBA || t == TECLA_ABAJO) modo = 3 - modo;
  }
}

/* A single-pass sample stops for one key before its population sections;
   1 when that key was the window's close button, which gives the export up. */
static int pausa_una_pasada() {
  lee_tecla();
  return ventana_cerrada;
}

/* The direct mode's step for the reach measures, on the density screen's
   menu, which keeps them for the run; 1 when given up. */
static int medidas_exporta(float* medidas) {
  if (densidad_biomasa_devuelve()) return 1;
  medidas[0] = Voltramo, medidas[1] = Suptramo, medidas[2] = mltramo;
  return 0;
}

/* A name on a line of its own, its start cut off while it is wider than the page. */
static void nombre_centrado(const char* nombre, int y) {
  const char* resto = nombre;
  while (*resto && ancho(FUENTE_CELDAS, resto) > SCREEN_W - MARGEN_LINEA) resto++;
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, y, rojo_mensaje(), "%s%s",
                 resto == nombre ? "" : "...", resto);
}

/* The images a partial report did not write whose names hold a file: an
   earlier report's, now beside the new one. Their number. */
static int imagenes_anteriores(const informe* inf, int hasta, char (*imagenes)[CAPACIDAD_RUTA]) {
  int cuantas = 0;
  for (int d = 1; d <= 4; d++) {
    nombre_imagen(inf, d, imagenes[cuantas], CAPACIDAD_RUTA);
    if (!(hasta == INFORME_HASTA_8 && d == 4) && clase_de_ruta(imagenes[cuantas]) != RUTA_NINGUNA)
      cuantas++;  // 4 is new
  }
  return cuantas;
}

/* Says which older images stand beside the partial report: on one line
   under the message when it fits the page, else one name a line. */
static void dice_anteriores(const informe* inf, int hasta, int y) {
  char imagenes[4][CAPACIDAD_RUTA], nombres[4 * CAPACIDAD_RUTA + 8] = "", linea[sizeof nombres + 64];
  int cuantas = imagenes_anteriores(inf, hasta, imagenes);
  if (!cuantas) return;
  for (int i = 0; i < cuantas; i++)
    snprintf(nombres + strlen(nombres), sizeof nombres - strlen(nombres), "%s%s", i ? ", " : "",
             imagenes[i]);
  snprintf(linea, sizeof linea, ANTERIORES, nombres);
  int a = alto(FUENTE_CELDAS);
  if (ancho(FUENTE_CELDAS, linea) <= SCREEN_W - MARGEN_LINEA) {
    texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, y, rojo_mensaje(), "%s", linea);
    return;
  }
  texto_centrado(screen, FUENTE_CELDAS, SCREEN_W / 2, y, rojo_mensaje(), "%s", ANTERIORES_SOLO);
  for (int i = 0; i < cuantas; i++) nombre_centrado(imagenes[i], y += a + a / 2);
}

/* Closing page: what was saved, or which file could not be written. */
static int mensaje_final(const informe* inf, int hasta, int guardado) {
  marco(TITULO);
  int x = SCREEN_W / 2, y = SCREEN_H / 2, rojo = rojo_mensaje();
  if (!guardado && inf->fallido[0]) {
    texto_centrado(screen, FUENTE_CELDAS, x, y, rojo, "%s", NO_ESCRITO);
    nombre_centrado(inf->fallido, y + 2 * alto(FUENTE_CELDAS));
  } else if (!guardado) {
    texto_centrado(screen, FUENTE_CELDAS, x, y, rojo, "%s", NO_GENERADO);
  } else if (hasta == INFORME_HASTA_4 || hasta == INFORME_HASTA_8) {
    texto_centrado(screen, FUENTE_CELDAS, x, y, rojo, "%s", hasta == INFORME_HASTA_4 ? PARCIAL_4 : PARCIAL_8);
    dice_anteriores(inf, hasta, y + 2 * alto(FUENTE_CELDAS));
  } else if (inf->sin_bertalanffy && inf->sin_linf) {
    texto_centrado(screen, FUENTE_CELDAS, x, y, rojo, "%s", SIN_AJUSTE_PREVIO[0]);
    texto_centrado(screen, FUENTE_CELDAS, x, y + 2 * alto(FUENTE_CELDAS), rojo, "%s",
                   SIN_AJUSTE_PREVIO[1]);
  } else if (inf->sin_bertalanffy) {
    texto_centrado(screen, FUENTE_CELDAS, x, y, rojo, SIN_AJUSTE, inf->mayor_longitud);
  } else {
    texto_centrado(screen, FUENTE_CELDAS, x, y, rojo, "%s", GUARDADO);
  }
  return lee_tecla();
}

/* What an interruption says while the report is written, and once it is in place. */
static void avisa_interrupcion(const char* nombre) {
  char ahora[3 * CAPACIDAD_RUTA], despues[3 * CAPACIDAD_RUTA];
  snprintf(ahora, sizeof ahora, "pasadas: interrumpido: no se ha guardado nada; %s y sus graficos "
           "quedan como estaban", nombre);
  snprintf(despues, sizeof despues, "pasadas: interrumpido: %s y sus graficos ya estaban guardados",
           nombre);
  interrupcion_avisa(ahora, despues);
}

/* The export from its opened report on: the mode, the sections, the closing message. */
static int exporta_abierto(informe* inf, int* pasadas, float* longitudes, float* pesos, int* clases,
                           int n) {
  int modo = menu_modo();
  if (modo == 0) {
    informe_descarta(inf);
    return TECLA_ESC;
  }
  pasos_informe pasos = {modo, pausa_una_pasada, modo == 2 ? medidas_exporta : nullptr, 1,
                         pide_linf_exporta};
  std::unique_ptr<resultados_informe> r(new resultados_informe());
  pasos.resultados = r.get();
  pasos.medidas[0] = Voltramo, pasos.medidas[1] = Suptramo, pasos.medidas[2] = mltramo;
  pasos.linf = Lmax1, pasos.meses = mes0;
  int hasta = escribe_informe(inf, pasadas, longitudes, pesos, clases, n, &pasos);
  // A later export from the previous analyses takes the Linf of this one's fit.
  if (r->con_crecimiento) publica_bertalanffy(&r->bertalanffy);
  if (ventana_cerrada || hasta == INFORME_CANCELADO) {  // the program ends: keep nothing of it
    informe_descarta(inf);
    c_esc = TECLA_ESC;
    return TECLA_ESC;
  }
  if (hasta == INFORME_FUERA_DE_LIMITES) {
    informe_descarta(inf);
    return mensaje_final(inf, hasta, 0);
  }
  int guardado = informe_cierra(inf);
  return mensaje_final(inf, hasta, guardado);
}

int exporta_todo(int* pasadas, float* longitudes, float* pesos, int* clases, int n) {
  char nombre[CAPACIDAD_NOMBRE_INFORME + 1];
  if (!pide_nombre(nombre)) return TECLA_ESC;
  const int y_aviso = SCREEN_H / 2 + AVISO_DY;
  if (mismo_fichero(nombre, fichero_muestra)) return avisa_y_vuelve(ES_LA_MUESTRA, y_aviso);
  static informe inf;
  avisa_interrupcion(nombre);
  interrupcion_empieza();  // the desktop's end, too, leaves no file of the export behind
  char carpeta[CAPACIDAD_RUTA];
  const char* barra = strrchr(nombre, '/');
  snprintf(carpeta, sizeof carpeta, "%.*s", barra ? (int)(barra - nombre + 1) : 1, barra ? nombre : ".");
  quita_ocultos(carpeta, oculto_propio);  // what a killed export left
  int abierto = informe_abre(&inf, nombre);
  int tecla;
  if (abierto == INFORME_NOMBRE_LARGO) {
    tecla = avisa_y_vuelve(NOMBRE_LARGO, y_aviso);
  } else if (abierto == INFORME_AJENO && !inf.fallido[0]) {
    tecla = avisa_y_vuelve(AJENO, y_aviso);
  } else if (abierto != INFORME_ABIERTO && inf.fallido[0] && strcmp(inf.fallido, nombre) != 0) {
    nombre_centrado(inf.fallido, y_aviso + 2 * alto(FUENTE_CELDAS));
    tecla = avisa_y_vuelve(abierto == INFORME_AJENO ? IMAGEN_AJENA : SIN_IMAGEN, y_aviso);
  } else if (abierto != INFORME_ABIERTO) {
    tecla = avisa_y_vuelve(NO_GENERADO, y_aviso);
  } else {
    tecla = exporta_abierto(&inf, pasadas, longitudes, pesos, clases, n);
  }
  interrupcion_termina();
  return tecla;
}
