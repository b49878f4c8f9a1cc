// The info store: every name a script uses, with a type code saying what it
// denotes, merged when the same name is met again in another role; and the
// (variable, object) pairs of variables that belong to other objects' scripts.
//
// Both live in memory, with an index by name; a file run mirrors them in its
// work files: "InfTempTES3" holds 56-byte INFO records (type int32 LE, name 52
// bytes NUL terminated), "InfTempTES3.3" 100-byte VAR_LOCALE records (variable
// 50 bytes, object 50 bytes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/WorkFiles.h"


namespace lintaro {

// Type codes by the label the report prints for them, for the checkers'
// tables. Codes without a label are written as numbers where used.
namespace code {
inline constexpr int SHORT = 0;
inline constexpr int FLOAT = 1;
inline constexpr int LONG = 2;
inline constexpr int GLOBALE_SHORT = 5;
inline constexpr int GLOBALE = 9;  // global variable, type unknown
inline constexpr int CONTENANT = 10;
inline constexpr int CONTENU = 11;
inline constexpr int PERSONNE = 15;
inline constexpr int OBJET_EQUIPABLE = 16;
inline constexpr int OBJET = 19;
inline constexpr int SORT = 20;
inline constexpr int EFFET = 21;
inline constexpr int EXTERNE = 29;  // variable of another object's script, type unknown
inline constexpr int PNJ = 31;
inline constexpr int ARME = 32;
inline constexpr int INSTRUMENT_DE_REPARATION = 35;
inline constexpr int MISC = 38;
inline constexpr int PORTE_OU_COFFRE = 41;
inline constexpr int CREATURE = 46;
inline constexpr int LEVELED_CREATURE = 48;
inline constexpr int LEVELED_ITEM = 49;
inline constexpr int TOPIC = 50;
inline constexpr int QUETE = 51;
inline constexpr int REGION = 90;
inline constexpr int FACTION = 91;
inline constexpr int FICHIER = 92;
inline constexpr int SON = 93;
inline constexpr int ANIMATION = 94;
inline constexpr int CELLULE = 95;
inline constexpr int SCRIPT = 96;
inline constexpr int RACE = 97;
inline constexpr int NOM_DU_SCRIPT = 99;  // the name after "Begin"
inline constexpr int ERREUR = -99;
}  // namespace code

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

// Receives every change of an info store as it is made: the work files
// "InfTempTES3" and "InfTempTES3.3" of a file run.
class InfoMirror {
 public:
  virtual ~InfoMirror() = default;
  // Gets ready; false when the names' file cannot be opened.
  virtual bool open() = 0;
  // Stops the run when the names' file cannot be opened.
  virtual void openOrFail() = 0;
  // A record stored at `index`: appended, or rewritten in place.
  virtual void record(std::size_t index, const INFO& info, bool appended) = 0;
  // A pair stored (after the pairs' file was opened, or the run stopped).
  virtual void pair(const VAR_LOCALE& pair) = 0;
  virtual void openPairsOrFail() = 0;
  virtual void close() = 0;
};

class InfoStore {
 public:
  InfoStore() = default;

  // Changes are passed on to `mirror` too (not owned; null for none).
  void setMirror(InfoMirror* mirror) { mirror_ = mirror; }

  // Gets ready to record; false when the mirror's file cannot be opened.
  bool open() { return mirror_ == nullptr || mirror_->open(); }
  // Gets ready, or stops the run with `failureMessage`.
  void openOrFail(std::string_view failureMessage) {
    if (!open()) throw WorkFileError(std::string(failureMessage));
  }

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

  void close() {
    if (mirror_ != nullptr) mirror_->close();
  }

 private:
  InfoMirror* mirror_ = nullptr;
  std::vector<INFO> records_;
  // Positions of every record of a name, in store order.
  std::unordered_map<std::string, std::vector<std::uint32_t>> byName_;
  std::vector<VAR_LOCALE> pairs_;
  std::unordered_set<std::string> pairKeys_;
};

}  // namespace lintaro
