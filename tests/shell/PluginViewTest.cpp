// The window's plugin view without widgets: rows, counts and their order, a
// script's report, and the saved report against the console's for the same
// plugin.
#include "shell/PluginView.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "console/Scrutinette.h"
#include "plugin/Writer.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace w = plugin::writer;

std::string manyLines() {
  std::string text = "Begin Long\r\nshort x\r\n";
  for (int i = 0; i < 5001; ++i)
    text += "set x to 1\r\n";
  return text + "End\r\n";
}

// In record order: clean, one alert (a tab before a comment), deleted, one
// error (a declaration in a result script), one error (a Tribunal function
// without Tribunal among the masters), too long to be checked.
void writeMod() {
  w::PluginSpec spec;
  spec.masters = {{"Morrowind.esm", 0}, {"Bloodmoon.esm", 0}};
  spec.items = {
      w::ScriptSpec{"Propre", "Begin Propre\r\nshort x\r\nset x to 1\r\nEnd\r\n"},
      w::ScriptSpec{"Tab", "Begin Tab\r\nshort x\r\nset x to 1\t; note\r\nEnd\r\n"},
      w::ScriptSpec{"Supprime", "Begin Supprime\r\nEnd\r\n", 0, true},
      w::DialogueSpec{"Sujet", plugin::kTopicTypeTopic, {{"12345", "short a\r\n"}}},
      w::ScriptSpec{"Saut", "Begin Saut\r\nshort x\r\nset x to GetPCJumping\r\nEnd\r\n"},
      w::ScriptSpec{"Long", manyLines()},
  };
  test::writeFile("Mod.esp", w::writePlugin(spec).bytes);
}

std::vector<std::string> labels(const PluginView& view) {
  std::vector<std::string> out;
  for (const PluginRow& row : view.rows)
    out.push_back(row.label);
  return out;
}

const std::string kDialogue = "dialogue \"Sujet\" / info 12345";

TEST(PluginView, RowsCountsAndOrder) {
  test::TempDir dir;
  writeMod();
  PluginView view = loadPluginView("Mod.esp", {});
  ASSERT_TRUE(view.loaded) << view.error;
  EXPECT_EQ(view.masters, (std::vector<std::string>{"Morrowind.esm", "Bloodmoon.esm"}));
  EXPECT_EQ(view.expansionLines,
            (std::vector<std::string>{"Tribunal : non (aucun maître ne l'annonce)",
                                      "Bloodmoon : maître Bloodmoon.esm"}));
  EXPECT_EQ(view.tallies, (std::array<int, 4>{1, 1, 2, 1}));

  // With errors first, ties in record order.
  EXPECT_EQ(labels(view), (std::vector<std::string>{kDialogue, "Saut", "Propre", "Tab", "Long"}));
  const PluginRow& result = view.rows[0];
  EXPECT_EQ(std::string(pluginKindLabel(result)), "résultat");
  EXPECT_EQ(std::string(pluginKindLabel(view.rows[1])), "script");
  EXPECT_EQ(result.errors, 1);
  EXPECT_EQ(view.rows[3].alerts, 1);
  EXPECT_EQ(view.rows[3].errors, 0);
  EXPECT_FALSE(view.rows[4].checked);
  // The report in UTF-8.
  EXPECT_NE(result.report.find("une variable ne peut pas être déclarée dans le résultat d'une "
                               "réplique."),
            std::string::npos)
      << result.report;
  EXPECT_NE(view.rows[4].report.find("Plus de 5000 lignes"), std::string::npos);

  struct Click {
    PluginColumn column;
    std::vector<std::string> order;
  };
  const std::vector<Click> clicks = {
      {PluginColumn::kName, {"Long", "Propre", "Saut", "Tab", kDialogue}},
      {PluginColumn::kName, {kDialogue, "Tab", "Saut", "Propre", "Long"}},
      {PluginColumn::kKind, {"Propre", "Tab", "Saut", "Long", kDialogue}},
      {PluginColumn::kKind, {kDialogue, "Propre", "Tab", "Saut", "Long"}},
      {PluginColumn::kAlerts, {"Tab", "Propre", kDialogue, "Saut", "Long"}},
      {PluginColumn::kErrors, {kDialogue, "Saut", "Propre", "Tab", "Long"}},
      {PluginColumn::kErrors, {"Propre", "Tab", "Long", kDialogue, "Saut"}},
  };
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    clickPluginColumn(view, clicks[i].column);
    EXPECT_EQ(labels(view), clicks[i].order) << "click " << i;
  }
}

TEST(PluginView, SavedReportIsTheConsolesAndUnreadablePluginsSayWhy) {
  test::TempDir dir;
  writeMod();
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runScrutinette({"Mod.esp"}, in, out, err), 2);  // "Long" is not checked
  const std::string console = test::readFile("Correction de Mod.esp");
  ASSERT_FALSE(console.empty());

  PluginView view = loadPluginView(dir.path() + "/Mod.esp", {});
  clickPluginColumn(view, PluginColumn::kName);  // the shown order does not matter
  std::filesystem::create_directory("sortie");
  const std::string saved = savePluginReport(view, "sortie");
  EXPECT_EQ(saved, test::nativePath("sortie/Correction de Mod.esp"));
  EXPECT_EQ(test::readFile(saved), console);

  const PluginView missing = loadPluginView("Absent.esp", {});
  EXPECT_FALSE(missing.loaded);
  EXPECT_NE(missing.error.find("Absent.esp"), std::string::npos) << missing.error;
  EXPECT_EQ(savePluginReport(missing, "sortie"), "");
}

}  // namespace
}  // namespace lintaro
