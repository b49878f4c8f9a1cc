#include "console/Scrutinette.h"

#include <algorithm>
#include <ostream>

#include "core/MainDebug.h"
#include "shell/Settings.h"

namespace lintaro {

namespace {

constexpr const char* kVersion = "scrutinette (Lintaro) 2.03\n";

constexpr const char* kHelp =
    "Usage : scrutinette [OPTIONS] FICHIER...\n"
    "\n"
    "Vérifie chaque script Morrowind nommé, écrit son rapport « Correction de <nom> »\n"
    "dans le répertoire courant et l'affiche sur la sortie standard.\n"
    "\n"
    "Les préférences viennent du fichier « Scrivlex3.dat » du répertoire courant\n"
    "(celui de la fenêtre) ; les options suivantes les remplacent pour cette fois :\n"
    "  --tribunal       le mod dépend de Tribunal\n"
    "  --bloodmoon      le mod dépend de Bloodmoon\n"
    "  --alertes        afficher les alertes\n"
    "  --sans-alertes   ne pas afficher les alertes\n"
    "  --infos          afficher les informations sur le script\n"
    "  --sans-infos     ne pas afficher les informations sur le script\n"
    "  --help           afficher cette aide\n"
    "  --version        afficher la version\n"
    "\n"
    "Code de sortie : 0 aucun script ne contient d'erreur, 1 un script contient des\n"
    "erreurs, 2 un fichier n'a pas pu être vérifié.\n";

}  // namespace

int runScrutinette(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Settings settings = loadSettings();
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (optionsEnded || !arg.starts_with("-") || arg == "-") {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      out << kHelp;
      return kExitClean;
    } else if (arg == "--version") {
      out << kVersion;
      return kExitClean;
    } else if (arg == "--tribunal") {
      settings.tribunal = 1;
    } else if (arg == "--bloodmoon") {
      settings.bloodmoon = 1;
    } else if (arg == "--alertes") {
      settings.hideAlerts = 0;
    } else if (arg == "--sans-alertes") {
      settings.hideAlerts = 1;
    } else if (arg == "--infos") {
      settings.showInfo = 1;
    } else if (arg == "--sans-infos") {
      settings.showInfo = 0;
    } else {
      err << "scrutinette : option inconnue « " << arg << " »\n"
          << "Essayez « scrutinette --help ».\n";
      return kExitFailure;
    }
  }
  if (files.empty()) {
    err << "scrutinette : aucun fichier à vérifier.\n"
        << "Essayez « scrutinette --help ».\n";
    return kExitFailure;
  }

  int status = kExitClean;
  for (const std::string& file : files) {
    int errors = 0;
    std::string failure;
    std::string report;
    const int result = mainDebug(file, &errors, settings.showInfo, settings.tribunal,
                                 settings.bloodmoon, settings.hideAlerts, &failure, &report);
    if (result == kResultReportWritten) {
      out << report;
      if (errors > 0) status = std::max(status, kExitErrorsFound);
    } else {
      err << resultMessage(result, file, failure) << '\n';
      status = kExitFailure;
    }
  }
  out.flush();
  if (!out) {
    err << "scrutinette : impossible d'écrire le rapport sur la sortie standard.\n";
    return kExitFailure;
  }
  return status;
}

}  // namespace lintaro
