// The formatter: re-indents one script file in place with one tab per open
// if/while block and a blank on each side of every parenthesis, after checking
// that the block keywords are properly chained.
#pragma once

#include <string>
#include <string_view>

namespace lintaro {

// Result codes of mainMEF.
inline constexpr int kFormatBadChain = 0;      // block keywords badly chained; file unchanged
inline constexpr int kFormatRewritten = 1;     // the file was rewritten
inline constexpr int kFormatUnreadable = 2;    // the file cannot be opened for reading
inline constexpr int kFormatTooManyLines = 3;  // more than 5000 lines; file unchanged
// The new text could not be written (temporary file not created, disk full,
// replacement refused, not a regular file): the file is left byte for byte as
// it was.
inline constexpr int kFormatUnwritable = 4;
// Larger than kMaxScriptBytes: nothing past the limit was read; file unchanged.
inline constexpr int kFormatTooLarge = 5;

// Formats the script file at `path` in place and returns one of the codes
// above. The new text goes to a temporary file in the same directory, which
// replaces the script only once it is completely written and flushed.
int mainMEF(const std::string& path);

// The formatting itself, on a file's bytes: returns kFormatRewritten with the
// new bytes in `formatted`, or kFormatBadChain / kFormatTooManyLines (then
// `formatted` is left empty).
//
// Only white space and the blanks around parentheses change: every other byte
// keeps its value and order, so UTF-8 text passes through intact. A UTF-8
// byte-order mark stays at the start of the file and the text after it is
// formatted as if it were absent. The line ends of the result are those of
// the file's first line end (CR LF, LF or CR); a lone CR ends a line, as for
// the checker.
int formatScriptText(std::string_view bytes, std::string& formatted);

// The French message (UTF-8) telling the user about a result of mainMEF;
// `name` is the file name as the user gave it. Results 0 and 3 do not name the
// file, as the window shows them under the file's dialog.
std::string formatResultMessage(int result, std::string_view name);

}  // namespace lintaro
