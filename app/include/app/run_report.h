#pragma once
// The run report "\Log.txt", rewritten at every start: what the display
// start-up found on this machine. The text is a pure function of the facts so
// that it can be checked byte for byte; the caller gathers the facts.

#include <string>

#include "core/vb_types.h"

namespace brumil::app {

struct RunFacts {
    std::string SupportText;     // capabilities the display start-up supports
    std::string NonSupportText;  // and those it does not
    Long VsinkCorrect = 0;       // highest scan line of 50 reads
    Long PixelBits = 0;          // display depth
    bool BackInVideoMemory = false;
    Long VideoMemoryTotalKB = 0;
    Long VideoMemoryFreeKB = 0;
    // 0 no limit, 1 textures managed automatically, larger a reduced limit;
    // a negative value is reported with no line.
    Long TextureLimit = 0;
};

inline constexpr std::string_view kRunReportPath = "\\Log.txt";

// The report's 26 lines (25 with a negative texture limit), each ending with
// CR LF.
std::string RunReportText(const RunFacts& facts);

}  // namespace brumil::app
