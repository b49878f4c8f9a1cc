// Fuzz target: a whole check run on arbitrary script bytes, under every
// preference combination chosen by the first byte.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/MainDebug.h"
#include "fuzz/FuzzWorkDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lintaro::fuzz::enterWorkDirectory();
  int options = 0;
  if (size > 0) {
    options = data[0];
    ++data;
    --size;
  }
  std::FILE* script = std::fopen("script.txt", "wb");
  if (script == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, script) != size) std::abort();
  std::fclose(script);

  int errors = -1;
  std::string failure;
  const int result =
      lintaro::mainDebug("script.txt", &errors, (options & 1) ? 1 : 0, (options & 2) ? 1 : 0,
                         (options & 4) ? 1 : 0, (options & 8) ? 1 : 0, &failure);
  // Any input is either checked to a report or refused for its length.
  if (result != lintaro::kResultReportWritten && result != lintaro::kResultTooManyLines)
    std::abort();
  if (result == lintaro::kResultReportWritten && errors < 0) std::abort();
  return 0;
}
