// What the console's and the window's reports of a plugin share: which paths
// name a plugin, the lines saying which expansions were assumed and why, and
// the head of the combined report "Correction de <plugin>".
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/CodePages.h"
#include "plugin/Expansions.h"
#include "plugin/Plugin.h"

namespace lintaro::plugin {

// Whether a path names a plugin: .esp, .esm or .omwaddon in any case.
bool isPluginPath(std::string_view path);

// One line for Tribunal, one for Bloodmoon (the reason, or "non (aucun maître
// ne l'annonce)"), then the notes of the search (UTF-8).
std::vector<std::string> expansionLines(const Expansions& expansions);

// Scripts checked clean, with alerts only, with errors, and not checked.
using Tallies = std::array<int, 4>;

// The head of the combined report: its name, the masters, the expansion
// lines and the counts, then a blank line (UTF-8).
std::string reportHead(std::string_view fileName, const Header& header, CodePage page,
                       const std::vector<std::string>& expansionLines, const Counts& counts,
                       const Tallies& tallies);

}  // namespace lintaro::plugin
