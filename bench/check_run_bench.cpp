// Benchmarks of a whole check run (mainDebug: reading, every pass, the
// report, the work files) and of its phases, over generated scripts.
//
//   check_run/N        the realistic generated script of N lines (500, 1000, 5000)
//   worst/<case>/N     scripts built to be costly for one pass, at 500 and 5000
//                      lines: the cost must grow linearly with the length
//   check_in_memory/5000  the in-memory check (no file) of the realistic 5000-line
//                      script, from its bytes to its findings and names
//   phase/<name>/5000  one phase of a run on the 5000-line script
//   line/nested_expression/<variant>  the command chain on one of the worst
//                      4999-character expression and test lines
//
// Counters: lines_per_s; peak_heap_KiB (highest heap use during one run above
// the use before it, every C and C++ allocation counted); peak_rss_KiB (peak
// resident set of the whole process while the benchmark ran) and
// rss_growth_KiB (that peak less the resident set when the benchmark
// started); findings and finding_lines_pct (records of the report's error
// list, and the share of the script's lines that have at least one "Ligne N"
// finding); errors (the error count of the run). At the end a table gives the
// ratio of the 5000-line to the 500-line time, real and CPU.
//
// The runs work in a directory of the system's temporary directory, so the
// real time holds the file system's latency for the work files and the
// report; TMPDIR=/dev/shm runs them on tmpfs, which leaves the CPU cost.
//
// --lintaro_dump=DIR writes every generated script to DIR and exits, to look
// at a script and its report with the console program.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "commands/MainSyntaxeChain.h"
#include "bench/MemoryProbe.h"
#include "bench/ScriptGenerator.h"
#include "core/CheckContext.h"
#include "core/Encoding.h"
#include "core/Journal.h"
#include "run/Check.h"
#include "run/MainDebug.h"
#include "core/MainTriInfo.h"
#include "core/ScriptText.h"
#include "core/WorkFiles.h"
#include "report/MainEcritureLog.h"

namespace {

using lintaro::bench::generateScript;
using lintaro::bench::generateWorstCase;

constexpr const char* kScriptName = "bench.txt";

// The benchmarks run in a private temporary directory: the checker writes its
// work files and the report in the current directory.
class BenchDir {
 public:
  BenchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lintaro-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~BenchDir() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  BenchDir(const BenchDir&) = delete;
  BenchDir& operator=(const BenchDir&) = delete;

 private:
  std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);
}

// The findings of a report's error list.
struct Findings {
  int records = 0;       // every entry of the list
  int findingLines = 0;  // distinct lines with a "Ligne N" entry
};

Findings countFindings(const std::string& report) {
  Findings found;
  std::istringstream in(report);
  std::string line;
  bool inList = false;
  std::set<long> lines;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with(" Liste des erreurs")) {
      inList = true;
    } else if (line.starts_with(" Liste des")) {
      inList = false;
    } else if (inList && line.starts_with("    - ")) {
      ++found.records;
      constexpr std::string_view kLigne = "    - Ligne ";
      if (line.starts_with(kLigne))
        lines.insert(std::strtol(line.c_str() + kLigne.size(), nullptr, 10));
    }
  }
  found.findingLines = static_cast<int>(lines.size());
  return found;
}

void setMemoryCounters(benchmark::State& state, long long peakHeap, long rssBefore) {
  if (lintaro::bench::heapCounted())
    state.counters["peak_heap_KiB"] = static_cast<double>(peakHeap) / 1024.0;
  const long rss = lintaro::bench::peakRssKiB();
  if (rss >= 0) state.counters["peak_rss_KiB"] = static_cast<double>(rss);
  if (rss >= 0 && rssBefore >= 0)
    state.counters["rss_growth_KiB"] = static_cast<double>(rss - rssBefore);
}

void setLineCounters(benchmark::State& state, int lines, std::size_t bytes) {
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

// A whole check run, as the window and the console program make it.
void checkRun(benchmark::State& state, const std::string& script, int lines) {
  writeFile(kScriptName, script);
  const long rssBefore = lintaro::bench::resetPeakRss() ? lintaro::bench::currentRssKiB() : -1;
  int errors = 0;
  long long peakHeap = 0;
  bool failed = false;
  for (auto _ : state) {
    const long long before = lintaro::bench::heapInUse();
    lintaro::bench::resetHeapPeak();
    const int result = lintaro::mainDebug(kScriptName, &errors, 1, 0, 0, 0);
    peakHeap = std::max(peakHeap, lintaro::bench::heapPeak() - before);
    if (result != lintaro::kResultReportWritten) {
      state.SkipWithError("the check did not write its report");
      failed = true;
      break;
    }
  }
  if (failed) return;
  setMemoryCounters(state, peakHeap, rssBefore);
  setLineCounters(state, lines, script.size());
  const Findings found =
      countFindings(lintaro::readFileBytes(lintaro::reportNameFor(kScriptName)).value_or(""));
  state.counters["errors"] = errors;
  state.counters["findings"] = found.records;
  state.counters["finding_lines_pct"] = 100.0 * found.findingLines / lines;
}

// Reading and decoding the script file.
void phaseReadDecode(benchmark::State& state, const std::string& script, int lines) {
  writeFile(kScriptName, script);
  for (auto _ : state) {
    auto text = lintaro::readScriptFile(kScriptName);
    benchmark::DoNotOptimize(text);
  }
  setLineCounters(state, lines, script.size());
}

// Deleting and re-creating the work files (the driver), then deleting them
// (the report writer).
void phaseWorkFiles(benchmark::State& state) {
  for (auto _ : state) {
    for (const char* name : lintaro::kWorkFileNames)
      lintaro::removeFile(name);
    for (const char* name : lintaro::kWorkFileNames)
      lintaro::createEmptyFile(name);
    for (const char* name : lintaro::kWorkFileNames)
      lintaro::removeFile(name);
  }
}

// The in-memory check of a script's bytes: decoding, the passes, no file.
void phasePasses(benchmark::State& state, const std::string& script, int lines) {
  const lintaro::CheckOptions options;
  for (auto _ : state) {
    const lintaro::CheckResult result = lintaro::check(script, options);
    benchmark::DoNotOptimize(result.errors);
  }
  setLineCounters(state, lines, script.size());
}

// The command chain (assignment, tests, expressions) on one worst line.
void chainOnLine(benchmark::State& state, const std::string& line) {
  lintaro::Journal journal;
  lintaro::InfoStore info;
  lintaro::CheckContext ctx{journal, info, 0, 0, &lintaro::lineCheckers()};
  for (auto _ : state) {
    std::string copy = line;
    int handled = 0;
    lintaro::runCommandChain(ctx, copy, &handled, 0);
    benchmark::DoNotOptimize(handled);
  }
  state.counters["line_chars"] = static_cast<double>(line.size());
}

// The report's text and its conversion to UTF-8, from the journal and info
// store of one run.
void phaseReport(benchmark::State& state, const std::string& script, int lines) {
  const lintaro::ScriptText text(lintaro::decodeScriptBytes(script));
  lintaro::Journal journal;
  lintaro::InfoStore info;
  lintaro::runCheckPasses(text, journal, info, false, false);
  int errors = 0;
  for (auto _ : state) {
    const std::string report = lintaro::cp1252ToUtf8(
        lintaro::composeReport(text.lineCount(), true, false, journal, info, &errors));
    benchmark::DoNotOptimize(report.data());
  }
  setLineCounters(state, lines, script.size());
}

// Prints the benchmarks as the console reporter does, then the ratio of the
// time of 5000 lines to the time of 500 lines for every benchmark that ran at
// both lengths, in real time and in CPU time (the real time also holds the
// file system's waits, which the CPU time leaves out).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(bool color) : ConsoleReporter(color ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions, the median stands for the benchmark.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      std::string name = run.benchmark_name();
      if (median) name = name.substr(0, name.rfind('_'));
      const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (median || !medians_.contains(name))
        times_[name] = {run.GetAdjustedRealTime() * toMs, run.GetAdjustedCPUTime() * toMs};
      if (median) medians_.insert(name);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    bool heading = false;
    for (const auto& [name, large] : times_) {
      if (!name.ends_with("/5000")) continue;
      const std::string base = name.substr(0, name.size() - 5);
      const auto found = times_.find(base + "/500");
      if (found == times_.end()) continue;
      const Times& small = found->second;
      if (!heading) {
        out << "\nTime of 5000 lines / time of 500 lines (target: at most 12)\n"
            << "  benchmark                     real: 5000 / 500 = ratio        "
               "CPU: 5000 / 500 = ratio\n";
        heading = true;
      }
      const double realRatio = large.real / small.real;
      const double cpuRatio = large.cpu / small.cpu;
      char row[200];
      std::snprintf(row, sizeof row,
                    "  %-28s %8.3f / %7.3f ms = %5.2f%s %8.3f / %7.3f ms = %5.2f%s\n", base.c_str(),
                    large.real, small.real, realRatio, realRatio > 12.0 ? "!" : " ", large.cpu,
                    small.cpu, cpuRatio, cpuRatio > 12.0 ? "!" : " ");
      out << row;
    }
    if (heading) out << "  (! marks a ratio over 12)\n";
  }

 private:
  struct Times {
    double real;
    double cpu;
  };
  std::map<std::string, Times> times_;
  std::set<std::string> medians_;
};

// A generated script, made when its benchmark starts (so that the scripts of
// the other benchmarks do not weigh on the resident set).
struct NamedScript {
  std::string name;
  int lines;
  std::function<std::string()> make;
};

std::vector<NamedScript> allScripts() {
  std::vector<NamedScript> scripts;
  for (const int lines : {500, 1000, 5000})
    scripts.push_back(
        {"check_run/" + std::to_string(lines), lines, [lines] { return generateScript(lines); }});
  for (const auto& worst : lintaro::bench::worstCases()) {
    for (const int lines : {500, 5000}) {
      scripts.push_back({"worst/" + std::string(worst.name) + "/" + std::to_string(lines), lines,
                         [kind = worst.kind, lines] { return generateWorstCase(kind, lines); }});
    }
  }
  return scripts;
}

int dumpScripts(const std::string& directory) {
  std::filesystem::create_directories(directory);
  for (const NamedScript& script : allScripts()) {
    std::string file = script.name;
    std::replace(file.begin(), file.end(), '/', '_');
    writeFile((std::filesystem::path(directory) / (file + ".txt")).string(), script.make());
  }
  std::cout << "Scripts written to " << directory << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  bool consoleFormat = true;
  bool color = isatty(STDOUT_FILENO) != 0;
  for (int i = 0; i < argc; ++i) {
    constexpr std::string_view kDump = "--lintaro_dump=";
    const std::string_view arg(argv[i]);
    if (arg.starts_with(kDump)) return dumpScripts(std::string(arg.substr(kDump.size())));
    if (arg.starts_with("--benchmark_format=") && arg != "--benchmark_format=console")
      consoleFormat = false;
    if (arg.starts_with("--benchmark_color="))
      color = arg == "--benchmark_color=true" || (arg == "--benchmark_color=auto" && color);
    args.push_back(argv[i]);
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  const std::string selfTest = lintaro::bench::heapCounterSelfTest();
  benchmark::AddCustomContext("heap_counter", lintaro::bench::heapCounterKind());
  benchmark::AddCustomContext("heap_counter_self_test", selfTest.empty() ? "passed" : selfTest);

  const BenchDir dir;
  for (NamedScript& script : allScripts()) {
    const int lines = script.lines;
    auto make = std::move(script.make);
    benchmark::RegisterBenchmark(script.name.c_str(), [make, lines](benchmark::State& state) {
      checkRun(state, make(), lines);
    })->Unit(benchmark::kMillisecond);
  }
  const std::string script5000 = generateScript(5000);
  benchmark::RegisterBenchmark("phase/read_decode/5000", [&](benchmark::State& state) {
    phaseReadDecode(state, script5000, 5000);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("phase/work_files", phaseWorkFiles)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("check_in_memory/5000", [&](benchmark::State& state) {
    phasePasses(state, script5000, 5000);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("phase/report/5000", [&](benchmark::State& state) {
    phaseReport(state, script5000, 5000);
  })->Unit(benchmark::kMillisecond);
  for (int variant = 0; variant < lintaro::bench::kWorstExpressionVariants; ++variant) {
    const std::string name = "line/nested_expression/" + std::to_string(variant);
    benchmark::RegisterBenchmark(name.c_str(), [variant](benchmark::State& state) {
      chainOnLine(state, lintaro::bench::worstExpressionLine(variant));
    })->Unit(benchmark::kMicrosecond);
  }

  if (consoleFormat) {
    RatioReporter reporter(color);
    benchmark::RunSpecifiedBenchmarks(&reporter);
  } else {
    benchmark::RunSpecifiedBenchmarks();
  }
  benchmark::Shutdown();
  return 0;
}
