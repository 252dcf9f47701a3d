#pragma once
// CHBData: a table of 3D scene objects kept in a PVAData tree, so its text is
// the scene text form: a root with the banner texts "HarbeskData" and
// "HarbeskData 1.0" and one child node per object. An active index (never
// kept in range) selects the object the field properties read and write.
//
// An object node initialised by ObjectInit holds 10 texts and 40 numbers:
//   texts   0 DataName, 1 DataPrimitive, 2 DataTexture1, 3 DataTexture2
//   numbers 0 Visible, 1-3 Pos, 4-6 Rotate, 7-9 Scale, 10-12 Center,
//           13-15 NumberPrimitiveType1..3, 16-18 NumberMaterialAmb RGB,
//           19-21 NumberMaterialDif RGB, 22 NumberTextureUse,
//           23 NumberTextureAlphaUse, 24 NumberRenderMode1,
//           25 NumberRenderMode2, 26 NumberMultiple, 27 NumberShadowColor,
//           28 NumberShadowAlpha, 29 NumberShadow
// Long fields read the stored number rounded half to even, Single fields
// rounded to single precision. With the active index outside the table, or
// a slot the node does not have, reads give "" or 0 and writes are lost.
// Copies between objects go through the text form (deep, numbers to 15
// significant digits).

#include <memory>
#include <string>
#include <string_view>

#include "core/vb_types.h"
#include "render/pva_data.h"

namespace brumil::render {

class CHBData {
public:
    CHBData();
    ~CHBData();
    CHBData(const CHBData&) = delete;
    CHBData& operator=(const CHBData&) = delete;

    // Reads the whole table; "" on success, else the rejection message (the
    // root's first text is not "HarbeskData"), after which the table is empty
    // again. The version text plays no part.
    std::string PVASetStrData(std::string_view text);
    std::string PVAGetStrData() const;

    Long GetCount() const { return root_->ChildCount(); }
    Long GetActiveIndex() const { return active_; }
    void Active(Long index) { active_ = index; }
    // The first object named exactly `name`; -1 when none is.
    void ActiveName(std::string_view name);

    // One more (empty) object slot; ObjectInit gives it its fields.
    void ObjectAdd();
    // Makes room at `index` (clamped into 0..count and handed back): the
    // objects from there move up one, the one at index keeps its content.
    void ObjectAddInsert(Long& index);
    // Active index = index, then 10 texts, 40 numbers, the name and the
    // defaults (Visible 1, Scale 1, NumberPrimitiveType2 1,
    // NumberPrimitiveType3 30, diffuse 1, NumberRenderMode1 112,
    // NumberShadowAlpha 255, NumberShadow 1; the rest 0 or kept).
    void ObjectInit(Long index, std::string_view name);
    // Copies the object named sourceName over the one at index and names the
    // copy newName; without such an object the copy is of a blank node.
    void ObjectInitDuplicate(Long index, std::string_view sourceName, std::string_view newName);
    bool TestUniName(std::string_view name) const;
    // Removes the object at index clamped into 0..count - 1.
    void ObjectRemove(Long index);
    void ObjectRemoveName(std::string_view name);

    // ---- Fields of the active object -----------------------------------------
    void DataName(std::string_view v) { SetText(0, v); }
    std::string DataName() const { return Text(0); }
    void DataPrimitive(std::string_view v) { SetText(1, v); }
    std::string DataPrimitive() const { return Text(1); }
    void DataTexture1(std::string_view v) { SetText(2, v); }
    std::string DataTexture1() const { return Text(2); }
    void DataTexture2(std::string_view v) { SetText(3, v); }
    std::string DataTexture2() const { return Text(3); }
    void Visible(Long v) { SetNumber(0, v); }
    Long Visible() const { return LongAt(0); }
    void NumberPrimitiveType1(Long v) { SetNumber(13, v); }
    Long NumberPrimitiveType1() const { return LongAt(13); }
    void NumberPrimitiveType2(Long v) { SetNumber(14, v); }
    Long NumberPrimitiveType2() const { return LongAt(14); }
    void NumberPrimitiveType3(Long v) { SetNumber(15, v); }
    Long NumberPrimitiveType3() const { return LongAt(15); }
    void NumberMaterialAmbR(Single v) { SetNumber(16, v); }
    Single NumberMaterialAmbR() const { return SingleAt(16); }
    void NumberMaterialAmbG(Single v) { SetNumber(17, v); }
    Single NumberMaterialAmbG() const { return SingleAt(17); }
    void NumberMaterialAmbB(Single v) { SetNumber(18, v); }
    Single NumberMaterialAmbB() const { return SingleAt(18); }
    void NumberMaterialDifR(Single v) { SetNumber(19, v); }
    Single NumberMaterialDifR() const { return SingleAt(19); }
    void NumberMaterialDifG(Single v) { SetNumber(20, v); }
    Single NumberMaterialDifG() const { return SingleAt(20); }
    void NumberMaterialDifB(Single v) { SetNumber(21, v); }
    Single NumberMaterialDifB() const { return SingleAt(21); }
    void NumberTextureUse(Long v) { SetNumber(22, v); }
    Long NumberTextureUse() const { return LongAt(22); }
    void NumberTextureAlphaUse(Long v) { SetNumber(23, v); }
    Long NumberTextureAlphaUse() const { return LongAt(23); }
    void NumberRenderMode1(Long v) { SetNumber(24, v); }
    Long NumberRenderMode1() const { return LongAt(24); }
    void NumberRenderMode2(Long v) { SetNumber(25, v); }
    Long NumberRenderMode2() const { return LongAt(25); }
    void NumberMultiple(Long v) { SetNumber(26, v); }
    Long NumberMultiple() const { return LongAt(26); }
    void NumberShadowColor(Long v) { SetNumber(27, v); }
    Long NumberShadowColor() const { return LongAt(27); }
    void NumberShadowAlpha(Long v) { SetNumber(28, v); }
    Long NumberShadowAlpha() const { return LongAt(28); }
    void NumberShadow(Long v) { SetNumber(29, v); }
    Long NumberShadow() const { return LongAt(29); }
    void PosX(Single v) { SetNumber(1, v); }
    Single PosX() const { return SingleAt(1); }
    void PosY(Single v) { SetNumber(2, v); }
    Single PosY() const { return SingleAt(2); }
    void PosZ(Single v) { SetNumber(3, v); }
    Single PosZ() const { return SingleAt(3); }
    void RotateX(Single v) { SetNumber(4, v); }
    Single RotateX() const { return SingleAt(4); }
    void RotateY(Single v) { SetNumber(5, v); }
    Single RotateY() const { return SingleAt(5); }
    void RotateZ(Single v) { SetNumber(6, v); }
    Single RotateZ() const { return SingleAt(6); }
    void ScaleX(Single v) { SetNumber(7, v); }
    Single ScaleX() const { return SingleAt(7); }
    void ScaleY(Single v) { SetNumber(8, v); }
    Single ScaleY() const { return SingleAt(8); }
    void ScaleZ(Single v) { SetNumber(9, v); }
    Single ScaleZ() const { return SingleAt(9); }
    void CenterX(Single v) { SetNumber(10, v); }
    Single CenterX() const { return SingleAt(10); }
    void CenterY(Single v) { SetNumber(11, v); }
    Single CenterY() const { return SingleAt(11); }
    void CenterZ(Single v) { SetNumber(12, v); }
    Single CenterZ() const { return SingleAt(12); }
    // 0 PosX .. 11 CenterZ; 0 and no write outside that range.
    void Number(Long index, Single v);
    Single Number(Long index) const;

private:
    // The active object's node; nothing when the index is outside the table.
    PVAData* ObjectNode() const;
    std::string ObjectText(Long index) const;
    void Reset();
    void ObjectInitDefaults(std::string_view name);
    std::string Text(Long slot) const;
    void SetText(Long slot, std::string_view v);
    Long LongAt(Long slot) const;
    Single SingleAt(Long slot) const;
    void SetNumber(Long slot, double v);

    std::unique_ptr<PVAData> root_;
    Long active_ = 0;
};

}  // namespace brumil::render
