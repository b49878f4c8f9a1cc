// Golden reports: every case of tests/golden runs through the console program
// in a private directory and must print exactly the expected report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "console/Scrutinette.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> goldenCases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(LINTARO_GOLDEN_DIR)) {
    if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ReportMatches) {
  const fs::path base = fs::path(LINTARO_GOLDEN_DIR) / GetParam();
  const std::string script = test::readFile(base.string() + ".script");
  const std::string expected = test::readFile(base.string() + ".report");
  ASSERT_FALSE(expected.empty()) << "missing " << base.string() << ".report";
  std::istringstream options(test::readFile(base.string() + ".args"));  // "" when absent
  std::vector<std::string> args{std::istream_iterator<std::string>(options), {}};
  int expectedStatus = 0;
  if (fs::exists(base.string() + ".status")) {
    expectedStatus = std::stoi(test::readFile(base.string() + ".status"));
  }

  test::TempDir dir;
  const std::string name = GetParam() + ".txt";
  test::writeFile(name, script);
  args.push_back(name);
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScrutinette(args, out, err);
  EXPECT_EQ(out.str(), test::native(expected));
  EXPECT_EQ(status, expectedStatus) << err.str();
  for (const char* work : {"DbTempTES3", "InfTempTES3", "InfTempTES3.2", "InfTempTES3.3"}) {
    EXPECT_FALSE(test::fileExists(work)) << work << " left behind";
  }
}

// The case names are identifiers: letters, digits and "_".
INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(goldenCases()),
                         [](const auto& param) { return param.param; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
}  // namespace lintaro
