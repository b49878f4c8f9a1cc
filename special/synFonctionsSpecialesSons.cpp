// The checkers of FadeTo, ModRegion, the three sounds played with a volume
// and a pitch, and LoopGroup: literal numbers after at most one name.
#include <array>
#include <string>

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

// ---------------------------------------------------------------------------
// ModRegion: a region, then the chances of its ten weathers.

// The ten chances, each named in its finding; the last one needs a space
// before it, the others may follow a comma alone, a space alone, or both.
constexpr WholeField weather(std::string_view name, Gap gap = Gap::kLoose) {
  const Message missing{Diag::kMeteoIncorrecte, Holes::kWordName, name};
  return {gap, {Diag::kEspaceApresInconnu1}, false, missing};
}
constexpr WholeField kWeathers[] = {
    weather("Clear"),    weather("Cloudy"),
    weather("Foggy"),    weather("OverCast"),
    weather("Rain"),     weather("Thunder"),
    weather("Ash"),      weather("Blight"),
    weather("Inconnu1"), weather("Inconnu2", Gap::kSpaced),
};

// ---------------------------------------------------------------------------
// The sounds played with a volume and a pitch.

void soundWithVolumeAndPitch(CheckContext& ctx, const Command& command, std::string& line,
                             int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, command);
  if (!at.found) return;
  Call call(ctx, lineIndex, command.failure);
  const std::string_view name = command.name;
  const Reading sound = readName(line, at.args, kOpenListName);
  if (sound.quotes == 3) {
    call.error(Diag::kAppeleTropDeGuillemets, name);
  } else {
    call.recordName(code::SON, sound.text);
  }
  std::size_t pos = sound.stop;
  if (!call.failed()) {
    passLooseSeparator(line, pos);
    if (!readDecimal(line, pos)) call.error(Diag::kSonParametres, name);
  }
  if (!call.failed() && separatorStep(line, pos) == Separator::kNoSpace) {
    call.error(Diag::kSonEspaceApresVolume, name);
  }
  if (!call.failed()) {
    if (!readDecimal(line, pos)) {
      call.error(Diag::kSonParametres, name);
    } else if (hasTrailing(line, pos)) {
      call.error(Diag::kTroisParametresSeulement, name);
    }
  }
  *lineHandled = 1;
}

// ---------------------------------------------------------------------------
// LoopGroup: a group, a count and optional flags.

}  // namespace

void synDetectFadeTo(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  const Located at = locateCommand(ctx, line, kFadeTo);
  if (!at.found) return;
  Call call(ctx, lineIndex, kFadeTo.failure);
  std::size_t pos = at.args;
  if (!readWhole(line, pos, false)) {
    call.error(Diag::kFadeToAlpha);
  } else if (separatorStep(line, pos) != Separator::kSpace) {
    call.error(Diag::kFadeToDureeIntrouvable);
  } else if (!readDecimal(line, pos) || hasTrailing(line, pos)) {
    call.error(Diag::kFadeToDuree);
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
    call.error(Diag::kTropDeParametresDans, kModRegion.name);
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
      call.error(Diag::kLoopGroupNombre);
    } else {
      const OptionalValue flags = readOptionalValue(line, pos, false, OptionalEnd::kLast);
      if (flags.fault == OptionalFault::kTrailing) {
        call.error(Diag::kLoopGroupOptionnel, group.text);
      } else {
        optionalFinding(call, flags.fault, "", kLoopGroup.name);
      }
    }
  }
  *lineHandled = 1;
}

}  // namespace lintaro
