// Lines that open or continue a block with a logical test: "If", "ElseIf",
// "While".
#pragma once

#include <string>
#include <string_view>

#include "core/CheckContext.h"

namespace lintaro {

// Lowers the line; when it is `keyword` (as written in the chain) followed by
// a blank, claims it and checks the test after the keyword.
void synDetectTEST(CheckContext& ctx, std::string_view keyword, std::string& line, int* lineHandled,
                   int lineIndex);

}  // namespace lintaro
