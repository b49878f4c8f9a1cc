// Per-line warnings of the line analyser and the whole-script underscore
// warning.
#pragma once

#include <string>

#include "core/CheckContext.h"
#include "expression/ChainEntry.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/ScriptText.h"

namespace lintaro {

// The content of a line as the analyser reads it: the text ends at a NUL byte
// and at a ";" preceded by an even number of double quotes (the comment), and
// is cut at 4999 characters.
std::string lineContent(std::string_view physicalLine);

// The line analyser: reads the lines 0 to lineCount (the last slot lies past
// the end of the script and reads as an empty line), applies the lexical
// checks, recognises the header and the declarations, runs the command chain
// and reports misplaced and unrecognised lines.
void syntaxe(int lineCount, const ScriptText& script, CheckContext& ctx);

// Folds the line to lower case in place, then warns when tabs stand after the
// first non-blank character.
void synDetectBadTab(std::string& line, int lineIndex, DiagnosticSink& journal);

// Warns about every recorded name that begins with "_", in store order.
void synDetectUnderscore(DiagnosticSink& journal, const InfoStore& info);

}  // namespace lintaro
