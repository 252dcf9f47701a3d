#pragma once
// One line on the standard error stream, for failures a program carries on
// from (a file that could not be written, ...).

#include <string_view>

namespace brumil::platform {

// Writes the line and a line end in one call, so that lines from two
// failures never mix.
void WriteErrorLine(std::string_view line);

}  // namespace brumil::platform
