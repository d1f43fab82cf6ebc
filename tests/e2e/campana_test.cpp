// A season's survey through pasadas-informe: the passes actually fished, and
// a table of reaches turned into every reach's report and the summary tables.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "informes.h"

namespace {

class Campana : public ::testing::Test {
 protected:
  void SetUp() override { carpeta.reset(new CarpetaPropia); }
  /* pasadas-informe with `argumentos`, no display; its exit status. */
  int informe(const std::string& argumentos) {
    return ejecuta_orden("env -u DISPLAY " + std::string(PROGRAMA_INFORME) + " " + argumentos,
                         &salida, &errores);
  }
  std::unique_ptr<CarpetaPropia> carpeta;
  std::string salida, errores;
};

/* A data file with classes: catch[p] fish in pass p + 1, of two classes. */
std::string muestra_por_pasadas(const std::vector<int>& captura) {
  std::string t = "Pasada Longitud Peso Clase\n";
  for (size_t p = 0; p < captura.size(); p++)
    for (int i = 0; i < captura[p]; i++)
      t += std::to_string(p + 1) + " " + std::to_string(10 + i % 7) + " " +
           std::to_string(12 + i % 5) + " " + std::to_string(i % 2) + "\n";
  return t;
}

/* The cells of the first report line that starts with `inicio`, after `seccion`. */
std::vector<std::string> fila(const std::string& texto, const std::string& seccion,
                              const std::string& inicio) {
  std::istringstream en(texto.substr(texto.rfind(seccion + "\n\n")));
  std::string linea, celda;
  std::vector<std::string> celdas;
  while (std::getline(en, linea))
    if (linea.compare(0, inicio.size(), inicio) == 0) {
      std::istringstream l(linea);
      while (std::getline(l, celda, '\t')) celdas.push_back(celda);
      break;
    }
  return celdas;
}

const char* const SECCION_4 = "4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)";

TEST_F(Campana, AFourPassSurveyWhoseLastPassCaughtNothingIsEstimatedOnFourPasses) {
  // Zippin's equation solved in double precision by bisection gives, for the
  // catch 44, 12, 1, 0: N 57.094, ES 0.320; taken as three passes, N 57.585, ES 0.896.
  escribe_todo("cuatro.dat", muestra_por_pasadas({44, 12, 1}));
  const struct {
    const char* opcion;
    double N, ES;
  } casos[] = {{"--pasadas 4 ", 57.094, 0.320}, {"", 57.585, 0.896}, {"--pasadas 3 ", 57.585, 0.896}};
  for (auto& c : casos) {
    SCOPED_TRACE(c.opcion);
    ASSERT_EQ(informe(std::string(c.opcion) + "cuatro.dat informe.txt"), 0) << errores;
    std::vector<std::string> total = fila(lee_todo("informe.txt"), SECCION_4, "Total\t");
    ASSERT_GE(total.size(), 7u);
    EXPECT_NEAR(std::stod(total[3]), c.N, 0.02);  // the search for q moves in steps of 0.00005
    EXPECT_NEAR(std::stod(total[6]), c.ES, 0.02);
  }
}

TEST_F(Campana, FewerPassesThanTheDataHoldAreRefusedAndNothingIsWritten) {
  escribe_todo("tres.dat", muestra_por_pasadas({20, 10, 5}));
  for (const char* opcion : {"--pasadas 2", "--pasadas=1"}) {
    SCOPED_TRACE(opcion);
    EXPECT_EQ(informe(std::string(opcion) + " tres.dat informe.txt"), 1);
    EXPECT_NE(errores.find("tres.dat tiene peces de la pasada 3"), std::string::npos) << errores;
    EXPECT_EQ(ficheros_en("."), std::set<std::string>{"tres.dat"});
  }
  for (const char* malo : {"0", "21", "2.5", "dos"}) {
    SCOPED_TRACE(malo);
    EXPECT_EQ(informe(std::string("--pasadas ") + malo + " tres.dat informe.txt"), 2);
    EXPECT_NE(errores.find("no es un numero de pasadas"), std::string::npos) << errores;
  }
}

}  // namespace
