#include <unistd.h>

#include "console/ConsoleSystem.h"

namespace lintaro {

ConsoleSession::ConsoleSession(int argc, char** argv) {
  if (argc > 1) arguments_.assign(argv + 1, argv + argc);
}

ConsoleSession::~ConsoleSession() = default;

bool standardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace lintaro
