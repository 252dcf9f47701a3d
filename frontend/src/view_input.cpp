// CView: moving the current item from the mouse, the keyboard and the virtual
// keys, and reporting presses as Result bits.

#include "framework/input_state.h"
#include "frontend/view.h"

namespace brumil::frontend {

namespace {

// Hold-count repeat: the first step, the step at `delay`, then every
// `interval` steps.
constexpr Long kRepeatDelay = 24;
constexpr Long kRepeatInterval = 6;

bool PressedThisStep(Long holdCount) {
    return holdCount == 1;
}
bool Held(Long holdCount) {
    return holdCount != 0;
}

}  // namespace

bool CView::KeyRepeat(Long count) const {
    if (const framework::CMaxwell* host = Host()) {
        return host->KeyRepeat(count, kRepeatDelay, kRepeatInterval);
    }
    return framework::CMaxwell::KeyRepeatAt60(count, kRepeatDelay, kRepeatInterval);
}

Long CView::Linear(Long from, Long step) const {
    if (step == 0) return from;
    // With no current item any move starts at the first enabled one.
    if (from == -1) return rects_.LinearIndex(-1, 1, true);
    return rects_.LinearIndex(from, step, true);
}

Long CView::Next(Long from, Long dx, Long dy) const {
    if (dx == 0 && dy == 0) return from;  // opposite keys held together
    return rects_.NextIndex(from, dx, dy, true);
}

void CView::Move(Long& result, Long next) {
    if (next != item_) {
        item_ = next;
        result = kViewItemChanged;
    }
}

void CView::Mouse(Long& result, bool allowNone, bool clickOnly) {
    if (result != 0) return;
    const framework::InputStateBlock& in = framework::gInputState();
    const bool pressed = PressedThisStep(in.MouseLeft) || PressedThisStep(in.MouseRight);
    if (pressed || (!clickOnly && in.MouseMoved)) {
        const Long x = RoundToLong(static_cast<double>(in.MouseX) * 640.0);
        const Long y = RoundToLong(static_cast<double>(in.MouseY) * 480.0);
        const Long hit = rects_.PointIndex(x, y, true);
        if (hit != item_ && (hit != -1 || allowNone)) {
            item_ = hit;
            result = kViewItemChanged;
        }
    }
    if (PressedThisStep(in.MouseLeft)) result |= kViewAccept;
    if (PressedThisStep(in.MouseRight)) result |= kViewCancel;
    if (in.Wheel != 0) result |= kViewWheel;
}

void CView::InterfaceMouse(Long& result, bool allowNone) {
    Mouse(result, allowNone, false);
}

void CView::InterfaceMouseClick(Long& result, bool allowNone) {
    Mouse(result, allowNone, true);
}

void CView::InterfaceKeyboard(Long& result, bool horizontal, bool vertical) {
    if (result != 0) return;
    const framework::InputStateBlock& in = framework::gInputState();
    const Long dx = (Held(in.Right) ? 1 : 0) - (Held(in.Left) ? 1 : 0);
    const Long dy = (Held(in.Down) ? 1 : 0) - (Held(in.Up) ? 1 : 0);
    if (horizontal && vertical) {
        if (KeyRepeat(in.Arrows)) Move(result, Next(item_, dx, dy));
    } else if (horizontal) {
        if (KeyRepeat(in.Right | in.Left)) Move(result, Linear(item_, dx));
    } else if (vertical) {
        if (KeyRepeat(in.Down | in.Up)) Move(result, Linear(item_, dy));
    }
    if (PressedThisStep(in.Enter)) result |= kViewAccept;
    if (PressedThisStep(in.Backspace)) result |= kViewCancel;
    if (PressedThisStep(in.Left)) result |= kViewLeft;
    if (PressedThisStep(in.Right)) result |= kViewRight;
    if (PressedThisStep(in.Up)) result |= kViewUp;
    if (PressedThisStep(in.Down)) result |= kViewDown;
}

void CView::AddVKeyBits(Long& result, const framework::VKeyRecord& key) {
    using namespace framework;
    if (PressedThisStep(key[kVKeyButton1])) result |= kViewAccept;
    if (PressedThisStep(key[kVKeyButton1 + 1])) result |= kViewCancel;
    if (PressedThisStep(key[kVKeyDirectionHold])) {
        if (key[kVKeyX] < 0) result |= kViewLeft;
        if (key[kVKeyX] > 0) result |= kViewRight;
        if (key[kVKeyY] < 0) result |= kViewUp;
        if (key[kVKeyY] > 0) result |= kViewDown;
    }
}

void CView::InterfaceVKey(Long& result, Long player, bool horizontal, bool vertical) {
    using namespace framework;
    if (result != 0 || player < 0 || player >= kVKeyPlayers) return;
    const VKeyRecord key = VKey()[static_cast<std::size_t>(player)];
    if (KeyRepeat(key[kVKeyDirectionHold])) {
        if (horizontal && vertical) {
            if (key[kVKeyDirection] != 0) Move(result, Next(item_, key[kVKeyX], key[kVKeyY]));
        } else if (horizontal) {
            if (key[kVKeyX] != 0) Move(result, Linear(item_, key[kVKeyX]));
        } else if (vertical) {
            if (key[kVKeyY] != 0) Move(result, Linear(item_, key[kVKeyY]));
        }
    }
    AddVKeyBits(result, key);
}

void CView::InterfaceVKeyLinear(Long& result, Long player) {
    using namespace framework;
    if (result != 0 || player < 0 || player >= kVKeyPlayers) return;
    const VKeyRecord key = VKey()[static_cast<std::size_t>(player)];
    if (KeyRepeat(key[kVKeyDirectionHold])) {
        if (key[kVKeyX] != 0) Move(result, Linear(item_, key[kVKeyX]));
        if (key[kVKeyY] != 0) Move(result, Linear(item_, key[kVKeyY]));
    }
    AddVKeyBits(result, key);
}

}  // namespace brumil::frontend
