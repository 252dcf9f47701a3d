// CIMArkBoard: building the board's objects from a scene object table.
#include "render/ark.h"
#include "render/ark_board.h"
#include "render/hb_data.h"

namespace brumil::render {

namespace {

// Colour of every object a record builds: the pre-lit forms get a quarter
// alpha and no colour of their own.
constexpr Long kSceneColor = 0x40000000;

}  // namespace

void CIMArkBoard::ReadHBData(CHBData& data) {
    const Long n = data.GetCount();
    IMArkObjectCount(n);
    for (Long i = 0; i < n; ++i) {
        data.Active(i);
        ReadHBDataActive(data);
    }
}

void CIMArkBoard::ReadHBDataActive(const CHBData& data) {
    const Long a = data.GetActiveIndex();
    if (a < 0 || a > data.GetCount() - 1) return;
    const auto object = IMArkObject(a);
    if (!object) return;  // the board holds fewer slots than the table
    CIMArkObject& obj = *object;
    if (data.NumberPrimitiveType1() == 0) {
        obj.Create(SceneTypeCode(data.NumberPrimitiveType2()), data.DataPrimitive(), kSceneColor,
                   data.NumberPrimitiveType3(), data.ScaleX(), data.ScaleY(), data.ScaleZ(),
                   data.CenterX(), data.CenterY(), data.CenterZ());
    }
    obj.SetTransform(data.PosX(), data.PosY(), data.PosZ(), data.RotateX(), data.RotateY(),
                     data.RotateZ());
    obj.SetMaterial(CIMArk::Get_Material(data.NumberMaterialDifR(), data.NumberMaterialDifG(),
                                         data.NumberMaterialDifB(), 0, 0, 0, 1.0f, 1.0f, 1.0f));
    obj.SetTextureFile(data.DataTexture1());
    obj.SetRenderMode(
        SceneRenderMode(data.NumberTextureUse() != 0, data.NumberTextureAlphaUse() != 0));
    if (data.NumberMultiple() != 0) {
        obj.SetTextureFileSecondStage(data.DataTexture2());
        obj.SetRenderModeSecondStage(data.NumberRenderMode2());
    } else {
        obj.SetRenderModeSecondStage(-1);
    }
    if (data.NumberShadow() != 0) {
        obj.SetShadowScale(data.NumberShadowColor(), data.NumberShadowAlpha());
        obj.SetShadowRenderMode(1);
    } else {
        obj.SetShadowRenderMode(-1);
    }
    obj.Visible = data.Visible() != 0;
}

}  // namespace brumil::render
