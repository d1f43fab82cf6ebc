// The pages of a season's summary picture, over generated seasons: every
// reach on exactly one page of its species, in the table's order, no page
// over the limit, and the pages of a species as even as they can be.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include "resumen.h"

TEST(PaginasResumen, EveryReachIsOnOnePageOfItsSpeciesInOrderAndNoPageIsOverfull) {
  std::mt19937 azar(2026);
  for (int caso = 0; caso < 300; caso++) {
    int n = caso < 4 ? std::vector<int>{1, 40, 41, MAX_TRAMOS}[caso] : (int)(azar() % MAX_TRAMOS) + 1;
    int especies = 1 + (int)(azar() % 12);
    std::vector<int> grupos(n);
    for (int& g : grupos) g = 100 + (int)(azar() % especies);  // any number names a group
    std::vector<pagina_resumen> paginas(MAX_PAGINAS_RESUMEN);
    int total = paginas_resumen(grupos.data(), n, paginas.data(), MAX_PAGINAS_RESUMEN);
    ASSERT_LE(total, MAX_PAGINAS_RESUMEN) << caso;  // at most 25 + 12 here
    paginas.resize(total);
    // Each group's reaches, in the table's order, against the pages' spans.
    std::map<int, int> cuantos;
    std::vector<int> orden;  // groups as they first appear
    for (int g : grupos)
      if (cuantos[g]++ == 0) orden.push_back(g);
    size_t p = 0;
    for (int g : orden) {
      SCOPED_TRACE(testing::Message() << "caso " << caso << ", grupo " << g);
      int de = (cuantos[g] + TRAMOS_POR_PAGINA - 1) / TRAMOS_POR_PAGINA, siguiente = 0;
      int menor = TRAMOS_POR_PAGINA, mayor = 0;
      for (int k = 1; k <= de; k++, p++) {
        ASSERT_LT(p, paginas.size());
        const pagina_resumen& q = paginas[p];
        EXPECT_EQ(q.grupo, g);
        EXPECT_EQ(q.numero, k);
        EXPECT_EQ(q.de, de);
        EXPECT_EQ(q.total, cuantos[g]);
        EXPECT_EQ(q.primera, siguiente);
        EXPECT_GE(q.n, 1);
        EXPECT_LE(q.n, TRAMOS_POR_PAGINA);
        siguiente = q.primera + q.n;
        menor = std::min(menor, q.n), mayor = std::max(mayor, q.n);
      }
      EXPECT_EQ(siguiente, cuantos[g]);
      EXPECT_LE(mayor - menor, 1);
    }
    EXPECT_EQ(p, paginas.size());
  }
  // More pages than room: the count says so, and only the room is written.
  std::vector<int> grupos(MAX_TRAMOS);
  for (int i = 0; i < MAX_TRAMOS; i++) grupos[i] = i % 300;
  pagina_resumen pocas[3] = {};
  pocas[2].grupo = -7;
  EXPECT_EQ(paginas_resumen(grupos.data(), MAX_TRAMOS, pocas, 2), 300);
  EXPECT_EQ(pocas[1].grupo, 1);
  EXPECT_EQ(pocas[2].grupo, -7);
}
