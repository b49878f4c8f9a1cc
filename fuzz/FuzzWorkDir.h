// Fuzz targets run in a private temporary directory: the checker writes its
// work files and reports in the current directory. The directory is removed
// when the process exits normally (not after a crash, whose input libFuzzer
// has saved already).
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace lintaro::fuzz {

inline std::string& workDirectory() {
  static std::string path;
  return path;
}

inline void removeWorkDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
  std::filesystem::remove_all(workDirectory(), ignored);
}

inline void enterWorkDirectory() {
  static const bool entered = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "lintaro-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) std::abort();
    workDirectory() = pattern;
    std::atexit(removeWorkDirectory);
    return true;
  }();
  (void)entered;
}

}  // namespace lintaro::fuzz
