#pragma once
// The window without a display: presented frames are only kept for reading
// back, the event pump reports what tests inject.

#include "platform/base/window.h"

namespace brumil::platform {

class HeadlessWindow final : public Window {
public:
    explicit HeadlessWindow(const WindowSettings& settings = {});

    void Present(std::span<const std::uint32_t> argb, int width, int height, int pitch) override;
    const PresentedFrame& LastFrame() const override { return last_; }
    bool IsHeadless() const override { return true; }
    bool IsFullScreen() const override { return fullScreen_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    WindowEvents PumpEvents() override;
    PointerActivity TakePointerActivity() override;
    void RequestFullScreen(bool fullScreen) override { pendingFullScreen_ = fullScreen; }
    bool ApplyPendingMode() override;
    WindowSizeState SizeState() const override { return sizeState_; }
    void RestoreNormalSize() override { sizeState_ = WindowSizeState::Normal; }

    // Test controls: the next pump reports a close request; pointer activity
    // to be taken by the next input step.
    void InjectClose() { closePending_ = true; }
    void InjectPointer(const PointerActivity& pointer) { pointer_ = pointer; }
    // As if the window manager had maximised or minimised the window.
    void InjectSizeState(WindowSizeState state) { sizeState_ = state; }

    const std::string& Title() const { return title_; }
    int PresentCount() const { return presents_; }

private:
    PresentedFrame last_;
    std::string title_;
    bool fullScreen_ = false;
    bool pendingFullScreen_ = false;
    bool closePending_ = false;
    WindowSizeState sizeState_ = WindowSizeState::Normal;
    PointerActivity pointer_;
    int presents_ = 0;
};

// Copies a pitched ARGB buffer into a frame; a buffer too short for the
// stated size, or a non-positive size, leaves an empty frame.
void CopyToFrame(std::span<const std::uint32_t> argb, int width, int height, int pitch,
                 PresentedFrame& frame);

}  // namespace brumil::platform
