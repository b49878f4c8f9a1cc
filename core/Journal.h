// The diagnostic journal: every finding of a run, in the order of writing.
//
// Each finding is mirrored in memory and written through to the work file
// "DbTempTES3" as one 208-byte record: line (int32 LE), text (200 bytes, NUL
// terminated, at most 199 characters), kind (int32 LE).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/WorkFiles.h"

namespace lintaro {

inline constexpr std::int32_t kAlert = 1;
inline constexpr std::int32_t kError = 2;
// Line index of a finding about the whole script.
inline constexpr std::int32_t kWholeScript = -1;

inline constexpr std::size_t kJournalRecordSize = 208;
inline constexpr std::size_t kJournalTextField = 200;
inline constexpr std::size_t kJournalTextMax = kJournalTextField - 1;

// Start of every finding about one line: "    - Ligne ".
inline constexpr std::string_view kLinePrefix = "    - Ligne ";

namespace journal_detail {

// A check's source name, usable as a template argument.
template <std::size_t N>
struct SourceName {
  std::array<char, N - 1> text{};
  consteval SourceName(const char (&name)[N]) {  // NOLINT: implicit by design
    for (std::size_t i = 0; i + 1 < N; ++i)
      text[i] = name[i];
  }
};

inline constexpr std::string_view kFailureHead =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source \"";
inline constexpr std::string_view kFailureTail = "\".\n\n";

template <SourceName Source>
inline constexpr auto kFailureBytes = [] {
  std::array<char, kFailureHead.size() + Source.text.size() + kFailureTail.size()> bytes{};
  std::size_t n = 0;
  for (const char c : kFailureHead)
    bytes[n++] = c;
  for (const char c : Source.text)
    bytes[n++] = c;
  for (const char c : kFailureTail)
    bytes[n++] = c;
  return bytes;
}();

}  // namespace journal_detail

// What stops the run when a check cannot open the journal, built at compile
// time from the name of the check's source: journalFailure<"synDetectAIWander">
// is "Impossible d'ouvrir le fichier "DbTempTES3" depuis le fichier source
// "synDetectAIWander".", then two line feeds.
template <journal_detail::SourceName Source>
inline constexpr std::string_view journalFailure{journal_detail::kFailureBytes<Source>.data(),
                                                 journal_detail::kFailureBytes<Source>.size()};
static_assert(journalFailure<"synDetectSetTo"> ==
              "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
              "\"synDetectSetTo\".\n\n");

struct JournalEntry {
  std::int32_t line;
  std::int32_t kind;
  std::string_view text;
};

class Journal {
 public:
  explicit Journal(std::string path = kJournalFileName) : file_(std::move(path), "ab") {}

  // Opens the file for appending; false when it cannot be opened.
  bool open() { return file_.open(); }

  // Appends a record whose text is given whole; a text longer than 199
  // characters is cut there. `failureMessage` stops the run when the file
  // cannot be opened.
  void append(std::int32_t line, std::string_view text, std::int32_t kind,
              std::string_view failureMessage);

  // Appends a finding about one line: "    - Ligne " + (lineIndex + 1) + the
  // message pieces, concatenated.
  template <typename... Pieces>
  void finding(int lineIndex, std::int32_t kind, std::string_view failureMessage,
               const Pieces&... pieces) {
    std::string& text = scratch_;
    text.assign(kLinePrefix);
    appendNumber(text, lineIndex + 1);
    (text.append(std::string_view(pieces)), ...);
    append(lineIndex, text, kind, failureMessage);
  }

  std::size_t size() const { return entries_.size(); }
  JournalEntry operator[](std::size_t i) const;

  void close() { file_.close(); }

 private:
  static void appendNumber(std::string& text, int value);

  struct Entry {
    std::int32_t line;
    std::int32_t kind;
    std::uint32_t offset;
    std::uint32_t length;
  };
  WorkFile file_;
  std::vector<Entry> entries_;
  std::string arena_;
  std::string scratch_;
};

}  // namespace lintaro
