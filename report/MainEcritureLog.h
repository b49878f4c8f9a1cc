// The report writer: turns the journal and the info store of a finished run
// into the French report "Correction de <name>" and deletes the work files.
#pragma once

#include <string>

#include "core/Journal.h"
#include "core/MainTriInfo.h"

namespace lintaro {

// Version text printed in the report's title.
inline constexpr std::string_view kReportVersion = "2.03";

// The report's text (Windows-1252, line feeds), as ecritureLog writes it.
// `errorCount` receives the number of journal records that are not alerts.
std::string composeReport(int lineCount, int showInfo, int hideAlerts, const Journal& journal,
                          const InfoStore& info, int* errorCount);

// Writes the report (UTF-8, the platform's line ends), stores the error count,
// closes and deletes the work files. Returns false when the report could not be
// written whole (a full disk); throws WorkFileError when it cannot be opened.
bool ecritureLog(const std::string& reportName, int lineCount, int showInfo, int hideAlerts,
                 int* errorCount, Journal& journal, InfoStore& info);

}  // namespace lintaro
