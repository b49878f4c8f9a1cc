#include "tests/TestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "run/MainDebug.h"

namespace lintaro::test {

TempDir::TempDir() {
  previous_ = std::filesystem::current_path().string();
  std::string pattern = (std::filesystem::temp_directory_path() / "lintaro-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
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
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
  return std::filesystem::exists(path);
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

}  // namespace lintaro::test
