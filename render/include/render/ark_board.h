#pragma once
// CIMArkBoard: an indexed set of renderable 3D objects. A slot is empty until
// it is first read; reading fills it with a new object, so the same index
// always yields the same object. The board owns its objects (shared with
// whoever holds one it handed out) and its transform.
//
// DoRender draws every visible object in depth order through the board's own
// CIMArkTransform and unbinds both texture stages afterwards.
//
// ReadHBData turns a scene object table (CHBData) into objects: the board is
// sized to the table and every record is applied to the object of its index.

#include <memory>
#include <vector>

#include "core/vb_types.h"
#include "render/ark_object.h"
#include "render/ark_transform.h"

namespace brumil::render {

class CHBData;

class CIMArkBoard {
public:
    CIMArkBoard();
    // The services are held by reference, handed to every object the board
    // makes, and must outlive the board.
    CIMArkBoard(CIMArk& ark, CIMDevice& device, CIMTexture& textures, ArkHost& host);
    ~CIMArkBoard();
    CIMArkBoard(const CIMArkBoard&) = delete;
    CIMArkBoard& operator=(const CIMArkBoard&) = delete;

    // The object of slot `index`, made on first read; nothing outside
    // 0..count - 1.
    std::shared_ptr<CIMArkObject> IMArkObject(Long index);
    // n > 0 resizes to slots 0..n - 1, keeping the objects that remain (added
    // slots are empty); n <= 0 releases every object.
    void IMArkObjectCount(Long n);
    Long IMArkObjectCount() const { return static_cast<Long>(items_.size()); }

    // flags: 0 each object's own render mode, 2 the shadow pass, 1 the
    // lighted pass. An empty board makes no device call.
    void DoRender(Long flags);
    // The flags of the latest DoRender.
    Long RenderFlags() const { return renderFlags_; }

    // Sizes the board to the table (objects of the remaining slots are reused)
    // and applies every record in order; the table's active index ends on
    // its last record.
    void ReadHBData(CHBData& data);
    // Applies the table's active record to the object of the same index:
    // geometry (only when NumberPrimitiveType1 is 0), placement, diffuse
    // material, textures, render modes, shadow and visibility. Nothing when
    // the active index is outside the table.
    void ReadHBDataActive(const CHBData& data);

    // The type code that a scene record's shape asks Create for: the shape
    // clamped to 0..255 (so it cannot reach the vertex-choice bits) with both
    // vertex forms.
    static Long SceneTypeCode(Long shape);
    // The render-mode code of a scene record: 0x70 for a textured object plus
    // 0x101 for texture alpha.
    static Long SceneRenderMode(bool textureUse, bool textureAlphaUse);

private:
    void tf_Rendering(Long& index);
    CIMArkObject& Slot(Long index);

    CIMArk& ark_;
    CIMDevice& device_;
    CIMTexture& textures_;
    std::vector<std::shared_ptr<CIMArkObject>> items_;
    std::unique_ptr<CIMArkTransform> tf_;  // released before the objects
    Long renderFlags_ = 0;
};

}  // namespace brumil::render
