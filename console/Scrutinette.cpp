#include "console/Scrutinette.h"

#include <algorithm>
#include <ostream>

#include "core/Version.h"
#include "run/MainDebug.h"
#include "formatter/MainMiseEnForme.h"
#include "shell/Settings.h"

namespace lintaro {

namespace {



constexpr const char* kHelp =
    "Usage : scrutinette [OPTIONS] FICHIER...\n"
    "        scrutinette --format FICHIER...\n"
    "\n"
    "Vérifie chaque script Morrowind nommé, écrit son rapport « Correction de <nom> »\n"
    "dans le répertoire courant et l'affiche sur la sortie standard.\n"
    "\n"
    "Avec --format, met en forme chaque fichier sur place au lieu de le vérifier :\n"
    "une tabulation par bloc if/while ouvert, un espace de chaque côté des\n"
    "parenthèses (hors texte entre guillemets et commentaires). Un fichier dont les\n"
    "if/else/elseif/endif/while/endwhile sont mal enchaînés n'est pas modifié.\n"
    "\n"
    "Les préférences viennent du fichier « Scrivlex3.dat » du répertoire courant\n"
    "(celui de la fenêtre) ; les options suivantes les remplacent pour cette fois :\n"
    "  --tribunal       le mod dépend de Tribunal\n"
    "  --bloodmoon      le mod dépend de Bloodmoon\n"
    "  --alertes        afficher les alertes\n"
    "  --sans-alertes   ne pas afficher les alertes\n"
    "  --infos          afficher les informations sur le script\n"
    "  --sans-infos     ne pas afficher les informations sur le script\n"
    "  --format         mettre en forme les fichiers au lieu de les vérifier\n"
    "  --help           afficher cette aide\n"
    "  --version        afficher la version\n"
    "\n"
    "Code de sortie : 0 aucun script ne contient d'erreur, 1 un script contient des\n"
    "erreurs, 2 un fichier n'a pas pu être vérifié.\n"
    "Avec --format : 0 tous les fichiers ont été mis en forme, 1 un fichier a des\n"
    "blocs mal enchaînés, 2 un fichier n'a pas pu être mis en forme (absent, plus de\n"
    "5000 lignes, impossible à écrire).\n";

// Formats each file in place. A message goes to `out` for each file rewritten
// and to `err` for each refusal; the most serious outcome gives the status.
int formatFiles(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
  int status = kExitClean;
  for (const std::string& file : files) {
    const int result = mainMEF(file);
    const std::string message = formatResultMessage(result, file);
    switch (result) {
      case kFormatRewritten:
        out << message << '\n';
        break;
      case kFormatBadChain:  // these two messages do not name the file
        err << file << " : " << message << '\n';
        status = std::max(status, kExitErrorsFound);
        break;
      case kFormatTooManyLines:
        err << file << " : " << message << '\n';
        status = kExitFailure;
        break;
      default:
        err << message << '\n';
        status = kExitFailure;
        break;
    }
  }
  out.flush();
  return status;
}

}  // namespace

int runScrutinette(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Settings settings = loadSettings();
  std::vector<std::string> files;
  bool optionsEnded = false;
  bool format = false;
  for (const std::string& arg : args) {
    if (optionsEnded || !arg.starts_with("-") || arg == "-") {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      out << kHelp;
      return kExitClean;
    } else if (arg == "--version") {
      out << "scrutinette (Lintaro) " << kVersion << "\n";
      return kExitClean;
    } else if (arg == "--format") {
      format = true;
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
  if (format && files.empty()) {
    err << "scrutinette : aucun fichier à mettre en forme.\n"
        << "Essayez « scrutinette --help ».\n";
    return kExitFailure;
  }
  if (format) return formatFiles(files, out, err);
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
