// The bounded reader of script input: what it reads whole, what it refuses as
// too large (files, pipes, endless devices, streams) and what it cannot read.
#include "core/ScriptInput.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Input bytes against limits around their size; `expected` is kRead with the
// bytes, or the refusal.
struct SizeCase {
  const char* what;
  std::string bytes;
  std::size_t limit;
  InputStatus expected;
};

const SizeCase kSizeCases[] = {
    {"empty", "", 0, InputStatus::kRead},
    {"empty under a limit", "", 5, InputStatus::kRead},
    {"exactly the limit", "a\r\n\0\xFF"s, 5, InputStatus::kRead},
    {"one byte past the limit", "a\r\n\0\xFF"s, 4, InputStatus::kTooLarge},
    {"nothing allowed", "x", 0, InputStatus::kTooLarge},
    // Larger than one 64 KiB chunk, on both sides of the limit.
    {"several chunks", std::string(200'000, ';'), 200'000, InputStatus::kRead},
    {"several chunks, too many", std::string(200'001, ';'), 200'000, InputStatus::kTooLarge},
};

void expectOutcome(const ScriptInput& input, const SizeCase& c, const char* source) {
  EXPECT_EQ(input.status, c.expected) << c.what << " (" << source << ")";
  EXPECT_EQ(input.bytes, c.expected == InputStatus::kRead ? c.bytes : std::string())
      << c.what << " (" << source << ")";
}

TEST(ScriptInput, FilesFifosAndStreamsWithinTheLimit) {
  test::TempDir dir;
  for (const SizeCase& c : kSizeCases) {
    test::writeFile("script.txt", c.bytes);
    expectOutcome(readScriptInput("script.txt", c.limit), c, "file");

    std::istringstream stream(c.bytes);
    expectOutcome(readScriptStream(stream, c.limit), c, "stream");

#ifndef _WIN32
    // A named pipe has no size: its writer is still writing when the reader
    // stops, and sees the pipe closed then.
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    std::thread writer([&c] {
      std::FILE* out = std::fopen("pipe", "wb");
      if (out == nullptr) return;
      std::fwrite(c.bytes.data(), 1, c.bytes.size(), out);
      std::fclose(out);
    });
    const ScriptInput piped = readScriptInput("pipe", c.limit);
    writer.join();
    expectOutcome(piped, c, "pipe");
    fs::remove("pipe");
#endif
  }
}

TEST(ScriptInput, EndlessDeviceIsTooLarge) {
  if (!fs::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero here";
  const ScriptInput input = readScriptInput("/dev/zero", 100'000);
  EXPECT_EQ(input.status, InputStatus::kTooLarge);
  EXPECT_TRUE(input.bytes.empty());
}

TEST(ScriptInput, MissingFileAndFolderAreUnreadable) {
  test::TempDir dir;
  fs::create_directory("dossier");
  for (const char* path : {"absent.txt", "dossier", ""}) {
    const ScriptInput input = readScriptInput(path);
    EXPECT_EQ(input.status, InputStatus::kUnreadable) << path;
    EXPECT_TRUE(input.bytes.empty()) << path;
  }
}

TEST(ScriptInput, FailureMessages) {
  EXPECT_EQ(inputFailureMessage(InputStatus::kUnreadable, "sub/x.txt"),
            "Impossible d'ouvrir le fichier \"sub/x.txt\" !");
  EXPECT_EQ(inputFailureMessage(InputStatus::kTooLarge, "sub/x.txt"),
            "Le fichier \"sub/x.txt\" dépasse 25 Mo : ce n'est pas un script Morrowind (5000 "
            "lignes de 4999 caractères au plus).");
}

}  // namespace
}  // namespace lintaro
