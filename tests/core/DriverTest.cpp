// The check run driver: result codes, the line limit, the life of the work
// files and of the report, bytes that every pass must read as ordinary
// characters; the decoding of script bytes, the result messages and the
// journal's record layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/ScriptInput.h"
#include "core/WorkFiles.h"
#include "run/MainDebug.h"
#include "run/WorkFileMirrors.h"
#include "tests/ReportTexts.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;

const std::string kHeader = test::kTitle + test::kUnderline24;
std::string unclaimedAt(int line) {
  return "    - Ligne " + std::to_string(line) + " : impossible de détecter la syntaxe !\n";
}
std::string beforeHeaderAt(int line) {
  return "    - Ligne " + std::to_string(line) +
         " : vous avez entré des lignes de code avant l'en-tête \"Begin NOM\" !\n";
}

void expectNoWorkFiles() {
  for (const char* name : kWorkFileNames)
    EXPECT_FALSE(test::fileExists(name)) << name << " left behind";
}

void fillWorkFiles() {
  for (const char* name : kWorkFileNames)
    test::writeFile(name, "left by an earlier run");
}

class DriverTest : public ::testing::Test {
 protected:
  test::TempDir dir;
};

TEST_F(DriverTest, FiveThousandLinesAtMost) {
  const test::CheckOutcome last = test::check(std::string(4999, '\n') + "endif");
  EXPECT_EQ(last.result, kResultReportWritten);
  EXPECT_EQ(last.errors, 2);  // the block check and the line analyser reach line 5000
  EXPECT_EQ(last.report, test::native(kHeader + test::kErrorHeading +
                                      "    - Ligne 5000 : un 'endif' en trop (l'erreur a "
                                      "probablement été faite entre la ligne 4999 et la ligne "
                                      "5000).\n" +
                                      beforeHeaderAt(5000)));
  // A CR LF pair ends one line, a lone CR too.
  std::string crlf;
  for (int i = 0; i < 4999; ++i)
    crlf += "\r\n";
  EXPECT_EQ(test::check(crlf).result, kResultReportWritten);
  EXPECT_EQ(test::check(std::string(4999, '\r')).result, kResultReportWritten);
  EXPECT_EQ(test::check(std::string(5000, '\r')).result, kResultTooManyLines);

  // Refused: the work files are left empty, the older report and the count untouched.
  fillWorkFiles();
  test::writeFile("Correction de script.txt", "older report");
  const test::CheckOutcome refused = test::check(std::string(5000, '\n'));
  EXPECT_EQ(refused.result, kResultTooManyLines);
  EXPECT_EQ(refused.errors, -1);
  EXPECT_EQ(refused.report, "older report");
  for (const char* name : kWorkFileNames) {
    ASSERT_TRUE(test::fileExists(name)) << name;
    EXPECT_EQ(fs::file_size(name), 0u) << name;
  }
}

TEST_F(DriverTest, MissingScriptGives2AndDeletesTheWorkFiles) {
  fillWorkFiles();
  int errors = -1;
  EXPECT_EQ(mainDebug("absent.txt", &errors, 1, 0, 0, 0), kResultScriptUnreadable);
  EXPECT_EQ(errors, -1);
  expectNoWorkFiles();
  EXPECT_FALSE(test::fileExists("Correction de absent.txt"));
  fs::create_directories("folder");  // opens, but cannot be read
  EXPECT_EQ(mainDebug("folder", &errors, 1, 0, 0, 0), kResultScriptUnreadable);
  EXPECT_FALSE(test::fileExists("Correction de folder"));
}

// Larger than a script can be, or endless: refused like a missing script,
// without reading past the limit.
TEST_F(DriverTest, TooLargeScriptGives4LikeAMissingOne) {
  fillWorkFiles();
  test::writeFile("grand.txt", "");
  fs::resize_file("grand.txt", kMaxScriptBytes + 1);
  int errors = -1;
  EXPECT_EQ(mainDebug("grand.txt", &errors, 1, 0, 0, 0), kResultScriptTooLarge);
  EXPECT_EQ(errors, -1);
  expectNoWorkFiles();
  EXPECT_FALSE(test::fileExists("Correction de grand.txt"));
  if (fs::exists("/dev/zero")) {
    EXPECT_EQ(mainDebug("/dev/zero", &errors, 1, 0, 0, 0), kResultScriptTooLarge);
    EXPECT_FALSE(test::fileExists("Correction de zero"));
  }
}

TEST_F(DriverTest, UnopenableWorkFileGives10Or21WithoutAReport) {
  // The journal: the declaration scans ran before, the store holds their record.
  fs::create_directories(std::string(kJournalFileName) + "/x");
  EXPECT_EQ(test::check("short a\nendif\n").result, kResultJournalUnopenable);
  EXPECT_FALSE(test::fileExists("Correction de script.txt"));
  EXPECT_EQ(fs::file_size(kInfoFileName), 56u);
  fs::remove_all(kJournalFileName);
  fs::remove(kInfoFileName);

  fs::create_directories(std::string(kInfoFileName) + "/x");
  EXPECT_EQ(test::check("short a\nendif\n").result, kResultScanInfoUnopenable);
  EXPECT_FALSE(test::fileExists("Correction de script.txt"));
  EXPECT_EQ(fs::file_size(kJournalFileName), 0u);
}

TEST_F(DriverTest, ReportUnopenableGives3ReportNotWrittenWholeGives0) {
  test::writeFile("x.txt", "if\n");
  fs::create_directories("Correction de x.txt/y");
  int errors = -1;
  std::string failure;
  EXPECT_EQ(mainDebug("x.txt", &errors, 1, 0, 0, 0, &failure), kResultWorkFileFailure);
  EXPECT_EQ(failure, "Erreur : impossible d'ouvrir le fichier \"Correction de x.txt\" !\n\n");

  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::remove_all("Correction de x.txt");
  fs::create_symlink("/dev/full", "Correction de x.txt");
  EXPECT_EQ(mainDebug("x.txt", &errors, 1, 0, 0, 0), kResultReportUnreadable);
  EXPECT_EQ(errors, 2);  // the unclaimed "if" line and the missing "endif"
  expectNoWorkFiles();
}

TEST_F(DriverTest, ReportOfAPathIsNamedAfterItsBaseInTheCurrentDirectory) {
  fs::create_directories("sub/dir");
  test::writeFile("sub/dir/x.txt", "if\n");
  for (const std::string& path : {std::string("sub/dir/x.txt"), dir.path() + "/sub/dir/x.txt"}) {
    int errors = -1;
    EXPECT_EQ(mainDebug(path, &errors, 1, 0, 0, 0), kResultReportWritten);
    EXPECT_EQ(errors, 2);
    EXPECT_EQ(test::readFile("Correction de x.txt"),
              test::native(kHeader + test::kErrorHeading + unclaimedAt(1) +
                           "    - Il y a 1 'endif' manquant dans le script.\n"));
    fs::remove("Correction de x.txt");
    expectNoWorkFiles();
    EXPECT_EQ(std::distance(fs::directory_iterator("sub/dir"), fs::directory_iterator()), 1);
  }
}

TEST_F(DriverTest, NulAndFFAreOrdinaryBytes) {
  // 0xFF ends nothing: every pass reads past it. A NUL ends the text of its
  // line for the line analyser alone, so that line 4 reads as "if" there but
  // not for the block check.
  static constexpr char kScript[] = "\xFF\nshort a\0b\n\xFF\nif\0x\nendif";
  const test::CheckOutcome out = test::check(std::string(kScript, sizeof kScript - 1));
  EXPECT_EQ(out.errors, 5);
  EXPECT_EQ(out.report,
            test::native(kHeader + test::kErrorHeading + unclaimedAt(1) + unclaimedAt(3) +
                         unclaimedAt(4) +
                         "    - Ligne 5 : un 'endif' en trop (l'erreur a probablement été faite "
                         "entre la ligne 4 et la ligne 5).\n" +
                         beforeHeaderAt(5) + test::kLocal + "    - \"a\" (type SHORT)\n"));
}

TEST(ScriptDecoding, Utf8OrElseWindows1252AndEveryLineEndALineFeed) {
  const struct {
    std::string raw;
    std::string decoded;
  } cases[] = {
      // clang-format off
      {"caf\xC3\xA9", "caf\xE9"}, {"\xC3\xBF", "\xFF"},
      {"\xE2\x82\xAC", "\x80"}, {"\xC5\x93", "\x9C"},  // the euro sign, oe ligature
      {"a\xE2\x98\x83z", "a?z"}, {"\xF0\x9F\x98\x80", "?"},  // not in the code page
      // A byte-order mark goes at the start only.
      {"\xEF\xBB\xBF\r\n", "\n"}, {"a\xEF\xBB\xBF", "a?"},
      // Not UTF-8: taken as Windows-1252, the mark still goes. Overlong, surrogate, cut short.
      {"caf\xE9 \xC3\xA9", "caf\xE9 \xC3\xA9"}, {"\xEF\xBB\xBF\xE9\r", "\xE9\n"},
      {"\xC0\xAF", "\xC0\xAF"}, {"\xED\xA0\x80", "\xED\xA0\x80"}, {"ab\xC3", "ab\xC3"},
      {"a\r\nb\rc\n\rd\r\r\n", "a\nb\nc\n\nd\n\n"},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(decodeScriptBytes(c.raw), c.decoded) << c.raw;
}

TEST(Encoding, EveryWindows1252ByteSurvivesARoundTripThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = cp1252ToUtf8(one);
    ASSERT_TRUE(isValidUtf8(utf8)) << b;
    EXPECT_EQ(utf8ToCp1252(utf8), one) << b;
  }
  EXPECT_EQ(cp1252ToUtf8("caf\xE9 \x80 \x81"), "café € \xC2\x81");
}

TEST(ResultMessage, TextsShownForEachResult) {
  const struct {
    int result;
    std::string text;
  } cases[] = {
      {1, "Un rapport d'erreur a ete créé dans le fichier \"Correction de x.txt\""},
      {0, "Impossible d'écrire le fichier \"Correction de x.txt\" !"},
      {2, "Impossible d'ouvrir le fichier \"sub/x.txt\" !"},
      {4,
       "Le fichier \"sub/x.txt\" dépasse 25 Mo : ce n'est pas un script Morrowind (5000 lignes "
       "de 4999 caractères au plus)."},
      {10, "Impossible d'ouvrir le fichier DbTempTES3 depuis EnchaineTests"},
      {20,
       "Impossible d'ouvrir le fichier \"sub/x.txt\" depuis le fichier source \"strDetectVar\" !"},
      {21, "Impossible d'ouvrir le fichier InfTempTES3 depuis \"strDetectVar\" !"},
      {666,
       "Plus de 5000 lignes dans votre script : le débugueur ne peut pas le gérer ! Scindez le "
       "en parties distinctes si vous souhaitez tout de même faire la vérification syntaxique."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(resultMessage(c.result, "sub/x.txt"), c.text);
}

// Line (int32 LE), text (200 bytes, NUL-terminated, cut at 199), kind (int32 LE).
TEST(JournalRecord, LayoutOf208Bytes) {
  test::TempDir dir;
  JournalFile file("journal.bin");
  Journal journal;
  journal.setMirror(&file);
  // Texts given whole, with the kinds of their rows: an error, then an alert.
  journal.add(kWholeScript, Diag::kSyntaxeInconnue, std::string(199, 'a'), "");
  journal.report(4, Diag::kDirectiveCodeInconnu, "", "x");
  journal.reportScript(Diag::kNomCommencantParUnderscore, "", std::string(250, 'b'));
  EXPECT_EQ(journal[2].text.size(), 199u);  // cut at 199 characters
  file.close();
  const auto record = [](std::string_view line, std::string_view text, char kind) {
    return std::string(line) + std::string(text) + std::string(200 - text.size(), '\0') + kind +
           std::string(3, '\0');
  };
  using namespace std::string_view_literals;
  EXPECT_EQ(test::readFile("journal.bin"), record("\xFF\xFF\xFF\xFF"sv, std::string(199, 'a'), 2) +
                                               record("\x04\0\0\0"sv, journal[1].text, 1) +
                                               record("\xFF\xFF\xFF\xFF"sv, journal[2].text, 1));
  EXPECT_TRUE(journal[1].text.starts_with("    - Ligne 5 : alerte, le code \"x\""));
}

}  // namespace
}  // namespace lintaro
