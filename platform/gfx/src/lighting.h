#pragma once
// The per-vertex lighting model of the device: emissive, global ambient, and
// per light ambient and diffuse (and specular when enabled), with range,
// attenuation and spot cone. Contributions are summed first and each channel
// clamped after, so lights with negative colours darken.

#include <span>
#include <vector>

#include "platform/gfx/d3d_types.h"

namespace brumil::platform::lighting {

struct Light {
    D3DLIGHT7 light;
    bool enabled = false;
};

// What an enabled light contributes the same at every vertex.
struct Prepared {
    const D3DLIGHT7* light = nullptr;
    D3DVECTOR toLight;               // directional: the reversed direction, normalised
    D3DVECTOR spotDirection;         // spot: the direction, normalised
    float cosTheta = 1, cosPhi = 1;  // spot: cosines of the half cone angles
};

struct Context {
    D3DMATERIAL7 material;
    std::uint32_t ambient = 0;  // 0xAARRGGBB render state
    std::span<const Light> lights;
    bool specular = false;
    D3DVECTOR eye;                  // world-space camera position, for specular
    std::vector<Prepared> enabled;  // made by Prepare from `lights`, in their order
};

// Fills ctx.enabled once per draw, before LightVertex.
void Prepare(Context& ctx);

// Lights a world-space position and normal; colours come out 0..255 in b, g,
// r, a order (diffuse alpha from the material).
void LightVertex(const Context& ctx, const D3DVECTOR& p, const D3DVECTOR& n, float diffuse[4],
                 float specular[4]);

// Four world-space positions and normals, one per lane.
struct Lanes {
    float px[4], py[4], pz[4];
    float nx[4], ny[4], nz[4];
};

// Lights four vertices at once, each lane's colours bit for bit those
// LightVertex gives for it: the same operations in the same order, with the
// lights a lane skips masked out.
void LightLanes(const Context& ctx, const Lanes& v, float diffuse[4][4], float specular[4][4]);

}  // namespace brumil::platform::lighting
