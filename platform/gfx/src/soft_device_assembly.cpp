// The software device's draws: the primitives assembled from the prepared
// vertices, clipped in clip space, culled by their screen winding and handed
// to the rasteriser, or to the band queue when bands draw them.
#include <algorithm>
#include <cmath>

#include "clip_polygon.h"
#include "soft_device_impl.h"

namespace brumil::platform::soft {

namespace {

constexpr float kMinW = 1e-6f;

// Near (z >= 0), far (z <= w) and w > 0: nothing is ever divided by w <= 0.
int ClipHomogeneous(ClipVertex* a, int n, ClipVertex* b) {
    n = clip::ClipPolygon(
        a, n, b, [](const ClipVertex& v) { return v.w - kMinW; }, LerpClip);
    n = clip::ClipPolygon(
        b, n, a, [](const ClipVertex& v) { return v.z; }, LerpClip);
    n = clip::ClipPolygon(
        a, n, b, [](const ClipVertex& v) { return v.w - v.z; }, LerpClip);
    std::copy(b, b + n, a);
    return n;
}

bool FiniteClip(const ClipVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

}  // namespace

bool SoftDevice::Draw(D3DLong type, D3DLong fvf, std::span<const std::byte> bytes, D3DLong count,
                      const std::int16_t* indices, D3DLong indexCount) {
    if (!inScene_) return false;
    if (fvf != D3DFVF_VERTEX && fvf != D3DFVF_LVERTEX && fvf != D3DFVF_TLVERTEX) return false;
    if (type < D3DPT_LINELIST || type > D3DPT_TRIANGLEFAN) return false;
    if (count < 0 || static_cast<std::size_t>(count) * 32u > bytes.size()) return false;
    // The surfaces' pixels are taken as they are: this device's own recorded
    // draws stay recorded.
    decoding_ = true;
    const bool decoded = Decode();
    decoding_ = false;
    if (!decoded) return false;
    if (queue_ != nullptr && !stateQueued_) {
        // The queue's primitives take the state of its last draw: a draw whose
        // state is that one's needs no new entry.
        queue_->BeginDraw(state_);
        stateQueued_ = true;
        Hold(target_);
        if (state_.depth != nullptr) Hold(depth_);
        if (state_.tex != nullptr) Hold(textures_[0]);
    }
    if (fvf == D3DFVF_TLVERTEX) {
        PrepareScreen(bytes, count);
    } else {
        PrepareClip(fvf, bytes, count);
    }
    const D3DLong n = indices != nullptr ? indexCount : count;
    const auto vertexOf = [&](D3DLong j) -> D3DLong {
        if (indices == nullptr) return j;
        // Indices are unsigned 16-bit numbers stored in signed slots.
        return static_cast<D3DLong>(static_cast<std::uint16_t>(indices[j]));
    };
    const auto valid = [&](D3DLong v) { return v >= 0 && v < count; };
    const bool screen = fvf == D3DFVF_TLVERTEX;
    // `f` is the vertex whose colours flat shading takes: the triangle's
    // first in drawing order.
    const auto tri = [&](D3DLong a, D3DLong b, D3DLong c, D3DLong f) {
        if (!valid(a) || !valid(b) || !valid(c)) return;
        if (screen) {
            ScreenTriangle(screen_[a], screen_[b], screen_[c], screen_[f]);
        } else {
            ClipTriangle(a, b, c, f);
        }
    };
    const auto line = [&](D3DLong a, D3DLong b) {
        if (!valid(a) || !valid(b)) return;
        if (screen) {
            EmitLine(screen_[a], screen_[b]);
        } else {
            ClipLine(clip_[a], clip_[b]);
        }
    };
    switch (type) {
        case D3DPT_TRIANGLELIST:
            for (D3DLong j = 0; j + 2 < n; j += 3) {
                tri(vertexOf(j), vertexOf(j + 1), vertexOf(j + 2), vertexOf(j));
            }
            break;
        case D3DPT_TRIANGLESTRIP:
            for (D3DLong j = 0; j + 2 < n; ++j) {
                // Odd triangles swap their first two vertices to keep the
                // strip's winding.
                if (j % 2 == 0) {
                    tri(vertexOf(j), vertexOf(j + 1), vertexOf(j + 2), vertexOf(j));
                } else {
                    tri(vertexOf(j + 1), vertexOf(j), vertexOf(j + 2), vertexOf(j));
                }
            }
            break;
        case D3DPT_TRIANGLEFAN:
            for (D3DLong j = 1; j + 1 < n; ++j) {
                tri(vertexOf(0), vertexOf(j), vertexOf(j + 1), vertexOf(j));
            }
            break;
        case D3DPT_LINELIST:
            for (D3DLong j = 0; j + 1 < n; j += 2) line(vertexOf(j), vertexOf(j + 1));
            break;
        case D3DPT_LINESTRIP:
            for (D3DLong j = 0; j + 1 < n; ++j) line(vertexOf(j), vertexOf(j + 1));
            break;
        default:
            break;
    }
    // Nothing stays kept back past its draw.
    if (queue_ == nullptr) pairing_.Flush(state_);
    HandOver();
    return true;
}

void SoftDevice::ClipTriangle(D3DLong ia, D3DLong ib, D3DLong ic, D3DLong iflat) {
    const Shared &sa = shared_[ia], &sb = shared_[ib], &sc = shared_[ic];
    if (!sa.finite || !sb.finite || !sc.finite) return;
    const ClipVertex& flat = clip_[iflat];
    raster::Vertex f;
    std::copy(flat.c, flat.c + 4, f.c);
    std::copy(flat.s, flat.s + 4, f.s);
    // Wholly inside: the clipper would hand the triangle back as it is, and
    // its corners' screen forms are made already.
    if (sa.inside && sb.inside && sc.inside) {
        if (Visible3(sa.screen, sb.screen, sc.screen)) {
            EmitTriangle(sa.screen, sb.screen, sc.screen, f);
        }
        return;
    }
    ClipVertex p[12] = {clip_[ia], clip_[ib], clip_[ic]}, q[12];
    const int n = ClipHomogeneous(p, 3, q);
    if (n < 3) return;
    raster::Vertex s[12];
    for (int i = 0; i < n; ++i) s[i] = ToScreen(p[i]);
    if (!Visible(s, n)) return;
    for (int i = 1; i + 1 < n; ++i) EmitTriangle(s[0], s[i], s[i + 1], f);
}

void SoftDevice::ClipLine(const ClipVertex& a, const ClipVertex& b) {
    if (!FiniteClip(a) || !FiniteClip(b)) return;
    ClipVertex p[2] = {a, b};
    const auto clipEnd = [&](auto dist) {
        const float da = dist(p[0]), db = dist(p[1]);
        if (da < 0 && db < 0) return false;
        if (da < 0) p[0] = LerpClip(p[0], p[1], da / (da - db));
        if (db < 0) p[1] = LerpClip(p[0], p[1], da / (da - db));
        return true;
    };
    if (!clipEnd([](const ClipVertex& v) { return v.w - kMinW; })) return;
    if (!clipEnd([](const ClipVertex& v) { return v.z; })) return;
    if (!clipEnd([](const ClipVertex& v) { return v.w - v.z; })) return;
    EmitLine(ToScreen(p[0]), ToScreen(p[1]));
}

void SoftDevice::ScreenTriangle(const raster::Vertex& a, const raster::Vertex& b,
                                const raster::Vertex& c, const raster::Vertex& flat) {
    if (!Visible3(a, b, c)) return;
    EmitTriangle(a, b, c, flat);
}

namespace {

// Twice the signed area a polygon's screen corners enclose (y down: a
// positive area turns clockwise); `at(i)` is corner i of n.
template <typename At>
double WindingArea(int n, At at) {
    double area = 0;
    for (int i = 0; i < n; ++i) {
        const raster::Vertex& p = at(i);
        const raster::Vertex& q = at(i + 1 == n ? 0 : i + 1);
        area += double(p.x) * q.y - double(q.x) * p.y;
    }
    return area;
}

}  // namespace

// The culling test on the polygon's screen winding.
bool SoftDevice::Visible(const raster::Vertex* s, int n) const {
    return Faces(WindingArea(n, [s](int i) -> const raster::Vertex& { return s[i]; }));
}

// Visible for a triangle, its corners where they are.
bool SoftDevice::Visible3(const raster::Vertex& a, const raster::Vertex& b,
                          const raster::Vertex& c) const {
    const raster::Vertex* s[3] = {&a, &b, &c};
    return Faces(WindingArea(3, [&s](int i) -> const raster::Vertex& { return *s[i]; }));
}

// Whether a polygon of this winding area is drawn under the culling mode.
bool SoftDevice::Faces(double area) const {
    if (!(area != 0.0) || !std::isfinite(area)) return false;
    const D3DLong cull = renderStates_[D3DRENDERSTATE_CULLMODE];
    if (cull == D3DCULL_CW && area > 0) return false;
    if (cull == D3DCULL_CCW && area < 0) return false;
    return true;
}

void SoftDevice::EmitTriangle(const raster::Vertex& a, const raster::Vertex& b,
                              const raster::Vertex& c, const raster::Vertex& flat) {
    if (queue_ != nullptr) {
        queue_->AddTriangle(a, b, c, flat);
        ++recorded_;
    } else {
        pairing_.Draw(state_, a, b, c, flat, &loops_);
    }
}

void SoftDevice::EmitLine(const raster::Vertex& a, const raster::Vertex& b) {
    if (queue_ != nullptr) {
        queue_->AddLine(a, b);
        ++recorded_;
    } else {
        raster::DrawLine(state_, a, b);
    }
}

}  // namespace brumil::platform::soft
