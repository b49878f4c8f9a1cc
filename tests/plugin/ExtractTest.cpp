// Extraction of a plugin's scripts into a folder: hostile names become safe
// file names inside the folder, collisions are numbered, nothing is written
// over an existing file or through a link.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "plugin/Extract.h"
#include "tests/TestSupport.h"

namespace lintaro::plugin {
namespace {

namespace fs = std::filesystem;

ScriptEntry script(std::string name, std::string text = "Begin x\r\nEnd") {
  ScriptEntry entry;
  entry.name = std::move(name);
  entry.text = std::move(text);
  return entry;
}

ScriptEntry result(std::string topic, std::string info) {
  ScriptEntry entry;
  entry.kind = ScriptKind::kResult;
  entry.topic = std::move(topic);
  entry.infoId = std::move(info);
  entry.text = "Goodbye";
  return entry;
}

TEST(Extract, HostileNamesBecomeSafeFilesInsideTheFolder) {
  test::TempDir dir;
  fs::create_directory("sortie");
  test::writeFile("sortie/Bonjour.mwscript", "ancien");
  test::writeFile("dehors.txt", "dehors");
  // Without symbolic links (Wine), a plain file takes the link's name and the
  // test is skipped at its end.
  std::error_code noLink;
  fs::create_symlink("../dehors.txt", "sortie/lien.mwscript", noLink);
  if (noLink == std::errc::function_not_supported || noLink == std::errc::operation_not_supported) {
    test::writeFile("sortie/lien.mwscript", "");
  } else {
    ASSERT_FALSE(noLink) << noLink.message();
  }

  // In the order of the plugin: the name read, the file written (Windows-1252).
  const std::vector<std::pair<ScriptEntry, std::string>> cases = {
      {script("../x"), "_._x.mwscript"},
      {script(".."), "_.mwscript"},
      {script("CON"), "_CON.mwscript"},
      {script("con.txt"), "_con.txt.mwscript"},
      {script("NUL "), "_NUL.mwscript"},
      {script("COM1"), "_COM1.mwscript"},
      {script("lpt9.x"), "_lpt9.x.mwscript"},
      {script("COM\xB9"), "_COM¹.mwscript"},
      {script("com10"), "com10.mwscript"},
      {script("a/b"), "a_b.mwscript"},
      {script("a:b"), "a_b-2.mwscript"},
      {script("A\\B"), "A_B-3.mwscript"},
      {script("q<>|?*\"\t\x7F"), "q________.mwscript"},
      {script("x. . "), "x.mwscript"},
      {script(""), "sans-nom.mwscript"},
      {script("\xC9t\xE9"), "Été.mwscript"},
      {script("\xC9T\xC9"), "ÉTÉ-2.mwscript"},
      {script("bonjour"), "bonjour-2.mwscript"},
      {script("lien"), "lien-2.mwscript"},
      {result("Qu\xEAte/1", "123"), "dialogue-Quête_1-123.mwscript"},
      {result(std::string(200, 'a'), "1"), "dialogue-" + std::string(111, 'a') + ".mwscript"},
  };
  Plugin plugin;
  std::vector<std::string> expected;
  for (const auto& [entry, file] : cases) {
    plugin.scripts.push_back(entry);
    expected.push_back(file);
  }
  ScriptEntry skipped = script("supprime");
  skipped.skipped = true;
  plugin.scripts.insert(plugin.scripts.begin() + 1, skipped);
  plugin.scripts[0].text = std::string("Begin x\r\n\0End\r\n", 15);

  const Extraction extraction = extractScripts(plugin, "sortie");
  ASSERT_TRUE(extraction.ok) << extraction.error;
  ASSERT_EQ(extraction.files.size(), expected.size());
  std::set<std::string> inFolder = {"Bonjour.mwscript", "lien.mwscript"};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(extraction.files[i].fileName, expected[i]);
    EXPECT_EQ(extraction.files[i].entry, i == 0 ? 0 : i + 1);
    inFolder.insert(expected[i]);
  }
  std::set<std::string> found;
  for (const fs::directory_entry& file : fs::directory_iterator("sortie")) {
    const std::u8string name = file.path().filename().u8string();
    found.emplace(name.begin(), name.end());
  }
  EXPECT_EQ(found, inFolder);
  EXPECT_EQ(test::readFile("sortie/_._x.mwscript"), std::string("Begin x\r\n\0End\r\n", 15));
  EXPECT_EQ(test::readFile("sortie/Bonjour.mwscript"), "ancien");
  EXPECT_EQ(test::readFile("dehors.txt"), "dehors");
  std::set<std::string> top;
  for (const fs::directory_entry& file : fs::directory_iterator("."))
    top.insert(file.path().filename().string());
  EXPECT_EQ(top, (std::set<std::string>{"dehors.txt", "sortie"}));

  // Again into the same folder: every name is taken, so every file is numbered.
  const Extraction again = extractScripts(plugin, "sortie");
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(again.files[0].fileName, "_._x-2.mwscript");
  EXPECT_EQ(again.files[9].fileName, "a_b-4.mwscript");
  if (noLink) GTEST_SKIP() << "no symbolic link here (" << noLink.message() << ")";
}

TEST(Extract, FolderThatCannotBeMadeIsTold) {
  test::TempDir dir;
  test::writeFile("fichier", "");
  Plugin plugin;
  plugin.scripts.push_back(script("a"));
  const Extraction extraction = extractScripts(plugin, "fichier/sous");
  EXPECT_FALSE(extraction.ok);
  EXPECT_EQ(extraction.error, "Impossible de créer le dossier \"fichier/sous\".");
}

}  // namespace
}  // namespace lintaro::plugin
