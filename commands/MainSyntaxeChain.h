// The command chain: the fixed, ordered list of checkers tried on every line
// that survived the lexical checks. The first checker that recognises the line
// claims it; commands of the expansions are reported when the mod may not use
// them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "analysis/MainSyntaxe.h"
#include "core/CheckContext.h"

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

// The chain, in order.
std::span<const ChainEntry> commandChain();

// Calls one entry's checker on the line.
void runEntry(CheckContext& ctx, const ChainEntry& entry, std::string& line, int* lineHandled,
              int lineIndex);

// Runs the chain on a line (lower-cased in place by the checkers). Returns
// true when a claiming entry was an "End" step.
bool runCommandChain(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

// The same, trying every entry in turn: the reference for runCommandChain.
bool runCommandChainInOrder(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

}  // namespace lintaro
