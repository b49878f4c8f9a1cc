// The command chain: its entries in order, and the fast dispatch against the
// plain in-order walk. (Which entry claims a line and the expansion errors
// after a claim show in the golden cases "prefixes", "fin_si" and "extensions".)
#include "commands/MainSyntaxeChain.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::CheckRun;

using enum Checker;

struct Row {
  std::string_view name;
  Checker checker;
  ChainArgs args;
  Expansion expansion = Expansion::kNone;
  bool endStep = false;
};

// The chain as documented, keeping only the entries whose checkers exist:
// argument-free, identifier, numeric and axis signatures.
std::vector<Row> expectedChain() {
  using N = std::string_view;
  const auto S = [](N n) { return Row{n, kFonctionSeule, {}}; };
  const auto O = [](N n, int caller) { return Row{n, kFonctionSeule_OptCall, {caller, 0, 0, 0}}; };
  const auto U = [](N n) { return Row{n, kFoncUndocumented, {}}; };
  const auto Br = [](N n) { return Row{n, kFoncBroken, {}}; };
  const auto IA = [](N n, int caller, int called) { return Row{n, kFoncIDApp, {caller, called}}; };
  const auto I = [](N n, int called) { return Row{n, kFoncID, {0, called, 0, 0}}; };
  const auto OI = [](N n, int caller, int called, int choice) {
    return Row{n, kFonc_optID_choiceApp, {caller, called, 0, choice}};
  };
  const auto II = [](N n, int caller, int first, int second, int choice) {
    return Row{n, kFoncIDID_choiceApp, {caller, first, second, choice}};
  };
  // Numbers, identifiers with numbers, axes.
  const auto VA = [](N n, int caller) { return Row{n, kFoncValShortApp, {caller, 0, 0, 0}}; };
  const auto SA = [](N n) { return Row{n, kFoncValShortStatApp, {15, 0, 0, 0}}; };
  const auto ST = [](N n) { return Row{n, kFoncValShortStat, {}}; };
  const auto VF = [](N n, int choice) {
    return Row{n, kFoncValFloat_choiceApp, {19, 0, 0, choice}};
  };
  const auto SS = [](N n, int caller, int choice) {
    return Row{n, kFoncShortShort_choiceApp, {caller, 0, 0, choice}};
  };
  const auto IS = [](N n, int caller, int called, int choice) {
    return Row{n, kFoncIDshort_choiceApp, {caller, called, 0, choice}};
  };
  const auto IO = [](N n, int caller, int called, int choice) {
    return Row{n, kFoncID_optShort_choiceApp, {caller, called, 0, choice}};
  };
  const auto IIS = [](N n, int first, int second) {
    return Row{n, kFoncIDIDshort, {0, first, second, 0}};
  };
  const auto AF = [](N n) { return Row{n, kFoncAxeFloat, {19, 0, 0, 0}}; };
  const auto stats = [&](std::initializer_list<N> names) {
    std::vector<Row> rows;
    for (const N n : names)
      rows.push_back(SA(n));
    return rows;
  };
  // A special-function checker: its own command words, no integer argument.
  const auto X = [](N n, Checker checker) { return Row{n, checker, {}}; };
  const auto in = [](Expansion expansion, std::vector<Row> rows) {
    for (Row& r : rows)
      r.expansion = expansion;
    return rows;
  };
  Row endWithName = OI("End", 19, 99, 0);
  endWithName.endStep = true;
  Row endAlone = S("End");
  endAlone.endStep = true;
  // clang-format off
  std::vector<std::vector<Row>> parts = {
      {Row{"Set", kSetTo, {}}, Row{"If", kTest, {}}, Row{"ElseIf", kTest, {}},
       Row{"While", kTest, {}}},
      {S("Else"), S("Endif"), S("EndWhile"), endWithName, endAlone, S("Return")},
      // Commands with arguments of their own (fades, weather, sounds, faction
      // reputation, journal, AI packages), named after their command words.
      {X("MessageBox", kMessageBox), X("PlaceAtPC", kPlaceAtPC), X("FadeTo", kFadeTo),
       X("Choice", kChoice), X("ModRegion", kModRegion), X("Position", kPosition),
       X("PositionCell", kPositionCell), X("Say", kSay), X("PlaySoundVP", kPlaySoundVP),
       X("PlaySound3DVP", kPlaySound3DVP), X("PlayLoopSound3DVP", kPlayLoopSound3DVP),
       X("ModPCFacRep", kModPCFacRep), X("SetPCFacRep", kSetPCFacRep),
       X("LoopGroup", kLoopGroup), X("Journal", kJournal), X("AIActivate", kAIActivate),
       X("AIEscort", kAIEscort), X("AIEscortCell", kAIEscortCell), X("AIFollow", kAIFollow),
       X("AIFollowCell", kAIFollowCell), X("AITravel", kAITravel), X("AIWander", kAIWander)},
      // Base game, part one.
      {S("EnableInventoryMenu"), S("EnableMagicMenu"), S("EnableMapMenu"), S("EnableStatsMenu"),
       S("EnableBirthMenu"), S("EnableClassMenu"), S("EnableNameMenu"), S("EnableRaceMenu"),
       S("EnableStatReviewMenu"), S("EnableLevelUp"), S("EnableRest"), S("EnablePlayerControls"),
       S("EnablePlayerFighting"), S("EnablePlayerJumping"), S("EnablePlayerLooking"),
       S("EnablePlayerMagic"), S("EnablePlayerViewSwitch"), S("EnableVanityMode"),
       S("DisablePlayerControls"), S("DisablePlayerFighting"), S("DisablePlayerJumping"),
       S("DisablePlayerLooking"), S("DisablePlayerMagic"), S("DisablePlayerViewSwitch"),
       S("DisableVanityMode"), S("EnableTeleporting"), S("DisableTeleporting")},
      in(Expansion::kTribunal, {S("EnableLevitation"), S("DisableLevitation")}),
      // Base game, part two.
      {O("Enable", 19), O("Disable", 19), OI("Activate", 19, 15, 1), O("Activate", 19),
       IS("AddItem", 10, 11, 1), II("AddSoulGem", 10, 46, 38, 1), IA("AddSpell", 15, 20), IA("AddTopic", 15, 50),
       II("Cast", 19, 20, 19, 1), Br("CellUpdate"), I("CenterOnCell", 95), I("Coc", 95),
       SS("CenterOnExterior", 19, 0), SS("Coe", 19, 0), IS("ChangeWeather", 19, 90, 0),
       O("ClearForceSneak", 15), O("ClearInfoActor", 15), S("DontSaveObject"),
       IA("DropSoulGem", 10, 38), IS("Drop", 10, 11, 1),
       SS("Face", 15, 1), VF("FadeIn", 0), VF("FadeOut", 0), U("Fall"), S("FixMe"), O("ForceGreeting", 15),
       O("ForceSneak", 15), O("GoodBye", 15), S("GoToJail"), VF("HurtStandingActor", 1),
       VA("Lock", 41), O("LowerRank", 15), S("MenuTest"), IIS("ModFactionReaction", 91, 91),
       AF("Move"), AF("MoveWorld"),
       S("PayFineThief"), S("PayFine"),
       OI("PCClearExpelled", 19, 91, 0), S("PCClearExpelled"),
       OI("PCExpell", 19, 91, 0), S("PCExpell"), S("PCForce3rdPerson"), S("PCForce1stPerson"),
       OI("PCJoinFaction", 19, 91, 0), S("PCJoinFaction"),
       OI("PCLowerRank", 19, 91, 0), S("PCLowerRank"),
       OI("PCRaiseRank", 19, 91, 0), S("PCRaiseRank"),
       IS("PlayBink", 19, 92, 0), IO("PlayGroup", 15, 62, 1), I("PlaySound", 93), IA("PlaySound3D", 19, 93), IA("PlayLoopSound3D", 19, 93),
       O("RaiseRank", 15), VA("RemoveEffects", 15),
       IS("RemoveItem", 10, 11, 1), IA("RemoveSoulGem", 10, 46), IA("RemoveSpell", 15, 20),
       IA("RemoveSpellEffects", 15, 20), O("Resurrect", 15),
       AF("Rotate"), AF("RotateWorld"), AF("SetAngle"), O("SetAtStart", 19),
       IIS("SetFactionReaction", 91, 91), IS("SetJournalIndex", 19, 51, 0), AF("SetPos"),
       I("ShowMap", 95), S("ShowRestMenu"), O("SkipAnim", 15), IA("StartCombat", 15, 15),
       I("StartScript", 96), O("StopCombat", 15), I("StopScript", 96), I("StopSound", 93),
       I("StreamMusic", 92), O("Unlock", 41), S("WakeUpPC")},
      // Statistics, at the end of the base game's part two.
      stats({"ModAcrobatics", "ModAgility", "ModAlarm", "ModAlchemy", "ModAlteration",
             "ModArmorBonus", "ModArmorer", "ModAthletics", "ModAttackBonus", "ModAxe",
             "ModBlindness", "ModBlock", "ModBluntWeapon", "ModCastPenalty", "ModChameleon",
             "ModConjuration", "ModCurrentFatigue", "ModCurrentHealth", "ModCurrentMagicka",
             "ModDefendBonus", "ModDestruction", "ModDisposition", "ModEnchant", "ModEndurance",
             "ModFatigue", "ModFight", "ModFlee", "ModFlying", "ModHandToHand", "ModHealth",
             "ModHeavyArmor", "ModHello", "ModIllusion", "ModIntelligence", "ModInvisible",
             "ModInvisibile", "ModLightArmor", "ModLongBlade", "ModLuck", "ModMarksman",
             "ModMediumArmor", "ModMagicka", "ModMercantile", "ModMysticism", "ModParalysis"}),
      {ST("ModPCCrimeLevel"), ST("ModPCVisionBonus")},
      stats({"ModPersonality", "ModReputation", "ModResistBlight", "ModResistCorprus",
             "ModResistDisease", "ModResistFire", "ModResistFrost", "ModResistMagicka",
             "ModResistNormalWeapons", "ModResistParalysis", "ModResistPoison", "ModResistShock",
             "ModRestoration", "ModSecurity", "ModShortBlade", "ModSilence", "ModSneak",
             "ModSpear", "ModSpeechCraft", "ModSpeed", "ModStrength", "ModSuperJump",
             "ModSwimSpeed", "ModUnarmored", "ModWaterBreathing", "ModWaterWalking",
             "ModWillPower", "SetAcrobatics", "SetAgility", "SetAlarm", "SetAlchemy",
             "SetAlteration", "SetArmorBonus", "SetArmorer", "SetAthletics", "SetAttackBonus",
             "SetAxe", "SetBlindness", "SetBlock", "SetBluntWeapon", "SetCastPenalty",
             "SetChameleon", "SetConjuration", "SetDefendBonus", "SetDestruction",
             "SetDisposition", "SetEnchant", "SetEndurance", "SetFatigue", "SetFight", "SetFlee",
             "SetFlying", "SetHandToHand", "SetHealth", "SetHeavyArmor", "SetHello",
             "SetIllusion", "SetIntelligence", "SetInvisible", "SetInvisibile", "SetLevel",
             "SetLightArmor", "SetLongBlade", "SetLuck", "SetMarksman", "SetMediumArmor",
             "SetMagicka", "SetMercantile", "SetMysticism", "SetParalysis"}),
      {ST("SetPCCrimeLevel"), ST("SetPCVisionBonus")},
      stats({"SetPersonality", "SetReputation", "SetResistBlight", "SetResistCorprus",
             "SetResistDisease", "SetResistFire", "SetResistFrost", "SetResistMagicka",
             "SetResistNormalWeapons", "SetResistParalysis", "SetResistPoison", "SetResistShock",
             "SetRestoration", "SetSecurity", "SetShortBlade", "SetSilence", "SetSneak",
             "SetSpear", "SetSpeechCraft", "SetSpeed", "SetStrength", "SetSuperJump",
             "SetSwimSpeed", "SetUnarmored", "SetWaterBreathing", "SetWaterWalking",
             "SetWillPower"}),
      in(Expansion::kTribunal,
         {X("PlaceItem", kPlaceItem), X("PlaceItemCell", kPlaceItemCell),
          IIS("AddToLevCreature", 48, 46), IIS("AddToLevItem", 49, 19),
          O("ClearForceJump", 15), O("ClearForceMoveJump", 15), O("ClearForceRun", 15),
          IA("Equip", 15, 16), IA("ExplodeSpell", 15, 20), O("ForceJump", 15),
          O("ForceMoveJump", 15), O("ForceRun", 15), VF("HurtCollidingActor", 1),
          IIS("RemoveFromLevCreature", 48, 46), IIS("RemoveFromLevItem", 49, 19),
          VA("SetDelete", 19), SA("ModScale"), ST("ModWaterLevel"), SA("SetScale"),
          ST("SetWaterLevel")}),
      in(Expansion::kBloodmoon,
         {O("BecomeWerewolf", 15), X("PlaceAtMe", kPlaceAtMe), U("SetWerewolfAcrobatics"), S("TurnMoonRed"),
          S("TurnMoonWhite"), O("UndoWerewolf", 15)}),
  };
  // clang-format on
  std::vector<Row> rows;
  for (auto& part : parts)
    rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

// One entry as a line of text, so that whole chains compare and print well.
std::string describe(const Row& r) {
  return std::string(r.name) + " checker " + std::to_string(static_cast<int>(r.checker)) +
         " args " + std::to_string(r.args.caller) + "/" + std::to_string(r.args.called) + "/" +
         std::to_string(r.args.second) + "/" + std::to_string(r.args.choice) + " expansion " +
         std::to_string(static_cast<int>(r.expansion)) + (r.endStep ? " end step" : "");
}

TEST(CommandChainTable, EntriesInDocumentedOrder) {
  std::vector<std::string> expected;
  for (const Row& r : expectedChain())
    expected.push_back(describe(r));
  std::vector<std::string> got;
  for (const ChainEntry& e : commandChain())
    got.push_back(describe({e.name, e.checker, e.args, e.expansion, e.endStep}));
  // 4 assignment and tests + 6 block keywords and End step + 22 special + 27 + 2 + (57 + 23 + 146
  // statistics)
  // + (2 special + 8 + 10) + (5 + 1 special).
  EXPECT_EQ(expected.size(), 313u);
  EXPECT_EQ(got, expected);
}

// ---------------------------------------------------------------------------
// Fast dispatch against the in-order walk

// Random lines around the chain's command words: callers and arrows, prefixes
// and longer words, arguments (identifiers, numbers, axes), any case, and
// character soup.
class LineMaker {
 public:
  explicit LineMaker(unsigned seed) : rng_(seed) {
    for (const ChainEntry& e : commandChain())
      names_.emplace_back(e.name);
  }

  std::string line() {
    if (chance(8)) return soup();
    if (chance(5)) return statement();
    std::string out = pick({"", " ", "\t", "  \t"});
    for (std::size_t i = chance(2) ? 0 : below(3) + 1; i > 0; --i)
      out += name() + pick({"->", "->", "-> ", " ->"});
    out += word();
    for (std::size_t i = below(3); i > 0; --i)
      out += pick({" ", " ", ", ", ",", "\t", "  ", ""}) + name();
    out += pick({"", "", " ", "\t", " x", "->", "\r"});
    if (chance(6)) out += "->" + word();
    return out;
  }

 private:
  std::size_t below(std::size_t n) { return rng_() % n; }
  bool chance(std::size_t oneIn) { return below(oneIn) == 0; }
  std::string pick(std::initializer_list<const char*> options) {
    return options.begin()[below(options.size())];
  }
  std::string randomCase(std::string text) {
    for (char& c : text) {
      const int u = static_cast<unsigned char>(c);
      if (chance(2)) c = static_cast<char>(chance(2) ? std::toupper(u) : std::tolower(u));
    }
    return text;
  }
  std::string word() {
    std::string w = names_[below(names_.size())];
    switch (below(8)) {
      case 0:
        return randomCase(w.substr(0, below(w.size()) + 1));  // a prefix
      case 1:
        return randomCase(w + pick({"x", "Effects", "Thief", "Menu", "1", "if", "_"}));
      case 2:
        return randomCase(pick({"GetDistance", "Set", "If", "MessageBox", "foo", "Begin", "End"}));
      default:
        return randomCase(w);
    }
  }
  // A caller or an argument: a word, or names quoted or not, in every faulty way.
  std::string name() {
    if (chance(4)) return word();
    // clang-format off
    return randomCase(pick({"", "player", "\"my npc\"", "\"a b\" ", "my chest", "\"\"\"", "\"x",
                            "x\"y\"", "\"a\"b", "\"\"", "\"a\"b\"c\"", "x y", "5", ",", "a,b",
                            "\"a\",\"b\"", "\"a\"\"b\"", "npc_01", "\"guild one\"",
                            "a123456789b123456789c123456789d123456789e123456789f12345",
                            // Numbers and axes.
                            "-10", "2.5", "1.", ".5", "-", "x", "Z", "\"x\"", "5 6", "x 100.5",
                            "x, -3", "y  7", "0", "12x", "5,-3",
                            // Runs of numbers, decimals, optional parameters.
                            "\"a b\" 1 2 3", "1, 2, 3 4", "1,2,3,4", "0.5 1.0", "1 2 3, x",
                            "10 -5 7", "255 2.5", "x 1 2 3 4 5 6 7 8 9 10",
                            // Texts with placeholders, buttons, choices, files, cells.
                            "\"%g %S\" x \"y\"", "\"%.2f\" a.b, c", "\"%g%g\"", "\"a\" 1 \"b\" 2",
                            "\"a\" 1, ", "\"ok\" \"non\",", "\"vo\\a.mp3\" \"t\" x",
                            "\"pot\" \"cell\" 1 2 z 4", "-1 -2 -3 -4 \"c\" x", "gob 1 1.5 0"}));
    // clang-format on
  }
  // Assignments and tests, with expressions built from operands, value
  // functions, operators, groups and comparisons.
  std::string statement() {
    std::string out = pick({"", " ", "\t"});
    out += randomCase(pick({"set ", "set ", "If ", "ElseIf ", "while ", "if", "set", "setx ",
                            "endif ", "Set \"a b\".c to "}));
    if (chance(3))
      out += pick({"x to ", "x.y to ", "\"o\".v to ", "x y to ", ". to ", "x to", "x ", "to "});
    for (std::size_t i = below(7); i > 0; --i) {
      out += pick({" ", "", "  "});
      if (chance(3)) {
        out += randomCase(pick({"GetDistance player", "player->GetPos x", "GetScale", "Random 5",
                                "GetPCRank", "IsWerewolf", "GetFoo", "GetHealth 5",
                                "\"npc\"->GetDisabled", "GetPCFacRep \"f\""}));
      } else {
        out += pick({"x",     "5",  "5.", "2.5", "a.b", "a.", "\"a b\"", "(",  ")",
                     "( x )", "+",  "-",  "->",  "*",   "/",  "==",      "=",  "<",
                     ">",     ">=", "!=", "&&",  "||",  "\"", ".x",      "x1", "1x"});
      }
    }
    return out;
  }
  std::string soup() {
    std::string out;
    for (std::size_t i = below(6) + 1; i > 0; --i) {
      if (chance(2)) {
        out += word();
      } else {
        for (std::size_t k = below(4) + 1; k > 0; --k)
          out += "aEnd- >\",\t;x_1"[below(14)];
      }
    }
    return out;
  }

  std::mt19937 rng_;
  std::vector<std::string> names_;
};

TEST(CommandChainDispatch, FastDispatchMatchesTheInOrderWalk) {
  test::TempDir dir;
  CheckRun fast(0, 0);
  CheckRun plain(0, 0);
  LineMaker maker(20240611);
  std::mt19937 flags(7);
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i)
    lines.push_back(maker.line());

  int claimed = 0;
  int ends = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int index = static_cast<int>(i);
    fast.ctx.tribunal = plain.ctx.tribunal = static_cast<int>(flags() % 2);
    fast.ctx.bloodmoon = plain.ctx.bloodmoon = static_cast<int>(flags() % 2);
    std::string a = lines[i];
    std::string b = lines[i];
    int handledA = 0;
    int handledB = 0;
    const bool endA = runCommandChain(fast.ctx, a, &handledA, index);
    const bool endB = runCommandChainInOrder(plain.ctx, b, &handledB, index);
    ASSERT_EQ(handledA, handledB) << '"' << lines[i] << '"';
    ASSERT_EQ(endA, endB) << '"' << lines[i] << '"';
    ASSERT_EQ(a, b) << '"' << lines[i] << '"';
    ASSERT_EQ(fast.journal.size(), plain.journal.size()) << '"' << lines[i] << '"';
    claimed += handledA;
    ends += endA ? 1 : 0;
  }
  EXPECT_EQ(fast.findings(), plain.findings());
  EXPECT_EQ(fast.records(), plain.records());
  // The generated lines reach both outcomes in good numbers.
  EXPECT_GT(claimed, 2000);
  EXPECT_LT(claimed, 18000);
  EXPECT_GT(ends, 50);
  EXPECT_GT(fast.journal.size(), 1000u);
}

}  // namespace
}  // namespace lintaro
