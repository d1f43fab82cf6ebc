// The report writer without a window: whole reports byte for byte against
// golden files, the image names and sizes, where a give-up cuts the report,
// and what a failure leaves behind.
//
// The golden reports in tests/datos were made with tools/informe_esperado.py,
// which works every figure out apart from the program, emulating single
// precision after each operation:
//   informe_ejemplo_directo.txt  --superficie 250 --volumen 125.5 --metros 50 --linf 32 --meses 6
//   informe_ejemplo_previo.txt   (no option: nothing measured, no Linf ever given)
//   informe_<muestra>.txt        --datos datos/<muestra>.txt --hasta 8
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <cstring>
#include <memory>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis.h"
#include "export.h"
#include "informes.h"
#include "sample.h"
#include "sin_ventana.h"

namespace {

const pasos_informe p_completo = {1, nullptr, nullptr, 1};

/* Allegro and datas.dat, loaded before the sample's folder is entered:
   datas.dat lies in the build folder. */
struct ConAllegro {
  ConAllegro() {
    prepara_allegro_sin_ventana();
    // The export variants draw their pages on the screen: give them an unseen one.
    if (!screen) screen = create_bitmap(1000, 600);
  }
};

class Informe : public ::testing::Test, protected ConAllegro, protected MuestraDeInforme {
 protected:
  /* Writes the report `nombre` of the current sample; the writer's result. */
  int exporta(const char* nombre, pasos_informe p = {1, nullptr, nullptr, 1}) {
    informe inf;
    if (informe_abre(&inf, nombre) != INFORME_ABIERTO) return -100;
    int r = escribe_informe(&inf, pasadas, longitudes, pesos, clases, n, &p);
    return informe_cierra(&inf) ? r : -200;
  }
  void muestra(const char* fichero) { n = carga_prueba(fichero, pasadas, longitudes, pesos, clases); }
};

TEST_F(Informe, ExampleWithMeasuresLinfAndMonthsMatchesGolden) {
  pasos_informe p = p_completo;
  p.medidas[0] = 125.5f, p.medidas[1] = 250, p.medidas[2] = 50;  // volume, surface, length
  p.linf = 32, p.meses = 6;  // what the direct mode's entries give the growth fit
  ASSERT_EQ(exporta("tramo1.txt", p), INFORME_COMPLETO);
  EXPECT_EQ(primera_diferencia(lee_todo("tramo1.txt"),
                               lee_todo(dato_prueba("informe_ejemplo_directo.txt"))),
            "");
}

TEST_F(Informe, ExampleWithoutMeasuresOrLinfHasDashesAndNoGrowthFit) {
  ASSERT_EQ(exporta("previo.txt"), INFORME_COMPLETO);
  std::string informe = lee_todo("previo.txt");
  EXPECT_EQ(primera_diferencia(informe, lee_todo(dato_prueba("informe_ejemplo_previo.txt"))), "");
  EXPECT_NE(informe.find("Total\t38\t-\t-\t-\t-\t-\t-\t\n"), std::string::npos);
  EXPECT_NE(informe.find("9+\t-\t\n\nPar\xe1metros:\nLinf:\t-\n"), std::string::npos);
}

TEST_F(Informe, EverySectionOfTheEdgeSamplesMatchesItsGolden) {
  // no failed class; two failed classes; a failed whole sample (two passes);
  // a class of one fish beside an empty class; a single pass
  for (const char* m : {"sin_fallos", "dos_fallidas", "total_fallido", "un_pez", "una_pasada"}) {
    SCOPED_TRACE(m);
    muestra((std::string(m) + ".txt").c_str());
    ASSERT_GT(n, 0);
    pasos_informe sin_crecimiento = {1, nullptr, nullptr, 0};
    ASSERT_EQ(exporta("m.txt", sin_crecimiento), INFORME_HASTA_8);
    EXPECT_EQ(primera_diferencia(lee_todo("m.txt"),
                                 lee_todo(dato_prueba(std::string("informe_") + m + ".txt"))),
              "");
    EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"m.txt", "m4.bmp"}));
  }
}

TEST_F(Informe, ImageNamesTakeTheStemBeforeTheFirstPoint) {
  ASSERT_EQ(exporta("abc"), INFORME_COMPLETO);
  ASSERT_EQ(exporta("tramo1.txt.bak"), INFORME_COMPLETO);
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"abc", "4.bmp", "2.bmp", "1.bmp", "3.bmp",
                                                     "tramo1.txt.bak", "tramo14.bmp", "tramo12.bmp",
                                                     "tramo11.bmp", "tramo13.bmp"}));
}

TEST_F(Informe, ImagesHaveTheirGraphsSizes) {
  ASSERT_EQ(exporta("tramo1.txt"), INFORME_COMPLETO);
  comprueba_imagenes_tramo1(".");
}

informe* en_curso = nullptr;
std::string escrito_en_pausa;
int pausas = 0;
int pausa_espia() {
  fflush(en_curso->f);
  escrito_en_pausa = lee_todo("/proc/self/fd/" + std::to_string(fileno(en_curso->f)));
  pausas++;
  return 0;
}

TEST_F(Informe, SinglePassSamplePausesOnceRightBeforeSectionThree) {
  muestra("una_pasada.txt");
  static informe inf;
  en_curso = &inf;
  pausas = 0;
  pasos_informe p = {1, pausa_espia, nullptr, 0};
  ASSERT_EQ(informe_abre(&inf, "p.txt"), INFORME_ABIERTO);
  escribe_informe(&inf, pasadas, longitudes, pesos, clases, n, &p);
  ASSERT_TRUE(informe_cierra(&inf));
  EXPECT_EQ(pausas, 1);
  EXPECT_EQ(escrito_en_pausa,
            hasta_seccion(lee_todo("p.txt"), "3. C\xe1lculo poblacional por clases (con y sin redondeo)"));

  copia_ejemplo(pasadas, longitudes, pesos, clases);  // three passes: no pause
  n = NUM_EJEMPLO;
  ASSERT_EQ(exporta("q.txt", p), INFORME_HASTA_8);
  EXPECT_EQ(pausas, 1);
}

int renuncia(float*) { return 1; }

TEST_F(Informe, GivingUpTheMeasuresEndsAfterSectionFourWithoutImages) {
  pasos_informe p = {2, nullptr, renuncia, 1};
  ASSERT_EQ(exporta("corto.txt", p), INFORME_HASTA_4);
  std::string completo = lee_todo(dato_prueba("informe_ejemplo_previo.txt"));
  EXPECT_EQ(primera_diferencia(lee_todo("corto.txt"), hasta_seccion(completo, SECCION_5)), "");
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"corto.txt"});
}

TEST_F(Informe, WithoutGrowthTheReportEndsAfterSectionEightWithImageFour) {
  pasos_informe p = {1, nullptr, nullptr, 0};
  ASSERT_EQ(exporta("ocho.txt", p), INFORME_HASTA_8);
  std::string completo = lee_todo(dato_prueba("informe_ejemplo_previo.txt"));
  EXPECT_EQ(primera_diferencia(lee_todo("ocho.txt"), hasta_seccion(completo, SECCION_9)), "");
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"ocho.txt", "ocho4.bmp"}));
}

// A von Bertalanffy fit from another sample, whose Linf is below this
// sample's longest fish, must not be printed as if it were this sample's.
TEST_F(Informe, StaleGrowthFitIsNotReportedForThisSample) {
  pasos_informe p = p_completo;
  p.linf = 20;  // the earlier fit's; the longest fish here is 29.5 cm
  ASSERT_EQ(exporta("viejo.txt", p), INFORME_COMPLETO);
  std::string informe = lee_todo("viejo.txt");
  EXPECT_NE(informe.find("0+\t-\t\n1+\t-\t\n"), std::string::npos);
  EXPECT_NE(informe.find("Linf:\t-\nk:\t-\nt0:\t-\nr^2:\t-\n"), std::string::npos);
}

TEST_F(Informe, UndefinedFitsPrintDashesNeverNan) {
  for (int i = 0; i < n; i++) longitudes[i] = 10, clases[i] = 0;  // one length, one class
  pasos_informe p = p_completo;
  p.linf = 12;
  ASSERT_EQ(exporta("plano.txt", p), INFORME_COMPLETO);
  std::string informe = lee_todo("plano.txt");
  EXPECT_NE(informe.find("a:\t-\nb:\t-\nr^2:\t-\n"), std::string::npos);
  EXPECT_NE(informe.find("k:\t-\nt0:\t-\nr^2:\t-\n"), std::string::npos);
  EXPECT_NE(informe.find("B0:\t-\nB1:\t-\nB2:\t-\nr^2:\t-\n"), std::string::npos);
  std::replace(informe.begin(), informe.end(), '\n', '\t');
  std::istringstream celdas(informe);
  for (std::string celda; std::getline(celdas, celda, '\t');)
    for (const char* malo : {"nan", "-nan", "inf", "-inf"}) EXPECT_NE(celda, malo);
}

// Regression: a by-frequency share of a large sample near the bound overflowed (negative Nj).
TEST_F(Informe, ByFrequencySharesOfALargeSampleNearTheBoundAreNotOverflowed) {
  // 10000 fish in two passes, 5011 then 4989 (R = 0.4989, just under 0.5):
  // class 0+ is 5001 + 4979 fish of 10.5 cm, class 1+ 10 + 10 of 20.5 cm.
  // tools/informe_esperado.py on this sample gives the whole-sample ceil(N) =
  // 858486 and ceil(1.96 ES) = 4624575, so for 0+ the Nj cell is
  // f32(f32(858486 * 9980) / 10000) = 856769.00 and the upper limit
  // f32(f32(f32(4624575 * 9980) / 10000) + 856769) = 5472094.50: both products
  // are past the range of an int.
  n = 0;
  for (int pasada = 1; pasada <= 2; pasada++)
    for (int clase = 0; clase < 2; clase++) {
      int cuantos = clase ? 10 : pasada == 1 ? 5001 : 4979;
      for (int i = 0; i < cuantos; i++, n++) {
        pasadas[n] = pasada, clases[n] = clase;
        longitudes[n] = clase ? 20.5f : 10.5f, pesos[n] = clase ? 90.25f : 12.25f;
      }
    }
  ASSERT_EQ(exporta("grande.txt", {1, nullptr, nullptr, 0}), INFORME_HASTA_8);
  std::string informe = lee_todo("grande.txt");
  EXPECT_NE(informe.find("\n0+\t-\t-\t856769.00\t0.998\t-\t-\t9980\t5472094.50\t\t856769\t0.998\t-\t-"
                         "\t9980\t5472095\n"),
            std::string::npos);
}

// ---- Failures: nothing the user had is lost, nothing half-written is left ----

/* An earlier export's files in the folder: a report and its images. */
const std::string INFORME_ANTERIOR = std::string(PRIMERA_LINEA_INFORME) + "\n\ninforme anterior\n";
void deja_exportacion_anterior(const char* raiz) {
  escribe_todo(std::string(raiz) + ".txt", INFORME_ANTERIOR);
  for (int d = 1; d <= 4; d++) escribe_todo(raiz + std::to_string(d) + ".bmp", imagen_anterior());
}
void comprueba_exportacion_anterior(const char* raiz) {
  EXPECT_EQ(lee_todo(std::string(raiz) + ".txt"), INFORME_ANTERIOR);
  for (int d = 1; d <= 4; d++)
    EXPECT_EQ(lee_todo(raiz + std::to_string(d) + ".bmp"), imagen_anterior()) << d;
}
const std::set<std::string> ANTERIOR = {"tramo.txt", "tramo1.bmp", "tramo2.bmp", "tramo3.bmp",
                                        "tramo4.bmp"};

TEST_F(Informe, AFailedWriteKeepsTheOldFilesAndLeavesNothingNew) {
  deja_exportacion_anterior("tramo");
  informe inf;
  ASSERT_EQ(informe_abre(&inf, "tramo.txt"), INFORME_ABIERTO);
  ASSERT_NE(freopen("/dev/full", "w", inf.f), nullptr);  // a disk with no room left
  escribe_informe(&inf, pasadas, longitudes, pesos, clases, n, &p_completo);
  EXPECT_FALSE(informe_cierra(&inf));
  EXPECT_STREQ(inf.fallido, "tramo.txt");
  comprueba_exportacion_anterior("tramo");
  EXPECT_EQ(ficheros_en("."), ANTERIOR);
}

// The report and its four images take their names together or not at all.
TEST_F(Informe, AnImageThatCannotTakeItsNameKeepsEveryOldFile) {
  deja_exportacion_anterior("tramo");
  informe inf;
  ASSERT_EQ(informe_abre(&inf, "tramo.txt"), INFORME_ABIERTO);
  ASSERT_EQ(remove("tramo2.bmp"), 0);
  ASSERT_EQ(mkdir("tramo2.bmp", 0755), 0);  // a folder now stands where image 2 goes
  EXPECT_EQ(escribe_informe(&inf, pasadas, longitudes, pesos, clases, n, &p_completo),
            INFORME_COMPLETO);
  EXPECT_FALSE(informe_cierra(&inf));
  EXPECT_STREQ(inf.fallido, "tramo2.bmp");
  EXPECT_EQ(lee_todo("tramo.txt"), INFORME_ANTERIOR);
  for (int d : {1, 3, 4}) EXPECT_EQ(lee_todo("tramo" + std::to_string(d) + ".bmp"), imagen_anterior());
  EXPECT_EQ(ficheros_en("."), ANTERIOR);
  EXPECT_TRUE(ficheros_en("tramo2.bmp").empty());

  // Already at the start: refused before anything is written, the image named.
  EXPECT_EQ(informe_abre(&inf, "tramo.txt"), INFORME_NO_CREADO);
  EXPECT_STREQ(inf.fallido, "tramo2.bmp");
  // A graph that could not be drawn spoils the export just as well.
  ASSERT_EQ(informe_abre(&inf, "otro.txt"), INFORME_ABIERTO);
  EXPECT_FALSE(informe_guarda_imagen(&inf, nullptr, 4));
  EXPECT_FALSE(informe_cierra(&inf));
  EXPECT_STREQ(inf.fallido, "otro4.bmp");
  EXPECT_EQ(ficheros_en("."), ANTERIOR);
}

TEST_F(Informe, DiscardingLeavesTheOldFilesUntouched) {
  deja_exportacion_anterior("tramo");
  informe inf;
  ASSERT_EQ(informe_abre(&inf, "tramo.txt"), INFORME_ABIERTO);
  ASSERT_TRUE(informe_guarda_imagen(&inf, create_bitmap(8, 8), 4));
  EXPECT_EQ(ficheros_en("."), ANTERIOR);  // the files on their way have no names yet
  informe_descarta(&inf);
  comprueba_exportacion_anterior("tramo");
  EXPECT_EQ(ficheros_en("."), ANTERIOR);
}

// The export replaces only reports: never the resource file, a data file or
// anything else that does not start as a report does.
TEST_F(Informe, OnlyAnEarlierReportOrAnEmptyFileIsReplaced) {
  escribe_todo("datos.txt", "Pasada Longitud Peso Clase\n1 27.4 103.41 4\n");
  escribe_todo("notas.txt", std::string(PRIMERA_LINEA_INFORME) + " y algo mas\n");
  escribe_todo("corto.txt", std::string(PRIMERA_LINEA_INFORME).substr(0, 20));
  escribe_todo("vacio.txt", "");
  escribe_todo("viejo.txt", INFORME_ANTERIOR);
  ASSERT_EQ(mkdir("sub", 0755), 0);
  informe inf;
  for (const char* ajeno : {"datas.dat", "sub/datas.dat", "datos.txt", "notas.txt", "corto.txt"}) {
    SCOPED_TRACE(ajeno);
    EXPECT_EQ(informe_abre(&inf, ajeno), INFORME_AJENO);
  }
  for (const char* admitido : {"vacio.txt", "viejo.txt", "nuevo.txt"}) {
    SCOPED_TRACE(admitido);
    ASSERT_EQ(informe_abre(&inf, admitido), INFORME_ABIERTO);
    informe_descarta(&inf);
  }
  EXPECT_EQ(ficheros_en("."), (std::set<std::string>{"datos.txt", "notas.txt", "corto.txt",
                                                     "vacio.txt", "viejo.txt", "sub"}));
  EXPECT_EQ(lee_todo("viejo.txt"), INFORME_ANTERIOR);
}

TEST_F(Informe, NamesThatCannotBeCreatedAreRefusedBeforeAnythingIsWritten) {
  ASSERT_EQ(mkdir("carpeta", 0755), 0);
  informe inf;
  EXPECT_EQ(informe_abre(&inf, ""), INFORME_NO_CREADO);
  EXPECT_EQ(informe_abre(&inf, "carpeta"), INFORME_NO_CREADO);
  EXPECT_EQ(informe_abre(&inf, "no_hay/tramo.txt"), INFORME_NO_CREADO);
  EXPECT_EQ(ficheros_en("."), std::set<std::string>{"carpeta"});
  EXPECT_TRUE(ficheros_en("carpeta").empty());
}

TEST_F(Informe, NameWhoseImageNamesWouldNotFitIsRefusedNotCut) {
  informe inf;
  std::string raiz(106, 'a');  // image names of 111 characters: they fit
  ASSERT_EQ(informe_abre(&inf, (raiz + ".txt").c_str()), INFORME_ABIERTO);
  char imagen[CAPACIDAD_RUTA];
  nombre_imagen(&inf, 4, imagen, sizeof imagen);
  EXPECT_EQ(std::string(imagen), raiz + "4.bmp");
  informe_descarta(&inf);
  EXPECT_EQ(informe_abre(&inf, (raiz + "a.txt").c_str()), INFORME_NOMBRE_LARGO);
  EXPECT_EQ(informe_abre(&inf, std::string(164, 'b').c_str()), INFORME_NOMBRE_LARGO);
  EXPECT_EQ(informe_abre(&inf, std::string(163, 'b').c_str()), INFORME_ABIERTO);
  informe_descarta(&inf);
  EXPECT_TRUE(ficheros_en(".").empty());
}

/* A sample of its own, or the table to read it from, and the report's
   inputs, for a report written in a thread. */
struct PeticionDeHilo {
  std::vector<int> pasadas = std::vector<int>(MAX_PECES), clases = std::vector<int>(MAX_PECES);
  std::vector<float> longitudes = std::vector<float>(MAX_PECES), pesos = std::vector<float>(MAX_PECES);
  int n = 0;
  std::string tabla;  /* read first when not empty */
  pasos_informe pasos = {1, nullptr, nullptr, 1};
};

/* Writes the report `nombre` (and its images in both formats); the writer's result. */
static int escribe_en_hilo(PeticionDeHilo* q, const std::string& nombre) {
  if (!q->tabla.empty()) {
    FILE* f = fopen(q->tabla.c_str(), "r");
    if (!f) return -300;
    std::unique_ptr<descripcion_datos> d(new descripcion_datos());
    char mensaje[LARGO_MENSAJE_LECTURA];
    q->n = lee_muestra_descrita(f, 1, nullptr, d.get(), q->pasadas.data(), q->longitudes.data(),
                                q->pesos.data(), q->clases.data(), mensaje, sizeof mensaje);
    fclose(f);
    if (q->n <= 0) return -400;
  }
  std::unique_ptr<informe> inf(new informe());
  if (informe_abre(inf.get(), nombre.c_str(), IMAGENES_AMBAS) != INFORME_ABIERTO) return -100;
  int r = escribe_informe(inf.get(), q->pasadas.data(), q->longitudes.data(), q->pesos.data(),
                          q->clases.data(), q->n, &q->pasos);
  return informe_cierra(inf.get()) ? r : -200;
}

// Reports of different reaches may be written side by side: neither reads
// what the other computes, draws or writes.
TEST_F(Informe, TwoReportsWrittenAtOnceAreThoseWrittenOneAfterTheOther) {
  PeticionDeHilo a, b;
  copia_ejemplo(a.pasadas.data(), a.longitudes.data(), a.pesos.data(), a.clases.data());
  a.n = NUM_EJEMPLO;
  a.pasos.medidas[0] = 125.5f, a.pasos.medidas[1] = 250, a.pasos.medidas[2] = 50;
  a.pasos.linf = 32, a.pasos.meses = 6;
  b.n = carga_prueba("dos_fallidas.txt", b.pasadas.data(), b.longitudes.data(), b.pesos.data(),
                     b.clases.data());
  ASSERT_GT(b.n, 0);
  std::string tabla = "Pasada;Longitud (cm);Peso (g);Clase\n";  // read again in each thread
  for (int i = 0; i < b.n; i++) {
    char fila[96];
    snprintf(fila, sizeof fila, "%d;%.2f;%.2f;%d\n", b.pasadas[i], b.longitudes[i], b.pesos[i],
             b.clases[i]);
    tabla += fila;
  }
  std::replace(tabla.begin(), tabla.end(), '.', ',');
  escribe_todo("b.csv", tabla);
  b.tabla = "b.csv";
  b.pasos.medidas[1] = 80;
  b.pasos.linf = 60, b.pasos.meses = 3;
  ASSERT_EQ(escribe_en_hilo(&a, "solo_a.txt"), INFORME_COMPLETO);
  ASSERT_EQ(escribe_en_hilo(&b, "solo_b.txt"), INFORME_COMPLETO);
  std::map<std::string, std::string> solos = contenido_de(".");
  for (int vuelta = 0; vuelta < 3; vuelta++) {
    SCOPED_TRACE(vuelta);
    int ra = -1, rb = -1;
    std::thread ha([&] { ra = escribe_en_hilo(&a, "hilo_a.txt"); });
    std::thread hb([&] { rb = escribe_en_hilo(&b, "hilo_b.txt"); });
    ha.join();
    hb.join();
    ASSERT_EQ(ra, INFORME_COMPLETO);
    ASSERT_EQ(rb, INFORME_COMPLETO);
    std::map<std::string, std::string> juntos = contenido_de(".");
    for (const auto& f : solos) {
      if (f.first.compare(0, 5, "solo_") != 0) continue;
      std::string gemelo = "hilo_" + f.first.substr(5);
      ASSERT_EQ(juntos.count(gemelo), 1u) << gemelo;
      EXPECT_TRUE(juntos[gemelo] == f.second) << gemelo;
    }
  }
  EXPECT_NE(solos["solo_a.txt"], solos["solo_b.txt"]);
  EXPECT_EQ(solos.size(), 1u + 2 * 9);  // the table, each report, its four BMP and its four PNG
}

TEST_F(Informe, MoreClassesThanTheEstimatorHoldsWritesNothing) {
  clases[0] = MAX_CLASES;  // a hundredth class
  informe inf;
  ASSERT_EQ(informe_abre(&inf, "x.txt"), INFORME_ABIERTO);
  pasos_informe p = {1, nullptr, nullptr, 1};
  EXPECT_EQ(escribe_informe(&inf, pasadas, longitudes, pesos, clases, n, &p),
            INFORME_FUERA_DE_LIMITES);
  informe_descarta(&inf);
  EXPECT_TRUE(ficheros_en(".").empty());
}

}  // namespace

// The report's figures are printed without printf, which is slow at the
// limits: they must still be the very digits "%.Nf" gives, over a million
// figures of every size, the ties of binary fractions (0.125, 2.0625) and
// the negative ones that round to zero.
TEST(CifrasDelInforme, AreThoseOfPrintfOverAMillionFigures) {
  std::mt19937_64 azar(20261208);
  std::uniform_int_distribution<uint32_t> bits;
  std::uniform_int_distribution<int> decimales(2, 4), entero(-2000000, 2000000);
  char nuestra[400], suya[400];
  int distintas = 0;
  for (int i = 0; i < 1000000 && distintas < 5; i++) {
    double v;
    switch (i % 4) {
      case 0: {  // any finite float the sample or a fit may hold
        uint32_t b = bits(azar);
        float f;
        memcpy(&f, &b, sizeof f);
        v = std::isfinite(f) ? f : 0.5f;
        break;
      }
      case 1: v = entero(azar) / 16.0; break;  // ties at every number of decimals asked
      case 2: v = entero(azar) / 1000.0; break;  // what a table of figures holds
      default: v = (float)(entero(azar) * 1e-5); break;
    }
    int d = decimales(azar);
    int largo = texto_cifra(nuestra, sizeof nuestra, v, d);
    snprintf(suya, sizeof suya, "%.*f", d, v);
    if (largo < 0 || std::string(nuestra, (size_t)largo) != suya) {
      ADD_FAILURE() << "%." << d << "f de " << suya << ": " << std::string(nuestra, largo < 0 ? 0 : (size_t)largo);
      distintas++;
    }
  }
  EXPECT_EQ(texto_cifra(nuestra, 4, 123.456, 2), -1);  // it never writes past its room
}
