// Numeric, identifier-and-number and axis signature checkers, run as chain
// entries: the integer, decimal and value-expression readings, the minus rule
// of the "mod" commands, the separator step before a number, the optional
// integer, the axis letters and the variables of SetAngle and SetPos.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/MainSyntaxeChain.h"
#include "core/MainDivers.h"
#include "signatures/strFonctionsGeneral.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::CheckRun;
using test::Finding;
using test::Record;
using enum Checker;

constexpr int kLine = 6;  // printed as "Ligne 7"

Finding E(std::string_view message) {
  return test::errorAt(kLine, message);
}
Finding A(std::string_view message) {
  return test::alertAt(kLine, message);
}

std::string str(std::string_view text) {
  return std::string(text);
}
Finding lastNotANumber(std::string_view name) {
  return E(" : erreur dans le dernier paramètre. Attention, " + str(name) +
           " ne prend pas de variables en entrée !");
}
Finding lastMissing(std::string_view name) {
  return E(" : impossible de détecter le dernier paramètre de la fonction " + str(name) + " !");
}
Finding callerQuotes(std::string_view name) {
  return E(" : erreur dans la syntaxe de l'appelant de la fonction " + str(name) +
           ". Rajoutez des guillemets.");
}
const Finding kNoCalled = E(" : impossible de détecter l'appelé !");

// One text given to a checker and what the call must leave behind.
struct Case {
  std::string text;
  int handled;  // lineHandled after the call; it starts at 0
  std::vector<Finding> findings;
  std::vector<Record> records;
};

using N = std::string_view;
constexpr auto valShortApp = [](N n, int caller) {
  return ChainEntry{n, kFoncValShortApp, {.caller = caller}};
};
constexpr auto valShort = [](N n) { return ChainEntry{n, kFoncValShort, {}}; };
constexpr auto statApp = [](N n) { return ChainEntry{n, kFoncValShortStatApp, {.caller = 15}}; };
constexpr auto stat = [](N n) { return ChainEntry{n, kFoncValShortStat, {}}; };
constexpr auto valFloat = [](N n, int choice) {
  return ChainEntry{n, kFoncValFloat_choiceApp, {.caller = 19, .choice = choice}};
};
constexpr auto shortShort = [](N n, int caller, int choice) {
  return ChainEntry{n, kFoncShortShort_choiceApp, {.caller = caller, .choice = choice}};
};
constexpr auto idShort = [](N n, int caller, int called, int choice) {
  return ChainEntry{n, kFoncIDshort_choiceApp, {caller, called, 0, choice}};
};
constexpr auto idOptShort = [](N n, int caller, int called, int choice) {
  return ChainEntry{n, kFoncID_optShort_choiceApp, {caller, called, 0, choice}};
};
constexpr auto idIdShort = [](N n, int first, int second) {
  return ChainEntry{n, kFoncIDIDshort, {0, first, second, 0}};
};
constexpr auto axe = [](N n) { return ChainEntry{n, kFoncAxe, {.caller = 19}}; };
constexpr auto axeFloat = [](N n) { return ChainEntry{n, kFoncAxeFloat, {.caller = 19}}; };

class NumericSignatureTest : public ::testing::Test {
 protected:
  // `tribunal` is the run's switch; `known` is recorded before the call.
  static void expectCases(const ChainEntry& checker, const std::vector<Case>& cases,
                          int tribunal = 0, const std::vector<Record>& known = {}) {
    for (const Case& c : cases) {
      CheckRun run(tribunal, 0);
      for (const auto& [type, name] : known)
        run.info.triInfo(INFO{type, name});
      std::string line = c.text;
      int handled = 0;
      runEntry(run.ctx, checker, line, &handled, kLine);
      EXPECT_EQ(handled, c.handled) << '"' << c.text << '"';
      EXPECT_EQ(run.findings(), c.findings) << '"' << c.text << '"';
      EXPECT_EQ(run.records(), c.records) << '"' << c.text << '"';
      EXPECT_EQ(line, lowered(c.text)) << '"' << c.text << '"';
    }
  }

  test::TempDir dir;
};

// clang-format off

TEST_F(NumericSignatureTest, IntegerLiteral) {
  const Finding nan = lastNotANumber("Lock");
  const Finding missing = lastMissing("Lock");
  expectCases(valShortApp("Lock", 41), {
      {"Lock 50", 1, {}, {}}, {"Lock, 50", 1, {}, {}}, {"Lock 50 \t\r", 1, {}, {}},
      {"\"door\"->Lock 50", 1, {}, {{41, "door"}}}, {"Player->LOCK 0", 1, {}, {{41, "player"}}},
      {"Lock ", 1, {missing}, {}}, {"Lock, ", 1, {missing}, {}},
      {"Lock x", 1, {nan}, {}}, {"Lock 5x", 1, {nan}, {}}, {"Lock 5.5", 1, {nan}, {}},
      {"Lock  50", 1, {nan}, {}},  // a second space is no number
      {"Lock 5 6", 1, {nan}, {}}, {"Lock +5", 1, {nan}, {}},
      {"Lock -5", 1, {nan}, {}},  // no sign: the minus rule is not applied here
      {"my door->Lock 50", 1, {callerQuotes("Lock")}, {}},  // nothing read after it
      {"Lock", 0, {}, {}}, {"Lock\t50", 0, {}, {}}, {"Lockx 50", 0, {}, {}},
  });
  // The minus rule: only a name that begins with "mod" accepts one "-".
  expectCases(valShort("Random"), {
      {"Random 100", 1, {}, {}}, {"Random -5", 1, {lastNotANumber("Random")}, {}},
      {"player->Random 5", 0, {}, {}},
  });
  expectCases(valShort("ModCount"), {
      {"ModCount -5", 1, {}, {}}, {"ModCount 5", 1, {}, {}},
      {"ModCount -", 1, {lastMissing("ModCount")}, {}},
      {"ModCount - 5", 1, {lastNotANumber("ModCount")}, {}},
      {"ModCount --5", 1, {lastNotANumber("ModCount")}, {}},
  });
}

TEST_F(NumericSignatureTest, DecimalLiteral) {
  const Finding nan = lastNotANumber("FadeIn");
  const Finding missing = lastMissing("FadeIn");
  expectCases(valFloat("FadeIn", 0), {
      {"FadeIn 2.5", 1, {}, {}}, {"FadeIn 10", 1, {}, {}}, {"FadeIn, 0.25 ", 1, {}, {}},
      {"FadeIn 2.", 1, {nan}, {}}, {"FadeIn 1.5.3", 1, {nan}, {}}, {"FadeIn 1x", 1, {nan}, {}},
      {"FadeIn 1 2", 1, {nan}, {}},
      // A value that does not begin with a digit is missing, not wrong.
      {"FadeIn .5", 1, {missing}, {}}, {"FadeIn x", 1, {missing}, {}},
      {"FadeIn -1", 1, {missing}, {}}, {"FadeIn ", 1, {missing}, {}},
      {"FadeIn  2", 1, {missing}, {}},
      {"player->FadeIn 2", 0, {}, {}},  // choice 0: bare form only
  });
  expectCases(valFloat("HurtStandingActor", 1), {
      {"\"npc\"->HurtStandingActor 5.5", 1, {}, {{19, "npc"}}},
      {"HurtStandingActor -5", 1, {lastMissing("HurtStandingActor")}, {}},
  });
  expectCases(valFloat("ModAmount", 0), {
      {"ModAmount -1.5", 1, {}, {}}, {"ModAmount -", 1, {lastMissing("ModAmount")}, {}},
  });
}

TEST_F(NumericSignatureTest, StatisticValueIsAnExpression) {
  const Finding missing = lastMissing("ModHealth");
  const Finding wrong = E(" : erreur dans le dernier paramètre de la fonction ModHealth !");
  expectCases(statApp("ModHealth"), {
      {"\"npc_01\"->ModHealth -10", 1, {}, {{15, "npc_01"}}},
      {"ModHealth \"myvar\"", 1, {}, {{9, "myvar"}}}, {"ModHealth, x", 1, {}, {{9, "x"}}},
      {"ModHealth a+b", 1, {}, {{9, "a"}, {9, "b"}}},
      {"ModHealth 10 junk", 1, {}, {}},  // nothing after the token is examined
      {"ModHealth 5.", 1, {wrong}, {}}, {"ModHealth 5x", 1, {wrong}, {}},
      {"ModHealth ", 1, {missing}, {}}, {"ModHealth  5", 1, {missing}, {}},
      // For a "mod" command the "-" is skipped before the token is read.
      {"ModHealth -", 1, {missing}, {}},
      {"my npc->ModHealth 5", 1, {callerQuotes("ModHealth")}, {}},
      {"ModHealth", 0, {}, {}}, {"ModHealthy 5", 0, {}, {}},
  });
  // A "set" command hands the "-" on: "-" alone is an acceptable expression.
  expectCases(statApp("SetHealth"), {
      {"\"npc_01\"->SetHealth -10", 1, {}, {{15, "npc_01"}}}, {"SetHealth -", 1, {}, {}},
      {"SetHealth 5.", 1, {E(" : erreur dans le dernier paramètre de la fonction SetHealth !")},
       {}},
  });
  expectCases(stat("ModPCCrimeLevel"), {
      {"ModPCCrimeLevel -5", 1, {}, {}}, {"player->ModPCCrimeLevel 5", 0, {}, {}},
  });
}

// The expansion switches reach the expression checker as passed in.
TEST_F(NumericSignatureTest, StatisticPassesTheSwitchesOn) {
  const Finding tribunal = E(" : fonction Tribunal-dépendante !");
  for (const auto& [allowed, findings] :
       std::vector<std::pair<int, std::vector<Finding>>>{{0, {tribunal}}, {1, {}}}) {
    CheckRun run(1 - allowed, 0);  // the run's own switch says the opposite
    std::string line = "SetHealth GetWaterLevel";
    int handled = 0;
    strFoncValShortStatApp(run.ctx, "SetHealth", 15, line, &handled, kLine, allowed, 0);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(run.findings(), findings) << allowed;
  }
}

TEST_F(NumericSignatureTest, TwoIntegers) {
  const Finding noSecond = E(" : impossible de détecter la deuxième valeur !");
  const auto first = [](std::string_view name) {
    return E(" : erreur, la première valeur de " + str(name) + " est incorrecte !");
  };
  const Finding secondCoe =
      E(" : erreur dans la deuxième valeur. Attention, Coe ne prend pas de variables en entrée !");
  const Finding noSpaceCoe = E(" : pas d'espace après la première valeur de Coe !");
  expectCases(shortShort("CenterOnExterior", 19, 0), {
      {"CenterOnExterior 5 -3", 1, {}, {}},
      {"CenterOnExterior -5 3", 1, {first("CenterOnExterior")}, {}},
      {"player->CenterOnExterior 5 3", 0, {}, {}},
  });
  expectCases(shortShort("Coe", 19, 0), {
      {"Coe 5, 3", 1, {}, {}}, {"Coe 12 34 ", 1, {}, {}},
      {"Coe 5,-3", 1, {noSpaceCoe}, {}}, {"Coe 5x 3", 1, {noSpaceCoe}, {}},
      {"Coe 5\t3", 1, {noSpaceCoe}, {}},
      {"Coe 5", 1, {noSecond}, {}}, {"Coe 5 ", 1, {noSecond}, {}}, {"Coe 5 -", 1, {noSecond}, {}},
      {"Coe 5,-", 1, {noSecond}, {}},
      {"Coe 5  x", 1, {}, {}},  // stopped on white space: no finding
      {"Coe 5 x", 1, {secondCoe}, {}}, {"Coe 5 3 4", 1, {secondCoe}, {}},
      {"Coe 5 3.5", 1, {secondCoe}, {}},
      {"Coe ", 1, {first("Coe")}, {}}, {"Coe x 3", 1, {first("Coe")}, {}},
  });
  const Finding face = A(" : alerte, la fonction Face est partiellement (ou totalement ?) "
                         "cassée (mal programmé à l'origine).");
  expectCases(shortShort("Face", 15, 1), {
      {"\"npc_01\"->Face 10 20", 1, {face}, {{15, "npc_01"}}},
      {"Face x 2", 1, {face, first("Face")}, {}},
      {"my npc->Face 1 2", 1, {face, callerQuotes("Face")}, {}},
      {"Face", 0, {}, {}},
  });
}

TEST_F(NumericSignatureTest, IdentifierThenShort) {
  const Finding value = E(" : erreur dans la valeur de type Short. Attention, AddItem ne prend "
                          "pas de variables en entrée !");
  const Finding missing = E(" : impossible de détecter la valeur de type Short !");
  const auto noSpace = [](std::string_view id) {
    return E(" : pas d'espace après l'ID \"" + str(id) + "\" !");
  };
  expectCases(idShort("AddItem", 10, 11, 1), {
      {"\"chest\"->AddItem \"item_01\" 100", 1, {}, {{10, "chest"}, {11, "item_01"}}},
      {"AddItem \"item_01\", 100", 1, {}, {{11, "item_01"}}},
      {"AddItem item_01 5\t", 1, {}, {{11, "item_01"}}},
      {"AddItem \"item_01\"", 1, {missing}, {{11, "item_01"}}},
      {"AddItem item_01,", 1, {missing}, {{11, "item_01"}}},
      {"AddItem item_01 ", 1, {missing}, {{11, "item_01"}}},
      {"AddItem \"item_01\"100", 1, {noSpace("item_01")}, {{11, "item_01"}}},
      {"AddItem item_01\t5", 1, {noSpace("item_01")}, {{11, "item_01"}}},
      {"AddItem item_01 -5", 1, {value}, {{11, "item_01"}}},
      {"AddItem item_01 count", 1, {value}, {{11, "item_01"}}},
      {"AddItem item_01 5 6", 1, {value}, {{11, "item_01"}}},
      {"AddItem item_01  5", 1, {}, {{11, "item_01"}}},  // stopped on white space
      {"AddItem ", 1, {kNoCalled}, {}}, {"AddItem , 5", 1, {kNoCalled}, {}},
      {"my chest->AddItem a 1", 1, {callerQuotes("AddItem")}, {}},
      {"AddItem", 0, {}, {}},
  });
  expectCases(idShort("ChangeWeather", 19, 90, 0), {
      {"ChangeWeather \"West Gash\" 5", 1, {}, {{90, "west gash"}}},
      {"player->ChangeWeather x 5", 0, {}, {}},
  });
  expectCases(idShort("ModStock", 10, 11, 1), {
      {"ModStock a -5", 1, {}, {{11, "a"}}},
      {"ModStock a -", 1, {missing}, {{11, "a"}}},
      {"ModStock \"a\"-", 1, {missing}, {{11, "a"}}},  // "missing" replaces "no space"
  });
}

TEST_F(NumericSignatureTest, IdentifierThenOptionalShort) {
  const Finding value = E(" : erreur dans le paramètre optionnel. Attention, PlayGroup ne prend "
                          "pas de variables en entrée !");
  const Finding noOptional = E(" : impossible de détecter le paramètre optionnel de PlayGroup !");
  const Finding tooMany = E(" : erreur dans le paramètre optionnel. Attention, PlayGroup ne prend "
                            "qu'un paramètre après l'ID \"idle2\" !");
  const std::vector<Record> idle{{62, "idle2"}};
  expectCases(idOptShort("PlayGroup", 15, 62, 1), {
      {"PlayGroup idle2", 1, {}, idle}, {"PlayGroup idle2 1", 1, {}, idle},
      {"PlayGroup idle2, 1 ", 1, {}, idle}, {"PlayGroup idle2 ", 1, {}, idle},
      {"PlayGroup idle2,", 1, {}, idle}, {"PlayGroup idle2, ", 1, {}, idle},
      {"\"npc\"->PlayGroup idle2 1", 1, {}, {{15, "npc"}, {62, "idle2"}}},
      {"PlayGroup idle2 1 2", 1, {tooMany}, idle}, {"PlayGroup idle2, 1  2", 1, {tooMany}, idle},
      // Without a comma, a faulty optional argument passes.
      {"PlayGroup idle2 x", 1, {}, idle}, {"PlayGroup \"idle2\"x", 1, {}, idle},
      {"PlayGroup idle2 1x", 1, {}, idle}, {"PlayGroup idle2 -1", 1, {}, idle},
      // After a comma it does not.
      {"PlayGroup idle2, x", 1, {value}, idle}, {"PlayGroup idle2, 1x", 1, {value}, idle},
      {"PlayGroup idle2,1", 1, {noOptional}, idle},
      {"PlayGroup idle2,  1", 1, {}, idle},  // stopped on white space
      {"PlayGroup ", 1, {kNoCalled}, {}},
      {"PlayGroup", 0, {}, {}},
  });
}

TEST_F(NumericSignatureTest, TwoIdentifiersThenShort) {
  const std::vector<Record> guilds{{91, "guild two"}, {91, "guild one"}};
  expectCases(idIdShort("ModFactionReaction", 91, 91), {
      {"ModFactionReaction \"guild two\" \"guild one\" -5", 1, {}, guilds},
      {"ModFactionReaction \"guild two\", \"guild one\" 5", 1, {}, guilds},
      // The number stopped on white space, and the last identifier was quoted.
      {"ModFactionReaction \"a\" \"b\"  5", 1,
       {E(" : erreur, la fonction ModFactionReaction ne doit contenir aucun paramètre après "
          "l'ID \"b\" !")}, {{91, "a"}, {91, "b"}}},
      {"ModFactionReaction a b  5", 1, {}, {{91, "a"}, {91, "b"}}},
      {"\"x\"->ModFactionReaction a b 5", 0, {}, {}},
  });
  expectCases(idIdShort("SetFactionReaction", 91, 91), {
      {"SetFactionReaction \"guild two\" \"guild one\" -5", 1,
       {E(" : erreur dans la valeur de type Short. Attention, SetFactionReaction ne prend pas de "
          "variables en entrée !")}, guilds},
  });
  const Finding missing = E(" : impossible de détecter la valeur de type Short !");
  expectCases(idIdShort("AddToLevItem", 49, 19), {
      {"AddToLevItem list item 3", 1, {}, {{49, "list"}, {19, "item"}}},
      {"AddToLevItem \"my_list\"", 1, {missing}, {{49, "my_list"}}},
      {"AddToLevItem list item", 1, {missing}, {{49, "list"}, {19, "item"}}},
      {"AddToLevItem list item,3", 1, {missing}, {{49, "list"}, {19, "item,3"}}},
      {"AddToLevItem \"list\"\"item\" 3", 1, {E(" : pas d'espace après l'ID \"list\" !")},
       {{49, "list"}}},
      {"AddToLevItem list  item 3", 1, {E(" : impossible de détecter le second appelé !")},
       {{49, "list"}}},
      {"AddToLevItem , x 3", 1, {E(" : impossible de détecter le premier appelé !")}, {}},
      {"AddToLevItem a b 3 4", 1,
       {E(" : erreur dans la valeur de type Short. Attention, AddToLevItem ne prend pas de "
          "variables en entrée !")}, {{49, "a"}, {19, "b"}}},
  });
}

TEST_F(NumericSignatureTest, AxisLetter) {
  const Finding syntax = E(" : erreur dans la syntaxe de l'axe de la fonction GetPos.");
  const Finding noAxis = E(" : impossible de détecter l'axe !");
  expectCases(axe("GetPos"), {
      {"GetPos x", 1, {}, {}}, {"GetPos y \t", 1, {}, {}}, {"GetPos, z", 1, {}, {}},
      {"player->GetPos Z", 1, {}, {{19, "player"}}},
      {"GetPos w", 1, {syntax}, {}}, {"GetPos \"x\"", 1, {syntax}, {}},
      {"GetPos x,5", 1, {syntax}, {}}, {"GetPos xy", 1, {syntax}, {}},
      {"GetPos ", 1, {noAxis}, {}}, {"GetPos  x", 1, {noAxis}, {}},
      {"GetPos x 5", 1,
       {E(" : erreur, la fonction GetPos ne doit contenir aucun paramètre après l'axe \"x\" !")},
       {}},
      {"my ref->GetPos x", 1, {callerQuotes("GetPos")}, {}},
      {"GetPos", 0, {}, {}}, {"GetPosition x", 0, {}, {}},
  });
}

TEST_F(NumericSignatureTest, AxisThenNumber) {
  expectCases(axeFloat("SetPos"), {
      {"\"crate\"->SetPos x 100.5", 1, {}, {{19, "crate"}}},
      {"SetPos x,100", 1, {}, {}}, {"SetPos, x, -100", 1, {}, {}}, {"SetPos z -2.5 ", 1, {}, {}},
      {"SetPos x", 1, {lastMissing("SetPos")}, {}}, {"SetPos x -", 1, {lastMissing("SetPos")}, {}},
      {"SetPos w 5", 1, {E(" : erreur dans la syntaxe de l'axe de la fonction SetPos.")}, {}},
      {"SetPos x 1.", 1, {lastNotANumber("SetPos")}, {}},
  });
  const Finding nanMove = lastNotANumber("Move");
  expectCases(axeFloat("Move"), {
      {"Move x 5", 1, {}, {}}, {"Move x 1.", 1, {nanMove}, {}}, {"Move x 5 6", 1, {nanMove}, {}},
      {"Move x myvar", 1, {nanMove}, {}},  // only SetAngle and SetPos take a variable
      {"Move x  5", 1, {nanMove}, {}}, {"MoveWorld x 5", 0, {}, {}},
  });
}

TEST_F(NumericSignatureTest, AxisThenVariable) {
  const Finding needsTribunal =
      E(" : l'usage de variables dans la fonction SetAngle nécessite Tribunal.");
  expectCases(axeFloat("SetAngle"), {{"SetAngle x myvar", 1, {}, {{9, "myvar"}}}}, 1);
  expectCases(axeFloat("SetAngle"), {{"SetAngle x myvar", 1, {needsTribunal}, {{9, "myvar"}}}}, 0);
  const Finding global = E(" : la fonction SetPos ne peut être utilisée avec des variables globales.");
  const Finding posTribunal =
      E(" : l'usage de variables dans la fonction SetPos nécessite Tribunal.");
  const Finding tooMany =
      E(" : erreur dans la syntaxe de l'appelé de la fonction SetPos : trop de guillemets.");
  expectCases(axeFloat("SetPos"), {
      {"SetPos x myglobal", 1, {global}, {{9, "myglobal"}}},
      {"SetPos x  100", 1, {kNoCalled}, {}},
      {"SetPos x \"a\"b\"c\"", 1, {tooMany, global}, {}},  // asked even after an error
  }, 1);
  expectCases(axeFloat("SetPos"), {
      {"SetPos x myglobal", 1, {posTribunal, global}, {{9, "myglobal"}}},
  }, 0);
  // A local variable of the script.
  const std::vector<Record> local{{0, "myvar"}};
  expectCases(axeFloat("SetPos"), {
      {"SetPos x myvar", 1, {}, local}, {"SetPos x myvar 5", 1, {}, local},
      {"SetPos x \"myvar\" 5", 1,
       {E(" : erreur, la fonction SetPos ne doit contenir aucun paramètre après la valeur sur "
          "l'axe \"myvar\" !")}, local},
  }, 1, local);
  expectCases(axeFloat("SetPos"), {{"SetPos x myvar", 1, {posTribunal}, local}}, 0, local);
}

// clang-format on

// The chain's fast dispatch offers a line to an entry only when the entry's
// word stands at the start of the line or right after "->": these checkers
// must not recognise their command anywhere else.
TEST_F(NumericSignatureTest, CommandWordOnlyAtTheStartOrAfterAnArrow) {
  const std::vector<Checker> ours = {kFoncValShortApp,
                                     kFoncValShort,
                                     kFoncValShortStatApp,
                                     kFoncValShortStat,
                                     kFoncValFloat_choiceApp,
                                     kFoncShortShort_choiceApp,
                                     kFoncIDshort_choiceApp,
                                     kFoncID_optShort_choiceApp,
                                     kFoncIDIDshort,
                                     kFoncAxe,
                                     kFoncAxeFloat};
  int tried = 0;
  for (const ChainEntry& entry : commandChain()) {
    if (std::find(ours.begin(), ours.end(), entry.checker) == ours.end()) continue;
    ++tried;
    const std::string word(entry.name);
    for (const std::string& text :
         {"q " + word + " x 1", "q" + word + " x 1", "\"a\" " + word + " 1 2",
          "q-> " + word + " x 1", "q->x " + word + " 1", "q->" + word + "x 1"}) {
      CheckRun run(1, 1);
      std::string line = text;
      int handled = 0;
      runEntry(run.ctx, entry, line, &handled, kLine);
      EXPECT_EQ(handled, 0) << '"' << text << '"';
      EXPECT_TRUE(run.findings().empty()) << '"' << text << '"';
    }
  }
  // Every numeric and axis row of the chain: 23 and 146 statistics in the base
  // game's part two, 10 in Tribunal's second run.
  EXPECT_EQ(tried, 179);
}

}  // namespace
}  // namespace lintaro
