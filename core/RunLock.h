// Serialises check runs that share a current directory (and so its work
// files), across processes: an advisory lock held for the whole run.
#pragma once

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
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace lintaro
