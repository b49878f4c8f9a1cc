#include "core/MainDivers.h"

#include <charconv>

namespace lintaro {

std::string int2str(int value) {
  char digits[16];
  const unsigned magnitude =
      value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
  return std::string(digits, result.ptr);
}

void foldLower(std::string& text) {
  for (char& c : text)
    c = foldChar(c);
}

std::string lowered(std::string_view text) {
  std::string out(text);
  foldLower(out);
  return out;
}

}  // namespace lintaro
