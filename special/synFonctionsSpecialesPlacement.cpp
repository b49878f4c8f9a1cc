// The checkers of the commands that place or move objects: PlaceAtMe and
// PlaceAtPC (object, count, distance, direction), Position and PositionCell
// (X, Y, Z, rotation, then a cell for PositionCell), PlaceItem and
// PlaceItemCell (object, a cell for PlaceItemCell, then X, Y, Z and rotation,
// each a whole number or a variable). Each pair is one reading; what differs
// within a pair is given as data.
#include <array>

#include "core/Encoding.h"
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

constexpr Cp1252Text kNoObject{" : impossible de détecter l'objet à placer !"};
constexpr Cp1252Text kCalledSyntax{" : erreur dans la syntaxe de l'appelé de la fonction "};
constexpr Cp1252Text kTooManyQuotes{" : trop de guillemets."};
constexpr Cp1252Text kCountHead{" : erreur, le nombre d'objets à placer avec "};
constexpr Cp1252Text kCountTail{" est incorrect !"};
constexpr Cp1252Text kDistanceHead{" : erreur dans la fonction "};
constexpr Cp1252Text kDistanceTail{", la distance est incorrecte !"};
constexpr Cp1252Text kAfterDistanceHead{" : pas d'espace après la distance de "};
constexpr Cp1252Text kBangTail{" !"};
constexpr Cp1252Text kDirectionHead{" : erreur, la direction de la fonction "};
constexpr Cp1252Text kIncorrecteTail{" est incorrecte !"};
constexpr Cp1252Text kFourOnlyHead{" : erreur, la fonction "};
constexpr Cp1252Text kFourOnlyTail{" ne prend que quatre paramètres appelés !"};

// Count and distance: a comma and a space may stand before each; the direction
// must be preceded by a space. No sign anywhere.
constexpr WholeField kPlaceAtFields[] = {
    {Gap::kLoose, {}, false, {kCountHead, kCountTail}},
    {Gap::kLoose, {}, false, {kDistanceHead, kDistanceTail}},
    {Gap::kSpaced, {kAfterDistanceHead, kBangTail}, false, {kDirectionHead, kIncorrecteTail}},
};

void placeAt(CheckContext& ctx, const Command& command, std::string& line, int* lineHandled,
             int lineIndex) {
  const Located at = locateCommand(ctx, line, command);
  if (!at.found) return;
  Call call(ctx, lineIndex, command.failure);
  if (at.callerForm) readCaller(call, line, at, command, kPlaceAtMeCaller);
  if (!call.failed()) {
    const Reading object = readName(line, at.args, kOpenListName);
    if (object.text.empty()) call.error(kNoObject);
    if (object.quotes == 3) call.error(kCalledSyntax, command.name, kTooManyQuotes);
    if (!call.failed()) {
      call.record(code::OBJET, object.text);
      std::size_t pos = object.stop;
      if (readWholeRun(call, line, pos, kPlaceAtFields, command.name) && hasTrailing(line, pos)) {
        call.error(kFourOnlyHead, command.name, kFourOnlyTail);
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

constexpr Cp1252Text kValueHead{" : erreur, la valeur de "};
constexpr Cp1252Text kAxisXTail{" sur l'axe X est incorrecte !"};
constexpr Cp1252Text kAxisYTail{" sur l'axe Y est incorrecte !"};
constexpr Cp1252Text kAxisZTail{" sur l'axe Z est incorrecte !"};
constexpr Cp1252Text kAfterZ{
    " : pas d'espace après la position sur l'axe Z de la fonction Position !"};
constexpr Cp1252Text kRotation{
    " : erreur, la rotation sur l'axe Z de la fonction Position est incorrecte !"};
constexpr Cp1252Text kCellRotation{
    " : erreur, la valeur de rotation de PositionCell sur l'axe Z est incorrecte !"};
constexpr Cp1252Text kAfterRotation{
    " : pas d'espace après la rotation sur l'axe Z de la fonction PositionCell !"};
constexpr Cp1252Text kCellQuotes{
    " : erreur dans la syntaxe du nom de la cellule : trop de guillemets."};
constexpr Cp1252Text kNoCellName{" : impossible de détecter le nom de la cellule !"};
constexpr Cp1252Text kAfterCellName{" : erreur dans le nom de la cellule !"};

// X, Y and Z, each with an optional minus sign, the separators between them
// optional.
constexpr WholeField kAxisX{Gap::kNone, {}, true, {kValueHead, kAxisXTail}};
constexpr WholeField kAxisY{Gap::kLoose, {}, true, {kValueHead, kAxisYTail}};
constexpr WholeField kAxisZ{Gap::kLoose, {}, true, {kValueHead, kAxisZTail}};
// A space is required before the rotation of Position; the separator before
// the rotation of PositionCell is optional.
constexpr WholeField kRotationField{Gap::kSpaced, {kAfterZ, {}}, true, {kRotation, {}}};
constexpr WholeField kCellRotationField{Gap::kLoose, {}, true, {kCellRotation, {}}};
constexpr WholeField kPositionFields[] = {kAxisX, kAxisY, kAxisZ, kRotationField};
constexpr WholeField kPositionCellFields[] = {kAxisX, kAxisY, kAxisZ, kCellRotationField};

// The cell name that ends a PositionCell line.
void positionCellName(Call& call, std::string_view line, std::size_t pos) {
  if (separatorStep(line, pos) == Separator::kNoSpace) {
    call.error(kAfterRotation);
    return;
  }
  const Reading cell = readName(line, pos, kOpenName);
  if (cell.quotes == 3) {
    call.error(kCellQuotes);
  } else if (cell.text.empty()) {
    call.error(kNoCellName);
  } else {
    call.record(code::CELLULE, cell.text);
    if ((cell.onBlank || cell.quotes == 2) && hasTrailing(line, cell.stop + 1)) {
      call.error(kAfterCellName);
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
      call.error(kFourOnlyHead, command.name, kFourOnlyTail);
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

constexpr Cp1252Text kNoCell{" : impossible de détecter la cellule !"};
constexpr Cp1252Text kNoSpaceAfterObject{" : erreur, pas d'espace après l'objet \""};
constexpr Cp1252Text kQuoteBang{"\" !"};
constexpr Cp1252Text kSyntaxOf{" : erreur dans la syntaxe de "};
constexpr Cp1252Text kOfFunction{" de la fonction "};
constexpr Cp1252Text kPoint{"."};
constexpr Cp1252Text kBadSyntaxOf{" : erreur, la syntaxe de "};
constexpr Cp1252Text kIsIncorrect{" est incorrecte !"};
constexpr Cp1252Text kNoSpaceAfter{" : erreur, pas d'espace après "};
constexpr Cp1252Text kBang{" !"};
constexpr Cp1252Text kTooManyAfterNumber{" : erreur, trop de paramètres dans la fonction "};
constexpr Cp1252Text kTooManyAfterName{" : erreur, trop de paramètre dans la fonction "};

// The four values, in order, by the words their messages use.
struct ItemValue {
  std::string_view label;  // "l'axe x"
  bool showsCharacter;     // the bad-syntax message ends with the character found
};
constexpr ItemValue kItemValues[] = {
    {"l'axe x", true},
    {"l'axe y", false},
    {"l'axe z", false},
    {"la rotation", false},
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
        call.error(kSyntaxOf, value.label, kOfFunction, name, kPoint);
        return false;
      }
      variable.push_back(c);
      ++pos;
    }
    call.record(code::GLOBALE_SHORT, variable);
    kind = ValueKind::kName;
    return true;
  }
  const std::string_view found =
      value.showsCharacter && pos < line.size() ? line.substr(pos, 1) : std::string_view{};
  call.error(kBadSyntaxOf, value.label, kOfFunction, name, kIsIncorrect, found);
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
    call.error(kNoObject);
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
          call.error(kNoCell);
        } else {
          call.record(code::CELLULE, cell.text);
          last = cell.text;
        }
      }
    }
  }
  if (!call.failed() && separatorStep(line, pos) == Separator::kNoSpace) {
    call.error(kNoSpaceAfterObject, last, kQuoteBang);
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
        call.error(
            kind == ValueKind::kNumber ? kTooManyAfterNumber.view() : kTooManyAfterName.view(),
            command.name, kBang);
      }
    } else if (pos == end || line[pos - 1] != ' ') {
      call.error(kNoSpaceAfter, kItemValues[v].label, kBang);
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
