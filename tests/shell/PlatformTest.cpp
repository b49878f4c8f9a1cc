// The system side of the window: xdg-open through a stand-in script on PATH,
// the current and program directories, the terminal start.
#include "shell/Platform.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

#ifndef _WIN32
// The POSIX implementation: xdg-open and a terminal emulator found on PATH.

// Puts a stand-in xdg-open first on PATH for the life of the object: it
// records its argument in "ouverts.txt" and exits with `status`.
class FakeOpener {
 public:
  FakeOpener(const std::string& dir, int status) : previous_(std::getenv("PATH")) {
    std::filesystem::create_directory(dir + "/bin");
    const std::string script = dir + "/bin/xdg-open";
    writeFile(script, "#!/bin/sh\necho \"$1\" >>\"" + dir + "/ouverts.txt\"\nexit " +
                          std::to_string(status) + "\n");
    chmod(script.c_str(), 0755);
    test::setEnvironment("PATH", dir + "/bin:" + previous_);
  }
  ~FakeOpener() { test::setEnvironment("PATH", previous_); }
  FakeOpener(const FakeOpener&) = delete;
  FakeOpener& operator=(const FakeOpener&) = delete;

 private:
  std::string previous_;
};

TEST(Platform, OpensThroughXdgOpenAndReadsItsStatus) {
  TempDir dir;
  writeFile("rapport.txt", "r");
  const std::string report = dir.path() + "/rapport.txt";
  {
    FakeOpener opener(dir.path(), 0);
    EXPECT_TRUE(openWithDefaultProgram(report));
    EXPECT_TRUE(openWithDefaultProgram("https://forum.test/page"));
    // A missing file is refused before any opener runs.
    EXPECT_FALSE(openWithDefaultProgram(dir.path() + "/absent.txt"));
    EXPECT_FALSE(openWithDefaultProgram(""));
  }
  EXPECT_EQ(readFile("ouverts.txt"), report + "\nhttps://forum.test/page\n");
  {
    FakeOpener opener(dir.path(), 3);
    EXPECT_FALSE(openWithDefaultProgram(report));
  }
}

#endif  // !_WIN32

TEST(Platform, Directories) {
  TempDir dir;
  EXPECT_EQ(std::filesystem::path(currentDirectory()), std::filesystem::current_path());
  const std::string program = programDirectory();
  ASSERT_FALSE(program.empty());
  EXPECT_TRUE(std::filesystem::is_directory(program));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(program) / LINTARO_TESTS_FILE_NAME));
}

TEST(Platform, ConfigFolderFromTheEnvironment) {
  struct Case {
    std::map<std::string, std::string> env;
    bool windows;
    std::string folder;
  };
  const Case cases[] = {
      {{{"APPDATA", "C:\\Users\\Ana\\AppData\\Roaming"}, {"HOME", "/home/ana"}},
       true,
       "C:\\Users\\Ana\\AppData\\Roaming\\Lintaro"},
      // Windows reads APPDATA only.
      {{{"XDG_CONFIG_HOME", "/xdg"}, {"HOME", "/home/ana"}}, true, ""},
      {{{"APPDATA", ""}}, true, ""},
      {{{"APPDATA", "C:\\AppData"}, {"XDG_CONFIG_HOME", "/xdg"}}, false, "/xdg/lintaro"},
      // A relative XDG_CONFIG_HOME is ignored.
      {{{"XDG_CONFIG_HOME", "xdg"}, {"HOME", "/home/ana"}}, false, "/home/ana/.config/lintaro"},
      {{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/ana"}}, false, "/home/ana/.config/lintaro"},
      {{{"HOME", ""}}, false, ""},
      {{}, false, ""},
  };
  for (const Case& c : cases) {
    const auto reader = [&c](const char* name) {
      const auto found = c.env.find(name);
      return found == c.env.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(configFolder(reader, c.windows), c.folder) << c.folder;
  }
  // This process's own environment.
#ifdef _WIN32
  const char* variable = "APPDATA";
  const std::string expected = "C:\\conf-essai\\Lintaro";
#else
  const char* variable = "XDG_CONFIG_HOME";
  const std::string expected = "/conf-essai/lintaro";
#endif
  const char* previous = std::getenv(variable);
  const std::string saved = previous != nullptr ? previous : "";
  test::setEnvironment(variable, expected.substr(0, expected.size() - 8));
  EXPECT_EQ(userConfigDirectory(), expected);
  if (previous != nullptr) {
    test::setEnvironment(variable, saved);
  } else {
    test::unsetEnvironment(variable);
  }
}

#ifndef _WIN32
TEST(Platform, StartsTheConsoleInATerminal) {
  TempDir dir;
  writeFile("console", "#!/bin/sh\n");
  chmod("console", 0755);
  const std::string program = dir.path() + "/console";
  // Only stand-in terminals on PATH: x-terminal-emulator records its
  // arguments and exits with the status written in "statut" (shell
  // built-ins only: nothing else is on PATH).
  std::filesystem::create_directory("bin");
  writeFile("bin/x-terminal-emulator", "#!/bin/sh\necho \"$@\" >>\"" + dir.path() +
                                           "/terminal.txt\"\nread s <\"" + dir.path() +
                                           "/statut\"\nexit $s\n");
  chmod("bin/x-terminal-emulator", 0755);
  const std::string previous = std::getenv("PATH");
  test::setEnvironment("PATH", dir.path() + "/bin");
  writeFile("statut", "0");
  EXPECT_TRUE(startInTerminal(program));
  // A terminal that fails, and no xterm to fall back on.
  writeFile("statut", "1");
  EXPECT_FALSE(startInTerminal(program));
  // Not an executable program: no terminal is started.
  writeFile("texte", "pas un programme");
  EXPECT_FALSE(startInTerminal(dir.path() + "/texte"));
  EXPECT_FALSE(startInTerminal(dir.path() + "/absent"));
  test::setEnvironment("PATH", previous);
  EXPECT_EQ(readFile("terminal.txt"), "-e " + program + "\n-e " + program + "\n");
}

#endif  // !_WIN32

}  // namespace
}  // namespace lintaro
