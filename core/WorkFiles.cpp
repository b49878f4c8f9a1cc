#include "core/WorkFiles.h"

#include <cstdio>

#include "core/Files.h"

namespace lintaro {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

bool WorkFile::open() {
  if (file_ != nullptr) return true;
  file_ = openFile(path_, mode_);
  if (file_ == nullptr) return false;
  // A buffer of our own: with none, the C library keeps its small default.
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
  std::fseek(file_, 0, SEEK_END);
  atEnd_ = true;
  return true;
}

void WorkFile::openOrFail(std::string_view failureMessage) {
  if (!open()) throw WorkFileError(std::string(failureMessage));
}

void WorkFile::append(const void* bytes, std::size_t size) {
  if (!atEnd_) {
    std::fseek(file_, 0, SEEK_END);
    atEnd_ = true;
  }
  std::fwrite(bytes, 1, size, file_);
}

void WorkFile::overwrite(std::size_t offset, const void* bytes, std::size_t size) {
  std::fseek(file_, static_cast<long>(offset), SEEK_SET);
  std::fwrite(bytes, 1, size, file_);
  atEnd_ = false;
}

void WorkFile::close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

std::optional<std::string> readFileBytes(const std::string& path) {
  std::FILE* file = openFile(path, "rb");
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

void removeFile(const char* path) {
  deleteFile(path);
}

bool createEmptyFile(const char* path) {
  std::FILE* f = openFile(path, "wb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

}  // namespace lintaro
