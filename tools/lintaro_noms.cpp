// Prints the command and function names of the engine's tables as JSON, for
// the editor grammars: {"motsCles": [...], "commandes": [...], "fonctions":
// [...]}, each name once, spelled as the tables spell it, in table order.
#include <iostream>

#include <nlohmann/json.hpp>

#include "lsp/Commands.h"

int main() {
  nlohmann::json names = {{"motsCles", nlohmann::json::array()},
                          {"commandes", nlohmann::json::array()},
                          {"fonctions", nlohmann::json::array()}};
  for (const lintaro::lsp::CommandInfo& info : lintaro::lsp::commands()) {
    const char* list = info.keyword ? "motsCles" : (info.function ? "fonctions" : "commandes");
    names[list].push_back(std::string(info.name));
  }
  std::cout << names.dump(2) << '\n';
  return 0;
}
