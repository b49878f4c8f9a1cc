// A script as every pass reads it: Windows-1252 bytes whose lines end with a
// line feed. The line count is one more than the number of line feeds, so an
// empty text has one (empty) line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ScriptInput.h"

namespace lintaro {

// Most lines a script may have.
inline constexpr int kMaxLines = 5000;

class ScriptText {
 public:
  ScriptText() : ScriptText(std::string()) {}
  // Takes decoded text (see decodeScriptBytes).
  explicit ScriptText(std::string text);

  int lineCount() const { return static_cast<int>(starts_.size()); }
  // The text of a line without its line feed; lines past the end are empty.
  std::string_view line(int index) const;
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  std::vector<std::uint32_t> starts_;
};

// Reads a script file (at most kMaxScriptBytes) and decodes it; nothing when
// it cannot be read or is larger, and then `status` (when given) says which.
std::optional<ScriptText> readScriptFile(const std::string& path, InputStatus* status = nullptr);

}  // namespace lintaro
