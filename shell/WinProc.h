// The wxWidgets front end of the window: the main frame with its menu and
// status line, and the six modeless dialogs. The behaviour lives in Shell
// (shell/WinProcLogic.h); these classes only build the controls and move
// their contents to and from it.
#pragma once

#include <wx/listctrl.h>
#include <wx/wx.h>

#include "shell/Platform.h"
#include "shell/WinProcLogic.h"

namespace lintaro {

// Menu command numbers.
enum MenuCommand : int {
  kCmdCheckFile = 40001,
  kCmdPreferences = 40002,
  kCmdHelp = 40003,
  kCmdContact = 40004,
  kCmdQuit = 40005,
  kCmdFormatFile = 40006,
  kCmdDependencies = 40027,
  kCmdCheckScript = 40029,
  kCmdAbout = 40030,
  kCmdSite = 40031,
  kCmdConsole = 40032,
  kCmdClean = 40033,
  kCmdReset = 40034,
  kCmdOpenReport = 40035,
  kCmdCheckPlugin = 40036,
  kCmdRecentFirst = 40040,  // the recent files, kRecentFileCount numbers
};

class MainFrame;

// The platform as the window uses it: message boxes are wx message boxes
// over the active window, redrawing repaints the main frame.
class WxPlatform : public SystemPlatform {
 public:
  explicit WxPlatform(MainFrame& frame) : frame_(frame) {}
  void messageBox(const std::string& text, const std::string& title, BoxIcon icon) override;
  void redrawMainWindow() override;

 private:
  MainFrame& frame_;
};

// A dialog that lives from its first use to the end of the program: closing
// it only hides it.
class ShellDialog : public wxDialog {
 public:
  ShellDialog(wxWindow* parent, const wxString& title, long style = wxDEFAULT_DIALOG_STYLE);
  // Selects characters of the script box, for a dialog that has one, and
  // returns the text selected.
  virtual wxString selectInScript(const TextSpan&) { return {}; }

 protected:
  // Applies a dialog outcome.
  void apply(DialogAction action);
  // A row of push buttons; the first is the default one.
  wxSizer* buttonRow(std::initializer_list<std::pair<int, wxString>> buttons);
  // A "Nom du fichier :" row: the label, the edit box and "Parcourir...".
  wxSizer* fileNameRow(wxTextCtrl*& edit, int id, Shell& shell);
  void finish(wxSizer* content);
};

class MainFrame : public wxFrame {
 public:
  MainFrame(const ShellAddresses& addresses, wxString statusTracePath);

  Shell& shell() { return shell_; }
  // Shows the status line and, after a new check, its findings.
  void refresh();

 private:
  void buildMenu();
  void buildResults();
  void fillRecentMenu();
  void onStatusPaint(wxPaintEvent& event);
  void onCommand(wxCommandEvent& event);
  void onFindingSelected(wxListEvent& event);
  void placeBesideFrame(wxDialog* dialog);

  WxPlatform platform_;
  Shell shell_;
  wxString statusTracePath_;
  wxPanel* status_ = nullptr;
  wxListCtrl* findings_ = nullptr;
  wxTextCtrl* scriptView_ = nullptr;
  wxButton* openReport_ = nullptr;
  wxMenu* files_ = nullptr;
  std::vector<wxMenuItem*> recentItems_;
  std::vector<std::string> shownRecent_;
  std::size_t shownChecks_ = 0;
  wxDialog* checkFile_ = nullptr;
  wxDialog* checkScript_ = nullptr;
  wxDialog* preferences_ = nullptr;
  wxDialog* dependencies_ = nullptr;
  wxDialog* formatFile_ = nullptr;
};

// The six dialogs, by their procedures.
wxDialog* createCheckFileDialog(wxWindow* parent, Shell& shell);     // "Débuguer un fichier"
wxDialog* createPreferencesDialog(wxWindow* parent, Shell& shell);   // "Préférences"
wxDialog* createDependenciesDialog(wxWindow* parent, Shell& shell);  // "Type de script"
wxDialog* createCheckScriptDialog(wxWindow* parent, Shell& shell);   // "Débuguer un script"
wxDialog* createFormatFileDialog(wxWindow* parent, Shell& shell);    // "Mettre en forme..."

// A file chooser's wildcard: "label|patterns|label|patterns".
template <std::size_t N>
wxString wildcard(const FileFilter (&filters)[N]) {
  wxString text;
  for (const FileFilter& filter : filters)
    text << (text.empty() ? "" : "|") << wxString::FromUTF8(filter.label) << "|" << filter.patterns;
  return text;
}

// UTF-8 to and from wxString.
inline wxString toWx(const std::string& utf8) {
  return wxString::FromUTF8(utf8);
}
inline std::string fromWx(const wxString& text) {
  return std::string(text.utf8_str());
}

}  // namespace lintaro
