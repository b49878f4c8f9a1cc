#include "console/ScrutinetteMenu.h"

#include <cstdio>
#include <istream>
#include <ostream>
#include <string>

#include "core/Files.h"
#include "formatter/MainMiseEnForme.h"
#include "run/MainDebug.h"
#include "shell/Settings.h"
#include "shell/WinProcLogic.h"

namespace lintaro {

namespace {

constexpr const char* kMenu =
    "\n"
    "Que voulez-vous faire ?\n"
    "  1. Vérifier un fichier\n"
    "  2. Mettre en forme un fichier\n"
    "  3. Préférences\n"
    "  4. Dépendances\n"
    "  5. Nettoyer l'espace\n"
    "  6. Remettre par défaut\n"
    "  7. Quitter\n"
    "Votre choix : ";

enum class Choice { Check, Format, Preferences, Dependencies, Clean, Reset, Quit, Unknown };

Choice parseChoice(const std::string& answer) {
  if (answer == "1") return Choice::Check;
  if (answer == "2") return Choice::Format;
  if (answer == "3") return Choice::Preferences;
  if (answer == "4") return Choice::Dependencies;
  if (answer == "5") return Choice::Clean;
  if (answer == "6") return Choice::Reset;
  if (answer == "7" || answer == "q" || answer == "Q") return Choice::Quit;
  return Choice::Unknown;
}

// One answer, without its line end; false at the end of the input.
bool readAnswer(std::istream& in, std::string& answer) {
  if (!std::getline(in, answer)) return false;
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  const std::size_t first = answer.find_first_not_of(" \t");
  const std::size_t last = answer.find_last_not_of(" \t");
  answer = first == std::string::npos ? std::string() : answer.substr(first, last - first + 1);
  return true;
}

// The window's marker "DbPlatform.dat" (the 32-bit integer 1): consumed here.
bool startedByWindow() {
  std::FILE* file = openFile(kConsoleMarkerName, "rb");
  if (file == nullptr) return false;
  unsigned char bytes[4] = {0, 0, 0, 0};
  const bool one = std::fread(bytes, 1, 4, file) == 4 && bytes[0] == 1 && bytes[1] == 0 &&
                   bytes[2] == 0 && bytes[3] == 0;
  std::fclose(file);
  deleteFile(kConsoleMarkerName);
  return one;
}

class Menu {
 public:
  Menu(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  int run() {
    out_ << "Lintaro - scrutinette " << kShellVersion << " : vérification des scripts Morrowind\n";
    if (startedByWindow()) out_ << "Version console lancée depuis la fenêtre Lintaro.\n";
    settings_ = loadSettings();
    for (;;) {
      out_ << kMenu << std::flush;
      std::string answer;
      if (!readAnswer(in_, answer)) {
        out_ << '\n';
        return 0;
      }
      switch (parseChoice(answer)) {
        case Choice::Check:
          if (!check()) return 1;
          break;
        case Choice::Format:
          format();
          break;
        case Choice::Preferences:
          preferences();
          break;
        case Choice::Dependencies:
          dependencies();
          break;
        case Choice::Clean:
          cleanWorkspace();
          out_ << "Les fichiers temporaires ont été éffacés.\n";
          break;
        case Choice::Reset:
          settings_ = Settings{};
          save("Les variables ont été remises par défaut.");
          break;
        case Choice::Quit:
          return 0;
        case Choice::Unknown:
          out_ << "Choix inconnu « " << answer << " » : tapez un nombre de 1 à 7.\n";
          break;
      }
    }
  }

 private:
  // A file name, at most 49 characters; nothing at the end of the input.
  bool askFileName(std::string& name) {
    out_ << "Nom du fichier : " << std::flush;
    if (!readAnswer(in_, name)) return false;
    name = limitFileName(name);
    return true;
  }

  // Yes/no question; an empty answer keeps the current value.
  std::int32_t askFlag(const char* question, std::int32_t current) {
    for (;;) {
      out_ << question << " (o/n) [" << (current == 1 ? "o" : "n") << "] : " << std::flush;
      std::string answer;
      if (!readAnswer(in_, answer) || answer.empty()) return current;
      if (answer == "o" || answer == "O" || answer == "oui") return 1;
      if (answer == "n" || answer == "N" || answer == "non") return 0;
      out_ << "Répondez par o (oui) ou n (non).\n";
    }
  }

  void save(const char* done) {
    if (saveSettings(settings_))
      out_ << done << '\n';
    else
      out_ << "Impossible d'écrire le fichier \"" << kSettingsFileName << "\" !\n";
  }

  // False when a work file could not be opened: the caller ends the program.
  bool check() {
    std::string name;
    if (!askFileName(name)) return true;
    int errors = 0;
    std::string failure;
    std::string report;
    const int result = mainDebug(name, &errors, settings_.showInfo, settings_.tribunal,
                                 settings_.bloodmoon, settings_.hideAlerts, &failure, &report);
    if (result == kResultWorkFileFailure) {
      out_ << resultMessage(result, name, failure) << '\n'
           << "Appuyez sur Entrée pour quitter..." << std::flush;
      std::string ignored;
      readAnswer(in_, ignored);
      return false;
    }
    if (result != kResultReportWritten) {
      out_ << resultMessage(result, name, failure) << '\n';
      return true;
    }
    out_ << '\n' << report << '\n' << statusText(errors) << '\n';
    out_ << "Le rapport est dans le fichier \"" << reportNameFor(name) << "\".\n";
    return true;
  }

  void format() {
    std::string name;
    if (!askFileName(name)) return;
    const int result = mainMEF(name);
    if (result == kFormatRewritten)
      out_ << statusText(kStatusFormatted) << '\n';
    else
      out_ << formatResultMessage(result, name) << '\n';
  }

  void preferences() {
    settings_.showReport =
        askFlag("Afficher le rapport d'erreur après traitement", settings_.showReport);
    settings_.showInfo = askFlag("Afficher les informations sur le script", settings_.showInfo);
    settings_.hideAlerts = askFlag("Ne pas afficher les alertes", settings_.hideAlerts);
    save("Préférences enregistrées.");
  }

  void dependencies() {
    settings_.tribunal = askFlag("Mod Tribunal-dépendant", settings_.tribunal);
    settings_.bloodmoon = askFlag("Mod Bloodmoon-dépendant", settings_.bloodmoon);
    save("Dépendances enregistrées.");
  }

  std::istream& in_;
  std::ostream& out_;
  Settings settings_;
};

}  // namespace

int runScrutinetteMenu(std::istream& in, std::ostream& out) {
  return Menu(in, out).run();
}

}  // namespace lintaro
