// pasadas-informe --tramos TABLA --carpeta DIR: a season in one command. Each
// row of the table of reaches is one report, written as the single-report
// mode writes it with the row's options; the summary tables and picture are
// made from the results of those reports. A reach that fails is noted in the
// summary and the others go on.
#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pagina.h"
#include "pasadas_informe.h"
#include "resumen.h"
#include "sample.h"
#include "shell.h"

/* The columns of a table of reaches, in this order. */
enum columna_tramos { T_TRAMO, T_FICHERO, T_ESPECIE, T_SUPERFICIE, T_VOLUMEN, T_METROS,
                      T_PASADAS, T_LINF, T_MESES, T_LIMITES, COLUMNAS_TRAMOS };
static const columna_buscada COLUMNAS[COLUMNAS_TRAMOS] = {
    {"Tramo", {"tramo", "estacion", nullptr}, 1},
    {"Fichero", {"fichero", "archivo", "datos", nullptr}, 1},
    {"Especie", {"especie", nullptr}, 0},
    {"Superficie", {"superficie", nullptr}, 0},
    {"Volumen", {"volumen", nullptr}, 0},
    {"Metros", {"metros", "longitud", "metroslineales", nullptr}, 0},
    {"Pasadas", {"pasadas", nullptr}, 0},
    {"Linf", {"linf", nullptr}, 0},
    {"Meses", {"meses", nullptr}, 0},
    {"Limites", {"limites", nullptr}, 0},
};
static_assert(COLUMNAS_TRAMOS <= MAX_COLUMNAS_TABLA, "the table reader gives every column");

/* Reads the table of reaches, from the sheet hoja when it is a workbook;
   the number of rows, -1 after a refusal (said). */
static int lee_tabla_de_tramos(const char* ruta, const char* hoja, std::vector<fila_tabla>* filas,
                               char* separador) {
  rechazo r;
  FILE* f = abre_o_rechaza(ruta, &r);
  if (!f) {
    dice_rechazo(&r);
    return -1;
  }
  libro_pedido libro = {ruta, hoja};
  lectura_tabla l = lee_tabla_nombrada(f, COLUMNAS, COLUMNAS_TRAMOS, filas, MAX_TRAMOS, &libro);
  fclose(f);
  *separador = l.separador;
  if (l.resultado == TABLA_DEMASIADAS_FILAS)
    rechaza("%s: mas de %d tramos: una campana admite hasta %d; parta la tabla en varias", ruta,
            MAX_TRAMOS, MAX_TRAMOS);
  else if (l.resultado == TABLA_RECHAZADA)
    rechaza("%s: %s", ruta, l.mensaje);
  else if (l.nfilas == 0)
    rechaza("%s: no tiene ningun tramo", ruta);
  else
    return l.nfilas;
  return -1;
}

/* ---- One reach ---- */

/* The reach's file names: its name (and species), with "/" (and on Windows
   "\" and ":") and "." made "_" so that it stays one file in the folder and
   its images keep their stem.
   0 when it does not fit in tam: a name cut short could end inside a letter. */
static void hace_seguro(char* nombre) {
  for (char* c = nombre; *c; c++)
    if (separa_carpetas(*c) || *c == '.') *c = '_';
}

static int nombre_seguro(const fila_tabla* f, char* nombre, size_t tam) {
  int largo = f->celda[T_ESPECIE][0]
                  ? snprintf(nombre, tam, "%s_%s", f->celda[T_TRAMO], f->celda[T_ESPECIE])
                  : snprintf(nombre, tam, "%s", f->celda[T_TRAMO]);
  hace_seguro(nombre);
  return largo >= 0 && (size_t)largo < tam;
}

/* A measure or Linf of the row, its figures as the table's spreadsheet
   writes them (separador tells which): 1 with its value (0 when empty). */
static int medida_de(const fila_tabla* f, int columna, char separador, float* valor, rechazo* r) {
  *valor = 0;
  const char* t = f->celda[columna];
  char plano[LARGO_CELDA_UTF8], motivo[2 * LARGO_CELDA_UTF8 + 64];
  if (cifras_de_celda(t, separador, plano, sizeof plano, motivo, sizeof motivo)) {
    rechazo_pon(r, "%s '%s': %s", COLUMNAS[columna].nombre, t, motivo);
    return 0;
  }
  if (!*t || numero_de(plano, valor)) return 1;
  rechazo_pon(r, "%s '%s' no es un numero valido", COLUMNAS[columna].nombre, t);
  return 0;
}

/* The row's limits, "9,5 15 20", as --limites takes them: "9.5;15;20". */
static void limites_de(const char* celda, char* lista, size_t tam) {
  size_t k = 0;
  int en_hueco = 1;
  for (const char* c = celda; *c && k + 2 < tam; c++) {
    if (*c == ' ' || *c == '\t') {
      en_hueco = 1;
      continue;
    }
    if (en_hueco && k) lista[k++] = ';';
    en_hueco = 0;
    lista[k++] = *c == ',' ? '.' : *c;
  }
  lista[k] = 0;
}

/* The row's data file, relative to the table's folder: named in UTF-8, or,
   when only they name a file, by the very bytes of the table or by the
   name's Latin-1 bytes (a file named on a Windows disk, unpacked here). */
static void ruta_de_datos(const fila_tabla* f, const char* carpeta_tabla, char* datos) {
  char latin1[LARGO_CELDA_TABLA];
  texto_latin1(f->celda[T_FICHERO], strlen(f->celda[T_FICHERO]), latin1, sizeof latin1);
  const char* nombres[] = {f->celda[T_FICHERO], f->crudo[T_FICHERO], latin1};
  char ruta[CAPACIDAD_RUTA];
  for (int k = 0; k < 3; k++) {
    snprintf(ruta, sizeof ruta, "%s%s", ruta_absoluta(nombres[k]) ? "" : carpeta_tabla, nombres[k]);
    if (k == 0) memcpy(datos, ruta, sizeof ruta);  // the name a refusal gives when none is there
    if (clase_de_ruta(ruta) != RUTA_NINGUNA) {
      memcpy(datos, ruta, sizeof ruta);
      return;
    }
  }
}

/* The name of the row's report in the folder; 0 when the row can have
   none, and then why in motivo. */
static int informe_de_fila(const char* carpeta, const fila_tabla* f, char* informe, char* motivo,
                           size_t tam) {
  if (f->larga >= 0) {  // kept cut short: it would name another file, or another reach
    snprintf(motivo, tam, "la celda de %s tiene mas de %d bytes", COLUMNAS[f->larga].nombre,
             LARGO_CELDA_TABLA - 1);
    return 0;
  }
  if (!f->celda[T_TRAMO][0] || !f->celda[T_FICHERO][0]) {
    snprintf(motivo, tam, "falta el %s", f->celda[T_TRAMO][0] ? "fichero" : "nombre del tramo");
    return 0;
  }
  for (int k : {T_TRAMO, T_ESPECIE})
    if (f->control[k]) {  // it would name files, and its codes reach the terminal
      snprintf(motivo, tam, "%s '%s' tiene un caracter de control", COLUMNAS[k].nombre, f->celda[k]);
      return 0;
    }
  char nombre[CAPACIDAD_RUTA];
  if (!nombre_seguro(f, nombre, sizeof nombre) ||
      snprintf(informe, CAPACIDAD_RUTA, "%s/%s.txt", carpeta, nombre) >= CAPACIDAD_RUTA) {
    snprintf(motivo, tam, "%s: el nombre no cabe", nombre);
    return 0;
  }
  return 1;
}

/* The request of a row: the command's own options and the row's cells. */
static int peticion_de_fila(const peticion* comun, const fila_tabla* f, const char* carpeta_tabla,
                            char separador, char* datos, char* informe, char* limites, peticion* q,
                            rechazo* r) {
  *q = *comun;
  q->tramos = nullptr;
  q->eleccion.libro.hoja = nullptr;  // --hoja names the sheet of the table: a reach's data are a first sheet
  char motivo[CAPACIDAD_RUTA + 64];
  if (!informe_de_fila(comun->carpeta, f, informe, motivo, sizeof motivo)) {
    rechazo_pon(r, "%s", motivo);
    return 0;
  }
  ruta_de_datos(f, carpeta_tabla, datos);
  q->datos = datos;
  q->informe = informe;
  const struct {
    int columna;
    float* valor;
  } medidas[] = {{T_SUPERFICIE, &q->medidas[0]}, {T_VOLUMEN, &q->medidas[1]},
                 {T_METROS, &q->medidas[2]}, {T_LINF, &q->linf}, {T_MESES, &q->meses}};
  for (const auto& m : medidas)
    if (!medida_de(f, m.columna, separador, m.valor, r)) return 0;
  q->hay_linf = f->celda[T_LINF][0] != 0;
  if (q->meses > 12) {
    rechazo_pon(r, "Meses %s supera los 12 meses", f->celda[T_MESES]);
    return 0;
  }
  q->pasadas = 0;
  if (f->celda[T_PASADAS][0] && !(q->pasadas = numero_de_pasadas(f->celda[T_PASADAS]))) {
    rechazo_pon(r, "Pasadas '%s' no es un numero de pasadas (de 1 a %d)", f->celda[T_PASADAS], MAX_PASADAS);
    return 0;
  }
  limites_de(f->celda[T_LIMITES], limites, CAPACIDAD_RUTA);
  q->limites = limites[0] ? limites : nullptr;
  q->eleccion.tramo = f->celda[T_TRAMO];
  q->eleccion.especie = f->celda[T_ESPECIE][0] ? f->celda[T_ESPECIE] : nullptr;
  return 1;
}

/* What one worker reads a reach into and writes its report from,
   allocated once for the season. */
struct taller_tramo {
  int pasadas[MAX_PECES], clases[MAX_PECES];
  float longitudes[MAX_PECES], pesos[MAX_PECES];
  descripcion_datos d;
  informe inf;
  rechazo motivo;
  char datos[CAPACIDAD_RUTA], informe_ruta[CAPACIDAD_RUTA], limites[CAPACIDAD_RUTA];
};

/* What a reach hands back for its progress line and its summary rows. */
struct tramo_hecho {
  resultados_informe r;
  diagnostico_muestra diagnostico;
  char error[700];                          /* "" when its report was written, else why not */
  char aviso_pasadas[LARGO_AVISO_PASADAS];  /* for its progress line */
  int diagnosticado;                        /* its page has diagnosed it already */
  std::string seccion;                      /* its section of the season's page, when it has no page of its own */
};

/* A season of more reaches than a chart's page gives each its own page in
   tramos/, so that its page stays light; a smaller one keeps them all in informe.html. */
static int con_paginas(int nfilas) { return nfilas > TRAMOS_POR_PAGINA; }

/* A reach's own page, added to its report's files: con_pagina's data. */
struct pagina_de_fila {
  struct reparto_tramos* t;
  int i;
  tramo_hecho* h;
};
static int pagina_de_tramo(void* datos, temporales* juego, const int* pasadas, const float* longitudes,
                           const float* pesos, const int* clases, int n, const resultados_informe* r,
                           rechazo* motivo);

/* Reads the row's fish: those of its reach in a file that names reaches, all
   of them in a file of one reach. Their n, 0 with r saying why. */
static int lee_tramo(peticion* q, taller_tramo* t, char* aviso, size_t tam, rechazo* r) {
  int con_clases;
  int n = lee_datos(q, t->pasadas, t->longitudes, t->pesos, t->clases, &t->d, &con_clases, r);
  if (n == 0 && q->eleccion.tramo && !t->d.columnas[DATO_TRAMO][0]) {  // a file of one reach
    q->eleccion.tramo = nullptr;
    n = lee_datos(q, t->pasadas, t->longitudes, t->pesos, t->clases, &t->d, &con_clases, r);
  }
  if (n == 0) return 0;
  int mayor = calculo_pasadas(t->pasadas, n);
  if (!pasadas_del_tramo(q, &t->d, mayor, "Pasadas", aviso, tam, r)) return 0;
  if (!q->pasadas) q->pasadas = mayor;  // the report takes it from here
  return n;
}

/* Writes one reach's report and diagnoses its estimates; h->error "" then,
   or why not. */
static void informe_de_tramo(const peticion* comun, const fila_tabla* f, const char* carpeta_tabla,
                             char separador, const tabla_guardada* guardada, const char* rechazada,
                             taller_tramo* t, tramo_hecho* h, pagina_de_fila* pagina) {
  rechazo* motivo = &t->motivo;
  motivo->texto[0] = 0;
  peticion q;
  int bien = peticion_de_fila(comun, f, carpeta_tabla, separador, t->datos, t->informe_ruta, t->limites,
                              &q, motivo);
  q.guardada = guardada;
  q.con_pagina = pagina ? pagina_de_tramo : nullptr;
  q.datos_pagina = pagina;
  q.rechazada = rechazada;
  h->aviso_pasadas[0] = 0;
  h->diagnosticado = 0;
  int n = bien ? lee_tramo(&q, t, h->aviso_pasadas, sizeof h->aviso_pasadas, motivo) : 0;
  resultados_informe* r = &h->r;
  bien = n > 0 &&
         escribe_informe_de(&q, t->pasadas, t->longitudes, t->pesos, t->clases, n, r, &t->inf,
                            motivo) == 0 &&
         (h->diagnosticado || diagnostica_datos(t->clases, t->pasadas, n, r->poblacion.nclases, r->k, &r->poblacion,
                           &h->diagnostico));
  h->error[0] = 0;
  if (!bien) {
    char corto[512];  // the summary's cell and the progress line keep a reason this long
    snprintf(corto, sizeof corto, "%s", motivo->texto);
    snprintf(h->error, sizeof h->error, "fila %lld: %s", f->linea,
             corto[0] ? corto : "no se ha podido escribir");
  }
}

/* ---- The season ---- */

/* The reach as the terminal names it, with its species when the table has
   one: "T03 Esla / barbo". */
static std::string nombre_de_fila(const fila_tabla* f) {
  std::string nombre = f->celda[T_TRAMO];
  if (f->celda[T_ESPECIE][0]) nombre += std::string(" / ") + f->celda[T_ESPECIE];
  return nombre;
}

static void dice_progreso(int i, int total, const fila_tabla* f, const tramo_hecho* h) {
  const resultados_informe* r = &h->r;
  const char* error = h->error;
  const char* aviso_pasadas = h->aviso_pasadas;
  fprintf(stderr, "[%d/%d] %s: ", i + 1, total, nombre_de_fila(f).c_str());
  const poblacion_grupo* t = &r->poblacion.g[r->poblacion.nclases];
  if (error[0])
    fprintf(stderr, "error: %s\n", error);
  else if (t->existe)
    fprintf(stderr, "N %d (%d\xe2\x80\x93%d)", t->N_red, t->captura, t->N_red + r->poblacion.margen);
  else
    fprintf(stderr, "estimacion fallida, %d peces capturados", r->medias.n);
  if (error[0]) return;
  fprintf(stderr, ", %d pasada%s%s%s\n", r->k, r->k == 1 ? "" : "s", aviso_pasadas[0] ? "; " : "",
          aviso_pasadas);
}

/* ---- The summary picture's pages ---- */

/* The row's species as the picture's pages take it. A name refused for
   its control codes, or too long for a file's name beside "resumen_" and a
   page number, names no page: its row goes with the rows without a
   species, and the season's summary is still written. */
static const char* especie_de(const fila_tabla* f) {
  const size_t LARGO_MAXIMO = 200;  // bytes: a file's name takes 255
  const char* especie = f->celda[T_ESPECIE];
  return f->control[T_ESPECIE] || strlen(especie) > LARGO_MAXIMO ? "" : especie;
}

/* Row i's species' pages: the first row of its species. */
static int grupo_de(const fila_tabla* filas, int i) {
  for (int j = 0; j < i; j++)
    if (strcmp(especie_de(&filas[j]), especie_de(&filas[i])) == 0) return j;
  return i;
}

/* The picture's pages, decided by the table alone (the reaches that fail
   keep their row, as "-"): their number, the first MAX_PAGINAS_RESUMEN in
   paginas. */
static int paginas_de(const fila_tabla* filas, int nfilas, pagina_resumen* paginas) {
  static int grupos[MAX_TRAMOS];
  for (int i = 0; i < nfilas; i++) grupos[i] = grupo_de(filas, i);
  return paginas_resumen(grupos, nfilas, paginas, MAX_PAGINAS_RESUMEN);
}

/* The season's pages, worked out once from its table: the names checked
   before writing, the reaches kept off them, the pages drawn and the line
   that lists them all come from these. */
struct paginas_campana {
  pagina_resumen pagina[MAX_PAGINAS_RESUMEN];
  int n; /* pages the table needs; only the first MAX_PAGINAS_RESUMEN are written */
};

/* A page's name without its extension: carpeta/resumen, then its species
   as the reports' names have it, then its number when its species has
   more than one; a season of one species in one page keeps resumen. 0 when
   it does not fit. */
static int raiz_de_pagina(const char* carpeta, const fila_tabla* filas, const pagina_resumen* p,
                          char* raiz, size_t tam) {
  char especie[CAPACIDAD_RUTA] = "", numero[16] = "";
  const char* nombre = especie_de(&filas[p->grupo]);
  if (nombre[0] && snprintf(especie, sizeof especie, "_%s", nombre) >= (int)sizeof especie) return 0;
  hace_seguro(especie);
  if (p->de > 1) snprintf(numero, sizeof numero, "_%d", p->numero);
  int largo = snprintf(raiz, tam, "%s/resumen%s%s", carpeta, especie, numero);
  return largo >= 0 && (size_t)largo < tam;
}

/* Row i's images would take the name of a page of the summary picture (a
   reach named "resumen_"), which would replace them. */
static int choca_con_pagina(const fila_tabla* filas, int i, const pagina_resumen* paginas,
                            int npaginas) {
  char nombre[CAPACIDAD_RUTA], imagen[CAPACIDAD_RUTA + 16], pagina[CAPACIDAD_RUTA];
  if (!nombre_seguro(&filas[i], nombre, sizeof nombre)) return 0;
  for (int k = 0; k < npaginas && k < MAX_PAGINAS_RESUMEN; k++) {
    if (!raiz_de_pagina("", filas, &paginas[k], pagina, sizeof pagina)) continue;
    for (int d = 1; d <= 4; d++) {
      snprintf(imagen, sizeof imagen, "/%s%d", nombre, d);
      if (strcmp(imagen, pagina) == 0) return 1;
    }
  }
  return 0;
}

/* Adds the first npaginas pages to the summary's set in the formats of
   imagenes; 0 when one could not be written. */
static int guarda_paginas(temporales* juego, const resumen_campana* r, const fila_tabla* filas,
                          const pagina_resumen* paginas, int npaginas, const char* carpeta, int imagenes) {
  for (int i = 0; i < npaginas && i < MAX_PAGINAS_RESUMEN; i++) {
    char raiz[CAPACIDAD_RUTA], fallido[CAPACIDAD_RUTA];
    BITMAP* b = raiz_de_pagina(carpeta, filas, &paginas[i], raiz, sizeof raiz)
                    ? grafico_resumen(r, &paginas[i]) : nullptr;
    int bien = b && temporal_imagen(juego, b, raiz, imagenes, fallido, sizeof fallido);
    if (b) destroy_bitmap(b);
    if (!bien) return 0;
  }
  return 1;
}

/* The folder of the table, with its separator, for the data files named in it. */
static void carpeta_de(const char* ruta, char* carpeta, size_t tam) {
  snprintf(carpeta, tam, "%.*s", (int)(nombre_sin_carpeta(ruta) - ruta), ruta);
}

int peticion_de_campana(peticion* p, const char* sobrante) {
  if (sobrante) {
    rechaza("sobra el argumento '%s' (uso: %s --tramos TABLA --carpeta CARPETA)", sobrante, PROGRAMA);
    return SALIDA_OPCIONES;
  }
  if (!p->tramos || !p->carpeta) {
    rechaza("%s (uso: %s --tramos TABLA --carpeta CARPETA)",
            p->tramos ? "falta --carpeta" : "falta --tramos", PROGRAMA);
    return SALIDA_OPCIONES;
  }
  return -1;
}

/* 1 + the earlier row whose report has the same name as row i's (it would
   be replaced), 0 when none has. */
static int nombre_repetido(const fila_tabla* filas, int i) {
  char nombre[CAPACIDAD_RUTA], otro[CAPACIDAD_RUTA];
  nombre_seguro(&filas[i], nombre, sizeof nombre);
  for (int j = 0; j < i; j++) {
    nombre_seguro(&filas[j], otro, sizeof otro);
    if (strcmp(nombre, otro) == 0) return j + 1;
  }
  return 0;
}

/* A reach without report whose report of an earlier run stays in the folder
   names it in its error: the summary and that report must not disagree
   without a word. The file is the user's, and stays. */
static void nombra_informe_anterior(const peticion* p, const fila_tabla* f, char* error, size_t tam) {
  char nombre[CAPACIDAD_RUTA], ruta[2 * CAPACIDAD_RUTA];
  if (!nombre_seguro(f, nombre, sizeof nombre)) return;
  snprintf(ruta, sizeof ruta, "%s/%s.txt", p->carpeta, nombre);
  if (clase_de_ruta(ruta) != RUTA_FICHERO) return;
  std::string nota = std::string(" (el informe ") + nombre + ".txt de la carpeta es de una ejecucion anterior)";
  size_t largo = strlen(error);
  snprintf(error + largo, tam - largo, "%s", nota.c_str());
}

/* What an interruption says: the reaches whose report is written, of the
   table's, and whether the summary is. */
static const char* const INTERRUMPIDO = "%s: interrumpido: ";
static const char* const CON_INFORME = " de %d tramos con informe; el resumen %s";

/* The notice while the reaches are written, in whatever order their
   workers finish them: each report put in place counts one more. */
static void cuenta_progreso(int total) {
  char antes[64], despues[128];
  snprintf(antes, sizeof antes, INTERRUMPIDO, PROGRAMA);
  snprintf(despues, sizeof despues, CON_INFORME, total, "no se ha escrito");
  interrupcion_cuenta(antes, 0, despues);
}

/* The notice before the reaches, and for the summary (en_resumen): what it
   says now and once the next set of files (a reach's, the summary's) is in place. */
static void avisa_progreso(int con_informe, int total, int en_resumen) {
  char ahora[256], despues[256];
  for (int puesto = 0; puesto < 2; puesto++) {
    char* texto = puesto ? despues : ahora;
    int largo = snprintf(texto, 256, INTERRUMPIDO, PROGRAMA);
    largo += snprintf(texto + largo, 256 - (size_t)largo, "%d", con_informe + (puesto && !en_resumen));
    snprintf(texto + largo, 256 - (size_t)largo, CON_INFORME, total,
             puesto && en_resumen ? "se ha escrito" : "no se ha escrito");
  }
  interrupcion_avisa(ahora, despues);
}

/* A data file that several rows name, read once for all of them. */
struct fichero_comun {
  tabla_guardada* tabla;
  std::atomic<int> pendientes; /* its rows still to be done: at 0 it is freed */
  /* Its refusal when it was refused as a whole (a damaged or too large
     workbook): each row gets it without reading the file again. "" */
  char rechazo[LARGO_MENSAJE_LECTURA];
};

/* A season's reaches as its workers share them. */
struct reparto_tramos {
  const peticion* p;
  const fila_tabla* filas;
  int nfilas;
  char carpeta_tabla[CAPACIDAD_RUTA];
  char separador;                     /* of the table's cells: how its figures are written */
  const pagina_resumen* paginas;
  int npaginas;
  resumen_campana* resumen;
  std::vector<std::string>* fallidos; /* the reaches without report, as the terminal names them */
  std::vector<taller_tramo> talleres; /* one per worker */
  std::vector<tramo_hecho> huecos;    /* the reaches done and not yet taken back */
  std::unique_ptr<fichero_comun[]> comunes; /* the data files read once */
  std::vector<int> comun_de_fila;     /* each row's among them, -1 for none */
  pagina_campana* pagina;             /* the season's page */
};

/* Row i's reach as the summary and the page take it, with h's figures;
   latin1 and especie get its names for the picture. */
static tramo_resumen tramo_de_fila(const reparto_tramos* t, int i, const tramo_hecho* h, char* latin1,
                                   char* especie) {
  const fila_tabla* f = &t->filas[i];
  texto_latin1(f->celda[T_TRAMO], strlen(f->celda[T_TRAMO]), latin1, LARGO_CELDA_TABLA);
  texto_latin1(especie_de(f), strlen(especie_de(f)), especie, LARGO_CELDA_TABLA);
  return tramo_resumen{f->celda[T_TRAMO], f->celda[T_ESPECIE], f->celda[T_FICHERO], latin1,
                       especie, grupo_de(t->filas, i), h->error, &h->r, &h->diagnostico,
                       {f->celda[T_SUPERFICIE], f->celda[T_VOLUMEN], f->celda[T_METROS],
                        f->celda[T_LINF], f->celda[T_MESES]}, h->aviso_pasadas};
}

/* Row i's section of the page, from the fish its report was written from
   (unread after an error); volver: the season's page from its own, or NULL. */
static std::string seccion_de_fila(const reparto_tramos* t, int i, const tramo_hecho* h,
                                   const muestra_pagina* m, const char* volver) {
  char latin1[LARGO_CELDA_TABLA], especie[LARGO_CELDA_TABLA];
  tramo_resumen tr = tramo_de_fila(t, i, h, latin1, especie);
  tramo_pagina p = {&tr, m, &t->resumen->acerca, &t->resumen->tramos.dialecto, volver};
  return seccion_de_tramo(&p);
}

/* The name of row i's own page in the folder, or in tramos/ (carpeta NULL). */
static std::string pagina_propia(const fila_tabla* f, const char* carpeta) {
  char nombre[CAPACIDAD_RUTA];
  nombre_seguro(f, nombre, sizeof nombre);
  return (carpeta ? std::string(carpeta) + "/tramos/" : std::string()) + nombre + ".html";
}

static int pagina_de_tramo(void* datos, temporales* juego, const int* pasadas, const float* longitudes,
                           const float* pesos, const int* clases, int n, const resultados_informe* r,
                           rechazo* motivo) {
  pagina_de_fila* c = (pagina_de_fila*)datos;
  tramo_hecho* h = c->h;
  h->diagnosticado = diagnostica_datos(clases, pasadas, n, r->poblacion.nclases, r->k, &r->poblacion,
                                       &h->diagnostico);
  std::string ruta = pagina_propia(&c->t->filas[c->i], c->t->p->carpeta);
  h->error[0] = 0;  // the report is written: the page shows its figures
  muestra_pagina m = {pasadas, longitudes, pesos, clases, n};
  if (h->diagnosticado &&
      temporal_texto(juego, ruta.c_str(), pagina_de_seccion(seccion_de_fila(c->t, c->i, h, &m, "../informe.html"))))
    return 1;
  rechazo_pon(motivo, "%s: no se ha podido escribir; no se ha guardado nada", ruta.c_str());
  return 0;
}

/* Reads once each data file that several rows name and that is a table of
   reaches; the others are read by each of their rows. */
static void lee_ficheros_comunes(reparto_tramos* t) {
  std::map<std::string, std::vector<int>> filas_de;
  for (int i = 0; i < t->nfilas; i++) {
    char ruta[CAPACIDAD_RUTA];
    if (!t->filas[i].celda[T_FICHERO][0] || t->filas[i].larga >= 0) continue;
    ruta_de_datos(&t->filas[i], t->carpeta_tabla, ruta);
    if (strcmp(ruta, "ejemplo") != 0) filas_de[ruta].push_back(i);
  }
  t->comunes.reset(new fichero_comun[filas_de.size()]());
  t->comun_de_fila.assign((size_t)t->nfilas, -1);
  int n = 0;
  for (const auto& fichero : filas_de) {
    FILE* f;
    if (fichero.second.size() < 2 || abre_lectura(fichero.first.c_str(), &f) != FICHERO_ABIERTO) continue;
    libro_pedido libro = {fichero.first.c_str(), nullptr};  // a reach's data are a first sheet
    fichero_comun* c = &t->comunes[n];
    c->tabla = tabla_guarda(f, &libro, c->rechazo, sizeof c->rechazo);
    fclose(f);
    if (!c->tabla && !c->rechazo[0]) continue;
    t->comunes[n].pendientes = (int)fichero.second.size();
    for (int i : fichero.second) t->comun_de_fila[(size_t)i] = n;
    n++;
  }
}

/* Row i is done: its data file read once is freed after its last row. */
static void suelta_comun(reparto_tramos* t, int i) {
  int c = t->comun_de_fila[(size_t)i];
  if (c >= 0 && t->comunes[c].pendientes.fetch_sub(1) == 1) {
    tabla_suelta(t->comunes[c].tabla);
    t->comunes[c].tabla = nullptr;
  }
}

/* Reach i's report in a worker, into slot h. */
static void trabaja_tramo(void* datos, int i, int hueco, int obrero) {
  reparto_tramos* t = (reparto_tramos*)datos;
  tramo_hecho* h = &t->huecos[(size_t)hueco];
  const fila_tabla* filas = t->filas;
  memset(&h->r, 0, sizeof h->r);
  h->aviso_pasadas[0] = 0;
  int repetida = nombre_repetido(filas, i);
  if (repetida) {
    snprintf(h->error, sizeof h->error, "fila %lld: su informe se llamaria como el de la fila %lld",
             filas[i].linea, filas[repetida - 1].linea);
  } else if (choca_con_pagina(filas, i, t->paginas, t->npaginas)) {
    snprintf(h->error, sizeof h->error, "fila %lld: sus graficos se llamarian como el grafico resumen",
             filas[i].linea);
  } else {
    int c = t->comun_de_fila[(size_t)i];
    pagina_de_fila pagina = {t, i, h};
    const fichero_comun* comun = c >= 0 ? &t->comunes[c] : nullptr;
    taller_tramo* taller = &t->talleres[(size_t)obrero];
    try {
      informe_de_tramo(t->p, &filas[i], t->carpeta_tabla, t->separador, comun ? comun->tabla : nullptr,
                       comun && comun->rechazo[0] ? comun->rechazo : nullptr, taller, h,
                       t->pagina->con_paginas ? &pagina : nullptr);
    } catch (const std::bad_alloc&) {  // this reach is given up; the others go on
      informe_descarta(&taller->inf);
      rechazo_pon(&taller->motivo, "%s: no hay memoria para leerlo", taller->datos);
      snprintf(h->error, sizeof h->error, "fila %lld: %.500s", filas[i].linea, taller->motivo.texto);
    }
  }
  if (!repetida && h->error[0]) nombra_informe_anterior(t->p, &filas[i], h->error, sizeof h->error);
  h->seccion.clear();
  if (!t->pagina->con_paginas) {  // its section is drawn here, while its fish are at hand
    const taller_tramo* w = &t->talleres[(size_t)obrero];
    muestra_pagina m = {w->pasadas, w->longitudes, w->pesos, w->clases, h->r.medias.n};
    h->seccion = seccion_de_fila(t, i, h, &m, nullptr);
  }
  suelta_comun(t, i);
}

/* Reach i's progress line and summary rows, in the table's order. */
static void recoge_tramo(void* datos, int i, int hueco) {
  reparto_tramos* t = (reparto_tramos*)datos;
  const tramo_hecho* h = &t->huecos[(size_t)hueco];
  const fila_tabla* f = &t->filas[i];
  char latin1[LARGO_CELDA_TABLA], especie[LARGO_CELDA_TABLA];
  dice_progreso(i, t->nfilas, f, h);
  tramo_resumen tr = tramo_de_fila(t, i, h, latin1, especie);
  resumen_tramo(t->resumen, &tr);
  pagina_tramo(t->pagina, &tr, h->seccion, t->pagina->con_paginas && !h->error[0] ? pagina_propia(f, nullptr) : "");
  if (h->error[0]) t->fallidos->push_back(nombre_de_fila(f));
}

/* Each reach's report, its summary rows and its progress line, shared
   among the request's workers; the reaches that failed. */
static int informa_tramos(const peticion* p, const fila_tabla* filas, int nfilas, char separador,
                          const paginas_campana* paginas, resumen_campana* resumen, pagina_campana* pagina,
                          std::vector<std::string>* fallidos) {
  reparto_tramos t;
  t.pagina = pagina;
  t.p = p, t.filas = filas, t.nfilas = nfilas, t.separador = separador;
  carpeta_de(p->tramos, t.carpeta_tabla, sizeof t.carpeta_tabla);
  t.paginas = paginas->pagina, t.npaginas = paginas->n;
  t.resumen = resumen, t.fallidos = fallidos;
  int hilos = std::min(p->hilos ? p->hilos : hilos_por_omision(), nfilas);
  // two reaches per worker in flight: none waits while a line is printed
  reparto_ordenado r = {nfilas, hilos, hilos > 1 ? 2 * hilos : 1, trabaja_tramo, recoge_tramo, &t};
  t.talleres.resize((size_t)hilos);
  t.huecos.resize((size_t)r.huecos);
  lee_ficheros_comunes(&t);
  cuenta_progreso(nfilas);
  reparte_en_orden(&r);
  return (int)fallidos->size();
}

/* The time of the run and its day, AAAA-MM-DD. SOURCE_DATE_EPOCH, when
   set, stands for the time (its day in UTC), so that two runs may give the
   very same bytes. */
time_t fecha_de_hoy(char* fecha, size_t tam) {
  const char* fijada = getenv("SOURCE_DATE_EPOCH");
  int fija = fijada && *fijada;
  time_t ahora = fija ? (time_t)strtoll(fijada, nullptr, 10) : time(nullptr);
  struct tm dia;
  if (!fecha_de(ahora, fija, &dia) ||
      !strftime(fecha, tam, "%Y-%m-%d", &dia))
    snprintf(fecha, tam, "-");
  return ahora;
}

/* The season's page into the summary's set: the table's columns that some
   row fills, each row's data file, the run's command line. 0 when it could
   not be written whole. */
static int pon_pagina(temporales* juego, const pagina_campana* pagina, const peticion* p,
                      const fila_tabla* filas, int nfilas) {
  char carpeta_tabla[CAPACIDAD_RUTA];
  carpeta_de(p->tramos, carpeta_tabla, sizeof carpeta_tabla);
  std::vector<int> usadas;
  for (int k = 0; k < COLUMNAS_TRAMOS; k++)
    for (int i = 0; i < nfilas; i++)
      if (COLUMNAS[k].obligatoria || filas[i].celda[k][0]) {
        usadas.push_back(k);
        break;
      }
  std::vector<std::string> columnas;
  for (int k : usadas) columnas.push_back(COLUMNAS[k].nombre);
  std::vector<entrada_pagina> entradas((size_t)nfilas);
  for (int i = 0; i < nfilas; i++) {
    for (int k : usadas) entradas[(size_t)i].celdas.push_back(filas[i].celda[k]);
    char ruta[CAPACIDAD_RUTA];
    ruta_de_datos(&filas[i], carpeta_tabla, ruta);
    if (filas[i].celda[T_FICHERO][0]) entradas[(size_t)i].ruta = visible_de(ruta);
  }
  std::string nombre = std::string(p->carpeta) + "/informe.html";
  return temporal_texto(juego, nombre.c_str(), pagina_texto(pagina, columnas, entradas, orden_ejecutada()));
}

/* The reaches' reports, then the summary's tables, picture and page, which
   take their names together; 0 when these could not be written, -1 when
   nothing could begin. */
static int escribe_tramos_y_resumen(const peticion* p, const fila_tabla* filas, int nfilas,
                                    char separador, const dialecto_resumen* d, const paginas_campana* paginas,
                                    std::vector<std::string>* fallidos, int* nfallidos) {
  static resumen_campana resumen;
  static pagina_campana pagina;
  static char tabla[3 * CAPACIDAD_RUTA];
  static temporales juego;
  char fecha[32], version[64];
  texto_utf8(p->tramos, strlen(p->tramos), tabla, sizeof tabla);
  time_t hora = fecha_de_hoy(fecha, sizeof fecha);
  snprintf(version, sizeof version, "%s %s", PROGRAMA, PASADAS_VERSION);
  const acerca_resumen acerca = {tabla, version, fecha, hora};
  if (!resumen_abre(&resumen, p->carpeta, d, &acerca, &juego)) {
    temporal_descarta(&juego);
    rechaza("%s: no se pueden crear las tablas resumen", p->carpeta);
    return -1;
  }
  int medidas[3] = {0, 0, 0};  // some reach was given volume, surface, length
  for (int i = 0; i < nfilas; i++)
    for (int k : {T_VOLUMEN, T_SUPERFICIE, T_METROS}) medidas[k == T_VOLUMEN ? 0 : k == T_SUPERFICIE ? 1 : 2] |= filas[i].celda[k][0] != 0;
  pagina_abre(&pagina, &acerca, d, con_paginas(nfilas), medidas);
  *nfallidos = informa_tramos(p, filas, nfilas, separador, paginas, &resumen, &pagina, fallidos);
  avisa_progreso(nfilas - *nfallidos, nfilas, 1);
  const char* fallido = nullptr;
  int bien = resumen_cierra(&resumen, &juego) && pon_pagina(&juego, &pagina, p, filas, nfilas) &&
             guarda_paginas(&juego, &resumen, filas, paginas->pagina, paginas->n, p->carpeta,
                            p->imagenes ? p->imagenes : IMAGENES_BMP) &&
             !(fallido = temporal_pon(&juego));
  if (!bien && resumen.fallido[0]) fallido = resumen.fallido;
  if (!bien && fallido)  // the summary's files take their names together: none has
    rechaza("%s: no se ha podido escribir; no se han escrito las tablas resumen ni su grafico", fallido);
  else if (!bien)
    rechaza("%s: no se han podido escribir las tablas resumen o su grafico", p->carpeta);
  temporal_descarta(&juego);
  return bien;
}

/* Ends the summary's line of standard output with the picture's pages:
   the one, or the first and the last and how many. 0 when some could not
   be written, for more than a season writes, and standard error says so. */
static int dice_paginas(const peticion* p, const fila_tabla* filas, const paginas_campana* todas) {
  const pagina_resumen* paginas = todas->pagina;
  int npaginas = todas->n;
  int escritas = npaginas < MAX_PAGINAS_RESUMEN ? npaginas : MAX_PAGINAS_RESUMEN;
  if (escritas == 0) return putchar('\n') != EOF;  // a table of reaches has a row at least
  const char* extension = p->imagenes == IMAGENES_PNG ? "png" : "bmp";
  char primera[CAPACIDAD_RUTA] = "", ultima[CAPACIDAD_RUTA] = "";
  raiz_de_pagina(p->carpeta, filas, &paginas[0], primera, sizeof primera);
  raiz_de_pagina(p->carpeta, filas, &paginas[escritas - 1], ultima, sizeof ultima);
  if (escritas == 1)
    printf("%s.%s\n", primera, extension);
  else
    printf("%s.%s ... %s.%s (%d paginas)\n", primera, extension, ultima, extension, escritas);
  if (escritas == npaginas) return 1;
  rechaza("%s: el grafico resumen ocuparia %d paginas; solo se han escrito las %d primeras",
          p->carpeta, npaginas, escritas);
  return 0;
}

/* ---- What the season may replace ---- */

/* 1 when the season may write ruta: it is not the table of reaches under
   any name, and nothing stands there but what an earlier season wrote (or
   an empty file), as sustituible tells; else refuses naming it. */
static int destino_libre(const peticion* p, const char* ruta, int (*sustituible)(const char*)) {
  if (mismo_fichero(ruta, p->tramos)) {
    rechaza("%s: es la tabla de tramos; la campana no la sustituye", ruta);
    return 0;
  }
  if (sustituible(ruta)) return 1;
  rechaza("%s: no es un fichero de Pasadas; elija otra carpeta", ruta);
  return 0;
}

/* The n reports and images of nombres, as destino_libre takes them. */
static int ficheros_libres(const peticion* p, char (*nombres)[CAPACIDAD_RUTA], int n) {
  for (int i = 0; i < n; i++)
    if (!destino_libre(p, nombres[i], fichero_sustituible)) return 0;
  return 1;
}

/* Two species whose names are made the same for the file system ("a.b",
   "a/b") would write their summary pages over each other: refused naming
   both, 1 when every page has a name of its own. */
static int paginas_distintas(const peticion* p, const fila_tabla* filas, const pagina_resumen* paginas,
                             int npaginas) {
  char raiz[CAPACIDAD_RUTA], otra[CAPACIDAD_RUTA];
  for (int i = 0; i < npaginas && i < MAX_PAGINAS_RESUMEN; i++) {
    if (!raiz_de_pagina("", filas, &paginas[i], raiz, sizeof raiz)) continue;
    for (int j = 0; j < i; j++) {
      if (!raiz_de_pagina("", filas, &paginas[j], otra, sizeof otra) || strcmp(raiz, otra) != 0) continue;
      rechaza("%s: las especies \xc2\xab%s\xc2\xbb y \xc2\xab%s\xc2\xbb darian el mismo nombre a su grafico resumen (%s); "
              "cambie una de ellas",
              p->carpeta, especie_de(&filas[paginas[j].grupo]), especie_de(&filas[paginas[i].grupo]), raiz + 1);
      return 0;
    }
  }
  return 1;
}

/* Every file the season would write, looked at before any is written, so
   that it refuses at once rather than after some reaches: 1 when all of
   them may be written. */
static int destinos_libres(const peticion* p, const fila_tabla* filas, int nfilas,
                           const dialecto_resumen* d, const paginas_campana* todas) {
  char nombres[MAX_FICHEROS_INFORME][CAPACIDAD_RUTA];
  for (int i = 0; i < nfilas; i++) {
    char informe[CAPACIDAD_RUTA], motivo[CAPACIDAD_RUTA + 64];
    if (informe_de_fila(p->carpeta, &filas[i], informe, motivo, sizeof motivo) &&
        !ficheros_libres(p, nombres, ficheros_de_informe(informe, p->imagenes, nombres)))
      return 0;
  }
  const pagina_resumen* paginas = todas->pagina;
  int npaginas = todas->n;
  if (!paginas_distintas(p, filas, paginas, npaginas)) return 0;
  for (int i = 0; i < npaginas && i < MAX_PAGINAS_RESUMEN; i++) {
    char raiz[CAPACIDAD_RUTA];
    if (raiz_de_pagina(p->carpeta, filas, &paginas[i], raiz, sizeof raiz) &&
        !ficheros_libres(p, nombres, ficheros_de_imagen(raiz, p->imagenes, nombres)))
      return 0;
  }
  nombres_resumen(p->carpeta, d, nombres);
  for (int i = 0; i < TABLAS_RESUMEN; i++)
    if (!destino_libre(p, nombres[i], resumen_sustituible)) return 0;
  nombre_libro(p->carpeta, nombres[0]);
  if (!destino_libre(p, nombres[0], libro_sustituible)) return 0;
  std::string pagina = std::string(p->carpeta) + "/informe.html";
  if (!destino_libre(p, pagina.c_str(), pagina_sustituible)) return 0;
  for (int i = 0; i < nfilas && con_paginas(nfilas); i++)
    if (filas[i].celda[T_TRAMO][0] && !destino_libre(p, pagina_propia(&filas[i], p->carpeta).c_str(), pagina_sustituible))
      return 0;
  return 1;
}

/* The folder of the reaches' own pages, when the season gives them one; 0 (said) when it cannot be. */
static int carpeta_de_paginas(const peticion* p, int nfilas) {
  if (!con_paginas(nfilas)) return 1;
  std::string carpeta = std::string(p->carpeta) + "/tramos";
  if ((crea_carpeta(carpeta.c_str()) == 0 || errno == EEXIST) && clase_de_ruta(carpeta.c_str()) == RUTA_CARPETA)
    return 1;
  rechaza("%s: no se puede crear la carpeta de las paginas de los tramos", carpeta.c_str());
  return 0;
}

/* The program's mark on a season's hidden file: its summaries' and
   workbook's too, besides the reports'. */
static int oculto_de_campana(const char* oculto, const char* visible) {
  size_t n = strlen(visible), leidos;
  long long largo;
  char byte;
  if (comienzo_de(oculto, &byte, 1, &leidos, &largo) != NOMBRE_OCUPADO || largo == 0) return 0;
  if (n >= 5 && strcmp(visible + n - 5, ".xlsx") == 0) return libro_sustituible(oculto);
  if (strncmp(visible, "resumen", 7) == 0 && resumen_sustituible(oculto)) return 1;
  return oculto_propio(oculto, visible);
}

/* The season once its table is read; the exit status. */
static int escribe_campana(const peticion* p, const fila_tabla* filas, int nfilas, char separador) {
  if (crea_carpeta(p->carpeta) != 0 && errno != EEXIST) {
    rechaza("%s: no se puede crear la carpeta (%s)", p->carpeta, strerror(errno));
    return SALIDA_DATOS;
  }
  if (clase_de_ruta(p->carpeta) != RUTA_CARPETA) {
    rechaza("%s: no es una carpeta", p->carpeta);
    return SALIDA_DATOS;
  }
  const dialecto_resumen* d = p->formato ? (strcmp(p->formato, "es") == 0 ? &DIALECTO_ES : &DIALECTO_PUNTO)
                                         : separador == ';' ? &DIALECTO_ES : &DIALECTO_PUNTO;
  static paginas_campana paginas;
  paginas.n = paginas_de(filas, nfilas, paginas.pagina);
  if (!destinos_libres(p, filas, nfilas, d, &paginas) || !carpeta_de_paginas(p, nfilas)) return SALIDA_DATOS;
  quita_ocultos_de(p->carpeta, oculto_de_campana);
  if (!prepara_allegro()) {
    char motivo[3 * CAPACIDAD_RUTA_RECURSOS];
    motivo_sin_recursos(motivo, sizeof motivo);
    rechaza("%s", motivo);
    return SALIDA_DATOS;
  }
  std::vector<std::string> fallidos;
  int nfallidos = 0;
  int bien = escribe_tramos_y_resumen(p, filas, nfilas, separador, d, &paginas, &fallidos, &nfallidos);
  if (bien < 0) return SALIDA_DATOS;
  char libro[CAPACIDAD_RUTA];
  nombre_libro(p->carpeta, libro);
  printf("Tramos: %d, con informe: %d\n", nfilas, nfilas - nfallidos);
  if (bien)  // a summary that could not be written is none of these files: standard error says so
    printf("Resumen: %s/resumen.%s, %s/resumen_clases.%s, %s/resumen_diagnostico.%s, %s, ", p->carpeta,
           d->extension, p->carpeta, d->extension, p->carpeta, d->extension, libro);
  int completo = !bien || dice_paginas(p, filas, &paginas);
  if (nfallidos) {
    fprintf(stderr, "%s: tramos sin informe (%d):", PROGRAMA, nfallidos);
    for (int i = 0; i < nfallidos; i++) fprintf(stderr, "%s %s", i ? "," : "", fallidos[(size_t)i].c_str());
    fputc('\n', stderr);
  }
  descarga_fuentes();
  return nfallidos || !bien || !completo ? SALIDA_DATOS : 0;
}

int campana(const peticion* p) {
  std::vector<fila_tabla> filas;
  char separador = ';';
  int nfilas = lee_tabla_de_tramos(p->tramos, p->eleccion.libro.hoja, &filas, &separador);
  if (nfilas < 0) return SALIDA_DATOS;
  avisa_progreso(0, nfilas, 0);
  interrupcion_empieza();  // from here on an interruption says what it leaves
  int salida = escribe_campana(p, filas.data(), nfilas, separador);
  interrupcion_termina();
  return salida;
}
