#include "plugin/CodePages.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/Encoding.h"

namespace lintaro::plugin {

namespace {

// Code points of the bytes 0x80 to 0xFF.
using HighHalf = std::array<char16_t, 128>;

constexpr HighHalf kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

constexpr HighHalf kWindows1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

const HighHalf* highHalf(CodePage page) {
  switch (page) {
    case CodePage::kWindows1250:
      return &kWindows1250;
    case CodePage::kWindows1251:
      return &kWindows1251;
    case CodePage::kWindows1252:
      break;
  }
  return nullptr;
}

char32_t codePoint(unsigned char b, CodePage page) {
  if (b < 0x80) return b;
  const HighHalf* high = highHalf(page);
  return high != nullptr ? (*high)[b - 0x80] : encoding_detail::codePointOfByte(b);
}

char32_t folded(char32_t cp) {
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) return cp + 0x20;
  if (cp == 0x178) return 0xFF;
  // Latin Extended-A: capital and small letters alternate, the capital on
  // the even code point except in 0x139-0x148 and 0x179-0x17E.
  const bool oddCapitals = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
  if (cp >= 0x100 && cp <= 0x17F && cp != 0x138 && cp != 0x149 && cp != 0x17F) {
    return ((cp % 2 == 1) == oddCapitals) ? cp + 1 : cp;
  }
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  if (cp == 0x490) return 0x491;
  return cp;
}

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

// The UTF-8 text with each character handed to `each(out, codePoint)`; a
// byte that does not start a well-formed character is copied as it is.
template <typename Each>
std::string mapCodePoints(std::string_view utf8, Each each) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    const std::size_t len = encoding_detail::decodeUtf8(utf8, i, cp);
    if (len == 0) {
      out += utf8[i++];
      continue;
    }
    i += len;
    each(out, cp);
  }
  return out;
}

}  // namespace

std::optional<CodePage> codePageNamed(std::string_view name) {
  std::string lowered;
  for (const char c : name)
    lowered += lowerAscii(c);
  std::string_view number = lowered;
  for (const std::string_view prefix : {"windows-", "windows", "win", "cp"}) {
    if (number.starts_with(prefix)) {
      number.remove_prefix(prefix.size());
      break;
    }
  }
  if (number == "1252") return CodePage::kWindows1252;
  if (number == "1250") return CodePage::kWindows1250;
  if (number == "1251") return CodePage::kWindows1251;
  return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
  const auto put = [&](std::uint32_t v) { out += static_cast<char>(v); };
  if (cp < 0x80) {
    put(cp);
  } else if (cp < 0x800) {
    put(0xC0 | (cp >> 6));
    put(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    put(0xE0 | (cp >> 12));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  } else {
    put(0xF0 | (cp >> 18));
    put(0x80 | ((cp >> 12) & 0x3F));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  }
}

std::string toUtf8(std::string_view bytes, CodePage page) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (const char c : bytes)
    appendUtf8(out, codePoint(static_cast<unsigned char>(c), page));
  return out;
}

std::string toUtf8(std::string_view text, std::span<const NameRun> names, CodePage page) {
  if (page == CodePage::kWindows1252 || names.empty()) return cp1252ToUtf8(text);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  std::size_t done = 0;
  const auto append = [&](std::size_t end, CodePage of) {
    for (; done < end; ++done)
      appendUtf8(out, codePoint(static_cast<unsigned char>(text[done]), of));
  };
  for (const NameRun& name : names) {
    const std::size_t start = std::min(std::max(name.start, done), text.size());
    append(start, CodePage::kWindows1252);
    append(start + std::min(name.length, text.size() - start), page);
  }
  append(text.size(), CodePage::kWindows1252);
  return out;
}

std::string fromUtf8(std::string_view utf8, CodePage page) {
  const HighHalf* high = highHalf(page);
  if (high == nullptr) return utf8ToCp1252(utf8);
  return mapCodePoints(utf8, [high](std::string& out, char32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      return;
    }
    const auto found = std::find(high->begin(), high->end(), cp);
    out += found == high->end() ? '?' : static_cast<char>(0x80 + (found - high->begin()));
  });
}

std::string decodeScriptBytes(std::string_view raw, CodePage page) {
  if (page == CodePage::kWindows1252) return lintaro::decodeScriptBytes(raw);
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (raw.starts_with(kBom)) raw.remove_prefix(kBom.size());
  if (isValidUtf8(raw)) return normalizeLineEnds(fromUtf8(raw, page));
  return normalizeLineEnds(raw);
}

std::string foldCase(std::string_view utf8) {
  return mapCodePoints(utf8, [](std::string& out, char32_t cp) { appendUtf8(out, folded(cp)); });
}

}  // namespace lintaro::plugin
