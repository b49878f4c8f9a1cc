// The checkers of commands whose arguments are object identifiers.
#include "signatures/strFonctionsGeneral.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

void trailingAfterId(Call& call, std::string_view name, std::string_view identifier) {
  call.error(Diag::kParametreApresId, name, identifier);
}

// One required identifier, nothing after it: strFoncIDApp and strFoncID.
void oneIdentifier(CheckContext& ctx, std::string_view name, int callerType, int calledType,
                   bool callerAllowed, std::string& line, int* lineHandled, int lineIndex) {
  const CommandForm form{Head::kNameSeparator, callerAllowed, callerType};
  checkCommand(ctx, name, form, journalFailure<"strReturnFoncID">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 const Reading id = openReading(line, at.args);
                 if (id.text.empty()) call.error(Diag::kAppeleIntrouvable);
                 if (id.quotes == 3) call.error(Diag::kAppeleTropDeGuillemets, name);
                 if (call.failed()) return;
                 call.record(calledType, id.text);
                 if ((id.onBlank || id.quoted()) && hasTrailing(line, id.stop + 1)) {
                   trailingAfterId(call, name, id.text);
                 }
               });
}

}  // namespace

void strFoncIDApp(CheckContext& ctx, std::string_view name, int callerType, int calledType,
                  std::string& line, int* lineHandled, int lineIndex) {
  oneIdentifier(ctx, name, callerType, calledType, true, line, lineHandled, lineIndex);
}

void strFoncID(CheckContext& ctx, std::string_view name, int calledType, std::string& line,
               int* lineHandled, int lineIndex) {
  oneIdentifier(ctx, name, 0, calledType, false, line, lineHandled, lineIndex);
}

void strFonc_optID_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                             int calledType, int choice, std::string& line, int* lineHandled,
                             int lineIndex) {
  const CommandForm form{Head::kNameSeparator, choice == 1, callerType};
  checkCommand(ctx, name, form, journalFailure<"strFoncID_optShort_choiceApp">, line, lineHandled,
               lineIndex, [&](Call& call, const Located& at) {
                 const Reading id = listReading(line, at.args);
                 if (!id.text.empty()) {
                   if (name == "Activate" && id.text != "player") {
                     call.error(Diag::kActivateSeulementPlayer);
                   } else {
                     call.record(calledType, id.text);
                   }
                 }
                 if (!call.failed() && hasTrailing(line, id.stop)) {
                   trailingAfterId(call, name, id.text);
                 }
               });
}

void strFoncIDID_choiceApp(CheckContext& ctx, std::string_view name, std::string& line,
                           int callerType, int firstType, int secondType, int choice,
                           int* lineHandled, int lineIndex) {
  const CommandForm form{Head::kNameSeparator, choice == 1, callerType};
  checkCommand(ctx, name, form, journalFailure<"strFoncIDIDApp">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 const IdentifierPair ids =
                     readIdentifierPair(call, line, at.args, firstType, secondType);
                 if (ids.first.text.empty()) return;
                 const bool trailingTest =
                     ids.second ? ids.second->onBlank || ids.second->quoted()
                                : ids.separator == Separator::kMissing || ids.first.quoted();
                 if (!call.failed() && trailingTest && hasTrailing(line, ids.stop)) {
                   trailingAfterId(call, name, ids.last().text);
                 }
               });
}

}  // namespace lintaro
