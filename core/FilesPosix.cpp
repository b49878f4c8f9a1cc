#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "core/Files.h"
#include "core/FilesSystem.h"

namespace lintaro {

namespace fs = std::filesystem;

namespace files_system {

// Forces the written bytes of an open stream to the disk.
bool syncToDisk(std::FILE* file) {
  int rc = 0;
  do {
    rc = fsync(fileno(file));
  } while (rc != 0 && errno == EINTR);
  // Some file systems (pipes aside) cannot sync: the data is then as flushed
  // as it can be.
  return rc == 0 || errno == EINVAL || errno == ENOTSUP;
}

// Gives the new file the mode (and, where allowed, the owner) of the old one.
void copyAttributes(std::FILE* file, const fs::path& temp, const fs::path& original) {
  std::error_code ec;
  const fs::perms perms = fs::status(original, ec).permissions();
  if (!ec) fs::permissions(temp, perms, ec);
  struct stat st {};
  if (stat(original.c_str(), &st) == 0 && fchown(fileno(file), st.st_uid, st.st_gid) != 0) {
    // Only the owner's own group or root may keep another owner: the new file
    // then belongs to whoever formats it.
  }
}

namespace {

void syncDirectory(const fs::path& dir) {
  const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY);
  if (fd < 0) return;
  if (fsync(fd) != 0) {
    // Not every file system syncs a directory; the rename is done anyway.
  }
  close(fd);
}

}  // namespace

bool putInPlace(const fs::path& replacement, const fs::path& target) {
  std::error_code ec;
  fs::rename(replacement, target, ec);
  if (ec) return false;
  syncDirectory(target.parent_path());
  return true;
}

}  // namespace files_system

fs::path pathFromUtf8(std::string_view utf8) {
  return fs::path(utf8);
}

std::string utf8FromPath(const fs::path& path) {
  return path.native();
}

std::FILE* openFile(std::string_view utf8Path, const char* mode) {
  return std::fopen(std::string(utf8Path).c_str(), mode);
}

bool openedFileSize(std::FILE* file, std::size_t& size) {
  struct stat st {};
  if (fstat(fileno(file), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  size = S_ISREG(st.st_mode) ? files_system::sizeOf(st.st_size) : 0;
  return true;
}

void deleteFile(std::string_view utf8Path) {
  std::remove(std::string(utf8Path).c_str());
}

bool isWritableFile(const fs::path& path) {
  return access(path.c_str(), W_OK) == 0;
}

Creation createNewFile(const fs::path& path, std::FILE*& file) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? Creation::kExists : Creation::kFailed;
  file = fdopen(fd, "wb");
  if (file == nullptr) {
    ::close(fd);
    ::unlink(path.c_str());
    return Creation::kFailed;
  }
  return Creation::kCreated;
}

NewFileFolder::NewFileFolder(const fs::path& folder) : folder_(folder) {
  handle_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

NewFileFolder::~NewFileFolder() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool NewFileFolder::opened() const {
  return handle_ >= 0;
}

Creation NewFileFolder::write(const std::string& utf8Name, std::string_view bytes) const {
  const int folder = static_cast<int>(handle_);
  const int fd = ::openat(folder, utf8Name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST ? Creation::kExists : Creation::kFailed;
  bool written = true;
  std::size_t done = 0;
  while (written && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 || !written) {
    ::unlinkat(folder, utf8Name.c_str(), 0);
    return Creation::kFailed;
  }
  return Creation::kCreated;
}

std::size_t lastPathSeparator(std::string_view path) {
  return path.find_last_of('/');
}

std::string withNativeLineEnds(std::string text) {
  return text;
}

}  // namespace lintaro
