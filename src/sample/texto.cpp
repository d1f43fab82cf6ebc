// The text of the files the program reads, whatever saved them: cells in
// UTF-8 or Windows-1252, files in UTF-16, line ends of Windows (CR LF), Unix
// (LF) and the old Mac (CR alone), so that every message names the line a
// person sees in an editor; and the workbooks that are no text, told by
// their first bytes.
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "sistema.h"
#include "tabla_interna.h"

size_t lee_trozo(FILE* f, char* trozo, size_t tam, int* fin_de_linea) {
  size_t n = 0;
  int c;
  *fin_de_linea = 0;
  // one byte kept free, so that the LF of a CR LF never starts a piece and
  // counts as a line of its own
  while (n + 1 < tam && (c = getc(f)) != EOF) {
    trozo[n++] = (char)c;
    if (c == '\r') {
      int siguiente = getc(f);
      if (siguiente == '\n')
        trozo[n++] = '\n';
      else if (siguiente != EOF)
        ungetc(siguiente, f);
    }
    if (c == '\r' || c == '\n') {
      *fin_de_linea = 1;
      break;
    }
  }
  return n;
}

/* ---- The text of a cell ---- */

/* Windows-1252's signs at 0x80-0x9F, where Latin-1 has control codes; 0 at
   the five bytes it leaves unused, which stay control codes. */
static const unsigned short WINDOWS_1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

/* Plain text for the signs a spreadsheet puts in names that Latin-1 and
   the fonts lack: dashes, curly quotes, the ellipsis, the euro. */
static const struct {
  unsigned letra;
  const char* texto;
} SIN_LATIN1[] = {
    {0x2013, "-"},  {0x2014, "-"},   {0x2018, "'"},  {0x2019, "'"},   {0x201A, ","},
    {0x201C, "\""}, {0x201D, "\""},  {0x201E, "\""}, {0x2026, "..."}, {0x20AC, "EUR"},
    {0x2022, "*"},  {0x2039, "<"},   {0x203A, ">"},  {0x02C6, "^"},   {0x02DC, "~"},
    {0x2122, "TM"}, {0x0160, "S"},   {0x0161, "s"},  {0x017D, "Z"},   {0x017E, "z"},
    {0x0152, "OE"}, {0x0153, "oe"},  {0x0178, "Y"},  {0x0192, "f"},
};

static int es_blanco(unsigned c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/* A code that moves the cursor, rings or rewrites a terminal, or ends a line. */
static int es_control(unsigned c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

/* Bytes of the UTF-8 sequence that c starts, 0 when c starts none. */
static size_t largo_utf8(unsigned c) {
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) return 2;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xF0 && c <= 0xF4) return 4;
  return 0;
}

/* Whether the second byte of a sequence makes it the shortest one of a
   letter: an overlong "/" or a UTF-16 surrogate would not survive being
   written again as UTF-8. */
static int segundo_byte_valido(unsigned primero, unsigned segundo) {
  if (primero == 0xE0) return segundo >= 0xA0;
  if (primero == 0xED) return segundo < 0xA0;
  if (primero == 0xF0) return segundo >= 0x90;
  if (primero == 0xF4) return segundo < 0x90;  // nothing past U+10FFFF
  return 1;
}

static int es_utf8(const unsigned char* s, size_t n) {
  for (size_t i = 0; i < n;) {
    size_t largo = largo_utf8(s[i]);
    if (!largo || i + largo > n) return 0;
    if (largo > 1 && !segundo_byte_valido(s[i], s[i + 1])) return 0;
    for (size_t j = 1; j < largo; j++)
      if ((s[i + j] & 0xC0) != 0x80) return 0;
    i += largo;
  }
  return 1;
}

/* A cell being decoded letter by letter: its bytes without the blanks at
   both ends, and whether they are UTF-8. */
struct letras_celda {
  const unsigned char* s;
  size_t largo, i;
  int utf8;
};

/* The next letter of the cell as a Unicode code point; -1 at its end. */
static long letra_siguiente(letras_celda* l) {
  if (l->i >= l->largo) return -1;
  unsigned c = l->s[l->i];
  size_t n = l->utf8 ? largo_utf8(c) : 1;
  if (n > 1) {
    c &= 0x7Fu >> n;
    for (size_t j = 1; j < n; j++) c = (c << 6) | (l->s[l->i + j] & 0x3Fu);
  } else if (c >= 0x80 && c < 0xA0 && WINDOWS_1252[c - 0x80]) {
    c = WINDOWS_1252[c - 0x80];
  }
  l->i += n;
  return c;
}

/* One decision per cell: valid UTF-8 is UTF-8 (the BOM's encoding, and
   what Calc saves), anything else is Windows-1252 (Excel's "CSV" on a
   Spanish Windows), whose letters are Latin-1's. Returns the cell's bits:
   a control code anywhere in it is told even where its text is cut short. */
static int empieza_celda(letras_celda* l, const char* celda, size_t largo) {
  const unsigned char* s = (const unsigned char*)celda;
  while (largo && es_blanco(s[0])) s++, largo--;
  while (largo && es_blanco(s[largo - 1])) largo--;
  int ascii = 1;
  for (size_t i = 0; i < largo; i++) ascii &= s[i] < 0x80;
  l->s = s, l->largo = largo, l->i = 0;
  l->utf8 = !ascii && es_utf8(s, largo);
  int bits = ascii ? 0 : l->utf8 ? TEXTO_UTF8 : TEXTO_WINDOWS_1252;
  letras_celda todas = *l;
  for (long c; (c = letra_siguiente(&todas)) >= 0;)
    if (es_control((unsigned)c)) return bits | TEXTO_CONTROL;
  return bits;
}

/* The Latin-1 bytes of letter c, plain signs for those Latin-1 lacks; how many. */
static size_t en_latin1(unsigned c, char* bytes) {
  if (c <= 0xFF) {
    bytes[0] = (char)c;
    return 1;
  }
  const char* texto = "?";
  for (const auto& s : SIN_LATIN1)
    if (s.letra == c) texto = s.texto;
  memcpy(bytes, texto, strlen(texto));
  return strlen(texto);
}

/* The UTF-8 bytes of letter c; how many. */
static size_t en_utf8(unsigned c, char* bytes) {
  static const unsigned char PRIMER_BYTE[5] = {0, 0, 0xC0, 0xE0, 0xF0};
  size_t n = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  for (size_t j = n - 1; j > 0; j--, c >>= 6) bytes[j] = (char)(0x80 | (c & 0x3F));
  bytes[0] = (char)(PRIMER_BYTE[n] | c);
  return n;
}

/* The cell's text, each letter written by `codifica`, each control code as '?'. */
static int texto_de(const char* celda, size_t largo, char* texto, size_t tam,
                    size_t (*codifica)(unsigned, char*)) {
  // Nearly every cell is figures or plain words: the same bytes in any encoding.
  const unsigned char* s = (const unsigned char*)celda;
  size_t visibles = 0;
  while (visibles < largo && s[visibles] > 0x20 && s[visibles] < 0x7F) visibles++;
  if (visibles == largo && tam > largo) {
    memcpy(texto, celda, largo);
    texto[largo] = 0;
    return 0;
  }
  letras_celda l;
  int bits = empieza_celda(&l, celda, largo);
  size_t k = 0;
  for (long c; tam && (c = letra_siguiente(&l)) >= 0;) {
    char bytes[4];
    size_t n = codifica(es_control((unsigned)c) ? '?' : (unsigned)c, bytes);
    if (k + n >= tam) break;  // never half a letter
    memcpy(texto + k, bytes, n);
    k += n;
  }
  if (tam) texto[k] = 0;
  return bits;
}

int texto_latin1(const char* celda, size_t largo, char* texto, size_t tam) {
  return texto_de(celda, largo, texto, tam, en_latin1);
}

int texto_utf8(const char* celda, size_t largo, char* texto, size_t tam) {
  return texto_de(celda, largo, texto, tam, en_utf8);
}

/* ---- What a file is, by its first bytes ---- */

static const size_t LARGO_CABEZA = 128; /* enough for an .ods's first entry, its type */
/* UTF-16 held in memory as UTF-8: far beyond any sample, short of a whole disk. */
static const long MAX_UNICODE = 64L << 20;

enum clase_fichero { FICHERO_TEXTO, FICHERO_UTF16LE, FICHERO_UTF16BE, FICHERO_XLSX, FICHERO_ODS,
                     FICHERO_XLS, FICHERO_ZIP };

/* The refusal of each kind of file that is no text nor a workbook read, as the reader says it. */
static const char* const NO_ES_TEXTO[] = {
    nullptr, nullptr, nullptr, nullptr, nullptr,
    "<Es un libro de Excel 97-2003 (.xls): guardelo con Guardar como, tipo \"CSV UTF-8\" en Excel "
    "o \"Texto CSV\" en LibreOffice>",
    "<Es un fichero comprimido (zip), no una tabla de texto>",
};

/* 1 when the rest of f holds the bytes of patron (largo of them): the names
   of a zip's entries and of an OLE file's streams are stored as they are. */
static int contiene(FILE* f, const char* patron, size_t largo) {
  std::vector<char> pieza(65536);  // each reading its own
  char* trozo = pieza.data();
  size_t guardados = 0, n;
  while ((n = fread(trozo + guardados, 1, pieza.size() - guardados, f)) > 0) {
    n += guardados;
    if (std::string_view(trozo, n).find(std::string_view(patron, largo)) != std::string_view::npos) return 1;
    guardados = n < largo ? n : largo - 1;  // a name across two pieces
    memmove(trozo, trozo + n - guardados, guardados);
  }
  return 0;
}

/* 1 when the rest of f names a file of an Excel workbook. */
static int nombra_libro_excel(FILE* f) { return contiene(f, "xl/workbook", 11); }

/* Excel keeps a workbook saved with a password in an OLE file, as the
   stream "EncryptedPackage", its name in UTF-16. */
static int libro_cifrado(FILE* f) {
  static const char NOMBRE[] = "E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0";
  return contiene(f, NOMBRE, sizeof NOMBRE - 1);
}

/* A zip: an OpenDocument spreadsheet says so in its first entry, "mimetype",
   stored as it is; an Excel workbook holds the entries of xl/. */
static clase_fichero clase_de_zip(const unsigned char* cabeza, size_t n, FILE* f) {
  static const char TIPO_ODS[] = "application/vnd.oasis.opendocument.spreadsheet";
  if (n >= 30) {
    size_t nombre = cabeza[26] | cabeza[27] << 8, extra = cabeza[28] | cabeza[29] << 8;
    size_t datos = 30 + nombre + extra;
    if (nombre == 8 && memcmp(cabeza + 30, "mimetype", 8) == 0 && datos + sizeof TIPO_ODS - 1 <= n &&
        memcmp(cabeza + datos, TIPO_ODS, sizeof TIPO_ODS - 1) == 0)
      return FICHERO_ODS;
  }
  return std::string_view((const char*)cabeza, n).find("xl/workbook") != std::string_view::npos ||
                 nombra_libro_excel(f) ? FICHERO_XLSX : FICHERO_ZIP;
}

static clase_fichero clase_de(const unsigned char* cabeza, size_t n, FILE* f) {
  static const unsigned char OLE[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (n >= 2 && cabeza[0] == 0xFF && cabeza[1] == 0xFE) return FICHERO_UTF16LE;
  if (n >= 2 && cabeza[0] == 0xFE && cabeza[1] == 0xFF) return FICHERO_UTF16BE;
  if (n >= 8 && memcmp(cabeza, OLE, 8) == 0) return FICHERO_XLS;
  if (n >= 4 && memcmp(cabeza, "PK\3\4", 4) == 0) return clase_de_zip(cabeza, n, f);
  return FICHERO_TEXTO;
}

/* Writes f's UTF-16 (after its BOM) to salida as UTF-8; 0 past MAX_UNICODE.
   A half of a pair of surrogates alone, which no letter is, becomes '?'. */
static int utf8_de_utf16(FILE* f, int mayor_primero, FILE* salida) {
  unsigned alto = 0;  // the first of a pair, waiting for the second
  int a, b;
  char bytes[4];
  for (long leidos = 0; (a = getc(f)) != EOF && (b = getc(f)) != EOF; leidos += 2) {
    if (leidos > MAX_UNICODE) return 0;
    unsigned u = mayor_primero ? (unsigned)(a << 8 | b) : (unsigned)(b << 8 | a);
    int es_alto = u >= 0xD800 && u < 0xDC00, es_bajo = u >= 0xDC00 && u < 0xE000;
    if (alto && es_bajo) {
      fwrite(bytes, 1, en_utf8(0x10000 + ((alto - 0xD800) << 10) + (u - 0xDC00), bytes), salida);
      alto = 0;
      continue;
    }
    if (alto) fputc('?', salida);
    alto = es_alto ? u : 0;
    if (!es_alto) fwrite(bytes, 1, en_utf8(es_bajo ? '?' : u, bytes), salida);
  }
  if (alto) fputc('?', salida);
  return 1;
}

/* The UTF-16 file f as a stream of UTF-8 in memoria; NULL when it could
   not be made (the refusal in mensaje). */
static FILE* convierte_utf16(FILE* f, int mayor_primero, char** memoria, char* mensaje, int tam) {
  size_t largo = 0;
  FILE* salida = flujo_en_memoria(memoria, &largo);
  int bien = salida && fseek(f, 2, SEEK_CUR) == 0 && utf8_de_utf16(f, mayor_primero, salida);
  bien = salida && texto_del_flujo(salida, memoria, &largo) && bien;
  bien = salida && fclose(salida) == 0 && bien && !ferror(f);
  FILE* texto = bien ? flujo_de_texto(*memoria, largo) : nullptr;
  if (!texto && tam > 0)
    snprintf(mensaje, (size_t)tam, "%s",
             bien ? "<No se ha podido leer el fichero>" : "<El fichero Unicode ocupa mas de 64 MB>");
  if (!texto) free(*memoria), *memoria = nullptr;
  return texto;
}

/* 1 when the file's name ends as a workbook's does, whatever the case of its letters. */
static int nombre_de_libro(const char* fichero) {
  size_t largo = fichero ? strlen(fichero) : 0;
  for (const char* fin : {".xlsx", ".ods"}) {
    size_t n = strlen(fin), k = 0;
    while (k < n && largo >= n && (fichero[largo - n + k] | 0x20) == fin[k]) k++;
    if (largo >= n && k == n) return 1;
  }
  return 0;
}

/* What a file that is no text is refused with, when it is no workbook read. */
static const char* rechazo_de(clase_fichero clase, FILE* f, const libro_pedido* libro) {
  if (clase == FICHERO_XLS && libro_cifrado(f))
    return "<El libro esta protegido con contrasena: guardelo sin ella>";
  if (clase != FICHERO_TEXTO && clase != FICHERO_UTF16LE && clase != FICHERO_UTF16BE) return NO_ES_TEXTO[clase];
  if (libro && nombre_de_libro(libro->fichero))
    return "<El nombre dice que es un libro (.xlsx, .ods) pero no lo es: no es un zip>";
  if (libro && libro->hoja) return "<No es un libro (.xlsx, .ods): no tiene hojas que elegir>";
  return nullptr;
}

FILE* abre_texto(FILE* f, const libro_pedido* libro, char** memoria, const char** tipo, char* mensaje,
                 int tam) {
  *memoria = nullptr;
  *tipo = nullptr;
  long inicio = ftell(f);
  if (inicio < 0) return f;  // a stream that cannot be read twice is taken as text
  unsigned char cabeza[LARGO_CABEZA];
  size_t n = fread(cabeza, 1, sizeof cabeza, f);
  clase_fichero clase = clase_de(cabeza, n, f);
  const char* rechazo = clase == FICHERO_XLSX || clase == FICHERO_ODS ? nullptr : rechazo_de(clase, f, libro);
  if (fseek(f, inicio, SEEK_SET) != 0) {
    if (tam > 0) snprintf(mensaje, (size_t)tam, "<No se ha podido leer el fichero>");
    return nullptr;
  }
  if (rechazo) {
    if (tam > 0) snprintf(mensaje, (size_t)tam, "%s", rechazo);
    return nullptr;
  }
  if (clase == FICHERO_XLSX || clase == FICHERO_ODS) {
    *tipo = clase == FICHERO_ODS ? "libro de LibreOffice (.ods)" : "libro de Excel (.xlsx)";
    return abre_libro(f, clase == FICHERO_ODS, libro ? libro->hoja : nullptr, memoria, mensaje, tam);
  }
  if (clase == FICHERO_UTF16LE || clase == FICHERO_UTF16BE)
    return convierte_utf16(f, clase == FICHERO_UTF16BE, memoria, mensaje, tam);
  return f;
}

void cierra_texto(FILE* texto, FILE* f, char* memoria) {
  if (texto && texto != f) fclose(texto);
  free(memoria);
}
