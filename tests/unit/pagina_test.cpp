// The page's own pieces that a browser cannot judge: the data files'
// fingerprints, the escaping of the user's texts and the charts' round ticks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "pagina.h"

/* FIPS 180-4's examples, each fed in pieces of every size up to 130 bytes:
   a block boundary falls anywhere in them. */
TEST(Huella, DaLosEjemplosDeLaNormaSeaCualSeaElTrozo) {
  const struct {
    std::string mensaje;
    const char* huella;
  } ejemplos[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& e : ejemplos)
    for (size_t trozo = 1; trozo <= 130; trozo += e.mensaje.size() > 1000 ? 43 : 1) {
      huella s;
      huella_empieza(&s);
      for (size_t i = 0; i < e.mensaje.size(); i += trozo)
        huella_anade(&s, e.mensaje.data() + i, std::min(trozo, e.mensaje.size() - i));
      ASSERT_EQ(huella_termina(&s), e.huella) << e.mensaje.size() << " bytes en trozos de " << trozo;
    }
}

/* A cell of the user's never becomes markup: what the page holds, read
   back as a browser reads entities, is the cell (control codes as '?'). */
TEST(EscapaHtml, NingunaCeldaSeVuelveMarcado) {
  const char* const celdas[] = {"<script>alert(1)</script>", "\"><img src=x onerror=alert(1)>", "a & b",
                                "'; --", "T\xc3\xad" "o \xc3\x91" "ora", "l\xc3\xadnea\ncon\tcontrol\x7f",
                                "&amp;", "</table>", ""};
  for (const char* c : celdas) {
    std::string e = escapa_html(c);
    EXPECT_EQ(e.find_first_of("<>\"'\n\t\x7f"), std::string::npos) << e;
    std::string leido;
    for (size_t i = 0; i < e.size();) {
      const char* const entidades[][2] = {{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}};
      bool entidad = false;
      for (const auto& en : entidades)
        if (e.compare(i, strlen(en[0]), en[0]) == 0) {
          leido += en[1], i += strlen(en[0]), entidad = true;
          break;
        }
      if (!entidad) leido += e[i++];
    }
    std::string esperado = c;
    for (char& x : esperado)
      if ((unsigned char)x < 0x20 || x == 0x7f) x = '?';
    EXPECT_EQ(leido, esperado);
  }
  EXPECT_EQ(enlace_de("T 1/<a>\xc3\xb1.html"), "T%201%2F%3Ca%3E%C3%B1.html");
}

/* Over maxima of every size, the ticks are 1, 2 or 5 times a power of ten,
   reach the maximum and are about as many as asked. */
TEST(PasoRedondo, MarcasRedondasQueLleganAlMaximo) {
  std::mt19937 azar(7);
  std::uniform_real_distribution<double> exponente(-4, 6);
  for (int prueba = 0; prueba < 5000; prueba++) {
    double maximo = std::pow(10.0, exponente(azar));
    int marcas = 2 + prueba % 8, n;
    double paso = paso_redondo(maximo, marcas, &n);
    double mantisa = paso / std::pow(10.0, std::floor(std::log10(paso) + 1e-12));
    EXPECT_TRUE(std::fabs(mantisa - 1) < 1e-9 || std::fabs(mantisa - 2) < 1e-9 || std::fabs(mantisa - 5) < 1e-9)
        << maximo << " da el paso " << paso;
    EXPECT_GE(paso * n * (1 + 1e-9), maximo);
    EXPECT_LT(paso * (n - 1), maximo);
    EXPECT_LE(n, marcas);
    EXPECT_GE(n, marcas / 3);
  }
  int n;
  EXPECT_EQ(paso_redondo(0, 5, &n), 1);  // a chart of nothing still has an axis
  EXPECT_EQ(n, 1);
}
