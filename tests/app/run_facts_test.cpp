#include "app/run_facts.h"

#include <gtest/gtest.h>

#include <string>

namespace brumil::app {
namespace {

// The report of our platform, whole, for two kinds of machine.
TEST(RunFacts, ReportOfThisPlatformByteExact) {
    PlatformFacts desk;
    desk.WindowShown = true;
    desk.DisplaySupport = "Direct3D (software), Linear Filter";
    desk.DisplayNonSupport = "Hardware Device";
    desk.SoundStarted = true;
    desk.SoundHeard = true;
    desk.SoundHz = 44100;
    desk.SoundBits = 16;
    desk.SoundChannels = 2;
    desk.PixelBits = 32;
    desk.VideoMemoryTotalKB = 12345;
    desk.VideoMemoryFreeKB = 345;
    desk.TextureLimit = 1;

    PlatformFacts ci;  // no display, null sound output, nothing else
    ci.DisplaySupport = "";
    ci.DisplayNonSupport = "Z-Buffer";
    ci.PixelBits = 16;
    ci.VsinkCorrect = 7;
    ci.TextureLimit = -1;

    PlatformFacts big = desk;
    big.SoundHeard = false;
    big.VideoMemoryTotalKB = 1048576;
    big.VideoMemoryFreeKB = 0;
    big.BackInVideoMemory = true;
    big.TextureLimit = 512;

    const auto report = [](std::string_view support, std::string_view nonSupport,
                           std::string_view vsink, std::string_view bits, std::string_view back,
                           std::string_view total, std::string_view used,
                           std::string_view texture) {
        std::string r = "[Brumilの実行データ]\r\n\r\n[サポートされている機能]\r\n";
        r += std::string(support) + "\r\n\r\n[サポートされていない機能]\r\n";
        r += std::string(nonSupport) + "\r\n\r\n[VsinkCorrect]\r\n" + std::string(vsink) +
             "/50\r\n\r\n[PixelBits]\r\n" + std::string(bits) + "\r\n\r\n[BackBuffer]\r\n" +
             std::string(back) + "\r\n\r\n[VideoMemory]\r\n";
        r += "Total LocalVRAM    =" + std::string(total) + "KB\r\n";
        r += "Use   LocalVRAM    =" + std::string(used) + "KB\r\n\r\n[TextureMemory]\r\n";
        r += texture;
        r += "\r\n------------------------\r\n\r\n";
        return r;
    };

    struct Case {
        const PlatformFacts* facts;
        std::string expected;
    };
    const Case cases[] = {
        {&desk,
         report("Window, Direct3D (software), Linear Filter, Software Mixer 44100Hz 16bit 2ch",
                "Hardware Device", "0", "32", "SystemMemory", " 12345", " 12000",
                "足りなくなりました、自動管理します\r\n")},
        {&ci, report("Frame Buffer (no display)", "Window, Z-Buffer, Sound, Video Memory", "7",
                     "16", "SystemMemory", "     0", "     0", "")},
        {&big,
         report("Window, Direct3D (software), Linear Filter, Software Mixer 44100Hz 16bit 2ch (no "
                "output device)",
                "Hardware Device", "0", "32", "VRAM", "1048576", "1048576",
                "足りなくなりました、縮小します\r\n")},
    };
    for (const Case& c : cases) EXPECT_EQ(RunReportText(MakeRunFacts(*c.facts)), c.expected);
}

}  // namespace
}  // namespace brumil::app
