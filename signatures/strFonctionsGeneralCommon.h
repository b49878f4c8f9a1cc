// What the signature checkers share: locating the command in its bare and
// caller forms, reading and recording the caller, the identifier readings, the
// separator step, the trailing test and the per-call error state.
#pragma once

#include <string>
#include <string_view>

#include "core/CheckContext.h"
#include "core/Encoding.h"
#include "core/MainDivers.h"

namespace lintaro::signature {

// Longest caller or identifier text.
inline constexpr std::size_t kNameMax = 49;

// One call of a checker: the error state and the journal records.
class Call {
 public:
  Call(CheckContext& ctx, int lineIndex, std::string_view failureMessage)
      : ctx_(ctx), lineIndex_(lineIndex), failure_(failureMessage) {}

  template <typename... Pieces>
  void error(const Pieces&... pieces) {
    ctx_.journal.finding(lineIndex_, kError, failure_, pieces...);
    failed_ = true;
  }
  template <typename... Pieces>
  void alert(const Pieces&... pieces) {
    ctx_.journal.finding(lineIndex_, kAlert, failure_, pieces...);
  }
  // Once an error is journalled, the later stages of the call are skipped.
  bool failed() const { return failed_; }
  void record(int type, std::string name) { ctx_.info.triInfo(INFO{type, std::move(name)}); }

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

// Reads the caller (start to arrow) and records it with `callerType` unless a
// finding was written. `name` is the command as the game spells it.
void readCaller(Call& call, std::string_view line, const Located& at, std::string_view name,
                int callerType);

// Result of an identifier reading.
struct Reading {
  std::string text;      // at most 49 characters, quotes removed
  int quotes = 0;        // double quotes met
  std::size_t stop = 0;  // where the reading stopped
  bool onBlank = false;  // stopped on a space or a tab
  bool quoted() const { return quotes == 2; }
};

// The identifier is the last argument: stops at the end, at the third quote,
// or at a blank met while the quote count is not 1.
Reading openReading(std::string_view line, std::size_t pos);
// An identifier that may be followed by another argument: stops at the end,
// after the closing quote, or (no quote met) at a comma, space or tab.
Reading listReading(std::string_view line, std::size_t pos);
// The second of two identifiers: as the list reading, but a comma is copied.
Reading lastReading(std::string_view line, std::size_t pos);

enum class Separator { kSpace, kNoSpace, kMissing };
// Between two arguments: an optional comma, then one space. Moves `pos` past
// what it skipped.
Separator separatorStep(std::string_view line, std::size_t& pos);

// True when a character that is not white space stands at or after `pos`.
bool hasTrailing(std::string_view line, std::size_t pos);

// The name in lower case, as the checkers compare it.
std::string lowerName(std::string_view name);

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

// Messages shared by several checkers.
inline constexpr Cp1252Text kNoCalled{" : impossible de détecter l'appelé !"};
inline constexpr Cp1252Text kNoFirst{" : impossible de détecter le premier appelé !"};
inline constexpr Cp1252Text kNoSecond{" : impossible de détecter le second appelé !"};
inline constexpr Cp1252Text kCalledSyntax{" : erreur dans la syntaxe de l'appelé de la fonction "};
inline constexpr Cp1252Text kTooManyQuotesEnd{" : trop de guillemets."};
inline constexpr Cp1252Text kErrorTheFunction{" : erreur, la fonction "};
inline constexpr Cp1252Text kNothingAfterId{" ne doit contenir aucun paramètre après l'ID \""};
inline constexpr Cp1252Text kQuoteBang{"\" !"};
inline constexpr Cp1252Text kLastParameterError{" : erreur dans le dernier paramètre. Attention, "};
inline constexpr Cp1252Text kNoVariables{" ne prend pas de variables en entrée !"};
inline constexpr Cp1252Text kNoLastParameter{
    " : impossible de détecter le dernier paramètre de la fonction "};
inline constexpr Cp1252Text kBang{" !"};

}  // namespace lintaro::signature
