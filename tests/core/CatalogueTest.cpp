// The catalogue of diagnostics: its codes are well formed and unique, every
// row is documented, and its examples are real: the wrong one draws the row's
// finding, the right one does not.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "core/Diagnostics.h"
#include "core/Encoding.h"
#include "plugin/ScriptCheck.h"
#include "run/Check.h"

namespace lintaro {
namespace {

bool wellFormedCode(std::string_view code) {
  std::size_t letters = 0;
  while (letters < code.size() && code[letters] >= 'A' && code[letters] <= 'Z')
    ++letters;
  return letters >= 2 && letters < code.size() &&
         std::all_of(code.begin() + static_cast<std::ptrdiff_t>(letters), code.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// An example as a whole script: wrapped in a header and an End unless it has
// a header of its own.
std::string scriptOf(std::string_view example) {
  const std::string text(example);
  if (text.starts_with("Begin ") || text.find("\nBegin ") != std::string::npos) return text;
  return "Begin exemple\n" + text + "\nEnd\n";
}

bool draws(std::string_view example, Diag id, const CheckOptions& options) {
  // A row of result scripts is drawn only by the body of a dialogue result.
  const CheckResult result = id == Diag::kDeclarationDansResultat
                                 ? plugin::checkResultScript(example, options)
                                 : check(scriptOf(example), options);
  for (std::size_t i = 0; i < result.journal.size(); ++i) {
    if (result.journal[i].id == id) return true;
  }
  return false;
}

TEST(Catalogue, CodesNamesAndMessagesAreUniqueAndWellFormed) {
  std::set<std::string_view> codes;
  std::set<std::string_view> names;
  std::set<std::pair<std::string_view, std::int32_t>> messages;
  for (const DiagnosticRow& row : catalogue()) {
    EXPECT_TRUE(wellFormedCode(row.code)) << row.code;
    EXPECT_TRUE(codes.insert(row.code).second) << "code repeated: " << row.code;
    EXPECT_TRUE(names.insert(row.name).second) << "name repeated: " << row.name;
    EXPECT_TRUE(messages.insert({row.message, row.kind}).second)
        << "one message, two rows: " << row.code;
    EXPECT_TRUE(row.kind == kAlert || row.kind == kError) << row.code;
    EXPECT_TRUE(isValidUtf8(row.message) && isValidUtf8(row.explanation)) << row.code;
    EXPECT_EQ(std::count(row.message.begin(), row.message.end(), '{'),
              static_cast<std::ptrdiff_t>(holesOf(row.message).size()))
        << "a brace that opens no hole: " << row.code;
    EXPECT_LE(holesOf(row.message).size(), kMaxHoles) << row.code;
    EXPECT_EQ(findDiagnostic(row.code), &row);
  }
  EXPECT_EQ(findDiagnostic("lt901"), findDiagnostic("LT901"));
  EXPECT_EQ(findDiagnostic("LT"), nullptr);
}

TEST(Catalogue, EveryRowIsExplainedWithAWrongAndARightExample) {
  for (const DiagnosticRow& row : catalogue()) {
    SCOPED_TRACE(std::string(row.code));
    ASSERT_FALSE(row.explanation.empty());
    ASSERT_FALSE(row.wrong.empty());
    ASSERT_FALSE(row.right.empty());
    // Without the expansions, or else with both (a finding that only a command
    // of an expansion can reach).
    CheckOptions options;
    if (!draws(row.wrong, row.id, options)) options.tribunal = options.bloodmoon = true;
    EXPECT_TRUE(draws(row.wrong, row.id, options)) << "the wrong example does not draw it";
    EXPECT_FALSE(draws(row.right, row.id, options)) << "the right example draws it";
  }
}

}  // namespace
}  // namespace lintaro
