#include "shell/Platform.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

namespace lintaro {

namespace {

constexpr int kExecFailed = 127;
constexpr int kPollMilliseconds = 20;
constexpr int kOpenerWaitMilliseconds = 2000;

void sleepMilliseconds(int ms) {
  timespec delay{};
  delay.tv_sec = ms / 1000;
  delay.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
  while (nanosleep(&delay, &delay) != 0 && errno == EINTR) {
  }
}

// Runs argv[0] (looked up in PATH) detached from this process and returns its
// exit status if it ends within `waitMs`, 0 if it is still running then, and
// kExecFailed when it cannot be started. The program runs as a grandchild, so
// it never stays behind as a zombie of the window.
int runDetached(const std::vector<std::string>& args, int waitMs) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t watcher = fork();
  if (watcher < 0) return kExecFailed;
  if (watcher == 0) {
    const pid_t program = fork();
    if (program < 0) _exit(kExecFailed);
    if (program == 0) {
      setsid();
      execvp(argv[0], argv.data());
      _exit(kExecFailed);
    }
    for (int waited = 0; waited < waitMs; waited += kPollMilliseconds) {
      int status = 0;
      const pid_t done = waitpid(program, &status, WNOHANG);
      if (done == program) _exit(WIFEXITED(status) ? WEXITSTATUS(status) : kExecFailed);
      if (done < 0 && errno != EINTR) _exit(kExecFailed);
      sleepMilliseconds(kPollMilliseconds);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(watcher, &status, 0) < 0) {
    if (errno != EINTR) return kExecFailed;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kExecFailed;
}

bool isAddress(std::string_view target) {
  return target.starts_with("http://") || target.starts_with("https://") ||
         target.starts_with("mailto:");
}

}  // namespace

bool openWithDefaultProgram(const std::string& target) {
  if (target.empty()) return false;
  if (!isAddress(target)) {
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) return false;
  }
  return runDetached({"xdg-open", target}, kOpenerWaitMilliseconds) == 0;
}

std::string currentDirectory() {
  std::vector<char> buffer(PATH_MAX + 1, '\0');
  if (getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
  return buffer.data();
}

std::string programDirectory() {
  std::vector<char> buffer(PATH_MAX + 1, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  std::string path(buffer.data(), static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 0 ? 1 : slash);
}

const char* const kOpenerAdvice = "installez un navigateur ou un lecteur de documents (xdg-open).";
const char* const kConsoleAdvice =
    "installez un émulateur de terminal (x-terminal-emulator ou xterm).";

std::string userConfigDirectory() {
  return configFolder([](const char* name) { return std::getenv(name); }, false);
}

bool startInTerminal(const std::string& program) {
  struct stat info {};
  if (stat(program.c_str(), &info) != 0 || access(program.c_str(), X_OK) != 0) return false;
  // A terminal that is still open after the wait has started the program.
  constexpr int kTerminalWaitMilliseconds = 1000;
  for (const char* terminal : {"x-terminal-emulator", "xterm"}) {
    if (runDetached({terminal, "-e", program}, kTerminalWaitMilliseconds) == 0) return true;
  }
  return false;
}

}  // namespace lintaro
