#include "app/graphics_preset.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace brumil::app {
namespace {

using framework::CMaxwellConfig;

// Every setting a preset may touch, for whole-record comparison.
auto Fields(const CMaxwellConfig& c) {
    return std::tuple(c.ddWidth, c.ddHeight, c.ddFullScreen, c.ddHardware, c.ddDirect3D,
                      c.ddZBuffer, c.ddTextureCompression, c.ddNo32BitTexture, c.ddHalfSize,
                      c.ddSecondZBuffer, c.ddMenuAutoHide, c.ddHighQuality, c.ddPixelBits1,
                      c.WaitVsinkSP, c.PaintManual, c.ddRefreshRate, c.FullScreenMenu);
}

// A record unlike any preset's result, so that a setting left untouched shows.
CMaxwellConfig Unusual() {
    CMaxwellConfig c;
    c.ddWidth = 1;
    c.ddHeight = 2;
    c.ddFullScreen = true;
    c.ddHardware = false;
    c.ddDirect3D = false;
    c.ddZBuffer = true;
    c.ddTextureCompression = true;
    c.ddNo32BitTexture = true;
    c.ddHalfSize = true;
    c.ddSecondZBuffer = true;
    c.ddMenuAutoHide = false;
    c.ddHighQuality = true;
    c.ddPixelBits1 = 7;
    c.WaitVsinkSP = false;
    c.PaintManual = true;
    c.ddRefreshRate = 75;
    return c;
}

struct Options {
    bool full, hw, z, tc, no32, half, hq;
    Long depth;
};

CMaxwellConfig Expected(const Options& o, bool vsink, bool manual) {
    CMaxwellConfig c = Unusual();
    c.ddWidth = 640;
    c.ddHeight = 480;
    c.ddFullScreen = o.full;
    c.ddHardware = o.hw;
    c.ddDirect3D = true;
    c.ddZBuffer = o.z;
    c.ddTextureCompression = o.tc;
    c.ddNo32BitTexture = o.no32;
    c.ddHalfSize = o.half;
    c.ddSecondZBuffer = false;
    c.ddMenuAutoHide = true;
    c.ddHighQuality = o.hq;
    c.ddPixelBits1 = o.depth;
    c.WaitVsinkSP = vsink;
    c.PaintManual = manual;
    return c;
}

TEST(GraphicsPreset, FixedPresets) {
    struct Case {
        Long preset;
        Long screenMode;
        Options o;
        bool vsink;  // as left in Unusual() unless the preset sets it
        bool manual;
    };
    const Case cases[] = {
        {0, 1, {true, true, false, false, false, false, false, 32}, false, true},
        {0, 0, {false, true, false, false, false, false, false, 32}, false, true},
        {1, 1, {true, true, false, true, true, false, false, 16}, false, true},
        {2, 1, {true, true, false, true, true, true, false, 32}, true, false},
        {2, -5, {true, true, false, true, true, true, false, 32}, true, false},
        {3, 0, {false, false, false, false, false, false, false, 32}, false, true},
        {11, 1, {true, true, false, false, false, false, true, 32}, false, true},
    };
    for (const Case& c : cases) {
        ConfigRecord config;
        config.GraphicsAutomation = c.preset;
        config.ScreenMode = c.screenMode;
        // Detailed-only fields must not leak into the fixed presets.
        config.DisplaySize = 3;
        config.WaitVsink = 0;
        config.ZBuffer = 1;
        config.PixelBits = 24;
        CMaxwellConfig m = Unusual();
        EXPECT_TRUE(ApplyGraphicsPreset(config, m)) << c.preset;
        EXPECT_EQ(Fields(m), Fields(Expected(c.o, c.vsink, c.manual))) << "preset " << c.preset;
    }
}

TEST(GraphicsPreset, DetailedPresetEveryDisplaySizeAndWaitVsink) {
    for (Long size = 0; size < 4; ++size) {
        for (Long wait = 0; wait < 4; ++wait) {
            ConfigRecord config;
            config.GraphicsAutomation = 10;
            config.ScreenMode = 0;
            config.DeviceMode = 1;
            config.PixelBits = 16;
            config.ZBuffer = 1;
            config.Disable32BitTexture = 0;
            config.DisplaySize = size;
            config.WaitVsink = wait;
            CMaxwellConfig m = Unusual();
            EXPECT_TRUE(ApplyGraphicsPreset(config, m));
            const Options o{false, true, true, false, false, (size & 1) != 0, (size & 2) != 0, 16};
            EXPECT_EQ(Fields(m), Fields(Expected(o, (wait & 1) != 0, (wait & 2) != 0)))
                << "DisplaySize " << size << " WaitVsink " << wait;
        }
    }
}

TEST(GraphicsPreset, DetailedPresetDeviceTexturesAndDepth) {
    struct Case {
        Long deviceMode;
        Long pixelBits;
        Long disable32;
        bool hw;
        bool textures16;
        Long depth;
    };
    const Case cases[] = {
        {1, 32, 0, true, false, 32},  {1, 24, 0, true, false, 24},
        {1, 16, 1, true, true, 16},   {-1, 32, 1, true, true, 32},  // hardware keeps PixelBits
        {0, 24, 0, false, false, 32}, {0, 24, 1, false, true, 16},  // software: by textures
        {0, 24, -1, false, true, 32},  // compression on, but only a positive value asks 16
    };
    for (const Case& c : cases) {
        ConfigRecord config;
        config.GraphicsAutomation = 10;
        config.ScreenMode = 1;
        config.DeviceMode = c.deviceMode;
        config.PixelBits = c.pixelBits;
        config.Disable32BitTexture = c.disable32;
        config.ZBuffer = 0;
        config.DisplaySize = 0;
        config.WaitVsink = 3;
        CMaxwellConfig m = Unusual();
        EXPECT_TRUE(ApplyGraphicsPreset(config, m));
        const Options o{true, c.hw, false, c.textures16, c.textures16, false, false, c.depth};
        EXPECT_EQ(Fields(m), Fields(Expected(o, true, true)))
            << c.deviceMode << "/" << c.pixelBits << "/" << c.disable32;
        EXPECT_EQ(GraphicsPresetDepth(config), c.depth);
    }
}

TEST(GraphicsPreset, OtherNumbersLeaveTheDefaults) {
    for (Long preset : {4, 5, 9, 12, 100, -1, INT32_MIN, INT32_MAX}) {
        ConfigRecord config;
        config.GraphicsAutomation = preset;
        CMaxwellConfig m = Unusual();
        EXPECT_FALSE(ApplyGraphicsPreset(config, m)) << preset;
        EXPECT_EQ(Fields(m), Fields(Unusual())) << preset;
        EXPECT_EQ(GraphicsPresetDepth(config), 0) << preset;

        CMaxwellConfig defaults;
        EXPECT_FALSE(ApplyGraphicsPreset(config, defaults));
        EXPECT_EQ(Fields(defaults), Fields(CMaxwellConfig{})) << preset;
    }
}

}  // namespace
}  // namespace brumil::app
