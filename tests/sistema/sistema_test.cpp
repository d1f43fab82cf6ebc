// The system's floor as the program uses it, with the same expectations on
// Linux and on Windows (built with mingw-w64 and run under Wine): a set of
// files all new or all old, an interruption that leaves only whole sets,
// accented names, the program's own folder. Files are looked at through
// std::filesystem, not through the floor under test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "sistema.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

static std::string programa_de_prueba;

/* A fresh folder with an accented name, removed at the end. */
class Carpeta : public ::testing::Test {
 public:
  void SetUp() override {
    const auto* prueba = ::testing::UnitTest::GetInstance()->current_test_info();
    carpeta = fs::temp_directory_path() /
              fs::u8path(std::string("Campaña sistema ") + prueba->name() + " " + std::to_string(rand()));
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
  }
  void TearDown() override { fs::remove_all(carpeta); }

  /* The UTF-8 path of `nombre` in the folder, as the program names files. */
  std::string ruta(const std::string& nombre) const { return (carpeta / fs::u8path(nombre)).u8string(); }
  void escribe(const std::string& nombre, const std::string& texto) const {
    std::ofstream(carpeta / fs::u8path(nombre), std::ios::binary) << texto;
  }
  std::string lee(const std::string& nombre) const {
    std::ifstream f(carpeta / fs::u8path(nombre), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  /* Every name in the folder, hidden ones included. */
  std::set<std::string> nombres() const {
    std::set<std::string> vistos;
    for (const auto& e : fs::directory_iterator(carpeta)) vistos.insert(e.path().filename().u8string());
    return vistos;
  }
  /* Adds nombre to the set with texto in it, closed unless `abierto`. */
  void anade(temporales* t, const std::string& nombre, const std::string& texto, bool abierto = false) {
    FILE* f = temporal_abre(t, ruta(nombre).c_str(), "");
    ASSERT_NE(f, nullptr) << nombre;
    ASSERT_EQ(fwrite(texto.data(), 1, texto.size(), f), texto.size());
    if (!abierto) {
      ASSERT_TRUE(temporal_cierra(t, f)) << nombre;
    }
  }

  fs::path carpeta;
  temporales juego = {};
};

TEST_F(Carpeta, UnJuegoSustituyeLosAnterioresSoloAlPonerse) {
  escribe("Río Tera.txt", "viejo\n");
  escribe("Río Tera1.bmp", "imagen vieja");
  anade(&juego, "Río Tera.txt", "nuevo\r\n");  // bytes as written: no line ends changed
  anade(&juego, "Río Tera1.bmp", std::string("BM\0\r\n\x1a", 6));
  anade(&juego, "Río Tera2.bmp", "otra");
  EXPECT_EQ(lee("Río Tera.txt"), "viejo\n") << "nothing is replaced before the set is put";
  EXPECT_FALSE(fs::exists(carpeta / fs::u8path("Río Tera2.bmp")));

  EXPECT_EQ(temporal_pon(&juego), nullptr);
  EXPECT_EQ(lee("Río Tera.txt"), "nuevo\r\n");
  EXPECT_EQ(lee("Río Tera1.bmp"), std::string("BM\0\r\n\x1a", 6));
  EXPECT_EQ(lee("Río Tera2.bmp"), "otra");
  EXPECT_EQ(nombres(), (std::set<std::string>{"Río Tera.txt", "Río Tera1.bmp", "Río Tera2.bmp"}));
  EXPECT_EQ(juego.n, 0);
}

// A set that cannot be put whole leaves every older file as it was and no
// new or hidden file beside them.
TEST_F(Carpeta, UnJuegoQueNoPuedePonerseEnteroNoTocaNada) {
  struct {
    const char* caso;
    void (*prepara)(Carpeta* c);
    bool abierto;  // informe3.bmp is never closed
  } const CASOS[] = {
      {"a folder under a name", [](Carpeta* c) { fs::create_directory(c->carpeta / "informe3.bmp"); }, false},
      {"a file never closed", [](Carpeta*) {}, true},
  };
  for (const auto& caso : CASOS) {
    SCOPED_TRACE(caso.caso);
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
    escribe("informe.txt", "viejo");
    escribe("informe1.bmp", "vieja");
    caso.prepara(this);
    const auto antes = nombres();
    anade(&juego, "informe.txt", "nuevo");
    anade(&juego, "informe3.bmp", "nueva", caso.abierto);  // between two that could be put
    anade(&juego, "informe1.bmp", "nueva");
    const char* fallido = temporal_pon(&juego);
    ASSERT_NE(fallido, nullptr);
    EXPECT_EQ(std::string(fallido), ruta("informe3.bmp"));
    EXPECT_EQ(lee("informe.txt"), "viejo");
    EXPECT_EQ(lee("informe1.bmp"), "vieja");
    EXPECT_EQ(nombres(), antes);
  }
}

TEST_F(Carpeta, NombresDeCarpetasYFicheros) {
  const std::string sub = ruta("Río Tera");
  ASSERT_EQ(crea_carpeta(sub.c_str()), 0);
  EXPECT_EQ(crea_carpeta(sub.c_str()), -1);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(clase_de_ruta(sub.c_str()), RUTA_CARPETA);
  escribe("Río Tera/T01.csv", "Pasada;Longitud\n");
  const std::string datos = sub + "/T01.csv";
  EXPECT_EQ(clase_de_ruta(datos.c_str()), RUTA_FICHERO);
  EXPECT_EQ(clase_de_ruta(ruta("nada.csv").c_str()), RUTA_NINGUNA);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_TRUE(mismo_fichero(datos.c_str(), (sub + "/../Río Tera/T01.csv").c_str()));
  EXPECT_FALSE(mismo_fichero(datos.c_str(), ruta("nada.csv").c_str()));

  FILE* f = nullptr;
  ASSERT_EQ(abre_normal(datos.c_str(), &f), NORMAL_ABIERTO);
  char bytes[32] = {0};
  EXPECT_EQ(fread(bytes, 1, sizeof bytes, f), 16u);
  fclose(f);
  EXPECT_EQ(abre_normal(sub.c_str(), &f), NORMAL_NO_ES);
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(abre_normal(ruta("nada.csv").c_str(), &f), NORMAL_SIN_ABRIR);
  EXPECT_EQ(errno, ENOENT);
#ifdef _WIN32
  // Names as a table saved on Windows gives them, and a drive's.
  const std::string invertida = sub + "\\T01.csv";
  EXPECT_EQ(abre_normal(invertida.c_str(), &f), NORMAL_ABIERTO);
  if (f) fclose(f);
  EXPECT_STREQ(nombre_sin_carpeta("C:\\Campaña 2024\\tramos.csv"), "tramos.csv");
  EXPECT_STREQ(nombre_sin_carpeta("C:tramos.csv"), "tramos.csv");
  EXPECT_TRUE(ruta_absoluta("C:\\datos\\T01.csv"));
  EXPECT_FALSE(ruta_absoluta("datos\\T01.csv"));
  EXPECT_EQ(abre_normal("NUL", &f), NORMAL_NO_ES);
#else
  EXPECT_EQ(abre_normal("/dev/null", &f), NORMAL_NO_ES);
  EXPECT_STREQ(nombre_sin_carpeta("datos/T01.csv"), "T01.csv");
#endif
}

TEST(Programa, SabeDondeEsta) {
  char ruta[CAPACIDAD_RUTA];
  ruta_del_programa(ruta, sizeof ruta);
  ASSERT_TRUE(ruta_absoluta(ruta)) << ruta;
  EXPECT_TRUE(fs::equivalent(fs::u8path(ruta), fs::u8path(programa_de_prueba))) << ruta;
  EXPECT_TRUE(legible(ruta));
}

TEST(Memoria, LoEscritoSeLeeIgual) {
  char* texto = nullptr;
  size_t largo = 0;
  FILE* f = flujo_en_memoria(&texto, &largo);
  ASSERT_NE(f, nullptr);
  std::string esperado;
  for (int i = 0; i < 20000; i++) esperado += std::to_string(i) + (i % 7 ? "\t" : "\r\n");
  fputs(esperado.c_str(), f);
  ASSERT_TRUE(texto_del_flujo(f, &texto, &largo));
  EXPECT_EQ(std::string(texto, largo), esperado);
  fputs("fin", f);  // the stream goes on after a look at its text
  ASSERT_TRUE(texto_del_flujo(f, &texto, &largo));
  EXPECT_EQ(std::string(texto, largo), esperado + "fin");
  fclose(f);
  FILE* r = flujo_de_texto(texto, largo);
  ASSERT_NE(r, nullptr);
  std::string leido;
  for (int c; (c = fgetc(r)) != EOF;) leido += (char)c;
  fclose(r);
  free(texto);
  EXPECT_EQ(leido, esperado + "fin");
}

/* ---- An interruption, in a program of its own ---- */

/* The hijo: puts one set, starts a second, says it is ready (a file "listo"
   beside carpeta) and waits to be interrupted. */
static int hace_de_hijo(const std::string& carpeta) {
  static temporales juego;
  interrupcion_empieza();
  interrupcion_avisa("interrumpido antes del primero", "interrumpido tras el primero");
  for (const char* nombre : {"T01.txt", "T01 ñ.bmp"}) {
    FILE* f = temporal_abre(&juego, (carpeta + "/" + nombre).c_str(), "");
    if (!f || fputs("entero", f) < 0 || !temporal_cierra(&juego, f)) return 2;
  }
  if (temporal_pon(&juego)) return 3;
  FILE* f = temporal_abre(&juego, (carpeta + "/T02.txt").c_str(), "");
  if (!f || fputs("a medias", f) < 0 || fflush(f) != 0) return 4;
  std::ofstream(fs::u8path(carpeta + " listo")) << "listo";
  std::this_thread::sleep_for(std::chrono::seconds(30));
  return 5;  // the interruption never came
}

/* Waits until the hijo on carpeta is ready to be interrupted; 0 if it never is. */
static int espera_al_hijo(const std::string& carpeta) {
  for (int i = 0; i < 2000 && !fs::exists(fs::u8path(carpeta + " listo")); i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return fs::exists(fs::u8path(carpeta + " listo"));
}

/* Runs this program as the hijo on carpeta, its standard error to aviso; its exit status. */
static int lanza_hijo(const std::string& carpeta, const std::string& aviso);

TEST_F(Carpeta, UnaInterrupcionDejaSoloJuegosEnteros) {
  const std::string aviso = ruta("aviso.txt");
  const std::string salida = ruta("salida");
  ASSERT_EQ(crea_carpeta(salida.c_str()), 0);
  EXPECT_EQ(lanza_hijo(salida, aviso), 130);
  std::set<std::string> quedan;
  for (const auto& e : fs::directory_iterator(carpeta / "salida")) quedan.insert(e.path().filename().u8string());
  EXPECT_EQ(quedan, (std::set<std::string>{"T01.txt", "T01 ñ.bmp"})) << "no hidden or half-written file";
  EXPECT_EQ(lee("salida/T01.txt"), "entero");
  EXPECT_EQ(lee("aviso.txt"), "interrumpido tras el primero\n");
}

#ifdef _WIN32
static BOOL WINAPI sigue(DWORD) { return TRUE; }

static int lanza_hijo(const std::string& carpeta, const std::string& aviso) {
  std::wstring linea = L"\"" + fs::u8path(programa_de_prueba).wstring() + L"\" --hijo \"" +
                       fs::u8path(carpeta).wstring() + L"\"";
  SECURITY_ATTRIBUTES heredable = {sizeof heredable, nullptr, TRUE};
  HANDLE error = CreateFileW(fs::u8path(aviso).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &heredable,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW inicio = {};
  inicio.cb = sizeof inicio;
  inicio.dwFlags = STARTF_USESTDHANDLES;
  inicio.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  inicio.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  inicio.hStdError = error;
  PROCESS_INFORMATION proceso;
  if (!CreateProcessW(nullptr, &linea[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &inicio, &proceso))
    return -1;
  CloseHandle(error);
  // Ctrl-C, as a user at the console would: it reaches every process of the console, this one too.
  SetConsoleCtrlHandler(sigue, TRUE);
  if (espera_al_hijo(carpeta)) GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
  WaitForSingleObject(proceso.hProcess, INFINITE);
  SetConsoleCtrlHandler(sigue, FALSE);
  DWORD estado = 0;
  GetExitCodeProcess(proceso.hProcess, &estado);
  CloseHandle(proceso.hProcess);
  CloseHandle(proceso.hThread);
  return (int)estado;
}
#else
static int lanza_hijo(const std::string& carpeta, const std::string& aviso) {
  pid_t hijo = fork();
  if (hijo == 0) {
    int error = open(aviso.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (error < 0 || dup2(error, 2) < 0) _exit(1);
    execl(programa_de_prueba.c_str(), programa_de_prueba.c_str(), "--hijo", carpeta.c_str(), (char*)nullptr);
    _exit(1);
  }
  if (hijo > 0 && espera_al_hijo(carpeta)) kill(hijo, SIGINT);
  int estado = 0;
  if (hijo < 0 || waitpid(hijo, &estado, 0) != hijo) return -1;
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}
#endif

int main(int argc, char** argv) {
  argumentos_utf8(&argc, &argv);
  programa_de_prueba = fs::absolute(fs::u8path(argv[0])).u8string();
  if (argc == 3 && std::string(argv[1]) == "--hijo") return hace_de_hijo(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
