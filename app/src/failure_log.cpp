#include "app/failure_log.h"

#include <iostream>
#include <string>

namespace brumil::app {

void LogFailureToStderr(std::string_view message) {
    // Built first and written in one call, so lines from two failures never mix.
    std::string line = "brumil: ";
    line.append(message);
    line.push_back('\n');
    std::cerr << line << std::flush;
}

}  // namespace brumil::app
