// Fuzz targets run in a private temporary directory: the checker writes its
// work files and reports in the current directory. The directory is removed
// when the process exits normally (not after a crash, whose input libFuzzer
// has saved already).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace lintaro::fuzz {

inline std::filesystem::path& workDirectory() {
  static std::filesystem::path path;
  return path;
}

inline void removeWorkDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(std::filesystem::temp_directory_path(ignored), ignored);
  std::filesystem::remove_all(workDirectory(), ignored);
}

// Creates a new directory with a random name in the system's temporary folder
// (create_directory reports a name already taken, so two runs never share one).
inline void enterWorkDirectory() {
  static const bool entered = [] {
    constexpr int kAttempts = 100;
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) std::abort();
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      const std::filesystem::path candidate =
          temporary / ("lintaro-fuzz-" + std::to_string(random() % 1000000000000ULL));
      if (!std::filesystem::create_directory(candidate, error)) {
        if (error) std::abort();
        continue;  // taken by another run
      }
      std::filesystem::current_path(candidate, error);
      if (error) std::abort();
      workDirectory() = candidate;
      std::atexit(removeWorkDirectory);
      return true;
    }
    std::abort();
  }();
  (void)entered;
}

}  // namespace lintaro::fuzz
