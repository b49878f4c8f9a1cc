// The six modeless dialogs. Each button hands the controls' contents to Shell
// and applies the outcome (stay, hide, new text for a box); closing hides.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <array>

#include "Resource.h"
#include "Window.h"
#include "core/ScriptInput.h"

namespace lintaro::win32 {

namespace {

// Closing hides the dialog: it lives to the end of the program.
class ShellDialog : public Dialog {
 public:
  ShellDialog(Shell& shell, HWND main) : shell_(shell), main_(main) {}

 protected:
  void close() override { ShowWindow(dialog_, SW_HIDE); }
  void apply(DialogAction action) {
    if (action == DialogAction::Hide) close();
  }

  // A name field: the current file name at creation; "Parcourir..." fills it
  // from the file chooser.
  void initNameField(int id) {
    SendMessageW(item(id), EM_LIMITTEXT, kMaxPathCharacters, 0);
    setWindowText(item(id), shell_.fileName());
  }
  void browse(int id) {
    HWND field = item(id);
    const std::optional<std::string> chosen =
        chooseFile(dialog_, "Choisir un script", kScriptFileFilters, shell_.browseFolder(),
                   shell_.browseFileName(windowText(field)));
    if (!chosen) return;
    setWindowText(field, shell_.fileChosen(*chosen));
    // Return now presses OK.
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDOK)), TRUE);
  }

  Shell& shell_;
  HWND main_;
};

// "Débuguer un fichier" and "Mettre en forme un fichier".
class FileDialog : public ShellDialog {
 public:
  FileDialog(Shell& shell, HWND main, bool format)
      : ShellDialog(shell, main),
        format_(format),
        field_(format ? IDC_FORMAT_NAME : IDC_CHECK_NAME) {}

 private:
  void init() override { initNameField(field_); }
  void command(int id) override {
    const std::string typed = windowText(item(field_));
    if (id == IDOK) apply(format_ ? shell_.formatFileOk(typed) : shell_.checkFileOk(typed));
    if (id == IDC_OPEN_FILE) shell_.openTypedFile(typed);
    if (id == IDC_BROWSE) browse(field_);
  }

  bool format_;
  int field_;
};

// "Préférences" and "Type de script": check boxes, OK and Annuler. The boxes
// are set when the dialog is created and keep their state afterwards.
class SettingsDialog : public ShellDialog {
 public:
  SettingsDialog(Shell& shell, HWND main, bool preferences)
      : ShellDialog(shell, main), preferences_(preferences) {}

 private:
  void init() override {
    const Settings& s = shell_.settings();
    const auto check = [this](int id, std::int32_t value) {
      CheckDlgButton(dialog_, id, value == 1 ? BST_CHECKED : BST_UNCHECKED);
    };
    if (preferences_) {
      check(IDC_SHOW_REPORT, s.showReport);
      check(IDC_SHOW_INFO, s.showInfo);
      check(IDC_HIDE_ALERTS, s.hideAlerts);
    } else {
      check(IDC_TRIBUNAL, s.tribunal);
      check(IDC_BLOODMOON, s.bloodmoon);
    }
  }
  void command(int id) override {
    if (id != IDOK) return;
    const auto checked = [this](int box) {
      return IsDlgButtonChecked(dialog_, box) == BST_CHECKED;
    };
    apply(preferences_ ? shell_.preferencesOk(checked(IDC_SHOW_REPORT), checked(IDC_SHOW_INFO),
                                              checked(IDC_HIDE_ALERTS))
                       : shell_.dependenciesOk(checked(IDC_TRIBUNAL), checked(IDC_BLOODMOON)));
  }

  bool preferences_;
};

// "Charger...": loads a file into the script box of the dialog that opened it.
class LoadDialog : public ShellDialog {
 public:
  LoadDialog(Shell& shell, HWND main, HWND scriptBox) : ShellDialog(shell, main), box_(scriptBox) {}

 private:
  void init() override { initNameField(IDC_LOAD_NAME); }
  void command(int id) override {
    if (id == IDC_BROWSE) browse(IDC_LOAD_NAME);
    if (id != IDOK) return;
    const LoadOutcome outcome = shell_.loadOk(windowText(item(IDC_LOAD_NAME)));
    if (outcome.scriptText) setTextBoxText(box_, *outcome.scriptText);
    apply(outcome.action);
  }

  HWND box_;
};

// The script box: Tab writes a tab and Ctrl+Tab leaves the box, Escape is
// the dialog's; each word and line typed is its own undo step (Ctrl+Z, Ctrl+Y).
LRESULT CALLBACK scriptBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR) {
  const bool control = GetKeyState(VK_CONTROL) < 0;
  switch (message) {
    case WM_GETDLGCODE: {
      const LRESULT code = DefSubclassProc(box, message, wParam, lParam);
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN &&
          (key->wParam == VK_ESCAPE || (key->wParam == VK_TAB && control)))
        return code & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_WANTTAB);
      // Focus leaves the text unselected.
      return (code | DLGC_WANTALLKEYS | DLGC_WANTTAB) & ~DLGC_HASSETSEL;
    }
    case WM_KEYDOWN:
      if (wParam == VK_TAB && !control) {
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
        SendMessageW(box, EM_STOPGROUPTYPING, 0, 0);
        return 0;
      }
      break;
    case WM_CHAR: {
      if (wParam == L'\t') return 0;  // written on the key press
      const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
      if (wParam == L' ' || wParam == L'\r') SendMessageW(box, EM_STOPGROUPTYPING, 0, 0);
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

// "Débuguer un script".
class ScriptDialog : public ShellDialog {
 public:
  ScriptDialog(Shell& shell, HWND main) : ShellDialog(shell, main) {}

  HWND box() const { return item(IDC_SCRIPT_BOX); }

 private:
  void init() override {
    fonts_.create(GetDpiForWindow(dialog_));
    // The pasted text has the engine's limits only: one character more lets
    // a longer paste reach the check, which refuses it with its message.
    prepareTextBox(box(), fonts_.fixed, kMaxScriptBytes + 1);
    SetWindowSubclass(box(), scriptBoxProcedure, 1, 0);
    static constexpr std::array<Anchors::Rule, 6> kRules = {{
        {IDC_CARET, 1, 0, 1, 0},
        {IDC_SCRIPT_BOX, 0, 0, 1, 1},
        {IDOK, 0.5f, 1, 0.5f, 1},
        {IDC_FORMAT_SCRIPT, 0.5f, 1, 0.5f, 1},
        {IDC_LOAD_FILE, 0.5f, 1, 0.5f, 1},
        {IDCANCEL, 0.5f, 1, 0.5f, 1},
    }};
    anchors_.record(dialog_, kRules);
  }

  void command(int id) override {
    if (id == IDOK) {
      const ScriptOkOutcome outcome = shell_.scriptOk(textBoxText(box()));
      if (outcome.clearBox) setTextBoxText(box(), "");
      apply(outcome.action);
    } else if (id == IDC_FORMAT_SCRIPT) {
      if (const std::optional<std::string> text = shell_.scriptFormat(textBoxText(box())))
        setTextBoxText(box(), *text);
    } else if (id == IDC_LOAD_FILE) {
      if (load_ == nullptr) {
        load_ = (new LoadDialog(shell_, main_, box()))->create(L"DIALOG6", dialog_);
        if (load_ != nullptr) placeBeside(dialog_, load_);
      }
      if (load_ != nullptr) {
        ShowWindow(load_, SW_SHOWNORMAL);
        SetForegroundWindow(load_);
      }
    }
  }

  void dpiChanged(UINT dpi) override {
    fonts_.create(dpi);
    SendMessageW(box(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.fixed), TRUE);
  }

  void notify(const NMHDR& header) override {
    if (header.idFrom != IDC_SCRIPT_BOX || header.code != EN_SELCHANGE) return;
    // The end of the selection, within the text (the box may select its
    // final paragraph mark too).
    const auto& change = reinterpret_cast<const SELCHANGE&>(header);
    GETTEXTLENGTHEX query{GTL_DEFAULT, 1200};
    const LRESULT length =
        SendMessageW(box(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0);
    const LPARAM at = std::clamp<LPARAM>(change.chrg.cpMax, 0, std::max<LRESULT>(length, 0));
    const LRESULT line = std::max<LRESULT>(SendMessageW(box(), EM_EXLINEFROMCHAR, 0, at), 0);
    const LRESULT start =
        std::clamp<LRESULT>(SendMessageW(box(), EM_LINEINDEX, static_cast<WPARAM>(line), 0), 0, at);
    const std::wstring caret =
        L"Ligne " + std::to_wstring(line + 1) + L", colonne " + std::to_wstring(at - start + 1);
    SetWindowTextW(item(IDC_CARET), caret.c_str());
  }

  Fonts fonts_;
  HWND load_ = nullptr;
};

}  // namespace

HWND createShellDialog(HWND main, Shell& shell, DialogKind kind) {
  switch (kind) {
    case DialogKind::kCheckFile:
      return (new FileDialog(shell, main, false))->create(L"DIALOG1", main);
    case DialogKind::kPreferences:
      return (new SettingsDialog(shell, main, true))->create(L"DIALOG2", main);
    case DialogKind::kDependencies:
      return (new SettingsDialog(shell, main, false))->create(L"DIALOG3", main);
    case DialogKind::kScript:
      return (new ScriptDialog(shell, main))->create(L"DIALOG4", main);
    case DialogKind::kFormatFile:
      return (new FileDialog(shell, main, true))->create(L"DIALOG5", main);
  }
  return nullptr;
}

std::string selectInScriptDialog(HWND dialog, std::string_view text, const TextSpan& span) {
  return selectInTextBox(GetDlgItem(dialog, IDC_SCRIPT_BOX), text, span);
}

bool dialogMessage(HWND main, MSG& message) {
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root == nullptr || root == main) return false;
  // Dialogs are of the system's class "#32770".
  constexpr ATOM kDialogClass = 32770;
  if (GetClassLongPtrW(root, GCW_ATOM) != kDialogClass) return false;
  return IsDialogMessageW(root, &message) != FALSE;
}

}  // namespace lintaro::win32
