#include "bench/ScriptGenerator.h"

#include <vector>

namespace lintaro::bench {

std::string generateScript(int lines) {
  std::vector<std::string> out;
  out.reserve(static_cast<std::size_t>(lines));
  out.push_back("Begin BenchScript");
  int n = 0;
  int depth = 0;
  while (static_cast<int>(out.size()) < lines - 1) {
    const int i = n++;
    const std::string id = std::to_string(i);
    switch (i % 12) {
      case 0:
        out.push_back("short _counter" + id + "\t; underscore name and a tab");
        break;
      case 1:
        out.push_back("float speed" + id);
        break;
      case 2:
        out.push_back("long Total" + id);
        break;
      case 3:
        out.push_back("if ( counter" + id + " == 1 )");
        ++depth;
        break;
      case 4:
        out.push_back("\tset counter" + id + " to\t5");
        break;
      case 5:
        out.push_back("\twhile ( speed" + id + " < 10 )");
        ++depth;
        break;
      case 6:
        out.push_back("\t\tset speed" + id + " to speed" + id + " + 1\t");
        break;
      case 7:
        out.push_back("\tendwhile");
        --depth;
        break;
      case 8:
        out.push_back("elseif ( Total" + id + " > 3 )");
        break;
      case 9:
        out.push_back("else");
        break;
      case 10:
        out.push_back("\tendif\t; closes");
        --depth;
        break;
      default:
        out.push_back("endif");
        break;  // one too many: an error on this line
    }
  }
  out.push_back("End");
  std::string text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    text += out[i];
    if (i + 1 < out.size()) text += "\r\n";
  }
  (void)depth;
  return text;
}

}  // namespace lintaro::bench
