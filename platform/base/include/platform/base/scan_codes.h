#pragma once
// Keyboard keys by their PC set-1 scan code, as DirectInput numbers them
// (extended keys carry 0x80). These numbers are stored in the settings file,
// so they never change: a key saved on one machine is the same key on another.

#include <cstdint>
#include <string_view>

namespace brumil::platform {

using ScanCode = std::uint8_t;

namespace scan {
constexpr ScanCode Escape = 0x01;
constexpr ScanCode Key1 = 0x02;  // 1..9 are 0x02..0x0A, 0 is 0x0B
constexpr ScanCode Key0 = 0x0B;
constexpr ScanCode Minus = 0x0C;
constexpr ScanCode Equals = 0x0D;
constexpr ScanCode Backspace = 0x0E;
constexpr ScanCode Tab = 0x0F;
constexpr ScanCode Q = 0x10;
constexpr ScanCode W = 0x11;
constexpr ScanCode E = 0x12;
constexpr ScanCode R = 0x13;
constexpr ScanCode T = 0x14;
constexpr ScanCode Y = 0x15;
constexpr ScanCode U = 0x16;
constexpr ScanCode I = 0x17;
constexpr ScanCode O = 0x18;
constexpr ScanCode P = 0x19;
constexpr ScanCode LeftBracket = 0x1A;
constexpr ScanCode RightBracket = 0x1B;
constexpr ScanCode Return = 0x1C;
constexpr ScanCode LeftCtrl = 0x1D;
constexpr ScanCode A = 0x1E;
constexpr ScanCode S = 0x1F;
constexpr ScanCode D = 0x20;
constexpr ScanCode F = 0x21;
constexpr ScanCode G = 0x22;
constexpr ScanCode H = 0x23;
constexpr ScanCode J = 0x24;
constexpr ScanCode K = 0x25;
constexpr ScanCode L = 0x26;
constexpr ScanCode Semicolon = 0x27;
constexpr ScanCode Apostrophe = 0x28;
constexpr ScanCode Grave = 0x29;
constexpr ScanCode LeftShift = 0x2A;
constexpr ScanCode Backslash = 0x2B;
constexpr ScanCode Z = 0x2C;
constexpr ScanCode X = 0x2D;
constexpr ScanCode C = 0x2E;
constexpr ScanCode V = 0x2F;
constexpr ScanCode B = 0x30;
constexpr ScanCode N = 0x31;
constexpr ScanCode M = 0x32;
constexpr ScanCode Comma = 0x33;
constexpr ScanCode Period = 0x34;
constexpr ScanCode Slash = 0x35;
constexpr ScanCode RightShift = 0x36;
constexpr ScanCode KeypadMultiply = 0x37;
constexpr ScanCode LeftAlt = 0x38;
constexpr ScanCode Space = 0x39;
constexpr ScanCode CapsLock = 0x3A;
constexpr ScanCode F1 = 0x3B;  // F1..F10 are 0x3B..0x44
constexpr ScanCode F10 = 0x44;
constexpr ScanCode NumLock = 0x45;
constexpr ScanCode ScrollLock = 0x46;
constexpr ScanCode Keypad7 = 0x47;
constexpr ScanCode Keypad8 = 0x48;
constexpr ScanCode Keypad9 = 0x49;
constexpr ScanCode KeypadMinus = 0x4A;
constexpr ScanCode Keypad4 = 0x4B;
constexpr ScanCode Keypad5 = 0x4C;
constexpr ScanCode Keypad6 = 0x4D;
constexpr ScanCode KeypadPlus = 0x4E;
constexpr ScanCode Keypad1 = 0x4F;
constexpr ScanCode Keypad2 = 0x50;
constexpr ScanCode Keypad3 = 0x51;
constexpr ScanCode Keypad0 = 0x52;
constexpr ScanCode KeypadPeriod = 0x53;
constexpr ScanCode Oem102 = 0x56;  // the extra key left of Z on ISO keyboards
constexpr ScanCode F11 = 0x57;
constexpr ScanCode F12 = 0x58;
constexpr ScanCode F13 = 0x64;
constexpr ScanCode F14 = 0x65;
constexpr ScanCode F15 = 0x66;
constexpr ScanCode Kana = 0x70;
constexpr ScanCode Ro = 0x73;  // Japanese "ろ" / Brazilian "/?" key
constexpr ScanCode Convert = 0x79;
constexpr ScanCode NoConvert = 0x7B;
constexpr ScanCode Yen = 0x7D;
constexpr ScanCode KeypadEquals = 0x8D;
constexpr ScanCode KeypadEnter = 0x9C;
constexpr ScanCode RightCtrl = 0x9D;
constexpr ScanCode Mute = 0xA0;
constexpr ScanCode VolumeDown = 0xAE;
constexpr ScanCode VolumeUp = 0xB0;
constexpr ScanCode KeypadComma = 0xB3;
constexpr ScanCode KeypadDivide = 0xB5;
constexpr ScanCode PrintScreen = 0xB7;
constexpr ScanCode RightAlt = 0xB8;
constexpr ScanCode Pause = 0xC5;
constexpr ScanCode Home = 0xC7;
constexpr ScanCode Up = 0xC8;
constexpr ScanCode PageUp = 0xC9;
constexpr ScanCode Left = 0xCB;
constexpr ScanCode Right = 0xCD;
constexpr ScanCode End = 0xCF;
constexpr ScanCode Down = 0xD0;
constexpr ScanCode PageDown = 0xD1;
constexpr ScanCode Insert = 0xD2;
constexpr ScanCode Delete = 0xD3;
constexpr ScanCode LeftWin = 0xDB;
constexpr ScanCode RightWin = 0xDC;
constexpr ScanCode Apps = 0xDD;
}  // namespace scan

// The scan code of an SDL scancode (SDL_Scancode as an int), 0 when the key has
// no set-1 code.
ScanCode ScanCodeFromSdl(int sdlScancode);

// The key's usual name ("Escape", "Z", "Up", "Keypad 7") and a short form for
// narrow labels ("Esc", "Z", "↑", "Num7"); "" for codes no key uses.
std::string_view ScanCodeName(ScanCode code);
std::string_view ScanCodeShortName(ScanCode code);

}  // namespace brumil::platform
