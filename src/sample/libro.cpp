// Reading a workbook (Excel's .xlsx, LibreOffice's .ods) as the table it
// holds: minizip opens the zip, expat reads its XML, and the chosen sheet
// comes out as the text of a "," table, every cell quoted and row N of the
// sheet on line N, so that the table readers take it with every rule they
// have for a table saved as text. Numbers are the cells' stored values, never
// the text a format shows; every size is bounded, since a zip of a few
// kilobytes can unpack into gigabytes.
#include <expat.h>
#include <minizip/unzip.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <string>
#include <type_traits>
#include <vector>

#include "sistema.h"
#include "tabla_interna.h"

static const long long MAX_XML = 256LL << 20;  /* bytes of a sheet's XML once unpacked */
static const size_t MAX_TEXTO = 64u << 20;     /* bytes of the table made of it, as for UTF-16 */
static const size_t MAX_TEXTOS = 64u << 20;    /* bytes of an .xlsx's shared strings, each counting */
static const size_t COSTE_TEXTO = 8;           /* these more for its place in the list */
/* Bytes the XML parser may hold at once. A sound workbook needs a few
   pieces of its XML and the path to the cell at hand; a single tag of
   hundreds of megabytes or millions of nested elements, which a few hundred
   kilobytes of zip can hold, would need gigabytes, and the tag would be
   scanned again as each piece of it arrived. */
static const size_t MAX_MEMORIA_XML = 4u << 20;
static const long MAX_FILAS = 1048576;         /* rows and columns of a sheet in Excel */
static const long MAX_COLUMNAS = 16384;        /* and LibreOffice */
/* A cell's text kept: one byte past the longest cell a table takes, so that
   the table's reader refuses it as it refuses one in a text. */
static const size_t LARGO_CELDA = 65537;
static const int MAX_HOJAS = 256;              /* sheets a refusal can list */
static const size_t TROZO_XML = 65536;
static const char DEMASIADO_TEXTO[] = "La hoja ocupa mas de 64 MB como tabla";
static const char SIN_MEMORIA[] = "No hay memoria para leer el libro";

/* ---- The zip, read from the caller's stream ---- */

/* The stream of the workbook and where the zip starts in it. */
struct zip_en_fichero {
  FILE* f;
  long long inicio;
};

static voidpf abre_zip(voidpf opaco, const void*, int) { return opaco; }
static uLong lee_zip(voidpf, voidpf s, void* buf, uLong tam) {
  return (uLong)fread(buf, 1, tam, ((zip_en_fichero*)s)->f);
}
static uLong escribe_zip(voidpf, voidpf, const void*, uLong) { return 0; }
static ZPOS64_T dice_zip(voidpf, voidpf s) {
  zip_en_fichero* z = (zip_en_fichero*)s;
  long long donde = ftello(z->f);
  return donde < z->inicio ? (ZPOS64_T)-1 : (ZPOS64_T)(donde - z->inicio);
}
static long busca_zip(voidpf, voidpf s, ZPOS64_T desplazamiento, int origen) {
  zip_en_fichero* z = (zip_en_fichero*)s;
  if (desplazamiento > (ZPOS64_T)MAX_XML * 64) return -1;  // past any workbook
  long long d = (long long)desplazamiento;
  if (origen == ZLIB_FILEFUNC_SEEK_SET) return fseeko(z->f, z->inicio + d, SEEK_SET);
  if (origen == ZLIB_FILEFUNC_SEEK_CUR) return fseeko(z->f, d, SEEK_CUR);
  return fseeko(z->f, d, SEEK_END);
}
static int cierra_zip(voidpf, voidpf) { return 0; }  // the caller's stream stays open
static int error_zip(voidpf, voidpf s) { return ferror(((zip_en_fichero*)s)->f); }

/* ---- The workbook being read ---- */

struct libro {
  unzFile z;
  char* mensaje;
  int tam;
  int rechazado;          /* the refusal is in mensaje */
  const char* clase;      /* "Excel" or "LibreOffice", for the messages */
  /* the table being written */
  std::string texto;
  long linea;             /* the line the text has reached */
  std::string fila;       /* the row at hand, its cells quoted and parted by "," */
  long celdas_fila;       /* cells in it so far */
  size_t memoria_xml;     /* bytes its XML parsers hold now */
  int sin_memoria;        /* the parser was refused memory past MAX_MEMORIA_XML */
};

/* The workbook this thread is reading: the parser's memory is counted
   against it, and a failed allocation refuses it. A season reads
   workbooks on several threads, one each. */
static thread_local libro* leyendo = nullptr;

static void rechaza_libro(libro* b, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
static void rechaza_libro(libro* b, const char* fmt, ...) {
  if (b->rechazado) return;
  b->rechazado = 1;
  if (b->tam <= 0) return;
  char texto[LARGO_MENSAJE_LECTURA];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(texto, sizeof texto, fmt, ap);
  va_end(ap);
  snprintf(b->mensaje, (size_t)b->tam, "<%s>", texto);
}

static void rechaza_danado(libro* b, const char* que) {
  rechaza_libro(b, "El libro de %s esta danado: %s", b->clase, que);
}

/* ---- Memory ---- */

/* The XML parser's memory, each block headed by its size, so that what the
   workbook at hand holds is known; past MAX_MEMORIA_XML a block is refused
   as the system would refuse it, and the parser stops saying so. */
static const size_t CABEZA_BLOQUE = alignof(std::max_align_t);
static void* pide_xml(size_t tam) {
  libro* b = leyendo;
  if (b && (tam > MAX_MEMORIA_XML || b->memoria_xml + tam > MAX_MEMORIA_XML)) {
    b->sin_memoria = 1;
    return nullptr;
  }
  char* bloque = (char*)malloc(CABEZA_BLOQUE + tam);
  if (!bloque) return nullptr;
  memcpy(bloque, &tam, sizeof tam);
  if (b) b->memoria_xml += tam;
  return bloque + CABEZA_BLOQUE;
}
static void suelta_xml(void* p) {
  if (!p) return;
  char* bloque = (char*)p - CABEZA_BLOQUE;
  size_t tam;
  memcpy(&tam, bloque, sizeof tam);
  if (leyendo) leyendo->memoria_xml -= tam;
  free(bloque);
}
static void* cambia_xml(void* p, size_t tam) {
  if (!p) return pide_xml(tam);
  size_t antes;
  memcpy(&antes, (char*)p - CABEZA_BLOQUE, sizeof antes);
  void* nuevo = pide_xml(tam);
  if (!nuevo) return nullptr;  // the old block stays the parser's
  memcpy(nuevo, p, antes < tam ? antes : tam);
  suelta_xml(p);
  return nuevo;
}
static const XML_Memory_Handling_Suite MEMORIA_XML = {pide_xml, cambia_xml, suelta_xml};

/* A handler of the parser run so that running out of memory in it refuses
   the workbook and stops the parser, instead of unwinding through it. */
template <typename... A>
static void a_salvo(void (*manejador)(void*, A...), void* parser, A... argumentos) {
  try {
    manejador(parser, argumentos...);
  } catch (const std::bad_alloc&) {
    if (leyendo) rechaza_libro(leyendo, "%s", SIN_MEMORIA);
    XML_StopParser((XML_Parser)parser, XML_FALSE);
  }
}

/* Cell c (from 0) of the row at hand. A line end within a cell would count
   as a line of the table: a name written on two lines is read on one. */
static void pon_celda(libro* b, long c, const std::string& valor) {
  if (valor.empty() || b->rechazado) return;
  if (c < b->celdas_fila)  // a row opened within a row: the XML holds no sheet
    return rechaza_danado(b, "una celda esta fuera de su sitio");
  if (b->texto.size() + b->fila.size() + valor.size() + (size_t)c > MAX_TEXTO)  // a long text repeated across
    return rechaza_libro(b, "%s", DEMASIADO_TEXTO);
  b->fila.append((size_t)(b->celdas_fila ? c - b->celdas_fila + 1 : c), ',');
  b->fila += '"';
  for (char letra : valor) {
    if (letra == '"') b->fila += '"';
    b->fila += letra == '\n' || letra == '\r' ? ' ' : letra;
  }
  b->fila += '"';
  b->celdas_fila = c + 1;
}

/* The row at hand as row `numero` of the sheet and the veces - 1 after it;
   a row without a filled cell stays out, as a blank line of a text. */
static void acaba_fila(libro* b, long numero, long veces) {
  for (long k = 0; k < veces && b->celdas_fila && !b->rechazado; k++) {
    if (numero + k > MAX_FILAS)
      return rechaza_libro(b, "La hoja pasa de %ld filas", MAX_FILAS);
    if (b->texto.size() + b->fila.size() + (size_t)(numero + k - b->linea) > MAX_TEXTO)
      return rechaza_libro(b, "%s", DEMASIADO_TEXTO);
    b->texto.append((size_t)(numero + k - b->linea), '\n');
    b->texto += b->fila;
    b->linea = numero + k;
  }
  b->fila.clear();
  b->celdas_fila = 0;
}

/* ---- XML ---- */

/* A name without its namespace's prefix: generators differ in prefixes. */
static const char* local(const char* nombre) {
  const char* dos_puntos = strrchr(nombre, ':');
  return dos_puntos ? dos_puntos + 1 : nombre;
}

/* The attribute of that local name, NULL when absent. */
static const char* atributo(const char** atributos, const char* nombre) {
  for (int i = 0; atributos[i]; i += 2)
    if (strcmp(local(atributos[i]), nombre) == 0) return atributos[i + 1];
  return nullptr;
}

/* A whole number of attribute text, within [1, tope]; `defecto` when
   absent, tope + 1 when larger, 0 when it is no number. */
static long numero_atributo(const char* texto, long defecto, long tope) {
  if (!texto) return defecto;
  long n = 0;
  const char* p = texto;
  for (; *p >= '0' && *p <= '9'; p++)
    if ((n = n * 10 + (*p - '0')) > tope) n = tope + 1;
  return *p || p == texto || n < 1 ? 0 : n;
}

/* Appends what fits of the text to a cell's. */
static void junta(std::string* celda, const char* s, size_t largo) {
  size_t cabe = LARGO_CELDA - celda->size();
  celda->append(s, largo < cabe ? largo : cabe);
}

/* A workbook never declares entities: refusing them keeps expat from
   expanding a few bytes into gigabytes. */
static void sin_entidades(void* datos, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
  XML_StopParser((XML_Parser)datos, XML_FALSE);
}

/* A handler run through a_salvo. */
template <void (*F)(void*, const XML_Char*, const XML_Char**)>
static void abre_a_salvo(void* p, const XML_Char* nombre, const XML_Char** atributos) {
  a_salvo(F, p, nombre, atributos);
}
template <void (*F)(void*, const XML_Char*)>
static void cierra_a_salvo(void* p, const XML_Char* nombre) {
  a_salvo(F, p, nombre);
}
template <void (*F)(void*, const XML_Char*, int)>
static void texto_a_salvo(void* p, const XML_Char* s, int largo) {
  a_salvo(F, p, s, largo);
}

/* A parser freed on every way out, a failed allocation's included. */
using parser_xml = std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)>;

/* A parser for the lector's handlers, with the workbook's memory; empty
   when there is no memory for one. */
template <XML_StartElementHandler abre, XML_EndElementHandler cierra, XML_CharacterDataHandler texto>
static parser_xml crea_parser(void* lector) {
  parser_xml propio(XML_ParserCreate_MM("UTF-8", &MEMORIA_XML, nullptr), XML_ParserFree);
  XML_Parser p = propio.get();
  if (!p) return propio;
  XML_SetUserData(p, lector);
  XML_SetElementHandler(p, abre_a_salvo<abre>, cierra_a_salvo<cierra>);
  XML_SetCharacterDataHandler(p, texto_a_salvo<texto>);
  XML_SetEntityDeclHandler(p, sin_entidades);
  XML_UseParserAsHandlerArg(p);  // each handler gets the parser, and the lector from it
  return propio;
}

/* How an entry of the zip was read. */
enum lectura_entrada { ENTRADA_LEIDA, ENTRADA_AUSENTE, ENTRADA_RECHAZADA };

/* Unpacks the entry `nombre` into the parser p, a piece at a time, and
   finishes it; refused (said) when it is encrypted, too large, or its zip
   or XML is broken. The handlers may refuse too, through the libro. */
static lectura_entrada analiza_entrada(libro* b, const char* nombre, XML_Parser p) {
  if (unzLocateFile(b->z, nombre, 2) != UNZ_OK) return ENTRADA_AUSENTE;  // a package's names go by any case
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(b->z, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    rechaza_danado(b, "no se puede leer el zip");
    return ENTRADA_RECHAZADA;
  }
  if (info.flag & 1) {
    rechaza_libro(b, "El libro esta protegido con contrasena: guardelo sin ella");
    return ENTRADA_RECHAZADA;
  }
  if (unzOpenCurrentFile(b->z) != UNZ_OK) {
    rechaza_danado(b, "no se puede leer el zip");
    return ENTRADA_RECHAZADA;
  }
  std::vector<char> pieza(TROZO_XML);  // each reading its own: a season reads on several threads
  char* trozo = pieza.data();
  long long total = 0;
  int leidos = 0;
  XML_Status estado = XML_STATUS_OK;
  while (!b->rechazado && estado == XML_STATUS_OK && (leidos = unzReadCurrentFile(b->z, trozo, (unsigned)pieza.size())) > 0) {
    if ((total += leidos) > MAX_XML) {
      rechaza_libro(b, "La hoja ocupa mas de 256 MB de XML");
      break;
    }
    estado = XML_Parse(p, trozo, leidos, XML_FALSE);
  }
  if (!b->rechazado && estado == XML_STATUS_OK && leidos == 0) estado = XML_Parse(p, "", 0, XML_TRUE);
  int cerrado = unzCloseCurrentFile(b->z);  // checks the entry's CRC
  if (b->rechazado) return ENTRADA_RECHAZADA;
  if (leidos < 0 || cerrado != UNZ_OK) rechaza_danado(b, "el zip no se puede descomprimir");
  else if (estado != XML_STATUS_OK && b->sin_memoria)
    rechaza_libro(b, "Leer su XML pide mas de %zu MB de memoria", MAX_MEMORIA_XML >> 20);
  else if (estado != XML_STATUS_OK && XML_GetErrorCode(p) == XML_ERROR_NO_MEMORY)
    rechaza_libro(b, "%s", SIN_MEMORIA);
  else if (estado != XML_STATUS_OK) rechaza_danado(b, "su XML no es valido");
  return b->rechazado ? ENTRADA_RECHAZADA : ENTRADA_LEIDA;
}

/* Reads one entry with a fresh parser over the lector's handlers. */
template <XML_StartElementHandler abre, XML_EndElementHandler cierra, XML_CharacterDataHandler texto>
static lectura_entrada lee_entrada(libro* b, const char* nombre, void* lector) {
  parser_xml p = crea_parser<abre, cierra, texto>(lector);
  if (!p) {
    rechaza_libro(b, "%s", SIN_MEMORIA);
    return ENTRADA_RECHAZADA;
  }
  return analiza_entrada(b, nombre, p.get());
}

/* The refusal of a sheet asked by name that the workbook lacks, listing those it has. */
static void rechaza_hoja(libro* b, const char* hoja, const std::vector<std::string>& hojas) {
  char lista[LARGO_MENSAJE_LECTURA] = "";
  for (size_t k = 0; k < hojas.size(); k++) {
    char nombre[LARGO_VALOR];
    texto_latin1(hojas[k].data(), hojas[k].size(), nombre, sizeof nombre);
    size_t largo = strlen(lista);
    snprintf(lista + largo, sizeof lista - largo, "%s%s", k ? ", " : "", nombre);
  }
  char pedida[LARGO_VALOR];
  texto_latin1(hoja, strlen(hoja), pedida, sizeof pedida);
  if (b->tam > 0)
    snprintf(b->mensaje, (size_t)b->tam, "<El libro no tiene la hoja \xab%s\xbb; sus hojas: %s>", pedida,
             hojas.empty() ? "ninguna" : lista);
  b->rechazado = 1;
}

/* ---- Excel's .xlsx ---- */

/* What the XML at hand is being read for, and what it has given. */
struct lector_xlsx {
  libro* b;
  XML_Parser p;
  /* xl/workbook.xml and its relationships */
  std::vector<std::string> hojas, ids;
  std::string id_hoja, destino;
  /* xl/sharedStrings.xml: its texts one after another, where each starts
     (and one past the last), and the one being read */
  std::string textos;
  std::vector<uint32_t> inicio_textos;
  int en_texto, en_fonetica, en_si;
  std::string texto;
  /* the sheet */
  long fila, columna;     /* the row at hand (from 1) and the next cell's column (from 0) */
  int en_valor;
  std::string tipo, valor, referencia;
};

static void abre_libro_xlsx(void* datos, const XML_Char* nombre, const XML_Char** atributos) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "sheet") == 0 && x->hojas.size() < (size_t)MAX_HOJAS) {
    const char* hoja = atributo(atributos, "name");
    const char* id = atributo(atributos, "id");
    x->hojas.push_back(hoja ? hoja : "");
    x->ids.push_back(id ? id : "");
  } else if (strcmp(n, "Relationship") == 0) {
    const char* id = atributo(atributos, "Id");
    const char* destino = atributo(atributos, "Target");
    if (id && destino && x->id_hoja == id) x->destino = destino;
  }
}

static void nada_cierra(void*, const XML_Char*) {}
static void nada_texto(void*, const XML_Char*, int) {}

static void abre_textos(void* datos, const XML_Char* nombre, const XML_Char**) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "si") == 0) x->en_si = 1, x->texto.clear();
  if (strcmp(n, "rPh") == 0) x->en_fonetica++;  // the reading aid of Japanese text: no part of it
  if (strcmp(n, "t") == 0) x->en_texto = 1;
}

static void cierra_textos(void* datos, const XML_Char* nombre) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "rPh") == 0 && x->en_fonetica) x->en_fonetica--;
  if (strcmp(n, "t") == 0) x->en_texto = 0;
  if (strcmp(n, "si") != 0 || !x->en_si) return;
  x->en_si = 0;
  if (x->textos.size() + x->texto.size() + COSTE_TEXTO * x->inicio_textos.size() > MAX_TEXTOS) {
    rechaza_libro(x->b, "El libro tiene mas de 64 MB de textos");
    XML_StopParser(x->p, XML_FALSE);
    return;
  }
  x->textos += x->texto;
  x->inicio_textos.push_back((uint32_t)x->textos.size());
}

static void texto_de_textos(void* datos, const XML_Char* s, int largo) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  if (x->en_si && x->en_texto && !x->en_fonetica) junta(&x->texto, s, (size_t)largo);
}

/* The column (from 0) and row of a reference such as "C7"; 0 when it is
   none or lies outside a sheet. */
static int referencia_de(const char* r, long* columna, long* fila) {
  long c = 0;
  const char* p = r;
  for (; *p >= 'A' && *p <= 'Z' && c <= MAX_COLUMNAS; p++) c = c * 26 + (*p - 'A' + 1);
  if (p == r || c > MAX_COLUMNAS) return 0;
  *fila = numero_atributo(p, 0, MAX_FILAS);
  *columna = c - 1;
  return *fila >= 1 && *fila <= MAX_FILAS;
}

static void para(lector_xlsx* x) { XML_StopParser(x->p, XML_FALSE); }

/* Row or cell opened where it cannot stand: out of the sheet, or before
   what was read already (a workbook stores them in order). 1 when refused. */
static int fuera_de_sitio(lector_xlsx* x, const char* r, long fila, long columna) {
  if (r && !referencia_de(r, &columna, &fila))
    rechaza_libro(x->b, "Linea %ld: la celda %.20s esta fuera de la hoja", x->fila, r);
  else if (fila != x->fila || columna < x->columna)
    rechaza_libro(x->b, "El libro de Excel esta danado: la celda %.20s no sigue a las anteriores", r ? r : "");
  else
    return 0;
  para(x);
  return 1;
}

static void abre_hoja_xlsx(void* datos, const XML_Char* nombre, const XML_Char** atributos) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "row") == 0) {
    const char* r = atributo(atributos, "r");
    long fila = numero_atributo(r, x->fila + 1, MAX_FILAS);
    if ((fila > MAX_FILAS || fila < 1) && r) rechaza_libro(x->b, "La fila %.20s esta fuera de la hoja", r);
    else if (fila > MAX_FILAS) rechaza_libro(x->b, "La fila %ld esta fuera de la hoja", fila);  // counted, unnumbered
    else if (fila <= x->fila) rechaza_danado(x->b, "sus filas no estan en orden");
    if (x->b->rechazado) return para(x);
    x->fila = fila, x->columna = 0;
  } else if (strcmp(n, "c") == 0) {
    const char* r = atributo(atributos, "r");
    const char* t = atributo(atributos, "t");
    long columna = x->columna, fila = x->fila;
    if (fuera_de_sitio(x, r, fila, columna)) return;
    if (r) referencia_de(r, &columna, &fila);
    x->columna = columna;
    x->tipo = t ? t : "n";
    x->valor.clear();
  } else if (strcmp(n, "v") == 0 || strcmp(n, "t") == 0) {
    x->en_valor = 1;
  } else if (strcmp(n, "rPh") == 0) {
    x->en_fonetica++;
  }
}

/* A stored number as the spreadsheet shows it at most: to the 15 significant
   figures it works to. A surface typed as a product (7.53*5) is stored as
   37.650000000000006, which would otherwise read as a figure nobody typed. */
static void a_quince_cifras(std::string* numero) {
  double v;
  const char* fin = numero->data() + numero->size();
  auto leido = std::from_chars(numero->data(), fin, v);
  if (leido.ec != std::errc() || leido.ptr != fin || !std::isfinite(v)) return;
  char cifras[32];
  auto escrito = std::to_chars(cifras, cifras + sizeof cifras, v, std::chars_format::general, 15);
  if (escrito.ec == std::errc()) numero->assign(cifras, escrito.ptr);
}

/* A cell's text from its type and stored value: a shared string by its
   number, a truth as a word (never a 1 that would pass for a pass). */
static int valor_xlsx(lector_xlsx* x, std::string* valor) {
  *valor = x->valor;
  if (x->tipo == "s") {
    size_t k = 0, cifras = strspn(x->valor.c_str(), "0123456789");
    if (cifras == 0 || cifras != x->valor.size() || cifras > 9) return 0;
    for (char c : x->valor) k = k * 10 + (size_t)(c - '0');
    if (k + 1 >= x->inicio_textos.size()) return 0;
    valor->assign(x->textos, x->inicio_textos[k], x->inicio_textos[k + 1] - x->inicio_textos[k]);
  } else if (x->tipo == "b") {
    *valor = x->valor == "1" ? "VERDADERO" : x->valor == "0" ? "FALSO" : x->valor;
  } else if (x->tipo == "n") {
    a_quince_cifras(valor);
  }
  return 1;
}

static void cierra_hoja_xlsx(void* datos, const XML_Char* nombre) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "v") == 0 || strcmp(n, "t") == 0) {
    x->en_valor = 0;
  } else if (strcmp(n, "rPh") == 0 && x->en_fonetica) {
    x->en_fonetica--;
  } else if (strcmp(n, "c") == 0) {
    std::string valor;
    if (!valor_xlsx(x, &valor)) {
      rechaza_danado(x->b, "una celda nombra un texto que no tiene");
      return para(x);
    }
    pon_celda(x->b, x->columna, valor);
    x->columna++;
  } else if (strcmp(n, "row") == 0) {
    acaba_fila(x->b, x->fila, 1);
    if (x->b->rechazado) para(x);
  }
}

static void texto_de_hoja_xlsx(void* datos, const XML_Char* s, int largo) {
  lector_xlsx* x = (lector_xlsx*)XML_GetUserData((XML_Parser)datos);
  if (x->en_valor && !x->en_fonetica) junta(&x->valor, s, (size_t)largo);
}

/* The entry of the sheet a relationship targets: relative to xl/, or from the zip's root. */
static std::string entrada_de(const std::string& destino) {
  if (!destino.empty() && destino[0] == '/') return destino.substr(1);
  return "xl/" + destino;
}

/* The sheet's entry in the zip, chosen by name (NULL: the first); "" when refused. */
static std::string hoja_xlsx(lector_xlsx* x, const char* hoja) {
  libro* b = x->b;
  if (lee_entrada<abre_libro_xlsx, nada_cierra, nada_texto>(b, "xl/workbook.xml", x) != ENTRADA_LEIDA) {
    if (!b->rechazado) rechaza_danado(b, "le falta xl/workbook.xml");
    return "";
  }
  size_t k = 0;
  while (hoja && k < x->hojas.size() && x->hojas[k] != hoja) k++;
  if (k == x->hojas.size()) {
    if (hoja) rechaza_hoja(b, hoja, x->hojas);
    else rechaza_danado(b, "no tiene ninguna hoja");
    return "";
  }
  x->id_hoja = x->ids[k];
  if (lee_entrada<abre_libro_xlsx, nada_cierra, nada_texto>(b, "xl/_rels/workbook.xml.rels", x) != ENTRADA_LEIDA ||
      x->destino.empty()) {
    if (!b->rechazado) rechaza_danado(b, "no dice donde esta su hoja");
    return "";
  }
  return entrada_de(x->destino);
}

static void lee_xlsx(libro* b, const char* hoja) {
  std::unique_ptr<lector_xlsx> x(new lector_xlsx());
  x->b = b;
  std::string entrada = hoja_xlsx(x.get(), hoja);
  x->inicio_textos.assign(1, 0);
  if (!b->rechazado) {
    parser_xml p = crea_parser<abre_textos, cierra_textos, texto_de_textos>(x.get());
    x->p = p.get();
    if (!p) rechaza_libro(b, "%s", SIN_MEMORIA);
    else if (analiza_entrada(b, "xl/sharedStrings.xml", p.get()) == ENTRADA_AUSENTE) x->textos.clear();
  }
  if (!b->rechazado) {
    parser_xml p = crea_parser<abre_hoja_xlsx, cierra_hoja_xlsx, texto_de_hoja_xlsx>(x.get());
    x->p = p.get();
    x->en_fonetica = 0;
    if (!p) rechaza_libro(b, "%s", SIN_MEMORIA);
    else if (analiza_entrada(b, entrada.c_str(), p.get()) == ENTRADA_AUSENTE) rechaza_danado(b, "le falta la hoja");
  }
}

/* ---- LibreOffice's .ods ---- */

struct lector_ods {
  libro* b;
  XML_Parser p;
  const char* pedida;          /* the sheet asked by name, NULL for the first */
  std::vector<std::string> hojas;
  int tablas;                  /* depth of tables: a table within a cell is no sheet */
  int elegida, leida;          /* within the chosen sheet; it was found */
  long fila, veces_fila;       /* the row at hand (from 1) and its repeats */
  long columna, veces_celda;   /* the cell's first column (from 0) and its repeats */
  int en_celda, en_parrafo, en_nota, parrafos;
  std::string valor, texto;    /* the cell's stored value, when it has one, and its text */
  int con_valor;
};

/* The stored value of a cell that has one, by its type; a truth as a word. */
static int valor_ods(const char** atributos, std::string* valor) {
  static const char* const TIPOS[][2] = {{"float", "value"}, {"percentage", "value"}, {"currency", "value"},
                                         {"date", "date-value"}, {"time", "time-value"},
                                         {"boolean", "boolean-value"}};
  const char* tipo = atributo(atributos, "value-type");
  for (const auto& t : TIPOS) {
    if (!tipo || strcmp(tipo, t[0]) != 0) continue;
    const char* v = atributo(atributos, t[1]);
    if (!v) return 0;
    *valor = v;
    if (strcmp(tipo, "boolean") == 0) *valor = strcmp(v, "true") == 0 ? "VERDADERO" : "FALSO";
    if (strcmp(t[1], "value") == 0) a_quince_cifras(valor);  // float, percentage and currency
    if (valor->size() > LARGO_CELDA) valor->resize(LARGO_CELDA);
    return 1;
  }
  return 0;
}

static void abre_tabla_ods(lector_ods* o, const char** atributos) {
  if (o->tablas++) return;
  const char* nombre = atributo(atributos, "name");
  if (o->hojas.size() < (size_t)MAX_HOJAS) o->hojas.push_back(nombre ? nombre : "");
  o->elegida = !o->leida && (o->pedida ? nombre && strcmp(nombre, o->pedida) == 0 : 1);
  o->leida |= o->elegida;
  o->fila = 1, o->veces_fila = 0;
}

static void abre_celda_ods(lector_ods* o, const char** atributos) {
  o->en_celda = 1, o->parrafos = 0;
  o->veces_celda = numero_atributo(atributo(atributos, "number-columns-repeated"), 1, MAX_COLUMNAS);
  o->texto.clear();
  o->con_valor = valor_ods(atributos, &o->valor);
}

static void abre_ods(void* datos, const XML_Char* nombre, const XML_Char** atributos) {
  lector_ods* o = (lector_ods*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "table") == 0) return abre_tabla_ods(o, atributos);
  if (!o->elegida || o->tablas != 1) return;
  if (strcmp(n, "table-row") == 0) {
    o->veces_fila = numero_atributo(atributo(atributos, "number-rows-repeated"), 1, MAX_FILAS);
    o->columna = 0;
  } else if (strcmp(n, "table-cell") == 0 || strcmp(n, "covered-table-cell") == 0) {
    abre_celda_ods(o, atributos);
  } else if (strcmp(n, "annotation") == 0) {
    o->en_nota++;  // a comment on the cell: no part of its text
  } else if (o->en_celda && !o->en_nota && strcmp(n, "p") == 0) {
    if (o->parrafos++) junta(&o->texto, " ", 1);
    o->en_parrafo++;
  } else if (o->en_parrafo && !o->en_nota && strcmp(n, "s") == 0) {
    long espacios = numero_atributo(atributo(atributos, "c"), 1, (long)LARGO_CELDA);
    junta(&o->texto, std::string((size_t)(espacios ? espacios : 1), ' ').c_str(), (size_t)(espacios ? espacios : 1));
  } else if (o->en_parrafo && !o->en_nota && (strcmp(n, "tab") == 0 || strcmp(n, "line-break") == 0)) {
    junta(&o->texto, " ", 1);
  }
}

/* The cell just read, as many times as it repeats. */
static void cierra_celda_ods(lector_ods* o) {
  o->en_celda = 0;
  const std::string& valor = o->con_valor ? o->valor : o->texto;
  if (o->veces_celda < 1)
    rechaza_danado(o->b, "una celda se repite mal");
  else if (!valor.empty() && o->columna + o->veces_celda > MAX_COLUMNAS)
    rechaza_libro(o->b, "Linea %ld: la hoja pasa de %ld columnas", o->fila, MAX_COLUMNAS);
  for (long k = 0; k < o->veces_celda && !valor.empty() && !o->b->rechazado; k++)
    pon_celda(o->b, o->columna + k, valor);
  o->columna += o->veces_celda;
}

static void cierra_ods(void* datos, const XML_Char* nombre) {
  lector_ods* o = (lector_ods*)XML_GetUserData((XML_Parser)datos);
  const char* n = local(nombre);
  if (strcmp(n, "table") == 0) {
    if (--o->tablas == 0) o->elegida = 0;
    return;
  }
  if (!o->elegida || o->tablas != 1) return;
  if (strcmp(n, "annotation") == 0 && o->en_nota) o->en_nota--;
  else if (strcmp(n, "p") == 0 && o->en_parrafo) o->en_parrafo--;
  else if (strcmp(n, "table-cell") == 0 || strcmp(n, "covered-table-cell") == 0) cierra_celda_ods(o);
  else if (strcmp(n, "table-row") == 0) {
    if (o->veces_fila < 1) rechaza_danado(o->b, "una fila se repite mal");
    acaba_fila(o->b, o->fila, o->veces_fila);
    o->fila += o->veces_fila;  // at most MAX_FILAS + 1 more each time: no overflow before a refusal
    if (o->fila > 2 * MAX_FILAS) o->fila = 2 * MAX_FILAS;
  }
  if (o->b->rechazado) XML_StopParser(o->p, XML_FALSE);
}

static void texto_ods(void* datos, const XML_Char* s, int largo) {
  lector_ods* o = (lector_ods*)XML_GetUserData((XML_Parser)datos);
  if (o->elegida && o->tablas == 1 && o->en_parrafo && !o->en_nota) junta(&o->texto, s, (size_t)largo);
}

/* An encrypted .ods says so in its manifest, for each entry it encrypted. */
static void abre_manifiesto(void* datos, const XML_Char* nombre, const XML_Char**) {
  libro* b = (libro*)XML_GetUserData((XML_Parser)datos);
  if (strcmp(local(nombre), "encryption-data") == 0)
    rechaza_libro(b, "El libro esta protegido con contrasena: guardelo sin ella");
}

static void lee_ods(libro* b, const char* hoja) {
  if (lee_entrada<abre_manifiesto, nada_cierra, nada_texto>(b, "META-INF/manifest.xml", b) == ENTRADA_RECHAZADA)
    return;
  std::unique_ptr<lector_ods> o(new lector_ods());
  o->b = b, o->pedida = hoja;
  parser_xml p = crea_parser<abre_ods, cierra_ods, texto_ods>(o.get());
  o->p = p.get();
  lectura_entrada l = p ? analiza_entrada(b, "content.xml", p.get()) : ENTRADA_RECHAZADA;
  if (!p) rechaza_libro(b, "%s", SIN_MEMORIA);
  else if (l == ENTRADA_AUSENTE) rechaza_danado(b, "le falta content.xml");
  else if (l == ENTRADA_LEIDA && !o->leida && hoja) rechaza_hoja(b, hoja, o->hojas);
  else if (l == ENTRADA_LEIDA && !o->leida) rechaza_danado(b, "no tiene ninguna hoja");
}

/* ---- The table ---- */

/* The number N of a member "xl/worksheets/sheetN.xml", 0 for any other
   member; read without the C library, whose numbers follow the desktop. */
static int numero_de_hoja(const char* nombre) {
  std::string_view m(nombre), antes("xl/worksheets/sheet"), despues(".xml");
  if (m.size() <= antes.size() + despues.size() || m.substr(0, antes.size()) != antes ||
      m.substr(m.size() - despues.size()) != despues)
    return 0;
  int hoja = 0;
  const char* fin = nombre + m.size() - despues.size();
  auto [p, e] = std::from_chars(nombre + antes.size(), fin, hoja);
  return e == std::errc() && p == fin ? hoja : 0;
}

/* The chosen sheet read into b->texto; the zip closed. A failed allocation
   outside the parser's handlers refuses the workbook too. */
static void lee_hoja(libro* b, FILE* f, int ods, const char* hoja) {
  zip_en_fichero zf = {f, ftello(f)};
  zlib_filefunc64_def funciones = {abre_zip, lee_zip, escribe_zip, dice_zip, busca_zip, cierra_zip, error_zip, &zf};
  b->z = zf.inicio < 0 ? nullptr : unzOpen2_64("libro", &funciones);
  try {
    if (!b->z)
      rechaza_danado(b, "no es un zip completo");
    else if (ods)
      lee_ods(b, hoja);
    else
      lee_xlsx(b, hoja);
    if (!b->rechazado) b->texto += '\n';
  } catch (const std::bad_alloc&) {
    rechaza_libro(b, "%s", SIN_MEMORIA);
  }
  if (b->z) unzClose(b->z);
}

FILE* abre_libro(FILE* f, int ods, const char* hoja, char** memoria, char* mensaje, int tam) {
  *memoria = nullptr;
  std::unique_ptr<libro> b(new (std::nothrow) libro());
  if (!b) {
    if (tam > 0) snprintf(mensaje, (size_t)tam, "<%s>", SIN_MEMORIA);
    return nullptr;
  }
  b->mensaje = mensaje, b->tam = tam, b->linea = 1;
  b->clase = ods ? "LibreOffice" : "Excel";
  leyendo = b.get();
  lee_hoja(b.get(), f, ods, hoja);
  leyendo = nullptr;
  FILE* texto = nullptr;
  if (!b->rechazado) {
    *memoria = (char*)malloc(b->texto.size());
    if (*memoria) memcpy(*memoria, b->texto.data(), b->texto.size());
    texto = *memoria ? flujo_de_texto(*memoria, b->texto.size()) : nullptr;
    if (!texto) rechaza_libro(b.get(), "%s", SIN_MEMORIA);
  }
  if (!texto) free(*memoria), *memoria = nullptr;
  return texto;
}

/* ---- A workbook just written, read back whole ---- */

/* What the check counts in one member: the rows of a sheet. */
struct cuenta_filas {
  long filas;
};

static void cuenta_fila(void* datos, const XML_Char* nombre, const XML_Char**) {
  cuenta_filas* c = (cuenta_filas*)XML_GetUserData((XML_Parser)datos);
  if (strcmp(local(nombre), "row") == 0) c->filas++;
}

/* The member at hand unpacked whole into a parser that counts its rows;
   0 when its bytes or its CRC are wrong, or when it is XML (xml, rels)
   that is not well formed. */
static int miembro_entero(libro* b, const char* nombre, long* filas) {
  size_t largo = strlen(nombre);
  int es_xml = (largo > 4 && strcmp(nombre + largo - 4, ".xml") == 0) ||
               (largo > 5 && strcmp(nombre + largo - 5, ".rels") == 0);
  cuenta_filas c = {0};
  parser_xml p = crea_parser<cuenta_fila, nada_cierra, nada_texto>(&c);
  if (!p || unzOpenCurrentFile(b->z) != UNZ_OK) return 0;
  std::vector<char> pieza(TROZO_XML);
  long long total = 0;
  int leidos, bien = 1;
  while (bien && (leidos = unzReadCurrentFile(b->z, pieza.data(), (unsigned)pieza.size())) > 0)
    bien = (total += leidos) <= MAX_XML && (!es_xml || XML_Parse(p.get(), pieza.data(), leidos, XML_FALSE) == XML_STATUS_OK);
  bien = bien && leidos == 0 && (!es_xml || XML_Parse(p.get(), "", 0, XML_TRUE) == XML_STATUS_OK);
  bien = unzCloseCurrentFile(b->z) == UNZ_OK && bien;  // checks the CRC
  *filas = c.filas;
  return bien;
}

int libro_entero(FILE* f, long* filas, int nhojas) {
  for (int k = 0; k < nhojas; k++) filas[k] = -1;
  std::unique_ptr<libro> b(new libro());
  b->clase = "Excel";
  zip_en_fichero zf = {f, ftello(f)};
  zlib_filefunc64_def funciones = {abre_zip, lee_zip, escribe_zip, dice_zip, busca_zip, cierra_zip, error_zip, &zf};
  b->z = zf.inicio < 0 ? nullptr : unzOpen2_64("libro", &funciones);
  int bien = b->z != nullptr, miembros = 0;
  leyendo = b.get();
  for (int r = bien ? unzGoToFirstFile(b->z) : UNZ_END_OF_LIST_OF_FILE; bien && r == UNZ_OK; r = unzGoToNextFile(b->z)) {
    char nombre[256];
    long n = 0;
    int hoja = 0;
    bien = unzGetCurrentFileInfo64(b->z, nullptr, nombre, sizeof nombre, nullptr, 0, nullptr, 0) == UNZ_OK &&
           miembro_entero(b.get(), nombre, &n);
    if (bien && (hoja = numero_de_hoja(nombre)) >= 1 && hoja <= nhojas)
      filas[hoja - 1] = n;
    miembros++;
  }
  leyendo = nullptr;
  if (b->z) unzClose(b->z);
  return bien && miembros > 0;
}
