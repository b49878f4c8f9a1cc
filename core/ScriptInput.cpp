#include "core/ScriptInput.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <limits>

#include "core/Files.h"

namespace lintaro {

namespace {

// Largest single read, whatever the input.
constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

// Gives `bytes` room for `capacity` characters in one allocation of that size
// (growing in place may round the request up to twice the old capacity).
void growTo(std::string& bytes, std::size_t capacity) {
  std::string grown;
  grown.reserve(capacity);
  grown.append(bytes);
  bytes.swap(grown);
}

// Reads chunks with `read(buffer, size)` until it returns less than asked, or
// until one byte past `limit` has arrived. `read` returns the count it stored
// and reports a failure through `failed()`. `expected` is the likely size
// (0 when unknown), used for the first allocation.
template <typename Read, typename Failed>
ScriptInput readBounded(Read read, Failed failed, std::size_t expected, std::size_t limit) {
  // One byte past the limit is enough to tell that the input is too large.
  const std::size_t ceiling = limit == std::numeric_limits<std::size_t>::max() ? limit : limit + 1;
  ScriptInput input;
  std::string& bytes = input.bytes;
  // Room for one more byte than expected, so that the end of a file whose
  // size was known is seen without growing.
  growTo(bytes, std::min(ceiling, expected > 0 ? expected + 1 : kChunkBytes));
  while (bytes.size() < ceiling) {
    const std::size_t old = bytes.size();
    if (bytes.capacity() == old)
      growTo(bytes, std::min(ceiling, std::max(old + kChunkBytes, 2 * old)));
    const std::size_t want = std::min({kChunkBytes, ceiling - old, bytes.capacity() - old});
    bytes.resize(old + want);
    const std::size_t got = read(bytes.data() + old, want);
    bytes.resize(old + got);
    if (got < want) {
      if (failed()) {
        std::string().swap(input.bytes);
        return input;
      }
      break;
    }
  }
  if (bytes.size() > limit) {
    std::string().swap(input.bytes);
    input.status = InputStatus::kTooLarge;
    return input;
  }
  input.status = InputStatus::kRead;
  return input;
}

}  // namespace

ScriptInput readScriptInput(const std::string& path, std::size_t limit) {
  std::FILE* file = openFile(path, "rb");
  if (file == nullptr) return {};
  std::size_t size = 0;
  if (!openedFileSize(file, size)) {
    std::fclose(file);
    return {};
  }
  // A file's size is only a hint: it may grow or shrink while it is read.
  ScriptInput input = readBounded(
      [file](char* buffer, std::size_t count) { return std::fread(buffer, 1, count, file); },
      [file] { return std::ferror(file) != 0; }, std::min(size, limit), limit);
  std::fclose(file);
  return input;
}

ScriptInput readScriptStream(std::istream& in, std::size_t limit) {
  return readBounded(
      [&in](char* buffer, std::size_t count) {
        in.read(buffer, static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(in.gcount());
      },
      [&in] { return in.bad() || !in.eof(); }, 0, limit);
}

std::string inputFailureMessage(InputStatus status, const std::string& name) {
  switch (status) {
    case InputStatus::kTooLarge:
      return "Le fichier \"" + name +
             "\" dépasse 25 Mo : ce n'est pas un script Morrowind (5000 lignes de 4999 caractères "
             "au plus).";
    case InputStatus::kRead:
    case InputStatus::kUnreadable:
      break;
  }
  return "Impossible d'ouvrir le fichier \"" + name + "\" !";
}

}  // namespace lintaro
