// PlaceAtMe, PlaceAtPC, Position, PositionCell, PlaceItem and PlaceItemCell:
// the object and cell readings, the numbers with and without a sign, the
// separators each number needs, the values given as variables, and the caller
// of PlaceAtMe with its own messages.
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

constexpr int kLine = 9;  // printed as "Ligne 10"

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

const Record kGob{19, "gob"};

// clang-format off
TEST(PlaceAtTest, ObjectAndNumbers) {
  runCases(synDetectPlaceAtMe, {
      {"PlaceAtMe \"Gob\" 1 150 0", 1, {}, {kGob}},
      {"PlaceAtMe, gob, 1, 150, 0  ", 1, {}, {kGob}},
      // A quoted object goes on after its closing quote: here it takes the count.
      {"PlaceAtMe \"gob\"1 150 0", 1,
       {E(" : erreur, la direction de la fonction PlaceAtMe est incorrecte !")}, {{19, "gob1"}}},
      {"PlaceAtMe \"gob\" 1 1.5 0", 1, {E(" : pas d'espace après la distance de PlaceAtMe !")}, {kGob}},
      {"PlaceAtMe gob,1,150,0", 1, {E(" : pas d'espace après la distance de PlaceAtMe !")}, {kGob}},
      {"PlaceAtMe \"gob\" 1 150 0 5", 1,
       {E(" : erreur, la fonction PlaceAtMe ne prend que quatre paramètres appelés !")}, {kGob}},
      {"PlaceAtMe \"gob\" 1 150", 1,
       {E(" : erreur, la direction de la fonction PlaceAtMe est incorrecte !")}, {kGob}},
      {"PlaceAtMe \"gob\" 1 150 -90", 1,
       {E(" : erreur, la direction de la fonction PlaceAtMe est incorrecte !")}, {kGob}},
      {"PlaceAtMe \"gob\" -1 150 0", 1,
       {E(" : erreur, le nombre d'objets à placer avec PlaceAtMe est incorrect !")}, {kGob}},
      {"PlaceAtMe \"gob\"", 1,
       {E(" : erreur, le nombre d'objets à placer avec PlaceAtMe est incorrect !")}, {kGob}},
      {"PlaceAtMe \"gob\" 1.5 150 0", 1,
       {E(" : erreur dans la fonction PlaceAtMe, la distance est incorrecte !")}, {kGob}},
      // After the closing quote the object goes on up to a blank or a comma.
      {"PlaceAtMe \"my gob\"x, 1, 2, 3", 1, {}, {{19, "my gobx"}}},
      {"PlaceAtMe \"a\"b\"c\" 1 1 1", 1,
       {E(" : erreur dans la syntaxe de l'appelé de la fonction PlaceAtMe : trop de guillemets.")}, {}},
      {"PlaceAtMe \"\"\" 1 1 1", 1,
       {E(" : impossible de détecter l'objet à placer !"),
        E(" : erreur dans la syntaxe de l'appelé de la fonction PlaceAtMe : trop de guillemets.")}, {}},
      {"PlaceAtMe  gob 1 1 1", 1, {E(" : impossible de détecter l'objet à placer !")}, {}},
      {"PlaceAtMe,gob 1 1 1", 0, {}, {}},
  });
}

TEST(PlaceAtTest, CallerOfPlaceAtMe) {
  runCases(synDetectPlaceAtMe, {
      {"player->PlaceAtMe, gob, 1, 256, 1", 1, {}, {{19, "player"}, kGob}},
      {"\"My Npc\"->PlaceAtMe gob 1 256 1", 1, {}, {{19, "my npc"}, kGob}},
      {"\"\"\"->PlaceAtMe gob 1 1 1", 1,
       {E(" : impossible de détecter l'appelant !"),
        E(" : erreur dans la syntaxe de l'appelant de la fonction PlaceAtMe : trop de guillemets.")}, {}},
      {"->PlaceAtMe gob 1 1 1", 1, {E(" : impossible de détecter l'appelant !")}, {}},
      {"\"npc\" ->PlaceAtMe gob 1 1 1", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction PlaceAtMe : le guillemet final "
          "n'est pas avant l'opérateur '.'.")}, {}},
      {"my npc->PlaceAtMe gob 1 1 1", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction PlaceAtMe. Rajoutez des "
          "guillemets.")}, {}},
  });
}

TEST(PlaceAtTest, PlaceAtPCHasNoCaller) {
  runCases(synDetectPlaceAtPC, {
      {"PlaceAtPC \"gob\" 1 150 0", 1, {}, {kGob}},
      {"player->PlaceAtPC \"gob\" 1 150 0", 0, {}, {}},
      {"PlaceAtPC \"gob\" 1 1.5 0", 1, {E(" : pas d'espace après la distance de PlaceAtPC !")}, {kGob}},
      {"PlaceAtPC \"gob\" x 150 0", 1,
       {E(" : erreur, le nombre d'objets à placer avec PlaceAtPC est incorrect !")}, {kGob}},
      {"PlaceAtPC \"gob\" 1 x 0", 1,
       {E(" : erreur dans la fonction PlaceAtPC, la distance est incorrecte !")}, {kGob}},
      {"PlaceAtPC \"gob\" 1 1 x", 1,
       {E(" : erreur, la direction de la fonction PlaceAtPC est incorrecte !")}, {kGob}},
      {"PlaceAtPC \"gob\" 1 1 1 x", 1,
       {E(" : erreur, la fonction PlaceAtPC ne prend que quatre paramètres appelés !")}, {kGob}},
  });
}

TEST(PositionTest, FourNumbers) {
  runCases(synDetectPosition, {
      {"Position -10 20 30 90", 1, {}, {}},
      {"Position 1,2,3, -4", 1, {}, {}},
      {"Position 1 2 3,-4", 1,
       {E(" : pas d'espace après la position sur l'axe Z de la fonction Position !")}, {}},
      {"Position 1,2,3,4", 1,
       {E(" : pas d'espace après la position sur l'axe Z de la fonction Position !")}, {}},
      {"Position 1 2 3", 1,
       {E(" : erreur, la rotation sur l'axe Z de la fonction Position est incorrecte !")}, {}},
      {"Position 1 2 3 4 5", 1,
       {E(" : erreur, la fonction Position ne prend que quatre paramètres appelés !")}, {}},
      {"Position x 2 3 4", 1,
       {E(" : erreur, la valeur de Position sur l'axe X est incorrecte !")}, {}},
      {"Position 1 - 3 4", 1,
       {E(" : erreur, la valeur de Position sur l'axe Y est incorrecte !")}, {}},
      {"Position 1 2.5 3 4", 1,
       {E(" : erreur, la valeur de Position sur l'axe Z est incorrecte !")}, {}},
      {"Position", 0, {}, {}},
      {"\"Garde\"->Position 1 2 3 4", 1, {}, {{19, "garde"}}},
      {"garde 2->Position 1 2 3 4", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction Position. Rajoutez des "
          "guillemets.")}, {}},
      {"\"garde\"x->Position 1 2 3 4", 1,
       {E(" : erreur dans la syntaxe de l'appelant de la fonction Position : le guillemet final "
          "n'est pas avant le '->'.")}, {}},
  });
}

TEST(PositionTest, CellAfterTheNumbers) {
  runCases(synDetectPositionCell, {
      {"PositionCell 1 2 3 4 \"Balmora, Guilde\"", 1, {}, {{95, "balmora, guilde"}}},
      {"PositionCell 1,2,3,4, Balmora", 1, {}, {{95, "balmora"}}},
      {"PositionCell 1 2 3 4 \"Balmora\" x", 1, {E(" : erreur dans le nom de la cellule !")},
       {{95, "balmora"}}},
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

const Record kPot{19, "pot"};

TEST(PlaceItemTest, ValuesAndSeparators) {
  runCases(synDetectPlaceItem, {
      {"PlaceItem \"pot\" 1 2 zz 4", 1, {}, {kPot, {5, "zz"}}},
      {"PlaceItem, pot, -1  -2 -_z -4  ", 1, {}, {kPot, {5, "_z"}}},
      {"PlaceItem \"pot\" 1, 2 3 4", 1, {E(" : erreur, pas d'espace après l'axe x !")}, {kPot}},
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
      {"PlaceItem \"pot\" 1 2 3 rot 5", 1,
       {E(" : erreur, trop de paramètre dans la fonction PlaceItem !")}, {kPot, {5, "rot"}}},
      {"PlaceItem \"pot\" 1 2 3 rot,", 1,
       {E(" : erreur, trop de paramètre dans la fonction PlaceItem !")}, {kPot, {5, "rot"}}},
      {"PlaceItem \"pot\",1 2 3 4", 1, {E(" : erreur, pas d'espace après l'objet \"pot\" !")}, {kPot}},
      {"PlaceItem  \"pot\" 1 2 3 4", 1, {E(" : impossible de détecter l'objet à placer !")}, {}},
      {"PlaceItem\t\"pot\" 1 2 3 4", 0, {}, {}},
  });
}

TEST(PlaceItemTest, CellBetweenObjectAndValues) {
  runCases(synDetectPlaceItemCell, {
      {"PlaceItemCell \"pot\" \"Ald-ruhn\" 1 2 3 4", 1, {}, {kPot, {95, "ald-ruhn"}}},
      {"PlaceItemCell pot, ald, 1 2 3 4", 1, {}, {kPot, {95, "ald"}}},
      {"PlaceItemCell \"pot\", \"Ald-ruhn\",1 2 3 4", 1,
       {E(" : erreur, pas d'espace après l'objet \"ald-ruhn\" !")}, {kPot, {95, "ald-ruhn"}}},
      {"PlaceItemCell \"pot\",\"cell\" 1 2 3 4", 1,
       {E(" : erreur, pas d'espace après l'objet \"pot\" !")}, {kPot}},
      // Without a cell, X is read as the cell.
      {"PlaceItemCell \"pot\" 1 2 3 4", 1, {E(" : erreur, pas d'espace après l'axe z !")},
       {kPot, {95, "1"}}},
      {"PlaceItemCell \"pot\" \"\" 1 2 3 4", 1, {E(" : impossible de détecter la cellule !")}, {kPot}},
      {"PlaceItemCell \"pot\" \"c\" .5 2 3 4", 1,
       {E(" : erreur, la syntaxe de l'axe x de la fonction PlaceItemCell est incorrecte !.")},
       {kPot, {95, "c"}}},
      {"PlaceItemCell \"pot\" \"c\" 1 2 3 4 5", 1,
       {E(" : erreur, trop de paramètres dans la fonction PlaceItemCell !")}, {kPot, {95, "c"}}},
  });
}
// clang-format on

}  // namespace
}  // namespace lintaro
