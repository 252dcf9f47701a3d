#include <algorithm>

#include "platform/base/input_devices.h"

namespace brumil::platform {

void NullInputDevices::Sample(InputSnapshot& out) {
    out.keys = state_.keys;
    out.keys[0] = false;
    out.mouse = state_.mouse;
    state_.mouse.pointer.wheel = 0;
    state_.mouse.pointer.moved = false;
    const int visible = std::min(enumerated_, plugged_);
    out.joysticks.assign(state_.joysticks.begin(), state_.joysticks.begin() + visible);
    // A pad unplugged since the enumeration reads as released.
    out.joysticks.resize(static_cast<std::size_t>(enumerated_));
}

int NullInputDevices::EnumerateJoysticks() {
    enumerated_ = plugged_;
    return enumerated_;
}

void NullInputDevices::ReleaseAll() {
    state_.keys.fill(false);
    state_.mouse.left = state_.mouse.right = state_.mouse.middle = false;
    for (JoystickState& j : state_.joysticks) j = JoystickState{};
}

void NullInputDevices::PlugJoysticks(int count) {
    plugged_ = std::max(count, 0);
    state_.joysticks.resize(static_cast<std::size_t>(plugged_));
}

JoystickState& NullInputDevices::Joystick(int index) {
    return state_.joysticks.at(static_cast<std::size_t>(index));
}

}  // namespace brumil::platform
