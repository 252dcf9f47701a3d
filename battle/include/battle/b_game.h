#pragma once
// The battle object: one per run (gGame), the callback of its own job list on
// which a match runs as battle jobs 1 to 7. The front end's battle-start job
// adds battle job 1 and polls Jobs once per logic step.
//
// The battle jobs arrive with the battle engine; until then the dispatcher
// has no procedures and every message is ignored, so a started match does
// nothing and the object can be made and released cleanly.

#include <memory>

#include "core/vb_types.h"
#include "framework/job_list.h"

namespace brumil::battle {

class bGame final : public framework::IJobResis {
public:
    bGame();
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

    // The key of battle job n on Jobs.
    static constexpr Long JobKey(Long n) { return n; }

    // Battle jobs 1 to 7; other numbers do nothing.
    void Coming(Long job, Long message, Long parameter) override;

    static constexpr Long kFirstJob = 1;
    static constexpr Long kLastJob = 7;
};

// The run's battle object: made when the settings are loaded, released when
// they are saved.
std::unique_ptr<bGame>& gGame();

}  // namespace brumil::battle
