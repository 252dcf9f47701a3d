#pragma once
// The one place where the application shell tells the user about a failure it
// can carry on from (a save file that could not be written, ...): one line on
// the standard error stream.

#include <functional>
#include <string_view>

namespace brumil::app {

// Receives one message line, without a line end.
using FailureLog = std::function<void(std::string_view)>;

// Writes "brumil: " and the message as one line to the standard error stream.
void LogFailureToStderr(std::string_view message);

}  // namespace brumil::app
