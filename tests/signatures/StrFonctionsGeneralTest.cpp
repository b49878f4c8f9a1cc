// Argument-free and identifier signature checkers, run as chain entries:
// recognition of the command in its bare and caller forms, caller reading, the
// three identifier readings, the separator step, trailing arguments; and for
// every text, lineHandled and the in-place lower-casing.
#include <gtest/gtest.h>

#include "core/Encoding.h"
#include "tests/signatures/SignatureCases.h"

namespace lintaro::test {
namespace {

// The messages of the caller reading, for the command `name`.
std::string callerError(std::string_view name, std::string_view what) {
  return " : erreur dans la syntaxe de l'appelant de la fonction " + std::string(name) +
         std::string(what);
}
const std::string kAddQuotes = ". Rajoutez des guillemets.";
const std::string kTooManyQuotes = " : trop de guillemets.";
const std::string kQuoteBeforeArrow = " : le guillemet final n'est pas avant l'opérateur '->'.";
constexpr std::string_view kNoCaller = " : impossible de détecter l'appelant !";
ChainEntry undocumented(N n) {
  return {n, kFoncUndocumented, {}};
}
ChainEntry broken(N n) {
  return {n, kFoncBroken, {}};
}

// clang-format off
// Rows whose line is one of a golden case ("appelants", "identifiants",
// "prefixes") are left to it.

TEST_F(SignatureTest, FonctionSeuleTakesTheBareNameAsAPrefix) {
  const Finding param = E(" : erreur, la fonction WakeUpPC ne prend pas de paramètre appelé !");
  expectCases(seule("WakeUpPC"), {
      {"WakeUpPC", 1, {}, {}}, {"  WakeUpPC", 1, {}, {}}, {"\t WAKEUPPC", 1, {}, {}},
      {"WakeUpPC \t\r\v\f", 1, {}, {}},  // white space only
      {"WakeUpPC 1", 1, {param}, {}}, {"WakeUpPCx", 1, {param}, {}},  // no separator needed
      {"WakeUpPC->x", 1, {param}, {}},
      {"player->WakeUpPC", 0, {}, {}}, {"x WakeUpPC", 0, {}, {}}, {"WakeUp", 0, {}, {}},
      {" \t ", 0, {}, {}},
  });
  // A shorter command claims a longer one that begins with it.
  expectCases(seule("PayFine"), {{"PayFineThief", 1,
      {E(" : erreur, la fonction PayFine ne prend pas de paramètre appelé !")}, {}}});
}

TEST_F(SignatureTest, OptCallReadsAndRecordsTheCaller) {
  const Finding param =
      E(" : erreur, la fonction Unlock peut prendre un appelant, mais pas de paramètre appelé !");
  expectCases(optCall("Unlock", 41), {
      {"Unlock", 1, {}, {}}, {"  Unlock \t", 1, {}, {}},
      {"Unlock x", 1, {param}, {}}, {"Unlockx", 1, {param}, {}},
      {"  Player->UNLOCK", 1, {}, {{41, "player"}}},
      {"player->Unlock x", 1, {param}, {{41, "player"}}},
      {"Unlock->Unlock", 1, {param}, {}},  // the bare form is tried first
      // The last "->" followed by the name is the arrow.
      {"a->b->Unlock", 1, {}, {{41, "a->b"}}}, {"x->Unlock->y", 1, {param}, {{41, "x"}}},
      {"\"a\"->Unlock->Unlock", 1, {E(callerError("Unlock", kQuoteBeforeArrow))}, {}},
      {"player-> Unlock", 0, {}, {}}, {"player->Lock", 0, {}, {}},
  });
}

TEST_F(SignatureTest, CallerErrorsStopTheCall) {
  const Finding quotes = E(callerError("Unlock", kAddQuotes));
  const Finding tooMany = E(callerError("Unlock", kTooManyQuotes));
  expectCases(optCall("Unlock", 41), {
      {"x \"y\"->Unlock", 1, {quotes}, {}},
      {"my crate->Unlock x", 1, {quotes}, {}},  // no trailing test after it
      {"\"\"\"->Unlock x", 1, {E(kNoCaller), tooMany}, {}},
      {"\"a\"b\"c->Unlock", 1, {tooMany}, {}}, {"\"\"->Unlock", 1, {E(kNoCaller)}, {}},
      {"\"a\" b->Unlock", 1, {E(callerError("Unlock", kQuoteBeforeArrow))}, {}},
      {"\"my crate->Unlock", 1, {}, {{41, "my crate"}}},  // an opening quote alone is fine
  });
  const std::string a49(49, 'a');
  expectCases(optCall("ForceGreeting", 15), {
      {std::string(60, 'a') + "->ForceGreeting", 1, {}, {{15, a49}}},
      {std::string("\"").append(55, 'b') + "\"->ForceGreeting", 1, {},
       {{15, std::string(49, 'b')}}},
      // The cut at 49 comes before the blank is met; one character less, it asks for quotes.
      {a49 + " b->ForceGreeting", 1, {}, {{15, a49}}},
      {std::string(48, 'a') + " b->ForceGreeting", 1,
       {E(callerError("ForceGreeting", kAddQuotes))}, {}},
  });
}

TEST_F(SignatureTest, UndocumentedAndBrokenOnlyWarn) {
  const Finding fall = A(" : alerte, la fonction \"Fall\" est insuffisament documentée : sa "
                         "syntaxe ne sera pas traitée par le débugueur !");
  expectCases(undocumented("Fall"), {
      {"Fall", 1, {fall}, {}}, {"player->Fall", 1, {fall}, {}},  // the caller is not read
      {"my npc->Fall", 1, {fall}, {}}, {"\"\"\"->Fall", 1, {fall}, {}},
      {"Fall 3", 1, {fall}, {}}, {"FALLING", 1, {fall}, {}}, {"x Fall", 0, {}, {}},
  });
  const Finding cellUpdate =
      A(" : alerte, la fonction \"CellUpdate\" est cassée (mal programmée à l'origine) !");
  expectCases(broken("CellUpdate"), {
      {"CellUpdate", 1, {cellUpdate}, {}}, {"\"a b\"->CellUpdate junk", 1, {cellUpdate}, {}},
      {"Cell", 0, {}, {}},
  });
}

TEST_F(SignatureTest, IdAppOpenReading) {
  const auto after = [](std::string_view ident) { return (afterId("DropSoulGem", ident)); };
  const Finding tooMany = E(" : erreur dans la syntaxe de l'appelé de la fonction DropSoulGem : "
                            "trop de guillemets.");
  expectCases(idApp("DropSoulGem", 10, 38), {
      {"\"chest 01\"->DropSoulGem \"gem_01\"", 1, {}, {{10, "chest 01"}, {38, "gem_01"}}},
      {"DropSoulGem, gem", 1, {}, {{38, "gem"}}},
      {"DropSoulGem \"my gem\"", 1, {}, {{38, "my gem"}}},
      {"DropSoulGem \"my gem", 1, {}, {{38, "my gem"}}},
      {"DropSoulGem \"gem\"x", 1, {}, {{38, "gemx"}}},  // read on after the closing quote
      // Accented capitals are no letters A-Z: they stay as they are.
      {utf8ToCp1252("DropSoulGem \"ÉTÉ\""), 1, {}, {{38, utf8ToCp1252("ÉtÉ")}}},
      {"DropSoulGem \"a\"b\"c\"", 1, {tooMany}, {}},
      {"DropSoulGem \"\"\"", 1, {kNoCalled, tooMany}, {}},  // both tests are made
      {"DropSoulGem gem_01 5", 1, {after("gem_01")}, {{38, "gem_01"}}},
      {"DropSoulGem gem_01\t5", 1, {after("gem_01")}, {{38, "gem_01"}}},
      {"DropSoulGem gem_01 \t ", 1, {}, {{38, "gem_01"}}},
      {"DropSoulGem \"gem_01\", 5", 1, {after("gem_01,")}, {{38, "gem_01,"}}},  // comma copied
      {"DropSoulGem \"a\" \"b\"", 1, {after("a")}, {{38, "a"}}},
      {"DropSoulGem ", 1, {kNoCalled}, {}}, {"DropSoulGem \"\"", 1, {kNoCalled}, {}},
      {"my chest->DropSoulGem gem", 1, {E(callerError("DropSoulGem", kAddQuotes))}, {}},
      // Cut at 49: the reading did not stop on a blank, so no trailing test.
      {std::string("DropSoulGem ").append(60, 'g') + " 5", 1, {}, {{38, std::string(49, 'g')}}},
      // The head pattern needs " " or ", " after the name.
      {"DropSoulGem,gem", 0, {}, {}}, {"DropSoulGem", 0, {}, {}},
      {"DropSoulGemX gem", 0, {}, {}}, {"player->DropSoulGem\tgem", 0, {}, {}},
  });
  expectCases(idApp("RemoveSpell", 15, 20), {{"player->RemoveSpellEffects somespell", 0, {}, {}}});
}

TEST_F(SignatureTest, IdHasNoCallerForm) {
  expectCases(id("StartScript", 96), {
      {"  StartScript, MyScript", 1, {}, {{96, "myscript"}}},
      {"player->StartScript \"x\"", 0, {}, {}}, {"\"npc\"->StartScript x", 0, {}, {}},
  });
  expectCases(id("Coc", 95), {{"Coc \"Balmora, Guild\"", 1, {}, {{95, "balmora, guild"}}}});
  expectCases(id("Begin", 99), {
      {"Begin MyScript", 1, {}, {{99, "myscript"}}}, {"Begin", 0, {}, {}},
      {"Beginning x", 0, {}, {}},
  });
}

TEST_F(SignatureTest, OptionalIdListReading) {
  expectCases(optId("End", 19, 99, 0), {
      {"End myscript", 1, {}, {{99, "myscript"}}}, {"End if", 1, {}, {{99, "if"}}},
      {"End ", 1, {}, {}},  // an empty identifier is no error
      {"End a b", 1, {(afterId("End", "a"))}, {{99, "a"}}},
      {"End", 0, {}, {}}, {"Endif", 0, {}, {}},
      {"player->End x", 0, {}, {}},  // choice 0: bare form only
  });
  const auto after = [](std::string_view ident) { return (afterId("PCExpell", ident)); };
  const std::string f49(49, 'f');
  expectCases(optId("PCExpell", 19, 91, 0), {
      {"PCExpell guild one", 1, {after("guild")}, {{91, "guild"}}},
      {"PCExpell \"guild one\"", 1, {}, {{91, "guild one"}}},
      {"PCExpell \"guild one\"x", 1, {after("guild one")}, {{91, "guild one"}}},
      {"PCExpell \"guild", 1, {}, {{91, "guild"}}}, {"PCExpell \"a,b\"", 1, {}, {{91, "a,b"}}},
      {"PCExpell \"\"", 1, {}, {}},
      // An unquoted comma ends the identifier and is a trailing argument.
      {"PCExpell guild,x", 1, {after("guild")}, {{91, "guild"}}},
      {"PCExpell ,", 1, {after("")}, {}},
      // After the cut, the rest is a trailing argument.
      {std::string("PCExpell ").append(55, 'f'), 1, {after(f49)}, {{91, f49}}},
      {"\"npc\"->PCExpell x", 0, {}, {}},
  });
  const Finding onlyPlayer = E(" : erreur, la fonction Activate ne prend que \"Player\" en "
                               "paramètre optionnel.");
  const Finding afterPlayer = (afterId("Activate", "player"));
  expectCases(optId("Activate", 19, 15, 1), {
      {"Activate PLAYER", 1, {}, {{15, "player"}}},
      {"\"door\"->Activate player", 1, {}, {{19, "door"}, {15, "player"}}},
      {"Activate \"npc_01\"", 1, {onlyPlayer}, {}}, {"Activate npc x", 1, {onlyPlayer}, {}},
      {"Activate player x", 1, {afterPlayer}, {{15, "player"}}},
      {"Activate \"player\"x", 1, {afterPlayer}, {{15, "player"}}},
      {"door->Activate", 0, {}, {}},
  });
  // The rule belongs to Activate alone.
  expectCases(optId("PCJoinFaction", 19, 91, 0),
              {{"PCJoinFaction npc_01", 1, {}, {{91, "npc_01"}}}});
}

TEST_F(SignatureTest, TwoIdentifiersAndTheSeparatorStep) {
  const auto after = [](std::string_view ident) { return (afterId("AddSoulGem", ident)); };
  const Finding noFirst = E(" : impossible de détecter le premier appelé !");
  const Finding noSecond = E(" : impossible de détecter le second appelé !");
  expectCases(idId("AddSoulGem", 10, 46, 38, 1), {
      {"AddSoulGem c, g", 1, {}, {{46, "c"}, {38, "g"}}},
      {"AddSoulGem, c g ", 1, {}, {{46, "c"}, {38, "g"}}},
      {"\"chest\"->AddSoulGem c g", 1, {}, {{10, "chest"}, {46, "c"}, {38, "g"}}},
      // Second identifier absent.
      {"AddSoulGem \"creature_01\"", 1, {}, {{46, "creature_01"}}},
      {"AddSoulGem a,", 1, {}, {{46, "a"}}},
      // No space after the first: the second is not read...
      {"AddSoulGem creature_01,gem", 1, {}, {{46, "creature_01"}}},
      {"AddSoulGem a\tb", 1, {}, {{46, "a"}}},
      // ...and when the first was quoted, the rest is a trailing argument.
      {"AddSoulGem \"a\",\"b\"", 1, {after("a")}, {{46, "a"}}},
      {"AddSoulGem \"a\"\t\"b\"", 1, {after("a")}, {{46, "a"}}},
      // The last reading copies a comma and stops on a blank.
      {"AddSoulGem a b,c", 1, {}, {{46, "a"}, {38, "b,c"}}},
      {"AddSoulGem a b c", 1, {after("b")}, {{46, "a"}, {38, "b"}}},
      {"AddSoulGem \"a\" \"b\" x", 1, {after("b")}, {{46, "a"}, {38, "b"}}},
      {"AddSoulGem \"a\" \"b\"x", 1, {after("b")}, {{46, "a"}, {38, "b"}}},
      {"AddSoulGem a  b", 1, {noSecond}, {{46, "a"}}},
      {"AddSoulGem a ", 1, {noSecond}, {{46, "a"}}},
      {"AddSoulGem , b", 1, {noFirst}, {}}, {"AddSoulGem \"\" b", 1, {noFirst}, {}},
      {"my chest->AddSoulGem c g", 1, {E(callerError("AddSoulGem", kAddQuotes))}, {}},
      {"AddSoulGem", 0, {}, {}}, {"AddSoulGem\tc g", 0, {}, {}},
  });
  expectCases(idId("Cast", 19, 20, 19, 1), {
      {"player->Cast \"fireball\" \"npc\"", 1, {}, {{19, "player"}, {20, "fireball"}, {19, "npc"}}},
  });
  expectCases(idId("Cast", 19, 20, 19, 0), {{"player->Cast a b", 0, {}, {}}});
}

// clang-format on

}  // namespace
}  // namespace lintaro::test
