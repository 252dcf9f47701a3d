#pragma once
// The main loop: one pass runs one logic step with drawing, one drawn frame of
// the frame host, and the logic steps the frame still owes without drawing, so
// that the logic keeps its 60 steps per second however slowly frames are drawn.
//
// The loop reaches the job list and the frame host through the two small
// interfaces below, so tests drive it with fakes.

#include <cstdint>

#include "core/vb_types.h"
#include "framework/job_list.h"
#include "framework/maxwell.h"

namespace brumil::app {

class MainLoopJobs {
public:
    virtual ~MainLoopJobs() = default;
    // One logic step of every active job: the number of jobs left on the list.
    virtual Long Poll() = 0;
    // Removes every job (effective at the next Poll).
    virtual void Destroy() = 0;
};

class MainLoopHost {
public:
    virtual ~MainLoopHost() = default;
    // One drawn frame; non-zero when the window is closing.
    virtual Long Poll() = 0;
    // Logic steps due for the frame just drawn (0 to 6).
    virtual Long GetFPSA() = 0;
    // One input step.
    virtual void InputRun() = 0;
    // While set, the jobs skip their drawing.
    virtual void SetPaintDisable(bool disable) = 0;
};

// Runs passes until the job list reports no jobs:
//   1. jobs.Poll(); 0 ends the loop.
//   2. host.Poll(); non-zero: jobs.Destroy(), so the next job poll ends it.
//   3. for each further step due (GetFPSA() - 1 of them): PaintDisable on,
//      jobs.Poll() (0 ends the loop at once, PaintDisable left on),
//      host.InputRun(), PaintDisable off.
// Answers the number of passes run.
std::uint64_t RunMainLoop(MainLoopJobs& jobs, MainLoopHost& host);

// The real job list. Each poll first runs the network session, so every
// logic step sees what arrived before it.
class JobListLoop final : public MainLoopJobs {
public:
    explicit JobListLoop(framework::CJobResis& list) : list_(list) {}
    Long Poll() override;
    void Destroy() override { list_.Destroy(); }

private:
    framework::CJobResis& list_;
};

// The real frame host. With a frame limit (0 or more) the host reports closing
// once that many frames are drawn: smoke runs end on their own.
class FrameHostLoop final : public MainLoopHost {
public:
    explicit FrameHostLoop(framework::CMaxwell& host, std::int64_t frameLimit = -1)
        : host_(host), frameLimit_(frameLimit) {}
    Long Poll() override;
    Long GetFPSA() override { return host_.GetFPSA(); }
    void InputRun() override { host_.InputRun(); }
    void SetPaintDisable(bool disable) override { host_.Config().PaintDisable = disable; }

private:
    framework::CMaxwell& host_;
    std::int64_t frameLimit_;
    std::int64_t frames_ = 0;
};

}  // namespace brumil::app
