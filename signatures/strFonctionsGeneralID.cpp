// The checkers of commands whose arguments are object identifiers.
#include "signatures/strFonctionsGeneral.h"
#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

constexpr std::string_view kFoncIdFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strReturnFoncID\".\n\n";
constexpr std::string_view kOptIdFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strFoncID_optShort_choiceApp\".\n\n";
constexpr std::string_view kIdIdFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strFoncIDIDApp\".\n\n";

constexpr Cp1252Text kActivatePlayer{
    " : erreur, la fonction Activate ne prend que \"Player\" en paramètre optionnel."};

void trailingAfterId(Call& call, std::string_view name, std::string_view identifier) {
  call.error(kErrorTheFunction, name, kNothingAfterId, identifier, kQuoteBang);
}

// One required identifier, nothing after it: strFoncIDApp and strFoncID.
void oneIdentifier(CheckContext& ctx, std::string_view name, int callerType, int calledType,
                   bool callerAllowed, std::string& line, int* lineHandled, int lineIndex) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameSeparator, callerAllowed);
  if (!at.found) return;
  Call call(ctx, lineIndex, kFoncIdFailure);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed()) {
    const Reading id = openReading(line, at.args);
    if (id.text.empty()) call.error(kNoCalled);
    if (id.quotes == 3) call.error(kCalledSyntax, name, kTooManyQuotesEnd);
    if (!call.failed()) {
      call.record(calledType, id.text);
      if ((id.onBlank || id.quoted()) && hasTrailing(line, id.stop + 1)) {
        trailingAfterId(call, name, id.text);
      }
    }
  }
  *lineHandled = 1;
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
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameSeparator, choice == 1);
  if (!at.found) return;
  Call call(ctx, lineIndex, kOptIdFailure);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed()) {
    const Reading id = listReading(line, at.args);
    if (!id.text.empty()) {
      if (name == "Activate" && id.text != "player") {
        call.error(kActivatePlayer);
      } else {
        call.record(calledType, id.text);
      }
    }
    if (!call.failed() && hasTrailing(line, id.stop)) trailingAfterId(call, name, id.text);
  }
  *lineHandled = 1;
}

void strFoncIDID_choiceApp(CheckContext& ctx, std::string_view name, std::string& line,
                           int callerType, int firstType, int secondType, int choice,
                           int* lineHandled, int lineIndex) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameSeparator, choice == 1);
  if (!at.found) return;
  Call call(ctx, lineIndex, kIdIdFailure);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed()) {
    const Reading first = listReading(line, at.args);
    if (first.text.empty()) {
      call.error(kNoFirst);
    } else {
      call.record(firstType, first.text);
      std::size_t pos = first.stop;
      const Separator separator = separatorStep(line, pos);
      const Reading* last = &first;
      Reading second;
      bool trailingTest = separator == Separator::kMissing || first.quoted();
      if (separator == Separator::kSpace) {
        second = lastReading(line, pos);
        last = &second;
        if (second.text.empty()) {
          call.error(kNoSecond);
        } else {
          call.record(secondType, second.text);
        }
        pos = second.stop;
        trailingTest = second.onBlank || second.quoted();
      }
      if (!call.failed() && trailingTest && hasTrailing(line, pos)) {
        trailingAfterId(call, name, last->text);
      }
    }
  }
  *lineHandled = 1;
}

}  // namespace lintaro
