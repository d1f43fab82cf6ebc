// The Debian package end to end: its programs as unpacked from the .deb,
// with datas.dat only where the package puts it, in usr/share/pasadas.
#include <sys/wait.h>

#include <string>

#include "conductor.h"
#include "informes.h"

namespace {

const unsigned GRIS = 0xe6e6e6, NEGRO = 0x000000;

TEST(Paquete, UnpackedReportCommandWritesTheExampleGoldenReportInAnyFolder) {
  CarpetaPropia carpeta;
  std::string orden = std::string("env -u DISPLAY ") + PROGRAMA_INFORME +
                      " --superficie 250 --volumen 125.5 --metros 50 --linf 32 --meses 6"
                      " ejemplo tramo1.txt >salida.out 2>&1";
  int estado = system(orden.c_str());
  ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << lee_todo("salida.out");
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"),
                               lee_todo(dato_prueba("informe_ejemplo_directo.txt"))),
            "");
  comprueba_imagenes_tramo1(".");
}

TEST_F(Programa, UnpackedWindowProgramReachesTheLoadMenuAndLeaves) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return"});
  ASSERT_TRUE(espera_color(500, 5, GRIS));  // the load menu's framed page
  EXPECT_TRUE(espera_color(500, 34, NEGRO));
  teclas({"Up", "Return"});  // "Salir"
  EXPECT_EQ(espera_fin(), 0);
}

}  // namespace
