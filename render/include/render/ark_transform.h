#pragma once
// CIMArkTransform: the matrix stack and the depth-sorted render lists of one
// scene pass.
//
// A pass is Clear, then stack operations (Push, Pop and the Transform family,
// which change the current entry) and Add calls, each usually followed by a
// TransformMultiply that changes only the matrix just recorded; then DoRender
// sorts both lists, puts each recorded matrix on the device as the world
// transform and raises Rendering with its object number, whose listener draws
// that object. Opaque records are raised in ascending key order, blended ones
// in descending key order. DoRender keeps the lists; the next Clear empties
// them.
//
// Storage: entries 0..19 of the matrix store are the stack, entries from 20 up
// the recorded matrices; the store grows without limit (capacity 2c + 1).

#include <functional>
#include <vector>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"
#include "render/ark_host.h"

namespace brumil::render {

using platform::D3DMATRIX;

class CIMArkTransform {
public:
    static constexpr Long kStackDepth = 20;  // entries 0..19
    static constexpr Long kFirstRecord = kStackDepth;

    // The host gives the device; it is held by reference and must outlive the
    // transform.
    explicit CIMArkTransform(ArkHost& host = FrameworkArkHost());

    // Event raised by DoRender once per recorded object, with the device's
    // world transform already set to the object's recorded matrix. The number
    // is the one given to Add.
    std::function<void(Long& objectNumber)> Rendering;

    // Identity at stack level 0, current entry 0, both lists empty.
    void Clear();
    void DoRender();
    // Records a copy of the stack level's matrix under `objectNumber` in the
    // blended or the opaque list and makes it the current entry.
    void Add(Long objectNumber, bool blended);
    // Copies the level's matrix one level up and moves there; at the top
    // level (19) nothing is copied.
    void Push();
    void Pop();

    // Position if any value is non-zero, then rotation if any angle is
    // non-zero, then scale unless it is 1, 1, 1.
    void Transform(Single px, Single py, Single pz, Single rx, Single ry, Single rz, Single sx,
                   Single sy, Single sz);
    // current := current x m (a point is carried by current first).
    void TransformMultiply(const D3DMATRIX& m);
    void TransformPos(Single x, Single y, Single z);
    // Radians; about X, then Y, then Z, each skipped when its angle is 0.
    void TransformRotate(Single x, Single y, Single z);
    void TransformScale(Single x, Single y, Single z);
    // Puts the current entry on the device as the world transform.
    void Setting();

    // Read-outs of the state.
    Long StackLevel() const { return level_; }
    Long CurrentPosition() const { return current_; }
    Long NextFree() const { return nextFree_; }
    Long Capacity() const { return capacity_; }
    const D3DMATRIX& Entry(Long position) const;
    const D3DMATRIX& Current() const { return Entry(current_); }
    Long OpaqueCount() const { return opaqueCount_; }
    Long BlendedCount() const { return blendedCount_; }

private:
    void Grow();
    void ComputeKeys(const D3DMATRIX& view);
    void SortRenderListByDepth(std::vector<Long>& list, Long n) const;
    void RaiseAt(Long position);

    ArkHost& host_;
    std::vector<D3DMATRIX> matrices_;
    std::vector<Single> keys_;
    std::vector<Long> objectNumbers_;
    std::vector<Long> opaque_;
    std::vector<Long> blended_;
    Long opaqueCount_ = 0;
    Long blendedCount_ = 0;
    Long level_ = 0;
    Long current_ = 0;
    Long nextFree_ = kFirstRecord;
    Long capacity_ = 0;
};

}  // namespace brumil::render
