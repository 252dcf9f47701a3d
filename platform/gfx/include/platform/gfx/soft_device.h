#pragma once
// The software Direct3D 7 device: draws into a colour surface with an optional
// depth surface, with no display needed. With more than one thread it records
// a scene's draws and rasterises them in horizontal bands on worker threads,
// before anything outside the device touches the surfaces involved (locks,
// blits, pixel reads, the scene's end); the pictures are the same as on one.

#include <memory>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/surface.h"

namespace brumil::platform {

struct SoftDeviceOptions {
    // The specialised inner loops; off only to compare them with the general
    // loop, which gives the same pixels.
    bool specialisedSpans = true;
    // Threads that rasterise, the caller's included; 0 takes the
    // environment's BRUMIL_RENDER_THREADS, else the hardware threads (at
    // most 8). One draws each primitive as it comes.
    int threads = 0;
    // The eight-pixel forms of the specialised loops where the processor
    // runs them; off only to compare them with the four-pixel forms, which
    // give the same pixels.
    bool wideSpans = true;
    // Their sixteen-pixel forms where the processor runs them (with
    // wideSpans); off only to compare them with the eight-pixel forms.
    bool widestSpans = true;
};

// Nothing when the target is missing, lost or a depth surface, or when the
// depth surface is not a depth surface at least as large as the target.
std::unique_ptr<Direct3DDevice7> CreateSoftDevice(SurfacePtr target, SurfacePtr depth,
                                                  SoftDeviceOptions options = {});

// What the software device can do.
D3DCaps SoftDeviceCaps();

}  // namespace brumil::platform
