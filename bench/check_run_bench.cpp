// A whole check run (reading, every pass, the report, the work files) over
// generated scripts of 500, 1000 and 5000 lines: time, and peak heap memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "bench/ScriptGenerator.h"
#include "core/MainDebug.h"

namespace {

std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};

}  // namespace

// Heap accounting for the peak-memory counter: every allocation carries its
// size in front of it.
void* operator new(std::size_t size) {
  void* block = std::malloc(size + 16);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  const std::size_t live = gLive += size;
  std::size_t peak = gPeak.load();
  while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
  }
  return static_cast<char*>(block) + 16;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - 16;
  gLive -= *static_cast<std::size_t*>(block);
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}

namespace {

struct BenchDir {
  BenchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lintaro-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
    std::filesystem::current_path(path);
  }
  ~BenchDir() { std::filesystem::remove_all(path); }
  std::string path;
};

void BM_CheckRun(benchmark::State& state) {
  static BenchDir dir;
  const int lines = static_cast<int>(state.range(0));
  const std::string script = lintaro::bench::generateScript(lines);
  {
    std::FILE* f = std::fopen("bench.txt", "wb");
    std::fwrite(script.data(), 1, script.size(), f);
    std::fclose(f);
  }
  int errors = 0;
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t before = gLive.load();
    gPeak = before;
    const int result = lintaro::mainDebug("bench.txt", &errors, 1, 0, 0, 0);
    if (result != lintaro::kResultReportWritten) state.SkipWithError("check failed");
    peak = std::max(peak, gPeak.load() - before);
  }
  state.counters["lines"] = lines;
  state.counters["errors"] = errors;
  state.counters["peak_heap_KiB"] = static_cast<double>(peak) / 1024.0;
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CheckRun)->Arg(500)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
