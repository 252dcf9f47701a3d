// Target, evasion and escape points of the computer opponent.
#include "battle/ai_targets.h"

#include <cstdint>

#include "core/api.h"
#include "platform/collision/angle_math.h"

namespace brumil::battle {
namespace {

namespace lib = platform::collision;

Long Rnd(Long n) {
    return core::gApi().RndDLL(n);
}

bool InsideBounds(const PlayerRecord& p, std::int64_t x, std::int64_t y) {
    return x >= p.MinX && x <= p.MaxX && y >= p.MinY && y <= p.MaxY;
}

// (x, y) moved `distance` pixels along `angle`, in 1/256 pixel.
std::int64_t AlongX(Long x, Long angle, Long distance) {
    return x + std::int64_t{lib::ACT(angle)} * distance;
}
std::int64_t AlongY(Long y, Long angle, Long distance) {
    return y + std::int64_t{lib::AST(angle)} * distance;
}

enum class PointKind { Target, Evasion };

// The angle of a candidate by style; a target of style 0 stays where it is
// and one of style 7 comes closer. Draws only what the style needs, in the
// order of its terms. A style outside 0..10 (never set by the styles' own
// draws) is treated as staying put.
Long StyleAngle(PointKind kind, Long style, const PlayerRecord& p, const PlayerRecord& q,
                Long& distance) {
    const Long toward = lib::AHT(q.X - p.X, q.Y - p.Y);
    const bool evasion = kind == PointKind::Evasion;
    switch (style) {
        case 0:
            if (evasion) return toward + 0x400 + Rnd(0x800);
            distance = 0;
            return 0;
        case 1:
            return evasion ? p.AimAngle - 0x200 + Rnd(0x400) : p.AimAngle - 0x400 + Rnd(0x800);
        case 2:
            return -0x200 + Rnd(0x400);
        case 3:
            return 0x600 + Rnd(0x400);
        case 4:
            return Rnd(0x1000);
        case 5:
            return toward + 0x300 + Rnd(0x200);
        case 6:
            return toward - 0x500 + Rnd(0x200);
        case 7: {
            const Long angle = toward - 0x100 + Rnd(0x200);
            if (!evasion) distance = Rnd(100) + 20;
            return angle;
        }
        case 8:
            return toward + 0x180 + Rnd(0x100);
        case 9:
            return toward - 0x280 + Rnd(0x100);
        case 10:
            return toward - 0x400 + Rnd(0x800);
        default:
            distance = 0;
            return 0;
    }
}

// Now and then the styles change with a try: mostly back to the level's
// defaults, else both to random styles, so the opponent's habits drift.
void MaybeChangeStyles(PlayerRecord& p) {
    if (Rnd(1000) >= p.AiStyleChange) return;
    if (Rnd(100) < 60) {
        p.AiStyle = p.AiStyleDefault;
        p.AiEvadeStyle = p.AiEvadeStyleDefault;
    } else {
        p.AiStyle = Rnd(kAiStyleCount);
        p.AiEvadeStyle = Rnd(kAiStyleCount);
    }
}

void ChoosePoint(PointKind kind, PlayerRecord& p, const PlayerRecord& q) {
    const Long extra = kind == PointKind::Target ? 20 : 30;
    for (Long attempt = 0; attempt < kAiPointTries; ++attempt) {
        Long distance = Rnd(p.AiRange) + extra;
        const Long style = kind == PointKind::Target ? p.AiStyle : p.AiEvadeStyle;
        const Long angle = StyleAngle(kind, style, p, q, distance);
        MaybeChangeStyles(p);
        if (distance > p.AiRange) distance = p.AiRange;
        const std::int64_t x = AlongX(p.X, angle, distance);
        const std::int64_t y = AlongY(p.Y, angle, distance);
        if (InsideBounds(p, x, y)) {
            p.AiNextX = static_cast<Long>(x);
            p.AiNextY = static_cast<Long>(y);
            return;
        }
    }
}

// How far inside its x bounds a player counts as well inside, and how near
// one as at the bound (1/256 pixel).
constexpr Long kWellInside = 0x6000;
constexpr Long kAtBound = 0x1000;

}  // namespace

void AiChooseTarget(PlayerRecord& own, const PlayerRecord& opponent) {
    ChoosePoint(PointKind::Target, own, opponent);
}

void AiChooseEvasion(PlayerRecord& own, const PlayerRecord& opponent) {
    ChoosePoint(PointKind::Evasion, own, opponent);
}

void AiChooseEscape(PlayerRecord& own) {
    const std::int64_t x = own.X;
    const std::int64_t y = own.Y;
    const std::int64_t fromMin = x - own.MinX;
    const std::int64_t fromMax = std::int64_t{own.MaxX} - x;
    for (Long attempt = 0; attempt < kAiPointTries; ++attempt) {
        const Long a = Rnd(4096);
        const Long r = Rnd(100) + 50;
        std::int64_t bx = x;
        std::int64_t by = y;
        if (fromMin > kWellInside && fromMax > kWellInside) {
            const std::int64_t middle = (std::int64_t{own.MinX} + own.MaxX) / 2;
            bx = x < middle ? own.MinX : own.MaxX;
        } else if (fromMin <= kAtBound || fromMax <= kAtBound) {
            bx = x - 0x2000 + Rnd(0x4000);
            by = y - 0x6000 + Rnd(0xC000);
        } else {
            // Around the mirror of x across the middle of the bounds: from
            // 2000 (decimal) before it to 0x4000 - 2000 beyond it.
            bx = std::int64_t{own.MinX} + own.MaxX - x - 2000 + Rnd(0x4000);
        }
        const std::int64_t cx = bx + std::int64_t{lib::ACT(a)} * r;
        const std::int64_t cy = by + std::int64_t{lib::AST(a)} * r;
        if (InsideBounds(own, cx, cy)) {
            own.AiNextX = static_cast<Long>(cx);
            own.AiNextY = static_cast<Long>(cy);
            return;
        }
    }
}

}  // namespace brumil::battle
