// The six modeless dialogs. Each button hands the controls' contents to
// Shell and applies the outcome (stay, hide, new text for a box).
#include <algorithm>
#include <functional>
#include <vector>

#include <wx/filedlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stc/stc.h>

#include "shell/WinProc.h"

namespace lintaro {

namespace {

// Control numbers.
constexpr int kIdOpenFile = 40008;
constexpr int kIdFormatScript = 40007;
constexpr int kIdLoadFile = 40009;
constexpr int kIdShowReport = 40011;
constexpr int kIdTribunal = 40012;
constexpr int kIdBloodmoon = 40013;
constexpr int kIdHideAlerts = 40014;
constexpr int kIdShowInfo = 40028;
constexpr int kIdScriptBox = 40029;
constexpr int kIdLoadName = 40010;

}  // namespace

ShellDialog::ShellDialog(wxWindow* parent, const wxString& title, long style)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, style) {
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Hide(); });
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); }, wxID_CANCEL);
}

void ShellDialog::apply(DialogAction action) {
  if (action == DialogAction::Hide) Hide();
}

wxSizer* ShellDialog::buttonRow(std::initializer_list<std::pair<int, wxString>> buttons) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  bool first = true;
  for (const auto& [id, label] : buttons) {
    auto* button = new wxButton(this, id, label);
    if (first) button->SetDefault();
    first = false;
    row->Add(button, 0, wxALL, 4);
  }
  return row;
}

wxSizer* ShellDialog::fileNameRow(wxTextCtrl*& edit, int id, Shell& shell) {
  const std::string initial = shell.fileName();
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, "Nom du fichier :"), 0, wxALIGN_CENTER_VERTICAL | wxALL,
           4);
  edit = new wxTextCtrl(this, id, toWx(initial), wxDefaultPosition, wxSize(260, -1));
  row->Add(edit, 1, wxALIGN_CENTER_VERTICAL | wxALL, 4);
  auto* browse = new wxButton(this, wxID_ANY, "&Parcourir...");
  wxTextCtrl* target = edit;
  browse->Bind(wxEVT_BUTTON, [this, target, &shell](wxCommandEvent&) {
    // Starts in the last folder used, on the file the field names when it is
    // there (never on a report that happens to sort first).
    wxFileDialog chooser(this, "Choisir un script", toWx(shell.browseFolder()),
                         toWx(shell.browseFileName(fromWx(target->GetValue()))),
                         wildcard(kScriptFileFilters), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (chooser.ShowModal() != wxID_OK) return;
    target->SetValue(toWx(shell.fileChosen(fromWx(chooser.GetPath()))));
    // Return now presses OK.
    if (wxWindow* ok = FindWindow(wxID_OK)) ok->SetFocus();
  });
  row->Add(browse, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
  return row;
}

void ShellDialog::finish(wxSizer* content) {
  auto* outer = new wxBoxSizer(wxVERTICAL);
  outer->Add(content, 1, wxEXPAND | wxALL, 8);
  SetSizerAndFit(outer);
  CentreOnParent();
}

namespace {

// "Débuguer un fichier" and "Mettre en forme un fichier".
class FileDialog : public ShellDialog {
 public:
  FileDialog(wxWindow* parent, Shell& shell, bool format)
      : ShellDialog(parent, toWx(format ? "Mettre en forme un fichier" : "Débuguer un fichier")) {
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(fileNameRow(edit_, format ? kCmdFormatFile : kCmdCheckFile, shell), 0, wxEXPAND);
    content->Add(
        buttonRow(
            {{wxID_OK, "&OK"}, {kIdOpenFile, "Ou&vrir le fichier"}, {wxID_CANCEL, "&Annuler"}}),
        0, wxALIGN_CENTER);
    finish(content);
    Bind(
        wxEVT_BUTTON,
        [this, &shell, format](wxCommandEvent&) {
          const std::string typed = fromWx(edit_->GetValue());
          apply(format ? shell.formatFileOk(typed) : shell.checkFileOk(typed));
        },
        wxID_OK);
    Bind(
        wxEVT_BUTTON,
        [this, &shell](wxCommandEvent&) { shell.openTypedFile(fromWx(edit_->GetValue())); },
        kIdOpenFile);
  }

 private:
  wxTextCtrl* edit_ = nullptr;
};

// "Préférences" and "Type de script": check boxes in a group, OK and Annuler.
class SettingsDialog : public ShellDialog {
 public:
  struct Box {
    int id;
    const char* label;
    bool checked;
  };

  SettingsDialog(wxWindow* parent, const wxString& title, const wxString& group,
                 std::initializer_list<Box> boxes, std::function<void(const bool*)> confirm)
      : ShellDialog(parent, title), confirm_(std::move(confirm)) {
    auto* content = new wxBoxSizer(wxVERTICAL);
    auto* groupSizer = new wxStaticBoxSizer(wxVERTICAL, this, group);
    for (const Box& box : boxes) {
      auto* check = new wxCheckBox(groupSizer->GetStaticBox(), box.id, toWx(box.label));
      if (box.checked) check->SetValue(true);
      groupSizer->Add(check, 0, wxALL, 4);
      checks_.push_back(check);
    }
    content->Add(groupSizer, 0, wxEXPAND | wxALL, 4);
    content->Add(buttonRow({{wxID_OK, "&OK"}, {wxID_CANCEL, "&Annuler"}}), 0, wxALIGN_CENTER);
    finish(content);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
          bool values[3] = {false, false, false};
          for (std::size_t i = 0; i < checks_.size() && i < 3; ++i)
            values[i] = checks_[i]->GetValue();
          confirm_(values);
          Hide();
        },
        wxID_OK);
  }

 private:
  std::function<void(const bool*)> confirm_;
  std::vector<wxCheckBox*> checks_;
};

// "Charger...": loads a file into the script box of the dialog that opened it.
class LoadDialog : public ShellDialog {
 public:
  LoadDialog(wxWindow* parent, Shell& shell, wxStyledTextCtrl* scriptBox)
      : ShellDialog(parent, "Charger...") {
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(fileNameRow(edit_, kIdLoadName, shell), 0, wxEXPAND);
    content->Add(buttonRow({{wxID_OK, "&OK"}, {wxID_CANCEL, "&Annuler"}}), 0, wxALIGN_CENTER);
    finish(content);
    Bind(
        wxEVT_BUTTON,
        [this, &shell, scriptBox](wxCommandEvent&) {
          const LoadOutcome outcome = shell.loadOk(fromWx(edit_->GetValue()));
          if (outcome.scriptText) scriptBox->SetValue(toWx(crlfToLf(*outcome.scriptText)));
          apply(outcome.action);
        },
        wxID_OK);
  }

 private:
  wxTextCtrl* edit_ = nullptr;
};

// "Débuguer un script".
class CheckScriptDialog : public ShellDialog {
 public:
  CheckScriptDialog(wxWindow* parent, Shell& shell)
      : ShellDialog(parent, toWx("Débuguer un script"), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    auto* content = new wxBoxSizer(wxVERTICAL);
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    head->Add(new wxStaticText(this, wxID_ANY, "Texte du script :"), 1, wxALL, 4);
    caret_ = new wxStaticText(this, wxID_ANY, "Ligne 1, colonne 1");
    head->Add(caret_, 0, wxALL, 4);
    content->Add(head, 0, wxEXPAND);
    // A fixed-width face, Tab writes a tab as the game's editor does, and
    // Ctrl+Z / Ctrl+Y undo and redo (GTK's own multi-line box has no undo).
    box_ = new wxStyledTextCtrl(this, kIdScriptBox, wxDefaultPosition, wxSize(560, 300));
    box_->StyleSetFont(wxSTC_STYLE_DEFAULT, wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    box_->StyleClearAll();
    box_->SetMarginWidth(1, 0);
    box_->SetUseTabs(true);
    box_->SetTabWidth(4);
    box_->SetWrapMode(wxSTC_WRAP_NONE);
    // The horizontal scroll bar follows the longest line shown.
    box_->SetScrollWidth(1);
    box_->SetScrollWidthTracking(true);
    // Ctrl+Tab leaves the box for the buttons, as in any other text box.
    box_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
      if (event.GetKeyCode() == WXK_TAB && event.ControlDown()) {
        box_->Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                                         : wxNavigationKeyEvent::IsForward);
        return;
      }
      event.Skip();
    });
    // The box would undo a whole run of typing at once: each word and line
    // typed is its own step.
    box_->Bind(wxEVT_STC_CHARADDED, [this](wxStyledTextEvent& event) {
      const int key = event.GetKey();
      if (key == ' ' || key == '\t' || key == '\n') {
        box_->BeginUndoAction();
        box_->EndUndoAction();
      }
      event.Skip();
    });
    box_->Bind(wxEVT_STC_UPDATEUI, [this](wxStyledTextEvent& event) {
      showCaret();
      event.Skip();
    });
    content->Add(box_, 1, wxEXPAND | wxALL, 4);
    content->Add(buttonRow({{wxID_OK, "&OK"},
                            {kIdFormatScript, "&Mettre en forme"},
                            {kIdLoadFile, "&Charger un fichier"},
                            {wxID_CANCEL, "&Annuler"}}),
                 0, wxALIGN_CENTER);
    finish(content);
    Bind(wxEVT_BUTTON, &CheckScriptDialog::onCancel, this, wxID_CANCEL);
    Bind(
        wxEVT_BUTTON,
        [this, &shell](wxCommandEvent&) {
          const ScriptOkOutcome outcome = shell.scriptOk(fromWx(box_->GetValue()));
          if (outcome.clearBox) box_->ClearAll();
          apply(outcome.action);
        },
        wxID_OK);
    Bind(
        wxEVT_BUTTON,
        [this, &shell](wxCommandEvent&) {
          if (const auto text = shell.scriptFormat(fromWx(box_->GetValue())))
            box_->SetValue(toWx(crlfToLf(*text)));
        },
        kIdFormatScript);
    Bind(
        wxEVT_BUTTON,
        [this, &shell](wxCommandEvent&) {
          if (load_ == nullptr) load_ = new LoadDialog(this, shell, box_);
          load_->Show();
          load_->Raise();
        },
        kIdLoadFile);
  }

 private:
  // The span counts characters; the box's positions count UTF-8 bytes.
  wxString selectInScript(const TextSpan& span) override {
    const int length = box_->GetLength();
    const auto position = [this, length](std::size_t characters) {
      if (characters == 0) return 0;
      const int at = box_->PositionRelative(
          0, static_cast<int>(std::min<std::size_t>(characters, static_cast<std::size_t>(length))));
      return at == 0 ? length : at;
    };
    const int from = position(span.from);
    const int to = position(span.to);
    box_->SetSelection(from, to);
    box_->ScrollRange(to, from);
    return box_->GetSelectedText();
  }

  void showCaret() {
    const int at = box_->GetCurrentPos();
    const int line = box_->LineFromPosition(at);
    const int column = box_->CountCharacters(box_->PositionFromLine(line), at);
    caret_->SetLabel(wxString::Format("Ligne %d, colonne %d", line + 1, column + 1));
  }

  // "Annuler" and Escape hide the dialog as closing does: the text stays.
  void onCancel(wxCommandEvent& event) { event.Skip(); }

  wxStyledTextCtrl* box_ = nullptr;
  wxStaticText* caret_ = nullptr;
  LoadDialog* load_ = nullptr;
};

}  // namespace

wxDialog* createCheckFileDialog(wxWindow* parent, Shell& shell) {
  return new FileDialog(parent, shell, false);
}

wxDialog* createFormatFileDialog(wxWindow* parent, Shell& shell) {
  return new FileDialog(parent, shell, true);
}

wxDialog* createPreferencesDialog(wxWindow* parent, Shell& shell) {
  const Settings& s = shell.settings();
  return new SettingsDialog(
      parent, toWx("Préférences"), "Rapport d'erreur",
      {{kIdShowReport, "Afficher le rapport d'erreur après traitement", s.showReport == 1},
       {kIdShowInfo, "Afficher les informations sur le script", s.showInfo == 1},
       {kIdHideAlerts, "Ne pas afficher les alertes", s.hideAlerts == 1}},
      [&shell](const bool* v) { shell.preferencesOk(v[0], v[1], v[2]); });
}

wxDialog* createDependenciesDialog(wxWindow* parent, Shell& shell) {
  const Settings& s = shell.settings();
  return new SettingsDialog(parent, "Type de script", toWx("Dépendances"),
                            {{kIdTribunal, "Mod Tribunal-dépendant", s.tribunal == 1},
                             {kIdBloodmoon, "Mod Bloodmoon-dépendant", s.bloodmoon == 1}},
                            [&shell](const bool* v) { shell.dependenciesOk(v[0], v[1]); });
}

wxDialog* createCheckScriptDialog(wxWindow* parent, Shell& shell) {
  return new CheckScriptDialog(parent, shell);
}

}  // namespace lintaro
