// The text of a line that the line analyser examines, and the declaration
// scan: which lines declare a local variable of one type, and the name each one
// records. (The line analyser itself runs over the scripts of
// tests/cases/scripts.cases.)
#include "analysis/MainSyntaxe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/DetectVar.h"
#include "core/ScriptText.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using Records = std::vector<test::Record>;

TEST(LineContent, CommentsNulAndLength) {
  const struct {
    std::string line;
    std::string content;
  } cases[] = {
      // clang-format off
      {"a ; b", "a "}, {";x", ""}, {"\"a;b\" ; c", "\"a;b\" "},
      {"\"a\" \"b;c\";d", "\"a\" \"b;c\""},
      {"\"a;b", "\"a;b"},  // odd quotes: no comment
      {std::string("ab\0;cd", 6), "ab"}, {std::string("a\"\0\";x", 6), "a\""},
      {std::string(6000, 'a'), std::string(4999, 'a')},
      {std::string(4998, 'a') + ";comment", std::string(4998, 'a')},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(lineContent(c.line), c.content) << c.line.substr(0, 20);
}

// The records of the scans of `keywords`, in order, over `text`.
Records scan(const std::string& text, std::vector<std::string_view> keywords = {"short"}) {
  test::CheckRun run;
  for (const std::string_view keyword : keywords)
    EXPECT_EQ(strDetectVar(ScriptText(text), run.info, keyword), kDetectVarDone);
  return run.records();
}

TEST(DetectVar, OneLineAtATime) {
  test::TempDir dir;
  const std::string n49(49, 'a');
  const struct {
    std::string line;
    std::string name;  // empty: the line declares nothing
  } cases[] = {
      // clang-format off
      // (The golden cases "declarations" and "utf8_accents" hold the common
      // forms, the driver's test NUL and 0xFF in a name.)
      {"\v\fshort x", "x"}, {" \t ; \t short x", "x"},  // ";" is skipped like a blank
      {"short x,y", "x"}, {"short x-y", "x"}, {"short x\t", "x"},
      {"short  \tx", ""},  // only spaces after the keyword
      {"short ", ""}, {"s", ""}, {"sport x", ""}, {"x short y", ""}, {"float x", ""},
      {"short1", ""}, {"short _", "_"}, {"Short_count", "_count"},
      {"short " + n49 + "bbbbbbbbbbb", n49}, {"short " + n49 + "123", n49},  // cut after 49
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scan(c.line), (c.name.empty() ? Records{} : Records{{0, c.name}}))
        << "line \"" << c.line << "\"";
  }
}

TEST(DetectVar, EachKeywordItsCodeAndEveryLineScanned) {
  test::TempDir dir;
  const std::string n49(49, 'a');
  EXPECT_EQ(scan("short s\nfloat f\nlong l\nshort S\n\tshort t ; late\nlong s\nshort last",
                 {"short", "float", "long"}),
            (Records{{-99, "s"}, {0, "t"}, {0, "last"}, {1, "f"}, {2, "l"}}));
  // Names that differ only after the 49th character are one name.
  EXPECT_EQ(scan("short " + n49 + "x\nshort " + n49 + "y\n"), (Records{{0, n49}}));
}

}  // namespace
}  // namespace lintaro
