#include "framework/maxwell.h"

#include "framework/display.h"
#include "framework/input_module.h"
#include "framework/splib.h"

namespace brumil::framework {

CMaxwell::CMaxwell(platform::Clock& clock) : clock_(clock) {}

CMaxwell::~CMaxwell() {
    UnConnect();
}

bool CMaxwell::Connect() {
    platform::WindowSettings settings;
    settings.fullScreen = config_.ddFullScreen;
    settings.vsync = config_.WaitVsinkSP;
    settings.linearFilter = config_.LinearScaling;
    std::unique_ptr<platform::Window> window = platform::OpenWindow(settings);
    std::unique_ptr<platform::InputDevices> input;
    if (config_.diInit) input = platform::OpenInputDevices(*window);
    return Connect(std::move(window), std::move(input));
}

bool CMaxwell::Connect(std::unique_ptr<platform::Window> window,
                       std::unique_ptr<platform::InputDevices> input) {
    UnConnect();
    if (window == nullptr) return false;
    window_ = std::move(window);
    input_ = std::move(input);
    closing_ = false;
    repaintAll_ = true;

    InputModule& in = gInputModule();
    in.Attach(input_.get());
    in.SetVKeyCount(config_.diCreateVKeyCounts);
    // The shell picks its key assignments by the joystick count right after
    // Connect, so the first enumeration happens here.
    in.SetupJoysticks();

    bool ok = true;
    if (config_.ddInit && devices_.startDisplay) {
        displayStarted_ = devices_.startDisplay(*window_, config_);
        ok = ok && displayStarted_;
    }
    if (config_.dsInit && devices_.startSound) {
        soundStarted_ = devices_.startSound(config_);
        ok = ok && soundStarted_;
    }

    const std::uint64_t now = clock_.NowMicros();
    pacer_.Reset(now);
    secondStart_ = now;
    framesThisSecond_ = 0;
    fps_ = 0;
    fpsa_ = 0;
    lastTimer_ = clock_.NowMs();
    return ok;
}

void CMaxwell::UnConnect() {
    if (window_ == nullptr) return;
    spLib& lib = gSpLib();
    lib.RaiseTerminateInput();
    if (gInputModule().Devices() == input_.get()) gInputModule().Attach(nullptr);
    input_.reset();
    lib.RaiseTerminateSound();
    if (soundStarted_ && devices_.stopSound) devices_.stopSound();
    soundStarted_ = false;
    lib.RaiseTerminateDraw();
    if (displayStarted_ && devices_.stopDisplay) devices_.stopDisplay();
    displayStarted_ = false;
    window_.reset();
}

void CMaxwell::RaiseTimer() {
    const platform::Millis now = clock_.NowMs();
    const std::int32_t delta = platform::MsSince(now, lastTimer_);
    lastTimer_ = now;
    gSpLib().RaiseTimer(static_cast<double>(delta));
}

Long CMaxwell::Poll() {
    if (window_ == nullptr) return 1;
    // Mode switches happen here, between frames, never inside the pump.
    if (window_->ApplyPendingMode()) repaintAll_ = true;
    RaiseTimer();

    const platform::WindowEvents events = window_->PumpEvents();
    if (events.displayLost) {
        // Nothing can be shown any more: no closing transition, no question,
        // no pacing for a picture nobody sees. The caller shuts down at once.
        closing_ = true;
        return 1;
    }
    if (events.closeRequested && (!closeQuery_ || closeQuery_())) closing_ = true;
    if (events.focusGained) repaintAll_ = true;

    if (config_.SleepFrame > 0) clock_.SleepMs(static_cast<std::uint32_t>(config_.SleepFrame));
    pacer_.WaitForStep(clock_,
                       static_cast<std::uint32_t>(config_.SleepSaver > 0 ? config_.SleepSaver : 1));
    const std::uint64_t now = clock_.NowMicros();
    fpsa_ = pacer_.BeginFrame(now);

    InputRun();
    VideoStep();
    CountFrame(now);
    if (afterPoll_) afterPoll_();
    return closing_ ? 1 : 0;
}

void CMaxwell::InputRun() {
    gInputModule().Step();
}

void CMaxwell::VideoStep() {
    core::CRect& rect = config_.PaintRect;
    if (repaintAll_ || !config_.PaintManual) {
        DisplayPresent(*window_, true, 0, 0, config_.BackBufferWidth(), config_.BackBufferHeight());
    } else if (!rect.IsZero()) {
        DisplayPresent(*window_, false, rect.X, rect.Y, rect.Width, rect.Height);
    }
    rect.Delete();
    repaintAll_ = false;
}

void CMaxwell::CountFrame(std::uint64_t nowMicros) {
    ++framesThisSecond_;
    if (nowMicros - secondStart_ >= 1'000'000) {
        fps_ = framesThisSecond_;
        framesThisSecond_ = 0;
        // After a long stall the count starts afresh rather than catching up.
        secondStart_ = nowMicros - secondStart_ >= 2'000'000 ? nowMicros : secondStart_ + 1'000'000;
    }
}

void CMaxwell::RestoreDDS() {
    if (displayStarted_ && devices_.restoreDisplay) devices_.restoreDisplay();
    repaintAll_ = true;
}

bool CMaxwell::KeyRepeat(Long count, Long delay, Long interval) const {
    if (config_.Frame60To120) {
        delay *= 2;
        interval *= 2;
    }
    return KeyRepeatAt60(count, delay, interval);
}

bool CMaxwell::KeyRepeatAt60(Long count, Long delay, Long interval) {
    if (count <= 0) return false;  // not held, or the step after release
    if (count == 1 || count == delay) return true;
    if (count <= delay || interval <= 0) return false;
    return (count - delay) % interval == 0;
}

std::unique_ptr<CMaxwell>& gMaxwell() {
    static std::unique_ptr<CMaxwell> slot;
    return slot;
}

}  // namespace brumil::framework
