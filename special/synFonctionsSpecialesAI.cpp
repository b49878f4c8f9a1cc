// The checkers of the AI package commands. The seven commands share one
// reading: an optional caller, the names (target, actor, cell), a run of whole
// numbers, the AIWander idles and the optional Reset; each command is a row
// of data for that reading.
#include <span>
#include <string>

#include "core/MainTriInfo.h"
#include "special/synFonctionsSpeciales.h"
#include "special/synFonctionsSpecialesCommon.h"

namespace lintaro {

using namespace special;

namespace {

struct Package {
  Command command;
  std::span<const int> names;           // the codes of the names read first, in order
  std::span<const WholeField> numbers;  // then the whole numbers
  bool idles = false;                   // AIWander: Idle2 to Idle9 before the Reset
  bool resetAlert = false;              // AIActivate: a Reset value is risky
};

constexpr int kTarget[] = {code::OBJET};
constexpr int kActor[] = {code::PERSONNE};
constexpr int kActorCell[] = {code::PERSONNE, code::CELLULE};

// A number of a package, and the finding when its digit is missing. Every
// number but the first argument may follow a comma and a space; coordinates
// may be negative.
constexpr WholeField number(Gap gap, bool minus, Message missing) {
  return {gap, {}, minus, missing};
}
// The destination of AITravel is named as Position names it; the one of the
// escorts and followers by its axis alone.
constexpr WholeField kTravel[] = {
    number(Gap::kNone, true, {Diag::kPositionAxe, Holes::kNameWord, "X"}),
    number(Gap::kLoose, true, {Diag::kPositionAxe, Holes::kNameWord, "Y"}),
    number(Gap::kLoose, true, {Diag::kPositionAxe, Holes::kNameWord, "Z"})};
constexpr WholeField kDurationXYZ[] = {
    number(Gap::kLoose, false, {Diag::kDureeIncorrecte}),
    number(Gap::kLoose, true, {Diag::kDestinationIncorrecte, Holes::kWordName, "X"}),
    number(Gap::kLoose, true, {Diag::kDestinationIncorrecte, Holes::kWordName, "Y"}),
    number(Gap::kLoose, true, {Diag::kDestinationIncorrecte, Holes::kWordName, "Z"})};
constexpr WholeField kWander[] = {number(Gap::kNone, false, {Diag::kRayonIncorrect}),
                                  number(Gap::kLoose, false, {Diag::kDureeIncorrecte}),
                                  number(Gap::kLoose, false, {Diag::kTempsIncorrect})};

// Every AI command accepts a caller and opens the journal on every call; what
// stops the run when the journal cannot be opened names the checker's module.
constexpr Command aiCommand(std::string_view name, std::string_view word,
                            std::string_view failure) {
  return {name, word, true, true, failure};
}

// clang-format off
constexpr Package kAIActivate  {aiCommand("AIActivate", "aiactivate", journalFailure<"synDetectAIActivate">), kTarget, {}, false, true};
constexpr Package kAITravel    {aiCommand("AITravel", "aitravel", journalFailure<"synDetectAITravel">), {}, kTravel};
constexpr Package kAIEscort    {aiCommand("AIEscort", "aiescort", journalFailure<"synDetectAIEscort">), kActor, kDurationXYZ};
constexpr Package kAIEscortCell{aiCommand("AIEscortCell", "aiescortcell", journalFailure<"synDetectAIEscortCell">), kActorCell, kDurationXYZ};
constexpr Package kAIFollow    {aiCommand("AIFollow", "aifollow", journalFailure<"synDetectAIFollow">), kActor, kDurationXYZ};
constexpr Package kAIFollowCell{aiCommand("AIFollowCell", "aifollowcell", journalFailure<"synDetectAIFollowCell">), kActorCell, kDurationXYZ};
constexpr Package kAIWander    {aiCommand("AIWander", "aiwander", journalFailure<"synDetectAIWander">), {}, kWander, true};
// clang-format on

constexpr std::string_view kIdles[] = {"Idle2", "Idle3", "Idle4", "Idle5",
                                       "Idle6", "Idle7", "Idle8", "Idle9"};

void aiPackage(CheckContext& ctx, const Package& p, std::string& line, int* lineHandled,
               int lineIndex) {
  const Located at = locateCommand(ctx, line, p.command);
  if (!at.found) return;
  Call call(ctx, lineIndex, p.command.failure);
  const std::string_view name = p.command.name;
  if (at.callerForm) readCaller(call, line, at, p.command, {.type = code::PERSONNE});

  // Every name but the first may follow a comma and a space. An empty name
  // ("" or nothing) names nothing and is not recorded.
  std::size_t pos = at.args;
  for (std::size_t i = 0; i < p.names.size() && !call.failed(); ++i) {
    if (i > 0) passLooseSeparator(line, pos);
    const Reading r = readName(line, pos, kListName);
    call.recordName(p.names[i], r.text);
    pos = r.stop;
  }
  if (!call.failed()) readWholeRun(call, line, pos, p.numbers, name);

  if (p.idles) {
    for (const std::string_view idleName : kIdles) {
      if (call.failed()) break;
      const OptionalValue idle = readOptionalValue(line, pos, true, OptionalEnd::kNextFollows);
      optionalFinding(call, idle.fault, idleName, name);
      pos = idle.stop;
    }
  }
  if (!call.failed()) {
    const OptionalValue reset = readOptionalValue(line, pos, true, OptionalEnd::kLast);
    if (p.resetAlert && reset.digit) call.alert(Diag::kAIActivateReset);
    optionalFinding(call, reset.fault, p.idles ? "Reset" : "", name);
  }
  *lineHandled = 1;
}

}  // namespace

void synDetectAIActivate(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAIActivate, line, lineHandled, lineIndex);
}
void synDetectAIEscort(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAIEscort, line, lineHandled, lineIndex);
}
void synDetectAIEscortCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAIEscortCell, line, lineHandled, lineIndex);
}
void synDetectAIFollow(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAIFollow, line, lineHandled, lineIndex);
}
void synDetectAIFollowCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAIFollowCell, line, lineHandled, lineIndex);
}
void synDetectAITravel(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAITravel, line, lineHandled, lineIndex);
}
void synDetectAIWander(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  aiPackage(ctx, kAIWander, line, lineHandled, lineIndex);
}

}  // namespace lintaro
