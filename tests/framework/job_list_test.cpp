#include "framework/job_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace brumil::framework {
namespace {

struct Event {
    Long job, message, parameter;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
    return os << "{" << e.job << "," << e.message << "," << e.parameter << "}";
}

// Records every message; a job may carry a reaction run when it receives a
// given message (the reaction may call the list, as real jobs do).
class Recorder : public IJobResis {
public:
    explicit Recorder(CJobResis& list) : list_(list) { list_.Callback = this; }
    void Coming(Long job, Long message, Long parameter) override {
        events.push_back({job, message, parameter});
        auto it = reactions.find({job, message});
        if (it != reactions.end()) it->second(list_);
    }
    std::vector<Event> Take() {
        std::vector<Event> e;
        e.swap(events);
        return e;
    }
    std::vector<Event> events;
    std::map<std::pair<Long, Long>, std::function<void(CJobResis&)>> reactions;

private:
    CJobResis& list_;
};

using Events = std::vector<Event>;

struct PollStep {
    std::function<void(CJobResis&)> before;  // calls made before the poll
    Long answer;
    Events events;
};

struct Scenario {
    std::string name;
    std::function<void(Recorder&)> setup;  // reactions
    std::vector<PollStep> steps;
};

void RunScenario(const Scenario& s) {
    SCOPED_TRACE(s.name);
    CJobResis list;
    Recorder rec(list);
    if (s.setup) s.setup(rec);
    for (std::size_t i = 0; i < s.steps.size(); ++i) {
        SCOPED_TRACE("poll " + std::to_string(i + 1));
        if (s.steps[i].before) s.steps[i].before(list);
        EXPECT_EQ(list.Poll(), s.steps[i].answer);
        EXPECT_EQ(rec.Take(), s.steps[i].events);
    }
}

TEST(JobList, Scenarios) {
    const std::vector<Scenario> table = {
        {"add links at the next poll with message 1 then 0",
         nullptr,
         {{[](CJobResis& l) {
               EXPECT_TRUE(l.Add(1, 0));
               EXPECT_FALSE(l.Test(1));
           },
           1,
           {{1, 1, 0}, {1, 0, 0}}},
          {nullptr, 1, {{1, 0, 0}}}}},
        {"a second add of a linked or pending key is refused",
         nullptr,
         {{[](CJobResis& l) {
               EXPECT_TRUE(l.Add(1, 0));
               EXPECT_FALSE(l.Add(1, 2));
           },
           1,
           {{1, 1, 0}, {1, 0, 0}}},
          {[](CJobResis& l) { EXPECT_FALSE(l.Add(1, 0)); }, 1, {{1, 0, 0}}}}},
        {"modal stacking: push suspends with 4, pop reactivates with 3",
         nullptr,
         {{[](CJobResis& l) {
               l.Add(1, 0);
               l.Add(2, 2);
           },
           2,
           {{1, 1, 0}, {2, 1, 0}, {1, 0, 0}, {2, 0, 0}}},
          {[](CJobResis& l) { l.Add(10, 1); }, 3, {{10, 1, 0}, {1, 4, 0}, {2, 0, 0}, {10, 0, 0}}},
          {[](CJobResis& l) { l.Add(11, 1); }, 4, {{11, 1, 0}, {10, 4, 0}, {2, 0, 0}, {11, 0, 0}}},
          {[](CJobResis& l) { l.Remove(11); }, 3, {{11, 2, 0}, {10, 3, 0}, {2, 0, 0}, {10, 0, 0}}},
          {[](CJobResis& l) { l.Remove(10); }, 2, {{10, 2, 0}, {1, 3, 0}, {1, 0, 0}, {2, 0, 0}}}}},
        {"a kind 0 job added above a modal one joins its level",
         nullptr,
         {{[](CJobResis& l) {
               l.Add(1, 0);
               l.Add(5, 1);
               l.Add(6, 0);
           },
           3,
           {{1, 1, 0}, {5, 1, 0}, {6, 1, 0}, {5, 0, 0}, {6, 0, 0}}},
          // The modal job leaves but its level still holds job 6.
          {[](CJobResis& l) { l.Remove(5); }, 2, {{5, 2, 0}, {6, 0, 0}}}}},
        {"remove plus add of one key in one step restarts it: 2 then 1",
         nullptr,
         {{[](CJobResis& l) { l.Add(7, 0); }, 1, {{7, 1, 0}, {7, 0, 0}}},
          {[](CJobResis& l) {
               l.Remove(7);
               EXPECT_TRUE(l.Add(7, 0));
           },
           1,
           {{7, 2, 0}, {7, 1, 0}, {7, 0, 0}}}}},
        {"remove, add, remove of a linked key only removes it",
         nullptr,
         {{[](CJobResis& l) { l.Add(7, 0); }, 1, {{7, 1, 0}, {7, 0, 0}}},
          {[](CJobResis& l) {
               l.Remove(7);
               l.Add(7, 0);
               l.Remove(7);
           },
           0,
           {{7, 2, 0}}}}},
        {"removing a key that is only pending cancels its add",
         nullptr,
         {{[](CJobResis& l) {
               l.Add(3, 0);
               l.Remove(3);
               l.Remove(99);
           },
           0,
           {}}}},
        {"a kind 2 job added by a modal job that removes itself does not block the level below",
         [](Recorder& r) {
             r.reactions[{10, 0}] = [](CJobResis& l) {
                 l.Add(20, 2);
                 l.Remove(10);
             };
         },
         {{[](CJobResis& l) { l.Add(1, 0); }, 1, {{1, 1, 0}, {1, 0, 0}}},
          {[](CJobResis& l) { l.Add(10, 1); }, 2, {{10, 1, 0}, {1, 4, 0}, {10, 0, 0}}},
          {nullptr, 2, {{10, 2, 0}, {20, 1, 0}, {1, 3, 0}, {1, 0, 0}, {20, 0, 0}}}}},
        {"Destroy plus an add inside a tick answers 1",
         [](Recorder& r) {
             r.reactions[{2, 0}] = [](CJobResis& l) {
                 l.Destroy();
                 l.Add(8, 0);
             };
         },
         {{[](CJobResis& l) {
               l.Add(1, 0);
               l.Add(2, 0);
           },
           2,
           {{1, 1, 0}, {2, 1, 0}, {1, 0, 0}, {2, 0, 0}}},
          {nullptr, 1, {{1, 2, 0}, {2, 2, 0}, {8, 1, 0}, {8, 0, 0}}},
          {nullptr, 1, {{8, 0, 0}}}}},
        {"Destroy cancels adds pending before it, not after",
         nullptr,
         {{[](CJobResis& l) {
               l.Add(1, 0);
               l.Destroy();
               l.Add(2, 0);
           },
           1,
           {{2, 1, 0}, {2, 0, 0}}}}},
        {"messages 5 go to linked jobs in order, suspended ones included",
         nullptr,
         {{[](CJobResis& l) {
               l.Add(1, 0);
               l.SendMessage(1, 42);
               l.SendMessage(9, 7);
               l.Add(2, 1);
               l.SendMessage(2, -3);
           },
           2,
           {{1, 1, 0}, {2, 1, 0}, {1, 5, 42}, {2, 5, -3}, {2, 0, 0}}}}},
        {"calls made during a poll wait for the next one",
         [](Recorder& r) {
             r.reactions[{1, 1}] = [](CJobResis& l) {
                 l.Add(2, 0);
                 l.SendMessage(1, 5);
                 EXPECT_TRUE(l.Test(1));
                 EXPECT_FALSE(l.Test(2));
             };
         },
         {{[](CJobResis& l) { l.Add(1, 0); }, 1, {{1, 1, 0}, {1, 0, 0}}},
          {nullptr, 2, {{2, 1, 0}, {1, 5, 5}, {1, 0, 0}, {2, 0, 0}}}}},
        {"kinds outside 0 to 2 are refused",
         nullptr,
         {{[](CJobResis& l) {
               EXPECT_FALSE(l.Add(1, 3));
               EXPECT_FALSE(l.Add(2, -1));
           },
           0,
           {}}}},
    };
    for (const Scenario& s : table) RunScenario(s);
}

TEST(JobList, NestedPollDoesNothing) {
    CJobResis list;
    Recorder rec(list);
    Long nested = -1;
    rec.reactions[{1, 0}] = [&nested](CJobResis& l) { nested = l.Poll(); };
    list.Add(1, 0);
    EXPECT_EQ(list.Poll(), 1);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(rec.Take(), (Events{{1, 1, 0}, {1, 0, 0}}));
}

// A callback that refuses a key keeps it off the list: a modal job it has
// nothing to run for never suspends the jobs below.
TEST(JobList, KeysTheCallbackRefusesAreNotAdded) {
    class Refusing final : public Recorder {
    public:
        using Recorder::Recorder;
        bool Accepts(Long key) const override { return key != 3; }
    };
    for (const Long kind : {0, 1, 2}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        CJobResis list;
        Refusing rec(list);
        EXPECT_TRUE(list.Add(1, 0));
        EXPECT_EQ(list.Poll(), 1);
        rec.Take();
        EXPECT_FALSE(list.Add(3, kind));
        EXPECT_TRUE(list.Add(4, kind));
        EXPECT_EQ(list.Poll(), 2);
        EXPECT_FALSE(list.Test(3));
        EXPECT_EQ(list.IsActive(1), kind != 1);
    }
}

TEST(JobList, WithoutCallbackStillCounts) {
    CJobResis list;
    list.Add(1, 0);
    list.Add(2, 1);
    EXPECT_EQ(list.Poll(), 2);
    EXPECT_FALSE(list.IsActive(1));
    EXPECT_TRUE(list.IsActive(2));
}

}  // namespace
}  // namespace brumil::framework
