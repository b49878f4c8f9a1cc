#include "core/MainTriInfo.h"

#include <algorithm>
#include <array>

#include "core/MainDivers.h"

namespace lintaro {

namespace {

// The merge table. A row lists the new codes that refine a stored code: the
// name takes the new code. The reverse pairs keep the stored code.
struct CodeRange {
  int first = 0;
  int last = -1;
};
struct RefinementRow {
  int stored;
  std::array<CodeRange, 6> incoming;
};

constexpr RefinementRow kRefinements[] = {
    {4, {{{0, 3}}}},
    {9, {{{0, 3}, {5, 8}, {10, 16}, {19, 19}, {30, 47}}}},
    {10, {{{15, 15}, {30, 31}, {41, 42}, {46, 46}}}},
    {11, {{{14, 14}, {16, 16}, {32, 38}, {40, 40}, {43, 44}, {47, 47}}}},
    {12, {{{13, 16}, {30, 47}}}},
    {13, {{{15, 15}, {30, 31}, {41, 42}, {46, 46}}}},
    {14, {{{16, 16}, {32, 40}, {43, 44}, {47, 47}}}},
    {15, {{{30, 31}, {46, 46}}}},
    {16, {{{32, 37}, {39, 39}, {43, 44}, {47, 47}}}},
    {19, {{{10, 16}, {30, 47}, {51, 51}}}},
};

// Fixed results that are neither keep nor take.
struct SpecialMerge {
  int stored;
  int incoming;
  int result;
};
constexpr SpecialMerge kSpecialMerges[] = {
    {96, 99, 96},
    {99, 96, 99},
    {19, 96, code::PNJ},
    {19, 99, code::PNJ},
};

constexpr int kLowestCode = -99;
constexpr int kHighestCode = 99;
constexpr int kCodeCount = kHighestCode - kLowestCode + 1;

using MergeTable = std::array<std::array<std::int8_t, kCodeCount>, kCodeCount>;

constexpr MergeTable buildMergeTable() {
  MergeTable table{};
  const auto at = [&](int stored, int incoming) -> std::int8_t& {
    return table[static_cast<std::size_t>(stored - kLowestCode)]
                [static_cast<std::size_t>(incoming - kLowestCode)];
  };
  for (int s = kLowestCode; s <= kHighestCode; ++s) {
    for (int n = kLowestCode; n <= kHighestCode; ++n) {
      at(s, n) = static_cast<std::int8_t>(s == n ? s : code::ERREUR);
    }
  }
  for (const RefinementRow& row : kRefinements) {
    for (const CodeRange& range : row.incoming) {
      for (int n = range.first; n <= range.last; ++n) {
        at(row.stored, n) = static_cast<std::int8_t>(n);  // take the new code
        at(n, row.stored) = static_cast<std::int8_t>(n);  // reverse: keep the stored code
      }
    }
  }
  for (const SpecialMerge& m : kSpecialMerges) {
    at(m.stored, m.incoming) = static_cast<std::int8_t>(m.result);
  }
  return table;
}

constexpr MergeTable kMergeTable = buildMergeTable();

constexpr bool isExternalCode(int code) {
  return code >= 25 && code <= 29;
}

// A name as its fixed, NUL-terminated field holds it, in lower case.
void fitName(std::string& name, std::size_t limit) {
  name.resize(std::min({name.size(), name.find('\0'), limit}));
  foldLower(name);
}

}  // namespace

int mergeCode(int stored, int incoming) {
  if (stored < kLowestCode || stored > kHighestCode || incoming < kLowestCode ||
      incoming > kHighestCode) {
    return stored == incoming ? stored : code::ERREUR;
  }
  return kMergeTable[static_cast<std::size_t>(stored - kLowestCode)]
                    [static_cast<std::size_t>(incoming - kLowestCode)];
}

int XorExt(const INFO& a, const INFO& b) {
  return isExternalCode(a.type) != isExternalCode(b.type) ? 1 : 0;
}

void InfoStore::triInfo(INFO info) {
  fitName(info.name, kInfoNameMax);
  if (mirror_ != nullptr) mirror_->openOrFail();

  auto found = byName_.find(info.name);
  if (found != byName_.end()) {
    for (const std::uint32_t position : found->second) {
      INFO& stored = records_[position];
      if (stored.type < 0) return;  // ERREUR never changes again
      const int merged = mergeCode(stored.type, info.type);
      if (XorExt(info, INFO{merged, {}}) == 1) continue;
      if (merged != stored.type) {
        stored.type = merged;
        if (mirror_ != nullptr) mirror_->record(position, stored, false);
      }
      return;
    }
  }
  const auto position = static_cast<std::uint32_t>(records_.size());
  if (found == byName_.end()) {
    byName_.emplace(info.name, std::vector<std::uint32_t>{position});
  } else {
    found->second.push_back(position);
  }
  records_.push_back(std::move(info));
  if (mirror_ != nullptr) mirror_->record(position, records_.back(), true);
}

void InfoStore::triInfoLocal(VAR_LOCALE pair) {
  fitName(pair.variable, kPairNameMax);
  fitName(pair.object, kPairNameMax);
  if (mirror_ != nullptr) mirror_->openPairsOrFail();

  std::string key = pair.variable;
  key.push_back('\0');
  key.append(pair.object);
  if (!pairKeys_.insert(std::move(key)).second) return;

  if (mirror_ != nullptr) mirror_->pair(pair);
  pairs_.push_back(std::move(pair));
}

int InfoStore::IsLocal(std::string_view name) {
  if (mirror_ != nullptr) mirror_->openOrFail();
  const auto found = byName_.find(std::string(name));
  if (found == byName_.end()) return -1;
  const int code = records_[found->second.front()].type;
  return (code >= 0 && code <= 4) ? 1 : 0;
}

}  // namespace lintaro
