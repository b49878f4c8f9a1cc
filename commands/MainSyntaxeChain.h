// The command chain: the fixed, ordered list of checkers tried on every line
// that survived the lexical checks. The first checker that recognises the line
// claims it; commands of the expansions are reported when the mod may not use
// them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "analysis/MainSyntaxe.h"
#include "expression/ChainEntry.h"
#include "core/CheckContext.h"

namespace lintaro {

// The chain, in order.
std::span<const ChainEntry> commandChain();

// Calls one entry's checker on the line.
void runEntry(CheckContext& ctx, const ChainEntry& entry, std::string& line, int* lineHandled,
              int lineIndex);

// Runs the chain on a line (lower-cased in place by the checkers). Returns
// true when a claiming entry was an "End" step.
bool runCommandChain(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

// The same, trying every entry in turn: the reference for runCommandChain.
bool runCommandChainInOrder(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

}  // namespace lintaro
