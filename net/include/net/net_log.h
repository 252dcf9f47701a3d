#pragma once
// The network log: the text of the main window's log panel, one line per
// event, CR LF after each, its newest 500 lines kept.

#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::net {

inline constexpr Long kNetLogLines = 500;
// Logic steps the log panel stays up in a battle after a new line.
inline constexpr Long kNetLogShowSteps = 180;

struct NetLog {
    std::string Text;  // gNetLog
    Long Timer = 0;    // gNetLogTimer
    Long Lines = 0;    // lines in Text
    Long Added = 0;    // lines added since the start (a change counter for views)
};

// Appends `line` and CR LF (CR and LF inside `line` are dropped, so one call
// is one line), drops the oldest lines past kNetLogLines and sets the timer.
void AddNetworkLogLine(NetLog& log, std::string_view line);

}  // namespace brumil::net
