#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/input_devices.h"
#include "platform/scan_codes.h"
#include "platform/sdl_subsystems.h"

namespace brumil::platform {

namespace {

// A stick counts as pushed past half its travel, as a d-pad would.
constexpr Sint16 kAxisThreshold = 16384;

class SdlInputDevices final : public InputDevices {
public:
    explicit SdlInputDevices(Window& window) : window_(window) {
        joystickReady_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    }
    ~SdlInputDevices() override {
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
    void CloseJoysticks() {
        for (SDL_Joystick* js : joysticks_) SDL_JoystickClose(js);
        joysticks_.clear();
    }

    Window& window_;
    bool joystickReady_ = false;
    std::vector<SDL_Joystick*> joysticks_;  // opened by EnumerateJoysticks, closed here
};

}  // namespace

std::unique_ptr<InputDevices> OpenInputDevices(Window& window) {
    if (window.IsHeadless()) return std::make_unique<NullInputDevices>();
    return std::make_unique<SdlInputDevices>(window);
}

}  // namespace brumil::platform
