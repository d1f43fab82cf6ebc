// Starts Pasadas from the Start menu in the user's working folder,
// Documentos\Pasadas: the programs read and write their files in the folder
// they start in, and the installed folder is not the user's to write. The
// folder is made with the examples the first time; later the examples are
// the user's to change or delete, and are never copied again.
//   pasadas-inicio             the window
//   pasadas-inicio --consola   a console in that folder where pasadas-informe works
//   pasadas-inicio --preparar  the folder alone, nothing started
#include <windows.h>
#include <shlobj.h>
#include <string>

// The folder of this program, where the installer put everything else.
static std::wstring carpeta_programa()
{
  std::wstring ruta(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, &ruta[0], static_cast<DWORD>(ruta.size()));
  ruta.resize(n);
  return ruta.substr(0, ruta.find_last_of(L'\\'));
}

static void avisa(const wchar_t* texto)
{
  MessageBoxW(nullptr, texto, L"Pasadas", MB_OK | MB_ICONERROR);
}

// Copies the installed examples into a working folder just made; a file of
// the same name already there is the user's and stays.
static void copia_ejemplos(const std::wstring& programa, const std::wstring& trabajo)
{
  WIN32_FIND_DATAW hallado;
  std::wstring ejemplos = programa + L"\\ejemplos\\";
  HANDLE busqueda = FindFirstFileW((ejemplos + L"*.txt").c_str(), &hallado);
  if (busqueda == INVALID_HANDLE_VALUE) return;
  do {
    CopyFileW((ejemplos + hallado.cFileName).c_str(), (trabajo + L"\\" + hallado.cFileName).c_str(), TRUE);
  } while (FindNextFileW(busqueda, &hallado));
  FindClose(busqueda);
}

// Documentos\Pasadas, made (with the examples) if it is not there yet.
// Returns an empty string when it cannot be had.
static std::wstring prepara_trabajo(const std::wstring& programa)
{
  PWSTR documentos = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &documentos))) return L"";
  std::wstring trabajo = std::wstring(documentos) + L"\\Pasadas";
  CoTaskMemFree(documentos);
  if (CreateDirectoryW(trabajo.c_str(), nullptr))
    copia_ejemplos(programa, trabajo);
  else if (GetLastError() != ERROR_ALREADY_EXISTS)
    return L"";
  return trabajo;
}

static bool lanza(std::wstring orden, const std::wstring& trabajo, DWORD opciones)
{
  STARTUPINFOW inicio = {};
  inicio.cb = sizeof inicio;
  PROCESS_INFORMATION proceso = {};
  if (!CreateProcessW(nullptr, &orden[0], nullptr, nullptr, FALSE, opciones, nullptr, trabajo.c_str(),
                      &inicio, &proceso))
    return false;
  CloseHandle(proceso.hThread);
  CloseHandle(proceso.hProcess);
  return true;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
  bool consola = wcsstr(GetCommandLineW(), L"--consola") != nullptr;
  std::wstring programa = carpeta_programa();
  std::wstring trabajo = prepara_trabajo(programa);
  if (trabajo.empty()) {
    avisa(L"No se puede crear la carpeta de trabajo Documentos\\Pasadas.");
    return 1;
  }
  if (wcsstr(GetCommandLineW(), L"--preparar") != nullptr) return 0;
  bool lanzado;
  if (consola) {
    // pasadas-informe found by name: the console's PATH starts with the program's folder.
    std::wstring ruta(32768, L'\0');
    DWORD n = GetEnvironmentVariableW(L"PATH", &ruta[0], static_cast<DWORD>(ruta.size()));
    ruta.resize(n < ruta.size() ? n : 0);
    SetEnvironmentVariableW(L"PATH", (programa + L";" + ruta).c_str());
    lanzado = lanza(L"cmd.exe /k pasadas-informe --version", trabajo, CREATE_NEW_CONSOLE);
  } else {
    lanzado = lanza(L"\"" + programa + L"\\pasadas.exe\"", trabajo, 0);
  }
  if (!lanzado) avisa(L"No se puede iniciar Pasadas.");
  return lanzado ? 0 : 1;
}
