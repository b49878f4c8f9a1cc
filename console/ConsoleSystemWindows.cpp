#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <iostream>

#include "console/ConsoleSystem.h"
#include "core/WideText.h"

namespace lintaro {

namespace {

// The console's state before the run, restored at its end; 0 when untouched.
std::atomic<UINT> savedOutputPage{0};
std::atomic<UINT> savedInputPage{0};
std::atomic<DWORD> savedErrorMode{0};
std::atomic<bool> errorModeSaved{false};
std::atomic<bool> escapesOn{false};

bool isConsole(DWORD which, DWORD* mode = nullptr) {
  DWORD ignored = 0;
  return GetConsoleMode(GetStdHandle(which), mode != nullptr ? mode : &ignored) != 0;
}

void restoreConsole() {
  if (const UINT page = savedOutputPage.exchange(0); page != 0) SetConsoleOutputCP(page);
  if (const UINT page = savedInputPage.exchange(0); page != 0) SetConsoleCP(page);
  if (errorModeSaved.exchange(false))
    SetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), savedErrorMode);
}

// Ctrl+C and closing the window end the process: the console gets its code
// pages back first. FALSE lets the default handling go on.
BOOL WINAPI onConsoleEvent(DWORD) {
  restoreConsole();
  return FALSE;
}

std::vector<std::string> utf8Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i)
    arguments.push_back(utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace

ConsoleSession::ConsoleSession(int, char**) : arguments_(utf8Arguments()) {
  // Reports carry their own CR LF; text mode would add a CR to each LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // A script or a language client on a redirected input is read byte for
  // byte (text mode would drop CRs and stop at Ctrl+Z); typed lines keep the
  // console's own handling.
  if (!isConsole(STD_INPUT_HANDLE)) _setmode(_fileno(stdin), _O_BINARY);

  if (isConsole(STD_OUTPUT_HANDLE) || isConsole(STD_ERROR_HANDLE) || isConsole(STD_INPUT_HANDLE)) {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    const UINT output = GetConsoleOutputCP();
    const UINT input = GetConsoleCP();
    if (output != 0 && output != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) savedOutputPage = output;
    if (input != 0 && input != CP_UTF8 && SetConsoleCP(CP_UTF8)) savedInputPage = input;
    DWORD mode = 0;
    if (isConsole(STD_ERROR_HANDLE, &mode)) {
      if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) {
        escapesOn = true;
      } else if (SetConsoleMode(GetStdHandle(STD_ERROR_HANDLE),
                                mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        savedErrorMode = mode;
        errorModeSaved = true;
        escapesOn = true;
      }
    }
  }
}

ConsoleSession::~ConsoleSession() {
  // What the streams still hold is shown with the code page it was written for.
  std::cout.flush();
  std::cerr.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  restoreConsole();
  SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

bool standardErrorIsTerminal() {
  return escapesOn && isConsole(STD_ERROR_HANDLE);
}

}  // namespace lintaro
