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

    // Made once per triangle for the four-pixel loops (see ChooseVectorSpan).
    struct Vector {
        // A constant diffuse colour, packed as a pixel.
        std::uint32_t diffuse = 0;
        // The simple combine, for a constant diffuse colour and the texture
        // selected, modulated, (colour only) added or replaced by the
        // diffuse colour: "add addMask to the texel, each channel
        // saturated, or it with orMask, then multiply channel k by
        // mul[k] / 255".
        std::uint32_t addMask = 0;
        std::uint32_t orMask = 0;
        int mul[4] = {255, 255, 255, 255};  // b, g, r, a
        bool scale = false;                 // some mul is below 255
        // Otherwise channel k is Mul8(texel, x) + Mul8(diffuse, y), where x
        // is 255 (xOne), the diffuse channel (xDiffuse) or the texel's alpha
        // (xTexAlpha), else 0; and y is 255 - texel alpha (yInvTexAlpha), 255
        // (yOne), else 0. The first product is doubled in the channels of
        // `twice`, and the sum saturated to 255. Each mask is -1 or 0 per
        // channel, twice over (two pixels of 16-bit channels).
        alignas(16) std::int16_t xOne[8] = {}, xDiffuse[8] = {}, xTexAlpha[8] = {};
        alignas(16) std::int16_t yInvTexAlpha[8] = {}, yOne[8] = {}, twice[8] = {};
        bool useY = false;      // some y is not 0
        bool useTwice = false;  // some first product is doubled
        // Combines met often, which the wide loops do in fewer steps than
        // the general form: x the texel's alpha and y 255 - x, or x 0 and
        // y 255, in every channel (the texture and the diffuse colour mixed
        // by the texture's alpha, or the diffuse alone); or colour t + d
        // and alpha Mul8(texel, diffuse).
        enum class Form { kAny, kTextureAlphaMix, kAddModulateAlpha } form = Form::kAny;
        bool varying = false;  // the diffuse colour varies across the triangle
        // The least alpha that is written.
        int minAlpha = 0;
    } vec;
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

// One row's span [x1, x2) of a triangle.
struct Row {
    int y, x1, x2;
};
// Draws consecutive rows of one triangle, as SpanFn would one by one, with
// what the triangle's spans share made once.
using RowsFn = void (*)(const PixelState& ps, const Planes& p, const Row* rows, int count);

// One row of two triangles that lie on either side of an edge they share,
// where their spans meet: the left one's span [x1, xs) and the right one's
// [xs, x2), neither empty.
struct PairRow {
    int y, x1, xs, x2;
};
// Draws rows of such a pair, each pixel as its own triangle's RowsFn would:
// a quad's two halves meet in most rows, and one run over the row costs
// less than two spans.
using PairRowsFn = void (*)(const PixelState& ps, const Planes& left, const Planes& right,
                            const PairRow* rows, int count);

// The general loop: any state.
void GenericSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2);
// A specialised loop for this state and triangle, or GenericSpan.
// Fills p.vec when it picks a four-pixel loop.
SpanFn ChooseSpan(const PixelState& ps, Planes& p);
// A four-pixel loop for this state and triangle (p.vec filled), or null when
// none fits.
SpanFn ChooseVectorSpan(const PixelState& ps, Planes& p);
// A loop over runs of rows for this state and triangle (p.vec filled), or
// null when ChooseSpan's loop is to be used row by row. `pairs`, when given,
// is set to the loop's form for pairs of triangles, or null when it has none.
RowsFn ChooseRows(const PixelState& ps, Planes& p, PairRowsFn* pairs = nullptr);
// The run-of-rows form of ChooseVectorSpan's loop, or null; `pairs` as
// ChooseRows sets it.
RowsFn ChooseVectorRows(const PixelState& ps, Planes& p, PairRowsFn* pairs = nullptr);

}  // namespace brumil::platform::raster
