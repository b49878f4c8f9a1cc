#include "shell/WinProcLogic.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/Encoding.h"
#include "core/Files.h"
#include "core/ScriptInput.h"
#include "formatter/MainMiseEnForme.h"
#include "run/MainDebug.h"
#include "shell/Platform.h"

namespace lintaro {

namespace {

constexpr const char* kTitle = "Débugueur";
constexpr const char* kErrorTitle = "Erreur";

// Work files of a check, deleted by "Nettoyer l'espace" with the marker and
// the settings file.
constexpr const char* kCleanedFiles[] = {kConsoleMarkerName, kSettingsFileName, "DbTempTES3",
                                         "InfTempTES3",      "InfTempTES3.2",   "InfTempTES3.3"};

// The first `limit` characters of a UTF-8 text.
std::string firstCharacters(std::string_view text, std::size_t limit) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < text.size() && count < limit; ++count) {
    char32_t cp = 0;
    const std::size_t len = encoding_detail::decodeUtf8(text, i, cp);
    i += len == 0 ? 1 : len;
  }
  return std::string(text.substr(0, i));
}

std::string lfToCrlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::optional<std::string> readWholeFile(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// A script file's text for the script box: decoded like the checker reads it
// (Windows-1252 or UTF-8, any line ends), in UTF-8 with CR LF line ends.
std::string boxTextOfScript(std::string_view raw) {
  return lfToCrlf(cp1252ToUtf8(decodeScriptBytes(raw)));
}

// A path that does not depend on the current directory: "/x"; on Windows
// also "\\x", "C:\\x" and "C:x".
bool isRooted(std::string_view path) {
  constexpr bool kWindowsPaths = std::filesystem::path::preferred_separator == '\\';
  if (path.starts_with('/')) return true;
  if (!kWindowsPaths) return false;
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  return path.starts_with('\\') || (path.size() >= 2 && path[1] == ':' && letter(path[0]));
}

// The directory and the name with the system's own separator between them.
std::string joinPath(const std::string& directory, const std::string& name) {
  constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
  if (isRooted(name)) return name;
  if (directory.empty() || directory.ends_with('/') || directory.ends_with(kSeparator)) {
    return directory + name;
  }
  return directory + kSeparator + name;
}

bool isFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(pathFromUtf8(path), error);
}

std::string baseName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The script's name as written after "Begin" in the text (the check gives it
// in lower case), else `name` as it is.
std::string writtenName(std::string_view text, const std::string& name) {
  const auto lower = [](std::string_view word) {
    std::string out(word);
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
  };
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) continue;
    line.remove_prefix(start);
    if (lower(line.substr(0, 6)) != "begin " && lower(line.substr(0, 6)) != "begin\t") continue;
    line.remove_prefix(6);
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    const std::string_view word = line.substr(0, line.find_first_of(" \t\r;"));
    if (lower(word) == lower(name)) return std::string(word);
    break;
  }
  return name;
}

// The short reason of a failed check for the status line.
std::string failureReason(int result) {
  switch (result) {
    case kResultReportUnreadable:
      return "rapport illisible";
    case kResultScriptUnreadable:
      return "fichier illisible";
    case kResultScriptTooLarge:
      return "fichier trop gros";
    case kResultTooManyLines:
      return "plus de 5000 lignes";
    case kResultWorkFileFailure:
    case kResultJournalUnopenable:
    case kResultScanScriptUnreadable:
    case kResultScanInfoUnopenable:
      return "fichier de travail inaccessible";
    default:
      return "erreur " + std::to_string(result);
  }
}

// The remembered values: "dossier=<path>" then "recent=<path>" lines, UTF-8.
constexpr const char* kRememberedFileName = "fenetre.txt";
constexpr std::size_t kRememberedMaxBytes = 64 * 1024;

}  // namespace

ShellAddresses defaultShellAddresses() {
  return {LINTARO_FORUM_ADDRESS, LINTARO_CONTACT_ADDRESS};
}

ShellEngine defaultShellEngine() {
  return {[](const std::string& path, int* errorCount, const Settings& settings,
             std::string* failureMessage) {
            return mainDebug(path, errorCount, settings.showInfo, settings.tribunal,
                             settings.bloodmoon, settings.hideAlerts, failureMessage);
          },
          [](const std::string& path) { return mainMEF(path); },
          [](std::string_view bytes, const Settings& settings) {
            CheckOptions options;
            options.tribunal = settings.tribunal == 1;
            options.bloodmoon = settings.bloodmoon == 1;
            options.showInfo = settings.showInfo == 1;
            options.hideAlerts = settings.hideAlerts == 1;
            return check(bytes, options);
          }};
}

std::string kindLabel(bool error) {
  return error ? "erreur" : "alerte";
}

std::string countsText(int errors, int alerts) {
  return std::to_string(errors) + (errors > 1 ? " erreurs, " : " erreur, ") +
         std::to_string(alerts) + (alerts > 1 ? " alertes" : " alerte");
}

TextSpan lineSpan(std::string_view text, int line) {
  std::size_t chars = 0;
  int current = 1;
  TextSpan span{};
  bool inLine = line == 1;
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const std::size_t len = encoding_detail::decodeUtf8(text, i, cp);
    const char c = text[i];
    i += len == 0 ? 1 : len;
    if (c == '\n') {
      if (inLine) return {span.from, chars};
      ++current;
      inLine = current == line;
      ++chars;
      if (inLine) span.from = chars;
      continue;
    }
    ++chars;
  }
  if (inLine) return {span.from, chars};
  return {chars, chars};
}

std::vector<Finding> findingsOf(const CheckResult& result, bool hideAlerts) {
  std::vector<Finding> findings;
  for (const std::size_t i : result.reportOrder()) {
    const JournalEntry entry = result.journal[i];
    const bool error = entry.kind != kAlert;
    if (hideAlerts && !error) continue;
    findings.push_back({entry.line == kWholeScript ? 0 : entry.line + 1, error,
                        std::string(diagnostic(entry.id).code), cp1252ToUtf8(entry.message())});
  }
  return findings;
}

std::string fieldPathFor(const std::string& chosen, const std::string& directory) {
  namespace fs = std::filesystem;
  const fs::path file = pathFromUtf8(chosen).lexically_normal();
  fs::path here = pathFromUtf8(directory).lexically_normal();
  if (!here.has_filename() && here.has_relative_path()) here = here.parent_path();
  if (!directory.empty() && file.is_absolute() && here.is_absolute()) {
    const fs::path relative = file.lexically_relative(here);
    if (!relative.empty() && *relative.begin() != ".." && relative != ".")
      return utf8FromPath(relative);
  }
  return utf8FromPath(file);
}

void cleanWorkspace() {
  for (const char* name : kCleanedFiles)
    deleteFile(name);
}

std::string statusText(int messageInt) {
  if (messageInt == kStatusFormatted) return "Script mis en forme.";
  if (messageInt == kStatusReady) return "Prêt au débuguage.";
  if (messageInt == 0) return "Aucune erreur sur le script.";
  if (messageInt > 0) return "Le script contient des erreurs.";
  return {};
}

std::string limitFileName(std::string_view typed) {
  return firstCharacters(typed, kMaxFileNameLength);
}

std::string crlfToLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string dropCarriageReturns(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

void Shell::box(const std::string& text, const std::string& title, BoxIcon icon) {
  platform_.messageBox(text, title, icon);
}

void Shell::onCreate() {
  nomFile_ = kPastedScriptName;
  prop_ = loadSettings();
  loadRemembered();
}

void Shell::setStatus(std::string text) {
  statusLine_ = std::move(text);
  platform_.redrawMainWindow();
}

void Shell::loadRemembered() {
  const std::string directory = platform_.configDirectory();
  if (directory.empty()) return;
  const ScriptInput input =
      readScriptInput(joinPath(directory, kRememberedFileName), kRememberedMaxBytes);
  if (input.status != InputStatus::kRead) return;
  std::string_view rest = input.bytes;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (line.starts_with("dossier=")) lastFolder_ = line.substr(8);
    if (line.starts_with("recent=") && line.size() > 7 && recent_.size() < kRecentFileCount)
      recent_.emplace_back(line.substr(7));
  }
}

void Shell::saveRemembered() {
  const std::string directory = platform_.configDirectory();
  if (directory.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(pathFromUtf8(directory), error);
  std::string bytes = "dossier=" + lastFolder_ + "\n";
  for (const std::string& path : recent_)
    bytes += "recent=" + path + "\n";
  writeWholeFile(joinPath(directory, kRememberedFileName), bytes);
}

void Shell::remember(const std::string& path) {
  // A rooted path ("/x"; "C:\\x", "\\\\server\\x" on Windows) is kept as it is.
  std::string full = joinPath(platform_.currentDirectory(), path);
  full = utf8FromPath(pathFromUtf8(full).lexically_normal());
  std::erase(recent_, full);
  recent_.insert(recent_.begin(), full);
  if (recent_.size() > kRecentFileCount) recent_.resize(kRecentFileCount);
  saveRemembered();
}

std::string Shell::browseFolder() {
  return lastFolder_.empty() ? platform_.currentDirectory() : lastFolder_;
}

std::string Shell::browseFileName(const std::string& field) {
  if (field.empty()) return {};
  const std::string file = joinPath(platform_.currentDirectory(), field);
  if (!isFile(file)) return {};
  // Relative to the folder, a file right inside it is its bare name.
  const std::string name = fieldPathFor(file, browseFolder());
  return name.find_first_of("/\\") == std::string::npos ? name : std::string();
}

std::string Shell::fileChosen(const std::string& path) {
  lastFolder_ = utf8FromPath(pathFromUtf8(path).parent_path());
  saveRemembered();
  return fieldPathFor(path, platform_.currentDirectory());
}

DialogAction Shell::checkRecent(std::size_t index) {
  if (index >= recent_.size()) return DialogAction::Stay;
  nomFile_ = recent_[index];
  return runCheck(nomFile_, false);
}

std::optional<TextSpan> Shell::findingSpan(std::size_t index) const {
  if (!view_.valid || index >= view_.findings.size() || view_.findings[index].line == 0)
    return std::nullopt;
  return lineSpan(view_.text, view_.findings[index].line);
}

void Shell::openReport() {
  if (!view_.valid) return;
  if (!platform_.openDocument(view_.reportPath)) {
    box("Le fichier \"" + baseName(view_.reportPath) +
            "\" a été créé, mais ne peut être affiché. Consultez le directement. ",
        kTitle);
  }
}

void Shell::clean() {
  cleanWorkspace();
  box("Les fichiers temporaires ont été éffacés.", kTitle, BoxIcon::Information);
}

void Shell::reset() {
  prop_ = Settings{};
  if (!saveSettings(prop_)) {
    box("Impossible d'écrire le fichier \"" + std::string(kSettingsFileName) + "\" !", kTitle);
    return;
  }
  box("Les variables ont été remises par défaut.", kTitle, BoxIcon::Information);
}

std::string Shell::helpPath(const std::string& directory, const char* name) const {
  return joinPath(directory, name);
}

void Shell::help() {
  const std::string here = platform_.currentDirectory();
  const std::string installed = platform_.programDirectory();
  // Installed by a package, /usr/bin/lintaro finds its help in /usr/share/lintaro.
  const std::size_t slash = installed.find_last_of("/\\");
  const std::string shared =
      slash == std::string::npos || slash == 0
          ? std::string()
          : joinPath(joinPath(installed.substr(0, slash), "share"), "lintaro");
  std::string found;
  for (const std::string& directory : {here, installed, shared}) {
    if (directory.empty()) continue;
    for (const char* name : {kHelpHtmlName, kHelpTextName}) {
      const std::string path = helpPath(directory, name);
      if (platform_.openDocument(path)) return;
      if (found.empty() && isFile(path)) found = path;
    }
  }
  if (!found.empty()) {
    box("Le fichier d'aide \"" + found +
            "\" existe, mais aucun programme n'a pu l'ouvrir : " + kOpenerAdvice,
        kTitle, BoxIcon::Information);
    return;
  }
  box("  Impossible de trouver le fichier \"AideDebug.htm\" ou \"AideDebug.txt\" dans le "
      "répertoire :\r\n\"" +
          here + "\"",
      kTitle, BoxIcon::Information);
}

void Shell::site() {
  if (platform_.openDocument(addresses_.forum)) return;
  box("Vous pouvez aller à l'adresse suivante : " + addresses_.forum, "Débugueur - Erreur",
      BoxIcon::Information);
}

void Shell::contact() {
  if (platform_.openDocument("mailto:" + addresses_.contact)) return;
  box("Aucun programme de courrier n'a pu être ouvert. Vous pouvez m'écrire à l'adresse "
      "suivante : " +
          addresses_.contact,
      kTitle, BoxIcon::Information);
}

void Shell::about() {
  box(std::string("Lintaro, le débugueur de scripts Morrowind\n"
                  "Auteur : l'équipe Lintaro\n"
                  "Version : ") +
          std::string(kShellVersion) + " (Morrowind)\nDate de sortie : " + kShellDate +
          "\n\n"
          "Ce programme est libre d'utilisation et de diffusion, gratuitement et sans "
          "modification. Il est fourni tel quel, sans aucune garantie : vérifiez toujours vos "
          "scripts en jeu, l'auteur ne saurait être tenu responsable de leurs effets sur vos "
          "parties ou sur vos mods.",
      "A propos du débugueur...", BoxIcon::Information);
}

bool Shell::startConsoleVersion() {
  deleteFile(kConsoleMarkerName);
  {
    // The marker tells the console program that the window started it: the
    // 32-bit integer 1.
    const unsigned char one[4] = {1, 0, 0, 0};
    writeWholeFile(kConsoleMarkerName,
                   std::string_view(reinterpret_cast<const char*>(one), sizeof one));
  }
  const std::string here = platform_.currentDirectory();
  const std::string installed = platform_.programDirectory();
  std::string found;
  for (const std::string& directory : {here, installed}) {
    if (directory.empty()) continue;
    const std::string program = joinPath(directory, kConsoleProgramName);
    if (platform_.startConsole(program)) return true;
    if (found.empty() && isFile(program)) found = program;
  }
  deleteFile(kConsoleMarkerName);
  if (!found.empty()) {
    box("Le programme \"" + found +
            "\" est présent, mais aucun terminal n'a pu être lancé : " + kConsoleAdvice,
        kTitle);
    return false;
  }
  box("Impossible de trouver le fichier " + std::string(kConsoleProgramName) + " à l'adresse \"" +
          here + "\"\nAssurez vous que le fichier porte bien ce nom si vous l'avez créé vous même.",
      kTitle);
  return false;
}

DialogAction Shell::runCheck(const std::string& path, bool pasted) {
  // The same bytes go to the in-memory check, whose findings the window lists.
  const ScriptInput input = readScriptInput(path);
  std::string failure;
  const int result = engine_.check(path, &messageInt_, prop_, &failure);
  const std::string report = reportNameFor(path);
  const std::string name = pasted ? std::string("Script") : baseName(path);
  if (!pasted && !path.empty()) remember(path);
  if (result == kResultReportWritten && input.status == InputStatus::kRead) {
    const CheckResult checked = engine_.inspect(input.bytes, prop_);
    view_ = CheckView{};
    ++checks_;
    view_.valid = true;
    view_.pasted = pasted;
    view_.text = cp1252ToUtf8(decodeScriptBytes(input.bytes));
    view_.label =
        checked.scriptName() ? writtenName(view_.text, cp1252ToUtf8(*checked.scriptName())) : name;
    view_.reportPath = joinPath(platform_.currentDirectory(), report);
    view_.findings = findingsOf(checked, prop_.hideAlerts == 1);
    view_.errors = checked.errors;
    view_.alerts = checked.alerts;
    view_.alertsHidden = prop_.hideAlerts == 1;
    setStatus(view_.label + " : " + countsText(checked.errors, checked.alerts) +
              (view_.alertsHidden && checked.alerts > 0 ? " masquées" : ""));
  } else if (result == kResultReportWritten) {
    setStatus(name + " : " + statusText(messageInt_));
  } else {
    setStatus(name + " : échec (" + failureReason(result) + ").");
  }
  if (result == kResultReportWritten) {
    if (prop_.showReport == 1) {
      if (!platform_.openDocument(joinPath(platform_.currentDirectory(), report))) {
        box("Le fichier \"" + report +
                "\" a été créé, mais ne peut être affiché. Consultez le directement. ",
            kTitle);
      }
    } else {
      box("Un rapport d'erreur a ete créé dans le fichier \"" + report + "\"", kTitle);
    }
  } else if (!(result == kResultScriptUnreadable && path.empty())) {
    box(resultMessage(result, path, failure), kTitle);
  }
  return result == kResultReportWritten && messageInt_ == 0 ? DialogAction::Hide
                                                            : DialogAction::Stay;
}

DialogAction Shell::checkFileOk(std::string_view typed) {
  nomFile_ = std::string(typed);
  return runCheck(nomFile_, false);
}

DialogAction Shell::checkDroppedFile(const std::string& path) {
  return runCheck(path, false);
}

void Shell::openTypedFile(std::string_view typed) {
  nomFile_ = std::string(typed);
  const std::string here = platform_.currentDirectory();
  if (!nomFile_.empty() && platform_.openDocument(joinPath(here, nomFile_))) return;
  box("  Impossible de trouver ou d'ouvrir le fichier \"" + nomFile_ +
          "\" dans le répertoire :\r\n\"" + here + "\"",
      kTitle, BoxIcon::Information);
}

DialogAction Shell::preferencesOk(bool showReport, bool showInfo, bool hideAlerts) {
  prop_.showReport = showReport ? 1 : 0;
  prop_.showInfo = showInfo ? 1 : 0;
  prop_.hideAlerts = hideAlerts ? 1 : 0;
  if (!saveSettings(prop_))
    box("Impossible d'écrire le fichier \"" + std::string(kSettingsFileName) + "\" !", kTitle);
  return DialogAction::Hide;
}

DialogAction Shell::dependenciesOk(bool tribunal, bool bloodmoon) {
  prop_.tribunal = tribunal ? 1 : 0;
  prop_.bloodmoon = bloodmoon ? 1 : 0;
  if (!saveSettings(prop_))
    box("Impossible d'écrire le fichier \"" + std::string(kSettingsFileName) + "\" !", kTitle);
  return DialogAction::Hide;
}

ScriptOkOutcome Shell::scriptOk(std::string_view boxText) {
  // The pasted text has the engine's limits only (lines, bytes), as a file.
  const std::string text = crlfToLf(boxText);
  if (text.empty()) {
    box("Votre script est vide !", kErrorTitle);
    setStatus("Script : vide, rien à vérifier.");
    return {DialogAction::Stay, false};
  }
  if (text.size() > kMaxScriptBytes) {
    box(inputFailureMessage(InputStatus::kTooLarge, kPastedScriptName), kTitle);
    setStatus("Script : échec (" + failureReason(kResultScriptTooLarge) + ").");
    return {DialogAction::Stay, false};
  }
  if (!writeWholeFile(kPastedScriptName, text)) {
    box("Impossible d'écrire le fichier \"" + std::string(kPastedScriptName) + "\" !", kTitle);
    setStatus("Script : échec (fichier de travail inaccessible).");
    return {DialogAction::Stay, false};
  }
  const DialogAction action = runCheck(kPastedScriptName, true);
  return {action, action == DialogAction::Hide};
}

bool Shell::presentFormat(int result, const std::string& name) {
  if (result == kFormatRewritten) return true;
  setStatus(baseName(name) + " : mise en forme impossible.");
  box(formatResultMessage(result, name), kTitle);
  return false;
}

std::optional<std::string> Shell::scriptFormat(std::string_view boxText) {
  const std::string text = dropCarriageReturns(boxText);
  if (!writeWholeFile(kPastedScriptName, text)) {
    box("Impossible d'écrire le fichier \"" + std::string(kPastedScriptName) + "\" !", kTitle);
    return std::nullopt;
  }
  if (!presentFormat(engine_.format(kPastedScriptName), kPastedScriptName)) return std::nullopt;
  const std::optional<std::string> raw = readWholeFile(kPastedScriptName);
  if (!raw) return std::nullopt;
  setStatus(statusText(kStatusFormatted));
  return boxTextOfScript(*raw);
}

DialogAction Shell::formatFileOk(std::string_view typed) {
  nomFile_ = std::string(typed);
  if (!presentFormat(engine_.format(nomFile_), nomFile_)) return DialogAction::Stay;
  messageInt_ = kStatusFormatted;
  setStatus(statusText(kStatusFormatted));
  return DialogAction::Hide;
}

LoadOutcome Shell::loadOk(std::string_view typed) {
  nomFile_ = std::string(typed);
  if (nomFile_.empty()) return {DialogAction::Hide, std::nullopt};
  const ScriptInput input = readScriptInput(nomFile_);
  if (input.status != InputStatus::kRead) {
    box(input.status == InputStatus::kTooLarge ? inputFailureMessage(input.status, nomFile_)
                                               : "Impossible d'ouvrir le fichier.",
        kErrorTitle);
    return {DialogAction::Stay, std::nullopt};
  }
  if (input.bytes.empty()) {
    box("Fichier vide.", kErrorTitle);
    return {DialogAction::Hide, std::nullopt};
  }
  return {DialogAction::Hide, boxTextOfScript(input.bytes)};
}

}  // namespace lintaro
