// MessageBox, Choice and Say: the text and its placeholders with their
// variables, the buttons, the choices with their references and the two modes
// after a reference, the voice file, its subtitle and the caller of Say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "special/synFonctionsSpeciales.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::CheckRun;
using test::Finding;
using test::Record;

constexpr int kLine = 4;  // printed as "Ligne 5"

Finding E(std::string_view message) {
  return test::errorAt(kLine, message);
}

using SpecialChecker = void (*)(CheckContext&, std::string&, int*, int);

struct Case {
  std::string text;
  int handled;  // lineHandled after the call; it starts at 0
  std::vector<Finding> findings;
  std::vector<Record> records;
};

void runCases(SpecialChecker checker, const std::vector<Case>& cases) {
  test::TempDir dir;
  for (const Case& c : cases) {
    CheckRun run;
    std::string line = c.text;
    int handled = 0;
    checker(run.ctx, line, &handled, kLine);
    EXPECT_EQ(handled, c.handled) << '"' << c.text << '"';
    EXPECT_EQ(run.findings(), c.findings) << '"' << c.text << '"';
    EXPECT_EQ(run.records(), c.records) << '"' << c.text << '"';
  }
}

Finding variableMissing(int k) {
  return E(" : impossible de détecter la " + std::to_string(k) +
           "-ième variable de la MessageBox.");
}
const Finding kTooManyParameters =
    E(" : erreur, la fonction MessageBox contient trop de paramètres !");

// clang-format off
TEST(MessageBoxTest, TextAndPlaceholders) {
  runCases(synDetectMessageBox, {
      {"MessageBox \"Bonjour\"", 1, {}, {}},
      {"\tMessageBox, \"Bonjour\"", 1, {}, {}},
      {"MessageBox Bonjour", 1, {}, {}},
      {"MessageBox,\"Bonjour\"", 0, {}, {}},
      {"MessageBox\t\"Bonjour\"", 0, {}, {}},
      {"MessageBox \"\"", 1, {E(" : impossible de détecter le texte !")}, {}},
      {"MessageBox  \"Bonjour\"", 1, {E(" : impossible de détecter le texte !")}, {}},
      // Capitals count once lowered; "%f" without precision is no placeholder.
      {"MessageBox \"A %G B %S %f\" x \"y\"", 1, {}, {{9, "x"}}},
      {"MessageBox \"%.2f et %.0f\" obj.var n", 1, {}, {{19, "obj"}, {29, "var"}, {9, "n"}}},
      {"MessageBox \"%g%g%g%g%g%g%g%g%g\" a b c d e f g h i", 1, {},
       {{9, "a"}, {9, "b"}, {9, "c"}, {9, "d"}, {9, "e"}, {9, "f"}, {9, "g"}, {9, "h"}, {9, "i"}}},
      {"MessageBox \"%g%g%g%g%g%g%g%g%g%g\" a b c d e f g h i j", 1,
       {E(" : plus de 9 variables dans la MessageBox.")}, {}},
  });
}

TEST(MessageBoxTest, Variables) {
  runCases(synDetectMessageBox, {
      {"MessageBox \"%g %g\" a,b", 1,
       {E(" : pas d'espace après la 1-ième variable de la MessageBox.")}, {{9, "a"}}},
      {"MessageBox \"%g\",x", 1, {E(" : pas d'espace après le texte de la MessageBox.")}, {}},
      {"MessageBox \"%g\", x", 1, {}, {{9, "x"}}},
      {"MessageBox \"%g\"\tx", 1, {E(" : pas d'espace après le texte de la MessageBox.")}, {}},
      {"MessageBox \"%g\"", 1, {variableMissing(1)}, {}},
      {"MessageBox \"%g\" ", 1, {variableMissing(1)}, {}},
      {"MessageBox \"%g\",", 1, {variableMissing(1)}, {}},
      {"MessageBox \"%s\" mot", 1, {variableMissing(1)}, {}},
      {"MessageBox \"%s\" \"mot", 1, {variableMissing(1)}, {}},
      {"MessageBox \"%s %s\" \"un\", \"deux\"", 1, {}, {}},
      {"MessageBox \"%g %s\" a", 1, {variableMissing(2)}, {{9, "a"}}},
      // The expression checker refuses the name.
      {"MessageBox \"%g\" 5.", 1, {variableMissing(1)}, {}},
      // An empty name is an accepted variable: the reading goes on at "-".
      {"MessageBox \"%g\" -x", 1, {kTooManyParameters}, {}},
      // At most 49 characters make the name; the rest is read as what follows.
      {"MessageBox \"%g\" " + std::string(49, 'v') + "w", 1, {kTooManyParameters},
       {{9, std::string(49, 'v')}}},
  });
}

// The variables go through the expression checker with the run's switches:
// a value function of an expansion the mod may not use is reported there.
TEST(MessageBoxTest, VariablesSeeTheExpansionSwitches) {
  test::TempDir dir;
  for (const int allowed : {0, 1}) {
    CheckRun run(allowed, allowed);
    std::string line = "MessageBox \"%g %g\" GetScale GetPCInJail";
    int handled = 0;
    synDetectMessageBox(run.ctx, line, &handled, kLine);
    const std::vector<Finding> expected =
        allowed == 1 ? std::vector<Finding>{}
                     : std::vector<Finding>{E(" : fonction Tribunal-dépendante !"),
                                            E(" : fonction Bloodmoon-dépendante !")};
    EXPECT_EQ(run.findings(), expected) << allowed;
    EXPECT_EQ(handled, 1);
  }
}

TEST(MessageBoxTest, Buttons) {
  runCases(synDetectMessageBox, {
      {"MessageBox \"Choix\" \"Un\" \"Deux\"", 1, {}, {}},
      {"MessageBox \"Choix\", \"Un\",\"Deux\"  ", 1, {}, {}},
      {"MessageBox \"Choix\" \"Un\",  ", 1,
       {E(" : impossible de détecter le 2-ième choix de la MessageBox.")}, {}},
      {"MessageBox \"Choix\",", 1,
       {E(" : impossible de détecter le 1-ième choix de la MessageBox.")}, {}},
      {"MessageBox \"Choix\" \"Un\" mot", 1, {kTooManyParameters}, {}},
      {"MessageBox \"Choix\" \"Un\" \"Deux", 1,
       {E(" : impossible de détecter la fin du 2-ième choix de la MessageBox.")}, {}},
      // Nothing after the tenth button is examined.
      {"MessageBox \"t\" \"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\" \"9\" \"10\" x", 1, {}, {}},
      {"MessageBox \"%g\" x \"Ok\"", 1, {}, {{9, "x"}}},
  });
}

TEST(ChoiceTest, FirstChoice) {
  runCases(synDetectChoice, {
      {"Choice \"Oui\" 1 \"Non\" 2", 1, {}, {}},
      {"Choice, \"Oui\", 1, \"Non\", 2", 1, {}, {}},
      {"Choice,\"Oui\" 1", 0, {}, {}},
      {"Choice Oui 1", 1, {E(" : erreur, la fonction Choice ne propose aucun choix !")}, {}},
      {"Choice \"Oui 1", 1, {E(" : erreur, le choix de la fonction Choice n'est pas valide !")}, {}},
      {"Choice \"Oui\",1", 1,
       {E(" : erreur, pas d'espace après le premier choix de la fonction Choice !")}, {}},
      {"Choice \"Oui\"", 1,
       {E(" : erreur, le choix de la fonction Choice n'est pas référencé !")}, {}},
      {"Choice \"Oui\"  1", 1,
       {E(" : erreur, le choix de la fonction Choice n'est pas référencé !")}, {}},
      {"Choice \"Oui\" 1x", 1,
       {E(" : erreur, la référence du premier choix de la fonction Choice n'est pas valide !")}, {}},
      {"Choice \"Oui\" 1,", 1,
       {E(" : erreur, pas de choix après la virgule du premier choix de la fonction Choice !")}, {}},
      {"Choice \"Oui\" 1,x", 1,
       {E(" : erreur, pas d'espace après la virgule du premier choix de la fonction Choice !")}, {}},
  });
}

TEST(ChoiceTest, FurtherChoicesAndModes) {
  runCases(synDetectChoice, {
      // After a comma another choice is due; after a blank it is optional.
      {"Choice \"Oui\" 1, ", 1,
       {E(" : erreur, la fonction Choice ne propose pas de 2-ième choix !")}, {}},
      {"Choice \"Oui\" 1 ", 1, {}, {}},
      {"Choice \"Oui\" 1 x", 1, {}, {}},
      {"Choice \"Oui\" 1 xy", 1,
       {E(" : erreur, le 2-ième choix de la fonction Choice n'est pas valide !")}, {}},
      {"Choice \"a\" 1, \"b", 1,
       {E(" : erreur, le choix de la fonction Choice n'est pas valide !")}, {}},
      {"Choice \"a\" 1 \"b", 1,
       {E(" : erreur, le 2-ième choix de la fonction Choice n'est pas valide !")}, {}},
      {"Choice \"a\" 1 \"", 1, {}, {}},
      {"Choice \"Oui\" 1 \"Non\"", 1,
       {E(" : erreur, le 2-ième choix de la fonction Choice n'est pas référencé !")}, {}},
      {"Choice \"a\" 1 \"b\",2", 1,
       {E(" : erreur, pas d'espace après le 2-ième choix de la fonction Choice !")}, {}},
      {"Choice \"a\" 1 \"b\" 2x", 1,
       {E(" : erreur, la référence du 2-ième choix de la fonction Choice n'est pas valide !")}, {}},
      {"Choice \"a\" 1 \"b\" 2,", 1,
       {E(" : erreur, pas de choix après la virgule du 2-ième choix de la fonction Choice !")}, {}},
      {"Choice \"a\" 1 \"b\" 2,x", 1,
       {E(" : erreur, pas d'espace après la virgule du 2-ième choix de la fonction Choice !")}, {}},
      {"Choice \"a\" 1 \"b\" 2, ", 1,
       {E(" : erreur, la fonction Choice ne propose pas de 3-ième choix !")}, {}},
      // Six choices at most: nothing after the sixth is examined.
      {"Choice \"a\" 1 \"b\" 2 \"c\" 3 \"d\" 4 \"e\" 5 \"f\" 6 \"g\" 7 zz", 1, {}, {}},
      {"Choice \"a\" 1 \"b\" 2 \"c\" 3 \"d\" 4 \"e\" 5 \"f\" 6,", 1,
       {E(" : erreur, pas de choix après la virgule du 6-ième choix de la fonction Choice !")}, {}},
  });
}

const Finding kSayCallerQuotes =
    E(" : erreur dans la syntaxe de l'appelant de la fonction Say. Rajoutez des guillemets.");

Finding sayTrailing(std::string_view file) {
  return E(" : erreur, la fonction Say ne doit contenir aucun paramètre après l'ID du fichier \"" +
           std::string(file) + "\" !");
}

TEST(SayTest, FileSubtitleAndCaller) {
  runCases(synDetectSay, {
      {"Say \"Vo\\a.mp3\" \"Bonjour\"", 1, {}, {{92, "vo\\a.mp3"}}},
      {"Say, \"f.mp3\", \"Bonjour\"", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\" \"Bonjour\" encore", 1, {sayTrailing("f.mp3")}, {{92, "f.mp3"}}},
      {"Say f.mp3", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\" \"Bonjour", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\"x", 1, {sayTrailing("f.mp3")}, {{92, "f.mp3"}}},
      {"Say f.mp3 bonjour toi", 1, {sayTrailing("f.mp3")}, {{92, "f.mp3"}}},
      {"Say f.mp3 bonjour", 1, {}, {{92, "f.mp3"}}},
      {"Say f.mp3,x", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\", ", 1, {}, {{92, "f.mp3"}}},
      {"Say", 0, {}, {}},
      {"Say,\"f\"", 0, {}, {}},
      {"\"My Npc\"->Say \"f\" \"t\"", 1, {}, {{31, "my npc"}, {92, "f"}}},
      {"player->Say, \"f\", \"t\"", 1, {}, {{31, "player"}, {92, "f"}}},
      {"my npc->Say \"f\" \"t\"", 1, {kSayCallerQuotes}, {}},
      {"\"my npc\" ->Say \"f\" \"t\"", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction Say : le guillemet final n'est "
          "pas avant le '->'.")}, {}},
      {"\"a\"\"b\"\"c\"->Say \"f\"", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction Say : trop de guillemets.")}, {}},
      // No caller text: no finding, and no nameless record.
      {"->Say \"f\"", 1, {}, {{92, "f"}}},
      {"Say \"\" \"t\"", 1, {}, {}},
  });
}
// clang-format on

// A journal that cannot be opened stops the run from the checkers that open
// it on every call, even on a line that is not their command; the others only
// reach it once they recognise their command.
TEST(SpecialJournalTest, WhichCheckersOpenTheJournalFirst) {
  test::TempDir dir;
  struct Row {
    SpecialChecker checker;
    bool opensFirst;
  };
  const Row rows[] = {
      {synDetectMessageBox, false},  {synDetectChoice, true},     {synDetectSay, true},
      {synDetectPlaceAtMe, false},   {synDetectPlaceAtPC, false}, {synDetectPosition, true},
      {synDetectPositionCell, true}, {synDetectPlaceItem, true},  {synDetectPlaceItemCell, true},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    Journal journal("absent/DbTempTES3");
    InfoStore info("absent/InfTempTES3", "absent/InfTempTES3.3");
    CheckContext ctx{journal, info, 0, 0};
    std::string line = "Return";
    int handled = 0;
    if (rows[i].opensFirst) {
      EXPECT_THROW(rows[i].checker(ctx, line, &handled, kLine), WorkFileError) << i;
    } else {
      EXPECT_NO_THROW(rows[i].checker(ctx, line, &handled, kLine)) << i;
    }
    EXPECT_EQ(handled, 0) << i;
  }
}

}  // namespace
}  // namespace lintaro
