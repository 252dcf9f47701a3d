#pragma once
// Small pictures for the image tests.

#include <cstdint>
#include <initializer_list>

#include "image/cmg_bbi.h"

namespace brumil::image::test {

// A w x h picture filled with one colour.
inline CmgBBI Solid(Long w, Long h, std::uint32_t colour) {
    CmgBBI p;
    p.CreateBBI(w, h, 0);
    for (auto& px : p.Pixels()) px = colour;
    return p;
}

// A w x h picture whose pixel (x, y) is 0xFF000000 | (y << 8) | x.
inline CmgBBI Ramp(Long w, Long h) {
    CmgBBI p;
    p.CreateBBI(w, h, 0);
    for (Long y = 0; y < h; ++y)
        for (Long x = 0; x < w; ++x)
            p.dwSetPixel(x, y, static_cast<Long>(0xFF000000u | (y << 8) | x));
    return p;
}

inline std::uint32_t At(const CmgBBI& p, Long x, Long y) {
    return static_cast<std::uint32_t>(p.dwGetPixel(x, y));
}

}  // namespace brumil::image::test
