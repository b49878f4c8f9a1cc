#include "analysis/MainEnchaineTests.h"

#include <array>
#include <string>
#include <vector>

#include "analysis/DetectTest.h"
#include "core/Journal.h"
#include "core/MainDivers.h"

namespace lintaro {

namespace {

constexpr std::string_view kModule =
    "Impossible d'ouvrir le fichier DbTempTES3 depuis EnchaineTests";

// The flags of one keyword, read as ints; indices past the table read 0.
struct Flags {
  KeywordFlags values;
  int operator()(int i) const {
    return (i >= 0 && static_cast<std::size_t>(i) < values.size())
               ? values[static_cast<std::size_t>(i)]
               : 0;
  }
};

struct BlockKeywords {
  const Flags& open;   // "if" or "while"
  const Flags& close;  // "endif" or "endwhile"
};

// The rows of one kind of block.
struct ClosingRows {
  Diag extra;        // a closer too many, between two lines
  Diag noOpener;     // a closer before any opener
  Diag missing;      // one closer missing
  Diag missingMany;  // several
};

// Depth, excess closers and missing closers of one kind of block.
void checkPairing(int count, const BlockKeywords& kw, const ClosingRows& rows,
                  DiagnosticSink& journal) {
  // Each excess closer is reported once: the lines after it are judged as if
  // it were absent. `correction` counts the closers reported so far, so the
  // depth of line i as the search sees it is raw(i) + the corrections made
  // before line i.
  std::vector<int> depth(static_cast<std::size_t>(count > 0 ? count : 0));
  int raw = 0;
  int correction = 0;
  int lastZero = -1;  // nearest index at or before i - 2 whose depth is 0
  for (int i = 0; i < count; ++i) {
    raw += kw.open(i) - kw.close(i);
    depth[static_cast<std::size_t>(i)] = raw + correction;
    if (i >= 2 && depth[static_cast<std::size_t>(i - 2)] == 0) lastZero = i - 2;
    if (i >= 1 && depth[static_cast<std::size_t>(i)] < 0) {
      if (lastZero >= 0) {
        journal.report(i, rows.extra, kModule, int2str(lastZero + 2), int2str(i + 1));
      } else {
        journal.report(i, rows.noOpener, kModule);
      }
      ++correction;
    }
  }
  if (raw == 1) journal.reportScript(rows.missing, kModule);
  if (raw > 1) journal.reportScript(rows.missingMany, kModule, int2str(raw));
}

// "else" and "elseif" outside any open "if", and "elseif" after an "else" of
// the same block. Walking up from line i and adding endif - if at each line,
// the sum turns negative at the line of the enclosing "if". With P(j) the sum
// of endif - if over the lines 0 to j (P(-1) = 0), the walk turns negative at
// the highest k with P(k - 1) > P(i); as P moves by at most one per line, that
// k - 1 is the last j < i with P(j) = P(i) + 1. An "else" of the same block is
// an "else" line k after the enclosing "if" with P(k - 1) = P(i).
void checkElse(int count, const Flags& ifs, const Flags& endifs, const Flags& elses,
               const Flags& elseifs, DiagnosticSink& journal) {
  // P(j) ranges over [-count, count]; index by P + count + 1.
  const std::size_t span = 2 * static_cast<std::size_t>(count) + 3;
  const auto slot = [&](int p) { return static_cast<std::size_t>(p + count + 1); };
  std::vector<int> prefix(static_cast<std::size_t>(count) + 1, 0);  // prefix[j + 1] = P(j)
  for (int i = 0; i < count; ++i) {
    prefix[static_cast<std::size_t>(i) + 1] =
        prefix[static_cast<std::size_t>(i)] + endifs(i) - ifs(i);
  }
  const auto P = [&](int j) { return prefix[static_cast<std::size_t>(j + 1)]; };

  // Lines with "else" first, in order, then lines with "elseif".
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<int> lastWithValue(span, -2);  // last j with P(j) = value; -2: none
    std::vector<int> lastElse(span, -1);       // last else line k with P(k - 1) = value
    lastWithValue[slot(0)] = -1;               // P(-1) = 0
    for (int i = 0; i < count; ++i) {
      const int here = P(i);
      if (pass == 0 && elses(i) == 1) {
        if (lastWithValue[slot(here + 1)] == -2) journal.report(i, Diag::kElseSansIf, kModule);
      }
      if (pass == 1 && elseifs(i) == 1) {
        const int above = lastWithValue[slot(here + 1)];
        if (above == -2) {
          journal.report(i, Diag::kElseifSansIf, kModule);
        } else {
          // The enclosing "if" is line above + 1; an "else" between it and this
          // line at the same level, the nearest one first.
          const int elseLine = lastElse[slot(here)];
          if (elseLine > above + 1) {
            journal.report(i, Diag::kElseifApresElse, kModule, int2str(elseLine + 1));
          }
        }
      }
      if (elses(i) == 1) lastElse[slot(P(i - 1))] = i;
      lastWithValue[slot(here)] = i;
    }
  }
}

// The nesting alert is a sentence of its own, listed with the findings of the
// line where the deep nesting ends.
void reportDeepNesting(DiagnosticSink& journal, int start, int end) {
  journal.reportAt(end, Diag::kImbricationsProfondes, kModule, int2str(start + 1),
                   int2str(end + 1));
}

// Ten or more open blocks of either kind.
void checkNesting(int count, const Flags& ifs, const Flags& endifs, const Flags& whiles,
                  const Flags& endwhiles, DiagnosticSink& journal) {
  int depth = 0;
  bool deep = false;
  int start = 0;
  for (int i = 0; i < count; ++i) {
    depth += ifs(i) + whiles(i) - endifs(i) - endwhiles(i);
    if (!deep && depth > 9) {
      deep = true;
      start = i;
    } else if (deep && depth <= 9) {
      deep = false;
      reportDeepNesting(journal, start, i);
    }
  }
}

}  // namespace

int checkTest(int count, const ScriptText& script, DiagnosticSink& journal) {
  if (!journal.open()) return kCheckTestJournalUnopenable;
  Flags ifs, endifs, whiles, endwhiles, elses, elseifs;
  strDetectTest(ifs.values, count, script, "if");
  strDetectTest(endifs.values, count, script, "endif");
  strDetectTest(whiles.values, count, script, "while");
  strDetectTest(endwhiles.values, count, script, "endwhile");
  strDetectTest(elses.values, count, script, "else");
  strDetectTest(elseifs.values, count, script, "elseif");

  checkPairing(
      count, {ifs, endifs},
      {Diag::kEndifEnTrop, Diag::kEndifSansIf, Diag::kEndifManquant, Diag::kEndifsManquants},
      journal);
  checkElse(count, ifs, endifs, elses, elseifs, journal);
  checkPairing(count, {whiles, endwhiles},
               {Diag::kEndwhileEnTrop, Diag::kEndwhileSansWhile, Diag::kEndwhileManquant,
                Diag::kEndwhilesManquants},
               journal);
  checkNesting(count, ifs, endifs, whiles, endwhiles, journal);
  return kCheckTestDone;
}

}  // namespace lintaro
