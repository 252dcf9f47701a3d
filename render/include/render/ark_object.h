#pragma once
// CIMArkObject: one drawable 3D object. It owns a vertex array of one of four
// kinds (plain lit vertices, pre-lit vertices, a billboard rebuilt at every
// draw, stored screen vertices), an optional 16-bit index list, a material,
// four render-mode codes, two texture-cache indices and a placement from
// which it keeps its own world matrix.
//
// A kind-1 object carries its scale in its vertices (Create multiplies the
// positions); every other kind scales through its world matrix. A "twin"
// kind-1 object also keeps a pre-lit copy of its geometry, drawn by the
// shadow and lighted passes (render flags bit 2 and bit 1); render flags 0
// draw the object with its own render mode.
//
// The world matrix is valid only after the first SetTransform; before that
// Render draws nothing but stored screen vertices.
//
// Services: the scene object (generators, draws, projection), the device
// wrapper and the texture cache are held by reference and must outlive the
// object; by default the shared ones.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"
#include "render/primitive_basic.h"

namespace brumil::render {

class CIMArk;
class CIMArkTransform;
class CIMDevice;
class CIMTexture;

using platform::D3DMATERIAL7;
using platform::D3DMATRIX;
using platform::D3DVECTOR;

// The vertex kinds.
enum ArkObjectKind : Long {
    kArkNothing = 0,
    kArkPlain = 1,
    kArkPreLit = 2,
    kArkBillBoard = 3,
    kArkScreen = 4,
};

// Render flags of a pass.
constexpr Long kArkPassLighted = 1;
constexpr Long kArkPassShadow = 2;

// The ten billboard parameters in the order CreateBillBoard takes them.
struct ArkBillBoardParams {
    Single width = 0, height = 0, originX = 0, originY = 0;
    Long color = 0;
    Single tu1 = 0, tv1 = 0, tu2 = 0, tv2 = 0, scale = 0;
};

// Position, rotation (radians), scale and centre, in the order GetTransform
// answers them.
struct ArkPlacement {
    Single px = 0, py = 0, pz = 0;
    Single rx = 0, ry = 0, rz = 0;
    Single sx = 1, sy = 1, sz = 1;
    Single cx = 0, cy = 0, cz = 0;
};

class CIMArkObject {
public:
    CIMArkObject();
    CIMArkObject(CIMArk& ark, CIMDevice& device, CIMTexture& textures);
    CIMArkObject(const CIMArkObject&) = delete;
    CIMArkObject& operator=(const CIMArkObject&) = delete;

    // Never read by the object itself; the container leaves invisible objects
    // out of its pass.
    bool Visible = true;

    // ---- Building -----------------------------------------------------------------
    // typeCode & 0xFF is the shape (0 box, 1 sphere, 2 land, 3 revolution,
    // 4 square revolution, 8 sky sphere), typeCode & 0xF00 the vertex choice
    // (0 plain, 0x100 pre-lit, 0x200 both). A kind-1 result is scaled by
    // (sx, sy, sz) unless all three are 0. Position, rotation and the world
    // matrix are not touched.
    void Create(Long typeCode, std::string_view script, Long color, Long divisions, Single sx,
                Single sy, Single sz, Single cx, Single cy, Single cz);
    void CreateAnime(std::string_view script);
    // Frames outside the animation tables are ignored; entries missing from
    // the shorter tables read 0.
    void SetAnimeBillBoard(Long frame, Long color, Single scale);
    void SetAnimeSprite(Long frame, Single x, Single y, Long color, Single angle, Single scale);
    void CreateBillBoard(Single width, Single height, Single originX, Single originY, Long color,
                         Single tu1, Single tv1, Single tu2, Single tv2, Single scale);
    // Four screen vertices now (see GetD3DTLVERTEX_Sprite).
    void CreateSprite(Single x, Single y, Single width, Single height, Single p5, Single p6,
                      Long color, Single p8, Single p9, Single p10, Single p11, Single p12,
                      Single p13);
    // An empty array of `count` records; nothing for a count of 0 or less.
    void CreateLVertices(Long count, Long primitiveType);
    void CreateVertices(Long count, Long primitiveType);
    // Indices outside the array are ignored.
    void SetLVertex(Long index, const D3DLVERTEX& v);
    void SetVertex(Long index, const D3DVERTEX& v);
    // Kind 0; the arrays stay allocated.
    void Delete();

    // ---- Drawing ------------------------------------------------------------------
    // Records the object in the transform's render lists under `objectNumber`
    // with its world matrix (squashed flat in the shadow pass).
    void RenderSetting(Long objectNumber, CIMArkTransform& transform, Long flags);
    // Puts the world matrix on the device.
    void RenderInstantSetting();
    void Render(Long flags);

    // ---- Hit tests ----------------------------------------------------------------
    bool HitTest(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2, bool straight);
    // Kind 1 only.
    void HitTestVertexLines(std::span<const D3DVECTOR> points, const D3DVECTOR& offset,
                            std::vector<bool>& marks, bool straight);
    // The texture point of the rank-th hit along the projected line; false
    // when there is none (triangle, tu and tv then carry no meaning). The
    // hits stay in the scene object's hit list.
    bool HitTestPoint(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                      bool straight, Long rank, Long& triangle, Single& tu, Single& tv);

    // ---- Material, modes, textures ----------------------------------------------------
    void SetMaterial(const D3DMATERIAL7& m) { material_ = m; }
    const D3DMATERIAL7& GetMaterial() const { return material_; }
    // Diffuse (v, v, v), ambient 1, specular and emissive 0, power 0; alphas
    // unchanged.
    void SetMaterialLE(Single value);
    void SetRenderMode(Long code) { renderMode_ = code; }
    Long GetRenderMode() const { return renderMode_; }
    // -1 none.
    void SetRenderModeSecondStage(Long code) { renderMode2_ = code; }
    Long GetRenderModeSecondStage() const { return renderMode2_; }
    // A negative code leaves the object out of that pass.
    void SetShadowRenderMode(Long code) { shadowMode_ = code; }
    Long GetShadowRenderMode() const { return shadowMode_; }
    void SetLightedRenderMode(Long code) { lightedMode_ = code; }
    Long GetLightedRenderMode() const { return lightedMode_; }
    void SetTextureFile(std::string_view name);
    void SetTextureIndex(Long index) { texture_ = index; }
    Long GetTextureIndex() const { return texture_; }
    void SetTextureFileSecondStage(std::string_view name);
    void SetTextureIndexSecondStage(Long index) { texture2_ = index; }
    Long GetTextureIndexSecondStage() const { return texture2_; }

    // ---- Colours ------------------------------------------------------------------------
    void SetColor(Long color);
    // A round soft shadow in the pre-lit colours: alpha maxAlpha (clamped to
    // 0..255) at the centre falling to 0 at the radius |(scale x, scale z)| / 2.
    // Kind 2 or twin only.
    void SetShadowScale(Long color, Long maxAlpha);
    // Pre-lit vertices facing away from the light, or hidden from it by
    // `caster`, take `color`. Twin only.
    void SetShadowMap(Long color, const D3DVECTOR& lightDirection, CIMArkObject& caster);

    // ---- Placement --------------------------------------------------------------------------
    // Stores position and rotation; for kinds other than 1 every scale or
    // centre value given replaces the stored one. Rebuilds the world matrix.
    void SetTransform(Single px, Single py, Single pz, Single rx, Single ry, Single rz,
                      std::optional<Single> sx = {}, std::optional<Single> sy = {},
                      std::optional<Single> sz = {}, std::optional<Single> cx = {},
                      std::optional<Single> cy = {}, std::optional<Single> cz = {});
    ArkPlacement GetTransform() const { return placement_; }

    // ---- Read-outs ------------------------------------------------------------------------
    Long Kind() const { return kind_; }
    bool Twin() const { return twin_; }
    Long PrimitiveType() const { return primitiveType_; }
    bool Indexed() const { return indexed_; }
    Long IndexCount() const { return indexCount_; }
    std::span<const D3DVERTEX> Vertices() const { return vertices_; }
    std::span<const D3DLVERTEX> LVertices() const { return lvertices_; }
    std::span<const D3DTLVERTEX> TLVertices() const { return tlvertices_; }
    std::span<const Integer> Indices() const { return indices_; }
    const D3DMATRIX& World() const { return world_; }
    bool HasTransform() const { return transformSet_; }
    const ArkBillBoardParams& BillBoardParams() const { return billBoard_; }
    const BillBoardTables& AnimeTables() const { return anime_; }

private:
    bool BuildShape(Long shape, Long choice, std::string_view script, Long color, Long divisions);
    void UpdateObjectMatrix();
    D3DMATRIX ComposeObjectMatrix() const;
    void ResetForDirectBuild(Long kind, Long primitiveType);
    void RebuildBillBoard();
    // Applies a pass's render mode as Render does.
    void ApplyMode(Long mode);

    CIMArk& ark_;
    CIMDevice& device_;
    CIMTexture& textures_;

    Long kind_ = kArkNothing;
    bool twin_ = false;
    Long primitiveType_ = 0;
    std::vector<D3DVERTEX> vertices_;
    std::vector<D3DLVERTEX> lvertices_;
    std::vector<D3DTLVERTEX> tlvertices_;
    std::vector<Integer> indices_;
    bool indexed_ = false;
    Long indexCount_ = 0;
    Long renderMode_ = 0;
    Long renderMode2_ = -1;
    Long shadowMode_ = 0;
    Long lightedMode_ = 0;
    Long texture_ = -1;
    Long texture2_ = -1;
    D3DMATRIX world_{};
    bool transformSet_ = false;
    ArkPlacement placement_;
    D3DMATERIAL7 material_{};
    ArkBillBoardParams billBoard_;
    BillBoardTables anime_;
};

}  // namespace brumil::render
