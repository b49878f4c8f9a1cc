// The report writer: turns the journal and the info store of a finished run
// into the French report "Correction de <name>".
#pragma once

#include <string>

#include "core/Journal.h"
#include "core/MainTriInfo.h"

namespace lintaro {


// The report's text (Windows-1252, line feeds). `errorCount` (when given)
// receives the number of findings that are not alerts.
std::string composeReport(int lineCount, bool showInfo, bool hideAlerts, const Journal& journal,
                          const InfoStore& info, int* errorCount);

}  // namespace lintaro
