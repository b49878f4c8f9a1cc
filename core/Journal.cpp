#include "core/Journal.h"

#include <array>
#include <cstring>

#include "core/MainDivers.h"

namespace lintaro {

void Journal::append(std::int32_t line, std::string_view text, std::int32_t kind,
                     std::string_view failureMessage) {
  file_.openOrFail(failureMessage);
  text = cut(text.substr(0, text.find('\0')), kJournalTextMax);  // the record's text ends at NUL

  std::array<unsigned char, kJournalRecordSize> record{};
  putInt32(record.data(), line);
  std::memcpy(record.data() + 4, text.data(), text.size());
  putInt32(record.data() + 4 + kJournalTextField, kind);
  file_.append(record.data(), record.size());

  entries_.push_back({line, kind, static_cast<std::uint32_t>(arena_.size()),
                      static_cast<std::uint32_t>(text.size())});
  arena_.append(text);
}

JournalEntry Journal::operator[](std::size_t i) const {
  const Entry& e = entries_[i];
  return {e.line, e.kind, std::string_view(arena_).substr(e.offset, e.length)};
}

void Journal::appendNumber(std::string& text, int value) {
  text.append(int2str(value));
}

}  // namespace lintaro
