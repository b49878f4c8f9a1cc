// MessageBox, Choice and Say: the text and its placeholders with their
// variables, the buttons, the choices with their references and the two modes
// after a reference, the voice file, its subtitle and the caller of Say.
// PlaceAtMe, PlaceAtPC, Position, PositionCell, PlaceItem and PlaceItemCell:
// the object and cell readings, the numbers with and without a sign, the
// separators each number needs, the values given as variables, and the caller
// of PlaceAtMe with its own messages. (The golden cases
// "messagebox_choice", "say_position" and
// "placement_extensions" hold the common forms.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "special/synFonctionsSpeciales.h"
#include "run/WorkFileMirrors.h"
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

void runCases(SpecialChecker checker, const std::vector<test::LineCase>& cases) {
  test::TempDir dir;
  test::expectLineCases(test::atLine(checker, kLine), cases);
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
      {"\tMessageBox, \"Bonjour\"", 1, {}, {}},
      {"MessageBox Bonjour", 1, {}, {}},
      {"MessageBox,\"Bonjour\"", 0, {}, {}},
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
      {"MessageBox \"Choix\", \"Un\",\"Deux\"  ", 1, {}, {}},
      {"MessageBox \"Choix\" \"Un\",  ", 1,
       {E(" : impossible de détecter le 2-ième choix de la MessageBox.")}, {}},
      {"MessageBox \"Choix\",", 1,
       {E(" : impossible de détecter le 1-ième choix de la MessageBox.")}, {}},
      {"MessageBox \"Choix\" \"Un\" \"Deux", 1,
       {E(" : impossible de détecter la fin du 2-ième choix de la MessageBox.")}, {}},
      // Nothing after the tenth button is examined.
      {"MessageBox \"t\" \"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\" \"9\" \"10\" x", 1, {}, {}},
      {"MessageBox \"%g\" x \"Ok\"", 1, {}, {{9, "x"}}},
  });
}

TEST(ChoiceTest, FirstChoice) {
  runCases(synDetectChoice, {
      {"Choice, \"Oui\", 1, \"Non\", 2", 1, {}, {}},
      {"Choice,\"Oui\" 1", 0, {}, {}},
      {"Choice \"Oui 1", 1, {E(" : erreur, le choix de la fonction Choice n'est pas valide !")}, {}},
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

Finding sayTrailing(std::string_view file) {
  return E(" : erreur, la fonction Say ne doit contenir aucun paramètre après l'ID du fichier \"" +
           std::string(file) + "\" !");
}

TEST(SayTest, FileSubtitleAndCaller) {
  runCases(synDetectSay, {
      {"Say, \"f.mp3\", \"Bonjour\"", 1, {}, {{92, "f.mp3"}}},
      {"Say f.mp3", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\" \"Bonjour", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\"x", 1, {sayTrailing("f.mp3")}, {{92, "f.mp3"}}},
      {"Say f.mp3 bonjour toi", 1, {sayTrailing("f.mp3")}, {{92, "f.mp3"}}},
      {"Say f.mp3 bonjour", 1, {}, {{92, "f.mp3"}}},
      {"Say f.mp3,x", 1, {}, {{92, "f.mp3"}}},
      {"Say \"f.mp3\", ", 1, {}, {{92, "f.mp3"}}},
      {"Say", 0, {}, {}},
      {"Say,\"f\"", 0, {}, {}},
      {"player->Say, \"f\", \"t\"", 1, {}, {{31, "player"}, {92, "f"}}},
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

const Record kGob{19, "gob"};
const Record kPot{19, "pot"};

// clang-format off
TEST(PlaceAtTest, ObjectNumbersAndCaller) {
  test::TempDir dir;
  const Finding direction = E(" : erreur, la direction de la fonction PlaceAtMe est incorrecte !");
  const Finding count = E(" : erreur, le nombre d'objets à placer avec PlaceAtMe est incorrect !");
  test::expectLineCases(test::atLine(synDetectPlaceAtMe, kLine), {
      {"PlaceAtMe, gob, 1, 150, 0  ", 1, {}, {kGob}},
      // A quoted object goes on after its closing quote: here it takes the count.
      {"PlaceAtMe \"gob\"1 150 0", 1, {direction}, {{19, "gob1"}}},
      {"PlaceAtMe gob,1,150,0", 1, {E(" : pas d'espace après la distance de PlaceAtMe !")}, {kGob}},
      {"PlaceAtMe \"gob\" 1 150", 1, {direction}, {kGob}},
      {"PlaceAtMe \"gob\" 1 150 -90", 1, {direction}, {kGob}},
      {"PlaceAtMe \"gob\" -1 150 0", 1, {count}, {kGob}}, {"PlaceAtMe \"gob\"", 1, {count}, {kGob}},
      {"PlaceAtMe \"gob\" 1.5 150 0", 1,
       {E(" : erreur dans la fonction PlaceAtMe, la distance est incorrecte !")}, {kGob}},
      {"PlaceAtMe \"my gob\"x, 1, 2, 3", 1, {}, {{19, "my gobx"}}},
      {"PlaceAtMe \"\"\" 1 1 1", 1,
       {E(" : impossible de détecter l'objet à placer !"),
        E(" : erreur dans la syntaxe de l'appelé de la fonction PlaceAtMe : trop de guillemets.")}, {}},
      {"PlaceAtMe  gob 1 1 1", 1, {E(" : impossible de détecter l'objet à placer !")}, {}},
      {"PlaceAtMe,gob 1 1 1", 0, {}, {}},
      {"\"My Npc\"->PlaceAtMe gob 1 256 1", 1, {}, {{19, "my npc"}, kGob}},
      {"\"\"\"->PlaceAtMe gob 1 1 1", 1,
       {E(" : impossible de détecter l'appelant !"),
        E(" : erreur dans la syntaxe de l'appelant de la fonction PlaceAtMe : trop de guillemets.")}, {}},
      {"\"npc\" ->PlaceAtMe gob 1 1 1", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction PlaceAtMe : le guillemet final "
          "n'est pas avant l'opérateur '.'.")}, {}},
      {"my npc->PlaceAtMe gob 1 1 1", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction PlaceAtMe. Rajoutez des "
          "guillemets.")}, {}},
  });
  // PlaceAtPC has its own name in every message, and no caller form.
  test::expectLineCases(test::atLine(synDetectPlaceAtPC, kLine), {
      {"player->PlaceAtPC \"gob\" 1 150 0", 0, {}, {}},
      {"PlaceAtPC \"gob\" x 150 0", 1,
       {E(" : erreur, le nombre d'objets à placer avec PlaceAtPC est incorrect !")}, {kGob}},
      {"PlaceAtPC \"gob\" 1 x 0", 1,
       {E(" : erreur dans la fonction PlaceAtPC, la distance est incorrecte !")}, {kGob}},
      {"PlaceAtPC \"gob\" 1 1 x", 1,
       {E(" : erreur, la direction de la fonction PlaceAtPC est incorrecte !")}, {kGob}},
  });
}

TEST(PositionTest, FourNumbersThenTheCell) {
  test::TempDir dir;
  test::expectLineCases(test::atLine(synDetectPosition, kLine), {
      {"Position 1,2,3, -4", 1, {}, {}},
      {"Position 1 2 3,-4", 1,
       {E(" : pas d'espace après la position sur l'axe Z de la fonction Position !")}, {}},
      {"Position 1 2 3", 1,
       {E(" : erreur, la rotation sur l'axe Z de la fonction Position est incorrecte !")}, {}},
      {"Position 1 2 3 4 5", 1,
       {E(" : erreur, la fonction Position ne prend que quatre paramètres appelés !")}, {}},
      {"Position x 2 3 4", 1, {E(" : erreur, la valeur de Position sur l'axe X est incorrecte !")}, {}},
      {"Position 1 - 3 4", 1, {E(" : erreur, la valeur de Position sur l'axe Y est incorrecte !")}, {}},
      {"Position 1 2.5 3 4", 1, {E(" : erreur, la valeur de Position sur l'axe Z est incorrecte !")}, {}},
      {"Position", 0, {}, {}},
      {"\"garde\"x->Position 1 2 3 4", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction Position : le guillemet final "
          "n'est pas avant le '->'.")}, {}},
  });
  test::expectLineCases(test::atLine(synDetectPositionCell, kLine), {
      {"PositionCell 1,2,3,4, Balmora", 1, {}, {{95, "balmora"}}},
      {"PositionCell 1 2 3 4 Balmora x", 1, {E(" : erreur dans le nom de la cellule !")},
       {{95, "balmora"}}},
      {"PositionCell 1 2 3 4 \"Balmora\" ", 1, {}, {{95, "balmora"}}},
      {"PositionCell 1,2,3,4,\"Balmora\"", 1,
       {E(" : pas d'espace après la rotation sur l'axe Z de la fonction PositionCell !")}, {}},
      {"PositionCell 1 2 3 4", 1, {E(" : impossible de détecter le nom de la cellule !")}, {}},
      {"PositionCell 1 2 3 4 \"a\"b\"c\"", 1,
       {E(" : erreur dans la syntaxe du nom de la cellule : trop de guillemets.")}, {}},
      {"PositionCell 1 2 3 x \"b\"", 1,
       {E(" : erreur, la valeur de rotation de PositionCell sur l'axe Z est incorrecte !")}, {}},
      {"PositionCell 1 2 y 4 \"b\"", 1,
       {E(" : erreur, la valeur de PositionCell sur l'axe Z est incorrecte !")}, {}},
      {"\"npc\"->PositionCell -1 -2 -3 -4 \"c\"", 1, {}, {{19, "npc"}, {95, "c"}}},
  });
}

TEST(PlaceItemTest, ValuesSeparatorsAndCell) {
  test::TempDir dir;
  const Finding tooMany = E(" : erreur, trop de paramètre dans la fonction PlaceItem !");
  test::expectLineCases(test::atLine(synDetectPlaceItem, kLine), {
      {"PlaceItem, pot, -1  -2 -_z -4  ", 1, {}, {kPot, {5, "_z"}}},
      {"PlaceItem \"pot\" 1\t2 3 4", 1, {E(" : erreur, pas d'espace après l'axe x !")}, {kPot}},
      {"PlaceItem \"pot\" 1 2x 3 4", 1, {E(" : erreur, pas d'espace après l'axe y !")}, {kPot}},
      {"PlaceItem \"pot\" 1 2 3", 1, {E(" : erreur, pas d'espace après l'axe z !")}, {kPot}},
      {"PlaceItem \"pot\" .5 2 3 4", 1,
       {E(" : erreur, la syntaxe de l'axe x de la fonction PlaceItem est incorrecte !.")}, {kPot}},
      {"PlaceItem \"pot\" ", 1,
       {E(" : erreur, la syntaxe de l'axe x de la fonction PlaceItem est incorrecte !")}, {kPot}},
      {"PlaceItem \"pot\" 1 . 3 4", 1,
       {E(" : erreur, la syntaxe de l'axe y de la fonction PlaceItem est incorrecte !")}, {kPot}},
      {"PlaceItem \"pot\" 1 2 3 ", 1,
       {E(" : erreur, la syntaxe de la rotation de la fonction PlaceItem est incorrecte !")}, {kPot}},
      {"PlaceItem \"pot\" a.b 2 3 4", 1,
       {E(" : erreur dans la syntaxe de l'axe x de la fonction PlaceItem.")}, {kPot}},
      {"PlaceItem \"pot\" 1 2 z-1 4", 1,
       {E(" : erreur dans la syntaxe de l'axe z de la fonction PlaceItem.")}, {kPot}},
      {"PlaceItem \"pot\" 1 2 3 r.", 1,
       {E(" : erreur dans la syntaxe de la rotation de la fonction PlaceItem.")}, {kPot}},
      {"PlaceItem \"pot\" 1 2 3 4 5", 1,
       {E(" : erreur, trop de paramètres dans la fonction PlaceItem !")}, {kPot}},
      {"PlaceItem \"pot\" 1 2 3 rot 5", 1, {tooMany}, {kPot, {5, "rot"}}},
      {"PlaceItem \"pot\" 1 2 3 rot,", 1, {tooMany}, {kPot, {5, "rot"}}},
      {"PlaceItem \"pot\",1 2 3 4", 1, {E(" : erreur, pas d'espace après l'objet \"pot\" !")}, {kPot}},
      {"PlaceItem  \"pot\" 1 2 3 4", 1, {E(" : impossible de détecter l'objet à placer !")}, {}},
      {"PlaceItem\t\"pot\" 1 2 3 4", 0, {}, {}},
  });
  test::expectLineCases(test::atLine(synDetectPlaceItemCell, kLine), {
      {"PlaceItemCell pot, ald, 1 2 3 4", 1, {}, {kPot, {95, "ald"}}},
      {"PlaceItemCell \"pot\", \"Ald-ruhn\",1 2 3 4", 1,
       {E(" : erreur, pas d'espace après l'objet \"ald-ruhn\" !")}, {kPot, {95, "ald-ruhn"}}},
      // Without a cell, X is read as the cell.
      {"PlaceItemCell \"pot\" 1 2 3 4", 1, {E(" : erreur, pas d'espace après l'axe z !")},
       {kPot, {95, "1"}}},
      {"PlaceItemCell \"pot\" \"\" 1 2 3 4", 1, {E(" : impossible de détecter la cellule !")}, {kPot}},
      {"PlaceItemCell \"pot\" \"c\" 1 2 3 4 5", 1,
       {E(" : erreur, trop de paramètres dans la fonction PlaceItemCell !")}, {kPot, {95, "c"}}},
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
    JournalFile journalFile("absent/DbTempTES3");
    InfoFiles infoFiles("absent/InfTempTES3", "absent/InfTempTES3.3");
    Journal journal;
    journal.setMirror(&journalFile);
    InfoStore info;
    info.setMirror(&infoFiles);
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
