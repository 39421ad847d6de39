#include <windows.h>

#include <io.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>

#include "config/path_text.h"
#include "console.h"

namespace q5480::cli {
namespace {

std::atomic<bool> gInterrupted{false};

BOOL WINAPI OnControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT: gInterrupted.store(true); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

std::vector<std::string> PrepareConsole(int, char**) {
  // The program's texts are UTF-8 ("°C", Polish letters); a console shows
  // them as such only in this code page. Pipes and files get the bytes as
  // they are.
  ::SetConsoleOutputCP(CP_UTF8);
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
  ::LocalFree(wide);
  return args;
}

bool StandardErrorIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

void CatchInterrupts() {
  gInterrupted.store(false);
  ::SetConsoleCtrlHandler(OnControl, TRUE);
}

bool Interrupted() { return gInterrupted.load(); }

}  // namespace q5480::cli
