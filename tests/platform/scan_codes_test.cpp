#include "platform/base/scan_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace brumil::platform {
namespace {

// SDL scancodes are the USB keyboard usage numbers, so the table below can
// name them by number without the SDL header.
TEST(ScanCodes, FromSdlSpotChecks) {
    struct Case {
        int usb;
        int scan;
        const char* key;
    };
    const std::vector<Case> table = {
        {41, 1, "Escape"},
        {30, 2, "1"},
        {38, 10, "9"},
        {39, 11, "0"},
        {20, 16, "Q"},
        {40, 28, "Return"},
        {224, 29, "Left Ctrl"},
        {4, 30, "A"},
        {29, 44, "Z"},
        {27, 45, "X"},
        {6, 46, "C"},
        {44, 57, "Space"},
        {58, 59, "F1"},
        {67, 68, "F10"},
        {68, 87, "F11"},
        {69, 88, "F12"},
        {82, 200, "Up"},
        {81, 208, "Down"},
        {80, 203, "Left"},
        {79, 205, "Right"},
        {88, 156, "Keypad Enter"},
        {228, 157, "Right Ctrl"},
        {74, 199, "Home"},
        {75, 201, "Page Up"},
        {77, 207, "End"},
        {78, 209, "Page Down"},
        {73, 210, "Insert"},
        {76, 211, "Delete"},
        {225, 42, "Left Shift"},
        {229, 54, "Right Shift"},
        {226, 56, "Left Alt"},
        {230, 184, "Right Alt"},
        {42, 14, "Backspace"},
        {43, 15, "Tab"},
        {84, 181, "Keypad /"},
        {85, 55, "Keypad *"},
        {95, 71, "Keypad 7"},
        {98, 82, "Keypad 0"},
        {70, 183, "Print Screen"},
        {72, 197, "Pause"},
        {83, 69, "Num Lock"},
        {135, 115, "Ro"},
        {137, 125, "Yen"},
        {138, 121, "Convert"},
        {139, 123, "NoConvert"},
        {136, 112, "Kana"},
        {100, 86, "ISO extra key"},
    };
    for (const Case& c : table) EXPECT_EQ(ScanCodeFromSdl(c.usb), c.scan) << c.key;
}

TEST(ScanCodes, UnknownAndOutOfRangeGiveZero) {
    for (int usb : {0, 1, 2, 3, 116, 511, 512, -1, 100000})
        EXPECT_EQ(ScanCodeFromSdl(usb), 0) << usb;
}

TEST(ScanCodes, NoTwoKeysShareACodeExceptIsoHash) {
    // Backslash (49) and the ISO "#" key (50) sit in the same place.
    std::set<int> seen;
    for (int usb = 0; usb < 512; ++usb) {
        const int code = ScanCodeFromSdl(usb);
        if (code == 0 || usb == 50) continue;
        EXPECT_TRUE(seen.insert(code).second) << "usb " << usb << " code " << code;
    }
    EXPECT_GE(seen.size(), 100u);
}

TEST(ScanCodes, EveryMappedKeyHasNames) {
    for (int usb = 0; usb < 512; ++usb) {
        const ScanCode code = ScanCodeFromSdl(usb);
        if (code == 0) continue;
        EXPECT_FALSE(ScanCodeName(code).empty()) << int(code);
        EXPECT_FALSE(ScanCodeShortName(code).empty()) << int(code);
    }
    EXPECT_TRUE(ScanCodeName(0).empty());
    EXPECT_TRUE(ScanCodeName(0xEE).empty());
}

}  // namespace
}  // namespace brumil::platform
