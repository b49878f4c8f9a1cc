#include "lsp/Server.h"

#include <algorithm>
#include <exception>
#include <istream>
#include <ostream>

#include "core/Encoding.h"
#include "core/ScriptInput.h"
#include "core/Version.h"
#include "formatter/MainMiseEnForme.h"
#include "lsp/Commands.h"
#include "run/MainDebug.h"

namespace lintaro::lsp {

using nlohmann::json;

namespace {

constexpr std::string_view kSource = "lintaro";
constexpr std::string_view kDirectiveHead = "lintaro:";
constexpr std::string_view kDirectiveVerb = "ignorer";

// LSP enumerations.
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kSymbolModule = 2;
constexpr int kSymbolVariable = 13;
constexpr int kCompletionMethod = 2;
constexpr int kCompletionFunction = 3;
constexpr int kCompletionVariable = 6;
constexpr int kCompletionKeyword = 14;
constexpr int kSyncFull = 1;

struct AlreadyInitialized {};

// Most incremental changes applied from one didChange (the server asks for
// whole texts; the rest are ignored).
constexpr int kMaxRangedChanges = 100;

const json* member(const json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

std::string stringAt(const json& object, const char* key) {
  const json* value = member(object, key);
  return value != nullptr && value->is_string() ? value->get<std::string>() : std::string();
}

std::int64_t intAt(const json& object, const char* key, std::int64_t fallback) {
  const json* value = member(object, key);
  if (value == nullptr) return fallback;
  if (value->is_number_unsigned()) {
    return static_cast<std::int64_t>(
        std::min<std::uint64_t>(value->get<std::uint64_t>(), std::uint64_t{1} << 40));
  }
  if (value->is_number_integer()) return value->get<std::int64_t>();
  return fallback;
}

const json& objectAt(const json& object, const char* key) {
  static const json empty = json::object();
  const json* value = member(object, key);
  return value != nullptr && value->is_object() ? *value : empty;
}

// True when no array or object of `body` is nested deeper than kMaxJsonDepth.
bool depthWithin(std::string_view body) {
  int depth = 0;
  bool quoted = false;
  bool escaped = false;
  for (const char c : body) {
    if (quoted) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        quoted = false;
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonDepth) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The file name of a document's URI, percent escapes decoded.
std::string fileNameOf(std::string_view uri) {
  const std::size_t slash = uri.rfind('/');
  if (slash != std::string_view::npos) uri.remove_prefix(slash + 1);
  std::string name;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 &&
        hexValue(uri[i + 2]) >= 0) {
      name.push_back(static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2])));
      i += 2;
    } else {
      name.push_back(uri[i]);
    }
  }
  return isValidUtf8(name) ? name : std::string(uri);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

// The code list of a "lintaro: ignorer ..." comment (the text after ';').
std::optional<std::string_view> directiveCodes(std::string_view comment) {
  comment = trimmed(comment);
  if (lowerAscii(comment.substr(0, kDirectiveHead.size())) != kDirectiveHead) return std::nullopt;
  comment = trimmed(comment.substr(kDirectiveHead.size()));
  if (lowerAscii(comment.substr(0, kDirectiveVerb.size())) != kDirectiveVerb) return std::nullopt;
  comment.remove_prefix(kDirectiveVerb.size());
  if (!comment.empty() && comment.front() != ' ' && comment.front() != '\t') return std::nullopt;
  return trimmed(comment);
}

bool listsCode(std::string_view codes, std::string_view code) {
  const std::string wanted = lowerAscii(code);
  while (!codes.empty()) {
    const std::size_t comma = codes.find(',');
    if (lowerAscii(trimmed(codes.substr(0, comma))) == wanted) return true;
    codes = comma == std::string_view::npos ? std::string_view() : codes.substr(comma + 1);
  }
  return false;
}

json position(std::int64_t line, std::int64_t character) {
  return {{"line", line}, {"character", character}};
}

json range(std::int64_t line, std::int64_t from, std::int64_t to) {
  return {{"start", position(line, from)}, {"end", position(line, to)}};
}

bool kindWanted(const json& context, std::string_view kind) {
  const json* only = member(context, "only");
  if (only == nullptr || !only->is_array()) return true;
  for (const json& wanted : *only) {
    if (!wanted.is_string()) continue;
    const std::string w = wanted.get<std::string>();
    if (kind == w || (kind.starts_with(w) && kind.size() > w.size() && kind[w.size()] == '.')) {
      return true;
    }
  }
  return false;
}

}  // namespace

Server::Server(Send send) : send_(std::move(send)) {}

void Server::sendJson(const json& message) {
  send_(message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void Server::respond(const json& id, json result) {
  sendJson({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Server::respondError(const json& id, int code, std::string_view message) {
  sendJson({{"jsonrpc", "2.0"},
            {"id", id},
            {"error", {{"code", code}, {"message", std::string(message)}}}});
}

void Server::notify(std::string_view method, json params) {
  sendJson({{"jsonrpc", "2.0"}, {"method", std::string(method)}, {"params", std::move(params)}});
}

void Server::frameError(FrameStatus status) {
  if (status == FrameStatus::kTooLarge) {
    respondError(
        nullptr, kInvalidRequest,
        "Message trop grand (plus de " + std::to_string(kMaxBodyBytes >> 20) + " Mo) : ignoré.");
  } else {
    respondError(nullptr, kParseError, "En-tête de message illisible : message ignoré.");
  }
}

void Server::handle(std::string_view body) {
  if (!depthWithin(body)) {
    respondError(nullptr, kParseError, "Message trop imbriqué : ignoré.");
    return;
  }
  const json message = json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    respondError(nullptr, kParseError, "Message illisible (JSON invalide) : ignoré.");
    return;
  }
  dispatch(message);
}

void Server::dispatch(const json& message) {
  if (!message.is_object()) {
    respondError(nullptr, kInvalidRequest, "Un message doit être un objet JSON.");
    return;
  }
  const json* id = member(message, "id");
  if (id != nullptr && !id->is_string() && !id->is_number_integer()) {
    respondError(nullptr, kInvalidRequest, "Identifiant de requête invalide.");
    return;
  }
  const json* method = member(message, "method");
  if (method == nullptr || !method->is_string()) {
    // A response to a request of ours (the server sends none): nothing to do.
    if (id != nullptr && (member(message, "result") || member(message, "error"))) return;
    respondError(id != nullptr ? *id : json(nullptr), kInvalidRequest, "Message sans méthode.");
    return;
  }
  const std::string name = method->get<std::string>();
  const json& params = objectAt(message, "params");
  if (id == nullptr) {
    if (name == "exit") {
      exited_ = true;
      return;
    }
    if (!initialized_ || shutdown_) return;
    try {
      notification(name, params);
    } catch (const json::exception&) {
      // Parameters of the wrong type: a notification has no answer.
    }
    return;
  }
  if (name != "initialize" && !initialized_) {
    respondError(*id, kServerNotInitialized, "Le serveur n'a pas encore reçu « initialize ».");
    return;
  }
  if (shutdown_) {
    respondError(*id, kInvalidRequest, "Le serveur est arrêté (« shutdown » reçu).");
    return;
  }
  try {
    if (name == "textDocument/formatting") {
      bool failed = false;
      json result = formatting(params, *id, failed);
      if (!failed) respond(*id, std::move(result));
      return;
    }
    json result = request(name, params);
    if (result.is_discarded()) {
      respondError(*id, kMethodNotFound, "Méthode inconnue : " + name);
    } else {
      respond(*id, std::move(result));
    }
  } catch (const AlreadyInitialized&) {
    respondError(*id, kInvalidRequest, "Le serveur a déjà reçu « initialize ».");
  } catch (const json::exception&) {
    respondError(*id, kInvalidParams, "Paramètres invalides pour " + name);
  }
}

json Server::request(std::string_view method, const json& params) {
  if (method == "initialize") {
    if (initialized_) {
      throw AlreadyInitialized();
    }
    initialized_ = true;
    if (const json* options = member(params, "initializationOptions")) applySettings(*options);
    return {{"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync",
               {{"openClose", true}, {"change", kSyncFull}, {"save", {{"includeText", true}}}}},
              {"documentFormattingProvider", true},
              {"documentSymbolProvider", true},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", json::array({">"})}}},
              {"codeActionProvider",
               {{"codeActionKinds", json::array({"quickfix", "source.format"})}}}}},
            {"serverInfo", {{"name", "scrutinette"}, {"version", std::string(kVersion)}}}};
  }
  if (method == "shutdown") {
    shutdown_ = true;
    return nullptr;
  }
  const std::string uri = stringAt(objectAt(params, "textDocument"), "uri");
  const auto it = documents_.find(uri);
  Document* doc = it == documents_.end() ? nullptr : &it->second;
  if (method == "textDocument/documentSymbol") {
    if (doc == nullptr) return json::array();
    ensureChecked(*doc, uri);
    return symbols(*doc);
  }
  if (method == "textDocument/hover") {
    if (doc == nullptr) return nullptr;
    ensureChecked(*doc, uri);
    return hover(*doc, params);
  }
  if (method == "textDocument/completion") {
    if (doc == nullptr) return json::array();
    ensureChecked(*doc, uri);
    return completion(*doc);
  }
  if (method == "textDocument/codeAction") {
    if (doc == nullptr) return json::array();
    return codeActions(*doc, params);
  }
  return json::value_t::discarded;
}

void Server::notification(std::string_view method, const json& params) {
  const std::string uri = stringAt(objectAt(params, "textDocument"), "uri");
  if (method == "textDocument/didOpen") {
    Document& doc = documents_[uri];
    doc.version = intAt(objectAt(params, "textDocument"), "version", 0);
    setText(doc, stringAt(objectAt(params, "textDocument"), "text"));
  } else if (method == "textDocument/didChange") {
    const auto it = documents_.find(uri);
    const json* changes = member(params, "contentChanges");
    if (it == documents_.end() || changes == nullptr || !changes->is_array()) return;
    Document& doc = it->second;
    std::string text = doc.text;
    int ranged = 0;
    for (const json& change : *changes) {
      const json* replacement = member(change, "text");
      if (replacement == nullptr || !replacement->is_string()) continue;
      const json* where = member(change, "range");
      if (where == nullptr) {
        text = replacement->get<std::string>();
        continue;
      }
      // Each costs a pass over the text: their number and the text's growth
      // are bounded.
      if (++ranged > kMaxRangedChanges ||
          text.size() + replacement->get_ref<const std::string&>().size() > kMaxBodyBytes) {
        continue;
      }
      // An incremental change (the server asks for full text, but takes both).
      const TextLines lines(text);
      const auto offset = [&](const json& pos) {
        const auto line = static_cast<int>(
            std::clamp<std::int64_t>(intAt(pos, "line", 0), 0, std::int64_t{lines.count()}));
        if (line >= lines.count()) return text.size();
        return lines.start(text, line) +
               byteOffset(lines.line(text, line), intAt(pos, "character", 0));
      };
      const std::size_t from = offset(objectAt(*where, "start"));
      const std::size_t to = std::max(from, offset(objectAt(*where, "end")));
      text.replace(from, to - from, replacement->get<std::string>());
    }
    doc.version = intAt(objectAt(params, "textDocument"), "version", doc.version);
    setText(doc, std::move(text));
  } else if (method == "textDocument/didSave") {
    const auto it = documents_.find(uri);
    if (it == documents_.end()) return;
    if (const json* text = member(params, "text"); text != nullptr && text->is_string()) {
      setText(it->second, text->get<std::string>());
    } else {
      it->second.publishedRevision = 0;
    }
  } else if (method == "textDocument/didClose") {
    if (documents_.erase(uri) > 0) {
      notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
    }
  } else if (method == "workspace/didChangeConfiguration") {
    const json* settings = member(params, "settings");
    if (settings == nullptr) return;
    const json* ours = member(*settings, "lintaro");
    applySettings(ours != nullptr ? *ours : *settings);
    for (auto& [name, doc] : documents_) {
      doc.checkedRevision = 0;
      doc.publishedRevision = 0;
    }
  }
}

void Server::applySettings(const json& settings) {
  if (!settings.is_object()) return;
  const auto flag = [&](const char* key, bool& target) {
    const json* value = member(settings, key);
    if (value != nullptr && value->is_boolean()) target = value->get<bool>();
  };
  flag("tribunal", settings_.tribunal);
  flag("bloodmoon", settings_.bloodmoon);
  flag("masquerAlertes", settings_.hideAlerts);
  const json* codes = member(settings, "ignorer");
  if (codes == nullptr) return;
  std::vector<std::string> names;
  if (codes->is_array()) {
    for (const json& code : *codes) {
      if (code.is_string()) names.push_back(code.get<std::string>());
    }
  } else if (codes->is_string()) {
    std::string_view list = codes->get_ref<const std::string&>();
    while (!list.empty()) {
      const std::size_t comma = list.find(',');
      names.emplace_back(trimmed(list.substr(0, comma)));
      list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
  }
  settings_.silenced.clear();
  for (const std::string& name : names) {
    if (const DiagnosticRow* row = findDiagnostic(trimmed(name))) {
      settings_.silenced.push_back(row->id);
    }
  }
}

void Server::setText(Document& doc, std::string text) {
  doc.text = std::move(text);
  doc.lines = TextLines(doc.text);
  doc.revision = nextRevision_++;
}

void Server::ensureChecked(Document& doc, std::string_view uri) {
  if (doc.checkedRevision == doc.revision) return;
  doc.checkedRevision = doc.revision;
  doc.result.reset();
  doc.refusal.clear();
  doc.beginLine = -1;
  for (int i = 0; i < doc.lines.count() && i <= kMaxLines; ++i) {
    const LeadingWords words = leadingWords(doc.lines.line(doc.text, i));
    if (lowerAscii(words.first) == "begin" && !words.second.empty()) {
      doc.beginLine = i;
      break;
    }
  }
  const std::string name = fileNameOf(uri);
  if (doc.text.size() > kMaxScriptBytes) {
    doc.refusal = resultMessage(kResultScriptTooLarge, name);
    return;
  }
  if (doc.lines.count() > kMaxLines) {
    doc.refusal = resultMessage(kResultTooManyLines, name);
    return;
  }
  CheckOptions options;
  options.tribunal = settings_.tribunal;
  options.bloodmoon = settings_.bloodmoon;
  options.hideAlerts = settings_.hideAlerts;
  options.silenced = settings_.silenced;
  doc.result = check(doc.text, options);
}

namespace {

// The line a finding is shown on: its own, clamped to the document; the
// whole-script findings on the "Begin" line (or the first).
int shownLine(std::int32_t line, int beginLine, int lineCount) {
  if (line == kWholeScript) return std::max(beginLine, 0);
  return std::clamp(line, 0, std::max(lineCount - 1, 0));
}

}  // namespace

json Server::diagnosticsOf(const Document& doc) const {
  json list = json::array();
  const auto lineRange = [&](int line) {
    return range(line, 0, utf16Length(doc.lines.line(doc.text, line)));
  };
  if (!doc.result) {
    list.push_back({{"range", lineRange(0)},
                    {"severity", kSeverityError},
                    {"source", kSource},
                    {"message", doc.refusal}});
    return list;
  }
  const CheckResult& result = *doc.result;
  for (const std::size_t i : result.reportOrder()) {
    const JournalEntry entry = result.journal[i];
    if (settings_.hideAlerts && entry.kind == kAlert) continue;
    const int line = shownLine(entry.line, doc.beginLine, doc.lines.count());
    json item = {{"range", lineRange(line)},
                 {"severity", entry.kind == kAlert ? kSeverityWarning : kSeverityError},
                 {"code", std::string(diagnostic(entry.id).code)},
                 {"source", kSource},
                 {"message", cp1252ToUtf8(entry.message())}};
    if (entry.line == kWholeScript) item["data"] = {{"script", true}};
    list.push_back(std::move(item));
  }
  return list;
}

void Server::publish(Document& doc, const std::string& uri) {
  ensureChecked(doc, uri);
  doc.publishedRevision = doc.revision;
  notify("textDocument/publishDiagnostics",
         {{"uri", uri}, {"version", doc.version}, {"diagnostics", diagnosticsOf(doc)}});
}

void Server::publishPending(const std::function<bool()>& inputWaiting) {
  if (exited_) return;
  for (auto& [uri, doc] : documents_) {
    if (doc.publishedRevision == doc.revision) continue;
    if (inputWaiting()) return;
    publish(doc, uri);
  }
}

json Server::formatting(const json& params, const json& id, bool& failed) {
  const std::string uri = stringAt(objectAt(params, "textDocument"), "uri");
  const auto it = documents_.find(uri);
  if (it == documents_.end()) return json::array();
  const Document& doc = it->second;
  const std::string name = fileNameOf(uri);
  std::string formatted;
  const int result =
      doc.text.size() > kMaxScriptBytes ? kFormatTooLarge : formatScriptText(doc.text, formatted);
  if (result != kFormatRewritten) {
    failed = true;
    respondError(id, kRequestFailed, formatResultMessage(result, name));
    return nullptr;
  }
  if (formatted == doc.text) return json::array();
  const int last = doc.lines.count() - 1;
  return json::array({{{"range",
                        {{"start", position(0, 0)},
                         {"end", position(last, utf16Length(doc.lines.line(doc.text, last)))}}},
                       {"newText", formatted}}});
}

json Server::symbols(Document& doc) const {
  json variables = json::array();
  if (doc.result) {
    for (const INFO& record : doc.result->info.records()) {
      if (record.type != code::SHORT && record.type != code::FLOAT && record.type != code::LONG) {
        continue;
      }
      int line = 0;
      std::string_view spelled = record.name;
      for (int i = 0; i < doc.lines.count(); ++i) {
        const LeadingWords words = leadingWords(doc.lines.line(doc.text, i));
        const std::string first = lowerAscii(words.first);
        if ((first == "short" || first == "float" || first == "long") &&
            lowerAscii(words.second) == record.name) {
          line = i;
          spelled = words.second;
          break;
        }
      }
      const json where = range(line, 0, utf16Length(doc.lines.line(doc.text, line)));
      variables.push_back({{"name", std::string(spelled)},
                           {"detail", record.type == code::SHORT   ? "short"
                                      : record.type == code::FLOAT ? "float"
                                                                   : "long"},
                           {"kind", kSymbolVariable},
                           {"range", where},
                           {"selectionRange", where}});
    }
  }
  if (doc.beginLine < 0) return variables;
  const std::string_view beginText = doc.lines.line(doc.text, doc.beginLine);
  int endLine = doc.lines.count() - 1;
  for (int i = doc.lines.count() - 1; i > doc.beginLine; --i) {
    if (lowerAscii(leadingWords(doc.lines.line(doc.text, i)).first) == "end") {
      endLine = i;
      break;
    }
  }
  const json head = range(doc.beginLine, 0, utf16Length(beginText));
  return json::array(
      {{{"name", std::string(leadingWords(beginText).second)},
        {"detail", "script"},
        {"kind", kSymbolModule},
        {"range",
         {{"start", position(doc.beginLine, 0)},
          {"end", position(endLine, utf16Length(doc.lines.line(doc.text, endLine)))}}},
        {"selectionRange", head},
        {"children", std::move(variables)}}});
}

json Server::hover(Document& doc, const json& params) const {
  const json& pos = objectAt(params, "position");
  const std::int64_t lineIndex = intAt(pos, "line", -1);
  if (lineIndex < 0 || lineIndex >= doc.lines.count()) return nullptr;
  const int line = static_cast<int>(lineIndex);
  const std::string_view text = doc.lines.line(doc.text, line);
  const WordSpan word = wordAt(text, byteOffset(text, intAt(pos, "character", 0)));
  std::vector<std::string> parts;
  if (word.length > 0) {
    const std::string_view spelled = text.substr(word.start, word.length);
    if (const CommandInfo* info = findCommand(spelled)) parts.push_back(commandHover(*info));
    if (doc.result) {
      const std::string lower = lowerAscii(spelled);
      for (const INFO& record : doc.result->info.records()) {
        if (record.name != lower || record.type < code::SHORT || record.type > code::LONG) continue;
        parts.push_back("**" + std::string(spelled) + "** : variable locale de type `" +
                        (record.type == code::SHORT   ? "short"
                         : record.type == code::FLOAT ? "float"
                                                      : "long") +
                        "`");
        break;
      }
    }
  }
  if (doc.result) {
    std::vector<Diag> shown;
    const CheckResult& result = *doc.result;
    for (const std::size_t i : result.reportOrder()) {
      const JournalEntry entry = result.journal[i];
      if (settings_.hideAlerts && entry.kind == kAlert) continue;
      if (shownLine(entry.line, doc.beginLine, doc.lines.count()) != line) continue;
      if (std::find(shown.begin(), shown.end(), entry.id) != shown.end()) continue;
      shown.push_back(entry.id);
      const DiagnosticRow& row = diagnostic(entry.id);
      if (row.explanation.empty()) continue;
      parts.push_back("**" + std::string(row.code) + "** (" + std::string(row.name) +
                      ") : " + std::string(row.explanation));
    }
  }
  if (parts.empty()) return nullptr;
  std::string value;
  for (const std::string& part : parts) {
    if (!value.empty()) value += "\n\n---\n\n";
    value += part;
  }
  json answer = {{"contents", {{"kind", "markdown"}, {"value", value}}}};
  if (word.length > 0) {
    const std::int64_t from = utf16Length(text.substr(0, word.start));
    answer["range"] = range(line, from, from + static_cast<std::int64_t>(word.length));
  }
  return answer;
}

json Server::completion(Document& doc) const {
  json items = json::array();
  for (const CommandInfo& info : commands()) {
    if (!allowed(info, settings_.tribunal, settings_.bloodmoon)) continue;
    items.push_back({{"label", std::string(info.name)},
                     {"kind", info.keyword    ? kCompletionKeyword
                              : info.function ? kCompletionFunction
                                              : kCompletionMethod},
                     {"detail", argumentHint(*info.rows.front())}});
  }
  for (const std::string_view word : {"Begin", "short", "float", "long"}) {
    items.push_back({{"label", std::string(word)}, {"kind", kCompletionKeyword}});
  }
  if (doc.result) {
    for (const INFO& record : doc.result->info.records()) {
      if (record.type < code::SHORT || record.type > code::LONG) continue;
      items.push_back({{"label", record.name},
                       {"kind", kCompletionVariable},
                       {"detail", record.type == code::SHORT   ? "short"
                                  : record.type == code::FLOAT ? "float"
                                                               : "long"}});
    }
  }
  return items;
}

json Server::codeActions(Document& doc, const json& params) {
  const std::string uri = stringAt(objectAt(params, "textDocument"), "uri");
  const json& context = objectAt(params, "context");
  json actions = json::array();
  const auto edit = [&](json edits) { return json{{"changes", {{uri, std::move(edits)}}}}; };
  const json* diagnostics = member(context, "diagnostics");
  if (diagnostics != nullptr && diagnostics->is_array() && kindWanted(context, "quickfix")) {
    for (const json& diag : *diagnostics) {
      if (stringAt(diag, "source") != kSource) continue;
      const std::string code = stringAt(diag, "code");
      if (findDiagnostic(code) == nullptr) continue;
      const bool wholeScript = member(objectAt(diag, "data"), "script") != nullptr;
      const std::int64_t line = intAt(objectAt(objectAt(diag, "range"), "start"), "line", -1);
      if (!wholeScript && line >= 0 && line < doc.lines.count()) {
        const std::string_view text = doc.lines.line(doc.text, static_cast<int>(line));
        const std::size_t semicolon = commentStart(text);
        std::optional<std::string> insert;
        if (semicolon == std::string_view::npos) {
          insert = " ; lintaro: ignorer " + code;
        } else if (const auto codes = directiveCodes(text.substr(semicolon + 1))) {
          if (!listsCode(*codes, code)) insert = (codes->empty() ? " " : ", ") + code;
        }
        if (insert) {
          std::string_view kept = text;
          while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t'))
            kept.remove_suffix(1);
          const std::int64_t end = utf16Length(kept);
          actions.push_back(
              {{"title", "Ignorer " + code + " sur cette ligne"},
               {"kind", "quickfix"},
               {"diagnostics", json::array({diag})},
               {"edit",
                edit(json::array({{{"range", range(line, end, end)}, {"newText", *insert}}}))}});
        }
      }
      actions.push_back(
          {{"title", "Ignorer " + code + " dans tout le script"},
           {"kind", "quickfix"},
           {"diagnostics", json::array({diag})},
           {"edit", edit(json::array({{{"range", range(0, 0, 0)},
                                       {"newText", "; lintaro: ignorer " + code +
                                                       std::string(doc.lines.lineEnd())}}}))}});
    }
  }
  if (kindWanted(context, "source.format")) {
    std::string formatted;
    if (doc.text.size() <= kMaxScriptBytes &&
        formatScriptText(doc.text, formatted) == kFormatRewritten && formatted != doc.text) {
      const int last = doc.lines.count() - 1;
      actions.push_back(
          {{"title", "Mettre le script en forme"},
           {"kind", "source.format"},
           {"edit", edit(json::array(
                        {{{"range",
                           {{"start", position(0, 0)},
                            {"end", position(last, utf16Length(doc.lines.line(doc.text, last)))}}},
                          {"newText", formatted}}}))}});
    }
  }
  return actions;
}

int serveLanguageClient(std::istream& in, std::ostream& out, bool coalesce) {
  Server server([&out](std::string_view body) { writeFrame(out, body); });
  const auto waiting = [&in, coalesce] {
    return coalesce && in.rdbuf() != nullptr && in.rdbuf()->in_avail() > 0;
  };
  for (;;) {
    Frame frame = readFrame(in);
    if (frame.status == FrameStatus::kEnd) break;
    if (frame.junkBefore) server.frameError(FrameStatus::kMalformedHeader);
    if (frame.status == FrameStatus::kMessage) {
      server.handle(frame.body);
    } else if (!frame.junkBefore || frame.status != FrameStatus::kMalformedHeader) {
      server.frameError(frame.status);
    }
    if (server.exited()) break;
    if (!waiting()) server.publishPending(waiting);
  }
  return server.exited() ? server.exitCode() : 1;
}

}  // namespace lintaro::lsp
