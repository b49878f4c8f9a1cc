#include "formatter/MainMiseEnForme.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "analysis/DetectTest.h"
#include "core/Encoding.h"
#include "core/Files.h"
#include "core/MainDivers.h"
#include "core/ScriptInput.h"
#include "core/ScriptText.h"
#include "core/WorkFiles.h"

namespace lintaro {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The six keyword tables, in the order the detector fills them.
struct BlockFlags {
  KeywordFlags ifs, endifs, whiles, endwhiles, elses, elseifs;
};

BlockFlags detectBlocks(const ScriptText& script) {
  BlockFlags f;
  const int count = script.lineCount();
  strDetectTest(f.ifs, count, script, "if");
  strDetectTest(f.endifs, count, script, "endif");
  strDetectTest(f.whiles, count, script, "while");
  strDetectTest(f.endwhiles, count, script, "endwhile");
  strDetectTest(f.elses, count, script, "else");
  strDetectTest(f.elseifs, count, script, "elseif");
  return f;
}

// An opener/closer pair is balanced when the running balance never falls
// below 0 from line 1 on (line 0 is not examined) and no opener is left open.
bool balanced(const KeywordFlags& openers, const KeywordFlags& closers, int lines) {
  int cum = openers[0] - closers[0];
  for (int i = 1; i < lines; ++i) {
    const auto k = static_cast<std::size_t>(i);
    cum += openers[k] - closers[k];
    if (cum < 0) return false;
  }
  return cum <= 0;
}

// Every line flagged in `marks` must lie inside an open "if": walking up from
// the line and counting endif as +1 and if as -1, the count must fall below 0
// somewhere. With P(k) the if/endif balance of lines 0 to k (P(-1) = 0), the
// count at line j is P(j-1) - P(i), so the walk falls below 0 exactly when
// some P(m), m from -1 to i-1, is below P(i).
bool insideOpenIf(const BlockFlags& f, const KeywordFlags& marks, int lines) {
  int prefix = 0;  // P(i - 1)
  int lowest = 0;  // the least of P(-1) .. P(i - 1)
  for (int i = 0; i < lines; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const int here = prefix + f.ifs[k] - f.endifs[k];
    if (marks[k] != 0 && !(lowest < here)) return false;
    prefix = here;
    if (prefix < lowest) lowest = prefix;
  }
  return true;
}

bool chainedProperly(const BlockFlags& f, int lines) {
  return balanced(f.ifs, f.endifs, lines) && insideOpenIf(f, f.elses, lines) &&
         insideOpenIf(f, f.elseifs, lines) && balanced(f.whiles, f.endwhiles, lines);
}

// Tabs in front of each line: an opener indents the lines after it, a closer
// stands at the outer depth, else and elseif one tab out. Nothing when a line
// would get a negative depth.
std::optional<std::vector<int>> indentation(const BlockFlags& f, int lines) {
  std::vector<int> indent(static_cast<std::size_t>(lines), 0);
  for (int i = 1; i < lines; ++i) {
    const auto k = static_cast<std::size_t>(i);
    indent[k] = indent[k - 1] + f.ifs[k - 1] + f.whiles[k - 1] - f.endifs[k] - f.endwhiles[k];
  }
  for (std::size_t k = 0; k < indent.size(); ++k) {
    if (f.elses[k] != 0 || f.elseifs[k] != 0) --indent[k];
    if (indent[k] < 0) return std::nullopt;
  }
  return indent;
}

// The bytes next to a parenthesis that spare it an added blank.
constexpr bool spacesParen(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// The bytes that end a run of plain text in a line.
constexpr std::array<bool, 256> kLineSpecial = [] {
  std::array<bool, 256> table{};
  for (const char c : {'\n', '"', ';', '(', ')'})
    table[static_cast<unsigned char>(c)] = true;
  return table;
}();

// Rewrites the text (line feeds only) with its new indentation; each line
// feed is written as `eol`.
std::string rewrite(std::string_view text, const std::vector<int>& indent, std::string_view eol) {
  std::string out;
  out.reserve(text.size() + text.size() / 4 + 16);
  const std::size_t n = text.size();
  std::size_t p = 0;
  std::size_t line = 0;
  bool lineHasText = false;  // the current line was copied by the step below
  while (p < n) {
    // Leading white space goes; each line feed is kept, and one that ends a
    // line holding only blanks (the first line included) counts that line.
    while (p < n && isWhite(text[p])) {
      if (text[p] == '\n') {
        out.append(eol);
        if (!lineHasText) ++line;
        lineHasText = false;
      }
      ++p;
    }
    if (line < indent.size()) out.append(static_cast<std::size_t>(indent[line]), '\t');
    // The rest of the line, with a blank on each side of every parenthesis
    // outside double-quoted text and comments.
    bool quoted = false;
    while (p < n && text[p] != '\n') {
      // Plain bytes are copied by runs.
      std::size_t run = p;
      while (run < n && !kLineSpecial[static_cast<unsigned char>(text[run])])
        ++run;
      out.append(text.substr(p, run - p));
      p = run;
      if (p == n || text[p] == '\n') break;
      const char c = text[p];
      if (c == ';' && !quoted) {  // a comment: the rest of the line as it is
        const std::size_t end = std::min(text.find('\n', p), n);
        out.append(text.substr(p, end - p));
        p = end;
        break;
      }
      if (c == '"') {
        quoted = !quoted;
      } else if ((c == '(' || c == ')') && !quoted) {
        if (p > 0 && !spacesParen(text[p - 1])) out.push_back(' ');
        out.push_back(c);
        if (p + 1 < n && !spacesParen(text[p + 1])) out.push_back(' ');
        ++p;
        continue;
      }
      out.push_back(c);
      ++p;
    }
    ++line;
    lineHasText = true;
  }
  return out;
}

// The line end that the file uses first; a line feed when it has none.
std::string_view firstLineEnd(std::string_view bytes) {
  const std::size_t end = bytes.find_first_of("\r\n");
  if (end == std::string_view::npos || bytes[end] == '\n') return "\n";
  if (end + 1 < bytes.size() && bytes[end + 1] == '\n') return "\r\n";
  return "\r";
}

}  // namespace

int formatScriptText(std::string_view bytes, std::string& formatted) {
  formatted.clear();
  const bool bom = bytes.starts_with(kUtf8Bom);
  if (bom) bytes.remove_prefix(kUtf8Bom.size());
  const std::string_view eol = firstLineEnd(bytes);
  const ScriptText script(normalizeLineEnds(bytes));
  const int lines = script.lineCount();
  if (lines > kMaxLines) return kFormatTooManyLines;

  const BlockFlags flags = detectBlocks(script);
  if (!chainedProperly(flags, lines)) return kFormatBadChain;
  const std::optional<std::vector<int>> indent = indentation(flags, lines);
  if (!indent) return kFormatBadChain;

  if (bom) formatted.append(kUtf8Bom);
  formatted.append(rewrite(script.text(), *indent, eol));
  return kFormatRewritten;
}

int mainMEF(const std::string& path) {
  // A link is followed: the file it names is formatted, the link stays.
  fs::path target = pathFromUtf8(path);
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    target = fs::canonical(target, ec);
    if (ec) return kFormatUnreadable;
  }
  // Only a regular file can be replaced by another: a device or a pipe is
  // never turned into one, nor read (it may never end).
  const fs::file_status status = fs::status(target, ec);
  if (ec || fs::is_directory(status)) return kFormatUnreadable;
  if (!fs::is_regular_file(status)) return kFormatUnwritable;
  const ScriptInput input = readScriptInput(utf8FromPath(target));
  if (input.status == InputStatus::kTooLarge) return kFormatTooLarge;
  if (input.status != InputStatus::kRead) return kFormatUnreadable;
  std::string formatted;
  const int result = formatScriptText(input.bytes, formatted);
  if (result != kFormatRewritten) return result;
  // A file the user may not write is not replaced behind its back, even where
  // the directory would allow the rename.
  if (!isWritableFile(target)) return kFormatUnwritable;
  if (!replaceFileContents(target, formatted)) return kFormatUnwritable;
  return kFormatRewritten;
}

std::string formatResultMessage(int result, std::string_view name) {
  const std::string file(name);
  switch (result) {
    case kFormatRewritten:
      return "Le fichier \"" + file + "\" a été mis en forme.";
    case kFormatBadChain:
      return "Erreur dans l'enchainement des tests logiques.";
    case kFormatUnreadable:
      return "Impossible de trouver le fichier \"" + file + "\" !";
    case kFormatTooManyLines:
      return "Trop de lignes, impossible de faire la mise en forme.";
    case kFormatUnwritable:
      return "Impossible d'écrire le fichier \"" + file + "\" ! Il n'a pas été modifié.";
    case kFormatTooLarge:
      return inputFailureMessage(InputStatus::kTooLarge, file);
    default:
      return "Erreur inattendue (code " + std::to_string(result) + ").";
  }
}

}  // namespace lintaro
