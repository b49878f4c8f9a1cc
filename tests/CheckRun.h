// A journal and an info store of their own for the checker tests, and the
// findings and records they hold in a form that compares and prints well.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/CheckContext.h"
#include "core/Encoding.h"
#include "core/Journal.h"
#include "core/MainDivers.h"
#include "core/MainTriInfo.h"
#include "core/WorkFiles.h"
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

// "    - Ligne <index + 1>" followed by a message written in UTF-8.
inline Finding findingAt(int index, int kind, std::string_view utf8Message) {
  return {index, kind,
          std::string(kLinePrefix) + std::to_string(index + 1) + utf8ToCp1252(utf8Message)};
}
inline Finding errorAt(int index, std::string_view utf8Message) {
  return findingAt(index, kError, utf8Message);
}
inline Finding alertAt(int index, std::string_view utf8Message) {
  return findingAt(index, kAlert, utf8Message);
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

// One line given to a line checker and what the call must leave behind.
struct LineCase {
  std::string text;
  int handled;  // lineHandled after the call; it starts at 0
  std::vector<Finding> findings;
  std::vector<Record> records;
};

// Calls a checker on a line of the run's context: `line` may be rewritten.
using LineCheck = std::function<void(CheckContext&, std::string& line, int* handled)>;

// Each case in a fresh run with the Tribunal switch `tribunal` and the names
// `known` stored first (make a TempDir first). With `lowers`, the checker must
// leave the line lower-cased; without `records`, the names it records are not
// compared.
inline void expectLineCases(const LineCheck& check, const std::vector<LineCase>& cases,
                            bool lowers = false, int tribunal = 0,
                            const std::vector<Record>& known = {}, bool records = true) {
  for (const LineCase& c : cases) {
    CheckRun run(tribunal, 0);
    for (const auto& [type, name] : known)
      run.info.triInfo(INFO{type, name});
    std::string line = c.text;
    int handled = 0;
    check(run.ctx, line, &handled);
    EXPECT_EQ(handled, c.handled) << '"' << c.text << '"';
    EXPECT_EQ(run.findings(), c.findings) << '"' << c.text << '"';
    if (records) {
      EXPECT_EQ(run.records(), c.records) << '"' << c.text << '"';
    }
    if (lowers) {
      EXPECT_EQ(line, lowered(c.text)) << '"' << c.text << '"';
    }
  }
}

// A checker that takes the line index last, called for line `index`.
template <typename Checker>
LineCheck atLine(Checker checker, int index) {
  return [checker, index](CheckContext& ctx, std::string& line, int* handled) {
    checker(ctx, line, handled, index);
  };
}

}  // namespace lintaro::test
