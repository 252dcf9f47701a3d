#pragma once
// Row kernels of the pixel helper library. Every picture is 32-bit ARGB held as
// std::uint32_t 0xAARRGGBB (in memory the bytes B, G, R, A). The kernels work on
// rows the caller has already clipped: `n` pixels from each pointer, never more.
// Channel results are rounded to the nearest value and kept within 0..255.

#include <cstdint>
#include <span>

namespace brumil::platform::pixel {

using Pixel = std::uint32_t;

constexpr int Alpha(Pixel p) {
    return static_cast<int>(p >> 24);
}
constexpr int Red(Pixel p) {
    return static_cast<int>((p >> 16) & 0xFF);
}
constexpr int Green(Pixel p) {
    return static_cast<int>((p >> 8) & 0xFF);
}
constexpr int Blue(Pixel p) {
    return static_cast<int>(p & 0xFF);
}
constexpr Pixel MakeArgb(int a, int r, int g, int b) {
    return (static_cast<Pixel>(a) << 24) | (static_cast<Pixel>(r) << 16) |
           (static_cast<Pixel>(g) << 8) | static_cast<Pixel>(b);
}

// Luminance 0..255 of the colour channels (weights 77, 150, 29 of 256).
constexpr int Luminance(Pixel p) {
    return (Red(p) * 77 + Green(p) * 150 + Blue(p) * 29 + 128) >> 8;
}

// round(a * b / 255) for a, b in 0..255.
constexpr int MulDiv255(int a, int b) {
    const int t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// dst = src.
void CopyRow(Pixel* dst, const Pixel* src, int n);
// dst = dst + (src - dst) * weight / 65536 on all four channels; weight 0..65536.
void LerpRow(Pixel* dst, const Pixel* src, int n, int weight);
// Saturating per-channel sum on all four channels.
void AddRow(Pixel* dst, const Pixel* src, int n);
// dst = dst * src / 255 per channel, all four channels.
void MulRow(Pixel* dst, const Pixel* src, int n);
// dst.rgb = 255 - src.rgb, dst.alpha = src.alpha.
void NotRow(Pixel* dst, const Pixel* src, int n);
// Bits set in `mask` come from src, the others stay: dst = (dst & ~mask) | (src & mask).
void MaskedCopyRow(Pixel* dst, const Pixel* src, int n, Pixel mask);
// Bits set in `keep` stay, the others come from `colour`.
void FillRow(Pixel* dst, int n, Pixel colour, Pixel keep = 0);
// Source-over blend of one colour by `weight` 0..65536 (colour channels only).
void BlendColourRow(Pixel* dst, int n, Pixel colour, int weight);

// One output row of a 2x2 box average: dst[i] = mean of row0[2i], row0[2i+1],
// row1[2i], row1[2i+1] (rounded). `secondColumn` tells whether the second column
// exists (a missing one repeats the first); pass row1 = row0 when there is no second row.
void HalfRow(Pixel* dst, const Pixel* row0, const Pixel* row1, int n, bool secondColumn);

// Nearest sampling: dst[i] = src[xIndex[i]].
void NearestRow(Pixel* dst, const Pixel* src, int n, const int* xIndex);

// Bilinear sampling between two source rows: for output i the left sample is
// xIndex[i] and the right xIndex[i] + xStep[i] (0 at the right border), mixed by
// xWeight[i] 0..256 toward the right; the rows are mixed by yWeight 0..256
// toward row1.
void BilinearRow(Pixel* dst, const Pixel* row0, const Pixel* row1, int n, const int* xIndex,
                 const std::uint8_t* xStep, const std::uint16_t* xWeight, int yWeight);

// The selection blend of the compose blit. See image/cmg_bbi_function.h for
// the rule; the parameters are pre-digested here.
struct ChooseParams {
    float opacity = 1.0f;           // C1
    bool alphaFromSource = false;   // C2 <> 0
    bool additive = false;          // C3 <> 0
    float colourScale = 1.0f;       // C6
    Pixel colourOffset = 0;         // C7 (rgb used)
    Pixel writeMask = 0xFFFFFF;     // C8
    Pixel sourceMask = 0xFFFFFFFF;  // C10
    Pixel fillColour = 0;           // C11
};
void ChooseRow(Pixel* dst, const Pixel* src, int n, const ChooseParams& p);

// Stencil mix: dst = a + (b - a) * table[b.alpha] / 256 on all channels.
// The 256-entry table maps the stencil value to a weight 0..256.
void StencilRow(Pixel* dst, const Pixel* a, const Pixel* b, int n, const std::uint16_t* table);

}  // namespace brumil::platform::pixel
