// Steering and fading procedures: they change a live shot in place (turn
// it, let its scale and opacity follow its age, restart it) and make no new
// shots.

#include <algorithm>

#include "battle/shot_kinds.h"
#include "shot_kit.h"

namespace brumil::battle {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// Homing children stop turning once they are this old.
constexpr Long kHomingAge = 30;
constexpr Long kHomingTurn = 20;

}  // namespace

void Kind08Homing(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    if (r.Age >= kHomingAge) return;
    const PlayerRecord& opp = kit::Opponent(player);
    const Long s = lib::AFT(r.Angle, kit::AimFrom(opp, r.X, r.Y));
    r.Angle += std::clamp(s, -kHomingTurn, kHomingTurn);
}

void FadingHomingStep(ShotRecord& r, Long targetX, Long targetY, Long window, Long limit) {
    if (r.Age >= window) return;
    const Long s = lib::AFT(r.Angle, lib::AHT(targetX - r.X, targetY - r.Y));
    const Long scaled = Nearest((1.0 - static_cast<double>(r.Age) / window) * s);
    r.Angle += std::clamp(scaled, -limit, limit);
}

void Kind09FaceAway(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    r.Angle = kit::AimFrom(kit::Opponent(player), r.X, r.Y) + 0x800;
}

namespace {

// Scale and alpha fall linearly with age from their start values; past the
// zero points they go negative (the records end at age 28 anyway).
void FadeShrink(ShotRecord& r, double startScale) {
    const double a = r.Age;
    r.Scale = Nearest((1.0 - a / 48.0) * startScale);
    r.Alpha = Nearest((1.0 - a / 28.0) * 192.0);
}

}  // namespace

void Kind11FadeShrink(Long player, Long index, Long /*value*/) {
    FadeShrink(kit::Shot(player, index), 256.0);
}

void Kind13FadeShrinkSmall(Long player, Long index, Long /*value*/) {
    FadeShrink(kit::Shot(player, index), 192.0);
}

void Kind14FadeIn(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    r.Alpha += r.Value1;
    r.Scale -= r.Value2;
    if (r.Scale < 256) r.Scale = 256;
    if (r.Alpha > 255) r.Alpha = 255;
}

void Kind15Settle(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    r.Color = kit::ShotColor(kit::Player(player));
    r.DrawMode = 10;
    r.Phase = 0;
    r.Scale = 192;
    r.State = 2;
    r.Mode1 = 0;
}

void Kind29Retarget(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    const PlayerRecord& opp = kit::Opponent(player);
    r.Serial = kit::CurrentSerial();
    r.Phase = 0;
    r.Accel = 0;
    r.Age = 0;
    r.Group = 0;
    r.NextProcId = 0;
    r.State = 1;
    r.Size = 60;
    const Long dx = opp.X - r.X;
    const Long dy = opp.Y - r.Y;
    r.Angle = lib::AHT(dx, dy);
    // The flight time 240 - 120p is 0 at power 512 exactly, where the shot
    // covers the distance in one frame instead; past it the time turns
    // negative and the shot flies away from the opponent.
    double frames = 240.0 - 120.0 * kit::PowerFactor(kit::Player(player));
    if (frames == 0.0) frames = 1.0;
    r.Speed = Nearest(lib::ALT(dx, dy) / frames);
}

void Kind39Restart(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    r.Serial = kit::CurrentSerial();
    r.Phase = 0;
    r.Speed = 0;
    r.Accel = 1;
    r.SpeedLimit = 225;
    r.Age = 0;
    r.State = 1;
    r.Size = 60;
    if (r.HitA < 1) r.State = 0;
}

void RegisterSteeringKinds(KindTable& table) {
    table.Register(8, &Kind08Homing);
    table.Register(9, &Kind09FaceAway);
    table.Register(11, &Kind11FadeShrink);
    table.Register(13, &Kind13FadeShrinkSmall);
    table.Register(14, &Kind14FadeIn);
    table.Register(15, &Kind15Settle);
    table.Register(29, &Kind29Retarget);
    table.Register(39, &Kind39Restart);
}

}  // namespace brumil::battle
