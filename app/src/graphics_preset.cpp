#include "app/graphics_preset.h"

namespace brumil::app {
namespace {

// The options of the fixed presets; o1 (full screen) comes from ScreenMode and
// o3 = True, o8 = False, o9 = True are the same for every preset.
struct FixedPreset {
    Long number;
    bool hardware;            // o2
    bool zBuffer;             // o4
    bool textureCompression;  // o5
    bool no32BitTexture;      // o6
    bool halfSize;            // o7
    bool highQuality;         // o10: 1024x768
    Long depth;
    bool setsPresentation;  // WaitVsinkSP = True, PaintManual = False
};

constexpr FixedPreset kFixedPresets[] = {
    {0, true, false, false, false, false, false, 32, false},
    {1, true, false, true, true, false, false, 16, false},
    {2, true, false, true, true, true, false, 32, true},
    {3, false, false, false, false, false, false, 32, false},
    {11, true, false, false, false, false, true, 32, false},
};

constexpr Long kDetailedPreset = 10;

const FixedPreset* FindFixed(Long number) {
    for (const FixedPreset& p : kFixedPresets) {
        if (p.number == number) return &p;
    }
    return nullptr;
}

}  // namespace

Long GraphicsPresetDepth(const ConfigRecord& config) {
    if (const FixedPreset* p = FindFixed(config.GraphicsAutomation)) return p->depth;
    if (config.GraphicsAutomation != kDetailedPreset) return 0;
    if (config.DeviceMode != 0) return config.PixelBits;
    return config.Disable32BitTexture > 0 ? 16 : 32;
}

bool ApplyGraphicsPreset(const ConfigRecord& config, framework::CMaxwellConfig& maxwell) {
    const bool fullScreen = config.ScreenMode != 0;
    if (const FixedPreset* p = FindFixed(config.GraphicsAutomation)) {
        maxwell.AddDDraw(640, 480, fullScreen, p->hardware, true, p->zBuffer, p->textureCompression,
                         p->no32BitTexture, p->halfSize, false, true, p->highQuality);
        maxwell.ddPixelBits1 = p->depth;
        if (p->setsPresentation) {
            maxwell.WaitVsinkSP = true;
            maxwell.PaintManual = false;
        }
        return true;
    }
    if (config.GraphicsAutomation != kDetailedPreset) return false;
    const bool textures16 = config.Disable32BitTexture != 0;
    maxwell.AddDDraw(640, 480, fullScreen, config.DeviceMode != 0, true, config.ZBuffer != 0,
                     textures16, textures16, false, false, true, false);
    // The two back-buffer sizes have their own settings, set after AddDDraw.
    maxwell.ddHalfSize = (config.DisplaySize & 1) != 0;
    maxwell.ddHighQuality = (config.DisplaySize & 2) != 0;
    maxwell.ddPixelBits1 = GraphicsPresetDepth(config);
    maxwell.WaitVsinkSP = (config.WaitVsink & 1) != 0;
    maxwell.PaintManual = (config.WaitVsink & 2) != 0;
    return true;
}

}  // namespace brumil::app
