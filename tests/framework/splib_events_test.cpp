#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/splib.h"

namespace brumil::framework {
namespace {

struct Recorder : ILibEvents {
    std::vector<double> timers;
    int draws = 0;
    void xLib_Timer(double d) override { timers.push_back(d); }
    void xLib_TerminateDraw() override { ++draws; }
};

TEST(SpLibEvents, TimerIsClampedToOneSecond) {
    Recorder r;
    LibEventSubscription sub(&r);
    gSpLib().RaiseTimer(16.5);
    gSpLib().RaiseTimer(5000);
    gSpLib().RaiseTimer(-3);
    EXPECT_EQ(r.timers, (std::vector<double>{16.5, 1000.0, 0.0}));
}

// A listener that leaves during the raise and removes another one.
struct Leaver : ILibEvents {
    ILibEvents* other = nullptr;
    std::unique_ptr<LibEventSubscription>* own = nullptr;
    int calls = 0;
    void xLib_TerminateDraw() override {
        ++calls;
        gSpLib().Unsubscribe(other);
        own->reset();
    }
};

TEST(SpLibEvents, ListenersMayLeaveOrJoinWhileRaised) {
    Recorder late;
    Leaver leaver;
    Recorder victim;
    std::unique_ptr<LibEventSubscription> leaverSub =
        std::make_unique<LibEventSubscription>(&leaver);
    LibEventSubscription victimSub(&victim);
    leaver.other = &victim;
    leaver.own = &leaverSub;
    const auto before = gSpLib().ListenerCount();
    gSpLib().RaiseTerminateDraw();
    EXPECT_EQ(leaver.calls, 1);
    EXPECT_EQ(victim.draws, 0);  // removed before its turn
    EXPECT_EQ(gSpLib().ListenerCount(), before - 2);
    gSpLib().RaiseTerminateDraw();
    EXPECT_EQ(leaver.calls, 1);
}

}  // namespace
}  // namespace brumil::framework
