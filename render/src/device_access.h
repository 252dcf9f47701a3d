#pragma once
// The device the render library draws through, or nothing before the display
// has started.

#include "framework/display.h"
#include "platform/d3d_device.h"

namespace brumil::render::detail {

inline platform::Direct3DDevice7* Device() {
    return framework::gD3DDevice().get();
}

}  // namespace brumil::render::detail
