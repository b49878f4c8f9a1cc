// Files named by UTF-8 paths, and the conventions of the system's file names
// and text files. Inside the program a path is UTF-8 text; this layer turns it
// into the system's own names at the edge: bytes on POSIX, the wide-character
// calls on Windows (so that any name the file system takes opens, whatever the
// ANSI code page). Nothing else calls fopen, nor makes a std::filesystem::path
// from a narrow string or reads one back with string(), which on Windows use
// the ANSI code page.
//
// Implemented in FilesPosix.cpp and FilesWindows.cpp; CMake builds one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace lintaro {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// std::fopen for a UTF-8 path; `mode` is a C mode without 'x' (see
// createNewFile). Null on failure, with errno set.
std::FILE* openFile(std::string_view utf8Path, const char* mode);

// The size of an open file: false for a folder; 0 when it is no regular file
// (a named pipe, a device) or its size is unknown.
bool openedFileSize(std::FILE* file, std::size_t& size);

// Deletes a file; a missing file is no error.
void deleteFile(std::string_view utf8Path);

// A file may be written by this process (the access check of the system).
bool isWritableFile(const std::filesystem::path& path);

enum class Creation { kCreated, kExists, kFailed };

// Creates `path` and opens it for binary writing, only when nothing of that
// name is there (a symbolic link included): an existing file is never opened.
// `file` is set when kCreated.
Creation createNewFile(const std::filesystem::path& path, std::FILE*& file);

// A folder, opened once, in which new files are written by name.
class NewFileFolder {
 public:
  explicit NewFileFolder(const std::filesystem::path& folder);
  ~NewFileFolder();
  NewFileFolder(const NewFileFolder&) = delete;
  NewFileFolder& operator=(const NewFileFolder&) = delete;

  bool opened() const;
  // Creates `utf8Name` in the folder as createNewFile does and writes `bytes`
  // into it; a file not written whole is removed (kFailed).
  Creation write(const std::string& utf8Name, std::string_view bytes) const;

 private:
  std::filesystem::path folder_;
  std::intptr_t handle_ = -1;  // the open folder where the system has one
};

// Replaces the contents of the regular file `target` with `bytes`, safely: a
// new file beside it, created exclusively, gets the bytes (and the target's
// attributes), is flushed to the disk, then takes the target's place in one
// step. On any failure the new file is removed and `target` keeps its bytes.
bool replaceFileContents(const std::filesystem::path& target, std::string_view bytes);

// Where the last folder separator of a path stands ('/' on POSIX; '/', '\\'
// or the drive's ':' on Windows), npos when there is none.
std::size_t lastPathSeparator(std::string_view path);

// A text with line feeds, as the system's text files end their lines: as it is
// on POSIX, CR LF on Windows.
std::string withNativeLineEnds(std::string text);

}  // namespace lintaro
