// Fast dispatch over a table of checker rows (the command chain, the value
// functions of expressions). A row's checker can only claim a text when the
// row's command word stands at the start of the text (after blanks) or right
// after a "->", so only those rows are offered the text, in table order; the
// outcome is the same as offering it to every row in turn.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "expression/ChainEntry.h"
#include "core/CheckContext.h"

namespace lintaro {

class ChainIndex {
 public:
  explicit ChainIndex(std::span<const ChainEntry> table);

  std::span<const ChainEntry> table() const { return table_; }

  // The rows whose lower-case command word begins the (lower-case) text at
  // its first non-blank character or right after a "->": indices in table
  // order, each once.
  void candidates(std::string_view text, std::vector<std::uint16_t>& out) const;

 private:
  struct Node {
    std::vector<std::pair<char, std::uint32_t>> children;
    std::vector<std::uint16_t> rows;
  };
  std::uint32_t find(std::uint32_t node, char c) const;
  std::uint32_t child(std::uint32_t node, char c);
  void collect(std::string_view text, std::size_t pos, std::vector<std::uint16_t>& out) const;

  std::span<const ChainEntry> table_;
  std::vector<Node> nodes_;
};

// Lowers the text, then offers it to the candidate rows in table order while
// *handled is 0. Returns the row that claimed it, or nullptr. `scratch` holds
// the candidates; a caller that may be re-entered passes its own.
const ChainEntry* runIndexed(CheckContext& ctx, const ChainIndex& index, std::string& text,
                             int* handled, int lineIndex, std::vector<std::uint16_t>& scratch);

// The reference: offers the text to every row in turn while *handled is 0.
const ChainEntry* runInOrder(CheckContext& ctx, std::span<const ChainEntry> table,
                             std::string& text, int* handled, int lineIndex);

// After a claim by a row of an expansion run that the mod may not use: the
// error " : fonction Tribunal-dépendante !" or " : fonction
// Bloodmoon-dépendante !".
void expansionError(CheckContext& ctx, const ChainEntry& entry, int lineIndex,
                    std::string_view failureMessage);

}  // namespace lintaro
