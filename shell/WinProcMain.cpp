// The main window: menu, accelerator, status line, icon and file drops.
#include <wx/dnd.h>
#include <wx/ffile.h>

#include "shell/Platform.h"
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
  explicit ScriptDropTarget(Shell& shell) : shell_(shell) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    if (files.empty()) return false;
    shell_.checkDroppedFile(fromWx(files[0]));
    return true;
  }

 private:
  Shell& shell_;
};

}  // namespace

bool WxPlatform::openDocument(const std::string& target) {
  return openWithDefaultProgram(target);
}
std::string WxPlatform::currentDirectory() {
  return lintaro::currentDirectory();
}
std::string WxPlatform::programDirectory() {
  return lintaro::programDirectory();
}
std::string WxPlatform::configDirectory() {
  return userConfigDirectory();
}
bool WxPlatform::startConsole(const std::string& program) {
  return startInTerminal(program);
}

void WxPlatform::messageBox(const std::string& text, const std::string& title, BoxIcon icon) {
  wxWindow* parent = wxGetActiveWindow();
  if (parent == nullptr) parent = &frame_;
  // Line breaks are written CR LF in the texts; GTK labels want bare LF.
  wxMessageBox(toWx(crlfToLf(text)), toWx(title),
               wxOK | wxCENTRE | (icon == BoxIcon::Information ? wxICON_INFORMATION : wxICON_NONE),
               parent);
}

void WxPlatform::redrawMainWindow() {
  frame_.Refresh(true);
  frame_.Update();
}

MainFrame::MainFrame(const ShellAddresses& addresses, wxString statusTracePath)
    : wxFrame(nullptr, wxID_ANY, "Lintaro", wxDefaultPosition, wxSize(300, 200),
              wxDEFAULT_FRAME_STYLE),
      platform_(*this),
      shell_(platform_, addresses),
      statusTracePath_(std::move(statusTracePath)) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  SetIcon(drawIcon());
  buildMenu();
  wxAcceleratorEntry quit(wxACCEL_ALT, WXK_F4, kCmdQuit);
  SetAcceleratorTable(wxAcceleratorTable(1, &quit));
  SetDropTarget(new ScriptDropTarget(shell_));
  shell_.onCreate();
  Bind(wxEVT_PAINT, &MainFrame::onPaint, this);
  Bind(wxEVT_SIZE, &MainFrame::onSize, this);
  Bind(wxEVT_MENU, &MainFrame::onCommand, this, kCmdCheckFile, kCmdReset);
}

void MainFrame::buildMenu() {
  auto* files = new wxMenu;
  files->Append(kCmdCheckScript, toWx("Débuguer un script"));
  files->Append(kCmdCheckFile, toWx("Débuguer un fichier"));
  files->AppendSeparator();
  files->Append(kCmdFormatFile, "Mettre en forme un fichier");
  files->AppendSeparator();
  files->Append(kCmdPreferences, toWx("Préférences"));
  files->Append(kCmdDependencies, toWx("Dépendances"));
  files->AppendSeparator();
  files->Append(kCmdConsole, "Version Shell");
  files->Append(kCmdQuit, "Quitter\tAlt+F4");

  auto* resources = new wxMenu;
  resources->Append(kCmdClean, "Nettoyer l'espace");
  resources->Append(kCmdReset, toWx("Remettre par défaut"));

  auto* help = new wxMenu;
  help->Append(kCmdHelp, "Aide");
  help->AppendSeparator();
  help->Append(kCmdSite, "Le site Forumia");
  help->Append(kCmdContact, "Me contacter");

  auto* about = new wxMenu;
  about->Append(kCmdAbout, toWx("A propos du débugueur..."));

  auto* bar = new wxMenuBar;
  bar->Append(files, "Fichiers...");
  bar->Append(resources, "Ressources");
  bar->Append(help, "Menu d'aide");
  bar->Append(about, "?");
  SetMenuBar(bar);
}

void MainFrame::onPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const std::string text = shell_.statusLine();
  dc.SetTextForeground(wxColour(0x50, 0x50, 0x50));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawLabel(toWx(text), GetClientRect(), wxALIGN_CENTER);
  // Test hook: the end-to-end test reads the drawn status line from this file.
  if (!statusTracePath_.empty()) {
    wxFFile trace(statusTracePath_, "wb");
    if (trace.IsOpened()) trace.Write(text.data(), text.size());
  }
}

void MainFrame::onSize(wxSizeEvent& event) {
  Refresh(true);
  event.Skip();
}

template <class D>
void MainFrame::showDialog(D*& dialog) {
  dialog->Show();
  dialog->Raise();
}

void MainFrame::onCommand(wxCommandEvent& event) {
  const auto show = [this](wxDialog*& dialog, wxDialog* (*create)(wxWindow*, Shell&)) {
    if (dialog == nullptr) dialog = create(this, shell_);
    showDialog(dialog);
  };
  switch (event.GetId()) {
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
