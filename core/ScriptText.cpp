#include "core/ScriptText.h"

#include "core/Encoding.h"

namespace lintaro {

ScriptText::ScriptText(std::string text) : text_(std::move(text)) {
  starts_.push_back(0);
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') starts_.push_back(static_cast<std::uint32_t>(i + 1));
  }
}

std::string_view ScriptText::line(int index) const {
  if (index < 0 || index >= lineCount()) return {};
  const std::size_t begin = starts_[static_cast<std::size_t>(index)];
  const std::size_t end = static_cast<std::size_t>(index + 1) < starts_.size()
                              ? starts_[static_cast<std::size_t>(index) + 1] - 1
                              : text_.size();
  return std::string_view(text_).substr(begin, end - begin);
}

std::optional<ScriptText> readScriptFile(const std::string& path, InputStatus* status) {
  const ScriptInput input = readScriptInput(path);
  if (status != nullptr) *status = input.status;
  if (input.status != InputStatus::kRead) return std::nullopt;
  return ScriptText(decodeScriptBytes(input.bytes));
}

}  // namespace lintaro
