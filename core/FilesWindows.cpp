#include "core/Files.h"
#include "core/FilesSystem.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "core/WideText.h"

namespace lintaro {

namespace fs = std::filesystem;

namespace files_system {

// Forces the written bytes of an open stream to the disk.
bool syncToDisk(std::FILE* file) {
  return _commit(_fileno(file)) == 0;
}

// Puts `replacement` in the place of `target`. ReplaceFileW keeps what the
// target had of its own (attributes, permissions, creation time); where it
// cannot work (some network and FAT volumes), a move that replaces the target
// and returns only once it is on the disk. Either leaves the target as it was
// when it fails.
bool putInPlace(const fs::path& replacement, const fs::path& target) {
  if (ReplaceFileW(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                   nullptr, nullptr)) {
    return true;
  }
  // The target was renamed away and not restored: only possible with a backup
  // name, which is not given; never move over it then.
  if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) return false;
  return MoveFileExW(replacement.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// ReplaceFileW gives the new file what the target had of its own.
void copyAttributes(std::FILE*, const fs::path&, const fs::path&) {}

}  // namespace files_system

fs::path pathFromUtf8(std::string_view utf8) {
  return fs::path(wideFromUtf8(utf8));
}

std::string utf8FromPath(const fs::path& path) {
  return utf8FromWide(path.native());
}

std::FILE* openFile(std::string_view utf8Path, const char* mode) {
  return _wfopen(wideFromUtf8(utf8Path).c_str(), wideFromUtf8(mode).c_str());
}

bool openedFileSize(std::FILE* file, std::size_t& size) {
  struct _stat64 st {};
  if (_fstat64(_fileno(file), &st) != 0) return false;
  if ((st.st_mode & _S_IFMT) == _S_IFDIR) return false;
  size = (st.st_mode & _S_IFMT) == _S_IFREG ? files_system::sizeOf(st.st_size) : 0;
  return true;
}

void deleteFile(std::string_view utf8Path) {
  _wremove(wideFromUtf8(utf8Path).c_str());
}

bool isWritableFile(const fs::path& path) {
  constexpr int kWriteAccess = 2;
  return _waccess(path.c_str(), kWriteAccess) == 0;
}

Creation createNewFile(const fs::path& path, std::FILE*& file) {
  // The C runtime's fopen ignores the "x" of C11; _O_EXCL is CREATE_NEW,
  // which fails on any existing name, a link included.
  const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) return errno == EEXIST ? Creation::kExists : Creation::kFailed;
  file = _fdopen(fd, "wb");
  if (file == nullptr) {
    _close(fd);
    _wremove(path.c_str());
    return Creation::kFailed;
  }
  return Creation::kCreated;
}

NewFileFolder::NewFileFolder(const fs::path& folder) : folder_(folder) {}

NewFileFolder::~NewFileFolder() = default;

bool NewFileFolder::opened() const {
  std::error_code error;
  return fs::is_directory(folder_, error);
}

Creation NewFileFolder::write(const std::string& utf8Name, std::string_view bytes) const {
  const fs::path path = folder_ / pathFromUtf8(utf8Name);
  std::FILE* file = nullptr;
  const Creation created = createNewFile(path, file);
  if (created != Creation::kCreated) return created;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    std::error_code ignored;
    fs::remove(path, ignored);
    return Creation::kFailed;
  }
  return Creation::kCreated;
}

std::size_t lastPathSeparator(std::string_view path) {
  return path.find_last_of("/\\:");
}

std::string withNativeLineEnds(std::string text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

}  // namespace lintaro
