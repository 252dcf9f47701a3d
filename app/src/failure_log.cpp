#include "app/failure_log.h"

#include <string>

#include "platform/base/error_line.h"

namespace brumil::app {

void LogFailureToStderr(std::string_view message) {
    std::string line = "brumil: ";
    line.append(message);
    platform::WriteErrorLine(line);
}

}  // namespace brumil::app
