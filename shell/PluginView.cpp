#include "shell/PluginView.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "core/Encoding.h"
#include "core/Files.h"
#include "plugin/CodePages.h"
#include "plugin/Expansions.h"
#include "plugin/ReportHead.h"
#include "plugin/ScriptCheck.h"
#include "run/MainDebug.h"

namespace lintaro {

namespace {

constexpr plugin::CodePage kPage = plugin::CodePage::kWindows1252;

std::string rowLabel(const plugin::ScriptEntry& entry) {
  if (entry.kind == plugin::ScriptKind::kScript) return plugin::toUtf8(entry.name, kPage);
  return "dialogue \"" + plugin::toUtf8(entry.topic, kPage) + "\" / info " +
         plugin::toUtf8(entry.infoId, kPage);
}

// The tally index of a row: clean, alerts only, errors, not checked.
std::size_t tallyIndex(const PluginRow& row) {
  if (!row.checked) return 3;
  return row.errors > 0 ? 2 : row.alerts > 0 ? 1 : 0;
}

std::string reportName(const PluginView& view) {
  return "Correction de " + view.fileName;
}

}  // namespace

PluginView loadPluginView(const std::string& path, CheckOptions options) {
  PluginView view;
  const plugin::ReadResult read = plugin::readPlugin(pathFromUtf8(path));
  view.fileName = plugin::displayName(pathFromUtf8(path));
  if (read.status != plugin::ReadStatus::kRead) {
    view.error = read.error;
    return view;
  }
  const plugin::Plugin& mod = read.plugin;
  const plugin::Expansions expansions =
      plugin::findExpansions(pathFromUtf8(path), mod.header, {}, kPage);
  options.tribunal = expansions.tribunal;
  options.bloodmoon = expansions.bloodmoon;
  for (const plugin::Master& master : mod.header.masters)
    view.masters.push_back(plugin::toUtf8(master.name, kPage));
  view.expansionLines = plugin::expansionLines(expansions);
  view.counts = mod.counts;

  for (const plugin::ScriptEntry& entry : mod.scripts) {
    if (entry.skipped) continue;
    PluginRow row;
    row.label = rowLabel(entry);
    row.result = entry.kind == plugin::ScriptKind::kResult;
    row.recordIndex = view.rows.size();
    const CheckResult result = plugin::checkEntry(entry, options);
    if (result.status == CheckStatus::kTooManyLines) {
      row.checked = false;
      row.report = resultMessage(kResultTooManyLines, path + ":" + row.label) + "\n";
    } else {
      row.errors = result.errors;
      row.alerts = result.alerts;
      row.report = cp1252ToUtf8(reportText(result, options));
    }
    ++view.tallies[tallyIndex(row)];
    view.rows.push_back(std::move(row));
  }
  view.head = plugin::reportHead(view.fileName, mod.header, kPage, view.expansionLines, mod.counts,
                                 view.tallies);
  view.loaded = true;
  sortPluginRows(view, PluginColumn::kErrors, false);
  return view;
}

void sortPluginRows(PluginView& view, PluginColumn column, bool ascending) {
  view.sortColumn = column;
  view.ascending = ascending;
  const auto key = [column](const PluginRow& row) -> int {
    switch (column) {
      case PluginColumn::kKind:
        return row.result ? 1 : 0;
      case PluginColumn::kErrors:
        return row.errors;
      case PluginColumn::kAlerts:
        return row.alerts;
      case PluginColumn::kName:
        break;
    }
    return 0;
  };
  std::sort(view.rows.begin(), view.rows.end(), [&](const PluginRow& a, const PluginRow& b) {
    if (column == PluginColumn::kName && a.label != b.label)
      return ascending ? a.label < b.label : a.label > b.label;
    if (key(a) != key(b)) return ascending ? key(a) < key(b) : key(a) > key(b);
    return a.recordIndex < b.recordIndex;
  });
}

void clickPluginColumn(PluginView& view, PluginColumn column) {
  if (column == view.sortColumn) {
    sortPluginRows(view, column, !view.ascending);
    return;
  }
  const bool counts = column == PluginColumn::kErrors || column == PluginColumn::kAlerts;
  sortPluginRows(view, column, !counts);
}

const char* pluginKindLabel(const PluginRow& row) {
  return row.result ? "résultat" : "script";
}

std::string pluginReport(const PluginView& view) {
  std::string out = view.head;
  std::vector<const PluginRow*> inRecordOrder;
  for (const PluginRow& row : view.rows)
    inRecordOrder.push_back(&row);
  std::sort(inRecordOrder.begin(), inRecordOrder.end(),
            [](const PluginRow* a, const PluginRow* b) { return a->recordIndex < b->recordIndex; });
  for (const PluginRow* row : inRecordOrder) {
    if (row->checked) out += "==> " + row->label + " <==\n" + row->report;
  }
  return out;
}

std::string savePluginReport(const PluginView& view, const std::string& directory) {
  if (!view.loaded) return {};
  const std::string path = utf8FromPath(pathFromUtf8(directory) / pathFromUtf8(reportName(view)));
  std::ofstream file(pathFromUtf8(path), std::ios::binary);
  const std::string text = withNativeLineEnds(pluginReport(view));
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return file ? path : std::string();
}

CheckOptions pluginCheckOptions(const Settings& settings) {
  CheckOptions options;
  options.showInfo = settings.showInfo == 1;
  options.hideAlerts = settings.hideAlerts == 1;
  return options;
}

std::string pluginHeadText(const PluginView& view) {
  std::string head = "Maîtres : ";
  if (view.masters.empty()) head += "aucun";
  for (std::size_t i = 0; i < view.masters.size(); ++i)
    head += (i > 0 ? ", " : "") + view.masters[i];
  for (const std::string& line : view.expansionLines)
    head += "\n" + line;
  return head;
}

std::string pluginCountText(const PluginRow& row, int count) {
  return row.checked ? std::to_string(count) : std::string("-");
}

PluginSaveOutcome saveCombinedReport(const PluginView& view, const std::string& directory) {
  const std::string path = savePluginReport(view, directory);
  if (path.empty())
    return {false, "Impossible d'écrire le fichier \"Correction de " + view.fileName + "\" !"};
  return {true, "Rapport enregistré : " + path};
}

std::string pluginTraceText(const PluginView& view, std::optional<std::size_t> selected) {
  std::string text;
  for (const PluginRow& row : view.rows)
    text += row.label + "\t" + pluginKindLabel(row) + "\t" + std::to_string(row.errors) + "\t" +
            std::to_string(row.alerts) + "\n";
  if (selected && *selected < view.rows.size()) text += "--\n" + view.rows[*selected].report;
  return text;
}

}  // namespace lintaro
