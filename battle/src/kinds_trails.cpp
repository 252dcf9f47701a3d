// Trail procedures: in every frame their record leaves one short trail
// record behind it in the owner's second pool; 62 and 67 also home, 64 adds
// a small ring, 65 mirrors its course outside the field, 66 catches the
// opponent's shots around it, and 67 bursts at the wall once its homing
// window is over.

#include "battle/shot_kinds.h"
#include "platform/collision/shot_list.h"
#include "shot_kit.h"

namespace brumil::battle {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// The words of a trail record that differ between the procedures.
struct TrailShape {
    Long drawW, drawH, hitB, hitC, scale, slot;
};

// Widths growing with power, as a table row per procedure.
TrailShape Shape(Long id, double p) {
    const Long tall = Nearest((256.0 * p + 256.0) * 256.0);
    const Long narrow = Nearest((10.0 * p + 100.0) * 256.0);
    const Long length = Nearest((100.0 * p + 100.0) * 256.0);
    switch (id) {
        case 63:
            return {0x1000, 0x18000, Nearest((90.0 * p + 60.0) * 256.0), length, 128, 2};
        case 64:
        case 66:
            return {0x1000, 0x18000, narrow, length, 128, 2};
        case 67:
            return {Nearest((4.0 * p + 8.0) * 256.0),
                    tall,
                    Nearest((35.0 * p + 45.0) * 256.0),
                    length,
                    224,
                    14};
        default:  // 62 and 65
            return {0x1000, tall, narrow, length, 128, 2};
    }
}

// One trail record behind the parent, across its course.
void AddTrail(Long player, const ShotRecord& parent, Long id) {
    const PlayerRecord& own = kit::Player(player);
    const TrailShape s = Shape(id, kit::PowerFactor(own));
    ShotRecord r;
    ShotRecordInit(r);
    r.X = parent.X;
    r.Y = parent.Y;
    r.ScaleX = 128;
    r.ScaleY = 125;
    r.HitA = 0;
    r.Angle = parent.Angle + 0x400;
    r.DrawKind = 26;
    r.DrawMode = 1;
    r.Spin = 0;
    r.Color = kit::ShotColor(own);
    r.DrawW = s.drawW;
    r.DrawH = s.drawH;
    r.HitB = s.hitB;
    r.HitC = s.hitC;
    r.Scale = s.scale;
    r.SpriteSlot = s.slot;
    ShotSetKind(r, 90, 10, 0x2000);
    ShotAddPool2(player, r);
}

void HomeAtOpponent(Long player, ShotRecord& r, Long window, Long limit) {
    const PlayerRecord& opp = kit::Opponent(player);
    FadingHomingStep(r, opp.X, opp.Y, window, limit);
}

// The small spinning ring 64 drops every frame.
void AddSmallRing(Long player, const ShotRecord& parent) {
    const PlayerRecord& own = kit::Player(player);
    ShotRecord r;
    ShotRecordInit(r);
    r.X = parent.X;
    r.Y = parent.Y;
    r.SpriteSlot = 14;
    r.DrawKind = 16;
    r.Color = kit::ShotColor(own);
    r.Scale = 192;
    ShotSetMotion2(r, 16);
    r.DrawMode = 10;
    r.Size = 90;
    r.Speed = 60;
    r.Accel = 1;
    r.SpeedLimit = 80;
    kit::AddRing(player, r, Nearest(3.0 * kit::PowerFactor(own) + 3.0), own.AimAngle);
}

// The wall burst: answers the parent as it stands afterwards (a copy, as its
// slot may be taken by the burst).
ShotRecord WallBurst67(Long player, Long index) {
    ShotRecord parent = kit::Shot(player, index);
    if (!kit::OutsideField(parent)) return parent;
    if (parent.X < -0x1000) parent.X = -0x3000;
    if (parent.X > 0x29000) parent.X = 0x2B000;
    if (parent.Y < 0) parent.Y = -0x1000;
    if (parent.Y > 0x1E000) parent.Y = 0x1F000;
    parent.State = 0;
    kit::Shot(player, index) = parent;

    const PlayerRecord& own = kit::Player(player);
    const double p = kit::PowerFactor(own);
    ShotRecord r;
    ShotRecordInit(r);
    r.X = parent.X;
    r.Y = parent.Y;
    r.SpriteSlot = 1;
    r.DrawKind = 17;
    r.Color = kit::ShotColor(own);
    r.DrawMode = 10;
    r.Accel = -15;
    r.SpeedLimit = 20;
    const Long rounds = Nearest(8.0 * p + 8.0);
    const Long perRound = Nearest(20.0 * p + 10.0);
    for (Long k = 4; k <= rounds; ++k) {
        for (Long i = 0; i < perRound; ++i) {
            r.Angle = own.AimAngle + lib::ART(4096);
            r.Speed = (k + 10) * 30 + lib::ART(250);
            ShotAdd(player, r);
        }
    }
    const Long beams = Nearest(10.0 * p + 18.0);
    const Long aim = kit::AimFrom(kit::Opponent(player), parent.X, parent.Y);
    Long angle = aim + 0x400;
    for (Long i = 0; i < beams; ++i) {
        angle += lib::ART(4096);
        ShotAddPool2(player, kit::MakeBeam(parent.X, parent.Y, angle, 6.0 * p + 24.0, r.Color));
    }
    kit::PlayShotSound(14, 0.9f, parent.X);
    kit::PlayShotSound(65, 1.0f, parent.X);
    return parent;
}

}  // namespace

void Kind62HomingTrail(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    const Long window = Nearest(5.0 * kit::PowerFactor(kit::Player(player)) + 10.0);
    HomeAtOpponent(player, r, window, 400);
    AddTrail(player, ShotRecord(r), 62);
}

void Kind63Trail(Long player, Long index, Long /*value*/) {
    AddTrail(player, ShotRecord(kit::Shot(player, index)), 63);
}

void Kind64TrailRing(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    AddTrail(player, parent, 64);
    AddSmallRing(player, parent);
}

void Kind65BouncingTrail(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    if (kit::OutsideField(r)) {
        // Mirrors about the x axis whichever edge was crossed: a true bounce
        // only at the top and bottom edges.
        r.Angle = -r.Angle;
        return;
    }
    AddTrail(player, ShotRecord(r), 65);
}

void Kind66TrailBlast(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    AddTrail(player, parent, 66);
    const Long other = player ^ 1;
    for (const Long selector : {0, 1}) {
        lib::PosHitCircleCallBack(MainPool(kit::Player(other)), other, kMainPoolStart, parent.X,
                                  parent.Y, 100, selector, 2, parent.Serial + 1, 16, 56);
    }
}

void Kind67HomingTrail(Long player, Long index, Long /*value*/) {
    const Long window = Nearest(20.0 * kit::PowerFactor(kit::Player(player)) + 40.0);
    ShotRecord parent;
    if (kit::Shot(player, index).Age < window) {
        HomeAtOpponent(player, kit::Shot(player, index), window, 600);
        parent = kit::Shot(player, index);
    } else {
        parent = WallBurst67(player, index);
    }
    AddTrail(player, parent, 67);
}

void Kind67WallBurst(Long player, Long index, Long /*value*/) {
    WallBurst67(player, index);
}

void RegisterTrailKinds(KindTable& table) {
    table.Register(62, &Kind62HomingTrail);
    table.Register(63, &Kind63Trail);
    table.Register(64, &Kind64TrailRing);
    table.Register(65, &Kind65BouncingTrail);
    table.Register(66, &Kind66TrailBlast);
    table.Register(67, &Kind67HomingTrail);
}

}  // namespace brumil::battle
