// The checkers of commands whose arguments are numbers.
#include "expression/MainExpression.h"
#include "signatures/strFonctionsGeneral.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

// The findings of a literal read as the last parameter.
void lastLiteral(Call& call, std::string_view name, const NumberReading& value) {
  if (value.outcome == Number::kNotANumber) {
    call.error(Diag::kDernierParametreVariable, name);
  } else if (value.outcome == Number::kMissing) {
    call.error(Diag::kDernierParametreIntrouvable, name);
  }
}

// One integer literal: strFoncValShortApp and strFoncValShort.
void oneInteger(CheckContext& ctx, std::string_view name, int callerType, bool callerAllowed,
                bool withMinusRule, std::string& line, int* lineHandled, int lineIndex) {
  const CommandForm form{Head::kNameSeparator, callerAllowed, callerType};
  checkCommand(ctx, name, form, journalFailure<"strReturnFoncVal">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 const bool minus = withMinusRule && minusRule(lowerName(name));
                 lastLiteral(call, name, integerLiteral(line, at.args, minus));
               });
}

// One value expression, handed to the expression checker: the statistic
// commands. The expansion switches go to the expression checker unchanged.
void oneStatistic(CheckContext& ctx, std::string_view name, int callerType, bool callerAllowed,
                  std::string& line, int* lineHandled, int lineIndex, int tribunal, int bloodmoon) {
  // The caller's findings name one source, the value's another.
  const CommandForm form{Head::kNameSeparator, callerAllowed, callerType};
  checkCommand(ctx, name, form, journalFailure<"strReturnFoncVal">, line, lineHandled, lineIndex,
               [&](Call&, const Located& at) {
                 Call call(ctx, lineIndex, journalFailure<"strFoncValShortStatApp">);
                 std::size_t pos = at.args;
                 if (pos < line.size() && line[pos] == '-' && minusRule(lowerName(name))) ++pos;
                 const Reading token = listReading(line, pos);
                 if (token.text.empty()) {
                   call.error(Diag::kDernierParametreIntrouvable, name);
                 } else {
                   CheckContext switches{ctx.journal, ctx.info, tribunal, bloodmoon, ctx.lineCheckers};
                   if (expression(switches, token.text, lineIndex) < 1) {
                     call.error(Diag::kDernierParametreIncorrect, name);
                   }
                 }
               });
}

}  // namespace

void strFoncValShortApp(CheckContext& ctx, std::string_view name, int callerType, std::string& line,
                        int* lineHandled, int lineIndex) {
  oneInteger(ctx, name, callerType, true, false, line, lineHandled, lineIndex);
}

void strFoncValShort(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                     int lineIndex) {
  oneInteger(ctx, name, 0, false, true, line, lineHandled, lineIndex);
}

void strFoncValShortStatApp(CheckContext& ctx, std::string_view name, int callerType,
                            std::string& line, int* lineHandled, int lineIndex, int tribunal,
                            int bloodmoon) {
  oneStatistic(ctx, name, callerType, true, line, lineHandled, lineIndex, tribunal, bloodmoon);
}

void strFoncValShortStat(CheckContext& ctx, std::string_view name, std::string& line,
                         int* lineHandled, int lineIndex, int tribunal, int bloodmoon) {
  oneStatistic(ctx, name, 0, false, line, lineHandled, lineIndex, tribunal, bloodmoon);
}

void strFoncValFloat_choiceApp(CheckContext& ctx, std::string_view name, int callerType, int choice,
                               std::string& line, int* lineHandled, int lineIndex) {
  const CommandForm form{Head::kNameSeparator, choice == 1, callerType};
  checkCommand(ctx, name, form, journalFailure<"strFoncValFloatApp">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 lastLiteral(call, name, decimalLiteral(line, at.args, minusRule(lowerName(name))));
               });
}

void strFoncShortShort_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                                 int choice, std::string& line, int* lineHandled, int lineIndex) {
  // The journal is opened on every call, recognised or not.
  ctx.journal.openOrFail(journalFailure<"synDetectFace">);
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameSeparator, choice == 1);
  if (!at.found) return;
  Call call(ctx, lineIndex, journalFailure<"synDetectFace">);
  if (name == "Face") call.alert(Diag::kFaceCassee);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed()) {
    std::size_t pos = at.args;
    if (pos >= line.size() || !isDigit(line[pos])) {
      call.error(Diag::kPremiereValeurIncorrecte, name);
    } else {
      while (pos < line.size() && isDigit(line[pos]))
        ++pos;
      const SeparatedInteger second = separatedInteger(line, pos, true);
      if (second.separator == Separator::kMissing) {
        call.error(Diag::kDeuxiemeValeurIntrouvable);
      } else if (second.separator == Separator::kNoSpace) {
        call.error(Diag::kPremiereValeurSansEspace, name);
      } else if (second.notANumber(line)) {
        call.error(Diag::kDeuxiemeValeurVariable, name);
      }
    }
  }
  *lineHandled = 1;
}

}  // namespace lintaro
