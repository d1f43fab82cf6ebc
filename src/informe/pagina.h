// The HTML page of a season (informe.html) and of one report (--html): a
// document to hand in, with the summary's very cells, vector charts and a
// methods paragraph, whole in one file that loads nothing and runs nothing.
#ifndef PASADAS_PAGINA_H
#define PASADAS_PAGINA_H

#include <cstdint>
#include <string>
#include <vector>

#include "resumen.h"

/* ---- Text ---- */
/* s with &, <, >, " and ' written as entities, every control code as '?':
   a cell of the user's shows as its characters and never as markup. */
std::string escapa_html(const char* s);
inline std::string escapa_html(const std::string& s) { return escapa_html(s.c_str()); }
/* A file's name as a link takes it: every byte but letters, digits and -._~ as %XX. */
std::string enlace_de(const char* nombre);
/* 1 when ruta may take a page: no file there, an empty one, or one this
   program wrote (it starts with the page's first lines). */
int pagina_sustituible(const char* ruta);

/* ---- The SHA-256 fingerprint (huella.cpp) ---- */
struct huella {
  uint32_t h[8];
  unsigned long long largo;  /* bytes taken so far */
  unsigned char resto[64];
};
void huella_empieza(huella* s);
void huella_anade(huella* s, const void* datos, size_t n);
std::string huella_termina(huella* s);  /* 64 lower-case hex digits */
/* The fingerprint and size of the regular file ruta; 0 when it cannot be read. */
int huella_de_fichero(const char* ruta, std::string* hex, long long* bytes);

/* ---- Charts (pagina_svg.cpp) ---- */
/* Round ticks (1, 2 or 5 times a power of ten) from 0 to at least maximo;
   their step, and how many past 0 in *n. */
double paso_redondo(double maximo, int marcas, int* n);
/* A reach's density per m2 in the season's chart. */
struct punto_densidad {
  std::string nombre;     /* "T03 / barbo", UTF-8 */
  int hay, estimada;      /* as barra_resumen's */
  float densidad, inferior, superior;
};
/* The chart of the reaches desde..hasta-1, on the scale that reaches maximo
   (fish/m2). Every chart writes its tick values with the decimal sign given. */
std::string svg_densidad(const std::vector<punto_densidad>& puntos, int desde, int hasta, double maximo,
                         char decimal);
/* What a reach's charts are drawn from: its fish and its fits. */
struct muestra_pagina {
  const int* pasadas;
  const float* longitudes;
  const float* pesos;
  const int* clases;
  int n;
};
/* A reach's charts; nombre names it in their titles. */
std::string svg_capturas(const diagnostico_muestra* d, const std::string& nombre, char decimal);
std::string svg_longitudes(const muestra_pagina* m, const std::string& nombre, char decimal);
std::string svg_peso_longitud(const muestra_pagina* m, const biometria_muestra* b, const std::string& nombre,
                              char decimal);
std::string svg_crecimiento(const muestra_pagina* m, int nclases, const resultados_informe* r,
                            const std::string& nombre, char decimal);

/* ---- The page (pagina.cpp) ---- */
/* A reach as its section shows it. */
struct tramo_pagina {
  const tramo_resumen* t;       /* names, error, figures and second opinion */
  const muestra_pagina* m;      /* its fish; unread after an error */
  const acerca_resumen* acerca; /* the run */
  const dialecto_resumen* d;    /* the summary's way of writing figures */
  const char* volver;           /* the season's page, on a page of its own; NULL within it */
};
/* The reach's section: its charts, its tables, its data file. */
std::string seccion_de_tramo(const tramo_pagina* p);

/* What the methods paragraph says: what the season actually used. */
struct metodos_pagina {
  int tramos, con_informe;
  int pasadas_min, pasadas_max;
  int fallidas;          /* reaches whose whole-sample estimate failed */
  int con_clases_fallidas;
  unsigned avisos;       /* the second opinion's warnings on some reach (1u << palabra) */
  int bertalanffy, polinomio, biometria, densidad;
};
void metodos_anota(metodos_pagina* m, const tramo_resumen* t);
/* The paragraph and its references; version names the program, decimal writes its figures. */
std::string parrafo_metodos(const metodos_pagina* m, const char* version, char decimal);

/* A reach table's row and its data file, for the page's inputs. */
struct entrada_pagina {
  std::vector<std::string> celdas;  /* as the table gives them */
  std::string ruta;                 /* the data file as read */
};

/* A season's page, built a reach at a time in the table's order. */
struct pagina_campana {
  acerca_resumen acerca;
  dialecto_resumen d;
  int con_paginas;            /* each reach has its own page in tramos/ */
  std::vector<std::string> columnas; /* the summary's columns shown, as resumen names them */
  std::string filas;          /* the summary table's rows */
  std::string secciones;      /* the reaches' sections, without pages of their own */
  std::vector<punto_densidad> densidades;
  std::vector<std::string> fallidos;
  std::vector<std::string> especies;
  metodos_pagina metodos;
};
/* Starts the page; medidas[k]: some reach was given volume, surface, length. */
void pagina_abre(pagina_campana* p, const acerca_resumen* acerca, const dialecto_resumen* d,
                 int con_paginas, const int* medidas);
/* The reach's row of the summary; seccion is its section (a season of
   one page) and enlace its page's name in tramos/ ("" for none). */
void pagina_tramo(pagina_campana* p, const tramo_resumen* t, const std::string& seccion,
                  const std::string& enlace);
/* The whole page; columnas_entrada titles the inputs' cells, opciones is
   the run's command line as it was given. */
std::string pagina_texto(const pagina_campana* p, const std::vector<std::string>& columnas_entrada,
                         const std::vector<entrada_pagina>& entradas, const std::string& opciones);
/* One report's page: its reach's section, methods and inputs. */
std::string pagina_de_informe(const tramo_pagina* p, const char* datos, const std::string& opciones);
/* A reach's own page: its section alone, titled as its heading. */
std::string pagina_de_seccion(const std::string& seccion);

#endif
