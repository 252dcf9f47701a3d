#include "battle/shot_painter.h"

#include <algorithm>
#include <cmath>

#include "battle/b_game.h"
#include "framework/display.h"
#include "platform/collision/sprite_list.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"

namespace brumil::battle {
namespace {

namespace col = platform::collision;

constexpr std::int32_t kLive = 1;
constexpr Long kCentre = 128;
constexpr Long kPixelMask = ~Long{0xFF};

// The biggest pool decides the work arrays.
constexpr std::size_t kMaxPool = static_cast<std::size_t>(kMainPoolSize);

Long Fixed(double value) {
    return RoundToLong(value * 256.0);
}

}  // namespace

ShotRecord SpriteRecordOf(Long slot, Long cell, Long x, Long y, Long width, Long height,
                          Long colour, Single angle, Single scale) {
    ShotRecord r{};
    // Live, or the collision library would skip it as a free slot.
    r.State = kLive;
    r.DrawKind = slot;
    r.SpriteSlot = cell;
    r.X = (x & kPixelMask) + kCentre;
    r.Y = (y & kPixelMask) + kCentre;
    r.ScaleX = kCentre;
    r.ScaleY = kCentre;
    r.Color = colour & 0xFFFFFF;
    r.Alpha = static_cast<Long>(static_cast<std::uint32_t>(colour) >> 24);
    r.Spin = RoundToLong(angle);
    r.Scale = Fixed(scale);
    r.DrawW = width * 256;
    r.DrawH = height * 256;
    return r;
}

ShotPainter::ShotPainter(const bGame& game)
    : game_(game),
      kindIndexes_(kMaxPool * kSpriteSlotCount),
      vertices_(kMaxPool * col::kVerticesPerRecord) {}

void ShotPainter::DrawThirdPool(PlayerRecord& player) {
    DrawPool(player, kThirdPoolPaint, 0);
}

void ShotPainter::DrawSecondPool(PlayerRecord& player) {
    DrawPool(player, kSecondPoolPaint, 0);
}

void ShotPainter::DrawMainPool(PlayerRecord& player, Long selection) {
    DrawPool(player, kMainPoolPaint, selection);
}

void ShotPainter::PrepareSlot(const PlayerRecord& player, Long k, Long code, Single& tu,
                              Single& tv) {
    render::CIMDevice& device = render::gIMDevice();
    device.SetRenderModeLE(code);
    tu = 1;
    tv = 1;
    auto g = render::gIMTexture().Item(player.SpriteTexture[static_cast<std::size_t>(k)]);
    if (!g) return;
    g->ExistDDSTexture(true, true);
    device.SetTexture(g->Surface);
    device.SetFilterMode(true);
    tu = g->tu();
    tv = g->tv();
}

void ShotPainter::DrawRecords(const PlayerRecord& player, Long k,
                              std::span<const std::int32_t> indices, Long count,
                              std::span<const ShotRecord> pool, Single tu, Single tv) {
    const CellTable& table = game_.Cells(player.SpriteCells[static_cast<std::size_t>(k)]);
    auto out = cells_.begin();
    for (const auto* part : {&table.Left, &table.Top, &table.Right, &table.Bottom}) {
        out = std::copy(part->begin(), part->end(), out);
    }
    const col::TlsScale scale{Fixed(framework::GetDrawScale()), Fixed(tu), Fixed(tv)};
    const std::int32_t written = col::GetTLS(vertices_, scale, cells_, indices, count, pool);
    if (written <= 0) return;
    render::gIMArk().DrawD3DTLVertex(platform::D3DPT_TRIANGLELIST, vertices_, 0, written);
}

void ShotPainter::DrawPool(PlayerRecord& player, const PoolPaint& paint, Long selection) {
    const auto size = static_cast<std::size_t>(paint.size);
    const std::span<const ShotRecord> pool(player.Shots.data() + paint.start, size);
    kindCounts_.fill(0);
    const std::span<std::int32_t> indexes(kindIndexes_.data(), size * kSpriteSlotCount);
    col::GetList(pool, selection, paint.split, indexes, kindCounts_);
    for (Long k = 0; k < kSpriteSlotCount; ++k) {
        const std::int32_t count = kindCounts_[static_cast<std::size_t>(k)];
        if (count == 0) continue;
        Single tu = 1, tv = 1;
        const Long blend = player.SpriteBlend[static_cast<std::size_t>(k)];
        PrepareSlot(player, k, ResolveRenderCode(0, blend, paint.defaultCode), tu, tv);
        DrawRecords(player, k, indexes.subspan(static_cast<std::size_t>(k) * size, size), count,
                    pool, tu, tv);
    }
}

void ShotPainter::DrawSpriteRecord(PlayerRecord& player, Long slot, Long cell, Long x, Long y,
                                   Long width, Long height, Long renderCode, Long colour,
                                   Single angle, Single scale) {
    DrawShotRecord(player, SpriteRecordOf(slot, cell, x, y, width, height, colour, angle, scale),
                   renderCode);
}

void ShotPainter::DrawShotRecord(PlayerRecord& player, const ShotRecord& record, Long renderCode) {
    const Long k = record.DrawKind;
    if (k < 0 || k >= kSpriteSlotCount) return;
    Single tu = 1, tv = 1;
    const Long blend = player.SpriteBlend[static_cast<std::size_t>(k)];
    PrepareSlot(player, k, ResolveRenderCode(renderCode, blend, kSingleRecordCode), tu, tv);
    const std::array<std::int32_t, 1> only{0};
    DrawRecords(player, k, only, 1, std::span<const ShotRecord>(&record, 1), tu, tv);
}

}  // namespace brumil::battle
