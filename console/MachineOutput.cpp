#include "console/MachineOutput.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "core/Encoding.h"
#include "core/Files.h"
#include "core/Version.h"
#include "plugin/Plugin.h"

namespace lintaro {

namespace {

using Json = nlohmann::ordered_json;

// Invalid UTF-8 (a file name) becomes U+FFFD rather than stopping the run.
std::string dump(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string_view severity(const JournalEntry& entry) {
  return entry.kind == kAlert ? "warning" : "error";
}

// The findings an output shows, in report order.
std::vector<JournalEntry> shownFindings(const CheckedScript& script) {
  std::vector<JournalEntry> shown;
  const CheckResult& result = *script.result;
  for (const std::size_t i : result.reportOrder()) {
    const JournalEntry entry = result.journal[i];
    if (entry.kind == kAlert && !script.withAlerts) continue;
    shown.push_back(entry);
  }
  return shown;
}

// A finding's message in UTF-8, the names taken from the script read in
// `page`.
std::string messageOf(const JournalEntry& entry, plugin::CodePage page) {
  const std::string_view message = entry.message();
  std::vector<NameRun> names;
  appendSpans(names, *entry.names, 0, static_cast<std::size_t>(message.data() - entry.text.data()));
  return plugin::toUtf8(message, names, page);
}

std::optional<int> lineNumber(const JournalEntry& entry) {
  if (entry.line == kWholeScript) return std::nullopt;
  return entry.line + 1;
}

// The names of the report's lists: category and label by type code.
struct NameKind {
  int code;
  const char* category;
  const char* label;
};

constexpr NameKind kNameKinds[] = {
    {0, "locale", "SHORT"},
    {1, "locale", "FLOAT"},
    {2, "locale", "LONG"},
    {4, "locale", "indéterminé"},
    {25, "externe", "SHORT"},
    {26, "externe", "FLOAT"},
    {27, "externe", "LONG"},
    {29, "externe", "indéterminé"},
    {5, "globale", "SHORT"},
    {6, "globale", "FLOAT"},
    {7, "globale", "LONG"},
    {9, "globale", "indéterminé"},
    {10, "objet-physique", "CONTENANT"},
    {11, "objet-physique", "CONTENU"},
    {12, "objet-physique", "OBJET ACTIVABLE"},
    {15, "objet-physique", "PERSONNE"},
    {16, "objet-physique", "OBJET EQUIPABLE"},
    {19, "objet-physique", "OBJET"},
    {30, "objet-physique", "JOUEUR"},
    {31, "objet-physique", "PNJ"},
    {32, "objet-physique", "ARME"},
    {35, "objet-physique", "INSTRUMENT DE REPARATION"},
    {38, "objet-physique", "MISC"},
    {41, "objet-physique", "PORTE ou COFFRE"},
    {46, "objet-physique", "CREATURE"},
    {48, "objet-physique", "LEVELED CREATURE"},
    {49, "objet-physique", "LEVELED ITEM"},
    {20, "objet-non-physique", "SORT"},
    {21, "objet-non-physique", "EFFET"},
    {50, "dialogue", "TOPIC"},
    {51, "dialogue", "QUETE"},
    {90, "autre", "REGION"},
    {91, "autre", "FACTION"},
    {92, "autre", "FICHIER"},
    {93, "autre", "SON"},
    {94, "autre", "ANIMATION"},
    {95, "autre", "CELLULE"},
    {96, "autre", "SCRIPT"},
    {97, "autre", "RACE"},
    {code::ERREUR, "erreur", "ERREUR"},
};

const NameKind* nameKind(int type) {
  for (const NameKind& kind : kNameKinds) {
    if (kind.code == type) return &kind;
  }
  return nullptr;
}

// The names the report lists, in the order they were met; an external
// variable once per object it is attached to.
Json namesOf(const CheckResult& result, plugin::CodePage page) {
  const auto utf8 = [page](std::string_view bytes) { return plugin::toUtf8(bytes, page); };
  std::unordered_map<std::string_view, std::vector<std::string_view>> objects;
  for (const VAR_LOCALE& pair : result.info.pairs())
    objects[pair.variable].push_back(pair.object);
  Json names = Json::array();
  for (const INFO& record : result.info.records()) {
    const NameKind* kind = nameKind(record.type);
    if (kind == nullptr) continue;
    Json entry = {{"name", utf8(record.name)},
                  {"type", record.type},
                  {"category", kind->category},
                  {"label", kind->label},
                  {"object", nullptr}};
    const auto found = objects.find(record.name);
    if (std::string_view(kind->category) == "externe" && found != objects.end()) {
      for (const std::string_view object : found->second) {
        entry["object"] = utf8(object);
        names.push_back(entry);
      }
    } else {
      names.push_back(std::move(entry));
    }
  }
  return names;
}

bool unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

std::string percentEncoded(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (unreserved(c) || c == '/') {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  return out;
}

Json multiformat(std::string_view text) {
  return Json{{"text", text}};
}

Json sarifRule(const DiagnosticRow& row) {
  Json rule = {
      {"id", row.code}, {"name", row.name}, {"shortDescription", multiformat(row.message)}};
  if (!row.explanation.empty()) rule["fullDescription"] = multiformat(row.explanation);
  if (!row.wrong.empty()) {
    rule["help"] = multiformat("Exemple fautif :\n" + std::string(row.wrong) + "\nCorrection :\n" +
                               std::string(row.right));
  }
  rule["defaultConfiguration"] = {{"level", row.kind == kAlert ? "warning" : "error"}};
  return rule;
}

}  // namespace

std::string placeLabel(const PluginPlace& place) {
  if (!place.result) return place.script;
  return "dialogue \"" + place.topic + "\" / info " + place.info;
}

std::string gccLines(const CheckedScript& script) {
  std::string out;
  const std::string where =
      script.place == nullptr ? script.path : script.path + ":" + placeLabel(*script.place);
  for (const JournalEntry& entry : shownFindings(script)) {
    out += where;
    if (const std::optional<int> line = lineNumber(entry)) {
      out += ':';
      out += std::to_string(*line);
    }
    out += ": ";
    out += severity(entry);
    out += ": ";
    out += messageOf(entry, script.page);
    out += " [";
    out += diagnostic(entry.id).code;
    out += "]\n";
  }
  return out;
}

std::string jsonHead() {
  return "{\"version\": 1, \"results\": [\n";
}

std::string jsonTail() {
  return "\n]}\n";
}

std::string jsonResult(const CheckedScript& script) {
  const CheckResult& result = *script.result;
  Json findings = Json::array();
  int errors = 0;
  int warnings = 0;
  for (const JournalEntry& entry : shownFindings(script)) {
    (entry.kind == kAlert ? warnings : errors)++;
    const std::optional<int> line = lineNumber(entry);
    findings.push_back({{"line", line ? Json(*line) : Json(nullptr)},
                        {"severity", severity(entry)},
                        {"code", diagnostic(entry.id).code},
                        {"message", messageOf(entry, script.page)}});
  }
  const PluginPlace* place = script.place;
  Json name = nullptr;
  if (place == nullptr) {
    if (const std::optional<std::string> begin = result.scriptName()) {
      name = plugin::toUtf8(*begin, script.page);
    }
  } else if (!place->result) {
    name = place->script;
  }
  Json object = {{"file", script.path}, {"script", std::move(name)}};
  if (place != nullptr && place->result) {
    object["dialogue"] = place->topic;
    object["info"] = place->info;
  }
  object["errors"] = errors;
  object["warnings"] = warnings;
  object["findings"] = std::move(findings);
  object["names"] = namesOf(result, script.page);
  return dump(object);
}

std::string artifactUri(const std::string& path) {
  if (path == "-") return {};
  namespace fs = std::filesystem;
  // Forward slashes whatever the system's separator, in UTF-8.
  const auto generic = [](const fs::path& p) {
    const std::u8string text = p.lexically_normal().generic_u8string();
    return std::string(text.begin(), text.end());
  };
  fs::path p = pathFromUtf8(path);
  if (p.is_absolute()) {
    std::error_code error;
    const fs::path here = fs::current_path(error);
    const fs::path relative = error ? fs::path() : p.lexically_relative(here);
    if (relative.empty()) {
      // "C:/..." on Windows: the path of a file URI starts with a slash.
      const std::string absolute = generic(p);
      return (absolute.starts_with('/') ? "file://" : "file:///") + percentEncoded(absolute);
    }
    p = relative;
  }
  return percentEncoded(generic(p));
}

std::string sarifHead() {
  static const std::string kHead = [] {
    Json rules = Json::array();
    for (const DiagnosticRow& row : catalogue())
      rules.push_back(sarifRule(row));
    const Json driver = {
        {"name", "Lintaro"}, {"version", std::string(kVersion)}, {"rules", std::move(rules)}};
    std::string head = "{\"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\", ";
    head += "\"version\": \"2.1.0\", \"runs\": [{\"tool\": {\"driver\": ";
    head += dump(driver);
    head += "}, \"results\": [\n";
    return head;
  }();
  return kHead;
}

std::string sarifTail() {
  return "\n]}]}\n";
}

std::string sarifResults(const CheckedScript& script) {
  const std::string uri = artifactUri(script.path);
  std::string out;
  for (const JournalEntry& entry : shownFindings(script)) {
    const DiagnosticRow& row = diagnostic(entry.id);
    Json artifact =
        uri.empty() ? Json{{"description", multiformat("entrée standard")}} : Json{{"uri", uri}};
    Json physical = {{"artifactLocation", std::move(artifact)}};
    if (const std::optional<int> line = lineNumber(entry))
      physical["region"] = {{"startLine", *line}};
    Json location = Json::object();
    location["physicalLocation"] = std::move(physical);
    if (script.place != nullptr) {
      const std::string label = placeLabel(*script.place);
      location["logicalLocations"] = Json::array({Json{
          {"name", label},
          {"fullyQualifiedName", plugin::displayName(pathFromUtf8(script.path)) + "/" + label},
          {"kind", script.place->result ? "function" : "module"}}});
    }
    Json locations = Json::array();
    locations.push_back(std::move(location));
    const Json result = {{"ruleId", row.code},
                         {"ruleIndex", static_cast<std::size_t>(row.id)},
                         {"level", severity(entry)},
                         {"message", multiformat(messageOf(entry, script.page))},
                         {"locations", std::move(locations)}};
    if (!out.empty()) out += kResultSeparator;
    out += dump(result);
  }
  return out;
}

}  // namespace lintaro
