#include "analysis/MainSyntaxe.h"

#include <algorithm>

#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/MainDivers.h"

namespace lintaro {

namespace {

constexpr Cp1252Text kTabulation{" : alerte, "};
constexpr Cp1252Text kTabulations{" tabulations ont été detectées"};
constexpr Cp1252Text kTabulationUne{" tabulation a été detectée"};
constexpr Cp1252Text kApresPremier{" après le premier caractère (risques de plantage in-game)."};
constexpr Cp1252Text kPremierCaractere{"    - Le premier caractère de \""};
constexpr Cp1252Text kEstUnderscore{"\" est un underscore, risques de bugs in-game."};

constexpr Cp1252Text kGuillemet{" : un guillemet n'a pas été refermé."};
constexpr Cp1252Text kSansEspaceAvant{" : une parenthèse sans espace avant."};
constexpr Cp1252Text kSansEspaceApres{" : une parenthèse sans espace après."};
constexpr Cp1252Text kDeuxPoints{" : "};
constexpr Cp1252Text kParentheseNonRefermee{" parenthèse n'a pas été refermée."};
constexpr Cp1252Text kParenthesesNonRefermees{" parenthèses n'ont pas été refermées."};
constexpr Cp1252Text kPlusieursNoms{" : vous avez déclaré plusieurs fois le nom du script !"};
constexpr Cp1252Text kDeclarationsApresCode{
    " : vous avez déclaré des variables après des lignes de code !"};
constexpr Cp1252Text kCodeApresEnd{
    " : vous avez entré des lignes de code après la balise \"End\" !"};
constexpr Cp1252Text kCodeAvantEnTete{
    " : vous avez entré des lignes de code avant l'en-tête \"Begin NOM\" !"};
constexpr Cp1252Text kSyntaxeInconnue{" : impossible de détecter la syntaxe !"};

// Quotes, parentheses and spacing; sets *lineHandled when the line is faulty
// or holds only white space.
void lexicalChecks(const std::string& line, int lineIndex, DiagnosticSink& journal, int* lineHandled) {
  const auto report = [&](std::int32_t kind, const auto&... pieces) {
    journal.finding(lineIndex, kind, kSyntaxeJournalFailure, pieces...);
    *lineHandled = 1;
  };
  if (std::count(line.begin(), line.end(), '"') % 2 != 0) report(kError, kGuillemet);

  int depth = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c != '(' && c != ')') continue;
    if (i > 0 && line[i - 1] != ' ') report(kAlert, kSansEspaceAvant);
    if (i + 1 < line.size() && !isWhite(line[i + 1])) report(kAlert, kSansEspaceApres);
    depth += c == '(' ? 1 : -1;
  }
  if (depth == 1) report(kError, kDeuxPoints, int2str(depth), kParentheseNonRefermee);
  if (depth > 1) report(kError, kDeuxPoints, int2str(depth), kParenthesesNonRefermees);

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
  if (handled == 0) ctx.lineCheckers->identifier(ctx, "Begin", code::NOM_DU_SCRIPT, line, &handled, lineIndex);
  if (beforeHeader == 0 && handled == 1) {
    if (state.headerSeen) {
      journal.finding(lineIndex, kError, kSyntaxeJournalFailure, kPlusieursNoms);
    } else {
      state.headerSeen = true;
    }
  }

  const int beforeDeclaration = handled;
  if (handled == 0) ctx.lineCheckers->identifier(ctx, "Short", code::SHORT, line, &handled, lineIndex);
  if (handled == 0) ctx.lineCheckers->identifier(ctx, "Float", code::FLOAT, line, &handled, lineIndex);
  if (handled == 0) ctx.lineCheckers->identifier(ctx, "Long", code::LONG, line, &handled, lineIndex);
  if (beforeDeclaration == 0 && handled == 1 && state.codeSeen) {
    journal.finding(lineIndex, kError, kSyntaxeJournalFailure, kDeclarationsApresCode);
  }

  const int beforeCommands = handled;
  int beforeEndCheck = handled;
  if (handled == 0 && ctx.lineCheckers->commandChain(ctx, line, &handled, lineIndex)) {
    state.endSeen = true;
    beforeEndCheck = 1;
  }

  if (beforeEndCheck == 0 && handled == 1 && state.endSeen) {
    journal.finding(lineIndex, kError, kSyntaxeJournalFailure, kCodeApresEnd);
  }
  if (beforeCommands == 0 && handled == 1) state.codeSeen = true;
  if (beforeCommands == 0 && handled == 1 && !state.headerSeen) {
    journal.finding(lineIndex, kError, kSyntaxeJournalFailure, kCodeAvantEnTete);
  }
  if (handled == 0) journal.finding(lineIndex, kError, kSyntaxeJournalFailure, kSyntaxeInconnue);
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
    journal.finding(lineIndex, kAlert, journalFailure<"typeScript">, kTabulation, int2str(tabs),
                    tabs > 1 ? kTabulations.view() : kTabulationUne.view(), kApresPremier);
  }
}

void synDetectUnderscore(DiagnosticSink& journal, const InfoStore& info) {
  for (const INFO& record : info.records()) {
    if (record.name.starts_with('_')) {
      std::string text(kPremierCaractere.view());
      text += record.name;
      text += kEstUnderscore.view();
      journal.append(kWholeScript, text, kAlert, kSyntaxeJournalFailure);
    }
  }
}

}  // namespace lintaro
