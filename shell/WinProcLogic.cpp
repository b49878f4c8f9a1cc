#include "shell/WinProcLogic.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "core/Encoding.h"
#include "core/ScriptInput.h"
#include "formatter/MainMiseEnForme.h"
#include "run/MainDebug.h"

namespace lintaro {

namespace {

constexpr const char* kTitle = "Débugueur";
constexpr const char* kErrorTitle = "Erreur";

// Work files of a check, deleted by "Nettoyer l'espace" with the marker and
// the settings file.
constexpr const char* kCleanedFiles[] = {kConsoleMarkerName, kSettingsFileName, "DbTempTES3",
                                         "InfTempTES3",      "InfTempTES3.2",   "InfTempTES3.3"};

// Number of characters of a UTF-8 text; a byte that starts no valid sequence
// counts as one character.
std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    char32_t cp = 0;
    const std::size_t len = encoding_detail::decodeUtf8(text, i, cp);
    i += len == 0 ? 1 : len;
  }
  return count;
}

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
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
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

std::string joinPath(const std::string& directory, const std::string& name) {
  if (name.starts_with('/')) return name;
  if (directory.empty() || directory.ends_with('/')) return directory + name;
  return directory + "/" + name;
}

}  // namespace

ShellEngine defaultShellEngine() {
  return {[](const std::string& path, int* errorCount, const Settings& settings,
             std::string* failureMessage) {
            return mainDebug(path, errorCount, settings.showInfo, settings.tribunal,
                             settings.bloodmoon, settings.hideAlerts, failureMessage);
          },
          [](const std::string& path) { return mainMEF(path); }};
}

void cleanWorkspace() {
  for (const char* name : kCleanedFiles)
    std::remove(name);
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
  for (const std::string& directory : {here, installed}) {
    if (directory.empty()) continue;
    if (platform_.openDocument(helpPath(directory, kHelpHtmlName))) return;
    if (platform_.openDocument(helpPath(directory, kHelpTextName))) return;
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
  std::remove(kConsoleMarkerName);
  {
    // The marker tells the console program that the window started it: the
    // 32-bit integer 1.
    const unsigned char one[4] = {1, 0, 0, 0};
    writeWholeFile(kConsoleMarkerName,
                   std::string_view(reinterpret_cast<const char*>(one), sizeof one));
  }
  const std::string here = platform_.currentDirectory();
  const std::string installed = platform_.programDirectory();
  for (const std::string& directory : {here, installed}) {
    if (directory.empty()) continue;
    if (platform_.startConsole(joinPath(directory, kConsoleProgramName))) return true;
  }
  box("Impossible de trouver le fichier " + std::string(kConsoleProgramName) + " à l'adresse \"" +
          here + "\"\nAssurez vous que le fichier porte bien ce nom si vous l'avez créé vous même.",
      kTitle);
  std::remove(kConsoleMarkerName);
  return false;
}

DialogAction Shell::runCheck(const std::string& path) {
  std::string failure;
  const int result = engine_.check(path, &messageInt_, prop_, &failure);
  platform_.redrawMainWindow();
  const std::string report = reportNameFor(path);
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
  nomFile_ = limitFileName(typed);
  return runCheck(nomFile_);
}

DialogAction Shell::checkDroppedFile(const std::string& path) {
  return runCheck(path);
}

void Shell::openTypedFile(std::string_view typed) {
  nomFile_ = limitFileName(typed);
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
  const std::string text = firstCharacters(boxText, kMaxScriptBoxLength);
  if (text.empty()) {
    box("Votre script est vide !", kErrorTitle);
    return {DialogAction::Stay, false};
  }
  if (characterCount(text) > kMaxPastedScriptLength) {
    box("Votre script contient plus de 5000 caractères : utilisez le mode \"Débuguer un "
        "fichier\".",
        kTitle);
    return {DialogAction::Hide, false};
  }
  if (!writeWholeFile(kPastedScriptName, crlfToLf(text))) {
    box("Impossible d'écrire le fichier \"" + std::string(kPastedScriptName) + "\" !", kTitle);
    return {DialogAction::Stay, false};
  }
  const DialogAction action = runCheck(kPastedScriptName);
  return {action, action == DialogAction::Hide};
}

bool Shell::presentFormat(int result, const std::string& name) {
  if (result == kFormatRewritten) return true;
  box(formatResultMessage(result, name), kTitle);
  return false;
}

std::optional<std::string> Shell::scriptFormat(std::string_view boxText) {
  const std::string text = dropCarriageReturns(firstCharacters(boxText, kMaxScriptBoxLength));
  if (!writeWholeFile(kPastedScriptName, text)) {
    box("Impossible d'écrire le fichier \"" + std::string(kPastedScriptName) + "\" !", kTitle);
    return std::nullopt;
  }
  if (!presentFormat(engine_.format(kPastedScriptName), kPastedScriptName)) return std::nullopt;
  const std::optional<std::string> raw = readWholeFile(kPastedScriptName);
  if (!raw) return std::nullopt;
  std::string formatted = boxTextOfScript(*raw);
  // The formatted text and its terminator must fit the buffer.
  if (characterCount(formatted) + 1 > kFormattedTextBuffer) return std::nullopt;
  return formatted;
}

DialogAction Shell::formatFileOk(std::string_view typed) {
  nomFile_ = limitFileName(typed);
  if (!presentFormat(engine_.format(nomFile_), nomFile_)) return DialogAction::Stay;
  messageInt_ = kStatusFormatted;
  platform_.redrawMainWindow();
  return DialogAction::Hide;
}

LoadOutcome Shell::loadOk(std::string_view typed) {
  nomFile_ = limitFileName(typed);
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
