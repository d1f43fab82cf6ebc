// Starts a command in this console and, after some milliseconds, sends it
// Ctrl-C or Ctrl-Break as a user at the keyboard would; exits with the
// command's own exit code. Cross-built by tools/windows.sh --probar.
//   interrumpe MILISEGUNDOS c|break PROGRAMA ARGUMENTOS...
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

// Ctrl-C goes to every process of the console: this one outlives it.
static BOOL WINAPI sigue(DWORD) { return TRUE; }

int main()
{
  int n = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &n);
  if (args == nullptr || n < 4) return 125;
  DWORD espera = static_cast<DWORD>(_wtoi(args[1]));
  bool ruptura = std::wcscmp(args[2], L"break") == 0;
  std::wstring orden;
  for (int i = 3; i < n; i++) orden += (i > 3 ? L" \"" : L"\"") + std::wstring(args[i]) + L"\"";
  LocalFree(args);

  SetConsoleCtrlHandler(sigue, TRUE);
  STARTUPINFOW inicio = {};
  inicio.cb = sizeof inicio;
  PROCESS_INFORMATION proceso = {};
  // Ctrl-Break is sent to the command's own process group.
  DWORD opciones = ruptura ? CREATE_NEW_PROCESS_GROUP : 0;
  if (!CreateProcessW(nullptr, &orden[0], nullptr, nullptr, TRUE, opciones, nullptr, nullptr, &inicio,
                      &proceso))
    return 126;
  if (WaitForSingleObject(proceso.hProcess, espera) == WAIT_TIMEOUT)
    GenerateConsoleCtrlEvent(ruptura ? CTRL_BREAK_EVENT : CTRL_C_EVENT, ruptura ? proceso.dwProcessId : 0);
  WaitForSingleObject(proceso.hProcess, INFINITE);
  DWORD codigo = 125;
  GetExitCodeProcess(proceso.hProcess, &codigo);
  return static_cast<int>(codigo);
}
