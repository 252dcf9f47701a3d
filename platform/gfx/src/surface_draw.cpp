// GDI-like outline drawing on colour surfaces.
#include <algorithm>
#include <cmath>

#include "platform/gfx/surface.h"

namespace brumil::platform {

std::uint32_t Surface::PenPixel() const {
    // The fore colour is a colour reference, 0x00BBGGRR.
    const std::uint32_t c = static_cast<std::uint32_t>(foreColor_);
    const std::uint32_t r = c & 255, g = (c >> 8) & 255, b = (c >> 16) & 255;
    return Quantise(0xFF000000u | r << 16 | g << 8 | b);
}

void Surface::Stamp(int cx, int cy) {
    Settle();
    ++generation_;
    const int lo = (drawWidth_ - 1) / 2;
    const std::uint32_t p = PenPixel();
    const int x1 = std::max(cx - lo, 0), x2 = std::min(cx - lo + drawWidth_, Width());
    const int y1 = std::max(cy - lo, 0), y2 = std::min(cy - lo + drawWidth_, Height());
    for (int y = y1; y < y2; ++y) {
        std::uint32_t* row = color_.data() + static_cast<std::size_t>(y) * Width();
        for (int x = x1; x < x2; ++x) row[x] = p;
    }
}

namespace {

// Coordinates past this are refused: nothing sensible is drawn there.
constexpr int kMaxCoord = 1 << 20;

bool Sane(int x1, int y1, int x2, int y2) {
    const auto ok = [](int v) { return v >= -kMaxCoord && v <= kMaxCoord; };
    return ok(x1) && ok(y1) && ok(x2) && ok(y2);
}

}  // namespace

bool Surface::DrawLine(int x1, int y1, int x2, int y2) {
    if (lost_ || IsDepth() || !Sane(x1, y1, x2, y2)) return false;
    // Bresenham, both ends included.
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Stamp(x1, y1);
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
    return true;
}

bool Surface::DrawBox(int x1, int y1, int x2, int y2) {
    return DrawRoundedBox(x1, y1, x2, y2, 0, 0);
}

bool Surface::DrawRoundedBox(int x1, int y1, int x2, int y2, int cw, int ch) {
    if (lost_ || IsDepth() || !Sane(x1, y1, x2, y2) || !Sane(cw, ch, 0, 0)) return false;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return true;
    // The path runs through the outermost pixel centres of the box.
    const int l = x1, t = y1, r = x2 - 1, b = y2 - 1;
    const double rx = std::clamp(std::abs(cw) / 2.0, 0.0, (r - l) / 2.0);
    const double ry = std::clamp(std::abs(ch) / 2.0, 0.0, (b - t) / 2.0);
    if (rx < 0.5 || ry < 0.5) {
        DrawLine(l, t, r, t);
        DrawLine(l, b, r, b);
        DrawLine(l, t, l, b);
        DrawLine(r, t, r, b);
        return true;
    }
    const int irx = static_cast<int>(std::lround(rx)), iry = static_cast<int>(std::lround(ry));
    DrawLine(l + irx, t, r - irx, t);
    DrawLine(l + irx, b, r - irx, b);
    DrawLine(l, t + iry, l, b - iry);
    DrawLine(r, t + iry, r, b - iry);
    // Quarter arcs at the corners, sampled finer than a pixel. The top-left
    // arc is rounded once and mirrored exactly, so the outline is symmetric.
    const int steps = static_cast<int>(4 * (rx + ry)) + 8;
    for (int i = 0; i <= steps; ++i) {
        const double a = (i * 1.5707963267948966) / steps;
        const int px = static_cast<int>(std::lround(l + rx - rx * std::cos(a)));
        const int py = static_cast<int>(std::lround(t + ry - ry * std::sin(a)));
        const int qx = l + r - px, qy = t + b - py;
        Stamp(px, py);
        Stamp(qx, py);
        Stamp(px, qy);
        Stamp(qx, qy);
    }
    return true;
}

bool Surface::DrawEllipse(int x1, int y1, int x2, int y2) {
    if (!Sane(x1, y1, x2, y2)) return false;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return DrawRoundedBox(x1, y1, x2, y2, x2 - x1, y2 - y1);
}

}  // namespace brumil::platform
