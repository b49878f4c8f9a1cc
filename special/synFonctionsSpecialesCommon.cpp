#include "special/synFonctionsSpecialesCommon.h"

#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "core/WorkFiles.h"

namespace lintaro::special {

Located locateCommand(CheckContext& ctx, std::string& line, const Command& command) {
  foldLower(line);
  if (command.journalFirst) ctx.journal.openOrFail(command.failure);
  return signature::locate(line, command.word, signature::Head::kNameSeparator, command.callerForm);
}

void skipDigits(std::string_view line, std::size_t& pos) {
  while (digitAt(line, pos))
    ++pos;
}

void passLooseSeparator(std::string_view line, std::size_t& pos) {
  if (charAt(line, pos, ',')) ++pos;
  if (charAt(line, pos, ' ')) ++pos;
}

bool readWhole(std::string_view line, std::size_t& pos, bool minusAllowed) {
  std::size_t p = pos;
  if (minusAllowed && charAt(line, p, '-')) ++p;
  if (!digitAt(line, p)) return false;
  skipDigits(line, p);
  pos = p;
  return true;
}

void report(Call& call, const Message& message, std::string_view name) {
  if (message.tail.empty()) {
    call.error(message.head);
  } else {
    call.error(message.head, name, message.tail);
  }
}

bool readWholeRun(Call& call, std::string_view line, std::size_t& pos,
                  std::span<const WholeField> fields, std::string_view name) {
  for (const WholeField& field : fields) {
    switch (field.gap) {
      case Gap::kNone:
        break;
      case Gap::kLoose:
        passLooseSeparator(line, pos);
        break;
      case Gap::kSpaced:
        if (separatorStep(line, pos) == Separator::kNoSpace) {
          report(call, field.noSpace, name);
          return false;
        }
        break;
    }
    if (!readWhole(line, pos, field.minus)) {
      report(call, field.noNumber, name);
      return false;
    }
  }
  return true;
}

}  // namespace lintaro::special

namespace lintaro::special {

namespace {

constexpr Cp1252Text kOptionalNoValue{" : erreur, impossible de détecter le paramètre optionnel"};
constexpr Cp1252Text kOfTheCommand{" de la fonction "};
constexpr Cp1252Text kOptionalWrong{" : erreur dans le paramètre optionnel"};
constexpr Cp1252Text kTakesNoVariables{" ne prend pas de variables en entrée !"};
constexpr Cp1252Text kOptionalNoSpace{" : impossible de détecter le paramètre optionnel"};

}  // namespace

OptionalValue readOptionalValue(std::string_view line, std::size_t pos, bool checkNoValue,
                                OptionalEnd end) {
  OptionalValue v;
  const bool comma = charAt(line, pos, ',');
  if (comma) ++pos;
  bool space = false;
  if (charAt(line, pos, ' ')) {
    space = true;
    ++pos;
  }
  const bool atEnd = pos >= line.size();
  v.stop = pos;
  if (checkNoValue && comma && (atEnd || (space && !digitAt(line, pos)))) {
    v.fault = OptionalFault::kNoValue;
    return v;
  }
  if (!space && !atEnd) {
    if (comma) v.fault = OptionalFault::kNoSpace;
    return v;
  }
  v.digit = digitAt(line, pos);
  skipDigits(line, pos);
  v.stop = pos;
  if (pos >= line.size()) return v;
  const char c = line[pos];
  if (isWhite(c)) {
    if (end == OptionalEnd::kLast && hasTrailing(line, pos)) v.fault = OptionalFault::kTrailing;
  } else if (!(end == OptionalEnd::kNextFollows && c == ',') && comma) {
    v.fault = OptionalFault::kVariable;
  }
  return v;
}

void optionalFinding(Call& call, OptionalFault fault, std::string_view label,
                     std::string_view name) {
  switch (fault) {
    case OptionalFault::kNone:
      break;
    case OptionalFault::kNoValue:
      call.error(kOptionalNoValue, label, kOfTheCommand, name, ".");
      break;
    case OptionalFault::kTrailing:
      call.error(kOptionalWrong, label, " de ", name, " !");
      break;
    case OptionalFault::kVariable:
      call.error(kOptionalWrong, label, ". Attention, ", name, kTakesNoVariables);
      break;
    case OptionalFault::kNoSpace:
      call.error(kOptionalNoSpace, label, " de ", name, " !");
      break;
  }
}

}  // namespace lintaro::special
