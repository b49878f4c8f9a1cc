// The in-memory check against the file run: the same report bytes and error
// count over every golden script and generated ones, and the same results when
// many checks run at once in threads of one process (run under
// ThreadSanitizer by tools/tests.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/ScriptGenerator.h"
#include "core/Encoding.h"
#include "run/Check.h"
#include "run/MainDebug.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

// The golden scripts, then scripts made from generated ones by dropping,
// repeating and damaging lines at random (fixed seeds).
std::vector<std::string> sampleScripts(int generated) {
  std::vector<std::string> scripts;
  std::vector<std::filesystem::path> golden;
  for (const auto& entry : std::filesystem::directory_iterator(LINTARO_GOLDEN_DIR)) {
    if (entry.path().extension() == ".script") golden.push_back(entry.path());
  }
  std::sort(golden.begin(), golden.end());
  for (const auto& path : golden)
    scripts.push_back(test::readFile(path.string()));

  std::vector<std::string> lines;
  std::istringstream source(bench::generateScript(400));
  for (std::string line; std::getline(source, line);)
    lines.push_back(line);
  constexpr std::string_view kNoise = "\"(); ->_\t,.xX0";
  for (int seed = 0; seed < generated; ++seed) {
    std::mt19937 random(static_cast<unsigned>(seed));
    std::string script;
    const auto count = 5 + random() % 60;
    for (unsigned i = 0; i < count; ++i) {
      std::string line = lines[random() % lines.size()];
      if (random() % 4 == 0 && !line.empty())
        line[random() % line.size()] = kNoise[random() % kNoise.size()];
      script += line + '\n';
    }
    scripts.push_back(std::move(script));
  }
  return scripts;
}

struct Flags {
  int showInfo, tribunal, bloodmoon, hideAlerts;
};
constexpr Flags kFlagSets[] = {{1, 0, 0, 0}, {0, 1, 1, 1}};

CheckOptions optionsOf(const Flags& f) {
  CheckOptions o;
  o.showInfo = f.showInfo == 1;
  o.tribunal = f.tribunal == 1;
  o.bloodmoon = f.bloodmoon == 1;
  o.hideAlerts = f.hideAlerts == 1;
  return o;
}

TEST(InMemoryCheck, RendersTheFileRunsReportByteForByte) {
  test::TempDir dir;
  const std::vector<std::string> scripts = sampleScripts(500);
  for (std::size_t i = 0; i < scripts.size(); ++i) {
    test::writeFile("s.txt", scripts[i]);
    {
      const Flags& f = kFlagSets[i % std::size(kFlagSets)];
      int errors = -1;
      std::string report;
      ASSERT_EQ(mainDebug("s.txt", &errors, f.showInfo, f.tribunal, f.bloodmoon, f.hideAlerts,
                          nullptr, &report),
                kResultReportWritten)
          << "script " << i;
      const CheckResult result = check(scripts[i], optionsOf(f));
      ASSERT_EQ(test::native(cp1252ToUtf8(reportText(result, optionsOf(f)))), report)
          << "script " << i;
      ASSERT_EQ(result.errors, errors) << "script " << i;
    }
  }
}

// What a result says, in a form that compares.
std::string digest(const CheckResult& result) {
  std::string out;
  for (std::size_t i = 0; i < result.journal.size(); ++i) {
    out += result.journal[i].text;
    out += '\n';
  }
  for (const INFO& record : result.info.records())
    out += std::to_string(record.type) + ' ' + record.name + '\n';
  return out;
}

TEST(InMemoryCheck, ChecksInThreadsGiveTheResultsOfChecksAlone) {
  const std::vector<std::string> scripts = sampleScripts(200);
  const CheckOptions options = optionsOf(kFlagSets[0]);
  std::vector<std::string> alone;
  for (const std::string& script : scripts)
    alone.push_back(digest(check(script, options)));

  constexpr std::size_t kThreads = 4;
  std::vector<std::string> together(scripts.size());
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = t; i < scripts.size(); i += kThreads)
        together[i] = digest(check(scripts[i], options));
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  for (std::size_t i = 0; i < scripts.size(); ++i)
    EXPECT_EQ(together[i], alone[i]) << "script " << i;
}

}  // namespace
}  // namespace lintaro
