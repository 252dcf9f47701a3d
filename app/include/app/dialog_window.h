#pragma once
// The window state the two settings dialogs share: whether the window is
// loaded (its captions made) and shown, the screen position the front end
// placed it at, and what CApi::SetupForm gave it (its font above all, which
// the view draws every control with). Unloading forgets the first three, as
// closing a window does; the look stays.

#include <string>

#include "core/api_form.h"
#include "core/vb_types.h"

namespace brumil::app {

class DialogWindow final : public core::ApiForm {
public:
    bool Loaded() const { return loaded_; }
    // Loaded, shown and not yet unloaded: what a view draws.
    bool Visible() const { return loaded_ && shown_; }
    void Load() { loaded_ = true; }
    void Show() { shown_ = true; }
    // The position given by Move (CApi::SetupForm with x and y); false when
    // none was given since the window was last loaded.
    bool Placement(Long& x, Long& y) const {
        if (!placed_) return false;
        x = x_;
        y = y_;
        return true;
    }
    void Unload() { loaded_ = shown_ = placed_ = false; }
    // The screen the window is kept inside (0: not known).
    void SetScreenSize(Long width, Long height) {
        screenWidth_ = width;
        screenHeight_ = height;
    }

    // ---- core::ApiForm ------------------------------------------------------
    void Position(Long& x, Long& y) const override {
        x = x_;
        y = y_;
    }
    void Move(Long x, Long y) override {
        placed_ = true;
        x_ = x;
        y_ = y;
    }
    // The view draws the caption inside the window's own rectangle.
    void ClientOrigin(Long& x, Long& y) const override { Position(x, y); }
    void ScreenSize(Long& width, Long& height) const override {
        width = screenWidth_;
        height = screenHeight_;
    }
    // Sized to its contents by the view: not known here.
    void OuterSize(Long& width, Long& height) const override { width = height = 0; }
    void ClientSize(Long& width, Long& height) const override {
        width = clientWidth_;
        height = clientHeight_;
    }
    void SetClientSize(Long width, Long height) override {
        clientWidth_ = width;
        clientHeight_ = height;
    }
    void SetTopmost(bool topmost) override { topmost_ = topmost; }
    void SetFont(std::string_view name, Long points) override {
        fontName_ = std::string(name);
        fontPoints_ = points;
    }
    std::string FontName() const override { return fontName_; }
    Long FontPoints() const override { return fontPoints_; }
    void SetNoCaption(bool noCaption) override { noCaption_ = noCaption; }
    bool NoCaption() const { return noCaption_; }

private:
    bool loaded_ = false;
    bool shown_ = false;
    bool placed_ = false;
    Long x_ = 0;
    Long y_ = 0;
    Long screenWidth_ = 0;
    Long screenHeight_ = 0;
    Long clientWidth_ = 0;
    Long clientHeight_ = 0;
    bool topmost_ = false;
    bool noCaption_ = false;
    std::string fontName_;
    Long fontPoints_ = 9;
};

}  // namespace brumil::app
