// Block structure check: "if"/"endif" and "while"/"endwhile" pairing, "else"
// and "elseif" inside an open "if", and nesting ten blocks deep.
#pragma once

#include "core/Journal.h"
#include "core/ScriptText.h"

namespace lintaro {

inline constexpr int kCheckTestDone = 0;
inline constexpr int kCheckTestJournalUnopenable = 10;

// Checks the lines 0 to count - 1 (the driver passes the line count + 1) and
// appends the findings to the journal. Returns 0, or 10 when the journal
// cannot be opened (nothing is checked then).
int checkTest(int count, const ScriptText& script, DiagnosticSink& journal);

}  // namespace lintaro
