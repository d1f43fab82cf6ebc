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

// ---- Workbooks too large for the season: refused by name, the other reaches written ----

class LibrosGrandes : public OrdenInforme {
 protected:
  /* An .xlsx of one sheet whose shared strings and rows after the header are these. */
  static void escribe_hoja(const std::string& nombre, const std::string& textos, const std::string& filas) {
    const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    ASSERT_TRUE(escribe_zip(
        nombre,
        {{"xl/workbook.xml", "<workbook " + ns + " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/"
                             "2006/relationships\"><sheets><sheet name=\"H\" sheetId=\"1\" r:id=\"rId1\"/>"
                             "</sheets></workbook>"},
         {"xl/_rels/workbook.xml.rels",
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
         {"xl/sharedStrings.xml", "<sst " + ns + "><si><t>Pasada</t></si><si><t>Longitud</t></si>"
                                  "<si><t>Peso</t></si>" + textos + "</sst>"},
         {"xl/worksheets/sheet1.xml",
          "<worksheet " + ns + "><sheetData><row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c>"
                               "<c t=\"s\"><v>2</v></c></row>" + filas + "</sheetData></worksheet>"}}));
  }
  static std::string repite(const std::string& texto, size_t veces) {
    std::string r;
    r.reserve(texto.size() * veces);
    for (size_t i = 0; i < veces; i++) r += texto;
    return r;
  }
  /* The season of tabla.csv in folder c, as a shell starts it under these limits (ulimit's words). */
  int campana_limitada(const std::string& limites) {
    return ejecuta_orden("env -u DISPLAY timeout 120 sh -c 'ulimit " + limites + " && exec " + PROGRAMA_INFORME +
                             " --hilos 1 --tramos tabla.csv --carpeta c'",
                         &salida, &errores);
  }
};

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)  // their shadow memory takes terabytes
// Regression: a workbook that unpacks to more than the memory left ended
// the season with an uncaught bad_alloc, no summary and no file named.
TEST_F(LibrosGrandes, AWorkbookPastTheMemoryLeftIsRefusedByNameAndTheSeasonGoesOn) {
  escribe_todo("ejemplo.txt", lee_todo(std::string(DIR_DATOS) + "/ejemplo.txt"));
  // Within every bound, but a 66 MB table: more than a 160 MB process has left.
  escribe_hoja("grande.xlsx", "<si><t>" + std::string(60000, 'a') + "</t></si>",
               repite("<row><c t=\"s\"><v>3</v></c></row>", 1100));
  // Past the bound: millions of elements nested, from a zip of some kilobytes.
  escribe_hoja("hondo.xlsx", "", repite("<x>", 3000000));
  escribe_todo("tabla.csv", "Tramo;Fichero;Superficie\nT1;grande.xlsx;250\nT2;hondo.xlsx;250\nT3;ejemplo.txt;250\n");
  EXPECT_EQ(campana_limitada("-v 160000"), 1) << errores;
  EXPECT_NE(errores.find("T1: error: fila 2: grande.xlsx: No hay memoria para leer el libro\n"), std::string::npos)
      << errores;
  EXPECT_NE(errores.find("T2: error: fila 3: hondo.xlsx: Leer su XML pide mas de 4 MB de memoria\n"),
            std::string::npos)
      << errores;
  EXPECT_NE(salida.find("Tramos: 3, con informe: 1\nResumen: "), std::string::npos) << salida;
  EXPECT_EQ(ficheros_en("c").count("T3.txt"), 1u);
  EXPECT_EQ(ficheros_en("c").count("resumen.xlsx"), 1u);
}
#endif

// Regression: a refused workbook named in many rows was read about twice a
// row (24 s against 0.93 s). Read once, it fits a processor-time limit that
// forty readings would not.
TEST_F(LibrosGrandes, AWorkbookRefusedOnceIsRefusedForEveryRowWithoutReadingItAgain) {
  escribe_hoja("espacios.xlsx", "", std::string(260 << 20, ' '));  // more XML than a sheet may have
  std::string tabla = "Tramo;Fichero\n";
  for (int i = 1; i <= 20; i++) tabla += "T" + std::to_string(i) + ";espacios.xlsx\n";
  escribe_todo("tabla.csv", tabla);
  EXPECT_EQ(campana_limitada("-t 30"), 1) << errores;
  for (int i = 1; i <= 20; i++)
    EXPECT_NE(errores.find("T" + std::to_string(i) + ": error: fila " + std::to_string(i + 1) +
                           ": espacios.xlsx: La hoja ocupa mas de 256 MB de XML\n"),
              std::string::npos)
        << errores;
}

}  // namespace
