#pragma once
// CIMArk: the 3D scene object. The camera (eye, look-at point, up, roll and a
// perspective-to-parallel blend), the viewport, the lights and materials, the
// world-matrix builder, the vertex draws (lit, pre-lit, screen space, or as
// wire frames) and the projection of points between world and screen.
//
// Camera values are only stored by their setters; SettingProperty sends
// viewport, view and projection to the device when something changed or the
// device was re-created, and keeps ScreenTransform, the matrix from world space
// to viewport pixels (y downwards, from the viewport's top-left corner). Lights
// go to the device at once. The shared instance is gIMArk().

#include <memory>
#include <span>
#include <vector>

#include "core/rect.h"
#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"
#include "render/ark_host.h"
#include "render/ark_primitive.h"
#include "render/hit_test.h"

namespace brumil::render {

using platform::D3DLIGHT7;
using platform::D3DMATERIAL7;
using platform::D3DMATRIX;
using platform::D3DTLVERTEX;
using platform::D3DVECTOR;

class CIMArk {
public:
    // The host is held by reference and must outlive the instance.
    explicit CIMArk(ArkHost& host = FrameworkArkHost());
    ~CIMArk();
    CIMArk(const CIMArk&) = delete;
    CIMArk& operator=(const CIMArk&) = delete;

    // Public state, read and written by any holder.
    bool WireFrame = false;      // draw triangle lists and strips as lines
    Long WireFrameColor = 0;     // 0xAARRGGBB of those lines
    bool ChangedCamera = false;  // set by every apply of SettingProperty
    bool ChangedLight = false;   // set by SetLight and by a SetLightEnable that changed a slot
    bool ChangedObject = false;  // set by callers whose scene changed
    // The shared geometry generator, made on first use.
    CIMArkPrimitive& Primitive();

    // ---- Camera --------------------------------------------------------------
    // Each setter stores the value and marks the camera dirty when it differs.
    const D3DVECTOR& vFrom() const { return vFrom_; }
    void vFrom(const D3DVECTOR& v);
    const D3DVECTOR& vTo() const { return vTo_; }
    void vTo(const D3DVECTOR& v);
    const D3DVECTOR& vUp() const { return vUp_; }
    void vUp(const D3DVECTOR& v);
    // Turn about the line of sight in radians: the view matrix is the look-at
    // matrix followed by a rotation about its z axis by `roll`.
    Single roll() const { return roll_; }
    void roll(Single r);
    // 1 perspective, 0 parallel, between a linear blend. Clamped to 0..1; a
    // value that is not a number counts 0.
    Single Perspective() const { return perspective_; }
    void Perspective(Single p);
    // A width or height of 0 or less means the screen's.
    void SetViewPortRect(const core::CRect& rect);
    const core::CRect& ViewPortRect() const { return viewPortRect_; }
    // Sends viewport, view and projection when the camera changed or the device
    // was re-created since the last apply; nothing without a device.
    void SettingProperty();

    Long AppliedRenderLevel() const { return appliedRenderLevel_; }
    bool CameraDirty() const { return cameraDirty_; }
    const D3DMATRIX& ScreenTransform() const { return screenTransform_; }
    const D3DMATRIX& ScreenTransformInverse() const { return screenTransformInverse_; }
    bool InverseValid() const { return inverseValid_; }

    // ---- Lights, materials, world matrices -------------------------------------
    void SetLight(const D3DLIGHT7& light, Long slot, bool enable);
    void SetLightEnable(Long slot, bool enable);
    // The ambient colour, sent unchanged (alpha included).
    void SetLightAmbient(Long color);
    static D3DLIGHT7 Get_Light_BrimLight(const D3DVECTOR& position, Single scale, Single r,
                                         Single g, Single b, Single range);
    static D3DLIGHT7 Get_Light_PointLight(const D3DVECTOR& position, Single r, Single g, Single b,
                                          Single k);
    // `angle` is the outer cone as a fraction of a half turn; the inner cone is
    // a quarter of the outer one.
    static D3DLIGHT7 Get_Light_SpotLight(const D3DVECTOR& position, const D3DVECTOR& direction,
                                         Single r, Single g, Single b, Single angle);
    static D3DLIGHT7 Get_Light_DirectionalLight(Single dx, Single dy, Single dz, Single r, Single g,
                                                Single b);
    // Diffuse, emissive, ambient (in that argument order); specular, alphas and
    // power 0.
    static D3DMATERIAL7 Get_Material(Single dr, Single dg, Single db, Single er, Single eg,
                                     Single eb, Single ar, Single ag, Single ab);
    // Scale, then turn about X, Y and Z (an angle of exactly 0 is skipped), then
    // move.
    static D3DMATRIX Get_Transform(Single px, Single py, Single pz, Single rx, Single ry, Single rz,
                                   Single sx, Single sy, Single sz);
    void InstantTransform(const D3DMATRIX& world);
    // The look-at point one unit from the eye, and the eye one unit back from a
    // target. Yaw 0 looks along +z, positive yaw turns towards +x, positive
    // pitch looks down; pitch is limited to a quarter turn either way.
    static D3DVECTOR Get_vTo(const D3DVECTOR& eye, Single yaw, Single pitch);
    static D3DVECTOR Get_vFrom(const D3DVECTOR& target, Single yaw, Single pitch);

    // ---- Change counter and frame copies -----------------------------------------
    // Counts one test; a set flag (or no second depth buffer) resets the count.
    // Clears the three flags.
    void TestChangedAny();
    // The number of tests in a row that saw no change.
    Long Changed_Any() const { return unchangedCount_; }
    void CopyDGToDFG_withZBuffer();
    void CopyDFGToDG_withZBuffer();

    // ---- Vertex drawing ------------------------------------------------------------
    // `count` records from position `start`; a range outside the array draws
    // nothing. With WireFrame set, triangle lists and strips draw as lines in
    // WireFrameColor. Lit draws switch LIGHTING on, pre-lit draws off, screen
    // draws leave it.
    void DrawD3DVertex(Long type, std::span<const D3DVERTEX> v, Long start, Long count);
    void DrawD3DVertexIndex(Long type, std::span<const D3DVERTEX> v, Long start, Long count,
                            std::span<const Integer> indices, Long indexCount);
    void DrawD3DLVertex(Long type, std::span<const D3DLVERTEX> v, Long start, Long count);
    void DrawD3DLVertexIndex(Long type, std::span<const D3DLVERTEX> v, Long start, Long count,
                             std::span<const Integer> indices, Long indexCount);
    void DrawD3DTLVertex(Long type, std::span<const D3DTLVERTEX> v, Long start, Long count);
    void DrawD3DTLVertexIndex(Long type, std::span<const D3DTLVERTEX> v, Long start, Long count,
                              std::span<const Integer> indices, Long indexCount);

    // ---- Projection ------------------------------------------------------------------
    // World point to viewport pixels through ScreenTransform. A point on the
    // eye's plane (w = 0) gives rhw 0 and position 0, 0, 0.
    D3DTLVERTEX ProjectVertex(Single x, Single y, Single z) const;
    // The world point that ProjectVertex maps to (sx, sy, sz); the origin when
    // ScreenTransform cannot be inverted.
    D3DLVERTEX UnProjectVertex(Single sx, Single sy, Single sz);
    // Screen position of the origin of the device's world transform.
    D3DTLVERTEX ProjectVertexZero();
    // Projects input elements start .. start + count - 1 (clipped to both
    // arrays) through world x ScreenTransform into the same positions of out.
    void ProjectVerticesFromLVertex(const D3DMATRIX& world, std::span<D3DTLVERTEX> out,
                                    std::span<const D3DLVERTEX> in, Long start, Long count) const;
    void ProjectVerticesFromVertex(const D3DMATRIX& world, std::span<D3DTLVERTEX> out,
                                   std::span<const D3DVERTEX> in, Long start, Long count) const;
    // Through the device's own world, view and projection and viewport.
    void ProjectVertices(const D3DLVERTEX& in, D3DTLVERTEX& out);
    void UnProjectVertices(const D3DTLVERTEX& in, D3DLVERTEX& out);

    // ---- Vector and matrix helpers ---------------------------------------------------
    // out = inverse of in; false (out untouched) for a singular matrix.
    static bool MatrixInverse(D3DMATRIX& out, const D3DMATRIX& in);
    // First three components of (x, y, z, 1) x m, no division by w.
    static D3DVECTOR VectorTransform(const D3DMATRIX& m, Single x, Single y, Single z);
    // First three components of (x, y, z, 0) x m: directions and normals.
    static D3DVECTOR VectorTransformN(const D3DMATRIX& m, Single x, Single y, Single z);
    static D3DVECTOR Get_v(Single x, Single y, Single z) { return {x, y, z}; }
    // Normalised; the zero vector stays zero.
    static D3DVECTOR Get_nv(Single x, Single y, Single z);

    // A demonstration: twelve lit boxes on a turning ring.
    void SampleDrawD3DSolid36();

    // ---- Hit tests (see hit_test.h) ----------------------------------------------------
    // The triangles are those a draw with the same type, array, start, count
    // and index arguments draws. The segment (straight false) or the whole
    // line (straight true) through the two world points is carried into the
    // object's space by the inverse of `world`.
    bool HitTestVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                       Long primitiveType, std::span<const D3DVERTEX> vertices, Long start,
                       Long count, bool indexed, std::span<const Integer> indices, Long indexCount,
                       const D3DMATRIX& world, bool straight) const;
    bool HitTestLVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                        Long primitiveType, std::span<const D3DLVERTEX> vertices, Long start,
                        Long count, bool indexed, std::span<const Integer> indices, Long indexCount,
                        const D3DMATRIX& world, bool straight) const;
    // The two world points are projected through ScreenTransform first.
    bool HitTestTLVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                         Long primitiveType, std::span<const D3DTLVERTEX> vertices, Long start,
                         Long count, bool indexed, std::span<const Integer> indices,
                         Long indexCount, bool straight) const;
    // hits[i] becomes true when the segment points[i] .. points[i] + offset
    // hits a triangle; true entries stay and are not tested again.
    void HitTestVertexLines(std::span<const D3DVECTOR> points, const D3DVECTOR& offset,
                            std::vector<bool>& hits, Long primitiveType,
                            std::span<const D3DVERTEX> vertices, Long start, Long count,
                            bool indexed, std::span<const Integer> indices, Long indexCount,
                            const D3DMATRIX& world, bool straight) const;
    // The hit of the given rank (0 the nearest) along the projected line; the
    // hits are kept in this instance's hit list until the next search.
    TexturePointResult Get_TexturePoint_VERTEX(Single x1, Single y1, Single z1, Single x2,
                                               Single y2, Single z2, Long primitiveType,
                                               std::span<const D3DVERTEX> vertices, Long start,
                                               Long count, bool indexed,
                                               std::span<const Integer> indices, Long indexCount,
                                               const D3DMATRIX& world, bool straight, Long rank);
    TexturePointResult Get_TexturePoint_LVERTEX(Single x1, Single y1, Single z1, Single x2,
                                                Single y2, Single z2, Long primitiveType,
                                                std::span<const D3DLVERTEX> vertices, Long start,
                                                Long count, bool indexed,
                                                std::span<const Integer> indices, Long indexCount,
                                                const D3DMATRIX& world, bool straight, Long rank);
    TexturePointResult Get_TexturePoint_TLVERTEX(Single x1, Single y1, Single z1, Single x2,
                                                 Single y2, Single z2, Long primitiveType,
                                                 std::span<const D3DTLVERTEX> vertices, Long start,
                                                 Long count, bool indexed,
                                                 std::span<const Integer> indices, Long indexCount,
                                                 bool straight, Long rank);
    static bool Get_TexturePoint(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                 const D3DTLVERTEX& a, const D3DTLVERTEX& b, const D3DTLVERTEX& c,
                                 bool straight, Single& t, Single& tu, Single& tv) {
        return CIMArkHitTest::Get_TexturePoint(o, e, d, a, b, c, straight, t, tu, tv);
    }
    static bool HitTestLineAndTriangle(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                       const D3DVECTOR& a, const D3DVECTOR& b, const D3DVECTOR& c,
                                       Single& t, Single& u, Single& v) {
        return CIMArkHitTest::HitTestLineAndTriangle(o, e, d, a, b, c, t, u, v);
    }
    static bool HitTestStraightLineAndTriangle(const D3DVECTOR& o, const D3DVECTOR& d,
                                               const D3DVECTOR& a, const D3DVECTOR& b,
                                               const D3DVECTOR& c, Single& t, Single& u,
                                               Single& v) {
        return CIMArkHitTest::HitTestStraightLineAndTriangle(o, d, a, b, c, t, u, v);
    }
    static bool HitTestStraightLineAndTriangleSub(Single x1, Single y1, Single z1, Single x2,
                                                  Single y2, Single z2, Single ax, Single ay,
                                                  Single az, Single bx, Single by, Single bz,
                                                  Single cx, Single cy, Single cz, Single& t,
                                                  Single& u, Single& v) {
        return CIMArkHitTest::HitTestStraightLineAndTriangleSub(x1, y1, z1, x2, y2, z2, ax, ay, az,
                                                                bx, by, bz, cx, cy, cz, t, u, v);
    }
    // The hit list of the latest texture-point search.
    Long HitCount() const { return hitTest_.HitCount(); }
    Long HitCapacity() const { return hitTest_.HitCapacity(); }

private:
    platform::Direct3DDevice7* Device() { return host_.Device(); }
    void MarkIfChanged(const D3DVECTOR& stored, const D3DVECTOR& v);
    template <typename V>
    void Draw(Long type, Long fvf, std::span<const V> v, Long start, Long count, bool indexed,
              std::span<const Integer> indices, Long indexCount, Long lighting);

    ArkHost& host_;
    std::unique_ptr<CIMArkPrimitive> primitive_;
    Long appliedRenderLevel_ = 0;
    bool cameraDirty_ = true;
    D3DVECTOR vFrom_{0, 0, -10};
    D3DVECTOR vTo_{0, 0, 0};
    D3DVECTOR vUp_{0, 1, 0};
    Single roll_ = 0;
    Single perspective_ = 1;
    D3DMATRIX screenTransform_{};
    D3DMATRIX screenTransformInverse_{};
    bool inverseValid_ = false;
    core::CRect viewPortRect_;
    Long unchangedCount_ = 0;
    CIMArkHitTest hitTest_;             // holds the hit list of the texture-point searches
    Single sampleA_ = 0, sampleB_ = 0;  // the demonstration's turning angles
};

// The shared instance over the framework host, made by AdminLibInit (or on
// first use) and dropped by AdminLibTerminate.
CIMArk& gIMArk();

}  // namespace brumil::render
