// The removal estimator: figures, validity, the sum-preserving rounding and
// the split by frequencies.
//
// Expected figures were worked out once with a separate python3 script that
// follows the method step by step, rounding every operation to single
// precision with struct.pack('f', x): R = sum (j-1)*(1/T)*cj; q from 0.001 by
// 0.00005 while f(q)/R < 0.9999 with f = q/(1-q) - k q^k/(1-q^k);
// N = T/(1-q^k); Var = N q^k (1-q^k) / ((1-q^k)^2 - (kp)^2 q^k/q); ES = sqrt(Var).
// The float literals below are that script's values, so equality is exact.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis.h"
#include "muestra_prueba.h"
#include "poblacion_interna.h"
#include "sample.h"

namespace {

/* Everything calculo_poblacional_devuelve hands back, and the estimate it comes from. */
struct Informe {
  float R[RANURAS], q[RANURAS], Var[RANURAS], ES[RANURAS];
  int N[RANURAS], Sup[RANURAS];
  poblacion_muestra p;
};

Informe informe_de(MuestraPrueba& m) {
  Informe r = {};
  calculo_poblacional_devuelve(m.clases.data(), m.pasadas.data(), m.n(), m.nclases(), m.k(),
                               r.R, r.q, r.N, r.Var, r.ES, r.Sup);
  r.p = calcula_poblacion(m.clases.data(), m.pasadas.data(), m.n(), m.nclases(), m.k());
  return r;
}

std::string dos_decimales(float x) {
  char b[32];
  snprintf(b, sizeof b, "%.2f", x);
  return b;
}

MuestraPrueba ejemplo() {
  MuestraPrueba m;
  m.pasadas.resize(NUM_EJEMPLO);
  m.clases.resize(NUM_EJEMPLO);
  float l[NUM_EJEMPLO], p[NUM_EJEMPLO];
  copia_ejemplo(m.pasadas.data(), l, p, m.clases.data());
  return m;
}

}  // namespace

TEST(Poblacion, TwoPassesTwentyThenTenGiveTheWorkedFigures) {
  MuestraPrueba m = muestra_de({{20, 10}});
  Informe r = informe_de(m);
  for (int g : {0, 1}) {  // the one class and the whole sample
    EXPECT_EQ(dos_decimales(r.R[g]), "0.33");
    EXPECT_EQ(dos_decimales(1 - r.q[g]), "0.50");
    EXPECT_EQ(r.q[g], 0.49992677569389343f);
    EXPECT_EQ(r.N[g], 40);
    EXPECT_EQ(r.Var[g], 120);
    EXPECT_EQ(r.ES[g], 11);
    EXPECT_EQ(r.p.g[g].N, 39.996097564697266f);
    EXPECT_EQ(r.p.g[g].Var, 119.89453125f);
    EXPECT_EQ(r.p.g[g].ES, 10.949636459350586f);
  }
  EXPECT_EQ(r.Sup[0], 62);  // ceil(N + 1.96 ES) = ceil(61.457)
  EXPECT_EQ(r.Sup[1], 62);  // ceil(N) + ceil(1.96 ES) = 40 + 22
  EXPECT_EQ(r.p.Nclas[0], 40);
  EXPECT_EQ(r.p.ESclas[0], 22);
}

TEST(Poblacion, ThreePassesTwentyTenFiveGiveTheWorkedFigures) {
  MuestraPrueba m = muestra_de({{20, 10, 5}});
  Informe r = informe_de(m);
  EXPECT_EQ(r.R[0], 20.0f / 35);  // (0*20 + 1*10 + 2*5)/35 in float steps is exact here
  EXPECT_EQ(r.N[0], 40);
  EXPECT_EQ(r.Var[0], 22);
  EXPECT_EQ(r.ES[0], 5);
  EXPECT_EQ(r.Sup[0], 50);
  EXPECT_EQ(r.p.g[0].N, 39.999202728271484f);
  EXPECT_EQ(r.p.g[0].Var, 21.532236099243164f);
  EXPECT_EQ(r.p.g[0].ES, 4.640284061431885f);
}

// Built-in example, 5 classes, 3 passes. Per group {R, q, N, Var, ES}:
static const float EJEMPLO[6][5] = {
    {0.8461538553237915f, 0.7921752333641052f, 25.851245880126953f, 722.2972412109375f, 26.875587463378906f},
    {0.7272727489471436f, 0.6563026905059814f, 15.335100173950195f, 54.94247055053711f, 7.412318706512451f},
    {0.6666666865348816f, 0.5930421948432922f, 7.581236839294434f, 12.252260208129883f, 3.5003228187561035f},
    {0.75f, 0.6809567809104919f, 5.845911502838135f, 29.11134910583496f, 5.395493507385254f},
    {0.75f, 0.6809567809104919f, 5.845911502838135f, 29.11134910583496f, 5.395493507385254f},
    {0.7631579041481018f, 0.6955091953277588f, 57.26693344116211f, 348.65692138671875f, 18.6723575592041f}};

TEST(Poblacion, ExampleGivesEveryFigureOfBothTables) {
  MuestraPrueba m = ejemplo();
  Informe r = informe_de(m);
  for (int g = 0; g <= 5; g++) {
    EXPECT_EQ(r.R[g], EJEMPLO[g][0]) << g;
    EXPECT_EQ(r.q[g], EJEMPLO[g][1]) << g;
    EXPECT_EQ(r.p.g[g].N, EJEMPLO[g][2]) << g;
    EXPECT_EQ(r.p.g[g].Var, EJEMPLO[g][3]) << g;
    EXPECT_EQ(r.p.g[g].ES, EJEMPLO[g][4]) << g;
  }
  // N: 25.85 15.34 7.58 5.85 5.85, target ceil(60.46) = 61, class 1+ gives a unit.
  const int N[5] = {26, 15, 8, 6, 6};
  // Var: 722.30 54.94 12.25 29.11 29.11, target 848 from 851: 3+ and 4+
  // (0.111, lowest first) and then 2+ (0.252) give a unit.
  const float Var[5] = {723, 55, 12, 29, 29};
  // ES: 26.88 7.41 3.50 5.40 5.40, target 49; 3+ and 4+ tie at 0.395, the
  // descending scan takes 3+ first, then 4+.
  const float ES[5] = {27, 8, 4, 5, 5};
  // Upper limits: 78.53 29.86 14.44 16.42 16.42, target 156; 3+ then 4+.
  const int Sup[5] = {79, 30, 15, 16, 16};
  for (int j = 0; j < 5; j++) {
    EXPECT_EQ(r.N[j], N[j]) << j;
    EXPECT_EQ(r.Var[j], Var[j]) << j;
    EXPECT_EQ(r.ES[j], ES[j]) << j;
    EXPECT_EQ(r.Sup[j], Sup[j]) << j;
  }
  EXPECT_EQ(r.N[5], 58);
  EXPECT_EQ(r.Var[5], 349);
  EXPECT_EQ(r.ES[5], 19);
  EXPECT_EQ(r.Sup[5], 95);  // 58 + ceil(36.598)
  // By frequencies: 58*Cj/38 = 19.84 16.79 8.16 5.11 5.11 (sum of ceilings 61),
  // 3+, 4+ and 2+ give a unit; 37*Cj/38 = 12.66 10.71 5.84 3.89 3.89 (sum 40),
  // the descending scan takes 1+, 2+ and 0+.
  const float Nclas_esperado[5] = {19.842105865478516f, 16.789474487304688f, 8.1578950881958f,
                                   5.1052632331848145f, 5.1052632331848145f};
  const float ESclas_esperado[5] = {11.6578950881958f, 10.710526466369629f, 5.842105388641357f,
                                    3.8947367668151855f, 3.8947367668151855f};
  for (int j = 0; j < 5; j++) {
    EXPECT_EQ(r.p.Nclas[j], Nclas_esperado[j]) << j;
    EXPECT_EQ(r.p.ESclas[j], ESclas_esperado[j]) << j;
  }
}

TEST(Poblacion, ExampleForTheDensityEntryTakesTheUnitOffTheFloatingN) {
  MuestraPrueba m = ejemplo();
  float R[6], N[6];
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 5, 3, R, N);
  for (int g = 0; g <= 5; g++) EXPECT_EQ(R[g], EJEMPLO[g][0]) << g;
  EXPECT_EQ(N[0], EJEMPLO[0][2]);
  EXPECT_EQ(N[1], EJEMPLO[1][2] - 1);
  EXPECT_EQ(N[5], EJEMPLO[5][2]);
}

// ---- Groups that fail ----

TEST(Poblacion, EqualCatchesSitOnTheBoundAndFail) {
  MuestraPrueba m = muestra_de({{10, 10}, {12, 3}});
  float R[3], N[3];
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 2, 2, R, N);
  EXPECT_EQ(R[0], 0.5f);
  EXPECT_EQ(N[0], 0);
  EXPECT_GT(N[1], 0);
  EXPECT_FALSE(estimacion_valida(R[0], 2));
  EXPECT_TRUE(estimacion_valida(R[1], 2));
}

TEST(Poblacion, SinglePassFailsEveryGroup) {
  MuestraPrueba m = muestra_de({{7}, {4}, {0}});
  float R[4], N[4];
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 3, 1, R, N);
  for (int g = 0; g <= 3; g++) {
    EXPECT_EQ(R[g], 0) << g;
    EXPECT_EQ(N[g], 0) << g;
  }
}

TEST(Poblacion, ClassWithoutFishFailsAndKeepsAZeroShare) {
  MuestraPrueba m = muestra_de({{20, 10}, {}, {16, 4}});
  float R[4], N[4];
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 3, 2, R, N);
  EXPECT_EQ(R[1], 0);
  EXPECT_EQ(N[1], 0);
  EXPECT_TRUE(estimacion_valida(R[3], 2));
  Informe r = informe_de(m);
  EXPECT_EQ(r.p.Nclas[1], 0);
  EXPECT_EQ(r.p.ESclas[1], 0);
  EXPECT_EQ(r.R[1], 0);
}

/* Regression: with 17 passes and R a ten-thousandth below the bound the
   search ran past q = 1 and gave a negative N and no standard error. */
TEST(Poblacion, EstimateBeyondSinglePrecisionFailsAtTheBound) {
  MuestraPrueba m;
  for (int i = 0; i < 5000; i++) m.pasadas.push_back(1);
  m.pasadas.push_back(16);
  for (int i = 0; i < 4999; i++) m.pasadas.push_back(17);
  m.clases.assign(m.pasadas.size(), 0);
  Informe r = informe_de(m);
  EXPECT_EQ(r.R[0], 8.0f);
  EXPECT_FALSE(estimacion_valida(r.R[0], 17));
  EXPECT_EQ(dos_decimales(r.R[0]), dos_decimales(79999.0f / 10000));
  float R[2], N[2];
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 1, 17, R, N);
  EXPECT_EQ(N[0], 0);
  EXPECT_EQ(N[1], 0);
}

// ---- Sum-preserving rounding ----

TEST(Redondeo, EqualFractionsGoToTheLastClassScanned) {
  const float x[3] = {10.4f, 10.4f, 10.4f};
  const int todas[3] = {1, 1, 1};
  float ascendente[3] = {11, 11, 11}, descendente[3] = {11, 11, 11};
  float objetivo = ceilf(x[0] + x[1] + x[2]);
  conserva_suma(x, ascendente, todas, 3, objetivo, 0);
  conserva_suma(x, descendente, todas, 3, objetivo, 1);
  EXPECT_EQ(ascendente[0], 11);
  EXPECT_EQ(ascendente[1], 11);
  EXPECT_EQ(ascendente[2], 10);
  EXPECT_EQ(descendente[0], 10);
  EXPECT_EQ(descendente[1], 11);
  EXPECT_EQ(descendente[2], 11);
}

TEST(Redondeo, FailedClassesTakeNoPart) {
  const float x[3] = {10.4f, 99.1f, 10.4f};
  const int validas[3] = {1, 0, 1};
  float v[3] = {11, 99, 11};
  conserva_suma(x, v, validas, 3, ceilf(x[0] + x[2]), 0);
  EXPECT_EQ(v[0], 11);
  EXPECT_EQ(v[1], 99);
  EXPECT_EQ(v[2], 10);
}

TEST(Redondeo, ColumnsAddUpToTheRoundedUpTotals) {
  unsigned semilla = 12345;
  auto azar = [&semilla](int tope) {
    semilla = semilla * 1103515245u + 12345u;
    return (int)((semilla >> 16) % tope);
  };
  for (int prueba = 0; prueba < 12; prueba++) {
    std::vector<std::vector<int>> capturas(2 + azar(7));
    for (auto& c : capturas) c = {azar(40), azar(25), azar(12)};
    MuestraPrueba m = muestra_de(capturas);
    int nc = m.nclases();
    Informe r = informe_de(m);
    float sN = 0, sVar = 0, sES = 0, sSup = 0;
    int redN = 0, redSup = 0;
    float redVar = 0, redES = 0;
    for (int j = 0; j < nc; j++) {
      if (!estimacion_valida(r.R[j], 3)) continue;
      sN += r.p.g[j].N;
      sVar += r.p.g[j].Var;
      sES += r.p.g[j].ES;
      sSup += r.p.g[j].N + 1.96f * r.p.g[j].ES;
      redN += r.N[j];
      redVar += r.Var[j];
      redES += r.ES[j];
      redSup += r.Sup[j];
    }
    EXPECT_EQ(redN, (int)ceilf(sN)) << prueba;
    EXPECT_EQ(redVar, ceilf(sVar)) << prueba;
    EXPECT_EQ(redES, ceilf(sES)) << prueba;
    EXPECT_EQ(redSup, (int)ceilf(sSup)) << prueba;
    if (!estimacion_valida(r.R[nc], 3)) continue;
    int repN = 0, repSup = 0;
    for (int j = 0; j < nc; j++) {
      repN += (int)ceilf(r.p.Nclas[j]);
      repSup += (int)ceilf(r.p.Nclas[j]) + (int)ceilf(r.p.ESclas[j]);
    }
    EXPECT_EQ(repN, r.N[nc]) << prueba;
    EXPECT_EQ(repSup, r.N[nc] + (int)ceilf(1.96f * r.p.g[nc].ES)) << prueba;
    EXPECT_EQ(repSup, r.Sup[nc]) << prueba;
  }
}

// ---- Rounding that cannot reach its target, samples beyond the limits ----

TEST(Redondeo, SumAlreadyAtOrBelowTheTargetIsLeftAloneAndNeverGoesNegative) {
  const float x[2] = {3.2f, 0.0f};
  const int todas[2] = {1, 1};
  float v[2] = {4, 0};
  conserva_suma(x, v, todas, 2, 9, 0);  // below the target: nothing to take off
  EXPECT_EQ(v[0], 4);
  EXPECT_EQ(v[1], 0);
  conserva_suma(x, v, todas, 2, -3, 1);  // 3+ gives one unit, the empty class none
  EXPECT_EQ(v[0], 3);
  EXPECT_EQ(v[1], 0);
}

TEST(Poblacion, FishOutsideEveryClassLeaveTheSharesShortInsteadOfHanging) {
  // Fish with class -1 count in the whole sample but in no class, so the
  // class shares start below the whole-sample N.
  MuestraPrueba m = muestra_de({{30, 10}});
  for (int i = 0; i < 20; i++) {
    m.pasadas.push_back(i < 15 ? 1 : 2);
    m.clases.push_back(-1);
  }
  float R[2], N[2];
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 1, 2, R, N);
  ASSERT_TRUE(estimacion_valida(R[1], 2));
  poblacion_muestra p = calcula_poblacion(m.clases.data(), m.pasadas.data(), m.n(), 1, 2);
  EXPECT_EQ(p.Nclas[0], ceilf(N[1]) * 40 / 60);
  EXPECT_EQ(p.captura_clases, 40);  // the population screen's shares are of these
  EXPECT_EQ(p.g[1].captura, 60);
}

TEST(Poblacion, SamplesBeyondTheEstimatorsTablesAreRefusedWithoutOverflow) {
  MuestraPrueba m = muestra_de({{5, 2}});
  m.clases[0] = 119;  // 120 classes
  std::vector<float> R(121, -7), N(121, -7);
  Calculo_R_N(m.clases.data(), m.pasadas.data(), m.n(), 120, 2, R.data(), N.data());
  for (int g = 0; g < RANURAS; g++) EXPECT_EQ(R[g], 0) << g;
  for (int g = RANURAS; g <= 120; g++) EXPECT_EQ(R[g], -7) << g;

  MuestraPrueba veintiuna = muestra_de({{9, 5, 3, 1}});
  veintiuna.pasadas.back() = 21;
  Informe r = informe_de(veintiuna);
  EXPECT_EQ(r.R[0], 0);
  EXPECT_EQ(r.R[1], 0);
}

// ---- One walk of q for every group ----

namespace {

/* The search as each group once ran it on its own, kept as the reference
   for the shared walk: q from 0.001 by 0.00005 while f(q)/R < 0.9999 and
   q < 1, q^k from pow. */
float busca_q_paso_a_paso(float R, int k, float* qk) {
  float q = 0.001f;
  *qk = (float)pow(q, k);
  float f = q / (1 - q) - k * *qk / (1 - *qk);
  while (f / R < 0.9999 && q < 1) {
    q = (float)(q + 0.00005);
    *qk = (float)pow(q, k);
    f = q / (1 - q) - k * *qk / (1 - *qk);
  }
  return q;
}

/* Samples of 1-20 passes and 1-99 classes: empty classes, classes all in
   the first pass, classes spread evenly over the passes (R at or past the
   bound) and classes that deplete at random rates. */
struct Generador {
  unsigned semilla = 2024;
  int azar(int tope) {
    semilla = semilla * 1103515245u + 12345u;
    return (int)((semilla >> 8) % (unsigned)tope);
  }
  MuestraPrueba muestra() {
    // 17 passes often: there rounding noise carries the search for an R
    // next to the bound up to q = 1, the walk's end.
    int k = azar(8) == 0 ? 17 : 1 + azar(MAX_PASADAS), nclases = 1 + azar(azar(4) == 0 ? MAX_CLASES : 8);
    MuestraPrueba m;
    for (int c = 0; c < nclases && m.n() < MAX_PECES - 300; c++) {
      int forma = azar(6), peces = forma == 0 ? 0 : 1 + azar(azar(3) == 0 ? 300 : 40);
      int retiene = 200 + azar(790);  // per mille of fish left for the next pass
      for (int i = 0; i < peces; i++) {
        int p = 1;
        if (forma == 1) p = 1 + i % k;
        else if (forma > 2) while (p < k && azar(1000) < retiene) p++;
        m.pasadas.push_back(p);
        m.clases.push_back(c);
      }
    }
    if (m.n() == 0) m = muestra_de({{1}});
    return m;
  }
};

estimacion_muestra estimacion_de(const MuestraPrueba& m, int nclases, int k) {
  estimacion_muestra e;
  estima_muestra(m.clases.data(), m.pasadas.data(), m.n(), nclases, k, &e);
  return e;
}

void espera_igual(const estimacion_grupo& a, const estimacion_grupo& b, const std::string& donde) {
  EXPECT_EQ(a.captura, b.captura) << donde;
  EXPECT_EQ(a.valida, b.valida) << donde;
  const float* x[] = {&a.R, &a.q, &a.qk, &a.N, &a.Var, &a.ES, &a.sup};
  const float* y[] = {&b.R, &b.q, &b.qk, &b.N, &b.Var, &b.ES, &b.sup};
  for (int i = 0; i < 7; i++) EXPECT_EQ(memcmp(x[i], y[i], sizeof(float)), 0) << donde << " " << i;
}

}  // namespace

TEST(RecorridoQ, EveryGroupStopsExactlyWhereItsOwnStepByStepSearchStopped) {
  Generador gen;
  int buscados = 0, en_la_cota = 0;
  for (int s = 0; s < 300; s++) {
    MuestraPrueba m = gen.muestra();
    int nclases = m.nclases(), k = m.k();
    estimacion_muestra e = estimacion_de(m, nclases, k);
    float R[RANURAS], q[RANURAS], qk[RANURAS];
    int grupos = nclases + 1;
    for (int g = 0; g < grupos; g++) R[g] = e.g[g].R;
    // R a hair below the bound, where the search runs into q = 1.
    float cota = (k - 1) / 2.0f;
    for (float cerca : {nextafterf(cota, 0), cota * (1 - 2e-5f), cota * (1 - 1e-4f)})
      if (grupos < RANURAS) R[grupos++] = cerca;
    busca_q_grupos(R, grupos, k, q, qk);
    for (int g = 0; g < grupos; g++) {
      std::string donde = "muestra " + std::to_string(s) + " grupo " + std::to_string(g);
      float qk_ref = 0, q_ref = 0;
      if (estimacion_valida(R[g], k)) {
        q_ref = busca_q_paso_a_paso(R[g], k, &qk_ref);
        buscados++;
        en_la_cota += q_ref >= 1;
      }
      EXPECT_EQ(memcmp(&q[g], &q_ref, sizeof q_ref), 0) << donde << " q " << q[g] << " " << q_ref;
      EXPECT_EQ(memcmp(&qk[g], &qk_ref, sizeof qk_ref), 0) << donde << " q^k";
    }
  }
  EXPECT_GT(buscados, 3000);
  EXPECT_GT(en_la_cota, 20);
}

TEST(RecorridoQ, EveryGroupOfASampleIsEstimatedAsIfItWereAlone) {
  Generador gen;
  int validos = 0, fallidos = 0, vacios = 0;
  for (int s = 0; s < 300; s++) {
    MuestraPrueba m = gen.muestra();
    int nclases = m.nclases(), k = m.k();
    estimacion_muestra e = estimacion_de(m, nclases, k);
    for (int g = 0; g <= nclases; g++) {
      // A class alone keeps its number; the whole sample alone is one class.
      MuestraPrueba sola;
      for (int i = 0; i < m.n(); i++)
        if (g == nclases || m.clases[i] == g) {
          sola.pasadas.push_back(m.pasadas[i]);
          sola.clases.push_back(g == nclases ? 0 : g);
        }
      int propia = g == nclases ? 0 : g;
      estimacion_muestra e1 = estimacion_de(sola, propia + 1, k);
      std::string donde = "muestra " + std::to_string(s) + " grupo " + std::to_string(g);
      espera_igual(e.g[g], e1.g[propia], donde + " como clase");
      espera_igual(e.g[g], e1.g[propia + 1], donde + " como muestra");
      validos += e.g[g].valida;
      fallidos += !e.g[g].valida && e.g[g].captura > 0;
      vacios += e.g[g].captura == 0;
    }
  }
  EXPECT_GT(validos, 500);
  EXPECT_GT(fallidos, 300);
  EXPECT_GT(vacios, 50);
}
