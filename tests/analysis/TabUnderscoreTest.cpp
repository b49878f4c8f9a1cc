// Tab and underscore warnings: tabs after the first non-blank character of a
// line, and recorded names that begin with "_".
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/MainSyntaxe.h"
#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/WorkFiles.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::Finding;
using Findings = std::vector<Finding>;

class BadTabTest : public ::testing::Test {
 protected:
  // The alerts for one line, and the line as the check leaves it.
  Findings tabs(std::string& line, int index = 0) {
    std::filesystem::remove(kJournalFileName);
    Journal journal;
    synDetectBadTab(line, index, journal);
    return test::findingsOf(journal);
  }
  Findings tabs(const std::string& text, int index = 0) {
    std::string line = text;
    return tabs(line, index);
  }
  test::TempDir dir;
};

TEST_F(BadTabTest, LeadingTabsAreNotCounted) {
  EXPECT_EQ(tabs("\t\tset x to 1"), Findings{});
  EXPECT_EQ(tabs(" \t \tset x to 1"), Findings{});
  EXPECT_EQ(tabs("\t\t\t"), Findings{});  // a blank line of tabs
  EXPECT_EQ(tabs(""), Findings{});
  EXPECT_EQ(tabs("set x to 1"), Findings{});
}

TEST_F(BadTabTest, OneTabAfterTheFirstWord) {
  EXPECT_EQ(tabs("set\tx to 1", 4),
            (Findings{{4, 1,
                       utf8ToCp1252(
                           "    - Ligne 5 : alerte, 1 tabulation a été detectée après le premier "
                           "caractère (risques de plantage in-game).")}}));
  // A trailing tab after indentation counts too.
  EXPECT_EQ(tabs(" \t set x\t", 0),
            (Findings{{0, 1,
                       utf8ToCp1252(
                           "    - Ligne 1 : alerte, 1 tabulation a été detectée après le premier "
                           "caractère (risques de plantage in-game).")}}));
}

TEST_F(BadTabTest, SeveralTabsGiveOneAlertWithTheirCount) {
  EXPECT_EQ(
      tabs("\tset\tx\tto\t1", 4999),
      (Findings{{4999, 1,
                 utf8ToCp1252("    - Ligne 5000 : alerte, 3 tabulations ont été detectées après le "
                              "premier caractère (risques de plantage in-game).")}}));
  EXPECT_EQ(
      tabs("if\t\t\t( x == 1 )", 2),
      (Findings{{2, 1,
                 utf8ToCp1252("    - Ligne 3 : alerte, 3 tabulations ont été detectées après le "
                              "premier caractère (risques de plantage in-game).")}}));
}

TEST_F(BadTabTest, TabsInsideQuotedTextCount) {
  EXPECT_EQ(tabs("MessageBox \"a\tb\"", 0).size(), 1u);
}

TEST_F(BadTabTest, OnlySpacesAndTabsAreSkippedBeforeTheFirstCharacter) {
  // The vertical tab is the first character here, so the tab after it counts.
  EXPECT_EQ(tabs("\v\tset x", 0).size(), 1u);
}

TEST_F(BadTabTest, LineIsFoldedInPlace) {
  std::string line = "If ( X == 1 )\t\xC9T\xC9";
  tabs(line);
  EXPECT_EQ(line, "if ( x == 1 )\t\xC9t\xC9");  // only A-Z change
  std::string quiet = "\tSet X To 1";
  EXPECT_EQ(tabs(quiet), Findings{});
  EXPECT_EQ(quiet, "\tset x to 1");
}

TEST_F(BadTabTest, JournalIsOpenedOnlyForAnAlert) {
  std::filesystem::create_directories(std::string(kJournalFileName) + "/x");
  std::string clean = "\tSet x";
  Journal journal;
  EXPECT_NO_THROW(synDetectBadTab(clean, 0, journal));
  EXPECT_EQ(clean, "\tset x");
  std::string tabbed = "set\tx";
  try {
    synDetectBadTab(tabbed, 0, journal);
    FAIL() << "expected a WorkFileError";
  } catch (const WorkFileError& e) {
    EXPECT_STREQ(e.what(),
                 "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
                 "\"typeScript\".\n\n");
  }
}

class UnderscoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeFile(kInfoFileName, "");
    test::writeFile(kPairFileName, "");
  }
  static std::string alertText(std::string_view name) {
    return utf8ToCp1252("    - Le premier caractère de \"") + std::string(name) +
           "\" est un underscore, risques de bugs in-game.";
  }
  test::TempDir dir;
  InfoStore store;
};

TEST_F(UnderscoreTest, EveryNameBeginningWithUnderscoreInStoreOrder) {
  store.triInfo({0, "_Counter"});
  store.triInfo({1, "a_b"});
  store.triInfo({10, "_box"});
  store.triInfo({9, "_G"});
  store.triInfo({99, "_MyScript"});  // the script's own name too
  store.triInfo({11, "_box"});       // now ERREUR, still warned about
  store.triInfo({29, "_"});
  store.triInfo({0, "x_"});
  Journal journal;
  synDetectUnderscore(journal, store);
  EXPECT_EQ(test::findingsOf(journal), (Findings{{-1, 1, alertText("_counter")},
                                                 {-1, 1, alertText("_box")},
                                                 {-1, 1, alertText("_g")},
                                                 {-1, 1, alertText("_myscript")},
                                                 {-1, 1, alertText("_")}}));
}

TEST_F(UnderscoreTest, AlertsFollowEarlierFindings) {
  store.triInfo({0, "_x"});
  Journal journal;
  journal.append(3, "    - Ligne 4 : earlier", kError, "");
  synDetectUnderscore(journal, store);
  EXPECT_EQ(test::findingsOf(journal),
            (Findings{{3, 2, "    - Ligne 4 : earlier"}, {-1, 1, alertText("_x")}}));
}

TEST_F(UnderscoreTest, NoUnderscoreNoAlert) {
  store.triInfo({0, "a_"});
  store.triInfo({0, "b"});
  Journal journal;
  synDetectUnderscore(journal, store);
  EXPECT_EQ(journal.size(), 0u);
}

TEST_F(UnderscoreTest, UnopenableJournal) {
  store.triInfo({0, "_x"});
  std::filesystem::create_directories(std::string(kJournalFileName) + "/x");
  Journal journal;
  try {
    synDetectUnderscore(journal, store);
    FAIL() << "expected a WorkFileError";
  } catch (const WorkFileError& e) {
    EXPECT_STREQ(e.what(),
                 "Impossible d'ouvrir le fichier temporaire \"DbTempTES3\" depuis le fichier "
                 "source \"MainSyntaxe\"\n\n");
  }
}

}  // namespace
}  // namespace lintaro
