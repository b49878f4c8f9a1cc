// The arithmetic expression checker: numbers, variable references, calls of
// the game's value functions, the four operators and parentheses. It decides
// whether the text has an acceptable form and records every name it meets; it
// reports nothing about the form itself (its callers do, in their own words),
// only the use of expansion functions the mod may not use.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "expression/ChainEntry.h"
#include "core/CheckContext.h"

namespace lintaro {

// Returns 1 when `text` (a piece of one script line, in lower case, at most
// 4999 characters) is an acceptable expression, 0 otherwise.
int expression(CheckContext& ctx, std::string_view text, int lineIndex);

// The value functions an operand may call, in the order they are tried.
std::span<const ChainEntry> expressionFunctions();

// For each "(" of `text`, the index of its ")" or npos (and npos for every
// other character). A parenthesis is paired only with those that have the
// same parity of double quotes before them, so a scan that starts at a "("
// outside quotes sees the pairs outside quotes. The explicit-stack walkers of
// the expression and logical-test checkers both stand on it.
std::vector<std::size_t> matchParentheses(std::string_view text);

}  // namespace lintaro
