// The version of Lintaro, defined here once: the report's title, the window's
// "A propos" box, the console's --version and the build (CMakeLists.txt reads
// it from this file) all take it from here.
#pragma once

#include <string_view>

namespace lintaro {

inline constexpr std::string_view kVersion = "2.03";

}  // namespace lintaro
