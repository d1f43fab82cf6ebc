// The age-class screen: the length histogram and its bin width, the interval
// entry over it, the restart, the refusals and the reviews.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "pantalla.h"
#include "pantallas.h"
#include "sample.h"
#include "shell.h"

namespace {

/* Class counts 0.. of the first n fish. */
std::vector<int> cuenta_clases(const int* clases, int n, int nclases) {
  std::vector<int> c(nclases, 0);
  for (int i = 0; i < n; i++)
    if (clases[i] >= 0 && clases[i] < nclases) c[clases[i]]++;
  return c;
}

class Clases : public Pantalla {
 protected:
  void SetUp() override {
    Pantalla::SetUp();
    copia_ejemplo(pasadas, longitudes, pesos, clases);
    for (int& c : clases) c = -1;
  }
  int corre(const std::string& teclas) {
    escribe(teclas);
    return clases_edad(clases, longitudes, pasadas, NUM_EJEMPLO);
  }
  /* Message-red pixels of the interval messages' line. */
  int rojos_del_mensaje() {
    return cuenta_color(SCREEN_W / 2 + 1, 518, SCREEN_W / 2 + 399, 520 + alto(FUENTE_CELDAS), 255, 0, 0);
  }
  int pasadas[NUM_EJEMPLO], clases[NUM_EJEMPLO];
  float longitudes[NUM_EJEMPLO], pesos[NUM_EJEMPLO];
};

/* The histogram is shown at (70, 70) with its axes meeting at (30, 170) of
   it, so a bin's bar spans x = 100 + A*b ... 100 + A*(b+1) on the screen. */
const int ORIGEN_X = 100, ORIGEN_Y = 240;

}  // namespace

// Example lengths, w = 1.0: Lmax = 29.5 puts the last fish in bin 29, so 30
// bins and A = (int)(330 / 30) = 11 px. The tallest, 5-6 cm, holds 7 of 38
// fish = 0.1842; the y axis runs to 0.2 (2 steps, P = 70 px a step), so its
// bar top is (int)(270 - 70*2*0.1842/0.2) - 100 = 41, y = 111 on the screen.
TEST_F(Clases, UnitBinsOnTheExampleGiveThirtyBarsAndAnAxisToPointTwo) {
  EXPECT_EQ(corre("\x1b"), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  int x5 = ORIGEN_X + 11 * 5 + 5;
  EXPECT_TRUE(color_en(x5, 110, 255, 255, 255));
  EXPECT_TRUE(color_en(x5, 111, 0, 0, 0));
  EXPECT_TRUE(color_en(x5, 112, 250, 0, 0));
  // bin 29 (one fish, 0.0263) is the last: (int)(270 - 18.4) - 100 = 151 -> y = 221
  int x29 = ORIGEN_X + 11 * 29 + 5;
  EXPECT_TRUE(color_en(x29, 221, 0, 0, 0));
  EXPECT_TRUE(color_en(x29, 225, 250, 0, 0));
  EXPECT_EQ(cuenta_color(ORIGEN_X + 11 * 30 + 1, 80, 455, ORIGEN_Y - 1, 250, 0, 0), 0);
  // y ticks at 0.0, 0.1, 0.2 and none above
  for (int y : {ORIGEN_Y, ORIGEN_Y - 70, ORIGEN_Y - 140}) EXPECT_TRUE(color_en(97, y, 0, 0, 0)) << y;
  EXPECT_TRUE(color_en(97, ORIGEN_Y - 139, 255, 255, 255));
  EXPECT_TRUE(color_en(415, 285, 230, 230, 230));  // no narrower width to go to
  EXPECT_TRUE(color_en(455, 285, 0, 0, 0));
}

TEST_F(Clases, LeftAtTheNarrowestWidthKeepsIt) {
  pulsa(TECLA_DERECHA);
  pulsa(TECLA_IZQUIERDA, 2);
  EXPECT_EQ(corre("\x1b"), 0);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(color_en(415, 285, 230, 230, 230));
  // still 30 bins of 11 px: the last bar ends at x = 430
  EXPECT_TRUE(color_en(ORIGEN_X + 11 * 29 + 5, 225, 250, 0, 0));
  EXPECT_EQ(cuenta_color(431, 80, 455, ORIGEN_Y - 1, 250, 0, 0), 0);
}

TEST_F(Clases, FiveLimitsGiveFiveClassesAndTheReviewsFollow) {
  EXPECT_EQ(corre("\n9.5\n15\n20\n25\n30\n\n\n"), 5);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_NE(c_esc, TECLA_ESC);
  // counted by hand from the example's lengths: <= 9.5, <= 15, <= 20, <= 25, <= 30
  EXPECT_EQ(cuenta_clases(clases, NUM_EJEMPLO, 5), (std::vector<int>{14, 12, 4, 4, 4}));
  EXPECT_EQ(clases[11], 0);  // 9.4 cm
  EXPECT_EQ(clases[5], 1);   // 15.0 cm: the upper limit belongs to the class
  EXPECT_EQ(clases[4], 2);   // 15.4 cm
  EXPECT_EQ(rojos_del_mensaje(), 0);
}

TEST_F(Clases, AnIntervalWithNoFishGivesAnEmptyClass) {
  // no fish of the example lies in (9.5, 9.55]; one of 9.6 cm would
  EXPECT_EQ(corre("\n9.5\n9.55\n15\n20\n25\n30\n\n\n"), 6);
  EXPECT_EQ(cuenta_clases(clases, NUM_EJEMPLO, 6), (std::vector<int>{14, 0, 12, 4, 4, 4}));
}

TEST_F(Clases, HInTheThirdClassStartsAgainOnACleanHistogram) {
  EXPECT_EQ(corre("\n9.5\n15\n2h\x1b"), 0);
  int t = alto(FUENTE_CABECERA) + 10;
  EXPECT_TRUE(color_en(120, 330 + 2 * t + 10, 230, 230, 230));  // second row gone
  EXPECT_TRUE(color_en(392, 330 + t + 10, 255, 255, 255));       // the first is asked again
  int x_marca = (int)(9.5f * 11 + 100);
  EXPECT_FALSE(color_en(x_marca, 150, 0, 0, 255));
  EXPECT_EQ(cuenta_color(100, 80, 430, 260, 0, 0, 255), 0);
}

// Regression: a limit marker at 10 cm ran through the axis label "10.0", and
// the bin-width control "1.0" with its arrow stayed through the later stages.
TEST_F(Clases, MarkerLeavesTheAxisLabelsLegibleAndTheWidthControlGoes) {
  EXPECT_EQ(corre("\n10\x1b"), 0);
  int x = (int)(10 * 11 + 100), y_rotulos = 245, h3 = alto(FUENTE_PEQUENA);
  EXPECT_GT(cuenta_color(x - 1, 80, x + 1, y_rotulos - 2, 0, 0, 255), 400);
  EXPECT_GT(cuenta_color(x - 1, y_rotulos + h3 + 1, x + 1, 260, 0, 0, 255), 0);
  EXPECT_EQ(cuenta_color(x - 12, y_rotulos - 1, x + 12, y_rotulos + h3, 0, 0, 255), 0);
  EXPECT_GT(cuenta_color(x - 12, y_rotulos - 1, x + 12, y_rotulos + h3, 0, 0, 0), 10);  // "10.0"
  EXPECT_EQ(cuenta_color(405, 274, 465, 291, 0, 0, 0), 0);
}

TEST_F(Clases, AfterARestartTheClassesAreCountedAfresh) {
  EXPECT_EQ(corre("\n9.5\n15\n2h30\n\n\n"), 1);
  EXPECT_EQ(cuenta_clases(clases, NUM_EJEMPLO, 1), (std::vector<int>{38}));
  EXPECT_EQ(teclas_pendientes(), 0);
}

TEST_F(Clases, TheMarkerFollowsTheTypedValue) {
  EXPECT_EQ(corre("\n12\x1b"), 0);
  int x = (int)(12.0f * 11 + 100);
  for (int d = -1; d <= 1; d++) EXPECT_TRUE(color_en(x + d, 150, 0, 0, 255)) << d;
  EXPECT_TRUE(color_en(x + 2, 80, 255, 255, 255));
}

// Regression: a value whose pixel column truncates to 430, the axis's last,
// lost its marker. 30.05 cm * 11 px/cm + 100 = 430.55, column 430.
TEST_F(Clases, AValueOnTheLastColumnOfTheAxisIsMarked) {
  EXPECT_EQ(corre("\n30.05\x1b"), 0);
  for (int d = -1; d <= 1; d++) EXPECT_TRUE(color_en(430 + d, 150, 0, 0, 255)) << d;
}

// Regression: a point typed first showed a value of 0 and its marker.
TEST_F(Clases, APointAloneShowsNoValueAndNoMarker) {
  EXPECT_EQ(corre("\n.\x1b"), 0);
  int t = alto(FUENTE_CABECERA) + 10;
  EXPECT_EQ(cuenta_color(316, 330 + t + 1, 459, 330 + 2 * t - 1, 0, 0, 255), 0);
  EXPECT_EQ(cuenta_color(70, 80, 459, 260, 0, 0, 255), 0);
}

TEST_F(Clases, ADecimalCommaIsThePointAndAloneShowsNothing) {
  EXPECT_EQ(corre("\n,\x1b"), 0);
  EXPECT_EQ(cuenta_color(70, 80, 459, 260, 0, 0, 255), 0);
  EXPECT_EQ(corre("\n9,5\n15\n20\n25\n30\n\n\n"), 5);
  EXPECT_EQ(cuenta_clases(clases, NUM_EJEMPLO, 5), (std::vector<int>{14, 12, 4, 4, 4}));
}

TEST_F(Clases, MoreThanFiveClassesShowTheLastFiveAndTheCurrentOne) {
  EXPECT_EQ(corre("\n1\n2\n3\n4\n5\n6\n\x1b"), 0);
  int t = alto(FUENTE_CABECERA) + 10;
  EXPECT_GT(cuenta_color(316, 330 + 5 * t + 1, 459, 330 + 6 * t - 1, 0, 0, 0), 0);  // 6.00
  EXPECT_EQ(cuenta_color(316, 330 + 6 * t + 1, 459, 330 + 7 * t - 1, 0, 0, 0), 0);  // being asked
  EXPECT_TRUE(color_en(392, 330 + 6 * t + 10, 255, 255, 255));
  EXPECT_TRUE(color_en(120, 330 + 7 * t + 10, 230, 230, 230));  // no seventh row
}

TEST_F(Clases, EscOnTheIntervalReviewSkipsTheFishReview) {
  pulsa(TECLA_ABAJO);
  EXPECT_EQ(corre("\n1\n2\n3\n4\n5\n6\n30\n\x1b"), 7);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_TRUE(color_en(715, 80, 230, 230, 230));  // no fish table
}

TEST_F(Clases, EscOnTheFishReviewStillGivesTheClasses) {
  EXPECT_EQ(corre("\n30\n\n\x1b"), 1);
  EXPECT_EQ(c_esc, TECLA_ESC);
  EXPECT_TRUE(color_en(715, 75, 217, 217, 217));
}

// ---- Values refused ----

TEST_F(Clases, ZeroIsRefusedWithTheMessage) {
  EXPECT_EQ(corre("\n\n\x1b"), 0);
  EXPECT_GT(rojos_del_mensaje(), 0);
}

TEST_F(Clases, ALimitBelowThePreviousOneIsAskedAgain) {
  EXPECT_EQ(corre("\n10\n5\n30\n\n\n"), 2);
  // 14 fish up to 9.5 cm, then 9.6 and 9.8
  EXPECT_EQ(cuenta_clases(clases, NUM_EJEMPLO, 2), (std::vector<int>{16, 22}));
}

// Regression: a fish of 100 cm or more overran the histogram's 100 bins.
// 250 cm needs floor(250.001 / w) + 1 <= 100 bins: 2.5 cm gives 101, 2.6 cm
// gives 97 bins of (int)(330 / 97) = 3 px, the last (250 cm) at x = 388..391.
TEST_F(Clases, ALongFishStartsWithAWidthThatFitsAndLeftKeepsIt) {
  float largos[2] = {10.0f, 250.0f};
  int pas[2] = {1, 2}, cla[2] = {-1, -1};
  pulsa(TECLA_IZQUIERDA, 3);
  escribe("\x1b");
  EXPECT_EQ(clases_edad(cla, largos, pas, 2), 0);
  EXPECT_TRUE(color_en(389, 200, 250, 0, 0));
  EXPECT_EQ(cuenta_color(393, 80, 455, ORIGEN_Y - 1, 250, 0, 0), 0);
  EXPECT_TRUE(color_en(415, 285, 230, 230, 230));
}

// Regression: the interval entry let the user define more classes than the
// estimator has room for. With fish of 1, 2, ... 100 cm and limits 1 ... 98,
// class 98 is the 99th and takes the fish of 99 and 100 cm.
TEST_F(Clases, TheNinetyNinthClassTakesTheRestAndStopsTheEntry) {
  float largos[100];
  int pas[100], cla[100];
  for (int i = 0; i < 100; i++) largos[i] = (float)(i + 1), pas[i] = 1, cla[i] = -1;
  std::string teclas = "\n";
  for (int l = 1; l <= 98; l++) teclas += std::to_string(l) + "\n";
  teclas += "\n\n\n";  // the message, then both reviews
  // More keys than the key buffer holds: fed as the screen takes them.
  std::atomic<bool> fin{false};
  std::thread alimentador([&] {
    size_t i = 0;
    while (i < teclas.size() && !fin) {
      if (!keypressed()) {
        for (int k = 0; k < 20 && i < teclas.size(); k++) simulate_keypress(tecla_de(teclas[i++]));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  int nclases = clases_edad(cla, largos, pas, 100);
  fin = true;
  alimentador.join();
  EXPECT_EQ(nclases, 99);
  EXPECT_EQ(cla[0], 0);
  EXPECT_EQ(cla[97], 97);
  EXPECT_EQ(cla[98], 98);
  EXPECT_EQ(cla[99], 98);
}

// Regression: with fish as long as single precision allows, the edges of the
// length axis ran past it and its labels read "inf"; an edge that has no
// number now reads "-".
TEST_F(Clases, LengthLabelsOfTheLongestPossibleFishReadADash) {
  float largos[3] = {3.4e38f, 3.4e38f, 3.4e38f};
  int pas[3] = {1, 1, 2}, cla[3] = {-1, -1, -1};
  escribe("\x1b");
  EXPECT_EQ(clases_edad(cla, largos, pas, 3), 0);
  // labels centred at a third, two thirds and the end of the 330 px axis, at
  // y = 70 + 175 on the screen (the ticks end on that row); a dash has a few
  // pixels of ink, "inf" many more
  for (int x : {210, 320, 430}) {
    int tinta = cuenta_color(x - 15, 246, x + 15, 245 + alto(FUENTE_PEQUENA), 0, 0, 0);
    EXPECT_GT(tinta, 0) << x;
    EXPECT_LT(tinta, 8) << x;
  }
}
