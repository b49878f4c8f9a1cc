#include "core/Suppressions.h"

namespace lintaro {

void Suppressions::silence(Diag id) {
  const auto i = static_cast<std::size_t>(id);
  if (everywhere_.size() <= i) everywhere_.resize(catalogue().size(), false);
  everywhere_[i] = true;
  any_ = true;
}

void Suppressions::silenceOnLine(std::int32_t lineIndex, Diag id) {
  onLines_.insert(key(lineIndex, id));
  any_ = true;
}

bool Suppressions::silenced(std::int32_t lineIndex, Diag id) const {
  if (!any_) return false;
  const auto i = static_cast<std::size_t>(id);
  if (i < everywhere_.size() && everywhere_[i]) return true;
  return lineIndex >= 0 && !onLines_.empty() && onLines_.count(key(lineIndex, id)) != 0;
}

}  // namespace lintaro
