#pragma once
// The triangle walk shared by the hit tests and the texture-point search: the
// triangles of a list (type 4) or strip (type 5) exactly as the draw with the
// same arguments draws them, with every corner checked against the arrays.

#include <cstddef>

#include "render/hit_test.h"

namespace brumil::render::detail {

// Calls visit(i, a, b, c) for the triangle starting at walk position i with
// its corners' element numbers a, b, c (already bounds-checked against
// `elements`) until visit answers true. Triangles whose corners lie outside
// the vertex array or whose index entries lie past the index array are
// skipped. Any other type, a list whose length is not a positive multiple of
// 3, or a strip shorter than 3 walks nothing.
template <typename Visit>
void WalkTriangles(const HitGeometry& g, std::size_t elements, Visit&& visit) {
    const bool list = g.primitiveType == platform::D3DPT_TRIANGLELIST;
    const bool strip = g.primitiveType == platform::D3DPT_TRIANGLESTRIP;
    if (!list && !strip) return;
    const Long n = g.indexed ? g.indexCount : g.count;
    if (n < 3 || (list && n % 3 != 0)) return;
    if (g.start < 0) return;
    const Long step = list ? 3 : 1;
    auto element = [&](Long k, std::size_t& out) {
        Long e = k;
        if (g.indexed) {
            if (static_cast<std::size_t>(k) >= g.indices.size()) return false;
            e = g.indices[static_cast<std::size_t>(k)];
            if (e < 0) return false;
        }
        const auto at = static_cast<std::size_t>(g.start) + static_cast<std::size_t>(e);
        if (at >= elements) return false;
        out = at;
        return true;
    };
    for (Long i = 0; i + 2 < n; i += step) {
        std::size_t a = 0, b = 0, c = 0;
        if (!element(i, a) || !element(i + 1, b) || !element(i + 2, c)) continue;
        if (visit(i, a, b, c)) return;
    }
}

}  // namespace brumil::render::detail
