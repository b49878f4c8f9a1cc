// The diagnostic journal: every finding of a run, in the order of writing.
//
// Each finding is mirrored in memory and written through to the work file
// "DbTempTES3" as one 208-byte record: line (int32 LE), text (200 bytes, NUL
// terminated, at most 199 characters), kind (int32 LE).
#pragma once

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
