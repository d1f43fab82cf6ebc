// The results report: nine tab-separated sections and four graph images.
#ifndef PASADAS_EXPORT_H
#define PASADAS_EXPORT_H

/* "Exportar resultados": asks for the report's name and mode and writes it. */
int exporta_todo(int* pasadas, float* longitudes, float* pesos, int* clases, int n);

#endif
