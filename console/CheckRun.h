// The checks of a scrutinette run: the scripts named on the command line,
// found in folders or read from standard input, checked by several threads
// at once, their outputs written in input order.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "console/MachineOutput.h"
#include "plugin/CodePages.h"
#include "plugin/Expansions.h"
#include "run/Check.h"

namespace lintaro {

struct ScriptJob {
  enum class Source {
    kFile,    // named on the command line
    kStdin,   // "-"
    kFound,   // found in a folder
    kPlugin,  // a plugin (.esp, .esm, .omwaddon), named or found in a folder
  };
  std::string path;
  Source source = Source::kFile;
  std::string
      failure;  // set: nothing to check, this message instead (a folder that cannot be read)
};

// The scripts of the command line's inputs, in order: a file or "-" as it is;
// a folder walked through its subfolders for *.mwscript and *.txt files and
// plugins (any case), sorted by path. Symbolic links to files are followed, links to
// folders are not (so a link cannot make the walk loop). `anyFolder`
// receives whether a folder was given.
std::vector<ScriptJob> scriptJobs(const std::vector<std::string>& inputs, bool& anyFolder);

struct RunSettings {
  OutputFormat format = OutputFormat::kTexte;
  CheckOptions check;
  unsigned threads = 1;
  unsigned pluginThreads = 1;  // for one plugin's scripts (set by runChecks)
  bool summary = false;        // a summary on `err` at the end
  bool progress = false;       // `err` is a terminal: show the progress of long runs
  // Plugins: the expansions forced on or off. The code page of plugin texts
  // and of script files (UTF-8 files are turned into it).
  plugin::ExpansionChoice expansions;
  plugin::CodePage page = plugin::CodePage::kWindows1252;
};

// Checks every job and writes the outputs to `out`, the messages to `err`.
// In texte, a file named on the command line is checked by mainDebug (its
// report file left in the current directory; with another code page than
// Windows-1252, in memory, its report file written likewise); everything else
// is checked in memory and writes no file, but for a plugin's combined report. A plugin's
// scripts are checked by `threads` threads, their outputs in record order. Returns the exit status:
// 0, 1 when a script has errors, 2 when one could not be checked.
int runChecks(const std::vector<ScriptJob>& jobs, const RunSettings& settings, std::istream& in,
              std::ostream& out, std::ostream& err);

}  // namespace lintaro
