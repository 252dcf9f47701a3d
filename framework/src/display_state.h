#pragma once
// The one display-state object behind the display procedures.

#include <memory>
#include <string>
#include <vector>

#include "framework/display.h"

namespace brumil::framework::detail {

struct DisplayState {
    bool running = false;
    DisplaySettings settings;
    SurfacePtr back, work, zbuffer, zbuffer2;
    bool noDoubleZBuffer = true;
    std::shared_ptr<platform::Direct3DDevice7> device;
    platform::D3DCaps caps;
    platform::DirectX7 dx7;
    Long screenWidth = 0, screenHeight = 0, pixelBits = 0;
    std::vector<Long> pixelBitsList{32, 16};
    Long clearColor = 0;
    Long useHardwareDevice = 0;
    bool backInVideoMemory = false;
    std::string supportText, nonSupportText;
    Long vsinkCorrect = 0;
    Long renderLevel = 0;
    Long textureLimit = 0;
    bool startedWithDepth = false;
    // Every surface made for the current device, so that re-creation can mark
    // them lost.
    std::vector<std::weak_ptr<platform::Surface>> made;
};

DisplayState& State();
// Records a surface of the current device.
void Register(const SurfacePtr& s);

}  // namespace brumil::framework::detail
