// Fuzz target: a whole check run on arbitrary script bytes, under every
// preference combination chosen by the first byte (bit 0 show information,
// bit 1 Tribunal, bit 2 Bloodmoon, bit 3 hide alerts).
//
// Besides the sanitizers, it checks what holds for every input: the run ends
// with a report or is refused for its length; after a report, the four work
// files are gone and the report is UTF-8 text that starts with the title.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Encoding.h"
#include "run/MainDebug.h"
#include "core/WorkFiles.h"
#include "fuzz/FuzzWorkDir.h"

namespace {

constexpr const char* kScript = "script.txt";
constexpr std::string_view kTitle = "                     Scrivlex3 version ";

bool exists(const char* path) {
  return access(path, F_OK) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lintaro::fuzz::enterWorkDirectory();
  int options = 0;
  if (size > 0) {
    options = data[0];
    ++data;
    --size;
  }
  std::FILE* script = std::fopen(kScript, "wb");
  if (script == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, script) != size) std::abort();
  std::fclose(script);

  int errors = -1;
  std::string failure;
  const int result =
      lintaro::mainDebug(kScript, &errors, (options & 1) ? 1 : 0, (options & 2) ? 1 : 0,
                         (options & 4) ? 1 : 0, (options & 8) ? 1 : 0, &failure);
  // Any input is either checked to a report or refused for its length.
  if (result == lintaro::kResultTooManyLines) return 0;
  if (result != lintaro::kResultReportWritten) std::abort();
  if (errors < 0) std::abort();
  for (const char* name : lintaro::kWorkFileNames) {
    if (exists(name)) std::abort();  // the report writer deletes the work files
  }
  const std::string report = lintaro::readFileBytes(lintaro::reportNameFor(kScript)).value_or("");
  if (!report.starts_with(kTitle) || !lintaro::isValidUtf8(report)) std::abort();
  return 0;
}
