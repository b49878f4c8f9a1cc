#include "report/MainEcritureLog.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "core/Version.h"

namespace lintaro {

namespace {

constexpr Cp1252Text kTitle{"                     Scrivlex3 version "};
constexpr Cp1252Text kUnderline{"\n                    --------------------"};
constexpr Cp1252Text kScriptOpen{" : script \""};
constexpr Cp1252Text kScriptClose{"\""};
constexpr Cp1252Text kScriptUnderline{"------------"};
constexpr Cp1252Text kNoFindings{"\n\n\n\n   Aucun bug n'a été trouvé sur ce script.\n\n"};
constexpr Cp1252Text kErrorListHeading{"\n\n\n Liste des erreurs :\n---------------------\n"};
constexpr Cp1252Text kAllHidden{
    "\tAucune erreur détectée, mais le débugueur a trouvé des failles au script.\n"
    "\tDécochez l'option \"Ne pas afficher les alertes\" dans le menu \"Préférences\" pour les "
    "voir.\n"};
constexpr Cp1252Text kEntryStart{"    - \""};
constexpr Cp1252Text kObjectClose{"\")\n"};

// Report labels of the type codes.
struct Label {
  int code;
  std::string_view text;
};

constexpr Cp1252Text kShort{"\" (type SHORT)\n"};
constexpr Cp1252Text kFloat{"\" (type FLOAT)\n"};
constexpr Cp1252Text kLong{"\" (type LONG)\n"};
constexpr Cp1252Text kIndetermine{"\" (type indéterminé)\n"};
constexpr Cp1252Text kContenant{"\" (type CONTENANT)\n"};
constexpr Cp1252Text kContenu{"\" (type CONTENU)\n"};
constexpr Cp1252Text kActivable{"\" (type OBJET ACTIVABLE)\n"};
constexpr Cp1252Text kPersonne{"\" (type PERSONNE)\n"};
constexpr Cp1252Text kEquipable{"\" (type OBJET EQUIPABLE)\n"};
constexpr Cp1252Text kObjet{"\" (type OBJET)\n"};
constexpr Cp1252Text kJoueur{"\" (type JOUEUR)\n"};
constexpr Cp1252Text kPnj{"\" (type PNJ)\n"};
constexpr Cp1252Text kArme{"\" (type ARME)\n"};
constexpr Cp1252Text kReparation{"\" (type INSTRUMENT DE REPARATION)\n"};
constexpr Cp1252Text kMisc{"\" (type MISC)\n"};
constexpr Cp1252Text kPorte{"\" (type PORTE ou COFFRE)\n"};
constexpr Cp1252Text kCreature{"\" (type CREATURE)\n"};
constexpr Cp1252Text kLevCreature{"\" (type LEVELED CREATURE)\n"};
constexpr Cp1252Text kLevItem{"\" (type LEVELED ITEM)\n"};
constexpr Cp1252Text kSort{"\" (type SORT)\n"};
constexpr Cp1252Text kEffet{"\" (type EFFET)\n"};
constexpr Cp1252Text kTopic{"\" (type TOPIC)\n"};
constexpr Cp1252Text kQuete{"\" (type QUETE)\n"};
constexpr Cp1252Text kRegion{"\" (type REGION)\n"};
constexpr Cp1252Text kFaction{"\" (type FACTION)\n"};
constexpr Cp1252Text kFichier{"\" (type FICHIER)\n"};
constexpr Cp1252Text kSon{"\" (type SON)\n"};
constexpr Cp1252Text kAnimation{"\" (type ANIMATION)\n"};
constexpr Cp1252Text kCellule{"\" (type CELLULE)\n"};
constexpr Cp1252Text kScript{"\" (type SCRIPT)\n"};
constexpr Cp1252Text kRace{"\" (type RACE)\n"};
constexpr Cp1252Text kErreur{"\" (type ERREUR)\n"};

constexpr Cp1252Text kExtShort{"\" (variable de type SHORT attachée à l'objet \""};
constexpr Cp1252Text kExtFloat{"\" (variable de type FLOAT attachée à l'objet \""};
constexpr Cp1252Text kExtLong{"\" (variable de type LONG attachée à l'objet \""};
constexpr Cp1252Text kExtIndetermine{"\" (variable de type indéterminé attachée à l'objet \""};

constexpr Cp1252Text kHeadingLocal{
    "\n\n\n Liste des variables locales utilisées :\n-----------------------------------------\n"};
constexpr Cp1252Text kHeadingExternal{
    "\n\n\n Liste des variables locales externes utilisées :\n"
    "--------------------------------------------------\n"};
constexpr Cp1252Text kHeadingGlobal{
    "\n\n\n Liste des variables globales utilisées "
    ":\n------------------------------------------\n"};
constexpr Cp1252Text kHeadingPhysical{
    "\n\n\n Liste des objets physiques utilisés :\n---------------------------------------\n"};
constexpr Cp1252Text kHeadingNonPhysical{
    "\n\n\n Liste des objets non physiques utilisés :\n"
    "-------------------------------------------\n"};
constexpr Cp1252Text kHeadingDialogues{
    "\n\n\n Liste des dialogues utilisés :\n--------------------------------\n"};
constexpr Cp1252Text kHeadingOther{
    "\n\n\n Liste des autres objets utilisés :\n------------------------------------\n"};
constexpr Cp1252Text kHeadingErreur{
    "\n\n\n Liste des variables utilisées de manière erronnée (utilisées comme deux types "
    "différents) :\n---------------------------------------------------\n"};

struct CodeRange {
  int first;
  int last;
};

// The sections of names, in report order: heading, group codes, labels. For
// the external variables the labels are the fallbacks, and `objectLabels`
// the texts of an entry that names its object.
struct Section {
  std::string_view heading;
  std::array<CodeRange, 2> group;
  std::vector<Label> labels;
  std::vector<Label> objectLabels;
};

const std::vector<Section>& sections() {
  static const std::vector<Section> kSections = {
      {kHeadingLocal,
       {{{0, 4}, {0, 4}}},
       {{0, kShort}, {1, kFloat}, {2, kLong}, {4, kIndetermine}},
       {}},
      {kHeadingExternal,
       {{{25, 29}, {25, 29}}},
       {{25, kShort}, {26, kFloat}, {27, kLong}, {29, kIndetermine}},
       {{25, kExtShort}, {26, kExtFloat}, {27, kExtLong}, {29, kExtIndetermine}}},
      {kHeadingGlobal,
       {{{5, 9}, {5, 9}}},
       {{5, kShort}, {6, kFloat}, {7, kLong}, {9, kIndetermine}},
       {}},
      {kHeadingPhysical,
       {{{10, 19}, {30, 49}}},
       {{10, kContenant},
        {11, kContenu},
        {12, kActivable},
        {15, kPersonne},
        {16, kEquipable},
        {19, kObjet},
        {30, kJoueur},
        {31, kPnj},
        {32, kArme},
        {35, kReparation},
        {38, kMisc},
        {41, kPorte},
        {46, kCreature},
        {48, kLevCreature},
        {49, kLevItem}},
       {}},
      {kHeadingNonPhysical, {{{20, 24}, {20, 24}}}, {{20, kSort}, {21, kEffet}}, {}},
      {kHeadingDialogues, {{{50, 59}, {50, 59}}}, {{50, kTopic}, {51, kQuete}}, {}},
      {kHeadingOther,
       {{{60, 98}, {60, 98}}},
       {{90, kRegion},
        {91, kFaction},
        {92, kFichier},
        {93, kSon},
        {94, kAnimation},
        {95, kCellule},
        {96, kScript},
        {97, kRace}},
       {}},
      {kHeadingErreur,
       {{{code::ERREUR, code::ERREUR}, {code::ERREUR, code::ERREUR}}},
       {{code::ERREUR, kErreur}},
       {}},
  };
  return kSections;
}

bool inGroup(const Section& section, int code) {
  for (const CodeRange& r : section.group) {
    if (code >= r.first && code <= r.last) return true;
  }
  return false;
}

const std::string_view* labelOf(const std::vector<Label>& labels, int code) {
  for (const Label& label : labels) {
    if (label.code == code) return &label.text;
  }
  return nullptr;
}

// Appends a name taken from the script, and its span when spans are kept.
void appendName(std::string& out, std::string_view name, std::vector<NameRun>* names) {
  if (names != nullptr && !name.empty()) names->push_back({out.size(), name.size()});
  out += name;
}

void writeErrorList(std::string& out, int lineCount, bool hideAlerts, const Journal& journal,
                    int* errorCount, std::vector<NameRun>* names) {
  int errors = 0;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    if (journal[i].kind != kAlert) ++errors;
  }
  if (errorCount != nullptr) *errorCount = errors;
  if (journal.size() == 0) {
    out += kNoFindings.view();
    return;
  }
  out += kErrorListHeading.view();

  // The records of each line in journal order (a stable bucket sort), then
  // the whole-script records. Every counted record is printed: the slot past
  // the last line (which the block check examines) and any later index too.
  std::size_t lines = lineCount > 0 ? static_cast<std::size_t>(lineCount) + 1 : 1;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    const std::int32_t line = journal[i].line;
    if (line >= 0) lines = std::max(lines, static_cast<std::size_t>(line) + 1);
  }
  std::vector<std::uint32_t> firstOfLine(lines + 2, 0);
  for (std::size_t i = 0; i < journal.size(); ++i) {
    const std::int32_t line = journal[i].line;
    if (line >= 0 && static_cast<std::size_t>(line) < lines)
      ++firstOfLine[static_cast<std::size_t>(line) + 1];
  }
  for (std::size_t l = 1; l <= lines; ++l)
    firstOfLine[l] += firstOfLine[l - 1];
  std::vector<std::uint32_t> order(firstOfLine[lines]);
  std::vector<std::uint32_t> next(firstOfLine.begin(), firstOfLine.end() - 1);
  for (std::size_t i = 0; i < journal.size(); ++i) {
    const std::int32_t line = journal[i].line;
    if (line >= 0 && static_cast<std::size_t>(line) < lines) {
      order[next[static_cast<std::size_t>(line)]++] = static_cast<std::uint32_t>(i);
    }
  }
  for (std::size_t i = 0; i < journal.size(); ++i) {
    if (journal[i].line == kWholeScript) order.push_back(static_cast<std::uint32_t>(i));
  }

  bool written = false;
  for (const std::uint32_t i : order) {
    const JournalEntry entry = journal[i];
    if (hideAlerts && entry.kind == kAlert) continue;
    if (names != nullptr) appendSpans(*names, *entry.names, out.size());
    out += entry.text;
    out += '\n';
    written = true;
  }
  if (!written) out += kAllHidden.view();
}

void writeSection(
    std::string& out, const Section& section, const InfoStore& info,
    const std::unordered_map<std::string_view, std::vector<std::string_view>>& objects,
    std::vector<NameRun>* names) {
  out += section.heading;
  for (const INFO& record : info.records()) {
    if (!inGroup(section, record.type)) continue;
    const std::string_view* label = labelOf(section.labels, record.type);
    if (label == nullptr) continue;
    const std::string_view* objectLabel = labelOf(section.objectLabels, record.type);
    if (objectLabel != nullptr) {
      const auto found = objects.find(record.name);
      if (found != objects.end()) {
        for (const std::string_view object : found->second) {
          out += kEntryStart.view();
          appendName(out, record.name, names);
          out += *objectLabel;
          appendName(out, object, names);
          out += kObjectClose.view();
        }
        continue;
      }
    }
    out += kEntryStart.view();
    appendName(out, record.name, names);
    out += *label;
  }
}

}  // namespace

std::string composeReport(int lineCount, bool showInfo, bool hideAlerts, const Journal& journal,
                          const InfoStore& info, int* errorCount, std::vector<NameRun>* names) {
  std::string out;
  const std::string* scriptName = nullptr;
  for (const INFO& record : info.records()) {
    if (record.type == code::NOM_DU_SCRIPT) scriptName = &record.name;
  }

  out += kTitle.view();
  out += kVersion;
  if (scriptName != nullptr) {
    out += kScriptOpen.view();
    appendName(out, *scriptName, names);
    out += kScriptClose.view();
  }
  out += kUnderline.view();
  out.append(kVersion.size(), '-');
  if (scriptName != nullptr) {
    out += kScriptUnderline.view();
    out.append(scriptName->size(), '-');
  }

  writeErrorList(out, lineCount, hideAlerts, journal, errorCount, names);

  std::unordered_map<std::string_view, std::vector<std::string_view>> objects;
  for (const VAR_LOCALE& pair : info.pairs())
    objects[pair.variable].push_back(pair.object);

  const std::vector<Section>& all = sections();
  for (std::size_t s = 0; s < all.size(); ++s) {
    const bool erreurSection = s + 1 == all.size();
    if (!erreurSection && !showInfo) continue;
    bool present = false;
    for (const INFO& record : info.records()) {
      if (inGroup(all[s], record.type)) {
        present = true;
        break;
      }
    }
    if (present) writeSection(out, all[s], info, objects, names);
  }
  return out;
}

}  // namespace lintaro
