#include "frontend/layer_object.h"

namespace brumil::frontend {

void CLayerObject::Connect(std::shared_ptr<CLayer> layer, Long index) {
    layer_ = std::move(layer);
    index_ = index;
}

void CLayerObject::Redraw() {
    if (layer_) layer_->Redraw(index_);
}

void CLayerObject::Remove() {
    if (layer_) layer_->Remove(index_, true);
}

image::CmgBBI* CLayerObject::BBI() {
    return layer_ ? layer_->BBI(index_) : nullptr;
}

CLayerConfig* CLayerObject::Config() {
    return layer_ ? layer_->Config(index_) : nullptr;
}

core::CRect* CLayerObject::Dirt() {
    return layer_ ? layer_->Dirt(index_) : nullptr;
}

std::string CLayerObject::Text() {
    return layer_ ? layer_->Text(index_) : std::string();
}

void CLayerObject::Text(std::string_view text) {
    if (layer_) layer_->Text(index_, text);
}

Long CLayerObject::TextWaitCount() {
    return layer_ ? layer_->TextWaitCount(index_) : 0;
}

void CLayerObject::TextNoWait() {
    if (layer_) layer_->TextNoWait(index_);
}

std::optional<core::CRect> CLayerObject::TextRgn() {
    return layer_ ? layer_->TextRgn(index_) : std::nullopt;
}

void CLayerObject::TextOut(std::string_view text) {
    if (layer_) layer_->TextOut(index_, text);
}

void CLayerObject::Command(std::string_view text) {
    if (layer_) layer_->Command(index_, text);
}

void CLayerObject::Locate(Long x, Long y) {
    if (layer_) layer_->Locate(index_, x, y);
}

}  // namespace brumil::frontend
