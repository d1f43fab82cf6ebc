// The real program on a Spanish desktop (LANG=es_ES.UTF-8), where the C
// library reads and writes "27,4": files loaded by "Cargar datos con clases
// de edad", measures typed with a decimal comma or point, and an export
// whose report and images are byte for byte those of pasadas-informe run in
// the C locale on the same file and values.
#include <unistd.h>

#include <clocale>
#include <fstream>
#include <string>
#include <vector>

#include "conductor.h"
#include "informes.h"

namespace {

/* The values of an export, as typed in the window and given to pasadas-informe. */
struct Tecleado {
  const char* superficie;
  const char* volumen;
  const char* metros;
  const char* linf;
  const char* meses;
};

/* The records of the shipped ejemplo.txt, one string per field. */
struct Registro {
  std::string pasada, longitud, peso, clase;
};
std::vector<Registro> registros_ejemplo() {
  std::ifstream en(std::string(DIR_DATOS) + "/ejemplo.txt");
  std::string cabecera;
  std::getline(en, cabecera);
  std::vector<Registro> r;
  Registro x;
  while (en >> x.pasada >> x.longitud >> x.peso >> x.clase) r.push_back(x);
  return r;
}

std::string con_coma(std::string s) {
  size_t punto = s.find('.');
  if (punto != std::string::npos) s[punto] = ',';
  return s;
}

class EscritorioEspanol : public Programa {
 protected:
  void SetUp() override {
    Programa::SetUp();
    // Without the locale installed the program would run in the C locale and
    // the test would prove nothing.
    bool hay = setlocale(LC_ALL, "es_ES.UTF-8") != nullptr;
    setlocale(LC_ALL, "C");
    ASSERT_TRUE(hay) << "no hay locale es_ES.UTF-8: bash tools/preparar.sh lo genera";
    locale_programa = "es_ES.UTF-8";
  }

  /* Loads `datos` of the scratch folder, exports it directly as
     informe.txt with the values typed, ends the program and compares its
     five files with pasadas-informe's in the C locale. */
  void exporta_y_compara(const std::string& datos, const Tecleado& v) {
    ASSERT_NO_FATAL_FAILURE(arranca());
    teclas({"Return", "Return", "Return"});  // "Cargar datos con clases de edad"
    ASSERT_TRUE(espera_color(60, 300, 0xe6e6e6));
    teclea(datos);
    teclas({"Return"});
    ASSERT_TRUE(espera_color(150, 165, 0xd9d9d9)) << "the file is not loaded";
    teclas({"Return", "Down", "Down", "Down", "Down", "Down", "Down", "Return"});  // "Exportar"
    teclea("informe.txt");
    teclas({"Return", "Down", "Return", "Return"});  // "directamente", the surface
    teclea(v.superficie);
    teclas({"Return", "Down", "Return"});
    teclea(v.volumen);
    teclas({"Return", "Down", "Down", "Return"});
    teclea(v.metros);
    teclas({"Return", "Down", "Down", "Down", "Return"});  // "Calcular"
    teclea(v.linf);
    teclas({"Return"});
    teclea(v.meses);
    teclas({"Return"});
    for (int i = 0; i < 100 && !existe("informe.txt"); i++) usleep(100000);
    ASSERT_TRUE(existe("informe.txt"));
    teclas({"x", "Escape"});  // the closing message, then the calculation menu
    EXPECT_EQ(espera_fin(), 0);

    std::string lote = carpeta + "/lote";
    std::string orden = "mkdir '" + lote + "' && cd '" + lote + "' && env -u DISPLAY LC_ALL=C " +
                        "LANG=C " + PROGRAMA_INFORME + " --superficie " + v.superficie +
                        " --volumen " + v.volumen + " --metros " + v.metros + " --linf " +
                        v.linf + " --meses " + v.meses + " ../" + datos + " informe.txt >/dev/null";
    ASSERT_EQ(system(orden.c_str()), 0) << orden;
    std::string informe = lee_fichero("informe.txt");
    EXPECT_EQ(primera_diferencia(informe, lee_todo(lote + "/informe.txt")), "");
    // the first fish of every file is 27.4 cm long, and no cell of a report holds a comma
    EXPECT_NE(informe.find("\n1\t27.40\t"), std::string::npos);
    EXPECT_EQ(informe.find(','), std::string::npos);
    for (const char* f : {"informe4.bmp", "informe2.bmp", "informe1.bmp", "informe3.bmp"})
      EXPECT_TRUE(lee_todo(lote + "/" + f) == lee_fichero(f)) << f;
  }
};

}  // namespace

// Regression: the package's own example was refused ("0.88": se espera un
// numero mayor que 0) on a Spanish desktop.
TEST_F(EscritorioEspanol, ShippedExampleFileExportsAsTheBatchCommandDoes) {
  copia_dato("ejemplo.txt");
  exporta_y_compara("ejemplo.txt", {"312,5", "125.5", "50,25", "32,5", "6"});
}

// Regression: a spreadsheet table with decimal commas was refused the same way.
TEST_F(EscritorioEspanol, SpreadsheetTableWithDecimalCommasExportsAsTheBatchCommandDoes) {
  std::string tabla = "Pasada;Longitud;Peso;Clase\r\n";
  for (const Registro& r : registros_ejemplo())
    tabla += r.pasada + ";" + con_coma(r.longitud) + ";" + con_coma(r.peso) + ";" + r.clase + "\r\n";
  escribe_fichero("tabla.csv", tabla);
  exporta_y_compara("tabla.csv", {"250.75", "98,4", "40", "31.25", "5,5"});
}

// Regression: a file without values under 1 loaded silently with every
// length and weight cut at the point (27.4 cm read as 27).
TEST_F(EscritorioEspanol, FileOfValuesAboveOneExportsAsTheBatchCommandDoes) {
  std::string texto = "Pasada Longitud Peso Clase\n";
  for (const Registro& r : registros_ejemplo())
    if (std::stof(r.peso) > 1) texto += r.pasada + " " + r.longitud + " " + r.peso + " " + r.clase + "\n";
  escribe_fichero("mayores.txt", texto);
  exporta_y_compara("mayores.txt", {"180", "72,5", "36.5", "30", "7.25"});
}
