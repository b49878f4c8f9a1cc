// The checkers of the player's faction reputation (ModPCFacRep, SetPCFacRep)
// and of the quest journal (Journal).
#include <optional>
#include <string>

#include "core/MainDivers.h"
#include "core/MainTriInfo.h"
#include "core/WorkFiles.h"
#include "special/synFonctionsSpeciales.h"
#include "special/synFonctionsSpecialesCommon.h"

namespace lintaro {

using namespace special;

namespace {

// ---------------------------------------------------------------------------
// Faction reputation: a literal whole number, then the faction unless a
// caller names the actor whose faction is meant.

struct Reputation {
  Command command;
  bool minus = false;  // the value may be negative
};

constexpr Reputation kModPCFacRep{
    {"ModPCFacRep", "modpcfacrep", true, true, journalFailure<"synDetectModPCFacRep">}, true};
constexpr Reputation kSetPCFacRep{
    {"SetPCFacRep", "setpcfacrep", true, true, journalFailure<"synDetectSetPCFacRep">}, false};

void reputation(CheckContext& ctx, const Reputation& r, std::string& line, int* lineHandled,
                int lineIndex) {
  const Located at = locateCommand(ctx, line, r.command);
  if (!at.found) return;
  Call call(ctx, lineIndex, r.command.failure);
  const std::string_view name = r.command.name;
  if (at.callerForm) readCaller(call, line, at, r.command, {.type = code::PNJ});
  std::size_t pos = at.args;
  if (!call.failed()) {
    // The value: digits that end at white space or at the end of the line. A
    // character that is neither a digit nor white space is a variable.
    if (pos >= line.size()) {
      call.error(Diag::kReactionIntrouvable);
    } else {
      if (r.minus && line[pos] == '-') ++pos;
      skipDigits(line, pos);
      if (pos < line.size() && !isWhite(line[pos])) call.error(Diag::kReactionVariable, name);
    }
  }
  if (!call.failed() && !at.callerForm) {
    std::string faction;
    if (separatorStep(line, pos) == Separator::kSpace) {
      const Reading read = readName(line, pos, kOpenName);
      pos = read.stop;
      if (read.quotes == 3) call.error(Diag::kAppeleTropDeGuillemets, name);
      faction = read.text;
    }
    if (!call.failed()) call.recordName(code::FACTION, faction);
  }
  // The character where the arguments stopped, then only white space.
  if (!call.failed() && hasTrailing(line, pos + 1)) call.error(Diag::kTropDeParametres, name);
  *lineHandled = 1;
}

// ---------------------------------------------------------------------------
// Journal: a quest, then an index that is a whole number or a short variable.

constexpr std::string_view kInfoFailureJournal =
    "Impossible d'ouvrir le fichier \"InfTempTES3\" depuis le fichier source "
    "\"synDetectJournal\".\n\n";
constexpr Command kJournal{"Journal", "journal", false, true, journalFailure<"synDetectJournal">};

// A global float variable (no checker records it, but a stored one is no
// short).
constexpr int kGlobaleFloat = 6;

// The code of the first record of that name in the info store, or nothing.
// (The quest was recorded just before, so the store is normally open already.)
std::optional<int> storedType(CheckContext& ctx, std::string_view name) {
  ctx.info.openOrFail(kInfoFailureJournal);
  for (const INFO& record : ctx.info.records()) {
    if (sameName(record.name, name)) return record.type;
  }
  return std::nullopt;
}

bool isNameChar(char c) {
  return typeChar(c) == kClassLetter || isDigit(c);
}

}  // namespace

void synDetectModPCFacRep(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  reputation(ctx, kModPCFacRep, line, lineHandled, lineIndex);
}

void synDetectSetPCFacRep(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  reputation(ctx, kSetPCFacRep, line, lineHandled, lineIndex);
}

void synDetectJournal(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kJournal);
  if (!at.found) return;
  Call call(ctx, lineIndex, kJournal.failure);
  const Reading quest = readName(line, at.args, kListName);
  call.recordName(code::QUETE, quest.text);
  std::size_t pos = quest.stop;
  if (quest.quoted()) {
    if (charAt(line, pos, ',')) ++pos;
    if (charAt(line, pos, ' ')) {
      ++pos;
    } else {
      call.error(Diag::kJournalEspaceApresQuete, quest.text);
    }
  } else if (quest.quotes == 0 && pos < line.size() && (isBlank(line[pos]) || line[pos] == ',')) {
    ++pos;  // the separator that ended an unquoted quest
  }

  if (!call.failed()) {
    if (digitAt(line, pos)) {
      skipDigits(line, pos);
      if (hasTrailing(line, pos)) call.error(Diag::kJournalUnSeulIndex);
    } else if (pos < line.size() && typeChar(line[pos]) == kClassLetter) {
      const std::size_t begin = pos;
      while (pos < line.size() && pos - begin < kNameMax && isNameChar(line[pos]))
        ++pos;
      // The name ends at a blank, at the end of the line or at 49 characters.
      if (pos < line.size() && pos - begin < kNameMax && !isBlank(line[pos])) {
        call.error(Diag::kJournalIndexSyntaxe);
      } else {
        const std::string variable(line.substr(begin, pos - begin));
        const std::optional<int> type = storedType(ctx, variable);
        if (!type) {
          call.record(code::GLOBALE_SHORT, variable);
        } else if (*type == code::FLOAT || *type == kGlobaleFloat) {
          call.error(Diag::kJournalIndexShort);
        }
        if (hasTrailing(line, pos)) call.error(Diag::kJournalUnSeulIndex);
      }
    } else {
      call.error(Diag::kJournalParametre);
    }
  }
  *lineHandled = 1;
}

}  // namespace lintaro
