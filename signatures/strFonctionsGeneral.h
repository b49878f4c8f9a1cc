// Signature checkers: one checker per argument signature shared by many game
// commands. Each lowers `line` in place, and when the text is a call of the
// named command it checks caller and arguments, journals its findings,
// records the names it reads and sets *lineHandled to 1 (never to 0).
#pragma once

#include <string>
#include <string_view>

#include "core/CheckContext.h"

namespace lintaro {

// No argument.
void strFonctionSeule(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                      int lineIndex);
void strFonctionSeule_OptCall(CheckContext& ctx, std::string_view name, std::string& line,
                              int* lineHandled, int lineIndex, int callerType);
void strFoncUndocumented(CheckContext& ctx, std::string_view name, std::string& line,
                         int* lineHandled, int lineIndex);
void strFoncBroken(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                   int lineIndex);

// Identifiers.
void strFoncIDApp(CheckContext& ctx, std::string_view name, int callerType, int calledType,
                  std::string& line, int* lineHandled, int lineIndex);
void strFoncID(CheckContext& ctx, std::string_view name, int calledType, std::string& line,
               int* lineHandled, int lineIndex);
void strFonc_optID_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                             int calledType, int choice, std::string& line, int* lineHandled,
                             int lineIndex);
void strFoncIDID_choiceApp(CheckContext& ctx, std::string_view name, std::string& line,
                           int callerType, int firstType, int secondType, int choice,
                           int* lineHandled, int lineIndex);

}  // namespace lintaro
