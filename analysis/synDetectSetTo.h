// Assignments: "set target to expression".
#pragma once

#include <string>

#include "core/CheckContext.h"

namespace lintaro {

// Lowers the line; when it is "set " (after blanks and tabs), claims it,
// checks and records the target (a variable, or object.variable) and checks
// the expression after " to ".
void synDetectSetTo(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

}  // namespace lintaro
