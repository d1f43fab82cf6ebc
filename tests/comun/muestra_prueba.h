// Samples for tests, built from their catch per class and pass.
#ifndef PRUEBAS_MUESTRA_PRUEBA_H
#define PRUEBAS_MUESTRA_PRUEBA_H

#include <vector>

#include "sample.h"

struct MuestraPrueba {
  std::vector<int> pasadas, clases;
  int n() const { return (int)pasadas.size(); }
  int nclases() const { return numero_clases(clases.data(), n()); }
  int k() const { return calculo_pasadas(pasadas.data(), n()); }
};

/* capturas[clase][pasada - 1] fish of that class caught in that pass. */
inline MuestraPrueba muestra_de(const std::vector<std::vector<int>>& capturas) {
  MuestraPrueba m;
  for (size_t c = 0; c < capturas.size(); c++)
    for (size_t j = 0; j < capturas[c].size(); j++)
      for (int i = 0; i < capturas[c][j]; i++) {
        m.pasadas.push_back((int)j + 1);
        m.clases.push_back((int)c);
      }
  return m;
}

#endif
