// CIMArk: camera values, the apply to the device, world matrices, the
// change counter and the frame copies.
#include <cmath>

#include "core/math_helpers.h"
#include "library_slot.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"

namespace brumil::render {

using platform::DirectX7;

CIMArk::CIMArk(ArkHost& host) : host_(host) {}
CIMArk::~CIMArk() = default;

CIMArkPrimitive& CIMArk::Primitive() {
    if (!primitive_) primitive_ = std::make_unique<CIMArkPrimitive>();
    return *primitive_;
}

void CIMArk::MarkIfChanged(const D3DVECTOR& stored, const D3DVECTOR& v) {
    if (stored.x != v.x || stored.y != v.y || stored.z != v.z) cameraDirty_ = true;
}

void CIMArk::vFrom(const D3DVECTOR& v) {
    MarkIfChanged(vFrom_, v);
    vFrom_ = v;
}

void CIMArk::vTo(const D3DVECTOR& v) {
    MarkIfChanged(vTo_, v);
    vTo_ = v;
}

void CIMArk::vUp(const D3DVECTOR& v) {
    MarkIfChanged(vUp_, v);
    vUp_ = v;
}

void CIMArk::roll(Single r) {
    if (r != roll_) cameraDirty_ = true;
    roll_ = r;
}

void CIMArk::Perspective(Single p) {
    if (!(p >= 0.0f)) p = 0.0f;  // negative or not a number
    if (p > 1.0f) p = 1.0f;
    if (p != perspective_) cameraDirty_ = true;
    perspective_ = p;
}

void CIMArk::SetViewPortRect(const core::CRect& rect) {
    if (!viewPortRect_.RectCompare(rect)) cameraDirty_ = true;
    viewPortRect_.CreateCopy(rect);
}

namespace {

// Perspective (p = 1) with a horizontal field of 0.785398 rad, near plane 1
// and far plane 1000, blended linearly with a parallel projection (p = 0, w
// 17.67767 everywhere). The vertical field is the angle scaled by the aspect.
D3DMATRIX Projection(Long width, Long height, Single p) {
    const double pd = p;
    const auto a = static_cast<Single>(static_cast<double>(height) / width * 0.785398);
    const auto q = static_cast<Single>(1000.0 / 999.0);
    const auto r = static_cast<Single>(1.0 / 999.0);
    D3DMATRIX m;
    m.rc11 = static_cast<Single>(1.0 / std::tan(0.785398 * 0.5));
    m.rc22 = static_cast<Single>(1.0 / std::tan(static_cast<double>(a) * 0.5));
    m.rc33 = static_cast<Single>(q * pd + 10.0 * r * (1.0 - pd));
    m.rc34 = p;
    m.rc43 = static_cast<Single>(-(q * pd + (r - 10.0) * (1.0 - pd)));
    m.rc44 = static_cast<Single>(17.67767 * (1.0 - pd));
    return m;
}

// Device coordinates to pixels from the viewport's top-left corner, y down.
D3DMATRIX ScreenMatrix(Long width, Long height) {
    D3DMATRIX s;
    s.rc11 = static_cast<Single>(width) / 2;
    s.rc22 = -static_cast<Single>(height) / 2;
    s.rc33 = 1;
    s.rc44 = 1;
    s.rc41 = static_cast<Single>(width) / 2;
    s.rc42 = static_cast<Single>(height) / 2;
    return s;
}

}  // namespace

void CIMArk::SettingProperty() {
    const Long level = host_.RenderLevel();
    if (appliedRenderLevel_ == level && !cameraDirty_) return;
    auto* device = Device();
    if (device == nullptr) return;

    platform::D3DVIEWPORT7 vp;
    vp.lX = viewPortRect_.X;
    vp.lY = viewPortRect_.Y;
    vp.lWidth = viewPortRect_.Width > 0 ? viewPortRect_.Width : host_.ScreenWidth();
    vp.lHeight = viewPortRect_.Height > 0 ? viewPortRect_.Height : host_.ScreenHeight();
    vp.minz = 0;
    vp.maxz = 1;
    device->SetViewport(vp);

    // The look-at view followed by a turn of `roll` about the line of sight
    // (view x RotateZ(roll)). A degenerate camera (eye on the look-at point, up
    // along the line of sight) keeps the identity view.
    D3DMATRIX view;
    DirectX7::ViewMatrix(view, vFrom_, vTo_, vUp_, roll_);
    device->SetTransform(platform::D3DTRANSFORMSTATE_VIEW, view);

    // A display without size still gives finite matrices.
    const Long w = vp.lWidth > 0 ? vp.lWidth : 1;
    const Long h = vp.lHeight > 0 ? vp.lHeight : 1;
    const D3DMATRIX projection = Projection(w, h, perspective_);
    device->SetTransform(platform::D3DTRANSFORMSTATE_PROJECTION, projection);

    D3DMATRIX viewProjection;
    DirectX7::MatrixMultiply(viewProjection, view, projection);
    DirectX7::MatrixMultiply(screenTransform_, viewProjection, ScreenMatrix(w, h));

    appliedRenderLevel_ = level;
    cameraDirty_ = false;
    inverseValid_ = false;
    ChangedCamera = true;
}

D3DMATRIX CIMArk::Get_Transform(Single px, Single py, Single pz, Single rx, Single ry, Single rz,
                                Single sx, Single sy, Single sz) {
    D3DMATRIX m;
    m.rc11 = sx;
    m.rc22 = sy;
    m.rc33 = sz;
    m.rc44 = 1;
    D3DMATRIX turn;
    if (rx != 0) {
        DirectX7::RotateXMatrix(turn, rx);
        DirectX7::MatrixMultiply(m, m, turn);
    }
    if (ry != 0) {
        DirectX7::RotateYMatrix(turn, ry);
        DirectX7::MatrixMultiply(m, m, turn);
    }
    if (rz != 0) {
        DirectX7::RotateZMatrix(turn, rz);
        DirectX7::MatrixMultiply(m, m, turn);
    }
    m.rc41 = px;
    m.rc42 = py;
    m.rc43 = pz;
    return m;
}

namespace {

// Yaw as the floored remainder of 6.283184 (not quite 2 pi); pitch limited to
// a quarter turn either way.
void NormaliseAngles(Single& yaw, Single& pitch) {
    yaw = core::Math_Remainder(yaw, 6.283184f);
    core::Math_Bound(pitch, -1.570796f, 1.570796f);
}

}  // namespace

D3DVECTOR CIMArk::Get_vTo(const D3DVECTOR& eye, Single yaw, Single pitch) {
    NormaliseAngles(yaw, pitch);
    const double y = yaw, p = pitch;
    return {static_cast<Single>(eye.x + std::sin(y) * std::cos(p)),
            static_cast<Single>(eye.y - std::sin(p)),
            static_cast<Single>(eye.z + std::cos(y) * std::cos(p))};
}

D3DVECTOR CIMArk::Get_vFrom(const D3DVECTOR& target, Single yaw, Single pitch) {
    NormaliseAngles(yaw, pitch);
    const double y = yaw, p = pitch;
    return {static_cast<Single>(target.x - std::sin(y) * std::cos(p)),
            static_cast<Single>(target.y + std::sin(p)),
            static_cast<Single>(target.z - std::cos(y) * std::cos(p))};
}

void CIMArk::TestChangedAny() {
    ++unchangedCount_;
    if (ChangedCamera || ChangedLight || ChangedObject || host_.NoDoubleZBuffer()) {
        unchangedCount_ = 0;
    }
    ChangedCamera = ChangedLight = ChangedObject = false;
}

void CIMArk::CopyDGToDFG_withZBuffer() {
    host_.SceneBreak();
    host_.CopyWorkSurface(4);
    host_.SceneRestore();
}

void CIMArk::CopyDFGToDG_withZBuffer() {
    host_.SceneBreak();
    host_.CopyWorkSurface(3);
    host_.SceneRestore();
}

CIMArk& gIMArk() {
    return detail::LibrarySingleton<CIMArk>();
}

}  // namespace brumil::render
