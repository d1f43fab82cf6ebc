// A data file typed by name in the real program: loaded, given its classes
// and analysed; a spreadsheet table loaded; and a broken file refused
// without leaving the program.
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "conductor.h"

namespace {
const unsigned GRIS = 0xe6e6e6, GRIS_CABECERA = 0xd9d9d9;

/* Pixels of colour rgb in a rectangle of a screenshot, corners included. */
int cuenta(const Captura& c, int x1, int y1, int x2, int y2, unsigned rgb) {
  int n = 0;
  for (int y = y1; y <= y2 && y < c.alto; y++)
    for (int x = x1; x <= x2 && x < c.ancho; x++) n += c.pixel(x, y) == rgb;
  return n;
}
}  // namespace

TEST_F(Programa, FileWithoutClassesGetsItsClassesAndReachesTheAnalyses) {
  ASSERT_NO_FATAL_FAILURE(abre_sin_clases("ejemplo3.txt"));
  teclas({"Return"});  // bins of 1 cm
  // the first limit with the decimal comma of a Spanish keypad
  for (const char* limite : {"9,5", "15", "20", "25", "30"}) {
    teclea(limite);
    teclas({"Return"});
  }
  teclas({"Return"});                                // the intervals
  ASSERT_TRUE(espera_color(715, 75, GRIS_CABECERA));  // the fish with their classes
  teclas({"Return"});
  ASSERT_TRUE(espera_color(715, 75, GRIS));          // the calculation menu
  teclas({"Return"});                                // "Frecuencias relativas"
  EXPECT_TRUE(espera_color(491, 215, 0xff0000));     // the 0+ bar
  teclas({"Escape"});
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, ABrokenFileIsRefusedAndTheLoadMenuComesBack) {
  escribe_fichero("roto.txt", "Pasada Longitud Peso Clase\n1 27.4 103.41 4\n2 5.9 nan 0\n");
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Return"});  // "Cargar datos con clases de edad"
  ASSERT_TRUE(espera_color(60, 300, GRIS));
  teclea("roto.txt");
  teclas({"Return"});
  bool avisado = false;
  for (int i = 0; i < 50 && !avisado; i++) {
    Captura c = captura();
    avisado = cuenta(c, 105, 300, 895, 350, 0xfa0000) > 100;  // both red lines
    if (!avisado) usleep(100000);
  }
  EXPECT_TRUE(avisado);
  teclas({"Return"});                         // closes the message
  teclas({"Up", "Return"});                   // "Salir" of the load menu
  EXPECT_EQ(espera_fin(), 0);
}

TEST_F(Programa, ASpreadsheetTableLoadsThroughTheLoaderWithClasses) {
  // The example saved by a Spanish spreadsheet: BOM, ";", decimal commas,
  // quoted cells, CRLF, a header with accents and units.
  std::ifstream ejemplo(std::string(DIR_DATOS) + "/ejemplo.txt");
  std::string cabecera, p, l, w, c;
  std::getline(ejemplo, cabecera);
  std::string tabla = "\xEF\xBB\xBFN\xC2\xBA pasada;Longitud (cm);Peso (g);Clase de edad;Estaci\xC3\xB3n\r\n";
  while (ejemplo >> p >> l >> w >> c) {
    std::replace(l.begin(), l.end(), '.', ',');
    std::replace(w.begin(), w.end(), '.', ',');
    tabla += p + ";\"" + l + "\";" + w + ";" + c + ";R\xC3\xADo Tera\r\n";
  }
  escribe_fichero("tabla.csv", tabla);
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Return"});  // "Cargar datos con clases de edad"
  ASSERT_TRUE(espera_color(60, 300, GRIS));
  teclea("tabla.csv");
  teclas({"Return"});
  ASSERT_TRUE(espera_color(150, 165, GRIS_CABECERA));  // the four-column table
  teclas({"Return"});
  ASSERT_TRUE(espera_color(715, 75, GRIS));          // the calculation menu
  teclas({"Return"});                                // "Frecuencias relativas"
  EXPECT_TRUE(espera_color(491, 215, 0xff0000));     // the 0+ bar of the example
  teclas({"Escape"});
  EXPECT_EQ(espera_fin(), 0);
}
