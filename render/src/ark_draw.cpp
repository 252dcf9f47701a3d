// CIMArk: the six vertex draws and their wire-frame twins.
#include "render/ark.h"
#include "render/ark_math.h"

namespace brumil::render {

namespace {

constexpr Long kWireRenderMode = 0x3010;  // flat texture-factor colour
constexpr Long kLightingOn = 1, kLightingOff = 0, kLightingUntouched = -1;

bool RangeFits(std::size_t size, Long start, Long count) {
    return start >= 0 && count >= 0 && static_cast<std::size_t>(start) <= size &&
           static_cast<std::size_t>(count) <= size - static_cast<std::size_t>(start);
}

}  // namespace

template <typename V>
void CIMArk::Draw(Long type, Long fvf, std::span<const V> v, Long start, Long count, bool indexed,
                  std::span<const Integer> indices, Long indexCount, Long lighting) {
    if (!RangeFits(v.size(), start, count)) return;
    if (indexed && (indexCount < 0 || static_cast<std::size_t>(indexCount) > indices.size())) {
        return;
    }
    const auto first = v.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
    auto* device = Device();

    if (WireFrame &&
        (type == platform::D3DPT_TRIANGLELIST || type == platform::D3DPT_TRIANGLESTRIP)) {
        const auto lines = BuildWireIndices(type, count, indexed, indices, indexCount);
        if (!lines) return;
        host_.SetRenderModeLE(kWireRenderMode);
        host_.SetFactorColor(WireFrameColor);
        if (device == nullptr) return;
        if (lighting != kLightingUntouched) {
            device->SetRenderState(platform::D3DRENDERSTATE_LIGHTING, kLightingOff);
        }
        device->DrawIndexedPrimitive(platform::D3DPT_LINELIST, fvf, first, count,
                                     std::span<const Integer>(*lines),
                                     static_cast<Long>(lines->size()), 0);
        return;
    }

    if (device == nullptr) return;
    if (lighting != kLightingUntouched) {
        device->SetRenderState(platform::D3DRENDERSTATE_LIGHTING, lighting);
    }
    if (indexed) {
        device->DrawIndexedPrimitive(type, fvf, first, count, indices, indexCount, 0);
    } else {
        device->DrawPrimitive(type, fvf, first, count, 0);
    }
}

void CIMArk::DrawD3DVertex(Long type, std::span<const D3DVERTEX> v, Long start, Long count) {
    Draw(type, platform::D3DFVF_VERTEX, v, start, count, false, {}, 0, kLightingOn);
}

void CIMArk::DrawD3DVertexIndex(Long type, std::span<const D3DVERTEX> v, Long start, Long count,
                                std::span<const Integer> indices, Long indexCount) {
    Draw(type, platform::D3DFVF_VERTEX, v, start, count, true, indices, indexCount, kLightingOn);
}

void CIMArk::DrawD3DLVertex(Long type, std::span<const D3DLVERTEX> v, Long start, Long count) {
    Draw(type, platform::D3DFVF_LVERTEX, v, start, count, false, {}, 0, kLightingOff);
}

void CIMArk::DrawD3DLVertexIndex(Long type, std::span<const D3DLVERTEX> v, Long start, Long count,
                                 std::span<const Integer> indices, Long indexCount) {
    Draw(type, platform::D3DFVF_LVERTEX, v, start, count, true, indices, indexCount, kLightingOff);
}

void CIMArk::DrawD3DTLVertex(Long type, std::span<const D3DTLVERTEX> v, Long start, Long count) {
    Draw(type, platform::D3DFVF_TLVERTEX, v, start, count, false, {}, 0, kLightingUntouched);
}

void CIMArk::DrawD3DTLVertexIndex(Long type, std::span<const D3DTLVERTEX> v, Long start, Long count,
                                  std::span<const Integer> indices, Long indexCount) {
    Draw(type, platform::D3DFVF_TLVERTEX, v, start, count, true, indices, indexCount,
         kLightingUntouched);
}

}  // namespace brumil::render
