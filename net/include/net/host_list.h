#pragma once
// The sessions a host search has found: one entry per hosting instance, its
// line as the set-up window lists it, dropped 2000 ms after its last answer.
// An entry's index is its position; removing one moves the later ones down.

#include <string>
#include <vector>

#include "core/vb_types.h"
#include "platform/base/clock.h"
#include "platform/net/peer_session.h"

namespace brumil::net {

struct HostEntry {
    platform::net::HostAnswer answer;
    platform::Millis LastSeen = 0;
};

// "NetBrumil - ゆき - 1/2 - Latency:12 ms"
std::string HostLine(const platform::net::HostAnswer& answer);

class HostList {
public:
    // A known instance is updated in place (its line and LastSeen), a new one
    // appended. Ignored while stopped. Returns the entry's index, or -1.
    Long Add(const platform::net::HostAnswer& answer, platform::Millis now);
    // Removes every entry whose last answer is more than kHostExpiryMs old;
    // returns how many went.
    Long Expire(platform::Millis now);
    void Clear() { entries_.clear(); }

    // While stopped, answers are ignored (a join has begun).
    void SetStopped(bool stopped) { stopped_ = stopped; }
    bool Stopped() const { return stopped_; }

    // The index of the entry of `instance`, -1 when there is none.
    Long IndexOf(std::uint32_t instance) const;
    Long HostCount() const { return static_cast<Long>(entries_.size()) - 1; }  // -1 when empty
    const std::vector<HostEntry>& Entries() const { return entries_; }

private:
    std::vector<HostEntry> entries_;
    bool stopped_ = false;
};

}  // namespace brumil::net
