// Fuzz target: the plugin reader on arbitrary bytes, then what the console
// does with what it read: names shown in every code page, file names made
// safe, the first small scripts checked and their reports rendered in every
// code page.
//
// Besides the sanitizers, it checks what holds for every input: a failure has
// a message naming the file and an offset inside the input; the entries lie
// inside the input, in record order, and the counts add up; every name shown
// is UTF-8 and every file stem is safe; and a plugin read whole, written again
// by the writer, reads back to the same scripts.
//
// The seeds in corpus/plugin were made with plugin/Writer.h: a plugin with
// masters, scripts (one with trailing NULs, one deleted) and dialogue; one
// with OpenMW-CS's FORM; and cut or resized variants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Encoding.h"
#include "plugin/Extract.h"
#include "plugin/Plugin.h"
#include "plugin/ScriptCheck.h"
#include "plugin/Writer.h"

namespace {

using namespace lintaro::plugin;

constexpr std::string_view kName = "Fuzz.esp";
// Scripts longer than this are not checked here: the check has targets of its own.
constexpr std::size_t kCheckedTextMax = 4096;
constexpr std::size_t kCheckedEntriesMax = 2;

void require(bool condition) {
  if (!condition) std::abort();
}

bool safe(std::string_view stem) {
  if (stem.empty() || stem.size() > kStemMax || stem.front() == '.' || stem.back() == '.' ||
      stem.back() == ' ' || !lintaro::isValidUtf8(stem)) {
    return false;
  }
  for (const char c : stem) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

// The plugin written again: each entry as a script or a dialogue of its own.
writer::PluginSpec rewritten(const Plugin& plugin) {
  writer::PluginSpec spec;
  spec.author = plugin.header.author;
  spec.description = plugin.header.description;
  spec.masters = plugin.header.masters;
  for (const ScriptEntry& entry : plugin.scripts) {
    if (entry.kind == ScriptKind::kScript) {
      spec.items.emplace_back(
          writer::ScriptSpec{entry.name, entry.text, entry.flags, entry.skipped, 0});
    } else {
      spec.items.emplace_back(writer::DialogueSpec{
          entry.topic,
          entry.topicType,
          {writer::InfoSpec{entry.infoId, entry.text, entry.flags, entry.skipped}}});
    }
  }
  return spec;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ReadResult read = parsePlugin(bytes, kName);
  const Plugin& plugin = read.plugin;
  if (read.status == ReadStatus::kRead) {
    require(read.error.empty());
  } else {
    require(read.error.starts_with(std::string(kName) + " : ") && lintaro::isValidUtf8(read.error));
    require(read.errorOffset < size || size == 0);
  }

  std::uint64_t previous = 0;
  for (const ScriptEntry& entry : plugin.scripts) {
    require(entry.offset >= previous && entry.offset < size && entry.text.size() < size);
    previous = entry.offset + 1;
  }
  const Counts& counts = plugin.counts;
  require(counts.scripts + counts.resultScripts + counts.skipped == plugin.scripts.size());

  for (std::size_t i = 0; i < plugin.scripts.size() && i < kCheckedEntriesMax; ++i) {
    const ScriptEntry& entry = plugin.scripts[i];
    for (const CodePage page :
         {CodePage::kWindows1252, CodePage::kWindows1250, CodePage::kWindows1251}) {
      require(lintaro::isValidUtf8(toUtf8(entry.text, page)));
      require(safe(entryStem(entry, page)));
    }
    if (entry.text.size() <= kCheckedTextMax) {
      const lintaro::CheckResult result = checkEntry(entry, lintaro::CheckOptions{});
      require(static_cast<std::size_t>(result.errors + result.alerts) == result.journal.size());
      // The report's script names lie in it, in order; every page renders it
      // as UTF-8, and Windows-1252 as the plain conversion.
      std::vector<lintaro::NameRun> names;
      const std::string report = reportText(result, lintaro::CheckOptions{}, &names);
      std::size_t end = 0;
      for (const lintaro::NameRun& name : names) {
        require(name.start >= end && name.length <= report.size() - name.start);
        end = name.start + name.length;
      }
      for (const CodePage page : {CodePage::kWindows1250, CodePage::kWindows1251})
        require(lintaro::isValidUtf8(toUtf8(report, names, page)));
      require(toUtf8(report, names, CodePage::kWindows1252) ==
              toUtf8(report, CodePage::kWindows1252));
    }
  }

  if (read.status == ReadStatus::kRead) {
    const ReadResult again = parsePlugin(writer::writePlugin(rewritten(plugin)).bytes, kName);
    require(again.status == ReadStatus::kRead &&
            again.plugin.scripts.size() == plugin.scripts.size());
    require(again.plugin.header.masters.size() == plugin.header.masters.size());
    for (std::size_t i = 0; i < plugin.scripts.size(); ++i) {
      const ScriptEntry& a = plugin.scripts[i];
      const ScriptEntry& b = again.plugin.scripts[i];
      require(a.kind == b.kind && a.name == b.name && a.topic == b.topic &&
              a.topicType == b.topicType && a.infoId == b.infoId && a.text == b.text &&
              a.skipped == b.skipped);
    }
  }
  return 0;
}
