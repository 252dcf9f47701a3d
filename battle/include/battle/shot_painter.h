#pragma once
// The shot painters: a player's shot pools and single sprites drawn as
// screen triangles. The collision library files a pool's live records by
// sprite slot (GetList) and writes the triangles of one slot's records
// (GetTLS); each used slot then costs one texture and render-state change
// and one triangle-list draw.
//
// A sprite slot k of the owner's tables gives the texture (SpriteTexture),
// the render code (SpriteBlend; 0 leaves the painter's default) and the
// cell group (SpriteCells) of every record whose DrawKind is k.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "battle/player_record.h"
#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"

namespace brumil::battle {

class bGame;

// The three pools as the painters see them.
struct PoolPaint {
    Long start;
    Long size;
    Long split;        // GetList's split value, 1/256 pixel
    Long defaultCode;  // render code of a slot whose SpriteBlend is 0
};
inline constexpr PoolPaint kThirdPoolPaint{kThirdPoolStart, kThirdPoolSize, 0, 597};
inline constexpr PoolPaint kSecondPoolPaint{kSecondPoolStart, kSecondPoolSize, 0, 597};
inline constexpr PoolPaint kMainPoolPaint{kMainPoolStart, kMainPoolSize, 61440, 593};
inline constexpr Long kSingleRecordCode = 593;

// The render code of a draw: the given code, else the slot's, else the
// default.
constexpr Long ResolveRenderCode(Long given, Long slotBlend, Long defaultCode) {
    return given != 0 ? given : (slotBlend != 0 ? slotBlend : defaultCode);
}

// The live record DrawSpriteRecord draws: the slot and cell, the pixel's
// centre at (x, y) (1/256 pixel), a centred pivot, the colour's low 24 bits
// with its top byte as opacity, the angle rounded (4096 per turn), the scale
// and the size (pixels) x 256.
ShotRecord SpriteRecordOf(Long slot, Long cell, Long x, Long y, Long width, Long height,
                          Long colour, Single angle, Single scale);

class ShotPainter {
public:
    // The cell groups are the battle object's; it outlives the painter.
    explicit ShotPainter(const bGame& game);

    void DrawThirdPool(PlayerRecord& player);
    void DrawSecondPool(PlayerRecord& player);
    // selection: 0 all, 1 above the split line, 2 below it.
    void DrawMainPool(PlayerRecord& player, Long selection);
    void DrawPool(PlayerRecord& player, const PoolPaint& pool, Long selection);

    void DrawSpriteRecord(PlayerRecord& player, Long slot, Long cell, Long x, Long y, Long width,
                          Long height, Long renderCode, Long colour, Single angle, Single scale);
    // Nothing for a DrawKind outside 0..63.
    void DrawShotRecord(PlayerRecord& player, const ShotRecord& record, Long renderCode);

    // The counts of the latest GetList, per sprite slot.
    const std::array<std::int32_t, kSpriteSlotCount>& KindCounts() const { return kindCounts_; }

private:
    // Binds slot k's texture and render code; tu, tv of its picture.
    void PrepareSlot(const PlayerRecord& player, Long k, Long code, Single& tu, Single& tv);
    void DrawRecords(const PlayerRecord& player, Long k, std::span<const std::int32_t> indices,
                     Long count, std::span<const ShotRecord> pool, Single tu, Single tv);

    const bGame& game_;
    std::vector<std::int32_t> kindIndexes_;
    std::array<std::int32_t, kSpriteSlotCount> kindCounts_{};
    std::vector<platform::D3DTLVERTEX> vertices_;
    std::array<std::int32_t, 256> cells_{};
};

}  // namespace brumil::battle
