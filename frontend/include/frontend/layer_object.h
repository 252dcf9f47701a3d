#pragma once
// CLayerObject: one entry of one layer as a handle, so screen code can pass a
// single entry around. Every member calls the same-named CLayer member with the
// stored index; an unconnected handle does nothing and answers nothing. The
// handle shares ownership of its layer.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/layer.h"

namespace brumil::frontend {

class CLayerObject {
public:
    CLayerObject() = default;
    CLayerObject(std::shared_ptr<CLayer> layer, Long index) { Connect(std::move(layer), index); }

    void Connect(std::shared_ptr<CLayer> layer, Long index);
    Long EntryIndex() const { return index_; }
    const std::shared_ptr<CLayer>& Layer() const { return layer_; }

    void Redraw();
    // Always erases.
    void Remove();
    image::CmgBBI* BBI();
    CLayerConfig* Config();
    core::CRect* Dirt();
    std::string Text();
    void Text(std::string_view text);
    Long TextWaitCount();
    void TextNoWait();
    std::optional<core::CRect> TextRgn();
    void TextOut(std::string_view text);
    void Command(std::string_view text);
    void Locate(Long x, Long y);

private:
    Long index_ = -1;
    std::shared_ptr<CLayer> layer_;
};

}  // namespace brumil::frontend
