// The outputs of scrutinette meant for programs: one line per finding in the
// form compilers use (gcc), a JSON document (json) and a SARIF 2.1.0 log
// (sarif). Each script gives a fragment of text; the run writes a document's
// head, the fragments in input order and the document's tail.
#pragma once

#include <string>

#include "plugin/CodePages.h"
#include "run/Check.h"

namespace lintaro {

enum class OutputFormat { kTexte, kGcc, kJson, kSarif };

// Where a script of a plugin lies: its record, names in UTF-8.
struct PluginPlace {
  bool result = false;  // an INFO's result script, not a SCPT
  std::string script;   // SCPT: the name in SCHD
  std::string topic;    // result: the DIAL's name
  std::string info;     // result: the INFO's id
};

// How a plugin's script is named in the outputs: its name, or
// `dialogue "TOPIC" / info ID`.
std::string placeLabel(const PluginPlace& place);

// One script checked in memory, as the outputs show it.
struct CheckedScript {
  std::string path;  // as given or found in a folder; "-" for standard input
  const CheckResult* result = nullptr;
  bool withAlerts = true;              // false: the alerts are left out
  const PluginPlace* place = nullptr;  // set: a script of the plugin `path`
  // Of the names taken from the script, in the findings and the names listed.
  plugin::CodePage page = plugin::CodePage::kWindows1252;
};

// `PATH:LINE: error: MESSAGE [CODE]` lines (UTF-8), `warning` for an alert;
// `PATH: error: ...` for a finding about the whole script. For a script of a
// plugin, PATH is `PLUGIN:LABEL` (placeLabel) and LINE the script's line.
std::string gccLines(const CheckedScript& script);

// The head and tail of the JSON document, and the object of one script (one
// line, no separator).
std::string jsonHead();
std::string jsonResult(const CheckedScript& script);
std::string jsonTail();

// The head of the SARIF log (the tool and every rule of the catalogue), the
// results of one script (objects separated by ",\n", possibly empty), and
// the tail.
std::string sarifHead();
std::string sarifResults(const CheckedScript& script);
std::string sarifTail();

// The artifact URI of a path: relative to the current directory when the
// path is below it, else a file: URI; bytes outside the unreserved set and
// "/" are percent-encoded. Empty for standard input.
std::string artifactUri(const std::string& path);

// Separator between two results of a JSON or SARIF document.
inline constexpr const char* kResultSeparator = ",\n";

}  // namespace lintaro
