#include "analysis/MainSyntaxe.h"

#include <algorithm>

#include "core/Journal.h"
#include "core/MainDivers.h"

namespace lintaro {

namespace {

// Quotes, parentheses and spacing; sets *lineHandled when the line is faulty
// or holds only white space.
void lexicalChecks(const std::string& line, int lineIndex, DiagnosticSink& journal,
                   int* lineHandled) {
  const auto report = [&](Diag id, const auto&... values) {
    journal.report(lineIndex, id, kSyntaxeJournalFailure, values...);
    *lineHandled = 1;
  };
  if (std::count(line.begin(), line.end(), '"') % 2 != 0) report(Diag::kGuillemetNonReferme);

  int depth = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c != '(' && c != ')') continue;
    if (i > 0 && line[i - 1] != ' ') report(Diag::kParentheseSansEspaceAvant);
    if (i + 1 < line.size() && !isWhite(line[i + 1])) report(Diag::kParentheseSansEspaceApres);
    depth += c == '(' ? 1 : -1;
  }
  if (depth == 1) report(Diag::kParentheseNonRefermee);
  if (depth > 1) report(Diag::kParenthesesNonRefermees, int2str(depth));

  if (*lineHandled == 0 && std::all_of(line.begin(), line.end(), isWhite)) *lineHandled = 1;
}

// Facts kept from one line to the next.
struct RunState {
  bool headerSeen = false;
  bool codeSeen = false;
  bool endSeen = false;
};

void analyseLine(std::string& line, int lineIndex, CheckContext& ctx, RunState& state) {
  DiagnosticSink& journal = ctx.journal;
  int handled = 0;
  lexicalChecks(line, lineIndex, journal, &handled);
  synDetectBadTab(line, lineIndex, journal);

  const int beforeHeader = handled;
  if (handled == 0)
    ctx.lineCheckers->identifier(ctx, "Begin", code::NOM_DU_SCRIPT, line, &handled, lineIndex);
  if (beforeHeader == 0 && handled == 1) {
    if (state.headerSeen) {
      journal.report(lineIndex, Diag::kNomDeScriptRepete, kSyntaxeJournalFailure);
    } else {
      state.headerSeen = true;
    }
  }

  const int beforeDeclaration = handled;
  if (handled == 0)
    ctx.lineCheckers->identifier(ctx, "Short", code::SHORT, line, &handled, lineIndex);
  if (handled == 0)
    ctx.lineCheckers->identifier(ctx, "Float", code::FLOAT, line, &handled, lineIndex);
  if (handled == 0)
    ctx.lineCheckers->identifier(ctx, "Long", code::LONG, line, &handled, lineIndex);
  if (beforeDeclaration == 0 && handled == 1 && state.codeSeen) {
    journal.report(lineIndex, Diag::kDeclarationApresCode, kSyntaxeJournalFailure);
  }

  const int beforeCommands = handled;
  int beforeEndCheck = handled;
  if (handled == 0 && ctx.lineCheckers->commandChain(ctx, line, &handled, lineIndex)) {
    state.endSeen = true;
    beforeEndCheck = 1;
  }

  if (beforeEndCheck == 0 && handled == 1 && state.endSeen) {
    journal.report(lineIndex, Diag::kCodeApresEnd, kSyntaxeJournalFailure);
  }
  if (beforeCommands == 0 && handled == 1) state.codeSeen = true;
  if (beforeCommands == 0 && handled == 1 && !state.headerSeen) {
    journal.report(lineIndex, Diag::kCodeAvantBegin, kSyntaxeJournalFailure);
  }
  if (handled == 0) journal.report(lineIndex, Diag::kSyntaxeInconnue, kSyntaxeJournalFailure);
}

}  // namespace

std::string lineContent(std::string_view physicalLine) {
  std::size_t end = 0;
  int quotes = 0;
  while (end < physicalLine.size() && physicalLine[end] != '\0') {
    const char c = physicalLine[end];
    if (c == ';' && quotes % 2 == 0) break;
    if (c == '"') ++quotes;
    ++end;
  }
  return std::string(cut(physicalLine.substr(0, end), kLineContentMax));
}

void syntaxe(int lineCount, const ScriptText& script, CheckContext& ctx) {
  RunState state;
  for (int i = 0; i <= lineCount; ++i) {
    std::string line = lineContent(script.line(i));
    analyseLine(line, i, ctx, state);
  }
}

void synDetectBadTab(std::string& line, int lineIndex, DiagnosticSink& journal) {
  foldLower(line);
  std::size_t p = 0;
  while (p < line.size() && isBlank(line[p]))
    ++p;
  int tabs = 0;
  for (; p < line.size(); ++p) {
    if (line[p] == '\t') ++tabs;
  }
  if (tabs >= 1) {
    if (tabs == 1) {
      journal.report(lineIndex, Diag::kTabulation, journalFailure<"typeScript">);
    } else {
      journal.report(lineIndex, Diag::kTabulations, journalFailure<"typeScript">, int2str(tabs));
    }
  }
}

void synDetectUnderscore(DiagnosticSink& journal, const InfoStore& info) {
  for (const INFO& record : info.records()) {
    if (record.name.starts_with('_')) {
      journal.reportScript(Diag::kNomCommencantParUnderscore, kSyntaxeJournalFailure, record.name);
    }
  }
}

}  // namespace lintaro
