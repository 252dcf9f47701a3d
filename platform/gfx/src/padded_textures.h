#pragma once
// Copies of wrapping textures with one more column and one more row, each a
// repeat of the first: the right and lower neighbours of every texel are then
// the next texel along and the one a row further on, so the bilinear filter
// fetches each row's two taps as one pair, wrapping or not.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/surface.h"

namespace brumil::platform::raster {

class PaddedTextures {
public:
    // The copy of `tex` as its pixels are now, (width + 1) texels a row and
    // height + 1 rows; made again once the pixels may have changed. It stays
    // where it is until the texture's pixels are next written, which first
    // finishes every draw recorded to read them.
    const std::uint32_t* Of(const std::shared_ptr<const Surface>& tex);

private:
    struct Copy {
        // A surface made since at the same address is not this one.
        const Surface* surface;
        std::weak_ptr<const Surface> alive;
        std::uint64_t generation;
        std::vector<std::uint32_t> texels;
    };
    std::vector<Copy> copies_;
};

// Fills `out` with the padded copy of a width x height texture.
void PadTexture(const std::uint32_t* texels, int width, int height,
                std::vector<std::uint32_t>& out);

}  // namespace brumil::platform::raster
