// Workbooks made at test time from a data file, so that no binary is kept in
// the tree: .xlsx written by libxlsxwriter, .ods by minizip's zip writer
// from XML text. The cells carry what a person's workbook carries: numbers
// shown with fewer decimals than stored, a date, a formula with its result,
// shared and inline strings, empty cells and gaps between rows.
#ifndef PASADAS_PRUEBAS_LIBROS_H
#define PASADAS_PRUEBAS_LIBROS_H

#include <string>
#include <vector>

/* A cell as a spreadsheet keeps it. */
struct celda_libro {
  enum clase_celda { VACIA, TEXTO, NUMERO, FECHA, FORMULA } clase = VACIA;
  std::string texto;    /* TEXTO: the text; NUMERO, FORMULA: the value as the data file wrote it;
                           FECHA: "YYYY-MM-DD" */
  std::string formula;  /* FORMULA: "ROUND(103.41,2)" in Excel's words */
  bool redondeada = false; /* NUMERO: shown with no decimals, as a format "0" shows it */
};
celda_libro texto_libro(const std::string& t);
celda_libro numero_libro(const std::string& valor, bool redondeada = false);

/* A sheet: its rows from row 1; an empty row leaves a gap. */
struct hoja_libro {
  std::string nombre;
  std::vector<std::vector<celda_libro>> filas;
};

/* Writes the sheets as an .xlsx; en_linea writes its texts as inline strings
   (libxlsxwriter's constant memory) instead of shared ones. */
bool escribe_xlsx(const std::string& ruta, const std::vector<hoja_libro>& hojas, bool en_linea);
/* Writes the sheets as an .ods; guardado stores the zip's entries without
   compressing them (the fuzzer's seeds: their XML lies open to mutation). */
bool escribe_ods(const std::string& ruta, const std::vector<hoja_libro>& hojas, bool guardado = false);
/* The content.xml of those sheets. */
std::string contenido_ods(const std::vector<hoja_libro>& hojas);

/* A zip of the named entries, as they are. */
struct entrada_zip {
  std::string nombre, texto;
};
bool escribe_zip(const std::string& ruta, const std::vector<entrada_zip>& entradas, bool guardado = false);

/* The fish of a data file of words with classes (the example's). */
struct pez_libro {
  std::string pasada, longitud, peso, clase;
};
std::vector<pez_libro> peces_de(const std::string& ruta);

/* A sheet "Peces": reach, species, date, pass, length (cm, shown rounded),
   weight (g, the first one a formula), class and a note after an empty
   column; the fish given as reach "T01 Río Esla" and species "trucha",
   between rows of barbel of the same reach (passes 1 and 2) and trout of
   T02. Then a sheet "Solo" of the fish alone under Pasada, Longitud, Peso, Clase. */
std::vector<hoja_libro> hojas_de_peces(const std::vector<pez_libro>& peces);
/* The reach of those fish, "T01 Río Esla", in UTF-8. */
extern const char* const TRAMO_LIBRO;

#endif
