#pragma once
// The user's settings and their file "\save\config.fig".
//
// The file is plain text: key=value lines under section banners, CR LF line
// ends. The reader ignores the banners and takes the known keys wherever they
// stand; a key that occurs twice takes its last value. Values are not
// range-checked here: each user of a field applies its own reading.

#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::app {

struct ConfigRecord {
    std::string Pad0;              // key assignment text kept for 0 joysticks
    std::string Pad1;              // ... for 1 joystick
    std::string PadX;              // ... for 2 or more joysticks
    std::string NetworkUserName;   // never holds CR, LF or NUL (see SetNetworkUserName)
    Long GraphicsAutomation = 0;   // graphics preset 0, 1, 2, 3, 10 or 11
    Long ScreenMode = 1;           // 0 window, 1 full screen
    Long DeviceMode = 1;           // 0 software rendering, else hardware
    Long PixelBits = 32;           // display depth of preset 10
    Long Volume = 2;               // 0 loudest .. 5 silent; kept as read
    Long FPSIndex = 0;             // carried from load to save only
    Long DisplaySize = 0;          // bit 0 half size 320x240, bit 1 1024x768
    Long ZBuffer = 0;              // non-zero: create a z-buffer (preset 10)
    Long Disable32BitTexture = 0;  // non-zero: 16-bit textures (preset 10)
    Long WaitVsink = 3;            // bit 0 follow the scan line, bit 1 strictly

    friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;
};

inline constexpr std::string_view kConfigFilePath = "\\save\\config.fig";

// Every field back to its default.
void ConfigSetDefault(ConfigRecord& record);

// Stores a player name with CR, LF and NUL removed, so that a name can never
// add lines to the settings file.
void SetNetworkUserName(ConfigRecord& record, std::string_view name);

// The file text: 24 lines, each ending with CR LF. A key text's line breaks
// are written as "/" so that it stays on one line.
std::string ConfigToText(const ConfigRecord& record);

// Fills the record from a file text, starting from the defaults. Lines may end
// with CR LF or LF alone. A number that is not a decimal integer within the
// 32-bit range is passed over, so the field keeps what it had (its default,
// unless an earlier line set it).
void ConfigFromText(ConfigRecord& record, std::string_view text);

}  // namespace brumil::app
