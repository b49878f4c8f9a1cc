// The command chain: its entries in order, the fast dispatch against the plain
// in-order walk, which entry claims a line, and the expansion errors.
#include "analysis/MainSyntaxeChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "core/MainDivers.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::CheckRun;
using test::Finding;
using test::Record;

using enum Checker;

// ---------------------------------------------------------------------------
// The table

struct Row {
  std::string_view name;
  Checker checker;
  ChainArgs args;
  Expansion expansion = Expansion::kNone;
  bool endStep = false;
};

Row S(std::string_view name) {
  return {name, kFonctionSeule, {}};
}
Row O(std::string_view name, int caller) {
  return {name, kFonctionSeule_OptCall, {caller, 0, 0, 0}};
}
Row U(std::string_view name) {
  return {name, kFoncUndocumented, {}};
}
Row Br(std::string_view name) {
  return {name, kFoncBroken, {}};
}
Row IA(std::string_view name, int caller, int called) {
  return {name, kFoncIDApp, {caller, called, 0, 0}};
}
Row I(std::string_view name, int called) {
  return {name, kFoncID, {0, called, 0, 0}};
}
Row OI(std::string_view name, int caller, int called, int choice) {
  return {name, kFonc_optID_choiceApp, {caller, called, 0, choice}};
}
Row II(std::string_view name, int caller, int first, int second, int choice) {
  return {name, kFoncIDID_choiceApp, {caller, first, second, choice}};
}
std::vector<Row> in(Expansion expansion, std::vector<Row> rows) {
  for (Row& r : rows)
    r.expansion = expansion;
  return rows;
}

// The chain as documented, keeping only the entries whose checkers exist:
// argument-free and identifier signatures.
std::vector<Row> expectedChain() {
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

TEST(CommandChainTable, EntriesInDocumentedOrder) {
  const std::vector<Row> expected = expectedChain();
  const auto chain = commandChain();
  // 6 block keywords and End step + 27 + 2 + 57 + 8 + 5.
  EXPECT_EQ(expected.size(), 105u);
  ASSERT_EQ(chain.size(), expected.size());
  for (std::size_t i = 0; i < chain.size(); ++i) {
    const ChainEntry& got = chain[i];
    const Row& want = expected[i];
    SCOPED_TRACE("entry " + std::to_string(i) + " " + std::string(want.name));
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.checker, want.checker);
    EXPECT_EQ(got.args.caller, want.args.caller);
    EXPECT_EQ(got.args.called, want.args.called);
    EXPECT_EQ(got.args.second, want.args.second);
    EXPECT_EQ(got.args.choice, want.args.choice);
    EXPECT_EQ(got.expansion, want.expansion);
    EXPECT_EQ(got.endStep, want.endStep);
  }
}

bool argumentFree(Checker c) {
  return c == kFonctionSeule || c == kFonctionSeule_OptCall || c == kFoncUndocumented ||
         c == kFoncBroken;
}

std::vector<std::size_t> positions(std::string_view name) {
  std::vector<std::size_t> out;
  const auto chain = commandChain();
  for (std::size_t i = 0; i < chain.size(); ++i) {
    if (chain[i].name == name) out.push_back(i);
  }
  return out;
}

TEST(CommandChainTable, LongerCommandsComeBeforeTheirPrefixes) {
  const auto chain = commandChain();
  auto before = [&](std::string_view longer, std::string_view shorter) {
    ASSERT_FALSE(positions(longer).empty()) << longer;
    ASSERT_FALSE(positions(shorter).empty()) << shorter;
    EXPECT_LT(positions(longer).back(), positions(shorter).front()) << longer << " / " << shorter;
  };
  before("Endif", "End");
  before("EndWhile", "End");
  before("PayFineThief", "PayFine");
  for (const ChainEntry& e : chain) {
    if (e.name.starts_with("Enable") && e.name != "Enable") before(e.name, "Enable");
    if (e.name.starts_with("Disable") && e.name != "Disable") before(e.name, "Disable");
  }
  // In general: an argument-free entry (a plain prefix match) stands after
  // every entry whose command begins with its command.
  for (std::size_t p = 0; p < chain.size(); ++p) {
    if (!argumentFree(chain[p].checker)) continue;
    const std::string prefix = lowered(chain[p].name);
    for (std::size_t l = 0; l < chain.size(); ++l) {
      const std::string name = lowered(chain[l].name);
      if (name.size() > prefix.size() && name.starts_with(prefix)) {
        EXPECT_LT(l, p) << chain[l].name << " after " << chain[p].name;
      }
    }
  }
}

TEST(CommandChainTable, SevenCommandsTriedTwiceArgumentFormFirst) {
  const auto chain = commandChain();
  for (const std::string_view name : {"End", "Activate", "PCClearExpelled", "PCExpell",
                                      "PCJoinFaction", "PCLowerRank", "PCRaiseRank"}) {
    const std::vector<std::size_t> at = positions(name);
    ASSERT_EQ(at.size(), 2u) << name;
    EXPECT_EQ(at[1], at[0] + 1) << name;
    EXPECT_EQ(chain[at[0]].checker, kFonc_optID_choiceApp) << name;
    EXPECT_TRUE(argumentFree(chain[at[1]].checker)) << name;
  }
  std::size_t twice = 0;
  for (const ChainEntry& e : chain) {
    if (positions(e.name).size() > 1) ++twice;
  }
  EXPECT_EQ(twice, 14u);  // nothing else appears twice
}

// ---------------------------------------------------------------------------
// Which entry claims a line

struct Claim {
  std::string text;
  int handled;
  bool endStep;
  std::vector<Finding> findings;
  std::vector<Record> records;
};

void expectClaims(const std::vector<Claim>& claims, int tribunal = 1, int bloodmoon = 1) {
  for (const Claim& c : claims) {
    CheckRun run(tribunal, bloodmoon);
    std::string line = c.text;
    int handled = 0;
    const bool end = runCommandChain(run.ctx, line, &handled, 0);
    EXPECT_EQ(handled, c.handled) << c.text;
    EXPECT_EQ(end, c.endStep) << c.text;
    EXPECT_EQ(run.findings(), c.findings) << c.text;
    EXPECT_EQ(run.records(), c.records) << c.text;
    EXPECT_EQ(line, lowered(c.text)) << c.text;
  }
}

// clang-format off

TEST(CommandChainClaims, TheRightEntryClaimsTheLine) {
  test::TempDir dir;
  const auto E = [](std::string_view m) { return test::errorAt(0, m); };
  expectClaims({
      // A claim by the shorter entry would report a parameter.
      {"PayFineThief", 1, false, {}, {}},
      {"EnableRest", 1, false, {}, {}},
      {"DisableLevitation", 1, false, {}, {}},
      {"EnableX", 1, false, {E(" : erreur, la fonction Enable peut prendre un appelant, mais pas "
                               "de paramètre appelé !")}, {}},
      {"RemoveSpellEffects somespell", 1, false, {}, {{20, "somespell"}}},
      {"player->RemoveSpell somespell", 1, false, {}, {{15, "player"}, {20, "somespell"}}},
      // The End step.
      {"End", 1, true, {}, {}},
      {"End myScript", 1, true, {}, {{99, "myscript"}}},
      {"End if", 1, true, {}, {{99, "if"}}},
      {"  END", 1, true, {}, {}},
      {"Endif", 1, false, {}, {}},
      {"EndWhile", 1, false, {}, {}},
      {"Endiff", 1, false, {E(" : erreur, la fonction Endif ne prend pas de paramètre appelé !")},
       {}},
      {"Return", 1, false, {}, {}},
      // Commands tried twice.
      {"Activate", 1, false, {}, {}},
      {"Activate player", 1, false, {}, {{15, "player"}}},
      {"\"door\"->Activate", 1, false, {}, {{19, "door"}}},
      {"PCExpell", 1, false, {}, {}},
      {"PCExpell \"guild one\"", 1, false, {}, {{91, "guild one"}}},
      {"player->PCExpell", 0, false, {}, {}},
      {"\"a\"->Disable", 1, false, {}, {{19, "a"}}},
      // Not in the chain.
      {"GetDistance PLAYER", 0, false, {}, {}},
      {"If ( x == 1 )", 0, false, {}, {}},
      {"", 0, false, {}, {}},
  });
}

TEST(CommandChainClaims, ExpansionErrorsComeAfterTheCheckersFindings) {
  test::TempDir dir;
  const auto E = [](std::string_view m) { return test::errorAt(0, m); };
  const Finding tribunal = E(" : fonction Tribunal-dépendante !");
  const Finding bloodmoon = E(" : fonction Bloodmoon-dépendante !");
  // Neither expansion allowed.
  expectClaims({
      {"EnableLevitation", 1, false, {tribunal}, {}},
      {"ForceJump", 1, false, {tribunal}, {}},
      {"\"guard\"->ForceRun", 1, false, {tribunal}, {{15, "guard"}}},
      {"Equip  \"sword\"", 1, false, {E(" : impossible de détecter l'appelé !"), tribunal}, {}},
      {"Equip \"sword\" x", 1, false,
       {E(" : erreur, la fonction Equip ne doit contenir aucun paramètre après l'ID \"sword\" !"),
        tribunal},
       {{16, "sword"}}},
      {"TurnMoonRed", 1, false, {bloodmoon}, {}},
      {"TurnMoonWhite 1", 1, false,
       {E(" : erreur, la fonction TurnMoonWhite ne prend pas de paramètre appelé !"), bloodmoon},
       {}},
      {"SetWerewolfAcrobatics", 1, false,
       {test::alertAt(0, " : alerte, la fonction \"SetWerewolfAcrobatics\" est insuffisament "
                         "documentée : sa syntaxe ne sera pas traitée par le débugueur !"),
        bloodmoon},
       {}},
      // Base-game commands need no expansion, even when they claim an
      // expansion command's misspelling.
      {"EnableRest", 1, false, {}, {}},
      {"Unlock", 1, false, {}, {}},
      {"EnableLevitatio", 1, false, {E(" : erreur, la fonction Enable peut prendre un appelant, "
                                       "mais pas de paramètre appelé !")}, {}},
  }, 0, 0);
  // Each flag covers its own expansion only.
  expectClaims({
      {"EnableLevitation", 1, false, {}, {}},
      {"Equip \"sword\"", 1, false, {}, {{16, "sword"}}},
      {"TurnMoonRed", 1, false, {bloodmoon}, {}},
  }, 1, 0);
  expectClaims({
      {"EnableLevitation", 1, false, {tribunal}, {}},
      {"TurnMoonRed", 1, false, {}, {}},
      {"\"npc\"->UndoWerewolf", 1, false, {}, {{15, "npc"}}},
  }, 0, 1);
}

// clang-format on

// ---------------------------------------------------------------------------
// Fast dispatch against the in-order walk

class LineMaker {
 public:
  explicit LineMaker(unsigned seed) : rng_(seed) {
    for (const ChainEntry& e : commandChain())
      names_.emplace_back(e.name);
  }

  std::string line() {
    if (chance(8)) return soup();
    std::string out = pick({"", " ", "\t", "  \t"});
    const int callers = chance(2) ? 0 : pickIndex(3) + 1;
    for (int i = 0; i < callers; ++i)
      out += caller() + pick({"->", "->", "-> ", " ->"});
    out += word();
    const int args = pickIndex(3);
    for (int i = 0; i < args; ++i)
      out += pick({" ", " ", ", ", ",", "\t", "  ", ""}) + argument();
    out += pick({"", "", " ", "\t", " x", "->", "\r"});
    if (chance(6)) out += "->" + word();
    return out;
  }

 private:
  bool chance(int oneIn) { return pickIndex(oneIn) == 0; }
  int pickIndex(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string pick(std::initializer_list<const char*> options) {
    return *(options.begin() + pickIndex(static_cast<int>(options.size())));
  }

  std::string randomCase(std::string text) {
    for (char& c : text) {
      if (std::isalpha(static_cast<unsigned char>(c)) && chance(2)) {
        c = static_cast<char>(chance(2) ? std::toupper(static_cast<unsigned char>(c))
                                        : std::tolower(static_cast<unsigned char>(c)));
      }
    }
    return text;
  }

  std::string word() {
    std::string w = names_[static_cast<std::size_t>(pickIndex(static_cast<int>(names_.size())))];
    switch (pickIndex(8)) {
      case 0:  // a prefix
        w = w.substr(0, static_cast<std::size_t>(pickIndex(static_cast<int>(w.size())) + 1));
        break;
      case 1:  // a longer word
        w += pick({"x", "Effects", "Thief", "Menu", "1", "if", "_"});
        break;
      case 2:
        w = pick({"GetDistance", "Set", "If", "MessageBox", "foo", "Begin", "End", "->"});
        break;
      default:
        break;
    }
    return randomCase(w);
  }

  std::string caller() {
    if (chance(4)) return word();
    return randomCase(
        pick({"player", "\"my npc\"", "\"a b\" ", "my chest", "\"\"\"", "", "\"x", "x\"y\"",
              "\"a\"b", "\"\"", "a123456789b123456789c123456789d123456789e123456789f12345"}));
  }

  std::string argument() {
    if (chance(5)) return word();
    return randomCase(pick({"", "player", "\"player\"", "npc_01", "\"guild one\"", "\"a\"b\"c\"",
                            "x y", "5", ",", "\"\"", "a,b", "\"a\",\"b\"", "\"a\"\"b\"", "\"x",
                            "g123456789g123456789g123456789g123456789g123456789g123456789"}));
  }

  // Random characters around command words.
  std::string soup() {
    static constexpr char kChars[] = "aEnd- >\",\t;x_1";
    std::string out;
    const int pieces = pickIndex(6) + 1;
    for (int i = 0; i < pieces; ++i) {
      if (chance(2)) {
        out += word();
      } else {
        const int n = pickIndex(4) + 1;
        for (int k = 0; k < n; ++k)
          out += kChars[pickIndex(static_cast<int>(sizeof kChars) - 1)];
      }
    }
    return out;
  }

  std::mt19937 rng_;
  std::vector<std::string> names_;
};

const std::vector<std::string>& handWrittenLines() {
  // clang-format off
  static const std::vector<std::string> lines = {
      "player->AddSpell \"fireball\"", "\"Crate 01\"->Unlock", "Enable", "\"my npc\"->Disable",
      "StartScript MyScript", "StopScript, \"other\"", "PlaySound3D \"Door Open\"",
      "\"lever\"->PlayLoopSound3D \"Machinery\"", "Coc \"Balmora, Guild of Mages\"",
      "End MyScript", "EndWhile", "Return", "PCExpell \"Mages Guild\"", "PCRaiseRank",
      "player->Cast \"fire bite\" \"guard\"", "AddSoulGem \"golden saint\" \"Misc_SoulGem_Grand\"",
      "Activate, player", "\"my door\"->Activate", "ForceJump", "\"npc\"->UndoWerewolf",
      "TurnMoonWhite 1", "SetWerewolfAcrobatics", "CellUpdate", "RemoveSoulGem \"ghost\"",
      "DisablePlayerControls", "EnableRest x", "set x to 1", "if ( x == 1 )", "MessageBox \"hi\"",
      "GetDistance player", "\t\tplayer->Equip \"iron dagger\"", "\"a\"->b->ForceSneak",
      "x->StartCombat->Enable",
  };
  // clang-format on
  return lines;
}

TEST(CommandChainDispatch, FastDispatchMatchesTheInOrderWalk) {
  test::TempDir dir;
  CheckRun fast(0, 0, ".fast");
  CheckRun plain(0, 0, ".plain");
  LineMaker maker(20240611);
  std::mt19937 flags(7);
  std::vector<std::string> lines = handWrittenLines();
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
