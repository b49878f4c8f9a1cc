#include "core/Journal.h"

#include "core/MainDivers.h"

namespace lintaro {

void DiagnosticSink::appendNumber(std::string& text, int value) {
  text.append(int2str(value));
}

std::string_view DiagnosticSink::cutText(std::string_view text) {
  return cut(text.substr(0, text.find('\0')), kJournalTextMax);
}

void Journal::add(std::int32_t line, Diag id, std::string_view text,
                  std::string_view failureMessage) {
  if (filter_ != nullptr && filter_->silenced(line, id)) return;
  if (mirror_ != nullptr) mirror_->add(line, id, text, failureMessage);
  entries_.push_back({line, id, static_cast<std::uint32_t>(arena_.size()),
                      static_cast<std::uint32_t>(text.size())});
  arena_.append(text);
}

JournalEntry Journal::operator[](std::size_t i) const {
  const Entry& e = entries_[i];
  return {e.line, diagnostic(e.id).kind, std::string_view(arena_).substr(e.offset, e.length),
          e.id};
}

std::string_view JournalEntry::message() const {
  std::string_view rest = text;
  if (diagnostic(id).scope != Scope::kLine) {
    if (rest.starts_with(kScriptPrefix)) rest.remove_prefix(kScriptPrefix.size());
    return rest;
  }
  if (rest.starts_with(kLinePrefix)) rest.remove_prefix(kLinePrefix.size());
  while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9')
    rest.remove_prefix(1);
  if (rest.starts_with(kLineSeparator)) rest.remove_prefix(kLineSeparator.size());
  return rest;
}

}  // namespace lintaro
