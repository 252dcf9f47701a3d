#pragma once
// CView: one screen's drawing surface and menu logic. It owns a layer, a
// layout of item rectangles in the 640x480 screen space and the current item.
//
// Each frame a screen asks it to read the mouse, the keyboard or a player's
// virtual keys — each moves the current item between the enabled layout items
// and reports presses as Result bits — and then to Paint: the layer is
// composed and only its dirty rectangle is copied to the back surface (scaled
// when the display runs at a drawing scale other than 1.0) and reported to the
// frame host.
//
// The interface members do nothing when Result is not 0 on entry, so a screen
// can offer the mouse, the keyboard and a pad in turn on one Result and the
// first source that reports wins.
//
// Input comes from the shared input block and virtual keys; key repeat and the
// presented rectangles go to the frame host given at creation, else to
// gMaxwell() (without either, repeats use the 60-step timing and nothing is
// reported). The view listens to the framework root so that after the display
// surfaces are released the next Paint presents the whole layer.

#include <memory>
#include <optional>
#include <string_view>

#include "core/rect.h"
#include "core/rects.h"
#include "core/vb_types.h"
#include "framework/maxwell.h"
#include "framework/splib.h"
#include "framework/vkey.h"
#include "frontend/layer.h"
#include "frontend/layer_object.h"
#include "image/cmg_bbi.h"

namespace brumil::frontend {

// Result bits of the interface members.
enum ViewResult : Long {
    kViewItemChanged = 1,
    kViewAccept = 2,  // left button, Enter or button 1 pressed this step
    kViewCancel = 4,  // right button, Backspace or button 2 pressed this step
    kViewWheel = 8,
    kViewLeft = 16,
    kViewRight = 32,
    kViewUp = 64,
    kViewDown = 128,
};

class CView : public framework::ILibEvents {
public:
    explicit CView(framework::CMaxwell* host = nullptr);
    ~CView() override = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    // The view's layer, made on first access; screens resize and fill it.
    std::shared_ptr<CLayer>& Layer();
    void SetLayer(std::shared_ptr<CLayer> layer) { layer_ = std::move(layer); }

    // Layout: cleared, one layout line applied, the list itself.
    void SettingClear() { rects_.Clear(); }
    void Setting(std::string_view line) { rects_.Setting(line); }
    core::CRects& GetRects() { return rects_; }

    // Composes the layer and presents what changed.
    void Paint();
    // Composes the layer and answers its picture without presenting.
    const image::CmgBBI& PaintGetBBI();
    // The rectangle of the last composition (after Paint: as presented).
    const core::CRect& LastDirty() const { return dirty_; }

    // Replaces an entry's content by (part of) a picture, scaled with linear
    // filtering when the sizes differ. Missing sizes: the entry picture's for
    // the destination, the source's for the source.
    void Blt(CLayerObject& entry, const image::CmgBBI& source, Long x, Long y,
             std::optional<Long> width, std::optional<Long> height, Long srcX, Long srcY,
             std::optional<Long> srcWidth = {}, std::optional<Long> srcHeight = {});
    // Types every layout item's caption into the entry, each in its item's
    // rectangle moved by the entry's text box origin; with backAlpha > 0 the
    // rectangle is first filled black at that alpha (limited to 255).
    void DrawText(CLayerObject& entry, std::optional<Long> backAlpha = {});

    void InterfaceReset(Long item) { item_ = item; }
    // Steps through the enabled items; step 0 stays, from -1 goes to the first.
    void InterfaceCursorLinear(Long step) { item_ = Linear(item_, step); }
    Long InterfaceCursor() const { return item_; }

    // Mouse: buttons pressed or the pointer moved pick the enabled item under
    // the pointer; with allowNone a pointer over no item sets item -1.
    void InterfaceMouse(Long& result, bool allowNone);
    // The same, but only a button press picks an item.
    void InterfaceMouseClick(Long& result, bool allowNone);
    // Arrow keys with key repeat; horizontal and/or vertical movement.
    void InterfaceKeyboard(Long& result, bool horizontal, bool vertical);
    // A player's virtual keys (players 0 to 3; others do nothing).
    void InterfaceVKey(Long& result, Long player, bool horizontal, bool vertical);
    // A player's virtual keys, x then y each stepping linearly.
    void InterfaceVKeyLinear(Long& result, Long player);

    void xLib_TerminateDraw() override { surfaceLost_ = true; }

private:
    framework::CMaxwell* Host() const;
    bool KeyRepeat(Long count) const;
    // Moves along the enabled items; never with step 0.
    Long Linear(Long from, Long step) const;
    // The nearest enabled item in a direction; (0, 0) stays.
    Long Next(Long from, Long dx, Long dy) const;
    void Mouse(Long& result, bool allowNone, bool clickOnly);
    void Move(Long& result, Long next);
    static void AddVKeyBits(Long& result, const framework::VKeyRecord& key);

    framework::CMaxwell* host_;
    std::shared_ptr<CLayer> layer_;
    core::CRects rects_;
    const image::CmgBBI* target_ = nullptr;
    image::CmgBBI scaled_;
    core::CRect dirty_;
    Long item_ = 0;
    bool surfaceLost_ = false;
    framework::LibEventSubscription subscription_{this};
};

}  // namespace brumil::frontend
