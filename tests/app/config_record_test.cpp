#include "app/config_record.h"

#include <gtest/gtest.h>

#include <string>

namespace brumil::app {
namespace {

using namespace std::literals;

constexpr std::string_view kDefaultFile =
    "[Brumil8x コンフィグデータ]\r\n"
    "\r\n"
    "[グラフィック]\r\n"
    "GraphicsAutomation=0\r\n"
    "ScreenMode=1\r\n"
    "DeviceMode=1\r\n"
    "PixelBits=32\r\n"
    "DisplaySize=0\r\n"
    "Disable32BitTexture=0\r\n"
    "ZBuffer=0\r\n"
    "FPSIndex=0\r\n"
    "WaitVsink=3\r\n"
    "\r\n"
    "[サウンド]\r\n"
    "Volume=2\r\n"
    "\r\n"
    "[ネットワーク]\r\n"
    "NetworkUserName=\r\n"
    "\r\n"
    "[キーコンフィグ]\r\n"
    "Pad0=\r\n"
    "Pad1=\r\n"
    "PadX=\r\n"
    "\r\n";

ConfigRecord FromText(std::string_view text) {
    ConfigRecord record;
    record.Volume = 99;  // must not survive: reading starts from the defaults
    record.Pad0 = "stale";
    ConfigFromText(record, text);
    return record;
}

TEST(ConfigRecord, EmptyTextGivesTheDefaults) {
    const ConfigRecord r = FromText("");
    EXPECT_EQ(r.ScreenMode, 1);
    EXPECT_EQ(r.DeviceMode, 1);
    EXPECT_EQ(r.PixelBits, 32);
    EXPECT_EQ(r.Volume, 2);
    EXPECT_EQ(r.WaitVsink, 3);
    EXPECT_EQ(r.GraphicsAutomation, 0);
    EXPECT_EQ(r.FPSIndex, 0);
    EXPECT_EQ(r.DisplaySize, 0);
    EXPECT_EQ(r.ZBuffer, 0);
    EXPECT_EQ(r.Disable32BitTexture, 0);
    EXPECT_EQ(r.Pad0, "");
    EXPECT_EQ(r.Pad1, "");
    EXPECT_EQ(r.PadX, "");
    EXPECT_EQ(r.NetworkUserName, "");
}

TEST(ConfigRecord, DefaultsSerialiseByteExact) {
    ConfigRecord r;
    r.Volume = 5;
    r.NetworkUserName = "x";
    ConfigSetDefault(r);
    const std::string text = ConfigToText(r);
    EXPECT_EQ(text, kDefaultFile);
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 24u);
}

TEST(ConfigRecord, EveryFieldIsWrittenUnderItsKey) {
    ConfigRecord r;
    r.GraphicsAutomation = 10;
    r.ScreenMode = 0;
    r.DeviceMode = 0;
    r.PixelBits = 24;
    r.DisplaySize = 2;
    r.Disable32BitTexture = 1;
    r.ZBuffer = 1;
    r.FPSIndex = -7;
    r.WaitVsink = 1;
    r.Volume = 5;
    r.NetworkUserName = "さくら";
    r.Pad0 = "1,2\r\n3";
    r.Pad1 = "4";
    r.PadX = "\r\n";
    EXPECT_EQ(ConfigToText(r),
              "[Brumil8x コンフィグデータ]\r\n\r\n[グラフィック]\r\n"
              "GraphicsAutomation=10\r\nScreenMode=0\r\nDeviceMode=0\r\nPixelBits=24\r\n"
              "DisplaySize=2\r\nDisable32BitTexture=1\r\nZBuffer=1\r\nFPSIndex=-7\r\n"
              "WaitVsink=1\r\n\r\n[サウンド]\r\nVolume=5\r\n\r\n[ネットワーク]\r\n"
              "NetworkUserName=さくら\r\n\r\n[キーコンフィグ]\r\n"
              "Pad0=1,2/3\r\nPad1=4\r\nPadX=/\r\n\r\n");
}

TEST(ConfigRecord, RoundTripKeepsEveryField) {
    ConfigRecord r;
    r.Pad0 = "4296,4299,4302\r\n4297,4298\r\n4300";
    r.Pad1 = "8192,8193\r\n16384";
    r.PadX = "\r\n4096\r\n\r\n";
    SetNetworkUserName(r, "プレイヤー＝一号 = two");
    r.GraphicsAutomation = 11;
    r.ScreenMode = 0;
    r.DeviceMode = 0;
    r.PixelBits = 16;
    r.Volume = 9;  // outside 0..5: kept as read, the volume setter clamps
    r.FPSIndex = 3;
    r.DisplaySize = 3;
    r.ZBuffer = -1;
    r.Disable32BitTexture = 1;
    r.WaitVsink = 0;
    EXPECT_EQ(FromText(ConfigToText(r)), r);

    ConfigRecord extremes;
    extremes.GraphicsAutomation = INT32_MIN;
    extremes.FPSIndex = INT32_MAX;
    EXPECT_EQ(FromText(ConfigToText(extremes)), extremes);
}

TEST(ConfigRecord, ReaderRules) {
    struct Case {
        const char* name;
        std::string_view text;
        Long volume;
        Long pixelBits;
        std::string_view user;
    };
    const Case cases[] = {
        {"last duplicate wins", "Volume=1\r\nVolume=4\r\n", 4, 32, ""},
        {"lower-case key ignored", "volume=4\r\nPIXELBITS=16\r\n", 2, 32, ""},
        {"blank inside key ignored", "Volume =4\r\n PixelBits=16\r\n", 2, 32, ""},
        {"banners anywhere ignored", "[サウンド]\r\nVolume=4\r\n[x]\r\nPixelBits=16", 4, 16, ""},
        {"blanks around number", "Volume= 4 \r\nPixelBits=\t16\r\n", 4, 16, ""},
        {"equals sign kept in name", "NetworkUserName=a=b==c\r\n", 2, 32, "a=b==c"},
        {"LF-only line ends", "Volume=4\nPixelBits=16\nNetworkUserName=n\n", 4, 16, "n"},
        {"no final line end", "Volume=3", 3, 32, ""},
        {"line without equals", "Volume\r\nPixelBits16\r\n", 2, 32, ""},
        {"volume outside 0..5 kept", "Volume=-3\r\n", -3, 32, ""},
        {"negative number", "PixelBits=-16\r\n", 2, -16, ""},
        {"plus sign", "PixelBits=+16\r\n", 2, 16, ""},
        {"32-bit ends", "Volume=2147483647\r\nPixelBits=-2147483648", 2147483647, INT32_MIN, ""},
    };
    for (const Case& c : cases) {
        const ConfigRecord r = FromText(c.text);
        EXPECT_EQ(r.Volume, c.volume) << c.name;
        EXPECT_EQ(r.PixelBits, c.pixelBits) << c.name;
        EXPECT_EQ(r.NetworkUserName, c.user) << c.name;
    }
}

TEST(ConfigRecord, BadNumbersKeepTheDefault) {
    const char* const values[] = {
        "",    "abc",        "4x",          "x4",   "4.0",
        "1e2", "&H10",       "- 4",         "--4",  "+",
        "4 4", "2147483648", "-2147483649", "0x10", "99999999999999999999",
        "４",  // full-width digit
    };
    for (const char* v : values) {
        const ConfigRecord r = FromText(std::string("WaitVsink=") + v + "\r\nVolume=" + v + "\r\n");
        EXPECT_EQ(r.WaitVsink, 3) << '"' << v << '"';
        EXPECT_EQ(r.Volume, 2) << '"' << v << '"';
    }
    // A bad line does not undo an earlier good one.
    EXPECT_EQ(FromText("Volume=4\r\nVolume=loud\r\n").Volume, 4);
}

TEST(ConfigRecord, KeyTextSlashesBecomeLineBreaks) {
    const ConfigRecord r = FromText("Pad0=1,2/3,4/\r\nPad1=/\r\nPadX=7\r\n");
    EXPECT_EQ(r.Pad0, "1,2\r\n3,4\r\n");
    EXPECT_EQ(r.Pad1, "\r\n");
    EXPECT_EQ(r.PadX, "7");
}

TEST(ConfigRecord, NameCannotInjectSettings) {
    ConfigRecord r;
    SetNetworkUserName(r, "evil\r\nVolume=5\nScreenMode=0\rx\0y"sv);
    EXPECT_EQ(r.NetworkUserName, std::string("evilVolume=5ScreenMode=0xy"));

    // Assigned past the setter: the writer still keeps the file's lines.
    ConfigRecord direct;
    direct.NetworkUserName = "a\r\nVolume=5\r\nb";
    const ConfigRecord back = FromText(ConfigToText(direct));
    EXPECT_EQ(back.Volume, 2);
    EXPECT_EQ(back.NetworkUserName, "aVolume=5b");

    // A lone CR inside a name line read from a file is dropped too.
    EXPECT_EQ(FromText("NetworkUserName=a\rb\r\n").NetworkUserName, "ab");
}

TEST(ConfigRecord, KeyTextLoneBreaksCannotShiftLines) {
    ConfigRecord r;
    r.Pad0 = "1\nVolume=5\r2";
    r.Pad1 = std::string(
        "3\0"
        "4",
        3);
    const std::string text = ConfigToText(r);
    EXPECT_NE(text.find("Pad0=1/Volume=5/2\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    const ConfigRecord back = FromText(text);
    EXPECT_EQ(back.Volume, 2);
    EXPECT_EQ(back.Pad0, "1\r\nVolume=5\r\n2");
    EXPECT_EQ(back.Pad1, "34");
}

}  // namespace
}  // namespace brumil::app
