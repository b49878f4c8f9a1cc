// Serialises check runs that share a current directory (and so its work
// files), across processes: an advisory lock held for the whole run.
//
// POSIX: flock on the open directory. Windows: a named mutex whose name comes
// from the directory's final path (RunLockWindows.cpp).
#pragma once

#include <cstdint>

namespace lintaro {

class DirectoryLock {
 public:
  // Waits until no other run holds the current directory. Where the platform
  // or the file system offers no lock, the run goes on unlocked.
  DirectoryLock();
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

 private:
  std::intptr_t handle_ = -1;  // the open directory or the mutex; -1 when unlocked
};

}  // namespace lintaro
