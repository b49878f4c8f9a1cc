#include "tests/TestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "core/Files.h"
#include "run/MainDebug.h"

namespace lintaro::test {

TempDir::TempDir() {
  previous_ = utf8FromPath(std::filesystem::current_path());
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto candidate =
        std::filesystem::temp_directory_path() / ("lintaro-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) path_ = utf8FromPath(candidate);
  }
  if (path_.empty()) throw std::runtime_error("cannot make a temporary directory");
  std::filesystem::current_path(pathFromUtf8(path_));
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::current_path(pathFromUtf8(previous_), ignored);
  std::filesystem::remove_all(pathFromUtf8(path_), ignored);
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string settingsBytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<char>((static_cast<unsigned>(value) >> shift) & 0xFF));
  }
  return bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
  return std::filesystem::exists(pathFromUtf8(path));
}

std::string native(std::string_view lfText) {
  return withNativeLineEnds(std::string(lfText));
}

std::string nativePath(std::string_view slashPath) {
  std::string path(slashPath);
  if (std::filesystem::path::preferred_separator == '\\')
    std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

CheckOutcome check(std::string_view script, const Settings& settings, const std::string& name) {
  writeFile(name, script);
  CheckOutcome outcome;
  outcome.result = mainDebug(name, &outcome.errors, settings.showInfo, settings.tribunal,
                             settings.bloodmoon, settings.hideAlerts, &outcome.failure);
  const std::string report = reportNameFor(name);
  if (fileExists(report)) outcome.report = readFile(report);
  return outcome;
}

#ifdef _WIN32

namespace {
std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
  return text;
}

// One argument quoted as CommandLineToArgvW reads it back.
std::wstring quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  std::size_t slashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out.push_back(c);
  }
  out.append(slashes * 2, L'\\');
  return out + L"\"";
}

HANDLE inheritable(const std::wstring& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                     creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace

void setEnvironment(const char* name, const std::string& value) {
  _putenv_s(name, value.c_str());
}

void unsetEnvironment(const char* name) {
  _putenv_s(name, "");
}

Process startProcess(const std::vector<std::string>& argv, const std::string& directory,
                     const std::string& outFile, const std::string& errFile) {
  std::wstring commandLine;
  for (const std::string& arg : argv)
    commandLine += (commandLine.empty() ? L"" : L" ") + quoted(wide(arg));
  HANDLE in = inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = inheritable(wide(outFile), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = inheritable(wide(errFile), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started{};
  const std::wstring folder = wide(directory);
  const BOOL ok = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                  err != INVALID_HANDLE_VALUE &&
                  CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 folder.c_str(), &startup, &started);
  for (HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!ok) return {};
  CloseHandle(started.hThread);
  return {reinterpret_cast<std::intptr_t>(started.hProcess)};
}

int waitProcess(Process process) {
  if (process.handle == -1) return -1;
  HANDLE handle = reinterpret_cast<HANDLE>(process.handle);
  DWORD code = 0;
  const bool exited =
      WaitForSingleObject(handle, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(handle, &code);
  CloseHandle(handle);
  return exited ? static_cast<int>(code) : -1;
}

#else

void setEnvironment(const char* name, const std::string& value) {
  setenv(name, value.c_str(), 1);
}

void unsetEnvironment(const char* name) {
  unsetenv(name);
}

Process startProcess(const std::vector<std::string>& argv, const std::string& directory,
                     const std::string& outFile, const std::string& errFile) {
  std::vector<std::string> args = argv;
  std::vector<char*> pointers;
  for (std::string& a : args)
    pointers.push_back(a.data());
  pointers.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {  // only async-signal-safe calls between fork and exec
    const int in = ::open("/dev/null", O_RDONLY);
    const int o = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 ||
        ::chdir(directory.c_str()) != 0) {
      ::_exit(126);
    }
    ::execv(pointers[0], pointers.data());
    ::_exit(127);
  }
  return {pid > 0 ? static_cast<std::intptr_t>(pid) : -1};
}

int waitProcess(Process process) {
  if (process.handle == -1) return -1;
  int raw = 0;
  const pid_t pid = static_cast<pid_t>(process.handle);
  while (::waitpid(pid, &raw, 0) != pid) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

#endif

}  // namespace lintaro::test
