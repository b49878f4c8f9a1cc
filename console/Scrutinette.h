// The console program's batch mode, kept apart from main() so that tests can
// drive it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lintaro {

inline constexpr int kExitClean = 0;
inline constexpr int kExitErrorsFound = 1;
inline constexpr int kExitFailure = 2;

// Runs the console program on its arguments (without the program name),
// reading "-" from `in`, writing reports to `out` and messages to `err`.
// Returns the exit status.
int runScrutinette(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err);
// The same with the process's standard input.
int runScrutinette(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lintaro
