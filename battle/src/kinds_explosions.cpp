// Explosion procedures: the special moves' objects. Each grows with its age;
// while its active window lasts it runs circle tests of the collision
// library around itself, most of them handing every shot caught to a
// capture procedure; then it fades for ten frames and ends.

#include <array>

#include "battle/shot_kinds.h"
#include "platform/collision/shot_list.h"
#include "shot_kit.h"

namespace brumil::battle {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// Where a catch looks: the owner's or the opponent's main or second pool.
enum class Side { kOwn, kOpponent };
enum class Pool { kMain, kSecond };

// One call of PosHitCircleCallBack: radius radiusPerAge x age, the stamp the
// explosion's serial plus stampAdd.
struct Catch {
    Side side;
    Pool pool;
    Long radiusPerAge;
    Long selector;
    Long mode;
    Long stampAdd;
    Long flag;
    Long procedure;
};

void RunCatch(Long player, const ShotRecord& blast, const Catch& c) {
    const Long owner = c.side == Side::kOwn ? player : (player ^ 1);
    PlayerRecord& list = kit::Player(owner);
    const bool main = c.pool == Pool::kMain;
    lib::PosHitCircleCallBack(main ? MainPool(list) : SecondPool(list), owner,
                              main ? kMainPoolStart : kSecondPoolStart, blast.X, blast.Y,
                              c.radiusPerAge * blast.Age, c.selector, c.mode,
                              blast.Serial + c.stampAdd, c.flag, c.procedure);
}

// The catches of an explosion, run in order (at most four).
struct Explosion {
    Long scaleDivisor;  // D: Scale = nearest(age / D x 256)
    Long activeUntil;   // T1: catches up to this age, then ten frames of fading
    std::array<Catch, 4> catches;
    Long catchCount;
};

constexpr Catch OppMain(Long radius, Long selector, Long mode, Long stampAdd, Long proc) {
    return Catch{Side::kOpponent, Pool::kMain, radius, selector, mode, stampAdd, 16, proc};
}

// A pair of opponent main-pool catches with selectors 0 and 1.
constexpr Explosion Both(Long d, Long t1, Long radius, Long mode, Long stampAdd, Long proc) {
    return Explosion{
        d,
        t1,
        {OppMain(radius, 0, mode, stampAdd, proc), OppMain(radius, 1, mode, stampAdd, proc)},
        2};
}

constexpr Explosion k35 = Both(3, 30, 7, 2, 1, 36);
constexpr Explosion k37 = Both(9, 7, 18, 2, 1, 36);
constexpr Explosion k38 = {10, 120, {OppMain(5, 0, 2, 0, 40), OppMain(5, 1, 2, 0, 48)}, 2};
constexpr Explosion k41 = Both(20, 120, 6, 1, 0, 42);
constexpr Explosion k43 = Both(10, 60, 10, 1, 0, 44);
constexpr Explosion k45 = {3, 30, {OppMain(20, 0, 2, 0, 46), OppMain(10, 1, 2, 1, 36)}, 2};
constexpr Explosion k47 = {2,
                           6,
                           {OppMain(80, 0, 2, 0, 48), OppMain(80, 1, 2, 0, 48),
                            Catch{Side::kOpponent, Pool::kSecond, 2800, -1, 1, 1, 16, 49}},
                           3};
constexpr Explosion k50 = {12,
                           80,
                           {Catch{Side::kOwn, Pool::kMain, 5, 0, 2, 0, 16, 51},
                            Catch{Side::kOwn, Pool::kMain, 5, 1, 2, 0, 16, 54},
                            OppMain(5, 0, 2, 0, 53), OppMain(5, 1, 2, 0, 52)},
                           4};
constexpr Explosion k55 = Both(12, 80, 4, 2, 0, 56);
constexpr Explosion k57 = Both(12, 40, 9, 2, 0, 58);
// 33 marks its owner's own group-1 shots (flag 4: fire the timed procedure
// now) and hands them to no procedure.
constexpr Explosion k33 = {14, 180, {Catch{Side::kOwn, Pool::kMain, 4, 1, 2, 0, 4, 0}}, 1};

// The frame shared by every explosion; `active` runs the catches of one
// frame of the window.
template <typename Active>
void ExplosionFrame(Long player, Long index, Long d, Long t1, Active active) {
    ShotRecord& r = kit::Shot(player, index);
    const Long a = r.Age;
    r.Scale = Nearest(static_cast<double>(a) / d * 256.0);
    if (a <= t1) {
        // The catches add records to the pools but never move this one.
        const ShotRecord blast = r;
        active(blast);
    } else if (a <= t1 + 10) {
        r.Alpha = Nearest(static_cast<double>(t1 + 10 - a) / 10.0 * 255.0);
    } else {
        r.State = 0;
    }
}

void RunExplosion(Long player, Long index, const Explosion& e) {
    ExplosionFrame(player, index, e.scaleDivisor, e.activeUntil, [&](const ShotRecord& blast) {
        for (Long i = 0; i < e.catchCount; ++i) RunCatch(player, blast, e.catches[i]);
    });
}

}  // namespace

void Kind32Flash(Long player, Long index, Long /*value*/) {
    ExplosionFrame(player, index, 2, 20, [&](const ShotRecord& blast) {
        PlayerRecord& opp = kit::Opponent(player);
        for (const Long selector : {0, 1}) {
            lib::PosHitCircle(MainPool(opp), blast.X, blast.Y, 7 * blast.Age, selector, 1, 2);
        }
    });
}

void Kind33Field(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k33);
}

void Kind34Pulse(Long player, Long index, Long /*value*/) {
    ExplosionFrame(player, index, 8, 60, [&](const ShotRecord& blast) {
        if (blast.Age == 8) lib::PosHitAll(MainPool(kit::Player(player)), 1, 2, 4);
    });
}

void Kind35BlastScatter(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k35);
}
void Kind37BlastScatter(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k37);
}
void Kind38BlastGrey(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k38);
}
void Kind41BlastReturn(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k41);
}
void Kind43BlastReturn(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k43);
}
void Kind45BlastGrey(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k45);
}
void Kind47BlastDim(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k47);
}
void Kind50BlastSort(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k50);
}
void Kind55BlastCurve(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k55);
}
void Kind57BlastBeam(Long player, Long index, Long /*value*/) {
    RunExplosion(player, index, k57);
}

void RegisterExplosionKinds(KindTable& table) {
    table.Register(32, &Kind32Flash);
    table.Register(33, &Kind33Field);
    table.Register(34, &Kind34Pulse);
    table.Register(35, &Kind35BlastScatter);
    table.Register(37, &Kind37BlastScatter);
    table.Register(38, &Kind38BlastGrey);
    table.Register(41, &Kind41BlastReturn);
    table.Register(43, &Kind43BlastReturn);
    table.Register(45, &Kind45BlastGrey);
    table.Register(47, &Kind47BlastDim);
    table.Register(50, &Kind50BlastSort);
    table.Register(55, &Kind55BlastCurve);
    table.Register(57, &Kind57BlastBeam);
}

}  // namespace brumil::battle
