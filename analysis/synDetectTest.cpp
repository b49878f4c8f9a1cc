#include "analysis/synDetectTest.h"

#include "analysis/MainLogique.h"
#include "core/Journal.h"
#include "core/MainDivers.h"

namespace lintaro {

void synDetectTEST(CheckContext& ctx, std::string_view keyword, std::string& line, int* lineHandled,
                   int lineIndex) {
  foldLower(line);
  std::size_t p = 0;
  while (p < line.size() && isBlank(line[p]))
    ++p;
  // The keyword and one blank: "if " does not match an "elseif" line.
  const std::string head = lowered(keyword) + ' ';
  if (line.compare(p, head.size(), head) != 0) return;
  *lineHandled = 1;
  p += head.size();
  while (p < line.size() && isWhite(line[p]))
    ++p;
  if (p == line.size()) {
    ctx.journal.report(lineIndex, Diag::kTestSansValeur, journalFailure<"synDetectTEST">, keyword);
    return;
  }
  logique(ctx, keyword, std::string_view(line).substr(p), lineIndex);
}

}  // namespace lintaro
