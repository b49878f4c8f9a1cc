// Helpers shared by the tests: a private current directory, files, and a
// whole check run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Settings.h"

namespace lintaro::test {

// Makes a fresh temporary directory the current directory for the life of the
// object, and removes it afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// Files named by UTF-8 paths.
void writeFile(const std::string& path, std::string_view bytes);
// A settings file: each value as a little-endian 32-bit integer.
std::string settingsBytes(std::initializer_list<int> values);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// An expected text written with line feeds, its lines ended as the program
// ends them in reports and on standard output: CR LF on Windows.
std::string native(std::string_view lfText);
// An expected path written with '/', its separators those of the paths the
// program builds: '\\' on Windows.
std::string nativePath(std::string_view slashPath);

// Sets or removes an environment variable of this process.
void setEnvironment(const char* name, const std::string& value);
void unsetEnvironment(const char* name);

// A program started with its standard input empty and its outputs in files.
struct Process {
  std::intptr_t handle = -1;  // a pid, or a Windows process handle
};
// Starts argv[0] (a path) with the arguments in `directory`; handle -1 when it
// cannot be started.
Process startProcess(const std::vector<std::string>& argv, const std::string& directory,
                     const std::string& outFile, const std::string& errFile);
// Waits for it: its exit status, -1 when it did not exit normally.
int waitProcess(Process process);

struct CheckOutcome {
  int result = -1;
  int errors = -1;
  std::string report;   // the report file's bytes (UTF-8), empty when none
  std::string failure;  // the message of result 3
};

// Writes `script` to `name` in the current directory and checks it.
CheckOutcome check(std::string_view script, const Settings& settings = {},
                   const std::string& name = "script.txt");

}  // namespace lintaro::test
