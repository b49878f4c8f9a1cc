// What the window's "Débuguer un plugin" dialog shows, without any widget: a
// plugin's masters, the expansions they imply with the reasons, one row per
// script that the game loads (its checked result and report), the rows'
// order, and the combined report "Correction de <plugin>" that the console
// writes for the same plugin, byte for byte.
//
// As in the console, the masters decide the expansions: the window's own
// expansion choices are not used for plugins.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "plugin/Plugin.h"
#include "plugin/ReportHead.h"
#include "run/Check.h"
#include "shell/Settings.h"
#include "shell/WinProcLogic.h"

namespace lintaro {

struct PluginRow {
  std::string label;    // the script's name, or `dialogue "Sujet" / info N` (UTF-8)
  bool result = false;  // a dialogue's result script
  bool checked = true;  // false: too many lines, nothing was checked
  int errors = 0;
  int alerts = 0;
  std::size_t recordIndex = 0;  // rank among the checked scripts, in record order
  std::string report;           // reportText of the script in UTF-8, or why it was not checked
};

enum class PluginColumn { kName, kKind, kErrors, kAlerts };

struct PluginView {
  bool loaded = false;
  std::string error;     // French, when the plugin could not be read
  std::string fileName;  // UTF-8
  std::vector<std::string> masters;
  // One line per expansion (Tribunal, then Bloodmoon) with its reason, then
  // the notes of the master search: the lines of the report's head.
  std::vector<std::string> expansionLines;
  plugin::Counts counts;
  // Scripts clean, with alerts only, with errors, not checked.
  plugin::Tallies tallies{};
  std::string head;             // the head of the combined report (UTF-8)
  std::vector<PluginRow> rows;  // in the order shown
  PluginColumn sortColumn = PluginColumn::kErrors;
  bool ascending = false;
};

// The plugin file chooser's filters.
inline constexpr FileFilter kPluginFileFilters[] = {
    {"Plugins Morrowind (*.esp, *.esm, *.omwaddon)",
     "*.esp;*.esm;*.omwaddon;*.ESP;*.ESM;*.OMWADDON"},
    {"Tous les fichiers", "*"}};

// The check options of a plugin opened in the window: the report settings.
CheckOptions pluginCheckOptions(const Settings& settings);

// Reads and checks a plugin. `options` gives the report's settings (names
// shown, alerts hidden, codes silenced); its expansions are replaced by the
// ones the masters imply. Rows come sorted with the scripts with errors first.
PluginView loadPluginView(const std::string& path, CheckOptions options);

// Sorts the rows by a column, ties kept in record order.
void sortPluginRows(PluginView& view, PluginColumn column, bool ascending);
// A click on a column header: the same column again reverses the order; a
// new one sorts names and kinds ascending, counts descending.
void clickPluginColumn(PluginView& view, PluginColumn column);

// "script" or "résultat".
const char* pluginKindLabel(const PluginRow& row);

// The combined report "Correction de <plugin>" (UTF-8): the head, then every
// checked script's report in record order.
std::string pluginReport(const PluginView& view);
// Writes it to `directory`; returns the file's path, or empty on failure.
std::string savePluginReport(const PluginView& view, const std::string& directory);

// The dialog's head: "Maîtres : ..." then the expansion lines, one per line.
std::string pluginHeadText(const PluginView& view);
// The errors or alerts cell of a row: the count, "-" when nothing was checked.
std::string pluginCountText(const PluginRow& row, int count);

// "Enregistrer le rapport": the report saved, and the message box telling it.
struct PluginSaveOutcome {
  bool saved = false;
  std::string message;
};
PluginSaveOutcome saveCombinedReport(const PluginView& view, const std::string& directory);

// What the window's test hook writes: one line per row in the order shown
// (name, kind, errors, alerts, tab-separated), then "--" and the selected
// row's report.
std::string pluginTraceText(const PluginView& view, std::optional<std::size_t> selected);

}  // namespace lintaro
