#pragma once
// Joins the main window TheApp to the running program: the frame host asks it
// before a close goes ahead and lets it apply display changes after each
// Poll, the front end's service jobs act on it through the shell's host, and
// on a real display the menu bar, the full-screen overlay and the log panel
// are drawn over the picture. Everything is undone when the attachment goes,
// which must happen before the frame host disconnects.

#include <memory>
#include <string>

#include "app/the_app.h"
#include "core/vb_types.h"
#include "framework/maxwell.h"
#include "frontend/service_jobs.h"

namespace brumil::app {

// The log panel of the main window (the network and chat log): shown and
// hidden by the network link job; it shows the network log's text
// (net::gNetLog).
struct LogPanel {
    bool Visible = false;
};
LogPanel& CPane();

// The shell's side of the front end's service jobs, on the platform.
class ShellServiceJobHost;
ShellServiceJobHost& PlatformServiceJobHost();
frontend::ServiceJobHost& ServiceJobHostOf(ShellServiceJobHost& host);
// The dialog of job 5 or 6 (not owned); nothing leaves the job without one.
void SetSettingsDialog(Long job, frontend::SettingsDialog* dialog);

class MainWindowAttachment {
public:
    virtual ~MainWindowAttachment() = default;
};

// Attaches `app` (the main window) to the connected frame host and to the
// front end (when it exists).
std::unique_ptr<MainWindowAttachment> AttachMainWindow(TheApp& app, framework::CMaxwell& host);

// The font file the menu is drawn with: the face the image library's font
// table gives for "ＭＳ ゴシック"; empty when none is found.
std::string MenuFontFile(int& faceIndex);

}  // namespace brumil::app
