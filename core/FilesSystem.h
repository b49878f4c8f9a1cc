// What the safe replacement of core/Files.h asks of each system; implemented
// in FilesPosix.cpp and FilesWindows.cpp.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace lintaro::files_system {

// A file size as the system gives it, 0 when negative, clamped to size_t.
inline std::size_t sizeOf(long long size) {
  if (size <= 0) return 0;
  return static_cast<std::size_t>(
      std::min<unsigned long long>(static_cast<unsigned long long>(size), SIZE_MAX));
}

// Forces the written bytes of an open stream to the disk.
bool syncToDisk(std::FILE* file);
// Gives the new file `temp` what the system keeps apart from the bytes of the
// file it will replace (mode, owner), where the move does not keep it.
void copyAttributes(std::FILE* file, const std::filesystem::path& temp,
                    const std::filesystem::path& original);
// Puts `replacement` in the place of `target` in one step, on the disk when it
// returns; false leaves `target` as it was.
bool putInPlace(const std::filesystem::path& replacement, const std::filesystem::path& target);

}  // namespace lintaro::files_system
