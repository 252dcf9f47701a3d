#pragma once
// The framework root: start-up checks and the events it broadcasts to every
// library object that holds device resources or needs the timer.
//
// Listeners subscribe through LibEventSubscription (RAII). A listener may
// subscribe or leave while an event is being raised: one that leaves is not
// called afterwards, one that joins receives the next raise, not the current.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brumil::framework {

// The events of spLib. Each listener overrides the ones it needs; the names
// follow the original's handler convention (source_event).
class ILibEvents {
public:
    virtual ~ILibEvents() = default;
    // Milliseconds since the previous raise, at most 1000.
    virtual void xLib_Timer(double /*delta*/) {}
    virtual void xLib_Unload() {}
    virtual void xLib_TerminateInput() {}
    virtual void xLib_TerminateSound() {}
    virtual void xLib_TerminateDraw() {}
    virtual void xLib_VideoMemoryRelease() {}
    virtual void xLib_VideoMemoryCash() {}
    virtual void xLib_AudioVolumeReset() {}
    virtual void xLib_AudioVolumeFadeout(std::int32_t /*fadeTime*/) {}
};

// A start-up failure: what went wrong, and what the user can do about it.
struct StartupFailure {
    std::string solution;
    std::string message;
    std::string title;
};

// A start-up check: nothing when all is well.
using StartupCheck = std::function<std::optional<StartupFailure>()>;

class spLib {
public:
    spLib() = default;
    spLib(const spLib&) = delete;
    spLib& operator=(const spLib&) = delete;

    void Subscribe(ILibEvents* listener);
    void Unsubscribe(ILibEvents* listener);
    std::size_t ListenerCount() const;

    // Raising. Timer clamps its argument to 0..1000.
    void RaiseTimer(double deltaMs);
    void RaiseUnload();
    void RaiseTerminateInput();
    void RaiseTerminateSound();
    void RaiseTerminateDraw();
    void RaiseVideoMemoryRelease();
    void RaiseVideoMemoryCash();
    void RaiseAudioVolumeReset();
    void RaiseAudioVolumeFadeout(std::int32_t fadeTime);

    // Start-up checks. Init seeds the random generators of gApi afresh, runs
    // the built-in checks (the data root is a readable folder; a display can
    // be opened unless running headless) and every check added before it,
    // collects the failures, and when there are any shows them together in
    // one critical box titled "起動できません" (when `showErrors`) and answers
    // false: the caller ends the program.
    bool Init(bool showErrors = true);
    void AddStartupCheck(StartupCheck check);
    void AddStartupFailure(StartupFailure failure);
    const std::vector<StartupFailure>& StartupFailures() const { return failures_; }
    // The text of the failure box.
    std::string StartupFailureText() const;

    // The original's public entry points for the same events.
    void DirectSoundAudioVolumeReset() { RaiseAudioVolumeReset(); }
    void DirectSoundAudioVolumeFadeout(std::int32_t n) { RaiseAudioVolumeFadeout(n); }
    void DirectDrawVideoMemoryCash() { RaiseVideoMemoryCash(); }

private:
    template <typename F>
    void Raise(F&& call);

    std::vector<ILibEvents*> listeners_;
    std::vector<StartupCheck> checks_;
    std::vector<StartupFailure> failures_;
    int raising_ = 0;
    bool removedWhileRaising_ = false;
};

// The shared root, made on first use.
spLib& gSpLib();

// Subscribes a listener for its lifetime.
class LibEventSubscription {
public:
    explicit LibEventSubscription(ILibEvents* listener) : listener_(listener) {
        gSpLib().Subscribe(listener_);
    }
    ~LibEventSubscription() { gSpLib().Unsubscribe(listener_); }
    LibEventSubscription(const LibEventSubscription&) = delete;
    LibEventSubscription& operator=(const LibEventSubscription&) = delete;

private:
    ILibEvents* listener_;
};

}  // namespace brumil::framework
