// scrutinette: the console version of Lintaro. With file names it checks them
// and exits; without arguments it offers the interactive menu; with --lsp it
// is a language server on standard input and output.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "console/ConsoleSystem.h"
#include "console/Scrutinette.h"
#include "console/ScrutinetteMenu.h"
#include "lsp/LanguageServer.h"

int main(int argc, char** argv) {
  const lintaro::ConsoleSession session(argc, argv);
  const std::vector<std::string>& args = session.arguments();
  std::ios::sync_with_stdio(false);
  if (args.empty()) return lintaro::runScrutinetteMenu(std::cin, std::cout);
  if (std::string_view(args[0]) == "--lsp") return lintaro::runLanguageServer(std::cin, std::cout);
  return lintaro::runScrutinette(args, std::cin, std::cout, std::cerr);
}
