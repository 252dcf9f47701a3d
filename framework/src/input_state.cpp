#include "framework/input_state.h"

#include <limits>

namespace brumil::framework {

Long NextHoldCount(Long previous, bool down) {
    if (down) {
        if (previous <= 0) return 1;
        // A key held for over a year of steps stops counting rather than wrap.
        return previous == std::numeric_limits<Long>::max() ? previous : previous + 1;
    }
    return previous > 0 ? -previous : 0;
}

InputStateBlock& gInputState() {
    static InputStateBlock block;
    return block;
}

}  // namespace brumil::framework
