// The application shell: the window, the resource file, the page frame, the
// menus, the keyboard entry fields and the scrolling sample table that every
// screen of Pasadas shares.
#ifndef PASADAS_SHELL_H
#define PASADAS_SHELL_H

#include <allegro.h>

/* ---- Program-wide state ---- */
extern int c_esc;     /* last key a screen read, readkey() value: scancode*256 + ASCII */
extern int m1;        /* selected entry of the calculation menu, 1..9, kept for the run */
extern DATAFILE* datos; /* the resource file datas.dat, loaded once at start-up */
extern volatile int ventana_cerrada; /* the window's close button was pressed: the program ends */

/* ---- Keys, as readkey() returns them ---- */
const int TECLA_ESC = (KEY_ESC << 8) | 27;
const int TECLA_ARRIBA = KEY_UP << 8;
const int TECLA_ABAJO = KEY_DOWN << 8;
const int TECLA_IZQUIERDA = KEY_LEFT << 8;
const int TECLA_DERECHA = KEY_RIGHT << 8;
const int ASCII_ENTER = 13;
const int ASCII_BORRAR = 8;

/* ---- Resource objects, by index in datas.dat ---- */
const int FUENTE_CELDAS = 0;   /* cells, prompts, messages */
const int FUENTE_CABECERA = 1; /* table headers, notes */
const int FUENTE_TITULO = 2;   /* titles, menu entries */
const int FUENTE_PEQUENA = 3;  /* axis labels, superscripts */
const int IMAGEN_PORTADA2 = 4; /* second splash */
const int IMAGEN_PORTADA1 = 5; /* first splash */
const int IMAGEN_AYUDA = 6;    /* help diagram */

FONT* fuente(int indice);            /* font object of the resource file */
BITMAP* imagen(int indice);          /* bitmap object of the resource file */
DATAFILE* carga_recursos();          /* datas.dat where busca_recursos finds it; NULL if missing or broken */
/* Fonts 0-3 alone, for a program that shows no image: the images are most
   of the file. The objects after them are DAT_END; NULL if missing or broken. */
DATAFILE* carga_fuentes();
void descarga_fuentes();             /* releases what carga_fuentes loaded */

/* ---- Where datas.dat lies ---- */
const int LUGARES_RECURSOS = 3;
const int CAPACIDAD_RUTA_RECURSOS = 1024;
/* The folders searched, in order: the program's own, share/pasadas/ beside
   its bin folder (the installed layout), and "" for the working folder. */
void lugares_recursos(char lugares[LUGARES_RECURSOS][CAPACIDAD_RUTA_RECURSOS]);
/* Path of the first datas.dat that exists there; false (ruta "") when none. */
bool busca_recursos(char* ruta, int capacidad);
/* One line saying why carga_recursos failed: the file found is not ours,
   or no folder searched holds one (naming them). No accents: it goes to a
   terminal or a message box. */
void motivo_sin_recursos(char* mensaje, int capacidad);

/* ---- Colours ---- */
int gris_pagina();     /* 230,230,230: page background, erasing */
int negro();
int blanco();
int gris_cabecera();   /* 217,217,217: table header bands */
int azul_titulo();     /* 176,196,222: inside of the title box */
int azul_seleccion();  /* 65,105,225: selected menu entry */
int rojo_aviso();      /* 250,0,0: prompts of the sample, weight-length and growth screens */
int rojo_mensaje();    /* 255,0,0: messages and prompts of the other screens */
int azul_entrada();    /* 0,0,255: a number being typed, the histogram marker */
int amarillo_campo();  /* 255,255,153: estimates replaced by catches */
int azul_pez();        /* 0,0,200: a fish on the growth graph */
int rojo_oscuro();     /* 100,0,0: a class mean on the growth graph, a fish on the weight-length one */

/* ---- Frame and text ---- */
/* Every page is laid out for a window of this size; a larger screen shows it centred. */
const int ANCHO_PAGINA = 1000, ALTO_PAGINA = 600;
void marco(const char* titulo);  /* a fresh page with its rounded border and title box */
void texto(BITMAP* b, int f, int x, int y, int color, const char* fmt, ...);         /* left-aligned at x, top at y */
void texto_centrado(BITMAP* b, int f, int x, int y, int color, const char* fmt, ...); /* centred on x */
void texto_derecha(BITMAP* b, int f, int x, int y, int color, const char* fmt, ...);  /* right-aligned at x */
/* One piece of a line that mixes fonts (a formula, a subscript, a colon, a
   value): drawn left-aligned at (x, y), or further right at `tras` when the
   pieces before it reach that far. `tras` is what the piece before returned
   (0 for the first); returns where this one ends, with a pixel of air. */
int pieza(BITMAP* b, int f, int x, int y, int tras, int color, const char* fmt, ...);
/* Labels `paso` px apart along an axis, the widest `ancho_mayor` px: only
   every k-th is drawn so that none touch; returns k (1 when all fit). */
int salto_rotulos(int paso, int ancho_mayor);
/* v printed with fmt into s (tam bytes), or "-" when v is not a number a
   page can show (its sums ran past single precision); returns s. */
const char* numero_o_guion(char* s, int tam, const char* fmt, float v);
int alto(int f);                                /* text height of a font */
int ancho(int f, const char* s);                /* text width of s in a font */
void flecha_arriba(BITMAP* b, int x, int y_punta, int y_base, int visible); /* scroll mark, black or erased */
void flecha_abajo(BITMAP* b, int x, int y_punta, int y_base, int visible);

/* Every text drawn through texto, texto_centrado, texto_derecha and pieza
   while anota_textos is set is also noted there, with its left edge: the
   screen tests check from it that no two texts of a block overlap. */
struct texto_anotado {
  BITMAP* b;
  int f, x, y;
  char s[64];
};
struct registro_textos {
  texto_anotado* textos;
  int capacidad, n;
};
extern registro_textos* anota_textos;

/* ---- Keys ---- */
int lee_tecla();                 /* readkey(), the whole value */
int ascii(int tecla);            /* the ASCII byte of a readkey() value */
int es_enter(int tecla);
int espera_tecla(const int* validas, int nvalidas); /* reads until one of the keys (whole values or ENTER) arrives */

/* ---- Menus ---- */
/* Draws the entries centred on x = W/2 from y0 with the given pitch, entry
   `seleccion` (1-based) in highlight blue, and reads keys until ENTER or ESC.
   With esc_guarda 0, ESC selects the last entry and counts as ENTER; with 1,
   ESC stores itself in c_esc and the result is 0. Returns the entry chosen. */
int menu_vertical(const char* const* entradas, int nentradas, int y0, int paso,
                  int seleccion, int esc_guarda);
int menu_carga();   /* load menu: 1..5 */
int menu();         /* calculation menu: 1..9, 9 at once when c_esc holds ESC */
void ayuda();       /* help diagram; leaves the closing key in c_esc */

/* ---- Number field ---- */
struct campo_numero {
  float valor;     /* value typed so far */
  int punto;       /* the decimal point has been typed */
  int decimales;   /* decimal digits typed, 0..2 */
};
/* What one key did to the field. */
enum cambio_numero {
  NUMERO_IGNORADA,  /* the key changed nothing */
  NUMERO_CAMBIA,    /* a digit or the point changed the field */
  NUMERO_BORRADO,   /* BACKSPACE cleared the field */
};
void numero_vacia(campo_numero* c);
cambio_numero numero_tecla(campo_numero* c, int tecla);    /* feeds one key */
int es_punto_decimal(int tecla);  /* '.', or ',' of a Spanish keypad's decimal key */
const char* numero_formato(const campo_numero* c); /* "%.0f", "%.1f" or "%.2f" for the echo */
/* How one screen's number field shows itself and where it stops. */
struct uso_numero {
  /* Shows the field after a key it took or ignored (cambio: a cambio_numero). */
  void (*eco)(void* datos, const campo_numero* c, int tecla, int cambio);
  void* datos;
  int eco_inicial;   /* eco runs once before the first key, as for a cleared field */
  int tecla_fin;     /* an ASCII key that ends the field besides ENTER and ESC; 0 for none */
  float maximo;      /* ENTER with a value above it empties the field and goes on; < 0: no limit */
  void (*rechazo)(void* datos); /* shows the emptied field after such an ENTER */
};
/* How the field ended: lee_numero's result. */
enum fin_numero {
  NUMERO_ENTER = 1,  /* its value was taken */
  NUMERO_ESC,        /* c_esc then holds ESC */
  NUMERO_OTRA,       /* the screen's own key, tecla_fin */
};
/* Empties the field and reads keys into it until one ends it. */
fin_numero lee_numero(campo_numero* c, const uso_numero* u);

/* ---- File-name field ---- */
/* Where and how a file-name field echoes itself. */
struct estilo_nombre {
  const char* eco;      /* printf format of the echoed line, with %s */
  int x, y;             /* place of the echo, font 2, left-aligned */
  const char* aviso;    /* message for a refused key */
  int aviso_x, aviso_y; /* place of the message */
  int aviso_centrado;   /* the message is centred on aviso_x */
  int borra_x1, borra_y1, borra_x2, borra_y2; /* painted grey before each key is handled */
  int borra_bs_x1, borra_bs_y1, borra_bs_x2, borra_bs_y2; /* painted grey on BACKSPACE */
};
const int CAPACIDAD_NOMBRE_CARGA = 29;    /* characters of a loader's file name */
const int CAPACIDAD_NOMBRE_INFORME = 163; /* characters of a report name */
/* Reads a name key by key, starting from `primera` (0 = read one first), into
   nombre (room for capacidad characters plus the end mark). Returns 1 on
   ENTER, 0 on ESC (c_esc then holds ESC). */
int campo_nombre(char* nombre, int capacidad, const estilo_nombre* e, int primera);
int caracter_de_nombre(int c);  /* letters, digits and '.' only */

/* ---- Scrolling page ---- */
/* How one scrolling table draws and moves; datos is handed back to both. */
struct pagina_desplazable {
  /* Draws the page from row `inicio`; returns the row just past the last shown. */
  int (*dibuja)(const void* datos, int inicio);
  /* The first row after a moving key, given the rows now shown. */
  int (*desplaza)(const void* datos, int tecla, int inicio, int fin);
  const void* datos;
  int tecla_atras, tecla_adelante;  /* the moving keys: UP and DOWN, or LEFT and RIGHT */
  void (*tras_tecla)(const void* datos); /* run after every key, before it acts; NULL for none */
};
/* Shows the page from row 0 and moves it until ENTER or ESC (ESC stored in
   c_esc). Returns 1 when left with ESC. */
int recorre_pagina(const pagina_desplazable* p);
/* One row up or down, within `visibles` rows a page out of nfilas. */
int desplaza_una_fila(int tecla, int inicio, int visibles, int nfilas);

/* ---- Scrolling sample table ---- */
/* Layout of one of the sample screens' tables. */
struct tabla_muestra {
  int ncolumnas;            /* 3 or 4 */
  const char* cabeceras[4];
  int centros[4];           /* centre x of each column */
  int bordes[5];            /* x of the rules, outer ones included */
  int y;                    /* top line */
  int alto_cabecera;        /* last y of the header band, relative to y (28 or 29) */
  int limite_rejilla;       /* grid rows drawn while k*(h1+10) is below it */
  int limite;               /* rows while o < limite, o measured from the top line */
  int pagina;               /* rows per page, the scroll step arithmetic's constant */
  int x_flecha;             /* x of the scroll marks */
};
/* Column kinds of a table row: pass, length, weight, class. */
const int COL_PASADA = 0, COL_LONGITUD = 1, COL_PESO = 2, COL_CLASE = 3;
/* Draws the page starting at fish `inicio`; columnas[c] tells which datum
   column c shows. Returns the index just past the last fish shown. */
int dibuja_tabla_muestra(const tabla_muestra* t, const int* columnas, int inicio, int n,
                         const int* pasadas, const float* longitudes,
                         const float* pesos, const int* clases);
int desplaza_tabla(int tecla, int inicio, int fin, int pagina, int n); /* new first row after UP or DOWN */
/* Shows the table with a prompt until ENTER or ESC (ESC stored in c_esc).
   Returns 1 when left with ESC. */
int recorre_tabla_muestra(const tabla_muestra* t, const int* columnas, int n,
                          const int* pasadas, const float* longitudes,
                          const float* pesos, const int* clases,
                          const char* aviso, int aviso_x, int aviso_y, int aviso_color);

/* ---- Scrolling table of per-class rows ---- */
/* Layout of a table with one row per age class under a grey header band;
   rows are h1 + 10 pixels high whatever the fonts. */
struct tabla_clases {
  int ncolumnas;            /* 2..4 */
  const char* cabeceras[4];
  int centros[4];           /* centre x of each column */
  int bordes[5];            /* x of the rules, outer ones included */
  int y;                    /* top line */
  int filas;                /* class rows a page */
};
const int TEXTO_CELDA = 48;                    /* room for one cell's text: any float with two decimals */
typedef char textos_fila[4][TEXTO_CELDA];      /* the texts of one row, by column */
/* Top of row k of the table, k = 0 for the header. */
int y_fila_clases(const tabla_clases* t, int k);
/* Shows the rows from the first one, one row per UP or DOWN, with scroll
   marks beside the table, until ENTER or ESC (ESC stored in c_esc). */
void recorre_tabla_clases(const tabla_clases* t, const textos_fila* filas, int nfilas);

/* ---- Start-up and shutdown ---- */
void init();       /* window, resource file, splash screens; leaves the first splash key in c_esc */
/* Puts the numbers the program reads and writes back in the C locale's
   form, "27.4", whatever the desktop's locale: Allegro's keyboard switches
   the whole process to it under X (a Spanish desktop writes "27,4").
   Called once Allegro and its keyboard have started; the rest of the
   locale stays the desktop's, which the keyboard needs. */
void numeros_en_c();
void deinit();
void closehook();  /* close button: marks ventana_cerrada and posts ESC */

#endif
