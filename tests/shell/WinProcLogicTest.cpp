// The window's commands and dialogs without widgets: a fake platform records
// the message boxes, the documents opened and the redraws.
#include "shell/WinProcLogic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Files.h"
#include "core/ScriptInput.h"
#include "formatter/MainMiseEnForme.h"
#include "run/MainDebug.h"
#include "shell/Platform.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;
using test::fileExists;
using test::nativePath;
using test::readFile;
using test::TempDir;
using test::writeFile;

struct Box {
  std::string text;
  std::string title;
  BoxIcon icon;
  bool operator==(const Box&) const = default;
};

class FakePlatform : public ShellPlatform {
 public:
  explicit FakePlatform(std::string cwd) : cwd_(std::move(cwd)) {}

  bool openDocument(const std::string& target) override {
    tried.push_back(target);
    const bool ok =
        opensAddresses || (!target.starts_with("http") && !target.starts_with("mailto") &&
                           opensFiles && fs::exists(target));
    if (ok) opened.push_back(target);
    return ok;
  }
  std::string currentDirectory() override { return cwd_; }
  std::string programDirectory() override { return installDir; }
  bool startConsole(const std::string& program) override {
    consoles.push_back(program);
    return consoleStarts;
  }
  void messageBox(const std::string& text, const std::string& title, BoxIcon icon) override {
    boxes.push_back({text, title, icon});
  }
  void redrawMainWindow() override { ++redraws; }
  std::string configDirectory() override { return configDir; }

  bool opensFiles = true;
  bool opensAddresses = false;
  bool consoleStarts = false;
  std::string installDir;
  std::string configDir;
  std::vector<std::string> tried;
  std::vector<std::string> opened;
  std::vector<std::string> consoles;
  std::vector<Box> boxes;
  int redraws = 0;

 private:
  std::string cwd_;
};

const ShellAddresses kAddresses{"https://forum.test/", "auteur@test"};

// A clean script and one with an endif too many.
const std::string kClean = "Begin Propre\nshort compte\n\tReturn\nEnd\n";
const std::string kEndifTooMany = "Begin Faute\nshort compte\nendif\nEnd\n";

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() : platform(dir.path()), shell(platform, kAddresses) { shell.onCreate(); }

  std::string settingsBytes() { return readFile(kSettingsFileName); }

  TempDir dir;
  FakePlatform platform;
  Shell shell;
};

TEST(ShellStatus, TextFollowsStatusValue) {
  const std::vector<std::pair<int, std::string>> cases = {{-2, "Script mis en forme."},
                                                          {-1, "Prêt au débuguage."},
                                                          {0, "Aucune erreur sur le script."},
                                                          {1, "Le script contient des erreurs."},
                                                          {37, "Le script contient des erreurs."}};
  for (const auto& [value, text] : cases)
    EXPECT_EQ(statusText(value), text) << value;
}

TEST(ShellText, LineEndsAndNameLimit) {
  EXPECT_EQ(crlfToLf("a\r\nb\nc\r\rd\r\n"), "a\nb\nc\r\rd\n");
  EXPECT_EQ(dropCarriageReturns("a\r\nb\rc"), "a\nbc");
  const std::string fifty(50, 'n');
  EXPECT_EQ(limitFileName(fifty), std::string(49, 'n'));
  // Characters, not bytes: 49 accented letters are kept whole.
  std::string accents;
  for (int i = 0; i < 50; ++i)
    accents += "é";
  EXPECT_EQ(limitFileName(accents), accents.substr(0, 98));
}

TEST(ShellSettings, ReadAtCreation) {
  struct Case {
    const char* what;
    std::optional<std::string> file;
    Settings expected;
  };
  const std::vector<Case> cases = {
      {"missing", std::nullopt, Settings{1, 1, 0, 0, 0}},
      {"short", test::settingsBytes({0, 0, 1, 1}) + std::string(3, '\0'), Settings{1, 1, 0, 0, 0}},
      {"empty", std::string(), Settings{1, 1, 0, 0, 0}},
      {"whole", test::settingsBytes({0, 1, 1, 0, 1}), Settings{0, 1, 1, 0, 1}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (c.file) writeFile(kSettingsFileName, *c.file);
    FakePlatform platform(dir.path());
    Shell shell(platform, kAddresses);
    shell.onCreate();
    EXPECT_EQ(shell.settings(), c.expected) << c.what;
    EXPECT_EQ(shell.fileName(), "ScriptMorrowind.txt");
    EXPECT_EQ(shell.statusLine(), "Prêt au débuguage.");
    // Reading never writes the file.
    EXPECT_EQ(fileExists(kSettingsFileName), c.file.has_value()) << c.what;
  }
}

TEST_F(ShellTest, PreferencesAndDependenciesWriteTheWholeRecord) {
  EXPECT_EQ(shell.preferencesOk(false, true, true), DialogAction::Hide);
  EXPECT_EQ(settingsBytes(), test::settingsBytes({0, 1, 1, 0, 0}));
  EXPECT_EQ(shell.dependenciesOk(false, true), DialogAction::Hide);
  EXPECT_EQ(settingsBytes(), test::settingsBytes({0, 1, 1, 0, 1}));
  EXPECT_EQ(shell.settings(), (Settings{0, 1, 1, 0, 1}));
  EXPECT_TRUE(platform.boxes.empty());
  // The next start reads them back.
  Shell next(platform, kAddresses);
  next.onCreate();
  EXPECT_EQ(next.settings(), (Settings{0, 1, 1, 0, 1}));
}

TEST_F(ShellTest, ResetWritesDefaults) {
  shell.dependenciesOk(true, true);
  shell.reset();
  EXPECT_EQ(settingsBytes(), test::settingsBytes({1, 1, 0, 0, 0}));
  EXPECT_EQ(shell.settings(), Settings{});
  ASSERT_EQ(platform.boxes.size(), 1U);
  EXPECT_EQ(platform.boxes[0],
            (Box{"Les variables ont été remises par défaut.", "Débugueur", BoxIcon::Information}));
}

TEST_F(ShellTest, CleanDeletesFilesButKeepsRunningSettings) {
  shell.dependenciesOk(true, false);
  const char* files[] = {"DbPlatform.dat", "DbTempTES3", "InfTempTES3", "InfTempTES3.2",
                         "InfTempTES3.3"};
  for (const char* f : files)
    writeFile(f, "x");
  writeFile("autre.txt", "garder");
  shell.clean();
  for (const char* f : files)
    EXPECT_FALSE(fileExists(f)) << f;
  EXPECT_FALSE(fileExists(kSettingsFileName));
  EXPECT_TRUE(fileExists("autre.txt"));
  EXPECT_EQ(shell.settings().tribunal, 1);
  EXPECT_EQ(platform.boxes, (std::vector<Box>{{"Les fichiers temporaires ont été éffacés.",
                                               "Débugueur", BoxIcon::Information}}));
  // Cleaning an already clean directory is no failure.
  shell.clean();
  EXPECT_EQ(platform.boxes.size(), 2U);
  // The next start uses the defaults.
  Shell next(platform, kAddresses);
  next.onCreate();
  EXPECT_EQ(next.settings(), Settings{});
}

TEST_F(ShellTest, EmptyScriptIsRefused) {
  const ScriptOkOutcome outcome = shell.scriptOk("");
  EXPECT_EQ(outcome.action, DialogAction::Stay);
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"Votre script est vide !", "Erreur", BoxIcon::None}}));
  EXPECT_FALSE(fileExists("ScriptMorrowind.txt"));
}

// The pasted text has the engine's limits only: 5000 lines, whatever its
// number of characters.
TEST_F(ShellTest, PastedScriptHasTheLimitsOfAFile) {
  std::string text = "Begin Long\n";
  for (int i = 0; i < 254; ++i)
    text += "; une ligne de commentaire assez longue pour le compte\n";
  text += "End";
  ASSERT_GT(text.size(), 6000U);
  EXPECT_EQ(shell.scriptOk(text).action, DialogAction::Hide);
  EXPECT_EQ(readFile("ScriptMorrowind.txt"), text);
  EXPECT_EQ(shell.statusLine(), "Long : 0 erreur, 0 alerte");
  for (int i = 0; i < 5000; ++i)
    text += "\n;";
  EXPECT_EQ(shell.scriptOk(text).action, DialogAction::Stay);
  EXPECT_EQ(shell.statusLine(), "Script : échec (plus de 5000 lignes).");
  ASSERT_EQ(platform.boxes.size(), 1U);
  EXPECT_TRUE(platform.boxes[0].text.starts_with("Plus de 5000 lignes"));
}

TEST_F(ShellTest, CleanCheckOpensReportClosesAndEmptiesTheBox) {
  // Only the carriage returns of CR LF pairs are dropped from the pasted text.
  const ScriptOkOutcome outcome = shell.scriptOk("Begin Fins\r\nshort a\nEnd\r\n");
  EXPECT_EQ(readFile("ScriptMorrowind.txt"), "Begin Fins\nshort a\nEnd\n");
  EXPECT_EQ(outcome.action, DialogAction::Hide);
  EXPECT_TRUE(outcome.clearBox);
  EXPECT_EQ(shell.statusLine(), "Fins : 0 erreur, 0 alerte");
  EXPECT_GE(platform.redraws, 1);
  EXPECT_EQ(
      platform.opened,
      (std::vector<std::string>{nativePath(dir.path() + "/Correction de ScriptMorrowind.txt")}));
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ShellTest, CheckWithErrorsKeepsTheDialogOpen) {
  const ScriptOkOutcome outcome = shell.scriptOk(kEndifTooMany);
  EXPECT_EQ(outcome.action, DialogAction::Stay);
  EXPECT_FALSE(outcome.clearBox);
  EXPECT_GT(shell.status(), 0);
  EXPECT_EQ(shell.statusLine(), "Faute : 1 erreur, 0 alerte");
  EXPECT_EQ(platform.opened.size(), 1U);
  EXPECT_NE(readFile("Correction de ScriptMorrowind.txt").find("un 'endif' en trop"),
            std::string::npos);
}

TEST_F(ShellTest, ReportThatCannotBeShownOrIsNotToBe) {
  platform.opensFiles = false;
  EXPECT_EQ(shell.scriptOk(kClean).action, DialogAction::Hide);
  shell.preferencesOk(false, true, false);
  EXPECT_EQ(shell.scriptOk(kEndifTooMany).action, DialogAction::Stay);
  EXPECT_EQ(platform.tried.size(), 1U);
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"Le fichier \"Correction de ScriptMorrowind.txt\" a été créé, mais "
                               "ne peut être affiché. Consultez le directement. ",
                               "Débugueur", BoxIcon::None},
                              {"Un rapport d'erreur a ete créé dans le fichier "
                               "\"Correction de ScriptMorrowind.txt\"",
                               "Débugueur", BoxIcon::None}}));
}

TEST_F(ShellTest, CheckFileTakesTheTypedName) {
  writeFile("garde.txt", kEndifTooMany);
  EXPECT_EQ(shell.checkFileOk("garde.txt"), DialogAction::Stay);
  EXPECT_EQ(shell.fileName(), "garde.txt");
  EXPECT_EQ(platform.opened,
            (std::vector<std::string>{nativePath(dir.path() + "/Correction de garde.txt")}));
  writeFile("propre.txt", kClean);
  EXPECT_EQ(shell.checkFileOk("propre.txt"), DialogAction::Hide);
  EXPECT_EQ(shell.statusLine(), "Propre : 0 erreur, 0 alerte");
  // A path of any length goes through the field.
  const std::string deep = std::string(60, 'd') + "/" + std::string(50, 'e') + "/garde.txt";
  fs::create_directories(fs::path(deep).parent_path());
  writeFile(deep, kEndifTooMany);
  EXPECT_EQ(shell.checkFileOk(deep), DialogAction::Stay);
  EXPECT_EQ(shell.fileName(), deep);
  EXPECT_EQ(shell.statusLine(), "Faute : 1 erreur, 0 alerte");
}

TEST_F(ShellTest, DroppedFileIsCheckedWithItsReportHere) {
  fs::create_directory("mods");
  writeFile("mods/garde.txt", kEndifTooMany);
  EXPECT_EQ(shell.checkDroppedFile(dir.path() + "/mods/garde.txt"), DialogAction::Stay);
  EXPECT_EQ(platform.opened,
            (std::vector<std::string>{nativePath(dir.path() + "/Correction de garde.txt")}));
  // The file-name boxes keep their name.
  EXPECT_EQ(shell.fileName(), "ScriptMorrowind.txt");
  EXPECT_EQ(shell.statusLine(), "Faute : 1 erreur, 0 alerte");
}

TEST_F(ShellTest, CheckFileFailures) {
  EXPECT_EQ(shell.checkFileOk("absent.txt"), DialogAction::Stay);
  // An empty name fails silently.
  EXPECT_EQ(shell.checkFileOk(""), DialogAction::Stay);
  std::string longScript = "Begin Long\n";
  for (int i = 0; i < 5000; ++i)
    longScript += ";\n";
  writeFile("long.txt", longScript);
  EXPECT_EQ(shell.checkFileOk("long.txt"), DialogAction::Stay);
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{
                {"Impossible d'ouvrir le fichier \"absent.txt\" !", "Débugueur", BoxIcon::None},
                {"Plus de 5000 lignes dans votre script : le débugueur ne peut pas le gérer ! "
                 "Scindez le en parties distinctes si vous souhaitez tout de même faire la "
                 "vérification syntaxique.",
                 "Débugueur", BoxIcon::None}}));
  // The status line follows each failure.
  EXPECT_EQ(shell.statusLine(), "long.txt : échec (plus de 5000 lignes).");
  shell.checkFileOk("absent.txt");
  EXPECT_EQ(shell.statusLine(), "absent.txt : échec (fichier illisible).");
}

// Each failed run shows the driver's message for its result (pinned in
// DriverTest), or for result 3 the failure text without its line end.
TEST(ShellResultCodes, EachCodeHasItsMessageBox) {
  for (const int result : {0, 2, 3, 4, 10, 20, 21, 666}) {
    TempDir dir;
    FakePlatform platform(dir.path());
    ShellEngine engine = defaultShellEngine();
    engine.check = [result](const std::string&, int*, const Settings&, std::string* failure) {
      *failure = "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le module \"Test\".\n";
      return result;
    };
    Shell shell(platform, kAddresses, engine);
    shell.onCreate();
    EXPECT_EQ(shell.checkFileOk("f.txt"), DialogAction::Stay) << result;
    const std::string text =
        result == 3 ? "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le module \"Test\"."
                    : resultMessage(result, "f.txt");
    EXPECT_EQ(platform.boxes, (std::vector<Box>{{text, "Débugueur", BoxIcon::None}})) << result;
    EXPECT_EQ(platform.redraws, 1);
    // The window goes on: the status is untouched by a failed run.
    EXPECT_EQ(shell.status(), kStatusReady);
  }
}

TEST(ShellFormat, OutcomesOfTheFormatFileDialog) {
  struct Case {
    int result;
    std::optional<std::string> text;
  };
  const std::vector<Case> cases = {
      {0, "Erreur dans l'enchainement des tests logiques."},
      {1, std::nullopt},
      {2, "Impossible de trouver le fichier \"f.txt\" !"},
      {3, "Trop de lignes, impossible de faire la mise en forme."},
      {5,
       "Le fichier \"f.txt\" dépasse 25 Mo : ce n'est pas un script Morrowind (5000 lignes de "
       "4999 caractères au plus)."},
  };
  for (const Case& c : cases) {
    TempDir dir;
    FakePlatform platform(dir.path());
    ShellEngine engine = defaultShellEngine();
    std::string formatted;
    engine.format = [&](const std::string& path) {
      formatted = path;
      return c.result;
    };
    Shell shell(platform, kAddresses, engine);
    shell.onCreate();
    const DialogAction action = shell.formatFileOk("f.txt");
    EXPECT_EQ(formatted, "f.txt");
    if (c.text) {
      EXPECT_EQ(action, DialogAction::Stay);
      EXPECT_EQ(platform.boxes, (std::vector<Box>{{*c.text, "Débugueur", BoxIcon::None}}));
      EXPECT_EQ(shell.status(), kStatusReady);
    } else {
      EXPECT_EQ(action, DialogAction::Hide);
      EXPECT_TRUE(platform.boxes.empty());
      EXPECT_EQ(shell.statusLine(), "Script mis en forme.");
      EXPECT_EQ(platform.redraws, 1);
    }
  }
}

TEST_F(ShellTest, FormatPastedScriptPutsTheResultBack) {
  const std::optional<std::string> text =
      shell.scriptFormat("Begin Bloc\r\nshort a\r\nif ( a == 1 )\r\nset a to 2\r\nendif\r\nEnd");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, "Begin Bloc\r\nshort a\r\nif ( a == 1 )\r\n\tset a to 2\r\nendif\r\nEnd");
  EXPECT_TRUE(platform.boxes.empty());
  // The status line does not change.
  EXPECT_EQ(shell.status(), kStatusReady);
}

TEST_F(ShellTest, FormatPastedScriptWithAnEndifTooMany) {
  EXPECT_FALSE(shell.scriptFormat(kEndifTooMany).has_value());
  EXPECT_EQ(platform.boxes, (std::vector<Box>{{"Erreur dans l'enchainement des tests logiques.",
                                               "Débugueur", BoxIcon::None}}));
}

TEST(ShellFormat, PastedScriptOfAnyLengthComesBack) {
  TempDir dir;
  FakePlatform platform(dir.path());
  ShellEngine engine = defaultShellEngine();
  std::size_t lines = 0;
  engine.format = [&lines](const std::string& path) {
    writeFile(path, std::string(lines, '\n'));
    return kFormatRewritten;
  };
  Shell shell(platform, kAddresses, engine);
  lines = 5000;
  std::string crlf;
  for (int i = 0; i < 5000; ++i)
    crlf += "\r\n";
  EXPECT_EQ(shell.scriptFormat("x"), crlf);
  EXPECT_EQ(shell.statusLine(), "Script mis en forme.");
}

TEST_F(ShellTest, LoadFileIntoTheScriptBox) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"bare line feeds", "Begin A\nshort b\nEnd\n", "Begin A\r\nshort b\r\nEnd\r\n"},
      {"CR LF", "Begin A\r\nEnd", "Begin A\r\nEnd"},
      {"leading line feed", "\nEnd", "\r\nEnd"},
      {"Windows-1252", "; caf\xE9\n", "; café\r\n"},
  };
  for (const Case& c : cases) {
    writeFile("charge.txt", c.bytes);
    const LoadOutcome outcome = shell.loadOk("charge.txt");
    EXPECT_EQ(outcome.action, DialogAction::Hide) << c.what;
    EXPECT_EQ(outcome.scriptText, c.text) << c.what;
  }
  EXPECT_EQ(shell.fileName(), "charge.txt");
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ShellTest, LoadFileFailures) {
  EXPECT_EQ(shell.loadOk("").action, DialogAction::Hide);
  const LoadOutcome missing = shell.loadOk("absent.txt");
  EXPECT_EQ(missing.action, DialogAction::Stay);
  writeFile("vide.txt", "");
  const LoadOutcome empty = shell.loadOk("vide.txt");
  EXPECT_EQ(empty.action, DialogAction::Hide);
  writeFile("grand.txt", "");
  fs::resize_file("grand.txt", kMaxScriptBytes + 1);
  const LoadOutcome large = shell.loadOk("grand.txt");
  EXPECT_EQ(large.action, DialogAction::Stay);
  EXPECT_FALSE(missing.scriptText || empty.scriptText || large.scriptText);
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"Impossible d'ouvrir le fichier.", "Erreur", BoxIcon::None},
                              {"Fichier vide.", "Erreur", BoxIcon::None},
                              {"Le fichier \"grand.txt\" dépasse 25 Mo : ce n'est pas un script "
                               "Morrowind (5000 lignes de 4999 caractères au plus).",
                               "Erreur", BoxIcon::None}}));
}

// The findings of a check, listed as the report orders them: by line, the
// whole-script ones last, each selecting its line of the checked text.
TEST_F(ShellTest, FindingsOfTheLastCheckWithTheirLines) {
  writeFile("garde.txt", "Begin Garde\r\nshort a\r\nif ( a == 1 )\r\nendif\r\nendif\r\nEnd");
  shell.preferencesOk(false, true, false);
  EXPECT_EQ(shell.checkFileOk("garde.txt"), DialogAction::Stay);
  const CheckView& view = shell.lastCheck();
  ASSERT_TRUE(view.valid);
  EXPECT_FALSE(view.pasted);
  EXPECT_EQ(view.reportPath, nativePath(dir.path() + "/Correction de garde.txt"));
  EXPECT_EQ(view.text, "Begin Garde\nshort a\nif ( a == 1 )\nendif\nendif\nEnd");
  ASSERT_EQ(view.findings.size(), 1U);
  EXPECT_EQ(view.findings[0].line, 5);
  EXPECT_TRUE(view.findings[0].error);
  EXPECT_EQ(
      view.findings[0].message,
      "un 'endif' en trop (l'erreur a probablement été faite entre la ligne 3 et la ligne 5).");
  EXPECT_EQ(view.findings[0].code, "LT101");
  EXPECT_EQ(shell.findingSpan(0), (TextSpan{40, 45}));
  EXPECT_EQ(shell.findingSpan(1), std::nullopt);
  EXPECT_EQ(shell.statusLine(), "Garde : 1 erreur, 0 alerte");
  // The report button opens the report of the last check.
  shell.openReport();
  EXPECT_EQ(platform.opened, (std::vector<std::string>{view.reportPath}));
}

TEST(ShellFindings, SpansCountCharactersAndCountsTheirForms) {
  EXPECT_EQ(lineSpan("é\nàb\nc", 2), (TextSpan{2, 4}));
  EXPECT_EQ(lineSpan("a\n\nc", 2), (TextSpan{2, 2}));
  EXPECT_EQ(lineSpan("a\nb", 1), (TextSpan{0, 1}));
  EXPECT_EQ(lineSpan("a\nb", 3), (TextSpan{3, 3}));
  EXPECT_EQ(countsText(2, 1), "2 erreurs, 1 alerte");
  EXPECT_EQ(countsText(0, 3), "0 erreur, 3 alertes");
  const std::string root = utf8FromPath(fs::current_path().root_path());  // "/", "C:\\"
  EXPECT_EQ(fieldPathFor(root + "home/u/mods/a.txt", root + "home/u"), nativePath("mods/a.txt"));
  EXPECT_EQ(fieldPathFor(root + "home/u/mods/a.txt", root + "home/u/"), nativePath("mods/a.txt"));
  EXPECT_EQ(fieldPathFor(root + "home/uv/a.txt", root + "home/u"),
            nativePath(root + "home/uv/a.txt"));
  EXPECT_EQ(fieldPathFor(root + "srv/a.txt", root + "home/u"), nativePath(root + "srv/a.txt"));
}

// The chooser's folder and the last five files checked are kept in the user's
// configuration folder, never in the settings file.
TEST_F(ShellTest, RememberedFolderAndRecentFiles) {
  platform.configDir = dir.path() + "/config/lintaro";
  shell.onCreate();
  EXPECT_EQ(shell.browseFolder(), dir.path());
  fs::create_directory("mods");
  EXPECT_EQ(shell.fileChosen(dir.path() + "/mods/a.txt"), nativePath("mods/a.txt"));
  // The chooser starts on the field's file when it lies in that folder.
  EXPECT_EQ(shell.browseFileName("mods/a.txt"), "");
  writeFile("mods/a.txt", kClean);
  writeFile("b.txt", kClean);
  EXPECT_EQ(shell.browseFileName("mods/a.txt"), "a.txt");
  EXPECT_EQ(shell.browseFileName(dir.path() + "/mods/a.txt"), "a.txt");
  EXPECT_EQ(shell.browseFileName("b.txt"), "");
  for (const char* name : {"1", "2", "3", "4", "5", "6", "2"}) {
    writeFile(name, kClean);
    shell.checkFileOk(name);
  }
  const auto here = [this](const char* name) { return nativePath(dir.path() + "/" + name); };
  const std::vector<std::string> recent = {here("2"), here("6"), here("5"), here("4"), here("3")};
  EXPECT_EQ(shell.recentFiles(), recent);
  FakePlatform again(dir.path());
  again.configDir = platform.configDir;
  Shell next(again, kAddresses);
  next.onCreate();
  EXPECT_EQ(next.recentFiles(), recent);
  EXPECT_EQ(next.browseFolder(), dir.path() + "/mods");
  writeFile("5", kEndifTooMany);
  EXPECT_EQ(next.checkRecent(2), DialogAction::Stay);
  EXPECT_EQ(next.statusLine(), "Faute : 1 erreur, 0 alerte");
  EXPECT_EQ(next.recentFiles().front(), here("5"));
  EXPECT_FALSE(fileExists(kSettingsFileName));
}

TEST_F(ShellTest, OpenTypedFile) {
  writeFile("vu.txt", kClean);
  shell.openTypedFile("vu.txt");
  EXPECT_EQ(platform.opened, (std::vector<std::string>{nativePath(dir.path() + "/vu.txt")}));
  shell.openTypedFile("absent.txt");
  EXPECT_EQ(shell.fileName(), "absent.txt");
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"  Impossible de trouver ou d'ouvrir le fichier \"absent.txt\" dans "
                               "le répertoire :\r\n\"" +
                                   dir.path() + "\"",
                               "Débugueur", BoxIcon::Information}}));
}

TEST(ShellHelp, LooksInTheCurrentDirectoryThenBesideTheProgramThenInShare) {
  struct Case {
    const char* what;
    std::vector<std::string> files;  // relative to the temporary directory
    std::string opened;              // empty: the message box
  };
  const std::vector<Case> cases = {
      {"both here", {"AideDebug.htm", "AideDebug.txt", "inst/AideDebug.htm"}, "AideDebug.htm"},
      {"text here", {"AideDebug.txt", "inst/AideDebug.htm"}, "AideDebug.txt"},
      {"installed", {"inst/AideDebug.txt", "share/lintaro/AideDebug.htm"}, "inst/AideDebug.txt"},
      {"packaged", {"share/lintaro/AideDebug.txt"}, "share/lintaro/AideDebug.txt"},
      {"none", {}, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    fs::create_directory("inst");
    fs::create_directories("share/lintaro");
    for (const std::string& f : c.files)
      writeFile(f, "aide");
    FakePlatform platform(dir.path());
    platform.installDir = nativePath(dir.path() + "/inst");
    Shell shell(platform, kAddresses);
    shell.help();
    if (c.opened.empty()) {
      EXPECT_TRUE(platform.opened.empty());
      EXPECT_EQ(platform.boxes,
                (std::vector<Box>{{"  Impossible de trouver le fichier \"AideDebug.htm\" ou "
                                   "\"AideDebug.txt\" dans le répertoire :\r\n\"" +
                                       dir.path() + "\"",
                                   "Débugueur", BoxIcon::Information}}));
    } else {
      EXPECT_EQ(platform.opened,
                (std::vector<std::string>{nativePath(dir.path() + "/" + c.opened)}))
          << c.what;
      EXPECT_TRUE(platform.boxes.empty());
      // A help file is there but nothing opens it: the message says so.
      platform.opensFiles = false;
      shell.help();
      ASSERT_EQ(platform.boxes.size(), 1U);
      EXPECT_EQ(platform.boxes[0].text,
                "Le fichier d'aide \"" + nativePath(dir.path() + "/" + c.opened) +
                    "\" existe, mais aucun programme n'a pu l'ouvrir : " + kOpenerAdvice)
          << c.what;
    }
  }
}

TEST_F(ShellTest, SiteContactAndAbout) {
  shell.site();
  shell.contact();
  EXPECT_EQ(platform.tried,
            (std::vector<std::string>{"https://forum.test/", "mailto:auteur@test"}));
  ASSERT_EQ(platform.boxes.size(), 2U);
  EXPECT_EQ(platform.boxes[0], (Box{"Vous pouvez aller à l'adresse suivante : https://forum.test/",
                                    "Débugueur - Erreur", BoxIcon::Information}));
  EXPECT_EQ(platform.boxes[1].title, "Débugueur");
  EXPECT_NE(platform.boxes[1].text.find("auteur@test"), std::string::npos);
  platform.opensAddresses = true;
  shell.site();
  shell.contact();
  EXPECT_EQ(platform.boxes.size(), 2U);
  shell.about();
  ASSERT_EQ(platform.boxes.size(), 3U);
  EXPECT_EQ(platform.boxes[2].title, "A propos du débugueur...");
  for (const char* part : {"Lintaro", "2.03 (Morrowind)", "24/09/2006"})
    EXPECT_NE(platform.boxes[2].text.find(part), std::string::npos) << part;
}

TEST_F(ShellTest, ConsoleVersionWritesTheMarkerOnceStarted) {
  const std::string program = kConsoleProgramName;  // "scrutinette", "scrutinette.exe"
  platform.installDir = nativePath("/opt/lintaro");
  EXPECT_FALSE(shell.startConsoleVersion());
  EXPECT_FALSE(fileExists("DbPlatform.dat"));
  EXPECT_EQ(platform.consoles, (std::vector<std::string>{nativePath(dir.path() + "/" + program),
                                                         nativePath("/opt/lintaro/" + program)}));
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"Impossible de trouver le fichier " + program + " à l'adresse \"" +
                                   dir.path() +
                                   "\"\nAssurez vous que le fichier porte bien ce nom si vous "
                                   "l'avez créé vous même.",
                               "Débugueur", BoxIcon::None}}));
  // The program beside the window but no terminal to run it in.
  fs::create_directory("inst");
  writeFile("inst/" + program, "");
  platform.installDir = nativePath(dir.path() + "/inst");
  EXPECT_FALSE(shell.startConsoleVersion());
  EXPECT_EQ(platform.boxes.back().text,
            "Le programme \"" + nativePath(dir.path() + "/inst/" + program) +
                "\" est présent, mais aucun terminal n'a pu être lancé : " + kConsoleAdvice);
  EXPECT_FALSE(fileExists("DbPlatform.dat"));
  platform.consoleStarts = true;
  EXPECT_TRUE(shell.startConsoleVersion());
  EXPECT_EQ(readFile("DbPlatform.dat"), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(platform.consoles.back(), nativePath(dir.path() + "/" + program));
}

}  // namespace
}  // namespace lintaro
