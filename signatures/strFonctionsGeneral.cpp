// The checkers of commands without arguments.
#include "signatures/strFonctionsGeneral.h"

#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro {

using namespace signature;

namespace {

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
  Call call(ctx, lineIndex, journalFailure<"strReturnFoncID">);
  call.alert(kAlerteLaFonction, name, alert);
  *lineHandled = 1;
}

}  // namespace

void strFonctionSeule(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                      int lineIndex) {
  checkCommand(ctx, name, CommandForm{Head::kNameAlone, false, 0},
               journalFailure<"strReturnFonctionSeule">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 if (hasTrailing(line, at.args))
                   call.error(kErreurLaFonction, name, kSansParametre);
               });
}

void strFonctionSeule_OptCall(CheckContext& ctx, std::string_view name, std::string& line,
                              int* lineHandled, int lineIndex, int callerType) {
  checkCommand(ctx, name, CommandForm{Head::kNameAlone, true, callerType},
               journalFailure<"synDetectFonctionSeule_OptCall">, line, lineHandled, lineIndex,
               [&](Call& call, const Located& at) {
                 if (hasTrailing(line, at.args)) {
                   call.error(kErreurLaFonction, name, kAppelantSeulement);
                 }
               });
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
