// The checkers of commands whose identifiers are followed by a number.
#include "signatures/strFonctionsGeneral.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

// The integer that follows an identifier, from the separator before it on.
// Returns where the reading stopped.
std::size_t shortAfterId(Call& call, std::string_view name, std::string_view line, std::size_t pos,
                         std::string_view identifier) {
  const SeparatedInteger value = separatedInteger(line, pos, minusRule(lowerName(name)));
  if (value.separator == Separator::kMissing) {
    call.error(Diag::kValeurShortIntrouvable);
  } else if (value.separator == Separator::kNoSpace) {
    call.error(Diag::kIdSansEspace, identifier);
  } else if (value.notANumber(line)) {
    call.error(Diag::kValeurShortVariable, name);
  }
  return value.stop;
}

// The optional integer after an identifier, from its first character on.
struct OptionalValue {
  enum Outcome { kValid, kNotANumber, kTooMany } outcome = kValid;
  std::size_t fault = 0;  // the character that made it not a number
};

OptionalValue optionalValue(std::string_view line, std::size_t pos) {
  if (!isDigit(line[pos])) return {OptionalValue::kNotANumber, pos};
  while (pos < line.size() && isDigit(line[pos]))
    ++pos;
  if (pos < line.size() && !isWhite(line[pos])) return {OptionalValue::kNotANumber, pos};
  if (hasTrailing(line, pos)) return {OptionalValue::kTooMany, pos};
  return {};
}

// The required identifier of strFoncIDshort_choiceApp and
// strFoncID_optShort_choiceApp, recorded when found.
Reading requiredIdentifier(Call& call, std::string_view line, std::size_t pos, int type) {
  Reading id = listReading(line, pos);
  if (id.text.empty()) {
    call.error(Diag::kAppeleIntrouvable);
  } else {
    call.record(type, id.text);
  }
  return id;
}

}  // namespace

void strFoncIDshort_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                              int calledType, int choice, std::string& line, int* lineHandled,
                              int lineIndex) {
  const CommandForm form{Head::kNameSeparator, choice == 1, callerType};
  checkCommand(ctx, name, form, journalFailure<"strFoncIDintApp">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 const Reading id = requiredIdentifier(call, line, at.args, calledType);
                 if (!id.text.empty()) shortAfterId(call, name, line, id.stop, id.text);
               });
}

void strFoncID_optShort_choiceApp(CheckContext& ctx, std::string_view name, std::string& line,
                                  int callerType, int calledType, int choice, int* lineHandled,
                                  int lineIndex) {
  const CommandForm form{Head::kNameSeparator, choice == 1, callerType};
  checkCommand(ctx, name, form, journalFailure<"strFoncID_optShort_choiceApp">, line, lineHandled,
               lineIndex, [&](Call& call, const Located& at) {
                 const Reading id = requiredIdentifier(call, line, at.args, calledType);
                 if (id.text.empty()) return;
                 std::size_t pos = id.stop;
                 const bool comma = pos < line.size() && line[pos] == ',';
                 if (comma) ++pos;
                 if (pos < line.size() && line[pos] != ' ') {
                   // Without a comma, an unspaced optional argument goes unremarked.
                   if (comma) call.error(Diag::kOptionnelSansEspace, name);
                 } else if (pos + 1 < line.size()) {
                   const OptionalValue value = optionalValue(line, pos + 1);
                   if (value.outcome == OptionalValue::kTooMany) {
                     call.error(Diag::kOptionnelUnSeul, name, id.text);
                   } else if (value.outcome == OptionalValue::kNotANumber && comma &&
                              !isWhite(line[value.fault])) {
                     call.error(Diag::kOptionnelVariable, name);
                   }
                 }
               });
}

void strFoncIDIDshort(CheckContext& ctx, std::string_view name, std::string& line, int firstType,
                      int secondType, int* lineHandled, int lineIndex) {
  const CommandForm form{Head::kNameSeparator, false, 0};
  checkCommand(ctx, name, form, journalFailure<"strFoncIDIDshort">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 const IdentifierPair ids =
                     readIdentifierPair(call, line, at.args, firstType, secondType);
                 if (ids.first.text.empty() || call.failed()) return;
                 const std::size_t pos = shortAfterId(call, name, line, ids.stop, ids.last().text);
                 // A number that stopped on white space (two spaces before it) left
                 // something behind.
                 if (!call.failed() && ids.last().quoted() && hasTrailing(line, pos)) {
                   call.error(Diag::kParametreApresId, name, ids.last().text);
                 }
               });
}

}  // namespace lintaro
