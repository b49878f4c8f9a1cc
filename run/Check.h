// A check in memory: a function of a script's bytes and typed options that
// returns its findings and names. It writes no file, takes no lock and keeps
// no state between calls, so checks may run at once in several threads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CheckContext.h"
#include "core/Diagnostics.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/ScriptText.h"
#include "core/Suppressions.h"

namespace lintaro {

struct CheckOptions {
  bool tribunal = false;       // the mod may use Tribunal's commands
  bool bloodmoon = false;      // the mod may use Bloodmoon's commands
  bool showInfo = true;        // the report lists the names
  bool hideAlerts = false;     // the report leaves the alerts out
  std::vector<Diag> silenced;  // codes never reported
  bool directives = true;      // "; lintaro: ignorer CODE" comments are obeyed
};

enum class CheckStatus {
  kChecked,
  kTooManyLines,  // more than 5000 lines: nothing was checked
};

struct CheckResult {
  CheckStatus status = CheckStatus::kChecked;
  int lineCount = 0;
  Journal journal;  // the findings, in the order of reporting
  InfoStore info;   // the names with their type codes, and the pairs
  int errors = 0;   // findings that are not alerts
  int alerts = 0;

  // The name after "Begin", when the script has one.
  std::optional<std::string> scriptName() const;
  // Indexes of the findings in the order the report prints them: by line,
  // in reporting order within a line, the whole-script findings last.
  std::vector<std::size_t> reportOrder() const;
};

// Checks decoded script text.
CheckResult checkScript(const ScriptText& script, const CheckOptions& options);
// Checks a script's bytes as read from a file (UTF-8 or Windows-1252, any
// line ends).
CheckResult check(std::string_view bytes, const CheckOptions& options);

// The report "Correction de <name>" of a result (Windows-1252, line feeds);
// `names` (when given) receives where the names taken from the script stand
// in it (composeReport).
std::string reportText(const CheckResult& result, const CheckOptions& options,
                       std::vector<NameRun>* names = nullptr);

// The passes between reading the script and writing the report, in their
// order, over a journal and an info store that may mirror work files:
// the declaration scans, the block structure check, the line analyser and the
// underscore warning. Returns 0, or the result code of a pass that could not
// open a work file (10, 20, 21).
int runCheckPasses(const ScriptText& script, Journal& journal, InfoStore& info, bool tribunal,
                   bool bloodmoon);

// The passes with the options' suppressions: the silenced codes and, unless
// turned off, the script's directives (an unknown code in one is reported
// after the passes). Journal and info store may mirror work files; returns
// what runCheckPasses returns.
int runCheck(const ScriptText& script, const CheckOptions& options, Journal& journal,
             InfoStore& info);

// The identifier checker and the command chain, as the line analyser of a
// check is handed them.
const LineCheckers& lineCheckers();

// Reads "; lintaro: ignorer CODE[,CODE...]" directives into `filter`; unknown
// codes are listed in `unknown` with their line. A directive at the end of a line silences
// its codes on that line, one on a line of its own before "Begin" in the whole
// script.
void readDirectives(const ScriptText& script, Suppressions& filter,
                    std::vector<std::pair<int, std::string>>& unknown);

}  // namespace lintaro
