#include <SDL.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <vector>

#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"
#include "platform/base/sdl_subsystems.h"

namespace brumil::platform {

namespace {

// A stick counts as pushed past half its travel, as a d-pad would.
constexpr Sint16 kAxisThreshold = 16384;

class SdlInputDevices final : public InputDevices {
public:
    explicit SdlInputDevices(Window& window) : window_(window) {
        joystickReady_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        SDL_AddEventWatch(&SdlInputDevices::WatchEvent, this);
    }
    ~SdlInputDevices() override {
        SDL_DelEventWatch(&SdlInputDevices::WatchEvent, this);
        CloseJoysticks();
        if (joystickReady_) ReleaseSdlSubSystem(SDL_INIT_JOYSTICK);
    }
    SdlInputDevices(const SdlInputDevices&) = delete;
    SdlInputDevices& operator=(const SdlInputDevices&) = delete;

    void Sample(InputSnapshot& out) override {
        out.keys.fill(false);
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (int i = 0; i < count; ++i) {
            if (state[i] == 0) continue;
            const ScanCode code = ScanCodeFromSdl(i);
            if (code != 0) out.keys[code] = true;
        }
        const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
        out.mouse.left = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
        out.mouse.right = (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
        out.mouse.middle = (buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE)) != 0;
        TakeTaps(out);
        MaskCaptured(out);
        out.mouse.pointer = window_.TakePointerActivity();

        out.joysticks.assign(joysticks_.size(), JoystickState{});
        if (joysticks_.empty()) return;
        SDL_JoystickUpdate();
        for (std::size_t j = 0; j < joysticks_.size(); ++j) {
            SDL_Joystick* js = joysticks_[j];
            JoystickState& s = out.joysticks[j];
            if (js == nullptr || SDL_JoystickGetAttached(js) == SDL_FALSE) continue;
            const Sint16 x = SDL_JoystickNumAxes(js) > 0 ? SDL_JoystickGetAxis(js, 0) : 0;
            const Sint16 y = SDL_JoystickNumAxes(js) > 1 ? SDL_JoystickGetAxis(js, 1) : 0;
            const Uint8 hat = SDL_JoystickNumHats(js) > 0 ? SDL_JoystickGetHat(js, 0) : 0;
            s.left = x <= -kAxisThreshold || (hat & SDL_HAT_LEFT) != 0;
            s.right = x >= kAxisThreshold || (hat & SDL_HAT_RIGHT) != 0;
            s.up = y <= -kAxisThreshold || (hat & SDL_HAT_UP) != 0;
            s.down = y >= kAxisThreshold || (hat & SDL_HAT_DOWN) != 0;
            const int nb = std::min(SDL_JoystickNumButtons(js), kMaxJoystickButtons);
            for (int b = 0; b < nb; ++b) s.buttons[b] = SDL_JoystickGetButton(js, b) != 0;
        }
    }

    int EnumerateJoysticks() override {
        CloseJoysticks();
        if (!joystickReady_) return 0;
        SDL_JoystickUpdate();
        const int n = SDL_NumJoysticks();
        for (int i = 0; i < n; ++i) {
            if (SDL_Joystick* js = SDL_JoystickOpen(i)) joysticks_.push_back(js);
        }
        return JoystickCount();
    }

    int JoystickCount() const override { return static_cast<int>(joysticks_.size()); }

    void ResetKeyboardMouse() override { (void)window_.TakePointerActivity(); }

private:
    // A key or button pressed and released again between two samples would
    // never be seen in the state; the press is kept until the next sample, so
    // a quick tap counts as down for one step and up in the next.
    static int SDLCALL WatchEvent(void* self, SDL_Event* e) {
        auto* devices = static_cast<SdlInputDevices*>(self);
        std::lock_guard lock(devices->tapMutex_);
        if (e->type == SDL_KEYDOWN && e->key.repeat == 0) {
            const ScanCode code = ScanCodeFromSdl(e->key.keysym.scancode);
            if (code != 0) devices->tappedKeys_[code] = true;
        } else if (e->type == SDL_MOUSEBUTTONDOWN) {
            if (e->button.button == SDL_BUTTON_LEFT) devices->tappedMouse_[0] = true;
            if (e->button.button == SDL_BUTTON_RIGHT) devices->tappedMouse_[1] = true;
            if (e->button.button == SDL_BUTTON_MIDDLE) devices->tappedMouse_[2] = true;
        }
        return 0;
    }

    void TakeTaps(InputSnapshot& out) {
        std::lock_guard lock(tapMutex_);
        for (std::size_t k = 0; k < tappedKeys_.size() && k < out.keys.size(); ++k) {
            if (tappedKeys_[k]) out.keys[k] = true;
        }
        out.mouse.left = out.mouse.left || tappedMouse_[0];
        out.mouse.right = out.mouse.right || tappedMouse_[1];
        out.mouse.middle = out.mouse.middle || tappedMouse_[2];
        tappedKeys_.fill(false);
        tappedMouse_.fill(false);
    }

    // What the menu or a dialog took is neither held nor tapped for the game,
    // however SDL's own state and the taps saw it.
    void MaskCaptured(InputSnapshot& out) {
        const CapturedInput c = window_.TakeCapturedInput();
        out.mouse.left = out.mouse.left && !c.left;
        out.mouse.right = out.mouse.right && !c.right;
        out.mouse.middle = out.mouse.middle && !c.middle;
        for (std::size_t k = 0; k < out.keys.size() && k < c.keys.size(); ++k) {
            if (c.keys[k]) out.keys[k] = false;
        }
    }

    void CloseJoysticks() {
        for (SDL_Joystick* js : joysticks_) SDL_JoystickClose(js);
        joysticks_.clear();
    }

    Window& window_;
    bool joystickReady_ = false;
    std::vector<SDL_Joystick*> joysticks_;  // opened by EnumerateJoysticks, closed here
    std::mutex tapMutex_;                   // the event watch may run on SDL's own threads
    std::array<bool, 256> tappedKeys_{};
    std::array<bool, 3> tappedMouse_{};
};

}  // namespace

void InjectKeyTapEvents(ScanCode code) {
    int sdlCode = 0;
    while (sdlCode < SDL_NUM_SCANCODES && ScanCodeFromSdl(sdlCode) != code) ++sdlCode;
    if (sdlCode == SDL_NUM_SCANCODES) return;
    for (Uint32 type : {Uint32{SDL_KEYDOWN}, Uint32{SDL_KEYUP}}) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = static_cast<SDL_Scancode>(sdlCode);
        SDL_PushEvent(&e);
    }
}

std::unique_ptr<InputDevices> OpenInputDevices(Window& window) {
    if (window.IsHeadless()) return std::make_unique<NullInputDevices>();
    return std::make_unique<SdlInputDevices>(window);
}

}  // namespace brumil::platform
