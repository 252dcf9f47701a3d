#pragma once
// The shell's side of the front end's service jobs (the host itself is private
// to the shell) and the log panel they show and hide.

#include <string>

#include "core/vb_types.h"
#include "frontend/service_jobs.h"
#include "frontend/settings_dialog.h"

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

}  // namespace brumil::app
