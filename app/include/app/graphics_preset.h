#pragma once
// The graphics presets of the settings at start-up. The preset table itself
// (which display options and first depth each preset asks for) is the
// apply-settings job's (frontend::GraphicsApplyFor); start-up turns the same
// answer into the frame host's settings, so the two can never disagree.

#include "app/config_record.h"
#include "framework/maxwell_config.h"
#include "frontend/service_jobs.h"

namespace brumil::app {

// The graphics fields of the settings record.
frontend::GraphicsSettings GraphicsSettingsOf(const ConfigRecord& config);

// Applies preset `config.GraphicsAutomation` to the frame host's settings:
// AddDDraw at 640x480 with the preset's options, the first display depth
// (ddPixelBits1), and WaitVsinkSP and PaintManual for presets 2 and 10.
// Returns false, changing nothing, for a number that is not a preset
// (0, 1, 2, 3, 10 and 11 are), so the frame host's defaults stay.
//
// Preset 10 (the detailed settings) takes its depth as the apply-settings job
// does: PixelBits with hardware rendering, else 16 when 16-bit textures are
// asked, else 32. Software rendering stores a PixelBits of 24, which is not a
// depth the display is started with.
bool ApplyGraphicsPreset(const ConfigRecord& config, framework::CMaxwellConfig& maxwell);

// The first display depth of a preset; 0 for a number that is not a preset.
Long GraphicsPresetDepth(const ConfigRecord& config);

}  // namespace brumil::app
