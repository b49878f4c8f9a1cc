// The line analyser over small scripts: comments, lexical checks, tabs, the
// header and declaration steps, placement of code lines and unrecognised lines.
#include "analysis/MainSyntaxe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ScriptText.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::alertAt;
using test::CheckRun;
using test::errorAt;
using test::Finding;
using test::Record;

constexpr std::string_view kQuote = " : un guillemet n'a pas été refermé.";
constexpr std::string_view kNoSpaceBefore = " : une parenthèse sans espace avant.";
constexpr std::string_view kNoSpaceAfter = " : une parenthèse sans espace après.";
constexpr std::string_view kOneOpen = " : 1 parenthèse n'a pas été refermée.";
constexpr std::string_view kTwoOpen = " : 2 parenthèses n'ont pas été refermées.";
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
constexpr std::string_view kThreeTabs =
    " : alerte, 3 tabulations ont été detectées après le premier caractère (risques de plantage "
    "in-game).";
constexpr std::string_view kReturnParam =
    " : erreur, la fonction Return ne prend pas de paramètre appelé !";

struct Analysed {
  std::vector<Finding> findings;
  std::vector<Record> records;
};

class SyntaxeTest : public ::testing::Test {
 protected:
  static Analysed analyse(const std::string& text, int tribunal = 0, int bloodmoon = 0) {
    CheckRun run(tribunal, bloodmoon);
    const ScriptText script(text);
    syntaxe(script.lineCount(), script, run.ctx);
    return {run.findings(), run.records()};
  }

  test::TempDir dir;
};

TEST(LineContent, CommentsNulAndLength) {
  EXPECT_EQ(lineContent("a ; b"), "a ");
  EXPECT_EQ(lineContent(";x"), "");
  EXPECT_EQ(lineContent("\"a;b\" ; c"), "\"a;b\" ");
  EXPECT_EQ(lineContent("\"a\" \"b;c\";d"), "\"a\" \"b;c\"");
  EXPECT_EQ(lineContent("\"a;b"), "\"a;b");  // odd quotes: no comment
  EXPECT_EQ(lineContent(std::string("ab\0;cd", 6)), "ab");
  EXPECT_EQ(lineContent(std::string("a\"\0\";x", 6)), "a\"");
  EXPECT_EQ(lineContent(std::string(6000, 'a')), std::string(4999, 'a'));
  EXPECT_EQ(lineContent(std::string(4998, 'a') + ";comment"), std::string(4998, 'a'));
}

TEST_F(SyntaxeTest, CommentsAndQuotes) {
  const Analysed got = analyse(
      "Begin test ; the header\n"
      "short x ; declares x\n"
      "Coc \"Vivec; Arena\" ; cell\n"
      "StartScript \"abc\n"
      "Return ; \"\n"
      "; only a comment\n"
      "StartScript \"a;b\" ; \"c\n"
      "End\n");
  EXPECT_EQ(got.findings, (std::vector<Finding>{errorAt(3, kQuote)}));
  EXPECT_EQ(got.records,
            (std::vector<Record>{{99, "test"}, {0, "x"}, {95, "vivec; arena"}, {96, "a;b"}}));
}

TEST_F(SyntaxeTest, ParenthesesSpacingAndDepth) {
  const Analysed got = analyse(
      "Begin test\n"
      "If (x == 1)\n"
      "If ( x == 1 )\n"
      "( x )\n"
      "Return (\n"
      "Return ( (\n"
      "Return ) )\n"
      "StartScript \"a(b\"\n"
      "StartScript \"a (\n"
      "Return\t( x )\n"
      "End");
  EXPECT_EQ(got.findings, (std::vector<Finding>{
                              // A lexical fault keeps the chain away: no "impossible".
                              alertAt(1, kNoSpaceAfter),
                              alertAt(1, kNoSpaceBefore),
                              // Lexically fine, but no checker for tests yet.
                              errorAt(2, kUnknown),
                              // First column and last character need no blank.
                              errorAt(3, kUnknown),
                              errorAt(4, kOneOpen),
                              errorAt(5, kTwoOpen),
                              // More ")" than "(" is silent; the chain runs.
                              errorAt(6, kReturnParam),
                              // Parentheses inside quotes count.
                              alertAt(7, kNoSpaceBefore),
                              alertAt(7, kNoSpaceAfter),
                              errorAt(7, kOneOpen),
                              // All lexical checks run on a line with an odd quote.
                              errorAt(8, kQuote),
                              errorAt(8, kOneOpen),
                              // A tab before "(" is no blank.
                              alertAt(9, kNoSpaceBefore),
                              alertAt(9, kOneTab),
                          }));
  EXPECT_EQ(got.records, (std::vector<Record>{{99, "test"}}));
}

TEST_F(SyntaxeTest, BlankLinesAndTabs) {
  const Analysed got = analyse(
      "\t\t\n"
      "Begin test\n"
      "\tshort x\n"
      "Return\t\n"
      "Coc\t\"a\tb\"\t\n"
      "   \n"
      "StartScript \"a\tb\n"
      "End");
  EXPECT_EQ(got.findings, (std::vector<Finding>{
                              alertAt(3, kOneTab),
                              alertAt(4, kThreeTabs),
                              errorAt(4, kUnknown),
                              // The tab warning runs on lines rejected by a lexical check.
                              errorAt(6, kQuote),
                              alertAt(6, kOneTab),
                          }));
  EXPECT_EQ(got.records, (std::vector<Record>{{99, "test"}, {0, "x"}}));
}

TEST_F(SyntaxeTest, HeaderAndDeclarationPlacement) {
  const Analysed got = analyse(
      "short a\n"
      "Return 1\n"
      "Begin test\n"
      "short b\n"
      "Begin other\n"
      "End");
  EXPECT_EQ(got.findings, (std::vector<Finding>{
                              // A declaration before the header is fine.
                              errorAt(1, kReturnParam),
                              errorAt(1, kCodeBeforeHeader),
                              // The variable is declared all the same.
                              errorAt(3, kDeclarationAfterCode),
                              errorAt(4, kHeaderTwice),
                          }));
  EXPECT_EQ(got.records, (std::vector<Record>{{0, "a"}, {99, "test"}, {0, "b"}, {99, "other"}}));
}

TEST_F(SyntaxeTest, CodeAfterEnd) {
  const Analysed got = analyse(
      "Begin test\n"
      "Return\n"
      "End\n"
      "\n"
      "; comment\n"
      "Return\n"
      "End\n"
      "foo bar\n"
      "short late\n"
      "StartScript \"x\n"
      "End extra\n"
      "Return 1");
  EXPECT_EQ(got.findings, (std::vector<Finding>{
                              errorAt(5, kCodeAfterEnd),
                              // A second End line is exempt; an unclaimed line
                              // only gets its own error; so do declarations and
                              // lexically rejected lines.
                              errorAt(7, kUnknown),
                              errorAt(8, kDeclarationAfterCode),
                              errorAt(9, kQuote),
                              // The checker's own finding comes first.
                              errorAt(11, kReturnParam),
                              errorAt(11, kCodeAfterEnd),
                          }));
  EXPECT_EQ(got.records, (std::vector<Record>{{99, "test"}, {0, "late"}, {99, "extra"}}));
}

TEST_F(SyntaxeTest, EndIfIsAnEndLineButEndifIsNot) {
  const Analysed got = analyse(
      "Begin test\n"
      "End if\n"
      "Endif\n"
      "EndWhile\n");
  EXPECT_EQ(got.findings,
            (std::vector<Finding>{errorAt(2, kCodeAfterEnd), errorAt(3, kCodeAfterEnd)}));
  EXPECT_EQ(got.records, (std::vector<Record>{{99, "test"}, {99, "if"}}));
}

TEST_F(SyntaxeTest, BeginAloneIsNoHeader) {
  const Analysed got = analyse(
      "Begin\n"
      "Return\n"
      "End");
  EXPECT_EQ(got.findings, (std::vector<Finding>{
                              errorAt(0, kUnknown),
                              errorAt(1, kCodeBeforeHeader),
                              errorAt(2, kCodeBeforeHeader),
                          }));
  EXPECT_TRUE(got.records.empty());
}

TEST_F(SyntaxeTest, UnrecognisedLinesAreNotCode) {
  const Analysed got = analyse(
      "Begin test\n"
      "foo bar\n"
      "GetDistance player\n"
      "short x\n"
      "End");
  EXPECT_EQ(got.findings, (std::vector<Finding>{errorAt(1, kUnknown), errorAt(2, kUnknown)}));
  EXPECT_EQ(got.records, (std::vector<Record>{{99, "test"}, {0, "x"}}));
}

TEST_F(SyntaxeTest, LineNumbersAndTheSlotPastTheEnd) {
  const Analysed got = analyse("Begin test\nfoo");
  ASSERT_EQ(got.findings.size(), 1u);
  EXPECT_EQ(got.findings[0].line, 1);
  EXPECT_EQ(got.findings[0].kind, kError);
  EXPECT_EQ(got.findings[0].text,
            utf8ToCp1252("    - Ligne 2 : impossible de détecter la syntaxe !"));
  // Empty last lines and the slot after them are silent.
  EXPECT_TRUE(analyse("Begin test\nEnd\n").findings.empty());
  EXPECT_TRUE(analyse("").findings.empty());
  EXPECT_TRUE(analyse("\n\n\n").findings.empty());
}

TEST_F(SyntaxeTest, NulEndsTheTextAndLongLinesAreCut) {
  static constexpr char kNul[] =
      "Begin test\n"
      "Return\0 junk \"\n"
      "Return\0x\n"
      "End";
  EXPECT_TRUE(analyse(std::string(kNul, sizeof kNul - 1)).findings.empty());

  // The 5000th character is dropped, the 4999th is kept.
  const Analysed got = analyse("Begin test\n" + ("Return" + std::string(4993, ' ') + "x") + "\n" +
                               ("Return" + std::string(4992, ' ') + "x") + "\nEnd");
  EXPECT_EQ(got.findings, (std::vector<Finding>{errorAt(2, kReturnParam)}));
}

TEST_F(SyntaxeTest, HeaderAndDeclarationsAreRecorded) {
  const Analysed got = analyse(
      "Begin MyScript\n"
      "Short s\n"
      "Float f\n"
      "Long l\n"
      "FLOAT g\n"
      "End");
  EXPECT_TRUE(got.findings.empty());
  EXPECT_EQ(got.records,
            (std::vector<Record>{{99, "myscript"}, {0, "s"}, {1, "f"}, {2, "l"}, {1, "g"}}));
}

TEST_F(SyntaxeTest, ExpansionFlagsReachTheChain) {
  const std::string script = "Begin test\nTurnMoonRed\nEnd";
  EXPECT_EQ(analyse(script, 1, 0).findings,
            (std::vector<Finding>{errorAt(1, " : fonction Bloodmoon-dépendante !")}));
  EXPECT_TRUE(analyse(script, 0, 1).findings.empty());
}

}  // namespace
}  // namespace lintaro
