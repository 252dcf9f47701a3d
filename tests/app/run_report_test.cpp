#include "app/run_report.h"

#include <gtest/gtest.h>

#include <string>

namespace brumil::app {
namespace {

// Everything above the texture state, for a machine with 5-digit memory figures.
constexpr std::string_view kHeadSmall =
    "[Brumilの実行データ]\r\n"
    "\r\n"
    "[サポートされている機能]\r\n"
    "Window\r\nSoftwareRasterizer\r\n"
    "\r\n"
    "[サポートされていない機能]\r\n"
    "\r\n"
    "\r\n"
    "[VsinkCorrect]\r\n"
    "0/50\r\n"
    "\r\n"
    "[PixelBits]\r\n"
    "32\r\n"
    "\r\n"
    "[BackBuffer]\r\n"
    "SystemMemory\r\n"
    "\r\n"
    "[VideoMemory]\r\n"
    "Total LocalVRAM    = 65536KB\r\n"
    "Use   LocalVRAM    = 12345KB\r\n"
    "\r\n"
    "[TextureMemory]\r\n";

constexpr std::string_view kTail =
    "\r\n"
    "------------------------\r\n"
    "\r\n";

RunFacts SmallMachine() {
    RunFacts f;
    f.SupportText = "Window\r\nSoftwareRasterizer";
    f.NonSupportText = "";
    f.VsinkCorrect = 0;
    f.PixelBits = 32;
    f.BackInVideoMemory = false;
    f.VideoMemoryTotalKB = 65536;
    f.VideoMemoryFreeKB = 65536 - 12345;
    return f;
}

TEST(RunReport, TextureStateLine) {
    struct Case {
        Long limit;
        std::string_view line;  // empty: no line at all
    };
    const Case cases[] = {
        {0, "現在のところは足りています\r\n"},
        {1, "足りなくなりました、自動管理します\r\n"},
        {2, "足りなくなりました、縮小します\r\n"},
        {512, "足りなくなりました、縮小します\r\n"},
        {-1, ""},
    };
    for (const Case& c : cases) {
        RunFacts f = SmallMachine();
        f.TextureLimit = c.limit;
        EXPECT_EQ(RunReportText(f),
                  std::string(kHeadSmall) + std::string(c.line) + std::string(kTail))
            << c.limit;
    }
}

TEST(RunReport, LargeMachineByteExact) {
    RunFacts f;
    f.SupportText = "Direct3D";
    f.NonSupportText = "HardwareTnL\r\nZBuffer";
    f.VsinkCorrect = 49;
    f.PixelBits = 16;
    f.BackInVideoMemory = true;
    f.VideoMemoryTotalKB = 1048576;  // 7 digits: wider than the field, shown whole
    f.VideoMemoryFreeKB = 1;
    f.TextureLimit = 512;
    EXPECT_EQ(RunReportText(f),
              "[Brumilの実行データ]\r\n\r\n"
              "[サポートされている機能]\r\nDirect3D\r\n\r\n"
              "[サポートされていない機能]\r\nHardwareTnL\r\nZBuffer\r\n\r\n"
              "[VsinkCorrect]\r\n49/50\r\n\r\n"
              "[PixelBits]\r\n16\r\n\r\n"
              "[BackBuffer]\r\nVRAM\r\n\r\n"
              "[VideoMemory]\r\n"
              "Total LocalVRAM    =1048576KB\r\n"
              "Use   LocalVRAM    =1048575KB\r\n\r\n"
              "[TextureMemory]\r\n足りなくなりました、縮小します\r\n"
              "\r\n------------------------\r\n\r\n");
}

TEST(RunReport, MemoryFieldAlignment) {
    struct Case {
        Long total;
        Long free;
        std::string_view totalLine;
        std::string_view usedLine;
    };
    const Case cases[] = {
        {0, 0, "Total LocalVRAM    =     0KB", "Use   LocalVRAM    =     0KB"},
        {999999, 0, "Total LocalVRAM    =999999KB", "Use   LocalVRAM    =999999KB"},
        {10, 20, "Total LocalVRAM    =    10KB", "Use   LocalVRAM    =   -10KB"},
        {INT32_MAX, INT32_MIN, "Total LocalVRAM    =2147483647KB",
         "Use   LocalVRAM    =4294967295KB"},
    };
    for (const Case& c : cases) {
        RunFacts f;
        f.VideoMemoryTotalKB = c.total;
        f.VideoMemoryFreeKB = c.free;
        const std::string text = RunReportText(f);
        EXPECT_NE(text.find(std::string("\r\n") + std::string(c.totalLine) + "\r\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find(std::string("\r\n") + std::string(c.usedLine) + "\r\n"),
                  std::string::npos)
            << text;
    }
}

}  // namespace
}  // namespace brumil::app
