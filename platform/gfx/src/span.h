#pragma once
// One triangle's attribute planes and the inner loops that walk a span of it.

#include "pixel.h"

namespace brumil::platform::raster {

enum Attr { kZ = 0, kW = 1, kU = 2, kV = 3, kC = 4, kS = 8, kAttrCount = 12 };

// attribute(x, y) = a[i] + dx[i] * (x - x0) + dy[i] * (y - y0). When
// `perspective` is false, kU and kV hold u and v themselves; otherwise u * rhw
// and v * rhw, divided by kW at each pixel.
struct Planes {
    float x0 = 0, y0 = 0;
    float a[kAttrCount] = {};
    float dx[kAttrCount] = {};
    float dy[kAttrCount] = {};
    bool perspective = false;
    bool constColor = false;  // diffuse and specular do not vary
};

// Values of a span's first pixel: start[i] = attribute at (x1, y).
inline void SpanStart(const Planes& p, int x1, int y, float* start) {
    const float fx = float(x1) - p.x0, fy = float(y) - p.y0;
    for (int i = 0; i < kAttrCount; ++i) start[i] = p.a[i] + p.dx[i] * fx + p.dy[i] * fy;
}

inline int ToChannel(float f) {
    // Colours are interpolated as floats and rounded; NaN becomes 0.
    if (!(f >= 0.0f)) return 0;
    return f >= 255.0f ? 255 : int(f + 0.5f);
}

using SpanFn = void (*)(const PixelState& ps, const Planes& p, int y, int x1, int x2);

// The general loop: any state.
void GenericSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2);
// A specialised loop for this state and triangle, or GenericSpan.
SpanFn ChooseSpan(const PixelState& ps, const Planes& p);

}  // namespace brumil::platform::raster
