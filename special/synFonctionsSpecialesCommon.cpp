#include "special/synFonctionsSpecialesCommon.h"

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
  switch (message.holes) {
    case Holes::kNone:
      call.error(message.id);
      break;
    case Holes::kName:
      call.error(message.id, name);
      break;
    case Holes::kWordName:
      call.error(message.id, message.word, name);
      break;
    case Holes::kNameWord:
      call.error(message.id, name, message.word);
      break;
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

void optionalFinding(Call& call, OptionalFault fault, std::string_view parameter,
                     std::string_view name) {
  const bool named = !parameter.empty();
  switch (fault) {
    case OptionalFault::kNone:
      break;
    case OptionalFault::kNoValue:
      if (named) {
        call.error(Diag::kOptionnelNommeSansValeur, parameter, name);
      } else {
        call.error(Diag::kOptionnelSansValeur, name);
      }
      break;
    case OptionalFault::kTrailing:
      if (named) {
        call.error(Diag::kOptionnelNommeSuivi, parameter, name);
      } else {
        call.error(Diag::kOptionnelSuivi, name);
      }
      break;
    case OptionalFault::kVariable:
      if (named) {
        call.error(Diag::kOptionnelNommeVariable, parameter, name);
      } else {
        call.error(Diag::kOptionnelVariable, name);
      }
      break;
    case OptionalFault::kNoSpace:
      if (named) {
        call.error(Diag::kOptionnelNommeSansEspace, parameter, name);
      } else {
        call.error(Diag::kOptionnelSansEspace, name);
      }
      break;
  }
}

}  // namespace lintaro::special
