#include "run/MainDebug.h"

#include <optional>

#include <cstdio>

#include "core/Encoding.h"
#include "core/Files.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/RunLock.h"
#include "core/ScriptText.h"
#include "core/WorkFiles.h"
#include "report/MainEcritureLog.h"
#include "run/Check.h"
#include "run/WorkFileMirrors.h"

namespace lintaro {

std::string reportNameFor(std::string_view scriptPath) {
  const std::size_t slash = lastPathSeparator(scriptPath);
  const std::string_view base =
      slash == std::string_view::npos ? scriptPath : scriptPath.substr(slash + 1);
  return "Correction de " + std::string(base);
}

namespace {

// Writes the report (UTF-8, the platform's line ends) and stores the error
// count. Returns false when the report could not be written whole (a full
// disk); throws WorkFileError when it cannot be opened.
bool writeReport(const std::string& reportName, int lineCount, bool showInfo, bool hideAlerts,
                 int* errorCount, const Journal& journal, const InfoStore& info) {
  std::FILE* report = openFile(reportName, "wb");
  if (report == nullptr) {
    throw WorkFileError("Erreur : impossible d'ouvrir le fichier \"" + reportName + "\" !\n\n");
  }
  const std::string text =
      composeReport(lineCount, showInfo, hideAlerts, journal, info, errorCount);
  const std::string bytes = withNativeLineEnds(cp1252ToUtf8(text));
  bool complete = std::fwrite(bytes.data(), 1, bytes.size(), report) == bytes.size();
  complete = std::fclose(report) == 0 && complete;
  return complete;
}

int runPasses(const std::string& scriptPath, int* errorCount, int showInfo, int tribunal,
              int bloodmoon, int hideAlerts, std::string* reportBytes,
              const std::vector<Diag>* silenced) {
  const std::string reportName = reportNameFor(scriptPath);
  for (const char* name : kWorkFileNames)
    removeFile(name);

  InputStatus status = InputStatus::kUnreadable;
  const std::optional<ScriptText> script = readScriptFile(scriptPath, &status);
  if (!script) {
    return status == InputStatus::kTooLarge ? kResultScriptTooLarge : kResultScriptUnreadable;
  }
  const int lineCount = script->lineCount();

  for (const char* name : kWorkFileNames)
    createEmptyFile(name);
  if (lineCount > kMaxLines) return kResultTooManyLines;

  JournalFile journalFile;
  InfoFiles infoFiles;
  Journal journal;
  journal.setMirror(&journalFile);
  InfoStore info;
  info.setMirror(&infoFiles);
  CheckOptions options;
  options.tribunal = tribunal != 0;
  options.bloodmoon = bloodmoon != 0;
  if (silenced != nullptr) options.silenced = *silenced;
  if (const int failed = runCheck(*script, options, journal, info); failed != 0) return failed;
  const bool complete =
      writeReport(reportName, lineCount, showInfo == 1, hideAlerts == 1, errorCount, journal, info);
  journalFile.close();
  infoFiles.close();
  for (const char* name : kWorkFileNames)
    removeFile(name);
  if (!complete) return kResultReportUnreadable;

  std::optional<std::string> report = readFileBytes(reportName);
  if (!report) return kResultReportUnreadable;
  if (reportBytes != nullptr) *reportBytes = std::move(*report);
  return kResultReportWritten;
}

}  // namespace

int mainDebug(const std::string& scriptPath, int* errorCount, int showInfo, int tribunal,
              int bloodmoon, int hideAlerts, std::string* failureMessage, std::string* reportBytes,
              const std::vector<Diag>* silenced) {
  const DirectoryLock lock;
  try {
    return runPasses(scriptPath, errorCount, showInfo, tribunal, bloodmoon, hideAlerts, reportBytes,
                     silenced);
  } catch (const WorkFileError& error) {
    if (failureMessage != nullptr) *failureMessage = error.what();
    return kResultWorkFileFailure;
  }
}

std::string resultMessage(int result, std::string_view name, std::string_view failureMessage) {
  const std::string file(name);
  switch (result) {
    case kResultReportWritten:
      return "Un rapport d'erreur a ete créé dans le fichier \"" + reportNameFor(name) + "\"";
    case kResultReportUnreadable:
      return "Impossible d'écrire le fichier \"" + reportNameFor(name) + "\" !";
    case kResultScriptUnreadable:
      return "Impossible d'ouvrir le fichier \"" + file + "\" !";
    case kResultScriptTooLarge:
      return inputFailureMessage(InputStatus::kTooLarge, file);
    case kResultJournalUnopenable:
      return "Impossible d'ouvrir le fichier DbTempTES3 depuis EnchaineTests";
    case kResultScanScriptUnreadable:
      return "Impossible d'ouvrir le fichier \"" + file +
             "\" depuis le fichier source \"strDetectVar\" !";
    case kResultScanInfoUnopenable:
      return "Impossible d'ouvrir le fichier InfTempTES3 depuis \"strDetectVar\" !";
    case kResultTooManyLines:
      return "Plus de 5000 lignes dans votre script : le débugueur ne peut pas le gérer ! Scindez "
             "le en parties distinctes si vous souhaitez tout de même faire la vérification "
             "syntaxique.";
    case kResultWorkFileFailure: {
      std::string text(failureMessage);
      while (!text.empty() && text.back() == '\n')
        text.pop_back();
      return text;
    }
    default:
      return "Erreur inattendue (code " + std::to_string(result) + ").";
  }
}

}  // namespace lintaro
