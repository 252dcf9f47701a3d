#pragma once
// The frame host: owns the window and the input devices, paces the frame loop
// and runs one drawn frame per Poll.
//
// The main loop polls the job list, then Poll, then runs GetFPSA() - 1 more
// logic steps (job list and InputRun each) with PaintDisable set.

#include <functional>
#include <memory>

#include "core/rect.h"
#include "core/vb_types.h"
#include "framework/frame_pacer.h"
#include "framework/maxwell_config.h"
#include "platform/base/clock.h"
#include "platform/base/input_devices.h"
#include "platform/base/window.h"

namespace brumil::framework {

// Device start-up and shut-down steps of the display and sound modules, run
// by Connect and UnConnect. A missing step means that device does not exist.
struct MaxwellDevices {
    std::function<bool(platform::Window&, const CMaxwellConfig&)> startDisplay;
    std::function<void()> stopDisplay;
    std::function<void()> restoreDisplay;  // brings lost surfaces back
    std::function<bool(const CMaxwellConfig&)> startSound;
    std::function<void()> stopSound;
};

class CMaxwell {
public:
    explicit CMaxwell(platform::Clock& clock = platform::SystemClock());
    ~CMaxwell();
    CMaxwell(const CMaxwell&) = delete;
    CMaxwell& operator=(const CMaxwell&) = delete;

    CMaxwellConfig& Config() { return config_; }
    const CMaxwellConfig& Config() const { return config_; }
    void SetDevices(MaxwellDevices devices) { devices_ = std::move(devices); }

    // Opens the window (or full screen) and the input devices from the
    // settings, then starts display and sound. False when a device the
    // settings ask for could not start; what started stays connected.
    bool Connect();
    // The same on a window and devices made by the caller (the devices may be
    // null: no input).
    bool Connect(std::unique_ptr<platform::Window> window,
                 std::unique_ptr<platform::InputDevices> input);
    bool IsConnected() const { return window_ != nullptr; }

    // One drawn frame: pending window mode, timer event, window events, frame
    // sleep and pacing, input step, video step. Non-zero when the window is
    // closing (or was never connected).
    Long Poll();
    // The logic steps due for the frame just drawn: 0 to 6.
    Long GetFPSA() const { return fpsa_; }
    // Frames drawn during the last whole second.
    Long GetFPS() const { return fps_; }
    // One input step (devices, input block, virtual keys).
    void InputRun();
    // Releases the devices (after the terminate events) and the window.
    void UnConnect();
    // The next presentation shows the whole picture.
    void RePaint() { repaintAll_ = true; }
    // Adds a rectangle (back-buffer pixels) to the area presented at the next
    // frame.
    void RePaintRect(const core::CRect& rect) { config_.PaintRect.ExpandRect(rect); }
    // Brings lost display surfaces back.
    void RestoreDDS();
    // True when count is 1, equals delay, or exceeds it by a multiple of
    // interval; delay and interval double under Frame60To120. An interval of
    // 0 or less never repeats past the delay.
    bool KeyRepeat(Long count, Long delay, Long interval) const;
    // The same rule at the 60-step timing, for callers without a frame host.
    static bool KeyRepeatAt60(Long count, Long delay, Long interval);

    // Asked when the window's close is requested; answering false cancels the
    // close. Without a query every close goes ahead.
    void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }
    // Runs at the end of every Poll, after the presentation: changes that must
    // not happen inside the event pump or the drawing (display switches asked
    // by a menu or a key) are applied there.
    void SetAfterPoll(std::function<void()> hook) { afterPoll_ = std::move(hook); }

    platform::Window* Window() const { return window_.get(); }
    platform::InputDevices* InputDevices() const { return input_.get(); }

private:
    void RaiseTimer();
    void VideoStep();
    void CountFrame(std::uint64_t nowMicros);

    platform::Clock& clock_;
    CMaxwellConfig config_;
    MaxwellDevices devices_;
    std::function<bool()> closeQuery_;
    std::function<void()> afterPoll_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::InputDevices> input_;
    FramePacer pacer_;
    bool displayStarted_ = false;
    bool soundStarted_ = false;
    bool closing_ = false;
    bool repaintAll_ = true;
    Long fpsa_ = 0;
    Long fps_ = 0;
    Long framesThisSecond_ = 0;
    std::uint64_t secondStart_ = 0;
    platform::Millis lastTimer_ = 0;
};

// The frame host's slot: made and released by the shell.
std::unique_ptr<CMaxwell>& gMaxwell();

}  // namespace brumil::framework
