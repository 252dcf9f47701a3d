#include "framework/job_list.h"

#include <algorithm>

namespace brumil::framework {

const CJobResis::Job* CJobResis::FindLinked(Long key) const {
    auto it =
        std::find_if(linked_.begin(), linked_.end(), [key](const Job& j) { return j.key == key; });
    return it == linked_.end() ? nullptr : &*it;
}

bool CJobResis::IsPendingAdd(Long key) const {
    return std::any_of(pendingAdds_.begin(), pendingAdds_.end(),
                       [key](const PendingAdd& a) { return a.key == key; });
}

bool CJobResis::IsPendingRemove(Long key) const {
    return std::find(pendingRemovals_.begin(), pendingRemovals_.end(), key) !=
           pendingRemovals_.end();
}

bool CJobResis::Add(Long key, Long kind) {
    if (kind < kJobKindNormal || kind > kJobKindAlways) return false;
    if (Callback != nullptr && !Callback->Accepts(key)) return false;
    if (IsPendingAdd(key)) return false;
    if (FindLinked(key) != nullptr && !IsPendingRemove(key)) return false;
    pendingAdds_.push_back({key, kind});
    return true;
}

void CJobResis::Remove(Long key) {
    auto it = std::find_if(pendingAdds_.begin(), pendingAdds_.end(),
                           [key](const PendingAdd& a) { return a.key == key; });
    if (it != pendingAdds_.end()) {
        // A pending add is cancelled; if the key is also linked it is already
        // queued for removal (an add of a linked key is only accepted then).
        pendingAdds_.erase(it);
        return;
    }
    if (FindLinked(key) != nullptr && !IsPendingRemove(key)) pendingRemovals_.push_back(key);
}

void CJobResis::Destroy() {
    pendingAdds_.clear();
    for (const Job& j : linked_) {
        if (!IsPendingRemove(j.key)) pendingRemovals_.push_back(j.key);
    }
}

bool CJobResis::Test(Long key) const {
    return FindLinked(key) != nullptr;
}

bool CJobResis::IsActive(Long key) const {
    const Job* j = FindLinked(key);
    return j != nullptr && j->active;
}

void CJobResis::SendMessage(Long key, Long parameter) {
    pendingMessages_.push_back({key, parameter});
}

Long CJobResis::TopLevel() const {
    Long top = -1;
    for (const Job& j : linked_) {
        if (j.kind != kJobKindAlways) top = std::max(top, j.level);
    }
    return top;
}

void CJobResis::Deliver(Long key, Long message, Long parameter) {
    if (Callback != nullptr) Callback->Coming(key, message, parameter);
}

void CJobResis::ApplyRemovals(const std::vector<Long>& removals) {
    for (Long key : removals) {
        auto it = std::find_if(linked_.begin(), linked_.end(),
                               [key](const Job& j) { return j.key == key; });
        if (it == linked_.end()) continue;
        linked_.erase(it);
        Deliver(key, kJobMessageEnd, 0);
    }
}

void CJobResis::ApplyAdds(const std::vector<PendingAdd>& adds) {
    for (const PendingAdd& a : adds) {
        if (FindLinked(a.key) != nullptr) continue;
        Job job;
        job.key = a.key;
        job.kind = a.kind;
        const Long top = TopLevel();
        if (a.kind == kJobKindModal) job.level = top + 1;
        if (a.kind == kJobKindNormal) job.level = std::max<Long>(top, 0);
        // A fresh job reports its start, not an activation; its state is set
        // with everyone else's below.
        job.active = false;
        linked_.push_back(job);
        Deliver(a.key, kJobMessageBegin, 0);
    }
}

void CJobResis::RecomputeActive(std::size_t oldCount) {
    const Long top = TopLevel();
    // Decide every state first, then tell: the messages may queue calls but
    // cannot change the list, so the walk below sees a stable picture.
    std::vector<std::pair<Long, Long>> changes;
    for (std::size_t i = 0; i < linked_.size(); ++i) {
        Job& j = linked_[i];
        const bool now = j.kind == kJobKindAlways || j.level == top;
        if (i < oldCount && now != j.active)
            changes.emplace_back(j.key, now ? kJobMessageActivated : kJobMessageSuspended);
        j.active = now;
    }
    for (auto [key, message] : changes) Deliver(key, message, 0);
}

Long CJobResis::Poll() {
    if (polling_) return static_cast<Long>(linked_.size());
    polling_ = true;

    // Take the queues: anything queued from here on belongs to the next Poll.
    std::vector<Long> removals;
    removals.swap(pendingRemovals_);
    std::vector<PendingAdd> adds;
    adds.swap(pendingAdds_);
    std::vector<PendingMessage> messages;
    messages.swap(pendingMessages_);

    ApplyRemovals(removals);
    const std::size_t oldCount = linked_.size();
    ApplyAdds(adds);
    RecomputeActive(oldCount);

    for (const PendingMessage& m : messages) {
        if (FindLinked(m.key) != nullptr) Deliver(m.key, kJobMessageSent, m.parameter);
    }

    // Keys in link order: the list cannot change during the walk (rule 1), but
    // a copy keeps the walk safe against a callback that replaces the list.
    std::vector<Long> active;
    active.reserve(linked_.size());
    for (const Job& j : linked_) {
        if (j.active) active.push_back(j.key);
    }
    for (Long key : active) Deliver(key, kJobMessageStep, 0);

    polling_ = false;
    return static_cast<Long>(linked_.size());
}

}  // namespace brumil::framework
