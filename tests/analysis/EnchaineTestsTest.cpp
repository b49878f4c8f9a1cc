// Block structure check: pairing of if/endif and while/endwhile, else and
// elseif inside an open if, deep nesting, and the block keyword detector. The
// cases worth naming, then agreement with a direct transcription of the rules
// on random scripts.
#include "analysis/MainEnchaineTests.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/ScriptText.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::alertAt;
using test::errorAt;
using test::Finding;
using Findings = std::vector<Finding>;

// checkTest over a script as the driver runs it (line count + 1).
Findings runCheck(const std::string& text) {
  std::filesystem::remove("journal.bin");
  Journal journal("journal.bin");
  const ScriptText script(text);
  EXPECT_EQ(checkTest(script.lineCount() + 1, script, journal), kCheckTestDone);
  return test::findingsOf(journal);
}

std::string repeat(std::string_view line, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out.append(line).append("\n");
  return out;
}

std::string num(int value) {
  return std::to_string(value);
}

// The findings of each rule. An excess closer names the likely range from
// line `from`, or says it has no opener when `from` is 0.
Finding excess(bool endif, int index, int from) {
  return errorAt(index, (endif ? " : un 'endif' en trop " : " : un endwhile en trop ") +
                            (from > 0 ? "(l'erreur a probablement été faite entre la ligne " +
                                            num(from) + " et la ligne " + num(index + 1) + ")."
                             : endif ? "(pas de 'if' avant le 'endif')."
                                     : "(pas de 'while' avant le 'endwhile')."));
}
Finding missing(const std::string& word, int count) {
  return {kWholeScript, kError,
          "    - Il y a " + num(count) + " '" + word + "' manquant" + (count > 1 ? "s" : "") +
              " dans le script."};
}
Finding elseWithoutIf(int index, bool elseif) {
  return errorAt(index,
                 elseif ? " : un 'elseif' sans 'if' avant." : " : un 'else' sans 'if' avant.");
}
Finding elseifAfterElse(int index, int elseLine) {
  return alertAt(index, " : alerte, un 'elseif' précédé d'un 'else' (situé à la ligne " +
                            num(elseLine) + "). Le 'elseif' ne sera donc jamais executé !");
}
Finding deep(int index, int from, int to) {
  return {
      index, kAlert,
      utf8ToCp1252("    - Alerte : plus de dix if/while imbriqués entre les lignes " + num(from) +
                   " et " + num(to) + " (souvent mal interprété par le moteur du jeu).")};
}
constexpr bool kEndif = true;
constexpr bool kEndwhile = false;

// The cases where the rules are easiest to misread; the random comparison
// below and the golden cases cover the rest.
TEST(CheckTest, CasesWorthNaming) {
  test::TempDir dir;
  const Finding missingEndif = missing("endif", 1);
  const struct {
    std::string script;
    Findings expected;
  } cases[] = {
      // Line 1 is never examined: the "if" brings the depth back to 0.
      {"endif\nif\n", {}},
      // Depth 0 just above does not count; each excess is reported once.
      {"if\nendif\nendif\nendif\nset x to 1\n", {excess(kEndif, 2, 0), excess(kEndif, 3, 3)}},
      // The missing count ignores the corrections.
      {"set\nendif\nif\nif\n", {excess(kEndif, 1, 0), missingEndif}},
      // Depths -1 -2, then -1 after the correction on the slot past the end.
      {"endwhile\nendwhile", {excess(kEndwhile, 1, 0), excess(kEndwhile, 2, 0)}},
      // Only "if" and "endif" open and close for "else" and "elseif".
      {"while x\nelse\nendwhile\n", {elseWithoutIf(1, false)}},
      // Closed inner blocks between the "else" and the "elseif" change nothing.
      {"if\nelse\nif\nendif\nelseif\nendif", {elseifAfterElse(4, 2)}},
      // Eleven deep: the alert runs from the tenth opener to the return to nine.
      {repeat("if x", 11) + repeat("endif", 11), {deep(12, 10, 13)}},
      // The unexamined "endif" of line 1 keeps the depth at 9 at most.
      {"endif\n" + repeat("if x", 10) + repeat("endif", 10), {excess(kEndif, 20, 3)}},
      // The order of the checks.
      {"else\nendwhile\nendif\nif\nelse\nelseif\nif\nwhile\nwhile",
       {excess(kEndif, 2, 2), missingEndif, elseWithoutIf(0, false), elseifAfterElse(5, 5),
        excess(kEndwhile, 1, 0), missing("endwhile", 1)}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(runCheck(c.script), c.expected) << c.script;
}

// ---------------------------------------------------------------------------
// The rules transcribed as directly as they are stated: a character-stream
// classifier and the quadratic walks.

constexpr int kEof = -1;

bool blankOrSemicolon(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ';';
}
bool endsLine(int c) {
  return c == '\n' || c == '\r' || c == kEof;
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
    for (std::size_t k = 0; k < keyword.size() && match; ++k) {
      if (k > 0) c = get();
      match = !endsLine(c) && (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == keyword[k];
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

void naiveExcess(Table& depth, int m, bool endif, Findings& out) {
  for (int i = 1; i <= m - 1; ++i) {
    if (depth[i] >= 0) continue;
    int found = -1;
    for (int k = i - 2; k >= 0 && found < 0; --k) {
      if (depth[k] == 0) found = k;
    }
    out.push_back(excess(endif, i, found >= 0 ? found + 2 : 0));
    for (int j = i + 1; j <= m - 1; ++j)
      depth[j] += 1;
  }
}

void naiveMissing(Table& open, Table& close, int m, const std::string& word, Findings& out) {
  int sum = 0;
  for (int i = 0; i <= m - 1; ++i)
    sum += open[i] - close[i];
  if (sum > 0) out.push_back(missing(word, sum));
}

Table naiveDepth(Table& plus, Table& minus, int m) {
  Table depth(m);
  for (int i = 0; i <= m - 1; ++i)
    depth[i] = (i > 0 ? depth[i - 1] : 0) + plus[i] - minus[i];
  return depth;
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
  Table depth = naiveDepth(ifs, endifs, m);
  naiveExcess(depth, m, kEndif, out);
  naiveMissing(ifs, endifs, m, "endif", out);

  // 4, 5: "else" and "elseif" without "if", and "elseif" after an "else" of
  // its block. Walking up from line i and adding endif - if at each line, the
  // sum turns negative at the enclosing "if".
  const auto enclosingIf = [&](int i) {
    int sum = 0;
    for (int k = i; k >= 0; --k) {
      sum += endifs[k] - ifs[k];
      if (sum < 0) return k;
    }
    return -1;
  };
  for (int i = 0; i <= m - 1; ++i) {
    if (elses[i] == 1 && enclosingIf(i) < 0) out.push_back(elseWithoutIf(i, false));
  }
  for (int i = 0; i <= m - 1; ++i) {
    if (elseifs[i] != 1) continue;
    const int enclosing = enclosingIf(i);
    if (enclosing < 0) {
      out.push_back(elseWithoutIf(i, true));
      continue;
    }
    int sum = 0;
    for (int k = i; k >= enclosing + 1; --k) {
      sum += endifs[k] - ifs[k];
      if (sum < 0) break;
      if (sum == 0 && elses[k] == 1) {
        out.push_back(elseifAfterElse(i, k + 1));
        break;
      }
    }
  }

  // 6, 7, 8: "while" depth, excess and missing "endwhile".
  Table wdepth = naiveDepth(whiles, endwhiles, m);
  naiveExcess(wdepth, m, kEndwhile, out);
  naiveMissing(whiles, endwhiles, m, "endwhile", out);

  // 9: ten open blocks.
  bool deepNow = false;
  int start = 0;
  int nesting = 0;
  for (int i = 0; i <= m - 1; ++i) {
    nesting += ifs[i] + whiles[i] - endifs[i] - endwhiles[i];
    if (!deepNow && nesting > 9) {
      deepNow = true;
      start = i;
    } else if (deepNow && nesting <= 9) {
      deepNow = false;
      out.push_back(deep(i, start + 1, i + 1));
    }
  }
  return out;
}

std::size_t below(std::mt19937& rng, std::size_t bound) {
  return static_cast<std::size_t>(rng()) % bound;
}

constexpr std::array<std::string_view, 8> kPlainLines = {
    "if ( x == 1 )",     "endif", "while ( x < 5 )", "endwhile", "else",
    "elseif ( x == 2 )", "",      "set x to 1"};

// Random scripts of up to 60 lines, each with its own line weights, one in
// three favouring "if" or "while" so that deep nesting occurs. Every rule must
// fire somewhere.
template <typename MakeLine>
void compareOnRandomScripts(std::uint32_t seed, int scripts, MakeLine makeLine) {
  test::TempDir dir;
  std::mt19937 rng(seed);
  std::set<std::string> rules;
  for (int n = 0; n < scripts; ++n) {
    std::array<std::size_t, 8> weights{};
    for (std::size_t& w : weights)
      w = below(rng, 10);
    if (below(rng, 3) == 0) weights[below(rng, 2) * 2] += 25;
    weights[6] += 1;
    std::size_t total = 0;
    for (const std::size_t w : weights)
      total += w;
    std::string text;
    for (std::size_t line = 0, lines = below(rng, 61); line < lines; ++line) {
      std::size_t pick = below(rng, total);
      std::size_t kind = 0;
      for (; pick >= weights[kind]; ++kind)
        pick -= weights[kind];
      if (line > 0) text += '\n';
      text += makeLine(rng, kind);
    }
    if (below(rng, 2) == 0) text += '\n';
    const Findings expected = naiveCheck(text, ScriptText(text).lineCount() + 1);
    ASSERT_EQ(runCheck(text), expected) << "script " << n << ":\n" << text;
    for (Finding f : expected) {  // without its numbers, each rule's text has one shape
      std::erase_if(f.text, [](char c) { return c >= '0' && c <= '9'; });
      rules.insert(f.text);
    }
  }
  EXPECT_EQ(rules.size(), 12u) << "some rules never fired; adjust the generator";
}

// Keyword lines are written plainly or in every way the detector has to sort
// out: case, what precedes and what follows the keyword, commented out.
TEST(CheckTestAgreesWithTheRules, OnRandomScripts) {
  compareOnRandomScripts(20240611u, 7000, [](std::mt19937& rng, std::size_t kind) {
    constexpr std::array<std::string_view, 6> kWords = {"if",       "endif", "while",
                                                        "endwhile", "else",  "elseif"};
    constexpr std::array<std::string_view, 10> kBefore = {"",   "",   " ", "\t", "  \t",
                                                          "\v", "\f", ";", " ;", "\xA0"};
    constexpr std::array<std::string_view, 17> kAfter = {
        "",  "",   " x", "(x)",   " ( x )", ",x",   ";c", "x", "1",
        "_", "\t", "=x", "\"x\"", "-x",     "\xE9", "\f", "\v"};
    if (kind >= kWords.size() || below(rng, 2) == 0) return std::string(kPlainLines[kind]);
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
