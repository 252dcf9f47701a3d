#include "app/failure_log.h"

#include <string>

#include "platform/base/error_line.h"
#include "platform/base/message_box.h"

namespace brumil::app {

void LogFailureToStderr(std::string_view message) {
    std::string line = "brumil: ";
    line.append(message);
    platform::WriteErrorLine(line);
}

void ShowFailureBox(std::string_view text) {
    platform::ShowMessageBox(text, "Brumil", platform::MessageKind::kWarning,
                             platform::MessageButtons::kOk);
}

}  // namespace brumil::app
