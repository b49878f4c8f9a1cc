// The expression checker (results, recorded names, expansion errors, its
// function table and bounded cost), the logical tests and the assignments.
#include "analysis/MainExpression.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "analysis/ChainIndex.h"
#include "analysis/MainLogique.h"
#include "analysis/synDetectSetTo.h"
#include "analysis/synDetectTest.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using enum Checker;
using test::CheckRun;
using test::errorAt;
using test::Finding;
using test::Record;
using Findings = std::vector<Finding>;
using Records = std::vector<Record>;

constexpr std::string_view kTribunal = " : fonction Tribunal-dépendante !";
constexpr std::string_view kBloodmoon = " : fonction Bloodmoon-dépendante !";

// ---------------------------------------------------------------------------
// The function table

std::string describe(const ChainEntry& e) {
  return std::string(e.name) + " checker " + std::to_string(static_cast<int>(e.checker)) +
         " args " + std::to_string(e.args.caller) + "/" + std::to_string(e.args.called) + "/" +
         std::to_string(e.args.second) + "/" + std::to_string(e.args.choice) + " expansion " +
         std::to_string(static_cast<int>(e.expansion));
}

std::vector<std::string> expectedFunctions() {
  std::vector<std::string> rows;
  Expansion run = Expansion::kNone;
  const auto add = [&](std::initializer_list<std::string_view> names, Checker checker,
                       ChainArgs args = {}) {
    for (const std::string_view n : names)
      rows.push_back(describe({n, checker, args, run}));
  };
  const ChainArgs personne{.caller = 15};
  const ChainArgs objet{.caller = 19};
  const auto idApp = [](int caller, int called) { return ChainArgs{caller, called, 0, 0}; };
  const auto id = [](int called) { return ChainArgs{0, called, 0, 0}; };
  // clang-format off
  add({"CellChanged"}, kFonctionSeule);
  add({"GetAIPackageDone"}, kFonctionSeule_OptCall, personne);
  add({"GetAngle"}, kFoncAxe, objet);
  add({"GetAttacked", "GetBlightDisease"}, kFonctionSeule_OptCall, personne);
  add({"GetButtonPressed"}, kFonctionSeule);
  add({"GetCommonDisease", "GetCurrentAIPackage"}, kFonctionSeule_OptCall, personne);
  add({"GetCurrentTime", "GetCurrentWeather"}, kFonctionSeule);
  add({"GetDeadCount"}, kFoncID, id(15));
  add({"GetDetected"}, kFoncIDApp, idApp(15, 15));
  add({"GetDisabled"}, kFonctionSeule_OptCall, personne);
  add({"GetDistance"}, kFoncIDApp, idApp(19, 19));
  add({"GetEffect"}, kFoncIDApp, idApp(15, 21));
  add({"GetFactionReaction"}, kFoncIDID_choiceApp, {19, 91, 91, 0});
  add({"GetForceSneak", "GetHealthGetRatio"}, kFonctionSeule_OptCall, personne);
  add({"GetInterior"}, kFonctionSeule);
  add({"GetItemCount"}, kFoncIDApp, idApp(10, 11));
  add({"GetJournalIndex"}, kFoncID, id(51));
  add({"GetLOS", "GetLineOfSight"}, kFoncIDApp, idApp(15, 19));
  add({"GetLocked"}, kFonctionSeule_OptCall, {.caller = 41});
  add({"GetMasserPhase", "GetSecundaPhase"}, kFonctionSeule);
  add({"GetPCCell"}, kFoncID, id(95));
  add({"GetPCFacRep"}, kFonc_optID_choiceApp, {19, 91, 0, 0});
  add({"GetPCFacRep"}, kFonctionSeule);
  add({"GetPCRank"}, kFonc_optID_choiceApp, {15, 91, 0, 1});
  add({"GetPCRank"}, kFonctionSeule_OptCall, personne);
  add({"GetPCSleep", "GetPlayerControlsDisabled", "GetPlayerFightingDisabled",
       "GetPlayerJumpingDisabled", "GetPlayerMagicDisabled", "GetPlayerLookingDisabled"},
      kFonctionSeule);
  add({"GetPlayerViewSwitch"}, kFoncBroken);
  add({"GetVanityModeDisabled"}, kFonctionSeule);
  add({"GetPos"}, kFoncAxe, objet);
  add({"GetRace"}, kFoncIDApp, idApp(15, 97));
  add({"GetSecondsPassed"}, kFonctionSeule);
  add({"GetSoundPlaying"}, kFoncID, id(93));
  add({"GetSpell", "GetSpellEffects"}, kFoncIDApp, idApp(15, 20));
  add({"GetStandingActor", "GetStandingPC"}, kFonctionSeule_OptCall, objet);
  add({"GetStartingAngle", "GetStartingPos"}, kFoncAxe, objet);
  add({"GetTarget"}, kFoncIDApp, idApp(15, 15));
  add({"GetWindSpeed"}, kFonctionSeule);
  add({"HasItemEquipped"}, kFoncIDApp, idApp(15, 16));
  add({"HasSoulGem"}, kFoncIDApp, idApp(10, 46));
  add({"HitAttemptOnMe", "HitOnMe"}, kFoncIDApp, idApp(15, 32));
  add({"MenuMode"}, kFonctionSeule);
  add({"OnActivate", "OnDeath", "OnKnockOut", "OnMurder"}, kFonctionSeule_OptCall, personne);
  add({"OnRepair"}, kFoncBroken);
  add({"PCExpelled"}, kFonc_optID_choiceApp, {19, 91, 0, 0});
  add({"PCExpelled", "PCGet3rdPerson"}, kFonctionSeule);
  add({"Random"}, kFoncValShort);
  add({"RepairedOnMe"}, kFoncIDApp, idApp(11, 35));
  add({"SameFaction", "SayDone"}, kFonctionSeule_OptCall, personne);
  add({"ScriptRunning"}, kFoncID, id(96));
  add({"UsedOnMe"}, kFoncBroken);
  add({"XBox"}, kFonctionSeule);
  add({"GetAcrobatics", "GetAgility", "GetAlarm", "GetAlchemy", "GetAlteration", "GetArmorBonus",
       "GetArmorer", "GetAthletics", "GetAttackBonus", "GetAxe", "GetBlindness", "GetBlock",
       "GetBluntWeapon", "GetCastPenalty", "GetChameleon", "GetConjuration", "GetDefendBonus",
       "GetDestruction", "GetDisposition", "GetEnchant", "GetEndurance", "GetFatigue", "GetFight",
       "GetFlee", "GetFlying", "GetHandToHand", "GetHealth", "GetHeavyArmor", "GetHello",
       "GetIllusion", "GetIntelligence", "GetInvisible", "GetInvisibile", "GetLevel",
       "GetLightArmor", "GetLongBlade", "GetLuck", "GetMarksman", "GetMediumArmor", "GetMagicka",
       "GetMercantile", "GetMysticism", "GetParalysis"},
      kFonctionSeule_OptCall, personne);
  add({"GetPCCrimeLevel", "GetPCVisionBonus"}, kFonctionSeule);
  add({"GetPersonality", "GetReputation", "GetResistBlight", "GetResistCorprus",
       "GetResistDisease", "GetResistFire", "GetResistFrost", "GetResistMagicka",
       "GetResistNormalWeapons", "GetResistParalysis", "GetResistPoison", "GetResistShock",
       "GetRestoration", "GetSecurity", "GetShortBlade", "GetSilence", "GetSneak", "GetSpear",
       "GetSpeechCraft", "GetSpeed", "GetStrength", "GetSuperJump", "GetSwimSpeed",
       "GetUnarmored", "GetWaterBreathing", "GetWaterWalking", "GetWillPower"},
      kFonctionSeule_OptCall, personne);
  run = Expansion::kTribunal;
  add({"GetArmorType"}, kFoncValShortApp, personne);
  add({"GetCollidingActor", "GetCollidingPC"}, kFonctionSeule_OptCall, objet);
  add({"GetForceJump", "GetForceMoveJump", "GetForceRun"}, kFonctionSeule_OptCall, personne);
  add({"GetPCJumping", "GetPCRunning", "GetPCSneaking"}, kFonctionSeule);
  add({"GetSpellReadied"}, kFonctionSeule_OptCall, personne);
  add({"GetSquareRoot"}, kFoncValShort);
  add({"GetWeaponDrawn", "GetWeaponType"}, kFonctionSeule_OptCall, personne);
  add({"GetScale"}, kFonctionSeule_OptCall, objet);
  add({"GetWaterLevel"}, kFonctionSeule);
  run = Expansion::kBloodmoon;
  add({"GetPCInJail", "GetPCTraveling"}, kFonctionSeule);
  add({"GetWerewolfKills", "IsWerewolf"}, kFoncUndocumented);
  // clang-format on
  return rows;
}

TEST(ExpressionFunctionTable, RowsInDocumentedOrder) {
  const std::vector<std::string> expected = expectedFunctions();
  std::vector<std::string> got;
  std::size_t tribunal = 0;
  std::size_t bloodmoon = 0;
  for (const ChainEntry& e : expressionFunctions()) {
    got.push_back(describe(e));
    tribunal += e.expansion == Expansion::kTribunal ? 1 : 0;
    bloodmoon += e.expansion == Expansion::kBloodmoon ? 1 : 0;
  }
  EXPECT_EQ(expected.size(), 162u);
  EXPECT_EQ(tribunal, 15u);
  EXPECT_EQ(bloodmoon, 4u);
  EXPECT_EQ(got, expected);
}

// Operands around the function names: the indexed dispatch offers each to the
// same rows, in the same order, as the walk over every row.
TEST(ExpressionFunctionTable, IndexedDispatchMatchesTheInOrderWalk) {
  test::TempDir dir;
  CheckRun fast(0, 0);
  CheckRun plain(0, 0);
  std::vector<std::string> names;
  for (const ChainEntry& e : expressionFunctions())
    names.emplace_back(e.name);
  const ChainIndex index(expressionFunctions());
  std::vector<std::uint16_t> scratch;
  std::mt19937 rng(99);
  const auto pick = [&](std::initializer_list<const char*> options) {
    return std::string(options.begin()[rng() % options.size()]);
  };
  int claimed = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string operand = pick({"", " ", "player->", "\"a b\"->", "x -> ", "x->y->"});
    std::string name = names[rng() % names.size()];
    if (rng() % 4 == 0) name = name.substr(0, rng() % name.size() + 1);
    if (rng() % 5 == 0) name += pick({"x", "ratio", "s", "1"});
    operand += name;
    operand += pick({"", " ", " x", " x y", " \"f g\"", " 5", " x 5", ", y", "->getpos x"});
    fast.ctx.tribunal = plain.ctx.tribunal = static_cast<int>(rng() % 2);
    fast.ctx.bloodmoon = plain.ctx.bloodmoon = static_cast<int>(rng() % 2);
    std::string a = operand;
    std::string b = operand;
    int handledA = 0;
    int handledB = 0;
    const ChainEntry* ea = runIndexed(fast.ctx, index, a, &handledA, i, scratch);
    const ChainEntry* eb = runInOrder(plain.ctx, expressionFunctions(), b, &handledB, i);
    ASSERT_EQ(ea, eb) << operand;
    ASSERT_EQ(a, b) << operand;
    if (ea != nullptr) {
      expansionError(fast.ctx, *ea, i, "");
      expansionError(plain.ctx, *eb, i, "");
    }
    claimed += handledA;
  }
  EXPECT_EQ(fast.findings(), plain.findings());
  EXPECT_EQ(fast.records(), plain.records());
  EXPECT_GT(claimed, 5000);
  EXPECT_LT(claimed, 19000);
}

// ---------------------------------------------------------------------------
// Results and recorded names

struct ExpressionCase {
  std::string_view text;
  int result;
  Records records;
};

TEST(Expression, ResultsAndRecordedNames) {
  const std::string name49(49, 'n');
  const std::string name50(50, 'n');
  // clang-format off
  const std::vector<ExpressionCase> cases = {
      {"5", 1, {}},
      {"5.25", 1, {}},
      {"5. ", 1, {}},
      {"\"a b\"", 1, {{9, "a b"}}},
      {"a + a", 1, {{9, "a"}}},
      {"my_var + _x1", 1, {{9, "my_var"}, {9, "_x1"}}},  // "_" is a letter, digits follow
      {"5.", 0, {}},
      {"1.5.2", 0, {}},
      {"  5", 0, {}},           // one leading blank is skipped, not two
      {"x y", 0, {{9, "x"}}},
      {".x", 0, {{29, "x"}}},
      {"myref.\"x\"", 0, {{19, "myref"}}},
      {"\"my ref\".v", 1, {{19, "my ref"}, {29, "v"}}},
      {"5 +", 1, {}},           // empty right operand
      {"", 1, {}},
      {"a-b", 1, {{9, "a"}, {9, "b"}}},
      {"a->b", 0, {{9, "a"}}},  // "->" is no operator
      {"\"a+b\"", 1, {{9, "a+b"}}},
      {"ab\"c\"", 0, {}},
      {"\"", 0, {}},
      {"getfoo", 1, {{9, "getfoo"}}},
      {"getdistance \"my door\" + 1", 1, {{19, "my door"}}},
      {"(a == 1)", 0, {{9, "a"}}},
      {"( a", 0, {}},
      {"( a ) x", 1, {{9, "a"}}},      // not examined after a group
      {"( a )   + b", 0, {{9, "a"}}},  // a second blank: only blanks may follow
      {"( a ) - b", 1, {{9, "a"}, {9, "b"}}},
      {"( a ) -> b", 1, {{9, "a"}}},
      {"( ( a ) + b ) * ( c )", 1, {{9, "a"}, {9, "b"}, {9, "c"}}},
      {"( \")\" )", 1, {{9, ")"}}},
      {name49, 1, {{9, name49}}},
      {name50, 0, {}},
  };
  // clang-format on
  for (const ExpressionCase& c : cases) {
    test::TempDir dir;
    CheckRun run;
    EXPECT_EQ(expression(run.ctx, c.text, 3), c.result) << c.text;
    EXPECT_EQ(run.records(), c.records) << c.text;
    EXPECT_TRUE(run.findings().empty()) << c.text;
  }
}

TEST(Expression, RecordsTheVariableObjectPairs) {
  test::TempDir dir;
  CheckRun run;
  EXPECT_EQ(expression(run.ctx, "a.x + b.x * a.x + \"c d\".y", 0), 1);
  ASSERT_EQ(run.info.pairs().size(), 3u);
  EXPECT_EQ(run.info.pairs()[0].variable, "x");
  EXPECT_EQ(run.info.pairs()[0].object, "a");
  EXPECT_EQ(run.info.pairs()[1].object, "b");
  EXPECT_EQ(run.info.pairs()[2].variable, "y");
  EXPECT_EQ(run.info.pairs()[2].object, "c d");
}

struct ExpansionCase {
  std::string_view text;
  int tribunal;
  int bloodmoon;
  std::vector<std::string_view> messages;
};

TEST(Expression, ExpansionFunctions) {
  // clang-format off
  const std::vector<ExpansionCase> cases = {
      {"iswerewolf", 1, 0, {" : alerte, la fonction \"IsWerewolf\" est insuffisament documentée : "
                            "sa syntaxe ne sera pas traitée par le débugueur !", kBloodmoon}},
      {"getpcinjail * getwaterlevel", 0, 0, {kBloodmoon, kTribunal}},
      // A group followed by an operator is examined a second time.
      // Deeper, each piece is examined at most twice.
      {"( ( ( getscale ) + 1 ) + 1 ) + 1", 0, 0, {kTribunal, kTribunal}},
  };
  // clang-format on
  for (const ExpansionCase& c : cases) {
    test::TempDir dir;
    CheckRun run(c.tribunal, c.bloodmoon);
    EXPECT_EQ(expression(run.ctx, c.text, 6), 1) << c.text;
    Findings expected;
    for (const std::string_view m : c.messages)
      expected.push_back(m.find("alerte") != std::string_view::npos ? test::alertAt(6, m)
                                                                    : errorAt(6, m));
    EXPECT_EQ(run.findings(), expected) << c.text;
  }
}

// ---------------------------------------------------------------------------
// Cost of the worst lines

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += piece;
  return out;
}

double secondsFor(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The longest lines the line analyser hands over, through the command chain:
// no recursion per group or operator (also under the sanitizers' larger
// frames), and the expected findings.
TEST(Expression, WorstLinesThroughTheChain) {
  test::TempDir dir;
  CheckRun run(0, 0);
  struct Worst {
    std::string line;
    std::size_t findings;
  };
  std::vector<Worst> lines;
  lines.push_back({"set x to " + repeat("( ", 622) + "getscale" + repeat(" ) + b", 622), 2});
  lines.push_back({"if " + repeat("( ", 1247) + "x == 1" + repeat(" )", 1247), 0});
  lines.push_back({"while " + repeat("( ", 1246) + "x" + repeat(" )", 1246) + " 5", 1});
  std::string chain = repeat(" + a", 1247);
  chain.insert(0, "set x to a");
  lines.push_back({chain, 0});
  std::string compare = repeat(" < x", 1248);
  compare.insert(0, "while x");
  lines.push_back({compare, 0});
  std::size_t expected = 0;
  for (Worst& w : lines) {
    ASSERT_LE(w.line.size(), 4999u);
    int handled = 0;
    const double seconds = secondsFor([&] { runCommandChain(run.ctx, w.line, &handled, 0); });
    EXPECT_EQ(handled, 1);
    expected += w.findings;
    EXPECT_EQ(run.journal.size(), expected) << w.line.substr(0, 40);
    EXPECT_LT(seconds, 0.5);
  }
  // The text is cut at 4999 characters: these groups are never closed.
  EXPECT_EQ(expression(run.ctx, repeat("( ", 2500) + "x" + repeat(" )", 2500), 0), 0);
}

// ---------------------------------------------------------------------------
// Logical tests

constexpr std::string_view kLogique = " : erreur dans l'expression logique du ";

TEST(LogicalTest, LinesAndFindings) {
  test::TempDir dir;
  const auto E = [](std::string_view message) { return errorAt(4, message); };
  const Finding ifError = E(std::string(kLogique) + "If.");
  const Finding ifNoRight = E(std::string(kLogique) +
                              "If. Impossible de détecter l'expression à droite de "
                              "l'opérateur logique.");
  // The names the sides record are the expression checker's: not compared here.
  const auto expectCases = [](std::string_view keyword, const std::vector<test::LineCase>& cases) {
    test::expectLineCases(
        [keyword](CheckContext& ctx, std::string& line, int* handled) {
          synDetectTEST(ctx, keyword, line, handled, 4);
        },
        cases, false, 0, {}, false);
  };
  // clang-format off
  expectCases("While", {
      {"while ( count < 10 )", 1, {}, {}},
      {"\t while \t ", 1, {E(" : erreur, le test logique While doit être suivi d'une valeur logique !")}, {}},
  });
  expectCases("ElseIf", {{"elseif ( x == 2 )", 1, {}, {}}});
  expectCases("If", {
      {"if x == 1", 1, {}, {}}, {"if", 0, {}, {}}, {"If(x)", 0, {}, {}},
      {"elseif ( x == 2 )", 0, {}, {}},
      {"if ( x == 1 ) || ( y >= 2 ) && ( z != 3 )", 1, {}, {}},
      {"if ( x == 1 )   foo", 1, {ifError}, {}},
      {"if ( x", 1, {ifError}, {}}, {"if >", 1, {ifNoRight}, {}},
      {"if x > -1", 1, {}, {}}, {"if x -> y", 1, {ifError}, {}}, {"if x < y < z", 1, {}, {}},
      {"if 5 x == y. ==", 1, {ifError, ifError, ifNoRight}, {}},
      {"if 5. == 1", 1, {}, {}},
      {"if ( ( x == 1 ) && ( y == 2 ) ) || ( z == 3 )", 1, {}, {}},
      {"if ( ( x == 1 ) ) == 2", 1, {}, {}},
      {"if ( a b ) && ( c d )", 1, {ifError, ifError}, {}},
  });
  // clang-format on
}

// ---------------------------------------------------------------------------
// Assignments

constexpr std::string_view kSansTo =
    " : erreur dans la fonction \"Set ... to ...\" : impossible de détecter le \"to\" !";
constexpr std::string_view kAModifier = " : erreur dans la variable à modifier !";

TEST(SetTo, LinesFindingsAndRecords) {
  test::TempDir dir;
  const auto E = [](std::string_view message) { return errorAt(2, message); };
  const std::string name50(50, 'v');
  const std::string v49(49, 'v');
  const Finding noVariable = E(" : impossible de détecter la variable !");
  // clang-format off
  test::expectLineCases(test::atLine(synDetectSetTo, 2), {
      {"set x to 5", 1, {}, {{9, "x"}}},
      {"  \tSet X to 5", 1, {}, {{9, "x"}}},
      {"set myRef.myVar to x + 1", 1, {}, {{19, "myref"}, {29, "myvar"}, {9, "x"}}},
      {"set \"my var\" to 0", 1, {}, {{9, "my var"}}},
      {"set x to ", 1, {}, {{9, "x"}}},
      {"set myref. to 5", 1,
       {E(" : impossible de détecter la variable locale associée à l'objet \"myref\" !")}, {}},
      {"set .v to 5", 1, {noVariable}, {}},
      {"set ", 1, {E(kSansTo), noVariable}, {}},
      {"setangle x 90", 0, {}, {}}, {"SetAngle x 90", 0, {}, {}}, {"set", 0, {}, {}},
      {"set " + name50 + " to 1", 1, {E(kAModifier)}, {{9, v49}}},
      // A quoted name of 49 characters keeps its closing quote.
      {"set \"" + v49 + "\".c to 1", 1, {}, {{19, v49}, {29, "c"}}},
      {"set \"" + name50 + "\" to 1", 1, {E(kAModifier)}, {{9, v49}}},
      {"set x to to", 1, {}, {{9, "x"}, {9, "to"}}},
      {"set x.y.z to 1", 1, {E(kAModifier)}, {{19, "x"}, {29, "y"}}},
  });
  // clang-format on
}

}  // namespace
}  // namespace lintaro
