// The command chain and the value functions of expressions: the fast dispatch
// against the walk over every row, the checkers that open the journal before
// they look at a line, and the longest lines. (What each row does is in
// tests/cases/commandes.cases and fonctions.cases.)
#include "commands/MainSyntaxeChain.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "expression/ChainIndex.h"
#include "expression/MainExpression.h"
#include "run/WorkFileMirrors.h"
#include "tests/CheckRun.h"

namespace lintaro {
namespace {

using test::CheckRun;

// Random lines around the command words of `table`: callers and arrows,
// prefixes and longer words, arguments of every kind, any case.
class LineMaker {
 public:
  LineMaker(std::span<const ChainEntry> table, unsigned seed) : table_(table), rng_(seed) {}

  std::string line() {
    std::string out = pick({"", " ", "\t"});
    for (std::size_t i = chance(2) ? 0 : below(3) + 1; i > 0; --i)
      out += argument() + pick({"->", "->", "-> ", " ->"});
    out += word();
    for (std::size_t i = below(5); i > 0; --i)
      out += pick({" ", " ", ", ", ",", "\t", "  ", ""}) + (chance(4) ? word() : argument());
    out += pick({"", "", " ", "\t", "->", "\r"});
    return out;
  }

 private:
  std::size_t below(std::size_t n) { return rng_() % n; }
  bool chance(std::size_t oneIn) { return below(oneIn) == 0; }
  std::string pick(std::initializer_list<const char*> options) {
    return options.begin()[below(options.size())];
  }
  std::string word() {
    std::string w(table_[below(table_.size())].name);
    if (chance(6)) w = w.substr(0, below(w.size()) + 1);
    if (chance(6)) w += pick({"x", "Effects", "1", "_", "if"});
    for (char& c : w) {
      if (chance(3)) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return w;
  }
  // Names quoted or not in every faulty way, numbers, axes, texts and operators.
  std::string argument() {
    // clang-format off
    return pick({"", "player", "\"my npc\"", "my chest", "\"\"\"", "\"x", "x\"y\"", "\"a\"b", "\"\"",
                 "x y", "5", ",", "a,b", "\"a\",\"b\"", "npc_01", "a123456789b123456789c123456789d123456789e123456789f12345",
                 "-10", "2.5", "1.", ".5", "-", "x", "Z", "5 6", "x 100.5", "x, -3", "0", "12x",
                 "\"a b\" 1 2 3", "1, 2, 3 4", "0.5 1.0", "10 -5 7", "x 1 2 3 4 5 6 7 8 9 10",
                 "\"%g %S\" x \"y\"", "\"%.2f\" a.b, c", "\"a\" 1 \"b\" 2", "\"vo\\a.mp3\" \"t\" x",
                 "x to 5", "x.y to", "( x == 1 )", "a + b", "==", "&&", "(", ")", "GetPos x"});
    // clang-format on
  }

  std::span<const ChainEntry> table_;
  std::mt19937 rng_;
};

// Both runs see the same lines with the same switches; the lines reach both
// outcomes in good numbers.
TEST(Dispatch, CommandChainMatchesTheInOrderWalk) {
  CheckRun fast;
  CheckRun plain;
  LineMaker maker(commandChain(), 20240611);
  int claimed = 0;
  int ends = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string text = maker.line();
    fast.ctx.tribunal = plain.ctx.tribunal = i % 2;
    fast.ctx.bloodmoon = plain.ctx.bloodmoon = (i / 2) % 2;
    std::string a = text;
    std::string b = text;
    int handledA = 0;
    int handledB = 0;
    const bool endA = runCommandChain(fast.ctx, a, &handledA, i);
    ASSERT_EQ(endA, runCommandChainInOrder(plain.ctx, b, &handledB, i)) << '"' << text << '"';
    ASSERT_EQ(handledA, handledB) << '"' << text << '"';
    ASSERT_EQ(a, b) << '"' << text << '"';
    ASSERT_EQ(fast.journal.size(), plain.journal.size()) << '"' << text << '"';
    claimed += handledA;
    ends += endA ? 1 : 0;
  }
  EXPECT_EQ(fast.findings(), plain.findings());
  EXPECT_EQ(fast.records(), plain.records());
  EXPECT_GT(claimed, 2000);
  EXPECT_LT(claimed, 18000);
  EXPECT_GT(ends, 20);
  EXPECT_GT(fast.journal.size(), 1000u);
}

TEST(Dispatch, ValueFunctionsMatchTheInOrderWalk) {
  CheckRun fast;
  CheckRun plain;
  LineMaker maker(expressionFunctions(), 99);
  const ChainIndex index(expressionFunctions());
  std::vector<std::uint16_t> scratch;
  int claimed = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string text = maker.line();
    fast.ctx.tribunal = plain.ctx.tribunal = i % 2;
    fast.ctx.bloodmoon = plain.ctx.bloodmoon = (i / 2) % 2;
    std::string a = text;
    std::string b = text;
    int handledA = 0;
    int handledB = 0;
    const ChainEntry* ea = runIndexed(fast.ctx, index, a, &handledA, i, scratch);
    const ChainEntry* eb = runInOrder(plain.ctx, expressionFunctions(), b, &handledB, i);
    ASSERT_EQ(ea, eb) << '"' << text << '"';
    ASSERT_EQ(a, b) << '"' << text << '"';
    if (ea != nullptr) {
      expansionError(fast.ctx, *ea, i, "");
      expansionError(plain.ctx, *eb, i, "");
    }
    claimed += handledA;
  }
  EXPECT_EQ(fast.findings(), plain.findings());
  EXPECT_EQ(fast.records(), plain.records());
  EXPECT_GT(claimed, 2000);
  EXPECT_LT(claimed, 18000);
}

// A journal that cannot be opened stops the run from the special checkers
// that open it on every call, even on a line that is not their command, with
// the checker's own module in the message; the others only reach it once they
// recognise their command.
TEST(CommandChain, SpecialCheckersThatOpenTheJournalFirst) {
  test::TempDir dir;
  const std::set<std::string_view> openLater = {"MessageBox", "PlaceAtMe", "PlaceAtPC"};
  int tried = 0;
  for (const ChainEntry& entry : commandChain()) {
    if (entry.checker < Checker::kMessageBox) continue;
    ++tried;
    JournalFile journalFile("absent/DbTempTES3");
    CheckRun run;
    run.journal.setMirror(&journalFile);
    std::string line = "Return";
    int handled = 0;
    try {
      runEntry(run.ctx, entry, line, &handled, 4);
      EXPECT_TRUE(openLater.contains(entry.name)) << entry.name << " did not stop the run";
    } catch (const WorkFileError& e) {
      EXPECT_FALSE(openLater.contains(entry.name)) << entry.name;
      EXPECT_EQ(std::string(e.what()),
                "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source "
                "\"synDetect" +
                    std::string(entry.name) + "\".\n\n");
    }
    EXPECT_EQ(handled, 0) << entry.name;
  }
  EXPECT_EQ(tried, 25);
}

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += piece;
  return out;
}

// The longest lines the line analyser hands over: no recursion per group or
// operator (also under the sanitizers' larger frames), and their findings.
TEST(CommandChain, LongestLinesOfNestedGroupsAndOperators) {
  CheckRun run;
  const struct {
    std::string line;
    std::size_t findings;
  } lines[] = {
      {"set x to " + repeat("( ", 622) + "getscale" + repeat(" ) + b", 622), 2},
      {"if " + repeat("( ", 1247) + "x == 1" + repeat(" )", 1247), 0},
      {"while " + repeat("( ", 1246) + "x" + repeat(" )", 1246) + " 5", 1},
      {"set x to a" + repeat(" + a", 1247), 0},
      {"while x" + repeat(" < x", 1248), 0},
  };
  std::size_t expected = 0;
  for (const auto& w : lines) {
    ASSERT_LE(w.line.size(), 4999u);
    std::string line = w.line;
    int handled = 0;
    runCommandChain(run.ctx, line, &handled, 0);
    EXPECT_EQ(handled, 1);
    expected += w.findings;
    EXPECT_EQ(run.journal.size(), expected) << w.line.substr(0, 40);
  }
  // The text is cut at 4999 characters: these groups are never closed.
  EXPECT_EQ(expression(run.ctx, repeat("( ", 2500) + "x" + repeat(" )", 2500), 0), 0);
}

}  // namespace
}  // namespace lintaro
