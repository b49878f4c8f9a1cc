#include "console/CheckRun.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <ostream>
#include <system_error>
#include <thread>

#include "core/Encoding.h"
#include "core/Files.h"
#include "core/MainDivers.h"
#include "core/ScriptInput.h"
#include "plugin/Plugin.h"
#include "plugin/ReportHead.h"
#include "plugin/ScriptCheck.h"
#include "run/MainDebug.h"

namespace lintaro {

namespace {

namespace fs = std::filesystem;

bool isScriptName(const fs::path& path) {
  const std::string extension = lowered(utf8FromPath(path.extension()));
  return extension == ".txt" || extension == ".mwscript";
}

// Adds the scripts below `root` to `found`, and a failure for each folder
// that cannot be read.
void walkFolder(const fs::path& root, std::vector<ScriptJob>& found) {
  std::vector<fs::path> pending{root};
  while (!pending.empty()) {
    const fs::path folder = std::move(pending.back());
    pending.pop_back();
    std::error_code error;
    fs::directory_iterator it(folder, error);
    const fs::directory_iterator end;
    for (; !error && it != end; it.increment(error)) {
      const fs::path& path = it->path();
      std::error_code ignored;
      const fs::file_status own = it->symlink_status(ignored);
      if (fs::is_directory(own)) {
        pending.push_back(path);
      } else if ((isScriptName(path) || plugin::isPluginPath(utf8FromPath(path))) &&
                 (fs::is_regular_file(own) ||
                  (fs::is_symlink(own) && fs::is_regular_file(fs::status(path, ignored))))) {
        found.push_back({utf8FromPath(path),
                         plugin::isPluginPath(utf8FromPath(path)) ? ScriptJob::Source::kPlugin
                                                                  : ScriptJob::Source::kFound,
                         {}});
      }
    }
    if (error) {
      found.push_back({utf8FromPath(folder), ScriptJob::Source::kFound,
                       "Impossible de lire le dossier \"" + utf8FromPath(folder) + "\" !"});
    }
  }
}

// What one job gives: its output, its messages, its status and how the
// summary counts it.
enum class Tally { kClean, kAlertsOnly, kErrors, kFailed };

// Scripts counted by Tally.
using Tallies = plugin::Tallies;

Tallies one(Tally tally) {
  Tallies tallies{};
  ++tallies[static_cast<std::size_t>(tally)];
  return tallies;
}

struct Piece {
  std::string out;
  std::string err;
  int status = 0;
  Tallies tallies = one(Tally::kClean);
};

Piece failed(std::string message) {
  return {{}, std::move(message) + '\n', 2, one(Tally::kFailed)};
}

Tally tallyOf(const CheckResult& result) {
  return result.errors > 0   ? Tally::kErrors
         : result.alerts > 0 ? Tally::kAlertsOnly
                             : Tally::kClean;
}

// The work files and report names of mainDebug belong to the current
// directory: one run at a time.
std::mutex& mainDebugMutex() {
  static std::mutex mutex;
  return mutex;
}

Piece checkWithReportFile(const ScriptJob& job, const RunSettings& settings) {
  const CheckOptions& options = settings.check;
  int errors = 0;
  std::string failure;
  std::string report;
  int result = 0;
  {
    const std::lock_guard lock(mainDebugMutex());
    result = mainDebug(job.path, &errors, options.showInfo ? 1 : 0, options.tribunal ? 1 : 0,
                       options.bloodmoon ? 1 : 0, options.hideAlerts ? 1 : 0, &failure, &report,
                       &options.silenced);
  }
  if (result != kResultReportWritten) return failed(resultMessage(result, job.path, failure));
  // The report lists findings ("Liste des erreurs") unless there are none.
  const bool findings = report.find("\n Liste des erreurs :") != std::string::npos;
  const Tally tally = errors > 0 ? Tally::kErrors : findings ? Tally::kAlertsOnly : Tally::kClean;
  return {std::move(report), {}, errors > 0 ? 1 : 0, one(tally)};
}

// Writes the output of `piece` to the report file `name` of the current
// directory; a failure to write is the piece's.
void writeReportFile(Piece& piece, const std::string& name) {
  std::ofstream report(pathFromUtf8(name), std::ios::binary);
  report << piece.out;
  report.close();
  if (!report) {
    piece.err += "Erreur : impossible d'écrire le fichier \"" + name + "\" !\n";
    piece.status = 2;
  }
}

// The output of one checked script in the chosen format; `head` goes before
// the report in texte, whose lines end as the system's text files do.
Piece outputOf(const CheckedScript& script, OutputFormat format, const CheckOptions& options,
               const std::string& head) {
  Piece piece;
  switch (format) {
    case OutputFormat::kTexte: {
      std::vector<NameRun> names;
      const std::string report = reportText(*script.result, options, &names);
      piece.out = withNativeLineEnds(head + plugin::toUtf8(report, names, script.page));
      break;
    }
    case OutputFormat::kGcc:
      piece.out = gccLines(script);
      break;
    case OutputFormat::kJson:
      piece.out = jsonResult(script);
      break;
    case OutputFormat::kSarif:
      piece.out = sarifResults(script);
      break;
  }
  piece.status = script.result->errors > 0 ? 1 : 0;
  piece.tallies = one(tallyOf(*script.result));
  return piece;
}

Piece checkInMemory(const ScriptJob& job, const RunSettings& settings, std::istream& in,
                    std::mutex& inMutex) {
  ScriptInput input;
  if (job.source == ScriptJob::Source::kStdin) {
    const std::lock_guard lock(inMutex);
    input = readScriptStream(in);
  } else {
    input = readScriptInput(job.path);
  }
  if (input.status != InputStatus::kRead)
    return failed(inputFailureMessage(input.status, job.path));
  const CheckResult result = checkScript(
      ScriptText(plugin::decodeScriptBytes(input.bytes, settings.page)), settings.check);
  std::string().swap(input.bytes);
  if (result.status == CheckStatus::kTooManyLines)
    return failed(resultMessage(kResultTooManyLines, job.path));

  const CheckedScript script{job.path, &result, !settings.check.hideAlerts, nullptr, settings.page};
  return outputOf(script, settings.format, settings.check,
                  job.source == ScriptJob::Source::kFound ? "==> " + job.path + " <==\n" : "");
}

// Runs `work(i)` for every i below `count` on at most `threads` threads.
template <typename Work>
void parallelFor(std::size_t count, unsigned threads, const Work& work) {
  std::atomic<std::size_t> next{0};
  const auto loop = [&] {
    for (std::size_t i = next++; i < count; i = next++)
      work(i);
  };
  const std::size_t extra = std::min<std::size_t>(threads, count);
  std::vector<std::thread> workers;
  for (std::size_t t = 1; t < extra; ++t)
    workers.emplace_back(loop);
  loop();
  for (std::thread& worker : workers)
    worker.join();
}

// The output of one script of a plugin.
Piece checkPluginEntry(const ScriptJob& job, const plugin::ScriptEntry& entry,
                       const RunSettings& settings, const CheckOptions& options) {
  const PluginPlace place{
      entry.kind == plugin::ScriptKind::kResult, plugin::toUtf8(entry.name, settings.page),
      plugin::toUtf8(entry.topic, settings.page), plugin::toUtf8(entry.infoId, settings.page)};
  const std::string label = placeLabel(place);
  const CheckResult result = plugin::checkEntry(entry, options);
  if (result.status == CheckStatus::kTooManyLines)
    return failed(resultMessage(kResultTooManyLines, job.path + ":" + label));
  const CheckedScript script{job.path, &result, !options.hideAlerts, &place, settings.page};
  return outputOf(script, settings.format, options, "==> " + label + " <==\n");
}

// A plugin: every script that the game loads, checked with the expansions
// its masters imply; in texte, one combined report written to the current
// directory and shown.
Piece checkPlugin(const ScriptJob& job, const RunSettings& settings) {
  const std::filesystem::path path = pathFromUtf8(job.path);
  const plugin::ReadResult read = plugin::readPlugin(path);
  if (read.status != plugin::ReadStatus::kRead) return failed(read.error);
  const plugin::Plugin& mod = read.plugin;
  const plugin::Expansions expansions =
      plugin::findExpansions(path, mod.header, settings.expansions, settings.page);
  CheckOptions options = settings.check;
  options.tribunal = expansions.tribunal;
  options.bloodmoon = expansions.bloodmoon;

  std::vector<std::size_t> entries;
  for (std::size_t i = 0; i < mod.scripts.size(); ++i) {
    if (!mod.scripts[i].skipped) entries.push_back(i);
  }
  std::vector<Piece> pieces(entries.size());
  parallelFor(entries.size(), settings.pluginThreads, [&](std::size_t i) {
    try {
      pieces[i] = checkPluginEntry(job, mod.scripts[entries[i]], settings, options);
    } catch (const std::exception& e) {  // no exception may leave a thread
      pieces[i] =
          failed("Erreur inattendue pendant la vérification de \"" + job.path + "\" : " + e.what());
    }
  });

  Piece piece;
  piece.tallies = {};
  const bool document =
      settings.format == OutputFormat::kJson || settings.format == OutputFormat::kSarif;
  for (const Piece& entry : pieces) {
    if (document && !entry.out.empty() && !piece.out.empty()) piece.out += kResultSeparator;
    piece.out += entry.out;
    piece.err += entry.err;
    piece.status = std::max(piece.status, entry.status);
    for (std::size_t t = 0; t < piece.tallies.size(); ++t)
      piece.tallies[t] += entry.tallies[t];
  }
  if (settings.format == OutputFormat::kTexte) {
    piece.out = withNativeLineEnds(plugin::reportHead(
                    plugin::displayName(path), mod.header, settings.page,
                    plugin::expansionLines(expansions), mod.counts, piece.tallies)) +
                piece.out;
    writeReportFile(piece, "Correction de " + plugin::displayName(path));
  }
  return piece;
}

Piece runJob(const ScriptJob& job, const RunSettings& settings, std::istream& in,
             std::mutex& inMutex) {
  if (!job.failure.empty()) return failed(job.failure);
  try {
    if (job.source == ScriptJob::Source::kPlugin) return checkPlugin(job, settings);
    if (settings.format == OutputFormat::kTexte && job.source == ScriptJob::Source::kFile) {
      if (settings.page == plugin::CodePage::kWindows1252)
        return checkWithReportFile(job, settings);
      // The file run reads scripts as Windows-1252: a script of another code
      // page is checked in memory, its report written here.
      Piece piece = checkInMemory(job, settings, in, inMutex);
      if (piece.tallies[static_cast<std::size_t>(Tally::kFailed)] == 0)
        writeReportFile(piece, reportNameFor(job.path));
      return piece;
    }
    return checkInMemory(job, settings, in, inMutex);
  } catch (const std::exception& e) {
    return failed("Erreur inattendue pendant la vérification de \"" + job.path +
                  "\" : " + e.what());
  }
}

std::string plural(int count, std::string_view singular, std::string_view pluralForm) {
  return std::to_string(count) + " " + std::string(count > 1 ? pluralForm : singular);
}

// "642 scripts vérifiés : 132 avec erreurs, 40 avec alertes seulement, 2 non vérifiés"
std::string summaryLine(const Tallies& tallies) {
  const int checked = tallies[0] + tallies[1] + tallies[2];
  return plural(checked, "script vérifié", "scripts vérifiés") + " : " +
         std::to_string(tallies[2]) + " avec erreurs, " + std::to_string(tallies[1]) +
         " avec alertes seulement, " + plural(tallies[3], "non vérifié", "non vérifiés") + "\n";
}

}  // namespace

std::vector<ScriptJob> scriptJobs(const std::vector<std::string>& inputs, bool& anyFolder) {
  anyFolder = false;
  std::vector<ScriptJob> jobs;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (input == "-") {
      jobs.push_back({input, ScriptJob::Source::kStdin, {}});
    } else if (fs::is_directory(pathFromUtf8(input), error)) {
      anyFolder = true;
      std::vector<ScriptJob> found;
      walkFolder(pathFromUtf8(input), found);
      std::sort(found.begin(), found.end(),
                [](const ScriptJob& a, const ScriptJob& b) { return a.path < b.path; });
      for (ScriptJob& job : found)
        jobs.push_back(std::move(job));
    } else {
      jobs.push_back(
          {input,
           plugin::isPluginPath(input) ? ScriptJob::Source::kPlugin : ScriptJob::Source::kFile,
           {}});
    }
  }
  return jobs;
}

int runChecks(const std::vector<ScriptJob>& jobs, const RunSettings& given, std::istream& in,
              std::ostream& out, std::ostream& err) {
  std::mutex mutex;
  std::condition_variable ready;
  std::vector<std::optional<Piece>> pieces(jobs.size());
  std::size_t next = 0;
  std::mutex inMutex;

  const std::size_t threadCount =
      std::max<std::size_t>(1, std::min<std::size_t>(given.threads, jobs.size()));
  // The threads of the inputs share the -j budget with those of a plugin's
  // scripts: never more than about `threads` at once.
  RunSettings settings = given;
  settings.pluginThreads = std::max(1U, given.threads / static_cast<unsigned>(threadCount));
  std::vector<std::thread> workers;
  workers.reserve(threadCount);
  for (std::size_t t = 0; t < threadCount; ++t) {
    workers.emplace_back([&] {
      for (;;) {
        std::size_t index = 0;
        {
          const std::lock_guard lock(mutex);
          if (next >= jobs.size()) return;
          index = next++;
        }
        Piece piece = runJob(jobs[index], settings, in, inMutex);
        {
          const std::lock_guard lock(mutex);
          pieces[index] = std::move(piece);
        }
        ready.notify_all();
      }
    });
  }

  if (settings.format == OutputFormat::kJson) out << jsonHead();
  if (settings.format == OutputFormat::kSarif) out << sarifHead();
  int status = 0;
  Tallies tallies{};
  bool firstResult = true;
  bool progressShown = false;
  const auto start = std::chrono::steady_clock::now();
  auto lastProgress = start;
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    Piece piece;
    {
      std::unique_lock lock(mutex);
      while (!pieces[i]) {
        ready.wait_for(lock, std::chrono::milliseconds(200));
        const auto now = std::chrono::steady_clock::now();
        if (settings.progress && jobs.size() > 1 && now - start > std::chrono::seconds(1) &&
            now - lastProgress > std::chrono::milliseconds(100)) {
          err << "\rVérification : " << i << "/" << jobs.size() << " scripts" << std::flush;
          progressShown = true;
          lastProgress = now;
        }
      }
      piece = std::move(*pieces[i]);
      pieces[i].reset();
    }
    if (progressShown && !piece.err.empty()) err << "\r\033[K";
    err << piece.err;
    const bool documentFormat =
        settings.format == OutputFormat::kJson || settings.format == OutputFormat::kSarif;
    if (documentFormat && !piece.out.empty()) {
      if (!firstResult) out << kResultSeparator;
      firstResult = false;
    }
    out << piece.out;
    status = std::max(status, piece.status);
    for (std::size_t t = 0; t < tallies.size(); ++t)
      tallies[t] += piece.tallies[t];
  }
  for (std::thread& worker : workers)
    worker.join();
  if (settings.format == OutputFormat::kJson) out << jsonTail();
  if (settings.format == OutputFormat::kSarif) out << sarifTail();
  if (progressShown) err << "\r\033[K";
  if (settings.summary) err << summaryLine(tallies);
  out.flush();
  if (!out) {
    err << "scrutinette : impossible d'écrire le rapport sur la sortie standard.\n";
    return 2;
  }
  return status;
}

}  // namespace lintaro
