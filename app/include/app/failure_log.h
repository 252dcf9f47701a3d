#pragma once
// The one place where the application shell tells the user about a failure it
// can carry on from (a save file that could not be written, ...): one line on
// the standard error stream as it happens (the shell adds it to the run
// report too), and for what the player must know, a box at shut-down.

#include <functional>
#include <string_view>

namespace brumil::app {

// Receives one message line, without a line end.
using FailureLog = std::function<void(std::string_view)>;

// Writes "brumil: " and the message as one line to the standard error stream.
void LogFailureToStderr(std::string_view message);

// Receives the text of a box for the player.
using FailureBox = std::function<void(std::string_view)>;

// A warning box titled "Brumil" with an OK button, like the program's other
// notices; without a display the text goes to the standard error stream.
void ShowFailureBox(std::string_view text);

}  // namespace brumil::app
