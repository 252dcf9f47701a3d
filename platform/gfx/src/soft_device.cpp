// The software device: its state, the calls that set it, and the draws, which
// read the vertex records, transform, light and clip them, assemble the
// primitives and hand screen-space triangles and lines to the rasteriser.
#include "platform/gfx/soft_device.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "band_pool.h"
#include "band_queue.h"
#include "clip_polygon.h"
#include "clip_vertex.h"
#include "lighting.h"
#include "platform/gfx/dx7_math.h"
#include "raster.h"

namespace brumil::platform {

namespace {

constexpr D3DLong kMaxLights = 4096;

// Rows per band: about four bands per thread, so that a crowded band does not
// hold the others up, but tall enough that few primitives are set up twice.
int BandRows(int height, int threads) {
    return std::clamp(height / (threads * 4), 8, 64);
}

class SoftDevice final : public Direct3DDevice7 {
public:
    SoftDevice(SurfacePtr target, SurfacePtr depth, SoftDeviceOptions options)
        : target_(std::move(target)), depth_(std::move(depth)), options_(options) {
        viewport_ = {0, 0, target_->Width(), target_->Height(), 0.0f, 1.0f};
        for (auto& m : transforms_) DirectX7::IdentityMatrix(m);
        SetDefaults();
        const int threads =
            options_.threads > 0 ? options_.threads : raster::DefaultRenderThreads();
        if (threads > 1) {
            pool_ = std::make_unique<raster::BandPool>(threads);
            queue_ = std::make_unique<raster::BandQueue>(target_->Height(),
                                                         BandRows(target_->Height(), threads));
            pending_ = std::make_shared<Finisher>(*this);
        }
    }
    ~SoftDevice() override { Flush(); }
    SoftDevice(const SoftDevice&) = delete;
    SoftDevice& operator=(const SoftDevice&) = delete;

    bool BeginScene() override {
        if (inScene_) return false;
        inScene_ = true;
        return true;
    }
    bool EndScene() override {
        if (!inScene_) return false;
        Flush();
        inScene_ = false;
        return true;
    }

    bool Clear(std::span<const D3DRECT> rects, D3DLong flags, D3DLong color, float z,
               D3DLong /*stencil*/) override {
        if ((flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) != 0) return false;
        if ((flags & D3DCLEAR_ZBUFFER) && (depth_ == nullptr || depth_->IsLost())) return false;
        if ((flags & D3DCLEAR_TARGET) && target_->IsLost()) return false;
        if (!std::isfinite(z)) return false;
        Flush();
        const SurfaceRect vp = ViewportRect();
        const auto clearOne = [&](SurfaceRect r) {
            r.x1 = std::max(r.x1, vp.x1);
            r.y1 = std::max(r.y1, vp.y1);
            r.x2 = std::min(r.x2, vp.x2);
            r.y2 = std::min(r.y2, vp.y2);
            if (r.Empty()) return;
            if (flags & D3DCLEAR_TARGET)
                target_->BltColorFill(r, static_cast<std::uint32_t>(color));
            if (flags & D3DCLEAR_ZBUFFER) depth_->DepthFill(r, z);
        };
        if (rects.empty()) {
            clearOne(vp);
        } else {
            for (const D3DRECT& r : rects) clearOne({r.x1, r.y1, r.x2, r.y2});
        }
        return true;
    }

    bool SetViewport(const D3DVIEWPORT7& vp) override {
        const std::int64_t right = std::int64_t{vp.lX} + vp.lWidth;
        const std::int64_t bottom = std::int64_t{vp.lY} + vp.lHeight;
        if (vp.lX < 0 || vp.lY < 0 || vp.lWidth <= 0 || vp.lHeight <= 0 ||
            right > target_->Width() || bottom > target_->Height()) {
            return false;
        }
        if (!std::isfinite(vp.minz) || !std::isfinite(vp.maxz)) return false;
        viewport_ = vp;
        return true;
    }
    bool GetViewport(D3DVIEWPORT7& vp) override {
        vp = viewport_;
        return true;
    }
    bool SetTransform(D3DLong state, const D3DMATRIX& m) override {
        if (state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) return false;
        transforms_[state - 1] = m;
        return true;
    }
    bool GetTransform(D3DLong state, D3DMATRIX& m) override {
        if (state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) return false;
        m = transforms_[state - 1];
        return true;
    }
    bool SetRenderState(D3DLong state, D3DLong value) override {
        if (state < 0 || state >= kRenderStateCount) return false;
        renderStates_[state] = value;
        return true;
    }
    bool SetTextureStageState(D3DLong stage, D3DLong type, D3DLong value) override {
        if (stage < 0 || stage >= kTextureStageCount || type < 1 || type >= kStageStateCount) {
            return false;
        }
        stageStates_[stage][type] = value;
        if (type == D3DTSS_ADDRESS) {
            stageStates_[stage][D3DTSS_ADDRESSU] = value;
            stageStates_[stage][D3DTSS_ADDRESSV] = value;
        }
        return true;
    }
    bool SetTexture(D3DLong stage, const SurfacePtr& texture) override {
        if (stage < 0 || stage >= kTextureStageCount) return false;
        if (texture != nullptr &&
            (texture->IsLost() || texture->IsDepth() || !texture->Desc().texture)) {
            return false;
        }
        textures_[stage] = texture;
        return true;
    }
    bool SetMaterial(const D3DMATERIAL7& m) override {
        material_ = m;
        return true;
    }
    bool SetLight(D3DLong index, const D3DLIGHT7& light) override {
        if (index < 0 || index >= kMaxLights) return false;
        if (light.dltType < D3DLIGHT_POINT || light.dltType > D3DLIGHT_DIRECTIONAL) return false;
        if ((light.dltType != D3DLIGHT_DIRECTIONAL) && !(light.range >= 0.0f)) return false;
        Slot(index).light = light;
        return true;
    }
    bool LightEnable(D3DLong index, bool enable) override {
        if (index < 0 || index >= kMaxLights) return false;
        const bool known = static_cast<std::size_t>(index) < lights_.size() && lightSet_[index];
        lighting::Light& l = Slot(index);
        if (!known) {
            // Enabling a slot never set gives it the default white light
            // shining along +z.
            l.light = D3DLIGHT7{};
            l.light.dltType = D3DLIGHT_DIRECTIONAL;
            l.light.diffuse = {1, 1, 1, 0};
            l.light.direction = {0, 0, 1};
        }
        l.enabled = enable;
        return true;
    }
    bool GetLightEnable(D3DLong index) override {
        return index >= 0 && static_cast<std::size_t>(index) < lights_.size() &&
               lights_[index].enabled;
    }

    bool DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                       D3DLong count, D3DLong /*flags*/) override {
        return Draw(type, fvf, vertices, count, nullptr, 0);
    }
    bool DrawIndexedPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                              D3DLong count, std::span<const std::int16_t> indices,
                              D3DLong indexCount, D3DLong /*flags*/) override {
        if (indexCount < 0 || static_cast<std::size_t>(indexCount) > indices.size()) return false;
        return Draw(type, fvf, vertices, count, indices.data(), indexCount);
    }
    using Direct3DDevice7::DrawIndexedPrimitive;
    using Direct3DDevice7::DrawPrimitive;

private:
    // Runs the recorded draws when a surface must be final.
    class Finisher final : public PendingDraws {
    public:
        explicit Finisher(SoftDevice& device) : device_(device) {}
        void Finish() override { device_.Flush(); }

    private:
        SoftDevice& device_;
    };

    // Rasterises what is recorded and lets the surfaces go.
    void Flush() {
        if (queue_ == nullptr || decoding_) return;
        if (!queue_->Empty()) queue_->Run(*pool_);
        for (const SurfacePtr& s : held_) s->ClearPending(pending_.get());
        held_.clear();
    }

    // Keeps a surface that recorded draws use until they have run.
    void Hold(const SurfacePtr& s) {
        if (s->SetPending(pending_)) held_.push_back(s);
    }

    void EmitTriangle(const raster::PixelState& ps, const raster::Vertex& a,
                      const raster::Vertex& b, const raster::Vertex& c,
                      const raster::Vertex& flat) {
        if (queue_ != nullptr) {
            queue_->AddTriangle(a, b, c, flat);
        } else {
            raster::DrawTriangle(ps, a, b, c, flat);
        }
    }
    void EmitLine(const raster::PixelState& ps, const raster::Vertex& a, const raster::Vertex& b) {
        if (queue_ != nullptr) {
            queue_->AddLine(a, b);
        } else {
            raster::DrawLine(ps, a, b);
        }
    }

    lighting::Light& Slot(D3DLong index) {
        if (static_cast<std::size_t>(index) >= lights_.size()) {
            lights_.resize(index + 1);
            lightSet_.resize(index + 1, false);
        }
        lightSet_[index] = true;
        return lights_[index];
    }

    void SetDefaults() {
        renderStates_.fill(0);
        renderStates_[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = 1;
        renderStates_[D3DRENDERSTATE_ZENABLE] = depth_ != nullptr ? 1 : 0;
        renderStates_[D3DRENDERSTATE_FILLMODE] = 3;
        renderStates_[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
        renderStates_[D3DRENDERSTATE_ZWRITEENABLE] = 1;
        renderStates_[D3DRENDERSTATE_LASTPIXEL] = 1;
        renderStates_[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
        renderStates_[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
        renderStates_[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
        renderStates_[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
        renderStates_[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_ALWAYS;
        renderStates_[D3DRENDERSTATE_TEXTUREFACTOR] = static_cast<D3DLong>(0xFFFFFFFFu);
        renderStates_[D3DRENDERSTATE_CLIPPING] = 1;
        renderStates_[D3DRENDERSTATE_LIGHTING] = 1;
        for (int s = 0; s < kTextureStageCount; ++s) {
            auto& st = stageStates_[s];
            st.fill(0);
            st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
            st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
            st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
            st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
            st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
            st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
            st[D3DTSS_TEXCOORDINDEX] = s;
            st[D3DTSS_ADDRESS] = st[D3DTSS_ADDRESSU] = st[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
            st[D3DTSS_MAGFILTER] = D3DTFG_POINT;
            st[D3DTSS_MINFILTER] = D3DTFG_POINT;
            st[D3DTSS_MIPFILTER] = 1;
        }
    }

    SurfaceRect ViewportRect() const {
        return {viewport_.lX, viewport_.lY, viewport_.lX + viewport_.lWidth,
                viewport_.lY + viewport_.lHeight};
    }

    // The pixel state of the next draw; false when the draw cannot run.
    bool Decode(raster::PixelState& ps) {
        if (target_->IsLost()) return false;
        ps.target = target_->MutablePixels().data();
        ps.width = target_->Width();
        ps.height = target_->Height();
        const SurfaceRect vp = ViewportRect();
        ps.clipX1 = std::max(vp.x1, 0);
        ps.clipY1 = std::max(vp.y1, 0);
        ps.clipX2 = std::min(vp.x2, ps.width);
        ps.clipY2 = std::min(vp.y2, ps.height);
        const auto rs = [&](D3DLong s) { return renderStates_[s]; };
        ps.zTest = rs(D3DRENDERSTATE_ZENABLE) != 0 && depth_ != nullptr;
        ps.zWrite = ps.zTest && rs(D3DRENDERSTATE_ZWRITEENABLE) != 0;
        ps.zFunc = rs(D3DRENDERSTATE_ZFUNC);
        if (ps.zTest) {
            if (depth_->IsLost()) return false;
            ps.depth = depth_->MutableDepth().data();
            ps.depthWidth = depth_->Width();
        }
        const auto& st = stageStates_[0];
        // At stage 0 the current colour is the diffuse colour.
        const auto arg = [](D3DLong a) {
            return (a & 0x0F) == D3DTA_CURRENT ? (a & ~0x0F) | D3DTA_DIFFUSE : a;
        };
        ps.colorOp = st[D3DTSS_COLOROP];
        ps.colorArg1 = arg(st[D3DTSS_COLORARG1]);
        ps.colorArg2 = arg(st[D3DTSS_COLORARG2]);
        ps.alphaOp = st[D3DTSS_ALPHAOP];
        ps.alphaArg1 = arg(st[D3DTSS_ALPHAARG1]);
        ps.alphaArg2 = arg(st[D3DTSS_ALPHAARG2]);
        ps.tfactor = static_cast<std::uint32_t>(rs(D3DRENDERSTATE_TEXTUREFACTOR));
        ps.addressU = st[D3DTSS_ADDRESSU];
        ps.addressV = st[D3DTSS_ADDRESSV];
        ps.linear = st[D3DTSS_MAGFILTER] == D3DTFG_LINEAR || st[D3DTSS_MINFILTER] == D3DTFG_LINEAR;
        const SurfacePtr& tex = textures_[0];
        if (tex != nullptr) {
            if (tex->IsLost()) return false;
            ps.tex = tex->Pixels().data();
            ps.texW = tex->Width();
            ps.texH = tex->Height();
            ps.texPow2 = (ps.texW & (ps.texW - 1)) == 0 && (ps.texH & (ps.texH - 1)) == 0;
            ps.wrapPow2 =
                ps.texPow2 && ps.addressU == D3DTADDRESS_WRAP && ps.addressV == D3DTADDRESS_WRAP;
            if (rs(D3DRENDERSTATE_COLORKEYENABLE) != 0 && tex->ColorKey().has_value()) {
                ps.colorKey = true;
                ps.keyMask = tex->ColorKeyMask();
                ps.keyValue = tex->Quantise(*tex->ColorKey()) & ps.keyMask;
            }
        }
        ps.alphaTest = rs(D3DRENDERSTATE_ALPHATESTENABLE) != 0;
        ps.alphaFunc = rs(D3DRENDERSTATE_ALPHAFUNC);
        ps.alphaRef = rs(D3DRENDERSTATE_ALPHAREF) & 0xFF;
        ps.blend = rs(D3DRENDERSTATE_ALPHABLENDENABLE) != 0;
        ps.srcBlend = rs(D3DRENDERSTATE_SRCBLEND);
        ps.dstBlend = rs(D3DRENDERSTATE_DESTBLEND);
        ps.flat = rs(D3DRENDERSTATE_SHADEMODE) == D3DSHADE_FLAT;
        ps.specularAdd = rs(D3DRENDERSTATE_SPECULARENABLE) != 0;
        ps.allowSpecialised = options_.specialisedSpans;
        ps.allowWide = options_.wideSpans;
        raster::Classify(ps);
        return true;
    }

    // Reads and processes `count` records into screen-ready or clip-space form.
    bool Draw(D3DLong type, D3DLong fvf, std::span<const std::byte> bytes, D3DLong count,
              const std::int16_t* indices, D3DLong indexCount) {
        if (!inScene_) return false;
        if (fvf != D3DFVF_VERTEX && fvf != D3DFVF_LVERTEX && fvf != D3DFVF_TLVERTEX) return false;
        if (type < D3DPT_LINELIST || type > D3DPT_TRIANGLEFAN) return false;
        if (count < 0 || static_cast<std::size_t>(count) * 32u > bytes.size()) return false;
        raster::PixelState ps;
        // The surfaces' pixels are taken as they are: this device's own
        // recorded draws stay recorded.
        decoding_ = true;
        const bool decoded = Decode(ps);
        decoding_ = false;
        if (!decoded) return false;
        if (queue_ != nullptr) {
            queue_->BeginDraw(ps);
            Hold(target_);
            if (ps.depth != nullptr) Hold(depth_);
            if (ps.tex != nullptr) Hold(textures_[0]);
        }
        if (fvf == D3DFVF_TLVERTEX) {
            PrepareScreen(bytes, count);
        } else {
            PrepareClip(fvf, bytes, count);
            PrepareShared(count);
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
                ScreenTriangle(ps, screen_[a], screen_[b], screen_[c], screen_[f]);
            } else {
                ClipTriangle(ps, a, b, c, f);
            }
        };
        const auto line = [&](D3DLong a, D3DLong b) {
            if (!valid(a) || !valid(b)) return;
            if (screen) {
                EmitLine(ps, screen_[a], screen_[b]);
            } else {
                ClipLine(ps, clip_[a], clip_[b]);
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
        return true;
    }

    void PrepareScreen(std::span<const std::byte> bytes, D3DLong count) {
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

    void PrepareClip(D3DLong fvf, std::span<const std::byte> bytes, D3DLong count) {
        D3DMATRIX wv, m;
        DirectX7::MatrixMultiply(wv, transforms_[0], transforms_[1]);
        DirectX7::MatrixMultiply(m, wv, transforms_[2]);
        const bool lit = fvf == D3DFVF_VERTEX && renderStates_[D3DRENDERSTATE_LIGHTING] != 0;
        lighting::Context ctx;
        float normalM[3][3];
        bool normalize = renderStates_[D3DRENDERSTATE_NORMALIZENORMALS] != 0;
        if (lit) {
            ctx.material = material_;
            ctx.ambient = static_cast<std::uint32_t>(renderStates_[D3DRENDERSTATE_AMBIENT]);
            ctx.lights = lights_;
            ctx.specular = renderStates_[D3DRENDERSTATE_SPECULARENABLE] != 0;
            ctx.enabled = std::move(preparedLights_);
            lighting::Prepare(ctx);
            // The eye in world space: the view's inverse applied to the origin.
            D3DMATRIX& v = transforms_[1];
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
                    for (int c = 0; c < 3; ++c) normalM[r][c] = inw[c][r];
                }
            } else {
                for (int r = 0; r < 3; ++r) {
                    for (int c = 0; c < 3; ++c) normalM[r][c] = transforms_[0].At(r, c);
                }
                normalize = true;
            }
        }
        clip_.resize(count);
        const D3DMATRIX& w = transforms_[0];
        for (D3DLong i = 0; i < count; ++i) {
            const std::byte* rec = bytes.data() + static_cast<std::size_t>(i) * 32u;
            ClipVertex& cv = clip_[i];
            float x, y, z;
            if (fvf == D3DFVF_VERTEX) {
                D3DVERTEX d;
                std::memcpy(&d, rec, 32);
                x = d.x;
                y = d.y;
                z = d.z;
                cv.u = d.tu;
                cv.v = d.tv;
                if (lit) {
                    const D3DVECTOR p = {x * w.rc11 + y * w.rc21 + z * w.rc31 + w.rc41,
                                         x * w.rc12 + y * w.rc22 + z * w.rc32 + w.rc42,
                                         x * w.rc13 + y * w.rc23 + z * w.rc33 + w.rc43};
                    D3DVECTOR n = {
                        d.nx * normalM[0][0] + d.ny * normalM[1][0] + d.nz * normalM[2][0],
                        d.nx * normalM[0][1] + d.ny * normalM[1][1] + d.nz * normalM[2][1],
                        d.nx * normalM[0][2] + d.ny * normalM[1][2] + d.nz * normalM[2][2]};
                    if (normalize) DirectX7::VectorNormalize(n);
                    lighting::LightVertex(ctx, p, n, cv.c, cv.s);
                } else {
                    std::fill(cv.c, cv.c + 4, 255.0f);
                    std::fill(cv.s, cv.s + 4, 0.0f);
                }
            } else {
                D3DLVERTEX l;
                std::memcpy(&l, rec, 32);
                x = l.x;
                y = l.y;
                z = l.z;
                cv.u = l.tu;
                cv.v = l.tv;
                UnpackColor(l.color, cv.c);
                UnpackColor(l.specular, cv.s);
            }
            cv.x = x * m.rc11 + y * m.rc21 + z * m.rc31 + m.rc41;
            cv.y = x * m.rc12 + y * m.rc22 + z * m.rc32 + m.rc42;
            cv.z = x * m.rc13 + y * m.rc23 + z * m.rc33 + m.rc43;
            cv.w = x * m.rc14 + y * m.rc24 + z * m.rc34 + m.rc44;
        }
        if (lit) preparedLights_ = std::move(ctx.enabled);  // its room, for the next draw
    }

    raster::Vertex ToScreen(const ClipVertex& c) const {
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

    static constexpr float kMinW = 1e-6f;

    // Inside all three planes of ClipHomogeneous, which then hands a polygon
    // back as it is.
    static bool InsideClip(const ClipVertex& v) {
        return v.w - kMinW >= 0 && v.z >= 0 && v.w - v.z >= 0;
    }

    // Near (z >= 0), far (z <= w) and w > 0: nothing is ever divided by w <= 0.
    static int ClipHomogeneous(ClipVertex* a, int n, ClipVertex* b) {
        n = clip::ClipPolygon(
            a, n, b, [](const ClipVertex& v) { return v.w - kMinW; }, LerpClip);
        n = clip::ClipPolygon(
            b, n, a, [](const ClipVertex& v) { return v.z; }, LerpClip);
        n = clip::ClipPolygon(
            a, n, b, [](const ClipVertex& v) { return v.w - v.z; }, LerpClip);
        std::copy(b, b + n, a);
        return n;
    }

    static bool FiniteClip(const ClipVertex& v) {
        return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
    }

    // Each vertex's screen form, made once however many triangles share it
    // (for the vertices the clipper would hand back unchanged).
    void PrepareShared(D3DLong count) {
        shared_.resize(count);
        for (D3DLong i = 0; i < count; ++i) {
            const ClipVertex& v = clip_[i];
            Shared& s = shared_[i];
            s.finite = FiniteClip(v);
            s.inside = s.finite && InsideClip(v);
            if (s.inside) s.screen = ToScreen(v);
        }
    }

    void ClipTriangle(const raster::PixelState& ps, D3DLong ia, D3DLong ib, D3DLong ic,
                      D3DLong iflat) {
        const Shared &sa = shared_[ia], &sb = shared_[ib], &sc = shared_[ic];
        if (!sa.finite || !sb.finite || !sc.finite) return;
        const ClipVertex &a = clip_[ia], &b = clip_[ib], &c = clip_[ic], &flat = clip_[iflat];
        const auto draw = [&](const raster::Vertex* s, int n) {
            if (!Visible(s, n)) return;
            raster::Vertex f;
            std::copy(flat.c, flat.c + 4, f.c);
            std::copy(flat.s, flat.s + 4, f.s);
            for (int i = 1; i + 1 < n; ++i) EmitTriangle(ps, s[0], s[i], s[i + 1], f);
        };
        if (sa.inside && sb.inside && sc.inside) {
            const raster::Vertex s[3] = {sa.screen, sb.screen, sc.screen};
            draw(s, 3);
            return;
        }
        ClipVertex p[12] = {a, b, c}, q[12];
        const int n = ClipHomogeneous(p, 3, q);
        if (n < 3) return;
        raster::Vertex s[12];
        for (int i = 0; i < n; ++i) s[i] = ToScreen(p[i]);
        draw(s, n);
    }

    void ClipLine(const raster::PixelState& ps, const ClipVertex& a, const ClipVertex& b) {
        if (!FiniteClip(a) || !FiniteClip(b)) return;
        ClipVertex p[2] = {a, b};
        const auto clipEnd = [&](auto dist) {
            const float da = dist(p[0]), db = dist(p[1]);
            if (da < 0 && db < 0) return false;
            if (da < 0) p[0] = LerpClip(p[0], p[1], da / (da - db));
            if (db < 0) p[1] = LerpClip(p[0], p[1], da / (da - db));
            return true;
        };
        if (!clipEnd([](const ClipVertex& v) { return v.w - 1e-6f; })) return;
        if (!clipEnd([](const ClipVertex& v) { return v.z; })) return;
        if (!clipEnd([](const ClipVertex& v) { return v.w - v.z; })) return;
        EmitLine(ps, ToScreen(p[0]), ToScreen(p[1]));
    }

    void ScreenTriangle(const raster::PixelState& ps, const raster::Vertex& a,
                        const raster::Vertex& b, const raster::Vertex& c,
                        const raster::Vertex& flat) {
        const raster::Vertex s[3] = {a, b, c};
        if (!Visible(s, 3)) return;
        EmitTriangle(ps, a, b, c, flat);
    }

    // The culling test on the polygon's screen winding (y down: a positive
    // area turns clockwise).
    bool Visible(const raster::Vertex* s, int n) const {
        double area = 0;
        for (int i = 0; i < n; ++i) {
            const raster::Vertex& p = s[i];
            const raster::Vertex& q = s[(i + 1) % n];
            area += double(p.x) * q.y - double(q.x) * p.y;
        }
        if (!(area != 0.0) || !std::isfinite(area)) return false;
        const D3DLong cull = renderStates_[D3DRENDERSTATE_CULLMODE];
        if (cull == D3DCULL_CW && area > 0) return false;
        if (cull == D3DCULL_CCW && area < 0) return false;
        return true;
    }

    SurfacePtr target_;
    SurfacePtr depth_;
    SoftDeviceOptions options_;
    bool inScene_ = false;
    D3DVIEWPORT7 viewport_;
    D3DMATRIX transforms_[3];
    std::array<D3DLong, kRenderStateCount> renderStates_{};
    std::array<std::array<D3DLong, kStageStateCount>, kTextureStageCount> stageStates_{};
    std::array<SurfacePtr, kTextureStageCount> textures_;
    D3DMATERIAL7 material_;
    std::vector<lighting::Light> lights_;
    std::vector<lighting::Prepared> preparedLights_;
    std::vector<bool> lightSet_;
    std::vector<raster::Vertex> screen_;
    std::vector<ClipVertex> clip_;
    struct Shared {
        raster::Vertex screen;  // when inside
        bool finite = false, inside = false;
    };
    std::vector<Shared> shared_;  // per entry of clip_
    // Banded drawing on worker threads: null with one thread.
    std::unique_ptr<raster::BandPool> pool_;
    std::unique_ptr<raster::BandQueue> queue_;
    std::shared_ptr<Finisher> pending_;
    std::vector<SurfacePtr> held_;  // surfaces the recorded draws use
    bool decoding_ = false;         // reading the surfaces for a draw
};

}  // namespace

std::unique_ptr<Direct3DDevice7> CreateSoftDevice(SurfacePtr target, SurfacePtr depth,
                                                  SoftDeviceOptions options) {
    if (target == nullptr || target->IsDepth() || target->IsLost()) return nullptr;
    if (depth != nullptr && (!depth->IsDepth() || depth->Width() < target->Width() ||
                             depth->Height() < target->Height())) {
        return nullptr;
    }
    return std::make_unique<SoftDevice>(std::move(target), std::move(depth), options);
}

D3DCaps SoftDeviceCaps() {
    D3DCaps c;
    c.CapsDither = false;
    c.CapsAlphaGreaterEqual = true;
    c.CapsFilterLevel = 1;
    c.CapsAntiAliasLevel = 0;
    c.CapsMultiTexture = false;
    // Any surface the software device can hold it can also sample.
    c.MaxTextureWidth = kMaxSurfaceSide;
    c.MaxTextureHeight = kMaxSurfaceSide;
    c.MinTextureWidth = 1;
    c.SquareOnly = false;
    return c;
}

}  // namespace brumil::platform
