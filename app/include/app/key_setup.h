#pragma once
// Key assignment set-up: the four players' assignment records get the
// defaults for the number of joysticks connected, and the text remembered for
// that number (Pad0, Pad1 or PadX of the settings) is laid over them. Each
// joystick count so keeps its own assignment across runs.

#include <string>

#include "app/config_record.h"
#include "core/vb_types.h"
#include "framework/key_assign.h"

namespace brumil::app {

// The settings field that holds the key text for a joystick count: Pad0 for
// none, Pad1 for one, PadX for two or more (three and more share PadX).
std::string& KeyTextForJoysticks(ConfigRecord& config, Long joysticks);
const std::string& KeyTextForJoysticks(const ConfigRecord& config, Long joysticks);

// The set-up on the given records:
//   0 joysticks: record 0 the keyboard set, record 1 cleared, then Pad0;
//   1 joystick:  every record the pad defaults, record 1 the keyboard set,
//                records 2 and 3 cleared, then Pad1;
//   2 or more:   every record the pad defaults, then PadX.
// Records not named keep what they had (record 2 and 3 with no joystick).
void SetupKeyAssign(Long joysticks, const ConfigRecord& config, framework::KeyAssignTable& table);

// The set-up on the shared records from the current joystick count and the
// shared settings; remembers the count it used.
void SetupKeyAssign();

// The joystick count the last SetupKeyAssign used, -1 before the first. The
// key text is stored back under this count at the end of a run, so a pad
// plugged in or out meanwhile never files one count's keys under another.
Long KeyAssignJoystickCount();

}  // namespace brumil::app
