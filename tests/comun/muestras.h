// Sample builders shared by the computation and screen tests.
#ifndef PRUEBAS_MUESTRAS_H
#define PRUEBAS_MUESTRAS_H

#include <initializer_list>
#include <vector>

/* Classes of a sample with cuantos[c] fish of class c, in class order. */
inline std::vector<int> clases_con(std::initializer_list<int> cuantos) {
  std::vector<int> clases;
  int c = 0;
  for (int k : cuantos) clases.insert(clases.end(), k, c++);
  return clases;
}

#endif
