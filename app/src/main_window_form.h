#pragma once
// The main window as CApi's window helpers see it: its client area is the
// game's picture, wherever the menu overlay shows it (below the bar in a
// window, centred in full screen). Without an overlay (no display) the
// picture sits at the screen's origin. Only the picture's place is the
// window's; what SetupForm would change of it (its size, its caption) belongs
// to the display settings, so those calls are kept but change nothing shown.

#include <string>

#include "core/api_form.h"
#include "platform/ui/menu_overlay.h"

namespace brumil::app {

class MainWindowForm final : public core::ApiForm {
public:
    explicit MainWindowForm(const platform::MenuOverlay* overlay) : overlay_(overlay) {}

    void Position(Long& x, Long& y) const override { ClientOrigin(x, y); }
    void Move(Long, Long) override {}
    void ClientOrigin(Long& x, Long& y) const override {
        int ix = 0, iy = 0;
        if (overlay_ != nullptr) overlay_->PictureOrigin(ix, iy);
        x = ix;
        y = iy;
    }
    void ScreenSize(Long& width, Long& height) const override {
        int w = 0, h = 0;
        if (overlay_ != nullptr) overlay_->ScreenSize(w, h);
        width = w;
        height = h;
    }
    void OuterSize(Long& width, Long& height) const override { width = height = 0; }
    void ClientSize(Long& width, Long& height) const override {
        width = 640;
        height = 480;
    }
    void SetClientSize(Long, Long) override {}
    void SetTopmost(bool) override {}
    void SetFont(std::string_view name, Long points) override {
        fontName_ = std::string(name);
        fontPoints_ = points;
    }
    std::string FontName() const override { return fontName_; }
    Long FontPoints() const override { return fontPoints_; }
    void SetNoCaption(bool) override {}

private:
    const platform::MenuOverlay* overlay_;
    std::string fontName_;
    Long fontPoints_ = 9;
};

}  // namespace brumil::app
