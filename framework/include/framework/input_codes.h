#pragma once
// Input codes: one 16-bit value per assignable input. They are stored in the
// settings file as decimal numbers, so the layout never changes:
//
//   0                      no input
//   0x1000 | s             keyboard key with set-1 scan code s (1..255)
//   0x2000 | j << 8 | d    direction d of joystick j: 0 up, 1 down, 2 left, 3 right
//   0x4000 | j << 8 | b    button b (0-based, 0..31) of joystick j
//
// The class sits in the bits 0x7000; j is the joystick number 0..15 in bits
// 8 to 11 (joystick 1 is number 0).

#include <string>

#include "core/vb_types.h"
#include "platform/base/scan_codes.h"

namespace brumil::framework {

constexpr Long kInputClassMask = 0x7000;
constexpr Long kKeyboardClass = 0x1000;
constexpr Long kJoyDirectionClass = 0x2000;
constexpr Long kJoyButtonClass = 0x4000;
constexpr int kMaxJoysticks = 16;

enum JoyDirection : Long { kJoyUp = 0, kJoyDown = 1, kJoyLeft = 2, kJoyRight = 3 };

constexpr Long KeyboardCode(platform::ScanCode s) {
    return kKeyboardClass | s;
}
constexpr Long JoyDirectionCode(int joystick, Long direction) {
    return kJoyDirectionClass | (joystick << 8) | direction;
}
constexpr Long JoyButtonCode(int joystick, int button) {
    return kJoyButtonClass | (joystick << 8) | button;
}
constexpr Long InputClass(Long code) {
    return code & kInputClassMask;
}
constexpr int InputJoystick(Long code) {
    return (code >> 8) & 0x0F;
}
constexpr int InputLowByte(Long code) {
    return code & 0xFF;
}

// True for 0 and for every code of the layout above (any other bits set, an
// unknown direction or a button past 31 make a code invalid).
bool IsValidInputCode(Long code);

// Display names: keys by their usual names ("Z", "Enter", "Keypad 7"),
// joysticks as "JOY1 ↑" and "JOY1 B3" (buttons counted from 1). The short form
// leaves out the joystick ("↑", "B3") and shortens key names ("LCtrl").
// "" for 0; an invalid code gives its number in hexadecimal.
std::string GetInputCodeName(Long code);
std::string GetInputCodeShortName(Long code);

}  // namespace brumil::framework
