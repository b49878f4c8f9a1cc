// The console program's interactive mode: started without arguments (from a
// terminal or by the window's "Version Shell"), it offers what the window's
// menu offers and shares its settings file "Scrivlex3.dat".
#pragma once

#include <iosfwd>

namespace lintaro {

// Runs the menu, reading the user's answers from `in` until "Quitter" or the
// end of the input. Returns the exit status: 0, or 1 after a work file could
// not be opened (the message waits for the user to press Entrée first).
int runScrutinetteMenu(std::istream& in, std::ostream& out);

}  // namespace lintaro
