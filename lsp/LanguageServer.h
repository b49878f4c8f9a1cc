// scrutinette --lsp: Lintaro as a language server (LSP 3.17 over standard
// input and output) for any editor that speaks the protocol.
#pragma once

#include <istream>
#include <ostream>

namespace lintaro {

// Serves one client on `in` and `out` until it sends "exit" or closes its
// side. Returns the exit code the protocol asks for: 0 after "shutdown" then
// "exit", 1 otherwise.
int runLanguageServer(std::istream& in, std::ostream& out);

}  // namespace lintaro
