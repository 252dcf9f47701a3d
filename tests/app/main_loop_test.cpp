#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/display.h"
#include "lost_display_window.h"

namespace brumil::app {
namespace {

// One log for both fakes: "J-" / "J+" a job poll with drawing allowed / with
// PaintDisable set, "X" Destroy, "H" a frame, "I" an input step.
struct Trace {
    std::string log;
    bool paintDisable = false;
};

class FakeJobs final : public MainLoopJobs {
public:
    FakeJobs(Trace& t, std::vector<Long> answers) : t_(t), answers_(std::move(answers)) {}
    Long Poll() override {
        t_.log += t_.paintDisable ? "J+ " : "J- ";
        if (destroyed_) return 0;
        const Long n = answers_[std::min(next_, answers_.size() - 1)];
        ++next_;
        return n;
    }
    void Destroy() override {
        t_.log += "X ";
        destroyed_ = true;
    }

private:
    Trace& t_;
    std::vector<Long> answers_;
    std::size_t next_ = 0;
    bool destroyed_ = false;
};

class FakeHost final : public MainLoopHost {
public:
    FakeHost(Trace& t, std::vector<Long> steps, std::vector<Long> quits = {0})
        : t_(t), steps_(std::move(steps)), quits_(std::move(quits)) {}
    Long Poll() override {
        t_.log += "H ";
        const Long q = quits_[std::min(frame_, quits_.size() - 1)];
        fpsa_ = steps_[std::min(frame_, steps_.size() - 1)];
        ++frame_;
        return q;
    }
    Long GetFPSA() override { return fpsa_; }
    void InputRun() override { t_.log += "I "; }
    void SetPaintDisable(bool d) override { t_.paintDisable = d; }

private:
    Trace& t_;
    std::vector<Long> steps_, quits_;
    std::size_t frame_ = 0;
    Long fpsa_ = 0;
};

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(MainLoop, Passes) {
    const std::string extra = "J+ I ";
    struct Case {
        const char* name;
        std::vector<Long> jobAnswers;
        std::vector<Long> steps;
        std::vector<Long> quits;
        std::string log;
        std::uint64_t passes;
        bool paintDisableAtEnd;
    };
    const Case cases[] = {
        {"no step due still runs one", {3, 0}, {0}, {0}, "J- H J- ", 1, false},
        {"one step due", {3, 3, 0}, {1}, {0}, "J- H J- H J- ", 2, false},
        {"six steps: one drawn, five without drawing",
         {3, 3, 3, 3, 3, 3, 0},
         {6},
         {0},
         "J- H " + Repeat(extra, 5) + "J- ",
         1,
         false},
        {"steps vary per frame",
         {2, 2, 2, 2, 2, 0},
         {2, 3},
         {0},
         "J- H J+ I J- H J+ I J+ I J- ",
         2,
         false},
        {"list empties in an extra step: no input step after it",
         {1, 1, 0},
         {6},
         {0},
         "J- H J+ I J+ ",
         1,
         true},
        {"quit destroys the jobs; the next poll ends", {4}, {1}, {1}, "J- H X J- ", 1, false},
        {"quit with extra steps due ends in the first of them",
         {4},
         {4},
         {1},
         "J- H X J+ ",
         1,
         true},
        {"quit on the second frame", {4}, {1}, {0, 1}, "J- H J- H X J- ", 2, false},
        {"empty list from the start", {0}, {1}, {0}, "J- ", 0, false},
    };
    for (const Case& c : cases) {
        Trace t;
        FakeJobs jobs(t, c.jobAnswers);
        FakeHost host(t, c.steps, c.quits);
        EXPECT_EQ(RunMainLoop(jobs, host), c.passes) << c.name;
        EXPECT_EQ(t.log, c.log) << c.name;
        EXPECT_EQ(t.paintDisable, c.paintDisableAtEnd) << c.name;
    }
}

// The real frame host under jobs that never end by themselves (a closing
// transition still drawing its tiles): losing the display ends the loop in the
// pass it happens, and an ordinary close the host lets through does too.
TEST(MainLoop, TheFrameHostEndsALoopWhoseJobsNeverFinish) {
    struct Case {
        const char* name;
        int lostAtPump;   // 0: the display stays
        int closeAtPump;  // 0: no close request
        std::uint64_t passes;
    };
    const Case cases[] = {
        {"display lost on the first frame", 1, 0, 1},
        {"display lost on the fifth frame", 5, 0, 5},
        {"display lost after a close the game turned into its transition", 6, 2, 6},
    };
    for (const Case& c : cases) {
        platform::ManualClock clock{1'000'000};
        framework::CMaxwell host{clock};
        host.Config().dsInit = false;
        host.Config().PaintManual = false;  // every frame shows the whole picture
        host.SetDevices(framework::MaxwellDevices{
            [](platform::Window&, const framework::CMaxwellConfig&) {
                return framework::DisplayStart({});
            },
            [] { framework::DisplayStop(); },
            nullptr,
            nullptr,
            nullptr,
        });
        auto w = std::make_unique<testing::LostDisplayWindow>(c.lostAtPump);
        testing::LostDisplayWindow& window = *w;
        ASSERT_TRUE(host.Connect(std::move(w), nullptr));
        int asked = 0;
        host.SetCloseQuery([&] {
            ++asked;
            return false;  // the game keeps running for its closing transition
        });
        host.SetAfterPoll([&] { window.closePending = window.pumps + 1 == c.closeAtPump; });
        Trace t;
        // Bounded, so that a loop that would not end fails instead of hanging.
        std::vector<Long> answers(200, 1);
        answers.push_back(0);
        FakeJobs jobs(t, answers);
        FrameHostLoop frames(host);
        EXPECT_EQ(RunMainLoop(jobs, frames), c.passes) << c.name;
        EXPECT_EQ(window.presents, c.lostAtPump - 1) << c.name;  // every frame before the loss
        EXPECT_EQ(window.presentsAfterLoss, 0) << c.name;
        EXPECT_EQ(asked, c.closeAtPump > 0 ? 1 : 0) << c.name;
    }
}

}  // namespace
}  // namespace brumil::app
