#include "console/FormatPipe.h"

#include <algorithm>
#include <dtl/dtl.hpp>
#include <istream>
#include <ostream>

#include "core/ScriptInput.h"
#include "formatter/MainMiseEnForme.h"

namespace lintaro {

namespace {

// A script read within the limit and formatted.
struct Formatting {
  bool read = false;
  int result = kFormatUnreadable;  // a result of formatScriptText when read
  std::string before;
  std::string after;
  std::string message;  // when not kFormatRewritten: the French message and a line feed
};

Formatting formatInput(const std::string& name, std::istream& in) {
  Formatting f;
  ScriptInput input = name == "-" ? readScriptStream(in) : readScriptInput(name);
  if (input.status != InputStatus::kRead) {
    f.message =
        (input.status == InputStatus::kTooLarge ? inputFailureMessage(input.status, name)
                                                : formatResultMessage(kFormatUnreadable, name)) +
        '\n';
    return f;
  }
  f.read = true;
  f.before = std::move(input.bytes);
  f.result = formatScriptText(f.before, f.after);
  // These two messages do not name the file.
  if (f.result != kFormatRewritten)
    f.message = name + " : " + formatResultMessage(f.result, name) + '\n';
  return f;
}

int statusOf(const Formatting& f) {
  if (f.result == kFormatRewritten) return 0;
  return f.result == kFormatBadChain ? 1 : 2;
}

// The lines of a text as diff and patch see them: each with its line feed,
// the last one without when the text does not end with one.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return lines;
}

// "@@ -START,COUNT": a count of 1 is left out; an empty range starts at the
// line before it.
std::string range(std::size_t first, std::size_t count) {
  const std::size_t start = count == 0 ? first : first + 1;
  return count == 1 ? std::to_string(start) : std::to_string(start) + "," + std::to_string(count);
}

// A file name as diff writes it in a header: between double quotes, with C
// escapes and octal bytes, when it holds a blank, a quote, a backslash, a
// control or a non-ASCII byte (patch reads it back).
std::string headerName(std::string_view name) {
  const auto plain = [](unsigned char c) { return c > 0x20 && c < 0x7F && c != '"' && c != '\\'; };
  if (std::all_of(name.begin(), name.end(),
                  [&](char c) { return plain(static_cast<unsigned char>(c)); }))
    return std::string(name);
  std::string out = "\"";
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (plain(c) || c == ' ') {
      out.push_back(ch);
    } else if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(ch);
    } else {
      out.push_back('\\');
      out.push_back(static_cast<char>('0' + (c >> 6)));
      out.push_back(static_cast<char>('0' + ((c >> 3) & 7)));
      out.push_back(static_cast<char>('0' + (c & 7)));
    }
  }
  out.push_back('"');
  return out;
}

struct Edit {
  char mark;  // ' ', '-' or '+'
  std::string_view line;
};

void appendLine(std::string& out, char mark, std::string_view line) {
  out.push_back(mark);
  out.append(line);
  if (line.empty() || line.back() != '\n') out.append("\n\\ No newline at end of file\n");
}

}  // namespace

std::string unifiedDiff(std::string_view name, std::string_view before, std::string_view after) {
  constexpr std::size_t kContext = 3;
  const std::vector<std::string_view> a = linesOf(before);
  const std::vector<std::string_view> b = linesOf(after);
  dtl::Diff<std::string_view, std::vector<std::string_view>> diff(a, b);
  diff.compose();
  std::vector<Edit> edits;
  for (const auto& [line, info] : diff.getSes().getSequence()) {
    edits.push_back({info.type == dtl::SES_COMMON   ? ' '
                     : info.type == dtl::SES_DELETE ? '-'
                                                    : '+',
                     line});
  }

  std::string out;
  std::size_t i = 0;
  std::size_t lineA = 0;  // lines of `before` and `after` before edits[i]
  std::size_t lineB = 0;
  while (i < edits.size()) {
    // The next change, and the hunk around it: context before, then changes
    // until more than twice the context separates two of them.
    std::size_t change = i;
    while (change < edits.size() && edits[change].mark == ' ')
      ++change;
    if (change == edits.size()) break;
    const std::size_t skip = change - i > kContext ? change - i - kContext : 0;
    const std::size_t first = i + skip;
    lineA += skip;
    lineB += skip;
    std::size_t last = change;  // one past the last change of the hunk
    std::size_t k = change;
    while (k < edits.size()) {
      if (edits[k].mark != ' ') {
        last = ++k;
        continue;
      }
      std::size_t common = k;
      while (common < edits.size() && edits[common].mark == ' ')
        ++common;
      if (common == edits.size() || common - k > 2 * kContext) break;
      k = common;
    }
    const std::size_t end = std::min(edits.size(), last + kContext);
    std::size_t countA = 0;
    std::size_t countB = 0;
    for (std::size_t e = first; e < end; ++e) {
      if (edits[e].mark != '+') ++countA;
      if (edits[e].mark != '-') ++countB;
    }
    if (out.empty()) {
      const std::string header = headerName(name);
      out += "--- " + header + "\n+++ " + header + "\n";
    }
    out += "@@ -" + range(lineA, countA) + " +" + range(lineB, countB) + " @@\n";
    for (std::size_t e = first; e < end; ++e)
      appendLine(out, edits[e].mark, edits[e].line);
    lineA += countA;
    lineB += countB;
    i = end;
  }
  return out;
}

int formatStream(std::istream& in, std::ostream& out, std::ostream& err) {
  const Formatting f = formatInput("-", in);
  out << (f.result == kFormatRewritten ? f.after : f.before);
  err << f.message;
  out.flush();
  return f.read ? statusOf(f) : 2;
}

int checkFormatting(const std::vector<std::string>& files, std::istream& in, std::ostream& out,
                    std::ostream& err) {
  int status = 0;
  for (const std::string& file : files) {
    const Formatting f = formatInput(file, in);
    if (f.result != kFormatRewritten) {
      err << f.message;
      status = 2;
    } else if (f.after != f.before) {
      out << file << '\n';
      status = std::max(status, 1);
    }
  }
  out.flush();
  return status;
}

int formatDiffs(const std::vector<std::string>& files, std::istream& in, std::ostream& out,
                std::ostream& err) {
  int status = 0;
  for (const std::string& file : files) {
    const Formatting f = formatInput(file, in);
    err << f.message;
    status = std::max(status, f.read ? statusOf(f) : 2);
    if (f.result == kFormatRewritten) out << unifiedDiff(file, f.before, f.after);
  }
  out.flush();
  return status;
}

}  // namespace lintaro
