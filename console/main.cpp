// scrutinette: the console version of Lintaro. With file names it checks them
// and exits; without arguments it offers the interactive menu; with --lsp it
// is a language server on standard input and output.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "console/Scrutinette.h"
#include "console/ScrutinetteMenu.h"
#include "lsp/LanguageServer.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc <= 1) return lintaro::runScrutinetteMenu(std::cin, std::cout);
  if (std::string_view(argv[1]) == "--lsp") return lintaro::runLanguageServer(std::cin, std::cout);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return lintaro::runScrutinette(args, std::cin, std::cout, std::cerr);
}
