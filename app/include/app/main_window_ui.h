#pragma once
// Joins the main window to the running program: the frame host asks it
// before a close goes ahead and lets it apply display changes after each
// Poll, the front end's service jobs act on it through the shell's host, and
// on a real display the menu bar, the full-screen overlay and the log panel
// are drawn over the picture. Everything is undone when the attachment goes,
// which must happen before the frame host disconnects.

#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/service_job_host.h"
#include "framework/maxwell.h"

namespace brumil::app {

class MainWindowAttachment {
public:
    virtual ~MainWindowAttachment() = default;
};

// Attaches the main window to the connected frame host, to the service jobs'
// host and to the front end (when it exists).
std::unique_ptr<MainWindowAttachment> AttachMainWindow(MainWindow& window,
                                                       framework::CMaxwell& host);

// The font file the menu is drawn with: the face the image library's font
// table gives for "ＭＳ ゴシック"; empty when none is found.
std::string MenuFontFile(int& faceIndex);

}  // namespace brumil::app
