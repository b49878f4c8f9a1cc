// The catalogue of diagnostics: every kind of finding the checker can write,
// one row each, with a stable code, its kind, its French message as a
// template with named holes, a short name and an explanation with a wrong and
// a right example line.
//
// The rows are the data files core/diagnostics/*.def, one per family of codes,
// read through the LINTARO_DIAG macro. A checker names its row by its
// identifier (Diag::kSansTo) and gives the values of the holes in the order in
// which they appear in the message.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lintaro {

inline constexpr std::int32_t kAlert = 1;
inline constexpr std::int32_t kError = 2;

enum class Diag : std::uint16_t {
#define LINTARO_DIAG(id, code, kind, scope, name, message, explanation, wrong, right) id,
#include "core/diagnostics/All.def"
#undef LINTARO_DIAG
};

// Where a finding stands: on one line ("    - Ligne N : " + message), about
// the whole script ("    - " + message, listed last), or a sentence of its own
// ("    - " + message) listed with the findings of one line.
enum class Scope : std::uint8_t { kLine, kScript, kPlaced };

struct DiagnosticRow {
  Diag id;
  std::string_view code;  // "LT201": capital letters, then digits
  std::int32_t kind;      // kAlert or kError
  Scope scope;
  std::string_view name;         // short name, lower case words joined by "-"
  std::string_view message;      // UTF-8 template; holes are {name}
  std::string_view explanation;  // French, UTF-8
  std::string_view wrong;        // an example line that draws the finding
  std::string_view right;        // the same line written well
};

// Every row, in the order of the data files.
std::span<const DiagnosticRow> catalogue();
const DiagnosticRow& diagnostic(Diag id);
// The row of a code ("LT201", any case); nullptr when there is none.
const DiagnosticRow* findDiagnostic(std::string_view code);

// The hole names of a message template, in order.
std::vector<std::string_view> holesOf(std::string_view message);

// Most holes of a message (the catalogue's test holds every row to it).
inline constexpr std::size_t kMaxHoles = 4;

// Where the values of a finding's holes that hold text taken from the script
// (names, ids, strings) stand in its text, in order: byte offset and length.
// A finding's text is at most 255 bytes. The holes {rang}, {numero},
// {nombre}, {ligne}, {debut} and {fin} hold the checker's own words and
// numbers and are not listed.
struct NameSpans {
  struct Span {
    std::uint8_t start = 0;
    std::uint8_t length = 0;
  };
  std::array<Span, kMaxHoles> at{};
  std::uint8_t count = 0;
};

// Appends the message of a row to `out` in Windows-1252, the holes replaced
// by `values` in order (a missing value leaves the hole empty). When `names`
// is given, it receives where the values taken from the script stand in
// `out` (those past byte 255 of `out` are left out).
void renderMessage(std::string& out, Diag id, std::span<const std::string_view> values,
                   NameSpans* names = nullptr);

}  // namespace lintaro
