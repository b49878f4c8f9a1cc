// What the special-function checkers share: the command and how it is
// located, and the runs of whole numbers with their separators. The error
// state (Call), the located command (Located), the caller reading with its
// rules, the name readings with their quote rules, a reading's result
// (Reading), the separator step and the trailing test are those of the
// signature checkers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/CheckContext.h"
#include "core/Diagnostics.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro::special {

using signature::Call;
using signature::hasTrailing;
using signature::kNameMax;
using signature::Located;
using signature::Reading;
using signature::Separator;
using signature::separatorStep;

// A special checker's command.
struct Command {
  std::string_view name;      // as the game spells it, printed in the messages: "PlaceAtMe"
  std::string_view word;      // the command word in lower case: "placeatme"
  bool callerForm = false;    // "->word " and "->word, " are recognised too
  bool journalFirst = false;  // the journal is opened on every call, before the line is read
  std::string_view failure;   // what stops the run when the journal cannot be opened
};

// Lowers the line in place, opens the journal first when the command asks for
// it, and locates the command: "word " or "word, " at the start of the line
// after blanks, else (callerForm) the last "->word " or "->word, ".
Located locateCommand(CheckContext& ctx, std::string& line, const Command& command);

// The caller rules and the name readings are the signature checkers' too.
using signature::CallerRule;
using signature::Closing;
using signature::kBlankEndedName;
using signature::kListName;
using signature::kOpenListName;
using signature::kOpenName;
using signature::NameRule;
using signature::QuoteBefore;
using signature::readName;

// Reads the caller written before "->" with the rule of the command (see
// signature::readCaller) and returns its text.
inline std::string readCaller(Call& call, std::string_view line, const Located& at,
                              const Command& command, const CallerRule& rule) {
  return signature::readCaller(call, line, at, command.name, rule);
}

inline bool digitAt(std::string_view line, std::size_t pos) {
  return pos < line.size() && line[pos] >= '0' && line[pos] <= '9';
}
inline bool charAt(std::string_view line, std::size_t pos, char c) {
  return pos < line.size() && line[pos] == c;
}

// Passes the digits at `pos`.
void skipDigits(std::string_view line, std::size_t& pos);

// One comma if present, then one space if present.
void passLooseSeparator(std::string_view line, std::size_t& pos);

// A whole number: one minus sign when allowed, then at least one digit. False
// (and `pos` unchanged) when no digit stands where the number starts.
bool readWhole(std::string_view line, std::size_t& pos, bool minusAllowed);

// What stands before a number of a run.
enum class Gap {
  kNone,    // nothing: the number starts at the position
  kLoose,   // one comma if present, then one space if present
  kSpaced,  // one comma if present, then, if the line goes on, a space is required
};

// A finding of a run of numbers: its row and the values of its holes. Besides
// the command name ({fonction}), a row may name the value it is about with a
// word ({axe}, {meteo}).
enum class Holes : std::uint8_t {
  kNone,      // no hole
  kName,      // {fonction}
  kWordName,  // the word, then {fonction}
  kNameWord,  // {fonction}, then the word
};
struct Message {
  Diag id{};
  Holes holes = Holes::kName;
  std::string_view word{};
};
void report(Call& call, const Message& message, std::string_view name);

struct WholeField {
  Gap gap = Gap::kNone;
  Message noSpace;     // kSpaced only: the finding when no space follows
  bool minus = false;  // one minus sign may precede the digits
  Message noNumber;    // the finding when no digit starts the number
};

// Reads the numbers of a run in order; the messages name `name`. At the first
// finding the run stops and returns false.
bool readWholeRun(Call& call, std::string_view line, std::size_t& pos,
                  std::span<const WholeField> fields, std::string_view name);

}  // namespace lintaro::special

namespace lintaro::special {

// How the value of an optional last parameter may end.
enum class OptionalEnd {
  kLast,        // at white space, and only white space may follow
  kNextFollows  // at white space or at a comma; what follows belongs to the next parameter
};

// What is wrong with an optional parameter.
enum class OptionalFault {
  kNone,
  kNoValue,   // a comma, then the end of the line, or a space and no digit
  kTrailing,  // the value ends at white space and more follows (kLast only)
  kVariable,  // after a comma, the digits end at another character
  kNoSpace,   // a comma, then neither a space nor the end of the line
};

struct OptionalValue {
  OptionalFault fault = OptionalFault::kNone;
  bool digit = false;    // the value was read and starts with a digit
  std::size_t stop = 0;  // where the value's digits end
};

// An optional numeric parameter after the previous value, which ended at
// `pos`: an optional comma, then a space unless the line ends, then digits.
// Without a comma, a value that does not start with a space and a digit is
// not looked at. `checkNoValue` makes a comma followed by no value a fault.
OptionalValue readOptionalValue(std::string_view line, std::size_t pos, bool checkNoValue,
                                OptionalEnd end);

// Journals the finding of an optional parameter of the command `name`.
// `parameter` names it after the words "paramètre optionnel" ("Idle2"), or is
// empty when the command has only one.
void optionalFinding(Call& call, OptionalFault fault, std::string_view parameter,
                     std::string_view name);

}  // namespace lintaro::special
