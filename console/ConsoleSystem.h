// What the console program takes from the system it runs on: its arguments in
// UTF-8, standard streams that carry bytes as they are, and a terminal that
// shows UTF-8. Implemented in ConsoleSystemPosix.cpp and
// ConsoleSystemWindows.cpp; CMake builds one.
#pragma once

#include <string>
#include <vector>

namespace lintaro {

// Set up for the whole run by main, undone when it ends. On Windows: the
// arguments from the wide command line, standard output and error (and a
// redirected standard input) in binary mode, and a real console switched to
// the UTF-8 code pages, with escape sequences on, all restored at the end (and
// on Ctrl+C). Elsewhere the arguments as they are and nothing else.
class ConsoleSession {
 public:
  ConsoleSession(int argc, char** argv);
  ~ConsoleSession();
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // The arguments after the program's name.
  const std::vector<std::string>& arguments() const { return arguments_; }

 private:
  std::vector<std::string> arguments_;
};

// Standard error is a terminal that takes the "\r\033[K" of the progress line.
bool standardErrorIsTerminal();

}  // namespace lintaro
