// The rows of the command chain and of the expression checker's function
// table: a command word, the checker that reads its arguments, the checker's
// integer arguments and the expansion the command belongs to. The checkers
// themselves sit above the expression checker, so a row is run through the
// callable the run hands in (LineCheckers::runEntry).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lintaro {

enum class Checker : std::uint8_t {
  // Assignments and logical tests.
  kSetTo,
  kTest,
  // Signature checkers.
  kFonctionSeule,
  kFonctionSeule_OptCall,
  kFoncUndocumented,
  kFoncBroken,
  kFoncIDApp,
  kFoncID,
  kFonc_optID_choiceApp,
  kFoncIDID_choiceApp,
  kFoncValShortApp,
  kFoncValShort,
  kFoncValShortStatApp,
  kFoncValShortStat,
  kFoncValFloat_choiceApp,
  kFoncShortShort_choiceApp,
  kFoncIDshort_choiceApp,
  kFoncID_optShort_choiceApp,
  kFoncIDIDshort,
  kFoncAxe,
  kFoncAxeFloat,
  // Special-function checkers: texts, placement and position.
  kMessageBox,
  kChoice,
  kSay,
  kPlaceAtMe,
  kPlaceAtPC,
  kPosition,
  kPositionCell,
  kPlaceItem,
  kPlaceItemCell,
  // Special-function checkers: fades, region weather, sounds, animation groups.
  kFadeTo,
  kModRegion,
  kPlaySoundVP,
  kPlaySound3DVP,
  kPlayLoopSound3DVP,
  kLoopGroup,
  // Faction reputation and the quest journal.
  kModPCFacRep,
  kSetPCFacRep,
  kJournal,
  // AI packages.
  kAIActivate,
  kAIEscort,
  kAIEscortCell,
  kAIFollow,
  kAIFollowCell,
  kAITravel,
  kAIWander,
};

enum class Expansion : std::uint8_t { kNone, kTribunal, kBloodmoon };

// The integer arguments of a checker, by the names of its parameters.
struct ChainArgs {
  int caller = 0;  // callerType: type code of the object before "->"
  int called = 0;  // calledType, or firstType of two identifiers
  int second = 0;  // secondType
  int choice = 0;  // 1: the caller form is accepted
};

struct ChainEntry {
  std::string_view name;  // the command as the game spells it
  Checker checker;
  ChainArgs args;
  Expansion expansion = Expansion::kNone;
  bool endStep = false;  // a claim sets the "End" seen state
};

// What stops the run when the line analyser (the chain, the lexical checks,
// the underscore warnings, the expressions) cannot open the journal.
inline constexpr std::string_view kSyntaxeJournalFailure =
    "Impossible d'ouvrir le fichier temporaire \"DbTempTES3\" depuis le fichier source "
    "\"MainSyntaxe\"\n\n";

// Longest line content the analyser keeps; the rest of a longer line is
// dropped.
inline constexpr std::size_t kLineContentMax = 4999;

}  // namespace lintaro
