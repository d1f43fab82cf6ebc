#include "conductor.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

static std::string salida_de(const std::string& orden) {
  std::string r;
  FILE* p = popen(orden.c_str(), "r");
  if (!p) return r;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) r += buf;
  pclose(p);
  while (!r.empty() && (r.back() == '\n' || r.back() == ' ')) r.pop_back();
  return r;
}

/* Starts a private Xvfb that picks a free display number itself and tells
   it on a pipe once it accepts connections; its error output goes to the
   file `errores`. Returns its pid and sets *pantalla, or -1. -noreset: by
   default the server resets when its last client leaves, and a client that
   connects during the reset (the program, or xdotool just after another
   client left) is refused with "Can't open display". */
static int arranca_x(const std::string& errores, std::string* pantalla) {
  int tubo[2];
  if (pipe(tubo) != 0) return -1;
  int pid = fork();
  if (pid == 0) {
    close(tubo[0]);
    int salida = open(errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int nulo = open("/dev/null", O_WRONLY);
    dup2(nulo, 1);
    dup2(salida, 2);
    std::string fd = std::to_string(tubo[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1000x600x24", "-nolisten",
           "tcp", "-noreset", (char*)nullptr);
    _exit(127);
  }
  close(tubo[1]);
  if (pid < 0) {
    close(tubo[0]);
    return -1;
  }
  std::string numero;
  pollfd espera = {tubo[0], POLLIN, 0};
  char c;
  // the server writes the number and a newline when it is ready
  while (numero.find('\n') == std::string::npos && poll(&espera, 1, 30000) > 0 &&
         read(tubo[0], &c, 1) == 1)
    numero += c;
  close(tubo[0]);
  if (numero.find('\n') == std::string::npos) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  *pantalla = ":" + numero.substr(0, numero.find('\n'));
  return pid;
}

/* Xvfb's error output, beside the scratch folder so that the test sees only
   its own files there. */
static std::string errores_x(const std::string& carpeta) { return carpeta + ".xvfb"; }

static std::string contenido(const std::string& ruta) {
  std::ifstream en(ruta, std::ios::binary);
  std::stringstream s;
  s << en.rdbuf();
  return s.str();
}

void Programa::SetUp() {
  char plantilla[] = "/tmp/pasadas-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(plantilla), nullptr);
  carpeta = plantilla;
  pid_x = arranca_x(errores_x(carpeta), &pantalla);
  ASSERT_GT(pid_x, 0) << "Xvfb no arranca: " << contenido(errores_x(carpeta));
}

void Programa::TearDown() {
  if (pid_programa > 0) {
    kill(pid_programa, SIGKILL);
    waitpid(pid_programa, nullptr, 0);
  }
  if (pid_x > 0) {
    kill(pid_x, SIGTERM);
    waitpid(pid_x, nullptr, 0);
  }
  if (!HasFailure()) {
    system(("rm -rf '" + carpeta + "' '" + errores_x(carpeta) + "'").c_str());
    return;
  }
  fprintf(stderr,
          "carpeta de la prueba conservada: %s\nsalida del programa:\n%s\n"
          "salida de Xvfb (%s):\n%s\n",
          carpeta.c_str(), lee_fichero(".salida_programa").c_str(), pantalla.c_str(),
          contenido(errores_x(carpeta)).c_str());
}

void Programa::copia_dato(const std::string& nombre) {
  std::ifstream en(std::string(DIR_DATOS) + "/" + nombre, std::ios::binary);
  std::ofstream sal(carpeta + "/" + nombre, std::ios::binary);
  sal << en.rdbuf();
}

void Programa::escribe_fichero(const std::string& nombre, const std::string& texto) {
  std::ofstream sal(carpeta + "/" + nombre, std::ios::binary);
  sal << texto;
}

std::string Programa::lee_fichero(const std::string& nombre) {
  return contenido(carpeta + "/" + nombre);
}

bool Programa::existe(const std::string& nombre) {
  return access((carpeta + "/" + nombre).c_str(), F_OK) == 0;
}

void Programa::lanza(const std::string& programa) {
  pid_programa = fork();
  if (pid_programa == 0) {
    if (chdir(carpeta.c_str()) != 0) _exit(126);
    setenv("DISPLAY", pantalla.c_str(), 1);
    if (!locale_programa.empty()) {
      setenv("LANG", locale_programa.c_str(), 1);
      setenv("LC_ALL", locale_programa.c_str(), 1);
    }
    int salida = open(".salida_programa", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(salida, 1);
    dup2(salida, 2);
    execl(programa.c_str(), programa.c_str(), (char*)nullptr);
    _exit(127);
  }
}

void Programa::arranca() {
  lanza(programa_ventana);
  ventana = salida_de("DISPLAY=" + pantalla +
                      " timeout 40 xdotool search --sync --name '^Pasadas$' | head -n 1");
  ASSERT_FALSE(ventana.empty()) << "la ventana no aparece";
  system(("DISPLAY=" + pantalla + " xdotool windowfocus --sync " + ventana).c_str());
  // Keys typed before the first splash is up would be lost: wait for its
  // red prompt, drawn once the keyboard is listening.
  ASSERT_TRUE(espera_en_zona(300, 545, 700, 570, 0xfa0000, 20)) << "no first splash";
}

void Programa::abre_sin_clases(const std::string& nombre) {
  copia_dato(nombre);
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Return"});  // "Cargar datos y establecer clases"
  ASSERT_TRUE(espera_color(60, 300, 0xe6e6e6));
  teclea(nombre);
  teclas({"Return"});
  ASSERT_TRUE(espera_color(201, 165, 0xd9d9d9));  // the file's three-column table
  teclas({"Return"});                             // on to the class screen
  ASSERT_TRUE(espera_color(80, 80, 0xffffff));    // the histogram
}

void Programa::exporta_hasta_las_medidas(const std::string& nombre) {
  ASSERT_NO_FATAL_FAILURE(arranca());
  teclas({"Return", "Return", "Down", "Down", "Return"});  // "Utilizar ejemplo"
  ASSERT_TRUE(espera_color(60, 300, 0xe6e6e6));
  teclas({"Return", "Down", "Down", "Down", "Down", "Down", "Down", "Return"});  // "Exportar resultados"
  teclea(nombre);
  teclas({"Return", "Down"});
  const unsigned AZUL = 0x4169e1;
  ASSERT_TRUE(espera_en_zona(105, 274, 895, 325, AZUL));  // "directamente" chosen
  teclas({"Return"});
  ASSERT_TRUE(espera_en_zona(105, 222, 895, 247, AZUL));  // the measure menu's first entry
}

void Programa::arranca_copia_sin_recursos() {
  std::string copia = carpeta + "/pasadas";
  ASSERT_EQ(system(("cp '" PROGRAMA_PASADAS "' '" + copia + "'").c_str()), 0);
  lanza(copia);
}

bool Programa::pulsa_en_ventana(const std::string& clase, const std::string& tecla) {
  std::string w = salida_de("DISPLAY=" + pantalla + " timeout 20 xdotool search --sync --class '" +
                            clase + "' | head -n 1");
  if (w.empty()) return false;
  std::string orden = "DISPLAY=" + pantalla + " xdotool windowfocus --sync " + w + " key " + tecla;
  return system(orden.c_str()) == 0;
}

void Programa::cierra_ventana() {
  Display* d = XOpenDisplay(pantalla.c_str());
  ASSERT_NE(d, nullptr);
  XEvent e = {};
  e.xclient.type = ClientMessage;
  e.xclient.window = std::stoul(ventana);
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
  XCloseDisplay(d);
}

void Programa::teclas(const std::vector<std::string>& nombres) {
  std::string orden = "DISPLAY=" + pantalla + " xdotool key --delay 60";
  for (auto& n : nombres) orden += " " + n;
  ASSERT_EQ(system(orden.c_str()), 0) << orden;
}

void Programa::teclea(const std::string& texto) {
  std::vector<std::string> nombres;
  for (char c : texto)
    nombres.push_back(c == '.' ? "period" : c == ',' ? "comma" : std::string(1, c));
  teclas(nombres);
}

static unsigned lee32(const unsigned char* p) {
  return (unsigned)p[0] << 24 | (unsigned)p[1] << 16 | (unsigned)p[2] << 8 | p[3];
}

static int desplazamiento(unsigned mascara) {
  int d = 0;
  while (mascara && !(mascara & 1)) {
    mascara >>= 1;
    d++;
  }
  return d;
}

/* Decodes a 24/32-bit ZPixmap xwd dump. */
static Captura decodifica_xwd(const std::string& datos) {
  Captura c;
  if (datos.size() < 100) return c;
  const unsigned char* p = (const unsigned char*)datos.data();
  unsigned cabecera = lee32(p), ancho = lee32(p + 16), alto = lee32(p + 20);
  unsigned orden = lee32(p + 28), bpp = lee32(p + 44), linea = lee32(p + 48);
  unsigned mr = lee32(p + 56), mg = lee32(p + 60), mb = lee32(p + 64), ncolores = lee32(p + 76);
  size_t inicio = cabecera + (size_t)ncolores * 12;
  if (bpp != 32 || datos.size() < inicio + (size_t)linea * alto) return c;
  c.ancho = ancho;
  c.alto = alto;
  c.rgb.resize((size_t)ancho * alto);
  for (unsigned y = 0; y < alto; y++)
    for (unsigned x = 0; x < ancho; x++) {
      const unsigned char* q = p + inicio + (size_t)y * linea + x * 4;
      unsigned v = orden ? lee32(q) : (unsigned)q[3] << 24 | q[2] << 16 | q[1] << 8 | q[0];
      unsigned r = (v & mr) >> desplazamiento(mr), g = (v & mg) >> desplazamiento(mg),
               b = (v & mb) >> desplazamiento(mb);
      c.rgb[(size_t)y * ancho + x] = r << 16 | g << 8 | b;
    }
  return c;
}

Captura Programa::captura() {
  std::string fichero = carpeta + "/.captura.xwd";
  std::string orden = "DISPLAY=" + pantalla + " xwd -silent -id " + ventana + " -out " + fichero;
  if (system(orden.c_str()) != 0) return Captura();
  std::ifstream en(fichero, std::ios::binary);
  std::stringstream s;
  s << en.rdbuf();
  return decodifica_xwd(s.str());
}

bool Programa::espera_color(int x, int y, unsigned rgb, double segundos) {
  for (double t = 0; t < segundos; t += 0.1) {
    Captura c = captura();
    if (c.ancho > x && c.alto > y && c.pixel(x, y) == rgb) return true;
    usleep(100000);
  }
  return false;
}

bool Programa::espera_en_zona(int x1, int y1, int x2, int y2, unsigned rgb, double segundos) {
  for (double t = 0; t < segundos; t += 0.1) {
    Captura c = captura();
    for (int y = y1; y <= y2 && y < c.alto; y++)
      for (int x = x1; x <= x2 && x < c.ancho; x++)
        if (c.pixel(x, y) == rgb) return true;
    usleep(100000);
  }
  return false;
}

int Programa::espera_fin(double segundos) {
  for (double t = 0; t < segundos; t += 0.05) {
    int estado;
    if (waitpid(pid_programa, &estado, WNOHANG) == pid_programa) {
      pid_programa = -1;
      return WIFEXITED(estado) ? WEXITSTATUS(estado) : -WTERMSIG(estado);
    }
    usleep(50000);
  }
  return -1000;
}
