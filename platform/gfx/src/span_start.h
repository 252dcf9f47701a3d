#pragma once
// What the four- and eight-pixel loops do once per span, before the groups:
// the attributes at the span's first pixel and how far its texture
// coordinates reach. Internal to each loop's source, which may be built for
// another processor level, so nothing here is shared between them.
#include <emmintrin.h>

#include "span.h"

namespace brumil::platform::raster {
namespace {

// How texture coordinates become texel numbers. AffineBounded: every
// coordinate of the span is known to lie in [-4e6, 4e6], where SafeCoord
// changes nothing; AffineInRange: in [0, 4e6], where truncation is FloorInt
// too.
enum class Coords { Perspective, Affine, AffineBounded, AffineInRange };

// s = the attributes at the span's first pixel, as SpanStart gives them:
// z, w, u and v side by side, and the colours when `colours`.
[[gnu::always_inline]] inline void SpanStartLanes(const Planes& p, const Row& r, bool colours,
                                                  float* s) {
    static_assert(kZ == 0 && kW == 1 && kU == 2 && kV == 3);
    const __m128 fx = _mm_set1_ps(float(r.x1) - p.x0), fy = _mm_set1_ps(float(r.y) - p.y0);
    _mm_store_ps(s, _mm_add_ps(_mm_add_ps(_mm_loadu_ps(p.a), _mm_mul_ps(_mm_loadu_ps(p.dx), fx)),
                               _mm_mul_ps(_mm_loadu_ps(p.dy), fy)));
    if (colours) {
        _mm_store_ps(s + kC, _mm_add_ps(_mm_add_ps(_mm_loadu_ps(p.a + kC),
                                                   _mm_mul_ps(_mm_loadu_ps(p.dx + kC), fx)),
                                        _mm_mul_ps(_mm_loadu_ps(p.dy + kC), fy)));
    }
}

// Where an affine span's texel coordinates (scaled by the texture's size,
// less half a texel when filtered) lie.
struct AffineReach {
    bool inRange;  // all in [0, 4e6]
    bool bounded;  // all in [-4e6, 4e6]
};

// An affine coordinate moves one way along the span (each rounding step
// keeps the order), so its two ends bound it. s as SpanStartLanes gives it.
[[gnu::always_inline]] inline AffineReach ReachOf(const Planes& p, const Row& r, const float* s,
                                                  float texW, float texH, bool linear) {
    // Lanes: u at the first and last pixel, then v at both.
    const __m128 start = _mm_shuffle_ps(_mm_load_ps(s), _mm_load_ps(s), 0xFA);
    const __m128 slope = _mm_shuffle_ps(_mm_loadu_ps(p.dx), _mm_loadu_ps(p.dx), 0xFA);
    const float last = float(r.x2 - r.x1 - 1);
    const __m128 along = _mm_setr_ps(0.0f, last, 0.0f, last);
    const __m128 size = _mm_setr_ps(texW, texW, texH, texH);
    const __m128 f = _mm_sub_ps(_mm_mul_ps(_mm_add_ps(start, _mm_mul_ps(slope, along)), size),
                                _mm_set1_ps(linear ? 0.5f : 0.0f));
    const __m128 below = _mm_cmple_ps(f, _mm_set1_ps(4.0e6f));
    const __m128 inRange = _mm_and_ps(_mm_cmpge_ps(f, _mm_setzero_ps()), below);
    const __m128 bounded = _mm_and_ps(_mm_cmpge_ps(f, _mm_set1_ps(-4.0e6f)), below);
    return {_mm_movemask_ps(inRange) == 15, _mm_movemask_ps(bounded) == 15};
}

}  // namespace
}  // namespace brumil::platform::raster
