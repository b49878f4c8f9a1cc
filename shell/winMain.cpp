// lintaro: the window of the checker.
#include <wx/wx.h>

#include "shell/WinProc.h"

#ifndef LINTARO_FORUM_ADDRESS
#define LINTARO_FORUM_ADDRESS "https://forumia.example.org/morrowind/"
#endif
#ifndef LINTARO_CONTACT_ADDRESS
#define LINTARO_CONTACT_ADDRESS "lintaro@example.org"
#endif

namespace lintaro {

class LintaroApp : public wxApp {
 public:
  bool OnInit() override {
    const ShellAddresses addresses{LINTARO_FORUM_ADDRESS, LINTARO_CONTACT_ADDRESS};
    wxString trace;
    wxGetEnv("LINTARO_TRACE_ETAT", &trace);
    auto* frame = new MainFrame(addresses, trace);
    frame->Show();
    return true;
  }
};

}  // namespace lintaro

wxIMPLEMENT_APP(lintaro::LintaroApp);
