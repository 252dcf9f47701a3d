// The firing schedules and gauge costs of the 39 attack patterns, and the
// table through which the attack dispatcher reaches them.

#include <algorithm>
#include <array>

#include "battle/shot_patterns.h"
#include "patterns_common.h"

namespace brumil::battle {
namespace patterns {
namespace {

// When a pattern fires: the frames listed (0 ends the list) or every fourth
// frame, and while F <= A x p + B when the pattern has a power window.
struct Schedule {
    Long cost;
    std::array<Long, 13> frames;
    bool everyFourth = false;
    bool windowed = false;
    Single a = 0.f;
    Single b = 0.f;
};

constexpr std::array<Long, 13> kOnce = {1};
constexpr std::array<Long, 13> kStream = {1, 8, 16, 25, 35, 46, 58, 60, 72, 84, 96};
constexpr std::array<Long, 13> kTens100 = {1, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
constexpr std::array<Long, 13> kTens110 = {1, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110};
constexpr std::array<Long, 13> kTens120 = {1, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
constexpr std::array<Long, 13> kNone = {};

constexpr Schedule Listed(Long cost, std::array<Long, 13> frames) {
    return Schedule{cost, frames};
}
constexpr Schedule Windowed(Long cost, std::array<Long, 13> frames, Single a, Single b) {
    return Schedule{cost, frames, false, true, a, b};
}
constexpr Schedule EveryFourth(Long cost, Single a, Single b) {
    return Schedule{cost, kNone, true, true, a, b};
}

constexpr std::array<Schedule, kShotPatternCount> kSchedules = {
    Windowed(50, {20, 40, 60, 80, 100}, 58, 58),                              // 01
    Windowed(50, kStream, 10, 25),                                            // 02
    Windowed(50, kStream, 50, 25),                                            // 03
    Windowed(50, {1, 20, 40, 60, 80, 100}, 100, 10),                          // 04
    Windowed(75, {1, 7, 13, 19}, 25, 5),                                      // 05
    Windowed(75, {1, 7, 14, 22, 31, 41, 52, 64, 77, 91, 106, 122}, 125, 31),  // 06
    Windowed(75, kOnce, 25, 7),                                               // 07
    EveryFourth(100, 25, 25),                                                 // 08
    EveryFourth(60, 15, 30),                                                  // 09
    Windowed(50, {1, 10, 20, 30}, 30, 1),                                     // 10
    Windowed(50, kOnce, 40, 20),                                              // 11
    Windowed(50, {1, 10, 20, 30, 40, 50}, 40, 20),                            // 12
    Windowed(50, kTens100, 80, 20),                                           // 13
    Listed(50, {1, 10, 20}),                                                  // 14
    Windowed(50, kTens110, 110, 20),                                          // 15
    Windowed(50, kOnce, 25, 5),                                               // 16
    Windowed(50, kOnce, 25, 5),                                               // 17
    Windowed(50, kOnce, 25, 5),                                               // 18
    Windowed(50, kOnce, 25, 5),                                               // 19
    Listed(50, kTens120),                                                     // 20
    Listed(75, kTens120),                                                     // 21
    Listed(125, kOnce),                                                       // 22
    Listed(50, kOnce),                                                        // 23
    Listed(75, kOnce),                                                        // 24
    Listed(75, kOnce),                                                        // 25
    Listed(50, kOnce),                                                        // 26
    Listed(175, kOnce),                                                       // 27
    Windowed(75, {1, 10, 20}, 20, 1),                                         // 28
    Windowed(125, {1, 20, 30}, 50, 1),                                        // 29
    Listed(80, kOnce),                                                        // 30
    Listed(100, kOnce),                                                       // 31
    Listed(100, {1, 2, 3, 5, 8, 11, 14, 17, 20, 24, 28}),                     // 32
    Listed(180, kOnce),                                                       // 33
    Listed(140, kOnce),                                                       // 34
    Listed(180, kOnce),                                                       // 35
    Listed(140, kOnce),                                                       // 36
    Listed(180, kOnce),                                                       // 37
    Listed(140, kOnce),                                                       // 38
    Listed(100, kOnce),                                                       // 39
};

bool IsFiringFrame(const Schedule& s, Long f) {
    if (s.everyFourth) return f % 4 == 0;
    return f > 0 && std::find(s.frames.begin(), s.frames.end(), f) != s.frames.end();
}

constexpr std::array<Long, kShotPatternCount> MakeCosts() {
    std::array<Long, kShotPatternCount> costs{};
    for (std::size_t i = 0; i < costs.size(); ++i) costs[i] = kSchedules[i].cost;
    return costs;
}

constexpr std::array<Long, kShotPatternCount> kCosts = MakeCosts();

}  // namespace

bool PatternFires(Long number, PlayerRecord& own) {
    if (number < 1 || number > kShotPatternCount) return false;
    const Schedule& s = kSchedules[static_cast<std::size_t>(number - 1)];
    const Long f = own.AttackFrame;
    if (f == 1) own.GaugeCost = s.cost;
    if (!IsFiringFrame(s, f)) return false;
    if (s.windowed) {
        // Compared in single precision, as the power factor is held.
        const Single p = kit::PowerFactor(own);
        if (static_cast<Single>(f) > p * s.a + s.b) return false;
    }
    return true;
}

}  // namespace patterns

const std::array<ShotPatternProc, kShotPatternCount>& ShotPatternTable() {
    static constexpr std::array<ShotPatternProc, kShotPatternCount> table = {
        ShotPattern01, ShotPattern02, ShotPattern03, ShotPattern04, ShotPattern05, ShotPattern06,
        ShotPattern07, ShotPattern08, ShotPattern09, ShotPattern10, ShotPattern11, ShotPattern12,
        ShotPattern13, ShotPattern14, ShotPattern15, ShotPattern16, ShotPattern17, ShotPattern18,
        ShotPattern19, ShotPattern20, ShotPattern21, ShotPattern22, ShotPattern23, ShotPattern24,
        ShotPattern25, ShotPattern26, ShotPattern27, ShotPattern28, ShotPattern29, ShotPattern30,
        ShotPattern31, ShotPattern32, ShotPattern33, ShotPattern34, ShotPattern35, ShotPattern36,
        ShotPattern37, ShotPattern38, ShotPattern39,
    };
    return table;
}

void RunShotPattern(Long number, Long player) {
    if (number < 1 || number > kShotPatternCount) return;
    ShotPatternTable()[static_cast<std::size_t>(number - 1)](player);
}

const std::array<Long, kShotPatternCount>& ShotPatternCosts() {
    return patterns::kCosts;
}

}  // namespace brumil::battle
