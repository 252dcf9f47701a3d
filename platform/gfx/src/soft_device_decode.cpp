// The software device's render and stage states, decoded into the pixel state
// the rasteriser reads; the decoded state is kept from draw to draw until a
// setter changes what it is made from.
#include <algorithm>

#include "soft_device_impl.h"

namespace brumil::platform::soft {

void SoftDevice::SetDefaults() {
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
    stateDirty_ = true;
    setupDirty_ = true;
}

// The pixel state of the next draw in state_; false when the draw cannot run.
// Besides the setters' state, the decoded state depends on the surfaces'
// storage, on whether they are lost and on the texture's colour key, which
// can change without a setter: those are looked at on every draw.
bool SoftDevice::Decode() {
    if (target_->IsLost()) return false;
    const std::uint32_t* target = target_->MutablePixels().data();
    const bool zTest = renderStates_[D3DRENDERSTATE_ZENABLE] != 0 && depth_ != nullptr;
    if (zTest && depth_->IsLost()) return false;
    const float* depth = zTest ? depth_->MutableDepth().data() : nullptr;
    const SurfacePtr& tex = textures_[0];
    if (tex != nullptr && tex->IsLost()) return false;
    const std::uint32_t* texels = tex != nullptr ? tex->Pixels().data() : nullptr;
    const std::optional<std::uint32_t> key =
        tex != nullptr ? tex->ColorKey() : std::optional<std::uint32_t>{};
    // A padded copy of the texture is as current as its generation.
    const std::uint64_t texGeneration = tex != nullptr ? tex->Generation() : 0;
    if (!stateDirty_ && target == stateTarget_ && depth == stateDepth_ && texels == stateTex_ &&
        texGeneration == stateTexGeneration_ && key == stateKey_) {
        return true;
    }
    state_ = raster::PixelState{};
    loops_.Reset();
    if (!DecodeFully(state_)) return false;
    stateDirty_ = false;
    stateTarget_ = target;
    stateDepth_ = depth;
    stateTex_ = texels;
    stateTexGeneration_ = texGeneration;
    stateKey_ = key;
    stateQueued_ = false;
    return true;
}

bool SoftDevice::DecodeFully(raster::PixelState& ps) {
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
        if (ps.linear && ps.wrapPow2 && options_.specialisedSpans && options_.wideSpans) {
            ps.texPadded = padded_.Of(tex);
        }
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
    ps.allowWidest = options_.widestSpans;
    raster::Classify(ps);
    return true;
}

}  // namespace brumil::platform::soft
