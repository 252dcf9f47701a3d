#include "battle/shot_setters.h"

#include "battle/b_game.h"
#include "platform/collision/shot_list.h"

namespace brumil::battle {
namespace {

ShotRecord MakeTemplate() {
    ShotRecord t;
    t.State = 1;
    t.HitA = 4;
    t.HitB = 4;
    t.HitC = 4;
    t.Size = 18;
    t.ScaleX = 128;
    t.ScaleY = 128;
    t.Color = 0xFFFFFF;
    t.Alpha = 224;
    t.Spin = 1024;
    t.Scale = 256;
    t.DrawW = 8192;
    t.DrawH = 8192;
    return t;
}

// One pool of a player's list: its place in the list and its cursor.
Long AddToPool(Long player, const ShotRecord& record, Long start, Long size,
               Long PlayerRecord::*cursor) {
    if (player != 0 && player != 1) return -1;
    PlayerRecord& owner = gPlayers()[static_cast<std::size_t>(player)];
    const std::span<ShotRecord> pool =
        std::span<ShotRecord>(owner.Shots)
            .subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(size));
    const Long at = platform::collision::SearchFree(pool, owner.*cursor);
    if (at < 0 || at >= size) return -1;
    owner.*cursor = at;
    pool[static_cast<std::size_t>(at)] = record;
    return start + at;
}

}  // namespace

void ShotRecordInit(ShotRecord& record) {
    static const ShotRecord kTemplate = MakeTemplate();
    record = kTemplate;
    const std::unique_ptr<bGame>& game = gGame();
    record.Serial = game ? game->Serial : 0;
}

Long ShotAdd(Long player, const ShotRecord& record) {
    return AddToPool(player, record, kMainPoolStart, kMainPoolSize, &PlayerRecord::MainCursor);
}

Long ShotAddPool2(Long player, const ShotRecord& record) {
    return AddToPool(player, record, kSecondPoolStart, kSecondPoolSize,
                     &PlayerRecord::SecondCursor);
}

Long ShotAddPool3(Long player, const ShotRecord& record) {
    return AddToPool(player, record, kThirdPoolStart, kThirdPoolSize, &PlayerRecord::ThirdCursor);
}

void ShotSetKind(ShotRecord& record, Long a, Long b, Long c) {
    record.Size = a;
    ShotSetTrigger(
        record, 12, 2, 2, c, a,
        static_cast<Long>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)));
}

void ShotSetMotion(ShotRecord& record, Long id, Long b) {
    ShotSetTrigger(record, id, 1, 1, 0, b, 0);
}

void ShotSetMotion1(ShotRecord& record, Long b) {
    ShotSetMotion(record, 1, b);
}

void ShotSetMotion2(ShotRecord& record, Long b) {
    ShotSetMotion(record, 2, b);
}

void ShotSetTrigger(ShotRecord& record, Long param1, Long mode1, Long mode2, Long param2,
                    Long value1, Long value2) {
    record.Param1 = param1;
    record.Mode1 = mode1;
    record.Mode2 = mode2;
    record.Param2 = param2;
    record.Value1 = value1;
    record.Value2 = value2;
}

}  // namespace brumil::battle
