// What the signature checkers share (and the special-function checkers reuse):
// locating the command in its bare and caller forms, the steps every checker
// begins with, reading and recording the caller, the name readings, the pair
// of identifiers, the separator step, the trailing test and the per-call
// error state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/CheckContext.h"
#include "core/MainDivers.h"

namespace lintaro::signature {

// Longest caller or identifier text.
inline constexpr std::size_t kNameMax = 49;

// One call of a checker: the error state and the journal records.
class Call {
 public:
  Call(CheckContext& ctx, int lineIndex, std::string_view failureMessage)
      : ctx_(ctx), lineIndex_(lineIndex), failure_(failureMessage) {}

  // A finding of the catalogue: `values` fill the holes of the row's message.
  template <typename... Values>
  void error(Diag id, const Values&... values) {
    ctx_.journal.report(lineIndex_, id, failure_, values...);
    failed_ = true;
  }
  template <typename... Values>
  void alert(Diag id, const Values&... values) {
    ctx_.journal.report(lineIndex_, id, failure_, values...);
  }
  // Once an error is journalled, the later stages of the call are skipped.
  bool failed() const { return failed_; }
  void record(int type, std::string name) { ctx_.info.triInfo(INFO{type, std::move(name)}); }
  // An empty name ("" or nothing at all) names nothing: it is not recorded.
  void recordName(int type, std::string name) {
    if (!name.empty()) record(type, std::move(name));
  }

 private:
  CheckContext& ctx_;
  int lineIndex_;
  std::string_view failure_;
  bool failed_ = false;
};

// How a checker's head pattern ends after the command name.
enum class Head {
  kNameAlone,      // a plain prefix: a longer word that begins with the name matches
  kNameSeparator,  // the name followed by " " or ", "
};

struct Located {
  bool found = false;
  bool callerForm = false;
  std::size_t start = 0;  // first character that is not a blank
  std::size_t arrow = 0;  // the "->" of the caller form
  std::size_t args = 0;   // just after the matched head pattern
};

// Finds the command: bare form at the start first, then (when `callerAllowed`)
// the last "->" followed by the head pattern.
Located locate(std::string_view line, std::string_view lowerName, Head head, bool callerAllowed);

// How the message about a closing quote placed before the arrow ends.
enum class QuoteBefore {
  kOperatorArrow,  // "... n'est pas avant l'opérateur '->'."
  kArrow,          // "... n'est pas avant le '->'."
  kPoint,          // "... n'est pas avant l'opérateur '.'."
};

struct CallerRule {
  int type = 0;               // recorded with this code when no finding
  bool emptyIsError = false;  // " : impossible de détecter l'appelant !"
  QuoteBefore quoteBefore = QuoteBefore::kArrow;
};

// Reads the caller written before "->" (caller form only): a blank before any
// quote asks for quotes and ends the reading with no further test; then, each
// on its own, the empty caller (when the rule says so), three quotes, and a
// closing quote that is not right before the arrow. Records the caller when
// none of these was found, and returns its text. `name` is the command as the
// game spells it.
std::string readCaller(Call& call, std::string_view line, const Located& at, std::string_view name,
                       const CallerRule& rule);

// The caller of a signature checker: an empty caller is an error.
inline void readCaller(Call& call, std::string_view line, const Located& at, std::string_view name,
                       int callerType) {
  readCaller(call, line, at, name, CallerRule{callerType, true, QuoteBefore::kOperatorArrow});
}

// The name in lower case, as the checkers compare it.
std::string lowerName(std::string_view name);

// How a checker finds its command.
struct CommandForm {
  Head head = Head::kNameSeparator;
  bool callerAllowed = true;  // "caller->name" is recognised too
  int callerType = 0;         // the caller is recorded with this code
};

// The steps every checker begins with: lowers the line, locates the command
// and, when it is there, opens the call, reads the caller of the caller form
// and, unless that journalled an error, hands the call and the located command
// to `arguments`. A line that holds the command is handled.
template <typename Arguments>
void checkCommand(CheckContext& ctx, std::string_view name, const CommandForm& form,
                  std::string_view failureMessage, std::string& line, int* lineHandled,
                  int lineIndex, Arguments&& arguments) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), form.head, form.callerAllowed);
  if (!at.found) return;
  Call call(ctx, lineIndex, failureMessage);
  if (at.callerForm) readCaller(call, line, at, name, form.callerType);
  if (!call.failed()) arguments(call, at);
  *lineHandled = 1;
}

// Result of an identifier reading.
struct Reading {
  std::string text;      // at most 49 characters, quotes removed
  int quotes = 0;        // double quotes met
  std::size_t stop = 0;  // where the reading stopped
  bool onBlank = false;  // stopped on a space or a tab
  bool quoted() const { return quotes == 2; }
};

// Where a quoted name ends.
enum class Closing {
  // The closing quote ends the name and is passed; a separator ends it only
  // before any quote.
  kSecondQuote,
  // Characters after the closing quote still belong to the name; a separator
  // ends it unless exactly one quote was seen; a third quote stops it.
  kThirdQuote,
};

struct NameRule {
  Closing closing = Closing::kSecondQuote;
  bool commaEnds = true;         // a comma is a separator as well as a space or a tab
  std::size_t limit = kNameMax;  // the reading stops after this many characters
};

// An argument that may be followed by another: "a" b, a, b, a b.
inline constexpr NameRule kListName{Closing::kSecondQuote, true};
// A text whose unquoted form ends only at a blank.
inline constexpr NameRule kBlankEndedName{Closing::kSecondQuote, false};
// A last name, read on up to a blank outside quotes or a third quote.
inline constexpr NameRule kOpenName{Closing::kThirdQuote, false};
// As kOpenName, with a comma ending it outside quotes too.
inline constexpr NameRule kOpenListName{Closing::kThirdQuote, true};

// Reads a name from `pos`: quotes are counted and dropped, every other
// character up to the end of the name is copied.
Reading readName(std::string_view line, std::size_t pos, const NameRule& rule);

// The identifier is the last argument: stops at the end, at the third quote,
// or at a blank met while the quote count is not 1.
inline Reading openReading(std::string_view line, std::size_t pos) {
  return readName(line, pos, kOpenName);
}
// An identifier that may be followed by another argument: stops at the end,
// after the closing quote, or (no quote met) at a comma, space or tab.
inline Reading listReading(std::string_view line, std::size_t pos) {
  return readName(line, pos, kListName);
}
// The second of two identifiers: as the list reading, but a comma is copied.
inline Reading lastReading(std::string_view line, std::size_t pos) {
  return readName(line, pos, kBlankEndedName);
}

enum class Separator { kSpace, kNoSpace, kMissing };
// Between two arguments: an optional comma, then one space. Moves `pos` past
// what it skipped.
Separator separatorStep(std::string_view line, std::size_t& pos);

// Two identifiers, the second optional: the list reading of the first, which
// is required; then the separator step and, when a space follows, the last
// reading of the second. Each is recorded with its type when found.
struct IdentifierPair {
  Reading first;
  std::optional<Reading> second;  // read when a space followed the first
  Separator separator = Separator::kMissing;
  std::size_t stop = 0;  // after the second, else after the separator step
  const Reading& last() const { return second ? *second : first; }
};
IdentifierPair readIdentifierPair(Call& call, std::string_view line, std::size_t pos, int firstType,
                                  int secondType);

// True when a character that is not white space stands at or after `pos`.
bool hasTrailing(std::string_view line, std::size_t pos);

// Outcome of a numeric reading.
enum class Number { kValid, kMissing, kNotANumber };

struct NumberReading {
  Number outcome = Number::kMissing;
  std::size_t stop = 0;  // where the reading ended: for kNotANumber, the faulty character
  // Some checkers stay silent when the character that made the value "not a
  // number" is white space (a second space before the number).
  bool faultIsWhite(std::string_view line) const {
    return outcome == Number::kNotANumber && stop < line.size() && isWhite(line[stop]);
  }
};

// The minus rule: a "-" before a value is accepted for the commands whose
// name begins with "mod".
bool minusRule(std::string_view lowerName);

// An integer literal: digits, then white space only. `skipMinus` accepts one
// leading "-".
NumberReading integerLiteral(std::string_view line, std::size_t pos, bool skipMinus);
// The same from the first digit on, once the value is known to be there.
NumberReading integerDigits(std::string_view line, std::size_t pos);
// A decimal literal: digits, optionally "." and more digits, then white space
// only. A value that does not begin with a digit is missing.
NumberReading decimalLiteral(std::string_view line, std::size_t pos, bool skipMinus);
// The same from the first digit on (`pos` is on a digit).
NumberReading decimalDigits(std::string_view line, std::size_t pos);

// A whole number after another argument: the separator step, one "-" when
// `minus`, then, after a space, the digits. The separator is kMissing when the
// line ends before the number.
struct SeparatedInteger {
  Separator separator = Separator::kMissing;
  NumberReading value;   // read only after a space
  std::size_t stop = 0;  // where the value ended, else where it would start
  // A value that is not a number, unless only white space made it so.
  bool notANumber(std::string_view line) const {
    return separator == Separator::kSpace && value.outcome == Number::kNotANumber &&
           !value.faultIsWhite(line);
  }
};
SeparatedInteger separatedInteger(std::string_view line, std::size_t pos, bool minus);

}  // namespace lintaro::signature
