#include "shell_service_job_host.h"

namespace brumil::app {

ShellServiceJobHost& PlatformServiceJobHost() {
    static ShellServiceJobHost host;
    return host;
}

frontend::ServiceJobHost& ServiceJobHostOf(ShellServiceJobHost& host) {
    return host;
}

void SetSettingsDialog(Long job, frontend::SettingsDialog* dialog) {
    ShellServiceJobHost& host = PlatformServiceJobHost();
    if (job == frontend::kKeyDialogJob) host.dialogs[0] = dialog;
    if (job == frontend::kGraphicsDialogJob) host.dialogs[1] = dialog;
}

LogPanel& CPane() {
    static LogPanel panel;
    return panel;
}

}  // namespace brumil::app
