#include "framework/input_codes.h"

#include <cstdio>

namespace brumil::framework {

namespace {

constexpr const char* kArrows[] = {"↑", "↓", "←", "→"};

std::string Hex(Long code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(code));
    return buf;
}

std::string Name(Long code, bool shortForm) {
    if (code == 0) return {};
    if (!IsValidInputCode(code)) return Hex(code);
    const int low = InputLowByte(code);
    const std::string joy = shortForm ? "" : "JOY" + std::to_string(InputJoystick(code) + 1) + " ";
    switch (InputClass(code)) {
        case kKeyboardClass: {
            const auto s = static_cast<platform::ScanCode>(low);
            const std::string_view n =
                shortForm ? platform::ScanCodeShortName(s) : platform::ScanCodeName(s);
            return n.empty() ? "Key " + std::to_string(low) : std::string(n);
        }
        case kJoyDirectionClass:
            return joy + kArrows[low];
        default:
            return joy + "B" + std::to_string(low + 1);
    }
}

}  // namespace

bool IsValidInputCode(Long code) {
    if (code == 0) return true;
    if ((code & ~Long{0x7FFF}) != 0) return false;
    const int low = InputLowByte(code);
    switch (InputClass(code)) {
        case kKeyboardClass:
            return (code & 0x0F00) == 0 && low != 0;
        case kJoyDirectionClass:
            return low <= kJoyRight;
        case kJoyButtonClass:
            return low < 32;
        default:
            return false;
    }
}

std::string GetInputCodeName(Long code) {
    return Name(code, false);
}
std::string GetInputCodeShortName(Long code) {
    return Name(code, true);
}

}  // namespace brumil::framework
