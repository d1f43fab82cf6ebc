// The formula and parameter blocks of the fitted screens and their images,
// and the class labels of the graphs with the most classes: whatever our
// fonts measure, no two texts of a block touch. Every text the
// block draws is noted, drawn again alone, and the inks compared.
#include <functional>
#include <string>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "ejemplo_estimado.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

/* Ink of one noted text, drawn alone, as a set of pixels relative to (x0, y0). */
std::vector<bool> tinta(const texto_anotado& t, int x0, int y0, int w, int h) {
  BITMAP* b = create_bitmap(w, h);
  clear_to_color(b, makecol(255, 255, 255));
  texto(b, t.f, t.x - x0, t.y - y0, makecol(0, 0, 0), "%s", t.s);
  std::vector<bool> v((size_t)w * h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) v[(size_t)y * w + x] = getpixel(b, x, y) == makecol(0, 0, 0);
  destroy_bitmap(b);
  return v;
}

/* Whether the inks of two texts overlap or touch (8-neighbours). */
bool se_tocan(const texto_anotado& a, const texto_anotado& b) {
  int ax2 = a.x + ancho(a.f, a.s), ay2 = a.y + alto(a.f);
  int bx2 = b.x + ancho(b.f, b.s), by2 = b.y + alto(b.f);
  if (a.x > bx2 || b.x > ax2 || a.y > by2 || b.y > ay2) return false;
  int x0 = std::min(a.x, b.x) - 1, y0 = std::min(a.y, b.y) - 1;
  int w = std::max(ax2, bx2) - x0 + 2, h = std::max(ay2, by2) - y0 + 2;
  std::vector<bool> ta = tinta(a, x0, y0, w, h), tb = tinta(b, x0, y0, w, h);
  for (int y = 1; y < h - 1; y++)
    for (int x = 1; x < w - 1; x++)
      if (ta[(size_t)y * w + x])
        for (int dy = -1; dy <= 1; dy++)
          for (int dx = -1; dx <= 1; dx++)
            if (tb[(size_t)(y + dy) * w + x + dx]) return true;
  return false;
}

struct bloque {
  const char* nombre;
  int x1, y1, x2, y2;   /* the block on its target */
  bool en_imagen;       /* drawn into the returned bitmap, else on the screen */
};

class Textos : public Pantalla {
 protected:
  void SetUp() override {
    Pantalla::SetUp();
    estima_ejemplo(&e);
    registro = {notados, MAX_NOTADOS, 0};
  }
  /* Runs `dibuja` with the texts noted and checks every pair inside the block. */
  void comprueba(const bloque& z, const std::function<BITMAP*()>& dibuja) {
    registro.n = 0;
    anota_textos = &registro;
    BITMAP* b = dibuja();
    anota_textos = nullptr;
    BITMAP* destino = z.en_imagen ? b : screen;
    std::vector<const texto_anotado*> dentro;
    for (int i = 0; i < registro.n; i++) {
      const texto_anotado& t = notados[i];
      if (t.b == destino && t.s[0] && t.x >= z.x1 && t.y >= z.y1 &&
          t.x + ancho(t.f, t.s) <= z.x2 && t.y + alto(t.f) <= z.y2)
        dentro.push_back(&t);
    }
    EXPECT_GE(dentro.size(), 4u) << z.nombre;
    for (size_t i = 0; i < dentro.size(); i++)
      for (size_t j = i + 1; j < dentro.size(); j++)
        // a text drawn twice a pixel apart is thickened on purpose
        if (std::string(dentro[i]->s) != dentro[j]->s) {
          EXPECT_FALSE(se_tocan(*dentro[i], *dentro[j]))
              << z.nombre << ": \"" << dentro[i]->s << "\" y \"" << dentro[j]->s << "\"";
        }
    if (b) destroy_bitmap(b);
  }
  static const int MAX_NOTADOS = 400;
  texto_anotado notados[MAX_NOTADOS];
  registro_textos registro;
  ejemplo_estimado e;
};

}  // namespace

TEST_F(Textos, FormulaParameterAndClassLabelBlocksNeverTouch) {
  // the example, and class means whose coefficients run to many digits
  int clases_anchas[3] = {0, 1, 2};
  float medias_anchas[3] = {-981.5f, 9900.25f, -7300.75f};
  float predichas[10], edad0 = 0.5f;
  // two fish in each of 99 classes, the most the program holds
  int clases99[198];
  float longitudes99[198];
  for (int i = 0; i < 198; i++) {
    clases99[i] = i / 2;
    longitudes99[i] = 5 + i * 0.5f;
  }
  int cancela = 0;
  struct caso {
    bloque z;
    std::function<BITMAP*()> dibuja;
  } casos[] = {
      {{"polinomio, pantalla", 60, 440, 405, 565, false}, [&] {
         escribe("6\n\n");
         ajuste_polinomial(NUM_EJEMPLO, e.nclases, e.longitudes, e.clases);
         return (BITMAP*)nullptr; }},
      {{"polinomio ancho, pantalla", 60, 440, 560, 565, false}, [&] {
         escribe("0\n\n");
         ajuste_polinomial(3, 3, medias_anchas, clases_anchas);
         return (BITMAP*)nullptr; }},
      {{"polinomio, imagen 3", 0, 405, 541, 500, true}, [&] {
         return ajuste_polinomial_devuelve(NUM_EJEMPLO, e.nclases, e.longitudes, predichas,
                                           e.clases, &edad0); }},
      {{"polinomio ancho, imagen 3", 0, 405, 541, 500, true}, [&] {
         return ajuste_polinomial_devuelve(3, 3, medias_anchas, predichas, clases_anchas, &edad0); }},
      {{"von Bertalanffy, pantalla", 60, 440, 405, 565, false}, [&] {
         escribe("35\n6\n\n");
         von_bertalanffy(e.clases, e.longitudes, e.nclases, NUM_EJEMPLO);
         return (BITMAP*)nullptr; }},
      {{"von Bertalanffy, imagen 2", 0, 405, 541, 552, true}, [&] {
         Lmax1 = 35;
         mes0 = 6;
         return von_bertalanffy_devuelve(1, e.clases, e.longitudes, e.nclases, NUM_EJEMPLO,
                                         predichas, &edad0, &cancela); }},
      {{"peso-longitud, pantalla", 40, 400, 405, 560, false}, [&] {
         escribe("\n");
         relaciones_biometricas(e.longitudes, e.pesos, NUM_EJEMPLO);
         return (BITMAP*)nullptr; }},
      {{"peso-longitud, imagen 4", 0, 402, 541, 510, true}, [&] {
         return relaciones_biometricas_devuelve(e.longitudes, e.pesos, NUM_EJEMPLO); }},
      {{"densidad, cabecera", 70, 140, 930, 190, false}, [&] {
         escribe("\n120.5\n");
         pulsa(TECLA_ARRIBA);
         escribe("\n\n");
         densidad_de_poblacion(&e.medias, &e.poblacion);
         return (BITMAP*)nullptr; }},
      {{"frecuencias, 99 clases, pantalla", 410, 425, 945, 450, false}, [&] {
         escribe("\n");
         calculo_frecuencias(clases99, 198, 99);
         return (BITMAP*)nullptr; }},
      {{"frecuencias, 99 clases, imagen 1", 2, 372, 538, 400, true}, [&] {
         float fr[RANURAS];
         frecuencias_relativas(clases99, 198, 99, fr);
         return grafico_frecuencias(fr, 99); }},
      {{"polinomio, 99 clases, imagen 3", 2, 373, 538, 395, true}, [&] {
         return ajuste_polinomial_devuelve(198, 99, longitudes99, predichas, clases99, &edad0); }},
  };
  for (const caso& c : casos) comprueba(c.z, c.dibuja);
  EXPECT_EQ(teclas_pendientes(), 0);
}
