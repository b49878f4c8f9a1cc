// Fuzz target: the language server on arbitrary input bytes, framing and
// messages alike (serveLanguageClient over string streams, findings
// published after every message).
//
// When the first byte is odd, a well-formed "initialize" comes first, so that
// every handler is reachable from short inputs. Besides the sanitizers, it
// checks that everything the server writes is framed correctly and that each
// body is valid JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "lsp/Server.h"

namespace {

constexpr std::string_view kInitialize =
    "Content-Length: 58\r\n\r\n"
    R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})";

void checkOutput(std::string_view out) {
  constexpr std::string_view kHead = "Content-Length: ";
  while (!out.empty()) {
    if (!out.starts_with(kHead)) std::abort();
    out.remove_prefix(kHead.size());
    std::size_t length = 0;
    std::size_t digits = 0;
    while (digits < out.size() && out[digits] >= '0' && out[digits] <= '9') {
      length = length * 10 + static_cast<std::size_t>(out[digits] - '0');
      ++digits;
    }
    out.remove_prefix(digits);
    if (digits == 0 || !out.starts_with("\r\n\r\n") || out.size() < 4 + length) std::abort();
    const std::string_view body = out.substr(4, length);
    if (!nlohmann::json::accept(body)) std::abort();
    out.remove_prefix(4 + length);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input;
  if (size > 0 && (data[0] & 1) != 0) input = kInitialize;
  input.append(reinterpret_cast<const char*>(data), size);
  std::istringstream in(input);
  std::ostringstream out;
  lintaro::lsp::serveLanguageClient(in, out, false);
  checkOutput(out.str());
  return 0;
}
