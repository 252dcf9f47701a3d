#pragma once
// The job list. Everything that happens over time is a job: a key registered
// with a kind, driven by messages delivered to the list's one callback.
//
// Messages (the parameter is 0 for every message but 5):
//   0  every step, to every active job
//   1  the job starts (it has just been linked)
//   2  the job ends (it has just been unlinked)
//   3  the job became active again (a level above it emptied)
//   4  the job was suspended (a modal level opened above it)
//   5  a message sent with SendMessage; the parameter is the one sent
//
// Kinds:
//   0  runs while no modal job is above it: joins the highest level
//   1  modal: opens a new level above the highest; every job below is suspended
//   2  always runs; has no level and never holds a level up
//
// Rules of a Poll:
//   1. Add, Remove, Destroy and SendMessage only queue, whether they are called
//      from a job's callback during Poll or from outside; the list never changes
//      while it is being walked. Calls made during a Poll take effect at the next.
//   2. Each Poll, in this order:
//      a. pending removals in call order, each job getting message 2 (Destroy
//         removes every job linked or pending before it);
//      b. pending adds in call order, each job getting message 1. An add whose
//         key is linked and not being removed is refused; a remove followed by an
//         add of one key restarts the job (2 then 1); removing a key that is only
//         pending cancels its add (the job never hears of it);
//      c. levels are recomputed; every job that was linked before this Poll and
//         whose active state changed gets message 3 (now active) or 4 (suspended),
//         in link order;
//      d. queued message-5s in call order, dropped when the target is not linked;
//      e. message 0 to every active job in link order.
//      Poll answers the number of linked jobs after all this, so Destroy plus an
//      add answers 1.
//   3. Levels: only kind 0 and kind 1 jobs have one. A job is active when it has
//      no level (kind 2) or its level is the highest level any linked job holds;
//      when the top level empties, the level below becomes the top.
//   4. A Poll called from inside a Poll of the same list does nothing and answers
//      the current count.

#include <cstddef>
#include <vector>

#include "core/vb_types.h"

namespace brumil::framework {

// The messages of a job (above); every job list and every job uses these names.
inline constexpr Long kJobMessageStep = 0;
inline constexpr Long kJobMessageBegin = 1;
inline constexpr Long kJobMessageEnd = 2;
inline constexpr Long kJobMessageActivated = 3;
inline constexpr Long kJobMessageSuspended = 4;
inline constexpr Long kJobMessageSent = 5;

// The kinds of a job (above).
inline constexpr Long kJobKindNormal = 0;
inline constexpr Long kJobKindModal = 1;
inline constexpr Long kJobKindAlways = 2;

// The one callback of a job list.
class IJobResis {
public:
    virtual ~IJobResis() = default;
    virtual void Coming(Long job, Long message, Long parameter) = 0;
    // False for a key the callback has nothing to run for: the list refuses
    // to add it, so such a job can never hold a level (and the jobs below it)
    // suspended.
    virtual bool Accepts(Long key) const {
        (void)key;
        return true;
    }
};

class CJobResis {
public:
    // Not owned; set by the list's owner, which outlives the list's polls.
    IJobResis* Callback = nullptr;

    // Queues the job; false when the key is already linked (and not being
    // removed), already waiting to be added, or not accepted by the callback.
    // Kinds outside 0..2 are refused.
    bool Add(Long key, Long kind);
    // Queues the removal of a linked or pending job; other keys are ignored.
    void Remove(Long key);
    // Queues the removal of every job linked or pending now.
    void Destroy();
    // True when the job is linked (added by a Poll and not yet removed by one).
    bool Test(Long key) const;
    // Queues message 5 with the parameter for the job.
    void SendMessage(Long key, Long parameter);
    // One step of the list (see the rules above).
    Long Poll();

    std::size_t LinkedCount() const { return linked_.size(); }
    // True when the linked job is active (false for keys not linked).
    bool IsActive(Long key) const;

private:
    struct Job {
        Long key = 0;
        Long kind = 0;
        Long level = 0;  // meaningful for kinds 0 and 1
        bool active = false;
    };
    struct PendingAdd {
        Long key;
        Long kind;
    };
    struct PendingMessage {
        Long key;
        Long parameter;
    };

    const Job* FindLinked(Long key) const;
    bool IsPendingAdd(Long key) const;
    bool IsPendingRemove(Long key) const;
    Long TopLevel() const;
    void Deliver(Long key, Long message, Long parameter);
    void ApplyRemovals(const std::vector<Long>& removals);
    void ApplyAdds(const std::vector<PendingAdd>& adds);
    void RecomputeActive(std::size_t previouslyLinked);

    std::vector<Job> linked_;  // link order
    std::vector<PendingAdd> pendingAdds_;
    std::vector<Long> pendingRemovals_;
    std::vector<PendingMessage> pendingMessages_;
    bool polling_ = false;
};

}  // namespace brumil::framework
