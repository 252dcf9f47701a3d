#pragma once
// An indexed list of captioned, enabled rectangles in 640x480 screen space,
// with the text layout form menus are written in.
//
// Layout line: comma-separated index, X, Y, width, height, enabled flag and
// caption, e.g. "  0,180,230,280, 25,1,Start Game". The first six fields are
// numbers (blanks around them are allowed); everything after the sixth comma
// is the caption exactly as written, commas included, and may be empty or
// missing. The enabled flag is 1 or 0 (any non-zero number enables). An index
// of 0 to 1023 names its slot (replacing an item in use there); any other index
// appends a slot after the last one.
//
// Slots between items that were never set are "not in use": they count in
// Count() but are skipped by every lookup.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rect.h"
#include "core/vb_types.h"

namespace brumil::core {

class CRects {
public:
    static constexpr Long kMaxExplicitIndex = 1023;
    // Appending stops here so that hostile layout text cannot exhaust memory.
    static constexpr Long kMaxSlots = 65536;

    // Applies one layout line; answers the slot used (also stored in `slot`),
    // or -1 (and `slot` = -1) for a malformed line.
    Long Setting(std::string_view line, Long& slot);
    Long Setting(std::string_view line) {
        Long slot = -1;
        return Setting(line, slot);
    }
    // Puts an item into a slot directly (same index rule as Setting).
    Long Set(Long index, const CRect& rect, bool enabled, std::string_view caption);

    // The layout line of a slot in use, "" otherwise. Setting reads it back.
    std::string LayoutLine(Long index) const;

    Long Count() const { return static_cast<Long>(slots_.size()); }
    void Clear() { slots_.clear(); }

    // The slot's rectangle, or nullptr when out of range or not in use. The
    // pointer stays valid until the list grows or is cleared.
    CRect* Item(Long index);
    const CRect* Item(Long index) const;
    std::string ItemCaption(Long index) const;
    bool ItemEnabled(Long index) const;
    bool InUse(Long index) const;
    void SetEnabled(Long index, bool enabled);

    // The first slot in use (and enabled, when asked) holding the point; -1.
    Long PointIndex(Long x, Long y, bool enabledOnly) const;
    // Steps cyclically forward (step > 0) or backward (step < 0) from `from` to
    // the next matching slot. `from` itself is found again only when it is the
    // only match; with no match, or step 0, `from` is answered. A `from` outside
    // the list starts before the first (forward) or after the last (backward).
    Long LinearIndex(Long from, Long step, bool enabledOnly) const;
    // The nearest matching slot in direction (dx, dy) from slot `from`: its
    // centre must lie beyond the centre of `from` along each non-zero axis.
    // For a move along one axis, slots in line with `from` (their extents
    // across the move overlap) come before the others; then the smaller gap
    // between the two rectangles wins, then the closer centre, then the lower
    // index. No candidate answers `from`; a `from` that is not in use answers
    // the first matching slot (or -1).
    Long NextIndex(Long from, Long dx, Long dy, bool enabledOnly) const;

private:
    struct Slot {
        bool used = false;
        bool enabled = false;
        CRect rect;
        std::string caption;
    };
    bool Matches(Long index, bool enabledOnly) const;

    std::vector<Slot> slots_;
};

}  // namespace brumil::core
