// The diagnostic sink and the journal: every finding of a run, in the order
// of reporting.
//
// Checkers report to a DiagnosticSink by naming a row of the catalogue and
// giving the values of its holes; the sink composes the finding's text as the
// report prints it. The Journal is the sink of a check: it keeps the findings
// in memory, drops the silenced ones and passes the others on to a mirror
// when the run has one (the work file "DbTempTES3" of a file run).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Diagnostics.h"
#include "core/Encoding.h"
#include "core/Suppressions.h"
#include "core/WorkFiles.h"

namespace lintaro {

// Line index of a finding about the whole script.
inline constexpr std::int32_t kWholeScript = -1;

inline constexpr std::size_t kJournalRecordSize = 208;
inline constexpr std::size_t kJournalTextField = 200;
// Longest finding text: a longer one is cut there.
inline constexpr std::size_t kJournalTextMax = kJournalTextField - 1;
static_assert(kJournalTextMax <= 255, "NameSpans count a finding's bytes in 8 bits");

// Start of every finding about one line: "    - Ligne ".
inline constexpr std::string_view kLinePrefix = "    - Ligne ";
// Between a line number and the message: " : ".
inline constexpr std::string_view kLineSeparator = " : ";
// Start of every finding about the whole script.
inline constexpr std::string_view kScriptPrefix = "    - ";

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

inline std::string_view pieceView(std::string_view s) {
  return s;
}

}  // namespace journal_detail

// What stops a file run when a check cannot open the journal's work file,
// built at compile time from the name of the check's source:
// journalFailure<"synDetectAIWander"> is "Impossible d'ouvrir le fichier
// "DbTempTES3" depuis le fichier source "synDetectAIWander".", then two line
// feeds. An in-memory check never uses it.
template <journal_detail::SourceName Source>
inline constexpr std::string_view journalFailure{journal_detail::kFailureBytes<Source>.data(),
                                                 journal_detail::kFailureBytes<Source>.size()};
static_assert(journalFailure<"synDetectSetTo"> ==
              "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
              "\"synDetectSetTo\".\n\n");

// Receives the findings of a check.
class DiagnosticSink {
 public:
  virtual ~DiagnosticSink() = default;

  // Gets ready to receive findings; false when it cannot (a work file that
  // cannot be opened).
  virtual bool open() { return true; }
  // Gets ready, or stops the run with `failureMessage`.
  void openOrFail(std::string_view failureMessage) {
    if (!open()) throw WorkFileError(std::string(failureMessage));
  }

  // One finding, its text complete (at most 199 characters). A file-backed
  // sink stops the run with `failureMessage` when its file cannot be opened.
  virtual void add(std::int32_t line, Diag id, std::string_view text,
                   std::string_view failureMessage) = 0;
  // The same, with where the names taken from the script stand in `text`
  // (within it); a sink that does not keep them adds the finding alone.
  virtual void addNamed(std::int32_t line, Diag id, std::string_view text, const NameSpans& names,
                        std::string_view failureMessage) {
    (void)names;
    add(line, id, text, failureMessage);
  }

  // A finding about one line: "    - Ligne " + (lineIndex + 1) + " : " + the
  // row's message with its holes filled by `values`, in order.
  template <typename... Values>
  void report(int lineIndex, Diag id, std::string_view failureMessage, const Values&... values) {
    std::string& text = scratch_;
    text.assign(kLinePrefix);
    appendNumber(text, lineIndex + 1);
    text.append(kLineSeparator);
    finish(lineIndex, id, failureMessage, values...);
  }

  // A sentence of its own ("    - " + the row's message) listed with the
  // findings of one line.
  template <typename... Values>
  void reportAt(int lineIndex, Diag id, std::string_view failureMessage, const Values&... values) {
    scratch_.assign(kScriptPrefix);
    finish(lineIndex, id, failureMessage, values...);
  }

  // A finding about the whole script: "    - " + the row's message.
  template <typename... Values>
  void reportScript(Diag id, std::string_view failureMessage, const Values&... values) {
    scratch_.assign(kScriptPrefix);
    finish(kWholeScript, id, failureMessage, values...);
  }

 private:
  // Renders the row's message after the prefix already in scratch_ and adds
  // the finding.
  template <typename... Values>
  void finish(std::int32_t line, Diag id, std::string_view failureMessage,
              const Values&... values) {
    const std::array<std::string_view, sizeof...(Values)> views{
        journal_detail::pieceView(values)...};
    NameSpans names;
    renderMessage(scratch_, id, views, &names);
    const std::string_view text = cutText(scratch_);
    clip(names, text.size());
    addNamed(line, id, text, names, failureMessage);
  }
  static void appendNumber(std::string& text, int value);
  // The text up to its first NUL, at most 199 characters.
  static std::string_view cutText(std::string_view text);
  // Drops or shortens the spans that reach past `size`.
  static void clip(NameSpans& names, std::size_t size);

  std::string scratch_;
};

struct JournalEntry {
  std::int32_t line;
  std::int32_t kind;
  std::string_view text;
  Diag id;
  const NameSpans* names;  // where the names taken from the script stand in `text` (not null)
  // The message: the text after "Ligne N : " or after "    - ".
  std::string_view message() const;
};

// Appends the spans of `names` over the part of their text that starts at
// byte `from`, counted from that part's start plus `offset`: the names of a
// finding's message (`from` its start), or of a finding's text placed at
// `offset` in a report.
void appendSpans(std::vector<NameRun>& out, const NameSpans& names, std::size_t offset,
                 std::size_t from = 0);

class Journal : public DiagnosticSink {
 public:
  Journal() = default;

  // Findings are passed on to `mirror` too (not owned; null for none).
  void setMirror(DiagnosticSink* mirror) { mirror_ = mirror; }
  // Findings silenced by `filter` are dropped (not owned; null for none).
  void setSuppressions(const Suppressions* filter) { filter_ = filter; }

  bool open() override { return mirror_ == nullptr || mirror_->open(); }
  void add(std::int32_t line, Diag id, std::string_view text,
           std::string_view failureMessage) override;
  void addNamed(std::int32_t line, Diag id, std::string_view text, const NameSpans& names,
                std::string_view failureMessage) override;

  std::size_t size() const { return entries_.size(); }
  JournalEntry operator[](std::size_t i) const;

 private:
  struct Entry {
    std::int32_t line;
    Diag id;
    std::uint32_t offset;
    std::uint32_t length;
    NameSpans names;
  };
  DiagnosticSink* mirror_ = nullptr;
  const Suppressions* filter_ = nullptr;
  std::vector<Entry> entries_;
  std::string arena_;
};

}  // namespace lintaro
