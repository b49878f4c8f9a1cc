#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "core/RunLock.h"

namespace lintaro {

DirectoryLock::DirectoryLock() {
  const int fd = ::open(".", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return;
    }
  }
  handle_ = fd;
}

DirectoryLock::~DirectoryLock() {
  if (handle_ >= 0) {
    const int fd = static_cast<int>(handle_);
    ::flock(fd, LOCK_UN);
    ::close(fd);
  }
}

}  // namespace lintaro
