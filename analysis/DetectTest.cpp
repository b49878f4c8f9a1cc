#include "analysis/DetectTest.h"

#include "core/MainDivers.h"

namespace lintaro {

bool beginsWithKeyword(std::string_view line, std::string_view keyword) {
  std::size_t p = 0;
  while (p < line.size() && line[p] != ';' && typeChar(line[p]) == kClassBlank)
    ++p;
  if (line.size() - p < keyword.size()) return false;
  for (std::size_t k = 0; k < keyword.size(); ++k) {
    if (foldChar(line[p + k]) != keyword[k]) return false;
  }
  p += keyword.size();
  if (p == line.size()) return true;  // the line feed or the end of the file
  const char after = line[p];
  return typeChar(after) == kClassBlank || after == '(' || after == ',';
}

void strDetectTest(KeywordFlags& flags, int last, const ScriptText& script,
                   std::string_view keyword) {
  flags.assign(static_cast<std::size_t>(last < 0 ? 0 : last + 1), 0);
  const int lines = last < script.lineCount() - 1 ? last + 1 : script.lineCount();
  for (int i = 0; i < lines; ++i) {
    flags[static_cast<std::size_t>(i)] = beginsWithKeyword(script.line(i), keyword) ? 1 : 0;
  }
}

}  // namespace lintaro
