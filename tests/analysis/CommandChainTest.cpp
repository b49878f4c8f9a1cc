// The command chain: its entries in order, and the fast dispatch against the
// plain in-order walk. (Which entry claims a line and the expansion errors
// after a claim show in the golden cases "prefixes", "fin_si" and "extensions".)
#include "analysis/MainSyntaxeChain.h"

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
// argument-free and identifier signatures.
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
      {S("Else"), S("Endif"), S("EndWhile"), endWithName, endAlone, S("Return")},
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
       II("AddSoulGem", 10, 46, 38, 1), IA("AddSpell", 15, 20), IA("AddTopic", 15, 50),
       II("Cast", 19, 20, 19, 1), Br("CellUpdate"), I("CenterOnCell", 95), I("Coc", 95),
       O("ClearForceSneak", 15), O("ClearInfoActor", 15), S("DontSaveObject"),
       IA("DropSoulGem", 10, 38), U("Fall"), S("FixMe"), O("ForceGreeting", 15),
       O("ForceSneak", 15), O("GoodBye", 15), S("GoToJail"), O("LowerRank", 15), S("MenuTest"),
       S("PayFineThief"), S("PayFine"),
       OI("PCClearExpelled", 19, 91, 0), S("PCClearExpelled"),
       OI("PCExpell", 19, 91, 0), S("PCExpell"), S("PCForce3rdPerson"), S("PCForce1stPerson"),
       OI("PCJoinFaction", 19, 91, 0), S("PCJoinFaction"),
       OI("PCLowerRank", 19, 91, 0), S("PCLowerRank"),
       OI("PCRaiseRank", 19, 91, 0), S("PCRaiseRank"),
       I("PlaySound", 93), IA("PlaySound3D", 19, 93), IA("PlayLoopSound3D", 19, 93),
       O("RaiseRank", 15), IA("RemoveSoulGem", 10, 46), IA("RemoveSpell", 15, 20),
       IA("RemoveSpellEffects", 15, 20), O("Resurrect", 15), O("SetAtStart", 19),
       I("ShowMap", 95), S("ShowRestMenu"), O("SkipAnim", 15), IA("StartCombat", 15, 15),
       I("StartScript", 96), O("StopCombat", 15), I("StopScript", 96), I("StopSound", 93),
       I("StreamMusic", 92), O("Unlock", 41), S("WakeUpPC")},
      in(Expansion::kTribunal,
         {O("ClearForceJump", 15), O("ClearForceMoveJump", 15), O("ClearForceRun", 15),
          IA("Equip", 15, 16), IA("ExplodeSpell", 15, 20), O("ForceJump", 15),
          O("ForceMoveJump", 15), O("ForceRun", 15)}),
      in(Expansion::kBloodmoon,
         {O("BecomeWerewolf", 15), U("SetWerewolfAcrobatics"), S("TurnMoonRed"),
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
  // 6 block keywords and End step + 27 + 2 + 57 + 8 + 5.
  EXPECT_EQ(expected.size(), 105u);
  EXPECT_EQ(got, expected);
}

// ---------------------------------------------------------------------------
// Fast dispatch against the in-order walk

// Random lines around the chain's command words: callers and arrows, prefixes
// and longer words, arguments, any case, and character soup.
class LineMaker {
 public:
  explicit LineMaker(unsigned seed) : rng_(seed) {
    for (const ChainEntry& e : commandChain())
      names_.emplace_back(e.name);
  }

  std::string line() {
    if (chance(8)) return soup();
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
                            "a123456789b123456789c123456789d123456789e123456789f12345"}));
    // clang-format on
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
  CheckRun fast(0, 0, ".fast");
  CheckRun plain(0, 0, ".plain");
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
