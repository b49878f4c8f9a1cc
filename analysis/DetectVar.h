// Declaration scan: records every local variable declared with one keyword
// ("short", "float" or "long") before any line is analysed.
#pragma once

#include <string_view>

#include "core/MainTriInfo.h"
#include "core/ScriptText.h"

namespace lintaro {

inline constexpr int kDetectVarDone = 0;
inline constexpr int kDetectVarScriptUnreadable = 20;
inline constexpr int kDetectVarInfoUnopenable = 21;

// Longest name the scan collects; the rest of a longer name is dropped.
inline constexpr std::size_t kDeclaredNameMax = 49;

// Scans every line of the script for `keyword` (lower case) at its start and
// records the declared name with the keyword's type code. Returns 0, or 21
// when the info store cannot be opened.
int strDetectVar(const ScriptText& script, InfoStore& info, std::string_view keyword);

}  // namespace lintaro
