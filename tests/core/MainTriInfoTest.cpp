#include "core/MainTriInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "tests/TestSupport.h"

namespace lintaro {
namespace {

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
}

TEST(MergeTable, CasesWorthNaming) {
  EXPECT_EQ(mergeCode(0, 9), 0);  // a declared local used as a global stays local
  EXPECT_EQ(mergeCode(9, 0), 0);
  EXPECT_EQ(mergeCode(10, 15), 15);  // CONTENANT then PERSONNE
  EXPECT_EQ(mergeCode(15, 10), 15);
  EXPECT_EQ(mergeCode(10, 11), -99);  // CONTENANT then CONTENU
  EXPECT_EQ(mergeCode(19, 96), 31);   // OBJET then SCRIPT: PNJ
  EXPECT_EQ(mergeCode(96, 19), -99);  // not symmetric
  EXPECT_EQ(mergeCode(99, 19), -99);
  EXPECT_EQ(mergeCode(96, 99), 96);
  EXPECT_EQ(mergeCode(99, 96), 99);
  EXPECT_EQ(mergeCode(150, 150), 150);  // outside the table: only equality keeps
  EXPECT_EQ(mergeCode(150, 9), -99);
}

TEST(XorExt, ExactlyOneExternalCode) {
  EXPECT_EQ(XorExt(INFO{25, ""}, INFO{9, ""}), 1);
  EXPECT_EQ(XorExt(INFO{9, ""}, INFO{29, ""}), 1);
  EXPECT_EQ(XorExt(INFO{25, ""}, INFO{29, ""}), 0);
  EXPECT_EQ(XorExt(INFO{24, ""}, INFO{30, ""}), 0);
  EXPECT_EQ(XorExt(INFO{-99, ""}, INFO{29, ""}), 1);
}

class InfoStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeFile(kInfoFileName, "");
    test::writeFile(kPairFileName, "");
  }
  // (code, name) of every record of the file, as written.
  static std::vector<std::pair<int, std::string>> fileRecords() {
    const std::string bytes = test::readFile(kInfoFileName);
    EXPECT_EQ(bytes.size() % kInfoRecordSize, 0u);
    std::vector<std::pair<int, std::string>> out;
    for (std::size_t at = 0; at + kInfoRecordSize <= bytes.size(); at += kInfoRecordSize) {
      const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
      const std::uint32_t raw = std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                                (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
      const auto code = static_cast<std::int32_t>(raw);
      out.emplace_back(code, std::string(bytes.c_str() + at + 4));
    }
    return out;
  }
  test::TempDir dir;
  InfoStore store;
};

TEST_F(InfoStoreTest, MergesNamesWhateverTheirCase) {
  store.triInfo({9, "MyVar"});
  store.triInfo({0, "myvar"});
  store.triInfo({10, "Chest"});
  store.triInfo({15, "CHEST"});
  store.triInfo({10, "chest"});
  store.close();
  using R = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(fileRecords(), (R{{0, "myvar"}, {15, "chest"}}));
  EXPECT_EQ(store.records().size(), 2u);
}

TEST_F(InfoStoreTest, ErreurIsFinal) {
  store.triInfo({10, "crate"});
  store.triInfo({11, "crate"});
  store.triInfo({10, "crate"});
  store.triInfo({29, "crate"});  // not even an external record is added now
  store.close();
  using R = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(fileRecords(), (R{{-99, "crate"}}));
}

TEST_F(InfoStoreTest, ExternalAndPlainUsesOfOneName) {
  store.triInfo({9, "counter"});
  store.triInfo({29, "counter"});  // appended: one record in each group
  store.triInfo({29, "counter"});  // the same again: nothing new
  store.triInfo({29, "flag"});
  store.triInfo({9, "flag"});  // the external record becomes ERREUR
  store.triInfo({25, "state"});
  store.triInfo({29, "state"});  // two external codes: two records
  store.close();
  using R = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(fileRecords(),
            (R{{9, "counter"}, {29, "counter"}, {-99, "flag"}, {25, "state"}, {29, "state"}}));
}

TEST_F(InfoStoreTest, RecordLayoutAndNameLimit) {
  const std::string longName(60, 'a');
  store.triInfo({19, longName});
  store.close();
  const std::string bytes = test::readFile(kInfoFileName);
  ASSERT_EQ(bytes.size(), 56u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x13\0\0\0", 4));
  EXPECT_EQ(bytes.substr(4, 51), std::string(51, 'a'));
  EXPECT_EQ(bytes[55], '\0');
}

TEST_F(InfoStoreTest, PairsAreStoredOnce) {
  store.triInfoLocal({"Var", "Obj"});
  store.triInfoLocal({"var", "OBJ"});
  store.triInfoLocal({"var", "other"});
  store.close();
  const std::string bytes = test::readFile(kPairFileName);
  ASSERT_EQ(bytes.size(), 200u);
  EXPECT_STREQ(bytes.c_str(), "var");
  EXPECT_STREQ(bytes.c_str() + 50, "obj");
  EXPECT_STREQ(bytes.c_str() + 100, "var");
  EXPECT_STREQ(bytes.c_str() + 150, "other");
  ASSERT_EQ(store.pairs().size(), 2u);
}

TEST_F(InfoStoreTest, IsLocalAnswersFromTheFirstRecord) {
  store.triInfo({1, "speed"});
  store.triInfo({29, "speed"});
  store.triInfo({9, "global"});
  store.triInfo({10, "box"});
  store.triInfo({11, "box"});
  EXPECT_EQ(store.IsLocal("speed"), 1);
  EXPECT_EQ(store.IsLocal("global"), 0);
  EXPECT_EQ(store.IsLocal("box"), 0);  // ERREUR
  EXPECT_EQ(store.IsLocal("missing"), -1);
  EXPECT_EQ(store.IsLocal("Speed"), -1);  // the given name is compared unchanged
}

TEST_F(InfoStoreTest, UnopenableStoreStopsTheRun) {
  std::filesystem::remove(kInfoFileName);
  std::filesystem::create_directories(std::string(kInfoFileName) + "/x");
  InfoStore broken;
  EXPECT_FALSE(broken.open());
  try {
    broken.triInfo({0, "x"});
    FAIL() << "expected a WorkFileError";
  } catch (const WorkFileError& e) {
    EXPECT_STREQ(e.what(),
                 "Impossible d'ouvrir le fichier \"InfTempTES3\" depuis le fichier source "
                 "\"MainTriInfo\".\n\n");
  }
}

}  // namespace
}  // namespace lintaro
