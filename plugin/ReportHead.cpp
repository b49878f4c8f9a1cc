#include "plugin/ReportHead.h"

#include <algorithm>
#include <filesystem>

#include "core/Files.h"
#include "core/MainDivers.h"

namespace lintaro::plugin {

bool isPluginPath(std::string_view path) {
  const std::string extension = lowered(utf8FromPath(pathFromUtf8(path).extension()));
  return extension == ".esp" || extension == ".esm" || extension == ".omwaddon";
}

std::vector<std::string> expansionLines(const Expansions& expansions) {
  std::vector<std::string> lines;
  for (const std::string_view expansion : {"Tribunal", "Bloodmoon"}) {
    const std::string prefix = std::string(expansion) + " : ";
    const auto reason = std::find_if(expansions.reasons.begin(), expansions.reasons.end(),
                                     [&](const std::string& r) { return r.starts_with(prefix); });
    lines.push_back(
        reason != expansions.reasons.end() ? *reason : prefix + "non (aucun maître ne l'annonce)");
  }
  lines.insert(lines.end(), expansions.notes.begin(), expansions.notes.end());
  return lines;
}

std::string reportHead(std::string_view fileName, const Header& header, CodePage page,
                       const std::vector<std::string>& expansionLines, const Counts& counts,
                       const Tallies& tallies) {
  std::string head = "Correction de " + std::string(fileName) + "\n\nMaîtres : ";
  if (header.masters.empty()) head += "aucun";
  for (std::size_t i = 0; i < header.masters.size(); ++i) {
    if (i > 0) head += ", ";
    head += toUtf8(header.masters[i].name, page);
  }
  head += "\n";
  for (const std::string& line : expansionLines)
    head += line + "\n";
  head += "Scripts : " + std::to_string(counts.scripts) +
          ", scripts de résultat : " + std::to_string(counts.resultScripts) +
          ", ignorés (supprimés) : " + std::to_string(counts.skipped) + "\n";
  head += "Avec erreurs : " + std::to_string(tallies[2]) +
          ", avec alertes seulement : " + std::to_string(tallies[1]) +
          ", non vérifiés : " + std::to_string(tallies[3]) + "\n\n";
  return head;
}

}  // namespace lintaro::plugin
