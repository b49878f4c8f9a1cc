// Plugins as inputs of the console program, in process: the expansions their
// masters imply and the options that override them, each script's findings
// against its text checked alone, the combined texte report, --extraire with
// hostile names, a corrupt plugin among others and -j. The json, sarif and gcc
// forms are read by their consumers (tests/consumers).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "console/Scrutinette.h"
#include "core/Encoding.h"
#include "plugin/CodePages.h"
#include "plugin/Writer.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;
namespace w = plugin::writer;
using Args = std::vector<std::string>;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome scrutinette(const Args& args) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette(args, in, out, err);
  return {status, out.str(), err.str()};
}

void writePlugin(const std::string& path, std::vector<plugin::Master> masters,
                 std::vector<w::Item> items) {
  w::PluginSpec spec;
  spec.masters = std::move(masters);
  spec.items = std::move(items);
  test::writeFile(path, w::writePlugin(spec).bytes);
}

// GetPCJumping is a Tribunal function; the result script declares a variable.
const std::string kTribunal = "Begin Saut\r\nshort x\r\nset x to GetPCJumping\r\nEnd\r\n";
const w::DialogueSpec kDialogue{"Sujet", plugin::kTopicTypeTopic, {{"12345", "short a\r\n"}}};
const std::string kTribunalLine = "Mod.esp:Saut:3: error: fonction Tribunal-dépendante ! [LT801]\n";
const std::string kResultLine =
    "Mod.esp:dialogue \"Sujet\" / info 12345:1: error: une variable ne peut pas être déclarée "
    "dans le résultat d'une réplique. [LT950]\n";

TEST(ScrutinettePlugin, MastersDecideTheExpansionsAndOptionsOverrideThem) {
  struct Case {
    std::vector<plugin::Master> masters;
    Args options;
    bool tribunalReported;
  };
  const std::vector<Case> cases = {
      {{{"Morrowind.esm", 0}, {"TRIBUNAL.ESM", 0}}, {}, false},
      {{{"Morrowind.esm", 0}}, {}, true},
      {{{"Tribunal.esm", 0}}, {"--sans-tribunal"}, true},
      {{{"Tribunal.esm", 0}}, {"--sans-tribunal", "--tribunal"}, false},
      {{}, {"--tribunal"}, false},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    writePlugin("Mod.esp", c.masters, {w::ScriptSpec{"Saut", kTribunal}, kDialogue});
    Args args = c.options;
    args.insert(args.end(), {"--sortie", "gcc", "Mod.esp"});
    const Outcome run = scrutinette(args);
    EXPECT_EQ(run.status, 1);
    const std::string expected = c.tribunalReported ? kTribunalLine : std::string();
    EXPECT_EQ(run.out, expected + kResultLine) << ::testing::PrintToString(c.options);
  }
}

// Every golden script as a SCPT of a plugin whose master is Tribunal gives
// the findings and names it gives checked alone with --tribunal (its file is
// UTF-8 or Windows-1252; the plugin holds Windows-1252).
TEST(ScrutinettePlugin, EachScriptFindsWhatItsTextFindsAlone) {
  test::TempDir dir;
  std::vector<w::Item> items;
  Args alone = {"--sortie", "json", "--tribunal"};
  for (const auto& entry : fs::directory_iterator(LINTARO_GOLDEN_DIR)) {
    if (entry.path().extension() != ".script") continue;
    const std::string text = test::readFile(entry.path().string());
    const std::string name = entry.path().stem().string();
    items.push_back(w::ScriptSpec{name, decodeScriptBytes(text)});  // a plugin holds Windows-1252
    test::writeFile(name + ".txt", text);
    alone.push_back(name + ".txt");
  }
  ASSERT_GT(items.size(), 20U);
  writePlugin("Mod.esp", {{"Tribunal.esm", 0}}, items);
  const nlohmann::json fromPlugin =
      nlohmann::json::parse(scrutinette({"--sortie", "json", "-j", "2", "Mod.esp"}).out);
  const nlohmann::json fromFiles = nlohmann::json::parse(scrutinette(alone).out);
  std::map<std::string, nlohmann::json> byName;
  for (const auto& result : fromFiles["results"]) {
    const std::string file = result["file"];
    byName[file.substr(0, file.size() - 4)] = result;
  }
  ASSERT_EQ(fromPlugin["results"].size(), items.size());
  for (const auto& result : fromPlugin["results"]) {
    const nlohmann::json& expected = byName[result["script"].get<std::string>()];
    EXPECT_EQ(result["findings"], expected["findings"]) << result["script"];
    EXPECT_EQ(result["names"], expected["names"]) << result["script"];
  }
}

TEST(ScrutinettePlugin, TexteReportIsWrittenAndShownWithItsHead) {
  test::TempDir dir;
  w::ScriptSpec deleted{"Parti", "Begin Parti\r\nendif\r\nEnd\r\n"};
  deleted.flags = plugin::kFlagDeleted;
  writePlugin("Mod.esp", {{"Morrowind.esm", 0}, {"Tribunal.esm", 0}},
              {w::ScriptSpec{"Saut", kTribunal}, deleted, kDialogue});
  const Outcome run = scrutinette({"Mod.esp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, test::readFile("Correction de Mod.esp"));
  const std::string head = test::native(
      "Correction de Mod.esp\n\n"
      "Maîtres : Morrowind.esm, Tribunal.esm\n"
      "Tribunal : maître Tribunal.esm\n"
      "Bloodmoon : non (aucun maître ne l'annonce)\n"
      "Scripts : 1, scripts de résultat : 1, ignorés (supprimés) : 1\n"
      "Avec erreurs : 1, avec alertes seulement : 0, non vérifiés : 0\n\n"
      "==> Saut <==\n");
  EXPECT_EQ(run.out.substr(0, head.size()), head);
  const std::size_t result =
      run.out.find(test::native("==> dialogue \"Sujet\" / info 12345 <==\n"));
  ASSERT_NE(result, std::string::npos);
  EXPECT_NE(run.out.find("Ligne 1 : une variable ne peut pas", result), std::string::npos);
  EXPECT_EQ(run.out.find("Parti"), std::string::npos);
}

// "\xC8\xEC\xFF" is "Имя" in Windows-1251 and "Èìÿ" in Windows-1252.
TEST(ScrutinettePlugin, EncodingConvertsTheNames) {
  test::TempDir dir;
  const std::string name = "\xC8\xEC\xFF";
  writePlugin("Mod.esp", {{name + ".esm", 0}},
              {w::ScriptSpec{name, "Begin a\r\nshort " + name + "\r\nEnd\r\n"},
               w::DialogueSpec{name, plugin::kTopicTypeTopic, {{"1", "Journal A 10\r\n"}}}});
  const auto json = [](const Args& options) {
    Args args = options;
    args.insert(args.end(), {"--sortie", "json", "Mod.esp"});
    return nlohmann::json::parse(scrutinette(args).out)["results"];
  };
  const nlohmann::json cyrillic = json({"--encodage", "1251"});
  ASSERT_EQ(cyrillic.size(), 2U);
  EXPECT_EQ(cyrillic[0]["script"], "Имя");
  EXPECT_EQ(cyrillic[0]["names"][0]["name"], "Имя");
  EXPECT_EQ(cyrillic[1]["dialogue"], "Имя");
  EXPECT_EQ(json({})[0]["script"], "Èìÿ");
  EXPECT_NE(
      scrutinette({"--encodage", "1251", "Mod.esp"}).out.find(test::native("Maîtres : Имя.esm\n")),
      std::string::npos);
  const Outcome unknown = scrutinette({"--encodage", "utf8", "Mod.esp"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err.rfind("scrutinette : encodage inconnu « utf8 »", 0), 0U) << unknown.err;
}

// A Cyrillic mod (tests/plugin/encodage_1251.*): the names taken from the
// script are read in Windows-1251 inside the French texts, which stay
// Windows-1252 ("associée", "2-ième"), in the combined report and in gcc; the
// same script as a UTF-8 file is read into the page and its report written.
TEST(ScrutinettePlugin, NamesInsideTheTextsAreReadInTheChosenPage) {
  const std::string base = LINTARO_GOLDEN_DIR "/../plugin/encodage_1251";
  const std::string script = test::readFile(base + ".script");
  const std::string report = test::readFile(base + ".report");
  test::TempDir dir;
  writePlugin("Mod.esp", {}, {w::ScriptSpec{"\xD1\xF2\xF0\xE0\xE6", script}});  // "Страж"
  const Outcome run = scrutinette({"--encodage", "1251", "Mod.esp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, test::native(report));
  EXPECT_EQ(scrutinette({"--encodage", "1251", "--sortie", "gcc", "Mod.esp"}).out,
            "Mod.esp:Страж:4: error: impossible de détecter la variable locale associée à "
            "l'objet \"стражник\" ! [LT303]\n"
            "Mod.esp:Страж:6: error: erreur, pas d'espace après le 2-ième choix de la fonction "
            "Choice ! [LT523]\n");

  test::writeFile("Страж.txt", plugin::toUtf8(script, plugin::CodePage::kWindows1251));
  const Outcome file = scrutinette({"--encodage", "1251", "Страж.txt"});
  EXPECT_EQ(file.out, test::native(report.substr(report.find(" <==\n") + 5)));
  EXPECT_EQ(test::readFile("Correction de Страж.txt"), file.out);
}

TEST(ScrutinettePlugin, ExtractionStaysInsideTheFolder) {
  test::TempDir dir;
  writePlugin("Mod.esp", {},
              {w::ScriptSpec{"../../dehors", "Begin a\r\nEnd\r\n"},
               w::ScriptSpec{"/etc/passwd", "Begin b\r\nEnd\r\n"},
               w::ScriptSpec{"con", "Begin c\r\nEnd\r\n"}});
  fs::create_directory("haut");
  const Outcome run = scrutinette({"--extraire", "haut/sortie", "Mod.esp"});
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator("."))
    written.push_back(entry.path().lexically_normal().generic_string());
  std::sort(written.begin(), written.end());
  ASSERT_EQ(written.size(), 6U) << ::testing::PrintToString(written);
  EXPECT_EQ(written[0], "Mod.esp");
  EXPECT_EQ(written[1], "haut");
  EXPECT_EQ(written[2], "haut/sortie");
  for (std::size_t i = 3; i < written.size(); ++i) {
    EXPECT_EQ(written[i].rfind("haut/sortie/", 0), 0U) << written[i];
    // The folder as given, then the system's separator.
    EXPECT_NE(run.out.find("haut/sortie" + test::nativePath(written[i].substr(11)) + "\n"),
              std::string::npos)
        << run.out;
  }
  EXPECT_NE(run.out.find("Mod.esp : 3 scripts écrits dans haut/sortie\n"), std::string::npos);
}

TEST(ScrutinettePlugin, CorruptPluginFailsAndTheOthersGoOn) {
  test::TempDir dir;
  writePlugin("Mod.esp", {}, {w::ScriptSpec{"Saut", kTribunal}, kDialogue});
  std::string bytes = test::readFile("Mod.esp");
  test::writeFile("Casse.ESP", bytes.substr(0, bytes.size() - 3));
  const Outcome run = scrutinette({"--sortie", "gcc", "Casse.ESP", "Mod.esp"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, kTribunalLine + kResultLine);
  EXPECT_NE(run.err.find("Casse.ESP : "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("octet"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("1 non vérifié"), std::string::npos) << run.err;
  const Outcome extract = scrutinette({"--extraire", "x", "Casse.ESP", "Mod.esp"});
  EXPECT_EQ(extract.status, 2);
  EXPECT_TRUE(test::fileExists("x/Saut.mwscript"));
}

TEST(ScrutinettePlugin, ParallelChecksKeepRecordOrder) {
  test::TempDir dir;
  std::vector<w::Item> items;
  for (int i = 0; i < 40; ++i) {
    const std::string name = 'S' + std::to_string(i);
    std::string text = "Begin ";
    text.append(name).append("\r\nendif\r\nEnd\r\n");
    items.push_back(w::ScriptSpec{name, text});
  }
  writePlugin("Mod.esp", {}, items);
  const Outcome one = scrutinette({"-j", "1", "Mod.esp"});
  const Outcome many = scrutinette({"-j", "4", "Mod.esp"});
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(many.out, one.out);
  EXPECT_LT(one.out.find("==> S9 <=="), one.out.find("==> S10 <=="));
}

}  // namespace
}  // namespace lintaro
