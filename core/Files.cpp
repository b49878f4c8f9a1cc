#include "core/Files.h"

#include <string>
#include <system_error>

#include "core/FilesSystem.h"

namespace lintaro {

namespace fs = std::filesystem;

bool replaceFileContents(const fs::path& target, std::string_view bytes) {
  constexpr int kAttempts = 100;
  fs::path temp;
  std::FILE* file = nullptr;
  for (int attempt = 0; attempt < kAttempts && file == nullptr; ++attempt) {
    fs::path name = ".";
    name += target.filename();
    name += ".mef" + std::to_string(attempt) + ".tmp";
    temp = target.parent_path() / name;
    if (createNewFile(temp, file) == Creation::kFailed) return false;
  }
  if (file == nullptr) return false;
  files_system::copyAttributes(file, temp, target);
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  written = written && files_system::syncToDisk(file);
  written = std::fclose(file) == 0 && written;
  if (!written || !files_system::putInPlace(temp, target)) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

}  // namespace lintaro
