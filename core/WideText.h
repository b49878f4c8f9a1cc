// UTF-8 and the UTF-16 of Windows' wide-character calls. Only the Windows
// implementation files use these: everything else keeps UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lintaro {

// Invalid UTF-8 becomes U+FFFD; unpaired surrogates likewise the other way.
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

}  // namespace lintaro
