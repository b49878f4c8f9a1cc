// The checkers of the commands that place or move objects: PlaceAtMe and
// PlaceAtPC (object, count, distance, direction), Position and PositionCell
// (X, Y, Z, rotation, then a cell for PositionCell), PlaceItem and
// PlaceItemCell (object, a cell for PlaceItemCell, then X, Y, Z and rotation,
// each a whole number or a variable). Each pair is one reading; what differs
// within a pair is given as data.
#include <array>

#include "core/MainDivers.h"
#include "special/synFonctionsSpeciales.h"
#include "special/synFonctionsSpecialesCommon.h"

namespace lintaro {

using namespace special;

namespace {

// ---------------------------------------------------------------------------
// PlaceAtMe, PlaceAtPC

constexpr Command kPlaceAtMe{"PlaceAtMe", "placeatme", true, false,
                             journalFailure<"synDetectPlaceAtMe">};
constexpr Command kPlaceAtPC{"PlaceAtPC", "placeatpc", false, false,
                             journalFailure<"synDetectPlaceAtPC">};
// The caller of PlaceAtMe must not be empty, and the message about its
// closing quote names the point operator.
constexpr CallerRule kPlaceAtMeCaller{code::OBJET, true, QuoteBefore::kPoint};

// Count and distance: a comma and a space may stand before each; the direction
// must be preceded by a space. No sign anywhere.
constexpr WholeField kPlaceAtFields[] = {
    {Gap::kLoose, {}, false, {Diag::kNombreAPlacerIncorrect}},
    {Gap::kLoose, {}, false, {Diag::kDistanceIncorrecte}},
    {Gap::kSpaced, {Diag::kEspaceApresDistance}, false, {Diag::kDirectionIncorrecte}},
};

void placeAt(CheckContext& ctx, const Command& command, std::string& line, int* lineHandled,
             int lineIndex) {
  const Located at = locateCommand(ctx, line, command);
  if (!at.found) return;
  Call call(ctx, lineIndex, command.failure);
  if (at.callerForm) readCaller(call, line, at, command, kPlaceAtMeCaller);
  if (!call.failed()) {
    const Reading object = readName(line, at.args, kOpenListName);
    if (object.text.empty()) call.error(Diag::kObjetIntrouvable);
    if (object.quotes == 3) call.error(Diag::kAppeleTropDeGuillemets, command.name);
    if (!call.failed()) {
      call.record(code::OBJET, object.text);
      std::size_t pos = object.stop;
      if (readWholeRun(call, line, pos, kPlaceAtFields, command.name) && hasTrailing(line, pos)) {
        call.error(Diag::kQuatreParametresSeulement, command.name);
      }
    }
  }
  *lineHandled = 1;
}

// ---------------------------------------------------------------------------
// Position, PositionCell

constexpr Command kPosition{"Position", "position", true, true,
                            journalFailure<"synDetectPosition">};
constexpr Command kPositionCell{"PositionCell", "positioncell", true, true,
                                journalFailure<"synDetectPositionCell">};
constexpr CallerRule kPositionCaller{code::OBJET};

// X, Y and Z, each with an optional minus sign, the separators between them
// optional.
constexpr WholeField kAxisX{Gap::kNone, {}, true, {Diag::kPositionAxe, Holes::kNameWord, "X"}};
constexpr WholeField kAxisY{Gap::kLoose, {}, true, {Diag::kPositionAxe, Holes::kNameWord, "Y"}};
constexpr WholeField kAxisZ{Gap::kLoose, {}, true, {Diag::kPositionAxe, Holes::kNameWord, "Z"}};
// A space is required before the rotation of Position; the separator before
// the rotation of PositionCell is optional.
constexpr WholeField kRotationField{Gap::kSpaced,
                                    {Diag::kPositionEspaceApresZ, Holes::kNone},
                                    true,
                                    {Diag::kPositionRotation, Holes::kNone}};
constexpr WholeField kCellRotationField{
    Gap::kLoose, {}, true, {Diag::kPositionCellRotation, Holes::kNone}};
constexpr WholeField kPositionFields[] = {kAxisX, kAxisY, kAxisZ, kRotationField};
constexpr WholeField kPositionCellFields[] = {kAxisX, kAxisY, kAxisZ, kCellRotationField};

// The cell name that ends a PositionCell line.
void positionCellName(Call& call, std::string_view line, std::size_t pos) {
  if (separatorStep(line, pos) == Separator::kNoSpace) {
    call.error(Diag::kPositionCellEspaceApresRotation);
    return;
  }
  const Reading cell = readName(line, pos, kOpenName);
  if (cell.quotes == 3) {
    call.error(Diag::kNomDeCelluleGuillemets);
  } else if (cell.text.empty()) {
    call.error(Diag::kNomDeCelluleIntrouvable);
  } else {
    call.record(code::CELLULE, cell.text);
    if ((cell.onBlank || cell.quotes == 2) && hasTrailing(line, cell.stop + 1)) {
      call.error(Diag::kNomDeCelluleSuivi);
    }
  }
}

// Position without a cell ends after the rotation; PositionCell goes on with
// the cell name.
void position(CheckContext& ctx, const Command& command, std::span<const WholeField> fields,
              bool withCell, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, command);
  if (!at.found) return;
  Call call(ctx, lineIndex, command.failure);
  if (at.callerForm) readCaller(call, line, at, command, kPositionCaller);
  std::size_t pos = at.args;
  if (!call.failed() && readWholeRun(call, line, pos, fields, command.name)) {
    if (withCell) {
      positionCellName(call, line, pos);
    } else if (hasTrailing(line, pos)) {
      call.error(Diag::kQuatreParametresSeulement, command.name);
    }
  }
  *lineHandled = 1;
}

// ---------------------------------------------------------------------------
// PlaceItem, PlaceItemCell

constexpr Command kPlaceItem{"PlaceItem", "placeitem", false, true,
                             journalFailure<"synDetectPlaceItem">};
constexpr Command kPlaceItemCell{"PlaceItemCell", "placeitemcell", false, true,
                                 journalFailure<"synDetectPlaceItemCell">};

// The four values, in order: three axes, then the rotation.
struct ItemValue {
  std::string_view axis;  // "x"; empty for the rotation
  bool showsCharacter;    // the bad-syntax message ends with the character found
};
constexpr ItemValue kItemValues[] = {
    {"x", true},
    {"y", false},
    {"z", false},
    {{}, false},
};

enum class ValueKind : std::uint8_t { kNumber, kName };

// Reads one value (digits, or a variable name recorded as a global short);
// false after a finding.
bool readItemValue(Call& call, std::string_view line, std::size_t& pos, const ItemValue& value,
                   std::string_view name, ValueKind& kind) {
  if (digitAt(line, pos)) {
    skipDigits(line, pos);
    kind = ValueKind::kNumber;
    return true;
  }
  if (pos < line.size() && typeChar(line[pos]) == kClassLetter) {
    std::string variable;
    while (pos < line.size() && variable.size() < kNameMax) {
      const char c = line[pos];
      if (c == ' ' || c == ',' || c == '\t') break;
      if (typeChar(c) != kClassLetter && !isDigit(c)) {
        if (value.axis.empty()) {
          call.error(Diag::kRotationSyntaxe, name);
        } else {
          call.error(Diag::kAxeSyntaxe, value.axis, name);
        }
        return false;
      }
      variable.push_back(c);
      ++pos;
    }
    call.record(code::GLOBALE_SHORT, variable);
    kind = ValueKind::kName;
    return true;
  }
  if (value.axis.empty()) {
    call.error(Diag::kRotationIncorrecte, name);
  } else {
    const std::string_view found =
        value.showsCharacter && pos < line.size() ? line.substr(pos, 1) : std::string_view{};
    call.error(Diag::kAxeIncorrect, value.axis, name, found);
  }
  return false;
}

// PlaceItemCell reads its cell between the object and X.
void placeItem(CheckContext& ctx, const Command& command, bool withCell, std::string& line,
               int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, command);
  if (!at.found) return;
  Call call(ctx, lineIndex, command.failure);
  const Reading object = readName(line, at.args, kListName);
  std::size_t pos = object.stop;
  if (object.text.empty()) {
    call.error(Diag::kObjetIntrouvable);
  } else {
    call.record(code::OBJET, object.text);
  }
  // The name the missing-space message quotes: the last one read.
  std::string last = object.text;
  if (!call.failed() && withCell) {
    if (charAt(line, pos, ',')) ++pos;
    if (charAt(line, pos, ' ')) {
      ++pos;
      if (pos < line.size()) {
        const Reading cell = readName(line, pos, kListName);
        pos = cell.stop;
        if (cell.text.empty()) {
          call.error(Diag::kCelluleIntrouvable);
        } else {
          call.record(code::CELLULE, cell.text);
          last = cell.text;
        }
      }
    }
  }
  if (!call.failed() && separatorStep(line, pos) == Separator::kNoSpace) {
    call.error(Diag::kEspaceApresObjet, last);
  }
  ValueKind kind = ValueKind::kNumber;
  for (std::size_t v = 0; v < std::size(kItemValues) && !call.failed(); ++v) {
    if (charAt(line, pos, '-')) ++pos;
    if (!readItemValue(call, line, pos, kItemValues[v], command.name, kind)) break;
    const std::size_t end = pos;
    while (pos < line.size() && isWhite(line[pos]))
      ++pos;
    if (v + 1 == std::size(kItemValues)) {
      if (pos < line.size()) {
        call.error(kind == ValueKind::kNumber ? Diag::kTropDeParametresDans
                                              : Diag::kTropDeParametreApresVariable,
                   command.name);
      }
    } else if (pos == end || line[pos - 1] != ' ') {
      call.error(Diag::kEspaceApresAxe, kItemValues[v].axis);
    }
  }
  *lineHandled = 1;
}

}  // namespace

void synDetectPlaceAtMe(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  placeAt(ctx, kPlaceAtMe, line, lineHandled, lineIndex);
}

void synDetectPlaceAtPC(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  placeAt(ctx, kPlaceAtPC, line, lineHandled, lineIndex);
}

void synDetectPosition(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  position(ctx, kPosition, kPositionFields, false, line, lineHandled, lineIndex);
}

void synDetectPositionCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  position(ctx, kPositionCell, kPositionCellFields, true, line, lineHandled, lineIndex);
}

void synDetectPlaceItem(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  placeItem(ctx, kPlaceItem, false, line, lineHandled, lineIndex);
}

void synDetectPlaceItemCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  placeItem(ctx, kPlaceItemCell, true, line, lineHandled, lineIndex);
}

}  // namespace lintaro
