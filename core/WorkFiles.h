// The run's work files: their fixed names, a handle that opens a file on first
// use and keeps it open for the rest of the run, and the error that stops a run
// when a work file cannot be opened.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lintaro {

inline constexpr const char* kJournalFileName = "DbTempTES3";
inline constexpr const char* kInfoFileName = "InfTempTES3";
inline constexpr const char* kInfoFile2Name = "InfTempTES3.2";
inline constexpr const char* kPairFileName = "InfTempTES3.3";

// The four work files in the order in which the driver deletes and re-creates
// them, and the report writer deletes them.
inline constexpr const char* kWorkFileNames[] = {kJournalFileName, kInfoFileName, kInfoFile2Name,
                                                 kPairFileName};

// A work file (or the report) could not be opened: the run stops without a
// report. The message is the French text shown to the user.
class WorkFileError : public std::runtime_error {
 public:
  explicit WorkFileError(const std::string& message) : std::runtime_error(message) {}
};

// One file of the current directory, opened lazily in a fixed mode and kept
// open until close(). Writes go through a large buffer.
class WorkFile {
 public:
  WorkFile(std::string path, const char* mode) : path_(std::move(path)), mode_(mode) {}
  ~WorkFile() { close(); }
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  // Opens the file if it is not open yet; false when it cannot be opened.
  bool open();
  bool isOpen() const { return file_ != nullptr; }
  // Opens the file, or stops the run with the given message.
  void openOrFail(std::string_view failureMessage);

  void append(const void* bytes, std::size_t size);
  void overwrite(std::size_t offset, const void* bytes, std::size_t size);
  void close();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  const char* mode_;
  std::FILE* file_ = nullptr;
  bool atEnd_ = true;
  std::unique_ptr<char[]> buffer_;  // the stream's buffer, alive until it is closed
};

// Little-endian 32-bit integer into 4 bytes.
inline void putInt32(unsigned char* out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  out[0] = static_cast<unsigned char>(v);
  out[1] = static_cast<unsigned char>(v >> 8);
  out[2] = static_cast<unsigned char>(v >> 16);
  out[3] = static_cast<unsigned char>(v >> 24);
}

// A whole file's bytes; nothing when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);

// Deletes a file; a missing file is no error.
void removeFile(const char* path);
// Creates a file empty (truncating it); false when it cannot be created.
bool createEmptyFile(const char* path);

}  // namespace lintaro
