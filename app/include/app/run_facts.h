#pragma once
// The facts of this machine that the run report lists: what the window, the
// display start-up and the sound output really are here.

#include <string>

#include "app/run_report.h"
#include "core/vb_types.h"

namespace brumil::framework {
class CMaxwell;
}

namespace brumil::app {

struct PlatformFacts {
    bool WindowShown = false;    // a window on a display; else a frame buffer only
    std::string DisplaySupport;  // the display start-up's lists, ", " between items
    std::string DisplayNonSupport;
    bool SoundStarted = false;
    bool SoundHeard = false;  // a sound card plays the mix (not the null output)
    Long SoundHz = 0;
    Long SoundBits = 0;
    Long SoundChannels = 0;
    Long VsinkCorrect = 0;
    Long PixelBits = 0;
    bool BackInVideoMemory = false;
    Long VideoMemoryTotalKB = 0;
    Long VideoMemoryFreeKB = 0;
    Long TextureLimit = 0;
};

// The report's facts. The capability lines name the window (or the frame
// buffer of a run without display), the display's capabilities and the sound
// mixer with its output format; what is missing goes to the unsupported list.
RunFacts MakeRunFacts(const PlatformFacts& facts);

// The facts of the running program, from the frame host and the framework's
// display and sound state.
PlatformFacts CurrentPlatformFacts(const framework::CMaxwell& host);

}  // namespace brumil::app
