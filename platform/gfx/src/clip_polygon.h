#pragma once
// One side of a convex polygon clip, shared by the clip-space and the
// screen-space clippers.

namespace brumil::platform::clip {

// Keeps the part of the polygon in[0..n) where dist(v) >= 0, writing it to
// out (room for n + 1 vertices) and answering its vertex count. A new vertex
// on a crossing edge is lerp(a, b, t) with t the crossing's place from a.
template <typename V, typename Dist, typename Lerp>
int ClipPolygon(const V* in, int n, V* out, Dist dist, Lerp lerp) {
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const V& a = in[i];
        const V& b = in[(i + 1) % n];
        const float da = dist(a), db = dist(b);
        if (da >= 0) out[m++] = a;
        if ((da >= 0) != (db >= 0)) out[m++] = lerp(a, b, da / (da - db));
    }
    return m;
}

}  // namespace brumil::platform::clip
