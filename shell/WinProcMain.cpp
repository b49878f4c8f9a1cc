// The main window: menu, accelerator, status line, icon and file drops.
#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/ffile.h>

#include "shell/Platform.h"
#include "shell/PluginDialog.h"
#include "shell/PluginView.h"
#include "shell/WinProc.h"

namespace lintaro {

namespace {

// The program's icon: a parchment with a red check mark.
wxIcon drawIcon() {
  wxBitmap bitmap(32, 32);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxColour(0x2b, 0x3a, 0x55)));
    dc.Clear();
    dc.SetPen(wxPen(wxColour(0x6b, 0x4e, 0x2a)));
    dc.SetBrush(wxBrush(wxColour(0xee, 0xdf, 0xb8)));
    dc.DrawRoundedRectangle(6, 3, 20, 26, 3);
    dc.SetPen(wxPen(wxColour(0x80, 0x70, 0x50)));
    for (int y = 9; y <= 21; y += 4)
      dc.DrawLine(10, y, 22, y);
    dc.SetPen(wxPen(wxColour(0xc0, 0x20, 0x20), 3));
    dc.DrawLine(12, 22, 16, 27);
    dc.DrawLine(16, 27, 27, 12);
  }
  wxIcon icon;
  icon.CopyFromBitmap(bitmap);
  return icon;
}

class ScriptDropTarget : public wxFileDropTarget {
 public:
  ScriptDropTarget(wxWindow* frame, Shell& shell, wxString trace)
      : frame_(frame), shell_(shell), trace_(std::move(trace)) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    if (files.empty()) return false;
    if (plugin::isPluginPath(fromWx(files[0]))) {
      openPluginDialog(frame_, shell_, fromWx(files[0]), trace_);
      return true;
    }
    shell_.checkDroppedFile(fromWx(files[0]));
    return true;
  }

 private:
  wxWindow* frame_;
  Shell& shell_;
  wxString trace_;
};

}  // namespace

void WxPlatform::messageBox(const std::string& text, const std::string& title, BoxIcon icon) {
  wxWindow* parent = wxGetActiveWindow();
  if (parent == nullptr) parent = &frame_;
  // Line breaks are written CR LF in the texts; GTK labels want bare LF.
  wxMessageBox(toWx(crlfToLf(text)), toWx(title),
               wxOK | wxCENTRE | (icon == BoxIcon::Information ? wxICON_INFORMATION : wxICON_NONE),
               parent);
}

void WxPlatform::redrawMainWindow() {
  frame_.refresh();
}

MainFrame::MainFrame(const ShellAddresses& addresses, wxString statusTracePath)
    : wxFrame(nullptr, wxID_ANY, "Lintaro", wxDefaultPosition, wxSize(460, 440),
              wxDEFAULT_FRAME_STYLE),
      platform_(*this),
      shell_(platform_, addresses),
      statusTracePath_(std::move(statusTracePath)) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  SetIcon(drawIcon());
  buildMenu();
  buildResults();
  wxAcceleratorEntry quit(wxACCEL_ALT, WXK_F4, kCmdQuit);
  SetAcceleratorTable(wxAcceleratorTable(1, &quit));
  SetDropTarget(new ScriptDropTarget(this, shell_, statusTracePath_));
  shell_.onCreate();
  fillRecentMenu();
  Bind(wxEVT_MENU, &MainFrame::onCommand, this, kCmdCheckFile,
       kCmdRecentFirst + static_cast<int>(kRecentFileCount) - 1);
  Move(0, 0);
}

void MainFrame::buildMenu() {
  // Labels as they always were, with their keyboard mnemonics.
  files_ = new wxMenu;
  files_->Append(kCmdCheckScript, toWx("Débuguer un &script"));
  files_->Append(kCmdCheckFile, toWx("Débuguer un &fichier"));
  files_->Append(kCmdCheckPlugin, toWx("Débuguer un p&lugin..."));
  files_->AppendSeparator();
  files_->Append(kCmdFormatFile, "&Mettre en forme un fichier");
  files_->AppendSeparator();
  files_->Append(kCmdPreferences, toWx("&Préférences"));
  files_->Append(kCmdDependencies, toWx("&Dépendances"));
  files_->AppendSeparator();
  files_->Append(kCmdConsole, "&Version Shell");
  files_->Append(kCmdQuit, "&Quitter\tAlt+F4");

  auto* resources = new wxMenu;
  resources->Append(kCmdClean, "&Nettoyer l'espace");
  resources->Append(kCmdReset, toWx("&Remettre par défaut"));

  auto* help = new wxMenu;
  help->Append(kCmdHelp, "&Aide");
  help->AppendSeparator();
  help->Append(kCmdSite, "Le site &Forumia");
  help->Append(kCmdContact, "Me &contacter");

  auto* about = new wxMenu;
  about->Append(kCmdAbout, toWx("&A propos du débugueur..."));

  auto* bar = new wxMenuBar;
  bar->Append(files_, "&Fichiers...");
  bar->Append(resources, "&Ressources");
  bar->Append(help, "&Menu d'aide");
  bar->Append(about, "&?");
  SetMenuBar(bar);
}

// The status line on top, the findings of the last check, the button that
// opens its report and the checked text, read-only.
void MainFrame::buildResults() {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  status_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(-1, 32));
  status_->Bind(wxEVT_PAINT, &MainFrame::onStatusPaint, this);
  status_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    status_->Refresh();
    event.Skip();
  });
  sizer->Add(status_, 0, wxEXPAND);
  findings_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(-1, 150),
                             wxLC_REPORT | wxLC_SINGLE_SEL);
  findings_->AppendColumn("Ligne", wxLIST_FORMAT_RIGHT, 50);
  findings_->AppendColumn("Type", wxLIST_FORMAT_LEFT, 60);
  findings_->AppendColumn("Code", wxLIST_FORMAT_LEFT, 60);
  findings_->AppendColumn("Message", wxLIST_FORMAT_LEFT, 600);
  findings_->Bind(wxEVT_LIST_ITEM_SELECTED, &MainFrame::onFindingSelected, this);
  sizer->Add(findings_, 1, wxEXPAND | wxLEFT | wxRIGHT, 4);
  openReport_ = new wxButton(this, kCmdOpenReport, "&Ouvrir le rapport");
  openReport_->Disable();
  openReport_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { shell_.openReport(); });
  sizer->Add(openReport_, 0, wxALIGN_RIGHT | wxALL, 4);
  scriptView_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(-1, 150),
                               wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);
  scriptView_->SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE)));
  sizer->Add(scriptView_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
  SetSizer(sizer);
}

void MainFrame::fillRecentMenu() {
  if (shell_.recentFiles() == shownRecent_) return;
  for (wxMenuItem* item : recentItems_)
    files_->Destroy(item);
  recentItems_.clear();
  shownRecent_ = shell_.recentFiles();
  // Before "Version Shell", "Quitter" and their separator.
  std::size_t at = files_->GetMenuItemCount() - 2;
  if (!shownRecent_.empty()) recentItems_.push_back(files_->InsertSeparator(at++));
  for (std::size_t i = 0; i < shownRecent_.size(); ++i) {
    wxString label;
    label << "&" << (i + 1) << " " << toWx(shownRecent_[i]);
    recentItems_.push_back(files_->Insert(at++, kCmdRecentFirst + static_cast<int>(i), label));
  }
}

void MainFrame::refresh() {
  status_->Refresh(true);
  status_->Update();
  fillRecentMenu();
  if (shell_.checkCount() == shownChecks_) return;
  shownChecks_ = shell_.checkCount();
  const CheckView& view = shell_.lastCheck();
  findings_->DeleteAllItems();
  for (std::size_t i = 0; i < view.findings.size(); ++i) {
    const Finding& finding = view.findings[i];
    const long row = findings_->InsertItem(static_cast<long>(i),
                                           finding.line > 0 ? wxString() << finding.line : "-");
    findings_->SetItem(row, 1, kindLabel(finding.error));
    findings_->SetItem(row, 2, toWx(finding.code));
    findings_->SetItem(row, 3, toWx(finding.message));
  }
  scriptView_->ChangeValue(toWx(view.text));
  openReport_->Enable(view.valid);
}

void MainFrame::onFindingSelected(wxListEvent& event) {
  const auto index = static_cast<std::size_t>(event.GetIndex());
  const std::optional<TextSpan> span = shell_.findingSpan(index);
  if (!span) return;
  const auto from = static_cast<long>(span->from);
  const auto to = static_cast<long>(span->to);
  scriptView_->ShowPosition(from);
  scriptView_->SetSelection(from, to);
  wxString selected = scriptView_->GetStringSelection();
  if (shell_.lastCheck().pasted && checkScript_ != nullptr && checkScript_->IsShown())
    selected = static_cast<ShellDialog*>(checkScript_)->selectInScript(*span);
  // Test hook: the end-to-end test reads the selected line from this file.
  if (!statusTracePath_.empty()) {
    wxFFile trace(statusTracePath_ + ".selection", "wb");
    const std::string text = fromWx(selected);
    if (trace.IsOpened()) trace.Write(text.data(), text.size());
  }
}

void MainFrame::onStatusPaint(wxPaintEvent&) {
  wxPaintDC dc(status_);
  const std::string text = shell_.statusLine();
  dc.SetTextForeground(wxColour(0x50, 0x50, 0x50));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawLabel(toWx(text), status_->GetClientRect(), wxALIGN_CENTER);
  // Test hook: the end-to-end test reads the drawn status line from this file.
  if (!statusTracePath_.empty()) {
    wxFFile trace(statusTracePath_, "wb");
    if (trace.IsOpened()) trace.Write(text.data(), text.size());
  }
}

// A dialog opens beside the main window, so the findings stay in sight; below
// it when there is no room on the right, where it was otherwise.
void MainFrame::placeBesideFrame(wxDialog* dialog) {
  const wxRect frame = GetRect();
  const wxRect screen = wxDisplay::GetCount() > 0 ? wxGetClientDisplayRect() : wxRect();
  const wxSize size = dialog->GetSize();
  if (frame.GetRight() + 8 + size.x <= screen.GetRight()) {
    dialog->Move(frame.GetRight() + 8, frame.GetTop());
  } else if (frame.GetBottom() + 8 + size.y <= screen.GetBottom()) {
    dialog->Move(frame.GetLeft(), frame.GetBottom() + 8);
  }
}

void MainFrame::onCommand(wxCommandEvent& event) {
  const auto show = [this](wxDialog*& dialog, wxDialog* (*create)(wxWindow*, Shell&)) {
    if (dialog == nullptr) {
      dialog = create(this, shell_);
      placeBesideFrame(dialog);
    }
    dialog->Show();
    dialog->Raise();
  };
  const int id = event.GetId();
  if (id >= kCmdRecentFirst && id < kCmdRecentFirst + static_cast<int>(kRecentFileCount)) {
    shell_.checkRecent(static_cast<std::size_t>(id - kCmdRecentFirst));
    return;
  }
  switch (id) {
    case kCmdCheckFile:
      show(checkFile_, createCheckFileDialog);
      break;
    case kCmdCheckScript:
      show(checkScript_, createCheckScriptDialog);
      break;
    case kCmdPreferences:
      show(preferences_, createPreferencesDialog);
      break;
    case kCmdDependencies:
      show(dependencies_, createDependenciesDialog);
      break;
    case kCmdCheckPlugin:
      choosePlugin(this, shell_, statusTracePath_);
      break;
    case kCmdFormatFile:
      show(formatFile_, createFormatFileDialog);
      break;
    case kCmdClean:
      shell_.clean();
      break;
    case kCmdReset:
      shell_.reset();
      break;
    case kCmdHelp:
      shell_.help();
      break;
    case kCmdSite:
      shell_.site();
      break;
    case kCmdAbout:
      shell_.about();
      break;
    case kCmdConsole:
      if (shell_.startConsoleVersion()) Destroy();
      break;
    case kCmdContact:
      shell_.contact();
      break;
    case kCmdQuit:
      Destroy();
      break;
    default:
      event.Skip();
      break;
  }
}

}  // namespace lintaro
