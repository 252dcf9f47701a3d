#include "app/main_loop.h"

#include "app/network_windows_ui.h"

namespace brumil::app {

Long JobListLoop::Poll() {
    PollNetworkSession();
    return list_.Poll();
}

std::uint64_t RunMainLoop(MainLoopJobs& jobs, MainLoopHost& host) {
    std::uint64_t passes = 0;
    for (;;) {
        if (jobs.Poll() == 0) return passes;
        ++passes;
        if (host.Poll() != 0) jobs.Destroy();
        const Long steps = host.GetFPSA();
        for (Long i = 1; i < steps; ++i) {
            host.SetPaintDisable(true);
            if (jobs.Poll() == 0) return passes;
            host.InputRun();
            host.SetPaintDisable(false);
        }
    }
}

Long FrameHostLoop::Poll() {
    const Long closing = host_.Poll();
    ++frames_;
    if (frameLimit_ >= 0 && frames_ >= frameLimit_) return 1;
    return closing;
}

}  // namespace brumil::app
