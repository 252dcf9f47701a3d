// Burst procedures: one shot turns into several (lines at growing speeds,
// rings, fans, splitting copies, single homing or standing children). New
// shots go into the owner's main pool, except the counter ring of 30, which
// belongs to the opponent. Each reads its parent from a copy taken at entry.

#include "battle/shot_kinds.h"
#include "shot_kit.h"

namespace brumil::battle {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// A fresh record at the parent's position.
ShotRecord FreshAt(const ShotRecord& parent) {
    ShotRecord r;
    ShotRecordInit(r);
    r.X = parent.X;
    r.Y = parent.Y;
    return r;
}

void End(Long player, Long index) {
    kit::Shot(player, index).State = 0;
}

// The single child of 10 and 12: it homes through procedure 8 under its
// change rule, fades through its frame procedure and ends at age 28.
struct ChildShape {
    Long turn, speed, slot, drawKind, proc, scale, mode;
    bool parentColor;
};

void EmitChild(Long player, Long index, const ChildShape& c) {
    const ShotRecord parent = kit::Shot(player, index);
    ShotRecord r = FreshAt(parent);
    r.Angle = parent.Angle + c.turn;
    r.Speed = c.speed;
    r.SpriteSlot = c.slot;
    r.DrawKind = c.drawKind;
    r.Color = c.parentColor ? parent.Color : 0;
    r.ProcId = c.proc;
    r.SwitchAge = 28;
    r.Scale = c.scale;
    r.Alpha = 192;
    ShotSetTrigger(r, 8, c.mode, c.mode, 0, 1, 0);
    r.NextProcId = 0;
    r.Size = 0;
    r.Group = -1;
    r.State = 1;
    ShotAdd(player, r);
    End(player, index);
}

// Lines of shots at speeds nearest(k x i) for i = first..last along each
// direction in turn; the parent ends.
struct LineShape {
    Long slot;
    Long drawW;  // 0 keeps the template width
};

template <typename Directions>
void EmitLines(Long player, Long index, const LineShape& shape, Long first, Long last, double k,
               const Directions& directions) {
    const ShotRecord parent = kit::Shot(player, index);
    ShotRecord r = FreshAt(parent);
    r.Color = parent.Color;
    r.DrawMode = 10;
    r.Accel = 0;
    r.SpeedLimit = 0;
    r.SpriteSlot = shape.slot;
    r.DrawKind = 17;
    if (shape.drawW != 0) r.DrawW = shape.drawW;
    for (const Long angle : directions) {
        r.Angle = angle;
        for (Long i = first; i <= last; ++i) {
            r.Speed = Nearest(k * i);
            ShotAdd(player, r);
        }
    }
    End(player, index);
}

Long AimAtTarget(const ShotRecord& r) {
    return lib::AHT(r.TargetX - r.X, r.TargetY - r.Y);
}

// A ring from a fresh record at the parent: no acceleration, drawing mode 10.
ShotRecord RingShot(const ShotRecord& parent, Long speed, Long slot, Long drawKind, Long color) {
    ShotRecord r = FreshAt(parent);
    r.Accel = 0;
    r.SpeedLimit = 0;
    r.DrawMode = 10;
    r.Speed = speed;
    r.SpriteSlot = slot;
    r.DrawKind = drawKind;
    r.Color = color;
    return r;
}

}  // namespace

void Kind10EmitHoming(Long player, Long index, Long /*value*/) {
    EmitChild(player, index, {0x800, 500, 7, 33, 11, 256, 3, false});
}

void Kind12EmitStill(Long player, Long index, Long /*value*/) {
    EmitChild(player, index, {0, 0, 0, 32, 13, 192, 5, true});
}

void Kind16LineBurst(Long player, Long index, Long /*value*/) {
    const double p = kit::PowerFactor(kit::Player(player));
    const Long angle = kit::Shot(player, index).Angle;
    const Long directions[] = {angle};
    // The factor 150 - 50p reaches 0 at power 768 and turns negative after:
    // the line then flies backwards. Nothing breaks, and the game keeps it.
    EmitLines(player, index, {2, 0}, Nearest(3.0 - p), Nearest(10.0 * p + 7.0), 150.0 - 50.0 * p,
              directions);
}

void Kind17AimedLine(Long player, Long index, Long /*value*/) {
    const double p = kit::PowerFactor(kit::Player(player));
    const Long directions[] = {AimAtTarget(kit::Shot(player, index))};
    EmitLines(player, index, {15, 0x1D00}, Nearest(5.0 - p), Nearest(3.0 * p + 8.0),
              150.0 - 10.0 * p, directions);
}

void Kind18AimedPair(Long player, Long index, Long /*value*/) {
    const double p = kit::PowerFactor(kit::Player(player));
    const Long aim = AimAtTarget(kit::Shot(player, index));
    const Long directions[] = {aim - 128, aim + 128};
    EmitLines(player, index, {15, 0x1D00}, Nearest(5.0 - p), Nearest(3.0 * p + 8.0),
              150.0 - 10.0 * p, directions);
}

void Kind19AimedFan(Long player, Long index, Long /*value*/) {
    const double p = kit::PowerFactor(kit::Player(player));
    const Long aim = AimAtTarget(kit::Shot(player, index));
    Long directions[6];
    for (Long m = 0; m < 6; ++m) directions[m] = aim - 640 + 256 * m;
    EmitLines(player, index, {15, 0x1D00}, Nearest(5.0 - p), Nearest(4.0 * p + 6.0),
              150.0 - 10.0 * p, directions);
}

void Kind20RotatingRing(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    if ((parent.Age & 7) != 0 || parent.Age > 60) return;
    const PlayerRecord& own = kit::Player(player);
    const Long n = Nearest(4.0 * kit::PowerFactor(own) + 4.0);
    ShotRecord r = RingShot(parent, 240, 1, 17, kit::ShotColor(own));
    // The ring turns by a quarter of its spacing per frame of age.
    for (Long j = 0; j < n; ++j) {
        r.Angle = Nearest((parent.Age / 4.0 + j) * 4096.0 / n + own.AimAngle);
        ShotAdd(player, r);
    }
    kit::PlayShotSound(25, 0.8f, parent.X);
}

void Kind22Ring(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    const PlayerRecord& own = kit::Player(player);
    ShotRecord r = RingShot(parent, 240, 1, 17, kit::ShotColor(own));
    kit::AddRing(player, r, Nearest(14.0 * kit::PowerFactor(own) + 4.0), own.AimAngle);
    kit::PlayShotSound(25, 1.0f, parent.X);
    End(player, index);
}

void Kind23SlowRing(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    const PlayerRecord& own = kit::Player(player);
    ShotRecord r = RingShot(parent, 320, 14, 16, kit::ShotColor(own));
    r.Scale = 192;
    r.Size = 24;
    ShotSetMotion2(r, 16);
    kit::AddRing(player, r, Nearest(11.0 * kit::PowerFactor(own) + 11.0), own.AimAngle);
    kit::PlayShotSound(25, 1.0f, parent.X);
    End(player, index);
}

void Kind24SlowRing(Long player, Long index, Long value) {
    Kind23SlowRing(player, index, value);
}

void Kind25SlowRing(Long player, Long index, Long value) {
    Kind23SlowRing(player, index, value);
}

void Kind26AimedFan(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    const double p = kit::PowerFactor(kit::Player(player));
    ShotRecord r = FreshAt(parent);
    r.SpriteSlot = 15;
    r.DrawKind = 17;
    r.Color = parent.Color;
    r.DrawMode = 10;
    r.DrawW = 0x1D00;
    r.Speed = Nearest(200.0 * p + 600.0);
    const Long base = kit::AimFrom(kit::Opponent(player), parent.X, parent.Y);
    const Long last = Nearest(2.0 * p + 1.0);
    for (Long i = Nearest(-1.0 - 2.0 * p); i <= last; ++i) {
        r.Angle = base + 192 * i;
        ShotAdd(player, r);
    }
    kit::PlayShotSound(22, 0.95f, parent.X);
    End(player, index);
}

void Kind27Split(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    const double p = kit::PowerFactor(kit::Player(player));
    ShotRecord r = parent;
    r.Age = 0;
    r.Serial = kit::CurrentSerial();
    r.Scale -= 48;
    r.Speed = Nearest(40.0 * p + parent.Speed + 40.0);
    r.HitA -= 2;
    r.State = 1;
    r.Phase = 0;
    r.DrawMode = 10;
    if (r.HitA <= 0) {
        // The last generation: five copies that end in beams.
        r.NextProcId = 21;
        for (const Long turn : {-800, -400, 0, 400, 800}) {
            r.Angle = parent.Angle + turn;
            ShotAdd(player, r);
        }
    } else {
        // Copies keep the timed procedure, so they split again.
        for (const Long turn : {-400, 0, 400}) {
            r.Angle = parent.Angle + turn;
            ShotAdd(player, r);
        }
    }
    kit::PlayShotSound(25, 1.0f, parent.X);
    End(player, index);
}

void Kind28BackPair(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    ShotRecord r = FreshAt(parent);
    r.Speed = parent.Speed;
    if (parent.Speed == 0) {
        r.Accel = 4;
        r.SpeedLimit = 100;
    }
    r.Color = parent.Color;
    r.SpriteSlot = 2;
    r.DrawKind = 17;
    r.Size = 60;
    r.DrawMode = 10;
    r.Angle = parent.Angle + 0x780;
    r.MotionA = -10;
    ShotAdd(player, r);
    r.Angle = parent.Angle + 0x880;
    r.MotionA = 10;
    ShotAdd(player, r);
    End(player, index);
}

void Kind30CounterRing(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    // The ring is the opponent's: its count and colour come from the
    // opponent, its turn from the owner's facing.
    const Long other = player ^ 1;
    const PlayerRecord& opp = kit::Player(other);
    ShotRecord r = RingShot(parent, 240, 1, 17, kit::ShotColor(opp));
    r.Size = 60;
    const Long n = Nearest(3.0 * kit::PowerFactor(opp) + 3.0);
    kit::AddRing(other, r, n, kit::Player(player).AimAngle);
    kit::PlayShotSound(25, 1.0f, parent.X);
    End(player, index);
}

void RegisterBurstKinds(KindTable& table) {
    table.Register(10, &Kind10EmitHoming);
    table.Register(12, &Kind12EmitStill);
    table.Register(16, &Kind16LineBurst);
    table.Register(17, &Kind17AimedLine);
    table.Register(18, &Kind18AimedPair);
    table.Register(19, &Kind19AimedFan);
    table.Register(20, &Kind20RotatingRing);
    table.Register(22, &Kind22Ring);
    table.Register(23, &Kind23SlowRing);
    table.Register(24, &Kind24SlowRing);
    table.Register(25, &Kind25SlowRing);
    table.Register(26, &Kind26AimedFan);
    table.Register(27, &Kind27Split);
    table.Register(28, &Kind28BackPair);
    table.Register(30, &Kind30CounterRing);
}

}  // namespace brumil::battle
