// The checkers of the commands that carry texts: MessageBox (a text with
// format placeholders, their variables and the button texts), Choice (quoted
// choices with their reference numbers) and Say (a voice file and a subtitle).
#include <string>
#include <vector>

#include "expression/MainExpression.h"
#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "special/synFonctionsSpeciales.h"
#include "special/synFonctionsSpecialesCommon.h"

namespace lintaro {

using namespace special;

namespace {

// ---------------------------------------------------------------------------
// MessageBox

constexpr Command kMessageBox{"MessageBox", "messagebox", false, false,
                              journalFailure<"synDetectMessageBox">};

// The longest text taken from the line.
constexpr std::size_t kMessageTextMax = 4999;
// Placeholders beyond this many are refused.
constexpr std::size_t kMaxPlaceholders = 9;
constexpr int kMaxButtons = 10;

// What a placeholder of the text asks for.
enum class Placeholder : std::uint8_t {
  kString,  // "%s": a quoted text
  kNumber,  // "%g", "%.0f" to "%.9f": a variable
};

// The placeholder that starts at `i`, if any.
bool placeholderAt(std::string_view text, std::size_t i, Placeholder& kind) {
  if (text[i] != '%' || i + 1 >= text.size()) return false;
  const char c = text[i + 1];
  if (c == 's' || c == 'g') {
    kind = c == 's' ? Placeholder::kString : Placeholder::kNumber;
    return true;
  }
  if (c == '.' && i + 3 < text.size() && isDigit(text[i + 2]) && text[i + 3] == 'f') {
    kind = Placeholder::kNumber;
    return true;
  }
  return false;
}

// A character of a variable reference: letters, digits, "_" and the point
// between an object and its variable.
bool variableChar(char c) {
  return typeChar(c) == kClassLetter || isDigit(c) || c == '.';
}

// Reads the argument of placeholder k at `pos`; false after a finding.
bool readVariable(CheckContext& ctx, Call& call, std::string_view line, std::size_t& pos, int k,
                  Placeholder kind, int lineIndex) {
  const auto missing = [&] {
    call.error(Diag::kMessageBoxVariableIntrouvable, int2str(k));
    return false;
  };
  if (pos >= line.size()) return missing();
  if (line[pos] == ',') ++pos;
  if (pos >= line.size()) return missing();
  if (line[pos] != ' ') {
    if (k == 1) {
      call.error(Diag::kMessageBoxEspaceApresTexte);
    } else {
      call.error(Diag::kMessageBoxEspaceApresVariable, int2str(k - 1));
    }
    return false;
  }
  ++pos;
  if (pos >= line.size()) return missing();
  if (kind == Placeholder::kString) {
    if (line[pos] != '"') return missing();
    const std::size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) return missing();
    pos = close + 1;
    return true;
  }
  const std::size_t begin = pos;
  while (pos < line.size() && pos - begin < kNameMax && variableChar(line[pos]))
    ++pos;
  if (expression(ctx, line.substr(begin, pos - begin), lineIndex) == 0) return missing();
  return true;
}

// The button texts after the variables.
void readButtons(Call& call, std::string_view line, std::size_t pos) {
  for (int b = 1; b <= kMaxButtons; ++b) {
    const bool comma = charAt(line, pos, ',');
    if (comma) ++pos;
    while (pos < line.size() && isWhite(line[pos]))
      ++pos;
    if (!charAt(line, pos, '"')) {
      if (comma) {
        call.error(Diag::kMessageBoxBoutonIntrouvable, int2str(b));
      } else if (hasTrailing(line, pos)) {
        call.error(Diag::kTropDeParametres, kMessageBox.name);
      }
      return;
    }
    // A quote left open is the line's finding (a line whose quotes do not
    // pair never reaches the command checkers).
    const std::size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) return;
    pos = close + 1;
  }
}

// ---------------------------------------------------------------------------
// Choice

constexpr Command kChoice{"Choice", "choice", false, true,
                          "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier "
                          "source \"synDetectChoice\".\n\n"};

constexpr int kMaxChoices = 6;

constexpr Cp1252Text kPremier{"premier"};
constexpr Cp1252Text kIeme{"-ième"};

// How the previous choice ended, which decides whether another one is due.
enum class ChoiceMode : std::uint8_t {
  kFirst,       // the first choice is required
  kAfterComma,  // a comma after the reference: a further choice is required
  kAfterBlank,  // a blank after the reference: a further choice is optional
};

// "premier" for the first choice, "k-ième" for the others.
std::string ordinal(int k) {
  return k == 1 ? std::string(kPremier.view()) : int2str(k) + std::string(kIeme.view());
}

// After the optional list ended at a character that is not a quote: that
// character goes, and nothing but white space may follow it. The list is
// optional from the second choice on.
void strayAfterList(Call& call, std::string_view line, std::size_t pos, int k) {
  if (hasTrailing(line, pos + 1)) call.error(Diag::kChoiceApresListe, int2str(k));
}

// ---------------------------------------------------------------------------
// Say

constexpr Command kSay{"Say", "say", true, true, journalFailure<"synDetectSay">};
constexpr CallerRule kSayCaller{code::PNJ};
// The subtitle is not stored: its reading only has to find its end.
constexpr NameRule kSubtitle{Closing::kSecondQuote, false, std::string::npos};

}  // namespace

void synDetectMessageBox(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kMessageBox);
  if (!at.found) return;
  Call call(ctx, lineIndex, kMessageBox.failure);
  const Reading text = readName(line, at.args, {Closing::kSecondQuote, false, kMessageTextMax});
  std::vector<Placeholder> placeholders;
  if (text.text.empty()) {
    call.error(Diag::kMessageBoxTexteIntrouvable);
  } else {
    for (std::size_t i = 0; i < text.text.size(); ++i) {
      Placeholder kind{};
      if (!placeholderAt(text.text, i, kind)) continue;
      if (placeholders.size() == kMaxPlaceholders) {
        call.error(Diag::kMessageBoxTropDeVariables);
        break;
      }
      placeholders.push_back(kind);
    }
  }
  std::size_t pos = text.stop;
  for (std::size_t k = 0; k < placeholders.size() && !call.failed(); ++k) {
    readVariable(ctx, call, line, pos, static_cast<int>(k + 1), placeholders[k], lineIndex);
  }
  if (!call.failed()) readButtons(call, line, pos);
  *lineHandled = 1;
}

void synDetectChoice(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kChoice);
  if (!at.found) return;
  Call call(ctx, lineIndex, kChoice.failure);
  std::size_t pos = at.args;
  ChoiceMode mode = ChoiceMode::kFirst;
  for (int k = 1; k <= kMaxChoices; ++k) {
    // The quoted text.
    if (!charAt(line, pos, '"')) {
      if (mode == ChoiceMode::kFirst) {
        call.error(Diag::kChoiceSansChoix);
      } else if (mode == ChoiceMode::kAfterComma) {
        call.error(Diag::kChoiceChoixManquant, int2str(k));
      } else {
        strayAfterList(call, line, pos, k);
      }
      break;
    }
    // A quote left open is the line's finding (a line whose quotes do not
    // pair never reaches the command checkers).
    const std::size_t close = line.find('"', pos + 1);
    if (close == std::string::npos) {
      if (mode == ChoiceMode::kAfterBlank) strayAfterList(call, line, pos, k);
      break;
    }
    pos = close + 1;
    if (charAt(line, pos, ',')) ++pos;
    if (pos < line.size() && !isWhite(line[pos])) {
      call.error(Diag::kChoiceEspaceApresChoix, ordinal(k));
      break;
    }
    // One separator, then the reference number.
    if (pos < line.size()) ++pos;
    if (!digitAt(line, pos)) {
      if (k == 1) {
        call.error(Diag::kChoicePremierNonReference);
      } else {
        call.error(Diag::kChoiceNonReference, int2str(k));
      }
      break;
    }
    skipDigits(line, pos);
    if (pos >= line.size()) break;
    if (line[pos] == ',') {
      ++pos;
      if (pos >= line.size()) {
        call.error(Diag::kChoiceRienApresVirgule, ordinal(k));
        break;
      }
      if (!isWhite(line[pos])) {
        call.error(Diag::kChoiceEspaceApresVirgule, ordinal(k));
        break;
      }
      ++pos;
      mode = ChoiceMode::kAfterComma;
    } else if (isWhite(line[pos])) {
      ++pos;
      mode = ChoiceMode::kAfterBlank;
    } else {
      call.error(Diag::kChoiceReferenceInvalide, ordinal(k));
      break;
    }
  }
  *lineHandled = 1;
}

void synDetectSay(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kSay);
  if (!at.found) return;
  Call call(ctx, lineIndex, kSay.failure);
  if (at.callerForm) readCaller(call, line, at, kSay, kSayCaller);
  if (!call.failed()) {
    const Reading file = readName(line, at.args, kListName);
    call.recordName(code::FICHIER, file.text);
    std::size_t pos = file.stop;
    const Separator separator = separatorStep(line, pos);
    // The trailing test follows a text ended by a blank, a separator that ends
    // the line, or a last argument closed by its second quote.
    bool trailingTest = separator != Separator::kSpace && file.quoted();
    if (separator == Separator::kSpace) {
      if (pos >= line.size()) {
        trailingTest = true;
      } else {
        const Reading subtitle = readName(line, pos, kSubtitle);
        pos = subtitle.stop;
        trailingTest = subtitle.onBlank || subtitle.quoted();
      }
    }
    if (trailingTest && hasTrailing(line, pos))
      call.error(Diag::kSayParametreApresFichier, file.text);
  }
  *lineHandled = 1;
}

}  // namespace lintaro
