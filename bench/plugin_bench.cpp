// Benchmark of the plugin reader (target: 500 MB/s or more for reading alone).
//
//   plugin/read/generated  parsePlugin on a generated 4 MB plugin shaped like
//                          a large quest mod: 130 scripts, 1,700 dialogue
//                          answers with a result script, and the records a mod
//                          holds besides (objects, cells), which the reader skips
//   plugin/read/file       the same on the plugin named by the environment
//                          variable LINTARO_PLUGIN, when it is set (a local run
//                          on a real plugin; none is shipped)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "plugin/Plugin.h"
#include "plugin/Writer.h"

namespace {

using namespace lintaro::plugin;

constexpr std::size_t kTargetBytes = std::size_t{4} << 20;
constexpr int kScripts = 130;
constexpr int kResults = 1700;

std::string scriptText(int n) {
  std::string text =
      "Begin bench_script_" + std::to_string(n) + "\r\nshort state\r\nfloat timer\r\n";
  for (int i = 0; i < 60; ++i) {
    text += "if ( state == " + std::to_string(i) +
            " )\r\n\tset timer to timer + GetSecondsPassed\r\n"
            "\tMessageBox \"Étape " +
            std::to_string(i) + "\"\r\nendif\r\n";
  }
  return text + "End\r\n";
}

// A record the reader skips: an object with a name, a model and some data.
std::string otherRecord(int n) {
  const std::string id = "bench_object_" + std::to_string(n);
  return writer::record(
      "MISC",
      writer::subrecord("NAME", id + '\0') +
          writer::subrecord("MODL", "m\\misc\\bench_" + std::to_string(n % 50) + ".nif" + '\0') +
          writer::subrecord("FNAM", "Objet de banc d'essai " + std::to_string(n) + '\0') +
          writer::subrecord("MCDT", std::string(12, '\1')) +
          writer::subrecord("ITEX", "m\\misc_bench.tga" + std::string(1, '\0')) +
          writer::subrecord("DESC", std::string(1500, 'd')));
}

std::string generatedPlugin() {
  writer::PluginSpec spec;
  spec.author = "Banc d'essai";
  spec.description = "Plugin généré pour mesurer la lecture";
  spec.masters = {{"Morrowind.esm", 79837557}, {"Tribunal.esm", 4565686}};
  for (int i = 0; i < kScripts; ++i)
    spec.items.emplace_back(writer::ScriptSpec{"bench_script_" + std::to_string(i), scriptText(i)});
  const int topics = kResults / 20;
  for (int t = 0; t < topics; ++t) {
    writer::DialogueSpec dialogue{"sujet " + std::to_string(t), kTopicTypeTopic, {}};
    for (int i = 0; i < kResults / topics; ++i) {
      dialogue.infos.push_back(writer::InfoSpec{
          std::to_string(1000000 + t * 100 + i),
          "Journal \"bench_quest\" " + std::to_string(i * 10) + "\r\nAddTopic \"sujet " +
              std::to_string(t + 1) + "\"\r\nModDisposition 5"});
    }
    spec.items.emplace_back(std::move(dialogue));
  }
  std::size_t size = writer::writePlugin(spec).bytes.size();
  for (int n = 0; size < kTargetBytes; ++n) {
    std::string bytes = otherRecord(n);
    size += bytes.size();
    spec.items.emplace_back(writer::RawRecord{std::move(bytes)});
  }
  return writer::writePlugin(spec).bytes;
}

void read(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    ReadResult result = parsePlugin(bytes, "Bench.esp");
    benchmark::DoNotOptimize(result);
    if (result.status != ReadStatus::kRead) state.SkipWithError(result.error.c_str());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_ReadGenerated(benchmark::State& state) {
  static const std::string bytes = generatedPlugin();
  read(state, bytes);
  const ReadResult result = parsePlugin(bytes, "Bench.esp");
  state.counters["scripts"] = static_cast<double>(result.plugin.counts.scripts);
  state.counters["results"] = static_cast<double>(result.plugin.counts.resultScripts);
  state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_ReadGenerated)->Name("plugin/read/generated")->Unit(benchmark::kMillisecond);

void BM_ReadFile(benchmark::State& state) {
  const char* path = std::getenv("LINTARO_PLUGIN");
  if (path == nullptr) {
    state.SkipWithError("LINTARO_PLUGIN n'est pas défini");
    return;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  read(state, bytes);
}
BENCHMARK(BM_ReadFile)->Name("plugin/read/file")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
