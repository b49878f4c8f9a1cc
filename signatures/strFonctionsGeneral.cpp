// The checkers of commands without arguments.
#include "signatures/strFonctionsGeneral.h"

#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

// The two checkers that only name a command and warn about it.
void alertOnly(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
               int lineIndex, Diag alert) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameAlone, true);
  if (!at.found) return;
  Call call(ctx, lineIndex, journalFailure<"strReturnFoncID">);
  call.alert(alert, name);
  *lineHandled = 1;
}

}  // namespace

void strFonctionSeule(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                      int lineIndex) {
  checkCommand(ctx, name, CommandForm{Head::kNameAlone, false, 0},
               journalFailure<"strReturnFonctionSeule">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 if (hasTrailing(line, at.args)) call.error(Diag::kFonctionSansParametre, name);
               });
}

void strFonctionSeule_OptCall(CheckContext& ctx, std::string_view name, std::string& line,
                              int* lineHandled, int lineIndex, int callerType) {
  checkCommand(ctx, name, CommandForm{Head::kNameAlone, true, callerType},
               journalFailure<"synDetectFonctionSeule_OptCall">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 if (hasTrailing(line, at.args)) {
                   call.error(Diag::kFonctionAppelantSeulement, name);
                 }
               });
}

void strFoncUndocumented(CheckContext& ctx, std::string_view name, std::string& line,
                         int* lineHandled, int lineIndex) {
  alertOnly(ctx, name, line, lineHandled, lineIndex, Diag::kFonctionNonDocumentee);
}

void strFoncBroken(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                   int lineIndex) {
  alertOnly(ctx, name, line, lineHandled, lineIndex, Diag::kFonctionCassee);
}

}  // namespace lintaro
