#pragma once
// Keyboard, mouse and joysticks as one input step reads them: a snapshot of
// what is held now. Keys are indexed by set-1 scan code (platform/scan_codes.h).
//
// Joysticks are enumerated only when asked, so the count seen by the program
// is the count at the last enumeration even while pads are plugged in or out.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/scan_codes.h"
#include "platform/base/window.h"

namespace brumil::platform {

constexpr int kMaxJoystickButtons = 32;

struct JoystickState {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    std::array<bool, kMaxJoystickButtons> buttons{};
};

struct MouseState {
    bool left = false;
    bool right = false;
    bool middle = false;
    PointerActivity pointer;
};

struct InputSnapshot {
    std::array<bool, 256> keys{};  // by scan code; entry 0 is never set
    MouseState mouse;
    std::vector<JoystickState> joysticks;  // one per joystick of the last enumeration
};

class InputDevices {
public:
    virtual ~InputDevices() = default;
    // Reads every device into `out` (joysticks sized to the enumerated count).
    virtual void Sample(InputSnapshot& out) = 0;
    // Enumerates the joysticks again and opens them; answers the count.
    virtual int EnumerateJoysticks() = 0;
    // The count at the last enumeration (0 before the first).
    virtual int JoystickCount() const = 0;
    // Starts keyboard and mouse afresh: pointer activity gathered so far is
    // dropped.
    virtual void ResetKeyboardMouse() = 0;
};

// Devices fed by hand: tests set what is held before each step.
class NullInputDevices final : public InputDevices {
public:
    void Sample(InputSnapshot& out) override;
    int EnumerateJoysticks() override;
    int JoystickCount() const override { return enumerated_; }
    void ResetKeyboardMouse() override { resets_++; }

    // What the next Sample reports. Wheel and movement are taken by the sample.
    void SetKey(std::uint8_t scanCode, bool down) { state_.keys[scanCode] = down; }
    void ReleaseAll();
    MouseState& Mouse() { return state_.mouse; }
    // Pads "plugged in" now; seen after the next EnumerateJoysticks.
    void PlugJoysticks(int count);
    JoystickState& Joystick(int index);  // index < the plugged count

    int ResetCount() const { return resets_; }

private:
    InputSnapshot state_;
    int plugged_ = 0;
    int enumerated_ = 0;
    int resets_ = 0;
};

// The devices behind a window: SDL keyboard, mouse and joysticks for a shown
// window, null devices for a headless one.
std::unique_ptr<InputDevices> OpenInputDevices(Window& window);

// Test interface: queues a press and a release of the key as window events,
// as a quick tap arrives between two samples.
void InjectKeyTapEvents(ScanCode code);

}  // namespace brumil::platform
