// CIMArkObject: the passes, the draws and the hit tests.
#include "framework/display.h"
#include "render/ark.h"
#include "render/ark_object.h"
#include "render/ark_transform.h"
#include "render/im_device.h"

namespace brumil::render {

namespace {

// The flattening of the shadow pass: 0.5 % of the height, lifted by 0.0001.
D3DMATRIX ShadowFlattening() {
    return CIMArk::Get_Transform(0, 0.0001f, 0, 0, 0, 0, 1, 0.005f, 1);
}

template <typename V>
Long CountOf(const std::vector<V>& v) {
    return static_cast<Long>(v.size());
}

}  // namespace

void CIMArkObject::RenderInstantSetting() {
    ark_.InstantTransform(world_);
}

void CIMArkObject::ApplyMode(Long mode) {
    device_.SetRenderModeLE(mode);
    device_.SetAntiAreasModeSub((mode & 7) == 0);
}

void CIMArkObject::RebuildBillBoard() {
    const auto& b = billBoard_;
    const BillBoardView view{framework::gScreenWidth(), framework::GetDrawScale()};
    GetD3DTLVERTEX_BillBoardPerspective(ark_, view, tlvertices_, b.width, b.height, b.originX,
                                        b.originY, b.color, b.tu1, b.tv1, b.tu2, b.tv2, b.scale);
}

void CIMArkObject::Render(Long flags) {
    // Without a placement the object's world matrix is all zero: a shape
    // drawn through it could land nowhere meaningful. A billboard is placed
    // by the device's world transform and stored screen vertices by nothing,
    // so those draw.
    if (!transformSet_ && (kind_ == kArkPlain || kind_ == kArkPreLit)) return;

    device_.SetTextureIndex(texture_);
    device_.SetTextureIndexSecondStage(texture2_);

    Long kind = kind_;
    if (flags == 0) {
        ApplyMode(renderMode_);
        if (renderMode2_ >= 0) device_.SetRenderModeSecondStage(renderMode2_);
    } else {
        if (!twin_) return;
        if (flags & kArkPassShadow) {
            ApplyMode(shadowMode_);
        } else if (flags & kArkPassLighted) {
            ApplyMode(lightedMode_);
        }
        if (flags & kArkPassLighted) kind = kArkPreLit;
    }

    const Long type = primitiveType_;
    // An empty array (an empty kind 2 from a shape with no pre-lit form, a
    // twin without one) has nothing to send.
    switch (kind) {
        case kArkPlain:
            if (vertices_.empty()) break;
            device_.SetMaterial(material_);
            if (indexed_) {
                ark_.DrawD3DVertexIndex(type, vertices_, 0, CountOf(vertices_), indices_,
                                        indexCount_);
            } else {
                ark_.DrawD3DVertex(type, vertices_, 0, CountOf(vertices_));
            }
            break;
        case kArkPreLit:
            if (lvertices_.empty()) break;
            if (indexed_) {
                ark_.DrawD3DLVertexIndex(type, lvertices_, 0, CountOf(lvertices_), indices_,
                                         indexCount_);
            } else {
                ark_.DrawD3DLVertex(type, lvertices_, 0, CountOf(lvertices_));
            }
            break;
        case kArkBillBoard:
            RebuildBillBoard();
            [[fallthrough]];
        case kArkScreen:
            if (indexed_) {
                ark_.DrawD3DTLVertexIndex(type, tlvertices_, 0, CountOf(tlvertices_), indices_,
                                          indexCount_);
            } else {
                ark_.DrawD3DTLVertex(type, tlvertices_, 0, CountOf(tlvertices_));
            }
            break;
        default:
            break;
    }
}

void CIMArkObject::RenderSetting(Long objectNumber, CIMArkTransform& transform, Long flags) {
    Long mode = renderMode_;
    if (flags != 0) {
        if (!twin_) return;
        if (flags & kArkPassShadow) {
            mode = shadowMode_;
        } else if (flags & kArkPassLighted) {
            mode = lightedMode_;
        } else {
            mode = 0;
        }
        if (mode < 0) return;  // left out of this pass
    }
    transform.Add(objectNumber, (mode & 7) != 0);
    transform.TransformMultiply(world_);
    if (flags & kArkPassShadow) transform.TransformMultiply(ShadowFlattening());
}

bool CIMArkObject::HitTest(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                           bool straight) {
    const Long type = primitiveType_;
    switch (kind_) {
        case kArkPlain:
            return ark_.HitTestVertex(x1, y1, z1, x2, y2, z2, type, vertices_, 0,
                                      CountOf(vertices_), indexed_, indices_, indexCount_, world_,
                                      straight);
        case kArkPreLit:
            return ark_.HitTestLVertex(x1, y1, z1, x2, y2, z2, type, lvertices_, 0,
                                       CountOf(lvertices_), indexed_, indices_, indexCount_, world_,
                                       straight);
        case kArkBillBoard:
            ark_.InstantTransform(world_);
            RebuildBillBoard();
            [[fallthrough]];
        case kArkScreen:
            return ark_.HitTestTLVertex(x1, y1, z1, x2, y2, z2, type, tlvertices_, 0,
                                        CountOf(tlvertices_), indexed_, indices_, indexCount_,
                                        straight);
        default:
            return false;
    }
}

void CIMArkObject::HitTestVertexLines(std::span<const D3DVECTOR> points, const D3DVECTOR& offset,
                                      std::vector<bool>& marks, bool straight) {
    if (kind_ != kArkPlain) return;
    ark_.HitTestVertexLines(points, offset, marks, primitiveType_, vertices_, 0, CountOf(vertices_),
                            indexed_, indices_, indexCount_, world_, straight);
}

bool CIMArkObject::HitTestPoint(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                                bool straight, Long rank, Long& triangle, Single& tu, Single& tv) {
    const Long type = primitiveType_;
    TexturePointResult r;
    switch (kind_) {
        case kArkPlain:
            r = ark_.Get_TexturePoint_VERTEX(x1, y1, z1, x2, y2, z2, type, vertices_, 0,
                                             CountOf(vertices_), indexed_, indices_, indexCount_,
                                             world_, straight, rank);
            break;
        case kArkPreLit:
            r = ark_.Get_TexturePoint_LVERTEX(x1, y1, z1, x2, y2, z2, type, lvertices_, 0,
                                              CountOf(lvertices_), indexed_, indices_, indexCount_,
                                              world_, straight, rank);
            break;
        case kArkBillBoard:
            ark_.InstantTransform(world_);
            RebuildBillBoard();
            [[fallthrough]];
        case kArkScreen:
            r = ark_.Get_TexturePoint_TLVERTEX(x1, y1, z1, x2, y2, z2, type, tlvertices_, 0,
                                               CountOf(tlvertices_), indexed_, indices_,
                                               indexCount_, straight, rank);
            break;
        default:
            return false;
    }
    triangle = r.triangle;
    tu = r.tu;
    tv = r.tv;
    return r.found;
}

}  // namespace brumil::render
