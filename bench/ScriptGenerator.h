// Generated scripts for the benchmarks.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace lintaro::bench {

// A script of exactly `lines` lines (CR LF line ends, as the Construction Set
// writes them): declarations, nested blocks, about a thousand distinct names
// in 5000 lines, and a finding on most lines (block structure errors and
// alerts, names beginning with "_"). The lines also carry what the per-line
// checks will report (tabs after the first word, commands, expressions).
std::string generateScript(int lines);

// Scripts built to be as costly as possible for one pass; each holds exactly
// `lines` lines, so that the cost of 500 and 5000 lines can be compared.
enum class WorstCase {
  kElseChain,         // one "if", one "else", then "elseif"/"else" lines up to the "endif"
  kExcessClosers,     // "endif" and "endwhile" lines with no opener
  kTopLevelElse,      // "else" and "elseif" lines outside any "if"
  kDeepNesting,       // half the lines open blocks, the other half close them
  kNestingFlicker,    // nine open blocks, then the depth swings between 9 and 10
  kUnderscoreNames,   // a declaration of a distinct name beginning with "_" on every line
  kLongLines,         // lines of about 1000 characters (long names, tabs, comments)
  kBlankLines,        // empty lines only: the fixed cost of a run
  kNestedExpression,  // 4999-character assignments and tests: deep groups re-examined
                      // on the left of an operator, long operator chains, operands
                      // full of value-function calls
};

// The worst lines of kNestedExpression, each of 4999 characters at most.
std::string worstExpressionLine(int variant);
inline constexpr int kWorstExpressionVariants = 6;

struct WorstCaseInfo {
  WorstCase kind;
  std::string_view name;
};

std::span<const WorstCaseInfo> worstCases();

std::string generateWorstCase(WorstCase kind, int lines);

}  // namespace lintaro::bench
