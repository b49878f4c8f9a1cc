// Helpers shared by the tests: a private current directory, files, and a
// whole check run.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

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

void writeFile(const std::string& path, std::string_view bytes);
// A settings file: each value as a little-endian 32-bit integer.
std::string settingsBytes(std::initializer_list<int> values);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

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
