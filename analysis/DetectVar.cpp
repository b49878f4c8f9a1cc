#include "analysis/DetectVar.h"

#include "core/MainDivers.h"

namespace lintaro {

namespace {

int codeOfKeyword(std::string_view keyword) {
  if (keyword == "float") return code::FLOAT;
  if (keyword == "long") return code::LONG;
  return code::SHORT;
}

// Reads one line byte by byte as the scan does; `at(i)` yields kEndOfFile past
// its end (the line feed and the end of the file end a line alike).
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}
  int next() {
    if (pos_ >= line_.size()) return kEndOfFile;
    return static_cast<unsigned char>(line_[pos_++]);
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

// The declared name on one line, or an empty text when the line declares none.
std::string declaredName(std::string_view line, std::string_view keyword) {
  LineReader reader(line);
  int c = reader.next();
  while (c != kEndOfFile && typeChar(c) == kClassBlank)
    c = reader.next();

  // The keyword, case-insensitively; reading goes on to its length even after
  // a difference, unless the line ends.
  if (c == kEndOfFile || foldChar(static_cast<char>(c)) != keyword[0]) return {};
  bool matches = true;
  for (std::size_t k = 1; k < keyword.size() && c != kEndOfFile; ++k) {
    c = reader.next();
    if (c == kEndOfFile || foldChar(static_cast<char>(c)) != keyword[k]) matches = false;
  }
  if (!matches || c == kEndOfFile) return {};

  c = reader.next();
  while (c == ' ')
    c = reader.next();
  std::string name;
  while (c != kEndOfFile &&
         (typeChar(c) == kClassLetter || (typeChar(c) == kClassDigit && !name.empty()))) {
    if (name.size() < kDeclaredNameMax) name.push_back(static_cast<char>(c));
    c = reader.next();
  }
  return name;
}

}  // namespace

int strDetectVar(const ScriptText& script, InfoStore& info, std::string_view keyword) {
  if (!info.open()) return kDetectVarInfoUnopenable;
  const int code = codeOfKeyword(keyword);
  for (int i = 0; i < script.lineCount(); ++i) {
    std::string name = declaredName(script.line(i), keyword);
    if (!name.empty()) info.triInfo(INFO{code, std::move(name)});
  }
  return kDetectVarDone;
}

}  // namespace lintaro
