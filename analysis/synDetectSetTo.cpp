#include "analysis/synDetectSetTo.h"

#include "expression/MainExpression.h"
#include "core/Journal.h"
#include "core/MainDivers.h"
#include "core/MainTriInfo.h"

namespace lintaro {

namespace {

constexpr std::string_view kFailure = journalFailure<"synDetectSetTo">;
// Longest target name.
constexpr std::size_t kNameMax = 49;

struct Target {
  std::string name;
  std::size_t end = 0;  // where the reading stopped
};

// The object or plain name: up to " to ", 49 characters, white space outside
// quotes, a "." (also inside quotes) or the second double quote. Quotes are
// not taken; the characters between them, blanks included, are. The quote
// that closes a name of 49 characters still belongs to it.
Target readTarget(std::string_view line, std::size_t pos, std::size_t to) {
  Target t;
  int quotes = 0;
  while (pos < to) {
    const char c = line[pos];
    if (c == '.' || (isWhite(c) && quotes != 1)) break;
    if (c == '"') {
      ++pos;
      if (++quotes == 2) break;
      continue;
    }
    if (t.name.size() == kNameMax) break;
    t.name += c;
    ++pos;
  }
  t.end = pos;
  return t;
}

// The variable of an external target: ends at white space or a "."; quotes
// are ordinary characters.
Target readVariable(std::string_view line, std::size_t pos, std::size_t to) {
  Target t;
  while (pos < to && t.name.size() < kNameMax && line[pos] != '.' && !isWhite(line[pos]))
    t.name += line[pos++];
  t.end = pos;
  return t;
}

}  // namespace

void synDetectSetTo(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  foldLower(line);
  std::size_t p = 0;
  while (p < line.size() && isBlank(line[p]))
    ++p;
  // "setangle" and the other commands that begin with "set" lack the blank.
  if (line.compare(p, 4, "set ") != 0) return;
  *lineHandled = 1;
  p += 4;

  DiagnosticSink& journal = ctx.journal;
  bool reported = false;
  std::size_t to = line.find(" to ", p);
  const bool toFound = to != std::string::npos;
  if (!toFound) {
    journal.report(lineIndex, Diag::kSansTo, kFailure);
    reported = true;
    to = line.size();
  }

  while (p < to && isWhite(line[p]))
    ++p;
  const Target object = readTarget(line, p, to);
  const bool external = object.end < to && line[object.end] == '.';
  Target variable;
  if (external) variable = readVariable(line, object.end + 1, to);
  const std::size_t targetEnd = external ? variable.end : object.end;

  if (object.name.empty()) {
    journal.report(lineIndex, Diag::kSansVariable, kFailure);
    reported = true;
  }
  if (external && variable.name.empty()) {
    journal.report(lineIndex, Diag::kSansVariableLocale, kFailure, object.name);
    reported = true;
  }
  if (reported) return;

  if (external) {
    ctx.info.triInfo(INFO{code::OBJET, object.name});
    ctx.info.triInfo(INFO{code::EXTERNE, variable.name});
    ctx.info.triInfoLocal(VAR_LOCALE{variable.name, object.name});
  } else {
    ctx.info.triInfo(INFO{code::GLOBALE, object.name});
  }
  for (std::size_t i = targetEnd; i < to; ++i) {
    if (!isWhite(line[i])) {
      journal.report(lineIndex, Diag::kVariableAModifier, kFailure);
      return;
    }
  }

  if (expression(ctx, std::string_view(line).substr(to + 4), lineIndex) == 0) {
    journal.report(lineIndex, Diag::kExpressionApresTo, kFailure);
  }
}

}  // namespace lintaro
