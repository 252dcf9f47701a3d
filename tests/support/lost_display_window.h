#pragma once
// A window whose display connection goes away after a set number of event
// pumps, as when the X server ends under a running game. Until then it behaves
// like the headless window and counts what reaches it.

#include <string>

#include "platform/base/headless_window.h"
#include "platform/base/window.h"

namespace brumil::testing {

class LostDisplayWindow final : public platform::Window {
public:
    // The display is lost during pump number `lostAtPump` (1-based); 0 never.
    explicit LostDisplayWindow(int lostAtPump) : lostAtPump_(lostAtPump) {}

    void Present(std::span<const std::uint32_t> argb, int width, int height, int pitch) override {
        ++presents;
        if (lost) ++presentsAfterLoss;
        platform::CopyToFrame(argb, width, height, pitch, last_);
    }
    const platform::PresentedFrame& LastFrame() const override { return last_; }
    bool IsHeadless() const override { return true; }
    bool IsFullScreen() const override { return false; }
    void SetTitle(const std::string&) override {}
    platform::WindowEvents PumpEvents() override {
        ++pumps;
        if (pumps == lostAtPump_) lost = true;
        platform::WindowEvents events;
        events.closeRequested = lost || closePending;
        events.displayLost = lost;
        closePending = false;
        return events;
    }
    platform::PointerActivity TakePointerActivity() override { return {}; }
    void RequestFullScreen(bool) override {}
    bool ApplyPendingMode() override { return false; }

    bool closePending = false;  // the next pump reports an ordinary close
    bool lost = false;
    int pumps = 0;
    int presents = 0;
    int presentsAfterLoss = 0;

private:
    int lostAtPump_;
    platform::PresentedFrame last_;
};

}  // namespace brumil::testing
