#include "expression/ChainIndex.h"

#include <algorithm>

#include "core/MainDivers.h"

namespace lintaro {

ChainIndex::ChainIndex(std::span<const ChainEntry> table) : table_(table) {
  nodes_.emplace_back();
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::uint32_t node = 0;
    for (const char c : table[i].name)
      node = child(node, foldChar(c));
    nodes_[node].rows.push_back(static_cast<std::uint16_t>(i));
  }
}

std::uint32_t ChainIndex::find(std::uint32_t node, char c) const {
  for (const auto& [letter, next] : nodes_[node].children) {
    if (letter == c) return next;
  }
  return 0;
}

std::uint32_t ChainIndex::child(std::uint32_t node, char c) {
  if (const std::uint32_t next = find(node, c); next != 0) return next;
  const auto next = static_cast<std::uint32_t>(nodes_.size());
  nodes_.emplace_back();
  nodes_[node].children.emplace_back(c, next);
  return next;
}

void ChainIndex::collect(std::string_view text, std::size_t pos,
                         std::vector<std::uint16_t>& out) const {
  std::uint32_t node = 0;
  for (; pos < text.size(); ++pos) {
    node = find(node, text[pos]);
    if (node == 0) return;
    out.insert(out.end(), nodes_[node].rows.begin(), nodes_[node].rows.end());
  }
}

void ChainIndex::candidates(std::string_view text, std::vector<std::uint16_t>& out) const {
  out.clear();
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start]))
    ++start;
  collect(text, start, out);
  for (std::size_t p = text.find("->", start); p != std::string_view::npos;
       p = text.find("->", p + 1)) {
    collect(text, p + 2, out);
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

const ChainEntry* runIndexed(CheckContext& ctx, const ChainIndex& index, std::string& text,
                             int* handled, int lineIndex, std::vector<std::uint16_t>& scratch) {
  if (*handled != 0) return nullptr;
  foldLower(text);
  index.candidates(text, scratch);
  const std::span<const ChainEntry> table = index.table();
  for (const std::uint16_t i : scratch) {
    ctx.lineCheckers->runEntry(ctx, table[i], text, handled, lineIndex);
    if (*handled != 0) return &table[i];
  }
  return nullptr;
}

const ChainEntry* runInOrder(CheckContext& ctx, std::span<const ChainEntry> table,
                             std::string& text, int* handled, int lineIndex) {
  for (const ChainEntry& entry : table) {
    if (*handled != 0) break;
    ctx.lineCheckers->runEntry(ctx, entry, text, handled, lineIndex);
    if (*handled != 0) return &entry;
  }
  return nullptr;
}

void expansionError(CheckContext& ctx, const ChainEntry& entry, int lineIndex,
                    std::string_view failureMessage) {
  if (entry.expansion == Expansion::kTribunal && ctx.tribunal == 0) {
    ctx.journal.report(lineIndex, Diag::kTribunalDependante, failureMessage);
  } else if (entry.expansion == Expansion::kBloodmoon && ctx.bloodmoon == 0) {
    ctx.journal.report(lineIndex, Diag::kBloodmoonDependante, failureMessage);
  }
}

}  // namespace lintaro
