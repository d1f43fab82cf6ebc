// pasadas-informe --diagnostico: the second opinion beside Zippin's estimates
// on standard output, nothing written. The golden table was worked out apart
// from the program by tools/diagnostico_esperado.py.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "informes.h"

namespace {

class Diagnostico : public ::testing::Test {
 protected:
  int ejecuta(const std::string& argumentos) {
    return ejecuta_orden(std::string("env -u DISPLAY ") + PROGRAMA_INFORME + " " + argumentos,
                         &salida, &errores);
  }
  /* Every cell of the table: nothing a C library prints for a non-number. */
  bool solo_cifras_legibles() const {
    std::string celda;
    for (char c : salida + "\n") {
      if (c != '\t' && c != '\n') {
        celda += c;
        continue;
      }
      for (const char* mala : {"nan", "-nan", "inf", "-inf"})
        if (celda == mala) return false;
      celda.clear();
    }
    return true;
  }

  CarpetaPropia carpeta;
  std::string salida, errores;
};

}  // namespace

// The example, and groups near what the methods can stand behind: Schnute
// profiles that rise for ever, fish all in the first pass, large catches that
// hardly fall (the report's Zippin far from its root).
TEST_F(Diagnostico, TablesAreTheIndependentCalculationsAndNothingIsWritten) {
  escribe_todo("cerca_del_limite.txt", lee_todo(dato_prueba("cerca_del_limite.txt")));
  for (std::string datos : {"ejemplo", "cerca_del_limite.txt"}) {
    SCOPED_TRACE(datos);
    ASSERT_EQ(ejecuta("--diagnostico " + datos), 0) << errores;
    std::string esperada = datos == "ejemplo" ? "diagnostico_ejemplo.txt" : "diagnostico_" + datos;
    EXPECT_EQ(primera_diferencia(salida, lee_todo(dato_prueba(esperada))), "");
    EXPECT_EQ(errores, "");
  }
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"cerca_del_limite.txt"});
}

TEST_F(Diagnostico, GroupsWithoutEstimateAreNamedInWordsWithoutNonNumbers) {
  const struct {
    const char* datos;
    const char* dice;  // the state of one of its groups, in the table and in the legend
  } casos[] = {
      {"total_fallido.txt", "capturas que no decrecen"},
      {"dos_fallidas.txt", "capturas que no decrecen"},
      {"un_pez.txt", "un solo pez"},
      {"una_pasada.txt", "menos de 2 pasadas con peces"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.datos);
    ASSERT_EQ(ejecuta("--diagnostico " + dato_prueba(caso.datos)), 0) << errores;
    EXPECT_NE(salida.find(std::string("\t") + caso.dice + "\t"), std::string::npos) << salida;
    EXPECT_NE(salida.find(std::string("  ") + caso.dice + ": "), std::string::npos) << salida;
    EXPECT_TRUE(solo_cifras_legibles()) << salida;
  }
  EXPECT_TRUE(ficheros_en(".").empty());
}

TEST_F(Diagnostico, TheFileNameReachesTheTerminalWithoutItsControlCodes) {
  escribe_todo("a\x1b[2Jb.txt", lee_todo(dato_prueba("un_pez.txt")));
  ASSERT_EQ(ejecuta("'a\x1b[2Jb.txt' --diagnostico"), 0) << errores;
  EXPECT_EQ(salida.rfind("Fichero: a?[2Jb.txt\n", 0), 0u) << salida;
}

TEST_F(Diagnostico, RefusalsNameWhatIsWrongAndPrintNoTable) {
  const struct {
    std::string argumentos;
    int estado;
    const char* dice;
  } casos[] = {
      {"--diagnostico ejemplo otro.txt", 2, "sobra el argumento 'otro.txt' (uso: pasadas-informe "
                                            "--diagnostico DATOS)"},
      {"--diagnostico --comprobar ejemplo", 2, "--comprobar y --diagnostico no van juntos"},
      {"--diagnostico --pasadas 2 " + dato_prueba("sin_fallos.txt"), 1, "--pasadas 2:"},
      {"--diagnostico no_existe.txt", 1, "no_existe.txt: no se puede abrir"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.argumentos);
    EXPECT_EQ(ejecuta(caso.argumentos), caso.estado);
    EXPECT_NE(errores.find(caso.dice), std::string::npos) << errores;
    EXPECT_EQ(salida, "");
  }
}
