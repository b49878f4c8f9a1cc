// Generated scripts for the benchmarks: declarations, nested blocks, many
// distinct names and a finding on most lines.
#pragma once

#include <string>

namespace lintaro::bench {

// A script of exactly `lines` lines (CR LF line ends, as the Construction Set
// writes them).
std::string generateScript(int lines);

}  // namespace lintaro::bench
