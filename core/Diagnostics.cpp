#include "core/Diagnostics.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/Encoding.h"
#include "core/MainDivers.h"

namespace lintaro {

namespace {

[[maybe_unused]] constexpr Scope kLine = Scope::kLine;
[[maybe_unused]] constexpr Scope kScript = Scope::kScript;
[[maybe_unused]] constexpr Scope kPlaced = Scope::kPlaced;

constexpr DiagnosticRow kRows[] = {
#define LINTARO_DIAG(id, code, kind, scope, name, message, explanation, wrong, right) \
  {Diag::id, code, kind, scope, name, message, explanation, wrong, right},
#include "core/diagnostics/All.def"
#undef LINTARO_DIAG
};

constexpr bool rowsInOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (static_cast<std::size_t>(kRows[i].id) != i) return false;
  }
  return true;
}
static_assert(rowsInOrder());

// A message template in Windows-1252, split at its holes: literal pieces
// alternate with holes, starting and ending with a (possibly empty) literal.
struct Compiled {
  std::vector<std::string> literals;  // holes + 1 pieces
  std::uint32_t fromScript = 0;       // bit i: hole i holds text taken from the script
};

// Holes the checker fills with its own words ("2-ième") or numbers.
constexpr std::array<std::string_view, 6> kCheckerHoles = {"rang",  "numero", "nombre",
                                                           "ligne", "debut",  "fin"};

bool checkerHole(std::string_view name) {
  return std::find(kCheckerHoles.begin(), kCheckerHoles.end(), name) != kCheckerHoles.end();
}

std::vector<Compiled> compileAll() {
  std::vector<Compiled> all;
  all.reserve(std::size(kRows));
  for (const DiagnosticRow& row : kRows) {
    Compiled c;
    const std::string text = utf8ToCp1252(row.message);
    std::string piece;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '{') {
        const std::size_t close = text.find('}', i);
        if (close != std::string::npos) {
          const std::size_t hole = c.literals.size();
          if (hole < 32 && !checkerHole(std::string_view(text).substr(i + 1, close - i - 1)))
            c.fromScript |= std::uint32_t{1} << hole;
          c.literals.push_back(piece);
          piece.clear();
          i = close;
          continue;
        }
      }
      piece.push_back(text[i]);
    }
    c.literals.push_back(piece);
    all.push_back(std::move(c));
  }
  return all;
}

const std::vector<Compiled>& compiled() {
  static const std::vector<Compiled> kCompiled = compileAll();
  return kCompiled;
}

}  // namespace

std::span<const DiagnosticRow> catalogue() {
  return kRows;
}

const DiagnosticRow& diagnostic(Diag id) {
  return kRows[static_cast<std::size_t>(id)];
}

const DiagnosticRow* findDiagnostic(std::string_view code) {
  for (const DiagnosticRow& row : kRows) {
    if (sameName(lowered(row.code), lowered(code))) return &row;
  }
  return nullptr;
}

std::vector<std::string_view> holesOf(std::string_view message) {
  std::vector<std::string_view> holes;
  std::size_t i = 0;
  while ((i = message.find('{', i)) != std::string_view::npos) {
    const std::size_t close = message.find('}', i);
    if (close == std::string_view::npos) break;
    holes.push_back(message.substr(i + 1, close - i - 1));
    i = close + 1;
  }
  return holes;
}

void renderMessage(std::string& out, Diag id, std::span<const std::string_view> values,
                   NameSpans* names) {
  const Compiled& c = compiled()[static_cast<std::size_t>(id)];
  constexpr std::size_t kByteMax = 255;
  for (std::size_t i = 0; i < c.literals.size(); ++i) {
    out.append(c.literals[i]);
    if (i + 1 >= c.literals.size() || i >= values.size()) continue;
    const std::size_t start = out.size();
    out.append(values[i]);
    if (names == nullptr || i >= 32 || (c.fromScript & (std::uint32_t{1} << i)) == 0 ||
        names->count >= names->at.size() || start >= kByteMax || values[i].empty()) {
      continue;
    }
    const std::size_t length = std::min(values[i].size(), kByteMax - start);
    names->at[names->count++] = {static_cast<std::uint8_t>(start),
                                 static_cast<std::uint8_t>(length)};
  }
}

}  // namespace lintaro
