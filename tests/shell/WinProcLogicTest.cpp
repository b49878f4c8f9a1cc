// The window's commands and dialogs without widgets: a fake platform records
// the message boxes, the documents opened and the redraws.
#include "shell/WinProcLogic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ScriptInput.h"
#include "run/MainDebug.h"
#include "formatter/MainMiseEnForme.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;
using test::fileExists;
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

  bool opensFiles = true;
  bool opensAddresses = false;
  bool consoleStarts = false;
  std::string installDir;
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

// A script of exactly `length` characters: a header, a comment padded with
// accented letters (two bytes each, one character) and "End".
std::string scriptOfLength(std::size_t length) {
  const std::string head = "Begin Long\n;";
  const std::string tail = "\nEnd";
  std::string text = head;
  for (std::size_t i = head.size() + tail.size(); i < length; ++i)
    text += "é";
  return text + tail;
}

TEST_F(ShellTest, PastedScriptOf5000CharactersAtMost) {
  const ScriptOkOutcome refused = shell.scriptOk(scriptOfLength(5001));
  EXPECT_EQ(refused.action, DialogAction::Hide);
  EXPECT_FALSE(refused.clearBox);
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"Votre script contient plus de 5000 caractères : utilisez le mode "
                               "\"Débuguer un fichier\".",
                               "Débugueur", BoxIcon::None}}));
  EXPECT_FALSE(fileExists("ScriptMorrowind.txt"));
  EXPECT_EQ(shell.status(), kStatusReady);
  const std::string text = scriptOfLength(5000);
  ASSERT_GT(text.size(), 5000U);
  EXPECT_EQ(shell.scriptOk(text).action, DialogAction::Hide);
  EXPECT_EQ(readFile("ScriptMorrowind.txt"), text);
  EXPECT_EQ(shell.status(), 0);
  EXPECT_EQ(platform.boxes.size(), 1U);
}

TEST_F(ShellTest, CleanCheckOpensReportClosesAndEmptiesTheBox) {
  // Only the carriage returns of CR LF pairs are dropped from the pasted text.
  const ScriptOkOutcome outcome = shell.scriptOk("Begin Fins\r\nshort a\nEnd\r\n");
  EXPECT_EQ(readFile("ScriptMorrowind.txt"), "Begin Fins\nshort a\nEnd\n");
  EXPECT_EQ(outcome.action, DialogAction::Hide);
  EXPECT_TRUE(outcome.clearBox);
  EXPECT_EQ(shell.statusLine(), "Aucune erreur sur le script.");
  EXPECT_GE(platform.redraws, 1);
  EXPECT_EQ(platform.opened,
            (std::vector<std::string>{dir.path() + "/Correction de ScriptMorrowind.txt"}));
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ShellTest, CheckWithErrorsKeepsTheDialogOpen) {
  const ScriptOkOutcome outcome = shell.scriptOk(kEndifTooMany);
  EXPECT_EQ(outcome.action, DialogAction::Stay);
  EXPECT_FALSE(outcome.clearBox);
  EXPECT_GT(shell.status(), 0);
  EXPECT_EQ(shell.statusLine(), "Le script contient des erreurs.");
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
  EXPECT_EQ(platform.opened, (std::vector<std::string>{dir.path() + "/Correction de garde.txt"}));
  writeFile("propre.txt", kClean);
  EXPECT_EQ(shell.checkFileOk("propre.txt"), DialogAction::Hide);
  EXPECT_EQ(shell.statusLine(), "Aucune erreur sur le script.");
}

TEST_F(ShellTest, DroppedFileIsCheckedWithItsReportHere) {
  fs::create_directory("mods");
  writeFile("mods/garde.txt", kEndifTooMany);
  EXPECT_EQ(shell.checkDroppedFile(dir.path() + "/mods/garde.txt"), DialogAction::Stay);
  EXPECT_EQ(platform.opened, (std::vector<std::string>{dir.path() + "/Correction de garde.txt"}));
  // The file-name boxes keep their name.
  EXPECT_EQ(shell.fileName(), "ScriptMorrowind.txt");
  EXPECT_EQ(shell.statusLine(), "Le script contient des erreurs.");
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
  EXPECT_EQ(shell.statusLine(), "Prêt au débuguage.");
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
      {5, "Le fichier \"f.txt\" dépasse 25 Mo : ce n'est pas un script Morrowind (5000 lignes de "
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

TEST(ShellFormat, PastedScriptTooLongForTheBoxStaysAsItWas) {
  TempDir dir;
  FakePlatform platform(dir.path());
  ShellEngine engine = defaultShellEngine();
  std::size_t lines = 0;
  engine.format = [&lines](const std::string& path) {
    writeFile(path, std::string(lines, '\n'));
    return kFormatRewritten;
  };
  Shell shell(platform, kAddresses, engine);
  // 4999 line feeds become 9998 characters and the terminator: it fits.
  lines = 4999;
  ASSERT_TRUE(shell.scriptFormat("x").has_value());
  lines = 5000;
  EXPECT_FALSE(shell.scriptFormat("x").has_value());
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

TEST_F(ShellTest, OpenTypedFile) {
  writeFile("vu.txt", kClean);
  shell.openTypedFile("vu.txt");
  EXPECT_EQ(platform.opened, (std::vector<std::string>{dir.path() + "/vu.txt"}));
  shell.openTypedFile("absent.txt");
  EXPECT_EQ(shell.fileName(), "absent.txt");
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"  Impossible de trouver ou d'ouvrir le fichier \"absent.txt\" dans "
                               "le répertoire :\r\n\"" +
                                   dir.path() + "\"",
                               "Débugueur", BoxIcon::Information}}));
}

TEST(ShellHelp, LooksInTheCurrentDirectoryThenBesideTheProgram) {
  struct Case {
    const char* what;
    std::vector<std::string> files;  // relative to the temporary directory
    std::string opened;              // empty: the message box
  };
  const std::vector<Case> cases = {
      {"both here", {"AideDebug.htm", "AideDebug.txt", "inst/AideDebug.htm"}, "AideDebug.htm"},
      {"text here", {"AideDebug.txt", "inst/AideDebug.htm"}, "AideDebug.txt"},
      {"installed", {"inst/AideDebug.txt"}, "inst/AideDebug.txt"},
      {"none", {}, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    fs::create_directory("inst");
    for (const std::string& f : c.files)
      writeFile(f, "aide");
    FakePlatform platform(dir.path());
    platform.installDir = dir.path() + "/inst";
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
      EXPECT_EQ(platform.opened, (std::vector<std::string>{dir.path() + "/" + c.opened})) << c.what;
      EXPECT_TRUE(platform.boxes.empty());
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
  platform.installDir = "/opt/lintaro";
  EXPECT_FALSE(shell.startConsoleVersion());
  EXPECT_FALSE(fileExists("DbPlatform.dat"));
  EXPECT_EQ(platform.consoles,
            (std::vector<std::string>{dir.path() + "/scrutinette", "/opt/lintaro/scrutinette"}));
  EXPECT_EQ(platform.boxes,
            (std::vector<Box>{{"Impossible de trouver le fichier scrutinette à l'adresse \"" +
                                   dir.path() +
                                   "\"\nAssurez vous que le fichier porte bien ce nom si vous "
                                   "l'avez créé vous même.",
                               "Débugueur", BoxIcon::None}}));
  platform.consoleStarts = true;
  EXPECT_TRUE(shell.startConsoleVersion());
  EXPECT_EQ(readFile("DbPlatform.dat"), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(platform.consoles.back(), dir.path() + "/scrutinette");
}

}  // namespace
}  // namespace lintaro
