// The system's side on Windows. Every name is UTF-8 in the program and
// UTF-16 for the system, so that "Río Tera.csv" opens whatever the code
// page; every file is binary. A set's files are written under hidden names
// beside their own, each flushed to the disk when complete, and put in
// place with MoveFileExW, which replaces a file only when no other program
// holds it open: the set checks that first. Interruptions are Ctrl-C,
// Ctrl-Break and the console's closing, which the system hands to a thread
// of its own; nothing needs holding off in the writing thread.
#define _CRT_RAND_S  // rand_s, from the system's own generator
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "sistema_interna.h"

/* ---- Names and reasons ---- */

/* The errno a failure of the system's stands for: the program's messages
   say why in the same words on every system. */
static int errno_de(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE: case ERROR_BAD_NETPATH: case ERROR_BAD_PATHNAME:
    case ERROR_NO_UNICODE_TRANSLATION:
      return ENOENT;
    case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: case ERROR_CANNOT_MAKE: case ERROR_NETWORK_ACCESS_DENIED:
      return EACCES;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE: case ERROR_INSUFFICIENT_BUFFER: return ENAMETOOLONG;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_NOT_READY: case ERROR_DEV_NOT_EXIST: return ENODEV;
    default: return EIO;
  }
}

/* The system's last failure, in errno. */
static void anota_fallo() { errno = errno_de(GetLastError()); }

/* ruta in UTF-16 for the system; 0 (errno) when it is no UTF-8 or too long.
   Needs no heap: an interruption's thread calls it. */
static int ancho(const char* ruta, wchar_t* w, int tam) {
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, ruta, -1, w, tam) > 0) return 1;
  anota_fallo();
  return 0;
}

/* A UTF-16 text in UTF-8; 0 when it does not fit. */
static int estrecho(const wchar_t* w, char* texto, int tam) {
  return WideCharToMultiByte(CP_UTF8, 0, w, -1, texto, tam, nullptr, nullptr) > 0;
}

/* The handle of a name, shared with every other reader and writer (and
   with a rename or removal, which a set and an interruption need);
   INVALID_HANDLE_VALUE with errno when it cannot be had. */
static HANDLE abre_handle(const char* ruta, DWORD acceso, DWORD como, DWORD banderas = FILE_ATTRIBUTE_NORMAL) {
  wchar_t w[CAPACIDAD_RUTA];
  if (!ancho(ruta, w, CAPACIDAD_RUTA)) return INVALID_HANDLE_VALUE;
  HANDLE h = CreateFileW(w, acceso, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, como,
                         banderas, nullptr);
  if (h == INVALID_HANDLE_VALUE) anota_fallo();
  return h;
}

/* A C stream over the handle, which it then owns; NULL (and the handle
   closed) when none can be made. */
static FILE* flujo_de(HANDLE h, int opciones, const char* modo) {
  int fd = _open_osfhandle((intptr_t)h, opciones | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    errno = EMFILE;
    return nullptr;
  }
  FILE* f = _fdopen(fd, modo);
  if (!f) {
    int error = errno;
    _close(fd);
    errno = error;
  }
  return f;
}

/* ---- Files the program reads ---- */

/* The attributes of ruta, INVALID_FILE_ATTRIBUTES with errno when none. */
static DWORD atributos(const char* ruta) {
  wchar_t w[CAPACIDAD_RUTA];
  if (!ancho(ruta, w, CAPACIDAD_RUTA)) return INVALID_FILE_ATTRIBUTES;
  DWORD a = GetFileAttributesW(w);
  if (a == INVALID_FILE_ATTRIBUTES) anota_fallo();
  return a;
}

int abre_normal(const char* ruta, FILE** f) {
  *f = nullptr;
  DWORD a = atributos(ruta);
  if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) return NORMAL_NO_ES;
  HANDLE h = abre_handle(ruta, GENERIC_READ, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return NORMAL_SIN_ABRIR;
  if (GetFileType(h) != FILE_TYPE_DISK) {  // a console, a pipe, a serial port
    CloseHandle(h);
    return NORMAL_NO_ES;
  }
  *f = flujo_de(h, _O_RDONLY, "rb");
  return *f ? NORMAL_ABIERTO : NORMAL_SIN_ABRIR;
}

int clase_de_ruta(const char* ruta) {
  DWORD a = atributos(ruta);
  if (a == INVALID_FILE_ATTRIBUTES) return RUTA_NINGUNA;
  return a & FILE_ATTRIBUTE_DIRECTORY ? RUTA_CARPETA : a & FILE_ATTRIBUTE_DEVICE ? RUTA_OTRA : RUTA_FICHERO;
}

int legible(const char* ruta) {
  HANDLE h = abre_handle(ruta, GENERIC_READ, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(h);
  return 1;
}

int puede_escribirse(const char* ruta) {
  DWORD a = atributos(ruta);
  if (a == INVALID_FILE_ATTRIBUTES) return errno == ENOENT;
  if (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) return 0;
  // Another program holding it open (a spreadsheet showing it) would make
  // its replacement fail halfway through a set.
  HANDLE h = abre_handle(ruta, GENERIC_WRITE | DELETE, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int disco = GetFileType(h) == FILE_TYPE_DISK;
  CloseHandle(h);
  return disco;
}

/* The volume and index that tell a file apart; 0 when it cannot be opened. */
static int identidad(const char* ruta, BY_HANDLE_FILE_INFORMATION* info) {
  HANDLE h = abre_handle(ruta, FILE_READ_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int bien = GetFileInformationByHandle(h, info) != 0;
  CloseHandle(h);
  return bien;
}

int mismo_fichero(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  return identidad(a, &ia) && identidad(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

/* A drive's "C:" starts ruta. */
static int con_unidad(const char* ruta) {
  return ((ruta[0] | 0x20) >= 'a' && (ruta[0] | 0x20) <= 'z') && ruta[1] == ':';
}

int separa_carpetas(char c) { return c == '/' || c == '\\' || c == ':'; }

const char* nombre_sin_carpeta(const char* ruta) {
  const char* nombre = con_unidad(ruta) ? ruta + 2 : ruta;
  for (const char* c = nombre; *c; c++)
    if (*c == '/' || *c == '\\') nombre = c + 1;
  return nombre;
}

int ruta_absoluta(const char* ruta) {
  // "C:datos" is relative to that drive's folder, yet names its drive: no other folder goes before it.
  return ruta[0] == '/' || ruta[0] == '\\' || con_unidad(ruta);
}

int crea_carpeta(const char* ruta) {
  wchar_t w[CAPACIDAD_RUTA];
  if (!ancho(ruta, w, CAPACIDAD_RUTA)) return -1;
  if (CreateDirectoryW(w, nullptr)) return 0;
  anota_fallo();
  return -1;
}

int quita_abandonados(const char*, int (*)(const char*, const char*, void*), void*) {
  return 0;  // a living run's closed hidden file looks like a dead one's: leave them all
}

/* ---- The program itself ---- */

void ruta_del_programa(char* ruta, int capacidad) {
  wchar_t w[CAPACIDAD_RUTA];
  DWORD n = GetModuleFileNameW(nullptr, w, CAPACIDAD_RUTA);
  if (n == 0 || n >= (DWORD)CAPACIDAD_RUTA || !estrecho(w, ruta, capacidad)) ruta[0] = 0;
}

void argumentos_utf8(int* argc, char*** argv) {
  int n = 0;
  wchar_t** anchos = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!anchos) return;  // the C library's reading stays
  char** nuevos = (char**)calloc((size_t)n + 1, sizeof(char*));
  for (int i = 0; nuevos && i < n; i++) {
    int largo = WideCharToMultiByte(CP_UTF8, 0, anchos[i], -1, nullptr, 0, nullptr, nullptr);
    nuevos[i] = largo > 0 ? (char*)malloc((size_t)largo) : nullptr;
    if (!nuevos[i] || !estrecho(anchos[i], nuevos[i], largo)) {
      for (int k = 0; k <= i; k++) free(nuevos[k]);
      free(nuevos);
      nuevos = nullptr;
    }
  }
  LocalFree(anchos);
  if (!nuevos) return;
  *argc = n;
  *argv = nuevos;  // kept for the program's whole run
}

void salidas_binarias() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

int fecha_de(time_t instante, int utc, struct tm* fecha) {
  return (utc ? gmtime_s(fecha, &instante) : localtime_s(fecha, &instante)) == 0;
}

/* ---- Text in memory ---- */

/* Windows' C library has no stream in memory: a file of the user's
   temporary folder stands for it, marked so that the system keeps it in
   memory while it can, and gone once closed, even if the program dies.
   Never tmpfile(), which writes at the root of the drive. */
static FILE* flujo_temporal() {
  wchar_t carpeta[MAX_PATH + 1], nombre[MAX_PATH + 1];
  if (!GetTempPathW(MAX_PATH + 1, carpeta) || !GetTempFileNameW(carpeta, L"pas", 0, nombre)) {
    anota_fallo();
    return nullptr;
  }
  HANDLE h = CreateFileW(nombre, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    anota_fallo();
    DeleteFileW(nombre);
    return nullptr;
  }
  return flujo_de(h, _O_RDWR, "w+b");
}

FILE* flujo_en_memoria(char** texto, size_t* largo) {
  *texto = nullptr;
  *largo = 0;
  return flujo_temporal();
}

int texto_del_flujo(FILE* f, char** texto, size_t* largo) {
  if (fflush(f) != 0 || ferror(f)) return 0;
  long long n = _ftelli64(f);
  char* bytes = n >= 0 ? (char*)malloc((size_t)n + 1) : nullptr;
  int bien = bytes && fseek(f, 0, SEEK_SET) == 0 && fread(bytes, 1, (size_t)n, f) == (size_t)n &&
             _fseeki64(f, n, SEEK_SET) == 0;  // later writes go on at the end
  if (!bien) {
    free(bytes);
    return 0;
  }
  free(*texto);
  *texto = bytes;
  *largo = (size_t)n;
  return 1;
}

FILE* flujo_de_texto(char* texto, size_t largo) {
  FILE* f = flujo_temporal();
  if (f && (fwrite(texto, 1, largo, f) != largo || fflush(f) != 0 || fseek(f, 0, SEEK_SET) != 0)) {
    fclose(f);
    f = nullptr;
  }
  return f;
}

double ln_gamma(double x) {
  // lgamma leaves the sign in a variable that every thread shares.
  static std::mutex solo;
  std::lock_guard<std::mutex> l(solo);
  return std::lgamma(x);
}

/* ---- The writer's steps ---- */

void bytes_al_azar(unsigned char* bytes, int n) {
  for (int i = 0; i < n; i++) {
    unsigned int u = 0;
    if (rand_s(&u) != 0) u = (unsigned)rand();
    bytes[i] = (unsigned char)u;
  }
}

/* The new file under a hidden name, for con_nombre_oculto: its stream. */
static int crea_oculto(const char* oculto, void* dato) {
  HANDLE h = abre_handle(oculto, GENERIC_WRITE, CREATE_NEW);
  *(FILE**)dato = h == INVALID_HANDLE_VALUE ? nullptr : flujo_de(h, _O_WRONLY, "wb");
  return *(FILE**)dato != nullptr;
}

FILE* temporal_crea(const char* ruta, const char* extension, char* oculto, int tam) {
  FILE* f = nullptr;
  return con_nombre_oculto(ruta, extension, oculto, tam, crea_oculto, &f) ? f : nullptr;
}

int temporal_termina(FILE* f) {
  // The bytes reach the disk now: MoveFileExW will only move the name.
  return FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(f))) ? 0 : -1;
}

int temporal_asegura(int) { return 1; }

void temporal_suelta(int) {}

int temporal_alcance(FILE*, const char* oculto, char* nombre, int tam) {
  int largo = snprintf(nombre, tam, "%s", oculto);
  return oculto[0] && largo > 0 && largo < tam;
}

int temporal_enlaza(fichero_nuevo* n) { return n->oculto[0] != 0; }

int temporal_sustituye(const char* oculto, const char* ruta) {
  wchar_t desde[CAPACIDAD_RUTA], hasta[CAPACIDAD_RUTA];
  if (!ancho(oculto, desde, CAPACIDAD_RUTA) || !ancho(ruta, hasta, CAPACIDAD_RUTA)) return 0;
  if (MoveFileExW(desde, hasta, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
  anota_fallo();
  return 0;
}

void temporal_sincroniza(const temporales*) {}  // each rename was written through

void borra_fichero(const char* ruta) {
  wchar_t w[CAPACIDAD_RUTA];
  if (ancho(ruta, w, CAPACIDAD_RUTA)) DeleteFileW(w);
}

/* ---- The interruption's steps ---- */

/* The exit status of each event, as its kin's signal gives on Linux. */
static BOOL WINAPI al_recibir(DWORD evento) {
  al_interrumpir(evento == CTRL_C_EVENT ? 130 : evento == CTRL_BREAK_EVENT ? 143 : 129);
}

void interrupcion_desvia_a_nosotros() { SetConsoleCtrlHandler(al_recibir, TRUE); }

void interrupcion_devuelve() { SetConsoleCtrlHandler(al_recibir, FALSE); }

// The handler runs on a thread of its own and waits for every held-off
// stretch to end: the writing thread need hold nothing off.
void interrupciones_retenidas() {}

void interrupciones_sueltas() {}

void espera_el_final() {
  for (;;) Sleep(INFINITE);
}

void espera_un_momento() { Sleep(1); }

void dice_en_error(const char* texto, int largo) {
  DWORD escritos;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), texto, (DWORD)largo, &escritos, nullptr);
}

void termina_ya(int estado) {
  // Not ExitProcess: the C library's exit handlers could wait for a lock
  // that the interrupted thread holds.
  TerminateProcess(GetCurrentProcess(), (UINT)estado);
  for (;;) Sleep(INFINITE);
}
