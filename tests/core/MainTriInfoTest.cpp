// The info store: the merge table of type codes, how names are merged, and the
// records it writes.
#include "core/MainTriInfo.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "run/WorkFileMirrors.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using Records = std::vector<test::Record>;

// The merge table as the documentation of the type codes states it, parsed
// from text so that a slip in either transcription shows.
const std::map<int, std::set<int>>& refinements() {
  static const std::map<int, std::set<int>> table = [] {
    const char* rows[] = {
        "4: 0-3",
        "9: 0-3 5-8 10-16 19 30-47",
        "10: 15 30 31 41 42 46",
        "11: 14 16 32-38 40 43 44 47",
        "12: 13-16 30-47",
        "13: 15 30 31 41 42 46",
        "14: 16 32-40 43 44 47",
        "15: 30 31 46",
        "16: 32-37 39 43 44 47",
        "19: 10-16 30-47 51",
    };
    std::map<int, std::set<int>> out;
    for (const char* row : rows) {
      std::istringstream in(row);
      int stored = 0;
      char colon = 0;
      in >> stored >> colon;
      std::string item;
      while (in >> item) {
        const auto dash = item.find('-');
        const int first = std::stoi(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : std::stoi(item.substr(dash + 1));
        for (int n = first; n <= last; ++n)
          out[stored].insert(n);
      }
    }
    return out;
  }();
  return table;
}

int expectedMerge(int stored, int incoming) {
  if (stored == incoming) return stored;
  const auto& r = refinements();
  if (r.contains(stored) && r.at(stored).contains(incoming)) return incoming;
  if (r.contains(incoming) && r.at(incoming).contains(stored)) return stored;
  if ((stored == 96 && incoming == 99) || (stored == 99 && incoming == 96)) return stored;
  if (stored == 19 && (incoming == 96 || incoming == 99)) return 31;
  return -99;
}

TEST(MergeTable, EveryPairOfCodesFollowsTheDocumentedTable) {
  int refined = 0;
  for (int stored = -99; stored <= 99; ++stored) {
    for (int incoming = -99; incoming <= 99; ++incoming) {
      const int expected = expectedMerge(stored, incoming);
      ASSERT_EQ(mergeCode(stored, incoming), expected) << stored << " then " << incoming;
      if (expected == incoming && stored != incoming && incoming != -99) ++refined;
    }
  }
  // 4 + 34 + 6 + 13 + 22 + 6 + 13 + 3 + 10 + 26 refinements.
  EXPECT_EQ(refined, 137);
  // Outside the table only equality keeps a code.
  EXPECT_EQ(mergeCode(150, 150), 150);
  EXPECT_EQ(mergeCode(150, 9), -99);
  EXPECT_EQ(mergeCode(9, -150), -99);
}

// A name in its fixed, NUL-padded field; a record of the store: the code as a
// little-endian 32-bit integer, then the name.
std::string field(std::string_view name, std::size_t size) {
  return std::string(name) + std::string(size - name.size(), '\0');
}
std::string record(std::int32_t code, std::string_view name) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF));
  return bytes + field(name, 52);
}

TEST(InfoStore, NamesMergeWhateverTheirCaseOnePlainAndOneExternalRecordEach) {
  test::TempDir dir;
  // clang-format off
  const struct {
    std::vector<INFO> fed;
    Records expected;
  } cases[] = {
      // Refinements either way; a local used as a global stays local.
      {{{9, "MyVar"}, {0, "myvar"}, {10, "Chest"}, {15, "CHEST"}, {10, "chest"}},
       {{0, "myvar"}, {15, "chest"}}},
      // ERREUR is final: not even an external record is added afterwards.
      {{{10, "crate"}, {11, "crate"}, {10, "crate"}, {29, "crate"}}, {{-99, "crate"}}},
      // An external use of a plain name has a record of its own, once; a plain
      // use of an external name turns it to ERREUR; two external codes, two records.
      {{{9, "counter"}, {29, "counter"}, {29, "counter"}, {29, "flag"}, {9, "flag"},
        {25, "state"}, {29, "state"}},
       {{9, "counter"}, {29, "counter"}, {-99, "flag"}, {25, "state"}, {29, "state"}}},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::CheckRun run;
    test::writeFile(kInfoFileName, "");
    test::writeFile(kPairFileName, "");
    InfoFiles files;
    run.info.setMirror(&files);
    for (const INFO& info : c.fed)
      run.info.triInfo(info);
    files.close();
    EXPECT_EQ(run.records(), c.expected);
    std::string bytes;  // the file holds the same records, merged in place
    for (const auto& [code, name] : c.expected)
      bytes += record(code, name);
    EXPECT_EQ(test::readFile(kInfoFileName), bytes);
  }
}

TEST(InfoStore, NameLimitAndPairsStoredOnce) {
  test::TempDir dir;
  test::CheckRun run;
  test::writeFile(kInfoFileName, "");
  test::writeFile(kPairFileName, "");
  InfoFiles files;
  run.info.setMirror(&files);
  run.info.triInfo({19, std::string(60, 'a')});
  run.info.triInfoLocal({"Var", "Obj"});
  run.info.triInfoLocal({"var", "OBJ"});
  run.info.triInfoLocal({"var", "other"});
  files.close();
  EXPECT_EQ(test::readFile(kInfoFileName), record(19, std::string(51, 'a')));
  EXPECT_EQ(test::readFile(kPairFileName),
            field("var", 50) + field("obj", 50) + field("var", 50) + field("other", 50));
  EXPECT_EQ(run.info.pairs().size(), 2u);
}

TEST(InfoStore, IsLocalAnswersFromTheFirstRecord) {
  test::TempDir dir;
  test::CheckRun run;
  for (const INFO& info :
       std::vector<INFO>{{1, "speed"}, {29, "speed"}, {9, "global"}, {10, "box"}, {11, "box"}}) {
    run.info.triInfo(info);
  }
  // ERREUR is no local; the given name is compared unchanged.
  for (const auto& [name, local] : std::vector<std::pair<std::string, int>>{
           {"speed", 1}, {"global", 0}, {"box", 0}, {"missing", -1}, {"Speed", -1}}) {
    EXPECT_EQ(run.info.IsLocal(name), local) << name;
  }
}

}  // namespace
}  // namespace lintaro
