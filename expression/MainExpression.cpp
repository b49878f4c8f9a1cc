#include "expression/MainExpression.h"

#include <cstdint>
#include <string>
#include <vector>

#include "expression/ChainIndex.h"
#include "core/MainDivers.h"
#include "core/MainTriInfo.h"

namespace lintaro {

namespace {

using enum Checker;
using namespace code;

constexpr Expansion T = Expansion::kTribunal;
constexpr Expansion B = Expansion::kBloodmoon;

// The value functions, tried in this order on an operand. "GetPCFacRep",
// "GetPCRank" and "PCExpelled" are tried first with their argument, then bare.
// clang-format off
constexpr ChainEntry kFunctions[] = {
    {"CellChanged", kFonctionSeule, {}},
    {"GetAIPackageDone", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAngle", kFoncAxe, {.caller = OBJET}},
    {"GetAttacked", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetBlightDisease", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetButtonPressed", kFonctionSeule, {}},
    {"GetCommonDisease", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetCurrentAIPackage", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetCurrentTime", kFonctionSeule, {}},
    {"GetCurrentWeather", kFonctionSeule, {}},
    {"GetDeadCount", kFoncID, {.called = PERSONNE}},
    {"GetDetected", kFoncIDApp, {.caller = PERSONNE, .called = PERSONNE}},
    {"GetDisabled", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetDistance", kFoncIDApp, {.caller = OBJET, .called = OBJET}},
    {"GetEffect", kFoncIDApp, {.caller = PERSONNE, .called = EFFET}},
    {"GetFactionReaction", kFoncIDID_choiceApp, {.caller = OBJET, .called = FACTION, .second = FACTION, .choice = 0}},
    {"GetForceSneak", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetHealthGetRatio", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetInterior", kFonctionSeule, {}},
    {"GetItemCount", kFoncIDApp, {.caller = CONTENANT, .called = CONTENU}},
    {"GetJournalIndex", kFoncID, {.called = QUETE}},
    {"GetLOS", kFoncIDApp, {.caller = PERSONNE, .called = OBJET}},
    {"GetLineOfSight", kFoncIDApp, {.caller = PERSONNE, .called = OBJET}},
    {"GetLocked", kFonctionSeule_OptCall, {.caller = PORTE_OU_COFFRE}},
    {"GetMasserPhase", kFonctionSeule, {}},
    {"GetSecundaPhase", kFonctionSeule, {}},
    {"GetPCCell", kFoncID, {.called = CELLULE}},
    {"GetPCFacRep", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"GetPCFacRep", kFonctionSeule, {}},
    {"GetPCRank", kFonc_optID_choiceApp, {.caller = PERSONNE, .called = FACTION, .choice = 1}},
    {"GetPCRank", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetPCSleep", kFonctionSeule, {}},
    {"GetPlayerControlsDisabled", kFonctionSeule, {}},
    {"GetPlayerFightingDisabled", kFonctionSeule, {}},
    {"GetPlayerJumpingDisabled", kFonctionSeule, {}},
    {"GetPlayerMagicDisabled", kFonctionSeule, {}},
    {"GetPlayerLookingDisabled", kFonctionSeule, {}},
    {"GetPlayerViewSwitch", kFoncBroken, {}},
    {"GetVanityModeDisabled", kFonctionSeule, {}},
    {"GetPos", kFoncAxe, {.caller = OBJET}},
    {"GetRace", kFoncIDApp, {.caller = PERSONNE, .called = RACE}},
    {"GetSecondsPassed", kFonctionSeule, {}},
    {"GetSoundPlaying", kFoncID, {.called = SON}},
    {"GetSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"GetSpellEffects", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"GetStandingActor", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"GetStandingPC", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"GetStartingAngle", kFoncAxe, {.caller = OBJET}},
    {"GetStartingPos", kFoncAxe, {.caller = OBJET}},
    {"GetTarget", kFoncIDApp, {.caller = PERSONNE, .called = PERSONNE}},
    {"GetWindSpeed", kFonctionSeule, {}},
    {"HasItemEquipped", kFoncIDApp, {.caller = PERSONNE, .called = OBJET_EQUIPABLE}},
    {"HasSoulGem", kFoncIDApp, {.caller = CONTENANT, .called = CREATURE}},
    {"HitAttemptOnMe", kFoncIDApp, {.caller = PERSONNE, .called = ARME}},
    {"HitOnMe", kFoncIDApp, {.caller = PERSONNE, .called = ARME}},
    {"MenuMode", kFonctionSeule, {}},
    {"OnActivate", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"OnDeath", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"OnKnockOut", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"OnMurder", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"OnRepair", kFoncBroken, {}},
    {"PCExpelled", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCExpelled", kFonctionSeule, {}},
    {"PCGet3rdPerson", kFonctionSeule, {}},
    {"Random", kFoncValShort, {}},
    {"RepairedOnMe", kFoncIDApp, {.caller = CONTENU, .called = INSTRUMENT_DE_REPARATION}},
    {"SameFaction", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"SayDone", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"ScriptRunning", kFoncID, {.called = SCRIPT}},
    {"UsedOnMe", kFoncBroken, {}},
    {"XBox", kFonctionSeule, {}},
    {"GetAcrobatics", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAgility", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAlarm", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAlchemy", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAlteration", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetArmorBonus", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetArmorer", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAthletics", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAttackBonus", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetAxe", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetBlindness", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetBlock", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetBluntWeapon", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetCastPenalty", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetChameleon", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetConjuration", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetDefendBonus", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetDestruction", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetDisposition", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetEnchant", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetEndurance", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetFatigue", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetFight", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetFlee", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetFlying", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetHandToHand", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetHealth", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetHeavyArmor", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetHello", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetIllusion", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetIntelligence", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetInvisible", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetInvisibile", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetLevel", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetLightArmor", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetLongBlade", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetLuck", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetMarksman", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetMediumArmor", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetMagicka", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetMercantile", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetMysticism", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetParalysis", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetPCCrimeLevel", kFonctionSeule, {}},
    {"GetPCVisionBonus", kFonctionSeule, {}},
    {"GetPersonality", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetReputation", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistBlight", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistCorprus", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistDisease", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistFire", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistFrost", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistMagicka", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistNormalWeapons", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistParalysis", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistPoison", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetResistShock", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetRestoration", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSecurity", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetShortBlade", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSilence", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSneak", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSpear", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSpeechCraft", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSpeed", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetStrength", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSuperJump", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetSwimSpeed", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetUnarmored", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetWaterBreathing", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetWaterWalking", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GetWillPower", kFonctionSeule_OptCall, {.caller = PERSONNE}},

    // Tribunal.
    {"GetArmorType", kFoncValShortApp, {.caller = PERSONNE}, T},
    {"GetCollidingActor", kFonctionSeule_OptCall, {.caller = OBJET}, T},
    {"GetCollidingPC", kFonctionSeule_OptCall, {.caller = OBJET}, T},
    {"GetForceJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"GetForceMoveJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"GetForceRun", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"GetPCJumping", kFonctionSeule, {}, T},
    {"GetPCRunning", kFonctionSeule, {}, T},
    {"GetPCSneaking", kFonctionSeule, {}, T},
    {"GetSpellReadied", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"GetSquareRoot", kFoncValShort, {}, T},
    {"GetWeaponDrawn", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"GetWeaponType", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"GetScale", kFonctionSeule_OptCall, {.caller = OBJET}, T},
    {"GetWaterLevel", kFonctionSeule, {}, T},

    // Bloodmoon.
    {"GetPCInJail", kFonctionSeule, {}, B},
    {"GetPCTraveling", kFonctionSeule, {}, B},
    {"GetWerewolfKills", kFoncUndocumented, {}, B},
    {"IsWerewolf", kFoncUndocumented, {}, B},
};
// clang-format on

constexpr std::string_view kFailure =
    "Impossible d'ouvrir le fichier temporaire \"DbTempTES3\" depuis le fichier source "
    "\"MainExpression\"\n\n";

// Longest variable or object name of a reference.
constexpr std::size_t kNameMax = 49;

// How many times the inside of one group is examined. A group followed by an
// operator is examined a second time as part of the left operand, so a group
// nested in such a group would be examined 4, 8, ... times. Every piece of an
// expression lies in one innermost group (or in none) and is examined once per
// examination of that group's inside; its result depends on its text alone.
// So an inside met a third time adds nothing new (its result already counts,
// its records and findings are already made) and is skipped: every piece is
// examined at most twice, and nesting costs linear time.
constexpr std::uint8_t kExaminations = 2;

const ChainIndex& functionIndex() {
  static const ChainIndex index(kFunctions);
  return index;
}

constexpr bool isNameChar(char c, bool first) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || (!first && isDigit(c));
}

struct Range {
  std::size_t begin;
  std::size_t end;
};

// One call of the checker. The result of a piece is the product of the
// results of its parts, and every part is examined whatever the others give,
// so the whole result is 1 exactly when no piece failed: the pieces are
// examined from an explicit stack, in the order of a left-to-right descent,
// and any failure clears `ok_`. Nesting depth costs heap, not stack.
class ExpressionCheck {
 public:
  ExpressionCheck(CheckContext& ctx, std::string_view text, int lineIndex)
      : ctx_(ctx), text_(text), lineIndex_(lineIndex) {
    indexQuotesAndGroups();
  }

  int run() {
    pending_.push_back({0, text_.size()});
    while (!pending_.empty()) {
      const Range r = pending_.back();
      pending_.pop_back();
      examine(r);
    }
    return ok_ ? 1 : 0;
  }

 private:
  // match_ (see matchParentheses) and the examination counts, only made when
  // there is a "(".
  void indexQuotesAndGroups() {
    if (text_.find('(') == std::string_view::npos) return;
    match_ = matchParentheses(text_);
    examined_.assign(text_.size(), 0);
  }

  void examine(Range r) {
    std::size_t p = r.begin;
    if (p < r.end && isWhite(text_[p])) ++p;
    if (p < r.end && text_[p] == '(') {
      group(r, p);
      return;
    }
    bool quoted = false;
    for (std::size_t q = r.begin; q < r.end; ++q) {
      const char c = text_[q];
      if (c == '"') quoted = !quoted;
      if (quoted) continue;
      if (c == '+' || c == '*' || c == '/' ||
          (c == '-' && (q + 1 == r.end || text_[q + 1] != '>'))) {
        // No precedence: the leftmost operator splits the text.
        pending_.push_back({q + 1, r.end});
        pending_.push_back({r.begin, q});
        return;
      }
    }
    operand(r, p);
  }

  void group(Range r, std::size_t open) {
    const std::size_t close = match_[open];
    if (close == std::string_view::npos || close >= r.end) {
      ok_ = false;
      return;
    }
    // The character right after ")" is passed over (the line analyser asks
    // for white space there), then one white-space character.
    std::size_t pos = close + 1;
    if (pos < r.end) ++pos;
    if (pos < r.end && isWhite(text_[pos])) ++pos;
    if (pos < r.end) {
      const char c = text_[pos];
      if (isWhite(c)) {
        for (std::size_t i = pos; i < r.end; ++i) {
          if (!isWhite(text_[i])) ok_ = false;
        }
      } else if (c == '+' || c == '*' || c == '/') {
        // The whole text splits there: the left operand holds the group.
        pending_.push_back({pos + 1, r.end});
        pending_.push_back({r.begin, pos});
      } else if (c == '-' && (pos + 1 == r.end || text_[pos + 1] != '>')) {
        pending_.push_back({pos + 1, r.end});
      }
      // Anything else after a group is not examined.
    }
    if (examined_[open] < kExaminations) {
      ++examined_[open];
      pending_.push_back({open + 1, close});
    }
  }

  void operand(Range r, std::size_t p) {
    if (p < r.end && isDigit(text_[p])) {
      number(r, p);
      return;
    }
    // A call of a value function: its checker reports what it finds.
    call_.assign(text_.substr(p, r.end - p));
    int handled = 0;
    if (const ChainEntry* entry =
            runIndexed(ctx_, functionIndex(), call_, &handled, lineIndex_, candidates_)) {
      expansionError(ctx_, *entry, lineIndex_, kFailure);
      return;
    }
    reference(r, p);
  }

  // Digits, optionally "." and digits, then only white space.
  void number(Range r, std::size_t i) {
    while (i < r.end && isDigit(text_[i]))
      ++i;
    if (i < r.end && text_[i] == '.') {
      if (i + 1 == r.end) {
        ok_ = false;
        return;
      }
      ++i;
      while (i < r.end && isDigit(text_[i]))
        ++i;
    }
    trailing(r, i);
  }

  struct Name {
    std::string_view text;
    std::size_t next = 0;
    bool valid = true;
  };

  // A quoted name (any characters up to the closing quote) when `quotes`,
  // or letters, "_" and digits (not first).
  Name readName(std::size_t i, std::size_t end, bool quotes) const {
    Name name;
    if (quotes && i < end && text_[i] == '"') {
      if (i + 1 == end) return {{}, end, false};
      std::size_t close = text_.find('"', i + 1);
      if (close == std::string_view::npos || close >= end) {
        name.text = text_.substr(i + 1, end - i - 1);
        name.next = end;
      } else {
        name.text = text_.substr(i + 1, close - i - 1);
        name.next = close + 1;
      }
    } else {
      std::size_t j = i;
      while (j < end && isNameChar(text_[j], j == i))
        ++j;
      if (j < end && text_[j] == '"') return {{}, j, false};
      name.text = text_.substr(i, j - i);
      name.next = j;
    }
    if (name.text.size() > kNameMax) name.valid = false;
    return name;
  }

  // A variable: a plain name (a global unless declared), or object.variable.
  void reference(Range r, std::size_t i) {
    while (i < r.end && isWhite(text_[i]))
      ++i;
    const Name first = readName(i, r.end, true);
    if (!first.valid) {
      ok_ = false;
      return;
    }
    if (first.next < r.end && text_[first.next] == '.') {
      if (!first.text.empty()) record(OBJET, first.text);
      const Name variable = readName(first.next + 1, r.end, false);
      if (!variable.valid) {
        ok_ = false;
        return;
      }
      if (!variable.text.empty()) record(EXTERNE, variable.text);
      if (first.text.empty() || variable.text.empty()) {
        ok_ = false;
        return;
      }
      ctx_.info.triInfoLocal(VAR_LOCALE{std::string(variable.text), std::string(first.text)});
      trailing(r, variable.next);
      return;
    }
    // An empty operand, as on the right of "5 +", is accepted.
    if (!first.text.empty()) record(GLOBALE, first.text);
    trailing(r, first.next);
  }

  void record(int type, std::string_view name) { ctx_.info.triInfo(INFO{type, std::string(name)}); }

  // Only white space may follow an operand.
  void trailing(Range r, std::size_t i) {
    for (; i < r.end; ++i) {
      if (!isWhite(text_[i])) {
        ok_ = false;
        return;
      }
    }
  }

  CheckContext& ctx_;
  std::string_view text_;
  int lineIndex_;
  bool ok_ = true;
  std::vector<std::size_t> match_;
  std::vector<Range> pending_;
  std::vector<std::uint8_t> examined_;  // per "(": examinations of its inside
  std::string call_;
  std::vector<std::uint16_t> candidates_;
};

}  // namespace

std::vector<std::size_t> matchParentheses(std::string_view text) {
  std::vector<std::size_t> match(text.size(), std::string_view::npos);
  std::vector<std::size_t> open[2];
  std::uint8_t q = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      q ^= 1U;
    } else if (c == '(') {
      open[q].push_back(i);
    } else if (c == ')' && !open[q].empty()) {
      match[open[q].back()] = i;
      open[q].pop_back();
    }
  }
  return match;
}

std::span<const ChainEntry> expressionFunctions() {
  return kFunctions;
}

int expression(CheckContext& ctx, std::string_view text, int lineIndex) {
  return ExpressionCheck(ctx, cut(text, kLineContentMax), lineIndex).run();
}

}  // namespace lintaro
