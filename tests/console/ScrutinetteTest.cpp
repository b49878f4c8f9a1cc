// The console program: options against the settings file, exit statuses and
// messages, report names, and the real `scrutinette` program started as a
// process, alone and several at once in one directory.
#include "console/Scrutinette.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Scripts and the report lines they must produce.

// Joins lines with CR LF, as script files saved by Windows editors are.
std::string crlf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

// Errors, among them an endif too many on line 7, and one alert (a variable
// named with a leading underscore). The depth of "if" falls to -1 on line 7;
// the last line at least two lines above it with depth 0 is line 3 (index 2),
// so the error names the range from line 4 to line 7. (The lines of the test
// and of the assignment are errors too: no checker claims them.)
const std::string kMixed = crlf({
    "Begin Mixte",
    "short compte",
    "short _secret",
    "if ( compte == 1 )",
    "\tset _secret to 2",
    "endif",
    "endif",
    "End",
});
constexpr std::string_view kMixedError =
    "    - Ligne 7 : un 'endif' en trop (l'erreur a probablement été faite entre la ligne 4 et la "
    "ligne 7).\n";
constexpr std::string_view kSecretAlert =
    "    - Le premier caractère de \"_secret\" est un underscore, risques de bugs in-game.\n";

// A script with an alert and no error.
const std::string kAlertOnly = crlf({
    "Begin Alertes",
    "short _drapeau",
    "End",
});
constexpr std::string_view kDrapeauAlert =
    "    - Le premier caractère de \"_drapeau\" est un underscore, risques de bugs in-game.\n";
constexpr std::string_view kAllHidden =
    "\tAucune erreur détectée, mais le débugueur a trouvé des failles au script.\n"
    "\tDécochez l'option \"Ne pas afficher les alertes\" dans le menu \"Préférences\" pour les "
    "voir.\n";

// A correct script.
const std::string kClean = crlf({
    "Begin Propre",
    "short compte",
    "",
    "; rien à signaler",
    "\tReturn",
    "End",
});
constexpr std::string_view kNoFindings = "   Aucun bug n'a été trouvé sur ce script.\n";

// The information lists: present only when the settings ask for them.
constexpr std::string_view kLocalsHeading =
    "\n\n\n Liste des variables locales utilisées :\n-----------------------------------------\n";
constexpr std::string_view kCompteEntry = "    - \"compte\" (type SHORT)\n";

constexpr std::string_view kTooLongMessage =
    "Plus de 5000 lignes dans votre script : le débugueur ne peut pas le gérer ! Scindez le en "
    "parties distinctes si vous souhaitez tout de même faire la vérification syntaxique.";

// A script of `lines` lines: a header, blank lines, "End" and the empty line
// after the last line feed.
std::string scriptOfLines(int lines) {
  std::string text = "Begin Long\r\n";
  for (int i = 0; i < lines - 3; ++i)
    text.append("\r\n");
  text.append("End\r\n");
  return text;
}

constexpr std::array<const char*, 4> kWorkFiles = {"DbTempTES3", "InfTempTES3", "InfTempTES3.2",
                                                   "InfTempTES3.3"};

bool contains(std::string_view text, std::string_view piece) {
  return text.find(piece) != std::string_view::npos;
}

// The bytes of a settings file: little-endian 32-bit integers.
std::string settingsBytes(std::initializer_list<std::int32_t> values) {
  std::string bytes;
  for (const std::int32_t value : values) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  return bytes;
}

// ---------------------------------------------------------------------------
// In-process runs.

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome scrutinette(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette(args, out, err);
  return {status, out.str(), err.str()};
}

// What a report of kMixed shows, besides its error, which is always there.
struct Shown {
  bool alerts;
  bool info;
};

Shown shownFor(const Outcome& run) {
  EXPECT_EQ(run.status, kExitErrorsFound) << run.err;
  EXPECT_TRUE(contains(run.out, kMixedError)) << run.out;
  return {contains(run.out, kSecretAlert), contains(run.out, kLocalsHeading)};
}

TEST(ScrutinetteSettings, FileGivesTheDefaultsUnlessItHasTwentyBytes) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);

  {
    SCOPED_TRACE("no settings file: alerts and information shown");
    const Shown shown = shownFor(scrutinette({"mixte.txt"}));
    EXPECT_TRUE(shown.alerts);
    EXPECT_TRUE(shown.info);
    EXPECT_FALSE(test::fileExists("Scrivlex3.dat")) << "a run must not create the settings file";
  }
  // Show report, show info, hide alerts, Tribunal, Bloodmoon.
  const struct {
    const char* what;
    std::string bytes;
    Shown expected;
  } cases[] = {
      {"info off", settingsBytes({1, 0, 0, 0, 0}), {true, false}},
      {"alerts hidden", settingsBytes({1, 1, 1, 0, 0}), {false, true}},
      {"info off and alerts hidden, expansions on", settingsBytes({1, 0, 1, 1, 1}), {false, false}},
      {"report not to be opened: the console prints it all the same",
       settingsBytes({0, 1, 0, 0, 0}),
       {true, true}},
      {"19 bytes are too short and give the defaults",
       settingsBytes({1, 0, 1, 0, 0}).substr(0, 19),
       {true, true}},
      {"bytes after the twentieth are ignored",
       settingsBytes({1, 0, 1, 0, 0}) + "\x07",
       {false, false}},
      {"an empty file gives the defaults", "", {true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::writeFile("Scrivlex3.dat", c.bytes);
    const Shown shown = shownFor(scrutinette({"mixte.txt"}));
    EXPECT_EQ(shown.alerts, c.expected.alerts);
    EXPECT_EQ(shown.info, c.expected.info);
    EXPECT_EQ(test::readFile("Scrivlex3.dat"), c.bytes) << "the settings file must stay as it was";
  }
}

TEST(ScrutinetteOptions, OverrideTheSettingsForOneRunOnly) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  const std::string saved = settingsBytes({1, 0, 1, 0, 0});  // info off, alerts hidden
  test::writeFile("Scrivlex3.dat", saved);

  const struct {
    std::vector<std::string> args;
    Shown expected;
  } cases[] = {
      {{"--infos", "--alertes", "mixte.txt"}, {true, true}},
      {{"--infos", "mixte.txt"}, {false, true}},
      {{"--alertes", "mixte.txt"}, {true, false}},
      {{"--tribunal", "--bloodmoon", "mixte.txt"}, {false, false}},
      {{"mixte.txt"}, {false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front());
    const Shown shown = shownFor(scrutinette(c.args));
    EXPECT_EQ(shown.alerts, c.expected.alerts);
    EXPECT_EQ(shown.info, c.expected.info);
    EXPECT_EQ(test::readFile("Scrivlex3.dat"), saved);
  }

  // Without a settings file the options turn the defaults off, and still
  // write no settings file.
  std::filesystem::remove("Scrivlex3.dat");
  const Outcome run = scrutinette({"--sans-alertes", "--sans-infos", "--tribunal", "mixte.txt"});
  const Shown shown = shownFor(run);
  EXPECT_FALSE(shown.alerts);
  EXPECT_FALSE(shown.info);
  EXPECT_FALSE(test::fileExists("Scrivlex3.dat"));
  const Shown after = shownFor(scrutinette({"mixte.txt"}));
  EXPECT_TRUE(after.alerts);
  EXPECT_TRUE(after.info);
}

TEST(ScrutinetteOptions, HiddenAlertsLeaveTheHintWhenNothingElseRemains) {
  test::TempDir dir;
  test::writeFile("alertes.txt", kAlertOnly);

  const Outcome shown = scrutinette({"alertes.txt"});
  EXPECT_EQ(shown.status, kExitClean) << "alerts are not errors";
  EXPECT_TRUE(contains(shown.out, kDrapeauAlert)) << shown.out;

  const Outcome hidden = scrutinette({"--sans-alertes", "alertes.txt"});
  EXPECT_EQ(hidden.status, kExitClean);
  EXPECT_FALSE(contains(hidden.out, kDrapeauAlert)) << hidden.out;
  EXPECT_TRUE(contains(hidden.out, kAllHidden)) << hidden.out;
}

TEST(ScrutinetteOptions, HelpAndVersionCheckNothing) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);

  const Outcome help = scrutinette({"--help", "mixte.txt"});
  EXPECT_EQ(help.status, kExitClean);
  EXPECT_TRUE(help.err.empty()) << help.err;
  EXPECT_TRUE(help.out.starts_with("Usage : scrutinette")) << help.out;
  for (const char* option : {"--tribunal", "--bloodmoon", "--alertes", "--sans-alertes", "--infos",
                             "--sans-infos", "--help", "--version", "Scrivlex3.dat"}) {
    EXPECT_TRUE(contains(help.out, option)) << option << " missing from the help";
  }
  EXPECT_FALSE(test::fileExists("Correction de mixte.txt"));

  const Outcome version = scrutinette({"mixte.txt", "--version"});
  EXPECT_EQ(version.status, kExitClean);
  EXPECT_TRUE(version.err.empty()) << version.err;
  EXPECT_TRUE(contains(version.out, "2.03")) << version.out;
  EXPECT_FALSE(contains(version.out, "Liste des erreurs"));
  EXPECT_FALSE(test::fileExists("Correction de mixte.txt"));
}

TEST(ScrutinetteOptions, UsageErrorsExitWithTwoAndCheckNothing) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);

  const Outcome unknown = scrutinette({"--inconnue", "mixte.txt"});
  EXPECT_EQ(unknown.status, kExitFailure);
  EXPECT_TRUE(unknown.out.empty()) << unknown.out;
  EXPECT_TRUE(contains(unknown.err, "option inconnue")) << unknown.err;
  EXPECT_TRUE(contains(unknown.err, "--inconnue")) << unknown.err;
  EXPECT_FALSE(test::fileExists("Correction de mixte.txt"));

  const Outcome single = scrutinette({"mixte.txt", "-x"});
  EXPECT_EQ(single.status, kExitFailure);
  EXPECT_TRUE(contains(single.err, "« -x »")) << single.err;
  EXPECT_FALSE(test::fileExists("Correction de mixte.txt"));

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, std::vector<std::string>{"--tribunal", "--sans-infos"},
        std::vector<std::string>{"--"}}) {
    const Outcome none = scrutinette(args);
    EXPECT_EQ(none.status, kExitFailure);
    EXPECT_TRUE(none.out.empty());
    EXPECT_TRUE(contains(none.err, "aucun fichier")) << none.err;
  }
}

// ---------------------------------------------------------------------------
// Exit statuses.

TEST(ScrutinetteStatus, OneFileAtATime) {
  test::TempDir dir;
  test::writeFile("propre.txt", kClean);
  test::writeFile("alertes.txt", kAlertOnly);
  test::writeFile("mixte.txt", kMixed);

  const Outcome clean = scrutinette({"propre.txt"});
  EXPECT_EQ(clean.status, kExitClean) << clean.out;
  EXPECT_TRUE(contains(clean.out, kNoFindings)) << clean.out;
  EXPECT_TRUE(contains(clean.out, kCompteEntry)) << clean.out;
  EXPECT_TRUE(clean.err.empty()) << clean.err;

  EXPECT_EQ(scrutinette({"alertes.txt"}).status, kExitClean);
  EXPECT_EQ(scrutinette({"--sans-alertes", "alertes.txt"}).status, kExitClean);
  EXPECT_EQ(scrutinette({"mixte.txt"}).status, kExitErrorsFound);
  EXPECT_EQ(scrutinette({"--sans-alertes", "--sans-infos", "mixte.txt"}).status, kExitErrorsFound);

  const Outcome missing = scrutinette({"absent.txt"});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_TRUE(missing.out.empty()) << missing.out;
  EXPECT_EQ(missing.err, "Impossible d'ouvrir le fichier \"absent.txt\" !\n");
  EXPECT_FALSE(test::fileExists("Correction de absent.txt"));
}

TEST(ScrutinetteStatus, FiveThousandLinesAtMost) {
  test::TempDir dir;
  test::writeFile("limite.txt", scriptOfLines(5000));
  test::writeFile("trop.txt", scriptOfLines(5001));

  const Outcome limit = scrutinette({"limite.txt"});
  EXPECT_EQ(limit.status, kExitClean) << limit.err;
  EXPECT_TRUE(contains(limit.out, kNoFindings)) << limit.out;

  const Outcome tooLong = scrutinette({"trop.txt"});
  EXPECT_EQ(tooLong.status, kExitFailure);
  EXPECT_TRUE(tooLong.out.empty()) << tooLong.out;
  EXPECT_EQ(tooLong.err, std::string(kTooLongMessage) + "\n");
  EXPECT_FALSE(test::fileExists("Correction de trop.txt"));
}

TEST(ScrutinetteStatus, ReportThatCannotBeWrittenIsAFailure) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  test::writeFile("propre.txt", kClean);
  fs::create_directory("Correction de mixte.txt");  // takes the report's name

  const Outcome run = scrutinette({"mixte.txt", "propre.txt"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.err, "Erreur : impossible d'ouvrir le fichier \"Correction de mixte.txt\" !\n");
  EXPECT_EQ(run.out, test::readFile("Correction de propre.txt"));
}

TEST(ScrutinetteStatus, StandardOutputThatCannotBeWrittenIsAFailure) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  std::ostream broken(nullptr);  // every write fails, as on a full disk
  std::ostringstream err;
  EXPECT_EQ(runScrutinette({"mixte.txt"}, broken, err), kExitFailure);
  EXPECT_EQ(err.str(), "scrutinette : impossible d'écrire le rapport sur la sortie standard.\n");
}

TEST(ScrutinetteStatus, SeveralFilesAreAllCheckedAndTheWorstStatusWins) {
  test::TempDir dir;
  test::writeFile("propre.txt", kClean);
  test::writeFile("alertes.txt", kAlertOnly);
  test::writeFile("mixte.txt", kMixed);
  test::writeFile("trop.txt", scriptOfLines(5001));

  const struct {
    std::vector<std::string> files;
    int status;
  } cases[] = {
      {{"propre.txt", "alertes.txt"}, kExitClean},
      {{"propre.txt", "mixte.txt"}, kExitErrorsFound},
      {{"mixte.txt", "propre.txt"}, kExitErrorsFound},
      {{"mixte.txt", "absent.txt", "propre.txt"}, kExitFailure},
      {{"absent.txt", "mixte.txt"}, kExitFailure},
      {{"trop.txt", "alertes.txt"}, kExitFailure},
  };
  for (const auto& c : cases) {
    std::string trace;
    for (const std::string& f : c.files)
      trace += f + " ";
    SCOPED_TRACE(trace);
    for (const std::string& f : c.files)
      std::filesystem::remove("Correction de " + f);

    const Outcome run = scrutinette(c.files);
    EXPECT_EQ(run.status, c.status) << run.err;
    // The reports of the checked files, in the order of the arguments.
    std::string reports;
    std::string messages;
    for (const std::string& f : c.files) {
      if (f == "absent.txt") {
        messages += "Impossible d'ouvrir le fichier \"absent.txt\" !\n";
      } else if (f == "trop.txt") {
        messages += std::string(kTooLongMessage) + "\n";
      } else {
        ASSERT_TRUE(test::fileExists("Correction de " + f)) << f << " was not checked";
        reports += test::readFile("Correction de " + f);
      }
    }
    EXPECT_EQ(run.out, reports);
    EXPECT_EQ(run.err, messages);
  }
}

// ---------------------------------------------------------------------------
// File names.

TEST(ScrutinetteNames, DoubleDashEndsTheOptions) {
  test::TempDir dir;
  test::writeFile("-tiret.txt", kMixed);

  const Outcome asOption = scrutinette({"-tiret.txt"});
  EXPECT_EQ(asOption.status, kExitFailure);
  EXPECT_TRUE(contains(asOption.err, "-tiret.txt")) << asOption.err;
  EXPECT_FALSE(test::fileExists("Correction de -tiret.txt"));

  const Outcome asFile = scrutinette({"--sans-infos", "--", "-tiret.txt"});
  EXPECT_EQ(asFile.status, kExitErrorsFound) << asFile.err;
  ASSERT_TRUE(test::fileExists("Correction de -tiret.txt"));
  EXPECT_EQ(asFile.out, test::readFile("Correction de -tiret.txt"));
  EXPECT_TRUE(contains(asFile.out, kMixedError));
  EXPECT_FALSE(contains(asFile.out, kLocalsHeading)) << "options before -- still apply";

  // After "--" an option's spelling is a file name like any other.
  const Outcome notAnOption = scrutinette({"--", "--sans-infos"});
  EXPECT_EQ(notAnOption.status, kExitFailure);
  EXPECT_EQ(notAnOption.err, "Impossible d'ouvrir le fichier \"--sans-infos\" !\n");
}

TEST(ScrutinetteNames, ReportOfAPathIsNamedAfterItsBaseInTheCurrentDirectory) {
  test::TempDir dir;
  fs::create_directories("sous/dossier");
  test::writeFile("sous/dossier/mixte.txt", kMixed);

  for (const std::string& path :
       {std::string("sous/dossier/mixte.txt"), dir.path() + "/sous/dossier/mixte.txt"}) {
    SCOPED_TRACE(path);
    std::filesystem::remove("Correction de mixte.txt");
    const Outcome run = scrutinette({path});
    EXPECT_EQ(run.status, kExitErrorsFound) << run.err;
    ASSERT_TRUE(test::fileExists("Correction de mixte.txt"));
    EXPECT_EQ(run.out, test::readFile("Correction de mixte.txt"));
    EXPECT_TRUE(contains(run.out, kMixedError));
    EXPECT_FALSE(test::fileExists("sous/dossier/Correction de mixte.txt"));
    EXPECT_FALSE(test::fileExists("Correction de sous"));
  }
  const Outcome missing = scrutinette({"sous/absent.txt"});
  EXPECT_EQ(missing.err, "Impossible d'ouvrir le fichier \"sous/absent.txt\" !\n");
  for (const char* work : kWorkFiles)
    EXPECT_FALSE(test::fileExists(std::string("sous/dossier/") + work)) << work;
}

TEST(ScrutinetteNames, NoWorkFileIsLeftBehind) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  test::writeFile("propre.txt", kClean);
  // Work files of an interrupted earlier run are replaced, not read.
  test::writeFile("DbTempTES3", std::string(208, 'x'));
  test::writeFile("InfTempTES3", std::string(56, 'y'));

  const Outcome run = scrutinette({"mixte.txt", "propre.txt"});
  EXPECT_EQ(run.status, kExitErrorsFound);
  EXPECT_FALSE(contains(run.out, "xxxx"));
  EXPECT_FALSE(contains(run.out, "yyyy"));
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator("."))
    left.insert(entry.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"mixte.txt", "propre.txt", "Correction de mixte.txt",
                                         "Correction de propre.txt"}));
}

TEST(ScrutinetteNames, BundledExampleShowsItsFindings) {
  test::TempDir dir;
  test::writeFile("exemple.txt",
                  test::readFile(std::string(LINTARO_EXAMPLES_DIR) + "/exemple.txt"));

  const Outcome run = scrutinette({"exemple.txt"});
  EXPECT_EQ(run.status, kExitErrorsFound) << run.err;
  // Lines 14 to 17: an "if" with its "endif", then one "endif" more; a "while"
  // without "endwhile"; a variable whose name begins with "_".
  const std::string_view findings[] = {
      "    - Ligne 17 : un 'endif' en trop (l'erreur a probablement été faite entre la ligne 14 et "
      "la ligne 17).\n",
      "    - Il y a 1 'endwhile' manquant dans le script.\n",
      "    - Le premier caractère de \"_passages\" est un underscore, risques de bugs in-game.\n",
  };
  std::size_t from = 0;
  for (const std::string_view finding : findings) {
    const std::size_t at = run.out.find(finding, from);
    ASSERT_NE(at, std::string::npos) << finding << "\nmissing, or out of order, in:\n" << run.out;
    from = at + finding.size();
  }
  for (const char* entry : {"    - \"_passages\" (type SHORT)\n", "    - \"etat\" (type SHORT)\n",
                            "    - \"minuterie\" (type FLOAT)\n"}) {
    EXPECT_TRUE(contains(run.out, entry)) << entry;
  }
}

// ---------------------------------------------------------------------------
// The real program, started as a process.

struct ProcessResult {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// A started `scrutinette` whose standard output and error go to files.
class Process {
 public:
  // Starts the program in `workDir` with `args`; its output goes to files in
  // `captureDir` named after `tag`.
  Process(const std::string& workDir, const std::vector<std::string>& args,
          const std::string& captureDir, const std::string& tag)
      : outPath_(captureDir + "/" + tag + ".out"), errPath_(captureDir + "/" + tag + ".err") {
    std::vector<std::string> argv = {LINTARO_SCRUTINETTE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp;
    for (std::string& a : argv)
      argp.push_back(a.data());
    argp.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ == 0) {
      // Only async-signal-safe calls between fork and exec.
      const int in = ::open("/dev/null", O_RDONLY);
      const int out = ::open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
          ::dup2(err, 2) < 0 || ::chdir(workDir.c_str()) != 0) {
        ::_exit(126);
      }
      ::execv(argp[0], argp.data());
      ::_exit(127);
    }
  }

  bool started() const { return pid_ > 0; }

  ProcessResult wait() {
    ProcessResult result;
    int raw = 0;
    if (pid_ > 0 && ::waitpid(pid_, &raw, 0) == pid_ && WIFEXITED(raw)) {
      result.status = WEXITSTATUS(raw);
    }
    pid_ = -1;
    result.out = test::readFile(outPath_);
    result.err = test::readFile(errPath_);
    return result;
  }

  ~Process() {
    if (pid_ > 0) wait();
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

 private:
  std::string outPath_;
  std::string errPath_;
  pid_t pid_ = -1;
};

ProcessResult runProcess(const std::string& workDir, const std::vector<std::string>& args,
                         const std::string& captureDir) {
  Process process(workDir, args, captureDir, "run");
  EXPECT_TRUE(process.started());
  return process.wait();
}

// A private directory for the checks and one for the captured output, inside
// the test's own temporary directory.
struct ProcessDirs {
  test::TempDir root;
  std::string work = root.path() + "/travail";
  std::string capture = root.path() + "/sorties";
  ProcessDirs() {
    fs::create_directories(work);
    fs::create_directories(capture);
  }
};

TEST(ScrutinetteProcess, PrintsTheReportFilesOfItsCurrentDirectory) {
  ProcessDirs dirs;
  test::writeFile(dirs.work + "/mixte.txt", kMixed);
  test::writeFile(dirs.work + "/propre.txt", kClean);
  // The settings of the program's current directory: information off.
  test::writeFile(dirs.work + "/Scrivlex3.dat", settingsBytes({1, 0, 0, 0, 0}));

  const ProcessResult run = runProcess(dirs.work, {"mixte.txt", "propre.txt"}, dirs.capture);
  EXPECT_EQ(run.status, kExitErrorsFound) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  const std::string mixed = test::readFile(dirs.work + "/Correction de mixte.txt");
  const std::string clean = test::readFile(dirs.work + "/Correction de propre.txt");
  ASSERT_FALSE(mixed.empty());
  ASSERT_FALSE(clean.empty());
  EXPECT_EQ(run.out, mixed + clean);
  EXPECT_TRUE(contains(mixed, kMixedError)) << mixed;
  EXPECT_TRUE(contains(mixed, kSecretAlert)) << mixed;
  EXPECT_FALSE(contains(run.out, kLocalsHeading)) << "settings of the current directory ignored";
  EXPECT_FALSE(test::fileExists(dirs.root.path() + "/Correction de mixte.txt"));
  for (const char* work : kWorkFiles)
    EXPECT_FALSE(test::fileExists(dirs.work + "/" + work)) << work;

  const ProcessResult withInfo = runProcess(dirs.work, {"--infos", "propre.txt"}, dirs.capture);
  EXPECT_EQ(withInfo.status, kExitClean) << withInfo.err;
  EXPECT_TRUE(contains(withInfo.out, kCompteEntry)) << withInfo.out;
}

TEST(ScrutinetteProcess, MessagesGoToStandardError) {
  ProcessDirs dirs;
  test::writeFile(dirs.work + "/trop.txt", scriptOfLines(5001));

  const ProcessResult run = runProcess(dirs.work, {"absent.txt", "trop.txt"}, dirs.capture);
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(run.out.empty()) << run.out;
  EXPECT_EQ(run.err, "Impossible d'ouvrir le fichier \"absent.txt\" !\n" +
                         std::string(kTooLongMessage) + "\n");

  const ProcessResult usage = runProcess(dirs.work, {"--sans-alerte", "trop.txt"}, dirs.capture);
  EXPECT_EQ(usage.status, kExitFailure);
  EXPECT_TRUE(usage.out.empty()) << usage.out;
  EXPECT_TRUE(contains(usage.err, "option inconnue")) << usage.err;

  const ProcessResult help = runProcess(dirs.work, {"--help"}, dirs.capture);
  EXPECT_EQ(help.status, kExitClean);
  EXPECT_TRUE(help.out.starts_with("Usage : scrutinette")) << help.out;
  EXPECT_TRUE(help.err.empty()) << help.err;
}

// A script of its own for each file of the concurrency test, a few thousand
// lines long so that runs overlap, whose report differs from every other:
// its own variable names, its own misplaced keywords.
std::string concurrentScript(int n) {
  const std::string id = std::to_string(n);
  std::string text = "Begin Concurrent" + id + "\r\n";
  text += "short compte" + id + "\r\n";
  text += "float duree" + id + "\r\n";
  if (n % 2 == 1) text += "long _cache" + id + "\r\n";
  const int blocks = 400 + 37 * n;
  for (int b = 0; b < blocks; ++b) {
    text += "if ( compte" + id + " == " + std::to_string(b) + " )\r\n";
    text += "\tset duree" + id + " to ( duree" + id + " + 1 )\r\n";
    if (b == n) text += "endif\r\n";  // one too many, at a line of its own
    text += "endif\r\n";
  }
  for (int w = 0; w <= n % 3; ++w)
    text += "while ( compte" + id + " < 10 )\r\n";  // endwhile missing
  text += "End\r\n";
  return text;
}

struct Job {
  std::vector<std::string> args;
  std::vector<std::string> files;
};

TEST(ScrutinetteProcess, ConcurrentRunsInOneDirectoryGiveTheReportsOfRunsAlone) {
  constexpr int kProcesses = 8;
  constexpr int kFilesPerProcess = 4;
  constexpr int kRounds = 3;
  ProcessDirs dirs;
  const std::string alone = dirs.root.path() + "/seul";
  fs::create_directories(alone);

  std::vector<Job> jobs;
  for (int p = 0; p < kProcesses; ++p) {
    Job job;
    if (p % 3 == 1) job.args.push_back("--sans-infos");
    if (p % 4 == 2) job.args.push_back("--sans-alertes");
    for (int f = 0; f < kFilesPerProcess; ++f) {
      const int n = p * kFilesPerProcess + f;
      const std::string name = "concurrent" + std::to_string(n) + ".txt";
      test::writeFile(alone + "/" + name, concurrentScript(n));
      test::writeFile(dirs.work + "/" + name, concurrentScript(n));
      job.files.push_back(name);
      job.args.push_back(name);
    }
    jobs.push_back(job);
  }

  // Each job alone, one after the other.
  std::vector<ProcessResult> expected;
  std::map<std::string, std::string> expectedReports;
  std::set<std::string> distinct;
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    Process process(alone, jobs[j].args, dirs.capture, "seul" + std::to_string(j));
    ASSERT_TRUE(process.started());
    expected.push_back(process.wait());
    EXPECT_EQ(expected.back().status, kExitErrorsFound) << expected.back().err;
    EXPECT_TRUE(expected.back().err.empty()) << expected.back().err;
    std::string all;
    for (const std::string& file : jobs[j].files) {
      const std::string report = test::readFile(alone + "/Correction de " + file);
      ASSERT_FALSE(report.empty()) << file;
      expectedReports[file] = report;
      distinct.insert(report);
      all += report;
    }
    EXPECT_EQ(expected.back().out, all);
  }
  ASSERT_EQ(distinct.size(), expectedReports.size()) << "the reports must tell the files apart";

  std::set<std::string> expectedListing = {};
  for (const auto& [file, report] : expectedReports) {
    expectedListing.insert(file);
    expectedListing.insert("Correction de " + file);
  }

  // Every job at once, several times.
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (const auto& [file, report] : expectedReports)
      fs::remove(dirs.work + "/Correction de " + file);

    std::vector<std::unique_ptr<Process>> running;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
      running.push_back(std::make_unique<Process>(dirs.work, jobs[j].args, dirs.capture,
                                                  "ensemble" + std::to_string(j)));
      ASSERT_TRUE(running.back()->started());
    }
    for (std::size_t j = 0; j < jobs.size(); ++j) {
      SCOPED_TRACE("process " + std::to_string(j));
      const ProcessResult got = running[j]->wait();
      EXPECT_EQ(got.status, expected[j].status) << got.err;
      EXPECT_EQ(got.err, expected[j].err);
      EXPECT_TRUE(got.out == expected[j].out) << "standard output differs from a run alone";
    }
    for (const auto& [file, report] : expectedReports) {
      EXPECT_TRUE(test::readFile(dirs.work + "/Correction de " + file) == report)
          << "report of " << file << " differs from a run alone";
    }
    std::set<std::string> listing;
    for (const auto& entry : fs::directory_iterator(dirs.work))
      listing.insert(entry.path().filename().string());
    EXPECT_EQ(listing, expectedListing) << "work files left behind, or reports missing";
  }
}

}  // namespace
}  // namespace lintaro
