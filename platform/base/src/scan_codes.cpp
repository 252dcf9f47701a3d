#include "platform/base/scan_codes.h"

#include <SDL.h>

#include <array>

namespace brumil::platform {

namespace {

struct SdlPair {
    SDL_Scancode sdl;
    ScanCode code;
};

// SDL numbers keys by their USB usage; each pair names the set-1 code of the
// same physical key.
constexpr SdlPair kSdlPairs[] = {
    {SDL_SCANCODE_ESCAPE, scan::Escape},
    {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},
    {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, scan::Key0},
    {SDL_SCANCODE_MINUS, scan::Minus},
    {SDL_SCANCODE_EQUALS, scan::Equals},
    {SDL_SCANCODE_BACKSPACE, scan::Backspace},
    {SDL_SCANCODE_TAB, scan::Tab},
    {SDL_SCANCODE_Q, scan::Q},
    {SDL_SCANCODE_W, scan::W},
    {SDL_SCANCODE_E, scan::E},
    {SDL_SCANCODE_R, scan::R},
    {SDL_SCANCODE_T, scan::T},
    {SDL_SCANCODE_Y, scan::Y},
    {SDL_SCANCODE_U, scan::U},
    {SDL_SCANCODE_I, scan::I},
    {SDL_SCANCODE_O, scan::O},
    {SDL_SCANCODE_P, scan::P},
    {SDL_SCANCODE_LEFTBRACKET, scan::LeftBracket},
    {SDL_SCANCODE_RIGHTBRACKET, scan::RightBracket},
    {SDL_SCANCODE_RETURN, scan::Return},
    {SDL_SCANCODE_LCTRL, scan::LeftCtrl},
    {SDL_SCANCODE_A, scan::A},
    {SDL_SCANCODE_S, scan::S},
    {SDL_SCANCODE_D, scan::D},
    {SDL_SCANCODE_F, scan::F},
    {SDL_SCANCODE_G, scan::G},
    {SDL_SCANCODE_H, scan::H},
    {SDL_SCANCODE_J, scan::J},
    {SDL_SCANCODE_K, scan::K},
    {SDL_SCANCODE_L, scan::L},
    {SDL_SCANCODE_SEMICOLON, scan::Semicolon},
    {SDL_SCANCODE_APOSTROPHE, scan::Apostrophe},
    {SDL_SCANCODE_GRAVE, scan::Grave},
    {SDL_SCANCODE_LSHIFT, scan::LeftShift},
    {SDL_SCANCODE_BACKSLASH, scan::Backslash},
    {SDL_SCANCODE_NONUSHASH, scan::Backslash},  // same position on ISO boards
    {SDL_SCANCODE_Z, scan::Z},
    {SDL_SCANCODE_X, scan::X},
    {SDL_SCANCODE_C, scan::C},
    {SDL_SCANCODE_V, scan::V},
    {SDL_SCANCODE_B, scan::B},
    {SDL_SCANCODE_N, scan::N},
    {SDL_SCANCODE_M, scan::M},
    {SDL_SCANCODE_COMMA, scan::Comma},
    {SDL_SCANCODE_PERIOD, scan::Period},
    {SDL_SCANCODE_SLASH, scan::Slash},
    {SDL_SCANCODE_RSHIFT, scan::RightShift},
    {SDL_SCANCODE_KP_MULTIPLY, scan::KeypadMultiply},
    {SDL_SCANCODE_LALT, scan::LeftAlt},
    {SDL_SCANCODE_SPACE, scan::Space},
    {SDL_SCANCODE_CAPSLOCK, scan::CapsLock},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, scan::F10},
    {SDL_SCANCODE_NUMLOCKCLEAR, scan::NumLock},
    {SDL_SCANCODE_SCROLLLOCK, scan::ScrollLock},
    {SDL_SCANCODE_KP_7, scan::Keypad7},
    {SDL_SCANCODE_KP_8, scan::Keypad8},
    {SDL_SCANCODE_KP_9, scan::Keypad9},
    {SDL_SCANCODE_KP_MINUS, scan::KeypadMinus},
    {SDL_SCANCODE_KP_4, scan::Keypad4},
    {SDL_SCANCODE_KP_5, scan::Keypad5},
    {SDL_SCANCODE_KP_6, scan::Keypad6},
    {SDL_SCANCODE_KP_PLUS, scan::KeypadPlus},
    {SDL_SCANCODE_KP_1, scan::Keypad1},
    {SDL_SCANCODE_KP_2, scan::Keypad2},
    {SDL_SCANCODE_KP_3, scan::Keypad3},
    {SDL_SCANCODE_KP_0, scan::Keypad0},
    {SDL_SCANCODE_KP_PERIOD, scan::KeypadPeriod},
    {SDL_SCANCODE_NONUSBACKSLASH, scan::Oem102},
    {SDL_SCANCODE_F11, scan::F11},
    {SDL_SCANCODE_F12, scan::F12},
    {SDL_SCANCODE_F13, scan::F13},
    {SDL_SCANCODE_F14, scan::F14},
    {SDL_SCANCODE_F15, scan::F15},
    {SDL_SCANCODE_INTERNATIONAL2, scan::Kana},
    {SDL_SCANCODE_INTERNATIONAL1, scan::Ro},
    {SDL_SCANCODE_INTERNATIONAL4, scan::Convert},
    {SDL_SCANCODE_INTERNATIONAL5, scan::NoConvert},
    {SDL_SCANCODE_INTERNATIONAL3, scan::Yen},
    {SDL_SCANCODE_KP_EQUALS, scan::KeypadEquals},
    {SDL_SCANCODE_KP_ENTER, scan::KeypadEnter},
    {SDL_SCANCODE_RCTRL, scan::RightCtrl},
    {SDL_SCANCODE_MUTE, scan::Mute},
    {SDL_SCANCODE_VOLUMEDOWN, scan::VolumeDown},
    {SDL_SCANCODE_VOLUMEUP, scan::VolumeUp},
    {SDL_SCANCODE_KP_COMMA, scan::KeypadComma},
    {SDL_SCANCODE_KP_DIVIDE, scan::KeypadDivide},
    {SDL_SCANCODE_PRINTSCREEN, scan::PrintScreen},
    {SDL_SCANCODE_RALT, scan::RightAlt},
    {SDL_SCANCODE_PAUSE, scan::Pause},
    {SDL_SCANCODE_HOME, scan::Home},
    {SDL_SCANCODE_UP, scan::Up},
    {SDL_SCANCODE_PAGEUP, scan::PageUp},
    {SDL_SCANCODE_LEFT, scan::Left},
    {SDL_SCANCODE_RIGHT, scan::Right},
    {SDL_SCANCODE_END, scan::End},
    {SDL_SCANCODE_DOWN, scan::Down},
    {SDL_SCANCODE_PAGEDOWN, scan::PageDown},
    {SDL_SCANCODE_INSERT, scan::Insert},
    {SDL_SCANCODE_DELETE, scan::Delete},
    {SDL_SCANCODE_LGUI, scan::LeftWin},
    {SDL_SCANCODE_RGUI, scan::RightWin},
    {SDL_SCANCODE_APPLICATION, scan::Apps},
};

constexpr auto kFromSdl = [] {
    std::array<ScanCode, SDL_NUM_SCANCODES> table{};
    for (const SdlPair& p : kSdlPairs) table[p.sdl] = p.code;
    return table;
}();

struct KeyName {
    ScanCode code;
    std::string_view name;
    std::string_view shortName;
};

constexpr KeyName kNames[] = {
    {scan::Escape, "Escape", "Esc"},
    {0x02, "1", "1"},
    {0x03, "2", "2"},
    {0x04, "3", "3"},
    {0x05, "4", "4"},
    {0x06, "5", "5"},
    {0x07, "6", "6"},
    {0x08, "7", "7"},
    {0x09, "8", "8"},
    {0x0A, "9", "9"},
    {scan::Key0, "0", "0"},
    {scan::Minus, "-", "-"},
    {scan::Equals, "=", "="},
    {scan::Backspace, "Backspace", "BS"},
    {scan::Tab, "Tab", "Tab"},
    {scan::Q, "Q", "Q"},
    {scan::W, "W", "W"},
    {scan::E, "E", "E"},
    {scan::R, "R", "R"},
    {scan::T, "T", "T"},
    {scan::Y, "Y", "Y"},
    {scan::U, "U", "U"},
    {scan::I, "I", "I"},
    {scan::O, "O", "O"},
    {scan::P, "P", "P"},
    {scan::LeftBracket, "[", "["},
    {scan::RightBracket, "]", "]"},
    {scan::Return, "Enter", "Enter"},
    {scan::LeftCtrl, "Left Ctrl", "LCtrl"},
    {scan::A, "A", "A"},
    {scan::S, "S", "S"},
    {scan::D, "D", "D"},
    {scan::F, "F", "F"},
    {scan::G, "G", "G"},
    {scan::H, "H", "H"},
    {scan::J, "J", "J"},
    {scan::K, "K", "K"},
    {scan::L, "L", "L"},
    {scan::Semicolon, ";", ";"},
    {scan::Apostrophe, "'", "'"},
    {scan::Grave, "`", "`"},
    {scan::LeftShift, "Left Shift", "LShift"},
    {scan::Backslash, "\\", "\\"},
    {scan::Z, "Z", "Z"},
    {scan::X, "X", "X"},
    {scan::C, "C", "C"},
    {scan::V, "V", "V"},
    {scan::B, "B", "B"},
    {scan::N, "N", "N"},
    {scan::M, "M", "M"},
    {scan::Comma, ",", ","},
    {scan::Period, ".", "."},
    {scan::Slash, "/", "/"},
    {scan::RightShift, "Right Shift", "RShift"},
    {scan::KeypadMultiply, "Keypad *", "Num*"},
    {scan::LeftAlt, "Left Alt", "LAlt"},
    {scan::Space, "Space", "Space"},
    {scan::CapsLock, "Caps Lock", "Caps"},
    {0x3B, "F1", "F1"},
    {0x3C, "F2", "F2"},
    {0x3D, "F3", "F3"},
    {0x3E, "F4", "F4"},
    {0x3F, "F5", "F5"},
    {0x40, "F6", "F6"},
    {0x41, "F7", "F7"},
    {0x42, "F8", "F8"},
    {0x43, "F9", "F9"},
    {scan::F10, "F10", "F10"},
    {scan::NumLock, "Num Lock", "NumLk"},
    {scan::ScrollLock, "Scroll Lock", "ScrLk"},
    {scan::Keypad7, "Keypad 7", "Num7"},
    {scan::Keypad8, "Keypad 8", "Num8"},
    {scan::Keypad9, "Keypad 9", "Num9"},
    {scan::KeypadMinus, "Keypad -", "Num-"},
    {scan::Keypad4, "Keypad 4", "Num4"},
    {scan::Keypad5, "Keypad 5", "Num5"},
    {scan::Keypad6, "Keypad 6", "Num6"},
    {scan::KeypadPlus, "Keypad +", "Num+"},
    {scan::Keypad1, "Keypad 1", "Num1"},
    {scan::Keypad2, "Keypad 2", "Num2"},
    {scan::Keypad3, "Keypad 3", "Num3"},
    {scan::Keypad0, "Keypad 0", "Num0"},
    {scan::KeypadPeriod, "Keypad .", "Num."},
    {scan::Oem102, "\\ (102)", "\\"},
    {scan::F11, "F11", "F11"},
    {scan::F12, "F12", "F12"},
    {scan::F13, "F13", "F13"},
    {scan::F14, "F14", "F14"},
    {scan::F15, "F15", "F15"},
    {scan::Kana, "カタカナ/ひらがな", "かな"},
    {scan::Ro, "ろ", "ろ"},
    {scan::Convert, "変換", "変換"},
    {scan::NoConvert, "無変換", "無変換"},
    {scan::Yen, "￥", "￥"},
    {scan::KeypadEquals, "Keypad =", "Num="},
    {scan::KeypadEnter, "Keypad Enter", "NumEnter"},
    {scan::RightCtrl, "Right Ctrl", "RCtrl"},
    {scan::Mute, "Mute", "Mute"},
    {scan::VolumeDown, "Volume Down", "Vol-"},
    {scan::VolumeUp, "Volume Up", "Vol+"},
    {scan::KeypadComma, "Keypad ,", "Num,"},
    {scan::KeypadDivide, "Keypad /", "Num/"},
    {scan::PrintScreen, "Print Screen", "PrtSc"},
    {scan::RightAlt, "Right Alt", "RAlt"},
    {scan::Pause, "Pause", "Pause"},
    {scan::Home, "Home", "Home"},
    {scan::Up, "Up", "↑"},
    {scan::PageUp, "Page Up", "PgUp"},
    {scan::Left, "Left", "←"},
    {scan::Right, "Right", "→"},
    {scan::End, "End", "End"},
    {scan::Down, "Down", "↓"},
    {scan::PageDown, "Page Down", "PgDn"},
    {scan::Insert, "Insert", "Ins"},
    {scan::Delete, "Delete", "Del"},
    {scan::LeftWin, "Left Windows", "LWin"},
    {scan::RightWin, "Right Windows", "RWin"},
    {scan::Apps, "Menu", "Menu"},
};

constexpr auto kNameIndex = [] {
    std::array<int, 256> index{};
    for (int& i : index) i = -1;
    for (std::size_t i = 0; i < std::size(kNames); ++i) index[kNames[i].code] = static_cast<int>(i);
    return index;
}();

}  // namespace

ScanCode ScanCodeFromSdl(int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= static_cast<int>(kFromSdl.size())) return 0;
    return kFromSdl[static_cast<std::size_t>(sdlScancode)];
}

std::string_view ScanCodeName(ScanCode code) {
    const int i = kNameIndex[code];
    return i < 0 ? std::string_view{} : kNames[i].name;
}

std::string_view ScanCodeShortName(ScanCode code) {
    const int i = kNameIndex[code];
    return i < 0 ? std::string_view{} : kNames[i].shortName;
}

}  // namespace brumil::platform
