// Small utilities shared by every pass: the character classifier, decimal
// formatting of line numbers, lower-case folding and name comparison.
//
// Text is single bytes: only A-Z and a-z are letters; bytes 0x80 to 0xFF are
// never letters, blanks or digits.
#pragma once

#include <string>
#include <string_view>

namespace lintaro {

// Marks the end of the file for typeChar.
inline constexpr int kEndOfFile = -1;

// Character classes of typeChar.
inline constexpr int kClassOther = 0;    // every other byte, and end of file
inline constexpr int kClassBlank = 1;    // white space and ';'
inline constexpr int kClassLetter = 2;   // A-Z, a-z, '_'
inline constexpr int kClassDigit = 3;    // 0-9
inline constexpr int kClassParen = 4;    // '(', ')', '"'
inline constexpr int kClassCompare = 5;  // '=', '<', '>'

// Class of one byte (0 to 255) or of kEndOfFile.
constexpr int typeChar(int c) {
  switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case ';':
      return kClassBlank;
    case '_':
      return kClassLetter;
    case '(':
    case ')':
    case '"':
      return kClassParen;
    case '=':
    case '<':
    case '>':
      return kClassCompare;
    default:
      break;
  }
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return kClassLetter;
  if (c >= '0' && c <= '9') return kClassDigit;
  return kClassOther;
}
constexpr int typeChar(char c) {
  return typeChar(static_cast<int>(static_cast<unsigned char>(c)));
}

// Decimal text of a count or a 1-based line number: no sign, no leading zero.
std::string int2str(int value);

constexpr int maxi(int a, int b) {
  return a > b ? a : b;
}

constexpr char foldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Lowers A-Z in place; every other byte stays.
void foldLower(std::string& text);
std::string lowered(std::string_view text);

// Two names are equal only when identical over their whole length.
constexpr bool sameName(std::string_view a, std::string_view b) {
  return a == b;
}

// A blank is a space or a tab.
constexpr bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
// White space as the C library's isspace in the C locale.
constexpr bool isWhite(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The first `limit` bytes of a text (all of it when shorter).
constexpr std::string_view cut(std::string_view text, std::size_t limit) {
  return text.substr(0, limit < text.size() ? limit : text.size());
}

}  // namespace lintaro
