// CIMArkTransform: matrix stack, render lists, depth keys and the sorted pass.
#include "render/ark_transform.h"

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/dx7_math.h"

namespace brumil::render {

using platform::DirectX7;

namespace {

constexpr Long kStartCapacity = 50;

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

D3DMATRIX Identity() {
    D3DMATRIX m;
    DirectX7::IdentityMatrix(m);
    return m;
}

}  // namespace

CIMArkTransform::CIMArkTransform(ArkHost& host) : host_(host) {
    capacity_ = kStartCapacity;
    Grow();
    Clear();
}

void CIMArkTransform::Grow() {
    capacity_ = 2 * capacity_ + 1;
    const std::size_t size = At(capacity_) + 1;
    matrices_.resize(size);
    keys_.resize(size);
    objectNumbers_.resize(size);
    opaque_.resize(size);
    blended_.resize(size);
}

const D3DMATRIX& CIMArkTransform::Entry(Long position) const {
    static const D3DMATRIX kZero{};
    if (position < 0 || At(position) >= matrices_.size()) return kZero;
    return matrices_[At(position)];
}

void CIMArkTransform::Clear() {
    matrices_[0] = Identity();
    level_ = 0;
    current_ = 0;
    nextFree_ = kFirstRecord;
    opaqueCount_ = 0;
    blendedCount_ = 0;
}

void CIMArkTransform::Add(Long objectNumber, bool blended) {
    const Long p = nextFree_;
    if (p >= capacity_) Grow();
    matrices_[At(p)] = matrices_[At(level_)];
    objectNumbers_[At(p)] = objectNumber;
    if (blended) {
        blended_[At(blendedCount_++)] = p;
    } else {
        opaque_[At(opaqueCount_++)] = p;
    }
    current_ = p;
    nextFree_ = p + 1;
}

void CIMArkTransform::Push() {
    if (level_ < kStackDepth - 1) {
        matrices_[At(level_ + 1)] = matrices_[At(level_)];
        ++level_;
    }
    current_ = level_;
}

void CIMArkTransform::Pop() {
    if (level_ > 0) --level_;
    current_ = level_;
}

void CIMArkTransform::Transform(Single px, Single py, Single pz, Single rx, Single ry, Single rz,
                                Single sx, Single sy, Single sz) {
    if (px != 0 || py != 0 || pz != 0) TransformPos(px, py, pz);
    if (rx != 0 || ry != 0 || rz != 0) TransformRotate(rx, ry, rz);
    if (!(sx == 1 && sy == 1 && sz == 1)) TransformScale(sx, sy, sz);
}

void CIMArkTransform::TransformMultiply(const D3DMATRIX& m) {
    D3DMATRIX& current = matrices_[At(current_)];
    DirectX7::MatrixMultiply(current, current, m);
}

void CIMArkTransform::TransformPos(Single x, Single y, Single z) {
    D3DMATRIX t = Identity();
    t.rc41 = x;
    t.rc42 = y;
    t.rc43 = z;
    TransformMultiply(t);
}

void CIMArkTransform::TransformRotate(Single x, Single y, Single z) {
    D3DMATRIX r;
    if (x != 0) {
        DirectX7::RotateXMatrix(r, x);
        TransformMultiply(r);
    }
    if (y != 0) {
        DirectX7::RotateYMatrix(r, y);
        TransformMultiply(r);
    }
    if (z != 0) {
        DirectX7::RotateZMatrix(r, z);
        TransformMultiply(r);
    }
}

void CIMArkTransform::TransformScale(Single x, Single y, Single z) {
    D3DMATRIX s = Identity();
    s.rc11 = x;
    s.rc22 = y;
    s.rc33 = z;
    TransformMultiply(s);
}

void CIMArkTransform::Setting() {
    if (auto* device = host_.Device()) {
        device->SetTransform(platform::D3DTRANSFORMSTATE_WORLD, matrices_[At(current_)]);
    }
}

void CIMArkTransform::ComputeKeys(const D3DMATRIX& v) {
    // The view's fourth column against the recorded matrix's third row. For
    // ordinary view and world matrices every key is 0, so the recorded order
    // decides.
    auto key = [&](Long p) {
        const D3DMATRIX& m = matrices_[At(p)];
        const Single a = v.rc14 * m.rc31;
        const Single b = v.rc24 * m.rc32;
        const Single c = v.rc34 * m.rc33;
        const Single d = v.rc44 * m.rc34;
        keys_[At(p)] = a + b + c + d;
    };
    for (Long k = 0; k < opaqueCount_; ++k) key(opaque_[At(k)]);
    for (Long k = 0; k < blendedCount_; ++k) key(blended_[At(k)]);
}

void CIMArkTransform::SortRenderListByDepth(std::vector<Long>& list, Long n) const {
    // Shell sort into descending key order. An entry only moves past entries
    // whose key is strictly smaller, so equal keys keep their order.
    Long h = 1;
    while (h <= n - 1) h = 3 * h + 1;
    while (h > 1) {
        h /= 3;
        for (Long i = h; i < n; ++i) {
            const Long held = list[At(i)];
            const Single heldKey = keys_[At(held)];
            Long j = i;
            while (j >= h && keys_[At(list[At(j - h)])] < heldKey) {
                list[At(j)] = list[At(j - h)];
                j -= h;
            }
            list[At(j)] = held;
        }
    }
}

void CIMArkTransform::RaiseAt(Long position) {
    if (auto* device = host_.Device()) {
        device->SetTransform(platform::D3DTRANSFORMSTATE_WORLD, matrices_[At(position)]);
    }
    Long number = objectNumbers_[At(position)];
    if (Rendering) Rendering(number);
}

void CIMArkTransform::DoRender() {
    D3DMATRIX view = Identity();
    if (auto* device = host_.Device()) {
        if (!device->GetTransform(platform::D3DTRANSFORMSTATE_VIEW, view)) view = Identity();
    }
    ComputeKeys(view);
    // The listener may record into this transform; the counts of this pass
    // are taken first so it never walks past what was sorted.
    const Long opaqueCount = opaqueCount_;
    const Long blendedCount = blendedCount_;
    if (opaqueCount > 0) {
        SortRenderListByDepth(opaque_, opaqueCount);
        for (Long k = opaqueCount - 1; k >= 0; --k) RaiseAt(opaque_[At(k)]);
    }
    if (blendedCount > 0) {
        SortRenderListByDepth(blended_, blendedCount);
        for (Long k = 0; k < blendedCount; ++k) RaiseAt(blended_[At(k)]);
    }
}

}  // namespace brumil::render
