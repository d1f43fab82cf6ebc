// The density and biomass screen: the measure menu, the entry of each
// measure, the two result blocks and their scrolling.
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis.h"
#include "pantallas.h"
#include "ejemplo_estimado.h"
#include "export.h"
#include "informes.h"
#include "pantalla.h"
#include "sample.h"
#include "shell.h"

namespace {

/* Left edges of the sixteen columns and the right edge of the table. */
const int BORDES[17] = {70, 120, 170, 220, 270, 320, 370, 430, 490, 550,
                        600, 650, 700, 750, 810, 870, 930};
const int N_CLASES = 2, N_FRECUENCIAS = 9;  // first column of each block

int y_fila(int k) { return 160 + k * (alto(FUENTE_CABECERA) + 10); }

class Densidad : public Pantalla {
 protected:
  void SetUp() override {
    Pantalla::SetUp();
    Suptramo = Voltramo = mltramo = 0;
  }
  /* Is the cell of column c, row k filled with this colour? */
  bool celda_de_color(int c, int k, int r, int g, int b) {
    return color_en(BORDES[c] + 3, y_fila(k) + 3, r, g, b);
  }
  bool amarilla(int c, int k) { return celda_de_color(c, k, 255, 255, 153); }
  bool blanca(int c, int k) { return celda_de_color(c, k, 255, 255, 255); }
  /* Rightmost black pixel on the line of the measure prompt. */
  int fin_de_pregunta() {
    int y = SCREEN_H / 2 - 2 * alto(FUENTE_TITULO), fin = -1;
    for (int x = 300; x < SCREEN_W - 60; x++)
      if (cuenta_color(x, y, x, y + alto(FUENTE_TITULO) - 1, 0, 0, 0) > 0) fin = x;
    return fin;
  }
  int x_tras_superficie() {
    return 300 + ancho(FUENTE_TITULO, "Superficie del tramo (m") + ancho(FUENTE_PEQUENA, "2");
  }
  /* Queues a surface, then "Calcular". */
  void superficie_y_calcular(const char* valor) {
    escribe(std::string("\n") + valor + "\n");
    pulsa(TECLA_ARRIBA);
    escribe("\n");
  }
  /* The screen on a sample as the calculation menu opens it: its means and
     its estimate over the passes present. */
  void densidad(std::vector<int> clases, std::vector<int> pasadas, std::vector<float> pesos) {
    int n = (int)clases.size();
    std::vector<float> longitudes(n, 10);
    int nclases = numero_clases(clases.data(), n), k = calculo_pasadas(pasadas.data(), n);
    medias_muestra m = calcula_medias(clases.data(), longitudes.data(), pesos.data(), n, nclases);
    poblacion_muestra p = calcula_poblacion(clases.data(), pasadas.data(), n, nclases, k);
    densidad_de_poblacion(&m, &p);
  }
  void compara_con_el_informe(unsigned semilla, int cuantas, int min_clases, int max_clases);
  /* The screen on a sample of one fish of class 0+ in one pass. */
  void un_pez() { densidad({0}, {1}, {1}); }
  std::vector<int> tabla() {
    std::vector<int> p;
    for (int y = 100; y < 460; y++)
      for (int x = 60; x < 950; x++) p.push_back(getpixel(screen, x, y));
    return p;
  }
  /* The cell's text on screen is `esperado`, drawn on a cell of colour fondo. */
  bool celda_dice(int c, int k, const char* esperado, int fondo) {
    int y = y_fila(k) + 7, h0 = alto(FUENTE_CELDAS);
    BITMAP* b = create_bitmap(SCREEN_W, SCREEN_H);
    clear_to_color(b, fondo);
    texto_centrado(b, FUENTE_CELDAS, (BORDES[c] + BORDES[c + 1]) / 2, y, negro(), "%s", esperado);
    bool igual = true;
    for (int yy = y - 4; yy < y + h0 + 4; yy++)
      for (int x = BORDES[c] + 3; x < BORDES[c + 1] - 2; x++)
        igual = igual && getpixel(b, x, yy) == getpixel(screen, x, yy);
    destroy_bitmap(b);
    return igual;
  }
};

}  // namespace

TEST_F(Densidad, EntryKeepsTwoDecimalsIgnoresASecondPointAndStoresAPointlessSeven) {
  escribe("\n12.345\n");  // surface; the selection then returns to it
  pulsa(TECLA_ABAJO);
  escribe("\n1..5\n");    // volume
  pulsa(TECLA_ABAJO, 2);
  escribe("\n7.\n");      // length
  pulsa(TECLA_ESC);
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(Suptramo, 12.34f);
  EXPECT_FLOAT_EQ(Voltramo, 1.5f);
  EXPECT_FLOAT_EQ(mltramo, 7);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
}

// Regression: a decimal comma was ignored and 312,5 stored 3125.
TEST_F(Densidad, ADecimalCommaIsThePoint) {
  escribe("\n312,5\n");
  pulsa(TECLA_ABAJO);
  escribe("\n1,,25\n\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(Suptramo, 312.5f);
  EXPECT_FLOAT_EQ(Voltramo, 1.25f);
}

TEST_F(Densidad, SevenAndPointShowsSevenWithoutThePoint) {
  escribe("\n7.\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(Suptramo, 7);
  int fin = x_tras_superficie() + ancho(FUENTE_TITULO, "): 7");
  EXPECT_LE(fin_de_pregunta(), fin);
  EXPECT_GT(fin_de_pregunta(), x_tras_superficie() + ancho(FUENTE_TITULO, "): "));
}

TEST_F(Densidad, BackspaceClearsToTheBarePromptAndEnterThenStoresZero) {
  escribe("\n12.5\b\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(Suptramo, 0);
  EXPECT_LE(fin_de_pregunta(), x_tras_superficie() + ancho(FUENTE_TITULO, "):"));
  // regression: a key the field ignores left the bare prompt instead of echoing 0
  escribe("\nx\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_GT(fin_de_pregunta(), x_tras_superficie() + ancho(FUENTE_TITULO, "): "));
  EXPECT_LE(fin_de_pregunta(), x_tras_superficie() + ancho(FUENTE_TITULO, "): 0"));
  Suptramo = 9;
  escribe("\n12.5\b\n\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(Suptramo, 0);
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Densidad, SelectionIsBackOnSurfaceAfterTheLength) {
  pulsa(TECLA_ABAJO, 2);
  escribe("\n3\n\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(mltramo, 3);
  int h = alto(FUENTE_TITULO), y0 = SCREEN_H / 2 - 3 * h;
  EXPECT_GT(cuenta_color(300, y0, 700, y0 + h - 1, 65, 105, 225), 0);
  EXPECT_EQ(cuenta_color(300, y0 + 4 * h, 700, y0 + 5 * h - 1, 65, 105, 225), 0);
}

TEST_F(Densidad, MeasuresStartAtZeroOnTheScreenButNotForTheExport) {
  Suptramo = 5;
  escribe("\x1b");
  EXPECT_EQ(densidad_biomasa_devuelve(), 1);
  EXPECT_FLOAT_EQ(Suptramo, 5);
  escribe("\x1b");
  un_pez();
  EXPECT_FLOAT_EQ(Suptramo, 0);
}

// ---- Ways out ----

TEST_F(Densidad, EscInTheMenuInAnEntryAndOnTheResultsEndsTheProgram) {
  escribe("\x1b");
  un_pez();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);

  c_esc = 0;
  escribe("\n4\x1b");
  un_pez();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_FLOAT_EQ(Suptramo, 4);  // the value typed so far is kept
  EXPECT_EQ(teclas_pendientes(), 0);

  c_esc = 0;
  superficie_y_calcular("4");
  escribe("\x1b");
  un_pez();
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);

  c_esc = 0;
  superficie_y_calcular("4");
  escribe("\n");
  un_pez();
  EXPECT_EQ(c_esc, 0);  // ENTER on the results leaves the last key alone
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Densidad, AllMeasuresZeroSaysSoAndKeepsTheKey) {
  pulsa(TECLA_ARRIBA);
  escribe("\nx");
  un_pez();
  EXPECT_EQ(c_esc, tecla_de('x'));
  EXPECT_EQ(teclas_pendientes(), 0);
  int h0 = alto(FUENTE_CELDAS), w = ancho(FUENTE_CELDAS, "<El valor debe ser superior a 0>");
  EXPECT_GT(cuenta_color(500 - w / 2, 300, 500 + w / 2, 300 + h0, 255, 0, 0), 20);
  EXPECT_EQ(cuenta_color(70, 150, 930, 250, 255, 255, 255), 0);  // no table
}

TEST_F(Densidad, OnePassShadesEveryNonEmptyClassInBothBlocks) {
  superficie_y_calcular("2");
  escribe("\n");
  densidad({0, 0, 2}, {1, 1, 1}, {1, 2, 3});
  for (int c = 0; c < 7; c++) {
    EXPECT_TRUE(amarilla(N_CLASES + c, 1)) << c;
    EXPECT_TRUE(amarilla(N_FRECUENCIAS + c, 1)) << c;
    EXPECT_TRUE(blanca(N_CLASES + c, 2)) << c;  // class 1+ has no fish
    EXPECT_TRUE(amarilla(N_CLASES + c, 3)) << c;
    EXPECT_TRUE(amarilla(N_FRECUENCIAS + c, 3)) << c;
    EXPECT_TRUE(amarilla(N_CLASES + c, 5)) << c;  // totals, two rows below the last class
    EXPECT_TRUE(amarilla(N_FRECUENCIAS + c, 5)) << c;
  }
  EXPECT_TRUE(blanca(0, 1) && blanca(1, 1) && blanca(0, 5) && blanca(1, 5));
  EXPECT_TRUE(celda_dice(N_CLASES, 1, "2", makecol(255, 255, 153)));
  EXPECT_FALSE(celda_dice(N_CLASES, 1, "3", makecol(255, 255, 153)));
  EXPECT_TRUE(celda_dice(N_CLASES, 5, "3", makecol(255, 255, 153)));
  EXPECT_TRUE(celda_dice(N_FRECUENCIAS + 5, 5, "3.00", makecol(255, 255, 153)));  // 6 g / 2 m2
  EXPECT_TRUE(celda_dice(N_FRECUENCIAS + 4, 5, "-", makecol(255, 255, 153)));
}

TEST_F(Densidad, NineClassesScrollThreeTimesAndThenStop) {
  std::vector<int> clases(9), pasadas(9, 1);
  std::vector<float> pesos(9);
  for (int j = 0; j < 9; j++) {
    clases[j] = j;
    pesos[j] = 10.0f * (j + 1);
  }
  std::vector<int> paginas[5];
  for (int bajadas = 0; bajadas <= 4; bajadas++) {
    superficie_y_calcular("2");
    pulsa(TECLA_ABAJO, bajadas);
    escribe("\n");
    densidad(clases, pasadas, pesos);
    EXPECT_EQ(teclas_pendientes(), 0);
    paginas[bajadas] = tabla();
    int h1 = alto(FUENTE_CABECERA);
    EXPECT_EQ(color_en(940, 7 * h1 + 212, 0, 0, 0), bajadas > 0) << bajadas;
    EXPECT_EQ(color_en(940, 7 * h1 + 223, 0, 0, 0), bajadas < 3) << bajadas;
  }
  for (int b = 1; b <= 3; b++) EXPECT_NE(paginas[b], paginas[b - 1]) << b;
  EXPECT_EQ(paginas[4], paginas[3]);
  EXPECT_TRUE(celda_dice(0, 1, "3+", makecol(255, 255, 255)));
  EXPECT_TRUE(celda_dice(0, 6, "8+", makecol(255, 255, 255)));
}

// ---- The built-in example, measured: surface 120.5 m2, volume 48.5 m3, 25 m ----
//
// Worked out by a separate script with single-precision arithmetic (the
// same figures come out in double precision):
//   catches per pass 0+: 5 5 3, 1+: 5 4 2, 2+: 3 2 1, 3+ and 4+: 2 1 1, all 17 13 8;
//   N 25.85, 15.34, 7.58, 5.85, 5.85, whole 57.27; the classes add to 60.46, so
//   of 26 16 8 6 6 one unit comes off 1+ (smallest fraction): 26 15 8 6 6 = 61;
//   by frequencies 58 * (13 11 6 4 4) / 38 = 19.84 16.79 9.16 6.11 6.11,
//   rounded up 20 17 10 7 7 and brought down to 58: 20 17 9 6 6;
//   mean weights 3.41, 9.57, 32.31, 66.11, 106.26 g.
/* By block (by classes, by frequencies), class rows and the total. */
const char* const EJEMPLO[2][6][7] = {
   {{"26", "0.54", "0.22", "1.04", "0.84", "0.34", "1.63"},
    {"15", "0.31", "0.12", "0.60", "3.59", "1.44", "6.96"},
    {"8", "0.16", "0.07", "0.32", "6.46", "2.60", "12.52"},
    {"6", "0.12", "0.05", "0.24", "9.91", "3.99", "19.23"},
    {"6", "0.12", "0.05", "0.24", "15.93", "6.41", "30.90"},
    {"61", "1.26", "0.51", "2.44", "36.73", "14.78", "71.25"}},
   {{"20", "0.41", "0.17", "0.80", "0.65", "0.26", "1.25"},
    {"17", "0.35", "0.14", "0.68", "4.07", "1.64", "7.89"},
    {"9", "0.19", "0.07", "0.36", "7.26", "2.92", "14.09"},
    {"6", "0.12", "0.05", "0.24", "9.91", "3.99", "19.23"},
    {"6", "0.12", "0.05", "0.24", "15.93", "6.41", "30.90"},
    {"58", "1.20", "0.48", "2.32", "37.82", "15.22", "73.37"}}};

TEST_F(Densidad, ExampleShowsItsEstimatesOnWhiteCells) {
  ejemplo_estimado e;
  estima_ejemplo(&e);
  escribe("\n120.5\n");
  pulsa(TECLA_ABAJO);
  escribe("\n48.5\n");
  pulsa(TECLA_ABAJO, 2);
  escribe("\n25\n");
  pulsa(TECLA_ARRIBA);
  escribe("\n\n");
  densidad_de_poblacion(&e.medias, &e.poblacion);
  EXPECT_EQ(teclas_pendientes(), 0);
  for (int k : {1, 2, 3, 4, 5, 7})
    for (int c = N_CLASES; c < 16; c++) EXPECT_TRUE(blanca(c, k)) << k << " " << c;
  // regression: a grey strip under every row read as a doubled rule
  for (int k : {1, 2, 3, 4})
    for (int c = 0; c < 16; c++)
      EXPECT_TRUE(color_en(BORDES[c] + 3, y_fila(k + 1) - 1, 255, 255, 255)) << k << " " << c;
  const int fondo = makecol(255, 255, 255);
  EXPECT_TRUE(celda_dice(0, 5, "4+", fondo));
  EXPECT_TRUE(celda_dice(1, 1, "0.34", fondo));
  EXPECT_TRUE(celda_dice(N_FRECUENCIAS + 2, 2, "0.14", fondo));
  // every figure of both blocks, worked out by hand (below); the total row is row 7
  for (int b = 0; b < 2; b++)
    for (int j = 0; j <= 5; j++)
      for (int c = 0; c < 7; c++)
        EXPECT_TRUE(celda_dice((b ? N_FRECUENCIAS : N_CLASES) + c, j < 5 ? j + 1 : 7, EJEMPLO[b][j][c],
                               fondo)) << b << " " << j << " " << c;
}

TEST_F(Densidad, OnlySurfaceLeavesDashesUnderVolumeAndLength) {
  superficie_y_calcular("4");
  escribe("\n");
  densidad({0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1}, {1, 2, 2, 2, 3, 3});  // 6 fish, 13 g
  const char* const esperadas[7] = {"6", "-", "1.50", "-", "-", "3.25", "-"};
  for (int c = 0; c < 7; c++)
    EXPECT_TRUE(celda_dice(N_CLASES + c, 1, esperadas[c], makecol(255, 255, 153))) << c;
}

// Regression: a biomass that overflowed single precision was printed as "inf".
TEST_F(Densidad, BiomassBeyondFloatRangeShowsADash) {
  superficie_y_calcular("0.5");
  escribe("\n");
  densidad({0, 0}, {1, 1}, {1.5e38f, 1.5e38f});
  const char* const esperadas[7] = {"2", "-", "4.00", "-", "-", "-", "-"};
  for (int c = 0; c < 7; c++)
    EXPECT_TRUE(celda_dice(N_CLASES + c, 1, esperadas[c], makecol(255, 255, 153))) << c;
}

// ---- The screen prints the report's figures ----

namespace {

/* The cells of a block by row label ("0+", ..., "Total"): its N, three
   densities and three biomasses, as text. */
typedef std::map<std::string, std::vector<std::string>> celdas_bloque;
struct bloques {
  celdas_bloque clases, frecuencias;
};

/* A reach fished in passes: some classes (an empty one now and then), one
   to four passes with fewer fish in each, heavy fish weighed to
   the hundredth of a gram, and one to three measures with two decimals. */
struct muestra_generada {
  std::vector<int> pasadas, clases;
  std::vector<float> longitudes, pesos;
  float medidas[3];  /* surface, volume, length; 0 for one not given */
};

muestra_generada genera(std::mt19937& azar, int min_clases, int max_clases) {
  muestra_generada g;
  int nclases = min_clases + (int)(azar() % (max_clases - min_clases + 1));
  int k = 1 + (int)(azar() % 4), n = 1 + (int)(azar() % 300);
  for (int i = 0; i < n; i++) {
    int pasada = 1;
    while (pasada < k && azar() % 100 < 45) pasada++;
    g.pasadas.push_back(pasada);
    g.clases.push_back((int)(azar() % nclases));
    g.longitudes.push_back((float)(200 + azar() % 5800) / 100);
    g.pesos.push_back((float)(50 + azar() % 250000) / 100);
  }
  for (float& m : g.medidas) m = azar() % 4 == 0 ? 0 : (float)(1 + azar() % 9999) / 100;
  if (g.medidas[0] == 0 && g.medidas[1] == 0 && g.medidas[2] == 0) g.medidas[0] = 7.5f;
  return g;
}

/* The lines of section `titulo` of a report: cells 1 to 7 by label. */
celdas_bloque seccion(const std::string& informe, const std::string& titulo) {
  celdas_bloque r;
  size_t desde = informe.rfind(titulo + "\n\n");
  if (desde == std::string::npos) return r;
  std::istringstream lineas(informe.substr(desde));
  std::string linea;
  for (int i = 0; i < 3; i++) std::getline(lineas, linea);  // title, blank, column titles
  int blancas = 0;
  while (blancas < 2 && std::getline(lineas, linea)) {  // a section ends in two blank lines
    std::vector<std::string> celdas;
    std::istringstream c(linea);
    for (std::string celda; std::getline(c, celda, '\t');) celdas.push_back(celda);
    blancas = linea.empty() ? blancas + 1 : 0;
    if (celdas.size() >= 8) r[celdas[0]] = std::vector<std::string>(celdas.begin() + 1, celdas.begin() + 8);
  }
  return r;
}

}  // namespace

/* Sections 6 and 7 of the sample's report, written with the measures the
   screen left. */
static bloques del_informe(muestra_generada& g) {
  informe inf;
  pasos_informe hasta_8 = {1, nullptr, nullptr, 0};
  hasta_8.medidas[0] = Voltramo, hasta_8.medidas[1] = Suptramo, hasta_8.medidas[2] = mltramo;
  EXPECT_EQ(informe_abre(&inf, "m.txt"), INFORME_ABIERTO);
  EXPECT_EQ(escribe_informe(&inf, g.pasadas.data(), g.longitudes.data(), g.pesos.data(),
                            g.clases.data(), (int)g.clases.size(), &hasta_8), INFORME_HASTA_8);
  EXPECT_TRUE(informe_cierra(&inf));
  std::string texto = lee_todo("m.txt");
  return {seccion(texto, "6. Biomasa y densidades estimadas por clases"),
          seccion(texto, "7. Biomasa y densidades estimadas por frecuencias")};
}

/* Both blocks as the pages showed them, from the texts they drew: a row's
   label comes first, then its cells, each placed by its centre. */
static bloques de_la_pantalla(const texto_anotado* notados, int n) {
  const int paso = alto(FUENTE_CABECERA) + 10;
  bloques b;
  std::map<int, std::string> etiqueta;  // by page row
  for (const texto_anotado* t = notados; t < notados + n; t++) {
    int k = (t->y - y_fila(0) - 7) / paso, centro = t->x + ancho(t->f, t->s) / 2, c = -1;
    if (t->b != screen || t->f != FUENTE_CELDAS || t->y != y_fila(k) + 7 || k < 1 || k > 8) continue;
    for (int i = 0; i < 16; i++)
      if (centro > BORDES[i] && centro < BORDES[i + 1]) c = i;
    if (c == 0) etiqueta[k] = t->s;
    if (c < N_CLASES || !etiqueta.count(k)) continue;
    int primera = c < N_FRECUENCIAS ? N_CLASES : N_FRECUENCIAS;
    std::vector<std::string>& fila = (c < N_FRECUENCIAS ? b.clases : b.frecuencias)[etiqueta[k]];
    fila.resize(7);
    fila[c - primera] = t->s;
  }
  return b;
}

/* Runs the screen and writes the report of `cuantas` samples of
   min_clases..max_clases classes; fails on every cell that differs. */
void Densidad::compara_con_el_informe(unsigned semilla, int cuantas, int min_clases, int max_clases) {
  CarpetaPropia carpeta;
  std::mt19937 azar(semilla);
  std::vector<texto_anotado> notados(6000);
  registro_textos registro = {notados.data(), (int)notados.size(), 0};
  int distintas = 0, comparadas = 0;
  for (int s = 0; s < cuantas; s++) {
    muestra_generada g = genera(azar, min_clases, max_clases);
    int nclases = numero_clases(g.clases.data(), (int)g.clases.size());
    for (int i = 0; i < 3; i++) {
      if (g.medidas[i] == 0) continue;
      char v[16];
      snprintf(v, sizeof v, "%.2f", g.medidas[i]);
      pulsa(TECLA_ABAJO, i);  // the selection is back on the surface after each
      escribe(std::string("\n") + v + "\n");
    }
    pulsa(TECLA_ARRIBA);
    escribe("\n");                                     // "Calcular"
    pulsa(TECLA_ABAJO, nclases > 6 ? nclases - 6 : 0);  // every class row on a page
    escribe("\n");
    registro.n = 0;
    anota_textos = &registro;
    densidad(g.clases, g.pasadas, g.pesos);
    anota_textos = nullptr;
    ASSERT_EQ(teclas_pendientes(), 0) << "muestra " << s;
    ASSERT_LT(registro.n, registro.capacidad);
    bloques pantalla = de_la_pantalla(notados.data(), registro.n), informe = del_informe(g);
    ASSERT_EQ(informe.clases.size(), (size_t)nclases + 1) << "muestra " << s;
    ASSERT_EQ(informe.frecuencias.size(), (size_t)nclases + 1) << "muestra " << s;
    EXPECT_EQ(pantalla.clases.size(), informe.clases.size()) << "muestra " << s;
    EXPECT_EQ(pantalla.frecuencias.size(), informe.frecuencias.size()) << "muestra " << s;
    for (int por_frecuencias = 0; por_frecuencias < 2; por_frecuencias++)
      for (auto& fila : por_frecuencias ? informe.frecuencias : informe.clases) {
        std::vector<std::string> vista = (por_frecuencias ? pantalla.frecuencias : pantalla.clases)[fila.first];
        vista.resize(7, "(nada)");
        for (int c = 0; c < 7; c++, comparadas++)
          if (vista[c] != fila.second[c] && ++distintas <= 10)
            ADD_FAILURE() << "muestra " << s << ", fila " << fila.first << ", celda " << c
                          << (por_frecuencias ? " por frecuencias" : " por clases") << ": pantalla "
                          << vista[c] << ", informe " << fila.second[c];
      }
  }
  EXPECT_EQ(distintas, 0) << "de " << comparadas << " celdas";
  EXPECT_GT(comparadas, cuantas * 2 * 2 * 7);  // at least a class and the total in both blocks
}

TEST_F(Densidad, EveryFigureOfAPageIsTheReportsOnGeneratedSamples) {
  compara_con_el_informe(20261207, 125, 1, 6);
}

TEST_F(Densidad, EveryFigureOfTheScrolledPagesIsTheReportsOnGeneratedSamples) {
  compara_con_el_informe(20261208, 125, 7, 9);
}
