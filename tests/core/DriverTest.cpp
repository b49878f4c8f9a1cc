// The check run driver end to end: result codes, line counting, decoding of
// the script, the life of the work files and of the report; and the small
// utilities every pass shares.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/MainDebug.h"
#include "core/MainDivers.h"
#include "core/ScriptText.h"
#include "core/WorkFiles.h"
#include "tests/ReportTexts.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;

using test::kAllHidden;
using test::kErrorHeading;
using test::kLocal;
using test::kNoFindings;
const std::string kHeader = test::kTitle + test::kUnderline24;

// Findings of the line analyser that these scripts, written without a
// "Begin" header and with "if" lines that no checker claims, bring with them.
std::string unclaimedAt(int line) {
  return "    - Ligne " + std::to_string(line) + " : impossible de détecter la syntaxe !\n";
}
std::string beforeHeaderAt(int line) {
  return "    - Ligne " + std::to_string(line) +
         " : vous avez entré des lignes de code avant l'en-tête \"Begin NOM\" !\n";
}

std::string shortEntry(std::string_view name) {
  return "    - \"" + std::string(name) + "\" (type SHORT)\n";
}

// 4999 CR LF pairs: 5000 lines.
std::string repeatCrLf() {
  std::string out;
  for (int i = 0; i < 4999; ++i)
    out += "\r\n";
  return out;
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

TEST_F(DriverTest, EmptyFileIsOneLineWithoutFindings) {
  const test::CheckOutcome out = test::check("");
  EXPECT_EQ(out.result, kResultReportWritten);
  EXPECT_EQ(out.errors, 0);
  EXPECT_EQ(out.report, kHeader + kNoFindings);
  expectNoWorkFiles();
}

TEST_F(DriverTest, FiveThousandLinesAreChecked) {
  // The last line reaches the block check and the line analyser, in that order.
  const test::CheckOutcome out = test::check(std::string(4999, '\n') + "endif");
  EXPECT_EQ(out.result, kResultReportWritten);
  EXPECT_EQ(out.errors, 2);
  EXPECT_EQ(out.report, kHeader + kErrorHeading +
                            "    - Ligne 5000 : un 'endif' en trop (l'erreur a probablement été "
                            "faite entre la ligne 4999 et la ligne 5000).\n" +
                            beforeHeaderAt(5000));
}

TEST_F(DriverTest, FiveThousandAndOneLinesAreRefused) {
  fillWorkFiles();
  test::writeFile("Correction de script.txt", "older report");
  const test::CheckOutcome out = test::check(std::string(5000, '\n'));
  EXPECT_EQ(out.result, kResultTooManyLines);
  EXPECT_EQ(out.errors, -1);  // untouched
  EXPECT_EQ(out.report, "older report");
  for (const char* name : kWorkFileNames) {
    ASSERT_TRUE(test::fileExists(name)) << name;
    EXPECT_EQ(fs::file_size(name), 0u) << name;
  }
}

TEST_F(DriverTest, CarriageReturnsCountTowardsTheLimitOnce) {
  EXPECT_EQ(test::check(repeatCrLf()).result, kResultReportWritten);
  EXPECT_EQ(test::check(std::string(5000, '\r')).result, kResultTooManyLines);
  EXPECT_EQ(test::check(std::string(4999, '\r')).result, kResultReportWritten);
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

TEST_F(DriverTest, UnopenableJournalGives10) {
  fs::create_directories(std::string(kJournalFileName) + "/x");
  const test::CheckOutcome out = test::check("short a\nendif\n");
  EXPECT_EQ(out.result, kResultJournalUnopenable);
  EXPECT_FALSE(test::fileExists("Correction de script.txt"));
  // The declaration scans ran before: the store holds their one record.
  EXPECT_EQ(fs::file_size(kInfoFileName), 56u);
}

TEST_F(DriverTest, UnopenableInfoStoreGives21) {
  fs::create_directories(std::string(kInfoFileName) + "/x");
  const test::CheckOutcome out = test::check("short a\nendif\n");
  EXPECT_EQ(out.result, kResultScanInfoUnopenable);
  EXPECT_FALSE(test::fileExists("Correction de script.txt"));
  EXPECT_EQ(fs::file_size(kJournalFileName), 0u);
}

TEST_F(DriverTest, UnopenableReportGives3WithItsMessage) {
  fs::create_directories("Correction de x.txt/y");
  test::writeFile("x.txt", "if\n");
  int errors = -1;
  std::string failure;
  const int result = mainDebug("x.txt", &errors, 1, 0, 0, 0, &failure);
  EXPECT_EQ(result, kResultWorkFileFailure);
  EXPECT_EQ(failure, "Erreur : impossible d'ouvrir le fichier \"Correction de x.txt\" !\n\n");
  EXPECT_EQ(resultMessage(result, "x.txt", failure),
            "Erreur : impossible d'ouvrir le fichier \"Correction de x.txt\" !");
}

TEST_F(DriverTest, ReportNotWrittenWholeGives0) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::create_symlink("/dev/full", "Correction de script.txt");
  test::writeFile("script.txt", "if\n");
  int errors = -1;
  EXPECT_EQ(mainDebug("script.txt", &errors, 1, 0, 0, 0), kResultReportUnreadable);
  EXPECT_EQ(errors, 2);  // the unclaimed "if" line and the missing "endif"
  expectNoWorkFiles();
}

TEST_F(DriverTest, OlderReportIsReplaced) {
  test::writeFile("Correction de script.txt", std::string(10000, 'x'));
  const test::CheckOutcome out = test::check("");
  EXPECT_EQ(out.report, kHeader + kNoFindings);
}

TEST_F(DriverTest, ReportOfAPathIsNamedAfterItsBaseInTheCurrentDirectory) {
  fs::create_directories("sub");
  test::writeFile("sub/x.txt", "if\n");
  int errors = -1;
  EXPECT_EQ(mainDebug("sub/x.txt", &errors, 1, 0, 0, 0), kResultReportWritten);
  EXPECT_EQ(errors, 2);
  EXPECT_EQ(test::readFile("Correction de x.txt"),
            kHeader + kErrorHeading + unclaimedAt(1) +
                "    - Il y a 1 'endif' manquant dans le script.\n");
  EXPECT_FALSE(test::fileExists("sub/Correction de x.txt"));
  expectNoWorkFiles();
}

TEST_F(DriverTest, ByteFFIsAnOrdinaryCharacter) {
  // Every pass reads past each 0xFF: the declaration scan finds "b", the line
  // analyser reports both lines made of it, and both the block check and the
  // analyser reach the last line.
  const test::CheckOutcome out = test::check("\xFF\nshort b\n\xFF\nendif");
  EXPECT_EQ(out.errors, 4);
  EXPECT_EQ(out.report, kHeader + kErrorHeading + unclaimedAt(1) + unclaimedAt(3) +
                            "    - Ligne 4 : un 'endif' en trop (l'erreur a probablement été faite "
                            "entre la ligne 3 et la ligne 4).\n" +
                            beforeHeaderAt(4) + kLocal + shortEntry("b"));
}

TEST_F(DriverTest, ErrorCountLeavesAlertsOut) {
  // One alert (the "elseif" after the "else") among seven errors: the bare
  // "if", the "elseif" that the "Else" entry claims with its "if" as a
  // parameter, the extra "endif", and four code lines before any header.
  const std::string script = "if\nelse\nelseif\nendif\nendif\n";
  const std::string alert =
      "    - Ligne 3 : alerte, un 'elseif' précédé d'un 'else' (situé à la ligne 2). Le 'elseif' "
      "ne sera donc jamais executé !\n";
  const std::string elseParameter =
      "    - Ligne 3 : erreur, la fonction Else ne prend pas de paramètre appelé !\n";
  const std::string excess = "    - Ligne 5 : un 'endif' en trop (pas de 'if' avant le 'endif').\n";
  const auto errorsAround = [&](const std::string& alertShown) {
    return kHeader + kErrorHeading + unclaimedAt(1) + beforeHeaderAt(2) + alertShown +
           elseParameter + beforeHeaderAt(3) + beforeHeaderAt(4) + excess + beforeHeaderAt(5);
  };
  test::CheckOutcome out = test::check(script);
  EXPECT_EQ(out.errors, 7);
  EXPECT_EQ(out.report, errorsAround(alert));
  Settings hide;
  hide.hideAlerts = 1;
  out = test::check(script, hide);
  EXPECT_EQ(out.errors, 7);
  EXPECT_EQ(out.report, errorsAround(""));
}

TEST_F(DriverTest, FindingOnTheSlotPastTheLastLineIsPrinted) {
  // "endif" alone: the block check reports it about line 2, the slot past the
  // end of a one-line script. A counted error is never left out of the report.
  // (The line analyser reports line 1 as code before the header.)
  const std::string expected =
      kHeader + kErrorHeading + beforeHeaderAt(1) +
      "    - Ligne 2 : un 'endif' en trop (pas de 'if' avant le 'endif').\n";
  test::CheckOutcome out = test::check("endif");
  EXPECT_EQ(out.errors, 2);
  EXPECT_EQ(out.report, expected);
  out = test::check("endif\n");
  EXPECT_EQ(out.errors, 2);
  EXPECT_EQ(out.report, expected);
}

TEST_F(DriverTest, Utf8ByteOrderMarkIsDropped) {
  const test::CheckOutcome out = test::check("\xEF\xBB\xBFshort y\nif x\n");
  EXPECT_EQ(out.report, kHeader + kErrorHeading + unclaimedAt(2) +
                            "    - Il y a 1 'endif' manquant dans le script.\n" + kLocal +
                            shortEntry("y"));
  // Only at the very start: elsewhere it is a character like any other, here
  // one that keeps "endif" from being a keyword or a command.
  EXPECT_EQ(test::check("if\n\xEF\xBB\xBF"
                        "endif\n")
                .report,
            kHeader + kErrorHeading + unclaimedAt(1) + unclaimedAt(2) +
                "    - Il y a 1 'endif' manquant dans le script.\n");
}

TEST_F(DriverTest, AccentedLettersEndADeclaredNameInEitherEncoding) {
  // The declaration scan stops at the accented letter; the line analyser's
  // declaration step reads the whole word and records it as well.
  const std::string expected =
      kHeader + kNoFindings + kLocal + shortEntry("caf") + shortEntry("caféine");
  EXPECT_EQ(test::check("short caf\xC3\xA9ine\n").report, expected);  // UTF-8
  EXPECT_EQ(test::check("short caf\xE9ine\n").report, expected);      // Windows-1252
}

TEST_F(DriverTest, LineEndsOfEveryKind) {
  const std::string expected = kHeader + kErrorHeading + unclaimedAt(1) + unclaimedAt(2) +
                               beforeHeaderAt(3) +
                               "    - Ligne 5 : un 'endif' en trop (l'erreur a probablement été "
                               "faite entre la ligne 4 et la ligne 5).\n" +
                               beforeHeaderAt(5);
  EXPECT_EQ(test::check("set\nif\nendif\n\nendif").report, expected);
  EXPECT_EQ(test::check("set\r\nif\r\nendif\r\n\r\nendif\r\n").report, expected);
  EXPECT_EQ(test::check("set\rif\rendif\r\rendif").report, expected);
  EXPECT_EQ(test::check("set\r\nif\rendif\r\r\nendif").report, expected);
  // LF then CR is two line ends.
  EXPECT_EQ(test::check("if\n\rendif\nendif").report,
            kHeader + kErrorHeading + unclaimedAt(1) + beforeHeaderAt(3) +
                "    - Ligne 4 : un 'endif' en trop (pas de 'if' avant le 'endif').\n" +
                beforeHeaderAt(4));
}

TEST_F(DriverTest, LineEndsOfAnUndecodableFile) {
  // Not UTF-8 (a lone 0xE9): taken as Windows-1252, line ends read the same.
  const std::string expected = kHeader + kErrorHeading + unclaimedAt(1) + unclaimedAt(2) +
                               beforeHeaderAt(4) +
                               "    - Ligne 5 : un 'endif' en trop (l'erreur a probablement été "
                               "faite entre la ligne 2 et la ligne 5).\n" +
                               beforeHeaderAt(5);
  EXPECT_EQ(test::check("\xE9\r\nif\r\n\r\nendif\r\nendif").report, expected);
  EXPECT_EQ(test::check("\xC3\xA9\r\nif\r\n\r\nendif\r\nendif").report, expected);
}

TEST_F(DriverTest, NulBytesAreOrdinaryCharacters) {
  // For the line analyser a NUL ends the text of its line, as in a C string:
  // the third line reads as "if".
  const test::CheckOutcome out = test::check(std::string("short a\0b\n\0\nif\0x\nendif", 22));
  EXPECT_EQ(out.errors, 3);
  EXPECT_EQ(out.report, kHeader + kErrorHeading + unclaimedAt(3) +
                            "    - Ligne 4 : un 'endif' en trop (l'erreur a probablement été faite "
                            "entre la ligne 3 et la ligne 4).\n" +
                            beforeHeaderAt(4) + kLocal + shortEntry("a"));
}

TEST(ResultMessage, TextsShownForEachResult) {
  EXPECT_EQ(resultMessage(1, "sub/x.txt"),
            "Un rapport d'erreur a ete créé dans le fichier \"Correction de x.txt\"");
  EXPECT_EQ(resultMessage(0, "x.txt"), "Impossible d'écrire le fichier \"Correction de x.txt\" !");
  EXPECT_EQ(resultMessage(2, "x.txt"), "Impossible d'ouvrir le fichier \"x.txt\" !");
  EXPECT_EQ(resultMessage(10, "x.txt"),
            "Impossible d'ouvrir le fichier DbTempTES3 depuis EnchaineTests");
  EXPECT_EQ(resultMessage(20, "x.txt"),
            "Impossible d'ouvrir le fichier \"x.txt\" depuis le fichier source \"strDetectVar\" !");
  EXPECT_EQ(resultMessage(21, "x.txt"),
            "Impossible d'ouvrir le fichier InfTempTES3 depuis \"strDetectVar\" !");
  EXPECT_EQ(
      resultMessage(666, "x.txt"),
      "Plus de 5000 lignes dans votre script : le débugueur ne peut pas le gérer ! Scindez le "
      "en parties distinctes si vous souhaitez tout de même faire la vérification "
      "syntaxique.");
}

TEST(ScriptDecoding, Utf8IsDecodedToWindows1252) {
  EXPECT_EQ(decodeScriptBytes("caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(decodeScriptBytes("\xC3\xBF"), "\xFF");
  EXPECT_EQ(decodeScriptBytes("\xE2\x82\xAC"), "\x80");   // the euro sign
  EXPECT_EQ(decodeScriptBytes("\xC5\x93"), "\x9C");       // oe ligature
  EXPECT_EQ(decodeScriptBytes("a\xE2\x98\x83z"), "a?z");  // not in the code page
  EXPECT_EQ(decodeScriptBytes("\xF0\x9F\x98\x80"), "?");
  EXPECT_EQ(decodeScriptBytes("a\xEF\xBB\xBF"), "a?");  // a byte-order mark past the start
}

TEST(ScriptDecoding, AnythingElseIsTakenAsWindows1252) {
  EXPECT_EQ(decodeScriptBytes("caf\xE9 \xC3\xA9"), "caf\xE9 \xC3\xA9");
  EXPECT_EQ(decodeScriptBytes("\xC0\xAF"), "\xC0\xAF");          // overlong
  EXPECT_EQ(decodeScriptBytes("\xED\xA0\x80"), "\xED\xA0\x80");  // surrogate
  EXPECT_EQ(decodeScriptBytes("ab\xC3"), "ab\xC3");              // cut short
  EXPECT_EQ(decodeScriptBytes("\xEF\xBB\xBF\xE9"), "\xE9");      // the mark still goes
}

TEST(ScriptDecoding, EveryLineEndBecomesALineFeed) {
  EXPECT_EQ(decodeScriptBytes("a\r\nb\rc\n\rd\r\r\n"), "a\nb\nc\n\nd\n\n");
  EXPECT_EQ(decodeScriptBytes("\xEF\xBB\xBF\r\n"), "\n");
  EXPECT_EQ(ScriptText(decodeScriptBytes("")).lineCount(), 1);
  EXPECT_EQ(ScriptText(decodeScriptBytes("a\r\n")).lineCount(), 2);
  EXPECT_EQ(ScriptText(decodeScriptBytes("a\r\nb")).lineCount(), 2);
}

TEST(TypeChar, Classes) {
  EXPECT_EQ(typeChar(';'), 1);
  EXPECT_EQ(typeChar('_'), 2);
  EXPECT_EQ(typeChar('\xE9'), 0);
  EXPECT_EQ(typeChar(0xE9), 0);
  EXPECT_EQ(typeChar('\xFF'), 0);
  EXPECT_EQ(typeChar(kEndOfFile), 0);
  EXPECT_EQ(typeChar('\0'), 0);
  for (const char c : std::string(" \t\n\v\f\r"))
    EXPECT_EQ(typeChar(c), 1) << int(c);
  for (const char c : std::string("AZaz"))
    EXPECT_EQ(typeChar(c), 2) << c;
  for (const char c : std::string("@[`{"))  // the neighbours of the letters
    EXPECT_EQ(typeChar(c), 0) << c;
  EXPECT_EQ(typeChar('0'), 3);
  EXPECT_EQ(typeChar('9'), 3);
  EXPECT_EQ(typeChar('/'), 0);
  EXPECT_EQ(typeChar(':'), 0);
  for (const char c : std::string("()\""))
    EXPECT_EQ(typeChar(c), 4) << c;
  for (const char c : std::string("=<>"))
    EXPECT_EQ(typeChar(c), 5) << c;
  EXPECT_EQ(typeChar('-'), 0);
  EXPECT_EQ(typeChar(','), 0);
}

TEST(Int2Str, DecimalWithoutLeadingZeros) {
  EXPECT_EQ(int2str(0), "0");
  EXPECT_EQ(int2str(1), "1");
  EXPECT_EQ(int2str(10), "10");
  EXPECT_EQ(int2str(5000), "5000");
  EXPECT_EQ(int2str(5002), "5002");
  EXPECT_EQ(int2str(9999999), "9999999");
}

std::int32_t int32At(const std::string& bytes, std::size_t at) {
  const auto b = [&](std::size_t k) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + k]));
  };
  return static_cast<std::int32_t>(b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24));
}

TEST(JournalRecord, LayoutOf208Bytes) {
  test::TempDir dir;
  {
    Journal journal("journal.bin");
    journal.append(-1, std::string(250, 'a'), kError, "");
    journal.finding(4, kAlert, "", " : alerte, ", "x");
    journal.append(70000, std::string("ab\0cd", 5), kError, "");
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0].text, std::string(199, 'a'));
    EXPECT_EQ(journal[1].text, "    - Ligne 5 : alerte, x");
    EXPECT_EQ(journal[2].text, "ab");
    journal.close();
  }
  const std::string bytes = test::readFile("journal.bin");
  ASSERT_EQ(bytes.size(), 3 * 208u);

  EXPECT_EQ(bytes.substr(0, 4), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(bytes.substr(4, 199), std::string(199, 'a'));
  EXPECT_EQ(bytes[203], '\0');
  EXPECT_EQ(bytes.substr(204, 4), std::string("\x02\0\0\0", 4));

  const std::string text = "    - Ligne 5 : alerte, x";
  EXPECT_EQ(int32At(bytes, 208), 4);
  EXPECT_EQ(bytes.substr(212, 200), text + std::string(200 - text.size(), '\0'));
  EXPECT_EQ(int32At(bytes, 412), 1);

  EXPECT_EQ(int32At(bytes, 416), 70000);
  EXPECT_EQ(bytes.substr(420, 3), std::string("ab\0", 3));
  EXPECT_EQ(int32At(bytes, 620), 2);
}

}  // namespace
}  // namespace lintaro
