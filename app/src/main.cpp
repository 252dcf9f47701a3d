// Until the application shell exists, the program opens its window and runs
// the frame host with an empty job list until the window is closed.
// BRUMIL_MAX_FRAMES=n ends the run after n frames (smoke runs). A headless
// window has nobody to close it, so without the variable it runs one second.

#include <cstdlib>
#include <string>

#include "framework/display.h"
#include "framework/job_list.h"
#include "framework/maxwell.h"
#include "framework/splib.h"
#include "platform/files.h"

namespace {

long MaxFrames() {
    const char* text = std::getenv("BRUMIL_MAX_FRAMES");
    if (text == nullptr) return -1;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    return (end == text || n < 0) ? -1 : n;
}

}  // namespace

int main() {
    using namespace brumil;
    platform::InitDataRoot(platform::ProgramFolder());
    if (!framework::gSpLib().Init(true)) return 1;

    framework::CJobResis jobs;
    auto& host = framework::gMaxwell();
    host = std::make_unique<framework::CMaxwell>();
    framework::MaxwellDevices devices;
    devices.startDisplay = [](platform::Window&, const framework::CMaxwellConfig& c) {
        framework::DisplaySettings s;
        s.width = c.ddWidth;
        s.height = c.ddHeight;
        s.depth = c.ddPixelBits1;
        s.refreshRate = c.ddRefreshRate;
        s.fullScreen = c.ddFullScreen;
        s.hardware = c.ddHardware;
        s.direct3D = c.ddDirect3D;
        s.zBuffer = c.ddZBuffer;
        s.textureCompression = c.ddTextureCompression;
        s.no32BitTextures = c.ddNo32BitTexture;
        s.halfSize = c.ddHalfSize;
        s.secondZBuffer = c.ddSecondZBuffer;
        s.menuAutoHide = c.ddMenuAutoHide;
        s.highQuality = c.ddHighQuality;
        return framework::DisplayStart(s);
    };
    devices.stopDisplay = [] { framework::DisplayStop(); };
    host->SetDevices(std::move(devices));
    host->Connect();

    long maxFrames = MaxFrames();
    if (maxFrames < 0 && host->Window() != nullptr && host->Window()->IsHeadless()) maxFrames = 60;
    for (long frame = 0; maxFrames < 0 || frame < maxFrames; ++frame) {
        jobs.Poll();
        if (host->Poll() != 0) break;
        for (Long i = 1; i < host->GetFPSA(); ++i) {
            host->Config().PaintDisable = true;
            jobs.Poll();
            host->InputRun();
            host->Config().PaintDisable = false;
        }
    }
    host->UnConnect();
    host.reset();
    return 0;
}
