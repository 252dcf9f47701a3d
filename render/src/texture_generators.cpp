// Generated pictures: the soft spot and the numbered test grid.

#include "render/texture_generators.h"

#include <array>
#include <cmath>
#include <string>

#include "core/api.h"
#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"
#include "render/graphics.h"

namespace brumil::render {

using image::gBBIFunction;
using image::gBBIString;

namespace {

// Pi as the single-precision value the generators have always used.
constexpr double kPi = 3.1415925025939941;
constexpr Long kRampLength = 256;

}  // namespace

Long CreateAlphaTexture(CGraphics& graphic, Long size, Long radius) {
    auto& api = core::gApi();
    api.Math_Bound(radius, 1, 255);
    graphic.Add(size, size, true);
    auto& f = gBBIFunction();
    image::CmgBBI& pen = f.Pen;
    if (pen.GetWidth() != kRampLength || pen.GetHeight() != 1) pen.CreateBBI(kRampLength, 1, 0);
    // The ramp runs along half a cosine from 1 at entry 0 to 0 at `radius`,
    // as a ratio between the two colours (white, transparent black).
    const std::array<Long, 2> colours{-1, 0};
    for (Long i = 0; i < kRampLength; ++i) {
        const double a = i > radius ? 0.0 : (std::cos(i * kPi / radius) + 1.0) / 2.0;
        Long colour = 0;
        api.Math_Color(static_cast<Single>(a), colours, colour);
        pen.dwSetPixel(i, 0, colour);
    }
    f.BBIDrawLineCircle(graphic.Image, pen, 0, 0, 255, 255);
    graphic.Refresh();
    return 0;
}

Long CreateStageTexture(CGraphics& graphic, Long size, Long cells) {
    if (cells < 1) return 1;
    if (cells > 16) cells = 16;
    graphic.Add(size, size, false);
    const Long cell = size / cells;
    auto& text = gBBIString();
    text.FontSize = cell / 2;
    auto& f = gBBIFunction();
    auto& api = core::gApi();
    const std::array<Long, 6> colours{0, 0x80, 0x800000, 0x8080, 0x808000, 0x404040};
    // One cell alone has no ramp to run along: it takes the first colour.
    const Long last = cells * cells - 1;
    image::CmgBBI glyph;
    Long k = 1;
    for (Long row = 0; row < cells; ++row) {
        for (Long column = 0; column < cells; ++column, ++k) {
            const Long x = column * cell;
            const Long y = row * cell;
            Long colour = 0;
            const Single t = last > 0 ? static_cast<Single>(k - 1) / static_cast<Single>(last) : 0;
            api.Math_Color(t, colours, colour);
            f.fxOut(graphic.Image, x, y, cell, cell, colour);
            f.fxOutLine(graphic.Image, x, y, cell, cell);
            // k right-aligned in a field of three digits.
            const std::string digits = std::to_string(k);
            const std::size_t pad = digits.size() < 3 ? 3 - digits.size() : 0;
            for (std::size_t d = 0; d < digits.size() && pad + d < 3; ++d) {
                const double at = x + cell * 0.25 * static_cast<double>(pad + d + 1);
                if (text.LoadFont(glyph, std::string(1, digits[d]))) {
                    f.BBIBltAdd(graphic.Image, glyph, RoundToLong(at), y);
                }
            }
        }
    }
    graphic.Refresh();
    return 0;
}

}  // namespace brumil::render
