// Special-function checkers: one checker per game command whose arguments
// follow rules of their own. Each knows its command words, the command name
// printed in its messages and the type codes it records. Like the signature
// checkers, each lowers `line` in place, and when the line is a call of its
// command it checks it, journals its findings, records the names it reads and
// sets *lineHandled to 1 (never to 0).
#pragma once

#include <string>

#include "core/CheckContext.h"

namespace lintaro {

// Texts: message boxes, dialogue choices and Say. MessageBox hands the
// expansion preferences of `ctx` on to the expression checker.
void synDetectMessageBox(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectChoice(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectSay(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

// Placement and position.
void synDetectPlaceAtMe(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPlaceAtPC(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPosition(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPositionCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPlaceItem(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPlaceItemCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

// AI packages.
void synDetectAIActivate(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectAIEscort(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectAIEscortCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectAIFollow(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectAIFollowCell(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectAITravel(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectAIWander(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

// Fade, region weather, sounds with volume and pitch, animation groups.
void synDetectFadeTo(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectModRegion(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPlaySoundVP(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPlaySound3DVP(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectPlayLoopSound3DVP(CheckContext& ctx, std::string& line, int* lineHandled,
                                int lineIndex);
void synDetectLoopGroup(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

// Faction reputation and the quest journal.
void synDetectModPCFacRep(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectSetPCFacRep(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);
void synDetectJournal(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex);

}  // namespace lintaro
