// CIMArkBoard: the object slots and the depth-ordered pass.
#include "render/ark_board.h"

#include <algorithm>

#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/im_device.h"

namespace brumil::render {

CIMArkBoard::CIMArkBoard() : CIMArkBoard(gIMArk(), gIMDevice(), gIMTexture(), FrameworkArkHost()) {}

CIMArkBoard::CIMArkBoard(CIMArk& ark, CIMDevice& device, CIMTexture& textures, ArkHost& host)
    : ark_(ark),
      device_(device),
      textures_(textures),
      tf_(std::make_unique<CIMArkTransform>(host)) {
    tf_->Rendering = [this](Long& index) { tf_Rendering(index); };
}

CIMArkBoard::~CIMArkBoard() {
    tf_.reset();
    items_.clear();
}

CIMArkObject& CIMArkBoard::Slot(Long index) {
    auto& slot = items_[static_cast<std::size_t>(index)];
    if (!slot) slot = std::make_shared<CIMArkObject>(ark_, device_, textures_);
    return *slot;
}

std::shared_ptr<CIMArkObject> CIMArkBoard::IMArkObject(Long index) {
    if (index < 0 || index >= IMArkObjectCount()) return nullptr;
    Slot(index);
    return items_[static_cast<std::size_t>(index)];
}

void CIMArkBoard::IMArkObjectCount(Long n) {
    if (n <= 0) {
        items_.clear();
        items_.shrink_to_fit();
        return;
    }
    items_.resize(static_cast<std::size_t>(n));
}

void CIMArkBoard::DoRender(Long flags) {
    const Long count = IMArkObjectCount();
    if (count <= 0) return;
    renderFlags_ = flags;
    tf_->Clear();
    for (Long i = 0; i < count; ++i) {
        CIMArkObject& object = Slot(i);
        if (object.Visible) object.RenderSetting(i, *tf_, flags);
    }
    tf_->DoRender();
    device_.SetTextureIndex(-1);
    device_.SetTextureIndexSecondStage(-1);
}

void CIMArkBoard::tf_Rendering(Long& index) {
    // Only indices recorded in this pass arrive; a board resized from inside
    // a draw must still not be read past its end.
    if (index < 0 || index >= IMArkObjectCount()) return;
    Slot(index).Render(renderFlags_);
}

Long CIMArkBoard::SceneTypeCode(Long shape) {
    return std::clamp<Long>(shape, 0, 255) + 0x200;
}

Long CIMArkBoard::SceneRenderMode(bool textureUse, bool textureAlphaUse) {
    return (textureUse ? 0x70 : 0) + (textureAlphaUse ? 0x101 : 0);
}

}  // namespace brumil::render
