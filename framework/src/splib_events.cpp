#include <algorithm>

#include "framework/splib.h"

namespace brumil::framework {

spLib& gSpLib() {
    static spLib root;
    return root;
}

void spLib::Subscribe(ILibEvents* listener) {
    if (listener == nullptr) return;
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) return;
    listeners_.push_back(listener);
}

void spLib::Unsubscribe(ILibEvents* listener) {
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it == listeners_.end()) return;
    if (raising_ > 0) {
        *it = nullptr;  // compacted when the outermost raise ends
        removedWhileRaising_ = true;
    } else {
        listeners_.erase(it);
    }
}

std::size_t spLib::ListenerCount() const {
    return static_cast<std::size_t>(
        std::count_if(listeners_.begin(), listeners_.end(), [](auto* l) { return l != nullptr; }));
}

template <typename F>
void spLib::Raise(F&& call) {
    ++raising_;
    // Index loop over the count at the start: listeners added meanwhile wait for
    // the next raise; removed ones are nulled and skipped.
    const std::size_t count = listeners_.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (ILibEvents* l = listeners_[i]) call(*l);
    }
    if (--raising_ == 0 && removedWhileRaising_) {
        std::erase(listeners_, nullptr);
        removedWhileRaising_ = false;
    }
}

void spLib::RaiseTimer(double deltaMs) {
    const double d = std::clamp(deltaMs, 0.0, 1000.0);
    Raise([d](ILibEvents& l) { l.xLib_Timer(d); });
}
void spLib::RaiseUnload() {
    Raise([](ILibEvents& l) { l.xLib_Unload(); });
}
void spLib::RaiseTerminateInput() {
    Raise([](ILibEvents& l) { l.xLib_TerminateInput(); });
}
void spLib::RaiseTerminateSound() {
    Raise([](ILibEvents& l) { l.xLib_TerminateSound(); });
}
void spLib::RaiseTerminateDraw() {
    Raise([](ILibEvents& l) { l.xLib_TerminateDraw(); });
}
void spLib::RaiseVideoMemoryRelease() {
    Raise([](ILibEvents& l) { l.xLib_VideoMemoryRelease(); });
}
void spLib::RaiseVideoMemoryCash() {
    Raise([](ILibEvents& l) { l.xLib_VideoMemoryCash(); });
}
void spLib::RaiseAudioVolumeReset() {
    Raise([](ILibEvents& l) { l.xLib_AudioVolumeReset(); });
}
void spLib::RaiseAudioVolumeFadeout(std::int32_t fadeTime) {
    Raise([fadeTime](ILibEvents& l) { l.xLib_AudioVolumeFadeout(fadeTime); });
}

}  // namespace brumil::framework
