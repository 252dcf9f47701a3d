#pragma once
// Drawing helpers of the data generator: colours with straight alpha, shapes
// filled through signed distance functions (one pixel of anti-aliased edge),
// gradients, glows and a small deterministic random stream. Every helper
// writes into a CmgBBI (0xAARRGGBB) and blends "source over".

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "image/cmg_bbi.h"

namespace brumil::datagen {

using image::CmgBBI;

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;  // 0..1, straight (not premultiplied) alpha
};

constexpr Colour Rgb(std::uint32_t rgb, float a = 1.0f) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f,
            a};
}
Colour Mix(Colour a, Colour b, float t);
Colour WithAlpha(Colour c, float a);
// Colour channels times k (alpha kept).
Colour Shade(Colour c, float k);
std::uint32_t Pack(Colour c);
Colour Unpack(std::uint32_t argb);

struct Pt {
    float x = 0, y = 0;
};

// Signed distances (negative inside) from the point (px, py).
float SdCircle(float px, float py, float cx, float cy, float r);
float SdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float radius);
float SdSegment(float px, float py, Pt a, Pt b);
float SdPolygon(float px, float py, std::span<const Pt> poly);

// Blends c over the pixel with the given coverage (0..1).
void Put(CmgBBI& pic, int x, int y, Colour c, float cover);
// Adds light: rgb += c.rgb x amount (kept within 1), alpha := max(alpha, amount x c.a).
void AddLight(CmgBBI& pic, int x, int y, Colour c, float amount);

// Fills the bounding box (x0, y0)-(x1, y1) wherever sdf(px, py) is below 0,
// with one pixel of soft edge. sdf is sampled at pixel centres.
template <class Sdf>
void FillSdf(CmgBBI& pic, float x0, float y0, float x1, float y1, Sdf sdf, Colour c) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    const int ix1 = std::min(pic.GetWidth() - 1, static_cast<int>(std::ceil(x1)) + 1);
    const int iy1 = std::min(pic.GetHeight() - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const float d = sdf(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float cover = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (cover > 0.0f) Put(pic, x, y, c, cover);
        }
    }
}

// Calls paint(x, y) -> Colour for every pixel of the rectangle and blends the
// result (its alpha is the coverage).
template <class Paint>
void PaintRect(CmgBBI& pic, int x0, int y0, int w, int h, Paint paint) {
    for (int y = std::max(0, y0); y < std::min(pic.GetHeight(), y0 + h); ++y) {
        for (int x = std::max(0, x0); x < std::min(pic.GetWidth(), x0 + w); ++x) {
            Put(pic, x, y, paint(x, y), 1.0f);
        }
    }
}

void Clear(CmgBBI& pic, Colour c);
void FillRect(CmgBBI& pic, int x, int y, int w, int h, Colour c);
// Vertical gradient written (not blended) over the rectangle.
void GradientV(CmgBBI& pic, int x, int y, int w, int h, Colour top, Colour bottom);
void Circle(CmgBBI& pic, float cx, float cy, float r, Colour c);
void Ring(CmgBBI& pic, float cx, float cy, float r, float width, Colour c);
void RoundRect(CmgBBI& pic, float x, float y, float w, float h, float radius, Colour c);
void RoundFrame(CmgBBI& pic, float x, float y, float w, float h, float radius, float width,
                Colour c);
void Segment(CmgBBI& pic, Pt a, Pt b, float width, Colour c);
void Polygon(CmgBBI& pic, std::span<const Pt> poly, Colour c);
void PolygonOutline(CmgBBI& pic, std::span<const Pt> poly, float width, Colour c);
// Soft radial light: amount = (1 - d / r)^power inside r, added with AddLight.
void Glow(CmgBBI& pic, float cx, float cy, float r, Colour c, float power);

// A star of n points (outer and inner radius), first point at angle rot.
std::vector<Pt> Star(float cx, float cy, float outer, float inner, int n, float rot);
// A regular polygon of n corners.
std::vector<Pt> Regular(float cx, float cy, float r, int n, float rot);

// Alpha := the brightest colour channel, for pictures of light on black.
void AlphaFromBrightness(CmgBBI& pic);
// Mirrors the picture left to right.
void MirrorX(CmgBBI& pic);
// Flattens a drawing with alpha onto the opaque key colour: every pixel the
// drawing touched stays different from the key, every other pixel is the key.
void FlattenOnKey(CmgBBI& pic, std::uint32_t keyRgb);
// Copies src into dst at (x, y) blending source over (alpha kept in dst).
void Compose(CmgBBI& dst, const CmgBBI& src, int x, int y);

// A fixed-sequence random stream (xorshift32): the same seed gives the same
// numbers on every machine.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : s_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    float Unit() { return static_cast<float>(Next() >> 8) / 16777216.0f; }  // [0, 1)
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
    int Below(int n) {
        return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t s_;
};

constexpr float kPi = 3.14159265358979f;

}  // namespace brumil::datagen
