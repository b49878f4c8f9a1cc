// What every checker of a run reaches: the journal, the info store and the
// expansion preferences.
#pragma once

#include "core/Journal.h"
#include "core/MainTriInfo.h"

namespace lintaro {

struct CheckContext {
  Journal& journal;
  InfoStore& info;
  int tribunal = 0;   // the mod may use Tribunal's commands
  int bloodmoon = 0;  // the mod may use Bloodmoon's commands
};

}  // namespace lintaro
