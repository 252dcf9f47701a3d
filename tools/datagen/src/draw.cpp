#include "draw.h"

#include <algorithm>
#include <cmath>

namespace brumil::datagen {

namespace {

float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

std::uint32_t ToByte(float v) {
    return static_cast<std::uint32_t>(std::lround(Clamp01(v) * 255.0f));
}

}  // namespace

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Colour WithAlpha(Colour c, float a) {
    c.a = a;
    return c;
}

Colour Shade(Colour c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

std::uint32_t Pack(Colour c) {
    return (ToByte(c.a) << 24) | (ToByte(c.r) << 16) | (ToByte(c.g) << 8) | ToByte(c.b);
}

Colour Unpack(std::uint32_t argb) {
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f};
}

float SdCircle(float px, float py, float cx, float cy, float r) {
    return std::hypot(px - cx, py - cy) - r;
}

float SdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float radius) {
    const float qx = std::fabs(px - cx) - hw + radius;
    const float qy = std::fabs(py - cy) - hh + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdSegment(float px, float py, Pt a, Pt b) {
    const float bx = b.x - a.x, by = b.y - a.y;
    const float len2 = bx * bx + by * by;
    const float t = len2 > 0 ? Clamp01(((px - a.x) * bx + (py - a.y) * by) / len2) : 0.0f;
    return std::hypot(px - a.x - bx * t, py - a.y - by * t);
}

float SdPolygon(float px, float py, std::span<const Pt> poly) {
    if (poly.size() < 3) return 1e9f;
    float best = 1e9f;
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        best = std::min(best, SdSegment(px, py, poly[j], poly[i]));
        const Pt& a = poly[i];
        const Pt& b = poly[j];
        if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside ? -best : best;
}

void Put(CmgBBI& pic, int x, int y, Colour c, float cover) {
    if (x < 0 || y < 0 || x >= pic.GetWidth() || y >= pic.GetHeight()) return;
    const float sa = Clamp01(c.a * cover);
    if (sa <= 0.0f) return;
    std::uint32_t& p = pic.Row(y)[x];
    const Colour d = Unpack(p);
    const float oa = sa + d.a * (1.0f - sa);
    Colour o{0, 0, 0, oa};
    if (oa > 0.0f) {
        const float k = d.a * (1.0f - sa);
        o.r = (c.r * sa + d.r * k) / oa;
        o.g = (c.g * sa + d.g * k) / oa;
        o.b = (c.b * sa + d.b * k) / oa;
    }
    p = Pack(o);
}

void AddLight(CmgBBI& pic, int x, int y, Colour c, float amount) {
    if (x < 0 || y < 0 || x >= pic.GetWidth() || y >= pic.GetHeight() || amount <= 0) return;
    std::uint32_t& p = pic.Row(y)[x];
    Colour d = Unpack(p);
    d.r += c.r * amount;
    d.g += c.g * amount;
    d.b += c.b * amount;
    d.a = std::max(d.a, Clamp01(amount * c.a));
    p = Pack(d);
}

void Clear(CmgBBI& pic, Colour c) {
    const std::uint32_t v = Pack(c);
    for (auto& p : pic.Pixels()) p = v;
}

void FillRect(CmgBBI& pic, int x, int y, int w, int h, Colour c) {
    PaintRect(pic, x, y, w, h, [&](int, int) { return c; });
}

void GradientV(CmgBBI& pic, int x, int y, int w, int h, Colour top, Colour bottom) {
    for (int row = std::max(0, y); row < std::min(pic.GetHeight(), y + h); ++row) {
        const float t = h > 1 ? static_cast<float>(row - y) / static_cast<float>(h - 1) : 0.0f;
        const std::uint32_t v = Pack(Mix(top, bottom, t));
        for (int col = std::max(0, x); col < std::min(pic.GetWidth(), x + w); ++col) {
            pic.Row(row)[col] = v;
        }
    }
}

void Circle(CmgBBI& pic, float cx, float cy, float r, Colour c) {
    FillSdf(
        pic, cx - r, cy - r, cx + r, cy + r,
        [&](float px, float py) { return SdCircle(px, py, cx, cy, r); }, c);
}

void Ring(CmgBBI& pic, float cx, float cy, float r, float width, Colour c) {
    const float o = r + width / 2;
    FillSdf(
        pic, cx - o, cy - o, cx + o, cy + o,
        [&](float px, float py) { return std::fabs(SdCircle(px, py, cx, cy, r)) - width / 2; }, c);
}

void RoundRect(CmgBBI& pic, float x, float y, float w, float h, float radius, Colour c) {
    FillSdf(
        pic, x, y, x + w, y + h,
        [&](float px, float py) {
            return SdRoundBox(px, py, x + w / 2, y + h / 2, w / 2, h / 2, radius);
        },
        c);
}

void RoundFrame(CmgBBI& pic, float x, float y, float w, float h, float radius, float width,
                Colour c) {
    FillSdf(
        pic, x - width, y - width, x + w + width, y + h + width,
        [&](float px, float py) {
            return std::fabs(SdRoundBox(px, py, x + w / 2, y + h / 2, w / 2, h / 2, radius)) -
                   width / 2;
        },
        c);
}

void Segment(CmgBBI& pic, Pt a, Pt b, float width, Colour c) {
    const float o = width / 2 + 1;
    FillSdf(
        pic, std::min(a.x, b.x) - o, std::min(a.y, b.y) - o, std::max(a.x, b.x) + o,
        std::max(a.y, b.y) + o,
        [&](float px, float py) { return SdSegment(px, py, a, b) - width / 2; }, c);
}

namespace {
void Bounds(std::span<const Pt> poly, float pad, float& x0, float& y0, float& x1, float& y1) {
    x0 = y0 = 1e9f;
    x1 = y1 = -1e9f;
    for (const Pt& p : poly) {
        x0 = std::min(x0, p.x - pad);
        y0 = std::min(y0, p.y - pad);
        x1 = std::max(x1, p.x + pad);
        y1 = std::max(y1, p.y + pad);
    }
}
}  // namespace

void Polygon(CmgBBI& pic, std::span<const Pt> poly, Colour c) {
    float x0, y0, x1, y1;
    Bounds(poly, 1, x0, y0, x1, y1);
    FillSdf(
        pic, x0, y0, x1, y1, [&](float px, float py) { return SdPolygon(px, py, poly); }, c);
}

void PolygonOutline(CmgBBI& pic, std::span<const Pt> poly, float width, Colour c) {
    float x0, y0, x1, y1;
    Bounds(poly, width + 1, x0, y0, x1, y1);
    FillSdf(
        pic, x0, y0, x1, y1,
        [&](float px, float py) { return std::fabs(SdPolygon(px, py, poly)) - width / 2; }, c);
}

void Glow(CmgBBI& pic, float cx, float cy, float r, Colour c, float power) {
    const int x0 = static_cast<int>(std::floor(cx - r)), x1 = static_cast<int>(std::ceil(cx + r));
    const int y0 = static_cast<int>(std::floor(cy - r)), y1 = static_cast<int>(std::ceil(cy + r));
    for (int y = std::max(0, y0); y <= std::min(pic.GetHeight() - 1, y1); ++y) {
        for (int x = std::max(0, x0); x <= std::min(pic.GetWidth() - 1, x1); ++x) {
            const float d =
                std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) /
                r;
            if (d < 1.0f) AddLight(pic, x, y, c, std::pow(1.0f - d, power));
        }
    }
}

std::vector<Pt> Star(float cx, float cy, float outer, float inner, int n, float rot) {
    std::vector<Pt> pts;
    for (int i = 0; i < 2 * n; ++i) {
        const float a = rot + kPi * static_cast<float>(i) / static_cast<float>(n);
        const float r = (i % 2 == 0) ? outer : inner;
        pts.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
    }
    return pts;
}

std::vector<Pt> Regular(float cx, float cy, float r, int n, float rot) {
    std::vector<Pt> pts;
    for (int i = 0; i < n; ++i) {
        const float a = rot + 2 * kPi * static_cast<float>(i) / static_cast<float>(n);
        pts.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
    }
    return pts;
}

void AlphaFromBrightness(CmgBBI& pic) {
    for (auto& p : pic.Pixels()) {
        const std::uint32_t m = std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF});
        p = (m << 24) | (p & 0xFFFFFF);
    }
}

void MirrorX(CmgBBI& pic) {
    for (int y = 0; y < pic.GetHeight(); ++y) {
        std::uint32_t* row = pic.Row(y);
        std::reverse(row, row + pic.GetWidth());
    }
}

void FlattenOnKey(CmgBBI& pic, std::uint32_t keyRgb) {
    const Colour key = Rgb(keyRgb);
    for (auto& p : pic.Pixels()) {
        const Colour c = Unpack(p);
        if (c.a <= 0.0f) {
            p = 0xFF000000u | keyRgb;
            continue;
        }
        std::uint32_t v = Pack(WithAlpha(Mix(key, c, c.a), 1.0f));
        if ((v & 0xFFFFFF) == keyRgb) v ^= 0x000001;  // touched pixels never read as the key
        p = v;
    }
}

void Compose(CmgBBI& dst, const CmgBBI& src, int x, int y) {
    for (int sy = 0; sy < src.GetHeight(); ++sy) {
        for (int sx = 0; sx < src.GetWidth(); ++sx) {
            const Colour c = Unpack(src.Row(sy)[sx]);
            if (c.a > 0) Put(dst, x + sx, y + sy, c, 1.0f);
        }
    }
}

}  // namespace brumil::datagen
