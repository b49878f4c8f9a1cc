#include "core/Encoding.h"

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

std::string cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 8);
  for (const char c : cp1252) {
    const char32_t cp = codePointOfByte(static_cast<unsigned char>(c));
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::string normalizeLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
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
