// The check run driver: one complete check of one script file, leaving the
// French report "Correction de <name>" in the current directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Diagnostics.h"

namespace lintaro {

// Result codes of mainDebug.
inline constexpr int kResultReportUnreadable = 0;  // the report cannot be read back
inline constexpr int kResultReportWritten = 1;
inline constexpr int kResultScriptUnreadable = 2;
// A work file or the report could not be opened: the run stopped without a
// report; the message says which file.
inline constexpr int kResultWorkFileFailure = 3;
// The script file is larger than kMaxScriptBytes: nothing was checked.
inline constexpr int kResultScriptTooLarge = 4;
inline constexpr int kResultJournalUnopenable = 10;
inline constexpr int kResultScanScriptUnreadable = 20;
inline constexpr int kResultScanInfoUnopenable = 21;
inline constexpr int kResultTooManyLines = 666;


// "Correction de " + the file's base name.
std::string reportNameFor(std::string_view scriptPath);

// Checks one script file with the user's preferences. `errorCount` receives the
// number of errors (alerts not counted) when the run reaches the report. For
// result 3, `failureMessage` (when given) receives the French message. For
// result 1, `reportBytes` (when given) receives the report as it was read back.
// The codes in `silenced` (when given) are never reported.
//
// Runs in the same current directory are serialised: the work files are shared,
// and so is a report of the same name, which is why it is read back under the
// same lock.
int mainDebug(const std::string& scriptPath, int* errorCount, int showInfo, int tribunal,
              int bloodmoon, int hideAlerts, std::string* failureMessage = nullptr,
              std::string* reportBytes = nullptr,
              const std::vector<Diag>* silenced = nullptr);

// The French message that tells the user about a result code other than 1, as
// the window shows it; `name` is the script file name.
std::string resultMessage(int result, std::string_view name, std::string_view failureMessage = {});

}  // namespace lintaro
