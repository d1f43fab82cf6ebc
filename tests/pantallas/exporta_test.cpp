// "Exportar resultados" with keys: the name, the mode menu, the values typed
// in the direct mode, the give-ups, the closing message and every way out
// that must leave the user's files as they were. Golden reports: see
// tests/unit/informe_test.cpp.
#include <sys/stat.h>

#include <fstream>
#include <memory>

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
  std::string golden(const char* nombre) { return lee_todo(dato_prueba(nombre)); }
};

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
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2));
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden("informe_ejemplo_directo.txt")), "");
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"tramo1.txt", "tramo14.bmp", "tramo12.bmp",
                                                     "tramo11.bmp", "tramo13.bmp"}));
}

TEST_F(Exporta, PreviousAnalysesModeWritesTheReportOfWhatWasLeft) {
  escribe("previo.txt\n\nx");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(primera_diferencia(lee_todo("previo.txt"), golden("informe_ejemplo_previo.txt")), "");
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2));
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
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2));
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
  EXPECT_TRUE(mensaje_rojo_en(SCREEN_H / 2));
  EXPECT_EQ(primera_diferencia(lee_todo("ocho.txt"),
                               hasta_seccion(golden("informe_ejemplo_previo.txt"), SECCION_9)),
            "");
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"ocho.txt", "ocho4.bmp"}));
}

// A Linf below the longest fish is refused by the growth step; the report
// must not go on with a fit that was never made.
TEST_F(Exporta, RefusedLinfEndsTheReportAfterSectionEight) {
  escribe("ocho.txt\n");
  pulsa(TECLA_ABAJO);
  escribe("\n");
  pulsa(TECLA_ABAJO, 3);
  escribe("\n20\n6\n");  // the longest fish is 29.5 cm
  escribe("y");          // dismisses the refusal
  escribe("x");
  exporta();
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"ocho.txt", "ocho4.bmp"}));
  EXPECT_EQ(primera_diferencia(lee_todo("ocho.txt"),
                               hasta_seccion(golden("informe_ejemplo_previo.txt"), SECCION_9)),
            "");
}

// ---- Ways out that must leave the user's files as they were ----

TEST_F(Exporta, EscInTheModeMenuKeepsAnExistingReportAndCreatesNothing) {
  escribe_todo("tramo.txt", "informe de ayer\n");
  escribe("tramo.txt\n");
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(lee_todo("tramo.txt"), "informe de ayer\n");
  escribe("nuevo.txt\n");
  pulsa(TECLA_ESC);
  exporta();
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"tramo.txt"});
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
