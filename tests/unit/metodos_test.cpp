// The methods page quotes the example's figures from the program's report:
// every figure it sets in `backticks` must still be a cell of the example's
// report, so a change in a computation cannot leave the page behind.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "informes.h"

namespace {

/* Every tab- or line-separated cell of a report. */
std::set<std::string> celdas(const std::string& informe) {
  std::set<std::string> r;
  std::string celda;
  for (char c : informe) {
    if (c == '\t' || c == '\n') {
      r.insert(celda);
      celda.clear();
    } else {
      celda += c;
    }
  }
  r.insert(celda);
  return r;
}

}  // namespace

TEST(Metodos, EveryFigureQuotedIsInTheExampleReport) {
  std::string pagina = lee_todo(std::string(DIR_PRUEBAS) + "/../docs/metodos.md");
  std::set<std::string> informe = celdas(lee_todo(dato_prueba("informe_ejemplo_directo.txt")));
  ASSERT_FALSE(pagina.empty());
  ASSERT_GT(informe.size(), 100u);
  std::regex cifra("`(-?[0-9]+(\\.[0-9]+)?)`");
  int citadas = 0;
  for (std::sregex_iterator i(pagina.begin(), pagina.end(), cifra), fin; i != fin; ++i) {
    citadas++;
    EXPECT_TRUE(informe.count((*i)[1].str())) << (*i)[1].str() << " no esta en el informe";
  }
  EXPECT_GT(citadas, 40);  // the page still quotes the example at all
}
