// The software device's vertex front end: records read, transformed to clip
// space (and lit) four at a time, and the screen form of those the clipper
// would leave as they are. Every vertex goes through the same float
// operations in the same order as one at a time; large draws are shared out
// among the pool's threads, as no vertex depends on another.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "platform/gfx/dx7_math.h"
#include "soft_device_impl.h"

namespace brumil::platform::soft {

namespace {

// Vertices per task when a draw's vertices are shared among threads; draws
// of fewer than two such pieces stay on the caller.
constexpr D3DLong kVerticesPerTask = 128;

constexpr float kMinW = 1e-6f;

using F = __m128;

// The four rows of a 4 x 4 matrix's column c, for r1 * x + r2 * y + r3 * z + r4.
struct Column {
    F r1, r2, r3, r4;
};

Column ColumnOf(float a, float b, float c, float d) {
    return {_mm_set1_ps(a), _mm_set1_ps(b), _mm_set1_ps(c), _mm_set1_ps(d)};
}

// x * r1 + y * r2 + z * r3 + r4, left to right, in each lane.
F Apply(const Column& k, F x, F y, F z) {
    return _mm_add_ps(
        _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, k.r1), _mm_mul_ps(y, k.r2)), _mm_mul_ps(z, k.r3)),
        k.r4);
}

// x * r1 + y * r2 + z * r3, left to right, in each lane.
F Apply3(const Column& k, F x, F y, F z) {
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, k.r1), _mm_mul_ps(y, k.r2)), _mm_mul_ps(z, k.r3));
}

// Inside all three planes the clipper cuts by, which then hands a polygon
// back as it is.
bool InsideClip(const ClipVertex& v) {
    return v.w - kMinW >= 0 && v.z >= 0 && v.w - v.z >= 0;
}

bool FiniteClip(const ClipVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

}  // namespace

void SoftDevice::PrepareScreen(std::span<const std::byte> bytes, D3DLong count) {
    screen_.resize(count);
    for (D3DLong i = 0; i < count; ++i) {
        D3DTLVERTEX t;
        std::memcpy(&t, bytes.data() + static_cast<std::size_t>(i) * 32u, 32);
        raster::Vertex& v = screen_[i];
        v.x = t.sx;
        v.y = t.sy;
        v.z = t.sz;
        v.rhw = (std::isfinite(t.rhw) && t.rhw != 0.0f) ? t.rhw : 1.0f;
        v.uw = t.tu * v.rhw;
        v.vw = t.tv * v.rhw;
        UnpackColor(t.color, v.c);
        UnpackColor(t.specular, v.s);
    }
}

// What every vertex of the next draws shares: made again only after a
// setter has run.
void SoftDevice::UpdateVertexSetup() {
    if (!setupDirty_) return;
    VertexSetup& s = setup_;
    D3DMATRIX wv;
    DirectX7::MatrixMultiply(wv, transforms_[0], transforms_[1]);
    DirectX7::MatrixMultiply(s.m, wv, transforms_[2]);
    s.normalize = renderStates_[D3DRENDERSTATE_NORMALIZENORMALS] != 0;
    s.lit = renderStates_[D3DRENDERSTATE_LIGHTING] != 0;
    lighting::Context& ctx = s.ctx;
    ctx.material = material_;
    ctx.ambient = static_cast<std::uint32_t>(renderStates_[D3DRENDERSTATE_AMBIENT]);
    ctx.lights = lights_;
    ctx.specular = renderStates_[D3DRENDERSTATE_SPECULARENABLE] != 0;
    ctx.eye = {};
    lighting::Prepare(ctx);
    // The eye in world space: the view's inverse applied to the origin.
    const D3DMATRIX& v = transforms_[1];
    float inv[3][3];
    if (Invert3x3(v, inv)) {
        ctx.eye = {-(v.rc41 * inv[0][0] + v.rc42 * inv[1][0] + v.rc43 * inv[2][0]),
                   -(v.rc41 * inv[0][1] + v.rc42 * inv[1][1] + v.rc43 * inv[2][1]),
                   -(v.rc41 * inv[0][2] + v.rc42 * inv[1][2] + v.rc43 * inv[2][2])};
    }
    // Normals go through the inverse transpose of the world matrix.
    float inw[3][3];
    if (Invert3x3(transforms_[0], inw)) {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) s.normalM[r][c] = inw[c][r];
        }
    } else {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) s.normalM[r][c] = transforms_[0].At(r, c);
        }
        s.normalize = true;
    }
    setupDirty_ = false;
}

void SoftDevice::PrepareClip(D3DLong fvf, std::span<const std::byte> bytes, D3DLong count) {
    UpdateVertexSetup();
    clip_.resize(count);
    shared_.resize(count);
    const D3DLong pieces = count / kVerticesPerTask;
    // The pool is free only while the runner draws nothing.
    if (pool_ == nullptr || pieces < 2 || !runner_->Idle()) {
        PrepareRange(fvf, bytes.data(), 0, count);
        return;
    }
    const std::function<void(int)> piece = [&](int i) {
        const D3DLong first = count * i / pieces, last = count * (i + 1) / pieces;
        PrepareRange(fvf, bytes.data(), first, last);
    };
    pool_->Run(static_cast<int>(pieces), piece);
}

// Vertices [first, last) of the draw's records into clip_ and shared_.
void SoftDevice::PrepareRange(D3DLong fvf, const std::byte* bytes, D3DLong first, D3DLong last) {
    const VertexSetup& s = setup_;
    const bool lit = fvf == D3DFVF_VERTEX && s.lit;
    const D3DMATRIX& w = transforms_[0];
    const D3DMATRIX& m = s.m;
    const Column clipX = ColumnOf(m.rc11, m.rc21, m.rc31, m.rc41);
    const Column clipY = ColumnOf(m.rc12, m.rc22, m.rc32, m.rc42);
    const Column clipZ = ColumnOf(m.rc13, m.rc23, m.rc33, m.rc43);
    const Column clipW = ColumnOf(m.rc14, m.rc24, m.rc34, m.rc44);
    const Column worldX = ColumnOf(w.rc11, w.rc21, w.rc31, w.rc41);
    const Column worldY = ColumnOf(w.rc12, w.rc22, w.rc32, w.rc42);
    const Column worldZ = ColumnOf(w.rc13, w.rc23, w.rc33, w.rc43);
    const auto& nm = s.normalM;
    const Column normalX = ColumnOf(nm[0][0], nm[1][0], nm[2][0], 0);
    const Column normalY = ColumnOf(nm[0][1], nm[1][1], nm[2][1], 0);
    const Column normalZ = ColumnOf(nm[0][2], nm[1][2], nm[2][2], 0);
    for (D3DLong i = first; i < last; i += 4) {
        const int lanes = static_cast<int>(std::min<D3DLong>(4, last - i));
        // Four records (the last repeated to fill the lanes), each two rows
        // of four floats, turned into one register per field.
        F a[4], b[4];
        for (int k = 0; k < 4; ++k) {
            const auto* rec = reinterpret_cast<const float*>(
                bytes + static_cast<std::size_t>(i + std::min(k, lanes - 1)) * 32u);
            a[k] = _mm_loadu_ps(rec);
            b[k] = _mm_loadu_ps(rec + 4);
        }
        _MM_TRANSPOSE4_PS(a[0], a[1], a[2], a[3]);
        _MM_TRANSPOSE4_PS(b[0], b[1], b[2], b[3]);
        const F x = a[0], y = a[1], z = a[2];
        F out[4] = {Apply(clipX, x, y, z), Apply(clipY, x, y, z), Apply(clipZ, x, y, z),
                    Apply(clipW, x, y, z)};
        _MM_TRANSPOSE4_PS(out[0], out[1], out[2], out[3]);
        alignas(16) float u[4], v[4];
        float diffuse[4][4], specular[4][4];
        if (fvf == D3DFVF_VERTEX) {
            // x y z nx | ny nz tu tv
            _mm_store_ps(u, b[2]);
            _mm_store_ps(v, b[3]);
            if (lit) {
                lighting::Lanes in;
                _mm_storeu_ps(in.px, Apply(worldX, x, y, z));
                _mm_storeu_ps(in.py, Apply(worldY, x, y, z));
                _mm_storeu_ps(in.pz, Apply(worldZ, x, y, z));
                F nx = Apply3(normalX, a[3], b[0], b[1]);
                F ny = Apply3(normalY, a[3], b[0], b[1]);
                F nz = Apply3(normalZ, a[3], b[0], b[1]);
                if (s.normalize) {
                    // As VectorNormalize: left as it is when of no length.
                    const F l = _mm_sqrt_ps(_mm_add_ps(
                        _mm_add_ps(_mm_mul_ps(nx, nx), _mm_mul_ps(ny, ny)), _mm_mul_ps(nz, nz)));
                    const F ok = _mm_cmpgt_ps(l, _mm_setzero_ps());
                    const auto keep = [&](F c) {
                        return _mm_or_ps(_mm_and_ps(ok, _mm_div_ps(c, l)), _mm_andnot_ps(ok, c));
                    };
                    nx = keep(nx);
                    ny = keep(ny);
                    nz = keep(nz);
                }
                _mm_storeu_ps(in.nx, nx);
                _mm_storeu_ps(in.ny, ny);
                _mm_storeu_ps(in.nz, nz);
                lighting::LightLanes(s.ctx, in, diffuse, specular);
            }
        } else {
            // x y z reserved | color specular tu tv
            _mm_store_ps(u, b[2]);
            _mm_store_ps(v, b[3]);
        }
        for (int k = 0; k < lanes; ++k) {
            ClipVertex& cv = clip_[i + k];
            _mm_storeu_ps(&cv.x, out[k]);
            cv.u = u[k];
            cv.v = v[k];
            if (lit) {
                std::copy(diffuse[k], diffuse[k] + 4, cv.c);
                std::copy(specular[k], specular[k] + 4, cv.s);
            } else if (fvf == D3DFVF_VERTEX) {
                std::fill(cv.c, cv.c + 4, 255.0f);
                std::fill(cv.s, cv.s + 4, 0.0f);
            } else {
                D3DLVERTEX l;
                std::memcpy(&l, bytes + static_cast<std::size_t>(i + k) * 32u, 32);
                UnpackColor(l.color, cv.c);
                UnpackColor(l.specular, cv.s);
            }
            Shared& sh = shared_[i + k];
            sh.finite = FiniteClip(cv);
            sh.inside = sh.finite && InsideClip(cv);
            if (sh.inside) sh.screen = ToScreen(cv);
        }
    }
}

raster::Vertex SoftDevice::ToScreen(const ClipVertex& c) const {
    raster::Vertex v;
    const float rhw = 1.0f / c.w;
    const float hw = float(viewport_.lWidth) * 0.5f, hh = float(viewport_.lHeight) * 0.5f;
    v.x = float(viewport_.lX) + (1.0f + c.x * rhw) * hw;
    v.y = float(viewport_.lY) + (1.0f - c.y * rhw) * hh;
    v.z = viewport_.minz + c.z * rhw * (viewport_.maxz - viewport_.minz);
    v.rhw = rhw;
    v.uw = c.u * rhw;
    v.vw = c.v * rhw;
    std::copy(c.c, c.c + 4, v.c);
    std::copy(c.s, c.s + 4, v.s);
    return v;
}

}  // namespace brumil::platform::soft
