// The executable's entry: finds the data root and runs the program.
//
// BRUMIL_MAX_FRAMES=n ends the run after n drawn frames (smoke runs). Without
// a display nobody can close the window, so a headless run without the
// variable ends after one second (60 frames).

#include <cstdint>
#include <cstdlib>

#include "app/the_app.h"
#include "platform/base/files.h"
#include "platform/base/window.h"

namespace {

std::int64_t FrameLimit() {
    const char* text = std::getenv("BRUMIL_MAX_FRAMES");
    if (text != nullptr) {
        char* end = nullptr;
        const long long n = std::strtoll(text, &end, 10);
        if (end != text && n >= 0) return n;
    }
    return brumil::platform::HeadlessRequested() ? 60 : -1;
}

}  // namespace

int main() {
    using namespace brumil;
    platform::InitDataRoot(platform::ProgramFolder());
    app::AppServices services;
    services.frameLimit = FrameLimit();
    return app::Main(services);
}
