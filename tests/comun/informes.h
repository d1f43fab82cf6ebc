// Helpers for the report tests: a scratch working folder, files read whole,
// the golden reports and test samples of tests/datos, and BMP sizes.
#ifndef PRUEBAS_INFORMES_H
#define PRUEBAS_INFORMES_H

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

/* The whole content of a file; "" when it cannot be read. */
inline std::string lee_todo(const std::string& ruta) {
  std::ifstream en(ruta, std::ios::binary);
  std::stringstream s;
  s << en.rdbuf();
  return s.str();
}

inline void escribe_todo(const std::string& ruta, const std::string& texto) {
  std::ofstream sal(ruta, std::ios::binary);
  sal << texto;
}

/* "" when both texts are equal, else the first line where they differ. */
inline std::string primera_diferencia(const std::string& obtenido, const std::string& esperado) {
  std::istringstream a(obtenido), b(esperado);
  std::string la, lb;
  for (int linea = 1;; linea++) {
    bool hay_a = (bool)std::getline(a, la), hay_b = (bool)std::getline(b, lb);
    if (!hay_a && !hay_b) return obtenido == esperado ? "" : "final de fichero distinto";
    if (!hay_a || !hay_b || la != lb)
      return "linea " + std::to_string(linea) + ":\n  obtenido: " + (hay_a ? la : "<fin>") +
             "\n  esperado: " + (hay_b ? lb : "<fin>");
  }
}

/* A golden report or test sample of tests/datos. */
inline std::string dato_prueba(const std::string& nombre) {
  return std::string(DIR_PRUEBAS) + "/datos/" + nombre;
}

/* The report up to, not including, the heading of section `seccion`. */
inline std::string hasta_seccion(const std::string& informe, const std::string& cabecera) {
  size_t p = informe.rfind(cabecera + "\n\n");  // the heading, not its line in the contents
  return p == std::string::npos ? informe : informe.substr(0, p);
}

/* The names in a folder, "." and ".." left out. */
inline std::set<std::string> ficheros_en(const std::string& carpeta) {
  std::set<std::string> r;
  DIR* d = opendir(carpeta.c_str());
  if (!d) return r;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") r.insert(n);
  }
  closedir(d);
  return r;
}

/* The files of a folder by name, and their bytes; a FIFO or a folder by its
   kind (a FIFO is never opened: that would wait for a writer). */
using Contenido = std::map<std::string, std::string>;
inline Contenido contenido_de(const std::string& carpeta) {
  Contenido c;
  for (const std::string& n : ficheros_en(carpeta)) {
    struct stat st;
    std::string ruta = carpeta + "/" + n;
    if (lstat(ruta.c_str(), &st) != 0) continue;
    c[n] = S_ISFIFO(st.st_mode) ? "<fifo>" : S_ISDIR(st.st_mode) ? "<carpeta>" : lee_todo(ruta);
  }
  return c;
}

/* Width and height of a BMP file; false when it is not one. */
inline bool medidas_bmp(const std::string& ruta, int* ancho, int* alto) {
  std::string b = lee_todo(ruta);
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return false;
  auto le32 = [&](size_t i) {
    return (int)((unsigned char)b[i] | (unsigned char)b[i + 1] << 8 |
                 (unsigned char)b[i + 2] << 16 | (unsigned)(unsigned char)b[i + 3] << 24);
  };
  *ancho = le32(18);
  *alto = le32(22);
  return true;
}

/* The four images of a report named tramo1.txt, each the size of its graph. */
inline void comprueba_imagenes_tramo1(const std::string& carpeta) {
  const struct {
    const char* nombre;
    int ancho, alto;
  } imagenes[] = {{"tramo14.bmp", 541, 510}, {"tramo12.bmp", 541, 552},
                  {"tramo11.bmp", 541, 403}, {"tramo13.bmp", 541, 500}};
  for (auto& i : imagenes) {
    int w = 0, h = 0;
    EXPECT_TRUE(medidas_bmp(carpeta + "/" + i.nombre, &w, &h)) << i.nombre;
    EXPECT_EQ(w, i.ancho) << i.nombre;
    EXPECT_EQ(h, i.alto) << i.nombre;
  }
}

/* Runs a shell command line with its standard output and error sent to
   files, read back into salida and errores; its exit status, -1 when it
   did not exit. */
inline int ejecuta_orden(const std::string& orden, std::string* salida, std::string* errores) {
  int estado = system((orden + " >salida.out 2>errores.out").c_str());
  *salida = lee_todo("salida.out");
  *errores = lee_todo("errores.out");
  remove("salida.out");
  remove("errores.out");
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

/* Runs the test in a fresh folder of its own, removed afterwards. */
class CarpetaPropia {
 public:
  CarpetaPropia() {
    char plantilla[] = "/tmp/pasadas-informe-XXXXXX";
    ruta = mkdtemp(plantilla) ? plantilla : "/tmp";
    if (!getcwd(anterior, sizeof anterior)) anterior[0] = 0;
    if (chdir(ruta.c_str()) != 0) ruta = ".";
  }
  ~CarpetaPropia() {
    if (chdir(anterior) == 0 && ruta.rfind("/tmp/pasadas-informe-", 0) == 0)
      (void)system(("rm -rf '" + ruta + "'").c_str());
  }
  std::string ruta;

 private:
  char anterior[4096];
};

#ifdef PROGRAMA_INFORME
/* pasadas-informe run in a fresh folder of its own. */
class OrdenInforme : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta.reset(new CarpetaPropia);
    // A season's summary carries the day of its run: two runs compared byte
    // for byte must not fall on either side of midnight.
    setenv("SOURCE_DATE_EPOCH", SEGUNDOS_FIJOS, 1);
  }
  static constexpr const char* SEGUNDOS_FIJOS = "1700000000";  // 2023-11-14 in UTC
  /* pasadas-informe with `argumentos`, no display; its exit status. */
  int informe(const std::string& argumentos) {
    // timeout: a run that hangs fails here and leaves no process behind
    return ejecuta_orden("env -u DISPLAY timeout 60 " + std::string(PROGRAMA_INFORME) + " " +
                         argumentos, &salida, &errores);
  }
  std::unique_ptr<CarpetaPropia> carpeta;
  std::string salida, errores;
};
#endif

#if __has_include("sample.h")  // the end-to-end tests see only the program
#include "sample.h"

/* A test sample with classes read into the arrays (MAX_PECES); its n, or -1. */
inline int carga_prueba(const std::string& nombre, int* pasadas, float* longitudes, float* pesos,
                        int* clases) {
  FILE* f = fopen(dato_prueba(nombre).c_str(), "r");
  if (!f) return -1;
  char mensaje[256];
  int n = lee_muestra(f, 1, pasadas, longitudes, pesos, clases, mensaje, sizeof mensaje);
  fclose(f);
  return n;
}

#include "analysis.h"

const char* const SECCION_5 = "5. Biomasa y densidades capturadas (CPUE)";
const char* const SECCION_9 = "9. Relaciones de crecimiento";

/* What an export reads: a sample (the built-in example at first) in arrays
   that hold any loaded sample, in a scratch folder of its own, with the
   program-wide results as a fresh run has them. */
struct MuestraDeInforme {
  MuestraDeInforme() : carpeta(new CarpetaPropia) {
    Suptramo = Voltramo = mltramo = 0;
    Lmax1 = mes0 = 0;
    copia_ejemplo(pasadas, longitudes, pesos, clases);
  }
  std::unique_ptr<CarpetaPropia> carpeta;
  int pasadas[MAX_PECES], clases[MAX_PECES], n = NUM_EJEMPLO;
  float longitudes[MAX_PECES], pesos[MAX_PECES];
};

#include "export.h"

/* An image an earlier export wrote: a small graph as the writer saves it,
   which a new export may replace (a file of the user's may not be). */
inline std::string imagen_anterior() {
  BITMAP* b = create_bitmap(3, 2);
  clear_to_color(b, makecol(230, 230, 230));
  std::string bytes;
  if (FILE* f = tmpfile()) {
    guarda_bmp(b, f);
    rewind(f);
    for (int c; (c = getc(f)) != EOF;) bytes += (char)c;
    fclose(f);
  }
  destroy_bitmap(b);
  return bytes;
}
#endif

#endif
