// The console program: the settings file against the options, exit statuses
// and messages, the format mode, and the real `scrutinette` started as a
// process, alone and several at once in one directory.
#include "console/Scrutinette.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run/MainDebug.h"
#include "tests/ReportTexts.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

// Errors, among them an endif too many on line 7, and one alert.
const std::string kMixed =
    "Begin Mixte\r\nshort compte\r\nshort _secret\r\nif ( compte == 1 )\r\n\tset _secret to 2\r\n"
    "endif\r\nendif\r\nEnd\r\n";
// Report lines, ended as the reports end them.
const std::string kMixedError = test::native(
    "    - Ligne 7 : un 'endif' en trop (l'erreur a probablement été faite entre la ligne 4 et la "
    "ligne 7).\n");
const std::string kSecretAlert = test::native(
    "    - Le premier caractère de \"_secret\" est un underscore, risques de bugs in-game.\n");
const std::string kLocal = test::native(test::kLocal);
const std::string kAlertOnly = "Begin Alertes\r\nshort _drapeau\r\nEnd\r\n";
const std::string kClean = "Begin Propre\r\nshort compte\r\n\tReturn\r\nEnd\r\n";

// "Begin", blank lines and "End": `lines` lines in all.
std::string scriptOfLines(int lines) {
  std::string text = "Begin Long\r\n";
  for (int i = 0; i < lines - 3; ++i)
    text.append("\r\n");
  return text + "End\r\n";
}

bool contains(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome scrutinette(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(ScrutinetteSettings, FileGivesTheDefaultsAndOptionsOverrideItForOneRun) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  // Show report, show info, hide alerts, Tribunal, Bloodmoon.
  const std::string saved = test::settingsBytes({1, 0, 1, 0, 0});
  const struct {
    const char* what;
    std::optional<std::string> file;
    Args options;
    bool alerts, info;
  } cases[] = {
      {"no settings file", std::nullopt, {}, true, true},
      {"info off", test::settingsBytes({1, 0, 0, 0, 0}), {}, true, false},
      {"alerts hidden", test::settingsBytes({1, 1, 1, 0, 0}), {}, false, true},
      {"report not to be shown: printed anyway",
       test::settingsBytes({0, 1, 0, 0, 0}),
       {},
       true,
       true},
      {"19 bytes give the defaults", saved.substr(0, 19), {}, true, true},
      {"bytes after the twentieth are ignored", saved + "\x07", {}, false, false},
      {"info by option", saved, {"--infos"}, false, true},
      {"alerts by option", saved, {"--alertes"}, true, false},
      {"expansion options", saved, {"--tribunal", "--bloodmoon"}, false, false},
      {"defaults turned off", std::nullopt, {"--sans-alertes", "--sans-infos"}, false, false},
      {"and back after that run", std::nullopt, {}, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.file) {
      test::writeFile("Scrivlex3.dat", *c.file);
    } else {
      fs::remove("Scrivlex3.dat");
    }
    Args args = c.options;
    args.push_back("mixte.txt");
    const Outcome run = scrutinette(args);
    EXPECT_EQ(run.status, kExitErrorsFound) << run.err;
    EXPECT_TRUE(contains(run.out, kMixedError)) << run.out;
    EXPECT_EQ(contains(run.out, kSecretAlert), c.alerts);
    EXPECT_EQ(contains(run.out, kLocal), c.info);
    EXPECT_EQ(test::fileExists("Scrivlex3.dat") ? test::readFile("Scrivlex3.dat") : "-",
              c.file.value_or("-"));
  }
}

TEST(ScrutinetteOptions, HelpVersionAndUsageErrorsCheckNothing) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  test::writeFile("-tiret.txt", kMixed);
  // `out` and `err`: a piece the stream holds, or "" for an empty stream.
  const struct {
    Args args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"--help", "mixte.txt"}, kExitClean, "Usage : scrutinette", ""},
      {{"mixte.txt", "--version"}, kExitClean, "2.03", ""},
      {{"--inconnue", "mixte.txt"}, kExitFailure, "", "option inconnue « --inconnue »"},
      {{"mixte.txt", "-x"}, kExitFailure, "", "« -x »"},
      {{"-tiret.txt"}, kExitFailure, "", "« -tiret.txt »"},
      {{}, kExitFailure, "", "aucun fichier"},
      {{"--tribunal", "--sans-infos"}, kExitFailure, "", "aucun fichier"},
      {{"--"}, kExitFailure, "", "aucun fichier"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "" : c.args.front());
    const Outcome run = scrutinette(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(c.out.empty() ? run.out.empty() : contains(run.out, c.out)) << run.out;
    EXPECT_TRUE(c.err.empty() ? run.err.empty() : contains(run.err, c.err)) << run.err;
    EXPECT_FALSE(test::fileExists("Correction de mixte.txt"));
    EXPECT_FALSE(test::fileExists("Correction de -tiret.txt"));
  }
}

TEST(ScrutinetteStatus, ReportOrOutputThatCannotBeWrittenIsAFailure) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  test::writeFile("propre.txt", kClean);
  fs::create_directory("Correction de mixte.txt");  // takes the report's name
  const Outcome run = scrutinette({"mixte.txt", "propre.txt"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.err, "Erreur : impossible d'ouvrir le fichier \"Correction de mixte.txt\" !\n");
  EXPECT_EQ(run.out, test::readFile("Correction de propre.txt"));

  std::ostream broken(nullptr);  // every write fails, as on a full disk
  std::ostringstream err;
  EXPECT_EQ(runScrutinette({"propre.txt"}, broken, err), kExitFailure);
  EXPECT_EQ(err.str(), "scrutinette : impossible d'écrire le rapport sur la sortie standard.\n");
}

// ---------------------------------------------------------------------------
// The format mode: every file formatted in place, the exit status of the most
// serious outcome, and the French messages.

const std::string kRaw = "Begin t\r\n  if ( a )\r\nset b to(1)\r\n  endif\r\nEnd\r\n";
const std::string kFormatted = "Begin t\r\nif ( a )\r\n\tset b to ( 1 )\r\nendif\r\nEnd\r\n";
const std::string kBadChain = "Begin t\n  endif\nEnd\n";
const std::string kChainMessage = " : Erreur dans l'enchainement des tests logiques.\n";

TEST(ScrutinetteFormat, EveryFileIsRewritten) {
  test::TempDir dir;
  test::writeFile("a.txt", kRaw);
  test::writeFile("b.txt", kFormatted);
  const Outcome r = scrutinette({"--format", "a.txt", "b.txt"});
  EXPECT_EQ(r.status, kExitClean);
  EXPECT_EQ(r.out,
            "Le fichier \"a.txt\" a été mis en forme.\nLe fichier \"b.txt\" a été mis en forme.\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(test::readFile("a.txt"), kFormatted);
  EXPECT_EQ(test::readFile("b.txt"), kFormatted);
  EXPECT_FALSE(test::fileExists("Correction de a.txt"));  // formatting checks nothing
}

// Each case: the files given after --format (written first when they have a
// text), the status, and the standard error.
TEST(ScrutinetteFormat, WorstOutcomeGivesTheStatus) {
  const std::string tooLong(5000, '\n');  // 5001 lines
  struct File {
    std::string name;
    const std::string* text;  // nullptr: the file does not exist
  };
  struct Case {
    std::vector<File> files;
    int status;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{{"mal.txt", &kBadChain}, {"bon.txt", &kRaw}}, kExitErrorsFound, "mal.txt" + kChainMessage},
      {{{"absent.txt", nullptr}},
       kExitFailure,
       "Impossible de trouver le fichier \"absent.txt\" !\n"},
      {{{"long.txt", &tooLong}},
       kExitFailure,
       "long.txt : Trop de lignes, impossible de faire la mise en forme.\n"},
      {{{"absent.txt", nullptr}, {"mal.txt", &kBadChain}},
       kExitFailure,
       "Impossible de trouver le fichier \"absent.txt\" !\nmal.txt" + kChainMessage},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    Args args = {"--format"};
    for (const File& f : c.files) {
      if (f.text != nullptr) test::writeFile(f.name, *f.text);
      args.push_back(f.name);
    }
    const Outcome r = scrutinette(args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_EQ(r.err, c.err);
    for (const File& f : c.files) {
      if (f.text == nullptr) {
        EXPECT_FALSE(test::fileExists(f.name));
      } else if (f.text != &kRaw) {
        EXPECT_EQ(test::readFile(f.name), *f.text) << f.name << " must stay unchanged";
      } else {
        EXPECT_EQ(test::readFile(f.name), kFormatted) << "the other files are still formatted";
      }
    }
  }
}

TEST(ScrutinetteFormat, UsageAndHelp) {
  test::TempDir dir;
  const Outcome none = scrutinette({"--format"});
  EXPECT_EQ(none.status, kExitFailure);
  EXPECT_EQ(none.err,
            "scrutinette : aucun fichier à mettre en forme.\nEssayez « scrutinette --help ».\n");
  const Outcome help = scrutinette({"--help"});
  EXPECT_EQ(help.status, kExitClean);
  EXPECT_NE(help.out.find("  --format         mettre en forme les fichiers au lieu de les "
                          "vérifier\n"),
            std::string::npos);
  // A name after "--" that looks like an option is a file to format.
  test::writeFile("--format", kRaw);
  const Outcome dashed = scrutinette({"--format", "--", "--format"});
  EXPECT_EQ(dashed.status, kExitClean) << dashed.err;
  EXPECT_EQ(test::readFile("--format"), kFormatted);
}

// ---------------------------------------------------------------------------
// The real program, started as a process.

// A directory for the checks and one for the captured output.
struct ProcessDirs {
  test::TempDir root;
  std::string work = root.path() + "/travail";
  std::string capture = root.path() + "/sorties";
  ProcessDirs() {
    fs::create_directories(work);
    fs::create_directories(capture);
  }

  // Starts the program in `dir`, its output going to files named after `tag`.
  test::Process start(const std::string& dir, Args args, const std::string& tag) const {
    args.insert(args.begin(), LINTARO_SCRUTINETTE);
    const test::Process process =
        test::startProcess(args, dir, capture + "/" + tag + ".out", capture + "/" + tag + ".err");
    EXPECT_NE(process.handle, -1);
    return process;
  }
  // Waits for it: the exit status (-1 when it did not exit) and its output.
  Outcome finish(test::Process process, const std::string& tag) const {
    const int status = test::waitProcess(process);
    return {status, test::readFile(capture + "/" + tag + ".out"),
            test::readFile(capture + "/" + tag + ".err")};
  }
  Outcome run(const Args& args) const { return finish(start(work, args, "run"), "run"); }

  std::set<std::string> listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(work))
      names.insert(entry.path().filename().string());
    return names;
  }
};

// Reports go to standard output, messages to standard error; the settings are
// those of the program's current directory, here with information off.
TEST(ScrutinetteProcess, EveryFileIsCheckedAndTheWorstStatusWins) {
  ProcessDirs dirs;
  const std::pair<const char*, std::string> inputs[] = {
      {"propre.txt", kClean},
      {"alertes.txt", kAlertOnly},
      {"mixte.txt", kMixed},
      {"-tiret.txt", kMixed},
      {"limite.txt", scriptOfLines(5000)},
      {"Scrivlex3.dat", test::settingsBytes({1, 0, 0, 0, 0})}};
  std::set<std::string> listing;
  for (const auto& [name, bytes] : inputs) {
    test::writeFile(dirs.work + "/" + name, bytes);
    listing.insert({name, std::string("Correction de ") + name});
  }
  listing.erase("Correction de Scrivlex3.dat");
  const struct {
    Args options, files;
    int status;
  } cases[] = {
      {{}, {"propre.txt", "alertes.txt", "limite.txt"}, kExitClean},
      {{}, {"propre.txt", "mixte.txt"}, kExitErrorsFound},
      {{}, {"mixte.txt", "absent.txt", "propre.txt"}, kExitFailure},
      // After "--" every argument is a file name; options before it apply.
      {{"--infos", "--"}, {"-tiret.txt"}, kExitErrorsFound},
      {{"--"}, {"--infos"}, kExitFailure},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files.front());
    Args args = c.options;
    for (const std::string& f : c.files) {
      fs::remove(dirs.work + "/Correction de " + f);
      args.push_back(f);
    }
    const Outcome run = dirs.run(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    // The reports of the files checked, and the messages of the others, in order.
    std::string reports;
    std::string messages;
    for (const std::string& f : c.files) {
      const std::string report = dirs.work + "/Correction de " + f;
      if (!test::fileExists(dirs.work + "/" + f)) {
        messages += "Impossible d'ouvrir le fichier \"" + f + "\" !\n";
      } else {
        ASSERT_TRUE(test::fileExists(report)) << f << " was not checked";
        reports += test::readFile(report);
      }
    }
    EXPECT_EQ(run.out, reports);
    EXPECT_EQ(run.err, messages);
  }
  const std::string mixed = test::readFile(dirs.work + "/Correction de mixte.txt");
  EXPECT_TRUE(contains(mixed, kMixedError) && contains(mixed, kSecretAlert)) << mixed;
  EXPECT_FALSE(contains(mixed, kLocal));
  EXPECT_TRUE(contains(test::readFile(dirs.work + "/Correction de -tiret.txt"), kLocal));
  EXPECT_EQ(dirs.listing(), listing) << "work files left behind, or reports missing";
}

// A script of a few thousand lines for file `n` of the concurrency test, so
// that runs overlap, whose report differs from every other one.
std::string concurrentScript(int n) {
  const std::string id = std::to_string(n);
  std::string text = "Begin Concurrent" + id + "\r\nshort compte" + id + "\r\nfloat duree" + id +
                     "\r\n" + (n % 2 == 1 ? "long _cache" + id + "\r\n" : "");
  for (int b = 0; b < 400 + 37 * n; ++b) {
    text += "if ( compte" + id + " == " + std::to_string(b) + " )\r\n\tset duree" + id +
            " to ( duree" + id + " + 1 )\r\n";
    if (b == n) text += "endif\r\n";  // one too many, at a line of its own
    text += "endif\r\n";
  }
  for (int w = 0; w <= n % 3; ++w)
    text += "while ( compte" + id + " < 10 )\r\n";  // endwhile missing
  return text + "End\r\n";
}

TEST(ScrutinetteProcess, ConcurrentRunsInOneDirectoryGiveTheReportsOfRunsAlone) {
  constexpr int kProcesses = 8;
  constexpr int kFilesPerProcess = 4;
  ProcessDirs dirs;
  const std::string alone = dirs.root.path() + "/seul";
  fs::create_directories(alone);

  std::vector<Args> jobs;
  std::vector<std::string> files;
  std::set<std::string> listing;
  for (int p = 0; p < kProcesses; ++p) {
    Args& job = jobs.emplace_back();
    if (p % 3 == 1) job.push_back("--sans-infos");
    if (p % 4 == 2) job.push_back("--sans-alertes");
    for (int f = 0; f < kFilesPerProcess; ++f) {
      const int n = p * kFilesPerProcess + f;
      const std::string name = "concurrent" + std::to_string(n) + ".txt";
      test::writeFile(alone + "/" + name, concurrentScript(n));
      test::writeFile(dirs.work + "/" + name, concurrentScript(n));
      job.push_back(name);
      files.push_back(name);
      listing.insert({name, "Correction de " + name});
    }
  }

  // Each job alone, one after the other.
  std::vector<Outcome> expected;
  std::set<std::string> distinct;
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    const std::string tag = "seul" + std::to_string(j);
    expected.push_back(dirs.finish(dirs.start(alone, jobs[j], tag), tag));
    EXPECT_EQ(expected.back().status, kExitErrorsFound) << expected.back().err;
    std::string all;
    for (const std::string& arg : jobs[j]) {
      if (arg.starts_with("-")) continue;
      all += test::readFile(alone + "/Correction de " + arg);
      distinct.insert(test::readFile(alone + "/Correction de " + arg));
    }
    EXPECT_EQ(expected.back().out, all);
  }
  ASSERT_EQ(distinct.size(), files.size()) << "the reports must tell the files apart";

  // Every job at once, several times.
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (const std::string& file : files)
      fs::remove(dirs.work + "/Correction de " + file);
    std::vector<test::Process> running;
    for (std::size_t j = 0; j < jobs.size(); ++j)
      running.push_back(dirs.start(dirs.work, jobs[j], "tous" + std::to_string(j)));
    for (std::size_t j = 0; j < jobs.size(); ++j) {
      const Outcome got = dirs.finish(running[j], "tous" + std::to_string(j));
      EXPECT_EQ(got.status, expected[j].status) << "process " << j << ": " << got.err;
      EXPECT_EQ(got.err, expected[j].err) << "process " << j;
      EXPECT_TRUE(got.out == expected[j].out) << "process " << j << ": output differs";
    }
    for (const std::string& file : files) {
      EXPECT_TRUE(test::readFile(dirs.work + "/Correction de " + file) ==
                  test::readFile(alone + "/Correction de " + file))
          << "report of " << file << " differs from a run alone";
    }
    EXPECT_EQ(dirs.listing(), listing) << "work files left behind, or reports missing";
  }
}

}  // namespace
}  // namespace lintaro
