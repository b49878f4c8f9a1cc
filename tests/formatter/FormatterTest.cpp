// The formatter: the golden cases of tests/formatter/golden (each also
// formatted twice and from a scrambled indentation; the "refus_" cases hold
// the chain checks), idempotence over the check suite's scripts, and the file
// handling: a script that cannot be written (read-only, file size limit, full
// disk) is never lost.
#include "formatter/MainMiseEnForme.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "console/Scrutinette.h"
#include "core/ScriptInput.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;

const std::string kGoldenDir = std::string(LINTARO_GOLDEN_DIR) + "/../formatter/golden";

// An unformatted script and its formatted text.
const std::string kRaw = "Begin t\n  if ( a )\nset b to(1)\n  endif\nEnd\n";
const std::string kFormatted = "Begin t\nif ( a )\n\tset b to ( 1 )\nendif\nEnd\n";

std::vector<std::string> goldenCases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".input") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The same text with the blanks and tabs at the start of every line replaced
// by a random mix (none to five); line ends and a byte-order mark stay.
std::string scrambleIndentation(const std::string& text, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out;
  std::size_t p = 0;
  if (text.starts_with("\xEF\xBB\xBF")) {
    out = "\xEF\xBB\xBF";
    p = 3;
  }
  bool lineStart = true;
  for (; p <= text.size(); ++p) {
    if (lineStart) {
      while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
        ++p;
      const int count = static_cast<int>(rng() % 6);
      for (int i = 0; i < count; ++i)
        out.push_back(rng() % 2 != 0 ? ' ' : '\t');
      lineStart = false;
    }
    if (p == text.size()) break;
    out.push_back(text[p]);
    if (text[p] == '\n' || (text[p] == '\r' && (p + 1 == text.size() || text[p + 1] != '\n')))
      lineStart = true;
  }
  return out;
}

// mainMEF on a file holding `bytes`; the file's bytes afterwards.
struct FileOutcome {
  int result;
  std::string bytes;
};
FileOutcome formatFile(const std::string& bytes, const std::string& name = "script.txt") {
  test::writeFile(name, bytes);
  const int result = mainMEF(name);
  return {result, test::readFile(name)};
}

class FormatGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(FormatGolden, FileBytesAndResult) {
  const std::string base = kGoldenDir + "/" + GetParam();
  const std::string input = test::readFile(base + ".input");
  const bool changes = test::fileExists(base + ".golden");
  const std::string expected = changes ? test::readFile(base + ".golden") : input;
  const int expectedResult =
      test::fileExists(base + ".result") ? std::stoi(test::readFile(base + ".result")) : 1;

  test::TempDir dir;
  const FileOutcome once = formatFile(input);
  EXPECT_EQ(once.result, expectedResult);
  EXPECT_EQ(once.bytes, expected);
  if (expectedResult != kFormatRewritten) {
    EXPECT_FALSE(changes) << "a refused case has no .golden";
  }
  // Nothing but the script is left in the directory.
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);

  // Formatting the result again changes nothing (or is refused the same way).
  const FileOutcome twice = formatFile(once.bytes);
  EXPECT_EQ(twice.result, expectedResult);
  EXPECT_EQ(twice.bytes, expected);

  // Whatever the indentation, the same text comes back.
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const std::string scrambled = scrambleIndentation(expected, seed);
    const FileOutcome again = formatFile(scrambled);
    EXPECT_EQ(again.result, expectedResult) << "seed " << seed;
    EXPECT_EQ(again.bytes, expectedResult == kFormatRewritten ? expected : scrambled)
        << "seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatGolden, ::testing::ValuesIn(goldenCases()),
                         [](const auto& param) { return param.param; });

// Every script of the check suite's golden cases formats to a text that a
// second formatting leaves as it is.
TEST(FormatIdempotence, CheckSuiteScripts) {
  int formatted = 0;
  for (const auto& entry : fs::directory_iterator(LINTARO_GOLDEN_DIR)) {
    if (entry.path().extension() != ".script") continue;
    const std::string bytes = test::readFile(entry.path().string());
    std::string once;
    const int result = formatScriptText(bytes, once);
    if (result != kFormatRewritten) continue;
    ++formatted;
    std::string twice;
    ASSERT_EQ(formatScriptText(once, twice), kFormatRewritten) << entry.path();
    EXPECT_EQ(twice, once) << entry.path();
  }
  EXPECT_GT(formatted, 20);
}

// The corners where the formatting rules are not idempotent: the first
// formatting, then the second, which differs.
TEST(FormatCorners, SecondFormattingDiffers) {
  struct Case {
    std::string input;
    std::string once;
    int secondResult;
    std::string twice;  // when the second formatting succeeds
  };
  const std::vector<Case> cases = {
      // "if)" is no block line; "if )" is one, and it is never closed.
      {"x\nif)\n", "x\nif )\n", kFormatBadChain, ""},
      // The blank added after the vertical tab is indentation the next time.
      {"if a\n\v(x)\nendif\n", "if a\n\t ( x )\nendif\n", kFormatRewritten,
       "if a\n\t( x )\nendif\n"},
      // Mark bytes after blanks become the file's byte-order mark.
      {" \xEF\xBB\xBF  x\n", "\xEF\xBB\xBF  x\n", kFormatRewritten, "\xEF\xBB\xBFx\n"},
  };
  for (const Case& c : cases) {
    std::string once;
    ASSERT_EQ(formatScriptText(c.input, once), kFormatRewritten) << c.input;
    EXPECT_EQ(once, c.once);
    std::string twice;
    EXPECT_EQ(formatScriptText(once, twice), c.secondResult) << c.input;
    EXPECT_EQ(twice, c.twice) << c.input;
  }
}

TEST(FormatFile, MissingFileOrDirectoryCannotBeRead) {
  test::TempDir dir;
  EXPECT_EQ(mainMEF("absent.txt"), kFormatUnreadable);
  EXPECT_FALSE(test::fileExists("absent.txt"));
  fs::create_directory("dossier");
  EXPECT_EQ(mainMEF("dossier"), kFormatUnreadable);
  EXPECT_TRUE(fs::is_directory("dossier"));
}

#ifdef _WIN32
// Another program holds the script open without letting it be deleted (an
// editor, a virus scanner): the new file cannot take its place, the script
// keeps its bytes and no temporary file is left.
TEST(FormatFile, ReplacementRefusedLeavesTheScriptByteForByte) {
  test::TempDir dir;
  test::writeFile("script.txt", kRaw);
  HANDLE held = CreateFileW(L"script.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const int result = mainMEF("script.txt");
  CloseHandle(held);
  EXPECT_EQ(result, kFormatUnwritable);
  EXPECT_EQ(test::readFile("script.txt"), kRaw);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
  EXPECT_EQ(mainMEF("script.txt"), kFormatRewritten);
  EXPECT_EQ(test::readFile("script.txt"), kFormatted);
}
#else
// What follows needs POSIX file facilities (fifos, modes and links, file size
// limits, mount).

// Only a regular file is read: an endless device, or a pipe without a writer,
// would hold the formatter for ever. A file larger than a script is refused
// once past the limit, and left as it was.
TEST(FormatFile, DevicesPipesAndHugeFilesAreRefused) {
  test::TempDir dir;
  ASSERT_EQ(mkfifo("tube", 0600), 0);
  EXPECT_EQ(mainMEF("tube"), kFormatUnwritable);
  if (fs::exists("/dev/zero")) {
    EXPECT_EQ(mainMEF("/dev/zero"), kFormatUnwritable);
  }
  test::writeFile("grand.txt", kRaw);
  fs::resize_file("grand.txt", kMaxScriptBytes + 1);
  EXPECT_EQ(mainMEF("grand.txt"), kFormatTooLarge);
  EXPECT_EQ(fs::file_size("grand.txt"), kMaxScriptBytes + 1);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
  EXPECT_EQ(formatResultMessage(kFormatTooLarge, "grand.txt"),
            "Le fichier \"grand.txt\" dépasse 25 Mo : ce n'est pas un script Morrowind (5000 "
            "lignes de 4999 caractères au plus).");
}

TEST(FormatFile, ModeIsKeptAndALinkStaysALink) {
  test::TempDir dir;
  test::writeFile("vrai.txt", kRaw);
  fs::permissions("vrai.txt",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("vrai.txt", "lien.txt");
  EXPECT_EQ(mainMEF("lien.txt"), kFormatRewritten);
  EXPECT_TRUE(fs::is_symlink("lien.txt"));
  EXPECT_EQ(test::readFile("vrai.txt"), kFormatted);
  EXPECT_EQ(fs::status("vrai.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A file the user may not write stays as it is even though the directory
// would let it be replaced. Root may write anything: skipped.
TEST(FormatFile, ReadOnlyFileOrDirectoryLeavesTheScript) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  test::TempDir dir;
  test::writeFile("script.txt", kRaw);
  fs::permissions("script.txt", fs::perms::owner_read);
  EXPECT_EQ(mainMEF("script.txt"), kFormatUnwritable);
  EXPECT_EQ(test::readFile("script.txt"), kRaw);
  fs::create_directory("ro");
  test::writeFile("ro/script.txt", kRaw);
  fs::permissions("ro", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(mainMEF("ro/script.txt"), kFormatUnwritable);
  fs::permissions("ro", fs::perms::owner_all);
  EXPECT_EQ(test::readFile("ro/script.txt"), kRaw);
  EXPECT_EQ(std::distance(fs::directory_iterator("ro"), fs::directory_iterator()), 1);
}

// Writing fails part way (the process may not write files longer than a few
// bytes, as on a full disk): the script keeps its bytes, no temporary file is
// left, and the console says so. Runs for every user, root included.
TEST(FormatFile, WriteFailureLeavesTheScriptByteForByte) {
  test::TempDir dir;
  const std::string script = kRaw + std::string(2000, ';') + "\n";
  test::writeFile("script.txt", script);
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = previous;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette({"--format", "script.txt"}, out, err);
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(status, kExitFailure);
  EXPECT_EQ(err.str(), "Impossible d'écrire le fichier \"script.txt\" ! Il n'a pas été modifié.\n");
  EXPECT_EQ(test::readFile("script.txt"), script);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

// A real full disk: a small tmpfs filled to the last byte. Needs the right to
// mount (root on most systems): skipped otherwise.
TEST(FormatFile, FullDiskLeavesTheScriptByteForByte) {
  test::TempDir dir;
  fs::create_directory("disque");
  if (mount("lintaro", "disque", "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  struct Unmount {
    ~Unmount() { umount("disque"); }
  } unmount;
  const std::string script = kRaw + std::string(8000, ';') + "\n";
  test::writeFile("disque/script.txt", script);
  // Fill the rest of the disk.
  {
    std::FILE* filler = std::fopen("disque/plein", "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);
    std::FILE* byte = std::fopen("disque/plein", "ab");
    ASSERT_NE(byte, nullptr);
    while (std::fputc('x', byte) != EOF && std::fflush(byte) == 0) {
    }
    std::fclose(byte);
  }
  const int result = mainMEF("disque/script.txt");
  const std::string after = test::readFile("disque/script.txt");
  const auto entries = std::distance(fs::directory_iterator("disque"), fs::directory_iterator());
  EXPECT_EQ(result, kFormatUnwritable);
  EXPECT_EQ(after, script);
  EXPECT_EQ(entries, 2);  // the script and the filler: no temporary file left
}

#endif  // !_WIN32

}  // namespace
}  // namespace lintaro
