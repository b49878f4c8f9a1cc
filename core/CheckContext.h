// What every checker of a run reaches: the journal, the info store, the
// expansion preferences and the line checkers handed in by the run.
#pragma once

#include <string>
#include <string_view>

#include "core/Journal.h"
#include "core/MainTriInfo.h"

namespace lintaro {

struct CheckContext;
struct ChainEntry;

// The checkers the line analyser and the expression checker offer a line or a
// function call to. They sit above both (they use the expression checker), so
// the run hands them in.
struct LineCheckers {
  // The identifier checker, for the header "Begin NAME" and the declarations.
  void (*identifier)(CheckContext& ctx, std::string_view name, int type, std::string& line,
                     int* lineHandled, int lineIndex) = nullptr;
  // The command chain; true when the line is the script's "End".
  bool (*commandChain)(CheckContext& ctx, std::string& line, int* lineHandled,
                       int lineIndex) = nullptr;
  // Runs the checker of one row of the chain or of the function table.
  void (*runEntry)(CheckContext& ctx, const ChainEntry& entry, std::string& line, int* lineHandled,
                   int lineIndex) = nullptr;
};

struct CheckContext {
  DiagnosticSink& journal;
  InfoStore& info;
  int tribunal = 0;   // the mod may use Tribunal's commands
  int bloodmoon = 0;  // the mod may use Bloodmoon's commands
  const LineCheckers* lineCheckers = nullptr;
};

}  // namespace lintaro
