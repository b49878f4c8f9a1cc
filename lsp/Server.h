// The language server's state and message handling, apart from the
// transport: it takes message bodies one at a time and hands the messages it
// sends to a callback, so that tests and the fuzz target drive it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/Framing.h"
#include "lsp/Text.h"
#include "run/Check.h"

namespace lintaro::lsp {

// JSON-RPC and LSP error codes.
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestFailed = -32803;

// Deepest nesting of arrays and objects a message may have.
inline constexpr int kMaxJsonDepth = 256;

struct ServerSettings {
  bool tribunal = false;
  bool bloodmoon = false;
  bool hideAlerts = false;
  std::vector<Diag> silenced;
};

class Server {
 public:
  using Send = std::function<void(std::string_view body)>;
  explicit Server(Send send);

  // One message body.
  void handle(std::string_view body);
  // A frame that could not be read (bad header, body too large, or bytes that
  // were no header before a good one).
  void frameError(FrameStatus status);

  // Checks the documents whose text or settings changed since they were last
  // published and publishes their findings. Before each document it asks
  // `inputWaiting`: when more input waits, it stops, leaving the rest for
  // later, so that findings are published for the newest text only.
  void publishPending(const std::function<bool()>& inputWaiting);

  bool exited() const { return exited_; }
  // 0 after shutdown then exit, 1 otherwise.
  int exitCode() const { return shutdown_ ? 0 : 1; }

 private:
  struct Document {
    std::string text;  // UTF-8 as the editor sent it
    TextLines lines;
    std::int64_t version = 0;
    std::uint64_t revision = 0;
    std::uint64_t checkedRevision = 0;  // 0: never checked
    std::uint64_t publishedRevision = 0;
    // The check of checkedRevision; empty for a document too large or too long
    // to check (then `refusal` says why).
    std::optional<CheckResult> result;
    std::string refusal;
    int beginLine = -1;
  };

  void dispatch(const nlohmann::json& message);
  void respond(const nlohmann::json& id, nlohmann::json result);
  void respondError(const nlohmann::json& id, int code, std::string_view message);
  void notify(std::string_view method, nlohmann::json params);
  void sendJson(const nlohmann::json& message);

  nlohmann::json request(std::string_view method, const nlohmann::json& params);
  void notification(std::string_view method, const nlohmann::json& params);

  void applySettings(const nlohmann::json& settings);
  void setText(Document& doc, std::string text);
  Document* documentOf(const nlohmann::json& params);
  void ensureChecked(Document& doc, std::string_view uri);
  nlohmann::json diagnosticsOf(const Document& doc) const;
  void publish(Document& doc, const std::string& uri);

  nlohmann::json formatting(const nlohmann::json& params, const nlohmann::json& id, bool& failed);
  nlohmann::json symbols(Document& doc) const;
  nlohmann::json hover(Document& doc, const nlohmann::json& params) const;
  nlohmann::json completion(Document& doc) const;
  nlohmann::json codeActions(Document& doc, const nlohmann::json& params);

  Send send_;
  ServerSettings settings_;
  std::map<std::string, Document> documents_;
  std::uint64_t nextRevision_ = 1;
  bool initialized_ = false;
  bool shutdown_ = false;
  bool exited_ = false;
};

// The server over a stream: reads frames from `in` until "exit" or the end of
// the input, and writes to `out`. With `coalesce`, findings are published only
// when no more input is waiting (a burst of changes is checked once); without,
// after every message. Returns the process exit code.
int serveLanguageClient(std::istream& in, std::ostream& out, bool coalesce);

}  // namespace lintaro::lsp
