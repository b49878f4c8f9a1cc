// Text encodings at the edges of the engine.
//
// The engine works on single-byte Windows-1252 text. Script files arrive as
// Windows-1252 or UTF-8 (decoded here), reports leave as UTF-8. French message
// literals are written as UTF-8 in the sources and turned into Windows-1252 at
// compile time by Cp1252Text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintaro {

namespace encoding_detail {

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252. The five
// bytes that the code page leaves undefined map to the C1 control of the same
// value, as Windows does, so that they survive a round trip.
inline constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a code point, or '?' when the code page has none.
constexpr char byteOfCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

constexpr char32_t codePointOfByte(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
  return b;
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 when invalid.
constexpr std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, value = b0 & 0x1F, least = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, value = b0 & 0x0F, least = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, value = b0 & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  cp = value;
  return len;
}

}  // namespace encoding_detail

// A UTF-8 string literal converted to Windows-1252 during compilation, so that
// message texts read naturally in the sources and cost nothing at run time.
template <std::size_t N>
struct Cp1252Text {
  std::array<char, N> bytes{};
  std::size_t length = 0;

  consteval Cp1252Text(const char (&utf8)[N]) {  // NOLINT: implicit by design
    const std::string_view text(utf8, N - 1);
    std::size_t i = 0;
    while (i < text.size()) {
      char32_t cp = 0;
      const std::size_t len = encoding_detail::decodeUtf8(text, i, cp);
      if (len == 0) throw "message literals must be valid UTF-8";
      bytes[length++] = encoding_detail::byteOfCodePoint(cp);
      i += len;
    }
  }
  constexpr std::string_view view() const { return {bytes.data(), length}; }
  constexpr operator std::string_view() const { return view(); }  // NOLINT
};

// A run of bytes of an engine text that came from the script (a name, an id,
// a string): the script's code page, which is not always Windows-1252.
struct NameRun {
  std::size_t start = 0;
  std::size_t length = 0;
};

// True when the whole text is well-formed UTF-8 (ASCII included).
bool isValidUtf8(std::string_view text);

// Valid UTF-8 to Windows-1252; code points the code page lacks become '?'.
std::string utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8.
std::string cp1252ToUtf8(std::string_view cp1252);

// A script file's bytes as the engine reads them: a UTF-8 byte-order mark is
// dropped, valid UTF-8 is decoded to Windows-1252 (anything else is taken as
// Windows-1252 already), and CR LF as well as a lone CR become one line feed.
std::string decodeScriptBytes(std::string_view raw);

// CR LF and lone CR to LF.
std::string normalizeLineEnds(std::string_view text);

}  // namespace lintaro
