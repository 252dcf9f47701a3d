#include "app/graphics_preset.h"

namespace brumil::app {
namespace {

// Preset 2 (speed first, half size) also presents on the vertical blank
// without manual painting; only start-up sets that for it.
constexpr Long kHalfSizePreset = 2;

}  // namespace

frontend::GraphicsSettings GraphicsSettingsOf(const ConfigRecord& c) {
    frontend::GraphicsSettings g;
    g.GraphicsAutomation = c.GraphicsAutomation;
    g.ScreenMode = c.ScreenMode;
    g.DeviceMode = c.DeviceMode;
    g.PixelBits = c.PixelBits;
    g.DisplaySize = c.DisplaySize;
    g.ZBuffer = c.ZBuffer;
    g.Disable32BitTexture = c.Disable32BitTexture;
    g.WaitVsink = c.WaitVsink;
    return g;
}

Long GraphicsPresetDepth(const ConfigRecord& config) {
    const auto apply = frontend::GraphicsApplyFor(GraphicsSettingsOf(config));
    return apply ? apply->firstDepth : 0;
}

bool ApplyGraphicsPreset(const ConfigRecord& config, framework::CMaxwellConfig& maxwell) {
    const auto apply = frontend::GraphicsApplyFor(GraphicsSettingsOf(config));
    if (!apply) return false;
    const framework::DisplaySettingsChange& d = apply->change;
    // Every preset: 640x480, a Direct3D device, no second z-buffer and the
    // menu hidden automatically; the options the table leaves out are off.
    maxwell.AddDDraw(640, 480, d.fullScreen.value_or(false), d.hardware.value_or(false), true,
                     d.zBuffer.value_or(false), d.textureCompression.value_or(false),
                     d.no32BitTextures.value_or(false), d.halfSize.value_or(false), false, true,
                     d.highQuality.value_or(false));
    maxwell.ddPixelBits1 = apply->firstDepth;
    if (apply->setsPacing) {
        maxwell.WaitVsinkSP = apply->waitVsinkSP;
        maxwell.PaintManual = apply->paintManual;
    } else if (config.GraphicsAutomation == kHalfSizePreset) {
        maxwell.WaitVsinkSP = true;
        maxwell.PaintManual = false;
    }
    return true;
}

}  // namespace brumil::app
