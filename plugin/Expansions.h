// Which expansions a plugin may use, from its masters: Tribunal.esm and
// Bloodmoon.esm (any case) in its master list, or in the master list of a
// master found beside it (same folder, name matched ignoring case), and so on
// down to a depth limit. Each master file is read once (its header only), so
// masters that name each other end the search.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "plugin/CodePages.h"
#include "plugin/Plugin.h"

namespace lintaro::plugin {

// Deepest chain of masters followed: the plugin's own masters are depth 1.
inline constexpr int kMasterDepthMax = 8;

// What the user decided, overriding the masters: nothing, on, or off.
struct ExpansionChoice {
  std::optional<bool> tribunal;
  std::optional<bool> bloodmoon;
};

struct Expansions {
  bool tribunal = false;
  bool bloodmoon = false;
  // Why each expansion is assumed or not, in French (UTF-8), Tribunal first:
  // "Tribunal : maître Tribunal.esm", "Bloodmoon : par Patch.esp → Bloodmoon.esm".
  std::vector<std::string> reasons;
  // What the search could not do: a master beside the plugin that could not
  // be read, the depth limit reached (French, UTF-8).
  std::vector<std::string> notes;
};

// `pluginPath`'s folder is where masters are looked for; `header` is the
// plugin's own. Names are shown converted from `page`.
Expansions findExpansions(const std::filesystem::path& pluginPath, const Header& header,
                          const ExpansionChoice& choice = {},
                          CodePage page = CodePage::kWindows1252, int depthMax = kMasterDepthMax);

}  // namespace lintaro::plugin
