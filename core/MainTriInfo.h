// The info store: every name a script uses, with a type code saying what it
// denotes, merged when the same name is met again in another role; and the
// (variable, object) pairs of variables that belong to other objects' scripts.
//
// Both are mirrored in memory (with an index by name) and written through to
// their work files: "InfTempTES3" holds 56-byte INFO records (type int32 LE,
// name 52 bytes NUL terminated), "InfTempTES3.3" 100-byte VAR_LOCALE records
// (variable 50 bytes, object 50 bytes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/WorkFiles.h"

namespace lintaro {

// Type codes named by the passes; the full list lives with the report labels.
inline constexpr int kCodeShort = 0;
inline constexpr int kCodeFloat = 1;
inline constexpr int kCodeLong = 2;
inline constexpr int kCodeGlobal = 9;       // global variable, type unknown
inline constexpr int kCodeObject = 19;      // OBJET
inline constexpr int kCodeExternal = 29;    // variable of another object's script
inline constexpr int kCodeNpc = 31;         // PNJ
inline constexpr int kCodeScript = 96;      // SCRIPT
inline constexpr int kCodeScriptName = 99;  // the name after "Begin"
inline constexpr int kCodeErreur = -99;     // a name used in two incompatible roles

inline constexpr std::size_t kInfoRecordSize = 56;
inline constexpr std::size_t kInfoNameField = 52;
inline constexpr std::size_t kInfoNameMax = kInfoNameField - 1;
inline constexpr std::size_t kPairRecordSize = 100;
inline constexpr std::size_t kPairNameField = 50;
inline constexpr std::size_t kPairNameMax = kPairNameField - 1;

struct INFO {
  std::int32_t type = 0;
  std::string name;
};

struct VAR_LOCALE {
  std::string variable;
  std::string object;
};

// The code stored for a name after a name already stored with `stored` is
// recorded again with `incoming`.
int mergeCode(int stored, int incoming);

// 1 when exactly one of the two codes is an external-variable code (25 to 29).
int XorExt(const INFO& a, const INFO& b);

class InfoStore {
 public:
  explicit InfoStore(std::string infoPath = kInfoFileName, std::string pairPath = kPairFileName)
      : infoFile_(std::move(infoPath), "rb+"), pairFile_(std::move(pairPath), "rb+") {}

  // Opens "InfTempTES3"; false when it cannot be opened.
  bool open() { return infoFile_.open(); }

  // Records a name with a type code, merging with what is stored.
  void triInfo(INFO info);
  // Records a (variable, object) pair unless it is stored already.
  void triInfoLocal(VAR_LOCALE pair);
  // 1 when the first record of that name is a local variable (codes 0 to 4),
  // 0 for any other code, -1 when the name is not stored. The name is compared
  // as given (stored names are lower case).
  int IsLocal(std::string_view name);

  const std::vector<INFO>& records() const { return records_; }
  const std::vector<VAR_LOCALE>& pairs() const { return pairs_; }

  void close();

 private:
  void writeRecord(std::size_t index, bool append);

  WorkFile infoFile_;
  WorkFile pairFile_;
  std::vector<INFO> records_;
  // Positions of every record of a name, in file order.
  std::unordered_map<std::string, std::vector<std::uint32_t>> byName_;
  std::vector<VAR_LOCALE> pairs_;
  std::unordered_set<std::string> pairKeys_;
};

}  // namespace lintaro
