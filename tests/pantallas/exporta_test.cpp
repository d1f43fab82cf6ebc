// "Exportar resultados" with keys: the name, the mode menu, the values typed
// in the direct mode, the give-ups, the closing message and every way out
// that must leave the user's files as they were. Golden reports: see
// tests/unit/informe_test.cpp.
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <vector>

#include "analysis.h"
#include "export.h"
#include "informes.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

class Exporta : public Pantalla, protected MuestraDeInforme {
 protected:
  int exporta() { return exporta_todo(pasadas, longitudes, pesos, clases, n); }
  /* Pixels of a colour on the text line of font 0 that starts at y. */
  int en_linea(int y, int r, int g, int b) {
    return cuenta_color(60, y, SCREEN_W - 60, y + alto(FUENTE_CELDAS), r, g, b);
  }
  bool mensaje_rojo_en(int y) { return en_linea(y, 255, 0, 0) > 0; }
  /* The red message the page shows, centred on its middle or at height y. */
  bool dice(const char* mensaje, int y = SCREEN_H / 2) {
    return texto_centrado_en(FUENTE_CELDAS, SCREEN_W / 2, y, mensaje, rojo_mensaje());
  }
  std::string golden(const char* nombre) { return lee_todo(dato_prueba(nombre)); }
  void TearDown() override { ventana_cerrada = 0; }
};

const char* const GUARDADO = "<El fichero se ha guardado correctamente, pulse una tecla para continuar>";
const char* const SIN_AJUSTE =
    "<Guardado sin ajuste de von Bertalanffy: Linf es menor que el pez mas largo (29.50 cm), "
    "pulse una tecla>";
const char* const SIN_AJUSTE_PREVIO[2] = {
    "<Guardado sin ajuste de von Bertalanffy: no se ha hecho ninguno desde que se abrio el programa>",
    "<Abra antes Crecimiento o exporte directamente, pulse una tecla>"};
const std::set<std::string> TODO_TRAMO1 = {"tramo1.txt", "tramo14.bmp", "tramo12.bmp", "tramo11.bmp",
                                           "tramo13.bmp"};
/* An earlier export of tramo1.txt: a report and its images. */
const std::string ANTERIOR = std::string(PRIMERA_LINEA_INFORME) + "\n\ninforme de ayer\n";
/* What the earlier export left under that name. */
std::string anterior(const std::string& nombre) {
  return nombre.size() > 4 && nombre.compare(nombre.size() - 4, 4, ".bmp") == 0 ? imagen_anterior() : ANTERIOR;
}
void deja_exportacion_anterior() {
  for (auto& f : TODO_TRAMO1) escribe_todo(f, anterior(f));
}
bool sigue_la_anterior() {
  for (auto& f : TODO_TRAMO1)
    if (lee_todo(f) != anterior(f)) return false;
  return ficheros_en(".") == TODO_TRAMO1;
}

TEST_F(Exporta, DirectModeWithTypedValuesWritesTheGoldenReportAndFourImages) {
  escribe("tramo1.txt\n");
  pulsa(TECLA_ABAJO);
  escribe("\n");                                         // "directamente"
  escribe("\n250\n");                                    // surface
  pulsa(TECLA_ABAJO);
  escribe("\n125.5\n");                                  // volume
  pulsa(TECLA_ABAJO, 2);
  escribe("\n50\n");                                     // reach length
  pulsa(TECLA_ABAJO, 3);
  escribe("\n");                                         // "Calcular"
  escribe("32\n6\n");                                    // Linf, months of class 0+
  escribe("x");                                          // the closing message
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(dice(GUARDADO));
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
  EXPECT_EQ(ficheros_en("."), TODO_TRAMO1);
}

TEST_F(Exporta, PreviousAnalysesModeWritesTheReportOfWhatWasLeft) {
  escribe("previo.txt\n\nx");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(primera_diferencia(lee_todo("previo.txt"), golden("informe_ejemplo_previo.txt")), "");
  // Regression: it blamed a Linf below the longest fish, although none was typed.
  EXPECT_TRUE(dice(SIN_AJUSTE_PREVIO[0]));
  EXPECT_TRUE(dice(SIN_AJUSTE_PREVIO[1], SCREEN_H / 2 + 2 * alto(FUENTE_CELDAS)));
  EXPECT_FALSE(dice(SIN_AJUSTE));
}

// The last fit was made on an earlier sample of shorter fish: its Linf is what
// the previous analyses hold, and it is below this sample's longest fish.
TEST_F(Exporta, PreviousAnalysesModeWithTheLinfOfAShorterSampleSaysItIsBelow) {
  Lmax1 = 20;
  mes0 = 6;
  escribe("previo.txt\n\nx");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(dice(SIN_AJUSTE));
}

TEST_F(Exporta, ModeMenuHighlightsOneModeAndWrapsBothWays) {
  int a = alto(FUENTE_TITULO), y = SCREEN_H / 2;
  auto azules = [&](int y0, int y1) { return cuenta_color(105, y0, SCREEN_W - 105, y1, 65, 105, 225); };
  escribe("x.txt\n");
  pulsa(TECLA_ARRIBA);  // from the first mode up to the second
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_EQ(azules(y - 3 * a, y - 2 * a - 1), 0);
  EXPECT_GT(azules(y - a, y - 1), 0);
  EXPECT_GT(azules(y, y + a - 1), 0);
  escribe("x.txt\n");
  pulsa(TECLA_ABAJO, 2);  // down twice: back on the first
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_GT(azules(y - 3 * a, y - 2 * a - 1), 0);
  EXPECT_EQ(azules(y - a, y + a - 1), 0);
}

TEST_F(Exporta, SinglePassSampleWaitsForOneKeyBeforeTheEstimates) {
  n = carga_prueba("una_pasada.txt", pasadas, longitudes, pesos, clases);
  ASSERT_GT(n, 0);
  escribe("p.txt\n\n");
  escribe("a");  // the pause
  escribe("b");  // the closing message
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2));
}

TEST_F(Exporta, RefusedKeyWarnsAndLeavesTheNameAsTyped) {
  escribe("a-");
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2));  // "<Inserte un caracter valido>"
  escribe("a-b\n\nx");
  exporta();
  EXPECT_TRUE(ficheros_en(".").count("ab"));
}

// ---- Give-ups: the report keeps what was written, and says so ----

TEST_F(Exporta, GivingUpTheMeasuresClosesTheReportAfterSectionFour) {
  escribe("corto.txt\n");
  pulsa(TECLA_ABAJO);
  escribe("\n");
  pulsa(TECLA_ESC);  // in the measure menu
  escribe("x");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_TRUE(dice("<Informe parcial guardado: secciones 1 a 4, pulse una tecla para continuar>"));
  EXPECT_EQ(primera_diferencia(lee_todo("corto.txt"),
                               hasta_seccion(golden("informe_ejemplo_previo.txt"), SECCION_5)),
            "");
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"corto.txt"});
}

TEST_F(Exporta, GivingUpTheGrowthStepClosesAfterSectionEightWithImageFourOnly) {
  escribe("ocho.txt\n");
  pulsa(TECLA_ABAJO);
  escribe("\n");
  pulsa(TECLA_ABAJO, 3);
  escribe("\n");     // "Calcular" with no measure given
  escribe("3");
  pulsa(TECLA_ESC);  // while typing Linf
  escribe("x");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(dice(
      "<Informe parcial guardado: secciones 1 a 8 y grafico 4, pulse una tecla para continuar>"));
  EXPECT_EQ(primera_diferencia(lee_todo("ocho.txt"),
                               hasta_seccion(golden("informe_ejemplo_previo.txt"), SECCION_9)),
            "");
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"ocho.txt", "ocho4.bmp"}));
}

// Regression: a report given up in the direct mode, over an earlier complete
// report of another sample, stood beside that sample's images, nothing said.
TEST_F(Exporta, APartialReportNamesTheEarlierReportsImagesLeftBesideIt) {
  const std::string largo(30, 'r');  // four of its image names do not fit one line
  const struct {
    const char* paso;
    std::string raiz, teclas;  // '\x01' is the down arrow
    const char* parcial;
    std::vector<std::string> lineas;  // under the message, one and a half lines apart
  } casos[] = {
      {"measures", "tramo1", "tramo1.txt\n\x01\n\x1b",
       "<Informe parcial guardado: secciones 1 a 4, pulse una tecla para continuar>",
       {"<Quedan de un informe anterior: tramo11.bmp, tramo12.bmp, tramo13.bmp, tramo14.bmp>"}},
      {"Linf", "tramo1", "tramo1.txt\n\x01\n\x01\x01\x01\n3\x1b",
       "<Informe parcial guardado: secciones 1 a 8 y grafico 4, pulse una tecla para continuar>",
       {"<Quedan de un informe anterior: tramo11.bmp, tramo12.bmp, tramo13.bmp>"}},
      {"long name", largo, largo + ".txt\n\x01\n\x1b",
       "<Informe parcial guardado: secciones 1 a 4, pulse una tecla para continuar>",
       {"<Quedan de un informe anterior:>", largo + "1.bmp", largo + "2.bmp", largo + "3.bmp",
        largo + "4.bmp"}},
  };
  int a = alto(FUENTE_CELDAS), y = SCREEN_H / 2;
  for (auto& c : casos) {
    SCOPED_TRACE(c.paso);
    for (int d = 1; d <= 4; d++) escribe_todo(c.raiz + std::to_string(d) + ".bmp", imagen_anterior());
    escribe_todo(c.raiz + ".txt", ANTERIOR);
    for (char t : c.teclas)
      if (t == '\x01')
        pulsa(TECLA_ABAJO);
      else
        escribe(std::string(1, t));
    escribe("x");
    exporta();
    EXPECT_EQ(teclas_pendientes(), 0);
    EXPECT_TRUE(dice(c.parcial));
    for (size_t i = 0; i < c.lineas.size(); i++)
      EXPECT_TRUE(dice(c.lineas[i].c_str(), y + 2 * a + (int)i * (a + a / 2))) << c.lineas[i];
    // Every red letter inside the page's frame, 37 px in from each side.
    EXPECT_EQ(cuenta_color(0, 0, 36, SCREEN_H - 1, 255, 0, 0) +
                  cuenta_color(SCREEN_W - 37, 0, SCREEN_W - 1, SCREEN_H - 1, 255, 0, 0), 0);
    EXPECT_NE(lee_todo(c.raiz + ".txt"), ANTERIOR);
    for (int d = 1; d <= 3; d++) EXPECT_EQ(lee_todo(c.raiz + std::to_string(d) + ".bmp"), imagen_anterior()) << d;
    for (auto& f : ficheros_en(".")) remove(f.c_str());
  }
}

// A Linf below the longest fish is refused by the growth step; the report
// goes on without that fit (the polynomial needs no Linf) and says so.
TEST_F(Exporta, RefusedLinfWritesTheReportWithoutTheFitAndSaysSo) {
  escribe("previo.txt\n");
  pulsa(TECLA_ABAJO);
  escribe("\n");
  pulsa(TECLA_ABAJO, 3);
  escribe("\n20\n\n");  // the longest fish is 29.5 cm; months 0
  escribe("y");          // dismisses the refusal
  escribe("x");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(dice(SIN_AJUSTE));
  EXPECT_EQ(primera_diferencia(lee_todo("previo.txt"), golden("informe_ejemplo_previo.txt")), "");
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"previo.txt", "previo4.bmp", "previo2.bmp",
                                                     "previo1.bmp", "previo3.bmp"}));
}

// ---- Ways out that must leave the user's files as they were ----

TEST_F(Exporta, EscInTheModeMenuKeepsAnExistingReportAndCreatesNothing) {
  deja_exportacion_anterior();
  escribe("tramo1.txt\n");
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_EQ(c_esc, TECLA_ESC);
  escribe("nuevo.txt\n");
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_TRUE(sigue_la_anterior());
}

// The close button ends the program from every step of the export, and the
// export it cuts short leaves nothing: no report, no image, no older file
// replaced. The steps below take ESC as "give up this step" on their own.
TEST_F(Exporta, CloseButtonCancelsTheExportAtEveryStepThatWaitsForKeys) {
  const struct {
    const char* paso;
    const char* teclas;  // up to the step; the close button comes next
    int muestra_una_pasada;
  } pasos[] = {
      {"measure menu", "tramo1.txt\n\x01\n", 0},
      {"measure entry", "tramo1.txt\n\x01\n\n25", 0},
      {"Linf entry", "tramo1.txt\n\x01\n\x01\x01\x01\n3", 0},
      {"months entry", "tramo1.txt\n\x01\n\x01\x01\x01\n32\n", 0},
      {"refused Linf", "tramo1.txt\n\x01\n\x01\x01\x01\n20\n6\n", 0},
      {"single-pass pause", "tramo1.txt\n\n", 1},
  };
  for (auto& p : pasos) {
    SCOPED_TRACE(p.paso);
    deja_exportacion_anterior();
    if (p.muestra_una_pasada) n = carga_prueba("una_pasada.txt", pasadas, longitudes, pesos, clases);
    for (const char* t = p.teclas; *t; t++)
      if (*t == '\x01')
        pulsa(TECLA_ABAJO);
      else
        escribe(std::string(1, *t));
    closehook();
    EXPECT_EQ(exporta(), TECLA_ESC);
    EXPECT_EQ(c_esc, TECLA_ESC);
    EXPECT_EQ(teclas_pendientes(), 0);  // no closing message waits for a key
    EXPECT_TRUE(sigue_la_anterior());
    ventana_cerrada = 0;
  }
}

// The export replaces only reports: the resource file, a data file other
// than the loaded one, or any file that does not start as a report does, is
// refused with one key, back to the menu.
TEST_F(Exporta, ANameThatIsNotAReportIsRefusedAndLeftAsItWas) {
  const std::string datos = "Pasada Longitud Peso Clase\n1 27.4 103.41 4\n";
  escribe_todo("otra.txt", datos);
  escribe_todo("notas", "notas del muestreo\n");
  for (const char* nombre : {"datas.dat", "otra.txt", "notas"}) {
    SCOPED_TRACE(nombre);
    escribe(std::string(nombre) + "\nx");
    exporta();
    EXPECT_EQ(teclas_pendientes(), 0);
    EXPECT_TRUE(dice("<Ese fichero no es un informe de Pasadas, elija otro nombre>",
                     SCREEN_H / 2 + 200));
    EXPECT_EQ(cuenta_color(105, 105, SCREEN_W - 105, SCREEN_H - 105, 65, 105, 225), 0);  // no mode menu
  }
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"otra.txt", "notas"}));
  EXPECT_EQ(lee_todo("otra.txt"), datos);
  EXPECT_EQ(lee_todo("notas"), "notas del muestreo\n");
}

// Regression: the export wrote its images over any file of their names,
// a photograph named like image 2 included.
TEST_F(Exporta, AnImageNameHoldingTheUsersOwnFileIsRefusedBeforeAnythingIsWritten) {
  const std::string foto = "BM una fotografia del tramo";
  escribe_todo("tramo2.bmp", foto);
  escribe("tramo.txt\nx");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(dice("<Ese grafico no es de Pasadas, elija otro nombre>", SCREEN_H / 2 + 200));
  EXPECT_TRUE(dice("tramo2.bmp", SCREEN_H / 2 + 200 + 2 * alto(FUENTE_CELDAS)));
  EXPECT_EQ(cuenta_color(105, 105, SCREEN_W - 105, SCREEN_H - 105, 65, 105, 225), 0);  // no mode menu
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"tramo2.bmp"});
  EXPECT_EQ(lee_todo("tramo2.bmp"), foto);
}

TEST_F(Exporta, EscWhileTypingTheNameWritesNothing) {
  escribe("tramo");
  pulsa(TECLA_ESC);
  EXPECT_EQ(exporta(), TECLA_ESC);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(ficheros_en(".").empty());
}

TEST_F(Exporta, NameThatCannotBeCreatedShowsTheMessageAndSkipsTheModeMenu) {
  ASSERT_EQ(mkdir("carpeta", 0755), 0);
  escribe("carpeta\n");
  escribe("x");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2 + 200));
  EXPECT_EQ(cuenta_color(105, 105, SCREEN_W - 105, SCREEN_H - 105, 65, 105, 225), 0);
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"carpeta"});

  // A folder where image 2 would go: the image is named, nothing is written.
  ASSERT_EQ(mkdir("tramo12.bmp", 0755), 0);
  escribe("tramo1.txt\nx");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(dice("tramo12.bmp", SCREEN_H / 2 + 200 + 2 * alto(FUENTE_CELDAS)));
  EXPECT_EQ(cuenta_color(105, 105, SCREEN_W - 105, SCREEN_H - 105, 65, 105, 225), 0);
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"carpeta", "tramo12.bmp"}));
}

TEST_F(Exporta, EmptyNameCannotBeCreated) {
  escribe("\nx");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2 + 200));
  EXPECT_TRUE(ficheros_en(".").empty());
}

TEST_F(Exporta, TheLoadedDataFileIsNeverReplacedByTheReport) {
  const std::string datos = "Pasada Longitud Peso Clase\n1 27.4 103.41 4\n";
  { std::ofstream("tramo.txt") << datos; }
  snprintf(fichero_muestra, sizeof fichero_muestra, "tramo.txt");
  escribe("tramo.txt\n");
  escribe("x");
  exporta();
  fichero_muestra[0] = 0;
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2 + 200));
  EXPECT_EQ(lee_todo("tramo.txt"), datos);
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"tramo.txt"});
}

}  // namespace
