// Triangle and line set-up: guard-band clipping, the top-left fill rule on a
// fixed-point grid, and attribute planes.
#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "clip_polygon.h"
#include "edge_walk.h"
#include "span.h"

namespace brumil::platform::raster {

namespace {

// Screen coordinates are clipped to this band before they are made integers.
constexpr float kGuard = 16384.0f;
// Sub-pixel precision of vertex positions: 1/256 pixel.
constexpr std::int64_t kSub = 256;

bool Finite(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// std::llround for the sub-pixel positions of the guard band (well inside
// the range of int64), without the library call.
std::int64_t RoundHalfAway(double d) {
    const auto i = static_cast<std::int64_t>(d);
    const double f = d - double(i);  // exact
    return f >= 0.5 ? i + 1 : (f <= -0.5 ? i - 1 : i);
}

Vertex Lerp(const Vertex& a, const Vertex& b, float t) {
    Vertex r;
    r.x = a.x + (b.x - a.x) * t;
    r.y = a.y + (b.y - a.y) * t;
    r.z = a.z + (b.z - a.z) * t;
    r.rhw = a.rhw + (b.rhw - a.rhw) * t;
    r.uw = a.uw + (b.uw - a.uw) * t;
    r.vw = a.vw + (b.vw - a.vw) * t;
    for (int i = 0; i < 4; ++i) {
        r.c[i] = a.c[i] + (b.c[i] - a.c[i]) * t;
        r.s[i] = a.s[i] + (b.s[i] - a.s[i]) * t;
    }
    return r;
}

void Rasterise(const PixelState& ps, const Vertex& v0, const Vertex& v1, const Vertex& v2,
               const Vertex& flatSource) {
    std::array<const Vertex*, 3> v = {&v0, &v1, &v2};
    std::array<Fixed, 3> f;
    for (int i = 0; i < 3; ++i) {
        f[i] = {RoundHalfAway(double(v[i]->x) * kSub), RoundHalfAway(double(v[i]->y) * kSub)};
    }
    const std::int64_t area2 =
        (f[1].x - f[0].x) * (f[2].y - f[0].y) - (f[2].x - f[0].x) * (f[1].y - f[0].y);
    if (area2 == 0) return;
    // Every span lies between the columns of the leftmost and rightmost
    // corners: a triangle wholly beside the scissor has none to draw.
    const std::int64_t minX = std::min({f[0].x, f[1].x, f[2].x});
    const std::int64_t maxX = std::max({f[0].x, f[1].x, f[2].x});
    if (CeilDiv(maxX, kSub) <= ps.clipX1 || CeilDiv(minX, kSub) >= ps.clipX2) return;

    // Attribute planes from the snapped positions.
    Planes p;
    const float X0 = float(f[0].x) / kSub, Y0 = float(f[0].y) / kSub;
    const float X1 = float(f[1].x) / kSub - X0, Y1 = float(f[1].y) / kSub - Y0;
    const float X2 = float(f[2].x) / kSub - X0, Y2 = float(f[2].y) / kSub - Y0;
    const float det = X1 * Y2 - X2 * Y1;
    if (det == 0.0f || !std::isfinite(det)) return;
    p.x0 = X0;
    p.y0 = Y0;
    p.perspective = !(v0.rhw == v1.rhw && v1.rhw == v2.rhw);
    float attr[3][kAttrCount];
    for (int i = 0; i < 3; ++i) {
        const Vertex& s = *v[i];
        attr[i][kZ] = s.z;
        attr[i][kW] = s.rhw;
        const bool divide = !p.perspective && s.rhw != 0.0f;
        attr[i][kU] = divide ? s.uw / s.rhw : s.uw;
        attr[i][kV] = divide ? s.vw / s.rhw : s.vw;
        for (int k = 0; k < 4; ++k) {
            attr[i][kC + k] = ps.flat ? flatSource.c[k] : s.c[k];
            attr[i][kS + k] = ps.flat ? flatSource.s[k] : s.s[k];
        }
    }
    bool constColor = true;
    for (int k = kC; k < kAttrCount; ++k) {
        constColor = constColor && attr[0][k] == attr[1][k] && attr[1][k] == attr[2][k];
    }
    p.constColor = constColor;
    // Constant colours keep zero slopes (Planes' defaults). Four planes at a
    // time: each lane is the scalar arithmetic, and a plane whose slopes are
    // not both finite gets none.
    static_assert(kAttrCount % 4 == 0 && kC % 4 == 0);
    const int planes = constColor ? kC : kAttrCount;
    for (int k = 0; k < kAttrCount; ++k) p.a[k] = attr[0][k];
    const __m128 vx1 = _mm_set1_ps(X1), vy1 = _mm_set1_ps(Y1), vx2 = _mm_set1_ps(X2),
                 vy2 = _mm_set1_ps(Y2), vdet = _mm_set1_ps(det);
    for (int k = 0; k < planes; k += 4) {
        const __m128 a0 = _mm_loadu_ps(&attr[0][k]);
        const __m128 d1 = _mm_sub_ps(_mm_loadu_ps(&attr[1][k]), a0);
        const __m128 d2 = _mm_sub_ps(_mm_loadu_ps(&attr[2][k]), a0);
        const __m128 dx = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(d1, vy2), _mm_mul_ps(d2, vy1)), vdet);
        const __m128 dy = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(d2, vx1), _mm_mul_ps(d1, vx2)), vdet);
        // x * 0 is NaN exactly when x is infinite or NaN.
        const __m128 finite =
            _mm_cmpord_ps(_mm_mul_ps(dx, _mm_setzero_ps()), _mm_mul_ps(dy, _mm_setzero_ps()));
        _mm_storeu_ps(p.dx + k, _mm_and_ps(dx, finite));
        _mm_storeu_ps(p.dy + k, _mm_and_ps(dy, finite));
    }

    // Sort by y; the long edge runs from top to bottom.
    if (f[1].y < f[0].y) std::swap(f[0], f[1]);
    if (f[2].y < f[1].y) std::swap(f[1], f[2]);
    if (f[1].y < f[0].y) std::swap(f[0], f[1]);
    const std::int64_t side =
        (f[1].x - f[0].x) * (f[2].y - f[0].y) - (f[2].x - f[0].x) * (f[1].y - f[0].y);
    const bool longOnLeft = side > 0;  // the middle vertex lies right of the long edge

    const std::int64_t yTop = std::max<std::int64_t>(CeilDiv(f[0].y, kSub), ps.clipY1);
    const std::int64_t yEnd = std::min<std::int64_t>(CeilDiv(f[2].y, kSub), ps.clipY2);
    if (yTop >= yEnd) return;
    // Rows go to the four-pixel loops in runs, else one by one.
    const RowsFn rows = ChooseRows(ps, p);
    const SpanFn span = rows != nullptr ? nullptr : ChooseSpan(ps, p);
    constexpr int kRun = 64;
    Row run[kRun];
    int queued = 0;
    const auto emit = [&](std::int64_t y, std::int64_t xl, std::int64_t xs) {
        std::int64_t x1 = longOnLeft ? xl : xs, x2 = longOnLeft ? xs : xl;
        x1 = std::max<std::int64_t>(x1, ps.clipX1);
        x2 = std::min<std::int64_t>(x2, ps.clipX2);
        if (x1 >= x2) return;
        if (rows == nullptr) {
            span(ps, p, int(y), int(x1), int(x2));
            return;
        }
        run[queued++] = {int(y), int(x1), int(x2)};
        if (queued == kRun) {
            rows(ps, p, run, queued);
            queued = 0;
        }
    };
    // Rows above the middle vertex meet the upper short edge, the others the
    // lower one.
    EdgeWalker longEdge, shortEdge;
    longEdge.Start(f[0], f[2], yTop * kSub, kSub);
    std::int64_t y = yTop;
    if (y * kSub < f[1].y) {
        shortEdge.Start(f[0], f[1], y * kSub, kSub);
        for (; y < yEnd && y * kSub < f[1].y; ++y) {
            emit(y, longEdge.X(), shortEdge.X());
            longEdge.Next();
            shortEdge.Next();
        }
    }
    if (y < yEnd) {
        shortEdge.Start(f[1], f[2], y * kSub, kSub);
        for (; y < yEnd; ++y) {
            emit(y, longEdge.X(), shortEdge.X());
            longEdge.Next();
            shortEdge.Next();
        }
    }
    if (queued > 0) rows(ps, p, run, queued);
}

}  // namespace

void DrawTriangle(const PixelState& ps, const Vertex& a, const Vertex& b, const Vertex& c,
                  const Vertex& flat) {
    if (!Finite(a) || !Finite(b) || !Finite(c)) return;
    if (ps.clipX1 >= ps.clipX2 || ps.clipY1 >= ps.clipY2) return;
    const bool inside = std::fabs(a.x) <= kGuard && std::fabs(a.y) <= kGuard &&
                        std::fabs(b.x) <= kGuard && std::fabs(b.y) <= kGuard &&
                        std::fabs(c.x) <= kGuard && std::fabs(c.y) <= kGuard;
    if (inside) {
        Rasterise(ps, a, b, c, flat);
        return;
    }
    Vertex buf1[8] = {a, b, c}, buf2[8];
    int n = 3;
    n = clip::ClipPolygon(
        buf1, n, buf2, [](const Vertex& v) { return v.x + kGuard; }, Lerp);
    n = clip::ClipPolygon(
        buf2, n, buf1, [](const Vertex& v) { return kGuard - v.x; }, Lerp);
    n = clip::ClipPolygon(
        buf1, n, buf2, [](const Vertex& v) { return v.y + kGuard; }, Lerp);
    n = clip::ClipPolygon(
        buf2, n, buf1, [](const Vertex& v) { return kGuard - v.y; }, Lerp);
    for (int i = 1; i + 1 < n; ++i) Rasterise(ps, buf1[0], buf1[i], buf1[i + 1], flat);
}

void DrawLine(const PixelState& ps, const Vertex& a, const Vertex& b) {
    if (!Finite(a) || !Finite(b)) return;
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::fmax(std::fabs(dx), std::fabs(dy));
    if (!(len >= 0.5f)) return;
    const int steps = int(std::fmin(len, 2.0f * kGuard) + 0.5f);
    const bool persp = a.rhw != b.rhw;
    for (int i = 0; i < steps; ++i) {  // the last pixel is left out
        const float t = float(i) / float(steps);
        const Vertex v = Lerp(a, b, t);
        const int x = int(std::floor(v.x + 0.5f)), y = int(std::floor(v.y + 0.5f));
        if (x < ps.clipX1 || x >= ps.clipX2 || y < ps.clipY1 || y >= ps.clipY2) continue;
        const float w = (persp && v.rhw != 0.0f) ? v.rhw : (a.rhw != 0.0f ? a.rhw : 1.0f);
        Rgba d, s;
        for (int k = 0; k < 4; ++k) {
            d.c[k] = ToChannel(ps.flat ? a.c[k] : v.c[k]);
            s.c[k] = ToChannel(ps.flat ? a.s[k] : v.s[k]);
        }
        ShadePixel(ps, x, y, v.z, v.uw / w, v.vw / w, d, s);
    }
}

}  // namespace brumil::platform::raster
