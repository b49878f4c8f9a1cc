// Report writer: the whole text of "Correction de <name>" from given journal
// and info store contents, and the file it leaves.
#include "report/MainEcritureLog.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/Encoding.h"
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
// The title with a script name: 20 + 4 + 12 hyphens and one per character.
std::string titleOf(std::string_view name, std::size_t characters) {
  return kTitle + " : script \"" + std::string(name) + "\"\n" + std::string(20, ' ') +
         std::string(36 + characters, '-');
}

TEST(Report, ErrorListAndSections) {
  test::TempDir dir;
  // clang-format off
  const struct {
    std::vector<INFO> records;
    std::vector<std::tuple<int, const char*, int>> journal;  // line, UTF-8 text, kind
    int lines;
    bool showInfo, hideAlerts;
    std::string expected;
    int errors;
  } cases[] = {
      // (The title, alerts shown or all hidden, and a finding on the slot past the
      // last line are pinned by golden cases.)
      // By line then in journal order, the whole-script records last; alerts
      // hidden leave the errors in the same order.
      {{}, {{-1, "    - whole script", kError}, {6, "    - Ligne 7 : first", kError},
            {1, "    - Ligne 2 : alerte, second", kAlert}, {6, "    - Ligne 7 : third", kError},
            {0, "    - Ligne 1 : fourth", kError}}, 8, 1, 1,
       kTitle + kUnderline24 + kErrorHeading + "    - Ligne 1 : fourth\n    - Ligne 7 : first\n"
       "    - Ligne 7 : third\n    - whole script\n", 4},
      // Without showInfo the lists go; the ERREUR section always shows.
      {{{0, "count"}, {10, "crate"}, {11, "crate"}, {90, "region"}}, {}, 3, 0, 0,
       kTitle + kUnderline24 + kNoFindings + kErreur + entry("crate", "ERREUR"), 0},
      // A code without a label prints its section's heading alone; a code
      // outside every section prints nothing.
      {{{8, "g"}, {150, "far"}, {-5, "below"}}, {}, 1, 1, 0,
       kTitle + kUnderline24 + kNoFindings + kGlobal, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::CheckRun run;
    for (const INFO& r : c.records)
      run.info.triInfo(r);
    for (const auto& [line, text, kind] : c.journal)
      run.journal.add(line, kind == kAlert ? Diag::kDirectiveCodeInconnu : Diag::kSyntaxeInconnue,
                      utf8ToCp1252(text), "");
    int errors = -1;
    EXPECT_EQ(cp1252ToUtf8(
                  composeReport(c.lines, c.showInfo, c.hideAlerts, run.journal, run.info, &errors)),
              c.expected);
    EXPECT_EQ(errors, c.errors);
  }
}

// The labels no golden case shows yet ("types_infos", "declarations",
// "extensions" and "commentaires_guillemets" show the others), a neighbour of
// each, and codes without a label.
TEST(Report, EveryLabelAndEverySectionInOrder) {
  test::TempDir dir;
  test::CheckRun run;
  // Names recorded out of section order: each section lists its names in the
  // order of the store; codes without a label print nothing.
  // clang-format off
  for (const INFO& r : std::vector<INFO>{
           {31, "pnj"}, {0, "s"}, {99, "MonScript"}, {4, "i"}, {3, "sans3"}, {5, "gs"}, {6, "gf"},
           {7, "gl"}, {8, "g8"}, {9, "gi"}, {11, "contenu"}, {12, "activable"}, {13, "p13"},
           {30, "joueur"}, {32, "arme"}, {35, "reparation"}, {47, "p47"}, {48, "levc"},
           {49, "levi"}, {97, "race"}, {21, "effet"}, {22, "np22"}, {51, "quete"}, {55, "d55"},
           {90, "region"}, {92, "fichier"}, {94, "animation"}, {60, "o60"}, {98, "o98"},
           {25, "es"}, {26, "ef"}, {27, "el"}, {28, "e28"}, {29, "ei"}, {10, "err"}, {11, "err"},
           {150, "hors"}}) {
    run.info.triInfo(r);
  }
  // clang-format on
  run.info.triInfoLocal({"el", "o2"});
  run.info.triInfoLocal({"es", "objs"});
  run.info.triInfoLocal({"el", "o1"});
  run.info.triInfoLocal({"ei", "oi"});

  const std::string expected =
      titleOf("monscript", 9) + kNoFindings + kLocal + entry("s", "SHORT") +
      entry("i", "indéterminé") + kExternal + objectEntry("es", "SHORT", "objs") +
      entry("ef", "FLOAT") + objectEntry("el", "LONG", "o2") + objectEntry("el", "LONG", "o1") +
      objectEntry("ei", "indéterminé", "oi") + kGlobal + entry("gs", "SHORT") +
      entry("gf", "FLOAT") + entry("gl", "LONG") + entry("gi", "indéterminé") +
      "\n\n\n Liste des objets physiques utilisés :\n---------------------------------------\n" +
      entry("pnj", "PNJ") + entry("contenu", "CONTENU") + entry("activable", "OBJET ACTIVABLE") +
      entry("joueur", "JOUEUR") + entry("arme", "ARME") +
      entry("reparation", "INSTRUMENT DE REPARATION") + entry("levc", "LEVELED CREATURE") +
      entry("levi", "LEVELED ITEM") +
      "\n\n\n Liste des objets non physiques utilisés :\n"
      "-------------------------------------------\n" +
      entry("effet", "EFFET") +
      "\n\n\n Liste des dialogues utilisés :\n--------------------------------\n" +
      entry("quete", "QUETE") +
      "\n\n\n Liste des autres objets utilisés :\n------------------------------------\n" +
      entry("race", "RACE") + entry("region", "REGION") + entry("fichier", "FICHIER") +
      entry("animation", "ANIMATION") + kErreur + entry("err", "ERREUR");
  int errors = -1;
  EXPECT_EQ(cp1252ToUtf8(composeReport(1, 1, 0, run.journal, run.info, &errors)), expected);
}

}  // namespace
}  // namespace lintaro
