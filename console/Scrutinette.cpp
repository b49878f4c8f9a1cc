#include "console/Scrutinette.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>
#include <thread>

#include "console/CheckRun.h"
#include "console/ConsoleSystem.h"
#include "console/FormatPipe.h"
#include "core/Files.h"
#include "core/Version.h"
#include "formatter/MainMiseEnForme.h"
#include "plugin/CodePages.h"
#include "plugin/Extract.h"
#include "plugin/Plugin.h"
#include "run/MainDebug.h"
#include "shell/Settings.h"

namespace lintaro {

namespace {

constexpr const char* kHelp =
    "Usage : scrutinette [OPTIONS] ENTRÉE...\n"
    "        scrutinette --format [--diff] FICHIER...\n"
    "        scrutinette --verifier-format FICHIER...\n"
    "        scrutinette --expliquer CODE\n"
    "        scrutinette --extraire DOSSIER PLUGIN...\n"
    "\n"
    "Vérifie chaque script Morrowind nommé. Une ENTRÉE est un fichier, « - »\n"
    "(le script est lu sur l'entrée standard) ou un dossier, parcouru avec ses\n"
    "sous-dossiers pour ses fichiers *.txt, *.mwscript et ses plugins, dans l'ordre\n"
    "des chemins. Un plugin (*.esp, *.esm, *.omwaddon) est vérifié script par\n"
    "script : chaque script (SCPT) et chaque script de résultat des répliques ;\n"
    "Tribunal et Bloodmoon sont supposés d'après ses maîtres.\n"
    "\n"
    "En sortie texte (par défaut), le rapport « Correction de <nom> » d'un fichier\n"
    "est écrit dans le répertoire courant et affiché sur la sortie standard ; le\n"
    "rapport d'un script lu sur l'entrée standard ou trouvé dans un dossier n'est\n"
    "qu'affiché, celui d'un script de dossier après une ligne « ==> chemin <== ».\n"
    "Un plugin donne un rapport « Correction de <plugin> » écrit et affiché : un\n"
    "en-tête (maîtres, extensions, décomptes), puis le rapport de chaque script\n"
    "après une ligne « ==> NomDuScript <== »\n"
    "(« ==> dialogue \"Sujet\" / info N <== » pour un script de résultat).\n"
    "\n"
    "Avec --format, met en forme chaque fichier sur place au lieu de le vérifier :\n"
    "une tabulation par bloc if/while ouvert, un espace de chaque côté des\n"
    "parenthèses (hors texte entre guillemets et commentaires). Un fichier dont les\n"
    "if/else/elseif/endif/while/endwhile sont mal enchaînés n'est pas modifié.\n"
    "« --format - » met en forme l'entrée standard vers la sortie standard.\n"
    "\n"
    "Les préférences viennent du fichier « Scrivlex3.dat » du répertoire courant\n"
    "(celui de la fenêtre) ; les options suivantes les remplacent pour cette fois :\n"
    "  --tribunal       le mod dépend de Tribunal\n"
    "  --bloodmoon      le mod dépend de Bloodmoon\n"
    "  --sans-tribunal  le mod ne dépend pas de Tribunal (l'emporte sur les maîtres\n"
    "                   d'un plugin, comme --tribunal)\n"
    "  --sans-bloodmoon le mod ne dépend pas de Bloodmoon\n"
    "  --alertes        afficher les alertes\n"
    "  --sans-alertes   ne pas afficher les alertes (dans toutes les sorties)\n"
    "  --infos          afficher les informations sur le script\n"
    "  --sans-infos     ne pas afficher les informations sur le script\n"
    "\n"
    "Autres options :\n"
    "  --sortie FORME   forme des résultats : texte (par défaut), gcc (une ligne\n"
    "                   « chemin:ligne: error: message [CODE] » par erreur ou\n"
    "                   « warning » par alerte), json ou sarif (SARIF 2.1.0) ;\n"
    "                   hors texte, rien n'est écrit dans le répertoire courant ;\n"
    "                   pour un plugin, « plugin:script:ligne: error: ... »\n"
    "  --encodage N     page de code des plugins et des scripts non UTF-8 : 1252\n"
    "                   (par défaut, éditions occidentales), 1250 (Europe\n"
    "                   centrale) ou 1251 (cyrillique)\n"
    "  --extraire DOSSIER  écrire chaque script des plugins nommés dans DOSSIER\n"
    "                   (NOM.mwscript, dialogue-SUJET-INFO.mwscript), sans vérifier\n"
    "  --ignorer CODES  ne jamais signaler ces codes (LT201,LT305... ; répétable)\n"
    "  -j N             vérifier N scripts à la fois (par défaut : un par cœur) ;\n"
    "                   les résultats restent dans l'ordre des entrées\n"
    "  --expliquer CODE afficher la fiche d'un code : message, explication, exemples\n"
    "  --format         mettre en forme les fichiers au lieu de les vérifier\n"
    "  --diff           avec --format : afficher les changements (diff -u, pour\n"
    "                   « patch -p0 ») au lieu de réécrire les fichiers\n"
    "  --verifier-format  lister les fichiers que --format changerait, sans rien\n"
    "                   modifier\n"
    "  --lsp            (seule) servir de serveur de langage (LSP) à un éditeur,\n"
    "                   sur l'entrée et la sortie standard\n"
    "  --help           afficher cette aide\n"
    "  --version        afficher la version\n"
    "  --               la suite n'est faite que d'entrées\n"
    "\n"
    "Dans un script, le commentaire « ; lintaro: ignorer CODE[,CODE...] » fait\n"
    "taire ces codes sur sa ligne ; seul sur une ligne avant « Begin », dans tout\n"
    "le script.\n"
    "\n"
    "Au-delà d'un script, un bilan est écrit sur la sortie d'erreur (en sortie texte,\n"
    "seulement si un dossier est donné). Une entrée de plus de 25 Mo est refusée\n"
    "(512 Mo pour un plugin).\n"
    "\n"
    "Code de sortie : 0 aucun script ne contient d'erreur, 1 un script contient des\n"
    "erreurs, 2 un fichier n'a pas pu être vérifié (un plugin corrompu) ou la ligne\n"
    "de commande est incorrecte (2 l'emporte sur 1).\n"
    "Avec --format : 0 tous les fichiers ont été mis en forme, 1 un fichier a des\n"
    "blocs mal enchaînés, 2 un fichier n'a pas pu être mis en forme (absent, plus de\n"
    "5000 lignes, plus de 25 Mo, impossible à écrire).\n"
    "Avec --verifier-format : 0 rien ne changerait, 1 un fichier changerait, 2 un\n"
    "fichier n'a pas pu être mis en forme.\n";

// Formats each file in place ("-": standard input to `out`). A message goes
// to `out` for each file rewritten and to `err` for each refusal; the most
// serious outcome gives the status.
int formatFiles(const std::vector<std::string>& files, std::istream& in, std::ostream& out,
                std::ostream& err) {
  int status = kExitClean;
  for (const std::string& file : files) {
    if (file == "-") {
      status = std::max(status, formatStream(in, out, err));
      continue;
    }
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

int usageError(std::ostream& err, const std::string& message) {
  err << "scrutinette : " << message << "\nEssayez « scrutinette --help ».\n";
  return kExitFailure;
}

// The catalogue entry of a code, in French.
void explain(const DiagnosticRow& row, std::ostream& out) {
  const auto example = [&out](std::string_view title, std::string_view lines) {
    out << title << " :\n";
    while (!lines.empty()) {
      const std::size_t end = lines.find('\n');
      out << "    " << lines.substr(0, end) << '\n';
      lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    }
  };
  out << row.code << " (" << (row.kind == kAlert ? "alerte" : "erreur") << ") " << row.name
      << "\nMessage : " << row.message << '\n';
  if (!row.explanation.empty()) out << '\n' << row.explanation << '\n';
  if (!row.wrong.empty()) {
    out << '\n';
    example("Exemple fautif", row.wrong);
    example("Correction", row.right);
  }
}

std::optional<OutputFormat> outputFormat(std::string_view name) {
  if (name == "texte") return OutputFormat::kTexte;
  if (name == "gcc") return OutputFormat::kGcc;
  if (name == "json") return OutputFormat::kJson;
  if (name == "sarif") return OutputFormat::kSarif;
  return std::nullopt;
}

// Most threads -j accepts.
constexpr unsigned kMaxThreads = 256;

std::optional<unsigned> threadCount(const std::string& text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
      value > kMaxThreads) {
    return std::nullopt;
  }
  return value;
}

// Writes the scripts of each plugin into `folder`, one file per script, and
// lists the files written.
int extractPlugins(const std::vector<std::string>& plugins, const std::string& folder,
                   plugin::CodePage page, std::ostream& out, std::ostream& err) {
  int status = kExitClean;
  for (const std::string& path : plugins) {
    const plugin::ReadResult read = plugin::readPlugin(pathFromUtf8(path));
    if (read.status != plugin::ReadStatus::kRead) {
      err << read.error << '\n';
      status = kExitFailure;
      continue;
    }
    const plugin::Extraction extraction =
        plugin::extractScripts(read.plugin, pathFromUtf8(folder), page);
    for (const plugin::ExtractedFile& file : extraction.files)
      out << utf8FromPath(pathFromUtf8(folder) / pathFromUtf8(file.fileName)) << '\n';
    out << plugin::displayName(pathFromUtf8(path)) << " : " << extraction.files.size()
        << (extraction.files.size() > 1 ? " scripts écrits" : " script écrit") << " dans " << folder
        << '\n';
    if (!extraction.ok) {
      err << extraction.error << '\n';
      status = kExitFailure;
    }
  }
  out.flush();
  return status;
}

bool isTerminal(const std::ostream& err) {
  return &err == &std::cerr && standardErrorIsTerminal();
}

}  // namespace

int runScrutinette(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return runScrutinette(args, std::cin, out, err);
}

int runScrutinette(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  CLI::App app{"scrutinette"};
  app.set_help_flag();
  app.allow_extras();
  // "/chemin" is a path on every system, never a Windows-style option.
  app.allow_windows_style_options(false);
  std::vector<std::string> inputs;
  std::string sortie = "texte";
  std::string jobs;
  std::string explained;
  std::string encoding = "1252";
  std::string extractFolder;
  std::vector<std::string> ignored;
  bool format = false;
  bool diff = false;
  bool checkFormat = false;
  app.add_flag("-h,--help");
  app.add_flag("--version");
  for (const char* name : {"--tribunal", "--bloodmoon", "--sans-tribunal", "--sans-bloodmoon",
                           "--alertes", "--sans-alertes", "--infos", "--sans-infos"}) {
    app.add_flag(name);
  }
  app.add_flag("--format", format);
  app.add_flag("--diff", diff);
  app.add_flag("--verifier-format", checkFormat);
  app.add_option("--sortie", sortie);
  app.add_option("-j", jobs);
  app.add_option("--ignorer", ignored)->delimiter(',')->allow_extra_args(false);
  app.add_option("--expliquer", explained);
  app.add_option("--encodage", encoding);
  app.add_option("--extraire", extractFolder);
  app.add_option("entrees", inputs);

  std::vector<std::string> argv(args.rbegin(), args.rend());  // CLI11 takes them reversed
  try {
    app.parse(argv);
  } catch (const CLI::ParseError& e) {
    // CLI11's messages start with the option's name.
    const std::string what = e.what();
    const std::string name = what.substr(0, what.find(':'));
    return usageError(err, what.find("missing") != std::string::npos
                               ? "l'option « " + name + " » attend une valeur."
                               : "l'option « " + name + " » est mal employée.");
  }

  // An unknown option, help and version act in the order given.
  std::vector<std::string> unknown;
  for (const std::string& extra : app.remaining()) {
    if (extra != "--") unknown.push_back(extra);
  }
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (!unknown.empty() && arg == unknown.front()) {
      return usageError(err, "option inconnue « " + arg + " »");
    }
    if (arg == "--help" || arg == "-h") {
      out << kHelp;
      return kExitClean;
    }
    if (arg == "--version") {
      out << "scrutinette (Lintaro) " << kVersion << "\n";
      return kExitClean;
    }
  }

  Settings settings = loadSettings();
  plugin::ExpansionChoice expansions;
  for (const CLI::Option* option : app.parse_order()) {
    const std::string name = option->get_name();
    if (name == "--tribunal") {
      settings.tribunal = 1;
      expansions.tribunal = true;
    }
    if (name == "--bloodmoon") {
      settings.bloodmoon = 1;
      expansions.bloodmoon = true;
    }
    if (name == "--sans-tribunal") {
      settings.tribunal = 0;
      expansions.tribunal = false;
    }
    if (name == "--sans-bloodmoon") {
      settings.bloodmoon = 0;
      expansions.bloodmoon = false;
    }
    if (name == "--alertes") settings.hideAlerts = 0;
    if (name == "--sans-alertes") settings.hideAlerts = 1;
    if (name == "--infos") settings.showInfo = 1;
    if (name == "--sans-infos") settings.showInfo = 0;
  }

  if (!explained.empty()) {
    const DiagnosticRow* row = findDiagnostic(explained);
    if (row == nullptr) return usageError(err, "code inconnu « " + explained + " »");
    explain(*row, out);
    out.flush();
    return kExitClean;
  }
  const std::optional<OutputFormat> output = outputFormat(sortie);
  if (!output) {
    return usageError(err,
                      "forme de sortie inconnue « " + sortie + " » (texte, gcc, json ou sarif)");
  }
  std::optional<unsigned> threads = std::max(1U, std::thread::hardware_concurrency());
  if (!jobs.empty() || app.count("-j") > 0) threads = threadCount(jobs);
  if (!threads) {
    return usageError(err, "-j attend un nombre de scripts de 1 à " + std::to_string(kMaxThreads) +
                               " (« " + jobs + " »)");
  }
  CheckOptions options;
  for (const std::string& code : ignored) {
    const DiagnosticRow* row = findDiagnostic(code);
    if (row == nullptr) return usageError(err, "code inconnu « " + code + " » (--ignorer)");
    options.silenced.push_back(row->id);
  }
  const std::optional<plugin::CodePage> page = plugin::codePageNamed(encoding);
  if (!page) {
    return usageError(err, "encodage inconnu « " + encoding + " » (1250, 1251 ou 1252)");
  }
  if (app.count("--extraire") > 0) {
    if (extractFolder.empty()) return usageError(err, "--extraire attend un dossier.");
    if (inputs.empty()) return usageError(err, "aucun plugin dont extraire les scripts.");
    return extractPlugins(inputs, extractFolder, *page, out, err);
  }
  if (diff && !format) return usageError(err, "--diff ne s'emploie qu'avec --format.");
  if (format && checkFormat) {
    return usageError(err, "--format et --verifier-format ne s'emploient pas ensemble.");
  }

  if ((format || checkFormat) && inputs.empty()) {
    return usageError(err, "aucun fichier à mettre en forme.");
  }
  if (checkFormat) return checkFormatting(inputs, in, out, err);
  if (format && diff) return formatDiffs(inputs, in, out, err);
  if (format) return formatFiles(inputs, in, out, err);
  if (inputs.empty()) return usageError(err, "aucun fichier à vérifier.");

  options.tribunal = settings.tribunal != 0;
  options.bloodmoon = settings.bloodmoon != 0;
  options.showInfo = settings.showInfo != 0;
  options.hideAlerts = settings.hideAlerts != 0;
  RunSettings run;
  run.format = *output;
  run.check = std::move(options);
  run.threads = *threads;
  run.progress = isTerminal(err);
  run.expansions = expansions;
  run.page = *page;
  bool anyFolder = false;
  const std::vector<ScriptJob> scripts = scriptJobs(inputs, anyFolder);
  const bool anyPlugin = std::any_of(scripts.begin(), scripts.end(), [](const ScriptJob& job) {
    return job.source == ScriptJob::Source::kPlugin;
  });
  run.summary = (scripts.size() > 1 || (anyPlugin && run.format != OutputFormat::kTexte)) &&
                (run.format != OutputFormat::kTexte || anyFolder);
  return runChecks(scripts, run, in, out, err);
}

}  // namespace lintaro
