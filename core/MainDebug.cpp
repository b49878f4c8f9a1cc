#include "core/MainDebug.h"

#include <optional>

#include "analysis/DetectVar.h"
#include "analysis/MainEnchaineTests.h"
#include "analysis/MainSyntaxe.h"
#include "core/CheckContext.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/RunLock.h"
#include "core/ScriptText.h"
#include "core/WorkFiles.h"
#include "report/MainEcritureLog.h"

namespace lintaro {

std::string reportNameFor(std::string_view scriptPath) {
  std::size_t slash = scriptPath.find_last_of('/');
#ifdef _WIN32
  const std::size_t backslash = scriptPath.find_last_of("\\:");
  if (backslash != std::string_view::npos &&
      (slash == std::string_view::npos || backslash > slash)) {
    slash = backslash;
  }
#endif
  const std::string_view base =
      slash == std::string_view::npos ? scriptPath : scriptPath.substr(slash + 1);
  return "Correction de " + std::string(base);
}

int runCheckPasses(const ScriptText& script, Journal& journal, InfoStore& info, int tribunal,
                   int bloodmoon) {
  for (const std::string_view keyword : {"short", "float", "long"}) {
    const int scan = strDetectVar(script, info, keyword);
    if (scan != kDetectVarDone) return scan;
  }
  if (checkTest(script.lineCount() + 1, script, journal) != kCheckTestDone) {
    return kResultJournalUnopenable;
  }
  CheckContext ctx{journal, info, tribunal, bloodmoon};
  syntaxe(script.lineCount(), script, ctx);
  synDetectUnderscore(journal, info);
  return 0;
}

namespace {

int runPasses(const std::string& scriptPath, int* errorCount, int showInfo, int tribunal,
              int bloodmoon, int hideAlerts, std::string* reportBytes) {
  const std::string reportName = reportNameFor(scriptPath);
  for (const char* name : kWorkFileNames)
    removeFile(name);

  const std::optional<ScriptText> script = readScriptFile(scriptPath);
  if (!script) return kResultScriptUnreadable;
  const int lineCount = script->lineCount();

  for (const char* name : kWorkFileNames)
    createEmptyFile(name);
  if (lineCount > kMaxLines) return kResultTooManyLines;

  Journal journal;
  InfoStore info;
  if (const int failed = runCheckPasses(*script, journal, info, tribunal, bloodmoon); failed != 0) {
    return failed;
  }
  if (!ecritureLog(reportName, lineCount, showInfo, hideAlerts, errorCount, journal, info)) {
    return kResultReportUnreadable;
  }

  std::optional<std::string> report = readFileBytes(reportName);
  if (!report) return kResultReportUnreadable;
  if (reportBytes != nullptr) *reportBytes = std::move(*report);
  return kResultReportWritten;
}

}  // namespace

int mainDebug(const std::string& scriptPath, int* errorCount, int showInfo, int tribunal,
              int bloodmoon, int hideAlerts, std::string* failureMessage,
              std::string* reportBytes) {
  const DirectoryLock lock;
  try {
    return runPasses(scriptPath, errorCount, showInfo, tribunal, bloodmoon, hideAlerts,
                     reportBytes);
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
