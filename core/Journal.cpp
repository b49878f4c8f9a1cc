#include "core/Journal.h"

#include <algorithm>

#include "core/MainDivers.h"

namespace lintaro {

void DiagnosticSink::appendNumber(std::string& text, int value) {
  text.append(int2str(value));
}

std::string_view DiagnosticSink::cutText(std::string_view text) {
  return cut(text.substr(0, text.find('\0')), kJournalTextMax);
}

void DiagnosticSink::clip(NameSpans& names, std::size_t size) {
  std::uint8_t kept = 0;
  for (std::uint8_t i = 0; i < names.count; ++i) {
    NameSpans::Span span = names.at[i];
    if (span.start >= size) continue;
    span.length = static_cast<std::uint8_t>(std::min<std::size_t>(span.length, size - span.start));
    names.at[kept++] = span;
  }
  names.count = kept;
}

void appendSpans(std::vector<NameRun>& out, const NameSpans& names, std::size_t offset,
                 std::size_t from) {
  for (std::uint8_t i = 0; i < names.count && i < names.at.size(); ++i) {
    const std::size_t end = std::size_t{names.at[i].start} + names.at[i].length;
    const std::size_t start = std::max<std::size_t>(names.at[i].start, from);
    if (end > start) out.push_back({offset + (start - from), end - start});
  }
}

void Journal::add(std::int32_t line, Diag id, std::string_view text,
                  std::string_view failureMessage) {
  addNamed(line, id, text, NameSpans{}, failureMessage);
}

void Journal::addNamed(std::int32_t line, Diag id, std::string_view text, const NameSpans& names,
                       std::string_view failureMessage) {
  if (filter_ != nullptr && filter_->silenced(line, id)) return;
  if (mirror_ != nullptr) mirror_->add(line, id, text, failureMessage);
  entries_.push_back({line, id, static_cast<std::uint32_t>(arena_.size()),
                      static_cast<std::uint32_t>(text.size()), names});
  arena_.append(text);
}

JournalEntry Journal::operator[](std::size_t i) const {
  const Entry& e = entries_[i];
  return {e.line, diagnostic(e.id).kind, std::string_view(arena_).substr(e.offset, e.length), e.id,
          &e.names};
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
