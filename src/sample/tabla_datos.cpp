// Reading a data file that is a spreadsheet table: a header row naming the
// columns, then one fish per row, cells separated by ";", "," or a tab and
// quoted as spreadsheets quote them. libcsv splits the rows; this file finds
// the columns by name and checks every cell as the reader of words checks a
// word, so that both kinds of file give the same fish.
#include <csv.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "tabla_interna.h"

static const columna_buscada COLUMNAS[COLUMNAS_DATOS] = {
    {"Pasada", {"pasada", "pase", "npasada", "npase", nullptr}, 1},
    {"Longitud", {"longitud", "talla", "lt", nullptr}, 1},
    {"Peso", {"peso", nullptr}, 1},
    {"Clase", {"clase", "edad", "clasedeedad", nullptr}, 0},
    {"Tramo", {"tramo", "estacion", nullptr}, 0},
    {"Especie", {"especie", nullptr}, 0},
};

/* The units a length or weight column may name between parentheses, and
   the power of ten that takes its values to cm or g; "" is no unit. */
struct unidad_columna {
  const char* clave;
  int potencia;
};
static const unidad_columna UNIDADES_LONGITUD[] = {{"", 0}, {"cm", 0}, {"mm", -1}, {nullptr, 0}};
static const unidad_columna UNIDADES_PESO[] = {{"", 0}, {"g", 0}, {"kg", 3}, {"mg", -3}, {nullptr, 0}};

static const int MAX_CABECERA = 128;          /* header cells whose names are kept for messages */
static const size_t MAX_CELDA = 65536;        /* a longer cell is no datum: the file is refused */
static const size_t TROZO = 4096;             /* bytes handed to libcsv at a time, at most one line */
static const int LARGO_COLUMNA = 20;          /* characters of a column's name in a message */
/* Rows a table read once keeps, under 100 MB: a thousand reaches of a
   thousand fish. A larger file is read for each reach instead. */
static const size_t MAX_FILAS_GUARDADAS = 1000000;
static const char BOM[] = "\xEF\xBB\xBF";

void clave_nombre(const char* nombre, int sin_parentesis, char* clave, size_t tam) {
  // Latin-1 letters 0xC0-0xFF without their accents; '.' marks a sign to drop.
  static const char SIN_ACENTO[] = "aaaaaaaceeeeiiiidnooooo.ouuuuy.saaaaaaaceeeeiiiidnooooo.ouuuuy.y";
  size_t k = 0;
  int dentro = 0;
  for (const unsigned char* p = (const unsigned char*)nombre; *p && k + 1 < tam; p++) {
    unsigned c = *p;
    if (c == '(') dentro++;
    if (c == ')' && dentro) dentro--;
    if (sin_parentesis && (dentro || c == ')')) continue;
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if (c >= 0xC0) c = (unsigned char)SIN_ACENTO[c - 0xC0];
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) clave[k++] = (char)c;
  }
  if (tam) clave[k] = 0;
}

static int es_clave_de(const columna_buscada* c, const char* clave) {
  for (const char* const* s = c->claves; *s; s++)
    if (strcmp(clave, *s) == 0) return 1;
  return 0;
}

void columnas_por_buscar(int nbuscadas, int* indices, int* repetida) {
  for (int k = 0; k < nbuscadas; k++) indices[k] = -1;
  *repetida = -1;
}

int anota_columna(const char* clave, int celda, const columna_buscada* buscadas, int nbuscadas,
                  int* indices, int* repetida) {
  for (int k = 0; k < nbuscadas; k++) {
    if (!es_clave_de(&buscadas[k], clave)) continue;
    if (indices[k] < 0)
      indices[k] = celda;
    else if (*repetida < 0)
      *repetida = celda;
    return k;
  }
  return -1;
}

int columna_que_falta(const columna_buscada* buscadas, int nbuscadas, const int* indices) {
  for (int k = 0; k < nbuscadas; k++)
    if (indices[k] < 0 && buscadas[k].obligatoria) return k;
  return -1;
}

/* As much of texto as tam holds, always ended; its length. Every cell of a
   table passes here several times, so it is copied, not formatted. */
static size_t copia_celda(char* destino, size_t tam, const char* texto) {
  size_t largo = strlen(texto);
  size_t n = largo < tam ? largo : tam - 1;
  memcpy(destino, texto, n);
  destino[n] = 0;
  return largo;
}

void palabra_de_celda(const char* celda, long long linea, palabra* p) {
  p->largo = copia_celda(p->texto, sizeof p->texto, celda);
  p->linea = linea;
  p->tipo = clasifica(p->texto, p->largo);
}

/* ---- The table of fish ---- */

/* A row of a table kept in memory: what a reading hands lee_fila. */
struct fila_guardada {
  long long linea;    /* where the row began */
  int orden;          /* among the rows after the header, empty ones too */
  int codificaciones; /* of every cell of the file up to this row's */
  int control;        /* bit k: cell k held a control code */
  size_t desde;       /* its cells in texto, one after the other, each ended by a 0 */
};

struct tabla_guardada {
  char separador;
  int bom, utf16;                 /* how the text began: a UTF-8 BOM, a UTF-16 one */
  const char* libro;              /* the workbook it is a sheet of, NULL for a text */
  std::vector<std::string> cabecera;
  long long linea_cabecera;
  int bits_cabecera, codificaciones; /* of the header's cells, of every cell */
  std::vector<fila_guardada> filas;  /* the rows with fish or none, in order */
  std::string texto;
  std::vector<int> vacias;           /* orden of the rows of empty cells */
  int vistas;                        /* rows after the header so far */
  std::unordered_map<std::string, std::vector<int>> por_tramo; /* rows by their reach's key */
  descripcion_datos d;               /* the reaches and species of every row */
};

/* A table being read: what is asked, its header, the row at hand and what
   has been read. libcsv hands it each cell and each end of row. */
struct lector_tabla {
  int con_clases;                      /* 0, 1 or CLASES_SI_LAS_HAY */
  char eleccion[2][LARGO_VALOR];       /* keys of the chosen reach and species, "" for any */
  const eleccion_datos* e;
  descripcion_datos* d;
  int *pasadas, *clases;
  float *longitudes, *pesos;
  char* mensaje;
  int tam_mensaje;
  char separador;                      /* of the table's cells: ';', ',' or a tab */
  int solo_cabecera;                   /* telling whether a line is a header: stop after it */

  int en_cabecera, ncabecera;          /* ncabecera: the header's cells, also those not kept */
  char nombres[MAX_CABECERA][LARGO_VALOR];
  int indice[COLUMNAS_DATOS];          /* the cell of each column, -1 when absent */
  char nombre_columna[COLUMNAS_DATOS][LARGO_VALOR]; /* the header's name of each column found */
  int falta, repetida;                 /* repetida: the first cell naming a column again, -1 if none */
  int columna_repetida;                /* the column it names again */
  char nombre_repetida[LARGO_VALOR];
  int potencia[COLUMNAS_DATOS];        /* a length or weight's value times 10^potencia is in cm or g */

  long long linea, linea_fila;         /* line being handed over; line where the row began */
  int campo, vacia, extra;             /* cells so far; all empty; first filled cell past the header */
  char celdas[COLUMNAS_DATOS][LARGO_PALABRA + 1];
  int control[COLUMNAS_DATOS];         /* the cell held a control code, shown as '?' */
  char texto_extra[LARGO_PALABRA + 1];

  int n, terminada, codificaciones;
  long long linea_pie;                 /* line of a row whose pass is text, 0 while none */
  char pie[LARGO_PALABRA + 1];         /* its pass cell */
  char claves_valores[2][MAX_VALORES][LARGO_VALOR];
  char primera[2][LARGO_VALOR];        /* first reach and species among the chosen rows */
  int varias[2], elegidas;
  tabla_guardada* guardando;           /* rows kept rather than read as fish (tabla_guarda) */
};

static void nombre_sin_unidad(const char* nombre, char* texto, size_t tam) {
  size_t largo = strcspn(nombre, "(");
  while (largo && nombre[largo - 1] == ' ') largo--;
  if (!largo) largo = strlen(nombre);
  snprintf(texto, tam, "%.*s", (int)largo, nombre);
}

/* The column of a row's cell, -1 when it holds none of the data. */
static int columna_de(const lector_tabla* l, int celda) {
  for (int k = 0; k < COLUMNAS_DATOS; k++)
    if (l->indice[k] == celda) return k;
  return -1;
}

/* The header's name of a cell, "" when it has none (or is past those kept). */
static const char* nombre_de_celda(const lector_tabla* l, int celda) {
  int k = columna_de(l, celda);
  if (k >= 0) return l->nombre_columna[k];
  return celda < MAX_CABECERA ? l->nombres[celda] : "";
}

/* Ends the reading with a message naming the line and the cell's column:
   by its name in the header, or by its number while the header is read. */
static void rechaza_tabla(lector_tabla* l, int celda, const char* fmt, const char* texto) {
  l->terminada = 1;
  if (l->tam_mensaje <= 0) return;
  char columna[LARGO_VALOR + 12];
  if (celda < 0)
    snprintf(columna, sizeof columna, "%s", "");
  else if (!l->en_cabecera && nombre_de_celda(l, celda)[0]) {
    char nombre[LARGO_VALOR];
    nombre_sin_unidad(nombre_de_celda(l, celda), nombre, sizeof nombre);
    snprintf(columna, sizeof columna, ", columna %.*s", LARGO_COLUMNA, nombre);
  } else
    snprintf(columna, sizeof columna, ", columna %d", celda + 1);
  char cita[3 * LARGO_COLUMNA];
  cita_palabra(cita, sizeof cita, texto ? texto : "");
  char motivo[LARGO_MENSAJE_LECTURA];
  snprintf(motivo, sizeof motivo, fmt, cita);
  snprintf(l->mensaje, (size_t)l->tam_mensaje, "<Linea %lld%s: %s>", l->linea_fila, columna, motivo);
}

static void rechaza_columna(lector_tabla* l, int k, const char* fmt, const char* texto) {
  rechaza_tabla(l, l->indice[k], fmt, texto);
}

/* An integer cell of column k within [menor, mayor]; 0 when refused. */
static int entero_de_celda(lector_tabla* l, int k, int menor, int mayor, int* valor) {
  palabra p;
  char clase[LARGO_PALABRA + 1];
  size_t largo = copia_celda(clase, sizeof clase, l->celdas[k]);
  // a class as every screen writes it, "3+"
  if (k == DATO_CLASE && largo > 1 && clase[largo - 1] == '+' && strspn(clase, "0123456789") == largo - 1)
    clase[largo - 1] = 0;
  palabra_de_celda(clase, l->linea_fila, &p);
  if (entero_en(&p, menor, mayor, valor)) return 1;
  char fmt[64];
  snprintf(fmt, sizeof fmt, "%%s: se espera un entero de %d a %d", menor, mayor);
  rechaza_columna(l, k, fmt, l->celdas[k]);
  return 0;
}

/* The word's number times 10^potencia, written anew as its text: the
   exponent moved rather than the float divided, so that 274 mm is read as
   the very float that 27.4 cm is, rounded once. */
static void escala_palabra(palabra* p, int potencia) {
  if (!potencia || (p->tipo != ENTERO && p->tipo != DECIMAL)) return;
  char* e = strpbrk(p->texto, "eE");
  long long exponente = 0;
  if (e) {
    const char* cifras = e[1] == '+' ? e + 2 : e + 1;
    std::from_chars_result r = std::from_chars(cifras, cifras + strlen(cifras), exponente);
    if (r.ec != std::errc()) return;  // far past any float: as huge or as tiny in any unit
    *e = 0;
  }
  size_t largo = strlen(p->texto);
  int escrito = snprintf(p->texto + largo, sizeof p->texto - largo, "e%lld", exponente + potencia);
  if (escrito < 0 || largo + (size_t)escrito >= sizeof p->texto) {
    p->tipo = NUMERO_MALO;  // no room for it: refused as too long a number is
    return;
  }
  p->largo = strlen(p->texto);
  p->tipo = clasifica(p->texto, p->largo);
}

/* How a number cell writes its figures, as cifras_de_hoja tells. */
enum forma_cifras { CIFRAS_LLANAS, CIFRAS_AGRUPADAS, CIFRAS_MAL_AGRUPADAS, CIFRAS_AMBIGUAS };

/* The figures of s[0..largo) split by grupo: 1 when they are grouped as a
   spreadsheet shows thousands (one to three figures, then three each), 0
   when not, -1 when a group is empty ("1..5" is no number at all). */
static int en_miles(const char* s, size_t largo, char grupo) {
  size_t cifras = 0;
  int regular = 1, primero = 1;
  for (size_t i = 0; i <= largo; i++) {
    if (i < largo && s[i] != grupo) {
      cifras++;
      continue;
    }
    if (!cifras) return -1;
    regular &= primero ? cifras <= 3 : cifras == 3;
    primero = 0, cifras = 0;
  }
  return regular;
}

/* A comma alone in a quoted cell of a "," table, one to three figures
   before it (not a lone 0) and three after: "1,534" is 1534 to an English
   spreadsheet and 1.534 to a Spanish one. */
static int coma_ambigua(const char* s, char separador) {
  const char* coma = strchr(s, ',');
  size_t antes = (size_t)(coma - s);
  return separador == ',' && antes >= 1 && antes <= 3 && !(antes == 1 && *s == '0') &&
         strlen(coma + 1) == 3;
}

/* A number cell as spreadsheets write it, made plain in plano ("1.534,2" and
   "1,534.2" as "1534.2", "29,6" as "29.6"). Where a point and a comma both
   stand, the last one is decimal and the other groups thousands; a mark
   written more than once groups thousands; a mark alone is decimal. When the
   groups are not of three, plano gets the number as the table would write
   it plainly ("1.23,5": "123,5"). An exponent stays as written; a cell with
   anything else than figures, a sign and marks before it is left to the
   reader of words, as is one with a mark out of place. */
static forma_cifras cifras_de_hoja(const char* celda, char separador, char* plano, size_t tam) {
  copia_celda(plano, tam, celda);
  const char* s = celda + (*celda == '+' || *celda == '-');
  const std::string m(s, strcspn(s, "eE"));  // the figures and their marks
  size_t punto = m.rfind('.'), coma = m.rfind(',');
  if (m.find_first_not_of("0123456789.,") != std::string::npos ||
      (punto == std::string::npos && coma == std::string::npos))
    return CIFRAS_LLANAS;
  size_t decimal = punto != std::string::npos && (coma == std::string::npos || punto > coma) ? punto : coma;
  char marca = m[decimal], grupo = marca == '.' ? ',' : '.';
  int otra = m.find(grupo) != std::string::npos;
  long veces = std::count(m.begin(), m.end(), marca);
  if (!otra && veces == 1) {  // a decimal mark alone
    if (marca == ',' && coma_ambigua(m.c_str(), separador)) return CIFRAS_AMBIGUAS;
    size_t i = (size_t)(s - celda) + decimal;
    if (i < tam) plano[i] = '.';
    return CIFRAS_LLANAS;
  }
  if (otra && veces > 1) return CIFRAS_LLANAS;  // "1.534,2,1": no number
  if (!otra) grupo = marca, decimal = m.size();  // "1.534.210": all groups
  int miles = en_miles(m.c_str(), decimal, grupo);
  if (miles < 0 || decimal + 1 == m.size()) return CIFRAS_LLANAS;
  std::string texto(celda, (size_t)(s - celda));
  for (size_t i = 0; i < decimal; i++)
    if (m[i] != grupo) texto += m[i];
  if (decimal < m.size()) texto += (miles || separador == ',' ? "." : ",") + m.substr(decimal + 1);
  snprintf(plano, tam, "%s%s", texto.c_str(), s + m.size());
  return miles ? CIFRAS_AGRUPADAS : CIFRAS_MAL_AGRUPADAS;
}

int cifras_de_celda(const char* celda, char separador, char* plano, size_t tam, char* motivo,
                    size_t tam_motivo) {
  motivo[0] = 0;
  switch (cifras_de_hoja(celda, separador, plano, tam)) {
    case CIFRAS_MAL_AGRUPADAS:  // plano holds figures, a sign and a mark only
      snprintf(motivo, tam_motivo, "cifras mal agrupadas; use %s", plano);
      return 1;
    case CIFRAS_AMBIGUAS: {
      std::string miles(celda), decimales(celda);
      miles.erase(miles.find(','), 1);
      decimales[decimales.find(',')] = '.';
      snprintf(motivo, tam_motivo, "puede ser %s o %s; escriba uno de los dos", miles.c_str(),
               decimales.c_str());
      return 1;
    }
    default:
      return 0;
  }
}

/* Refuses a length or weight cell of column k whose figures are badly
   grouped or may be read two ways, saying how to write it; 0 when the cell
   is a plain number in plano. */
static int rechaza_cifras(lector_tabla* l, int k, char* plano, size_t tam) {
  const char* celda = l->celdas[k];
  char motivo[3 * LARGO_PALABRA + 64];
  if (!cifras_de_celda(celda, l->separador, plano, tam, motivo, sizeof motivo)) return 0;
  std::string fmt = "%s: ";  // the cell's own text is no format: its "%" stay as they are
  for (const char* c = motivo; *c; c++) fmt += *c == '%' ? std::string("%%") : std::string(1, *c);
  rechaza_columna(l, k, fmt.c_str(), celda);
  return 1;
}

/* A length or weight cell of column k, above 0 and not above tope (cm or
   g), in the column's unit; 0 when refused. */
static int positivo_de_celda(lector_tabla* l, int k, float tope, float* valor) {
  char plano[LARGO_PALABRA + 1];
  if (rechaza_cifras(l, k, plano, sizeof plano)) return 0;
  palabra p;
  palabra_de_celda(plano, l->linea_fila, &p);
  escala_palabra(&p, l->potencia[k]);
  int excesivo = supera(&p, tope);
  if (!excesivo && positivo(&p, valor)) return 1;
  char fmt[64];
  if (excesivo)
    snprintf(fmt, sizeof fmt, "%%s: supera los %.0f %s", tope / pow(10, l->potencia[k]),
             k == DATO_LONGITUD ? l->d->unidad_longitud : l->d->unidad_peso);
  else
    snprintf(fmt, sizeof fmt, "%%s: se espera un numero mayor que 0");
  rechaza_columna(l, k, fmt, l->celdas[k]);
  return 0;
}

/* Counts a reach or species among the file's values (j 0 reach, 1 species). */
static void anota_valor(lector_tabla* l, int j, const char* texto, const char* clave) {
  valores_columna* v = j ? &l->d->especies : &l->d->tramos;
  for (int i = 0; i < v->n; i++)
    if (strcmp(l->claves_valores[j][i], clave) == 0) {
      v->filas[i]++;
      return;
    }
  if (v->n == MAX_VALORES) {
    v->desbordado = 1;
    return;
  }
  snprintf(v->texto[v->n], LARGO_VALOR, "%.*s", LARGO_VALOR - 1, texto);
  snprintf(l->claves_valores[j][v->n], LARGO_VALOR, "%.*s", LARGO_VALOR - 1, clave);
  v->filas[v->n++] = 1;
}

/* A row of the chosen reach, whatever its species: its pass counts among
   the passes the reach was fished. The rows of other species are not fish
   of this sample, so a pass that is no such number is left to their own reading. */
static void anota_pasada_del_tramo(lector_tabla* l) {
  palabra p;
  palabra_de_celda(l->celdas[DATO_PASADA], l->linea_fila, &p);
  int pasada;
  if (entero_en(&p, 1, MAX_PASADAS, &pasada) && pasada > l->d->pasadas_tramo)
    l->d->pasadas_tramo = pasada;
}

/* The reach and species of the row: 1 when the row is among those chosen. */
static int fila_elegida(lector_tabla* l) {
  int elegido[2] = {1, 1};  // its reach, its species
  char claves[2][LARGO_VALOR];
  for (int j = 0; j < 2; j++) {
    int k = j ? DATO_ESPECIE : DATO_TRAMO;
    claves[j][0] = 0;
    if (l->indice[k] < 0) continue;
    if (!l->celdas[k][0]) {
      rechaza_columna(l, k, "celda vacia", nullptr);
      return 0;
    }
    if (l->control[k]) {  // it would name a report's file, or reach a terminal
      rechaza_columna(l, k, "%s tiene un caracter de control", l->celdas[k]);
      return 0;
    }
    clave_nombre(l->celdas[k], 0, claves[j], LARGO_VALOR);
    anota_valor(l, j, l->celdas[k], claves[j]);
    elegido[j] = !l->eleccion[j][0] || strcmp(claves[j], l->eleccion[j]) == 0;
  }
  if (elegido[0]) anota_pasada_del_tramo(l);
  if (!elegido[0] || !elegido[1]) return 0;
  l->elegidas++;
  for (int j = 0; j < 2; j++) {
    if (l->elegidas == 1) snprintf(l->primera[j], LARGO_VALOR, "%s", claves[j]);
    l->varias[j] |= strcmp(l->primera[j], claves[j]) != 0;
  }
  return 1;
}

/* A row whose pass is text ends the fish, as a footer ends a file of words;
   but rows after it mean it cut them off. 1 when the row is not a fish. */
static int es_pie(lector_tabla* l) {
  if (l->linea_pie) {
    l->linea_fila = l->linea_pie;
    rechaza_columna(l, DATO_PASADA, "texto inesperado %s; siguen mas registros", l->pie);
    return 1;
  }
  palabra p;
  palabra_de_celda(l->celdas[DATO_PASADA], l->linea_fila, &p);
  if (!l->celdas[DATO_PASADA][0] || p.tipo != PALABRA) return 0;
  l->linea_pie = l->linea_fila;
  memcpy(l->pie, l->celdas[DATO_PASADA], sizeof l->pie);
  return 1;
}

/* One fish from the row's cells. */
static void lee_fila(lector_tabla* l) {
  if (l->vacia) {
    l->d->filas_vacias++;
    return;
  }
  if (l->extra >= 0) {
    rechaza_tabla(l, l->extra, "%s esta fuera de las columnas de la cabecera", l->texto_extra);
    return;
  }
  if (es_pie(l)) return;
  if (!fila_elegida(l)) return;
  for (int k = DATO_PASADA; k <= DATO_CLASE; k++)
    if (l->indice[k] >= 0 && !l->celdas[k][0]) {
      rechaza_columna(l, k, "celda vacia", nullptr);
      return;
    }
  if (l->n == MAX_PECES) {
    l->linea_fila = 0;
    snprintf(l->mensaje, (size_t)l->tam_mensaje, "<El fichero tiene mas de 10000 registros>");
    l->terminada = 1;
    return;
  }
  int i = l->n, clase = 0;
  if (!entero_de_celda(l, DATO_PASADA, 1, MAX_PASADAS, &l->pasadas[i]) ||
      !positivo_de_celda(l, DATO_LONGITUD, LONGITUD_MAXIMA, &l->longitudes[i]) ||
      !positivo_de_celda(l, DATO_PESO, PESO_MAXIMO, &l->pesos[i]) ||
      (l->indice[DATO_CLASE] >= 0 && !entero_de_celda(l, DATO_CLASE, 0, MAX_CLASES - 1, &clase)))
    return;
  if (l->indice[DATO_CLASE] >= 0 && l->clases) l->clases[i] = clase;
  l->n++;
}

/* The header's refusals: a data column missing or repeated, or a reach or
   species asked of a table without that column. 1 when it refused. */
static int cabecera_rechazada(lector_tabla* l) {
  char fmt[80];
  if (l->falta >= 0 || (l->con_clases == 1 && l->indice[DATO_CLASE] < 0)) {
    snprintf(fmt, sizeof fmt, "falta la columna %s", COLUMNAS[l->falta >= 0 ? l->falta : DATO_CLASE].nombre);
    rechaza_tabla(l, -1, fmt, nullptr);
    return 1;
  }
  if (l->repetida >= 0) {
    snprintf(fmt, sizeof fmt, "%%s repite la columna %s", COLUMNAS[l->columna_repetida].nombre);
    rechaza_tabla(l, l->repetida, fmt, l->nombre_repetida);
    return 1;
  }
  for (int j = 0; j < 2; j++) {
    int k = j ? DATO_ESPECIE : DATO_TRAMO;
    if (l->eleccion[j][0] && l->indice[k] < 0) {
      snprintf(fmt, sizeof fmt, SIN_COLUMNA, COLUMNAS[k].nombre);
      snprintf(l->mensaje, (size_t)l->tam_mensaje, "%s", fmt);
      l->terminada = 1;
      return 1;
    }
  }
  return 0;
}

/* Which datum each column holds, and the named columns that hold none, as
   the description of the file tells them. */
static void anota_columnas(lector_tabla* l, int nclaves) {
  for (int k = 0; k < COLUMNAS_DATOS; k++)
    if (l->indice[k] >= 0) snprintf(l->d->columnas[k], LARGO_VALOR, "%s", l->nombre_columna[k]);
  for (int c = 0; c < nclaves; c++) {
    size_t largo = strlen(l->d->ignoradas);
    if (columna_de(l, c) < 0 && l->nombres[c][0] && largo + 1 < sizeof l->d->ignoradas)
      snprintf(l->d->ignoradas + largo, sizeof l->d->ignoradas - largo, "%s%s", largo ? ", " : "",
               l->nombres[c]);
  }
}

/* The unit a header's name gives between parentheses, as a key ("" for none). */
static void unidad_de(const char* nombre, char* clave, size_t tam) {
  const char* abre = strchr(nombre, '(');
  const char* cierra = abre ? strchr(abre, ')') : nullptr;
  char dentro[LARGO_VALOR];
  snprintf(dentro, sizeof dentro, "%.*s", abre && cierra ? (int)(cierra - abre - 1) : 0, abre ? abre + 1 : "");
  clave_nombre(dentro, 0, clave, tam);
}

/* The units of the length and weight columns; 1 when some is none the
   program knows, and then the table is refused. */
static int unidades_rechazadas(lector_tabla* l) {
  for (int k : {DATO_LONGITUD, DATO_PESO}) {
    const unidad_columna* u = k == DATO_LONGITUD ? UNIDADES_LONGITUD : UNIDADES_PESO;
    const char* nombre = l->nombre_columna[k];
    char clave[LARGO_VALOR];
    unidad_de(nombre, clave, sizeof clave);
    while (u->clave && strcmp(u->clave, clave) != 0) u++;
    if (!u->clave) {
      rechaza_tabla(l, -1, k == DATO_LONGITUD ? "la columna %s tiene una unidad que no se admite; use mm o cm"
                                               : "la columna %s tiene una unidad que no se admite; use g, kg o mg",
                    nombre);
      return 1;
    }
    l->potencia[k] = u->potencia;
    const char* texto = u->clave[0] ? u->clave : k == DATO_LONGITUD ? "cm" : "g";
    if (k == DATO_LONGITUD) l->d->unidad_longitud = texto;
    else l->d->unidad_peso = texto;
  }
  return 0;
}

/* The header's columns: found by name, checked against what is asked. */
static void lee_cabecera(lector_tabla* l) {
  int nclaves = l->ncabecera < MAX_CABECERA ? l->ncabecera : MAX_CABECERA;
  l->falta = columna_que_falta(COLUMNAS, COLUMNAS_DATOS, l->indice);
  if (l->solo_cabecera) {
    l->terminada = 1;
    return;
  }
  if (cabecera_rechazada(l) || unidades_rechazadas(l)) return;
  l->en_cabecera = 0;
  if (!l->con_clases) l->indice[DATO_CLASE] = -1;
  l->d->con_clases = l->indice[DATO_CLASE] >= 0;
  anota_columnas(l, nclaves);
}

/* Header cell c: the column it names, wherever it stands however wide the
   header, and its name for the messages. */
static void celda_de_cabecera(lector_tabla* l, int c, const char* texto) {
  l->ncabecera = c + 1;
  char clave[LARGO_VALOR];
  clave_nombre(texto, 1, clave, sizeof clave);
  int k = anota_columna(clave, c, COLUMNAS, COLUMNAS_DATOS, l->indice, &l->repetida);
  if (k >= 0 && l->indice[k] == c) snprintf(l->nombre_columna[k], LARGO_VALOR, "%.*s", LARGO_VALOR - 1, texto);
  if (k >= 0 && l->repetida == c) {
    l->columna_repetida = k;
    snprintf(l->nombre_repetida, LARGO_VALOR, "%.*s", LARGO_VALOR - 1, texto);
  }
  if (c < MAX_CABECERA) snprintf(l->nombres[c], LARGO_VALOR, "%.*s", LARGO_VALOR - 1, texto);
}

/* A row of a table kept for every reach's reading. A row at which any
   reading would stop, whatever its reach, ends the keeping (terminada);
   a footer and a row of empty cells are no fish of any reach. */
static void guarda_fila(lector_tabla* l) {
  tabla_guardada* t = l->guardando;
  int orden = t->vistas++;
  if (l->vacia) {
    t->vacias.push_back(orden);
    return;
  }
  if (l->extra >= 0 || t->filas.size() == MAX_FILAS_GUARDADAS) {
    l->terminada = 1;
    return;
  }
  if (es_pie(l) || !fila_elegida(l)) return;  // with nothing chosen it refuses only what none takes
  fila_guardada f = {l->linea_fila, orden, l->codificaciones, 0, t->texto.size()};
  for (int k = 0; k < COLUMNAS_DATOS; k++) {
    f.control |= l->control[k] ? 1 << k : 0;
    t->texto.append(l->celdas[k]).push_back(0);
  }
  char clave[LARGO_VALOR];
  clave_nombre(l->celdas[DATO_TRAMO], 0, clave, sizeof clave);
  t->por_tramo[clave].push_back((int)t->filas.size());
  t->filas.push_back(f);
}

static void celda_leida(void* datos, size_t largo, void* lector) {
  lector_tabla* l = (lector_tabla*)lector;
  if (l->terminada) return;
  if (l->campo == 0) l->linea_fila = l->linea;
  int c = l->campo++;
  char texto[LARGO_PALABRA + 1];
  int bits = texto_latin1((const char*)datos, largo, texto, sizeof texto);
  l->codificaciones |= bits;
  if (l->en_cabecera && l->guardando) l->guardando->cabecera.push_back(texto);
  if (l->en_cabecera) return celda_de_cabecera(l, c, texto);
  if (texto[0]) l->vacia = 0;
  int k = c < l->ncabecera ? columna_de(l, c) : -1;
  if (k >= 0) {
    memcpy(l->celdas[k], texto, sizeof texto);
    l->control[k] = bits & TEXTO_CONTROL;
  } else if (c >= l->ncabecera && texto[0] && l->extra < 0) {
    l->extra = c;
    memcpy(l->texto_extra, texto, sizeof texto);
  }
}

static void fila_acabada(int, void* lector) {
  lector_tabla* l = (lector_tabla*)lector;
  if (l->terminada) return;
  if (l->en_cabecera && l->guardando)
    l->guardando->linea_cabecera = l->linea_fila, l->guardando->bits_cabecera = l->codificaciones;
  if (l->en_cabecera)
    lee_cabecera(l);
  else if (l->guardando)
    guarda_fila(l);
  else
    lee_fila(l);
  l->campo = 0, l->vacia = 1, l->extra = -1;
  for (int k = 0; k < COLUMNAS_DATOS; k++) l->celdas[k][0] = 0, l->control[k] = 0;
}

static int es_espacio(unsigned char c) { return c == ' '; }
static int es_espacio_o_tab(unsigned char c) { return c == ' ' || c == '\t'; }

/* libcsv keeps a cell whole in one buffer: a cell past MAX_CELDA gets none. */
static void* amplia_acotado(void* p, size_t tam) { return tam > MAX_CELDA ? nullptr : realloc(p, tam); }

static void prepara_lector(lector_tabla* l, char separador, descripcion_datos* d) {
  memset(l, 0, sizeof *l);
  l->d = d;
  l->en_cabecera = 1, l->vacia = 1, l->extra = -1, l->linea = 1;
  l->separador = separador;
  columnas_por_buscar(COLUMNAS_DATOS, l->indice, &l->repetida);
}

void prepara_parser(csv_parser* p, int opciones, char separador) {
  csv_init(p, (unsigned char)opciones);
  csv_set_delim(p, (unsigned char)separador);
  csv_set_realloc_func(p, amplia_acotado);
}

static void prepara_csv(csv_parser* p, char separador) {
  // Quotes as spreadsheets write them, nothing looser: a stray quote would
  // join or split cells without a word.
  prepara_parser(p, CSV_STRICT | CSV_STRICT_FINI, separador);
  csv_set_space_func(p, separador == '\t' ? es_espacio : es_espacio_o_tab);
}

/* The first line of f that holds anything, from where f stands, handed to
   p a piece at a time however long it is, its BOM skipped. */
static void pasa_primera_linea(FILE* f, csv_parser* p, lector_tabla* l) {
  int c;
  while ((c = getc(f)) == '\r' || c == '\n') {
  }
  if (c == EOF || ungetc(c, f) == EOF) return;
  char trozo[TROZO];
  int fin_de_linea = 0;
  for (int primero = 1; !fin_de_linea; primero = 0) {
    size_t largo = lee_trozo(f, trozo, sizeof trozo, &fin_de_linea);
    if (largo == 0) break;
    size_t desde = primero && largo >= 3 && memcmp(trozo, BOM, 3) == 0 ? 3 : 0;
    if (csv_parse(p, trozo + desde, largo - desde, celda_leida, fila_acabada, l) != largo - desde)
      return;  // a cell no table holds: no header under this separator
  }
  csv_fini(p, celda_leida, fila_acabada, l);
}

int separador_de_tabla(FILE* f) {
  static const char SEPARADORES[] = {';', '\t', ','};
  lector_tabla l;  // each reading its own, so that readings may run side by side
  descripcion_datos d;
  long inicio = ftell(f);
  char mejor = 0;
  int columnas_mejor = 1;
  for (char s : SEPARADORES) {
    if (inicio < 0 || fseek(f, inicio, SEEK_SET) != 0) return -1;
    prepara_lector(&l, s, &d);
    l.solo_cabecera = 1;
    csv_parser p;
    prepara_csv(&p, s);
    pasa_primera_linea(f, &p, &l);
    csv_free(&p);
    int nombradas = 0;
    for (int k = 0; k < COLUMNAS_DATOS; k++) nombradas += l.indice[k] >= 0;
    // A tab may part the words of a header of words too: only a header that
    // names every column a fish needs makes that a table.
    int tabla = s == '\t' ? l.falta < 0 : nombradas > 0;
    if (l.terminada && tabla && l.ncabecera > columnas_mejor) mejor = s, columnas_mejor = l.ncabecera;
  }
  return fseek(f, inicio, SEEK_SET) == 0 ? mejor : -1;
}

int recorre_tabla(FILE* f, recorrido_tabla* r) {
  char trozo[TROZO];
  int fin_de_linea;
  r->bom = 0;
  r->ultima = *r->linea;
  for (int primero = 1; !(r->parada && *r->parada); primero = 0) {
    size_t largo = lee_trozo(f, trozo, sizeof trozo, &fin_de_linea);
    if (largo == 0) return csv_fini(r->p, r->celda, r->fila, r->lector) == 0 ? TABLA_LEIDA : TABLA_SIN_CERRAR;
    // A NUL would end the cell's text where it stands: the rest of the row
    // would be lost or run into the next without a word.
    if (memchr(trozo, 0, largo)) return TABLA_NUL;
    size_t desde = primero && largo >= 3 && memcmp(trozo, BOM, 3) == 0 ? 3 : 0;
    r->bom |= desde > 0;
    if (csv_parse(r->p, trozo + desde, largo - desde, r->celda, r->fila, r->lector) != largo - desde)
      return TABLA_MAL_PARTIDA;
    r->ultima = *r->linea;
    if (fin_de_linea) ++*r->linea;
  }
  return TABLA_PARADA;
}

/* The rows of f through libcsv, one line at a time so that each row knows its line. */
static void recorre_filas(FILE* f, char separador, lector_tabla* l, int* bom) {
  csv_parser p;
  prepara_csv(&p, separador);
  recorrido_tabla r = {&p, celda_leida, fila_acabada, l, &l->linea, &l->terminada, 0, 0};
  int fin = recorre_tabla(f, &r);
  *bom = r.bom;
  if (fin == TABLA_NUL) {
    l->linea_fila = l->linea;
    rechaza_tabla(l, -1, "tiene un caracter nulo", nullptr);
  } else if (fin == TABLA_MAL_PARTIDA || fin == TABLA_SIN_CERRAR) {
    if (l->campo == 0) l->linea_fila = fin == TABLA_SIN_CERRAR ? r.ultima : l->linea;  // the cell at fault is its row's first
    rechaza_tabla(l, l->campo,
                  fin == TABLA_SIN_CERRAR         ? "comillas sin cerrar"
                  : csv_error(&p) == CSV_EPARSE ? "comillas mal puestas"
                                                : "celda de mas de 65536 caracteres",
                  nullptr);
  }
  csv_free(&p);
}

static const char* codificacion(int bom, int codificaciones) {
  if (bom) return "UTF-8 con BOM";
  if (codificaciones & TEXTO_WINDOWS_1252) return "Windows-1252";
  return codificaciones & TEXTO_UTF8 ? "UTF-8" : "ASCII";
}

/* A reach or species was left to choose: says how many the file holds. */
static void pide_eleccion(lector_tabla* l) {
  const valores_columna* v[2] = {&l->d->tramos, &l->d->especies};
  char cuantos[2][40];
  for (int j = 0; j < 2; j++)
    snprintf(cuantos[j], sizeof cuantos[j], "%s%d %s", v[j]->desbordado ? "mas de " : "", v[j]->n,
             j ? "especies" : "tramos");
  if (l->varias[0] && l->varias[1])
    snprintf(l->mensaje, (size_t)l->tam_mensaje,
             "<El fichero tiene %s y %s: elija con pasadas-informe --tramo y --especie>",
             cuantos[0], cuantos[1]);
  else
    snprintf(l->mensaje, (size_t)l->tam_mensaje, "<El fichero tiene %s: elija %s con pasadas-informe %s>",
             cuantos[l->varias[1]], l->varias[1] ? "una" : "uno",
             l->varias[1] ? "--especie" : "--tramo");
}

/* No row is of the chosen reach and species. */
static void nada_elegido(lector_tabla* l) {
  char elegido[2][LARGO_VALOR];
  for (int j = 0; j < 2; j++) {
    const char* valor = j ? l->e->especie : l->e->tramo;
    texto_latin1(valor ? valor : "", valor ? strlen(valor) : 0, elegido[j], LARGO_VALOR);
  }
  if (l->eleccion[0][0] && l->eleccion[1][0])
    snprintf(l->mensaje, (size_t)l->tam_mensaje, "<Ningun pez del tramo \xab%s\xbb y la especie \xab%s\xbb>",
             elegido[0], elegido[1]);
  else
    snprintf(l->mensaje, (size_t)l->tam_mensaje, "<Ningun pez %s \xab%s\xbb>",
             l->eleccion[0][0] ? "del tramo" : "de la especie", elegido[l->eleccion[0][0] ? 0 : 1]);
}

/* A reading's start: what is asked, where the fish go, the keys of the
   reach and species chosen. */
static void empieza_lectura(lector_tabla* l, char separador, int con_clases, const eleccion_datos* e,
                            descripcion_datos* d, int* pasadas, float* longitudes, float* pesos,
                            int* clases, char* mensaje, int tam_mensaje) {
  prepara_lector(l, separador, d);
  l->con_clases = con_clases, l->e = e;
  l->pasadas = pasadas, l->longitudes = longitudes, l->pesos = pesos, l->clases = clases;
  l->mensaje = mensaje, l->tam_mensaje = tam_mensaje;
  for (int j = 0; e && j < 2; j++) {
    const char* valor = j ? e->especie : e->tramo;
    char texto[LARGO_PALABRA + 1];
    texto_latin1(valor ? valor : "", valor ? strlen(valor) : 0, texto, sizeof texto);
    clave_nombre(texto, 0, l->eleccion[j], LARGO_VALOR);
  }
  d->tabla = 1, d->separador = separador;
}

/* A reading that went to the end: the fish, or why the reach and species
   asked leave none to take. */
static int termina_eleccion(lector_tabla* l, descripcion_datos* d) {
  d->eleccion_fallida = 1;
  if ((l->varias[0] && !l->eleccion[0][0]) || (l->varias[1] && !l->eleccion[1][0])) {
    pide_eleccion(l);
    return LECTURA_RECHAZADA;
  }
  if ((l->eleccion[0][0] || l->eleccion[1][0]) && l->elegidas == 0) {
    nada_elegido(l);
    return LECTURA_RECHAZADA;
  }
  d->eleccion_fallida = 0;
  return l->n;
}

int lee_tabla(FILE* f, char separador, int con_clases, const eleccion_datos* e,
              descripcion_datos* d, int* pasadas, float* longitudes, float* pesos, int* clases,
              char* mensaje, int tam_mensaje) {
  lector_tabla l;
  char sin_mensaje[200];  // the refusal is still worded, to end the reading alike
  if (!mensaje || tam_mensaje <= 0) mensaje = sin_mensaje, tam_mensaje = sizeof sin_mensaje;
  empieza_lectura(&l, separador, con_clases, e, d, pasadas, longitudes, pesos, clases, mensaje,
                  tam_mensaje);
  int bom = 0;
  recorre_filas(f, separador, &l, &bom);
  d->codificacion = codificacion(bom, l.codificaciones);
  if (l.terminada) return LECTURA_RECHAZADA;
  if (ferror(f)) {
    snprintf(mensaje, (size_t)tam_mensaje, "<No se ha podido leer el fichero>");
    return LECTURA_RECHAZADA;
  }
  return termina_eleccion(&l, d);
}

/* ---- A table of many reaches read once ---- */

/* Keeps the rows of the table in texto, its separator known; 0 when some
   reading of it would stop before its end whatever it asks. */
static int guarda_filas(FILE* texto, tabla_guardada* t) {
  std::unique_ptr<lector_tabla> l(new lector_tabla);
  char mensaje[LARGO_MENSAJE_LECTURA];
  empieza_lectura(l.get(), t->separador, CLASES_SI_LAS_HAY, nullptr, &t->d, nullptr, nullptr,
                  nullptr, nullptr, mensaje, sizeof mensaje);
  l->guardando = t;
  recorre_filas(texto, t->separador, l.get(), &t->bom);
  t->codificaciones = l->codificaciones;
  return !l->terminada && !ferror(texto) && !l->en_cabecera && l->indice[DATO_TRAMO] >= 0;
}

tabla_guardada* tabla_guarda(FILE* f, const libro_pedido* libro, char* rechazo, int tam_rechazo) {
  char* memoria;
  const char* tipo;
  char mensaje[LARGO_MENSAJE_LECTURA] = "";
  FILE* texto = abre_texto(f, libro, &memoria, &tipo, mensaje, sizeof mensaje);
  if (tam_rechazo > 0) snprintf(rechazo, (size_t)tam_rechazo, "%s", texto ? "" : mensaje);
  if (!texto) return nullptr;
  std::unique_ptr<tabla_guardada> t;
  int bien = 0;
  try {  // a table too large to keep in memory is read for each reach instead
    t.reset(new tabla_guardada());
    t->utf16 = texto != f && !tipo;
    t->libro = tipo;
    int separador = tipo ? ',' : ftell(texto) < 0 ? 0 : separador_de_tabla(texto);  // a sheet comes as a "," table
    t->separador = (char)separador;
    bien = separador > 0 && guarda_filas(texto, t.get());
  } catch (const std::bad_alloc&) {
    bien = 0;
  }
  cierra_texto(texto, f, memoria);
  return bien ? t.release() : nullptr;
}

void tabla_suelta(tabla_guardada* t) { delete t; }

/* The kept header read again as this reading asks it. */
static void repite_cabecera(lector_tabla* l, const tabla_guardada* t) {
  for (size_t c = 0; c < t->cabecera.size(); c++) celda_de_cabecera(l, (int)c, t->cabecera[c].c_str());
  l->linea_fila = t->linea_cabecera;
  l->codificaciones = t->bits_cabecera;
  lee_cabecera(l);
}

/* The kept rows of the reach asked (all of them when none is) read as
   fish; the orden of the row the reading stopped at, else -1. */
static int repite_filas(lector_tabla* l, const tabla_guardada* t) {
  const std::vector<int>* del_tramo = nullptr;
  static const std::vector<int> NINGUNA;
  if (l->eleccion[0][0]) {
    auto i = t->por_tramo.find(l->eleccion[0]);
    del_tramo = i == t->por_tramo.end() ? &NINGUNA : &i->second;
  }
  size_t cuantas = del_tramo ? del_tramo->size() : t->filas.size();
  for (size_t j = 0; j < cuantas; j++) {
    const fila_guardada& f = t->filas[del_tramo ? (size_t)(*del_tramo)[j] : j];
    const char* celda = t->texto.c_str() + f.desde;
    for (int k = 0; k < COLUMNAS_DATOS; k++, celda += strlen(celda) + 1) {
      snprintf(l->celdas[k], sizeof l->celdas[k], "%s", celda);
      l->control[k] = f.control >> k & 1 ? TEXTO_CONTROL : 0;
    }
    l->linea_fila = f.linea, l->vacia = 0, l->extra = -1;
    lee_fila(l);
    if (l->terminada) {
      l->codificaciones = f.codificaciones;
      return f.orden;
    }
  }
  l->codificaciones = t->codificaciones;
  return -1;
}

int tabla_elige(const tabla_guardada* t, int con_clases, const eleccion_datos* e,
                descripcion_datos* d, int* pasadas, float* longitudes, float* pesos, int* clases,
                char* mensaje, int tam_mensaje) {
  memset(d, 0, sizeof *d);
  if (tam_mensaje > 0) mensaje[0] = 0;
  char sin_mensaje[200];
  if (!mensaje || tam_mensaje <= 0) mensaje = sin_mensaje, tam_mensaje = sizeof sin_mensaje;
  std::unique_ptr<lector_tabla> l(new lector_tabla);
  empieza_lectura(l.get(), t->separador, con_clases, e, d, pasadas, longitudes, pesos, clases,
                  mensaje, tam_mensaje);
  repite_cabecera(l.get(), t);
  int hasta = l->terminada ? 0 : repite_filas(l.get(), t);
  for (int orden : t->vacias) d->filas_vacias += hasta < 0 || orden < hasta;
  d->codificacion = t->utf16 ? "UTF-16 (Texto Unicode)" : codificacion(t->bom, l->codificaciones);
  d->libro = t->libro;
  if (l->terminada) return LECTURA_RECHAZADA;
  d->tramos = t->d.tramos, d->especies = t->d.especies;  // as the reading to the end counts them
  return termina_eleccion(l.get(), d);
}
