// The page's charts as inline SVG: one set of axes with round ticks and
// units for all of them, so that every chart of a season reads alike and
// prints sharp at any size.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "pagina.h"

/* A chart's box, in the viewBox's units. */
static const double ANCHO = 360, ALTO = 240;
static const double MARGEN_IZQ = 52, MARGEN_DER = 14, MARGEN_ARR = 26, MARGEN_ABA = 40;
/* Scatter points drawn at most: beyond, every few fish stand for the rest
   and the caption says so, which keeps a page of 10000 fish light. */
static const int MAX_PUNTOS = 1000;
/* The classes' colours, in turn; the whole sample is black. */
static const char* const COLORES[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                      "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};

static void anade(std::string* s, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
static void anade(std::string* s, const char* fmt, ...) {
  va_list ap, otra;
  va_start(ap, fmt);
  va_copy(otra, ap);
  char trozo[256];
  int n = vsnprintf(trozo, sizeof trozo, fmt, ap);
  va_end(ap);
  if (n >= (int)sizeof trozo) {  // a path of many points: written again whole
    std::string largo((size_t)n + 1, '\0');
    vsnprintf(&largo[0], largo.size(), fmt, otra);
    s->append(largo.c_str(), (size_t)n);
  } else if (n > 0) {
    s->append(trozo, (size_t)n);
  }
  va_end(otra);
}

double paso_redondo(double maximo, int marcas, int* n) {
  if (!(maximo > 0) || !std::isfinite(maximo)) {
    *n = 1;
    return 1;
  }
  double crudo = maximo / marcas, potencia = std::pow(10.0, std::floor(std::log10(crudo)));
  double paso = 10 * potencia;
  for (double m : {1.0, 2.0, 5.0})
    if (m * potencia >= crudo * (1 - 1e-9)) {
      paso = m * potencia;
      break;
    }
  *n = std::max(1, (int)std::ceil(maximo / paso - 1e-9));
  return paso;
}

/* A tick's value with as many decimals as its step needs. */
static std::string marca(double v, double paso, char decimal) {
  int decimales = paso >= 1 ? 0 : (int)std::ceil(-std::log10(paso) - 1e-9);
  char texto[48];
  snprintf(texto, sizeof texto, "%.*f", decimales, v);
  std::string s = texto;
  std::replace(s.begin(), s.end(), '.', decimal);
  return s;
}

/* The axes of a chart: data ranges onto the box. */
struct ejes_svg {
  double x0, x1, y0, y1;
  double izq, der, arr, aba;
};

static double px(const ejes_svg* e, double x) { return e->izq + (x - e->x0) / (e->x1 - e->x0) * (e->der - e->izq); }
static double py(const ejes_svg* e, double y) { return e->aba - (y - e->y0) / (e->y1 - e->y0) * (e->aba - e->arr); }

static ejes_svg ejes_de(double xmax, double ymax, double alto) {
  return ejes_svg{0, xmax, 0, ymax, MARGEN_IZQ, ANCHO - MARGEN_DER, MARGEN_ARR, alto - MARGEN_ABA};
}

static void abre_svg(std::string* s, double ancho, double alto, const std::string& titulo) {
  anade(s, "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %.0f %.0f\" role=\"img\">", ancho, alto);
  *s += "<title>" + titulo + "</title>";
}

/* Round ticks up to at least maximo: the axis' new end. */
static double eje_redondo(double maximo, int marcas, double* paso, int* n) {
  *paso = paso_redondo(maximo, marcas, n);
  return *paso * *n;
}

/* The frame, the ticks of both axes and their titles with units. */
static void dibuja_ejes(std::string* s, const ejes_svg* e, double paso_x, double paso_y, const char* titulo_x,
                        const char* titulo_y, char decimal, int x_entero_desde = -1) {
  anade(s, "<g class=\"ejes\"><path d=\"M%.1f %.1fV%.1fH%.1f\"/>", e->izq, e->arr, e->aba, e->der);
  for (double y = e->y0; y <= e->y1 * (1 + 1e-9); y += paso_y)
    anade(s, "<path d=\"M%.1f %.1fh-4\"/><text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\">%s</text>", e->izq,
          py(e, y), e->izq - 6, py(e, y) + 3.5, marca(y, paso_y, decimal).c_str());
  for (double x = x_entero_desde >= 0 ? x_entero_desde : e->x0; x <= e->x1 * (1 + 1e-9); x += paso_x)
    anade(s, "<path d=\"M%.1f %.1fv4\"/><text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%s</text>", px(e, x),
          e->aba, px(e, x), e->aba + 15, marca(x, paso_x, decimal).c_str());
  anade(s, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%s</text>", (e->izq + e->der) / 2, e->aba + 32,
        titulo_x);
  anade(s, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" transform=\"rotate(-90 %.1f %.1f)\">%s</text></g>",
        12.0, (e->arr + e->aba) / 2, 12.0, (e->arr + e->aba) / 2, titulo_y);
}

/* ---- The season's density chart ---- */

/* A reach's name as its row has room for: at most LETRAS_NOMBRE
   characters, cut between letters and ended by an ellipsis. */
static const int LETRAS_NOMBRE = 24;
static std::string corto(const std::string& nombre) {
  int letras = 0;
  for (size_t i = 0; i < nombre.size(); i++) {
    if (((unsigned char)nombre[i] & 0xC0) == 0x80) continue;  // inside a letter
    if (++letras > LETRAS_NOMBRE) return nombre.substr(0, i) + "\xe2\x80\xa6";
  }
  return nombre;
}

/* A reach a row, its name left of the axis. */
static const double ANCHO_DENSIDAD = 720, ALTO_FILA = 16, IZQ_DENSIDAD = 150;

std::string svg_densidad(const std::vector<punto_densidad>& puntos, int desde, int hasta, double maximo,
                         char decimal) {
  std::string s;
  double paso;
  int n;
  double fin = eje_redondo(maximo, 6, &paso, &n);
  double alto = MARGEN_ARR + ALTO_FILA * (hasta - desde) + MARGEN_ABA + 18;
  char titulo[160];
  snprintf(titulo, sizeof titulo, "Densidad (peces/m\xc2\xb2) con su intervalo del 95 %%, tramos %d a %d", desde + 1,
           hasta);
  abre_svg(&s, ANCHO_DENSIDAD, alto, titulo);
  ejes_svg e = {0, fin, 0, 1, IZQ_DENSIDAD, ANCHO_DENSIDAD - MARGEN_DER, MARGEN_ARR, alto - MARGEN_ABA - 18};
  anade(&s, "<g class=\"ejes\"><path d=\"M%.1f %.1fV%.1fH%.1f\"/>", e.izq, e.arr, e.aba, e.der);
  for (int i = 0; i <= n; i++)
    anade(&s, "<path class=\"rejilla\" d=\"M%.1f %.1fV%.1f\"/><text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%s</text>",
          px(&e, i * paso), e.arr, e.aba + 4, px(&e, i * paso), e.aba + 15, marca(i * paso, paso, decimal).c_str());
  anade(&s, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">Densidad (peces/m\xc2\xb2)</text></g>",
        (e.izq + e.der) / 2, e.aba + 32);
  for (int i = desde; i < hasta; i++) {
    const punto_densidad& p = puntos[(size_t)i];
    double y = e.arr + ALTO_FILA * (i - desde + 0.5);
    s += "<g><text class=\"nombre\" x=\"" + std::to_string((int)e.izq - 6) + "\" y=\"" +
         std::to_string((int)(y + 4)) + "\" text-anchor=\"end\">" + escapa_html(corto(p.nombre)) + "</text>";
    if (!p.hay) {
      anade(&s, "<text x=\"%.1f\" y=\"%.1f\" class=\"nota\">sin densidad</text></g>", e.izq + 6, y + 4);
      continue;
    }
    if (p.estimada)
      anade(&s, "<path class=\"intervalo\" d=\"M%.1f %.1fH%.1fM%.1f %.1fv8M%.1f %.1fv8\"/>", px(&e, p.inferior), y,
            px(&e, p.superior), px(&e, p.inferior), y - 4, px(&e, p.superior), y - 4);
    anade(&s, "<circle class=\"%s\" cx=\"%.1f\" cy=\"%.1f\" r=\"4\"/></g>", p.estimada ? "estimada" : "captura",
          px(&e, p.densidad), y);
  }
  double ly = alto - 10;
  anade(&s, "<g class=\"leyenda\"><circle class=\"estimada\" cx=\"%.1f\" cy=\"%.1f\" r=\"4\"/>"
        "<text x=\"%.1f\" y=\"%.1f\">N estimada por m\xc2\xb2, de la captura al l\xc3\xadmite superior del 95 %%</text>"
        "<circle class=\"captura\" cx=\"%.1f\" cy=\"%.1f\" r=\"4\"/>"
        "<text x=\"%.1f\" y=\"%.1f\">estimaci\xc3\xb3n fallida: la captura, un m\xc3\xadnimo</text></g></svg>",
        e.izq, ly - 4, e.izq + 8, ly, e.izq + 400, ly - 4, e.izq + 408, ly);
  return s;
}

/* ---- A reach's charts ---- */

/* Catches per pass: a line per class and the whole sample in black. */
std::string svg_capturas(const diagnostico_muestra* d, const std::string& nombre, char decimal) {
  std::string s;
  int k = d->k, mayor = 1;
  for (int i = 0; i < k; i++) mayor = std::max(mayor, d->capturas[d->nclases * k + i]);
  double paso_y;
  int n;
  double ymax = eje_redondo(mayor, 5, &paso_y, &n);
  abre_svg(&s, ANCHO, ALTO, "Capturas por pasada y clase de edad \xe2\x80\x94 " + nombre);
  ejes_svg e = ejes_de(k + 0.5, ymax, ALTO);
  e.x0 = 0.5;
  dibuja_ejes(&s, &e, 1, paso_y, "Pasada", "Peces capturados", decimal, 1);
  for (int g = d->nclases; g >= 0; g--) {
    const char* color = g == d->nclases ? "#000" : COLORES[g % 8];
    std::string puntos;
    for (int i = 0; i < k; i++)
      anade(&puntos, "%s%.1f %.1f", i ? "L" : "M", px(&e, i + 1), py(&e, d->capturas[g * k + i]));
    anade(&s, "<path class=\"serie\" stroke=\"%s\" d=\"%s\"/>", color, puntos.c_str());
    for (int i = 0; i < k; i++)
      anade(&s, "<circle fill=\"%s\" cx=\"%.1f\" cy=\"%.1f\" r=\"2.5\"/>", color, px(&e, i + 1),
            py(&e, d->capturas[g * k + i]));
  }
  for (int g = 0; g <= d->nclases && g < 12; g++) {  // the legend names the first classes
    char nombre_g[16];
    snprintf(nombre_g, sizeof nombre_g, g == d->nclases ? "Total" : "%d+", g);
    anade(&s, "<text class=\"leyenda\" style=\"fill:%s\" x=\"%.1f\" y=\"%.1f\">%s</text>",
          g == d->nclases ? "#000" : COLORES[g % 8], e.izq + 6 + 38 * g, MARGEN_ARR - 10, nombre_g);
  }
  return s + "</svg>";
}

/* The length distribution in classes of a round width. */
std::string svg_longitudes(const muestra_pagina* m, const std::string& nombre, char decimal) {
  std::string s;
  float mayor = 0;
  for (int i = 0; i < m->n; i++) mayor = std::max(mayor, m->longitudes[i]);
  int nx;
  double ancho = paso_redondo(mayor, 20, &nx), xmax = ancho * nx;
  std::vector<int> cuenta((size_t)nx + 1, 0);
  for (int i = 0; i < m->n; i++)
    if (m->longitudes[i] >= 0) cuenta[(size_t)std::min(nx - 1, (int)(m->longitudes[i] / ancho))]++;
  int pico = *std::max_element(cuenta.begin(), cuenta.end());
  double paso_y, paso_x;
  int ny, nmarcas;
  double ymax = eje_redondo(std::max(pico, 1), 5, &paso_y, &ny);
  paso_x = paso_redondo(xmax, 6, &nmarcas);
  abre_svg(&s, ANCHO, ALTO, "Distribuci\xc3\xb3n de longitudes \xe2\x80\x94 " + nombre);
  ejes_svg e = ejes_de(xmax, ymax, ALTO);
  for (int b = 0; b < nx; b++)
    if (cuenta[(size_t)b])
      anade(&s, "<rect class=\"barra\" x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\"/>", px(&e, b * ancho),
            py(&e, cuenta[(size_t)b]), px(&e, ancho) - px(&e, 0), e.aba - py(&e, cuenta[(size_t)b]));
  dibuja_ejes(&s, &e, paso_x, paso_y, "Longitud (cm)", "Peces", decimal);
  return s + "</svg>";
}

/* Weight against length, each fish a dot, and the fitted W = a\xc2\xb7L^b. */
std::string svg_peso_longitud(const muestra_pagina* m, const biometria_muestra* b, const std::string& nombre,
                              char decimal) {
  std::string s;
  float lmax = 0, wmax = 0;
  for (int i = 0; i < m->n; i++) lmax = std::max(lmax, m->longitudes[i]), wmax = std::max(wmax, m->pesos[i]);
  double paso_x, paso_y;
  int nx, ny;
  double xmax = eje_redondo(lmax, 6, &paso_x, &nx), ymax = eje_redondo(wmax, 5, &paso_y, &ny);
  int cada = (m->n + MAX_PUNTOS - 1) / MAX_PUNTOS;
  std::string titulo = "Peso frente a longitud \xe2\x80\x94 " + nombre;
  if (cada > 1) titulo += " (un pez de cada " + std::to_string(cada) + ")";
  abre_svg(&s, ANCHO, ALTO, titulo);
  ejes_svg e = ejes_de(xmax, ymax, ALTO);
  dibuja_ejes(&s, &e, paso_x, paso_y, "Longitud (cm)", "Peso (g)", decimal);
  std::string puntos;
  for (int i = 0; i < m->n; i += cada)
    if (m->longitudes[i] >= 0 && m->pesos[i] >= 0)
      anade(&puntos, "M%.1f %.1fh0", px(&e, m->longitudes[i]), py(&e, m->pesos[i]));
  s += "<path class=\"puntos\" d=\"" + puntos + "\"/>";
  if (b->existe) {
    std::string curva;
    for (int i = 1; i <= 60; i++) {
      double l = xmax * i / 60, w = b->a * std::pow(l, (double)b->b);
      if (!std::isfinite(w) || w > ymax * 1.02) break;
      anade(&curva, "%s%.1f %.1f", curva.empty() ? "M" : "L", px(&e, l), py(&e, w));
    }
    if (!curva.empty()) s += "<path class=\"curva\" d=\"" + curva + "\"/>";
  }
  return s + "</svg>";
}

/* Class mean lengths against age, with the von Bertalanffy and polynomial curves. */
std::string svg_crecimiento(const muestra_pagina* m, int nclases, const resultados_informe* r,
                            const std::string& nombre, char decimal) {
  std::string s;
  const bertalanffy_muestra& vb = r->bertalanffy;
  const polinomio_muestra& q = r->polinomio;
  muestra_crecimiento g;
  float edad0 = vb.meses / 12;
  prepara_muestra_crecimiento(&g, m->clases, m->longitudes, m->n, nclases, edad0);
  double lmax = 0;
  for (int j = 0; j < nclases; j++) lmax = std::max(lmax, (double)g.medias[j]);
  int vb_hay = r->con_crecimiento && vb.existe, pol_hay = r->con_crecimiento && q.existe;
  if (vb_hay) lmax = std::max(lmax, (double)vb.linf);
  double paso_x, paso_y;
  int nx, ny;
  double xmax = eje_redondo(nclases + edad0, 6, &paso_x, &nx), ymax = eje_redondo(lmax, 5, &paso_y, &ny);
  abre_svg(&s, ANCHO, ALTO, "Longitud media por edad y curvas de crecimiento \xe2\x80\x94 " + nombre);
  ejes_svg e = ejes_de(xmax, ymax, ALTO);
  dibuja_ejes(&s, &e, paso_x, paso_y, "Edad (a\xc3\xb1os)", "Longitud media (cm)", decimal);
  for (int curva = 0; curva < 2; curva++) {
    if (!(curva ? pol_hay : vb_hay)) continue;
    std::string d;
    for (int i = 0; i <= 60; i++) {
      double t = xmax * i / 60;
      double l = curva ? q.a0 + q.a1 * t + q.a2 * t * t : vb.linf * (1 - std::exp(-vb.k * (t - vb.t0)));
      if (!std::isfinite(l) || l < 0 || l > ymax) continue;
      anade(&d, "%s%.1f %.1f", d.empty() ? "M" : "L", px(&e, t), py(&e, l));
    }
    if (!d.empty()) anade(&s, "<path class=\"curva%s\" d=\"%s\"/>", curva ? " polinomio" : "", d.c_str());
  }
  for (int j = 0; j < nclases; j++)
    if (g.medias[j] > 0)
      anade(&s, "<circle class=\"media\" cx=\"%.1f\" cy=\"%.1f\" r=\"3.5\"/>", px(&e, j + edad0), py(&e, g.medias[j]));
  anade(&s, "<g class=\"leyenda\"><circle class=\"media\" cx=\"%.1f\" cy=\"%.1f\" r=\"3.5\"/><text x=\"%.1f\" "
        "y=\"%.1f\">media</text>", e.izq + 8, MARGEN_ARR - 12.0, e.izq + 14, MARGEN_ARR - 8.0);
  if (vb_hay)
    anade(&s, "<path class=\"curva\" d=\"M%.1f %.1fh16\"/><text x=\"%.1f\" y=\"%.1f\">von Bertalanffy</text>",
          e.izq + 64, MARGEN_ARR - 12.0, e.izq + 84, MARGEN_ARR - 8.0);
  if (pol_hay)
    anade(&s, "<path class=\"curva polinomio\" d=\"M%.1f %.1fh16\"/><text x=\"%.1f\" y=\"%.1f\">polinomio</text>",
          e.izq + 180, MARGEN_ARR - 12.0, e.izq + 200, MARGEN_ARR - 8.0);
  return s + "</g></svg>";
}
