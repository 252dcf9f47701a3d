#pragma once
// A vertex in clip space, before the division by w, as the device's
// transform and lighting leave it, and the matrix inverse the transform uses.

#include <cmath>
#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace brumil::platform {

// A vertex in clip space before the division by w.
struct ClipVertex {
    float x, y, z, w;
    float u, v;
    float c[4], s[4];  // b, g, r, a; 0..255
};

inline ClipVertex LerpClip(const ClipVertex& a, const ClipVertex& b, float t) {
    ClipVertex r;
    r.x = a.x + (b.x - a.x) * t;
    r.y = a.y + (b.y - a.y) * t;
    r.z = a.z + (b.z - a.z) * t;
    r.w = a.w + (b.w - a.w) * t;
    r.u = a.u + (b.u - a.u) * t;
    r.v = a.v + (b.v - a.v) * t;
    for (int i = 0; i < 4; ++i) {
        r.c[i] = a.c[i] + (b.c[i] - a.c[i]) * t;
        r.s[i] = a.s[i] + (b.s[i] - a.s[i]) * t;
    }
    return r;
}

// A packed 0xAARRGGBB colour as floats 0..255 in b, g, r, a order.
inline void UnpackColor(D3DLong c, float out[4]) {
    const auto u = static_cast<std::uint32_t>(c);
    for (int i = 0; i < 4; ++i) out[i] = float((u >> (8 * i)) & 255);
}

// The inverse of the upper-left 3 x 3 of m; false when it has none.
inline bool Invert3x3(const D3DMATRIX& m, float out[3][3]) {
    const float a = m.rc11, b = m.rc12, c = m.rc13;
    const float d = m.rc21, e = m.rc22, f = m.rc23;
    const float g = m.rc31, h = m.rc32, i = m.rc33;
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (!(std::fabs(det) > 1e-30f) || !std::isfinite(det)) return false;
    const float k = 1.0f / det;
    out[0][0] = (e * i - f * h) * k;
    out[0][1] = (c * h - b * i) * k;
    out[0][2] = (b * f - c * e) * k;
    out[1][0] = (f * g - d * i) * k;
    out[1][1] = (a * i - c * g) * k;
    out[1][2] = (c * d - a * f) * k;
    out[2][0] = (d * h - e * g) * k;
    out[2][1] = (b * g - a * h) * k;
    out[2][2] = (a * e - b * d) * k;
    return true;
}

}  // namespace brumil::platform
