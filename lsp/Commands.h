// What the editor is told about the game's commands and functions: their
// arguments as the command chain and the expression checker's table know
// them, in French.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "expression/ChainEntry.h"

namespace lintaro::lsp {

struct CommandInfo {
  std::string_view name;  // as the tables spell it (first row)
  bool function = false;  // a value function of expressions (else a command)
  bool keyword = false;   // Set, If, ElseIf, While, Else, Endif, EndWhile, End, Return
  std::vector<const ChainEntry*> rows;  // every row of that name, in table order
};

// Every command and function name, each once (names compared without case),
// commands first, in table order.
const std::vector<CommandInfo>& commands();

// The entry of a name (any case), or nullptr.
const CommandInfo* findCommand(std::string_view name);

// True when a row of the command may be used with these expansions.
bool allowed(const CommandInfo& info, bool tribunal, bool bloodmoon);

// One line on the arguments of a row: "appelant facultatif (personnage) ;
// un identifiant (sort)".
std::string argumentHint(const ChainEntry& row);

// The hover text of a command (Markdown, UTF-8).
std::string commandHover(const CommandInfo& info);

// A type code of the info store as a French noun ("personnage").
std::string_view typeLabel(int code);

}  // namespace lintaro::lsp
