// Numeric, identifier-and-number and axis signature checkers, run as chain
// entries: the integer, decimal and value-expression readings, the minus rule
// of the "mod" commands, the separator step before a number, the optional
// integer, the axis letters and the variables of SetAngle and SetPos.
#include <gtest/gtest.h>

#include <algorithm>

#include "signatures/strFonctionsGeneral.h"
#include "tests/signatures/SignatureCases.h"

namespace lintaro::test {
namespace {

ChainEntry stat(N n) {
  return {n, kFoncValShortStat, {}};
}

// clang-format off

TEST_F(SignatureTest, IntegerLiteral) {
  const Finding nan = lastNotANumber("Lock");
  const Finding missing = lastMissing("Lock");
  expectCases(valShortApp("Lock", 41), {
      {"Lock 50", 1, {}, {}}, {"Lock, 50", 1, {}, {}}, {"Lock 50 \t\r", 1, {}, {}},
      {"Player->LOCK 0", 1, {}, {{41, "player"}}},
      {"Lock ", 1, {missing}, {}}, {"Lock, ", 1, {missing}, {}},
      {"Lock x", 1, {nan}, {}}, {"Lock 5x", 1, {nan}, {}}, {"Lock 5.5", 1, {nan}, {}},
      {"Lock 5 6", 1, {nan}, {}}, {"Lock +5", 1, {nan}, {}},
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

TEST_F(SignatureTest, DecimalLiteral) {
  const Finding nan = lastNotANumber("FadeIn");
  const Finding missing = lastMissing("FadeIn");
  expectCases(valFloat("FadeIn", 0), {
      {"FadeIn 10", 1, {}, {}}, {"FadeIn, 0.25 ", 1, {}, {}},
      {"FadeIn 1.5.3", 1, {nan}, {}}, {"FadeIn 2. ", 1, {nan}, {}}, {"FadeIn 1x", 1, {nan}, {}},
      {"FadeIn 1 2", 1, {nan}, {}},
      // A value that does not begin with a digit is missing, not wrong.
      {"FadeIn x", 1, {missing}, {}},
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

TEST_F(SignatureTest, StatisticValueIsAnExpression) {
  const Finding missing = lastMissing("ModHealth");
  const Finding wrong = E(" : erreur dans le dernier paramètre de la fonction ModHealth !");
  expectCases(statApp("ModHealth"), {
      {"ModHealth, x", 1, {}, {{9, "x"}}},
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
      {"SetHealth -", 1, {}, {}},
  });
  expectCases(stat("ModPCCrimeLevel"), {
      {"player->ModPCCrimeLevel 5", 0, {}, {}},
  });
}

// The expansion switches reach the expression checker as passed in.
TEST_F(SignatureTest, StatisticPassesTheSwitchesOn) {
  const Finding tribunal = E(" : fonction Tribunal-dépendante !");
  for (const auto& [allowed, findings] :
       std::vector<std::pair<int, std::vector<Finding>>>{{0, {tribunal}}, {1, {}}}) {
    CheckRun run(1 - allowed, 0);  // the run's own switch says the opposite
    std::string line = "SetHealth GetWaterLevel";
    int handled = 0;
    strFoncValShortStatApp(run.ctx, "SetHealth", 15, line, &handled, kSigLine, allowed, 0);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(run.findings(), findings) << allowed;
  }
}

TEST_F(SignatureTest, TwoIntegers) {
  const Finding noSecond = E(" : impossible de détecter la deuxième valeur !");
  const auto first = [](std::string_view name) {
    return E(" : erreur, la première valeur de " + str(name) + " est incorrecte !");
  };
  const Finding secondCoe =
      E(" : erreur dans la deuxième valeur. Attention, Coe ne prend pas de variables en entrée !");
  const Finding noSpaceCoe = E(" : pas d'espace après la première valeur de Coe !");
  expectCases(shortShort("CenterOnExterior", 19, 0), {
      {"CenterOnExterior -5 3", 1, {first("CenterOnExterior")}, {}},
      {"player->CenterOnExterior 5 3", 0, {}, {}},
  });
  expectCases(shortShort("Coe", 19, 0), {
      {"Coe 5, 3", 1, {}, {}}, {"Coe 12 34 ", 1, {}, {}},
      {"Coe 5x 3", 1, {noSpaceCoe}, {}},
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
      {"Face x 2", 1, {face, first("Face")}, {}},
      {"my npc->Face 1 2", 1, {face, callerQuotes("Face")}, {}},
      {"Face", 0, {}, {}},
  });
}

TEST_F(SignatureTest, IdentifierThenShort) {
  const Finding value = E(" : erreur dans la valeur de type Short. Attention, AddItem ne prend "
                          "pas de variables en entrée !");
  const Finding missing = E(" : impossible de détecter la valeur de type Short !");
  const auto noSpace = [](std::string_view id) {
    return E(" : pas d'espace après l'ID \"" + str(id) + "\" !");
  };
  expectCases(idShort("AddItem", 10, 11, 1), {
      {"AddItem item_01 5\t", 1, {}, {{11, "item_01"}}},
      {"AddItem item_01,", 1, {missing}, {{11, "item_01"}}},
      {"AddItem item_01 ", 1, {missing}, {{11, "item_01"}}},
      {"AddItem item_01\t5", 1, {noSpace("item_01")}, {{11, "item_01"}}},
      {"AddItem item_01 count", 1, {value}, {{11, "item_01"}}},
      {"AddItem item_01 5 6", 1, {value}, {{11, "item_01"}}},
      {"AddItem ", 1, {kNoCalled}, {}}, {"AddItem , 5", 1, {kNoCalled}, {}},
      {"AddItem", 0, {}, {}},
  });
  expectCases(idShort("ChangeWeather", 19, 90, 0), {
      {"player->ChangeWeather x 5", 0, {}, {}},
  });
  expectCases(idShort("ModStock", 10, 11, 1), {
      {"ModStock a -5", 1, {}, {{11, "a"}}},
      {"ModStock a -", 1, {missing}, {{11, "a"}}},
      {"ModStock \"a\"-", 1, {missing}, {{11, "a"}}},  // "missing" replaces "no space"
  });
}

TEST_F(SignatureTest, IdentifierThenOptionalShort) {
  const Finding value = E(" : erreur dans le paramètre optionnel. Attention, PlayGroup ne prend "
                          "pas de variables en entrée !");
  const Finding noOptional = E(" : impossible de détecter le paramètre optionnel de PlayGroup !");
  const Finding tooMany = E(" : erreur dans le paramètre optionnel. Attention, PlayGroup ne prend "
                            "qu'un paramètre après l'ID \"idle2\" !");
  const std::vector<Record> idle{{62, "idle2"}};
  expectCases(idOptShort("PlayGroup", 15, 62, 1), {
      {"PlayGroup idle2 1", 1, {}, idle},
      {"PlayGroup idle2, 1 ", 1, {}, idle}, {"PlayGroup idle2 ", 1, {}, idle},
      {"PlayGroup idle2,", 1, {}, idle}, {"PlayGroup idle2, ", 1, {}, idle},
      {"\"npc\"->PlayGroup idle2 1", 1, {}, {{15, "npc"}, {62, "idle2"}}},
      {"PlayGroup idle2, 1  2", 1, {tooMany}, idle},
      // Without a comma, a faulty optional argument passes.
      {"PlayGroup \"idle2\"x", 1, {}, idle},
      {"PlayGroup idle2 1x", 1, {}, idle}, {"PlayGroup idle2 -1", 1, {}, idle},
      // After a comma it does not.
      {"PlayGroup idle2, 1x", 1, {value}, idle},
      {"PlayGroup idle2,1", 1, {noOptional}, idle},
      {"PlayGroup idle2,  1", 1, {}, idle},  // stopped on white space
      {"PlayGroup ", 1, {kNoCalled}, {}},
      {"PlayGroup", 0, {}, {}},
  });
}

TEST_F(SignatureTest, TwoIdentifiersThenShort) {
  const std::vector<Record> guilds{{91, "guild two"}, {91, "guild one"}};
  expectCases(idIdShort("ModFactionReaction", 91, 91), {
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

TEST_F(SignatureTest, AxisLetter) {
  const Finding syntax = E(" : erreur dans la syntaxe de l'axe de la fonction GetPos.");
  const Finding noAxis = E(" : impossible de détecter l'axe !");
  expectCases(axe("GetPos"), {
      {"GetPos x", 1, {}, {}}, {"GetPos y \t", 1, {}, {}}, {"GetPos, z", 1, {}, {}},
      {"player->GetPos Z", 1, {}, {{19, "player"}}},
      {"GetPos \"x\"", 1, {syntax}, {}},
      {"GetPos x,5", 1, {syntax}, {}}, {"GetPos xy", 1, {syntax}, {}},
      {"GetPos ", 1, {noAxis}, {}}, {"GetPos  x", 1, {noAxis}, {}},
      {"my ref->GetPos x", 1, {callerQuotes("GetPos")}, {}},
      {"GetPos", 0, {}, {}}, {"GetPosition x", 0, {}, {}},
  });
}

TEST_F(SignatureTest, AxisThenNumber) {
  expectCases(axeFloat("SetPos"), {
      {"SetPos x,100", 1, {}, {}}, {"SetPos z -2.5 ", 1, {}, {}},
      {"SetPos x", 1, {lastMissing("SetPos")}, {}}, {"SetPos x -", 1, {lastMissing("SetPos")}, {}},
      {"SetPos w 5", 1, {E(" : erreur dans la syntaxe de l'axe de la fonction SetPos.")}, {}},
      {"SetPos x 1.", 1, {lastNotANumber("SetPos")}, {}},
  });
  const Finding nanMove = lastNotANumber("Move");
  expectCases(axeFloat("Move"), {
      {"Move x 5", 1, {}, {}}, {"Move x 5 6", 1, {nanMove}, {}},
      {"Move x myvar", 1, {nanMove}, {}},  // only SetAngle and SetPos take a variable
      {"Move x  5", 1, {nanMove}, {}}, {"MoveWorld x 5", 0, {}, {}},
  });
}

TEST_F(SignatureTest, AxisThenVariable) {
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
      {"SetPos x \"a\"b\"c\"", 1, {tooMany, global}, {}},  // asked even after an error
  }, 1);
  expectCases(axeFloat("SetPos"), {
      {"SetPos x myglobal", 1, {posTribunal, global}, {{9, "myglobal"}}},
  }, 0);
  // A local variable of the script.
  const std::vector<Record> local{{0, "myvar"}};
  expectCases(axeFloat("SetPos"), {
      {"SetPos x myvar", 1, {}, local}, {"SetPos x myvar 5", 1, {}, local},
  }, 1, local);
  expectCases(axeFloat("SetPos"), {{"SetPos x myvar", 1, {posTribunal}, local}}, 0, local);
}

// clang-format on

// The chain's fast dispatch offers a line to an entry only when the entry's
// word stands at the start of the line or right after "->": these checkers
// must not recognise their command anywhere else.
TEST_F(SignatureTest, CommandWordOnlyAtTheStartOrAfterAnArrow) {
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
      runEntry(run.ctx, entry, line, &handled, kSigLine);
      EXPECT_EQ(handled, 0) << '"' << text << '"';
      EXPECT_TRUE(run.findings().empty()) << '"' << text << '"';
    }
  }
  // Every numeric and axis row of the chain: 23 and 146 statistics in the base
  // game's part two, 10 in Tribunal's second run.
  EXPECT_EQ(tried, 179);
}

}  // namespace
}  // namespace lintaro::test
