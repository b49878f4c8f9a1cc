// lintaro: the window of the checker.
#include <wx/wx.h>

#include "shell/WinProc.h"

namespace lintaro {

class LintaroApp : public wxApp {
 public:
  bool OnInit() override {
    wxString trace;
    wxGetEnv("LINTARO_TRACE_ETAT", &trace);
    auto* frame = new MainFrame(defaultShellAddresses(), trace);
    frame->Show();
    return true;
  }
};

}  // namespace lintaro

wxIMPLEMENT_APP(lintaro::LintaroApp);
