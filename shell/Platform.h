// What the window takes from the operating system: opening a document or an
// address with its default program, the current directory, and starting the
// console program in a terminal. The dialogs reach these through the
// ShellPlatform interface (shell/WinProcLogic.h); SystemPlatform is the real
// one.
#pragma once

#include <string>

namespace lintaro {

// Opens a file path, a web address or a "mailto:" address with the desktop's
// default program (xdg-open). A path that does not exist fails at once. Waits
// at most a few seconds for the opener to report failure; an opener still
// running then (a viewer that stays in the foreground) counts as success.
bool openWithDefaultProgram(const std::string& target);

// The current directory, or "." when it cannot be read.
std::string currentDirectory();

// The directory of the running executable, or "" when it cannot be found.
std::string programDirectory();

// The user's configuration folder for the window: $XDG_CONFIG_HOME/lintaro,
// else $HOME/.config/lintaro; "" when neither variable is set.
std::string userConfigDirectory();

// Starts `program` (an executable path) in a new terminal window: the
// desktop's default terminal emulator, else xterm. False when none starts.
bool startInTerminal(const std::string& program);

}  // namespace lintaro
