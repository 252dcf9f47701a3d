#include "app/run_facts.h"

#include "framework/display.h"
#include "framework/maxwell.h"
#include "framework/sound.h"

namespace brumil::app {
namespace {

// Video memory is asked for by its capability bits as the report always did:
// local video memory.
constexpr Long kLocalVideoMemoryCaps = 0x4000;

void AddItem(std::string& list, std::string_view item) {
    if (item.empty()) return;
    if (!list.empty()) list += ", ";
    list += item;
}

}  // namespace

RunFacts MakeRunFacts(const PlatformFacts& f) {
    RunFacts r;
    AddItem(r.SupportText, f.WindowShown ? "Window" : "Frame Buffer (no display)");
    AddItem(r.SupportText, f.DisplaySupport);
    if (f.SoundStarted) {
        std::string mixer = "Software Mixer " + std::to_string(f.SoundHz) + "Hz " +
                            std::to_string(f.SoundBits) + "bit " + std::to_string(f.SoundChannels) +
                            "ch";
        if (!f.SoundHeard) mixer += " (no output device)";
        AddItem(r.SupportText, mixer);
    }
    if (!f.WindowShown) AddItem(r.NonSupportText, "Window");
    AddItem(r.NonSupportText, f.DisplayNonSupport);
    if (!f.SoundStarted) AddItem(r.NonSupportText, "Sound");
    if (f.VideoMemoryTotalKB <= 0) AddItem(r.NonSupportText, "Video Memory");
    r.VsinkCorrect = f.VsinkCorrect;
    r.PixelBits = f.PixelBits;
    r.BackInVideoMemory = f.BackInVideoMemory;
    r.VideoMemoryTotalKB = f.VideoMemoryTotalKB;
    r.VideoMemoryFreeKB = f.VideoMemoryFreeKB;
    r.TextureLimit = f.TextureLimit;
    return r;
}

PlatformFacts CurrentPlatformFacts(const framework::CMaxwell& host) {
    PlatformFacts f;
    const platform::Window* window = host.Window();
    f.WindowShown = window != nullptr && !window->IsHeadless();
    f.DisplaySupport = framework::gSupportText();
    f.DisplayNonSupport = framework::gNonSupportText();
    if (platform::SoundDevice* device = framework::gDirectSound()) {
        f.SoundStarted = true;
        f.SoundHeard = !device->IsNullOutput();
        platform::PcmFormat format;
        device->Primary().GetFormat(format);
        f.SoundHz = static_cast<Long>(format.samplesPerSec);
        f.SoundBits = format.bitsPerSample;
        f.SoundChannels = format.channels;
    }
    f.VsinkCorrect = framework::gVsinkCorrect();
    f.PixelBits = framework::gPixelBits();
    f.BackInVideoMemory = framework::gBackInVideoMemory();
    f.VideoMemoryTotalKB = framework::GetVideoMemoryTotalKB(kLocalVideoMemoryCaps);
    f.VideoMemoryFreeKB = framework::GetVideoMemoryFreeKB(kLocalVideoMemoryCaps);
    f.TextureLimit = framework::GetTextureLimit();
    return f;
}

}  // namespace brumil::app
