// The checkers of commands whose identifiers are followed by a number.
#include "signatures/strFonctionsGeneral.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

constexpr std::string_view kIdIntFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strFoncIDintApp\".\n\n";
constexpr std::string_view kOptShortFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strFoncID_optShort_choiceApp\".\n\n";
constexpr std::string_view kIdIdShortFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strFoncIDIDshort\".\n\n";

constexpr Cp1252Text kShortValue{" : erreur dans la valeur de type Short. Attention, "};
constexpr Cp1252Text kNoShortValue{" : impossible de détecter la valeur de type Short !"};
constexpr Cp1252Text kNoSpaceAfterId{" : pas d'espace après l'ID \""};
constexpr Cp1252Text kOptionalValue{" : erreur dans le paramètre optionnel. Attention, "};
constexpr Cp1252Text kNoOptional{" : impossible de détecter le paramètre optionnel de "};
constexpr Cp1252Text kOnlyOneAfterId{" ne prend qu'un paramètre après l'ID \""};

// The integer that follows an identifier, from the separator before it on.
// Returns where the reading stopped.
std::size_t shortAfterId(Call& call, std::string_view name, std::string_view lower,
                         std::string_view line, std::size_t pos, std::string_view identifier) {
  Separator separator = separatorStep(line, pos);
  if (pos < line.size() && line[pos] == '-' && minusRule(lower)) ++pos;
  if (pos >= line.size()) separator = Separator::kMissing;
  if (separator == Separator::kMissing) {
    call.error(kNoShortValue);
  } else if (separator == Separator::kNoSpace) {
    call.error(kNoSpaceAfterId, identifier, kQuoteBang);
  } else {
    const NumberReading value = integerDigits(line, pos);
    if (value.outcome == Number::kNotANumber && !value.faultIsWhite(line)) {
      call.error(kShortValue, name, kNoVariables);
    }
    return value.stop;
  }
  return pos;
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

}  // namespace

void strFoncIDshort_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                              int calledType, int choice, std::string& line, int* lineHandled,
                              int lineIndex) {
  foldLower(line);
  const std::string lower = lowerName(name);
  const Located at = locate(line, lower, Head::kNameSeparator, choice == 1);
  if (!at.found) return;
  Call call(ctx, lineIndex, kIdIntFailure);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed()) {
    const Reading id = listReading(line, at.args);
    if (id.text.empty()) {
      call.error(kNoCalled);
    } else {
      call.record(calledType, id.text);
      shortAfterId(call, name, lower, line, id.stop, id.text);
    }
  }
  *lineHandled = 1;
}

void strFoncID_optShort_choiceApp(CheckContext& ctx, std::string_view name, std::string& line,
                                  int callerType, int calledType, int choice, int* lineHandled,
                                  int lineIndex) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameSeparator, choice == 1);
  if (!at.found) return;
  Call call(ctx, lineIndex, kOptShortFailure);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed()) {
    const Reading id = listReading(line, at.args);
    if (id.text.empty()) {
      call.error(kNoCalled);
    } else {
      call.record(calledType, id.text);
      std::size_t pos = id.stop;
      const bool comma = pos < line.size() && line[pos] == ',';
      if (comma) ++pos;
      if (pos < line.size() && line[pos] != ' ') {
        // Without a comma, an unspaced optional argument goes unremarked.
        if (comma) call.error(kNoOptional, name, kBang);
      } else if (pos + 1 < line.size()) {
        const OptionalValue value = optionalValue(line, pos + 1);
        if (value.outcome == OptionalValue::kTooMany) {
          call.error(kOptionalValue, name, kOnlyOneAfterId, id.text, kQuoteBang);
        } else if (value.outcome == OptionalValue::kNotANumber && comma &&
                   !isWhite(line[value.fault])) {
          call.error(kOptionalValue, name, kNoVariables);
        }
      }
    }
  }
  *lineHandled = 1;
}

void strFoncIDIDshort(CheckContext& ctx, std::string_view name, std::string& line, int firstType,
                      int secondType, int* lineHandled, int lineIndex) {
  foldLower(line);
  const std::string lower = lowerName(name);
  const Located at = locate(line, lower, Head::kNameSeparator, false);
  if (!at.found) return;
  Call call(ctx, lineIndex, kIdIdShortFailure);
  const Reading first = listReading(line, at.args);
  if (first.text.empty()) {
    call.error(kNoFirst);
  } else {
    call.record(firstType, first.text);
    std::size_t pos = first.stop;
    const Reading* last = &first;
    Reading second;
    if (separatorStep(line, pos) == Separator::kSpace) {
      second = lastReading(line, pos);
      last = &second;
      if (second.text.empty()) {
        call.error(kNoSecond);
      } else {
        call.record(secondType, second.text);
      }
      pos = second.stop;
    }
    if (!call.failed()) {
      pos = shortAfterId(call, name, lower, line, pos, last->text);
      // A number that stopped on white space (two spaces before it) left
      // something behind.
      if (!call.failed() && last->quoted() && hasTrailing(line, pos)) {
        call.error(kErrorTheFunction, name, kNothingAfterId, last->text, kQuoteBang);
      }
    }
  }
  *lineHandled = 1;
}

}  // namespace lintaro
