// Fuzz target: the formatter on arbitrary script bytes (formatScriptText, the
// whole of mainMEF but the file replacement).
//
// Besides the sanitizers, it checks what holds for every input:
// - the result is 1, 0 (nothing produced) or 3 (and then the text has more
//   than 5000 lines);
// - a formatted text keeps its byte-order mark, uses one kind of line end
//   (the input's first), has as many lines as the input, and each of its lines
//   is the input's line once the leading white space and the blanks touching
//   a parenthesis are dropped from both: no other byte is lost, added or moved;
// - formatting the result again changes nothing, except in two corners of
//   the rules: a parenthesis right after a vertical tab or a form feed at the
//   start of a line gets a blank that the next formatting takes for
//   indentation; and a line beginning with a block keyword glued to ")" (as in
//   "if)") is no block line, but gets a blank before the ")" and is one the
//   next time. A third corner comes from the byte-order mark: blanks before
//   the bytes of a mark on the first line go, so the result starts with a
//   mark, which the next formatting keeps apart (and strips what follows it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "formatter/MainMiseEnForme.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

void check(bool condition) {
  if (!condition) std::abort();
}

// A line without its leading white space and without the blanks that touch a
// parenthesis.
std::string canonical(std::string_view line) {
  std::size_t p = 0;
  while (p < line.size() && lintaro::isWhite(line[p]))
    ++p;
  line.remove_prefix(p);
  std::string out;
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] != ' ') {
      out.push_back(line[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && line[end] == ' ')
      ++end;
    const bool afterParen = i > 0 && (line[i - 1] == '(' || line[i - 1] == ')');
    const bool beforeParen = end < line.size() && (line[end] == '(' || line[end] == ')');
    if (!afterParen && !beforeParen) out.append(line.substr(i, end - i));
    i = end;
  }
  return out;
}

std::vector<std::string> canonicalLines(std::string_view bytes, bool bom) {
  if (bom) bytes.remove_prefix(kBom.size());
  const std::string text = lintaro::normalizeLineEnds(bytes);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(canonical(std::string_view(text).substr(
        start, end == std::string::npos ? std::string::npos : end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string_view firstLineEnd(std::string_view bytes) {
  const std::size_t end = bytes.find_first_of("\r\n");
  if (end == std::string_view::npos || bytes[end] == '\n') return "\n";
  if (end + 1 < bytes.size() && bytes[end + 1] == '\n') return "\r\n";
  return "\r";
}

// Every line end of `text` is `eol`.
bool onlyLineEnd(std::string_view text, std::string_view eol) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    if (text.substr(i, eol.size()) != eol) return false;
    i += eol.size() - 1;
  }
  return true;
}

// The corners where a second formatting may differ (see above).
bool knownIdempotenceCorner(std::string_view body) {
  if (body.find_first_of("\v\f") != std::string_view::npos) return true;
  const std::string text = lintaro::lowered(lintaro::normalizeLineEnds(body));
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t p = start;
    while (p < text.size() && lintaro::isWhite(text[p]) && text[p] != '\n')
      ++p;
    for (const std::string_view keyword : {"if", "endif", "while", "endwhile", "else", "elseif"}) {
      if (text.compare(p, keyword.size(), keyword) == 0 && p + keyword.size() < text.size() &&
          text[p + keyword.size()] == ')')
        return true;
    }
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string formatted;
  const int result = lintaro::formatScriptText(input, formatted);
  std::string_view body = input;
  if (body.starts_with(kBom)) body.remove_prefix(kBom.size());
  const bool bom = input.starts_with(kBom);
  const std::vector<std::string> before = canonicalLines(input, bom);

  if (result == lintaro::kFormatTooManyLines) {
    check(before.size() > 5000 && formatted.empty());
    return 0;
  }
  check(before.size() <= 5000);
  if (result == lintaro::kFormatBadChain) {
    check(formatted.empty());
    return 0;
  }
  check(result == lintaro::kFormatRewritten);

  if (bom) check(formatted.starts_with(kBom));
  const bool markAfterBlanks = !bom && formatted.starts_with(kBom);
  if (markAfterBlanks) check(before[0].starts_with(kBom));
  check(onlyLineEnd(formatted, firstLineEnd(body)));
  check(canonicalLines(formatted, bom) == before);

  if (!markAfterBlanks && !knownIdempotenceCorner(body)) {
    std::string again;
    check(lintaro::formatScriptText(formatted, again) == lintaro::kFormatRewritten);
    check(again == formatted);
  }
  return 0;
}
