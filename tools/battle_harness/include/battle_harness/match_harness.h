#pragma once
// A headless match: the real battle object with its job list, the collision
// library and the battle jobs, input through the real input module from null
// devices, and scripted key changes. It stands in for the front end's
// battle-start job: it adds battle job 1, polls the battle's job list once
// per logic step (after the input step, as the main loop does) and, when the
// battle asks to end the match, destroys the battle's jobs and polls once so
// that the match end records the results.
//
// Every seed is fixed by the set-up: the clock's time at match start seeds the
// collision library, the helper seed the computer opponent's generator.
//
// Like the program start, the harness connects the battle's kind procedures
// to the collision library (and gives the earlier ones back when it goes), so
// a match never depends on what ran before it in the process.
//
// Keys: player 0 has the arrows and Z, X, C, A, S as buttons 1 to 5; player 1
// has I, K, J, L as Up, Down, Left, Right and Q, W, E, R, T as buttons 1 to 5.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "battle/b_game.h"
#include "battle/kind_table.h"
#include "core/vb_types.h"
#include "platform/base/clock.h"
#include "platform/base/input_devices.h"

namespace brumil::harness {

// Inputs in the order of a key assignment: buttons 1 to 10, Up, Down, Left,
// Right.
enum Input : int {
    kButton1 = 0,
    kButton2 = 1,
    kButton3 = 2,
    kButton4 = 3,
    kButton5 = 4,
    kUp = 10,
    kDown = 11,
    kLeft = 12,
    kRight = 13,
};

// At logic step `step` (counted from 0), the player's input goes down or up.
struct ScriptedKey {
    Long step = 0;
    Long player = 0;
    int input = kButton1;
    bool down = true;
};

struct MatchSetup {
    Long GameMode = 4;
    Long AILevel = 0;
    Long Chara0 = 1;
    Long Chara1 = 2;
    Long StageNumber = 0;
    platform::Millis StartMs = 1000;  // the clock at match start
    std::uint64_t HelperSeed = 1;
    std::vector<ScriptedKey> Keys;
};

class MatchHarness {
public:
    // Makes the run's battle object (gGame) and attaches the null devices to
    // the input module; the destructor undoes both.
    explicit MatchHarness(MatchSetup setup);
    ~MatchHarness();
    MatchHarness(const MatchHarness&) = delete;
    MatchHarness& operator=(const MatchHarness&) = delete;

    // One logic step: the scripted keys of this step, the input step, the
    // battle's job list; then the match end when the battle asked for it.
    void Step();
    // Steps until the match has ended or `maxSteps` steps were run; the
    // digest after each step.
    std::vector<std::uint64_t> Run(Long maxSteps);

    Long Steps() const { return steps_; }
    // The step in which the battle first asked to end the match; -1 before.
    Long EndRequestStep() const { return endRequestStep_; }
    bool Ended() const { return ended_; }
    battle::bGame& Game() { return *battle::gGame(); }
    platform::NullInputDevices& Devices() { return devices_; }
    platform::ManualClock& Clock() { return clock_; }

private:
    MatchSetup setup_;
    platform::ManualClock clock_;
    platform::NullInputDevices devices_;
    std::array<battle::KindProcedure, battle::kKindIdCount> earlierProcedures_{};
    Long steps_ = 0;
    Long endRequestStep_ = -1;
    bool ended_ = false;
};

// FNV-1a over the match state: the battle object's counters and both whole
// player records (shot lists included) but for the texture numbers of their
// sprite slots, which number the process's texture cache, not the match.
std::uint64_t MatchDigest(const battle::bGame& game);

}  // namespace brumil::harness
