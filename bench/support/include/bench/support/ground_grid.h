#pragma once
// A field of square ground patches, each an indexed mesh of lit vertices
// facing up: the shape of a stage's floor, for the device benchmarks.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gfx/d3d_types.h"

namespace brumil::bench {

struct GroundPatch {
    std::vector<platform::D3DVERTEX> v;
    std::vector<std::int16_t> idx;  // a triangle list, two triangles a cell
};

struct GroundLayout {
    int patchesX = 1, patchesZ = 1;
    int cells = 1;          // per patch side
    float cellSize = 1.0f;  // in world units
    float originX = 0.0f;   // the world x of the field's left edge
    // The ground's height at (x, z).
    std::function<float(float, float)> height;
};

// The patches row by row, nearest first; a patch's texture spans it once.
std::vector<GroundPatch> GroundGrid(const GroundLayout& layout);

}  // namespace brumil::bench
