#pragma once
// The window state the two settings dialogs share: whether the window is
// loaded (its captions made) and shown, and the screen position the front
// end placed it at. Unloading forgets all three, as closing a window does.

#include "core/vb_types.h"

namespace brumil::app {

class DialogWindow {
public:
    bool Loaded() const { return loaded_; }
    // Loaded, shown and not yet unloaded: what a view draws.
    bool Visible() const { return loaded_ && shown_; }
    void Load() { loaded_ = true; }
    void Show() { shown_ = true; }
    void Place(Long x, Long y) {
        placed_ = true;
        x_ = x;
        y_ = y;
    }
    // The position given by Place; false when none was given since the
    // window was last loaded.
    bool Placement(Long& x, Long& y) const {
        if (!placed_) return false;
        x = x_;
        y = y_;
        return true;
    }
    void Unload() { loaded_ = shown_ = placed_ = false; }

private:
    bool loaded_ = false;
    bool shown_ = false;
    bool placed_ = false;
    Long x_ = 0;
    Long y_ = 0;
};

}  // namespace brumil::app
