// CIMArkObject: building the geometry, the direct builders, the animation
// frames and the placement with its world matrix.
#include "render/ark_object.h"

#include <string>

#include "core/val.h"
#include "framework/display.h"
#include "platform/gfx/dx7_math.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/ark_primitive.h"
#include "render/im_texture.h"

namespace brumil::render {

namespace {

constexpr Long kChoicePlain = 0x000;
constexpr Long kChoicePreLit = 0x100;
constexpr Long kChoiceBoth = 0x200;

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

template <typename T>
T EntryOrZero(const std::vector<T>& list, Long i) {
    return i >= 0 && At(i) < list.size() ? list[At(i)] : T{};
}

template <typename V>
void ScalePositions(std::vector<V>& vertices, Single sx, Single sy, Single sz) {
    for (auto& v : vertices) {
        v.x *= sx;
        v.y *= sy;
        v.z *= sz;
    }
}

}  // namespace

CIMArkObject::CIMArkObject() : CIMArkObject(gIMArk(), gIMDevice(), gIMTexture()) {}

CIMArkObject::CIMArkObject(CIMArk& ark, CIMDevice& device, CIMTexture& textures)
    : ark_(ark), device_(device), textures_(textures) {}

// Builds one shape into the arrays the vertex choice asks for. Answers false
// when nothing was built; the kind, twin flag, arrays, type and index fields
// are then left as they were, so a draw never pairs an array with indices or
// a type that were made for other geometry.
bool CIMArkObject::BuildShape(Long shape, Long choice, std::string_view script, Long color,
                              Long divisions) {
    const bool plain = choice == kChoicePlain || choice == kChoiceBoth;
    const bool preLit = choice == kChoicePreLit || choice == kChoiceBoth;
    if (!plain && !preLit) return false;
    auto& prim = ark_.Primitive();
    std::vector<Integer> indices;
    bool indexed = true;
    Long type = platform::D3DPT_TRIANGLELIST;
    switch (shape) {
        case 0:
            indexed = false;
            if (plain) prim.GetD3DVERTEX_solid36(vertices_, 1.0f);
            if (preLit) prim.GetD3DLVERTEX_solid36(lvertices_, 1.0f, color);
            break;
        case 1:
            if (plain) prim.GetD3DVERTEX_shpere2(vertices_, indices, divisions, 1.0f);
            if (preLit) prim.GetD3DLVERTEX_shpere2(lvertices_, indices, divisions, 1.0f, color);
            break;
        case 2:
            if (plain) prim.GetD3DVERTEX_Land(vertices_, indices, script);
            if (preLit) prim.GetD3DLVERTEX_Land(lvertices_, indices, script, color);
            break;
        case 3:
            type = platform::D3DPT_TRIANGLESTRIP;
            if (plain) prim.GetD3DVERTEX_Revolution(vertices_, indices, script);
            if (preLit) prim.GetD3DLVERTEX_Revolution(lvertices_, indices, script, color);
            break;
        case 4:
            type = platform::D3DPT_TRIANGLESTRIP;
            if (plain) prim.GetD3DVERTEX_Tetra(vertices_, indices, script);
            if (preLit) prim.GetD3DLVERTEX_Tetra(lvertices_, indices, script, color);
            break;
        case 8: {
            // No pre-lit form: the pre-lit array is emptied so that neither an
            // empty kind 2 nor a twin's lighted pass draws stale geometry.
            const Long wrap = core::LValBound(script, 1, 8);
            if (plain) prim.GetD3DVERTEX_AirShpere(vertices_, indices, divisions, wrap, 1.0f);
            lvertices_.clear();
            if (!plain) indexed = false;
            break;
        }
        default:
            return false;
    }
    primitiveType_ = type;
    indices_ = std::move(indices);
    indexed_ = indexed;
    indexCount_ = indexed ? static_cast<Long>(indices_.size()) : 0;
    if (!indexed) indices_.clear();
    kind_ = plain ? kArkPlain : kArkPreLit;
    twin_ = choice == kChoiceBoth;
    return true;
}

void CIMArkObject::Create(Long typeCode, std::string_view script, Long color, Long divisions,
                          Single sx, Single sy, Single sz, Single cx, Single cy, Single cz) {
    const bool built = BuildShape(typeCode & 0xFF, typeCode & 0xF00, script, color, divisions);
    // Only fresh geometry is scaled: scaling again what an earlier Create
    // built would compound.
    if (built && kind_ == kArkPlain && !(sx == 0 && sy == 0 && sz == 0)) {
        ScalePositions(vertices_, sx, sy, sz);
        if (twin_) ScalePositions(lvertices_, sx, sy, sz);
    }
    placement_.sx = sx;
    placement_.sy = sy;
    placement_.sz = sz;
    placement_.cx = cx;
    placement_.cy = cy;
    placement_.cz = cz;
}

void CIMArkObject::ResetForDirectBuild(Long kind, Long primitiveType) {
    placement_.sx = placement_.sy = placement_.sz = 1;
    placement_.cx = placement_.cy = placement_.cz = 0;
    indexed_ = false;
    indexCount_ = 0;
    twin_ = false;
    kind_ = kind;
    primitiveType_ = primitiveType;
}

void CIMArkObject::CreateAnime(std::string_view script) {
    ark_.Primitive().BillBoardOffset(script, 0, anime_);
}

void CIMArkObject::SetAnimeBillBoard(Long frame, Long color, Single scale) {
    if (frame < 0 || At(frame) >= anime_.width.size()) return;
    const auto& a = anime_;
    CreateBillBoard(a.width[At(frame)], EntryOrZero(a.height, frame), EntryOrZero(a.x, frame),
                    EntryOrZero(a.y, frame), color, EntryOrZero(a.u, 2 * frame),
                    EntryOrZero(a.v, 2 * frame), EntryOrZero(a.u, 2 * frame + 1),
                    EntryOrZero(a.v, 2 * frame + 1), scale);
    SetTextureFile(std::to_string(EntryOrZero(a.texture, frame)));
}

void CIMArkObject::SetAnimeSprite(Long frame, Single x, Single y, Long color, Single angle,
                                  Single scale) {
    if (frame < 0 || At(frame) >= anime_.width.size()) return;
    const auto& a = anime_;
    CreateSprite(x, y, a.width[At(frame)], EntryOrZero(a.height, frame), EntryOrZero(a.x, frame),
                 EntryOrZero(a.y, frame), color, EntryOrZero(a.u, 2 * frame),
                 EntryOrZero(a.v, 2 * frame), EntryOrZero(a.u, 2 * frame + 1),
                 EntryOrZero(a.v, 2 * frame + 1), angle, scale);
    SetTextureFile(std::to_string(EntryOrZero(a.texture, frame)));
}

void CIMArkObject::CreateBillBoard(Single width, Single height, Single originX, Single originY,
                                   Long color, Single tu1, Single tv1, Single tu2, Single tv2,
                                   Single scale) {
    billBoard_ = {width, height, originX, originY, color, tu1, tv1, tu2, tv2, scale};
    ResetForDirectBuild(kArkBillBoard, platform::D3DPT_TRIANGLESTRIP);
}

void CIMArkObject::CreateSprite(Single x, Single y, Single width, Single height, Single p5,
                                Single p6, Long color, Single p8, Single p9, Single p10, Single p11,
                                Single p12, Single p13) {
    GetD3DTLVERTEX_Sprite(tlvertices_, x, y, width, height, p5, p6, color, p8, p9, p10, p11, p12,
                          p13, framework::GetDrawScale());
    ResetForDirectBuild(kArkScreen, platform::D3DPT_TRIANGLESTRIP);
}

void CIMArkObject::CreateLVertices(Long count, Long primitiveType) {
    if (count <= 0) return;
    lvertices_.assign(At(count), D3DLVERTEX{});
    ResetForDirectBuild(kArkPreLit, primitiveType);
}

void CIMArkObject::CreateVertices(Long count, Long primitiveType) {
    if (count <= 0) return;
    vertices_.assign(At(count), D3DVERTEX{});
    ResetForDirectBuild(kArkPlain, primitiveType);
}

void CIMArkObject::SetLVertex(Long index, const D3DLVERTEX& v) {
    if (index >= 0 && At(index) < lvertices_.size()) lvertices_[At(index)] = v;
}

void CIMArkObject::SetVertex(Long index, const D3DVERTEX& v) {
    if (index >= 0 && At(index) < vertices_.size()) vertices_[At(index)] = v;
}

void CIMArkObject::Delete() {
    kind_ = kArkNothing;
}

void CIMArkObject::SetTextureFile(std::string_view name) {
    texture_ = textures_.Add(name);
}

void CIMArkObject::SetTextureFileSecondStage(std::string_view name) {
    texture2_ = textures_.Add(name);
}

void CIMArkObject::SetMaterialLE(Single value) {
    material_.diffuse.r = material_.diffuse.g = material_.diffuse.b = value;
    material_.ambient.r = material_.ambient.g = material_.ambient.b = 1.0f;
    material_.specular.r = material_.specular.g = material_.specular.b = 0;
    material_.emissive.r = material_.emissive.g = material_.emissive.b = 0;
    material_.power = 0;
}

void CIMArkObject::SetTransform(Single px, Single py, Single pz, Single rx, Single ry, Single rz,
                                std::optional<Single> sx, std::optional<Single> sy,
                                std::optional<Single> sz, std::optional<Single> cx,
                                std::optional<Single> cy, std::optional<Single> cz) {
    auto& p = placement_;
    p.px = px;
    p.py = py;
    p.pz = pz;
    p.rx = rx;
    p.ry = ry;
    p.rz = rz;
    if (kind_ != kArkPlain) {
        p.sx = sx.value_or(p.sx);
        p.sy = sy.value_or(p.sy);
        p.sz = sz.value_or(p.sz);
        p.cx = cx.value_or(p.cx);
        p.cy = cy.value_or(p.cy);
        p.cz = cz.value_or(p.cz);
    }
    UpdateObjectMatrix();
    transformSet_ = true;
}

D3DMATRIX CIMArkObject::ComposeObjectMatrix() const {
    const auto& p = placement_;
    D3DMATRIX centre, placed;
    if (kind_ == kArkPlain) {
        // The vertices already carry the scale, so the centre is scaled here.
        centre = CIMArk::Get_Transform(p.cx * p.sx, p.cy * p.sy, p.cz * p.sz, 0, 0, 0, 1, 1, 1);
        placed = CIMArk::Get_Transform(p.px, p.py, p.pz, p.rx, p.ry, p.rz, 1, 1, 1);
    } else {
        centre = CIMArk::Get_Transform(p.cx, p.cy, p.cz, 0, 0, 0, 1, 1, 1);
        placed = CIMArk::Get_Transform(p.px, p.py, p.pz, p.rx, p.ry, p.rz, p.sx, p.sy, p.sz);
    }
    D3DMATRIX world;
    platform::DirectX7::MatrixMultiply(world, centre, placed);
    return world;
}

void CIMArkObject::UpdateObjectMatrix() {
    const auto& p = placement_;
    if (p.cx == 0 && p.cy == 0 && p.cz == 0) {
        const bool plain = kind_ == kArkPlain;
        world_ = CIMArk::Get_Transform(p.px, p.py, p.pz, p.rx, p.ry, p.rz, plain ? 1 : p.sx,
                                       plain ? 1 : p.sy, plain ? 1 : p.sz);
    } else {
        world_ = ComposeObjectMatrix();
    }
}

}  // namespace brumil::render
