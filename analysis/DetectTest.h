// Block keyword detector: which lines begin with a given block keyword.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/ScriptText.h"

namespace lintaro {

// One flag per line index: 1 when the line begins with the keyword.
using KeywordFlags = std::vector<std::uint8_t>;

// True when the line begins (after blanks) with `keyword` (lower case) followed
// by a blank, ';', '(' or ',' or the end of the line. A line whose first
// non-blank character is ';' never matches.
bool beginsWithKeyword(std::string_view line, std::string_view keyword);

// Classifies the lines 0 to `last` (last + 1 entries); lines past the end of
// the script get 0.
void strDetectTest(KeywordFlags& flags, int last, const ScriptText& script,
                   std::string_view keyword);

}  // namespace lintaro
