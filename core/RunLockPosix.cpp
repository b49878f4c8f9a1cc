#include "core/RunLock.h"

#ifdef _WIN32
#include <windows.h>

#include <direct.h>

#include <string>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lintaro {

#ifdef _WIN32

DirectoryLock::DirectoryLock() {
  char cwd[MAX_PATH] = {};
  if (_getcwd(cwd, MAX_PATH) == nullptr) return;
  std::string name = "Local\\Lintaro-";
  for (const char* p = cwd; *p != '\0'; ++p)
    name.push_back(*p == '\\' ? '/' : *p);
  handle_ = CreateMutexA(nullptr, FALSE, name.c_str());
  if (handle_ != nullptr) WaitForSingleObject(static_cast<HANDLE>(handle_), INFINITE);
}

DirectoryLock::~DirectoryLock() {
  if (handle_ != nullptr) {
    ReleaseMutex(static_cast<HANDLE>(handle_));
    CloseHandle(static_cast<HANDLE>(handle_));
  }
}

#else

DirectoryLock::DirectoryLock() {
  fd_ = ::open(".", O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
}

#endif

}  // namespace lintaro
