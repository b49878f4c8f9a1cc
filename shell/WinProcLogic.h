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

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/Check.h"
#include "shell/Settings.h"

namespace lintaro {

inline constexpr const char* kPastedScriptName = "ScriptMorrowind.txt";
inline constexpr const char* kConsoleMarkerName = "DbPlatform.dat";
inline constexpr const char* kHelpHtmlName = "AideDebug.htm";
inline constexpr const char* kHelpTextName = "AideDebug.txt";
#ifdef _WIN32
inline constexpr const char* kConsoleProgramName = "scrutinette.exe";
#else
inline constexpr const char* kConsoleProgramName = "scrutinette";
#endif
inline constexpr std::string_view kShellVersion = kVersion;
inline constexpr const char* kShellDate = "24/09/2006";

// The console program reads typed names with at most this many characters;
// the window's fields take names of any length.
inline constexpr std::size_t kMaxFileNameLength = 49;
// Files checked that the "Fichiers..." menu lists, the last one first.
inline constexpr std::size_t kRecentFileCount = 5;

// Status values (messageInt) besides the error count of the last check.
inline constexpr int kStatusFormatted = -2;
inline constexpr int kStatusReady = -1;

enum class BoxIcon { None, Information };

// A file chooser's filter: what it shows, and its patterns separated by ";".
struct FileFilter {
  const char* label;
  const char* patterns;
};
// The script file chooser's filters.
inline constexpr FileFilter kScriptFileFilters[] = {
    {"Scripts Morrowind (*.mwscript, *.txt)", "*.mwscript;*.txt"}, {"Tous les fichiers", "*"}};

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
  // The user's own configuration folder for the window's remembered values
  // ($XDG_CONFIG_HOME/lintaro, %APPDATA%\Lintaro); "" when there is none.
  virtual std::string configDirectory() { return {}; }
};

// Addresses opened by the site and contact commands (set at build time).
struct ShellAddresses {
  std::string forum;
  std::string contact;  // a mail address, without "mailto:"
};
// The addresses the build sets (LINTARO_FORUM_ADDRESS, LINTARO_CONTACT_ADDRESS).
ShellAddresses defaultShellAddresses();

// The checker and the formatter as the shell calls them (mainDebug and mainMEF
// unless a test replaces them).
struct ShellEngine {
  std::function<int(const std::string& path, int* errorCount, const Settings& settings,
                    std::string* failureMessage)>
      check;
  std::function<int(const std::string& path)> format;
  // The in-memory check of the same bytes with the same options, whose
  // findings the window lists.
  std::function<CheckResult(std::string_view bytes, const Settings& settings)> inspect;
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

// One finding of the last check as the window lists it.
struct Finding {
  int line = 0;  // 1-based; 0 for a finding about the whole script
  bool error = true;
  std::string code;     // catalogue code, "LT201"
  std::string message;  // UTF-8, without the "Ligne N : " head
};

// Characters [from, to) of a text: a line to select in the script view.
struct TextSpan {
  std::size_t from = 0;
  std::size_t to = 0;
  bool operator==(const TextSpan&) const = default;
};

// The outcome of the last check that wrote its report.
struct CheckView {
  bool valid = false;
  bool pasted = false;            // the pasted script rather than a file
  std::string label;              // the script's name after "Begin", else the file's name
  std::string reportPath;         // the report written, as opened by "Ouvrir le rapport"
  std::string text;               // the checked text, UTF-8 with LF line ends
  std::vector<Finding> findings;  // in the order of the report
  int errors = 0;
  int alerts = 0;
  bool alertsHidden = false;  // the preference leaves the alerts out of the list
};

// "erreur" or "alerte".
std::string kindLabel(bool error);
// "2 erreurs, 1 alerte".
std::string countsText(int errors, int alerts);
// The characters of line `line` (1-based) of an LF text, without its line
// feed; a line past the end gives the empty span at the end of the text.
TextSpan lineSpan(std::string_view text, int line);
// The findings of a check result as the report lists them (alerts left out
// when `hideAlerts`), messages in UTF-8.
std::vector<Finding> findingsOf(const CheckResult& result, bool hideAlerts);
// A chosen file as the name field shows it: relative to `directory` when it
// lies inside it, absolute otherwise.
std::string fieldPathFor(const std::string& chosen, const std::string& directory);

// Deletes the console marker, the settings file and the four work files of a
// check; missing files are ignored.
void cleanWorkspace();

// The status line drawn in the main window for a status value.
std::string statusText(int messageInt);

// A typed name as the console program reads it: at most 49 characters.
std::string limitFileName(std::string_view typed);

// A text with CR LF pairs turned into LF (a bare LF stays).
std::string crlfToLf(std::string_view text);
// A text with every CR dropped.
std::string dropCarriageReturns(std::string_view text);

class Shell {
 public:
  Shell(ShellPlatform& platform, ShellAddresses addresses,
        ShellEngine engine = defaultShellEngine())
      : platform_(platform), addresses_(std::move(addresses)), engine_(std::move(engine)) {
    if (!engine_.inspect) engine_.inspect = defaultShellEngine().inspect;
  }

  // The main window's creation: the pasted-script name and the settings file.
  void onCreate();

  const std::string& fileName() const { return nomFile_; }
  const Settings& settings() const { return prop_; }
  int status() const { return messageInt_; }
  // The status line: the last outcome, failures included.
  const std::string& statusLine() const { return statusLine_; }
  // The findings of the last check.
  const CheckView& lastCheck() const { return view_; }
  // Grows by one with each check whose findings lastCheck() holds.
  std::size_t checkCount() const { return checks_; }
  // The line of a finding in lastCheck().text; none for a whole-script finding.
  std::optional<TextSpan> findingSpan(std::size_t index) const;
  // "Ouvrir le rapport": opens the last report with the system's viewer.
  void openReport();

  // Remembered values of the user's configuration folder.
  const std::vector<std::string>& recentFiles() const { return recent_; }
  // The folder the file chooser starts in: the last one used, else here.
  std::string browseFolder();
  // The file the chooser starts on: the one a name field names when it lies
  // in browseFolder() (never a report that happens to sort first), else "".
  std::string browseFileName(const std::string& field);
  // A file picked in the chooser: remembers its folder, returns the field text.
  std::string fileChosen(const std::string& path);
  // A file of the "Fichiers..." menu list, checked as the file dialog would.
  DialogAction checkRecent(std::size_t index);

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
  // "Annuler", Escape or closing: the dialog hides and the text stays.
  ScriptOkOutcome scriptCancel() const { return {DialogAction::Hide, false}; }
  // "Mettre en forme": the new box text (CR LF line ends) when the formatted
  // script fits the box.
  std::optional<std::string> scriptFormat(std::string_view boxText);

  // "Mettre en forme un fichier".
  DialogAction formatFileOk(std::string_view typed);

  // "Charger...": the file's text with CR LF line ends for the script box.
  LoadOutcome loadOk(std::string_view typed);

 private:
  DialogAction runCheck(const std::string& path, bool pasted);
  void setStatus(std::string text);
  void remember(const std::string& path);
  void loadRemembered();
  void saveRemembered();
  bool presentFormat(int result, const std::string& name);
  std::string helpPath(const std::string& directory, const char* name) const;
  void box(const std::string& text, const std::string& title, BoxIcon icon = BoxIcon::None);

  ShellPlatform& platform_;
  ShellAddresses addresses_;
  ShellEngine engine_;
  std::string nomFile_ = kPastedScriptName;
  Settings prop_;
  int messageInt_ = kStatusReady;
  std::string statusLine_ = statusText(kStatusReady);
  CheckView view_;
  std::size_t checks_ = 0;
  std::vector<std::string> recent_;
  std::string lastFolder_;
};

}  // namespace lintaro
