#include "bench/support/ground_grid.h"

#include "platform/gfx/dx7_math.h"

namespace brumil::bench {

std::vector<GroundPatch> GroundGrid(const GroundLayout& layout) {
    const int n = layout.cells, side = n + 1;
    const float span = float(n) * layout.cellSize;
    std::vector<GroundPatch> out;
    for (int pz = 0; pz < layout.patchesZ; ++pz) {
        for (int px = 0; px < layout.patchesX; ++px) {
            GroundPatch g;
            for (int j = 0; j <= n; ++j) {
                for (int i = 0; i <= n; ++i) {
                    const float x = float(px) * span + float(i) * layout.cellSize + layout.originX;
                    const float z = float(pz) * span + float(j) * layout.cellSize;
                    platform::D3DVERTEX v;
                    platform::DirectX7::CreateD3DVertex(x, layout.height(x, z), z, 0, 1, 0,
                                                        float(i) / float(n), float(j) / float(n),
                                                        v);
                    g.v.push_back(v);
                }
            }
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    const auto a = std::int16_t(j * side + i), b = std::int16_t(a + 1),
                               c = std::int16_t(a + side), d = std::int16_t(a + side + 1);
                    g.idx.insert(g.idx.end(), {a, c, b, b, c, d});
                }
            }
            out.push_back(std::move(g));
        }
    }
    return out;
}

}  // namespace brumil::bench
