// Block structure check: pairing of if/endif and while/endwhile, else and
// elseif inside an open if, deep nesting; and the block keyword detector.
#include "analysis/MainEnchaineTests.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "analysis/DetectTest.h"
#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/ScriptText.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::Finding;
using Findings = std::vector<Finding>;

Finding error(int line, std::string_view utf8) {
  return {line, 2, utf8ToCp1252(utf8)};
}
Finding alert(int line, std::string_view utf8) {
  return {line, 1, utf8ToCp1252(utf8)};
}

// checkTest over a script as the driver runs it (line count + 1), with the
// journal's findings in the order of writing.
Findings runCheck(const std::string& text) {
  std::filesystem::remove("journal.bin");
  Journal journal("journal.bin");
  const ScriptText script(text);
  EXPECT_EQ(checkTest(script.lineCount() + 1, script, journal), kCheckTestDone);
  Findings out;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    const JournalEntry e = journal[i];
    out.push_back({e.line, e.kind, std::string(e.text)});
  }
  return out;
}

class CheckTestTest : public ::testing::Test {
 protected:
  test::TempDir dir;
};

TEST_F(CheckTestTest, BalancedScriptGivesNothing) {
  EXPECT_EQ(runCheck("Begin test\n"
                     "short x\n"
                     "if ( x == 1 )\n"
                     "  set x to 2\n"
                     "elseif ( x == 2 )\n"
                     "  while ( x < 5 )\n"
                     "    set x to x + 1\n"
                     "  endwhile\n"
                     "else\n"
                     "  set x to 0\n"
                     "endif\n"
                     "End\n"),
            Findings{});
  EXPECT_EQ(runCheck(""), Findings{});
}

TEST_F(CheckTestTest, MissingClosersAreCountedOverTheWholeScript) {
  EXPECT_EQ(runCheck("if ( x == 1 )\nset x to 1\n"),
            Findings{error(-1, "    - Il y a 1 'endif' manquant dans le script.")});
  EXPECT_EQ(runCheck("if a\nif b\nendif\nif c\n"),
            Findings{error(-1, "    - Il y a 2 'endif' manquants dans le script.")});
  EXPECT_EQ(runCheck("while a\n"),
            Findings{error(-1, "    - Il y a 1 'endwhile' manquant dans le script.")});
  EXPECT_EQ(runCheck("while a\nwhile b\nwhile c"),
            Findings{error(-1, "    - Il y a 3 'endwhile' manquants dans le script.")});
}

TEST_F(CheckTestTest, ExcessEndifNamesTheLikelyRange) {
  // Depths 0 1 0 0 -1: the last depth 0 at least two lines above is line 3.
  EXPECT_EQ(runCheck("set x to 1\nif x\nendif\nset x to 2\nendif\n"),
            Findings{error(4,
                           "    - Ligne 5 : un 'endif' en trop (l'erreur a probablement été faite "
                           "entre la ligne 4 et la ligne 5).")});
  // Depth 0 on the line just above does not count.
  EXPECT_EQ(
      runCheck("if\nendif\nendif"),
      Findings{error(2, "    - Ligne 3 : un 'endif' en trop (pas de 'if' avant le 'endif').")});
}

TEST_F(CheckTestTest, EndifOnTheFirstLine) {
  // Line index 0 is never examined; the depth stays negative on the next line.
  EXPECT_EQ(
      runCheck("endif\nset x to 1"),
      Findings{error(1, "    - Ligne 2 : un 'endif' en trop (pas de 'if' avant le 'endif').")});
  // A one-line script: the finding is about the slot past the end.
  EXPECT_EQ(
      runCheck("endif"),
      Findings{error(1, "    - Ligne 2 : un 'endif' en trop (pas de 'if' avant le 'endif').")});
  // An "if" on the next line brings the depth back to 0: nothing at all.
  EXPECT_EQ(runCheck("endif\nif\n"), Findings{});
}

TEST_F(CheckTestTest, EachExcessEndifIsReportedOnce) {
  EXPECT_EQ(
      runCheck("if\nendif\nendif\nendif\nset x to 1\n"),
      (Findings{error(2, "    - Ligne 3 : un 'endif' en trop (pas de 'if' avant le 'endif')."),
                error(3,
                      "    - Ligne 4 : un 'endif' en trop (l'erreur a probablement été faite entre "
                      "la ligne 3 et la ligne 4).")}));
}

TEST_F(CheckTestTest, MissingCountIgnoresTheCorrections) {
  EXPECT_EQ(
      runCheck("set\nendif\nif\nif\n"),
      (Findings{error(1, "    - Ligne 2 : un 'endif' en trop (pas de 'if' avant le 'endif')."),
                error(-1, "    - Il y a 1 'endif' manquant dans le script.")}));
}

TEST_F(CheckTestTest, ExcessEndwhile) {
  EXPECT_EQ(runCheck("while x\nendwhile\nset\nendwhile\n"),
            Findings{error(3,
                           "    - Ligne 4 : un endwhile en trop (l'erreur a probablement été faite "
                           "entre la ligne 3 et la ligne 4).")});
  // Depths -1 -2, then -1 after the correction on the slot past the end.
  EXPECT_EQ(
      runCheck("endwhile\nendwhile"),
      (Findings{
          error(1, "    - Ligne 2 : un endwhile en trop (pas de 'while' avant le 'endwhile')."),
          error(2, "    - Ligne 3 : un endwhile en trop (pas de 'while' avant le 'endwhile').")}));
}

TEST_F(CheckTestTest, ElseOutsideAnyIf) {
  EXPECT_EQ(runCheck("else\n"), Findings{error(0, "    - Ligne 1 : un 'else' sans 'if' avant.")});
  // Only "if" and "endif" count: a "while" block is no "if".
  EXPECT_EQ(runCheck("while x\nelse\nendwhile\n"),
            Findings{error(1, "    - Ligne 2 : un 'else' sans 'if' avant.")});
  EXPECT_EQ(runCheck("if x\nendif\nelse\n"),
            Findings{error(2, "    - Ligne 3 : un 'else' sans 'if' avant.")});
  EXPECT_EQ(runCheck("if x\nelse\nendif\n"), Findings{});
  EXPECT_EQ(runCheck("if x\nwhile y\nelse\nendwhile\nendif"), Findings{});
}

TEST_F(CheckTestTest, ElseifOutsideAnyIf) {
  EXPECT_EQ(runCheck("elseif x\n"),
            Findings{error(0, "    - Ligne 1 : un 'elseif' sans 'if' avant.")});
  EXPECT_EQ(runCheck("while y\nelseif x\nendwhile"),
            Findings{error(1, "    - Ligne 2 : un 'elseif' sans 'if' avant.")});
}

TEST_F(CheckTestTest, ElseifAfterElseOfTheSameBlock) {
  EXPECT_EQ(runCheck("if x\nelse\nelseif y\nendif\n"),
            Findings{alert(2,
                           "    - Ligne 3 : alerte, un 'elseif' précédé d'un 'else' (situé à la "
                           "ligne 2). Le 'elseif' ne sera donc jamais executé !")});
  // The nearest "else" is named.
  EXPECT_EQ(runCheck("if\nelse\nelse\nelseif\nendif"),
            Findings{alert(3,
                           "    - Ligne 4 : alerte, un 'elseif' précédé d'un 'else' (situé à la "
                           "ligne 3). Le 'elseif' ne sera donc jamais executé !")});
  // A closed inner block between the "else" and the "elseif" changes nothing.
  EXPECT_EQ(runCheck("if\nelse\nif\nendif\nelseif\nendif"),
            Findings{alert(4,
                           "    - Ligne 5 : alerte, un 'elseif' précédé d'un 'else' (situé à la "
                           "ligne 2). Le 'elseif' ne sera donc jamais executé !")});
  // Only the second "elseif" follows the "else".
  EXPECT_EQ(runCheck("if a\nelseif b\nelse\nelseif c\nendif"),
            Findings{alert(3,
                           "    - Ligne 4 : alerte, un 'elseif' précédé d'un 'else' (situé à la "
                           "ligne 3). Le 'elseif' ne sera donc jamais executé !")});
}

TEST_F(CheckTestTest, ElseOfAnotherBlockGivesNoAlert) {
  // The "else" belongs to a nested "if" closed before the "elseif".
  EXPECT_EQ(runCheck("if a\nif b\nelse\nendif\nelseif c\nendif\n"), Findings{});
  // The "elseif" belongs to a nested "if" opened after the outer "else".
  EXPECT_EQ(runCheck("if\nelse\nif\nelseif\nendif\nendif"), Findings{});
}

std::string repeat(std::string_view line, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += line;
    out += '\n';
  }
  return out;
}

TEST_F(CheckTestTest, TenNestedBlocks) {
  EXPECT_EQ(runCheck(repeat("if x", 10) + repeat("endif", 10)),
            Findings{alert(10,
                           "    - Alerte : plus de dix if/while imbriqués entre les lignes 10 et "
                           "11 (souvent mal interprété par le moteur du jeu).")});
  EXPECT_EQ(runCheck(repeat("if x", 9) + repeat("endif", 9)), Findings{});
  EXPECT_EQ(runCheck(repeat("while x", 5) + repeat("if x", 5) + repeat("endif", 5) +
                     repeat("endwhile", 5)),
            Findings{alert(10,
                           "    - Alerte : plus de dix if/while imbriqués entre les lignes 10 et "
                           "11 (souvent mal interprété par le moteur du jeu).")});
  // Eleven deep: the alert runs from the tenth opener to the return to nine.
  EXPECT_EQ(runCheck(repeat("if x", 11) + repeat("endif", 11)),
            Findings{alert(12,
                           "    - Alerte : plus de dix if/while imbriqués entre les lignes 10 et "
                           "13 (souvent mal interprété par le moteur du jeu).")});
}

TEST_F(CheckTestTest, EachDeepExcursionHasItsAlert) {
  EXPECT_EQ(runCheck(repeat("if x", 10) + "endif\nif y\nendif\n" + repeat("endif", 9)),
            (Findings{alert(10,
                            "    - Alerte : plus de dix if/while imbriqués entre les lignes 10 et "
                            "11 (souvent mal interprété par le moteur du jeu)."),
                      alert(12,
                            "    - Alerte : plus de dix if/while imbriqués entre les lignes 12 et "
                            "13 (souvent mal interprété par le moteur du jeu).")}));
  // Never back to nine: no alert, only the missing count.
  EXPECT_EQ(runCheck(repeat("if x", 10)),
            Findings{error(-1, "    - Il y a 10 'endif' manquants dans le script.")});
}

TEST_F(CheckTestTest, NestingDepthCountsTheExcessEndif) {
  // The unexamined "endif" of line 1 keeps the raw depth at 9 at most.
  EXPECT_EQ(runCheck("endif\n" + repeat("if x", 10) + repeat("endif", 10)),
            Findings{error(20,
                           "    - Ligne 21 : un 'endif' en trop (l'erreur a probablement été faite "
                           "entre la ligne 3 et la ligne 21).")});
}

TEST_F(CheckTestTest, FindingsComeInTheOrderOfTheChecks) {
  EXPECT_EQ(
      runCheck("else\n"
               "endwhile\n"
               "endif\n"
               "if\n"
               "else\n"
               "elseif\n"
               "if\n"
               "while\n"
               "while"),
      (Findings{
          error(2,
                "    - Ligne 3 : un 'endif' en trop (l'erreur a probablement été faite entre "
                "la ligne 2 et la ligne 3)."),
          error(-1, "    - Il y a 1 'endif' manquant dans le script."),
          error(0, "    - Ligne 1 : un 'else' sans 'if' avant."),
          alert(5,
                "    - Ligne 6 : alerte, un 'elseif' précédé d'un 'else' (situé à la ligne "
                "5). Le 'elseif' ne sera donc jamais executé !"),
          error(1, "    - Ligne 2 : un endwhile en trop (pas de 'while' avant le 'endwhile')."),
          error(-1, "    - Il y a 1 'endwhile' manquant dans le script."),
      }));
}

TEST_F(CheckTestTest, KeywordsFollowedByParenthesisOrComma) {
  EXPECT_EQ(runCheck("if(x == 1)\n"),
            Findings{error(-1, "    - Il y a 1 'endif' manquant dans le script.")});
  EXPECT_EQ(runCheck("if,x\n"),
            Findings{error(-1, "    - Il y a 1 'endif' manquant dans le script.")});
  EXPECT_EQ(runCheck("ifx\nif_x\nif1\n;if x\nwhilex\n"), Findings{});
  EXPECT_EQ(runCheck("while(x)\nendwhile;comment\n"), Findings{});
}

TEST_F(CheckTestTest, UnopenableJournalGives10) {
  std::filesystem::create_directories("jdir/x");
  Journal journal("jdir");
  const ScriptText script("endif\nendif\n");
  EXPECT_EQ(checkTest(script.lineCount() + 1, script, journal), kCheckTestJournalUnopenable);
  EXPECT_EQ(journal.size(), 0u);
}

TEST(BeginsWithKeyword, WhatFollowsTheKeyword) {
  struct Case {
    std::string_view line;
    std::string_view keyword;
    bool matches;
  };
  const Case cases[] = {
      {"if x", "if", true},
      {"if", "if", true},  // the end of the line
      {"if(x)", "if", true},
      {"if,x", "if", true},
      {"if;comment", "if", true},
      {"if\tx", "if", true},
      {"if\vx", "if", true},
      {"ifx", "if", false},
      {"if1", "if", false},
      {"if_", "if", false},
      {"if\"x\"", "if", false},
      {"if=x", "if", false},
      {"if-x", "if", false},
      {"if\xE9", "if", false},
      {"i", "if", false},  // the line ends inside the keyword
      {"", "if", false},
      {"else", "else", true},
      {"else ; comment", "else", true},
      {"elseif x", "else", false},
      {"elseif x", "elseif", true},
      {"ELSEIF(x)", "elseif", true},
      {"EndWhile", "endwhile", true},
      {"endwhile(", "endwhile", true},
      {"endif\t", "endif", true},
      {"end", "endif", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(beginsWithKeyword(c.line, c.keyword), c.matches)
        << "\"" << c.line << "\" for " << c.keyword;
  }
}

TEST(BeginsWithKeyword, WhatPrecedesTheKeyword) {
  EXPECT_TRUE(beginsWithKeyword("   if x", "if"));
  EXPECT_TRUE(beginsWithKeyword("\t\tif x", "if"));
  EXPECT_TRUE(beginsWithKeyword(" \t\v\f if x", "if"));
  EXPECT_FALSE(beginsWithKeyword(";if x", "if"));  // a comment never matches
  EXPECT_FALSE(beginsWithKeyword("  ; if x", "if"));
  EXPECT_FALSE(beginsWithKeyword("x if", "if"));
  EXPECT_FALSE(beginsWithKeyword("\xA0if x", "if"));  // no-break space is no blank
}

TEST(StrDetectTest, OneFlagPerLineUpToTheLastIndex) {
  const ScriptText script("if a\nset x\n  IF(b)\n;if");
  KeywordFlags flags;
  strDetectTest(flags, 5, script, "if");
  EXPECT_EQ(flags, (KeywordFlags{1, 0, 1, 0, 0, 0}));
  strDetectTest(flags, 1, script, "if");
  EXPECT_EQ(flags, (KeywordFlags{1, 0}));
}

// ---------------------------------------------------------------------------
// The rules transcribed as directly as they are stated: a character-stream
// classifier and the quadratic walks. checkTest must agree with them on every
// script.

constexpr int kEof = -1;

bool blankOrSemicolon(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ';';
}
bool endsLine(int c) {
  return c == '\n' || c == '\r' || c == kEof;
}
int lowerOf(int c) {
  return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

// Entries 0 to `size - 1`, indexed by int.
struct Table {
  explicit Table(int size) : values(static_cast<std::size_t>(size), 0) {}
  int& operator[](int i) { return values[static_cast<std::size_t>(i)]; }
  std::vector<int> values;
};

// Lines 0 to `last` of the text, read character by character from its start.
Table naiveDetect(const std::string& text, int last, std::string_view keyword) {
  Table flags(last + 1);
  std::size_t pos = 0;
  const auto get = [&]() {
    return pos < text.size() ? static_cast<int>(static_cast<unsigned char>(text[pos++])) : kEof;
  };
  for (int i = 0; i <= last; ++i) {
    int c = get();
    while (!endsLine(c) && c != ';' && blankOrSemicolon(c))
      c = get();
    bool match = true;
    for (std::size_t k = 0; k < keyword.size(); ++k) {
      if (k > 0) c = get();
      if (endsLine(c) || lowerOf(c) != keyword[k]) {
        match = false;
        break;
      }
    }
    if (match) {
      c = get();
      match = blankOrSemicolon(c) || c == '(' || c == ',' || c == kEof;
    }
    flags[i] = match ? 1 : 0;
    while (!endsLine(c))
      c = get();
  }
  return flags;
}

std::string num(int value) {
  return std::to_string(value);
}

void naiveExcess(Table& depth, int m, const std::string& extra, const std::string& noOpener,
                 Findings& out) {
  for (int i = 1; i <= m - 1; ++i) {
    if (depth[i] >= 0) continue;
    int found = -1;
    for (int k = i - 2; k >= 0; --k) {
      if (depth[k] == 0) {
        found = k;
        break;
      }
    }
    std::string text = "    - Ligne " + num(i + 1) + extra;
    if (found >= 0) {
      text += utf8ToCp1252("(l'erreur a probablement été faite entre la ligne ") + num(found + 2) +
              " et la ligne " + num(i + 1) + ").";
    } else {
      text += noOpener;
    }
    out.push_back({i, 2, text});
    for (int j = i + 1; j <= m - 1; ++j)
      depth[j] += 1;
  }
}

void naiveMissing(Table& open, Table& close, int m, const std::string& word, Findings& out) {
  int sum = 0;
  for (int i = 0; i <= m - 1; ++i)
    sum += open[i] - close[i];
  if (sum > 0) {
    out.push_back({-1, 2,
                   "    - Il y a " + num(sum) + " '" + word + "' manquant" + (sum > 1 ? "s" : "") +
                       " dans le script."});
  }
}

Findings naiveCheck(const std::string& text, int m) {
  Table ifs = naiveDetect(text, m, "if");
  Table endifs = naiveDetect(text, m, "endif");
  Table whiles = naiveDetect(text, m, "while");
  Table endwhiles = naiveDetect(text, m, "endwhile");
  Table elses = naiveDetect(text, m, "else");
  Table elseifs = naiveDetect(text, m, "elseif");
  Findings out;

  // 1, 2, 3: "if" depth, excess and missing "endif".
  Table depth(m);
  depth[0] = ifs[0] - endifs[0];
  for (int i = 1; i <= m - 1; ++i)
    depth[i] = depth[i - 1] + ifs[i] - endifs[i];
  naiveExcess(depth, m, " : un 'endif' en trop ", "(pas de 'if' avant le 'endif').", out);
  naiveMissing(ifs, endifs, m, "endif", out);

  // 4: "else" without "if".
  for (int i = 0; i <= m - 1; ++i) {
    if (elses[i] != 1) continue;
    int sum = 0;
    bool negative = false;
    for (int k = i; k >= 0 && !negative; --k) {
      sum += endifs[k] - ifs[k];
      negative = sum < 0;
    }
    if (!negative)
      out.push_back({i, 2, "    - Ligne " + num(i + 1) + " : un 'else' sans 'if' avant."});
  }

  // 5: "elseif" without "if", and after an "else" of its block.
  for (int i = 0; i <= m - 1; ++i) {
    if (elseifs[i] != 1) continue;
    int sum = 0;
    int enclosing = -1;
    for (int k = i; k >= 0; --k) {
      sum += endifs[k] - ifs[k];
      if (sum < 0) {
        enclosing = k;
        break;
      }
    }
    if (enclosing < 0) {
      out.push_back({i, 2, "    - Ligne " + num(i + 1) + " : un 'elseif' sans 'if' avant."});
      continue;
    }
    sum = 0;
    for (int k = i; k >= enclosing + 1; --k) {
      sum += endifs[k] - ifs[k];
      if (sum < 0) break;
      if (sum == 0 && elses[k] == 1) {
        out.push_back(
            {i, 1,
             "    - Ligne " + num(i + 1) +
                 utf8ToCp1252(" : alerte, un 'elseif' précédé d'un 'else' (situé à la ligne ") +
                 num(k + 1) + utf8ToCp1252("). Le 'elseif' ne sera donc jamais executé !")});
        break;
      }
    }
  }

  // 6, 7, 8: "while" depth, excess and missing "endwhile".
  Table wdepth(m);
  wdepth[0] = whiles[0] - endwhiles[0];
  for (int i = 1; i <= m - 1; ++i)
    wdepth[i] = wdepth[i - 1] + whiles[i] - endwhiles[i];
  naiveExcess(wdepth, m, " : un endwhile en trop ", "(pas de 'while' avant le 'endwhile').", out);
  naiveMissing(whiles, endwhiles, m, "endwhile", out);

  // 9: ten open blocks.
  Table nesting(m);
  nesting[0] = ifs[0] + whiles[0] - endifs[0] - endwhiles[0];
  for (int i = 1; i <= m - 1; ++i)
    nesting[i] = nesting[i - 1] + ifs[i] + whiles[i] - endifs[i] - endwhiles[i];
  bool deep = false;
  int start = 0;
  for (int i = 0; i <= m - 1; ++i) {
    if (!deep && nesting[i] > 9) {
      deep = true;
      start = i;
    } else if (deep && nesting[i] <= 9) {
      deep = false;
      out.push_back(
          {i, 1,
           utf8ToCp1252("    - Alerte : plus de dix if/while imbriqués entre les lignes ") +
               num(start + 1) + " et " + num(i + 1) +
               utf8ToCp1252(" (souvent mal interprété par le moteur du jeu).")});
    }
  }
  return out;
}

// Which rules fired over a whole run, so that the comparison is known to
// cover every one of them.
std::map<std::string, int> tally(const Findings& findings) {
  std::map<std::string, int> seen;
  for (const Finding& f : findings) {
    for (const char* key : {"'endif' en trop (l'", "'endif' en trop (pas", "endwhile en trop (l'",
                            "endwhile en trop (pas", "'endif' manquant ", "'endif' manquants",
                            "'endwhile' manquant ", "'endwhile' manquants", "'else' sans",
                            "'elseif' sans", "alerte, un 'elseif'", "Alerte : plus de dix"}) {
      if (f.text.find(key) != std::string::npos) ++seen[key];
    }
  }
  return seen;
}

std::size_t below(std::mt19937& rng, std::size_t bound) {
  return static_cast<std::size_t>(rng()) % bound;
}

// A random script of up to 60 lines; each script draws its own line weights,
// and one in three favours openers so that deep nesting occurs.
template <typename MakeLine>
std::string randomScript(std::mt19937& rng, MakeLine makeLine) {
  std::array<std::size_t, 8> weights{};
  std::size_t total = 0;
  for (std::size_t& w : weights) {
    w = below(rng, 10);
    total += w;
  }
  if (below(rng, 3) == 0) {
    weights[below(rng, 2) * 2] += 25;  // "if" or "while"
    total += 25;
  }
  if (total == 0) {
    weights[6] = 1;
    total = 1;
  }
  const std::size_t lines = below(rng, 61);
  std::string text;
  for (std::size_t n = 0; n < lines; ++n) {
    std::size_t pick = below(rng, total);
    std::size_t kind = 0;
    while (pick >= weights[kind]) {
      pick -= weights[kind];
      ++kind;
    }
    if (n > 0) text += '\n';
    text += makeLine(rng, kind);
  }
  if (lines > 0 && below(rng, 2) == 0) text += '\n';
  return text;
}

constexpr std::array<std::string_view, 8> kPlainLines = {
    "if ( x == 1 )",     "endif", "while ( x < 5 )", "endwhile", "else",
    "elseif ( x == 2 )", "",      "set x to 1"};

void compareOnRandomScripts(std::uint32_t seed, int scripts,
                            std::string (*makeLine)(std::mt19937&, std::size_t)) {
  test::TempDir dir;
  std::mt19937 rng(seed);
  Findings all;
  for (int n = 0; n < scripts; ++n) {
    const std::string text = randomScript(rng, makeLine);
    const Findings expected = naiveCheck(text, ScriptText(text).lineCount() + 1);
    const Findings got = runCheck(text);
    ASSERT_EQ(got, expected) << "script " << n << ":\n" << text;
    all.insert(all.end(), expected.begin(), expected.end());
  }
  const std::map<std::string, int> seen = tally(all);
  EXPECT_EQ(seen.size(), 12u) << "some rules never fired; adjust the generator";
}

TEST(CheckTestAgreesWithTheRules, OnRandomScripts) {
  compareOnRandomScripts(20240611u, 4000, [](std::mt19937&, std::size_t kind) {
    return std::string(kPlainLines[kind]);
  });
}

// The same with the keyword lines written in every way the detector has to
// sort out: case, indentation, what follows the keyword, commented out.
TEST(CheckTestAgreesWithTheRules, OnRandomlyWrittenKeywords) {
  compareOnRandomScripts(7u, 3000, [](std::mt19937& rng, std::size_t kind) {
    constexpr std::array<std::string_view, 6> kWords = {"if",       "endif", "while",
                                                        "endwhile", "else",  "elseif"};
    constexpr std::array<std::string_view, 7> kBefore = {"", "", " ", "\t", "  \t", "\v", ";"};
    constexpr std::array<std::string_view, 12> kAfter = {"",   "",  " x", "(x)", " ( x )", ",x",
                                                         ";c", "x", "1",  "_",   "\t",     "=x"};
    if (kind >= kWords.size()) return std::string(kPlainLines[kind]);
    std::string word(kWords[kind]);
    for (char& c : word) {
      if (below(rng, 3) == 0) c = static_cast<char>(c - 'a' + 'A');
    }
    return std::string(kBefore[below(rng, kBefore.size())]) + word +
           std::string(kAfter[below(rng, kAfter.size())]);
  });
}

}  // namespace
}  // namespace lintaro
