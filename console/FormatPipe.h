// The formatter of scrutinette in pipelines: standard input to standard
// output, a check that changes nothing, and unified diffs.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace lintaro {

// Formats standard input to `out`. When the script cannot be formatted (badly
// chained blocks, too many lines) its bytes go to `out` unchanged, so that an
// editor filter never loses text, and the message to `err`. Returns 0, 1
// (badly chained blocks) or 2.
int formatStream(std::istream& in, std::ostream& out, std::ostream& err);

// Names on `out` each file ("-": standard input) that formatting would change;
// changes nothing. Returns 1 when one would change, 2 when one cannot be
// formatted (unreadable, too large, too many lines, badly chained blocks),
// 0 otherwise.
int checkFormatting(const std::vector<std::string>& files, std::istream& in, std::ostream& out,
                    std::ostream& err);

// Writes the unified diff ("diff -u" form, for "patch -p0") of each file
// against its formatted text; changes nothing. Returns 0, 1 (badly chained
// blocks) or 2, as the formatting in place does.
int formatDiffs(const std::vector<std::string>& files, std::istream& in, std::ostream& out,
                std::ostream& err);

// The unified diff of `before` and `after`, both named `name`, with three
// lines of context; empty when they are equal.
std::string unifiedDiff(std::string_view name, std::string_view before, std::string_view after);

}  // namespace lintaro
