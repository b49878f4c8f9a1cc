#include "plugin/Expansions.h"

#include <deque>
#include <map>
#include <set>
#include <system_error>

namespace lintaro::plugin {

namespace {

struct Pending {
  std::string name;                // as written in a master list, UTF-8
  std::vector<std::string> chain;  // the masters that led to it, UTF-8
};

// The files of a folder by folded name; the first of names that fold alike.
std::map<std::string, std::filesystem::path> folderByFoldedName(
    const std::filesystem::path& folder) {
  std::map<std::string, std::filesystem::path> files;
  std::error_code error;
  std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error);
  if (error) return files;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    const std::u8string name = it->path().filename().u8string();
    files.emplace(foldCase(std::string(name.begin(), name.end())), it->path());
  }
  return files;
}

std::string reasonFor(std::string_view expansion, const Pending& found) {
  std::string reason(expansion);
  if (found.chain.empty()) return reason + " : maître " + found.name;
  reason += " : par ";
  for (const std::string& link : found.chain)
    reason += link + " → ";
  return reason + found.name;
}

}  // namespace

Expansions findExpansions(const std::filesystem::path& pluginPath, const Header& header,
                          const ExpansionChoice& choice, CodePage page, int depthMax) {
  std::optional<std::string> tribunal;
  std::optional<std::string> bloodmoon;
  const std::u8string ownName = pluginPath.filename().u8string();
  const std::string ownFolded = foldCase(std::string(ownName.begin(), ownName.end()));
  if (ownFolded == "tribunal.esm") tribunal = "Tribunal : le fichier est Tribunal.esm";
  if (ownFolded == "bloodmoon.esm") bloodmoon = "Bloodmoon : le fichier est Bloodmoon.esm";

  Expansions result;
  const auto files = folderByFoldedName(pluginPath.parent_path());
  std::set<std::string> seen{ownFolded};
  std::deque<Pending> queue;
  for (const Master& master : header.masters)
    queue.push_back(Pending{toUtf8(master.name, page), {}});
  // Breadth first: the reason kept for an expansion is its shortest chain.
  while (!queue.empty()) {
    const Pending current = std::move(queue.front());
    queue.pop_front();
    const std::string folded = foldCase(current.name);
    if (!seen.insert(folded).second) continue;
    if (folded == "tribunal.esm" && !tribunal) tribunal = reasonFor("Tribunal", current);
    if (folded == "bloodmoon.esm" && !bloodmoon) bloodmoon = reasonFor("Bloodmoon", current);

    const auto file = files.find(folded);
    if (file == files.end()) continue;
    const ReadResult read = readPluginHeader(file->second);
    if (read.status != ReadStatus::kRead) {
      result.notes.push_back(read.error + " Ses maîtres ne sont pas suivis.");
      continue;
    }
    const int depth = static_cast<int>(current.chain.size()) + 1;
    if (depth >= depthMax) {
      if (!read.plugin.header.masters.empty()) {
        result.notes.push_back(current.name + " : les maîtres ne sont pas suivis au-delà de " +
                               std::to_string(depthMax) + " niveaux.");
      }
      continue;
    }
    std::vector<std::string> chain = current.chain;
    chain.push_back(current.name);
    for (const Master& master : read.plugin.header.masters)
      queue.push_back(Pending{toUtf8(master.name, page), chain});
  }

  const auto decide = [&](std::string_view expansion, const std::optional<bool>& forced,
                          const std::optional<std::string>& found, bool& on) {
    if (forced) {
      on = *forced;
      result.reasons.push_back(std::string(expansion) +
                               (on ? " : imposé par l'option" : " : écarté par l'option"));
    } else if (found) {
      on = true;
      result.reasons.push_back(*found);
    }
  };
  decide("Tribunal", choice.tribunal, tribunal, result.tribunal);
  decide("Bloodmoon", choice.bloodmoon, bloodmoon, result.bloodmoon);
  return result;
}

}  // namespace lintaro::plugin
