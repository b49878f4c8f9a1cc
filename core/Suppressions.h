// Codes a check must not report: everywhere (an option) or on given lines (a
// directive at the end of a line).
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "core/Diagnostics.h"

namespace lintaro {

class Suppressions {
 public:
  void silence(Diag id);
  void silenceOnLine(std::int32_t lineIndex, Diag id);
  bool silenced(std::int32_t lineIndex, Diag id) const;
  bool empty() const { return !any_; }

 private:
  static std::uint64_t key(std::int32_t lineIndex, Diag id) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(lineIndex)) << 16) |
           static_cast<std::uint16_t>(id);
  }
  bool any_ = false;
  std::vector<bool> everywhere_;
  std::unordered_set<std::uint64_t> onLines_;
};

}  // namespace lintaro
