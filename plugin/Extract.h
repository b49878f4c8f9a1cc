// Writing a plugin's scripts out as files (scrutinette --extraire): each to
// FOLDER/<name>.mwscript, its bytes as stored (SCTX or BNAM without trailing
// NULs). Result scripts are named "dialogue-<topic>-<info>".
//
// Names come from the plugin, so they are made safe for every system: no
// path separators, no leading dot (so never ".."), no character Windows
// forbids (<>:"/\|?* and control characters), no trailing dot or space, no
// Windows device name (CON, NUL, COM1…, in any case, with or without an
// extension), at most kStemMax bytes. Names that then collide, ignoring case,
// with each other or with a file already in the folder are numbered
// ("name-2.mwscript"…). Files are created only inside the folder, never over
// an existing file and never through a symbolic link.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/CodePages.h"
#include "plugin/Plugin.h"

namespace lintaro::plugin {

inline constexpr std::size_t kStemMax = 120;
inline constexpr std::string_view kScriptExtension = ".mwscript";
// Most numbered variants tried for one name.
inline constexpr int kCollisionMax = 100000;

// A name made safe as the stem of a file name (UTF-8 in, UTF-8 out); an empty
// or wholly unsafe name gives "sans-nom".
std::string safeStem(std::string_view utf8);

// The stem an entry is written under, before collisions are numbered.
std::string entryStem(const ScriptEntry& entry, CodePage page);

struct ExtractedFile {
  std::size_t entry;     // index in Plugin::scripts
  std::string fileName;  // UTF-8, inside the folder
};

struct Extraction {
  bool ok = false;
  std::vector<ExtractedFile> files;  // in the order of the entries
  std::string error;                 // French, UTF-8; empty when ok
};

// Writes every entry that is not skipped into `folder`, created when missing.
// Stops at the first file that cannot be written.
Extraction extractScripts(const Plugin& plugin, const std::filesystem::path& folder,
                          CodePage page = CodePage::kWindows1252);

}  // namespace lintaro::plugin
