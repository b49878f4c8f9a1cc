// Fuzz target: the in-memory check on arbitrary script bytes, no file at all,
// under every preference combination chosen by the first byte (bit 0 show
// information, bit 1 Tribunal, bit 2 Bloodmoon, bit 3 hide alerts, bit 4
// silence the code chosen by the second byte).
//
// Besides the sanitizers, it checks what holds for every input: the script is
// checked or refused for its length; the counts add up; every finding is a
// report line of its row's kind; the report order is a permutation that puts
// the lines in order and the whole-script findings last; the report is UTF-8
// text that starts with the title.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Diagnostics.h"
#include "core/Encoding.h"
#include "run/Check.h"

namespace {

constexpr std::string_view kTitle = "                     Scrivlex3 version ";

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int flags = 0;
  std::size_t silenced = 0;
  if (size >= 2) {
    flags = data[0];
    silenced = data[1];
    data += 2;
    size -= 2;
  }
  lintaro::CheckOptions options;
  options.showInfo = (flags & 1) != 0;
  options.tribunal = (flags & 2) != 0;
  options.bloodmoon = (flags & 4) != 0;
  options.hideAlerts = (flags & 8) != 0;
  const std::span<const lintaro::DiagnosticRow> rows = lintaro::catalogue();
  if ((flags & 16) != 0) options.silenced.push_back(rows[silenced % rows.size()].id);

  const lintaro::CheckResult result =
      lintaro::check(std::string_view(reinterpret_cast<const char*>(data), size), options);
  if (result.status == lintaro::CheckStatus::kTooManyLines) {
    require(result.lineCount > lintaro::kMaxLines && result.journal.size() == 0);
    return 0;
  }
  require(static_cast<std::size_t>(result.errors + result.alerts) == result.journal.size());
  for (std::size_t i = 0; i < result.journal.size(); ++i) {
    const lintaro::JournalEntry entry = result.journal[i];
    require(entry.text.size() <= lintaro::kJournalTextMax);
    const lintaro::Scope scope = lintaro::diagnostic(entry.id).scope;
    require((entry.line == lintaro::kWholeScript) == (scope == lintaro::Scope::kScript));
    require(entry.text.starts_with(scope == lintaro::Scope::kLine ? lintaro::kLinePrefix
                                                                  : lintaro::kScriptPrefix));
    require(entry.kind == lintaro::diagnostic(entry.id).kind);
    for (const lintaro::Diag id : options.silenced)
      require(entry.id != id);
  }
  const std::vector<std::size_t> order = result.reportOrder();
  require(order.size() == result.journal.size());
  std::vector<bool> seen(order.size(), false);
  for (std::size_t k = 0; k < order.size(); ++k) {
    require(order[k] < order.size() && !seen[order[k]]);
    seen[order[k]] = true;
    if (k == 0) continue;
    const std::int32_t before = result.journal[order[k - 1]].line;
    const std::int32_t here = result.journal[order[k]].line;
    require(here == lintaro::kWholeScript || (before != lintaro::kWholeScript && before <= here));
  }
  const std::string report = lintaro::cp1252ToUtf8(lintaro::reportText(result, options));
  require(report.starts_with(kTitle) && lintaro::isValidUtf8(report));
  return 0;
}
