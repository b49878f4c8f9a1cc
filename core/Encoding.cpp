#include "core/Encoding.h"

#include <array>
#include <cstdint>

namespace lintaro {

using encoding_detail::byteOfCodePoint;
using encoding_detail::codePointOfByte;
using encoding_detail::decodeUtf8;

bool isValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    const std::size_t len = decodeUtf8(text, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    std::size_t len = decodeUtf8(utf8, i, cp);
    if (len == 0) {  // not expected from callers: keep the byte as it is
      out.push_back(utf8[i]);
      len = 1;
    } else {
      out.push_back(byteOfCodePoint(cp));
    }
    i += len;
  }
  return out;
}

namespace {

// UTF-8 form of every Windows-1252 byte: up to three bytes and a length.
struct Utf8Of {
  std::array<char, 3> bytes{};
  std::uint8_t length = 0;
};

constexpr std::array<Utf8Of, 256> buildUtf8Table() {
  std::array<Utf8Of, 256> table{};
  for (std::size_t b = 0; b < table.size(); ++b) {
    const char32_t cp = codePointOfByte(static_cast<unsigned char>(b));
    Utf8Of& out = table[b];
    if (cp < 0x80) {
      out.bytes[0] = static_cast<char>(cp);
      out.length = 1;
    } else if (cp < 0x800) {
      out.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
      out.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
      out.length = 2;
    } else {
      out.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
      out.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
      out.length = 3;
    }
  }
  return table;
}

constexpr std::array<Utf8Of, 256> kUtf8Of = buildUtf8Table();

}  // namespace

std::string cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 8);
  std::size_t i = 0;
  while (i < cp1252.size()) {
    // Runs of ASCII are copied whole.
    std::size_t run = i;
    while (run < cp1252.size() && static_cast<unsigned char>(cp1252[run]) < 0x80)
      ++run;
    out.append(cp1252.data() + i, run - i);
    if (run == cp1252.size()) break;
    const Utf8Of& utf8 = kUtf8Of[static_cast<unsigned char>(cp1252[run])];
    out.append(utf8.bytes.data(), utf8.length);
    i = run + 1;
  }
  return out;
}

std::string normalizeLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t cr = text.find('\r', i);
    if (cr == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, cr - i));
    out.push_back('\n');
    i = cr + 1;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return out;
}

std::string decodeScriptBytes(std::string_view raw) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (raw.starts_with(kBom)) raw.remove_prefix(kBom.size());
  if (isValidUtf8(raw)) return normalizeLineEnds(utf8ToCp1252(raw));
  return normalizeLineEnds(raw);
}

}  // namespace lintaro
