// The "Débuguer un plugin" dialog: the plugin's masters and expansions, its
// scripts in a sortable list, the selected script's report and a button that
// saves the combined report in the working folder.
#include "shell/PluginDialog.h"

#include <wx/ffile.h>
#include <wx/listctrl.h>

#include "shell/Platform.h"
#include "shell/PluginView.h"
#include "shell/WinProc.h"

namespace lintaro {

namespace {

constexpr int kColumnCount = 4;

class PluginDialog : public wxDialog {
 public:
  PluginDialog(wxWindow* parent, PluginView view, wxString tracePath)
      : wxDialog(parent, wxID_ANY, toWx("Débuguer un plugin : " + view.fileName), wxDefaultPosition,
                 wxSize(720, 560), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
        view_(std::move(view)),
        tracePath_(std::move(tracePath)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, toWx(pluginHeadText(view_))), 0, wxALL, 8);

    list_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(-1, 180),
                           wxLC_REPORT | wxLC_SINGLE_SEL);
    list_->AppendColumn("Nom", wxLIST_FORMAT_LEFT, 380);
    list_->AppendColumn("Type", wxLIST_FORMAT_LEFT, 90);
    list_->AppendColumn("Erreurs", wxLIST_FORMAT_RIGHT, 80);
    list_->AppendColumn("Alertes", wxLIST_FORMAT_RIGHT, 80);
    list_->Bind(wxEVT_LIST_COL_CLICK, &PluginDialog::onColumn, this);
    list_->Bind(wxEVT_LIST_ITEM_SELECTED, &PluginDialog::onSelected, this);
    sizer->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);

    report_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(-1, 200),
                             wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);
    report_->SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE)));
    sizer->Add(report_, 1, wxEXPAND | wxALL, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* save = new wxButton(this, wxID_ANY, "&Enregistrer le rapport");
    save->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { onSave(); });
    buttons->Add(save, 0, wxRIGHT, 8);
    auto* close = new wxButton(this, wxID_CLOSE, "&Fermer");
    close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Destroy(); });
    buttons->Add(close);
    sizer->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(sizer);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Destroy(); });
    save->SetDefault();

    fill();
    if (!view_.rows.empty())
      list_->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                          wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    trace();
  }

 private:
  void fill() {
    list_->DeleteAllItems();
    for (std::size_t i = 0; i < view_.rows.size(); ++i) {
      const PluginRow& row = view_.rows[i];
      const long item = list_->InsertItem(static_cast<long>(i), toWx(row.label));
      list_->SetItem(item, 1, toWx(pluginKindLabel(row)));
      list_->SetItem(item, 2, toWx(pluginCountText(row, row.errors)));
      list_->SetItem(item, 3, toWx(pluginCountText(row, row.alerts)));
    }
    for (int column = 0; column < kColumnCount; ++column) {
      const bool sorted = column == static_cast<int>(view_.sortColumn);
      if (sorted) list_->ShowSortIndicator(column, view_.ascending);
    }
  }

  void onColumn(wxListEvent& event) {
    const int column = event.GetColumn();
    if (column < 0 || column >= kColumnCount) return;
    clickPluginColumn(view_, static_cast<PluginColumn>(column));
    selected_.reset();
    fill();
    report_->Clear();
    trace();
  }

  void onSelected(wxListEvent& event) {
    const long index = event.GetIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= view_.rows.size()) return;
    selected_ = static_cast<std::size_t>(index);
    report_->ChangeValue(toWx(view_.rows[*selected_].report));
    trace();
  }

  void onSave() {
    const PluginSaveOutcome outcome = saveCombinedReport(view_, currentDirectory());
    if (!outcome.saved) {
      wxMessageBox(toWx(outcome.message), "Erreur", wxOK | wxICON_ERROR, this);
      return;
    }
    wxMessageBox(toWx(outcome.message), toWx("Débuguer un plugin"), wxOK | wxICON_INFORMATION,
                 this);
  }

  // Test hook: the rows in their order, then the selected report.
  void trace() {
    if (tracePath_.empty()) return;
    const std::string text = pluginTraceText(view_, selected_);
    wxFFile file(tracePath_ + ".plugin", "wb");
    if (file.IsOpened()) file.Write(text.data(), text.size());
  }

  PluginView view_;
  wxString tracePath_;
  wxListCtrl* list_ = nullptr;
  wxTextCtrl* report_ = nullptr;
  std::optional<std::size_t> selected_;
};

}  // namespace

void openPluginDialog(wxWindow* parent, Shell& shell, const std::string& path,
                      const wxString& tracePath) {
  wxBusyCursor busy;
  PluginView view = loadPluginView(path, pluginCheckOptions(shell.settings()));
  if (!view.loaded) {
    wxMessageBox(toWx(view.error), toWx("Débuguer un plugin"), wxOK | wxICON_ERROR, parent);
    return;
  }
  auto* dialog = new PluginDialog(parent, std::move(view), tracePath);
  dialog->Show();
  dialog->Raise();
}

void choosePlugin(wxWindow* parent, Shell& shell, const wxString& tracePath) {
  wxFileDialog chooser(parent, "Choisir un plugin", toWx(shell.browseFolder()), wxEmptyString,
                       wildcard(kPluginFileFilters), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (chooser.ShowModal() != wxID_OK) return;
  const std::string path = fromWx(chooser.GetPath());
  shell.fileChosen(path);
  openPluginDialog(parent, shell, path, tracePath);
}

}  // namespace lintaro
