// The Win32 front end of the window: the main window with its menu, status
// line and findings list, the six modeless dialogs and the plugin dialog. As
// in the wxWidgets front end, the behaviour lives in Shell
// (shell/WinProcLogic.h) and PluginView (shell/PluginView.h); this code only
// builds the controls and moves their contents, UTF-8 inside and UTF-16 at
// the system's calls.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Platform.h"
#include "shell/WinProcLogic.h"

namespace lintaro::win32 {

// Longest text asked of a name field: the long-path limit of Windows.
inline constexpr int kMaxPathCharacters = 32767;
// Sent to the main window when Shell asks for a redraw.
inline constexpr UINT kRefreshMessage = WM_APP + 1;
// Posted to a resizable dialog once the system has scaled it.
inline constexpr UINT kRecordAnchors = WM_APP + 2;

// UTF-8 to and from the system's UTF-16.
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// A control's or a window's text, UTF-8.
std::string windowText(HWND window);
void setWindowText(HWND window, const std::string& utf8Text);

// A rich edit box as the script and report views use it: plain text in the
// fixed-width `font`, no length limit below `limit` characters.
void prepareTextBox(HWND box, HFONT font, std::size_t limit);
// Its text with CR LF line ends, and a new text (any line ends).
std::string textBoxText(HWND box);
void setTextBoxText(HWND box, std::string_view utf8Text);
// Selects characters [from, to) of `text`, the box's text with LF line ends,
// scrolls them into sight and returns the text selected.
std::string selectInTextBox(HWND box, std::string_view text, const TextSpan& span);

// The file chooser: a file that exists, or nothing when cancelled.
std::optional<std::string> chooseFile(HWND owner, const char* title,
                                      std::span<const FileFilter> filters,
                                      const std::string& folder, const std::string& fileName);

// The test hook: writes `bytes` to `path` when the path is set.
void writeTrace(const std::wstring& path, std::string_view bytes);

// Pixels for a size given at 96 DPI.
int scaled(int pixels, UINT dpi);
// The fonts of a window at its DPI: the system's message font and a
// fixed-width one for script texts. Deleted with the object.
struct Fonts {
  HFONT text = nullptr;
  HFONT fixed = nullptr;
  void create(UINT dpi);
  void release();
  ~Fonts() { release(); }
};

// Keeps a dialog's controls in place when it is resized: each control moves
// or grows by a share of the size change.
class Anchors {
 public:
  struct Rule {
    int id;
    float left, top, right, bottom;  // share of the width/height change per edge
  };
  void record(HWND dialog, std::span<const Rule> rules);
  void apply(HWND dialog) const;
  // After a change of scale the system has placed the controls: apply()
  // leaves them until `kRecordAnchors` reaches the dialog, which records
  // them again.
  void suspend(HWND dialog);
  void recordAgain(HWND dialog);

 private:
  std::vector<Rule> rules_;
  struct Placed {
    Rule rule;
    RECT rect;
  };
  SIZE initial_{};
  std::vector<Placed> placed_;
};

// A dialog made from a resource template whose procedure forwards to this
// object; the object is deleted with the dialog. Its controls follow
// `anchors_` when it is resized.
class Dialog {
 public:
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the dialog from its template, hidden.
  HWND create(const wchar_t* resource, HWND owner);

 protected:
  Dialog() = default;
  HWND item(int id) const { return GetDlgItem(dialog_, id); }

  virtual void init() {}
  // A button pressed, a menu item or an accelerator; not Annuler or Escape,
  // which close().
  virtual void command(int id) = 0;
  virtual void notify(const NMHDR&) {}
  // The dialog moved to a monitor of another scale: the system resizes the
  // controls, the dialog sets its own fonts again.
  virtual void dpiChanged(UINT) {}
  // The close box, Annuler or Escape.
  virtual void close() = 0;

  HWND dialog_ = nullptr;
  Anchors anchors_;

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

// A list view's column: its title, width at 96 DPI and alignment (LVCFMT_*).
struct ListColumn {
  const wchar_t* title;
  int width;
  int format;
};
// A report list view with full-row selection and these columns at `dpi`.
void prepareList(HWND list, std::span<const ListColumn> columns, UINT dpi);
// Adds a row at the end of the list, a cell per column.
void addListRow(HWND list, std::span<std::wstring> cells);

// Puts a dialog beside `main` (right, else below) when there is room.
void placeBeside(HWND main, HWND dialog);

// The platform as the window uses it: message boxes over the active window;
// redrawing repaints the main window.
class Win32Platform : public SystemPlatform {
 public:
  void messageBox(const std::string& text, const std::string& title, BoxIcon icon) override;
  void redrawMainWindow() override;

  HWND main = nullptr;
};

// A message box over the active window of the program.
int showMessage(HWND fallbackOwner, const std::string& text, const std::string& title, UINT flags);

// The dialogs, created hidden; they live to the end of the program.
enum class DialogKind { kCheckFile, kFormatFile, kPreferences, kDependencies, kScript };
HWND createShellDialog(HWND main, Shell& shell, DialogKind kind);
// Routes a message to the dialog it belongs to (keyboard navigation).
bool dialogMessage(HWND main, MSG& message);
// Selects a span of the script dialog's box; the text selected.
std::string selectInScriptDialog(HWND dialog, std::string_view text, const TextSpan& span);

// "Débuguer un plugin...": the chooser, then the dialog; a dropped plugin
// opens the dialog at once. With a trace path the rows and the selected
// report are written to "<trace>.plugin".
void choosePlugin(HWND main, Shell& shell, const std::wstring& trace);
void openPluginDialog(HWND main, Shell& shell, const std::string& path, const std::wstring& trace);

// The main window class and its creation.
bool registerMainWindow(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance, const ShellAddresses& addresses, std::wstring trace);

}  // namespace lintaro::win32
