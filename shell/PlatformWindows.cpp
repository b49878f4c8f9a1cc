#include "shell/Platform.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string_view>

#include "core/WideText.h"

namespace lintaro {

namespace {

bool isAddress(std::string_view target) {
  return target.starts_with("http://") || target.starts_with("https://") ||
         target.starts_with("mailto:");
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Longest path asked of the system: the long-path limit of Windows.
constexpr DWORD kMaxPathCharacters = 32768;

}  // namespace

bool openWithDefaultProgram(const std::string& target) {
  if (target.empty()) return false;
  const std::wstring wide = wideFromUtf8(target);
  if (!isAddress(target) && !fileExists(wide)) return false;
  // ShellExecuteW returns a value above 32 on success.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

std::string currentDirectory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0 || needed > kMaxPathCharacters) return ".";
  std::wstring buffer(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, buffer.data());
  if (length == 0 || length >= needed) return ".";
  buffer.resize(length);
  return utf8FromWide(buffer);
}

std::string programDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= kMaxPathCharacters) return {};
    buffer.resize(buffer.size() * 2);
  }
  const std::size_t separator = buffer.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  return utf8FromWide(std::wstring_view(buffer).substr(0, separator));
}

const char* const kOpenerAdvice =
    "choisissez un programme pour ce type de fichier (Paramètres, Applications par défaut).";
const char* const kConsoleAdvice = "vérifiez que l'invite de commandes (cmd.exe) peut être lancée.";

std::string userConfigDirectory() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  const std::string value = appData != nullptr ? utf8FromWide(appData) : std::string();
  return configFolder(
      [&value](const char* name) {
        return std::string_view(name) == "APPDATA" ? value.c_str() : nullptr;
      },
      true);
}

bool startInTerminal(const std::string& program) {
  const std::wstring wide = wideFromUtf8(program);
  if (wide.empty() || !fileExists(wide)) return false;
  // The command line is the quoted program name; CreateProcessW may write to it.
  std::wstring commandLine = L"\"" + wide + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(wide.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                      nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace lintaro
