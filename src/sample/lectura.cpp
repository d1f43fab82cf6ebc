// Reading the records of a data file: whitespace-separated words, a header
// that is skipped, then pass, length, weight (and class) per fish. No
// graphics here, so the loaders, the fuzzer and command-line tools share it.
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "lectura_interna.h"
#include "sample.h"

/* Characters of a word that a message quotes; the rest shows as "...". */
static const int LARGO_CITA = 20;
/* The quote marks of the messages, Latin-1 as all the program's text. */
static const char ABRE_CITA[] = "\xab", CIERRA_CITA[] = "\xbb";

struct lector {
  FILE* f;
  long long linea;  // line of the character read last, from 1
  int anterior;     // that character
};

static const char SUSTITUTO = 0x1A; /* ASCII's own stand-in for a byte that cannot be shown */

/* The fields of a record, in file order, and what a message calls a missing one. */
enum campo { PASADA, LONGITUD, PESO, CLASE };
static const char* const FALTA[] = {"la pasada", "la longitud", "el peso", "la clase"};

static int es_blanco(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

static int es_digito(int c) { return c >= '0' && c <= '9'; }

/* The next character of the file, counting line ends as an editor shows
   them: LF, CR LF, or a CR alone as the old Mac saved text. */
static int siguiente(lector* l) {
  int c = getc(l->f);
  if (c == '\r' || (c == '\n' && l->anterior != '\r')) l->linea++;
  l->anterior = c;
  return c;
}

/* Skips white space; returns the first character of the next word, or EOF. */
static int salta_blancos(lector* l) {
  int c;
  while ((c = siguiente(l)) != EOF && es_blanco(c)) {
  }
  return c;
}

/* Reads the next word, keeping at most tam - 1 characters of it in buf (the
   rest is read and dropped, so a word of any length is taken whole). Returns
   0 at the end of the file, else the word's length; *linea gets its line. */
static size_t lee_palabra(lector* l, char* buf, size_t tam, long long* linea) {
  int c = salta_blancos(l);
  if (c == EOF) return 0;
  *linea = l->linea;
  size_t largo = 0;
  // A NUL would end the word's text where it stands and the rest would be
  // lost without a word: it is kept as a control code, which no number has.
  for (; c != EOF && !es_blanco(c); c = siguiente(l), largo++)
    if (largo + 1 < tam) buf[largo] = c ? (char)c : SUSTITUTO;
  buf[largo + 1 < tam ? largo : tam - 1] = 0;
  return largo;
}

static int empieza_como_numero(const char* s) {
  if (*s == '+' || *s == '-') s++;
  if (*s == '.') s++;
  return es_digito((unsigned char)*s);
}

/* Where s goes on after the letters of minusculas, in either case; NULL when
   it does not start with them. Not strncasecmp: it follows the desktop's
   locale, and on a Turkish one "INF" is no "inf". */
static const char* tras_letras(const char* s, const char* minusculas) {
  for (; *minusculas; s++, minusculas++)
    if ((*s | 0x20) != *minusculas) return nullptr;
  return s;
}

/* The whole word, not just its start: a footer such as "Informe" or
   "Nancy" is text, not a broken record. */
static int es_no_finito(const char* s) {
  if (*s == '+' || *s == '-') s++;
  const char* inf = tras_letras(s, "inf");
  const char* infinity = tras_letras(s, "infinity");
  const char* nan = tras_letras(s, "nan");
  return (inf && *inf == 0) || (infinity && *infinity == 0) || (nan && (*nan == 0 || *nan == '('));
}

/* Skips [+-]digits; returns where they end, or NULL without a digit. */
static const char* cifras(const char* s) {
  if (*s == '+' || *s == '-') s++;
  if (!es_digito((unsigned char)*s)) return nullptr;
  while (es_digito((unsigned char)*s)) s++;
  return s;
}

/* [+-]digits */
static int forma_entera(const char* s) {
  s = cifras(s);
  return s && *s == 0;
}

/* [+-](digits[.digits] | .digits)[(e|E)[+-]digits] */
static int forma_decimal(const char* s) {
  if (*s == '+' || *s == '-') s++;
  int n = 0;
  while (es_digito((unsigned char)*s)) s++, n++;
  if (*s == '.') {
    s++;
    while (es_digito((unsigned char)*s)) s++, n++;
  }
  if (!n) return 0;
  if (*s == 'e' || *s == 'E') s = cifras(s + 1);
  return s && *s == 0;
}

/* [+-][digits],digits: a number written with the decimal comma of a Spanish
   spreadsheet, which the file's layout does not take. */
static int coma_decimal(const char* s) {
  if (*s == '+' || *s == '-') s++;
  s += strspn(s, "0123456789");
  if (*s != ',') return 0;
  size_t decimales = strspn(s + 1, "0123456789");
  return decimales > 0 && s[1 + decimales] == 0;
}

/* The whole word s as a number of type T, rounded once as the C library
   rounds; 0 when it is no number or lies beyond what T holds (too large, or
   a float too small to be told from 0). Not strtof and strtod: those follow
   the desktop's locale once the window has started, and read "27.4" as 27
   on a Spanish desktop. */
template <typename T>
static int numero_en(const char* s, T* valor) {
  if (*s == '+' && s[1] != '-') s++;
  const char* fin = s + strlen(s);
  std::from_chars_result r = std::from_chars(s, fin, *valor);
  return r.ec == std::errc() && r.ptr == fin;
}

tipo_palabra clasifica(const char* s, size_t largo) {
  int numerica = empieza_como_numero(s) || es_no_finito(s);
  if (!numerica) return PALABRA;
  if (largo >= (size_t)LARGO_PALABRA) return NUMERO_MALO;
  if (forma_entera(s)) return ENTERO;
  float v;
  if (forma_decimal(s) && numero_en(s, &v)) return DECIMAL;
  return NUMERO_MALO;
}

static int lee(lector* l, palabra* p) {
  p->largo = lee_palabra(l, p->texto, sizeof p->texto, &p->linea);
  p->tipo = p->largo ? clasifica(p->texto, p->largo) : PALABRA;
  return p->largo != 0;
}

void cita_palabra(char* destino, size_t tam, const char* palabra) {
  char cita[3 * LARGO_CITA];
  size_t n = 0;
  int visibles = 0;
  const unsigned char* p = (const unsigned char*)palabra;
  for (; *p && visibles < LARGO_CITA; p++, visibles++) {
    unsigned c = *p;
    if ((c == 0xC2 || c == 0xC3) && (p[1] & 0xC0) == 0x80)  // UTF-8 for a Latin-1 letter
      c = ((c & 0x03) << 6) | (*++p & 0x3F);
    else if (c >= 0xC4 && c <= 0xF4 && (p[1] & 0xC0) == 0x80) {  // a letter the fonts lack
      while ((p[1] & 0xC0) == 0x80) p++;
      c = '?';
    }
    cita[n++] = (char)(c < 0x20 || (c >= 0x7f && c < 0xa0) ? '?' : c);
  }
  snprintf(destino, tam, "%s%.*s%s%s", ABRE_CITA, (int)n, cita, *p ? "..." : "", CIERRA_CITA);
}

static int rechaza(char* mensaje, int tam, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));
static int rechaza(char* mensaje, int tam, const char* fmt, ...) {
  if (tam > 0) {
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(mensaje, (size_t)tam, fmt, ap);
    va_end(ap);
  }
  return LECTURA_RECHAZADA;
}

/* A character that separates the fields of a spreadsheet file inside the
   word, or 0: the layout separates fields with white space only. */
static char separador(const char* s) {
  if (strchr(s, ';')) return ';';
  if (strchr(s, ',') && !coma_decimal(s)) return ',';
  return 0;
}

static int rechaza_separador(char* mensaje, int tam, long long linea, char sep) {
  char s[2] = {sep, 0}, cita[16];
  cita_palabra(cita, sizeof cita, s);
  return rechaza(mensaje, tam,
                 "<Linea %lld: separador %s no admitido: separe los datos con espacios o "
                 "tabuladores>",
                 linea, cita);
}

/* The refusal of a word that cannot stand as the field: a spreadsheet's
   separator or decimal comma is named as such, anything else is quoted with
   what the field takes. */
static int rechaza_campo(char* mensaje, int tam, const palabra* p, campo c) {
  static const char* const NOMBRE[] = {"pasada", "longitud", "peso", "clase"};
  static const char* const ESPERADO[] = {"un entero de 1 a %d", "un numero mayor que 0",
                                         "un numero mayor que 0", "un entero de 0 a %d"};
  if (char sep = separador(p->texto)) return rechaza_separador(mensaje, tam, p->linea, sep);
  char cita[3 * LARGO_CITA], esperado[40];
  cita_palabra(cita, sizeof cita, p->texto);
  if (coma_decimal(p->texto)) {  // the same number with a point, when it is short enough to show
    char punto[LARGO_PALABRA + 4] = "";
    if (p->largo <= (size_t)LARGO_CITA) snprintf(punto, sizeof punto, " (%s)", p->texto);
    if (punto[0]) *strchr(punto, ',') = '.';
    return rechaza(mensaje, tam, "<Linea %lld: %s no es un numero: use punto decimal%s>",
                   p->linea, cita, punto);
  }
  snprintf(esperado, sizeof esperado, ESPERADO[c], c == PASADA ? MAX_PASADAS : MAX_CLASES - 1);
  return rechaza(mensaje, tam, "<Linea %lld: %s %s: se espera %s>", p->linea, NOMBRE[c], cita,
                 esperado);
}

/* Integers too large for any type fall outside too. */
int entero_en(const palabra* p, int menor, int mayor, int* valor) {
  long long v;
  if (p->tipo != ENTERO || !numero_en(p->texto, &v)) return 0;
  if (v < menor || v > mayor) return 0;
  *valor = (int)v;
  return 1;
}

int clase_en(const palabra* p, int* valor) {
  if (entero_en(p, 0, MAX_CLASES - 1, valor)) return 1;
  size_t cifras = strspn(p->texto, "0123456789");
  if (cifras == 0 || cifras + 1 != p->largo || p->texto[cifras] != '+') return 0;
  palabra sin_mas = *p;
  sin_mas.texto[cifras] = 0;
  sin_mas.largo = cifras;
  sin_mas.tipo = clasifica(sin_mas.texto, cifras);
  return entero_en(&sin_mas, 0, MAX_CLASES - 1, valor);
}

int supera(const palabra* p, float tope) {
  // also a number past single precision, which no float can hold
  if (!forma_decimal(p->texto)) return 0;
  double v;
  if (numero_en(p->texto, &v)) return v > tope;
  // Past a double: a word of at most 63 characters gets there only by its
  // exponent, whose sign says whether it is huge or tiny.
  const char* e = strpbrk(p->texto, "eE");
  return p->texto[0] != '-' && e && e[1] != '-';
}

/* A finite number above 0, rounded to single precision as it is kept. */
int positivo(const palabra* p, float* valor) {
  float v;
  if (p->tipo != ENTERO && p->tipo != DECIMAL) return 0;
  if (!numero_en(p->texto, &v) || !(v > 0)) return 0;
  *valor = v;
  return 1;
}

/* Takes the word as field c of fish i; 1 when it stands, else the refusal is in mensaje. */
static int toma_campo(const palabra* p, campo c, int i, int* pasadas, float* longitudes,
                      float* pesos, int* clase, char* mensaje, int tam) {
  if (c == PASADA) {
    if (entero_en(p, 1, MAX_PASADAS, &pasadas[i])) return 1;
  } else if (c == CLASE) {
    if (clase_en(p, clase)) return 1;
  } else {
    float tope = c == LONGITUD ? LONGITUD_MAXIMA : PESO_MAXIMO;
    if (supera(p, tope)) {
      char cita[3 * LARGO_CITA];
      cita_palabra(cita, sizeof cita, p->texto);
      rechaza(mensaje, tam, "<Linea %lld: %s %s: supera los %.0f %s>", p->linea,
              c == LONGITUD ? "longitud" : "peso", cita, tope, c == LONGITUD ? "cm" : "g");
      return 0;
    }
    if (positivo(p, c == LONGITUD ? &longitudes[i] : &pesos[i])) return 1;
  }
  rechaza_campo(mensaje, tam, p, c);
  return 0;
}

/* Words per line of the records. Records may run over line ends, but in a
   file whose other lines hold whole records a line short of a field is a
   missing cell: every later field moves up one place, and the fault must be
   blamed on that line, not on whatever the shifted words break further on. */
struct renglones {
  int k;                // fields of a record
  long long linea;      // line being counted
  int palabras;         // record words on it so far
  int enteras;          // some line held whole records only
  long long corte;      // first line a record ran over, 0 while none did
  int palabras_corte;   // words on that line
};

/* Counts a record word on its line; dentro when it is not the record's first. */
static void cuenta(renglones* r, long long linea, int dentro) {
  if (linea != r->linea) {
    if (dentro && !r->corte) {
      r->corte = r->linea;
      r->palabras_corte = r->palabras;
    } else if (r->palabras > 0 && r->palabras % r->k == 0) {
      r->enteras = 1;
    }
    r->linea = linea;
    r->palabras = 0;
  }
  r->palabras++;
}

/* Counts the rest of the line of the word just read, so that it can show
   whole records too. */
static void acaba_linea(lector* l, renglones* r) {
  palabra p;
  while (lee(l, &p) && p.linea == r->linea) r->palabras++;
  cuenta(r, -1, 0);
}

/* 1 when a line ran short or long of a record in a file of whole-record lines:
   the refusal naming it is in mensaje. */
static int linea_cortada(const renglones* r, char* mensaje, int tam) {
  if (!r->corte || !r->enteras) return 0;
  if (r->palabras_corte < r->k)
    rechaza(mensaje, tam, "<Linea %lld: falta %s>", r->corte, FALTA[r->palabras_corte]);
  else
    rechaza(mensaje, tam, "<Linea %lld: tiene %d datos; cada registro lleva %d (%s)>", r->corte,
            r->palabras_corte, r->k,
            r->k == 4 ? "pasada, longitud, peso, clase" : "pasada, longitud, peso");
  return 1;
}

/* After a word that ends the records: 1 when a later line still starts with
   the numbers of a whole record, so that the word cut records off. */
static int siguen_registros(lector* l, long long linea_final, int k) {
  palabra p;
  long long linea = linea_final;
  int numeros = 0;  // numbers at the start of the line so far
  while (lee(l, &p)) {
    if (p.linea != linea) {
      linea = p.linea;
      numeros = 0;
    }
    if (linea == linea_final || numeros < 0) continue;
    numeros = p.tipo == PALABRA ? -1 : numeros + 1;
    if (numeros == k) return 1;
  }
  return 0;
}

/* The header: k words, whatever they say, but not the first record itself,
   nor a line short of the words the layout has (the wrong kind of file).
   Returns 1 when read, 0 at the end of the file, or LECTURA_RECHAZADA;
   *ultima gets the line of its last word. */
static int lee_cabecera(lector* l, int k, long long* ultima, char* mensaje, int tam) {
  palabra p;
  long long primera = 0;
  int numeros = 0, en_primera = 0, corta = 0;
  char sep = 0;
  for (int i = 0; i < k; i++) {
    if (!lee(l, &p)) return 0;
    if (i == 0) primera = p.linea;
    numeros += p.tipo != PALABRA;
    if (p.linea == primera) {
      en_primera++;
      if (!sep) sep = separador(p.texto);
    } else if (p.tipo != PALABRA) {
      corta = 1;
    }
    *ultima = p.linea;
  }
  if (numeros == k)
    return rechaza(mensaje, tam, "<Linea %lld: falta la cabecera: la linea ya es un registro>",
                   primera);
  if (corta && sep) return rechaza_separador(mensaje, tam, primera, sep);
  if (corta)
    return rechaza(mensaje, tam, "<Linea %lld: la cabecera tiene %d palabras; se esperan %d>",
                   primera, en_primera, k);
  return 1;
}

/* A word where a pass is expected ends the records, as a footer does; but
   when records follow it, it cut them off and the file is refused. */
static int fin_de_registros(lector* l, const palabra* p, int n, long long cabecera, int k,
                            char* mensaje, int tam) {
  if (!siguen_registros(l, p->linea, k)) return 0;
  char cita[3 * LARGO_CITA];
  cita_palabra(cita, sizeof cita, p->texto);
  if (n == 0 && p->linea == cabecera)  // more header words than the layout has
    return rechaza(mensaje, tam, "<Linea %lld: la cabecera tiene mas de %d palabras; sobra %s>",
                   p->linea, k, cita);
  return rechaza(mensaje, tam, "<Linea %lld: texto inesperado %s; siguen mas registros>",
                 p->linea, cita);
}

int lee_palabras(FILE* f, int con_clases, int* pasadas, float* longitudes, float* pesos,
                int* clases, char* mensaje, int tam_mensaje) {
  lector l = {f, 1, 0};
  int k = con_clases ? 4 : 3;
  long long cabecera = 0, linea_pasada = 0;
  if (tam_mensaje > 0) mensaje[0] = 0;
  int leida = lee_cabecera(&l, k, &cabecera, mensaje, tam_mensaje);
  if (leida == LECTURA_RECHAZADA) return LECTURA_RECHAZADA;
  renglones r = {k, cabecera, 0, 0, 0, 0};
  int n = 0, c = PASADA, clase = 0;
  palabra p;
  for (; leida && lee(&l, &p); c = (c + 1) % k) {
    if (c == PASADA && p.tipo == PALABRA) {  // a footer, or a remark in the middle
      cuenta(&r, -1, 0);
      if (linea_cortada(&r, mensaje, tam_mensaje)) return LECTURA_RECHAZADA;
      if (fin_de_registros(&l, &p, n, cabecera, k, mensaje, tam_mensaje)) return LECTURA_RECHAZADA;
      break;
    }
    cuenta(&r, p.linea, c != PASADA);
    if (c == PASADA && n == MAX_PECES)
      return rechaza(mensaje, tam_mensaje, "<El fichero tiene mas de 10000 registros>");
    if (c == PASADA) linea_pasada = p.linea;
    if (!toma_campo(&p, (campo)c, n, pasadas, longitudes, pesos, &clase, mensaje, tam_mensaje)) {
      acaba_linea(&l, &r);
      linea_cortada(&r, mensaje, tam_mensaje);
      return LECTURA_RECHAZADA;
    }
    if (c == k - 1) {
      if (con_clases && clases) clases[n] = clase;
      n++;
    }
  }
  if (ferror(f)) return rechaza(mensaje, tam_mensaje, "<No se ha podido leer el fichero>");
  cuenta(&r, -1, 0);
  if (linea_cortada(&r, mensaje, tam_mensaje)) return LECTURA_RECHAZADA;
  if (c != PASADA)  // the file ends inside a record
    return rechaza(mensaje, tam_mensaje, "<Linea %lld: falta %s>", linea_pasada, FALTA[c]);
  return n;
}
