#pragma once
// The name of the user running the program, for a default player name.

#include <string>

namespace brumil::platform {

// The login name (from the password database, else the USER or LOGNAME
// variable), at most 255 bytes, cut at a NUL; empty when none is known.
std::string SystemUserName();

}  // namespace brumil::platform
