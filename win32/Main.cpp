// lintaro.exe: the window of the checker on Windows.
#include <windows.h>

#include <commctrl.h>

#include "Window.h"

namespace {

// The test hook's file: the variable LINTARO_TRACE_ETAT, else "".
std::wstring tracePath() {
  constexpr DWORD kLimit = lintaro::win32::kMaxPathCharacters;
  std::wstring value(kLimit + 1, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"LINTARO_TRACE_ETAT", value.data(), kLimit + 1);
  value.resize(length <= kLimit ? length : 0);
  return value;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  // The script boxes are rich edit controls ("RICHEDIT50W").
  if (LoadLibraryW(L"Msftedit.dll") == nullptr) {
    MessageBoxW(nullptr, L"Impossible de charger Msftedit.dll.", L"Lintaro", MB_OK | MB_ICONERROR);
    return 1;
  }
  if (!lintaro::win32::registerMainWindow(instance)) return 0;
  HWND main =
      lintaro::win32::createMainWindow(instance, lintaro::defaultShellAddresses(), tracePath());
  if (main == nullptr) return 0;
  ShowWindow(main, show);
  UpdateWindow(main);
  HACCEL accelerators = LoadAcceleratorsW(instance, L"Accelerateurs");
  MSG message{};
  BOOL result = 0;
  while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    // Alt+F4 is the main window's: in a dialog it closes the dialog.
    if (GetAncestor(message.hwnd, GA_ROOT) == main &&
        TranslateAcceleratorW(main, accelerators, &message))
      continue;
    if (lintaro::win32::dialogMessage(main, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return result == 0 ? static_cast<int>(message.wParam) : 0;
}
