// The console program's newer options, in process: standard input, the codes
// silenced by --ignorer in every output, --expliquer, usage errors and the
// artifact URIs of the SARIF output. The outputs themselves are checked by
// their real consumers (tests/consumers).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "console/MachineOutput.h"
#include "console/Scrutinette.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome scrutinette(const Args& args, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette(args, in, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> listing() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("."))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const std::string kMixed =
    "Begin Mixte\r\nshort compte\r\nshort _secret\r\nif ( compte == 1 )\r\n\tset _secret to 2\r\n"
    "endif\r\nendif\r\nEnd\r\n";
// One alert, LT901, on line 3.
const std::string kDirective =
    "Begin Directive\nshort compte\nset compte to 1 ; lintaro: ignorer LT99999\nEnd\n";
const std::string kDirectiveLine =
    "d.txt:3: warning: alerte, le code \"LT99999\" de la directive lintaro n'existe pas. [LT901]\n";

TEST(ScrutinetteStdin, ReportOfStandardInputIsTheFileReportAndWritesNothing) {
  test::TempDir dir;
  test::writeFile("mixte.txt", kMixed);
  for (const Args& options : {Args{}, Args{"--sans-infos", "--sans-alertes", "--tribunal"}}) {
    Args fileArgs = options;
    fileArgs.push_back("mixte.txt");
    const Outcome file = scrutinette(fileArgs);
    ASSERT_EQ(file.status, kExitErrorsFound) << file.err;
    const std::vector<std::string> before = listing();

    Args stdinArgs = options;
    stdinArgs.push_back("-");
    const Outcome piped = scrutinette(stdinArgs, kMixed);
    EXPECT_EQ(piped.status, kExitErrorsFound) << piped.err;
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(piped.out, test::readFile("Correction de mixte.txt"));
    EXPECT_EQ(listing(), before) << "a check of standard input leaves no file";
  }
}

TEST(ScrutinetteIgnorer, SilencedCodesLeaveEveryOutput) {
  test::TempDir dir;
  test::writeFile("d.txt", kDirective);
  const std::string clean = "Aucun bug n'a été trouvé sur ce script.";
  const struct {
    Args args;
    int status;
    bool whole;  // `out` is the whole output, else a piece of it
    std::string out;
    std::string err;
  } cases[] = {
      {{"--sortie", "gcc", "d.txt"}, kExitClean, true, kDirectiveLine, ""},
      {{"--sortie", "gcc", "--ignorer", "LT901", "d.txt"}, kExitClean, true, "", ""},
      {{"--sortie=gcc", "--ignorer", "lt901", "-"}, kExitClean, true, "", ""},
      {{"--ignorer", "LT901,LT901", "d.txt"}, kExitClean, false, clean, ""},
      {{"d.txt"}, kExitClean, false, "\"LT99999\"", ""},
      {{"--sortie", "json", "--ignorer", "LT901", "d.txt"},
       kExitClean,
       false,
       "\"findings\":[]",
       ""},
      {{"--ignorer", "LT9999", "d.txt"},
       kExitFailure,
       true,
       "",
       "scrutinette : code inconnu « LT9999 » (--ignorer)\nEssayez « scrutinette --help ».\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args.back());
    const Outcome run = scrutinette(c.args, kDirective);
    EXPECT_EQ(run.status, c.status);
    if (c.whole) {
      EXPECT_EQ(run.out, c.out);
    } else {
      EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    }
    EXPECT_EQ(run.err, c.err);
  }
  // The report file of texte obeys --ignorer too.
  scrutinette({"--ignorer", "LT901", "d.txt"});
  EXPECT_NE(test::readFile("Correction de d.txt").find(clean), std::string::npos);
}

TEST(ScrutinetteExpliquer, PrintsTheCatalogueEntry) {
  test::TempDir dir;
  const Outcome run = scrutinette({"--expliquer", "lt901", "ignoré.txt"});
  EXPECT_EQ(run.status, kExitClean);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "LT901 (alerte) directive-code-inconnu\n"
            "Message : alerte, le code \"{code}\" de la directive lintaro n'existe pas.\n"
            "\n"
            "Une directive « ; lintaro: ignorer » ne nomme que des codes du catalogue "
            "(scrutinette --expliquer CODE). Un code mal orthographié ne fait taire aucune "
            "alerte : vérifiez-le.\n"
            "\n"
            "Exemple fautif :\n"
            "    Set x to 1 ; lintaro: ignorer LT99999\n"
            "Correction :\n"
            "    Set x to 1 ; lintaro: ignorer LT201\n");
}

TEST(ScrutinetteOptions, NewOptionsRefuseBadValues) {
  test::TempDir dir;
  test::writeFile("a.txt", kMixed);
  const std::string retry = "\nEssayez « scrutinette --help ».\n";
  const struct {
    Args args;
    std::string err;
  } cases[] = {
      {{"--sortie", "xml", "a.txt"},
       "forme de sortie inconnue « xml » (texte, gcc, json ou sarif)"},
      {{"a.txt", "--sortie"}, "l'option « --sortie » attend une valeur."},
      {{"-j", "0", "a.txt"}, "-j attend un nombre de scripts de 1 à 256 (« 0 »)"},
      {{"-j", "257", "a.txt"}, "-j attend un nombre de scripts de 1 à 256 (« 257 »)"},
      {{"-j", "2x", "a.txt"}, "-j attend un nombre de scripts de 1 à 256 (« 2x »)"},
      {{"--expliquer", "LT0"}, "code inconnu « LT0 »"},
      {{"--diff", "a.txt"}, "--diff ne s'emploie qu'avec --format."},
      {{"--format", "--verifier-format", "a.txt"},
       "--format et --verifier-format ne s'emploient pas ensemble."},
      {{"--verifier-format"}, "aucun fichier à mettre en forme."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front());
    const Outcome run = scrutinette(c.args);
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "scrutinette : " + c.err + retry);
  }
  EXPECT_FALSE(test::fileExists("Correction de a.txt"));
}

TEST(SarifOutput, ArtifactUrisAreRelativeAndPercentEncoded) {
  test::TempDir dir;
  const std::string here = fs::current_path().string();
  const struct {
    std::string path, uri;
  } cases[] = {
      {"a b/l'été.txt", "a%20b/l%27%C3%A9t%C3%A9.txt"},
      {"./x/../y.txt", "y.txt"},
      {"a:b#c?.txt", "a%3Ab%23c%3F.txt"},
      {here + "/sous/z.TXT", "sous/z.TXT"},
      {"../voisin/v.txt", "../voisin/v.txt"},
      {"-", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(artifactUri(c.path), c.uri) << c.path;
}

}  // namespace
}  // namespace lintaro
