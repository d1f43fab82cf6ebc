// The HTML page of a season and of one report. Every figure on it is a cell
// of the summary's tables, taken as they write it, so that the page, the
// tables and the workbook never disagree; the charts are drawn from the same
// results. The page loads nothing and runs nothing: its policy forbids both.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "export.h"
#include "pagina.h"

/* The first bytes of every page: what tells a page this program wrote. */
static const char FIRMA[] =
    "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta name=\"generator\" content=\"pasadas-informe\">\n";
/* Nothing from the network or the disk, no script, no form, no frame. */
static const char POLITICA[] =
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'; "
    "img-src data:; base-uri 'none'; form-action 'none'\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";

static const char ESTILO[] =
    "<style>\n"
    "body{font-family:\"DejaVu Sans\",Arial,sans-serif;margin:0 auto;max-width:1200px;padding:0 16px;"
    "color:#111;line-height:1.35}\n"
    "h1{font-size:1.6em}h2{font-size:1.3em;border-bottom:2px solid #b0c4de;margin-top:1.6em}"
    "h3{font-size:1.05em;margin-bottom:.2em}\n"
    "table{border-collapse:collapse;font-size:.85em;margin:.3em 0}\n"
    "th,td{border:1px solid #bbb;padding:2px 5px;text-align:right;vertical-align:top}\n"
    "th{background:#d9d9d9;text-align:center}td.texto{text-align:left;overflow-wrap:anywhere;min-width:4em}td.largo{min-width:14em}\n"
    "tr.error td{background:#ffff99}.error{color:#b22222}\n"
    ".ancho{overflow-x:auto;max-width:100%}\n"
    ".graficos{display:grid;grid-template-columns:repeat(auto-fit,minmax(280px,1fr));gap:8px}\n"
    "figure{margin:0}svg{width:100%;height:auto;font-size:11px}.densidad svg{max-width:900px}\n"
    "svg text{fill:#222;font-family:inherit}svg .ejes path{stroke:#444;fill:none}svg .ejes path.rejilla{stroke:#ddd}\n"
    ".intervalo{stroke:#4169e1;stroke-width:2;fill:none}circle.estimada{fill:#4169e1}"
    "circle.captura{fill:#fff;stroke:#b8860b;stroke-width:2}\n"
    ".serie{fill:none;stroke-width:1.8}.barra{fill:#b0c4de;stroke:#4169e1}"
    ".puntos{stroke:#4169e1;stroke-width:3;stroke-linecap:round;fill:none}\n"
    ".curva{stroke:#d62728;stroke-width:2;fill:none}.curva.polinomio{stroke:#2ca02c;stroke-dasharray:5 3}"
    "circle.media{fill:#000}.nota{fill:#666}\n"
    "dl.datos{display:grid;grid-template-columns:max-content 1fr;gap:2px 12px}dd{margin:0;overflow-wrap:anywhere}"
    "code,pre{overflow-wrap:anywhere;white-space:pre-wrap}\n"
    "@page{size:A4;margin:12mm}\n"
    "@media print{body{max-width:none;padding:0;font-size:8pt}.tramo{break-before:page}"
    "tr,figure,svg{break-inside:avoid}thead{display:table-header-group}.ancho{overflow:visible}"
    "table{font-size:6.5pt}th,td{padding:1px 3px}.graficos{grid-template-columns:repeat(4,1fr)}"
    "h2{margin-top:0}a{color:inherit;text-decoration:none}nav{display:none}}\n"
    "</style>\n";

/* ---- Text ---- */

std::string escapa_html(const char* s) {
  std::string r;
  for (const unsigned char* c = (const unsigned char*)s; *c; c++) {
    switch (*c) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '"': r += "&quot;"; break;
      case '\'': r += "&#39;"; break;
      default: r += *c < 0x20 || *c == 0x7f ? '?' : (char)*c;
    }
  }
  return r;
}

std::string enlace_de(const char* nombre) {
  std::string r;
  for (const unsigned char* c = (const unsigned char*)nombre; *c; c++) {
    if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || strchr("-._~", *c)) {
      r += (char)*c;
    } else {
      char x[4];
      snprintf(x, sizeof x, "%%%02X", *c);
      r += x;
    }
  }
  return r;
}

int pagina_sustituible(const char* ruta) { return empieza_por(ruta, FIRMA, sizeof FIRMA - 1); }

static std::string principio(const std::string& titulo) {
  return std::string(FIRMA) + POLITICA + "<title>" + titulo + "</title>\n" + ESTILO + "</head>\n<body>\n";
}

std::string pagina_de_seccion(const std::string& seccion) {
  size_t h2 = seccion.find("<h2>"), fin = seccion.find("</h2>");
  std::string titulo = h2 != std::string::npos && fin != std::string::npos ? seccion.substr(h2 + 4, fin - h2 - 4) : "Tramo";
  return principio(titulo) + seccion + "</body>\n</html>\n";
}

/* ---- Tables from the summary's cells ---- */

/* Column `nombre` of summary table `tabla`, -1 when it has none. */
static int columna(int tabla, const char* nombre) {
  int n;
  const char* const* columnas = columnas_resumen(tabla, &n);
  for (int c = 0; c < n; c++)
    if (strcmp(columnas[c], nombre) == 0) return c;
  return -1;
}

/* A figure right-aligned, a word or a name left. */
static std::string celda_html(const std::string& texto, const char* etiqueta = "td") {
  int cifra = !texto.empty() && texto.find_first_not_of("-+0123456789.,") == std::string::npos;
  const char* clase = cifra ? ">" : texto.size() > 40 ? " class=\"texto largo\">" : " class=\"texto\">";
  return std::string("<") + etiqueta + clase + escapa_html(texto) + "</" + etiqueta + ">";
}

/* The rows of summary table `tabla`, from column desde on, headed by its titles. */
static std::string tabla_de_celdas(int tabla, int desde, const std::vector<std::vector<std::string>>& filas) {
  int n;
  const char* const* columnas = columnas_resumen(tabla, &n);
  std::string s = "<div class=\"ancho\"><table><thead><tr>";
  for (int c = desde; c < n; c++) s += "<th>" + escapa_html(columnas[c]) + "</th>";
  s += "</tr></thead><tbody>";
  for (const auto& fila : filas) {
    s += "<tr>";
    for (size_t c = (size_t)desde; c < fila.size(); c++) s += celda_html(fila[c]);
    s += "</tr>";
  }
  return s + "</tbody></table></div>\n";
}

/* Chosen columns of the reach's row of resumen, one row. */
static std::string tabla_elegida(const std::vector<std::string>& fila, const char* const* nombres, int n) {
  std::string cabeza, cuerpo;
  for (int i = 0; i < n; i++) {
    int c = columna(0, nombres[i]);
    if (c < 0 || (size_t)c >= fila.size()) continue;
    cabeza += "<th>" + escapa_html(nombres[i]) + "</th>";
    cuerpo += celda_html(fila[(size_t)c]);
  }
  return "<div class=\"ancho\"><table><thead><tr>" + cabeza + "</tr></thead><tbody><tr>" + cuerpo +
         "</tr></tbody></table></div>\n";
}

static const char* const AJUSTES[] = {"a", "b", "r2", "FC", "Linf", "k", "t0", "r2 (von Bertalanffy)",
                                      "B0", "B1", "B2", "r2 (polinomio)"};

/* "T03 / barbo", escaped. */
static std::string nombre_de(const tramo_resumen* t) {
  std::string n = t->tramo;
  if (t->especie[0]) n += std::string(" / ") + t->especie;
  return escapa_html(n);
}

/* ---- A reach ---- */

static std::string figura(const std::string& svg) { return "<figure>" + svg + "</figure>\n"; }

std::string seccion_de_tramo(const tramo_pagina* p) {
  const tramo_resumen* t = p->t;
  std::string nombre = nombre_de(t);
  std::string s = "<section class=\"tramo\">\n";
  if (p->volver) s += "<nav><a href=\"" + escapa_html(p->volver) + "\">\xe2\x86\x90 Resumen de la campa\xc3\xb1" "a</a></nav>\n";
  s += "<h2>" + ("Tramo " + nombre) + "</h2>\n<p>Fichero de datos: <code>" + escapa_html(t->fichero) + "</code>";
  if (t->error[0]) return s + "</p>\n<p class=\"error\">Sin informe: " + escapa_html(t->error) + "</p>\n</section>\n";
  const resultados_informe* r = t->resultados;
  s += " \xc2\xb7 " + std::to_string(r->k) + (r->k == 1 ? " pasada" : " pasadas") + " \xc2\xb7 " +
       std::to_string(r->medias.n) + " peces</p>\n";
  copia_tramo c;
  celdas_de_tramo(t, p->acerca, p->d, &c);
  char dec = p->d->decimal;
  s += "<div class=\"graficos\">" + figura(svg_capturas(t->diagnostico, nombre, dec)) +
       figura(svg_longitudes(p->m, nombre, dec)) +
       figura(svg_peso_longitud(p->m, &r->biometria, nombre, dec)) +
       figura(svg_crecimiento(p->m, r->poblacion.nclases, r, nombre, dec)) + "</div>\n";
  s += "<h3>Poblaci\xc3\xb3n por clases y por frecuencias</h3>\n" + tabla_de_celdas(1, 2, c.clases);
  s += "<h3>Segunda opini\xc3\xb3n</h3>\n" + tabla_de_celdas(2, 2, c.diagnostico);
  s += "<h3>Relaci\xc3\xb3n peso\xe2\x80\x93longitud y crecimiento</h3>\n" +
       tabla_elegida(c.tramo[0], AJUSTES, sizeof AJUSTES / sizeof *AJUSTES);
  int avisos = columna(0, "Avisos");
  if (avisos >= 0 && !c.tramo[0][(size_t)avisos].empty())
    s += "<p>" + ("Avisos: " + escapa_html(c.tramo[0][(size_t)avisos])) + "</p>\n";
  return s + "</section>\n";
}

/* ---- The methods paragraph ---- */

void metodos_anota(metodos_pagina* m, const tramo_resumen* t) {
  m->tramos++;
  if (t->error[0]) return;
  const resultados_informe* r = t->resultados;
  const poblacion_muestra& p = r->poblacion;
  m->pasadas_min = m->con_informe ? std::min(m->pasadas_min, r->k) : r->k;
  m->pasadas_max = m->con_informe ? std::max(m->pasadas_max, r->k) : r->k;
  m->con_informe++;
  m->fallidas += !p.g[p.nclases].existe;
  m->con_clases_fallidas += p.fallidas_con_peces > 0;
  m->avisos |= t->diagnostico->g[p.nclases].avisos;
  m->bertalanffy |= r->con_crecimiento && r->bertalanffy.existe;
  m->polinomio |= r->con_crecimiento && r->polinomio.existe;
  m->biometria |= r->biometria.existe;
  for (float medida : r->densidad.medidas) m->densidad |= medida != 0;
}

/* The references the paragraph may cite, as docs/metodos.md lists them. */
enum { CARLE, MORAN, PETERSON, RICKER, ROSENBERGER, SCHNUTE, SEBER, BERTALANFFY, ZIPPIN56, ZIPPIN58, REFERENCIAS };
static const char* const REFERENCIA[REFERENCIAS] = {
    "Carle, F. L. y Strub, M. R. (1978). A new method for estimating population size from removal data. "
    "<i>Biometrics</i> 34: 621\xe2\x80\x93" "630.",
    "Moran, P. A. P. (1951). A mathematical theory of animal trapping. <i>Biometrika</i> 38: 307\xe2\x80\x93" "311.",
    "Peterson, J. T., Thurow, R. F. y Guzevich, J. W. (2004). An evaluation of multipass electrofishing for "
    "estimating the abundance of stream-dwelling salmonids. <i>Transactions of the American Fisheries "
    "Society</i> 133: 462\xe2\x80\x93" "475.",
    "Ricker, W. E. (1975). Computation and interpretation of biological statistics of fish populations. "
    "<i>Bulletin of the Fisheries Research Board of Canada</i> 191.",
    "Rosenberger, A. E. y Dunham, J. B. (2005). Validation of abundance estimates from mark\xe2\x80\x93recapture "
    "and removal techniques for rainbow trout captured by electrofishing in small streams. <i>North American "
    "Journal of Fisheries Management</i> 25: 1395\xe2\x80\x93" "1410.",
    "Schnute, J. (1983). A new approach to estimating populations by the removal method. <i>Canadian Journal "
    "of Fisheries and Aquatic Sciences</i> 40: 2153\xe2\x80\x93" "2169.",
    "Seber, G. A. F. (1982). <i>The estimation of animal abundance and related parameters</i>, 2.\xc2\xaa ed. "
    "Griffin, Londres.",
    "von Bertalanffy, L. (1938). A quantitative theory of organic growth (Inquiries on growth laws. II). "
    "<i>Human Biology</i> 10: 181\xe2\x80\x93" "213.",
    "Zippin, C. (1956). An evaluation of the removal method of estimating animal populations. "
    "<i>Biometrics</i> 12: 163\xe2\x80\x93" "189.",
    "Zippin, C. (1958). The removal method of population estimation. <i>Journal of Wildlife Management</i> "
    "22: 82\xe2\x80\x93" "90.",
};

std::string parrafo_metodos(const metodos_pagina* m, const char* version, char decimal) {
  std::set<int> citas = {ZIPPIN56, ZIPPIN58, SEBER};
  std::string s = "<p>";
  if (m->con_informe == 0)
    return "<p>Ning\xc3\xban tramo tiene informe: no hay m\xc3\xa9todos que describir.</p>\n";
  std::string k = std::to_string(m->pasadas_min);
  if (m->pasadas_max != m->pasadas_min) k += " a " + std::to_string(m->pasadas_max);
  s += m->tramos == 1 ? "El tramo se pesc\xc3\xb3 en " + k + " pasadas sucesivas"
                      : "Cada tramo se pesc\xc3\xb3 en " + k + " pasadas sucesivas";
  s += " sin devolver los peces hasta el final. La poblaci\xc3\xb3n de cada clase de edad y de la muestra "
       "completa se estim\xc3\xb3 por el m\xc3\xa9todo de capturas sucesivas de Zippin (1956, 1958; Seber 1982), "
       "que supone una poblaci\xc3\xb3n cerrada y la misma probabilidad de captura en todas las pasadas; el "
       "intervalo del 95 % va de la captura a N + 1";
  s += decimal;
  s += "96\xc2\xb7" "ES, redondeado hacia arriba. La estimaci\xc3\xb3n de la muestra completa se reparti\xc3\xb3 "
       "entre las clases seg\xc3\xban su frecuencia en la captura.";
  if (m->fallidas)
    s += " En " + std::to_string(m->fallidas) + (m->fallidas == 1 ? " tramo" : " tramos") +
         " las capturas no decrecieron lo bastante para estimar (R \xe2\x89\xa5 (k \xe2\x88\x92 1)/2) y se dio la "
         "captura como recuento m\xc3\xadnimo.";
  if (m->con_clases_fallidas)
    s += " En " + std::to_string(m->con_clases_fallidas) + (m->con_clases_fallidas == 1 ? " tramo" : " tramos") +
         " alguna clase con peces qued\xc3\xb3 sin estimaci\xc3\xb3n propia y se dio su captura.";
  s += " Como segunda opini\xc3\xb3n se calcularon la estimaci\xc3\xb3n de m\xc3\xa1xima verosimilitud exacta con p "
       "constante (Moran 1951), el modelo con la primera pasada aparte (Schnute 1983), la bondad de ajuste "
       "\xcf\x87\xc2\xb2 de las capturas por pasada y la estimaci\xc3\xb3n de Carle y Strub (1978).";
  citas.insert({MORAN, SCHNUTE, CARLE});
  if (m->avisos & (1u << BAJA_TRAS_LA_PRIMERA | 1u << SUBE_TRAS_LA_PRIMERA)) {
    s += " En alg\xc3\xban tramo la capturabilidad cambi\xc3\xb3 tras la primera pasada (Moran frente a Schnute, "
         "p < 0";
    s += decimal;
    s += "05): con una capturabilidad que baja, la estimaci\xc3\xb3n queda por debajo de la poblaci\xc3\xb3n real "
         "(Peterson, Thurow y Guzevich 2004; Rosenberger y Dunham 2005).";
    citas.insert({PETERSON, ROSENBERGER});
  }
  if (m->avisos & (1u << DESIGUAL_ENTRE_CLASES))
    s += " En alg\xc3\xban tramo la capturabilidad fue desigual entre clases de edad.";
  if (m->densidad)
    s += " La densidad y la biomasa se refieren a la superficie, el volumen o la longitud dados de cada tramo.";
  if (m->biometria) {
    s += " La relaci\xc3\xb3n peso\xe2\x80\x93longitud se ajust\xc3\xb3 por regresi\xc3\xb3n log\xe2\x80\x93log (Ricker 1975).";
    citas.insert(RICKER);
  }
  if (m->bertalanffy) {
    s += " El crecimiento se ajust\xc3\xb3 con el modelo de von Bertalanffy (1938) sobre las longitudes medias "
         "por clase, con la Linf dada";
    s += m->polinomio ? ", y con un polinomio de segundo grado." : ".";
    citas.insert(BERTALANFFY);
  } else if (m->polinomio) {
    s += " El crecimiento se ajust\xc3\xb3 con un polinomio de segundo grado sobre las longitudes medias por clase.";
  }
  s += " C\xc3\xa1lculos con " + escapa_html(version) + ".</p>\n<h3>Referencias</h3>\n<ul class=\"referencias\">\n";
  for (int c : citas) s += std::string("<li>") + REFERENCIA[c] + "</li>\n";
  return s + "</ul>\n";
}

/* ---- The season's page ---- */

/* The summary's columns the page shows, as resumen names them: the
   measures per m3 and per m only when some reach was given them. */
static const struct {
  const char* nombre;
  int medida;  /* the measure it needs (volume, surface, length), -1 none */
} SUMARIO[] = {
    {"Tramo", -1}, {"Especie", -1}, {"Pasadas", -1}, {"Capturados", -1}, {"N (ind)", -1},
    {"L\xc3\xadmite inf.", -1}, {"L\xc3\xadmite sup.", -1}, {"Estimaci\xc3\xb3n", -1},
    {"Densidad por frecuencias (N/m2)", 1}, {"Biomasa por frecuencias (g/m2)", 1},
    {"Densidad por frecuencias (N/m3)", 0}, {"Biomasa por frecuencias (g/m3)", 0},
    {"Densidad por frecuencias (N/m)", 2}, {"Biomasa por frecuencias (g/m)", 2},
    {"Avisos", -1}, {"Error", -1}};
/* The second opinion's word on the whole sample, beside the estimate's. */
static const char SEGUNDA[] = "Segunda opini\xc3\xb3n";
static const int COLUMNA_SEGUNDA = 8;  /* it goes after Estimación */

void pagina_abre(pagina_campana* p, const acerca_resumen* acerca, const dialecto_resumen* d, int con_paginas,
                 const int* medidas) {
  p->acerca = *acerca;
  p->d = *d;
  p->con_paginas = con_paginas;
  p->columnas.clear();
  for (const auto& c : SUMARIO) {
    if (p->columnas.size() == (size_t)COLUMNA_SEGUNDA) p->columnas.push_back(SEGUNDA);
    if (c.medida < 0 || medidas[c.medida]) p->columnas.push_back(c.nombre);
  }
  p->filas.clear(), p->secciones.clear(), p->densidades.clear(), p->fallidos.clear(), p->especies.clear();
  p->metodos = metodos_pagina();
}

/* The reach's point of the density chart: the summary picture's bar, its name in UTF-8. */
static punto_densidad punto_de(const tramo_resumen* t) {
  barra_resumen b = barra_resumen();
  barra_de_tramo(t, &b);
  return punto_densidad{t->tramo + std::string(t->especie[0] ? " / " : "") + t->especie, b.hay, b.estimada,
                        b.densidad, b.inferior, b.superior};
}

void pagina_tramo(pagina_campana* p, const tramo_resumen* t, const std::string& seccion, const std::string& enlace) {
  copia_tramo c;
  celdas_de_tramo(t, &p->acerca, &p->d, &c);
  const std::vector<std::string>& fila = c.tramo[0];
  int estado = columna(2, "Estado");
  std::string segunda = !t->error[0] && estado >= 0 && !c.diagnostico.empty() ? c.diagnostico.back()[(size_t)estado] : "-";
  p->filas += t->error[0] ? "<tr class=\"error\">" : "<tr>";
  for (const std::string& nombre : p->columnas) {
    if (nombre == SEGUNDA) {
      p->filas += celda_html(segunda);
      continue;
    }
    int k = columna(0, nombre.c_str());
    std::string texto = k >= 0 && (size_t)k < fila.size() ? fila[(size_t)k] : "";
    if (nombre == "Tramo" && !enlace.empty())
      p->filas += "<td class=\"texto\"><a href=\"tramos/" + escapa_html(enlace_de(enlace.c_str())) + "\">" +
                  escapa_html(texto) + "</a></td>";
    else
      p->filas += celda_html(texto);
  }
  p->filas += "</tr>\n";
  p->secciones += seccion;
  p->densidades.push_back(punto_de(t));
  if (t->error[0]) p->fallidos.push_back(nombre_de(t));
  if (std::find(p->especies.begin(), p->especies.end(), t->especie) == p->especies.end())
    p->especies.push_back(t->especie);
  metodos_anota(&p->metodos, t);
}

/* The head: the table, the run, the reaches and species, what failed. */
static std::string cabeza(const pagina_campana* p) {
  std::string especies;
  int n = 0;
  for (const std::string& e : p->especies)
    if (!e.empty()) especies += (n++ ? ", " : "") + escapa_html(e);
  std::string fallidos;
  for (size_t i = 0; i < p->fallidos.size(); i++) fallidos += (i ? ", " : "") + p->fallidos[i];
  return "<header>\n<h1>Campa\xc3\xb1" "a de pesca por pasadas</h1>\n<dl class=\"datos\">\n<dt>Tabla de tramos</dt><dd><code>" +
         escapa_html(p->acerca.tabla) + "</code></dd>\n<dt>Fecha</dt><dd>" + escapa_html(p->acerca.fecha) +
         "</dd>\n<dt>Programa</dt><dd>" + escapa_html(p->acerca.version) + "</dd>\n<dt>Tramos</dt><dd>" +
         std::to_string(p->metodos.tramos) + ", con informe " + std::to_string(p->metodos.con_informe) +
         "</dd>\n<dt>Especies</dt><dd>" + std::to_string(n) + (n ? ": " + especies : "") +
         "</dd>\n<dt>Sin informe</dt><dd>" + (fallidos.empty() ? std::string("ninguno") : fallidos) +
         "</dd>\n</dl>\n</header>\n";
}

static std::string resumen_html(const pagina_campana* p) {
  std::string s = "<section id=\"resumen\">\n<h2>Resumen por tramo</h2>\n<div class=\"ancho\"><table class=\"resumen\"><thead><tr>";
  for (const std::string& c : p->columnas) s += "<th>" + escapa_html(c) + "</th>";
  return s + "</tr></thead>\n<tbody>\n" + p->filas + "</tbody></table></div>\n<p>Las cifras son las de <code>resumen." +
         escapa_html(p->d.extension) + "</code>; la segunda opini\xc3\xb3n, la de la fila Total de <code>resumen_diagnostico." +
         escapa_html(p->d.extension) + "</code>.</p>\n</section>\n";
}

/* The density of every reach, in charts of TRAMOS_POR_PAGINA reaches on one scale. */
static std::string densidad_html(const pagina_campana* p) {
  double maximo = 0;
  for (const punto_densidad& d : p->densidades)
    if (d.hay) maximo = std::max(maximo, (double)d.superior);
  std::string s = "<section id=\"densidad\" class=\"densidad\">\n<h2>Densidad por tramo</h2>\n";
  if (maximo <= 0) return s + "<p>Ning\xc3\xban tramo tiene densidad por m\xc2\xb2: falta su superficie.</p>\n</section>\n";
  int n = (int)p->densidades.size();
  for (int desde = 0; desde < n; desde += TRAMOS_POR_PAGINA)
    s += figura(svg_densidad(p->densidades, desde, std::min(n, desde + TRAMOS_POR_PAGINA), maximo, p->d.decimal));
  return s + "</section>\n";
}

static std::string fila_de(const std::vector<std::string>& celdas, const char* etiqueta) {
  std::string s = "<tr>";
  for (const std::string& c : celdas) s += celda_html(c, etiqueta);
  return s + "</tr>";
}

/* The inputs: the table's cells as given, each data file's size and fingerprint, the run's options. */
static std::string entradas_html(const std::vector<std::string>& columnas, const std::vector<entrada_pagina>& entradas,
                                 const std::string& opciones) {
  std::string s = "<section id=\"entradas\">\n<h2>Datos de partida</h2>\n";
  if (!columnas.empty()) {
    s += "<h3>Tabla de tramos</h3>\n<div class=\"ancho\"><table><thead>" + fila_de(columnas, "th") + "</thead><tbody>\n";
    for (const entrada_pagina& e : entradas) s += fila_de(e.celdas, "td") + "\n";
    s += "</tbody></table></div>\n";
  }
  s += "<h3>Ficheros de datos</h3>\n<div class=\"ancho\"><table class=\"ficheros\"><thead><tr><th>Fichero</th><th>Bytes</th>"
       "<th>SHA-256</th></tr></thead><tbody>\n";
  std::set<std::string> vistos;
  for (const entrada_pagina& e : entradas) {
    if (e.ruta.empty() || !vistos.insert(e.ruta).second) continue;
    std::string huella;
    long long bytes;
    if (e.ruta == "ejemplo")
      s += "<tr><td class=\"texto\">ejemplo</td><td>-</td><td class=\"texto\">la muestra incorporada</td></tr>\n";
    else if (huella_de_fichero(e.ruta.c_str(), &huella, &bytes))
      s += "<tr><td class=\"texto\"><code>" + escapa_html(e.ruta) + "</code></td><td>" + std::to_string(bytes) +
           "</td><td class=\"texto\"><code>" + huella + "</code></td></tr>\n";
    else
      s += "<tr><td class=\"texto\"><code>" + escapa_html(e.ruta) + "</code></td><td>-</td><td class=\"texto\">no se "
           "puede leer</td></tr>\n";
  }
  return s + "</tbody></table></div>\n<h3>Opciones</h3>\n<pre>" + escapa_html(opciones) + "</pre>\n</section>\n";
}

static std::string metodos_html(const metodos_pagina* m, const char* version, char decimal) {
  return "<section id=\"metodos\">\n<h2>M\xc3\xa9todos</h2>\n" + parrafo_metodos(m, version, decimal) + "</section>\n";
}

std::string pagina_texto(const pagina_campana* p, const std::vector<std::string>& columnas_entrada,
                         const std::vector<entrada_pagina>& entradas, const std::string& opciones) {
  return principio("Campa\xc3\xb1" "a: " + escapa_html(p->acerca.tabla)) + cabeza(p) + resumen_html(p) +
         densidad_html(p) + metodos_html(&p->metodos, p->acerca.version, p->d.decimal) +
         entradas_html(columnas_entrada, entradas, opciones) + p->secciones + "</body>\n</html>\n";
}

std::string pagina_de_informe(const tramo_pagina* p, const char* datos, const std::string& opciones) {
  metodos_pagina m = metodos_pagina();
  metodos_anota(&m, p->t);
  std::vector<entrada_pagina> entradas(1);
  entradas[0].ruta = datos;
  std::string s = principio("Informe: " + escapa_html(p->t->fichero)) +
                  "<header>\n<h1>Informe de pesca por pasadas</h1>\n<dl class=\"datos\">\n<dt>Datos</dt><dd><code>" +
                  escapa_html(p->t->fichero) + "</code></dd>\n<dt>Fecha</dt><dd>" + escapa_html(p->acerca->fecha) +
                  "</dd>\n<dt>Programa</dt><dd>" + escapa_html(p->acerca->version) + "</dd>\n</dl>\n</header>\n";
  return s + metodos_html(&m, p->acerca->version, p->d->decimal) +
         entradas_html(std::vector<std::string>(), entradas, opciones) + seccion_de_tramo(p) + "</body>\n</html>\n";
}
