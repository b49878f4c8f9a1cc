#include <windows.h>

#include <cstdint>
#include <string>

#include "core/RunLock.h"

namespace lintaro {

namespace {

// Longest path asked of the system: the long-path limit of Windows.
constexpr DWORD kMaxPathCharacters = 32768;

// The current directory's final path (links, short names and drive
// substitutions resolved), else its name as the process knows it.
std::wstring currentFolderName() {
  std::wstring name(kMaxPathCharacters, L'\0');
  const HANDLE folder = CreateFileW(L".", FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  DWORD length = 0;
  if (folder != INVALID_HANDLE_VALUE) {
    length = GetFinalPathNameByHandleW(folder, name.data(), kMaxPathCharacters, 0);
    CloseHandle(folder);
  }
  if (length == 0 || length >= kMaxPathCharacters)
    length = GetCurrentDirectoryW(kMaxPathCharacters, name.data());
  if (length == 0 || length >= kMaxPathCharacters) return {};
  name.resize(length);
  // File names on Windows ignore case.
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(length),
                name.data(), static_cast<int>(length), nullptr, nullptr, 0);
  return name;
}

// A mutex name holds at most MAX_PATH characters and no backslash after its
// namespace: the folder's name enters it as a 64-bit FNV-1a hash. Two folders
// with one hash would only take turns.
std::wstring mutexName(const std::wstring& folder) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const wchar_t unit : folder) {
    hash ^= static_cast<std::uint16_t>(unit);
    hash *= 1099511628211ULL;
  }
  constexpr int kHexDigits = 16;
  std::wstring name = L"Local\\Lintaro-";
  for (int shift = (kHexDigits - 1) * 4; shift >= 0; shift -= 4)
    name.push_back(L"0123456789abcdef"[(hash >> shift) & 0xF]);
  return name;
}

}  // namespace

DirectoryLock::DirectoryLock() {
  const std::wstring folder = currentFolderName();
  if (folder.empty()) return;
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName(folder).c_str());
  if (mutex == nullptr) return;
  // An abandoned mutex (its holder ended without releasing it) is ours now.
  const DWORD waited = WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

DirectoryLock::~DirectoryLock() {
  if (handle_ != -1) {
    const auto mutex = reinterpret_cast<HANDLE>(handle_);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
}

}  // namespace lintaro
