// Keyboard entry: the number field and the file-name field. The program has
// no text widgets; every value is collected key by key and echoed by the
// screen that asks for it.
#include "shell.h"

#include <cmath>
#include <cstring>

void numero_vacia(campo_numero* c) {
  c->valor = 0;
  c->punto = 0;
  c->decimales = 0;
}

/* Whole digits a field takes: a float holds every whole number of seven
   digits exactly, so the echo shows what was typed and fits every field's
   place on its page; an eighth digit would show other digits than the typed ones. */
static const float TOPE_ENTERO = 1e6f;

static cambio_numero digito(campo_numero* c, int d) {
  if (!c->punto) {
    if (c->valor >= TOPE_ENTERO) return NUMERO_IGNORADA;
    c->valor = c->valor * 10 + d;
    return NUMERO_CAMBIA;
  }
  if (c->decimales >= 2) return NUMERO_IGNORADA;
  c->decimales++;
  c->valor = (float)(c->valor + d / pow(10.0, c->decimales));
  return NUMERO_CAMBIA;
}

int es_punto_decimal(int tecla) {
  int a = ascii(tecla);
  return a == '.' || a == ',';
}

cambio_numero numero_tecla(campo_numero* c, int tecla) {
  int a = ascii(tecla);
  if (a >= '0' && a <= '9') return digito(c, a - '0');
  if (es_punto_decimal(tecla)) {
    if (c->punto) return NUMERO_IGNORADA;
    c->punto = 1;
    return NUMERO_CAMBIA;
  }
  if (a == ASCII_BORRAR) {
    numero_vacia(c);
    return NUMERO_BORRADO;
  }
  return NUMERO_IGNORADA;
}

const char* numero_formato(const campo_numero* c) {
  static const char* const formatos[] = {"%.0f", "%.1f", "%.2f"};
  return formatos[c->decimales];
}

int caracter_de_nombre(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
}

static void borra(int x1, int y1, int x2, int y2) {
  if (x2 > x1) rectfill(screen, x1, y1, x2, y2, gris_pagina());
}

static void avisa(const estilo_nombre* e) {
  if (e->aviso_centrado)
    texto_centrado(screen, FUENTE_CELDAS, e->aviso_x, e->aviso_y, rojo_mensaje(), "%s", e->aviso);
  else
    texto(screen, FUENTE_CELDAS, e->aviso_x, e->aviso_y, rojo_mensaje(), "%s", e->aviso);
}

/* Applies one key to the name; returns 1 when the key was accepted. A key
   beyond the room is taken but dropped, so the name never outgrows its buffer. */
static int aplica_tecla(char* nombre, int* pos, int capacidad, int tecla, const estilo_nombre* e) {
  int c = ascii(tecla);
  if (caracter_de_nombre(c)) {
    if (*pos < capacidad) {
      nombre[(*pos)++] = (char)c;
      nombre[*pos] = 0;
    }
    return 1;
  }
  if (c == ASCII_BORRAR && *pos > 0) {
    nombre[--(*pos)] = 0;
    borra(e->borra_bs_x1, e->borra_bs_y1, e->borra_bs_x2, e->borra_bs_y2);
    return 1;
  }
  return 0;
}

int campo_nombre(char* nombre, int capacidad, const estilo_nombre* e, int primera) {
  int pos = 0;
  nombre[0] = 0;
  int t = primera ? primera : lee_tecla();
  while (!es_enter(t)) {
    if (t == TECLA_ESC) {
      c_esc = TECLA_ESC;
      return 0;
    }
    if (!aplica_tecla(nombre, &pos, capacidad, t, e)) avisa(e);
    texto(screen, FUENTE_TITULO, e->x, e->y, negro(), e->eco, nombre);
    t = lee_tecla();
    // ESC leaves at once: a refused-key message stays with the name as typed
    if (t != TECLA_ESC) borra(e->borra_x1, e->borra_y1, e->borra_x2, e->borra_y2);
  }
  return 1;
}

fin_numero lee_numero(campo_numero* c, const uso_numero* u) {
  numero_vacia(c);
  if (u->eco_inicial) u->eco(u->datos, c, 0, NUMERO_BORRADO);
  for (;;) {
    int tecla = lee_tecla();
    if (tecla == TECLA_ESC) {
      c_esc = TECLA_ESC;
      return NUMERO_ESC;
    }
    if (u->tecla_fin && ascii(tecla) == u->tecla_fin) return NUMERO_OTRA;
    if (es_enter(tecla)) {
      if (u->maximo < 0 || c->valor <= u->maximo) return NUMERO_ENTER;
      numero_vacia(c);
      u->rechazo(u->datos);
      continue;
    }
    u->eco(u->datos, c, tecla, numero_tecla(c, tecla));
  }
}
