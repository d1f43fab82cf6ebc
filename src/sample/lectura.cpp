// Reading the records of a data file: whitespace-separated words, a header
// that is skipped, then pass, length, weight (and class) per fish. No
// graphics here, so the loaders, the fuzzer and command-line tools share it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <strings.h>

#include "sample.h"

/* A number longer than this is no value anyone typed; it is refused. */
static const int LARGO_PALABRA = 64;

struct lector {
  FILE* f;
  long long linea;  // line of the character read last, from 1
};

/* What a word of the file can be. */
enum tipo_palabra {
  PALABRA,       // not a number at all: a header or a footer
  ENTERO,        // digits with an optional sign
  DECIMAL,       // a finite number written with a point or an exponent
  NUMERO_MALO,   // starts like a number but is none ("1.5x", "nan", "inf", far too long)
};

static int es_blanco(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

static int es_digito(int c) { return c >= '0' && c <= '9'; }

/* Skips white space; returns the first character of the next word, or EOF. */
static int salta_blancos(lector* l) {
  int c;
  while ((c = getc(l->f)) != EOF && es_blanco(c))
    if (c == '\n') l->linea++;
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
  for (; c != EOF && !es_blanco(c); c = getc(l->f), largo++)
    if (largo + 1 < tam) buf[largo] = (char)c;
  if (c == '\n') l->linea++;
  buf[largo + 1 < tam ? largo : tam - 1] = 0;
  return largo;
}

static int empieza_como_numero(const char* s) {
  if (*s == '+' || *s == '-') s++;
  if (*s == '.') s++;
  return es_digito((unsigned char)*s);
}

/* The whole word, not just its start: a footer such as "Informe" or
   "Nancy" is text, not a broken record. */
static int es_no_finito(const char* s) {
  if (*s == '+' || *s == '-') s++;
  if (strcasecmp(s, "inf") == 0 || strcasecmp(s, "infinity") == 0) return 1;
  return strncasecmp(s, "nan", 3) == 0 && (s[3] == 0 || s[3] == '(');
}

/* [+-]digits */
static int forma_entera(const char* s) {
  if (*s == '+' || *s == '-') s++;
  if (!es_digito((unsigned char)*s)) return 0;
  while (es_digito((unsigned char)*s)) s++;
  return *s == 0;
}

/* [+-](digits[.digits] | .digits)[(e|E)[+-]digits] */
static int forma_decimal(const char* s) {
  if (*s == '+' || *s == '-') s++;
  int cifras = 0;
  while (es_digito((unsigned char)*s)) s++, cifras++;
  if (*s == '.') {
    s++;
    while (es_digito((unsigned char)*s)) s++, cifras++;
  }
  if (!cifras) return 0;
  if (*s == 'e' || *s == 'E') {
    s++;
    if (*s == '+' || *s == '-') s++;
    if (!es_digito((unsigned char)*s)) return 0;
    while (es_digito((unsigned char)*s)) s++;
  }
  return *s == 0;
}

static tipo_palabra clasifica(const char* s, size_t largo) {
  int numerica = empieza_como_numero(s) || es_no_finito(s);
  if (!numerica) return PALABRA;
  if (largo >= (size_t)LARGO_PALABRA) return NUMERO_MALO;
  if (forma_entera(s)) return ENTERO;
  if (forma_decimal(s) && std::isfinite(strtof(s, nullptr))) return DECIMAL;
  return NUMERO_MALO;
}

/* An integer word within [menor, mayor]; huge ones saturate and fall outside. */
static int entero_en(const char* s, tipo_palabra t, int menor, int mayor, int* valor) {
  if (t != ENTERO) return 0;
  long long v = strtoll(s, nullptr, 10);
  if (v < menor || v > mayor) return 0;
  *valor = (int)v;
  return 1;
}

/* A finite number above 0, rounded to single precision as it is kept. */
static int positivo(const char* s, tipo_palabra t, float* valor) {
  if (t != ENTERO && t != DECIMAL) return 0;
  float v = strtof(s, nullptr);
  if (!std::isfinite(v) || !(v > 0)) return 0;
  *valor = v;
  return 1;
}

static int rechaza(char* mensaje, int tam, const char* fmt, long long linea) {
  if (tam > 0) snprintf(mensaje, (size_t)tam, fmt, linea);
  return LECTURA_RECHAZADA;
}

/* One field of a record after its pass: 1 when read, else the refusal is in mensaje. */
static int lee_campo(lector* l, long long linea_pasada, int campo, int* entero, float* real,
                     char* mensaje, int tam) {
  static const char* const FALTA[] = {"<Linea %lld: falta la longitud>",
                                      "<Linea %lld: falta el peso>", "<Linea %lld: falta la clase>"};
  static const char* const MALO[] = {"<Linea %lld: la longitud debe ser un numero mayor que 0>",
                                     "<Linea %lld: el peso debe ser un numero mayor que 0>",
                                     "<Linea %lld: la clase debe ser un entero de 0 a 98>"};
  char buf[LARGO_PALABRA];
  long long linea = linea_pasada;
  size_t largo = lee_palabra(l, buf, sizeof buf, &linea);
  if (largo == 0) {
    rechaza(mensaje, tam, FALTA[campo], linea_pasada);
    return 0;
  }
  tipo_palabra t = clasifica(buf, largo);
  int bien = campo == 2 ? entero_en(buf, t, 0, MAX_CLASES - 1, entero) : positivo(buf, t, real);
  if (!bien) rechaza(mensaje, tam, MALO[campo], linea);
  return bien;
}

int lee_muestra(FILE* f, int con_clases, int* pasadas, float* longitudes, float* pesos,
                int* clases, char* mensaje, int tam_mensaje) {
  lector l = {f, 1};
  char buf[LARGO_PALABRA];
  long long linea = 1;
  if (tam_mensaje > 0) mensaje[0] = 0;
  for (int i = 0; i < (con_clases ? 4 : 3); i++)  // the header's words, whatever they say
    if (lee_palabra(&l, buf, sizeof buf, &linea) == 0) break;
  int n = 0;
  for (;;) {
    size_t largo = lee_palabra(&l, buf, sizeof buf, &linea);
    if (largo == 0) break;
    tipo_palabra t = clasifica(buf, largo);
    if (t == PALABRA) break;  // a footer: the records are over
    if (n == MAX_PECES)
      return rechaza(mensaje, tam_mensaje, "<El fichero tiene mas de 10000 registros>", 0);
    if (!entero_en(buf, t, 1, MAX_PASADAS, &pasadas[n]))
      return rechaza(mensaje, tam_mensaje, "<Linea %lld: la pasada debe ser un entero de 1 a 20>",
                     linea);
    int clase = 0;
    if (!lee_campo(&l, linea, 0, nullptr, &longitudes[n], mensaje, tam_mensaje) ||
        !lee_campo(&l, linea, 1, nullptr, &pesos[n], mensaje, tam_mensaje) ||
        (con_clases && !lee_campo(&l, linea, 2, &clase, nullptr, mensaje, tam_mensaje)))
      return LECTURA_RECHAZADA;
    if (con_clases && clases) clases[n] = clase;
    n++;
  }
  if (ferror(f)) return rechaza(mensaje, tam_mensaje, "<No se ha podido leer el fichero>", 0);
  return n;
}
