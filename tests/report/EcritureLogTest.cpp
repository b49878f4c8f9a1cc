// Report writer: the whole text of "Correction de <name>" from given journal
// and info store contents, and the file it leaves.
#include "report/MainEcritureLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/WorkFiles.h"
#include "tests/CheckRun.h"
#include "tests/ReportTexts.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::kAllHidden;
using test::kErrorHeading;
using test::kLocal;
using test::kNoFindings;
using test::kTitle;
using test::kUnderline24;
const std::string kExternal =
    "\n\n\n Liste des variables locales externes utilisées :\n"
    "--------------------------------------------------\n";
const std::string kGlobal =
    "\n\n\n Liste des variables globales utilisées :\n"
    "------------------------------------------\n";
const std::string kPhysical =
    "\n\n\n Liste des objets physiques utilisés :\n---------------------------------------\n";
const std::string kNonPhysical =
    "\n\n\n Liste des objets non physiques utilisés :\n"
    "-------------------------------------------\n";
const std::string kDialogues =
    "\n\n\n Liste des dialogues utilisés :\n--------------------------------\n";
const std::string kOther =
    "\n\n\n Liste des autres objets utilisés :\n------------------------------------\n";
const std::string kErreur =
    "\n\n\n Liste des variables utilisées de manière erronnée (utilisées comme deux types "
    "différents) :\n---------------------------------------------------\n";

std::string entry(std::string_view name, std::string_view label) {
  return "    - \"" + std::string(name) + "\" (type " + std::string(label) + ")\n";
}
std::string objectEntry(std::string_view name, std::string_view type, std::string_view object) {
  return "    - \"" + std::string(name) + "\" (variable de type " + std::string(type) +
         " attachée à l'objet \"" + std::string(object) + "\")\n";
}

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kWorkFileNames)
      test::writeFile(name, "");
  }
  // The report's text converted back to UTF-8 terms: compares with `utf8`.
  void expectReport(int lines, int showInfo, int hideAlerts, const std::string& utf8,
                    int expectedErrors) {
    int errors = -1;
    EXPECT_EQ(composeReport(lines, showInfo, hideAlerts, journal, store, &errors),
              utf8ToCp1252(utf8));
    EXPECT_EQ(errors, expectedErrors);
  }
  void add(int line, std::string_view utf8, int kind) {
    journal.append(line, utf8ToCp1252(utf8), kind, "");
  }
  test::TempDir dir;
  Journal journal;
  InfoStore store;
};

TEST_F(ReportTest, NoFindingsAndNoScriptName) {
  expectReport(1, 1, 0, kTitle + kUnderline24 + kNoFindings, 0);
}

TEST_F(ReportTest, TitleNamesTheScript) {
  store.triInfo({99, "MonScript"});
  // 20 hyphens, 4 for "2.03", 12 for " : script \"\"" and 9 for the name.
  expectReport(
      1, 1, 0,
      kTitle + " : script \"monscript\"\n                    " + std::string(45, '-') + kNoFindings,
      0);
}

TEST_F(ReportTest, TitleNamesTheLastScriptNameRecorded) {
  store.triInfo({99, "first"});
  store.triInfo({0, "x"});
  store.triInfo({99, "second"});
  expectReport(
      1, 0, 0,
      kTitle + " : script \"second\"\n                    " + std::string(42, '-') + kNoFindings,
      0);
}

TEST_F(ReportTest, OnlyAlertsHidden) {
  add(2, "    - Ligne 3 : alerte, une", kAlert);
  add(-1, "    - Le premier caractère de \"_x\" est un underscore, risques de bugs in-game.",
      kAlert);
  expectReport(5, 1, 1, kTitle + kUnderline24 + kErrorHeading + kAllHidden, 0);
}

TEST_F(ReportTest, OnlyAlertsShown) {
  add(2, "    - Ligne 3 : alerte, une", kAlert);
  expectReport(5, 1, 0, kTitle + kUnderline24 + kErrorHeading + "    - Ligne 3 : alerte, une\n", 0);
}

TEST_F(ReportTest, FindingsSortedByLineThenJournalOrder) {
  add(-1, "    - whole script", kError);
  add(6, "    - Ligne 7 : first", kError);
  add(1, "    - Ligne 2 : alerte, second", kAlert);
  add(6, "    - Ligne 7 : third", kError);
  add(0, "    - Ligne 1 : fourth", kError);
  expectReport(8, 1, 0,
               kTitle + kUnderline24 + kErrorHeading +
                   "    - Ligne 1 : fourth\n"
                   "    - Ligne 2 : alerte, second\n"
                   "    - Ligne 7 : first\n"
                   "    - Ligne 7 : third\n"
                   "    - whole script\n",
               4);
  // Hiding the alerts leaves the errors in the same order.
  expectReport(8, 1, 1,
               kTitle + kUnderline24 + kErrorHeading +
                   "    - Ligne 1 : fourth\n"
                   "    - Ligne 7 : first\n"
                   "    - Ligne 7 : third\n"
                   "    - whole script\n",
               4);
}

TEST_F(ReportTest, EveryCountedRecordIsPrinted) {
  // The slot past the last line and any later index are printed in line
  // order, before the whole-script records; only other negative lines are not.
  add(9, "    - Ligne 10 : far", kError);
  add(-1, "    - whole script", kError);
  add(1, "    - Ligne 2 : un 'endif' en trop (pas de 'if' avant le 'endif').", kError);
  add(-7, "    - never", kError);
  expectReport(1, 1, 0,
               kTitle + kUnderline24 + kErrorHeading +
                   "    - Ligne 2 : un 'endif' en trop (pas de 'if' avant le 'endif').\n"
                   "    - Ligne 10 : far\n"
                   "    - whole script\n",
               4);
}

TEST_F(ReportTest, ShowInfoOffKeepsOnlyTheErreurSection) {
  store.triInfo({0, "count"});
  store.triInfo({10, "crate"});
  store.triInfo({11, "crate"});  // CONTENANT then CONTENU: ERREUR
  store.triInfo({90, "region"});
  add(0, "    - Ligne 1 : erreur", kError);
  const std::string expected = kTitle + kUnderline24 + kErrorHeading + "    - Ligne 1 : erreur\n" +
                               kErreur + entry("crate", "ERREUR");
  expectReport(3, 0, 0, expected, 1);
  expectReport(3, 2, 0, expected, 1);  // only 1 shows the lists
}

TEST_F(ReportTest, CodeWithoutLabelPrintsItsHeadingAlone) {
  store.triInfo({8, "g"});
  expectReport(1, 1, 0, kTitle + kUnderline24 + kNoFindings + kGlobal, 0);
}

TEST_F(ReportTest, CodesOutsideEveryGroupPrintNothing) {
  store.triInfo({150, "far"});
  store.triInfo({-5, "below"});
  expectReport(1, 1, 0, kTitle + kUnderline24 + kNoFindings, 0);
}

TEST_F(ReportTest, ExternalVariableWithTwoObjectsAndFallbacks) {
  store.triInfo({29, "state"});
  store.triInfo({26, "speed"});
  store.triInfoLocal({"state", "door_b"});
  store.triInfoLocal({"other", "x"});
  store.triInfoLocal({"state", "door_a"});
  expectReport(1, 1, 0,
               kTitle + kUnderline24 + kNoFindings + kExternal +
                   objectEntry("state", "indéterminé", "door_b") +
                   objectEntry("state", "indéterminé", "door_a") + entry("speed", "FLOAT"),
               0);
}

TEST_F(ReportTest, EveryLabelAndEverySectionInOrder) {
  // Names recorded out of section order: each section lists its names in the
  // order of the store.
  const std::vector<INFO> records = {
      {31, "pnj"},     {0, "s"},           {99, "MonScript"}, {10, "contenant"}, {1, "f"},
      {2, "l"},        {4, "i"},           {3, "sans3"},      {5, "gs"},         {6, "gf"},
      {7, "gl"},       {8, "g8"},          {9, "gi"},         {11, "contenu"},   {12, "activable"},
      {13, "p13"},     {15, "personne"},   {16, "equipable"}, {19, "objet"},     {30, "joueur"},
      {32, "arme"},    {35, "reparation"}, {38, "misc"},      {41, "porte"},     {46, "creature"},
      {47, "p47"},     {48, "levc"},       {49, "levi"},      {97, "race"},      {20, "sort"},
      {21, "effet"},   {22, "np22"},       {50, "topic"},     {51, "quete"},     {55, "d55"},
      {90, "region"},  {91, "faction"},    {92, "fichier"},   {93, "son"},       {94, "animation"},
      {95, "cellule"}, {96, "script"},     {60, "o60"},       {98, "o98"},       {25, "es"},
      {26, "ef"},      {27, "el"},         {28, "e28"},       {29, "ei"},        {10, "err"},
      {11, "err"},     {150, "hors"},
  };
  for (const INFO& r : records)
    store.triInfo(r);
  store.triInfoLocal({"el", "o2"});
  store.triInfoLocal({"es", "objs"});
  store.triInfoLocal({"el", "o1"});

  const std::string expected =
      kTitle + " : script \"monscript\"\n                    " + std::string(45, '-') +
      kNoFindings +
      // local variables
      kLocal + entry("s", "SHORT") + entry("f", "FLOAT") + entry("l", "LONG") +
      entry("i", "indéterminé") +
      // external local variables
      kExternal + objectEntry("es", "SHORT", "objs") + entry("ef", "FLOAT") +
      objectEntry("el", "LONG", "o2") + objectEntry("el", "LONG", "o1") +
      entry("ei", "indéterminé") +
      // global variables
      kGlobal + entry("gs", "SHORT") + entry("gf", "FLOAT") + entry("gl", "LONG") +
      entry("gi", "indéterminé") +
      // physical objects
      kPhysical + entry("pnj", "PNJ") + entry("contenant", "CONTENANT") +
      entry("contenu", "CONTENU") + entry("activable", "OBJET ACTIVABLE") +
      entry("personne", "PERSONNE") + entry("equipable", "OBJET EQUIPABLE") +
      entry("objet", "OBJET") + entry("joueur", "JOUEUR") + entry("arme", "ARME") +
      entry("reparation", "INSTRUMENT DE REPARATION") + entry("misc", "MISC") +
      entry("porte", "PORTE ou COFFRE") + entry("creature", "CREATURE") +
      entry("levc", "LEVELED CREATURE") + entry("levi", "LEVELED ITEM") +
      // non-physical objects
      kNonPhysical + entry("sort", "SORT") + entry("effet", "EFFET") +
      // dialogues
      kDialogues + entry("topic", "TOPIC") + entry("quete", "QUETE") +
      // other objects
      kOther + entry("race", "RACE") + entry("region", "REGION") + entry("faction", "FACTION") +
      entry("fichier", "FICHIER") + entry("son", "SON") + entry("animation", "ANIMATION") +
      entry("cellule", "CELLULE") + entry("script", "SCRIPT") +
      // wrongly used names
      kErreur + entry("err", "ERREUR");
  expectReport(1, 1, 0, expected, 0);
}

// The headings as transcribed above follow the rule of their underlines: one
// hyphen more than the heading's line, except the last one (51).
TEST(ReportHeadings, UnderlinesFollowTheRule) {
  const std::vector<std::string> headings = {kErrorHeading, kLocal,    kExternal,
                                             kGlobal,       kPhysical, kNonPhysical,
                                             kDialogues,    kOther,    kErreur};
  for (std::size_t i = 0; i < headings.size(); ++i) {
    const std::string text = utf8ToCp1252(headings[i]);
    ASSERT_TRUE(text.starts_with("\n\n\n "));
    const std::size_t lineEnd = text.find('\n', 3);
    const std::size_t headingLength = lineEnd - 3;
    const std::string underline = text.substr(lineEnd + 1);
    const std::size_t hyphens = i + 1 == headings.size() ? 51 : headingLength + 1;
    EXPECT_EQ(underline, std::string(hyphens, '-') + "\n") << headings[i];
  }
}

TEST_F(ReportTest, FileIsUtf8AndWorkFilesAreDeleted) {
  test::writeFile("Correction de x.txt", std::string(5000, 'o'));  // an older report
  store.triInfo({0, "caf\xE9"});                                   // a name with a Latin-1 letter
  add(0, "    - Ligne 1 : alerte, é", kAlert);
  int errors = -1;
  EXPECT_TRUE(ecritureLog("Correction de x.txt", 1, 1, 0, &errors, journal, store));
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(test::readFile("Correction de x.txt"), kTitle + kUnderline24 + kErrorHeading +
                                                       "    - Ligne 1 : alerte, é\n" + kLocal +
                                                       entry("café", "SHORT"));
  for (const char* name : kWorkFileNames)
    EXPECT_FALSE(test::fileExists(name)) << name;
}

TEST_F(ReportTest, UnderlineCountsCharactersNotUtf8Bytes) {
  store.triInfo({99, "Caf\xE9"});
  int errors = -1;
  EXPECT_TRUE(ecritureLog("Correction de x.txt", 1, 1, 0, &errors, journal, store));
  // 20 + 4 + 12 + 4 hyphens: "café" is four characters (five bytes in UTF-8).
  EXPECT_EQ(
      test::readFile("Correction de x.txt"),
      kTitle + " : script \"café\"\n                    " + std::string(40, '-') + kNoFindings);
}

TEST_F(ReportTest, UnopenableReport) {
  std::filesystem::create_directories("Correction de x.txt/y");
  int errors = -1;
  try {
    ecritureLog("Correction de x.txt", 1, 1, 0, &errors, journal, store);
    FAIL() << "expected a WorkFileError";
  } catch (const WorkFileError& e) {
    EXPECT_STREQ(e.what(), "Erreur : impossible d'ouvrir le fichier \"Correction de x.txt\" !\n\n");
  }
}

}  // namespace
}  // namespace lintaro
