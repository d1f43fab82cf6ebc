// The real program: the example exported in the direct mode from the
// calculation menu gives the golden report and its four images, and the
// batch command gives the same files.
#include <signal.h>
#include <unistd.h>

#include "conductor.h"
#include "informes.h"

TEST_F(Programa, ExampleExportedDirectlyGivesTheGoldenReportAndFourImages) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
  ASSERT_TRUE(espera_color(60, 300, 0xe6e6e6));
  teclas({"Return"});                                       // leaves the table
  teclas({"Down", "Down", "Down", "Down", "Down", "Down", "Return"});  // "Exportar resultados"
  teclea("tramo1.txt");
  teclas({"Return", "Down", "Return"});                     // "directamente"
  teclas({"Return"});
  teclea("250");
  teclas({"Return", "Down", "Return"});
  teclea("125.5");
  teclas({"Return", "Down", "Down", "Return"});
  teclea("50");
  teclas({"Return", "Down", "Down", "Down", "Return"});     // "Calcular"
  teclea("32");
  teclas({"Return"});
  teclea("6");
  teclas({"Return"});
  for (int i = 0; i < 100 && !existe("tramo1.txt"); i++) usleep(100000);
  ASSERT_TRUE(existe("tramo1.txt"));
  teclas({"x"});       // the closing message
  teclas({"Escape"});  // the calculation menu: the program ends
  EXPECT_EQ(espera_fin(), 0);

  std::string esperado = lee_todo(std::string(DIR_PRUEBAS) + "/datos/informe_ejemplo_directo.txt");
  EXPECT_EQ(primera_diferencia(lee_fichero("tramo1.txt"), esperado), "");
  comprueba_imagenes_tramo1(carpeta);

  // The batch command writes the same bytes: report and images.
  std::string lote = carpeta + "/lote";
  ASSERT_EQ(system(("mkdir '" + lote + "' && cd '" + lote + "' && env -u DISPLAY " +
                    PROGRAMA_INFORME + " --superficie 250 --volumen 125.5 --metros 50 --linf 32 " +
                    "--meses 6 ejemplo tramo1.txt >/dev/null")
                       .c_str()),
            0);
  for (const char* f : {"tramo1.txt", "tramo14.bmp", "tramo12.bmp", "tramo11.bmp", "tramo13.bmp"})
    EXPECT_TRUE(lee_todo(lote + "/" + f) == lee_fichero(f)) << f;
}

const std::string INFORME_ANTERIOR =
    "En orden descendente se exponen los siguientes resultados:\n\ninforme de ayer\n";
const char* const TRAMO1[] = {"tramo1.txt", "tramo14.bmp", "tramo12.bmp", "tramo11.bmp",
                              "tramo13.bmp"};

/* What an earlier export of tramo1.txt left under that name: its report,
   or an image as pasadas-informe writes them (a file of the user's would
   not be replaced). */
std::string anterior(const std::string& nombre) {
  static std::string imagen;
  if (imagen.empty()) {
    CarpetaPropia otra;
    std::string salida, errores;
    ejecuta_orden("env -u DISPLAY " + std::string(PROGRAMA_INFORME) + " ejemplo previo.txt", &salida, &errores);
    imagen = lee_todo("previo1.bmp");
  }
  return nombre.compare(nombre.size() - 4, 4, ".bmp") == 0 ? imagen : INFORME_ANTERIOR;
}

/* The folder holds the names of the earlier export of tramo1.txt, and
   nothing else but the driver's own files. */
void solo_la_anterior(std::set<std::string> quedan) {
  quedan.erase(".captura.xwd");  // the driver's own
  quedan.erase(".salida_programa");
  EXPECT_EQ(quedan, std::set<std::string>(std::begin(TRAMO1), std::end(TRAMO1)));
}

// Regression: the close button did nothing in the direct mode's measure menu;
// it wrote a report cut after section 4 over the old one and waited on the
// closing message.
TEST_F(Programa, CloseButtonInTheMeasureMenuEndsTheProgramAndKeepsTheOldReport) {
  for (const char* f : TRAMO1) escribe_fichero(f, anterior(f));
  ASSERT_NO_FATAL_FAILURE(exporta_hasta_las_medidas("tramo1.txt"));
  cierra_ventana();
  EXPECT_EQ(espera_fin(), 0);
  for (const char* f : TRAMO1) EXPECT_EQ(lee_fichero(f), anterior(f)) << f;
  solo_la_anterior(ficheros_en(carpeta));
}

// The end of the desktop session (SIGTERM) while the export waits at the
// measures, its report half-written: all as it was, nothing hidden, said.
TEST_F(Programa, SigtermDuringTheExportKeepsTheEarlierReportAndSaysSo) {
  for (const char* f : TRAMO1) escribe_fichero(f, anterior(f));
  ASSERT_NO_FATAL_FAILURE(exporta_hasta_las_medidas("tramo1.txt"));
  kill(pid_programa, SIGTERM);
  EXPECT_EQ(espera_fin(), 143);
  for (const char* f : TRAMO1) EXPECT_EQ(lee_fichero(f), anterior(f)) << f;
  solo_la_anterior(ficheros_en(carpeta));
  EXPECT_NE(lee_fichero(".salida_programa")
                .find("pasadas: interrumpido: no se ha guardado nada; tramo1.txt y sus graficos "
                      "quedan como estaban\n"),
            std::string::npos)
      << lee_fichero(".salida_programa");
}
