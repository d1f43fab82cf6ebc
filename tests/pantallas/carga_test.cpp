// The two loaders: the file name typed, the records read and shown in their
// table, ESC on each step, and the files that load nothing.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "libros.h"
#include "pantalla.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

namespace {

const char CON_CLASES[] =
    "Pasada Longitud Peso Clase\n"
    "1 27.4 103.41 4\n"
    "1 27.2 112.11 4\n"
    "2 5.9 1.75 0\n";

class Carga : public Pantalla {
 protected:
  void TearDown() override {
    for (auto& f : ficheros) remove(f.c_str());
  }
  /* A data file in the working folder, removed after the test. */
  void fichero(const std::string& nombre, const std::string& texto) {
    FILE* f = fopen(nombre.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs(texto.c_str(), f);
    fclose(f);
    ficheros.push_back(nombre);
  }
  int arriba() { return 2 * alto(FUENTE_TITULO) + 100; }
  /* Red (250,0,0) pixels on the text line that starts at y. */
  int rojos_en_linea(int y) { return cuenta_color(105, y, 895, y + alto(FUENTE_CELDAS), 250, 0, 0); }
  /* First and last x of red pixels on that line. */
  void extension_roja(int y, int* x1, int* x2) {
    *x1 = 10000, *x2 = -1;
    for (int x = 105; x <= 895; x++)
      for (int yy = y; yy <= y + alto(FUENTE_CELDAS); yy++)
        if (color_en(x, yy, 250, 0, 0)) {
          if (x < *x1) *x1 = x;
          *x2 = x;
        }
  }
  std::vector<std::string> ficheros;
  int pasadas[MAX_PECES], clases[MAX_PECES];
  float longitudes[MAX_PECES], pesos[MAX_PECES];
};

std::string trece_peces() {
  std::string t = "Pasada Longitud Peso\n";
  for (int i = 1; i <= 13; i++) t += "1 " + std::to_string(i) + ".5 " + std::to_string(i) + "\n";
  return t;
}

}  // namespace

TEST_F(Carga, FileWithClassesIsReadAndShown) {
  fichero("cargaClases.txt", CON_CLASES);
  escribe("cargaClases.txt\n\n");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 3);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_NE(c_esc, TECLA_ESC);
  EXPECT_EQ(clases[0], 4);
  EXPECT_EQ(clases[2], 0);
  EXPECT_EQ(pesos[1], 112.11f);
  int t = arriba();
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 399, t + 29, 0, 0, 0));   // rule below the header
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 399, t + 28, 217, 217, 217));
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 400, t + 40, 0, 0, 0));   // four columns wide
  EXPECT_GT(rojos_en_linea(SCREEN_H - 85), 0);                   // "<Pulse ENTER para volver al menu>"
  EXPECT_GT(cuenta_color(150, 100, 600, 100 + alto(FUENTE_TITULO), 0, 0, 0), 0);  // the name stays
}

TEST_F(Carga, EscOnTheTableOfAFileWithClassesKeepsTheSample) {
  fichero("cargaEsc.txt", CON_CLASES);
  escribe("cargaEsc.txt\n\x1b");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 3);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Carga, FileWithoutClassesIsShownInThreeColumns) {
  fichero("cargaSin.txt", trece_peces());
  escribe("cargaSin.txt\n\n");
  EXPECT_EQ(cargar_datos(pasadas, longitudes, pesos), 13);
  EXPECT_EQ(longitudes[12], 13.5f);
  EXPECT_EQ(teclas_pendientes(), 0);
  int t = arriba();
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 300, t + 40, 0, 0, 0));
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 350, t + 40, 230, 230, 230));
}

TEST_F(Carga, EscOnTheTableOfAFileWithoutClassesLoadsNothing) {
  fichero("cargaSinEsc.txt", trece_peces());
  escribe("cargaSinEsc.txt\n\x1b");
  EXPECT_EQ(cargar_datos(pasadas, longitudes, pesos), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Carga, TableScrollsToItsLastPage) {
  fichero("cargaRueda.txt", trece_peces());
  escribe("cargaRueda.txt\n");
  pulsa(TECLA_ABAJO, 4);
  escribe("\n");
  EXPECT_EQ(cargar_datos(pasadas, longitudes, pesos), 13);
  int h1 = alto(FUENTE_CABECERA), x = SCREEN_W / 2 + 310;
  int y = arriba() + (h1 + 17) + 11 * (h1 + 10);  // where a twelfth row would start
  EXPECT_TRUE(color_en(x, y - 27, 0, 0, 0));          // rows hidden above
  EXPECT_TRUE(color_en(x, y - 12, 230, 230, 230));    // none below
}

// Regression: the grid of the file tables stopped one row short of the page.
TEST_F(Carga, GridReachesTheEleventhRow) {
  fichero("cargaRejilla.txt", trece_peces());
  escribe("cargaRejilla.txt\n\n");
  EXPECT_EQ(cargar_datos(pasadas, longitudes, pesos), 13);
  int h1 = alto(FUENTE_CABECERA), t = arriba();
  int fila11 = t + (h1 + 17) + 10 * (h1 + 10);
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 300, fila11 + 5, 0, 0, 0));
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 250, fila11 - 7 + h1 + 10, 0, 0, 0));  // line under it
}

TEST_F(Carga, EscOnTheNameLeavesSilently) {
  escribe("abc\x1b");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(rojos_en_linea(SCREEN_H / 2), 0);
}

TEST_F(Carga, AFileWithNoRecordShowsAnEmptyTableAndLoadsNothing) {
  fichero("cargaVacio.txt", "Pasada Longitud Peso\nTotal: 0 peces\n");  // a header and a footer
  escribe("cargaVacio.txt\n\n");
  EXPECT_EQ(cargar_datos(pasadas, longitudes, pesos), 0);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(rojos_en_linea(SCREEN_H / 2), 0);
}

// ---- Files that cannot be loaded ----

TEST_F(Carga, AMissingFileIsSaidAndItsKeyEndsTheProgramWithClasses) {
  escribe("noExiste.txt\n\x1b");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_GT(rojos_en_linea(SCREEN_H / 2), 0);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Carga, AMissingFileWithoutClassesDiscardsItsKey) {
  escribe("\n\x1b");  // an empty name opens nothing
  EXPECT_EQ(cargar_datos(pasadas, longitudes, pesos), 0);
  EXPECT_NE(c_esc, TECLA_ESC);
  EXPECT_GT(rojos_en_linea(SCREEN_H / 2), 0);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Carga, ARefusedFileSaysWhichLineAndLoadsNothing) {
  fichero("cargaMala.txt", "Pasada Longitud Peso Clase\n1 27.4 103.41 4\n1.5 2 3 4\n");
  escribe("cargaMala.txt\nx");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 0);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(c_esc & 0xff, 'x');  // the closing key, as after a file that cannot be opened
  int y = SCREEN_H / 2, motivo = y + 2 * alto(FUENTE_CELDAS), x1, x2;
  EXPECT_GT(rojos_en_linea(y), 0);
  extension_roja(motivo, &x1, &x2);
  int largo = ancho(FUENTE_CELDAS, "<Linea 3: pasada \xab" "1.5\xbb: se espera un entero de 1 a 20>");
  EXPECT_NEAR(x2 - x1 + 1, largo, 3);
  EXPECT_NEAR((x1 + x2) / 2, SCREEN_W / 2, 3);
  // no table was drawn
  EXPECT_TRUE(color_en(SCREEN_W / 2 - 399, arriba() + 10, 230, 230, 230));
}

// Regression: typing the name of a FIFO froze the window, deaf to ESC and
// the close button. The longest name the field takes still fits the window.
TEST_F(Carga, AFifoIsRefusedAsNoRegularFileWithoutWaitingForIt) {
  const std::string nombre = "cargaTuberiaDeNombreLargo.txt";
  ASSERT_EQ(nombre.size(), (size_t)CAPACIDAD_NOMBRE_CARGA);
  remove(nombre.c_str());  // left by a run that was stopped
  ASSERT_EQ(mkfifo(nombre.c_str(), 0600), 0);
  ficheros.push_back(nombre);
  escribe(nombre + "\nx");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 0);
  EXPECT_EQ(c_esc & 0xff, 'x');
  EXPECT_EQ(teclas_pendientes(), 0);
  std::string motivo = "<\xab" + nombre + "\xbb no es un fichero normal>";
  EXPECT_LT(ancho(FUENTE_CELDAS, motivo.c_str()), SCREEN_W - 20);
  EXPECT_TRUE(texto_centrado_en(FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2 + 2 * alto(FUENTE_CELDAS),
                                motivo.c_str(), rojo_aviso()));
}

// A workbook loads as its first sheet's table; a name that promises one
// without being one is refused in the window's style.
TEST_F(Carga, AWorkbookLoadsItsFirstSheetAndANameThatLiesIsRefused) {
  std::vector<hoja_libro> hojas = hojas_de_peces(peces_de(std::string(DIR_DATOS) + "/ejemplo.txt"));
  ASSERT_TRUE(escribe_ods("cargaLibro.ods", {hojas[1], hojas[0]}));
  ficheros.push_back("cargaLibro.ods");
  escribe("cargaLibro.ods\n\n");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), NUM_EJEMPLO);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(longitudes[0], 27.4f);
  EXPECT_EQ(pesos[0], 103.41f);
  EXPECT_EQ(clases[0], 4);
  fichero("cargaTexto.xlsx", CON_CLASES);
  escribe("cargaTexto.xlsx\nx");
  EXPECT_EQ(cargar_datos_mas(pasadas, longitudes, pesos, clases), 0);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(texto_centrado_en(FUENTE_CELDAS, SCREEN_W / 2, SCREEN_H / 2 + 2 * alto(FUENTE_CELDAS),
                                "<El nombre dice que es un libro (.xlsx, .ods) pero no lo es: no es un zip>",
                                rojo_aviso()));
}
