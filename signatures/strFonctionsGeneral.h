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

// Numbers.
void strFoncValShortApp(CheckContext& ctx, std::string_view name, int callerType, std::string& line,
                        int* lineHandled, int lineIndex);
void strFoncValShort(CheckContext& ctx, std::string_view name, std::string& line, int* lineHandled,
                     int lineIndex);
void strFoncValShortStatApp(CheckContext& ctx, std::string_view name, int callerType,
                            std::string& line, int* lineHandled, int lineIndex, int tribunal,
                            int bloodmoon);
void strFoncValShortStat(CheckContext& ctx, std::string_view name, std::string& line,
                         int* lineHandled, int lineIndex, int tribunal, int bloodmoon);
void strFoncValFloat_choiceApp(CheckContext& ctx, std::string_view name, int callerType, int choice,
                               std::string& line, int* lineHandled, int lineIndex);
void strFoncShortShort_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                                 int choice, std::string& line, int* lineHandled, int lineIndex);

// Identifiers followed by a number.
void strFoncIDshort_choiceApp(CheckContext& ctx, std::string_view name, int callerType,
                              int calledType, int choice, std::string& line, int* lineHandled,
                              int lineIndex);
void strFoncID_optShort_choiceApp(CheckContext& ctx, std::string_view name, std::string& line,
                                  int callerType, int calledType, int choice, int* lineHandled,
                                  int lineIndex);
void strFoncIDIDshort(CheckContext& ctx, std::string_view name, std::string& line, int firstType,
                      int secondType, int* lineHandled, int lineIndex);

// Axes.
void strFoncAxe(CheckContext& ctx, std::string_view name, int callerType, std::string& line,
                int* lineHandled, int lineIndex);
void strFoncAxeFloat(CheckContext& ctx, std::string_view name, int callerType, std::string& line,
                     int* lineHandled, int lineIndex, int tribunal);

}  // namespace lintaro
