#include "lsp/Text.h"

namespace lintaro::lsp {

namespace {

bool isWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Length in bytes of the UTF-8 sequence at text[i] and its UTF-16 units;
// an invalid byte is one byte, one unit.
std::size_t sequenceAt(std::string_view text, std::size_t i, int& units) {
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t len = 1;
  units = 1;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    units = 2;
  } else {
    return 1;
  }
  if (i + len > text.size()) {
    units = 1;
    return 1;
  }
  for (std::size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
      units = 1;
      return 1;
    }
  }
  return len;
}

}  // namespace

TextLines::TextLines(std::string_view text) {
  std::uint32_t start = 0;
  bool endKnown = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\n' && c != '\r') continue;
    starts_.push_back(start);
    ends_.push_back(static_cast<std::uint32_t>(i));
    const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
    if (!endKnown) {
      lineEnd_ = crlf ? "\r\n" : (c == '\r' ? "\r" : "\n");
      endKnown = true;
    }
    if (crlf) ++i;
    start = static_cast<std::uint32_t>(i + 1);
  }
  starts_.push_back(start);
  ends_.push_back(static_cast<std::uint32_t>(text.size()));
}

std::string_view TextLines::line(std::string_view text, int index) const {
  if (index < 0 || index >= count()) return {};
  const auto i = static_cast<std::size_t>(index);
  return text.substr(starts_[i], ends_[i] - starts_[i]);
}

std::size_t TextLines::start(std::string_view text, int index) const {
  if (index < 0) return 0;
  if (index >= count()) return text.size();
  return starts_[static_cast<std::size_t>(index)];
}

std::int64_t utf16Length(std::string_view utf8) {
  std::int64_t units = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    int u = 1;
    i += sequenceAt(utf8, i, u);
    units += u;
  }
  return units;
}

std::size_t byteOffset(std::string_view line, std::int64_t utf16) {
  std::size_t i = 0;
  std::int64_t units = 0;
  while (i < line.size() && units < utf16) {
    int u = 1;
    i += sequenceAt(line, i, u);
    units += u;
  }
  return i;
}

WordSpan wordAt(std::string_view line, std::size_t offset) {
  if (offset > line.size()) offset = line.size();
  std::size_t start = offset;
  while (start > 0 && isWordByte(line[start - 1]))
    --start;
  std::size_t end = offset;
  while (end < line.size() && isWordByte(line[end]))
    ++end;
  return {start, end - start};
}

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

LeadingWords leadingWords(std::string_view line) {
  LeadingWords words;
  std::size_t i = 0;
  for (std::string_view* word : {&words.first, &words.second}) {
    while (i < line.size() && (isBlank(line[i]) || line[i] == ','))
      ++i;
    const std::size_t start = i;
    while (i < line.size() && isWordByte(line[i]))
      ++i;
    *word = line.substr(start, i - start);
    if (word->empty()) break;
  }
  return words;
}

std::size_t commentStart(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ';' && !quoted) return i;
  }
  return std::string_view::npos;
}

}  // namespace lintaro::lsp
