#include "app/key_setup.h"

#include "app/save_files.h"
#include "framework/input_module.h"

namespace brumil::app {

namespace {

Long& LastJoystickCount() {
    static Long count = -1;
    return count;
}

std::string ConfigRecord::*KeyTextField(Long joysticks) {
    if (joysticks <= 0) return &ConfigRecord::Pad0;
    if (joysticks == 1) return &ConfigRecord::Pad1;
    return &ConfigRecord::PadX;
}

}  // namespace

std::string& KeyTextForJoysticks(ConfigRecord& config, Long joysticks) {
    return config.*KeyTextField(joysticks);
}

const std::string& KeyTextForJoysticks(const ConfigRecord& config, Long joysticks) {
    return config.*KeyTextField(joysticks);
}

void SetupKeyAssign(Long joysticks, const ConfigRecord& config, framework::KeyAssignTable& table) {
    if (joysticks <= 0) {
        framework::SetDefaultKeyAssign1(table[0]);
        table[1].fill(0);
    } else if (joysticks == 1) {
        framework::SetDefaultPadAssign(table);
        // The second player plays on the keyboard beside the one pad.
        framework::SetDefaultKeyAssign1(table[1]);
        table[2].fill(0);
        table[3].fill(0);
    } else {
        framework::SetDefaultPadAssign(table);
    }
    framework::LoadKeyAssign(table, KeyTextForJoysticks(config, joysticks));
}

void SetupKeyAssign() {
    const Long joysticks = framework::GetJoystickCount();
    SetupKeyAssign(joysticks, gConfig(), framework::gKeyAssign());
    LastJoystickCount() = joysticks;
}

Long KeyAssignJoystickCount() {
    return LastJoystickCount();
}

}  // namespace brumil::app
