// The checkers of commands without arguments.
#include "signatures/strFonctionsGeneral.h"

#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

constexpr std::string_view kSeuleFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strReturnFonctionSeule\".\n\n";
constexpr std::string_view kOptCallFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"synDetectFonctionSeule_OptCall\".\n\n";
constexpr std::string_view kFoncIdFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
    "\"strReturnFoncID\".\n\n";

constexpr Cp1252Text kErreurLaFonction{" : erreur, la fonction "};
constexpr Cp1252Text kSansParametre{" ne prend pas de paramètre appelé !"};
constexpr Cp1252Text kAppelantSeulement{
    " peut prendre un appelant, mais pas de paramètre appelé !"};
constexpr Cp1252Text kAlerteLaFonction{" : alerte, la fonction \""};
constexpr Cp1252Text kInsuffisament{
    "\" est insuffisament documentée : sa syntaxe ne sera pas traitée par le débugueur !"};
constexpr Cp1252Text kCassee{"\" est cassée (mal programmée à l'origine) !"};

// The two checkers that only name a command and warn about it.
void alertOnly(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
               int lineIndex, std::string_view alert) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameAlone, true);
  if (!at.found) return;
  Call call(ctx, lineIndex, kFoncIdFailure);
  call.alert(kAlerteLaFonction, name, alert);
  *lineHandled = 1;
}

}  // namespace

void strFonctionSeule(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                      int lineIndex) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameAlone, false);
  if (!at.found) return;
  Call call(ctx, lineIndex, kSeuleFailure);
  if (hasTrailing(line, at.args)) call.error(kErreurLaFonction, name, kSansParametre);
  *lineHandled = 1;
}

void strFonctionSeule_OptCall(CheckContext& ctx, std::string_view name, std::string& line,
                              int* lineHandled, int lineIndex, int callerType) {
  foldLower(line);
  const Located at = locate(line, lowerName(name), Head::kNameAlone, true);
  if (!at.found) return;
  Call call(ctx, lineIndex, kOptCallFailure);
  if (at.callerForm) readCaller(call, line, at, name, callerType);
  if (!call.failed() && hasTrailing(line, at.args)) {
    call.error(kErreurLaFonction, name, kAppelantSeulement);
  }
  *lineHandled = 1;
}

void strFoncUndocumented(CheckContext& ctx, std::string_view name, std::string& line,
                         int* lineHandled, int lineIndex) {
  alertOnly(ctx, name, line, lineHandled, lineIndex, kInsuffisament);
}

void strFoncBroken(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                   int lineIndex) {
  alertOnly(ctx, name, line, lineHandled, lineIndex, kCassee);
}

}  // namespace lintaro
