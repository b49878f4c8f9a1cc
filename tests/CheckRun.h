// A journal and an info store of their own for the checker tests, and the
// findings and records they hold in a form that compares and prints well.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/CheckContext.h"
#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "run/Check.h"
#include "tests/TestSupport.h"

namespace lintaro::test {

// One journal record: line index, kind and full text (Windows-1252).
struct Finding {
  int line = 0;
  int kind = 0;
  std::string text;
  bool operator==(const Finding&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Finding& f) {
  return out << "{" << f.line << ", " << (f.kind == kAlert ? "alerte" : "erreur") << ", \""
             << cp1252ToUtf8(f.text) << "\"}";
}

// Every record of a journal, in order.
inline std::vector<Finding> findingsOf(const Journal& journal) {
  std::vector<Finding> out;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    const JournalEntry e = journal[i];
    out.push_back({e.line, e.kind, std::string(e.text)});
  }
  return out;
}

// An info-store record: type code and name.
using Record = std::pair<int, std::string>;

// A journal and an info store in memory, with the run's line checkers.
class CheckRun {
 public:
  explicit CheckRun(int tribunal = 0, int bloodmoon = 0)
      : ctx{journal, info, tribunal, bloodmoon, &lineCheckers()} {}

  std::vector<Finding> findings() const { return findingsOf(journal); }

  std::vector<Record> records() const {
    std::vector<Record> out;
    for (const INFO& r : info.records())
      out.emplace_back(r.type, r.name);
    return out;
  }

  Journal journal;
  InfoStore info;
  CheckContext ctx;
};

}  // namespace lintaro::test
