// Checking the scripts of a plugin with the engine's in-memory check.
//
// Plugin texts are single-byte text (Windows-1252, or 1250/1251 for some
// editions): they are checked as stored, with their line ends made line
// feeds, never decoded as UTF-8. For a 1250/1251 plugin the check sees the raw
// bytes; only what is shown to the user is converted (CodePages.h).
//
// A result script (an INFO's BNAM) is the body of a script without "Begin" or
// "End": it is checked as it stands, so its line numbers are the lines of the
// text, and the finding that every line of code comes before the header
// (code-avant-begin) is left out. The game ends the text itself, so no
// missing "End" is reported either (the engine reports none). A declaration
// ("short", "long", "float") is an error of its own there
// (declaration-dans-un-resultat), which replaces "declaration after code" on
// its line. Options and "; lintaro: ignorer" comments silence it as any other
// code.
#pragma once

#include <string_view>
#include <vector>

#include "plugin/Plugin.h"
#include "run/Check.h"

namespace lintaro::plugin {

// A SCPT's text, checked as a whole script.
CheckResult checkPluginScript(std::string_view text, const CheckOptions& options);

// A result script, checked as the body of a script.
CheckResult checkResultScript(std::string_view text, const CheckOptions& options);

// Either, by kind.
CheckResult checkEntry(const ScriptEntry& entry, const CheckOptions& options);

// The indexes of the lines of `script` that declare a variable: "short",
// "long" or "float" (any case) as the first word, outside comments.
std::vector<int> declarationLines(const ScriptText& script);

}  // namespace lintaro::plugin
