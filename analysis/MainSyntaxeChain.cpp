#include "analysis/MainSyntaxeChain.h"

#include <algorithm>
#include <vector>

#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "core/MainTriInfo.h"
#include "signatures/strFonctionsGeneral.h"

namespace lintaro {

namespace {

using enum Checker;
using namespace code;

constexpr Expansion T = Expansion::kTribunal;
constexpr Expansion B = Expansion::kBloodmoon;

// clang-format off
constexpr ChainEntry kChain[] = {
    // Block keywords without a test.
    {"Else", kFonctionSeule, {}},
    {"Endif", kFonctionSeule, {}},
    {"EndWhile", kFonctionSeule, {}},
    // The "End" step.
    {"End", kFonc_optID_choiceApp, {.caller = OBJET, .called = NOM_DU_SCRIPT, .choice = 0}, {}, true},
    {"End", kFonctionSeule, {}, {}, true},
    {"Return", kFonctionSeule, {}},

    // Base game, part one.
    {"EnableInventoryMenu", kFonctionSeule, {}},
    {"EnableMagicMenu", kFonctionSeule, {}},
    {"EnableMapMenu", kFonctionSeule, {}},
    {"EnableStatsMenu", kFonctionSeule, {}},
    {"EnableBirthMenu", kFonctionSeule, {}},
    {"EnableClassMenu", kFonctionSeule, {}},
    {"EnableNameMenu", kFonctionSeule, {}},
    {"EnableRaceMenu", kFonctionSeule, {}},
    {"EnableStatReviewMenu", kFonctionSeule, {}},
    {"EnableLevelUp", kFonctionSeule, {}},
    {"EnableRest", kFonctionSeule, {}},
    {"EnablePlayerControls", kFonctionSeule, {}},
    {"EnablePlayerFighting", kFonctionSeule, {}},
    {"EnablePlayerJumping", kFonctionSeule, {}},
    {"EnablePlayerLooking", kFonctionSeule, {}},
    {"EnablePlayerMagic", kFonctionSeule, {}},
    {"EnablePlayerViewSwitch", kFonctionSeule, {}},
    {"EnableVanityMode", kFonctionSeule, {}},
    {"DisablePlayerControls", kFonctionSeule, {}},
    {"DisablePlayerFighting", kFonctionSeule, {}},
    {"DisablePlayerJumping", kFonctionSeule, {}},
    {"DisablePlayerLooking", kFonctionSeule, {}},
    {"DisablePlayerMagic", kFonctionSeule, {}},
    {"DisablePlayerViewSwitch", kFonctionSeule, {}},
    {"DisableVanityMode", kFonctionSeule, {}},
    {"EnableTeleporting", kFonctionSeule, {}},
    {"DisableTeleporting", kFonctionSeule, {}},

    // Tribunal, first run.
    {"EnableLevitation", kFonctionSeule, {}, T},
    {"DisableLevitation", kFonctionSeule, {}, T},

    // Base game, part two.
    {"Enable", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"Disable", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"Activate", kFonc_optID_choiceApp, {.caller = OBJET, .called = PERSONNE, .choice = 1}},
    {"Activate", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"AddSoulGem", kFoncIDID_choiceApp, {.caller = CONTENANT, .called = CREATURE, .second = MISC, .choice = 1}},
    {"AddSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"AddTopic", kFoncIDApp, {.caller = PERSONNE, .called = TOPIC}},
    {"Cast", kFoncIDID_choiceApp, {.caller = OBJET, .called = SORT, .second = OBJET, .choice = 1}},
    {"CellUpdate", kFoncBroken, {}},
    {"CenterOnCell", kFoncID, {.called = CELLULE}},
    {"Coc", kFoncID, {.called = CELLULE}},
    {"ClearForceSneak", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"ClearInfoActor", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"DontSaveObject", kFonctionSeule, {}},
    {"DropSoulGem", kFoncIDApp, {.caller = CONTENANT, .called = MISC}},
    {"Fall", kFoncUndocumented, {}},
    {"FixMe", kFonctionSeule, {}},
    {"ForceGreeting", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"ForceSneak", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GoodBye", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GoToJail", kFonctionSeule, {}},
    {"LowerRank", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"MenuTest", kFonctionSeule, {}},
    {"PayFineThief", kFonctionSeule, {}},
    {"PayFine", kFonctionSeule, {}},
    {"PCClearExpelled", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCClearExpelled", kFonctionSeule, {}},
    {"PCExpell", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCExpell", kFonctionSeule, {}},
    {"PCForce3rdPerson", kFonctionSeule, {}},
    {"PCForce1stPerson", kFonctionSeule, {}},
    {"PCJoinFaction", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCJoinFaction", kFonctionSeule, {}},
    {"PCLowerRank", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCLowerRank", kFonctionSeule, {}},
    {"PCRaiseRank", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCRaiseRank", kFonctionSeule, {}},
    {"PlaySound", kFoncID, {.called = SON}},
    {"PlaySound3D", kFoncIDApp, {.caller = OBJET, .called = SON}},
    {"PlayLoopSound3D", kFoncIDApp, {.caller = OBJET, .called = SON}},
    {"RaiseRank", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"RemoveSoulGem", kFoncIDApp, {.caller = CONTENANT, .called = CREATURE}},
    {"RemoveSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"RemoveSpellEffects", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"Resurrect", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"SetAtStart", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"ShowMap", kFoncID, {.called = CELLULE}},
    {"ShowRestMenu", kFonctionSeule, {}},
    {"SkipAnim", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"StartCombat", kFoncIDApp, {.caller = PERSONNE, .called = PERSONNE}},
    {"StartScript", kFoncID, {.called = SCRIPT}},
    {"StopCombat", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"StopScript", kFoncID, {.called = SCRIPT}},
    {"StopSound", kFoncID, {.called = SON}},
    {"StreamMusic", kFoncID, {.called = FICHIER}},
    {"Unlock", kFonctionSeule_OptCall, {.caller = PORTE_OU_COFFRE}},
    {"WakeUpPC", kFonctionSeule, {}},

    // Tribunal, second run.
    {"ClearForceJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ClearForceMoveJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ClearForceRun", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"Equip", kFoncIDApp, {.caller = PERSONNE, .called = OBJET_EQUIPABLE}, T},
    {"ExplodeSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}, T},
    {"ForceJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ForceMoveJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ForceRun", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},

    // Bloodmoon.
    {"BecomeWerewolf", kFonctionSeule_OptCall, {.caller = PERSONNE}, B},
    {"SetWerewolfAcrobatics", kFoncUndocumented, {}, B},
    {"TurnMoonRed", kFonctionSeule, {}, B},
    {"TurnMoonWhite", kFonctionSeule, {}, B},
    {"UndoWerewolf", kFonctionSeule_OptCall, {.caller = PERSONNE}, B},
};
// clang-format on

constexpr std::string_view kFailure =
    "Impossible d'ouvrir le fichier temporaire \"DbTempTES3\" depuis le fichier source "
    "\"MainSyntaxe\"\n\n";
constexpr Cp1252Text kTribunalDependante{" : fonction Tribunal-dépendante !"};
constexpr Cp1252Text kBloodmoonDependante{" : fonction Bloodmoon-dépendante !"};

// The lower-case command words of the chain in a trie, so that the entries
// whose word stands at a position of a line are found in one walk.
class CommandTrie {
 public:
  CommandTrie() {
    nodes_.emplace_back();
    for (std::size_t i = 0; i < std::size(kChain); ++i) {
      std::uint32_t node = 0;
      for (const char c : kChain[i].name)
        node = child(node, foldChar(c));
      nodes_[node].entries.push_back(static_cast<std::uint16_t>(i));
    }
  }

  // Adds the entries whose word begins the text at `pos`.
  void collect(std::string_view text, std::size_t pos, std::vector<std::uint16_t>& out) const {
    std::uint32_t node = 0;
    for (; pos < text.size(); ++pos) {
      node = find(node, text[pos]);
      if (node == 0) return;
      out.insert(out.end(), nodes_[node].entries.begin(), nodes_[node].entries.end());
    }
  }

 private:
  struct Node {
    std::vector<std::pair<char, std::uint32_t>> children;
    std::vector<std::uint16_t> entries;
  };

  std::uint32_t find(std::uint32_t node, char c) const {
    for (const auto& [letter, next] : nodes_[node].children) {
      if (letter == c) return next;
    }
    return 0;
  }
  std::uint32_t child(std::uint32_t node, char c) {
    if (const std::uint32_t next = find(node, c); next != 0) return next;
    const auto next = static_cast<std::uint32_t>(nodes_.size());
    nodes_.emplace_back();
    nodes_[node].children.emplace_back(c, next);
    return next;
  }

  std::vector<Node> nodes_;
};

const CommandTrie& commandTrie() {
  static const CommandTrie trie;
  return trie;
}

// The expansion error after a claim by an entry of an expansion run.
void expansionError(CheckContext& ctx, const ChainEntry& entry, int lineIndex) {
  if (entry.expansion == Expansion::kTribunal && ctx.tribunal == 0) {
    ctx.journal.finding(lineIndex, kError, kFailure, kTribunalDependante);
  } else if (entry.expansion == Expansion::kBloodmoon && ctx.bloodmoon == 0) {
    ctx.journal.finding(lineIndex, kError, kFailure, kBloodmoonDependante);
  }
}

}  // namespace

std::span<const ChainEntry> commandChain() {
  return kChain;
}

void runEntry(CheckContext& ctx, const ChainEntry& e, std::string& line, int* lineHandled,
              int lineIndex) {
  const ChainArgs& a = e.args;
  switch (e.checker) {
    case kFonctionSeule:
      strFonctionSeule(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFonctionSeule_OptCall:
      strFonctionSeule_OptCall(ctx, e.name, line, lineHandled, lineIndex, a.caller);
      break;
    case kFoncUndocumented:
      strFoncUndocumented(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFoncBroken:
      strFoncBroken(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFoncIDApp:
      strFoncIDApp(ctx, e.name, a.caller, a.called, line, lineHandled, lineIndex);
      break;
    case kFoncID:
      strFoncID(ctx, e.name, a.called, line, lineHandled, lineIndex);
      break;
    case kFonc_optID_choiceApp:
      strFonc_optID_choiceApp(ctx, e.name, a.caller, a.called, a.choice, line, lineHandled,
                              lineIndex);
      break;
    case kFoncIDID_choiceApp:
      strFoncIDID_choiceApp(ctx, e.name, line, a.caller, a.called, a.second, a.choice, lineHandled,
                            lineIndex);
      break;
  }
}

bool runCommandChain(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  if (*lineHandled != 0) return false;
  foldLower(line);
  // A checker can only claim the line when its command word stands at the
  // start of the line (after blanks) or right after a "->": try only those
  // entries, in chain order.
  std::size_t start = 0;
  while (start < line.size() && isBlank(line[start]))
    ++start;
  // Reused from line to line; no checker runs the chain again from inside it.
  thread_local std::vector<std::uint16_t> candidates;
  candidates.clear();
  const CommandTrie& trie = commandTrie();
  trie.collect(line, start, candidates);
  for (std::size_t p = line.find("->", start); p != std::string::npos; p = line.find("->", p + 1)) {
    trie.collect(line, p + 2, candidates);
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  for (const std::uint16_t i : candidates) {
    runEntry(ctx, kChain[i], line, lineHandled, lineIndex);
    if (*lineHandled != 0) {
      expansionError(ctx, kChain[i], lineIndex);
      return kChain[i].endStep;
    }
  }
  return false;
}

bool runCommandChainInOrder(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  for (const ChainEntry& entry : kChain) {
    if (*lineHandled != 0) break;
    runEntry(ctx, entry, line, lineHandled, lineIndex);
    if (*lineHandled != 0) {
      expansionError(ctx, entry, lineIndex);
      return entry.endStep;
    }
  }
  return false;
}

}  // namespace lintaro
