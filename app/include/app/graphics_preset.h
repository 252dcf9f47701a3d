#pragma once
// The graphics presets of the settings: one function turns the chosen preset
// into the frame host's display settings, at start-up and whenever the
// settings are applied again.

#include "app/config_record.h"
#include "framework/maxwell_config.h"

namespace brumil::app {

// Applies preset `config.GraphicsAutomation` to the frame host's settings:
// AddDDraw at 640x480 with the preset's options, the first display depth
// (ddPixelBits1) and, for presets 2 and 10, WaitVsinkSP and PaintManual.
// Returns false, changing nothing, for a number that is not a preset
// (0, 1, 2, 3, 10 and 11 are), so the frame host's defaults stay.
//
// Preset 10 (the detailed settings) takes its depth as the apply-settings step
// does: PixelBits with hardware rendering, else 16 when 16-bit textures are
// asked, else 32. Software rendering stores a PixelBits of 24, which is not a
// depth the display is started with.
bool ApplyGraphicsPreset(const ConfigRecord& config, framework::CMaxwellConfig& maxwell);

// The first display depth of a preset; 0 for a number that is not a preset.
Long GraphicsPresetDepth(const ConfigRecord& config);

}  // namespace brumil::app
