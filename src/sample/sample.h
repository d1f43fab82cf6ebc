// The sample: four parallel arrays indexed by fish (pass, length in cm,
// weight in g, age class), their counts, the readers that fill them from a
// data file, the built-in example; no window (the load screen is in src/pantallas).
#ifndef PASADAS_SAMPLE_H
#define PASADAS_SAMPLE_H

#include <cstdio>
#include <memory>
#include <vector>

const int MAX_PECES = 10000;  /* fish a loaded sample can hold */
const int MAX_CLASES = 99;    /* classes the estimator has slots for (plus the whole sample) */
const int MAX_PASADAS = 20;   /* passes the estimator's pass table holds */
const int NUM_EJEMPLO = 38;   /* fish of the built-in example */

int numero_clases(const int* clases, int n);     /* highest class present + 1 (1 for an empty sample) */
int calculo_pasadas(const int* pasadas, int n);  /* highest pass present, 0 when none is positive */
/* The fish of each pass and the highest pass, counted once for all who tell them. */
struct recuento_pasadas {
  int mayor;                   /* highest pass present, as calculo_pasadas */
  int peces[MAX_PASADAS + 1];  /* fish of pass 1..MAX_PASADAS ([0] and other passes: none) */
};
recuento_pasadas cuenta_pasadas(const int* pasadas, int n);
/* The passes fished as typed ("4", blanks around it allowed): 1..MAX_PASADAS,
   or 0 when the text is no such whole number. */
int numero_de_pasadas(const char* texto);
float longitud_mayor(const float* longitudes, int n); /* longest fish, cm; 0 when none is longer than 0 */

/* Copies the built-in example into the caller's four arrays of NUM_EJEMPLO. */
void copia_ejemplo(int* pasadas, float* longitudes, float* pesos, int* clases);

/* Reads a data file's records after its header of four words (con_clases 1)
   or three (0) into the arrays, which hold MAX_PECES. Returns the number of
   fish read, or LECTURA_RECHAZADA with a message "<Linea N: ...>" in mensaje
   (Latin-1; LARGO_MENSAJE_LECTURA holds it whole) when the file cannot be
   taken whole: a malformed, missing or out-of-range field, a line short of a
   field, a first line that is already a record, a word that cuts records off,
   too many records, a read error. The arrays then hold nothing usable. A word
   where a pass is expected with no record after it (a footer) ends the
   records quietly. clases may be NULL without classes.
   A file may also be a table with a header row naming its columns (see
   lee_muestra_descrita); a table of several reaches or species is refused here. */
const int LECTURA_RECHAZADA = -1;
const int LARGO_MENSAJE_LECTURA = 160;
int lee_muestra(FILE* f, int con_clases, int* pasadas, float* longitudes, float* pesos,
                int* clases, char* mensaje, int tam_mensaje);
/* A word of a data file as the reader's messages quote it: between Latin-1
   angle quotes, at most 20 characters and "...", UTF-8 letters of Latin-1
   made Latin-1, control bytes and letters beyond Latin-1 shown as '?'. */
void cita_palabra(char* destino, size_t tam, const char* palabra);

/* ---- The text of a cell of any table the program reads ---- */
/* What a cell's text was found to hold, as bits. */
const int TEXTO_UTF8 = 1, TEXTO_WINDOWS_1252 = 2; /* its encoding, when some byte was not ASCII */
const int TEXTO_CONTROL = 4; /* a control code (C0, DEL or C1, NUL included) */
/* The cell's bytes (largo of them) as Latin-1 text in texto (tam bytes,
   always ended), for the fonts and the report: taken as UTF-8 when they are
   valid UTF-8, else as Windows-1252; dashes, curly quotes, the ellipsis and
   the euro made plain ASCII ("-", "'", "\"", "...", "EUR"), other letters
   beyond Latin-1 and every control code made '?'; blanks at both ends
   dropped, cut short when long. Returns the bits the cell holds. */
int texto_latin1(const char* celda, size_t largo, char* texto, size_t tam);
/* The same cell as UTF-8 text, every letter kept and every control code
   made '?', never cut within a letter: a file name, a summary cell. */
int texto_utf8(const char* celda, size_t largo, char* texto, size_t tam);

/* Opens ruta for reading, from its start, only when it is a regular file;
   *f gets the stream (the caller closes it), NULL otherwise. Every reader
   of the user's files opens them so: a FIFO or a device would hang it. */
const int FICHERO_ABIERTO = 0;
const int FICHERO_SIN_ABRIR = 1;  /* errno says why */
const int FICHERO_NO_NORMAL = 2;  /* a FIFO, a device, a folder...: not opened */
int abre_lectura(const char* ruta, FILE** f);
/* How a refusal of a file that is not regular ends, after the quoted name. */
const char NO_ES_NORMAL[] = "no es un fichero normal";

/* The columns a table of fish may name, in this order. */
enum columna_datos { DATO_PASADA, DATO_LONGITUD, DATO_PESO, DATO_CLASE, DATO_TRAMO, DATO_ESPECIE,
                     COLUMNAS_DATOS };
const int MAX_VALORES = 100; /* reaches or species a file's description keeps */
const int LARGO_VALOR = 41;  /* room for a reach, a species or a column name, Latin-1 */

/* The distinct values of a table's Tramo or Especie column, in the order
   they first appear, with the records of each. */
struct valores_columna {
  int n;          /* distinct values kept, at most MAX_VALORES */
  int desbordado; /* there were more */
  char texto[MAX_VALORES][LARGO_VALOR];
  int filas[MAX_VALORES];
};

/* What a data file turned out to be. Texts are Latin-1. */
struct descripcion_datos {
  int tabla;                /* 1: a table with named columns; 0: a header of words, then records */
  const char* libro;        /* a table's workbook, "libro de Excel (.xlsx)" or "libro de LibreOffice
                               (.ods)"; NULL when the table is text */
  char separador;           /* a table's: ';', ',' or '\t' */
  const char* codificacion; /* a table's: "ASCII", "UTF-8", "UTF-8 con BOM" or "Windows-1252" */
  int con_clases;           /* the fish got their classes from the file */
  char columnas[COLUMNAS_DATOS][LARGO_VALOR]; /* a table's header name of each column used, "" when none */
  char ignoradas[200];      /* a table's other columns, as "A, B", cut short when long */
  int filas_vacias;         /* a table's records of empty cells, skipped */
  valores_columna tramos, especies; /* a table's reaches and species */
  int eleccion_fallida;     /* refused for the reach or species: several left to choose, or none chosen is there */
  const char* unidad_longitud; /* a table's units as its header names them: "cm" or "mm", */
  const char* unidad_peso;     /* "g", "kg" or "mg"; the fish are read in cm and g */
  int pasadas_tramo;        /* a table's highest pass among the rows of the chosen reach, of every
                               species: the passes the reach was fished; 0 when none is known */
};

/* A table that may stand in a workbook (.xlsx, .ods): the file's name,
   whose ending .xlsx or .ods says it must be one (NULL: not known), and the
   sheet to read by its name (NULL: the first). */
struct libro_pedido {
  const char* fichero;
  const char* hoja;
};

/* Which fish of a table to take: those of the reach and species so named in
   its Tramo and Especie columns (case, accents and blanks aside); NULL takes
   any, but then a table holding several is refused. libro: where the table
   stands when the file is a workbook. */
struct eleccion_datos {
  const char* tramo;
  const char* especie;
  libro_pedido libro;
};

/* con_clases for lee_muestra_descrita: take the classes when the file has them. */
const int CLASES_SI_LAS_HAY = 2;

/* The one reader of data files, behind both loaders and pasadas-informe: a
   file of words as lee_muestra reads it, or a table whose first line names
   its columns ("Pasada;Longitud (cm);Peso (g);Clase"), separated by ";" (a
   decimal comma or point), "," (a point) or a tab (either), in UTF-8 with or
   without BOM or Windows-1252 (Latin-1's letters and Excel's signs), lines
   ended by LF, CR LF or CR; or such a table in a sheet of a workbook (.xlsx,
   .ods), its numbers as stored and row N of the sheet called line N. Returns as lee_muestra; d gets what the file
   was, also when it is refused. e may be NULL. */
int lee_muestra_descrita(FILE* f, int con_clases, const eleccion_datos* e, descripcion_datos* d,
              int* pasadas, float* longitudes, float* pesos, int* clases, char* mensaje,
              int tam_mensaje);

/* ---- A table of many reaches read once, for a season ---- */
/* The rows of a table of fish with a Tramo column, kept in memory (about
   70 bytes a row, a million rows at most) so that each reach's fish are
   taken from them without reading the file again. */
struct tabla_guardada;
/* Reads f, from where it stands, whole. NULL when it is no table with a
   Tramo column, or has more than a million rows, or when every reading of
   it would stop at the same row whatever reach it asked (a cell past the
   header's columns, a footer with rows after it, a reach or species cell
   empty or with a control code, a NUL, a stray quote, a read error): such
   a file is read for each reach; so is one too large to keep in the
   memory there is. A workbook's sheet is read as
   lee_muestra_descrita reads it for libro (NULL: its first). tabla_suelta
   frees it. A file refused before any row is read, whatever is asked of it
   (a damaged or too large workbook, a file that is no text), leaves that
   refusal in rechazo as lee_muestra_descrita gives it; else rechazo is "". */
tabla_guardada* tabla_guarda(FILE* f, const libro_pedido* libro = nullptr, char* rechazo = nullptr,
                             int tam_rechazo = 0);
/* The fish of the reach e names (and its species, when given), as
   lee_muestra_descrita gives them from the file the table was read from
   with the same request: the same n, fish, description and refusal, naming
   the same line. Reads nothing but t, which it does not change. */
int tabla_elige(const tabla_guardada* t, int con_clases, const eleccion_datos* e,
                descripcion_datos* d, int* pasadas, float* longitudes, float* pesos, int* clases,
                char* mensaje, int tam_mensaje);
void tabla_suelta(tabla_guardada* t);

/* Reads back a workbook just written (f at its start) for its writer to
   know it whole: 1 when every member of its zip unpacks to its CRC and
   every XML member is well formed; filas[k] gets the rows of
   xl/worksheets/sheet(k+1).xml, -1 for a sheet it lacks, for k < nhojas. */
int libro_entero(FILE* f, long* filas, int nhojas);

/* Gives `clase` to every fish whose length lies in (inferior, superior], the
   interval of one class; returns how many fish it gave it to. */
int asigna_intervalo(int* clases, const float* longitudes, int n, float inferior,
                     float superior, int clase);

/* A number cell of a table whose cells `separador` parts, as spreadsheets
   write it ("1.534,2" in a ";" table, "1,534.2" in a "," one), made plain in
   plano ("1534.2"); 0 then. 1 when its figures are badly grouped or may be
   read two ways, with why and how to write it in motivo ("cifras mal
   agrupadas; use 123,5"). Every table's number cells are read by this rule. */
int cifras_de_celda(const char* celda, char separador, char* plano, size_t tam, char* motivo,
                    size_t tam_motivo);

/* ---- Tables of named columns: a season's table of reaches ---- */
/* A column a table may have: the name messages give it and the keys it goes
   by (see clave_nombre), NULL-ended. */
struct columna_buscada {
  const char* nombre;
  const char* claves[6];
  int obligatoria;
};

const int MAX_COLUMNAS_TABLA = 10;  /* columns lee_tabla_nombrada looks for */
const int LARGO_CELDA_TABLA = 256;  /* bytes of a cell kept; a longer one makes its row an error */
const int LARGO_CELDA_UTF8 = 3 * LARGO_CELDA_TABLA; /* its UTF-8 text: a byte may take three */

/* A row of a table, by the columns asked for. Its cells point into the
   row's own text, which holds only what they hold: a table of a thousand
   rows takes a thousand rows' text, not a thousand times the longest cell. */
struct fila_tabla {
  const char* celda[MAX_COLUMNAS_TABLA]; /* the cell as texto_utf8 gives it, "" when absent */
  int control[MAX_COLUMNAS_TABLA];       /* the cell held a control code (shown as '?') */
  const char* crudo[MAX_COLUMNAS_TABLA]; /* its very bytes, blanks trimmed: a file's name */
  int larga;        /* the first column whose cell is longer than LARGO_CELDA_TABLA (kept cut
                       short), -1 when none: the row cannot be taken, the others can */
  long long linea;  /* the line of the file the row ends on */
  std::unique_ptr<char[]> texto; /* where its cells stand */
};

/* How a table of named columns was read. */
enum resultado_tabla {
  TABLA_ACEPTADA,         /* nfilas rows (0 when it has none) */
  TABLA_RECHAZADA,        /* the file is no such table: mensaje says why */
  TABLA_DEMASIADAS_FILAS, /* more rows than the caller has room for */
};
struct lectura_tabla {
  resultado_tabla resultado;
  int nfilas;
  char separador;         /* of its cells: the first of ';', tab and ',' its header holds, else ';' */
  char mensaje[LARGO_MENSAJE_LECTURA]; /* why it was refused, Latin-1 without the brackets; "" */
};
/* Reads the table in f (text in any encoding abre_texto takes) whose first
   row names its columns: the columns[0..ncolumnas-1] (ncolumnas at most
   MAX_COLUMNAS_TABLA) of each row that has one of them filled, into filas
   (emptied first; max_filas rows at most). Other columns are ignored; a
   missing column that is obligatory ("falta la columna X") or a NUL byte
   ("fila N: ...") refuses the table. The table may be a sheet of a
   workbook, as libro asks (NULL: its first). */
lectura_tabla lee_tabla_nombrada(FILE* f, const columna_buscada* columnas, int ncolumnas,
                                 std::vector<fila_tabla>* filas, int max_filas,
                                 const libro_pedido* libro = nullptr);

#endif
