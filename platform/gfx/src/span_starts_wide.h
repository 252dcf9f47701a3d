#pragma once
// What the eight- and sixteen-pixel loops do once per eight spans: their
// first pixels' attributes and how far their texture coordinates reach, in
// AVX lanes. Internal to each loop's source, which is built for its own
// processor level, so nothing here is shared between them.
#include <immintrin.h>

#include "span.h"

namespace brumil::platform::raster {
namespace {

// The first pixels' attributes (z, w, u, v, the colours) of up to eight
// spans and how far their texture coordinates reach: SpanStartLanes and
// ReachOf, each lane one span's arithmetic in the same steps.
struct SpanStarts {
    alignas(32) float s[8][8];     // per span, its attributes by Attr
    int inRange = 0, bounded = 0;  // per span a bit, as AffineReach
};

[[gnu::always_inline]] inline void MakeSpanStarts(const PixelState& ps, const Planes& p,
                                                  const Row* rows, int n, bool colours,
                                                  bool perspective, bool linear, SpanStarts& out) {
    static_assert(kZ == 0 && kW == 1 && kU == 2 && kV == 3 && kC == 4);
    alignas(32) int x1[8] = {}, y[8] = {}, last[8] = {};
    for (int i = 0; i < n; ++i) {
        x1[i] = rows[i].x1;
        y[i] = rows[i].y;
        last[i] = rows[i].x2 - rows[i].x1 - 1;
    }
    const auto load = [](const int* v) {
        return _mm256_cvtepi32_ps(_mm256_load_si256(reinterpret_cast<const __m256i*>(v)));
    };
    const __m256 fx = _mm256_sub_ps(load(x1), _mm256_set1_ps(p.x0));
    const __m256 fy = _mm256_sub_ps(load(y), _mm256_set1_ps(p.y0));
    __m256 a[8];
    for (int k = 0; k < 8; ++k) {
        if (k >= kC && !colours) {
            a[k] = _mm256_setzero_ps();
            continue;
        }
        a[k] = _mm256_add_ps(
            _mm256_add_ps(_mm256_set1_ps(p.a[k]), _mm256_mul_ps(_mm256_set1_ps(p.dx[k]), fx)),
            _mm256_mul_ps(_mm256_set1_ps(p.dy[k]), fy));
    }
    if (!perspective) {
        const __m256 along = load(last), zero = _mm256_setzero_ps();
        const __m256 half = _mm256_set1_ps(linear ? 0.5f : 0.0f);
        const __m256 top = _mm256_set1_ps(4.0e6f), bottom = _mm256_set1_ps(-4.0e6f);
        __m256 inRange = _mm256_castsi256_ps(_mm256_set1_epi32(-1)), bounded = inRange;
        const auto reach = [&](int k, float size) {
            const __m256 slope = _mm256_set1_ps(p.dx[k]), sz = _mm256_set1_ps(size);
            for (const __m256 at : {zero, along}) {
                const __m256 f = _mm256_sub_ps(
                    _mm256_mul_ps(_mm256_add_ps(a[k], _mm256_mul_ps(slope, at)), sz), half);
                const __m256 below = _mm256_cmp_ps(f, top, _CMP_LE_OQ);
                inRange = _mm256_and_ps(inRange,
                                        _mm256_and_ps(_mm256_cmp_ps(f, zero, _CMP_GE_OQ), below));
                bounded = _mm256_and_ps(bounded,
                                        _mm256_and_ps(_mm256_cmp_ps(f, bottom, _CMP_GE_OQ), below));
            }
        };
        reach(kU, float(ps.texW));
        reach(kV, float(ps.texH));
        out.inRange = _mm256_movemask_ps(inRange);
        out.bounded = _mm256_movemask_ps(bounded);
    }
    // Spans in rows: an 8 x 8 transpose.
    __m256 t[8];
    for (int k = 0; k < 8; k += 2) {
        t[k] = _mm256_unpacklo_ps(a[k], a[k + 1]);
        t[k + 1] = _mm256_unpackhi_ps(a[k], a[k + 1]);
    }
    __m256 q[8];
    for (int k = 0; k < 8; k += 4) {
        q[k] = _mm256_shuffle_ps(t[k], t[k + 2], 0x44);
        q[k + 1] = _mm256_shuffle_ps(t[k], t[k + 2], 0xEE);
        q[k + 2] = _mm256_shuffle_ps(t[k + 1], t[k + 3], 0x44);
        q[k + 3] = _mm256_shuffle_ps(t[k + 1], t[k + 3], 0xEE);
    }
    for (int k = 0; k < 4; ++k) {
        _mm256_store_ps(out.s[k], _mm256_permute2f128_ps(q[k], q[k + 4], 0x20));
        _mm256_store_ps(out.s[k + 4], _mm256_permute2f128_ps(q[k], q[k + 4], 0x31));
    }
}

}  // namespace
}  // namespace brumil::platform::raster
