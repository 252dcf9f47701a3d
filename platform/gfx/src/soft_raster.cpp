// Triangle and line set-up: guard-band clipping, the top-left fill rule on a
// fixed-point grid, attribute planes, and the walk down a triangle's rows.
#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "clip_polygon.h"
#include "triangle_edges.h"
#include "triangle_setup.h"

namespace brumil::platform::raster {

namespace {

// Screen coordinates are clipped to this band before they are made integers.
constexpr float kGuard = 16384.0f;

bool Finite(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// A coordinate of the guard band on the sub-pixel grid, rounded half away
// from zero as std::llround would, without a branch. x * kSub is exact in
// double and below 2^23; adding the half is exact too for every product of
// at least 2^-29, and smaller ones stay far from the next integer.
std::int64_t Snap(float x) {
    const double d = double(x) * kSub;
    return static_cast<std::int64_t>(d + std::copysign(0.5, d));
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

// The colour channels packed as a pixel, as Planes::Vector keeps a constant
// diffuse colour.
std::uint32_t PackedDiffuse(const Planes& p) {
    std::uint32_t d = 0;
    for (int k = 0; k < 4; ++k) d |= std::uint32_t(ToChannel(p.a[kC + k])) << (8 * k);
    return d;
}

// Attribute planes from the snapped positions, in the corners' own order;
// false when the triangle has no area as floats.
bool MakePlanes(const PixelState& ps, const std::array<const Vertex*, 3>& v,
                const std::array<Fixed, 3>& f, const Vertex& flatSource, Planes& p) {
    const float X0 = float(f[0].x) / kSub, Y0 = float(f[0].y) / kSub;
    const float X1 = float(f[1].x) / kSub - X0, Y1 = float(f[1].y) / kSub - Y0;
    const float X2 = float(f[2].x) / kSub - X0, Y2 = float(f[2].y) / kSub - Y0;
    const float det = X1 * Y2 - X2 * Y1;
    if (det == 0.0f || !std::isfinite(det)) return false;
    p.x0 = X0;
    p.y0 = Y0;
    p.perspective = !(v[0]->rhw == v[1]->rhw && v[1]->rhw == v[2]->rhw);
    float attr[3][kAttrCount];
    for (int i = 0; i < 3; ++i) {
        const Vertex& s = *v[i];
        attr[i][kZ] = s.z;
        attr[i][kW] = s.rhw;
        const bool divide = !p.perspective && s.rhw != 0.0f;
        attr[i][kU] = divide ? s.uw / s.rhw : s.uw;
        attr[i][kV] = divide ? s.vw / s.rhw : s.vw;
        const Vertex& colours = ps.flat ? flatSource : s;
        for (int k = 0; k < 4; ++k) {
            attr[i][kC + k] = colours.c[k];
            attr[i][kS + k] = colours.s[k];
        }
    }
    bool constColor = true;
    for (int k = kC; k < kAttrCount; ++k) {
        constColor = constColor && attr[0][k] == attr[1][k] && attr[1][k] == attr[2][k];
    }
    p.constColor = constColor;
    // Constant colours get zero slopes. Four planes at a time: each lane is
    // the scalar arithmetic, and a plane whose slopes are not both finite
    // gets none.
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
    for (int k = planes; k < kAttrCount; ++k) p.dx[k] = p.dy[k] = 0.0f;
    return true;
}

// Spans queued for one call of a run-of-rows loop.
constexpr int kRun = 64;

// Queues the spans of rows [y, yEnd) between the edge walkers `left` and
// `right`, clipped to the columns [clipX1, clipX2), after the `queued` ones
// in `run`, handing full runs to `flush`; answers how many are queued, and
// leaves the walkers at yEnd. The walkers are copied in and out so that they
// stay in registers, out of reach of the stores to `run`.
template <typename Flush>
int QueueRows(EdgeWalker& leftIn, EdgeWalker& rightIn, int y, int yEnd, std::int64_t clipX1,
              std::int64_t clipX2, Row* run, int queued, const Flush& flush) {
    EdgeWalker left = leftIn, right = rightIn;
    for (; y < yEnd; ++y) {
        const std::int64_t x1 = std::max(left.X(), clipX1), x2 = std::min(right.X(), clipX2);
        if (x1 < x2) {
            run[queued] = {y, int(x1), int(x2)};
            if (++queued == kRun) {
                flush(queued);
                queued = 0;
            }
        }
        left.Next();
        right.Next();
    }
    leftIn = left;
    rightIn = right;
    return queued;
}

}  // namespace

void LoopCache::Choose(const PixelState& ps, TriangleSetup& t) {
    Planes& p = t.p;
    const std::uint32_t diffuse = PackedDiffuse(p);
    if (filled_ && p.perspective == perspective_ && p.constColor == constColor_ &&
        (!p.constColor || diffuse == diffuse_)) {
        t.rows = rows_;
        t.pairs = pairs_;
        t.span = span_;
        p.vec = vec_;
        // With varying colours the packed diffuse colour is the only part
        // that follows the triangle.
        if (vec_.varying) p.vec.diffuse = diffuse;
        return;
    }
    t.rows = ChooseRows(ps, p, &t.pairs);
    t.span = t.rows != nullptr ? nullptr : ChooseSpan(ps, p);
    filled_ = true;
    perspective_ = p.perspective;
    constColor_ = p.constColor;
    diffuse_ = diffuse;
    rows_ = t.rows;
    pairs_ = t.pairs;
    span_ = t.span;
    vec_ = p.vec;
}

bool InsideGuardBand(const Vertex& a, const Vertex& b, const Vertex& c) {
    return std::fabs(a.x) <= kGuard && std::fabs(a.y) <= kGuard && std::fabs(b.x) <= kGuard &&
           std::fabs(b.y) <= kGuard && std::fabs(c.x) <= kGuard && std::fabs(c.y) <= kGuard;
}

bool SetUpTriangle(const PixelState& ps, int y1, int y2, const Vertex& v0, const Vertex& v1,
                   const Vertex& v2, const Vertex& flatSource, TriangleSetup& t, LoopCache* cache) {
    const std::array<const Vertex*, 3> v = {&v0, &v1, &v2};
    std::array<Fixed, 3> f;
    for (int i = 0; i < 3; ++i) f[i] = {Snap(v[i]->x), Snap(v[i]->y)};
    const std::int64_t area2 =
        (f[1].x - f[0].x) * (f[2].y - f[0].y) - (f[2].x - f[0].x) * (f[1].y - f[0].y);
    if (area2 == 0) return false;
    // Every span lies between the columns of the leftmost and rightmost
    // corners: a triangle wholly beside the scissor has none to draw.
    const std::int64_t minX = std::min({f[0].x, f[1].x, f[2].x});
    const std::int64_t maxX = std::max({f[0].x, f[1].x, f[2].x});
    if (CeilDiv(maxX, kSub) <= ps.clipX1 || CeilDiv(minX, kSub) >= ps.clipX2) return false;

    // Sorted by y, the long edge running from top to bottom; the rows
    // inside the scissor are known before any plane is made.
    std::array<Fixed, 3> s = f;
    if (s[1].y < s[0].y) std::swap(s[0], s[1]);
    if (s[2].y < s[1].y) std::swap(s[1], s[2]);
    if (s[1].y < s[0].y) std::swap(s[0], s[1]);
    const std::int64_t yTop =
        std::max<std::int64_t>(CeilDiv(s[0].y, kSub), std::max(ps.clipY1, y1));
    const std::int64_t yEnd =
        std::min<std::int64_t>(CeilDiv(s[2].y, kSub), std::min(ps.clipY2, y2));
    if (yTop >= yEnd) return false;

    if (!MakePlanes(ps, v, f, flatSource, t.p)) return false;
    for (int i = 0; i < 3; ++i) t.f[i] = s[i];
    const std::int64_t side =
        (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
    t.longOnLeft = side > 0;  // the middle vertex lies right of the long edge
    t.yFirst = int(yTop);
    t.yEnd = int(yEnd);
    if (cache != nullptr) {
        cache->Choose(ps, t);
    } else {
        t.rows = ChooseRows(ps, t.p, &t.pairs);
        t.span = t.rows != nullptr ? nullptr : ChooseSpan(ps, t.p);
    }
    return true;
}

void WalkTriangle(const PixelState& ps, const TriangleSetup& t, int y1, int y2) {
    // Rows above the middle vertex meet the upper short edge, the others the
    // lower one.
    TriangleEdges edges(t, y1, y2);
    if (edges.Top() >= edges.End()) return;
    const Planes& p = t.p;
    // Spans are queued and go, top row first, to the run-of-rows loop in
    // runs or else to the span loop one by one.
    Row run[kRun];
    const auto flush = [&](int count) {
        if (t.rows != nullptr) {
            t.rows(ps, p, run, count);
        } else {
            for (int i = 0; i < count; ++i) t.span(ps, p, run[i].y, run[i].x1, run[i].x2);
        }
    };
    int queued = 0;
    for (const auto& [from, to] :
         {std::pair{edges.Top(), edges.Mid()}, std::pair{edges.Mid(), edges.End()}}) {
        if (from >= to) continue;
        edges.StartAt(from);
        queued = QueueRows(edges.Left(), edges.Right(), from, to, ps.clipX1, ps.clipX2, run, queued,
                           flush);
    }
    if (queued > 0) flush(queued);
}

void DrawTriangleRows(const PixelState& ps, int y1, int y2, const Vertex& a, const Vertex& b,
                      const Vertex& c, const Vertex& flat, LoopCache* cache) {
    if (!Finite(a) || !Finite(b) || !Finite(c)) return;
    if (ps.clipX1 >= ps.clipX2 || std::max(ps.clipY1, y1) >= std::min(ps.clipY2, y2)) return;
    // Storage used again, as its planes are large to clear for each
    // triangle; the set-up writes all that the walk reads.
    thread_local TriangleSetup t;
    if (InsideGuardBand(a, b, c)) {
        if (SetUpTriangle(ps, y1, y2, a, b, c, flat, t, cache)) WalkTriangle(ps, t, y1, y2);
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
    for (int i = 1; i + 1 < n; ++i) {
        if (SetUpTriangle(ps, y1, y2, buf1[0], buf1[i], buf1[i + 1], flat, t, cache)) {
            WalkTriangle(ps, t, y1, y2);
        }
    }
}

void DrawTriangle(const PixelState& ps, const Vertex& a, const Vertex& b, const Vertex& c,
                  const Vertex& flat) {
    DrawTriangleRows(ps, ps.clipY1, ps.clipY2, a, b, c, flat);
}

void DrawLine(const PixelState& ps, const Vertex& a, const Vertex& b) {
    DrawLineRows(ps, ps.clipY1, ps.clipY2, a, b);
}

void DrawLineRows(const PixelState& ps, int y1, int y2, const Vertex& a, const Vertex& b) {
    if (!Finite(a) || !Finite(b)) return;
    y1 = std::max(y1, ps.clipY1);
    y2 = std::min(y2, ps.clipY2);
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::fmax(std::fabs(dx), std::fabs(dy));
    if (!(len >= 0.5f)) return;
    const int steps = int(std::fmin(len, 2.0f * kGuard) + 0.5f);
    const bool persp = a.rhw != b.rhw;
    for (int i = 0; i < steps; ++i) {  // the last pixel is left out
        const float t = float(i) / float(steps);
        const Vertex v = Lerp(a, b, t);
        const int x = int(std::floor(v.x + 0.5f)), y = int(std::floor(v.y + 0.5f));
        if (x < ps.clipX1 || x >= ps.clipX2 || y < y1 || y >= y2) continue;
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
