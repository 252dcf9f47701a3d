#pragma once
// The battle object: one per run (gGame), the callback of its own job list on
// which a match runs as battle jobs 1 to 7. The front end's battle-start job
// adds battle job 1 and polls Jobs once per logic step:
//
//   1 network wait   passes on at once outside network matches: adds 2
//   2 match          start (message 1) and end (message 2, results)
//   3 ready wait     passes on at once outside network matches: adds 5, 6, 7, 4
//   4 paint          draws the frame unless PaintDisable is set
//   5 input          fills each player's virtual keys from its source
//   6 counters       wait and end counters, the players' movement step
//   7 frame step     stage, shot lists, hit tests, player frame steps
//
// Jobs 5, 6, 7 and 4 run in this order every step; player 0 before player 1.
// The match is deterministic for given seeds (the clock's time at match start
// seeds the collision library) and input.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "battle/b_game_option.h"
#include "core/rect.h"
#include "core/vb_types.h"
#include "framework/job_list.h"
#include "framework/vkey.h"
#include "platform/base/clock.h"

namespace brumil::render {
class CGraphics;
}

namespace brumil::battle {

struct BattleScene;

// One cell group of a 256-texel sheet: the texel edges of up to 64 cells,
// cell c = row x columns + column.
struct CellTable {
    std::array<Long, 64> Left{};
    std::array<Long, 64> Top{};
    std::array<Long, 64> Right{};
    std::array<Long, 64> Bottom{};
};
inline constexpr Long kCellGroupCount = 16;

// What the battle asks of the front end that holds it. The battle-start job
// sets both when it begins; tests set their own.
struct BattleFrontEndHooks {
    // Ends the match: removes the front end's battle-start job, whose end
    // then destroys the battle's jobs. Called in every step from the end
    // count 241 on, so it must be harmless to repeat.
    std::function<void()> EndMatch;
    // Opens the network set-up as a modal job above the match.
    std::function<void()> OpenNetworkSetup;
    // True when the network set-up window exists and this machine joined
    // (not hosts) the session: the peer's AI level and stage then hold.
    std::function<bool()> JoinedNetworkSession;
};

class bGame final : public framework::IJobResis {
public:
    // The clock gives the collision library its time at match start.
    explicit bGame(platform::Clock& clock = platform::SystemClock());
    ~bGame() override;
    bGame(const bGame&) = delete;
    bGame& operator=(const bGame&) = delete;

    // The battle's job list; its callback is this object.
    framework::CJobResis Jobs;
    Long FrameCount = 0;  // logic steps of the match so far
    Long Serial = 0;      // copied into every new shot record
    Long EndCount = 0;    // 0 while the match runs, then counts from the decision
    Long Winner = -1;     // index of the winning player; -1 while undecided
    Long WaitCount = 0;   // steps during which the players are frozen
    Long ArtActive = 0;   // 1 while a lunatic art runs

    // The match options, made on first use and kept for the run.
    BGameOption& gd();

    // With the stored flag True and flag False: saves the four virtual-key
    // records and device flags, clears the records and lets the devices feed
    // all four (a dialog above the match gets the devices). With the stored
    // flag False and flag True: gives the saved records and flags back. In
    // every case stores flag. Match start runs only while the flag is False.
    void KeepState(bool flag);
    bool KeepStateFlag() const { return keepState_; }

    // The key of battle job n on Jobs.
    static constexpr Long JobKey(Long n) { return n; }

    // Battle jobs 1 to 7; other numbers do nothing.
    void Coming(Long job, Long message, Long parameter) override;

    static constexpr Long kFirstJob = 1;
    static constexpr Long kLastJob = 7;

    BattleFrontEndHooks FrontEnd;
    // Called at the end of every match once its results are in the progress
    // record; the shell writes the progress file there, so a run that is
    // killed later keeps them. Set for the whole run, unlike FrontEnd.
    std::function<void()> ResultsRecorded;

    // For the painters: the battle viewport (0, 4, 640, 472), the picture
    // around it ("\data\TheBackScreen.bmp", loaded at match start) and
    // whether it must be drawn again, and the render level of the last frame.
    core::CRect BattleRect;
    std::shared_ptr<render::CGraphics> BackScreen;
    bool BackScreenDirty = false;
    Long DrawnRenderLevel = 0;
    // What the painters keep between frames: the stage, the head-up
    // display's sprites and the shot painters' work arrays
    // (battle/battle_scene.h); made by the first match start or frame.
    std::shared_ptr<BattleScene> Scene;

    // Cell group g (0..15): 2^(g div 4) rows by 2^(g mod 4) columns; other
    // groups read as group 0.
    const CellTable& Cells(Long group) const;

    // The input step whose player-1 keyboard record was last turned by half
    // a turn (the record is turned once per refresh by the devices).
    std::uint64_t TurnedInputStep = UINT64_MAX;

    // The network waits (jobs 1 and 3): their picture and the line shown on
    // it ("" for none).
    std::shared_ptr<render::CGraphics> WaitPicture;
    std::string NetWaitText;
    // The refusal of the peer's set-up was logged in this wait (once a wait).
    bool NetSetupRefused = false;
    // The name of the peer whose set-up the match took (for the abort line
    // after the peer's record was cleared or taken by another player).
    std::string NetPeerName;

private:
    void NetworkWaitJob(Long message);
    void MatchJob(Long message);
    void ReadyWaitJob(Long message);
    void PaintJob(Long message);
    void InputJobStep();
    void CounterJob();
    void FrameStepJob();
    bool IsNetworkMatch();
    void MatchStart();
    void MatchEnd();

    platform::Clock& clock_;
    std::unique_ptr<BGameOption> options_;
    bool keepState_ = false;
    std::array<framework::VKeyRecord, framework::kVKeyPlayers> savedKeys_{};
    std::array<bool, framework::kVKeyPlayers> savedFromDevices_{};
    std::array<CellTable, kCellGroupCount> cells_{};
};

// The run's battle object: made when the settings are loaded, released when
// they are saved.
std::unique_ptr<bGame>& gGame();

}  // namespace brumil::battle
