// The window's "Débuguer un plugin" dialog (shell/PluginView.h holds what it
// shows).
#pragma once

#include <string>

#include <wx/wx.h>

#include "shell/WinProcLogic.h"

namespace lintaro {

// Asks for a plugin file and opens it in the dialog.
void choosePlugin(wxWindow* parent, Shell& shell, const wxString& tracePath);

// Opens a plugin in a dialog of its own; a plugin that cannot be read gives a
// message box instead. With a `tracePath`, the rows shown and the selected
// report are written to "<tracePath>.plugin" (a test hook).
void openPluginDialog(wxWindow* parent, Shell& shell, const std::string& path,
                      const wxString& tracePath);

}  // namespace lintaro
