// The SHA-256 fingerprint of a data file, for the season's page: a reader
// of the report can tell that the file in hand is the one its figures came
// from. FIPS 180-4, small enough to keep here rather than add a library
// that every platform's build would have to carry.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "pagina.h"
#include "sample.h"

static const uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

static uint32_t gira(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

/* One 64-byte block into the state h. */
static void bloque(uint32_t* h, const unsigned char* b) {
  uint32_t w[64];
  for (int i = 0; i < 16; i++)
    w[i] = (uint32_t)b[4 * i] << 24 | (uint32_t)b[4 * i + 1] << 16 | (uint32_t)b[4 * i + 2] << 8 | b[4 * i + 3];
  for (int i = 16; i < 64; i++) {
    uint32_t s0 = gira(w[i - 15], 7) ^ gira(w[i - 15], 18) ^ (w[i - 15] >> 3);
    uint32_t s1 = gira(w[i - 2], 17) ^ gira(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  uint32_t a = h[0], bb = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
  for (int i = 0; i < 64; i++) {
    uint32_t t1 = hh + (gira(e, 6) ^ gira(e, 11) ^ gira(e, 25)) + ((e & f) ^ (~e & g)) + K[i] + w[i];
    uint32_t t2 = (gira(a, 2) ^ gira(a, 13) ^ gira(a, 22)) + ((a & bb) ^ (a & c) ^ (bb & c));
    hh = g, g = f, f = e, e = d + t1, d = c, c = bb, bb = a, a = t1 + t2;
  }
  const uint32_t v[8] = {a, bb, c, d, e, f, g, hh};
  for (int i = 0; i < 8; i++) h[i] += v[i];
}

void huella_empieza(huella* s) {
  static const uint32_t INICIO[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  memcpy(s->h, INICIO, sizeof INICIO);
  s->largo = 0;
}

void huella_anade(huella* s, const void* datos, size_t n) {
  const unsigned char* p = (const unsigned char*)datos;
  while (n) {
    size_t en = (size_t)(s->largo % 64), toma = 64 - en < n ? 64 - en : n;
    memcpy(s->resto + en, p, toma);
    s->largo += toma, p += toma, n -= toma;
    if (en + toma == 64) bloque(s->h, s->resto);
  }
}

std::string huella_termina(huella* s) {
  unsigned long long bits = s->largo * 8;
  unsigned char fin[72] = {0x80};
  size_t relleno = (size_t)((s->largo % 64 < 56 ? 56 : 120) - s->largo % 64);
  for (int i = 0; i < 8; i++) fin[relleno + (size_t)i] = (unsigned char)(bits >> (56 - 8 * i));
  huella_anade(s, fin, relleno + 8);
  char hex[65];
  for (int i = 0; i < 32; i++) snprintf(hex + 2 * i, 3, "%02x", (unsigned)(s->h[i / 4] >> (24 - 8 * (i % 4))) & 0xff);
  return hex;
}

int huella_de_fichero(const char* ruta, std::string* hex, long long* bytes) {
  FILE* f;
  if (abre_lectura(ruta, &f) != FICHERO_ABIERTO) return 0;
  huella s;
  huella_empieza(&s);
  static thread_local unsigned char trozo[1 << 16];
  size_t leidos;
  while ((leidos = fread(trozo, 1, sizeof trozo, f)) > 0) huella_anade(&s, trozo, leidos);
  int bien = !ferror(f);
  fclose(f);
  if (!bien) return 0;
  *bytes = (long long)s.largo;
  *hex = huella_termina(&s);
  return 1;
}
