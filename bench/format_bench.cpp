// Benchmarks of the formatter on generated, properly chained scripts of 5000
// lines (target: under 5 ms), and of 500 lines to see that the cost grows
// linearly.
//
//   format/text/<kind>/N  formatScriptText on the bytes in memory: keyword
//                         detection, chain checks, indentation, rewriting
//   format/file/<kind>/N  mainMEF on a file: reading, formatting, writing the
//                         temporary file, flushing it to the disk and renaming it
//                         (the flush dominates; TMPDIR=/dev/shm leaves the CPU cost)
//
// Kinds: script (nested blocks, else/elseif, parentheses, quoted text,
// comments, blank lines, CR LF, no indentation), elses (one "if" whose body is
// "else"/"elseif" lines: every one of them is checked for an open "if"),
// parens (long lines full of parentheses).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "formatter/MainMiseEnForme.h"

namespace {

std::string scriptLines(int lines) {
  std::string s = "Begin formatBench\r\nshort a\r\nfloat b\r\n";
  int written = 3;
  int depth = 0;
  const auto add = [&](const std::string& line) {
    s += "   " + line + "\r\n";
    ++written;
  };
  while (written + 30 < lines) {
    add("if(a == " + std::to_string(written) + ")");
    ++depth;
    add("set b to (b + 1) * (a - 2) ; (comment)");
    add("MessageBox \"Valeur (a) : %.0f\" b");
    add("");
    add("elseif ( a > 3 )");
    add("while(b < 10)");
    add("set b to b+1");
    add("endwhile");
    if (depth >= 6) {
      while (depth > 0) {
        add("else");
        add("set a to 0");
        add("endif");
        --depth;
      }
    }
  }
  while (depth > 0) {
    add("endif");
    --depth;
  }
  while (written < lines - 1)
    add("; (fin)");
  s += "End";  // the last line: no line end after it
  return s;
}

std::string elseLines(int lines) {
  std::string s = "if ( a )\n";
  for (int i = 1; i < lines - 1; ++i)
    s += (i % 2 != 0) ? "elseif ( b )\n" : "else\n";
  return s + "endif";
}

std::string parenLines(int lines) {
  std::string line = "set a to";
  for (int i = 0; i < 40; ++i)
    line += "(a)";
  std::string s;
  for (int i = 0; i < lines - 1; ++i)
    s += line + "\n";
  return s + line;
}

using Maker = std::string (*)(int);

void formatText(benchmark::State& state, Maker make) {
  const int lines = static_cast<int>(state.range(0));
  const std::string script = make(lines);
  std::string out;
  for (auto _ : state) {
    const int result = lintaro::formatScriptText(script, out);
    if (result != lintaro::kFormatRewritten) state.SkipWithError("not formatted");
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(script.size()));
}

void formatFile(benchmark::State& state, Maker make) {
  const int lines = static_cast<int>(state.range(0));
  const std::string script = make(lines);
  std::string pattern =
      (std::filesystem::temp_directory_path() / "lintaro-format-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  const std::string path = pattern + "/script.txt";
  for (auto _ : state) {
    state.PauseTiming();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(script.data(), 1, script.size(), f) != script.size())
      std::abort();
    std::fclose(f);
    state.ResumeTiming();
    if (lintaro::mainMEF(path) != lintaro::kFormatRewritten) state.SkipWithError("not formatted");
  }
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK_CAPTURE(formatText, script, scriptLines)
    ->Name("format/text/script")
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatText, elses, elseLines)
    ->Name("format/text/elses")
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatText, parens, parenLines)
    ->Name("format/text/parens")
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatFile, script, scriptLines)
    ->Name("format/file/script")
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
