#include "core/rects.h"

#include <array>
#include <cstdint>
#include <limits>

#include "core/val.h"

namespace brumil::core {
namespace {

struct Centre {
    std::int64_t x2;  // doubled, so that odd sizes stay whole
    std::int64_t y2;
};

Centre CentreOf(const CRect& r) {
    return {2 * std::int64_t{r.X} + r.Width, 2 * std::int64_t{r.Y} + r.Height};
}

// The gap between two intervals [a0, a1) and [b0, b1); 0 when they overlap.
std::int64_t Gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
    if (b0 >= a1) return b0 - a1;
    if (a0 >= b1) return a0 - b1;
    return 0;
}

int Sign(std::int64_t v) {
    return (v > 0) - (v < 0);
}

}  // namespace

Long CRects::Setting(std::string_view line, Long& slot) {
    slot = -1;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    std::array<Long, 6> fields{};
    std::string_view rest = line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t comma = rest.find(',');
        const std::string_view field = rest.substr(0, comma);
        const auto number = ParseLeadingNumber(field);
        if (!number) return -1;
        fields[i] = LVal(field);
        if (comma == std::string_view::npos) {
            if (i + 1 < fields.size()) return -1;
            rest = {};
        } else {
            rest.remove_prefix(comma + 1);
        }
    }
    slot = Set(fields[0], CRect(fields[1], fields[2], fields[3], fields[4]), fields[5] != 0, rest);
    return slot;
}

Long CRects::Set(Long index, const CRect& rect, bool enabled, std::string_view caption) {
    if (index < 0 || index > kMaxExplicitIndex) index = Count();
    if (index >= kMaxSlots) return -1;
    if (index >= Count()) slots_.resize(static_cast<std::size_t>(index) + 1);
    Slot& s = slots_[static_cast<std::size_t>(index)];
    s.used = true;
    s.enabled = enabled;
    s.rect = rect;
    s.caption = std::string(caption);
    return index;
}

std::string CRects::LayoutLine(Long index) const {
    if (!InUse(index)) return {};
    const Slot& s = slots_[static_cast<std::size_t>(index)];
    return std::to_string(index) + "," + std::to_string(s.rect.X) + "," + std::to_string(s.rect.Y) +
           "," + std::to_string(s.rect.Width) + "," + std::to_string(s.rect.Height) + "," +
           (s.enabled ? "1" : "0") + "," + s.caption;
}

bool CRects::InUse(Long index) const {
    return index >= 0 && index < Count() && slots_[static_cast<std::size_t>(index)].used;
}

CRect* CRects::Item(Long index) {
    return InUse(index) ? &slots_[static_cast<std::size_t>(index)].rect : nullptr;
}

const CRect* CRects::Item(Long index) const {
    return InUse(index) ? &slots_[static_cast<std::size_t>(index)].rect : nullptr;
}

std::string CRects::ItemCaption(Long index) const {
    return InUse(index) ? slots_[static_cast<std::size_t>(index)].caption : std::string();
}

bool CRects::ItemEnabled(Long index) const {
    return InUse(index) && slots_[static_cast<std::size_t>(index)].enabled;
}

void CRects::SetEnabled(Long index, bool enabled) {
    if (InUse(index)) slots_[static_cast<std::size_t>(index)].enabled = enabled;
}

bool CRects::Matches(Long index, bool enabledOnly) const {
    return InUse(index) && (!enabledOnly || slots_[static_cast<std::size_t>(index)].enabled);
}

Long CRects::PointIndex(Long x, Long y, bool enabledOnly) const {
    for (Long i = 0; i < Count(); ++i) {
        if (Matches(i, enabledOnly) && slots_[static_cast<std::size_t>(i)].rect.PointIn(x, y)) {
            return i;
        }
    }
    return -1;
}

Long CRects::LinearIndex(Long from, Long step, bool enabledOnly) const {
    const Long n = Count();
    if (step == 0 || n == 0) return from;
    const Long dir = step > 0 ? 1 : -1;
    Long at = from;
    if (at < 0 || at >= n) at = dir > 0 ? -1 : n;
    for (Long k = 0; k < n; ++k) {
        at += dir;
        if (at >= n) at = 0;
        if (at < 0) at = n - 1;
        if (Matches(at, enabledOnly)) return at;
    }
    return from;
}

Long CRects::NextIndex(Long from, Long dx, Long dy, bool enabledOnly) const {
    if (!InUse(from)) {
        for (Long i = 0; i < Count(); ++i) {
            if (Matches(i, enabledOnly)) return i;
        }
        return -1;
    }
    if (dx == 0 && dy == 0) return from;
    const CRect& a = slots_[static_cast<std::size_t>(from)].rect;
    const Centre ca = CentreOf(a);
    const int sx = Sign(dx);
    const int sy = Sign(dy);

    Long best = from;
    std::int64_t bestRank = 2;
    std::int64_t bestScore = std::numeric_limits<std::int64_t>::max();
    std::int64_t bestCentre = std::numeric_limits<std::int64_t>::max();
    for (Long i = 0; i < Count(); ++i) {
        if (i == from || !Matches(i, enabledOnly)) continue;
        const CRect& b = slots_[static_cast<std::size_t>(i)].rect;
        const Centre cb = CentreOf(b);
        const std::int64_t ddx = cb.x2 - ca.x2;
        const std::int64_t ddy = cb.y2 - ca.y2;
        if (sx != 0 && Sign(ddx) != sx) continue;
        if (sy != 0 && Sign(ddy) != sy) continue;
        const std::int64_t gx =
            Gap(a.X, std::int64_t{a.X} + a.Width, b.X, std::int64_t{b.X} + b.Width);
        const std::int64_t gy =
            Gap(a.Y, std::int64_t{a.Y} + a.Height, b.Y, std::int64_t{b.Y} + b.Height);
        // Across a single-axis move, items in line with `from` come first.
        const bool inLine = (sx == 0 || sy == 0) && (sx == 0 ? gx : gy) == 0;
        const std::int64_t rank = ((sx != 0 && sy != 0) || inLine) ? 0 : 1;
        const std::int64_t score = gx * gx + gy * gy;
        const std::int64_t centre = ddx * ddx + ddy * ddy;
        if (rank < bestRank || (rank == bestRank && score < bestScore) ||
            (rank == bestRank && score == bestScore && centre < bestCentre)) {
            best = i;
            bestRank = rank;
            bestScore = score;
            bestCentre = centre;
        }
    }
    return best;
}

}  // namespace brumil::core
