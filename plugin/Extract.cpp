#include "plugin/Extract.h"

#include <array>
#include <set>
#include <system_error>

#include "core/Encoding.h"
#include "core/Files.h"

namespace lintaro::plugin {

namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";

bool deviceName(std::string_view stem) {
  // What Windows reads as a device is the part before the first dot, without
  // trailing spaces.
  std::string_view base = stem.substr(0, stem.find('.'));
  while (!base.empty() && base.back() == ' ')
    base.remove_suffix(1);
  const std::string folded = foldCase(base);
  static constexpr std::array<std::string_view, 6> kDevices = {"con", "prn",    "aux",
                                                               "nul", "conin$", "conout$"};
  for (const std::string_view device : kDevices) {
    if (folded == device) return true;
  }
  // COM0-COM9 and LPT0-LPT9, also with a superscript digit 1, 2 or 3.
  if (folded.size() < 4 || (!folded.starts_with("com") && !folded.starts_with("lpt"))) {
    return false;
  }
  const std::string_view digit = std::string_view(folded).substr(3);
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\u00B9" ||
         digit == "\u00B2" || digit == "\u00B3";
}

bool unsafe(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) ||
         (cp < 0x80 && kForbidden.find(static_cast<char>(cp)) != std::string_view::npos);
}

std::string fileNameFor(const std::string& stem, int number) {
  return number == 1 ? stem + std::string(kScriptExtension)
                     : stem + "-" + std::to_string(number) + std::string(kScriptExtension);
}

}  // namespace

std::string safeStem(std::string_view utf8) {
  std::string stem;
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    std::size_t len = encoding_detail::decodeUtf8(utf8, i, cp);
    if (len == 0) {
      cp = 0;  // an invalid byte
      len = 1;
    }
    if (stem.size() + len > kStemMax) break;
    if (unsafe(cp)) {
      stem += '_';
    } else {
      stem.append(utf8.substr(i, len));
    }
    i += len;
  }
  if (!stem.empty() && stem.front() == '.') stem.front() = '_';
  while (!stem.empty() && (stem.back() == '.' || stem.back() == ' '))
    stem.pop_back();
  if (stem.empty()) return "sans-nom";
  if (deviceName(stem)) stem.insert(0, 1, '_');
  return stem;
}

std::string entryStem(const ScriptEntry& entry, CodePage page) {
  if (entry.kind == ScriptKind::kScript) return safeStem(toUtf8(entry.name, page));
  return safeStem("dialogue-" + toUtf8(entry.topic, page) + "-" + toUtf8(entry.infoId, page));
}

Extraction extractScripts(const Plugin& plugin, const std::filesystem::path& folder,
                          CodePage page) {
  Extraction result;
  const std::string folderName = utf8FromPath(folder);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) {
    result.error = "Impossible de créer le dossier \"" + folderName + "\".";
    return result;
  }
  const NewFileFolder target(folder);
  if (!target.opened()) {
    result.error = "Impossible d'ouvrir le dossier \"" + folderName + "\".";
    return result;
  }
  std::set<std::string> taken;
  for (auto it = std::filesystem::directory_iterator(folder, error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    taken.insert(foldCase(utf8FromPath(it->path().filename())));
  }

  for (std::size_t index = 0; index < plugin.scripts.size(); ++index) {
    const ScriptEntry& entry = plugin.scripts[index];
    if (entry.skipped) continue;
    const std::string stem = entryStem(entry, page);
    bool done = false;
    for (int number = 1; !done && number <= kCollisionMax; ++number) {
      const std::string name = fileNameFor(stem, number);
      if (!taken.insert(foldCase(name)).second) continue;
      switch (target.write(name, entry.text)) {
        case Creation::kCreated:
          result.files.push_back(ExtractedFile{index, name});
          done = true;
          break;
        case Creation::kExists:
          break;
        case Creation::kFailed:
          result.error = "Impossible d'écrire le fichier \"" + name + "\" dans le dossier \"" +
                         folderName + "\".";
          return result;
      }
    }
    if (!done) {
      result.error =
          "Trop de scripts nommés \"" + stem + "\" dans le dossier \"" + folderName + "\".";
      return result;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace lintaro::plugin
