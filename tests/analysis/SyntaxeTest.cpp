// The line analyser over small scripts: comments, lexical checks, tabs, the
// header and declaration steps, placement of code lines and unrecognised
// lines; the underscore warning; and the declaration scan: which lines declare
// a local variable of one type, and the name each one records.
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

using test::alertAt;
using test::errorAt;
using test::Finding;
using test::Record;
using Findings = std::vector<Finding>;
using Records = std::vector<Record>;

constexpr std::string_view kQuote = " : un guillemet n'a pas été refermé.";
constexpr std::string_view kOneOpen = " : 1 parenthèse n'a pas été refermée.";
constexpr std::string_view kHeaderTwice = " : vous avez déclaré plusieurs fois le nom du script !";
constexpr std::string_view kDeclarationAfterCode =
    " : vous avez déclaré des variables après des lignes de code !";
constexpr std::string_view kCodeAfterEnd =
    " : vous avez entré des lignes de code après la balise \"End\" !";
constexpr std::string_view kCodeBeforeHeader =
    " : vous avez entré des lignes de code avant l'en-tête \"Begin NOM\" !";
constexpr std::string_view kUnknown = " : impossible de détecter la syntaxe !";
constexpr std::string_view kOneTab =
    " : alerte, 1 tabulation a été detectée après le premier caractère (risques de plantage "
    "in-game).";
constexpr std::string_view kReturnParam =
    " : erreur, la fonction Return ne prend pas de paramètre appelé !";

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

// clang-format off
TEST(Syntaxe, SmallScripts) {
  test::TempDir dir;
  const std::string pad = "Return" + std::string(4992, ' ');
  static constexpr char kNul[] = "Begin test\nReturn\0 junk \"\nReturn\0x\nEnd";
  const struct {
    std::string script;
    Findings findings;
    Records records;
  } cases[] = {
      // (The golden cases "commentaires_guillemets", "parentheses", "tabulations",
      // "placement", "fin_si" and "declarations" hold the common forms.) The first
      // column and the last character need no blank; an odd quote and an open
      // parenthesis both count.
      {"Begin test\n( x )\nStartScript \"a (\nEnd",
       {errorAt(1, kUnknown), errorAt(2, kQuote), errorAt(2, kOneOpen)}, {{99, "test"}}},
      // Only spaces and tabs come before the first character: a vertical tab is one.
      {"Begin test\n\v\tReturn\nEnd", {alertAt(1, kOneTab), errorAt(1, kUnknown)}, {{99, "test"}}},
      // A declaration before the header is fine; the variable is declared all
      // the same after code.
      {"short a\nReturn 1\nBegin test\nshort b\nBegin other\nEnd",
       {errorAt(1, kReturnParam), errorAt(1, kCodeBeforeHeader), errorAt(3, kDeclarationAfterCode),
        errorAt(4, kHeaderTwice)},
       {{0, "a"}, {99, "test"}, {0, "b"}, {99, "other"}}},
      // A second End line is exempt; an unclaimed line, a declaration or a
      // lexically rejected line only gets its own error; the checker's own
      // finding comes first.
      {"Begin test\nReturn\nEnd\n\n; comment\nReturn\nEnd\nfoo bar\nshort late\nStartScript \"x\n"
       "End extra\nReturn 1",
       {errorAt(5, kCodeAfterEnd), errorAt(7, kUnknown), errorAt(8, kDeclarationAfterCode),
        errorAt(9, kQuote), errorAt(11, kReturnParam), errorAt(11, kCodeAfterEnd)},
       {{99, "test"}, {0, "late"}, {99, "extra"}}},
      // "Begin" alone is no header; unrecognised lines are not code.
      {"Begin\nReturn\nEnd",
       {errorAt(0, kUnknown), errorAt(1, kCodeBeforeHeader), errorAt(2, kCodeBeforeHeader)},
       {}},
      {"Begin test\nfoo bar\nGetDistance player\nshort x\nEnd",
       {errorAt(1, kUnknown), errorAt(2, kUnknown)},
       {{99, "test"}, {0, "x"}}},
      // Empty last lines and the slot after them are silent.
      {"Begin test\nfoo", {errorAt(1, kUnknown)}, {{99, "test"}}},
      {"", {}, {}},
      {"\n\n\n", {}, {}},
      // A NUL ends the text; the 5000th character is dropped, the 4999th kept.
      {std::string(kNul, sizeof kNul - 1), {}, {{99, "test"}}},
      {"Begin test\n" + pad + " x\n" + pad + "x\nEnd",
       {errorAt(2, kReturnParam)},
       {{99, "test"}}},
  };
  for (const auto& c : cases) {
    test::CheckRun run;
    const ScriptText script(c.script);
    syntaxe(script.lineCount(), script, run.ctx);
    EXPECT_EQ(run.findings(), c.findings) << c.script.substr(0, 80);
    EXPECT_EQ(run.records(), c.records) << c.script.substr(0, 80);
  }
}
// clang-format on

TEST(Underscore, EveryRecordedNameBeginningWithUnderscoreInStoreOrder) {
  test::TempDir dir;
  test::CheckRun run;
  // Any code: the script's own name too, and ERREUR.
  for (const INFO& info : std::vector<INFO>{{0, "_Counter"},
                                            {1, "a_b"},
                                            {10, "_box"},
                                            {9, "_G"},
                                            {99, "_MyScript"},
                                            {11, "_box"},
                                            {29, "_"},
                                            {0, "x_"}})
    run.info.triInfo(info);
  synDetectUnderscore(run.journal, run.info);
  Findings expected;
  for (const char* name : {"_counter", "_box", "_g", "_myscript", "_"}) {
    expected.push_back({kWholeScript, kAlert,
                        utf8ToCp1252("    - Le premier caractère de \"") + name +
                            "\" est un underscore, risques de bugs in-game."});
  }
  EXPECT_EQ(run.findings(), expected);
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
