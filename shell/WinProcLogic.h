// What the window's menu commands and its six dialogs do, apart from the
// widgets: the shared state (the script file name, the settings, the status
// value), the check and format outcomes turned into message boxes, the
// settings file, the work-file clean-up. Everything the system provides goes
// through ShellPlatform, so this runs headless in the tests; the wxWidgets
// front end (WinProcMain.cpp, WinProcDialogs.cpp) only moves texts and check
// box states between the controls and these functions.
//
// Texts given to and returned by these functions are UTF-8, as the widgets use.
#pragma once

#include "core/Version.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "shell/Settings.h"

namespace lintaro {

inline constexpr const char* kPastedScriptName = "ScriptMorrowind.txt";
inline constexpr const char* kConsoleMarkerName = "DbPlatform.dat";
inline constexpr const char* kHelpHtmlName = "AideDebug.htm";
inline constexpr const char* kHelpTextName = "AideDebug.txt";
inline constexpr const char* kConsoleProgramName = "scrutinette";
inline constexpr std::string_view kShellVersion = kVersion;
inline constexpr const char* kShellDate = "24/09/2006";

// Limits of the dialogs' edit boxes, in characters.
inline constexpr std::size_t kMaxFileNameLength = 49;
inline constexpr std::size_t kMaxScriptBoxLength = 9999;
inline constexpr std::size_t kMaxPastedScriptLength = 5000;
// The formatted pasted script goes back into the box only when it fits, with
// CR LF line ends and a terminator, in this many characters.
inline constexpr std::size_t kFormattedTextBuffer = 10000;

// Status values (messageInt) besides the error count of the last check.
inline constexpr int kStatusFormatted = -2;
inline constexpr int kStatusReady = -1;

enum class BoxIcon { None, Information };

// The system and the message boxes, as the shell sees them.
class ShellPlatform {
 public:
  virtual ~ShellPlatform() = default;
  // Opens a path or an address with its default program; false on failure.
  virtual bool openDocument(const std::string& target) = 0;
  virtual std::string currentDirectory() = 0;
  // Where the program is installed (help files, console program); may be "".
  virtual std::string programDirectory() = 0;
  // Starts the console program in a terminal; false on failure.
  virtual bool startConsole(const std::string& program) = 0;
  // A modal message box with an OK button.
  virtual void messageBox(const std::string& text, const std::string& title, BoxIcon icon) = 0;
  // Repaints the main window's client area (the status line).
  virtual void redrawMainWindow() = 0;
};

// Addresses opened by the site and contact commands (set at build time).
struct ShellAddresses {
  std::string forum;
  std::string contact;  // a mail address, without "mailto:"
};

// The checker and the formatter as the shell calls them (mainDebug and mainMEF
// unless a test replaces them).
struct ShellEngine {
  std::function<int(const std::string& path, int* errorCount, const Settings& settings,
                    std::string* failureMessage)>
      check;
  std::function<int(const std::string& path)> format;
};
ShellEngine defaultShellEngine();

// What a dialog does after a button press.
enum class DialogAction { Stay, Hide };

struct ScriptOkOutcome {
  DialogAction action = DialogAction::Stay;
  bool clearBox = false;  // empty the script box before hiding
};

struct LoadOutcome {
  DialogAction action = DialogAction::Stay;
  std::optional<std::string> scriptText;  // the text for the script box
};

// Deletes the console marker, the settings file and the four work files of a
// check; missing files are ignored.
void cleanWorkspace();

// The status line drawn in the main window for a status value.
std::string statusText(int messageInt);

// A typed name as the edit box gives it: at most 49 characters.
std::string limitFileName(std::string_view typed);

// A text with CR LF pairs turned into LF (a bare LF stays).
std::string crlfToLf(std::string_view text);
// A text with every CR dropped.
std::string dropCarriageReturns(std::string_view text);

class Shell {
 public:
  Shell(ShellPlatform& platform, ShellAddresses addresses,
        ShellEngine engine = defaultShellEngine())
      : platform_(platform), addresses_(std::move(addresses)), engine_(std::move(engine)) {}

  // The main window's creation: the pasted-script name and the settings file.
  void onCreate();

  const std::string& fileName() const { return nomFile_; }
  const Settings& settings() const { return prop_; }
  int status() const { return messageInt_; }
  std::string statusLine() const { return statusText(messageInt_); }

  // Menu commands.
  void clean();
  void reset();
  void help();
  void site();
  void contact();
  void about();
  // "Version Shell": true when the console program started and the window
  // must close.
  bool startConsoleVersion();

  // "Débuguer un fichier" (also "Mettre en forme un fichier" for openTypedFile).
  DialogAction checkFileOk(std::string_view typed);
  void openTypedFile(std::string_view typed);
  // A script file dropped on the main window, checked as the file dialog would.
  DialogAction checkDroppedFile(const std::string& path);

  // "Préférences" and "Type de script".
  DialogAction preferencesOk(bool showReport, bool showInfo, bool hideAlerts);
  DialogAction dependenciesOk(bool tribunal, bool bloodmoon);

  // "Débuguer un script".
  ScriptOkOutcome scriptOk(std::string_view boxText);
  // "Mettre en forme": the new box text (CR LF line ends) when the formatted
  // script fits the box.
  std::optional<std::string> scriptFormat(std::string_view boxText);

  // "Mettre en forme un fichier".
  DialogAction formatFileOk(std::string_view typed);

  // "Charger...": the file's text with CR LF line ends for the script box.
  LoadOutcome loadOk(std::string_view typed);

 private:
  DialogAction runCheck(const std::string& path);
  bool presentFormat(int result, const std::string& name);
  std::string helpPath(const std::string& directory, const char* name) const;
  void box(const std::string& text, const std::string& title, BoxIcon icon = BoxIcon::None);

  ShellPlatform& platform_;
  ShellAddresses addresses_;
  ShellEngine engine_;
  std::string nomFile_ = kPastedScriptName;
  Settings prop_;
  int messageInt_ = kStatusReady;
};

}  // namespace lintaro
