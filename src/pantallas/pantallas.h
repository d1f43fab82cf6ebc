// The screens drawn over the computations: each takes the sample or the
// structs the computations return and shows them in the window; the graph
// functions draw the same into a new bitmap owned by the caller, for the
// report; the export variants (suffix _devuelve) ask what the report needs.
#ifndef PASADAS_PANTALLAS_H
#define PASADAS_PANTALLAS_H

#include <allegro.h>

#include "analysis.h"

/* ---- Loading a data file ---- */
/* "Cargar datos": asks for a file with classes, reads and shows it; returns
   n, 0 when nothing was loaded. */
int cargar_datos_mas(int* pasadas, float* longitudes, float* pesos, int* clases);
/* The same for a file without classes; 0 also when its table was left with ESC. */
int cargar_datos(int* pasadas, float* longitudes, float* pesos);
/* Name of the data file the loaded sample came from ("" before any load), so
   that a report is never written over it. */
extern char fichero_muestra[30];

/* Shows the example sample under "Cargar datos"; returns 38. */
int imprime_ejemplo(int* pasadas, float* longitudes, float* pesos, int* clases);
/* Age classes from length intervals over a histogram; returns the number of
   classes, 0 when abandoned. */
int clases_edad(int* clases, float* longitudes, int* pasadas, int n);

/* ---- Frequencies by age class ---- */
void calculo_frecuencias(int* clases, int nfish, int nclases);      /* "Frecuencia" screen */
/* New 541x403 bar graph of the shares fr of classes 0..nclases-1, as
   frecuencias_relativas gives them; owned by the caller, NULL when no bitmap
   can be made. */
BITMAP* grafico_frecuencias(const float* fr, int nclases);

/* ---- Mean lengths and weights ---- */
void datos_medios(int* clases, float* longitudes, float* pesos, int nfish, int nclases);

/* ---- Removal population estimator ---- */
void calculo_poblacional(int* clases, int* pasadas, int n, int nclases, int k); /* the screen */

/* ---- Reach measures, density and biomass ---- */
/* The density screen: the measure menu, then the blocks calcula_densidad
   makes of the sample's means m and estimate p, the report's own figures. */
void densidad_de_poblacion(const medias_muestra* m, const poblacion_muestra* p);
int densidad_biomasa_devuelve(); /* the measure menu alone; 1 when left with ESC */

/* ---- Weight-length relationship ---- */
/* New 541x510 bitmap of the fit for the report, NULL without memory. */
BITMAP* grafico_biometria(const float* longitudes, const float* pesos, int n,
                          const biometria_muestra* f);
void relaciones_biometricas(float* longitudes, float* pesos, int n);
/* The export variant: the fit's new 541x510 bitmap, NULL without memory. */
BITMAP* relaciones_biometricas_devuelve(float* longitudes, float* pesos, int n);

/* ---- Growth: von Bertalanffy with Walford, polynomial ---- */
/* New 541x552 bitmap of the fit b of m for the report (NULL only when memory runs out). */
BITMAP* grafico_bertalanffy(const muestra_crecimiento* m, const bertalanffy_muestra* b);
/* The export's step for Linf (cm) and the months, with Walford's suggestion,
   on the "Von Bertalanffy" page. A Linf shorter than the longest fish gets
   its red message and a key (stored in c_esc). 1 with both typed; 0 when
   given up with ESC, in an entry or on that message. */
int pide_linf_exporta(const muestra_crecimiento* m, float* linf, float* meses);
/* New 541x500 bitmap of the fit p of m for the report (NULL only when memory runs out). */
BITMAP* grafico_polinomio(const muestra_crecimiento* m, const polinomio_muestra* p);
void menu_crecimiento(int* clases, float* longitudes, int nclases, int nfish);
void von_bertalanffy(int* clases, float* longitudes, int nclases, int nfish);
/* The export variant: mode 2 asks for Linf and the months, any other mode
   takes Lmax1 and mes0. predichas gets the lengths at the whole ages 0..9
   (left as they were when Linf is below the longest fish); *edad0 the age of
   class 0+ in years; *cancela is set to 1 on ESC and otherwise left alone.
   Returns a new 541x552 bitmap (NULL only when memory runs out). */
BITMAP* von_bertalanffy_devuelve(int modo, int* clases, float* longitudes, int nclases, int nfish,
                                 float* predichas, float* edad0, int* cancela);
void ajuste_polinomial(int nfish, int nclases, float* longitudes, int* clases);
/* The export variant: fits with the age of class 0+ in *edad0 (years).
   Returns a new 541x500 bitmap (NULL only when memory
   runs out); predichas gets the lengths at the whole ages 0..9. */
BITMAP* ajuste_polinomial_devuelve(int nfish, int nclases, float* longitudes, float* predichas,
                                   int* clases, float* edad0);

#endif
