#include "framework/input_module.h"

#include <algorithm>

#include "framework/input_codes.h"
#include "framework/key_assign.h"
#include "framework/vkey.h"
#include "platform/base/scan_codes.h"

namespace brumil::framework {

namespace scan = platform::scan;

void InputTracker::Reset() {
    keys_.fill(0);
    joysticks_.clear();
}

void InputTracker::Step(const platform::InputSnapshot& now, InputStateBlock& block) {
    for (std::size_t k = 1; k < keys_.size(); ++k) keys_[k] = NextHoldCount(keys_[k], now.keys[k]);

    joysticks_.resize(std::min<std::size_t>(now.joysticks.size(), kMaxJoysticks));
    for (std::size_t j = 0; j < joysticks_.size(); ++j) {
        const platform::JoystickState& s = now.joysticks[j];
        JoystickCounts& c = joysticks_[j];
        const bool dirs[4] = {s.up, s.down, s.left, s.right};
        for (std::size_t d = 0; d < 4; ++d)
            c.directions[d] = NextHoldCount(c.directions[d], dirs[d]);
        for (std::size_t b = 0; b < c.buttons.size(); ++b)
            c.buttons[b] = NextHoldCount(c.buttons[b], s.buttons[b]);
    }

    const auto& k = now.keys;
    auto step = [](Long& count, bool down) { count = NextHoldCount(count, down); };
    step(block.MouseLeft, now.mouse.left);
    step(block.MouseRight, now.mouse.right);
    step(block.Escape, k[scan::Escape]);
    step(block.Enter, k[scan::Return] || k[scan::KeypadEnter]);
    step(block.Ctrl, k[scan::LeftCtrl] || k[scan::RightCtrl]);
    step(block.Shift, k[scan::LeftShift] || k[scan::RightShift]);
    step(block.Alt, k[scan::LeftAlt] || k[scan::RightAlt]);
    step(block.Space, k[scan::Space]);
    step(block.Backspace, k[scan::Backspace]);
    step(block.Arrows, k[scan::Up] || k[scan::Down] || k[scan::Left] || k[scan::Right]);
    step(block.Up, k[scan::Up]);
    step(block.Down, k[scan::Down]);
    step(block.Left, k[scan::Left]);
    step(block.Right, k[scan::Right]);
    const platform::PointerActivity& p = now.mouse.pointer;
    block.Wheel = p.wheel;
    block.MouseMoved = p.moved;
    block.MouseX = p.x;
    block.MouseY = p.y;
    block.MouseScreenX = p.screenX;
    block.MouseScreenY = p.screenY;
}

Long InputTracker::HoldCount(Long code) const {
    if (code == 0 || !IsValidInputCode(code)) return 0;
    const int low = InputLowByte(code);
    if (InputClass(code) == kKeyboardClass) return keys_[std::size_t(low)];
    const std::size_t j = std::size_t(InputJoystick(code));
    if (j >= joysticks_.size()) return 0;
    if (InputClass(code) == kJoyDirectionClass) return joysticks_[j].directions[std::size_t(low)];
    return joysticks_[j].buttons[std::size_t(low)];
}

Long InputTracker::NewlyPressed(Long device) const {
    if (device < -1 || device >= kMaxJoysticks) return 0;
    if (device == -1) {
        // The keyboard alone: the lowest scan code that went down this step.
        for (std::size_t k = 1; k < keys_.size(); ++k) {
            if (keys_[k] == 1) return KeyboardCode(static_cast<platform::ScanCode>(k));
        }
        return 0;
    }
    const std::size_t j = std::size_t(device);
    if (j >= joysticks_.size()) return 0;
    // Directions (0x2000) come before buttons (0x4000): the lowest code.
    for (std::size_t d = 0; d < 4; ++d) {
        if (joysticks_[j].directions[d] == 1) return JoyDirectionCode(int(j), Long(d));
    }
    for (std::size_t b = 0; b < joysticks_[j].buttons.size(); ++b) {
        if (joysticks_[j].buttons[b] == 1) return JoyButtonCode(int(j), int(b));
    }
    return 0;
}

InputTables SharedInputTables() {
    return {&gInputState(), &gKeyAssign(), &VKey(), &gVKeyFromDevices()};
}

void InputModule::Attach(platform::InputDevices* devices, const InputTables& tables) {
    devices_ = devices;
    tables_ = tables;
    tracker_.Reset();
}

void InputModule::SetVKeyCount(int count) {
    vkeyCount_ = std::clamp(count, 0, kVKeyPlayers);
}

void InputModule::Step() {
    if (devices_ != nullptr) {
        devices_->Sample(snapshot_);
    } else {
        snapshot_ = platform::InputSnapshot{};
    }
    StepWith(snapshot_);
}

void InputModule::StepWith(const platform::InputSnapshot& snapshot) {
    ++steps_;
    tracker_.Step(snapshot, *tables_.state);
    const KeyAssignTable& assign = *tables_.keys;
    for (int p = 0; p < vkeyCount_; ++p) {
        if (!(*tables_.fromDevices)[std::size_t(p)]) continue;
        VKeyFlags flags{};
        for (std::size_t i = 0; i < flags.size(); ++i)
            flags[i] = tracker_.Held(assign[std::size_t(p)][i]);
        UpdateVKey((*tables_.vkeys)[std::size_t(p)], flags);
    }
}

Long InputModule::JoystickCount() const {
    return devices_ == nullptr ? 0 : static_cast<Long>(devices_->JoystickCount());
}

void InputModule::SetupJoysticks() {
    if (devices_ != nullptr) devices_->EnumerateJoysticks();
}

void InputModule::SetupKeyboardMouse() {
    if (devices_ != nullptr) devices_->ResetKeyboardMouse();
}

InputModule& gInputModule() {
    static InputModule module;
    return module;
}

Long WaitInputCode(Long device) {
    return gInputModule().WaitInputCode(device);
}
Long GetJoystickCount() {
    return gInputModule().JoystickCount();
}
void DirectInputSetupJoysticks() {
    gInputModule().SetupJoysticks();
}
void DirectInputSetupKeyboardMouse() {
    gInputModule().SetupKeyboardMouse();
}

}  // namespace brumil::framework
