#include "padded_textures.h"

#include <algorithm>

namespace brumil::platform::raster {

void PadTexture(const std::uint32_t* texels, int width, int height,
                std::vector<std::uint32_t>& out) {
    const std::size_t w = static_cast<std::size_t>(width), stride = w + 1;
    out.resize(stride * (static_cast<std::size_t>(height) + 1));
    for (int y = 0; y <= height; ++y) {
        const std::uint32_t* from = texels + (y == height ? 0 : y) * w;
        std::uint32_t* to = out.data() + static_cast<std::size_t>(y) * stride;
        std::copy(from, from + w, to);
        to[w] = from[0];
    }
}

const std::uint32_t* PaddedTextures::Of(const std::shared_ptr<const Surface>& tex) {
    const std::uint64_t generation = tex->Generation();
    auto it = std::find_if(copies_.begin(), copies_.end(), [&](const Copy& c) {
        return c.surface == tex.get() && !c.alive.expired();
    });
    if (it != copies_.end() && it->generation == generation) return it->texels.data();
    if (it == copies_.end()) {
        // Copies of textures that are gone are let go as new ones come.
        std::erase_if(copies_, [](const Copy& c) { return c.alive.expired(); });
        copies_.push_back({tex.get(), tex, generation, {}});
        it = copies_.end() - 1;
    }
    it->generation = generation;
    PadTexture(tex->Pixels().data(), tex->Width(), tex->Height(), it->texels);
    return it->texels.data();
}

}  // namespace brumil::platform::raster
