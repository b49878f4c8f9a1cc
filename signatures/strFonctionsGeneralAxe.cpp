// The checkers of commands whose first argument is an axis letter.
#include "signatures/strFonctionsGeneral.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

struct Axis {
  std::string text;
  std::size_t stop = 0;
  bool onBlank = false;
};

// The axis: up to the end, a blank (or, when `commaEnds`, a comma), at most
// 49 characters; quotes are kept.
Axis readAxis(std::string_view line, std::size_t pos, bool commaEnds) {
  Axis axis;
  while (pos < line.size() && axis.text.size() < kNameMax) {
    const char c = line[pos];
    if (isBlank(c) || (commaEnds && c == ',')) {
      axis.onBlank = isBlank(c);
      break;
    }
    axis.text.push_back(c);
    ++pos;
  }
  axis.stop = pos;
  return axis;
}

// Journals what is wrong with the axis; true when it is x, y or z.
bool checkAxis(Call& call, std::string_view name, const Axis& axis) {
  if (axis.text.empty()) {
    call.error(Diag::kAxeIntrouvable);
  } else if (axis.text != "x" && axis.text != "y" && axis.text != "z") {
    call.error(Diag::kAxeNonXyz, name);
  }
  return !call.failed();
}

// A variable in place of the value, which only SetAngle and SetPos accept.
void variableValue(Call& call, CheckContext& ctx, std::string_view name, std::string_view line,
                   std::size_t pos, int tribunal) {
  const Reading variable = openReading(line, pos);
  if (variable.text.empty()) call.error(Diag::kAppeleIntrouvable);
  if (variable.quotes == 3) call.error(Diag::kAppeleTropDeGuillemets, name);
  if (!call.failed()) {
    call.record(code::GLOBALE, variable.text);
    if (tribunal == 0) call.error(Diag::kVariableSansTribunal, name);
  }
  // Asked whatever was found before: SetPos takes only the script's locals.
  if (name == "SetPos" && !variable.text.empty() && ctx.info.IsLocal(variable.text) != 1) {
    call.error(Diag::kSetPosVariableGlobale);
  }
  if (!call.failed() && variable.quoted() && hasTrailing(line, variable.stop + 1)) {
    call.error(Diag::kParametreApresValeurAxe, name, variable.text);
  }
}

}  // namespace

void strFoncAxe(CheckContext& ctx, std::string_view name, int callerType, std::string& line,
                int* lineHandled, int lineIndex) {
  checkCommand(
      ctx, name, CommandForm{Head::kNameSeparator, true, callerType}, journalFailure<"strFoncAxe">,
      line, lineHandled, lineIndex, [&](Call& call, const Located& at) {
        const Axis axis = readAxis(line, at.args, false);
        if (checkAxis(call, name, axis) && axis.onBlank && hasTrailing(line, axis.stop + 1)) {
          call.error(Diag::kParametreApresAxe, name, axis.text);
        }
      });
}

void strFoncAxeFloat(CheckContext& ctx, std::string_view name, int callerType, std::string& line,
                     int* lineHandled, int lineIndex, int tribunal) {
  checkCommand(ctx, name, CommandForm{Head::kNameSeparator, true, callerType},
               journalFailure<"strFoncAxeFloat">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 const Axis axis = readAxis(line, at.args, true);
                 if (!checkAxis(call, name, axis)) return;
                 std::size_t pos = axis.stop;
                 for (const char skipped : {',', ' ', '-'}) {
                   if (pos < line.size() && line[pos] == skipped) ++pos;
                 }
                 if (pos >= line.size()) {
                   call.error(Diag::kDernierParametreIntrouvable, name);
                 } else if (isDigit(line[pos])) {
                   const NumberReading value = decimalDigits(line, pos);
                   if (value.outcome == Number::kNotANumber) {
                     call.error(Diag::kDernierParametreVariable, name);
                   }
                 } else if (name != "SetAngle" && name != "SetPos") {
                   call.error(Diag::kDernierParametreVariable, name);
                 } else {
                   variableValue(call, ctx, name, line, pos, tribunal);
                 }
               });
}

}  // namespace lintaro
