// Per-line warnings of the line analyser and the whole-script underscore
// warning.
#pragma once

#include <string>

#include "core/Journal.h"
#include "core/MainTriInfo.h"

namespace lintaro {

// Folds the line to lower case in place, then warns when tabs stand after the
// first non-blank character.
void synDetectBadTab(std::string& line, int lineIndex, Journal& journal);

// Warns about every recorded name that begins with "_", in store order.
void synDetectUnderscore(Journal& journal, const InfoStore& info);

}  // namespace lintaro
