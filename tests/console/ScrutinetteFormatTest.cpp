// The console program's format mode: every file formatted in place, the exit
// status of the most serious outcome, and the French messages.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "console/Scrutinette.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using Args = std::vector<std::string>;

const std::string kRaw = "Begin t\r\n  if ( a )\r\nset b to(1)\r\n  endif\r\nEnd\r\n";
const std::string kFormatted = "Begin t\r\nif ( a )\r\n\tset b to ( 1 )\r\nendif\r\nEnd\r\n";
const std::string kBadChain = "Begin t\n  endif\nEnd\n";
const std::string kChainMessage = " : Erreur dans l'enchainement des tests logiques.\n";

struct Outcome {
  int status;
  std::string out;
  std::string err;
};
Outcome run(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(ScrutinetteFormat, EveryFileIsRewritten) {
  test::TempDir dir;
  test::writeFile("a.txt", kRaw);
  test::writeFile("b.txt", kFormatted);
  const Outcome r = run({"--format", "a.txt", "b.txt"});
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
    const Outcome r = run(args);
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
  const Outcome none = run({"--format"});
  EXPECT_EQ(none.status, kExitFailure);
  EXPECT_EQ(none.err,
            "scrutinette : aucun fichier à mettre en forme.\nEssayez « scrutinette --help ».\n");
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, kExitClean);
  EXPECT_NE(help.out.find("  --format         mettre en forme les fichiers au lieu de les "
                          "vérifier\n"),
            std::string::npos);
  // A name after "--" that looks like an option is a file to format.
  test::writeFile("--format", kRaw);
  const Outcome dashed = run({"--format", "--", "--format"});
  EXPECT_EQ(dashed.status, kExitClean) << dashed.err;
  EXPECT_EQ(test::readFile("--format"), kFormatted);
}

}  // namespace
}  // namespace lintaro
