#pragma once
// The input block, updated once per logic step, and the hold-count rule every
// key, button and virtual key follows:
//   1 on the first step it is down, counting up while held,
//   minus the count for the one step after release, then 0.
// So "pressed this step" is a count of 1, "held" any positive count, and a
// release shows how long the input had been held.

#include "core/vb_types.h"

namespace brumil::framework {

Long NextHoldCount(Long previous, bool down);

struct InputStateBlock {
    // Hold counts.
    Long MouseLeft = 0;
    Long MouseRight = 0;
    Long Escape = 0;
    Long Enter = 0;  // Return or keypad Enter
    Long Ctrl = 0;   // either Ctrl
    Long Shift = 0;  // either Shift
    Long Alt = 0;    // either Alt
    Long Space = 0;
    Long Backspace = 0;
    Long Arrows = 0;  // any of the four arrow keys
    Long Up = 0;
    Long Down = 0;
    Long Left = 0;
    Long Right = 0;
    // The wheel's movement in this step, in notches (away from the user > 0).
    Long Wheel = 0;
    // The pointer moved over the window since the previous step.
    bool MouseMoved = false;
    // Pointer position: fractions 0..1 of the picture, and client-area pixels.
    Single MouseX = 0.0f;
    Single MouseY = 0.0f;
    Long MouseScreenX = 0;
    Long MouseScreenY = 0;
};

// The shared input block.
InputStateBlock& gInputState();

}  // namespace brumil::framework
