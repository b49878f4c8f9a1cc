// The single-byte code pages of plugin texts. Morrowind stores names and texts
// as bytes of the game's code page: Windows-1252 for the western editions,
// Windows-1250 (Central European) and Windows-1251 (Cyrillic) for others.
// Nothing in a plugin says which: the user tells. Checks always work on the
// raw bytes; only what is shown to the user or used as a file name is
// converted to UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lintaro::plugin {

enum class CodePage { kWindows1252, kWindows1250, kWindows1251 };

// "1252", "cp1250", "win1251", "windows-1250"… in any case; nothing when unknown.
std::optional<CodePage> codePageNamed(std::string_view name);

// Bytes of `page` to UTF-8. Bytes that a code page leaves undefined become the
// C1 control of the same value, as Windows does.
std::string toUtf8(std::string_view bytes, CodePage page);

// A UTF-8 text folded for comparisons that ignore case the way Windows file
// names do: ASCII, Latin-1, Latin Extended-A and Cyrillic capitals become
// small letters; invalid UTF-8 bytes are kept as they are.
std::string foldCase(std::string_view utf8);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace lintaro::plugin
