// What the window takes from the operating system: opening a document or an
// address with its default program, the current directory, and starting the
// console program in a terminal. The dialogs reach these through the
// ShellPlatform interface (shell/WinProcLogic.h); SystemPlatform is the real
// one.
#pragma once

#include <functional>
#include <string>

#include "shell/WinProcLogic.h"

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

// The user's configuration folder for the window, from the environment as
// `variable` reads it (nullptr for an unset variable): on Windows
// %APPDATA%\Lintaro; elsewhere $XDG_CONFIG_HOME/lintaro when that is an
// absolute path, else $HOME/.config/lintaro. "" when the variables needed are
// unset or empty.
using EnvironmentReader = std::function<const char*(const char* name)>;
std::string configFolder(const EnvironmentReader& variable, bool windows);

// configFolder() for this process's environment and system.
std::string userConfigDirectory();

// Starts `program` (an executable path) in a new terminal window: the
// desktop's default terminal emulator, else xterm. False when none starts.
bool startInTerminal(const std::string& program);

// What the user may do when no program opens a document, or when the console
// program is there but cannot be started: this system's own advice, ending
// the window's message.
extern const char* const kOpenerAdvice;
extern const char* const kConsoleAdvice;

// ShellPlatform over the functions above; each front end adds its message
// boxes and the redrawing of its main window.
class SystemPlatform : public ShellPlatform {
 public:
  bool openDocument(const std::string& target) override;
  std::string currentDirectory() override;
  std::string programDirectory() override;
  bool startConsole(const std::string& program) override;
  std::string configDirectory() override;
};

}  // namespace lintaro
