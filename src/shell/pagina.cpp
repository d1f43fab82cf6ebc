// The one loop of every scrolling table: draw the page, wait for a key, move
// or leave. Each table brings its own drawing and its own step.
#include "shell.h"

int recorre_pagina(const pagina_desplazable* p) {
  const int teclas[] = {p->tecla_atras, p->tecla_adelante, TECLA_ESC};
  int inicio = 0;
  for (;;) {
    int fin = p->dibuja(p->datos, inicio);
    int tecla = espera_tecla(teclas, 3);
    if (p->tras_tecla) p->tras_tecla(p->datos);
    if (tecla == TECLA_ESC) {
      c_esc = TECLA_ESC;
      return 1;
    }
    if (es_enter(tecla)) return 0;
    inicio = p->desplaza(p->datos, tecla, inicio, fin);
  }
}

int desplaza_una_fila(int tecla, int inicio, int visibles, int nfilas) {
  if (tecla == TECLA_ARRIBA && inicio > 0) return inicio - 1;
  if (tecla == TECLA_ABAJO && inicio + visibles < nfilas) return inicio + 1;
  return inicio;
}
