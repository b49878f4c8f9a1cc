// The logical test after "If", "ElseIf" and "While": split at its comparison
// and logical operators, every arithmetic side checked as an expression.
#pragma once

#include <string_view>

#include "core/CheckContext.h"

namespace lintaro {

// Checks `test` (the text after the keyword, from its first character that is
// not white space) and journals one error per malformed part. `keyword` is
// quoted in the messages as written ("If", "ElseIf", "While").
void logique(CheckContext& ctx, std::string_view keyword, std::string_view test, int lineIndex);

}  // namespace lintaro
