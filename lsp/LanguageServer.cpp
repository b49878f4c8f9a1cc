#include "lsp/LanguageServer.h"

#include "lsp/Server.h"

namespace lintaro {

int runLanguageServer(std::istream& in, std::ostream& out) {
  return lsp::serveLanguageClient(in, out, true);
}

}  // namespace lintaro
