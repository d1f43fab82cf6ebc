// Workbooks read by pasadas-informe: the example's fish kept in an .xlsx and
// an .ods as a person keeps them (a sheet of reaches and species with dates,
// a formula, numbers shown rounded, and a second sheet) give the example's
// golden report byte for byte, alone and in a season whose table of
// reaches is itself a workbook.
#include <gtest/gtest.h>

#include <string>

#include "informes.h"
#include "libros.h"

namespace {

const char* const OPCIONES_DIRECTAS = "--superficie 250 --volumen 125.5 --metros 50 --linf 32 --meses 6";

class Libros : public OrdenInforme, public ::testing::WithParamInterface<const char*> {
 protected:
  /* The example's fish as the workbook of the test's kind, named peces.xlsx or peces.ods. */
  std::string libro_de_peces() {
    std::string nombre = std::string("peces.") + GetParam();
    auto hojas = hojas_de_peces(peces_de(std::string(DIR_DATOS) + "/ejemplo.txt"));
    bool escrito = ods() ? escribe_ods(nombre, hojas) : escribe_xlsx(nombre, hojas, false);
    EXPECT_TRUE(escrito) << nombre;
    return nombre;
  }
  bool ods() const { return std::string(GetParam()) == "ods"; }
  std::string golden() { return lee_todo(dato_prueba("informe_ejemplo_directo.txt")); }
};

TEST_P(Libros, TheReachAndSpeciesOfTheFirstSheetGiveTheGoldenReport) {
  std::string libro = libro_de_peces();
  ASSERT_EQ(informe(std::string(OPCIONES_DIRECTAS) + " --tramo '" + TRAMO_LIBRO + "' --especie trucha " + libro +
                    " tramo1.txt"),
            0)
      << errores;
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden()), "");
  comprueba_imagenes_tramo1(".");
  EXPECT_NE(salida.find("peces leidos: 38 (pasada 1: 17, pasada 2: 13, pasada 3: 8)\n"), std::string::npos)
      << salida;
}

TEST_P(Libros, TheSheetAskedByNameGivesTheGoldenReport) {
  std::string libro = libro_de_peces();
  ASSERT_EQ(informe(std::string(OPCIONES_DIRECTAS) + " --hoja Solo " + libro + " tramo1.txt"), 0) << errores;
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"), golden()), "");
  ASSERT_EQ(informe("--comprobar --hoja Solo " + libro), 0) << errores;
  EXPECT_NE(salida.find(ods() ? "Tipo: libro de LibreOffice (.ods), hoja con cabecera\n"
                              : "Tipo: libro de Excel (.xlsx), hoja con cabecera\n"),
            std::string::npos)
      << salida;
}

TEST_P(Libros, ASeasonWhoseTableOfReachesIsAWorkbookGivesTheGoldenReport) {
  std::string libro = libro_de_peces();
  // the table's texts inline in its cells, where the fish's sheet shares them
  hoja_libro tramos{"Tramos",
                    {{texto_libro("Tramo"), texto_libro("Especie"), texto_libro("Fichero"),
                      texto_libro("Superficie"), texto_libro("Volumen"), texto_libro("Metros"), texto_libro("Linf"),
                      texto_libro("Meses")},
                     {texto_libro(TRAMO_LIBRO), texto_libro("trucha"), texto_libro(libro), numero_libro("250"),
                      numero_libro("125.5"),
                      // metres worked out in the sheet, kept to the last bit
                      numero_libro("50.000000000000007"), numero_libro("32"), numero_libro("6")},
                     // a second reach of the same workbook: the season reads it once for both
                     {texto_libro("T02"), texto_libro("trucha"), texto_libro(libro)}}};
  hoja_libro antes{"Notas", {{texto_libro("Campa\xc3\xb1" "a de 2024")}}};
  std::string tabla = std::string("tramos.") + GetParam();
  ASSERT_TRUE(ods() ? escribe_ods(tabla, {antes, tramos}) : escribe_xlsx(tabla, {antes, tramos}, true));
  informe("--tramos " + tabla + " --hoja Tramos --carpeta campana");
  EXPECT_NE(errores.find("[2/2] T02 / trucha: "), std::string::npos) << errores;
  std::string hecho = lee_todo("campana/" + std::string(TRAMO_LIBRO) + "_trucha.txt");
  EXPECT_EQ(primera_diferencia(hecho, golden()), "");
}

INSTANTIATE_TEST_SUITE_P(XlsxYOds, Libros, ::testing::Values("xlsx", "ods"));

}  // namespace
