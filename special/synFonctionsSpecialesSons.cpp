// The checkers of FadeTo, ModRegion, the three sounds played with a volume
// and a pitch, and LoopGroup: literal numbers after at most one name.
#include <array>
#include <string>

#include "core/Encoding.h"
#include "core/MainTriInfo.h"
#include "special/synFonctionsSpeciales.h"
#include "special/synFonctionsSpecialesCommon.h"

namespace lintaro {

using namespace special;

namespace {

// Each of these commands opens the journal on every call; only LoopGroup
// accepts a caller.
constexpr Command kFadeTo{"FadeTo", "fadeto", false, true, journalFailure<"synDetectFadeTo">};
constexpr Command kModRegion{"ModRegion", "modregion", false, true,
                             journalFailure<"synDetectModRegion">};
constexpr Command kPlaySoundVP{"PlaySoundVP", "playsoundvp", false, true,
                               journalFailure<"synDetectPlaySoundVP">};
constexpr Command kPlaySound3DVP{"PlaySound3DVP", "playsound3dvp", false, true,
                                 journalFailure<"synDetectPlaySound3DVP">};
constexpr Command kPlayLoopSound3DVP{"PlayLoopSound3DVP", "playloopsound3dvp", false, true,
                                     journalFailure<"synDetectPlayLoopSound3DVP">};
constexpr Command kLoopGroup{"LoopGroup", "loopgroup", true, true,
                             journalFailure<"synDetectLoopGroup">};

// A decimal: digits, then a point followed by at least one digit continues
// with the decimals. False (and `pos` unchanged) when no digit starts it.
bool readDecimal(std::string_view line, std::size_t& pos) {
  if (!digitAt(line, pos)) return false;
  skipDigits(line, pos);
  if (charAt(line, pos, '.') && digitAt(line, pos + 1)) {
    ++pos;
    skipDigits(line, pos);
  }
  return true;
}

// ---------------------------------------------------------------------------
// FadeTo: alpha (whole), duration (decimal, nothing after it).

constexpr Cp1252Text kAlpha{" : erreur, la valeur du alpha de la fonction FadeTo est incorrecte !"};
constexpr Cp1252Text kNoDuration{" : impossible de détecter la durée du fondu !"};
constexpr Cp1252Text kDuration{
    " : erreur dans la durée du fondu. Attention, FadeTo ne prend pas de variables en entrée !"};

// ---------------------------------------------------------------------------
// ModRegion: a region, then the chances of its ten weathers.

constexpr Cp1252Text kNoSpaceInconnu1{
    " : pas d'espace après la valeur de l'Inconnu1 de la fonction "};
constexpr Cp1252Text kModRegionTrailing{
    " : erreur, trop de paramètres dans la fonction ModRegion !"};

// The ten chances, each named in its finding; the last one needs a space
// before it, the others may follow a comma alone, a space alone, or both.
constexpr std::string_view kIsWrong{" est incorrecte !"};
constexpr WholeField weather(std::string_view valueOf, Gap gap = Gap::kLoose) {
  return {gap, {kNoSpaceInconnu1, " !"}, false, {valueOf, kIsWrong}};
}
constexpr WholeField kWeathers[] = {
    weather(" : erreur, la valeur du Clear de la fonction "),
    weather(" : erreur, la valeur du Cloudy de la fonction "),
    weather(" : erreur, la valeur du Foggy de la fonction "),
    weather(" : erreur, la valeur du OverCast de la fonction "),
    weather(" : erreur, la valeur du Rain de la fonction "),
    weather(" : erreur, la valeur du Thunder de la fonction "),
    weather(" : erreur, la valeur du Ash de la fonction "),
    weather(" : erreur, la valeur du Blight de la fonction "),
    weather(" : erreur, la valeur du Inconnu1 de la fonction "),
    weather(" : erreur, la valeur du Inconnu2 de la fonction ", Gap::kSpaced),
};

// ---------------------------------------------------------------------------
// The sounds played with a volume and a pitch.

constexpr Cp1252Text kSoundQuotes{" : erreur dans la syntaxe de l'appelé de la fonction "};
constexpr Cp1252Text kTooManyQuotes{" : trop de guillemets."};
constexpr Cp1252Text kSoundSyntax{" : erreur, la syntaxe des paramètres de la fonction "};
constexpr Cp1252Text kNoSpaceVolume{" : pas d'espace après la valeur du volume de "};
constexpr Cp1252Text kSoundTrailing{" : erreur, la fonction "};
constexpr Cp1252Text kThreeArguments{" ne prend que trois paramètres appelés !"};

void soundWithVolumeAndPitch(CheckContext& ctx, const Command& command, std::string& line,
                             int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, command);
  if (!at.found) return;
  Call call(ctx, lineIndex, command.failure);
  const std::string_view name = command.name;
  const Reading sound = readName(line, at.args, kOpenListName);
  if (sound.quotes == 3) {
    call.error(kSoundQuotes, name, kTooManyQuotes);
  } else {
    call.recordName(code::SON, sound.text);
  }
  std::size_t pos = sound.stop;
  if (!call.failed()) {
    passLooseSeparator(line, pos);
    if (!readDecimal(line, pos)) call.error(kSoundSyntax, name, kIsWrong);
  }
  if (!call.failed() && separatorStep(line, pos) == Separator::kNoSpace) {
    call.error(kNoSpaceVolume, name, " !");
  }
  if (!call.failed()) {
    if (!readDecimal(line, pos)) {
      call.error(kSoundSyntax, name, kIsWrong);
    } else if (hasTrailing(line, pos)) {
      call.error(kSoundTrailing, name, kThreeArguments);
    }
  }
  *lineHandled = 1;
}

// ---------------------------------------------------------------------------
// LoopGroup: a group, a count and optional flags.

constexpr Cp1252Text kCount{" : erreur, le nombre de la fonction LoopGroup est incorrect !"};
constexpr Cp1252Text kFlagsTrailing{
    " : erreur dans le paramètre optionnel. Attention, LoopGroup ne prend qu'un paramètre après "
    "le groupe \""};

}  // namespace

void synDetectFadeTo(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kFadeTo);
  if (!at.found) return;
  Call call(ctx, lineIndex, kFadeTo.failure);
  std::size_t pos = at.args;
  if (!readWhole(line, pos, false)) {
    call.error(kAlpha);
  } else if (separatorStep(line, pos) != Separator::kSpace) {
    call.error(kNoDuration);
  } else if (!readDecimal(line, pos) || hasTrailing(line, pos)) {
    call.error(kDuration);
  }
  *lineHandled = 1;
}

void synDetectModRegion(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kModRegion);
  if (!at.found) return;
  Call call(ctx, lineIndex, kModRegion.failure);
  const Reading region = readName(line, at.args, kListName);
  call.recordName(code::REGION, region.text);
  std::size_t pos = region.stop;
  if (readWholeRun(call, line, pos, kWeathers, kModRegion.name) && hasTrailing(line, pos)) {
    call.error(kModRegionTrailing);
  }
  *lineHandled = 1;
}

void synDetectPlaySoundVP(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  soundWithVolumeAndPitch(ctx, kPlaySoundVP, line, lineHandled, lineIndex);
}
void synDetectPlaySound3DVP(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  soundWithVolumeAndPitch(ctx, kPlaySound3DVP, line, lineHandled, lineIndex);
}
void synDetectPlayLoopSound3DVP(CheckContext& ctx, std::string& line, int* lineHandled,
                                int lineIndex) {
  soundWithVolumeAndPitch(ctx, kPlayLoopSound3DVP, line, lineHandled, lineIndex);
}

void synDetectLoopGroup(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kLoopGroup);
  if (!at.found) return;
  Call call(ctx, lineIndex, kLoopGroup.failure);
  if (at.callerForm) readCaller(call, line, at, kLoopGroup, {.type = code::PERSONNE});
  if (!call.failed()) {
    const Reading group = readName(line, at.args, kListName);
    call.recordName(code::ANIMATION, group.text);
    std::size_t pos = group.stop;
    passLooseSeparator(line, pos);
    if (!readWhole(line, pos, false)) {
      call.error(kCount);
    } else {
      const OptionalValue flags = readOptionalValue(line, pos, false, OptionalEnd::kLast);
      if (flags.fault == OptionalFault::kTrailing) {
        call.error(kFlagsTrailing, group.text, "\" !");
      } else {
        optionalFinding(call, flags.fault, "", kLoopGroup.name);
      }
    }
  }
  *lineHandled = 1;
}

}  // namespace lintaro
