// The console program's interactive menu, driven through its input.
#include "console/ScrutinetteMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::fileExists;
using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kEndifTooMany = "Begin Faute\nshort compte\nendif\nEnd\n";

struct MenuRun {
  int status = -1;
  std::string out;
  std::string unread;  // input left after the menu returned
};

MenuRun runMenu(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  MenuRun run;
  run.status = runScrutinetteMenu(in, out);
  run.out = out.str();
  std::getline(in, run.unread, '\0');
  return run;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ScrutinetteMenu, QuitAndEndOfInput) {
  TempDir dir;
  for (const char* input : {"7\n", "q\n", ""}) {
    const MenuRun run = runMenu(input);
    EXPECT_EQ(run.status, 0) << input;
    EXPECT_TRUE(contains(run.out, "  1. Vérifier un fichier\n")) << input;
    EXPECT_TRUE(contains(run.out, "  7. Quitter\n")) << input;
  }
  EXPECT_TRUE(contains(runMenu("9\n7\n").out, "Choix inconnu « 9 » : tapez un nombre de 1 à 7."));
  EXPECT_FALSE(fileExists(kSettingsFileName));
}

TEST(ScrutinetteMenu, ChecksAFileAndPrintsItsReport) {
  TempDir dir;
  writeFile("faute.txt", kEndifTooMany);
  const MenuRun run = runMenu("1\nfaute.txt\n7\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(contains(run.out, "Nom du fichier : "));
  EXPECT_TRUE(contains(run.out, "    - Ligne 3 : un 'endif' en trop"));
  EXPECT_TRUE(contains(run.out, "Le script contient des erreurs.\n"));
  EXPECT_TRUE(contains(run.out, "Le rapport est dans le fichier \"Correction de faute.txt\".\n"));
  EXPECT_TRUE(fileExists("Correction de faute.txt"));

  const MenuRun missing = runMenu("1\nabsent.txt\n7\n");
  EXPECT_TRUE(contains(missing.out, "Impossible d'ouvrir le fichier \"absent.txt\" !\n"));
  EXPECT_EQ(missing.status, 0);
}

TEST(ScrutinetteMenu, FormatsAFile) {
  TempDir dir;
  writeFile("bloc.txt", "Begin Bloc\nshort a\nif ( a == 1 )\nset a to 2\nendif\nEnd\n");
  writeFile("faute.txt", kEndifTooMany);
  const MenuRun run = runMenu("2\nbloc.txt\n2\nfaute.txt\n2\nabsent.txt\n7\n");
  EXPECT_TRUE(contains(run.out, "Script mis en forme.\n"));
  EXPECT_TRUE(contains(run.out, "Erreur dans l'enchainement des tests logiques.\n"));
  EXPECT_TRUE(contains(run.out, "Impossible de trouver le fichier \"absent.txt\" !\n"));
  EXPECT_TRUE(contains(readFile("bloc.txt"), "\n\tset a to 2\n"));
  EXPECT_EQ(readFile("faute.txt"), kEndifTooMany);
}

TEST(ScrutinetteMenu, PreferencesDependenciesResetAndClean) {
  TempDir dir;
  struct Step {
    const char* input;
    std::string file;  // the settings file afterwards; empty: no file
  };
  const Step steps[] = {
      // Empty answers keep the current values; o/n set them.
      {"3\nn\n\no\n7\n", test::settingsBytes({0, 1, 1, 0, 0})},
      {"4\nx\no\n\n7\n", test::settingsBytes({0, 1, 1, 1, 0})},
      {"6\n7\n", test::settingsBytes({1, 1, 0, 0, 0})},
      {"4\n\no\n5\n7\n", ""},
      // Cleaning keeps the running settings: keeping both answers writes them.
      {"4\no\n\n5\n4\n\n\n7\n", test::settingsBytes({1, 1, 0, 1, 0})},
  };
  for (const Step& step : steps) {
    const MenuRun run = runMenu(step.input);
    EXPECT_EQ(run.status, 0) << step.input;
    if (step.file.empty())
      EXPECT_FALSE(fileExists(kSettingsFileName)) << step.input;
    else
      EXPECT_EQ(readFile(kSettingsFileName), step.file) << step.input;
  }
  const MenuRun run = runMenu("4\nx\n\n\n6\n5\n7\n");
  EXPECT_TRUE(contains(run.out, "Mod Tribunal-dépendant (o/n) [o] : Répondez par o (oui) ou n"));
  EXPECT_TRUE(contains(run.out, "Les variables ont été remises par défaut.\n"));
  EXPECT_TRUE(contains(run.out, "Les fichiers temporaires ont été éffacés.\n"));
}

TEST(ScrutinetteMenu, StartedByTheWindow) {
  TempDir dir;
  writeFile("DbPlatform.dat", std::string("\x01\x00\x00\x00", 4));
  EXPECT_TRUE(contains(runMenu("7\n").out, "lancée depuis la fenêtre Lintaro"));
  EXPECT_FALSE(fileExists("DbPlatform.dat"));
  EXPECT_FALSE(contains(runMenu("7\n").out, "lancée depuis la fenêtre Lintaro"));
}

TEST(ScrutinetteMenu, WorkFileFailureWaitsThenEnds) {
  TempDir dir;
  writeFile("faute.txt", kEndifTooMany);
  // A directory in the way of the report.
  std::filesystem::create_directories("Correction de faute.txt/bloque");
  const MenuRun run = runMenu("1\nfaute.txt\n\n7\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.out, "impossible d'ouvrir le fichier \"Correction de faute.txt\""));
  EXPECT_TRUE(contains(run.out, "Appuyez sur Entrée pour quitter..."));
  EXPECT_EQ(run.unread, "7\n");
}

}  // namespace
}  // namespace lintaro
