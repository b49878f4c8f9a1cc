#include "run/Check.h"

#include <algorithm>

#include "analysis/DetectVar.h"
#include "analysis/MainEnchaineTests.h"
#include "analysis/MainSyntaxe.h"
#include "commands/MainSyntaxeChain.h"
#include "core/CheckContext.h"
#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "report/MainEcritureLog.h"
#include "signatures/strFonctionsGeneral.h"

namespace lintaro {

namespace {

void identifierChecker(CheckContext& ctx, std::string_view name, int type, std::string& line,
                       int* lineHandled, int lineIndex) {
  strFoncID(ctx, name, type, line, lineHandled, lineIndex);
}

constexpr LineCheckers kLineCheckers{identifierChecker, runCommandChain, runEntry};

constexpr std::string_view kDirectiveFailure = journalFailure<"lintaro">;

// Where the comment of a line starts: the first ";" preceded by an even
// number of double quotes.
std::size_t commentStart(std::string_view line) {
  int quotes = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') ++quotes;
    if (line[i] == ';' && quotes % 2 == 0) return i;
  }
  return std::string_view::npos;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isWhite(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isWhite(text.back()))
    text.remove_suffix(1);
  return text;
}

// "lintaro: ignorer A, B" after the semicolon: the list of codes, or nothing.
std::optional<std::string_view> directiveCodes(std::string_view comment) {
  comment = trimmed(comment);
  constexpr std::string_view kHead = "lintaro:";
  constexpr std::string_view kVerb = "ignorer";
  if (comment.size() < kHead.size() || lowered(comment.substr(0, kHead.size())) != kHead) {
    return std::nullopt;
  }
  comment = trimmed(comment.substr(kHead.size()));
  if (comment.size() < kVerb.size() || lowered(comment.substr(0, kVerb.size())) != kVerb) {
    return std::nullopt;
  }
  comment.remove_prefix(kVerb.size());
  if (!comment.empty() && !isWhite(comment.front())) return std::nullopt;
  return trimmed(comment);
}

// True when "lintaro:" stands somewhere in the text, in any case: most
// scripts have no directive and are passed over in one scan.
bool mentionsDirective(std::string_view text) {
  constexpr std::string_view kWord = "lintaro:";
  if (text.size() < kWord.size()) return false;
  const std::size_t last = text.size() - kWord.size();
  for (std::size_t i = 0; i <= last; ++i) {
    if (foldChar(text[i]) != 'l') continue;
    std::size_t k = 1;
    while (k < kWord.size() && foldChar(text[i + k]) == kWord[k])
      ++k;
    if (k == kWord.size()) return true;
  }
  return false;
}

bool isHeaderLine(std::string_view line) {
  line = trimmed(line);
  constexpr std::string_view kBegin = "begin";
  return line.size() > kBegin.size() && lowered(line.substr(0, kBegin.size())) == kBegin &&
         isWhite(line[kBegin.size()]);
}

}  // namespace

const LineCheckers& lineCheckers() {
  return kLineCheckers;
}

void readDirectives(const ScriptText& script, Suppressions& filter,
                    std::vector<std::pair<int, std::string>>& unknown) {
  if (!mentionsDirective(script.text())) return;
  bool beforeHeader = true;
  for (int i = 0; i < script.lineCount(); ++i) {
    const std::string_view line = script.line(i);
    const std::size_t semicolon = commentStart(line);
    if (beforeHeader &&
        isHeaderLine(semicolon == std::string_view::npos ? line : line.substr(0, semicolon))) {
      beforeHeader = false;
    }
    if (semicolon == std::string_view::npos) continue;
    const std::optional<std::string_view> codes = directiveCodes(line.substr(semicolon + 1));
    if (!codes) continue;
    const bool ownLine = trimmed(line.substr(0, semicolon)).empty();
    std::string_view rest = *codes;
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      const std::string_view code = trimmed(rest.substr(0, comma));
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      if (code.empty()) continue;
      const DiagnosticRow* row = findDiagnostic(code);
      if (row == nullptr) {
        unknown.emplace_back(i, std::string(cut(code, kJournalTextMax)));
      } else if (ownLine && beforeHeader) {
        filter.silence(row->id);
      } else {
        filter.silenceOnLine(i, row->id);
      }
    }
  }
}

int runCheckPasses(const ScriptText& script, Journal& journal, InfoStore& info, bool tribunal,
                   bool bloodmoon) {
  for (const std::string_view keyword : {"short", "float", "long"}) {
    const int scan = strDetectVar(script, info, keyword);
    if (scan != kDetectVarDone) return scan;
  }
  if (checkTest(script.lineCount() + 1, script, journal) != kCheckTestDone) {
    return kCheckTestJournalUnopenable;
  }
  CheckContext ctx{journal, info, tribunal ? 1 : 0, bloodmoon ? 1 : 0, &kLineCheckers};
  syntaxe(script.lineCount(), script, ctx);
  synDetectUnderscore(journal, info);
  return 0;
}

std::optional<std::string> CheckResult::scriptName() const {
  const std::string* name = nullptr;
  for (const INFO& record : info.records()) {
    if (record.type == code::NOM_DU_SCRIPT) name = &record.name;
  }
  if (name == nullptr) return std::nullopt;
  return *name;
}

std::vector<std::size_t> CheckResult::reportOrder() const {
  std::vector<std::size_t> order(journal.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const auto key = [](std::int32_t line) {
      return line == kWholeScript ? std::int64_t{1} << 40 : std::int64_t{line};
    };
    return key(journal[a].line) < key(journal[b].line);
  });
  return order;
}

int runCheck(const ScriptText& script, const CheckOptions& options, Journal& journal,
             InfoStore& info) {
  Suppressions filter;
  for (const Diag id : options.silenced)
    filter.silence(id);
  std::vector<std::pair<int, std::string>> unknown;
  if (options.directives) readDirectives(script, filter, unknown);
  journal.setSuppressions(filter.empty() ? nullptr : &filter);
  const int failed = runCheckPasses(script, journal, info, options.tribunal, options.bloodmoon);
  if (failed == 0) {
    for (const auto& [line, code] : unknown)
      journal.report(line, Diag::kDirectiveCodeInconnu, kDirectiveFailure, code);
  }
  journal.setSuppressions(nullptr);
  return failed;
}

CheckResult checkScript(const ScriptText& script, const CheckOptions& options) {
  CheckResult result;
  result.lineCount = script.lineCount();
  if (result.lineCount > kMaxLines) {
    result.status = CheckStatus::kTooManyLines;
    return result;
  }
  runCheck(script, options, result.journal, result.info);
  for (std::size_t i = 0; i < result.journal.size(); ++i) {
    if (result.journal[i].kind == kAlert) {
      ++result.alerts;
    } else {
      ++result.errors;
    }
  }
  return result;
}

CheckResult check(std::string_view bytes, const CheckOptions& options) {
  return checkScript(ScriptText(decodeScriptBytes(bytes)), options);
}

std::string reportText(const CheckResult& result, const CheckOptions& options,
                       std::vector<NameRun>* names) {
  return composeReport(result.lineCount, options.showInfo, options.hideAlerts, result.journal,
                       result.info, nullptr, names);
}

}  // namespace lintaro
