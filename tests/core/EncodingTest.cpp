#include "core/Encoding.h"

#include <gtest/gtest.h>

namespace lintaro {
namespace {

TEST(Encoding, EveryWindows1252ByteSurvivesARoundTripThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = cp1252ToUtf8(one);
    ASSERT_TRUE(isValidUtf8(utf8)) << b;
    EXPECT_EQ(utf8ToCp1252(utf8), one) << b;
  }
  EXPECT_EQ(cp1252ToUtf8("caf\xE9 \x80 \x81"), "café € \xC2\x81");
}

}  // namespace
}  // namespace lintaro
