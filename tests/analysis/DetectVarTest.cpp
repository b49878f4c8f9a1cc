// Declaration scan: which lines declare a local variable of one type, and the
// name each one records in the info store.
#include "analysis/DetectVar.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/ScriptText.h"
#include "core/WorkFiles.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using Records = std::vector<std::pair<int, std::string>>;

// Runs the scans of `keywords`, in order, over `text` in a fresh store and
// returns its records (code, name) in store order.
Records scan(const std::string& text, std::vector<std::string_view> keywords) {
  test::writeFile(kInfoFileName, "");
  test::writeFile(kPairFileName, "");
  InfoStore store;
  const ScriptText script(text);
  for (const std::string_view keyword : keywords) {
    EXPECT_EQ(strDetectVar(script, store, keyword), kDetectVarDone);
  }
  Records out;
  for (const INFO& record : store.records())
    out.emplace_back(record.type, record.name);
  return out;
}
Records scanShort(const std::string& text) {
  return scan(text, {"short"});
}

class DetectVarTest : public ::testing::Test {
 protected:
  test::TempDir dir;
};

struct LineCase {
  std::string line;
  std::string name;  // empty: the line declares nothing
};

// Each line alone as a script, scanned for "short".
void expectEachLine(const std::vector<LineCase>& cases) {
  for (const LineCase& c : cases) {
    const Records expected = c.name.empty() ? Records{} : Records{{code::SHORT, c.name}};
    EXPECT_EQ(scanShort(c.line), expected) << "line \"" << c.line << "\"";
  }
}

TEST_F(DetectVarTest, KeywordThenSpacesThenName) {
  expectEachLine({
      {"short x", "x"},
      {"Short x", "x"},
      {"SHORT X", "x"},  // the store keeps names in lower case
      {"sHoRt MyVar", "myvar"},
      {"short     x", "x"},
      {"   short x", "x"},
      {"\t\tshort x", "x"},  // tabs are blanks before the keyword
      {"\v\fshort x", "x"},
      {";short x", "x"},  // a leading ";" is skipped like a blank
      {"; short x", "x"},
      {" \t ; \t short x", "x"},
      {"short x y", "x"},  // only the first name counts
      {"short x,y", "x"},
      {"short x;comment", "x"},
      {"short x\t", "x"},
  });
}

TEST_F(DetectVarTest, LinesThatDeclareNothing) {
  expectEachLine({
      {"short\tx", ""},  // a tab after the keyword is not skipped
      {"short  \tx", ""},
      {"short", ""},
      {"short ", ""},
      {"short 5", ""},
      {"short ,x", ""},
      {"short, x", ""},
      {"short \"x\"", ""},
      {"shor x", ""},
      {"sport x", ""},
      {"hort x", ""},
      {"x short y", ""},
      {"float x", ""},
      {"", ""},
      {"s", ""},
  });
}

TEST_F(DetectVarTest, WhatANameIsMadeOf) {
  expectEachLine({
      {"short x12", "x12"},
      {"short x1y2", "x1y2"},
      {"short 1x", ""},  // a name never begins with a digit
      {"short _x", "_x"},
      {"short _", "_"},
      {"short a_b", "a_b"},
      {"short x-y", "x"},
      {"short caf\xE9ine", "caf"},  // accented letters are not letters
      {"short \xE9t\xE9", ""},
      {"short x\xFFy", "x"},
      {std::string("short a\0b", 9), "a"},
  });
}

TEST_F(DetectVarTest, KeywordIsMatchedAsAPrefix) {
  expectEachLine({
      {"shortx", "x"},
      {"shortcut", "cut"},
      {"shorts", "s"},
      {"Short_count", "_count"},
      {"short1", ""},
  });
}

TEST_F(DetectVarTest, EachKeywordRecordsItsOwnCode) {
  const std::string script = "short s\nfloat f\nlong l\n";
  EXPECT_EQ(scan(script, {"short"}), (Records{{0, "s"}}));
  EXPECT_EQ(scan(script, {"float"}), (Records{{1, "f"}}));
  EXPECT_EQ(scan(script, {"long"}), (Records{{2, "l"}}));
  EXPECT_EQ(scan(script, {"short", "float", "long"}), (Records{{0, "s"}, {1, "f"}, {2, "l"}}));
}

TEST_F(DetectVarTest, FloatScanIgnoresShortDeclarations) {
  EXPECT_EQ(scan("short a\nshort b\n\tshort c ; comment\n", {"float"}), Records{});
}

TEST_F(DetectVarTest, EveryLineOfTheScriptIsScanned) {
  const std::string script =
      "Begin test\n"
      "\n"
      "short first\n"
      "set first to 1\n"
      "\tshort second ; declared late\n"
      "short FIRST\n"  // the same name again: one record
      "End\n"
      "short last";  // no line feed after the last line
  EXPECT_EQ(scanShort(script), (Records{{0, "first"}, {0, "second"}, {0, "last"}}));
}

TEST_F(DetectVarTest, OneNameDeclaredWithTwoTypesBecomesErreur) {
  EXPECT_EQ(scan("short x\nfloat x\nlong y\n", {"short", "float", "long"}),
            (Records{{-99, "x"}, {2, "y"}}));
}

TEST_F(DetectVarTest, NamesAreCutAfter49Characters) {
  const std::string n49(49, 'a');
  const std::string n60 = n49 + "bbbbbbbbbbb";
  EXPECT_EQ(scanShort("short " + n49), (Records{{0, n49}}));
  EXPECT_EQ(scanShort("short " + n60), (Records{{0, n49}}));
  // Two names that differ only after the 49th character are one name.
  EXPECT_EQ(scanShort("short " + n49 + "x\nshort " + n49 + "y\n"), (Records{{0, n49}}));
  // The digits of a long name are dropped with the rest.
  EXPECT_EQ(scanShort("short " + n49 + "123"), (Records{{0, n49}}));
}

TEST_F(DetectVarTest, UnopenableStoreGives21AndRecordsNothing) {
  std::filesystem::create_directories(std::string(kInfoFileName) + "/x");
  InfoStore store;
  EXPECT_EQ(strDetectVar(ScriptText("short x\n"), store, "short"), kDetectVarInfoUnopenable);
  EXPECT_TRUE(store.records().empty());
}

}  // namespace
}  // namespace lintaro
