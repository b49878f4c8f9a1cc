#include "plugin/ScriptCheck.h"

#include <algorithm>

#include "core/Encoding.h"
#include "core/Suppressions.h"

namespace lintaro::plugin {

namespace {

constexpr std::string_view kFailure = journalFailure<"checkResultScript">;

bool blank(char c) {
  return c == ' ' || c == '\t';
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

bool declares(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && blank(line[start]))
    ++start;
  std::size_t end = start;
  while (end < line.size() && !blank(line[end]) && line[end] != ';')
    ++end;
  std::string word;
  for (std::size_t i = start; i < end; ++i)
    word += lower(line[i]);
  return word == "short" || word == "long" || word == "float";
}

}  // namespace

std::vector<int> declarationLines(const ScriptText& script) {
  std::vector<int> lines;
  for (int i = 0; i < script.lineCount(); ++i) {
    if (declares(script.line(i))) lines.push_back(i);
  }
  return lines;
}

CheckResult checkPluginScript(std::string_view text, const CheckOptions& options) {
  return checkScript(ScriptText(normalizeLineEnds(text)), options);
}

CheckResult checkResultScript(std::string_view text, const CheckOptions& options) {
  const ScriptText script(normalizeLineEnds(text));
  CheckOptions bodyOptions = options;
  bodyOptions.silenced.push_back(Diag::kCodeAvantBegin);
  CheckResult checked = checkScript(script, bodyOptions);
  if (checked.status != CheckStatus::kChecked) return checked;

  const std::vector<int> declarations = declarationLines(script);
  const auto declaresAt = [&](std::int32_t line) {
    return std::binary_search(declarations.begin(), declarations.end(), line);
  };
  Suppressions filter;
  for (const Diag id : options.silenced)
    filter.silence(id);
  if (options.directives) {
    std::vector<std::pair<int, std::string>> unknown;  // reported by the check already
    readDirectives(script, filter, unknown);
  }

  CheckResult result;
  result.lineCount = checked.lineCount;
  result.info = std::move(checked.info);
  for (std::size_t i = 0; i < checked.journal.size(); ++i) {
    const JournalEntry entry = checked.journal[i];
    if (entry.id == Diag::kDeclarationApresCode && declaresAt(entry.line)) continue;
    result.journal.addNamed(entry.line, entry.id, entry.text, *entry.names, kFailure);
  }
  for (const int line : declarations) {
    if (!filter.silenced(line, Diag::kDeclarationDansResultat)) {
      result.journal.report(line, Diag::kDeclarationDansResultat, kFailure);
    }
  }
  for (std::size_t i = 0; i < result.journal.size(); ++i)
    ++(result.journal[i].kind == kAlert ? result.alerts : result.errors);
  return result;
}

CheckResult checkEntry(const ScriptEntry& entry, const CheckOptions& options) {
  return entry.kind == ScriptKind::kResult ? checkResultScript(entry.text, options)
                                           : checkPluginScript(entry.text, options);
}

}  // namespace lintaro::plugin
