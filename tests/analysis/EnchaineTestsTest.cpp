// Block structure check: pairing of if/endif and while/endwhile, else and
// elseif inside an open if, deep nesting, and the block keyword detector: the
// cases the golden ones ("endif_en_trop", "dix_imbriques", "elseif_apres_else"
// and the others) leave out.
#include "analysis/MainEnchaineTests.h"

#include <gtest/gtest.h>

#include <filesystem>
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
  Journal journal;
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

// The cases where the rules are easiest to misread.
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
      // A ";" ends the blanks before a keyword: the line is a comment. After
      // the keyword, "(" and "," end it like a blank; "_" does not.
      {"if x\n\t;endif\n\fENDIF", {}},
      {"if(x)\nendif,\nif_x\nendif", {excess(kEndif, 3, 3)}},
      // The order of the checks.
      {"else\nendwhile\nendif\nif\nelse\nelseif\nif\nwhile\nwhile",
       {excess(kEndif, 2, 2), missingEndif, elseWithoutIf(0, false), elseifAfterElse(5, 5),
        excess(kEndwhile, 1, 0), missing("endwhile", 1)}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(runCheck(c.script), c.expected) << c.script;
}

}  // namespace
}  // namespace lintaro
