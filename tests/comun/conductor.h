// End-to-end driver: starts the real program in a scratch folder on a
// private virtual X display, types keys with xdotool, reads the window back
// with xwd, and collects the exit status.
#ifndef PRUEBAS_CONDUCTOR_H
#define PRUEBAS_CONDUCTOR_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

/* A screenshot of the program's window, decoded from xwd. */
struct Captura {
  int ancho = 0, alto = 0;
  std::vector<unsigned> rgb;  /* 0xRRGGBB per pixel, row by row */
  unsigned pixel(int x, int y) const { return rgb[(size_t)y * ancho + x]; }
};

class Programa : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  /* Copies a file of data/ into the scratch folder. */
  void copia_dato(const std::string& nombre);
  /* Writes a file with the given text into the scratch folder. */
  void escribe_fichero(const std::string& nombre, const std::string& texto);
  std::string lee_fichero(const std::string& nombre);
  bool existe(const std::string& nombre);
  /* Starts the program; returns once its window exists. */
  void arranca();
  /* Starts the program and loads a file of data/ without classes through
     "Cargar datos y establecer clases", up to the class screen's histogram. */
  void abre_sin_clases(const std::string& nombre);
  /* Starts the program on the example and exports it as `nombre` in the
     direct mode, up to the measure menu: sections 1 to 4 are written. */
  void exporta_hasta_las_medidas(const std::string& nombre);
  /* Starts a copy of the program placed in the scratch folder, where no
     datas.dat lies beside it; does not wait for a window. */
  void arranca_copia_sin_recursos();
  /* Presses a key in the first window of an X class (xmessage...); false
     when no such window appears. */
  bool pulsa_en_ventana(const std::string& clase, const std::string& tecla);
  /* Asks the window to close, as its close button does. */
  void cierra_ventana();
  /* Sends xdotool key names ("Return", "Escape", "Down", "a", "period"...). */
  void teclas(const std::vector<std::string>& nombres);
  void teclea(const std::string& texto);  /* types letters, digits, '.' and ',' */
  Captura captura();
  /* Waits until pixel (x,y) of the window has colour rgb; false after segundos. */
  bool espera_color(int x, int y, unsigned rgb, double segundos = 10);
  /* Waits until some pixel of the rectangle has colour rgb. */
  bool espera_en_zona(int x1, int y1, int x2, int y2, unsigned rgb, double segundos = 10);
  /* Waits for the program to end; returns its exit status, or -1000 on timeout. */
  int espera_fin(double segundos = 10);

  void lanza(const std::string& programa);  /* fork and exec in the scratch folder */

  std::string programa_ventana = PROGRAMA_PASADAS;  /* the window program arranca() starts */
  std::string carpeta;   /* the scratch working folder */
  std::string pantalla;  /* DISPLAY of the private X server */
  int pid_x = -1, pid_programa = -1;
  std::string ventana;   /* X window id of the program */
  /* LANG and LC_ALL of the programs started ("es_ES.UTF-8": a Spanish
     desktop); empty, the test's own environment. */
  std::string locale_programa;
};

#endif
