// Fuzz targets run in a private temporary directory: the checker writes its
// work files and reports in the current directory.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace lintaro::fuzz {

inline void enterWorkDirectory() {
  static const bool entered = [] {
    std::string pattern = "/tmp/lintaro-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) std::abort();
    return true;
  }();
  (void)entered;
}

}  // namespace lintaro::fuzz
