// The single-byte code pages of plugin texts. Morrowind stores names and texts
// as bytes of the game's code page: Windows-1252 for the western editions,
// Windows-1250 (Central European) and Windows-1251 (Cyrillic) for others.
// Nothing in a plugin says which: the user tells (and the same choice holds
// for script files that are not UTF-8). Checks always work on the raw bytes;
// only what is shown to the user or used as a file name is converted to
// UTF-8. The engine's own texts (reports, messages) are Windows-1252 with the
// names of the script inside them: these are converted span by span.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/Encoding.h"

namespace lintaro::plugin {

enum class CodePage { kWindows1252, kWindows1250, kWindows1251 };

// "1252", "cp1250", "win1251", "windows-1250"… in any case; nothing when unknown.
std::optional<CodePage> codePageNamed(std::string_view name);

// Bytes of `page` to UTF-8. Bytes that a code page leaves undefined become the
// C1 control of the same value, as Windows does.
std::string toUtf8(std::string_view bytes, CodePage page);

// An engine text to UTF-8: Windows-1252 but for the spans in `names` (in
// order, not overlapping; any part past the text is ignored), which are of
// `page`. With Windows-1252 this is cp1252ToUtf8.
std::string toUtf8(std::string_view text, std::span<const NameRun> names, CodePage page);

// Well-formed UTF-8 to bytes of `page`; a code point the page lacks becomes '?'.
std::string fromUtf8(std::string_view utf8, CodePage page);

// A script file's bytes as the engine reads them (decodeScriptBytes), with
// `page` in place of Windows-1252: valid UTF-8 becomes bytes of `page`, any
// other bytes are taken as bytes of `page` already.
std::string decodeScriptBytes(std::string_view raw, CodePage page);

// A UTF-8 text folded for comparisons that ignore case the way Windows file
// names do: ASCII, Latin-1, Latin Extended-A and Cyrillic capitals become
// small letters; invalid UTF-8 bytes are kept as they are.
std::string foldCase(std::string_view utf8);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace lintaro::plugin
