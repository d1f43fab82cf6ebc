// The program's one writer: files written without a name (or under a hidden
// one), given their names together once every one is whole on the disk, so
// that neither a failure nor an interruption leaves a half-written or a lone
// new file under the user's names. The steps that differ between systems
// are each system's own (sistema_interna.h).
#include <cerrno>
#include <cstring>

#include "sistema_interna.h"

static const int INTENTOS_NOMBRE = 100; /* hidden names tried before giving up */

void carpeta_de(const char* ruta, char* carpeta, int tam) {
  int largo = (int)(nombre_sin_carpeta(ruta) - ruta);
  snprintf(carpeta, tam, "%.*s", largo ? largo : 1, largo ? ruta : ".");
}

int nombre_oculto(const char* ruta, const char* extension, char* oculto, int tam) {
  static const char LETRAS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char azar[6] = {0};
  bytes_al_azar(azar, sizeof azar);
  char letras[7];
  for (int i = 0; i < 6; i++) letras[i] = LETRAS[azar[i] % (sizeof LETRAS - 1)];
  letras[6] = 0;
  const char* base = nombre_sin_carpeta(ruta);
  int largo = snprintf(oculto, tam, "%.*s.%s.%s%s", (int)(base - ruta), ruta, base, letras, extension);
  return largo > 0 && largo < tam;
}

/* Removes a file's hidden name, if it has one. */
static void quita_oculto(fichero_nuevo* n) {
  if (!n->oculto[0]) return;
  senales_bloquea();
  borra_fichero(n->oculto);
  interrupcion_olvida(n->oculto);
  n->oculto[0] = 0;
  senales_desbloquea();
}

FILE* temporal_abre(temporales* t, const char* ruta, const char* extension) {
  if (t->n == MAX_TEMPORALES) return nullptr;
  fichero_nuevo* n = &t->f[t->n];
  snprintf(n->ruta, sizeof n->ruta, "%s", ruta);
  n->fd = -1;
  n->f = temporal_crea(ruta, extension, n->oculto, sizeof n->oculto);
  if (!n->f) return nullptr;
  t->n++;
  return n->f;
}

int temporal_cierra(temporales* t, FILE* f) {
  for (int i = 0; i < t->n; i++) {
    fichero_nuevo* n = &t->f[i];
    if (n->f != f || !f) continue;
    int bien = fflush(f) == 0 && !ferror(f);
    n->fd = bien ? temporal_termina(f) : -1;
    n->f = nullptr;
    return (fclose(f) == 0) && n->fd >= 0;
  }
  return 0;
}

int temporal_nombre(const temporales* t, FILE* f, char* nombre, int tam) {
  for (int i = 0; i < t->n; i++) {
    const fichero_nuevo* n = &t->f[i];
    if (n->f == f && f) return temporal_alcance(f, n->oculto, nombre, tam);
  }
  return 0;
}

/* Every file of the set is whole on the disk and its name can take it;
   else the first that is not, or cannot. */
static fichero_nuevo* falta_alguno(temporales* t) {
  for (int i = 0; i < t->n; i++)
    if (t->f[i].f || t->f[i].fd < 0 || !temporal_asegura(t->f[i].fd)) return &t->f[i];
  for (int i = 0; i < t->n; i++)
    if (!puede_escribirse(t->f[i].ruta)) return &t->f[i];
  return nullptr;
}

/* Every file gets its hidden name, then each is renamed over its own, the
   first one last; the file that failed, or NULL. Interruptions wait
   meanwhile; only a killed program or a power cut within these few renames
   can leave some new files (and hidden names) beside the older first file.
   The first file, the report, is renamed last: a new report never stands
   beside older images. */
static fichero_nuevo* renombra(temporales* t) {
  for (int i = 0; i < t->n; i++)
    if (!temporal_enlaza(&t->f[i])) return &t->f[i];
  for (int i = t->n - 1; i >= 0; i--) {
    fichero_nuevo* n = &t->f[i];
    if (!temporal_sustituye(n->oculto, n->ruta)) return n;
    interrupcion_olvida(n->oculto);
    n->oculto[0] = 0;
  }
  return nullptr;
}

const char* temporal_pon(temporales* t) {
  fichero_nuevo* fallido = falta_alguno(t);
  senales_bloquea();  // an interruption now waits until the set has its names or none
  if (!fallido) fallido = renombra(t);
  if (!fallido) {
    temporal_sincroniza(t);
    interrupcion_puesto();
  }
  temporal_descarta(t);
  senales_desbloquea();
  return fallido ? fallido->ruta : nullptr;
}

void temporal_descarta(temporales* t) {
  for (int i = 0; i < t->n; i++) {
    fichero_nuevo* n = &t->f[i];
    if (n->f) fclose(n->f);
    if (n->fd >= 0) temporal_suelta(n->fd);
    n->f = nullptr;
    n->fd = -1;
    quita_oculto(n);
  }
  t->n = 0;
}

int con_nombre_oculto(const char* ruta, const char* extension, char* oculto, int tam,
                      int (*crea)(const char* oculto, void* dato), void* dato) {
  int hecho = 0;
  senales_bloquea();  // the name is noted before an interruption can see it
  for (int i = 0; !hecho && i < INTENTOS_NOMBRE; i++) {
    if (!nombre_oculto(ruta, extension, oculto, tam) || !interrupcion_anota(oculto)) break;
    hecho = crea(oculto, dato);
    if (!hecho) interrupcion_olvida(oculto);
    if (!hecho && errno != EEXIST) break;
  }
  if (!hecho) oculto[0] = 0;
  senales_desbloquea();
  return hecho;
}
