// A document as the editor holds it: UTF-8 text whose lines end with CR LF,
// LF or a lone CR (the same line breaks as the engine's), addressed by
// positions in UTF-16 code units as the protocol counts them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lintaro::lsp {

class TextLines {
 public:
  TextLines() = default;
  explicit TextLines(std::string_view text);

  int count() const { return static_cast<int>(starts_.size()); }
  // A line without its line end; empty past the end.
  std::string_view line(std::string_view text, int index) const;
  // Byte offset where a line starts (the text's size past the end).
  std::size_t start(std::string_view text, int index) const;
  // The line end of the text's first line end ("\n" when it has none).
  std::string_view lineEnd() const { return lineEnd_; }

 private:
  std::vector<std::uint32_t> starts_;
  std::vector<std::uint32_t> ends_;
  std::string_view lineEnd_ = "\n";
};

// Length of UTF-8 text in UTF-16 code units (a byte that starts no valid
// sequence counts as one).
std::int64_t utf16Length(std::string_view utf8);

// Byte offset in a line of a UTF-16 position, clamped to the line.
std::size_t byteOffset(std::string_view line, std::int64_t utf16);

// The word (letters, digits, '_') around a byte offset: its first byte and
// length; length 0 when there is none.
struct WordSpan {
  std::size_t start = 0;
  std::size_t length = 0;
};
WordSpan wordAt(std::string_view line, std::size_t offset);

// ASCII lower case.
std::string lowerAscii(std::string_view text);

// The first two words of a line ("short", "x"), blanks and tabs skipped.
struct LeadingWords {
  std::string_view first;
  std::string_view second;
};
LeadingWords leadingWords(std::string_view line);

// Where the comment of a line starts: the first ';' with an even number of
// double quotes before it, or npos.
std::size_t commentStart(std::string_view line);

}  // namespace lintaro::lsp
