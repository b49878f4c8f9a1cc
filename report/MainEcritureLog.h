// The report writer: turns the journal and the info store of a finished run
// into the French report "Correction de <name>".
#pragma once

#include <string>
#include <vector>

#include "core/Journal.h"
#include "core/MainTriInfo.h"

namespace lintaro {

// The report's text (Windows-1252, line feeds). `errorCount` (when given)
// receives the number of findings that are not alerts; `names` (when given)
// where the names taken from the script stand in the text, in order (the
// script's name, those inside the findings, the names listed), so that they
// can be read in the script's own code page.
std::string composeReport(int lineCount, bool showInfo, bool hideAlerts, const Journal& journal,
                          const InfoStore& info, int* errorCount,
                          std::vector<NameRun>* names = nullptr);

}  // namespace lintaro
